// Lines: lengths, directions, drawing-port angles, slopes and intersections. Values are floats in
// page units; the arithmetic in between runs in double precision.
#include "geometry/gnrlmath.h"

#include <cmath>

#include "geometry/geometry.h"

namespace {

constexpr double kDegreesPerTurn = 360.0;
constexpr double kQDAngleOfZero = 90.0;  // the port measures from straight up, clockwise

}  // namespace

float GetLineLength(float x1, float y1, float x2, float y2) {
  const double dx = static_cast<double>(x2) - x1;
  const double dy = static_cast<double>(y2) - y1;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

float GetLineLengthAndAngle(float x1, float y1, float x2, float y2, float* length) {
  const float len = GetLineLength(x1, y1, x2, y2);
  if (length) *length = len;
  if (len == 0.0f) return 0.0f;
  double cosine = (static_cast<double>(x2) - x1) / len;
  // Rounding can push the ratio a hair past 1 for axis-parallel lines.
  if (cosine > 1.0) cosine = 1.0;
  if (cosine < -1.0) cosine = -1.0;
  const double a = std::acos(cosine);
  // Page y grows downward: a second point below the first means a clockwise direction.
  return static_cast<float>(y1 < y2 ? kFullTurn - a : a);
}

void GetPointFromLengthAndAngle(float angle, float length, float* dx, float* dy) {
  if (dx) *dx = static_cast<float>(std::cos(static_cast<double>(angle)) * length);
  if (dy) *dy = static_cast<float>(-std::sin(static_cast<double>(angle)) * length);
}

void ConvertPiRadiansToQDAngle(float angle, int* qdAngle) {
  if (!qdAngle) return;
  // Degrees are kept in single precision so that a float quarter turn comes out as exactly 90
  // and does not truncate to 359 below.
  float d = static_cast<float>(angle * kRadiansToDegrees);
  d = static_cast<float>(std::fmod(static_cast<double>(d), kDegreesPerTurn));
  if (d < 0.0f) d += static_cast<float>(kDegreesPerTurn);
  float q = static_cast<float>(kQDAngleOfZero) - d;
  if (q < 0.0f) q += static_cast<float>(kDegreesPerTurn);
  *qdAngle = static_cast<int>(q);
}

float GetSlope(float x1, float y1, float x2, float y2) {
  const float dx = x2 - x1;
  if (dx == 0.0f) return kVerticalSlope;
  return (y2 - y1) / dx;
}

float GetYIntercept(float x, float y, float slope) {
  return y - x * slope;
}

void GetIntersection(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, float* x,
                     float* y) {
  if (!x || !y) return;
  const float m1 = GetSlope(x1, y1, x2, y2);
  const float m2 = GetSlope(x3, y3, x4, y4);
  const double b1 = GetYIntercept(x1, y1, m1);
  const double b2 = GetYIntercept(x3, y3, m2);
  if (m1 == m2) {  // parallel, or both vertical
    *x = x1;
    *y = y1;
  } else if (m1 == kVerticalSlope) {
    *x = x1;
    *y = static_cast<float>(static_cast<double>(m2) * x1 + b2);
  } else if (m2 == kVerticalSlope) {
    *x = x3;
    *y = static_cast<float>(static_cast<double>(m1) * x3 + b1);
  } else {
    const double ix = (b2 - b1) / (static_cast<double>(m1) - m2);
    *x = static_cast<float>(ix);
    *y = static_cast<float>(m1 * ix + b1);
  }
}

void GetPerpIntersection(float x1, float y1, float x2, float y2, float px, float py, float* x, float* y) {
  if (!x || !y) return;
  const float m = GetSlope(x1, y1, x2, y2);
  if (m == kVerticalSlope) {
    *x = x1;
    *y = py;
    return;
  }
  if (m == 0.0f) {
    *x = px;
    *y = y1;
    return;
  }
  const double mPerp = -1.0 / m;
  const double b1 = static_cast<double>(y1) - static_cast<double>(x1) * m;
  const double b2 = static_cast<double>(py) - px * mPerp;
  const double ix = (b2 - b1) / (m - mPerp);
  *x = static_cast<float>(ix);
  *y = static_cast<float>(m * ix + b1);
}

void GetSplineCoordinate(const PointRec* a, const PointRec* b, float t, float* x, float* y) {
  if (!a || !b || !x || !y) return;
  float ax, bx, cx, dx, ay, by, cy, dy;
  SetupSpline(a->x, a->outTangentX, b->x, b->inTangentX, &ax, &bx, &cx, &dx);
  SetupSpline(a->y, a->outTangentY, b->y, b->inTangentY, &ay, &by, &cy, &dy);
  const float t2 = t * t;
  const float t3 = t2 * t;
  *x = GetSplineCoord(ax, bx, cx, dx, t, t2, t3);
  *y = GetSplineCoord(ay, by, cy, dy, t, t2, t3);
}
