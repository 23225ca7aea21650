// The numbers of the editing tools' dialogs (move, resize, skew, rotate): what the user typed,
// in world units with y growing upward, turned into the page transform of the selection, and
// that transform applied with the undo record the mouse tool would leave.
#pragma once

#include "geometry/geometry.h"
#include "geometry/tranform.h"
#include "model/docstate.h"
#include "tools/editdlgids.h"

// The degrees-to-radians factor the dialogs use for a typed angle.
constexpr double kDialogDegreesToRadians = 0.017453292519943295;

// Which corner (or the centre) of the selection's bounds stays put in a resize. The values are
// the radio buttons' control ids.
enum ResizeAnchor : int {
  kResizeUpperLeft = IDC_RESIZE_UPPER_LEFT,
  kResizeLowerLeft = IDC_RESIZE_LOWER_LEFT,
  kResizeCenter = IDC_RESIZE_CENTER,
  kResizeUpperRight = IDC_RESIZE_UPPER_RIGHT,
  kResizeLowerRight = IDC_RESIZE_LOWER_RIGHT,
};

// The skew directions, also radio button ids: the edge the distance moves.
enum SkewDirection : int {
  kSkewUp = IDC_SKEW_UP,
  kSkewLeft = IDC_SKEW_LEFT,
  kSkewRight = IDC_SKEW_RIGHT,
  kSkewDown = IDC_SKEW_DOWN,
};

// Why typed values cannot be applied. The field is the first (0) or second (1) number.
enum EditEntryFault : int {
  kEntryOk = 0,
  kEntryZero,      // a factor or target size of 0 would flatten the selection
  kEntryNoExtent,  // the selection has no width (or height) that a size could scale
  kEntryTooLarge,  // the result would not be a finite page position
};
struct EditEntryCheck {
  EditEntryFault fault;
  int field;
};

// The page offset of a move typed as x and y (world units, y up) or, when `polar`, as an angle
// in degrees counterclockwise from the x axis and a distance.
EditEntryCheck RelocateOffset(bool polar, float first, float second, const DocState* state, FloatPoint* out);

// A resize of `bounds` (the selection's, page units): by percentages, or to a target width and
// height in world units (signs ignored). A side of the selection with no extent keeps its size
// when its target is 0 too; asking it for any other size is refused, as is a factor of 0. On
// success fills the scale factors and the fixed point of `out`.
EditEntryCheck ComputeResize(bool bySize, float first, float second, int anchor, const FloatRect& bounds,
                             const DocState* state, TransformRec* out);

// A skew of `bounds` about its centre: the edge named by `direction` (the top for left and
// right, the right edge for up and down) moves by |distance| world units that way and the
// opposite edge the other way. A selection with no height cannot be skewed left or right, nor
// one with no width up or down.
EditEntryCheck ComputeSkew(float distance, int direction, const FloatRect& bounds, const DocState* state,
                           TransformRec* out);

// A rotation about the centre of `bounds` by `angle` (degrees, or radians when `radians`),
// counterclockwise as the user sees it.
TransformRec ComputeRotate(float angle, bool radians, const FloatRect& bounds);

// The bounds of the current drawing's selection (page units); false when nothing is selected.
bool CurrentSelectionBounds(FloatRect* bounds);

// Applies one of the transform walks (6000-6003) to the selection of the current drawing,
// leaves the undo record of `undoKind` when something moved, and asks for a repaint. False (and
// nothing done) when there is no drawing, no selection, or the transform would move nothing.
bool ApplyEditTransform(int op, const TransformRec& rec, int16_t undoKind);
