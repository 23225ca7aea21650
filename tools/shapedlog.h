// The numbers of the shape dialogs turned into the figures the builders take. A user types
// positions in world units from the user origin with y growing upward, and lengths in world
// units; these functions give page units (y growing downward) and check that the figure can be
// built, so a dialog refuses what would build nothing instead of closing silently.
#pragma once

#include <cstdint>

#include "model/docstate.h"

// Where the typed start point lies on a rectangle.
enum RectAnchor : int16_t {
  kAnchorUpperLeft,
  kAnchorLowerLeft,
  kAnchorUpperRight,
  kAnchorLowerRight,
  kAnchorCenter,
};

// Where the typed start point lies on an oval or a multigon's box: its centre or the middle of
// one of its sides.
enum OvalAnchor : int16_t {
  kFromCenter,
  kFromLeft,
  kFromRight,
  kFromTop,
  kFromBottom,
};

// Why typed numbers make no figure.
enum ShapeFault : int16_t {
  kShapeOk,
  kShapeNoSize,      // a width or height of 0
  kShapeNoRadius,    // a radius of 0
  kShapeBadSweep,    // an arc angle of 0 or beyond a whole turn
  kShapeSamePoints,  // two points that must differ coincide (or share an axis, for an ellipse)
  kShapeOutOfRange,  // the figure lies beyond what a float holds
};

// The largest arc angle in degrees either way: one whole turn.
constexpr float kMaxArcSweep = 360.0f;

// A user position to the page.
FloatPoint UserPointToPage(FloatPoint user, const DocState* state);
// The point `length` from `from` in the direction `degrees` (counter-clockwise, 0 east); user units.
FloatPoint PolarUserPoint(FloatPoint from, float degrees, float length);
// The direction (degrees in (-180, 180]) and distance of `to` seen from `from`; user units.
void UserPointToPolar(FloatPoint from, FloatPoint to, float* degrees, float* length);

// The rectangle whose `anchor` point is `start`, `width` across and `height` high (their signs
// ignored); the page rectangle with left < right and top < bottom.
ShapeFault RectFromDialog(FloatPoint start, float width, float height, RectAnchor anchor,
                          const DocState* state, FloatRect* page);
// The box of an oval whose `anchor` point is `start`.
ShapeFault OvalBoxFromDialog(FloatPoint start, float width, float height, OvalAnchor anchor,
                             const DocState* state, FloatRect* page);
// A multigon in the box an oval of the same numbers would fill: centred in it, its vertices on
// the circle of the box's larger side, the last one straight above the centre.
ShapeFault MultigonFromDialog(FloatPoint start, float width, float height, OvalAnchor anchor,
                              const DocState* state, FloatPoint* centre, FloatPoint* lastVertex);

// An arc as the builder takes it: the ellipse's page box and the angles in degrees.
struct ArcFigure {
  FloatRect box;
  float startDeg, arcDeg;
};
// A circular arc that begins at `start`, of `radius`, whose start lies in the direction
// `startDeg` from the centre, sweeping `arcDeg` (counter-clockwise when positive).
ShapeFault CircularArcFromDialog(FloatPoint start, float radius, float startDeg, float arcDeg,
                                 const DocState* state, ArcFigure* arc);
// The quarter ellipse from `start` to `end`, as the arc tool draws it by a drag.
ShapeFault EllipticalArcFromDialog(FloatPoint start, FloatPoint end, const DocState* state, ArcFigure* arc);
// A line between two user positions, in page units.
ShapeFault LineFromDialog(FloatPoint start, FloatPoint end, const DocState* state, FloatPoint* pageStart,
                          FloatPoint* pageEnd);
