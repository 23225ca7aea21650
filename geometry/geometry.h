// The curve model: every curved segment is one cubic Hermite segment from a point with its
// outgoing tangent to the next point with its incoming tangent, sampled at 1/curveSmoothness.
#pragma once

#include "model/records.h"

struct IntRect {
  int left, top, right, bottom;
};

// Curves are sampled while t stays at or below this, so t = 1 survives accumulated steps.
constexpr float kSamplingLimit = 1.01f;
// Steps per curve segment when no drawing is current.
constexpr int kNoDocumentSmoothness = 10;

void SetupSpline(float p0, float t0, float p1, float t1, float* a, float* b, float* c, float* d);
void SetupSequencedSpline(float p0, float p1, float t0, float t1, float* a, float* b, float* c, float* d);
// Inline: every curve sample asks it twice.
inline float GetSplineCoord(float a, float b, float c, float d, float t, float t2, float t3) {
  return a * t3 + b * t2 + c * t + d;
}
float GetTangentSplineCoord(float a, float b, float c, float t, float t2);
void GetUniformTensionDeriv(float p0, float p1, float k, float* result);
void BuildRadiusSpline(float angle, float radius, float* x0, float* tx0, float* tx1, float* x1, float* y0,
                       float* ty0, float* ty1, float* y1);
void GetSplineBounds(float x0, float tx0, float tx1, float x1, float y0, float ty0, float ty1, float y1,
                     IntRect* rect);

// Calls visit(x, y) for each sample of the segment a -> b, t = 0 first and t = 1 (or just below
// the sampling limit) last. Every consumer samples curves through this one routine.
template <typename Visit>
void SampleCurveSegment(const PointRec* a, const PointRec* b, int smoothness, Visit visit) {
  float ax, bx, cx, dx, ay, by, cy, dy;
  SetupSpline(a->x, a->outTangentX, b->x, b->inTangentX, &ax, &bx, &cx, &dx);
  SetupSpline(a->y, a->outTangentY, b->y, b->inTangentY, &ay, &by, &cy, &dy);
  const float step = 1.0f / static_cast<float>(smoothness > 0 ? smoothness : kNoDocumentSmoothness);
  for (float t = 0.0f; t <= kSamplingLimit; t += step) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    visit(GetSplineCoord(ax, bx, cx, dx, t, t2, t3), GetSplineCoord(ay, by, cy, dy, t, t2, t3));
  }
}
