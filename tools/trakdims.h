// The geometry of the dimension tools: which way an offset dimension runs, how far a length
// dimension stands off its segment, the legs and arc of an angle dimension, what the diameter
// and radius tools measure on the object a press hit, and the rubber bands all of them draw.
// Positions are page units; nothing here touches a window, so the tests drive it directly.
// The tracking on the screen is trakdims_win.cpp.
#pragma once

#include <cstdint>

#include "model/records.h"
#include "tools/toolstate.h"

// A rubber band's extension line starts this far from its measured point and runs this far past
// the dimension line.
constexpr float kDimBandGap = 5.0f;
constexpr float kDimBandOvershoot = 7.0f;
// The horizontal shoulder of a diameter or radius dimension whose text stands outside.
constexpr float kDimShoulderLength = 25.0f;
// A length dimension picks the side of its segment by test points this far out on each normal.
constexpr float kNormalTestDistance = 100.0f;

struct DimSegment {
  FloatPoint a, b;
};

// An arc of a rubber band: centre, radius, and the start and sweep angles (radians,
// counter-clockwise with y up; the sweep lies in [-pi, pi]).
struct DimArc {
  FloatPoint centre;
  float radius;
  float startAngle;
  float sweep;
};

// ---- Offset dimension: press `a`, release `b`, the evaluated cursor `o` and the raw one `c`.

// Vertical (a vertical dimension line, measuring the difference in y) when a and b share their x,
// or when the cursor is further across than up or down from their midpoint and their y differ.
bool OffsetDimIsVertical(FloatPoint a, FloatPoint b, FloatPoint c);
// The band: both extension lines and the dimension line through o. Returns the orientation.
bool GetOffsetDimState(FloatPoint a, FloatPoint b, FloatPoint o, FloatPoint c, DimSegment out[3]);

// ---- Length dimension: the dimension line parallel to a -> b through o.
struct LengthDimOffset {
  float normal;    // direction from the segment to the dimension line (radians)
  float distance;  // from o to the line through a and b
  FloatPoint v;    // `distance` along `normal`
};
// The normal whose test point lies nearer o is taken, the clockwise one on a tie.
void GetLengthDimOffset(FloatPoint a, FloatPoint b, FloatPoint o, LengthDimOffset* out);
// The band: the dimension line a + v to b + v and both extension lines.
void GetLengthDimState(FloatPoint a, FloatPoint b, FloatPoint o, DimSegment out[3]);

// ---- Angle dimension: vertex v, first leg through p1; the second leg follows the cursor.

// The signed sweep from direction a1 to a2, in [-pi, pi].
float AngleSweep(float a1, float a2);
// Second leg: the first leg's extension, the arc through the cursor c and the second leg to c.
void GetAngleDimState(FloatPoint v, FloatPoint p1, FloatPoint c, DimSegment lines[2], DimArc* arc);
// Radius, once the second leg ends at q: both legs and the arc stretch to the cursor's distance.
void GetStretchAngDimState(FloatPoint v, FloatPoint p1, FloatPoint q, FloatPoint c, DimSegment lines[2],
                           DimArc* arc);
// Where the arc meets each leg at the distance of r from the vertex.
void GetAngleDimArcEnds(FloatPoint v, FloatPoint p1, FloatPoint q, FloatPoint r, FloatPoint* s1,
                        FloatPoint* s2);

// ---- Diameter and radius dimensions.
struct CircleTarget {
  FloatPoint centre;
  float diameter;
};
// The circle a diameter dimension measures: an Oval whose two diameters agree in whole units.
// False for anything else, an oval of fewer than four points among them.
bool FindDiameterTarget(const ClickInfo& info, CircleTarget* out);
// The circle a radius dimension measures: such a circle, a circular Arc through the hit point, or
// the fillet of a Poly next to the hit point. False for anything else.
bool FindRadiusTarget(const ClickInfo& info, CircleTarget* out);

// The band of a diameter or radius dimension with the cursor at c: the dimension line and, when
// the cursor lies outside the circle, the shoulder from it.
struct CircleDimState {
  float angle;          // from the centre towards the cursor
  float outside;        // distance of the cursor beyond the circle (negative inside)
  FloatPoint onCircle;  // the circle's point towards the cursor
  FloatPoint opposite;  // the point across the circle from it
  DimSegment line;      // diameter: across the circle; radius: from the centre
  DimSegment shoulder;
  bool hasShoulder;
};
void GetCircleDimState(const CircleTarget& target, FloatPoint c, bool diameter, CircleDimState* out);

// With Shift a leader's segment keeps the start's x (when |dx| <= |dy|) or its y.
FloatPoint ConstrainLeaderEnd(FloatPoint start, FloatPoint end, bool shift);
