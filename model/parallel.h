// Parallel copies of a shape: the outline moved sideways by a distance, inside, outside or both.
#pragma once

#include "model/records.h"

// The sides of a parallel copy, as the drawing stores them.
enum ParallelSide : int16_t {
  kParallelInsideSide = 7,
  kParallelOutsideSide = 8,
  kParallelCentredSide = 9,
};

// +1 when the side to the left of the outline's first segment (as the user sees it) is the
// inside of the figure its outline points enclose, -1 when it is the outside. The figure is
// closed from the last point back to the first; an outline that encloses nothing (a straight
// line) counts as having its inside on the right. Objects with fewer than two distinct outline
// points give +1.
int GetParallelDirection(const ObjectRec* object);

// The segment from a to b moved sideways by `distance`: to its left as the user sees it for
// direction +1, to its right for -1.
void GetParallelPoints(const PointRec* a, const PointRec* b, float* ax, float* ay, float* bx, float* by,
                       int direction, float distance);

// A new object like `object` (kind, closedness, colours, line, pattern, layer) whose straight
// outline runs `distance` page units inside (kParallelInsideSide) or outside
// (kParallelOutsideSide) the object's outline points; curves become straight segments. Corners
// are where the moved segments meet; where neighbouring segments run on one line the shared
// point simply moves sideways. The copy's points are selected; it is appended to the object's
// layer with its bounds computed. Null for an object without a layer or two distinct outline
// points, or when memory ran out.
ObjectRec* CreateParallelObject(const ObjectRec* object, int side, float distance);
