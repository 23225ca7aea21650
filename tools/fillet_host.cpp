// The host build draws no feedback: the chamfer still measures its edge.
#include <cmath>

#include "tools/fillet.h"

void DrawFillet(float, const PointRec*, const PointRec*, const PointRec*) {}

float DrawChamfer(const PointRec* corner, const PointRec* previous, const PointRec* next, float d) {
  FloatPoint a, b;
  if (!GetChamferEnds(corner, previous, next, d, &a, &b)) return 0.0f;
  return std::hypot(b.x - a.x, b.y - a.y);
}
