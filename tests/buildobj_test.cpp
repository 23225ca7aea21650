// The shape builders: points, tangents and degenerate figures.
#include <cmath>

#include "geometry/gnrlmath.h"
#include "model/objstuff.h"
#include "toolfixture.h"

namespace {

using BuildTest = ToolTest;

struct Expected {
  float x, y, tx, ty;
};

void ExpectPoints(const ObjectRec* o, std::initializer_list<Expected> expected, float tolerance) {
  const PointRec* p = o->firstPoint;
  int i = 0;
  for (const Expected& e : expected) {
    ASSERT_NE(p, nullptr) << "point " << i;
    EXPECT_NEAR(p->x, e.x, tolerance) << "point " << i;
    EXPECT_NEAR(p->y, e.y, tolerance) << "point " << i;
    EXPECT_NEAR(p->outTangentX, e.tx, tolerance) << "point " << i;
    EXPECT_NEAR(p->outTangentY, e.ty, tolerance) << "point " << i;
    EXPECT_EQ(p->inTangentX, p->outTangentX);
    EXPECT_EQ(p->inTangentY, p->outTangentY);
    p = p->nextPoint;
    ++i;
  }
  EXPECT_EQ(p, nullptr);
}

TEST_F(BuildTest, OvalPointsSitOnTheSidesWithQuarterCircleTangents) {
  const float t = 4.0f * (1.0f - std::cos(kPi / 4)) * 50.0f / std::sin(kPi / 4);  // about 1.657 r
  ObjectRec* circle = BuildOval(0, 0, 100, 100, layer_, false);
  ASSERT_NE(circle, nullptr);
  EXPECT_EQ(circle->kind, kOvalKind);
  EXPECT_TRUE(circle->closed);
  ExpectPoints(circle, {{50, 0, t, 0}, {100, 50, 0, t}, {50, 100, -t, 0}, {0, 50, 0, -t}}, 1e-3f);
  // A wide rectangle squeezes the circle of the larger side vertically.
  const float t2 = 2.0f * t;
  ObjectRec* ellipse = BuildOval(0, 0, 200, 100, layer_, false);
  ExpectPoints(ellipse, {{100, 0, t2, 0}, {200, 50, 0, t2 / 2}, {100, 100, -t2, 0}, {0, 50, 0, -t2 / 2}},
               1e-3f);
  // The drawn curve stays within the rectangle and touches its sides.
  EXPECT_NEAR(ellipse->bounds.left, 0, 0.5f);
  EXPECT_NEAR(ellipse->bounds.right, 200, 0.5f);
}

TEST_F(BuildTest, ArcRunsFromTheEndOfItsSweepBackToItsStart) {
  const float r = 50;
  const float half = 22.5f * kDegreesToRadians;
  const float len = 4 * (1 - std::cos(half)) * r / std::sin(half);
  const float d = r * std::sqrt(0.5f);
  // 90 degrees counter-clockwise from east, as the user sees it: two pieces.
  ObjectRec* arc = BuildArc(0, 0, 100, 100, 0, 90, layer_, false);
  ASSERT_NE(arc, nullptr);
  EXPECT_EQ(arc->kind, kArcKind);
  EXPECT_FALSE(arc->closed);
  ExpectPoints(arc,
               {{50, 0, len, 0},
                {50 + d, 50 - d, len * std::sqrt(0.5f), len * std::sqrt(0.5f)},
                {100, 50, 0, len},
                {50, 50, 0, 0}},
               1e-3f);
  const int16_t kinds[] = {kArcPoint, kArcPoint, kArcPoint, kArcCentrePoint};
  int i = 0;
  for (const PointRec* p = arc->firstPoint; p; p = p->nextPoint) EXPECT_EQ(p->pointKind, kinds[i++]);
  // A clockwise quarter: ends at the bottom, tangents reversed.
  ObjectRec* clockwise = BuildArc(0, 0, 100, 100, 0, -90, layer_, false);
  ExpectPoints(clockwise,
               {{50, 100, len, 0},
                {50 + d, 50 + d, len * std::sqrt(0.5f), -len * std::sqrt(0.5f)},
                {100, 50, 0, -len},
                {50, 50, 0, 0}},
               1e-3f);
  // A half turn is three pieces, a full turn five: one point more on the circle, and the centre.
  EXPECT_EQ(CountObjectPoints(BuildArc(0, 0, 100, 100, 0, 180, layer_, false)), 4 + 1);
  EXPECT_EQ(CountObjectPoints(BuildArc(0, 0, 100, 100, 0, 360, layer_, false)), 6 + 1);
}

TEST_F(BuildTest, MultigonEndsExactlyAtTheReleasePoint) {
  ObjectRec* hexagon = BuildMulti(10, 20, 37.3f, 4.1f, layer_, 6, false);
  ASSERT_NE(hexagon, nullptr);
  EXPECT_EQ(CountObjectPoints(hexagon), 6);
  const float rho = std::hypot(27.3f, -15.9f);
  const PointRec* last = nullptr;
  for (const PointRec* p = hexagon->firstPoint; p; p = p->nextPoint) {
    EXPECT_NEAR(std::hypot(p->x - 10, p->y - 20), rho, 1e-3f);
    if (last) {
      EXPECT_NEAR(std::hypot(p->x - last->x, p->y - last->y), rho, 1e-3f);  // regular: side = radius
    }
    last = p;
  }
  EXPECT_EQ(last->x, 37.3f);
  EXPECT_EQ(last->y, 4.1f);
  // The first vertex is one step counter-clockwise (as the user sees it) from the release point.
  ObjectRec* square = BuildMulti(0, 0, 10, 0, layer_, 4, false);
  EXPECT_NEAR(square->firstPoint->x, 0, 1e-4f);
  EXPECT_NEAR(square->firstPoint->y, -10, 1e-4f);
}

TEST_F(BuildTest, DegenerateFiguresBuildNothing) {
  EXPECT_EQ(BuildRect(5, 5, 5, 5, layer_, false), nullptr);
  EXPECT_EQ(BuildOval(5, 5, 5, 5, layer_, false), nullptr);
  EXPECT_EQ(BuildLine(5, 5, 5, 5, layer_, false), nullptr);
  EXPECT_EQ(BuildArc(0, 0, 100, 100, 30, 0, layer_, false), nullptr);
  EXPECT_EQ(BuildArc(5, 5, 5, 5, 0, 90, layer_, false), nullptr);
  EXPECT_EQ(BuildMulti(0, 0, 10, 0, layer_, 2, false), nullptr);
  EXPECT_EQ(BuildMulti(0, 0, 0, 0, layer_, 6, false), nullptr);
  EXPECT_EQ(BuildLine(0, 0, NAN, 1, layer_, false), nullptr);
  EXPECT_EQ(layer_->firstObject, nullptr);
  // A flat rectangle still has two distinct corners.
  EXPECT_NE(BuildRect(0, 5, 10, 5, layer_, false), nullptr);
}

TEST_F(BuildTest, AttributesComeFromTheDrawingOnlyWhenAsked) {
  DocState* s = doc_->docState;
  s->penColor = RGB16{1, 2, 3};
  s->fillColor = RGB16{4, 5, 6};
  s->lineWeight = 3;
  s->lineType = 8;
  gPattern = kSolidFill;
  ObjectRec* own = BuildRect(0, 0, 10, 10, layer_, true);
  EXPECT_EQ(own->penColor.blue, 3);
  EXPECT_EQ(own->fillColor.red, 4);
  EXPECT_EQ(own->lineWeight, 3.0f);
  EXPECT_EQ(own->lineType, 8);
  EXPECT_EQ(own->fillPattern, kSolidFill);
  ObjectRec* plain = BuildLine(0, 0, 10, 10, layer_, false);
  EXPECT_EQ(plain->penColor.red, 65535);
  EXPECT_EQ(plain->lineWeight, 1.0f);
  EXPECT_EQ(plain->lineType, kSolidLineType);
  EXPECT_EQ(plain->fillPattern, kNoFill);
  // Rectangle and line points come selected, the rectangle's in the corner order.
  EXPECT_TRUE(IsObjectSelected(own));
  ExpectPoints(own, {{0, 0, 0, 0}, {10, 0, 0, 0}, {10, 10, 0, 0}, {0, 10, 0, 0}}, 0);
}

TEST_F(BuildTest, PolygonStagesCloseNearTheFirstVertexWithEnoughPoints) {
  ObjectRec* poly = BuildPoly(nullptr, 0, 0, layer_, kBuildFirstPoint, true);
  ASSERT_NE(poly, nullptr);
  EXPECT_FALSE(IsObjectSelected(poly));
  BuildPoly(poly, 100, 0, layer_, kBuildAddPoint, true);
  BuildPoly(poly, 100, 0, layer_, kBuildAddPoint, true);  // repeated click
  BuildPoly(poly, 100, 100, layer_, kBuildAddPoint, true);
  BuildPoly(poly, 4, -3, layer_, kBuildAddPoint, true);  // within 10 pixels of the first
  EXPECT_EQ(CountObjectPoints(poly), 4);
  EXPECT_EQ(BuildPoly(poly, 0, 0, layer_, kBuildFinish, true), poly);
  EXPECT_TRUE(poly->closed);
  EXPECT_EQ(CountObjectPoints(poly), 3);
  EXPECT_TRUE(IsObjectSelected(poly));
  EXPECT_EQ(poly->bounds.right, 100);

  // Two vertices and a click back at the first: the repeat goes, but two points close nothing.
  ObjectRec* open = BuildPoly(nullptr, 0, 0, layer_, kBuildFirstPoint, true);
  BuildPoly(open, 50, 0, layer_, kBuildAddPoint, true);
  BuildPoly(open, 1, 1, layer_, kBuildAddPoint, true);
  BuildPoly(open, 0, 0, layer_, kBuildFinish, true);
  EXPECT_FALSE(open->closed);
  EXPECT_EQ(CountObjectPoints(open), 2);

  // A figure of one place is dropped from the layer.
  ObjectRec* dot = BuildPoly(nullptr, 7, 7, layer_, kBuildFirstPoint, true);
  BuildPoly(dot, 7, 7, layer_, kBuildAddPoint, true);
  EXPECT_EQ(BuildPoly(dot, 0, 0, layer_, kBuildFinish, true), nullptr);
  EXPECT_EQ(CountObjects(layer_), 2);
}

TEST_F(BuildTest, SplineEndsSmoothedAndSelected) {
  ObjectRec* spline = BuildSpline(nullptr, 0, 0, layer_, kBuildFirstPoint, true);
  BuildSpline(spline, 100, 50, layer_, kBuildAddPoint, true);
  BuildSpline(spline, 200, 0, layer_, kBuildAddPoint, true);
  ASSERT_EQ(BuildSpline(spline, 0, 0, layer_, kBuildFinish, true), spline);
  EXPECT_EQ(spline->kind, kSplineKind);
  EXPECT_TRUE(IsObjectSelected(spline));
  // Tension 5: the middle tangent is half of third minus first; open ends stay straight.
  const PointRec* middle = spline->firstPoint->nextPoint;
  EXPECT_EQ(middle->outTangentX, 100.0f);
  EXPECT_EQ(middle->outTangentY, 0.0f);
  EXPECT_EQ(spline->firstPoint->outTangentX, 0.0f);
  EXPECT_NEAR(spline->bounds.top, 0.0f, 1e-3f);
  EXPECT_GE(spline->bounds.bottom, 50.0f);
}

}  // namespace
