// Line and curve mathematics.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/geometry.h"
#include "geometry/gnrlmath.h"
#include "model/docstate.h"

namespace {

constexpr float kTol = 1e-4f;

PointRec MakePoint(float x, float y, float inX = 0, float inY = 0, float outX = 0, float outY = 0) {
  PointRec p{};
  p.pointKind = kVertexPoint;
  p.x = x;
  p.y = y;
  p.inTangentX = inX;
  p.inTangentY = inY;
  p.outTangentX = outX;
  p.outTangentY = outY;
  return p;
}

std::vector<std::pair<float, float>> Samples(const PointRec& a, const PointRec& b, int smoothness) {
  std::vector<std::pair<float, float>> out;
  SampleCurveSegment(&a, &b, smoothness, [&](float x, float y) { out.emplace_back(x, y); });
  return out;
}

TEST(LineAngles, DirectionFollowsScreenUpAsPositive) {
  float length = -1;
  // Second point above the first on screen is a quarter of the way round counterclockwise.
  EXPECT_NEAR(GetLineLengthAndAngle(0, 0, 1, -1, &length), kPi / 4, kTol);
  EXPECT_NEAR(length, std::sqrt(2.0f), kTol);
  EXPECT_NEAR(GetLineLengthAndAngle(0, 0, 1, 1, &length), 7 * kPi / 4, kTol);
  EXPECT_NEAR(GetLineLengthAndAngle(0, 0, -1, 0, &length), kPi, kTol);
  EXPECT_NEAR(GetLineLengthAndAngle(0, 0, 0, 5, &length), 3 * kPi / 2, kTol);
  // A zero-length line has angle 0 and length 0; a huge coordinate must not make acos fail.
  EXPECT_EQ(GetLineLengthAndAngle(3, 3, 3, 3, &length), 0.0f);
  EXPECT_EQ(length, 0.0f);
  EXPECT_FALSE(std::isnan(GetLineLengthAndAngle(0, 0, 1e30f, 1e-30f, &length)));
}

TEST(LineAngles, PointFromLengthAndAngleIsPageOffset) {
  float dx, dy;
  GetPointFromLengthAndAngle(static_cast<float>(kPi / 2), 10, &dx, &dy);
  EXPECT_NEAR(dx, 0, kTol);
  EXPECT_NEAR(dy, -10, kTol);  // upward on the page
  // Round trip through GetLineLengthAndAngle for directions all round the circle.
  for (int degrees = 0; degrees < 360; degrees += 15) {
    const float angle = static_cast<float>(degrees / kRadiansToDegrees);
    GetPointFromLengthAndAngle(angle, 7, &dx, &dy);
    float length;
    const float back = GetLineLengthAndAngle(10, 20, 10 + dx, 20 + dy, &length);
    EXPECT_NEAR(length, 7, 1e-3) << degrees;
    EXPECT_NEAR(std::fmod(back - angle + 3 * kPi, 2 * kPi) - kPi, 0, 1e-3) << degrees;
  }
}

TEST(LineAngles, QDAnglesCountClockwiseFromUp) {
  int q = -1;
  ConvertPiRadiansToQDAngle(0, &q);
  EXPECT_EQ(q, 90);
  ConvertPiRadiansToQDAngle(static_cast<float>(kPi / 2), &q);
  EXPECT_EQ(q, 0);  // not 359: a float quarter turn is a hair over 90 degrees
  ConvertPiRadiansToQDAngle(static_cast<float>(kPi), &q);
  EXPECT_EQ(q, 270);
  ConvertPiRadiansToQDAngle(static_cast<float>(3 * kPi / 2), &q);
  EXPECT_EQ(q, 180);
  ConvertPiRadiansToQDAngle(static_cast<float>(-kPi / 2), &q);
  EXPECT_EQ(q, 180);
  ConvertPiRadiansToQDAngle(static_cast<float>(5 * kPi / 2), &q);  // beyond a full turn
  EXPECT_EQ(q, 0);
}

TEST(Intersections, LinesSlopesAndPerpendiculars) {
  EXPECT_EQ(GetSlope(2, 0, 2, 10), kVerticalSlope);
  EXPECT_FLOAT_EQ(GetSlope(0, 0, 2, 1), 0.5f);
  EXPECT_FLOAT_EQ(GetYIntercept(2, 3, 0.5f), 2.0f);

  float x, y;
  // Parallel lines, including two vertical ones, give the first line's first point.
  GetIntersection(1, 1, 3, 3, 0, 5, 4, 9, &x, &y);
  EXPECT_FLOAT_EQ(x, 1);
  EXPECT_FLOAT_EQ(y, 1);
  GetIntersection(2, 7, 2, 9, 5, 0, 5, 1, &x, &y);
  EXPECT_FLOAT_EQ(x, 2);
  EXPECT_FLOAT_EQ(y, 7);
  GetIntersection(0, 0, 4, 4, 0, 4, 4, 0, &x, &y);
  EXPECT_NEAR(x, 2, kTol);
  EXPECT_NEAR(y, 2, kTol);
  GetIntersection(3, -5, 3, 5, 0, 1, 6, 4, &x, &y);  // first line vertical
  EXPECT_NEAR(x, 3, kTol);
  EXPECT_NEAR(y, 2.5f, kTol);
  GetIntersection(0, 1, 6, 4, 3, -5, 3, 5, &x, &y);  // second line vertical
  EXPECT_NEAR(x, 3, kTol);
  EXPECT_NEAR(y, 2.5f, kTol);

  GetPerpIntersection(4, 0, 4, 10, 9, 6, &x, &y);
  EXPECT_FLOAT_EQ(x, 4);
  EXPECT_FLOAT_EQ(y, 6);
  GetPerpIntersection(0, 3, 10, 3, 6, 9, &x, &y);
  EXPECT_FLOAT_EQ(x, 6);
  EXPECT_FLOAT_EQ(y, 3);
  GetPerpIntersection(0, 0, 10, 10, 0, 4, &x, &y);
  EXPECT_NEAR(x, 2, kTol);
  EXPECT_NEAR(y, 2, kTol);
}

TEST(HermiteSegments, CoefficientsReproduceEndsAndTangents) {
  float a, b, c, d;
  SetupSpline(1, 2, 5, -3, &a, &b, &c, &d);
  EXPECT_FLOAT_EQ(GetSplineCoord(a, b, c, d, 0, 0, 0), 1);
  EXPECT_FLOAT_EQ(GetSplineCoord(a, b, c, d, 1, 1, 1), 5);
  EXPECT_FLOAT_EQ(GetTangentSplineCoord(a, b, c, 0, 0), 2);
  EXPECT_FLOAT_EQ(GetTangentSplineCoord(a, b, c, 1, 1), -3);
  float k;
  GetUniformTensionDeriv(2, 12, 0.5f, &k);
  EXPECT_FLOAT_EQ(k, 5);

  const PointRec p = MakePoint(0, 0, 0, 0, 30, 0);
  const PointRec q = MakePoint(10, 10, 0, 30, 0, 0);
  float x, y;
  GetSplineCoordinate(&p, &q, 1, &x, &y);
  EXPECT_FLOAT_EQ(x, 10);
  EXPECT_FLOAT_EQ(y, 10);
}

TEST(HermiteSegments, SamplingStepsAndEndPoint) {
  const PointRec a = MakePoint(0, 0);
  const PointRec b = MakePoint(9, 3);
  auto three = Samples(a, b, 3);
  ASSERT_EQ(three.size(), 4u);
  // Without tangents the samples lie on the straight line, though not evenly spaced.
  for (auto& s : three) EXPECT_NEAR(s.second, s.first / 3, kTol);
  EXPECT_NEAR(three.back().first, 9, kTol);
  // Every smoothness a drawing can hold gives smoothness + 1 samples ending at the end point.
  for (int s = 1; s <= kMaxCurveSmoothness; ++s) {
    auto samples = Samples(a, b, s);
    ASSERT_EQ(samples.size(), static_cast<size_t>(s + 1)) << s;
    EXPECT_NEAR(samples.back().first, 9, 1e-3) << s;
  }
  EXPECT_EQ(Samples(a, b, 0).size(), static_cast<size_t>(kNoDocumentSmoothness + 1));
}

TEST(HermiteSegments, CurrentSmoothnessComesFromTheDrawing) {
  ASSERT_EQ(gCurDocument, nullptr);
  EXPECT_EQ(CurrentCurveSmoothness(), kNoDocumentSmoothness);
  DocumentRec* doc = CreateDocument();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(CurrentCurveSmoothness(), kDefaultCurveSmoothness);
  // Values read from a file are kept in the range curves can be sampled with.
  doc->docState->curveSmoothness = 0;
  EXPECT_EQ(CurrentCurveSmoothness(), 1);
  doc->docState->curveSmoothness = 500;
  EXPECT_EQ(CurrentCurveSmoothness(), kMaxCurveSmoothness);
  DeleteDocument(doc);
  EXPECT_EQ(gCurDocument, nullptr);
}

TEST(ArcSegments, RadiusSplineFollowsTheCircle) {
  float x0, tx0, tx1, x1, y0, ty0, ty1, y1;
  BuildRadiusSpline(static_cast<float>(kPi / 2), 1, &x0, &tx0, &tx1, &x1, &y0, &ty0, &ty1, &y1);
  EXPECT_NEAR(x0, 0.7071f, kTol);
  EXPECT_NEAR(y0, -0.7071f, kTol);
  EXPECT_NEAR(x1, 0.7071f, kTol);
  EXPECT_NEAR(y1, 0.7071f, kTol);
  EXPECT_NEAR(tx0, 1.1716f, kTol);
  EXPECT_NEAR(ty0, 1.1716f, kTol);
  EXPECT_NEAR(tx1, -1.1716f, kTol);
  EXPECT_NEAR(ty1, 1.1716f, kTol);

  // A cubic strays from the circle by a share of the radius that grows with the sixth power of
  // the angle: 0.03 % for a quarter turn, 1.8 % for a half turn.
  const struct { double angle, tolerance; } arcs[] = {{0.3, 1e-5}, {kPi / 2, 5e-4}, {kPi, 2e-2}};
  for (const auto& arc : arcs) {
    const float r = 50;
    BuildRadiusSpline(static_cast<float>(arc.angle), r, &x0, &tx0, &tx1, &x1, &y0, &ty0, &ty1, &y1);
    const PointRec a = MakePoint(x0, y0, 0, 0, tx0, ty0);
    const PointRec b = MakePoint(x1, y1, tx1, ty1, 0, 0);
    for (auto& s : Samples(a, b, 20))
      EXPECT_NEAR(std::hypot(s.first, s.second), r, r * arc.tolerance) << arc.angle;
  }

  // An arc of no extent is a point with no tangent, not a NaN.
  BuildRadiusSpline(0, 5, &x0, &tx0, &tx1, &x1, &y0, &ty0, &ty1, &y1);
  EXPECT_FLOAT_EQ(x0, 5);
  EXPECT_FALSE(std::isnan(ty0));
  EXPECT_FALSE(std::isnan(ty1));
}

TEST(ArcSegments, SplineBoundsEncloseTheControlPolygon) {
  IntRect r{};
  GetSplineBounds(0, 10, 4, 20, 5, -8.4f, 0, 5, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 20);
  EXPECT_EQ(r.top, -2);  // -3.4 + 0.5 truncates toward zero
  EXPECT_EQ(r.bottom, 5);
}

}  // namespace
