// The curve model: cubic Hermite segments between consecutive points, circular arcs built from
// them, and the step count curves are sampled with.
#include "geometry/geometry.h"

#include <cmath>

void SetupSpline(float p0, float t0, float p1, float t1, float* a, float* b, float* c, float* d) {
  if (!a || !b || !c || !d) return;
  *a = 2.0f * p0 - 2.0f * p1 + t0 + t1;
  *b = -3.0f * p0 + 3.0f * p1 - 2.0f * t0 - t1;
  *c = t0;
  *d = p0;
}

void SetupSequencedSpline(float p0, float p1, float t0, float t1, float* a, float* b, float* c, float* d) {
  SetupSpline(p0, t0, p1, t1, a, b, c, d);
}

float GetTangentSplineCoord(float a, float b, float c, float t, float t2) {
  return 3.0f * a * t2 + 2.0f * b * t + c;
}

void GetUniformTensionDeriv(float p0, float p1, float k, float* result) {
  if (result) *result = k * p1 - k * p0;
}

// A Hermite segment whose end derivatives have length 4 r tan(h / 2) along the circle follows an
// arc of half-angle h closely; 4 (1 - cos h) = 4 tan(h / 2) sin h gives their x components, and
// dividing by tan h turns them into the y components.
void BuildRadiusSpline(float angle, float radius, float* x0, float* tx0, float* tx1, float* x1, float* y0,
                       float* ty0, float* ty1, float* y1) {
  if (!x0 || !tx0 || !tx1 || !x1 || !y0 || !ty0 || !ty1 || !y1) return;
  const double h = static_cast<double>(angle) / 2.0;
  const double r = radius;
  const double k = 4.0 * (1.0 - std::cos(h));
  const double tanH = std::tan(h);
  // An arc of no extent has no tangent; keep the segment straight instead of dividing by zero.
  const double ty = tanH != 0.0 ? k * r / tanH : 0.0;
  *x0 = static_cast<float>(r * std::cos(h));
  *y0 = static_cast<float>(-r * std::sin(h));
  *x1 = static_cast<float>(r * std::cos(h));
  *y1 = static_cast<float>(r * std::sin(h));
  *tx0 = static_cast<float>(k * r);
  *ty0 = static_cast<float>(ty);
  *tx1 = static_cast<float>(-k * r);
  *ty1 = static_cast<float>(ty);
}

namespace {

int RoundToInt(float value) {
  return static_cast<int>(value + 0.5f);
}

void MinMax4(float a, float b, float c, float d, float* low, float* high) {
  *low = std::fmin(std::fmin(a, b), std::fmin(c, d));
  *high = std::fmax(std::fmax(a, b), std::fmax(c, d));
}

}  // namespace

void GetSplineBounds(float x0, float tx0, float tx1, float x1, float y0, float ty0, float ty1, float y1,
                     IntRect* rect) {
  if (!rect) return;
  float left, right, top, bottom;
  MinMax4(x0, x0 + tx0, x1 - tx1, x1, &left, &right);
  MinMax4(y0, y0 + ty0, y1 - ty1, y1, &top, &bottom);
  rect->left = RoundToInt(left);
  rect->top = RoundToInt(top);
  rect->right = RoundToInt(right);
  rect->bottom = RoundToInt(bottom);
}
