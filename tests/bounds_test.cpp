// Bounds computed from points and curves, and united from stored bounds.
#include <gtest/gtest.h>

#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"

namespace {

class BoundsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc_ = CreateDocument();
    ASSERT_NE(doc_, nullptr);
    layer_ = doc_->firstLayer;
  }
  void TearDown() override {
    DeleteDocument(doc_);
    gDimensionSelected = false;
  }

  ObjectRec* Shape(int16_t kind, bool closed, float weight = 1) {
    ObjectRec* o = CreateObject(kind, closed, 1, &kWhite16, &kBlack16, weight, kSolidLineType, kNoFill,
                                &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
    AppendObjectToLayer(o, layer_);
    return o;
  }
  static PointRec* Add(ObjectRec* o, float x, float y, float outX = 0, float outY = 0, float inX = 0,
                       float inY = 0, int16_t kind = kVertexPoint) {
    PointRec* p = CreatePoint(kind, 0, 0, inX, inY, x, y, outX, outY, o);
    AppendPointToObject(p, o);
    return p;
  }
  static FloatRect Bounds(const ObjectRec* o, bool selectedOnly = false, bool pointsOnly = false,
                          bool pen = false) {
    FloatRect r = kEmptyRect;
    GetObjectBounds(o, selectedOnly, &r, pointsOnly, pen);
    return r;
  }

  DocumentRec* doc_ = nullptr;
  LayerRec* layer_ = nullptr;
};

void ExpectRect(const FloatRect& r, float top, float left, float bottom, float right) {
  EXPECT_NEAR(r.top, top, 1e-3);
  EXPECT_NEAR(r.left, left, 1e-3);
  EXPECT_NEAR(r.bottom, bottom, 1e-3);
  EXPECT_NEAR(r.right, right, 1e-3);
}

TEST_F(BoundsTest, RefineBoundsStartsFromTheEmptyRectangle) {
  FloatRect r = kEmptyRect;
  RefineBounds(5, 7, &r);
  ExpectRect(r, 7, 5, 7, 5);
  RefineBounds(-1, 9, &r);
  RefineBounds(8, 2, &r);
  ExpectRect(r, 2, -1, 9, 8);
  EXPECT_FALSE(IsEmptyRect(&r));

  ObjectRec* none = Shape(kPolyKind, false);
  FloatRect empty = Bounds(none);
  EXPECT_TRUE(IsEmptyRect(&empty));
  ObjectRec* one = Shape(kPolyKind, false);
  Add(one, 3, 4);
  ExpectRect(Bounds(one), 4, 3, 4, 3);
}

TEST_F(BoundsTest, CurvesBulgeUnlessPointsOnlyOrMarkers) {
  // y(t) = 100 (t^2 - t): the segment dips to -25 at t = 0.5, which default smoothness 8 samples.
  ObjectRec* spline = Shape(kSplineKind, false);
  Add(spline, 0, 0, 0, -100);
  Add(spline, 100, 0, 0, 0, 0, 100);
  ExpectRect(Bounds(spline), -25, 0, 0, 100);
  ExpectRect(Bounds(spline, false, true), 0, 0, 0, 100);

  // An arc centre between the two makes both segments straight.
  ObjectRec* marked = Shape(kSplineKind, false);
  Add(marked, 0, 0, 0, -100);
  Add(marked, 50, 40, 0, -100, 0, 100, kArcCentrePoint);
  Add(marked, 100, 0, 0, 0, 0, 100);
  ExpectRect(Bounds(marked), 0, 0, 40, 100);

  // Objects that are not point-list shapes never follow tangents.
  ObjectRec* dim = Shape(kLengthDimKind, false);
  Add(dim, 0, 0, 0, -100);
  Add(dim, 100, 0, 0, 0, 0, 100);
  ExpectRect(Bounds(dim), 0, 0, 0, 100);

  UpdateObjectBounds(spline);
  ExpectRect(spline->bounds, -25, 0, 0, 100);
}

TEST_F(BoundsTest, ClosingCurveOnlyWithTangents) {
  ObjectRec* tri = Shape(kSplineKind, true);
  Add(tri, 0, 0);
  Add(tri, 100, 0);
  PointRec* last = Add(tri, 50, 50);
  ExpectRect(Bounds(tri), 0, 0, 50, 100);

  // Last point's outgoing tangent bends the closing segment from (50, 50) to (0, 0) outward.
  last->outTangentX = -200;
  last->outTangentY = 0;
  FloatRect r = Bounds(tri);
  EXPECT_LT(r.left, -1);
  EXPECT_FLOAT_EQ(r.right, 100);
  // The same object open, or read with pointsOnly, has no closing curve.
  tri->closed = 0;
  ExpectRect(Bounds(tri), 0, 0, 50, 100);
  tri->closed = 1;
  ExpectRect(Bounds(tri, false, true), 0, 0, 50, 100);
}

TEST_F(BoundsTest, SelectedOnlyTestsEachPointsOwnFlag) {
  ObjectRec* group = Shape(kGroupKind, false);
  ObjectRec* a = CreateObject(kPolyKind, 0, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill, &kEmptyRect,
                              nullptr, nullptr, nullptr, nullptr, nullptr);
  ObjectRec* b = CreateObject(kPolyKind, 0, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill, &kEmptyRect,
                              nullptr, nullptr, nullptr, nullptr, nullptr);
  AppendObjectToGroup(a, group);
  AppendObjectToGroup(b, group);
  Add(a, 0, 0);
  Add(a, 10, 10);
  Add(b, 200, 200)->selected = 1;
  Add(b, 300, 250)->selected = 1;
  ExpectRect(Bounds(group, true), 200, 200, 250, 300);
  ExpectRect(Bounds(group), 0, 0, 250, 300);

  UpdateLayerRootBounds(layer_, false, true, false);
  ExpectRect(group->bounds, 0, 0, 250, 300);
  // Only selected groups, on visible layers.
  group->bounds = kEmptyRect;
  b->firstPoint->selected = b->firstPoint->nextPoint->selected = 0;
  UpdateAllLayerRootBounds(doc_->firstLayer, false, true, true);
  EXPECT_TRUE(IsEmptyRect(&group->bounds));
}

TEST_F(BoundsTest, HiddenLayersAreNeverAdded) {
  ObjectRec* near = Shape(kPolyKind, false);
  Add(near, 0, 0);
  Add(near, 10, 10);
  LayerRec* hidden = CreateLayer("hidden", 0, 1, nullptr);
  AppendLayerToDocument(hidden);
  ObjectRec* far = CreateObject(kPolyKind, 0, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill,
                                &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
  AppendObjectToLayer(far, hidden);
  Add(far, 1000, 1000);
  UpdateObjectBounds(near);
  UpdateObjectBounds(far);

  FloatRect r = kEmptyRect;
  GetAllLayersBounds(doc_->firstLayer, false, &r, false, false);
  ExpectRect(r, 0, 0, 10, 10);
  r = kEmptyRect;
  GetAllLayersObjBounds(doc_->firstLayer, false, &r, false);
  ExpectRect(r, 0, 0, 10, 10);
  hidden->visible = 1;
  GetAllLayersObjBounds(doc_->firstLayer, false, &r, false);
  ExpectRect(r, 0, 0, 1000, 1000);
}

TEST_F(BoundsTest, PenAllowanceIsHalfOfWidePens) {
  ObjectRec* thick = Shape(kPolyKind, false, 3);
  Add(thick, 10, 10);
  Add(thick, 20, 30);
  ExpectRect(Bounds(thick, false, false, true), 9, 9, 31, 21);
  thick->lineWeight = 1;
  ExpectRect(Bounds(thick, false, false, true), 10, 10, 30, 20);
  thick->lineWeight = 0;
  ExpectRect(Bounds(thick, false, false, true), 10, 10, 30, 20);

  // Curve samples get the allowance too.
  ObjectRec* spline = Shape(kSplineKind, false, 4);
  Add(spline, 0, 0, 0, -100);
  Add(spline, 100, 0, 0, 0, 0, 100);
  ExpectRect(Bounds(spline, false, false, true), -27, -2, 2, 102);

  // Stored bounds take the zoomed width: 3 points at zoom 2 is 6 pixels, 3 on each side.
  UpdateObjectBounds(thick);
  thick->lineWeight = 3;
  doc_->docState->zoomFactor = 2;
  FloatRect r = kEmptyRect;
  GetObjectObjBounds(thick, false, &r, true);
  ExpectRect(r, 7, 7, 33, 23);
}

TEST_F(BoundsTest, StoredBoundsSkipUnselectedAndFlagDimensions) {
  ObjectRec* poly = Shape(kPolyKind, false);
  Add(poly, 0, 0);
  Add(poly, 10, 10);
  ObjectRec* dim = Shape(kOffsetDimHKind, false);
  Add(dim, 50, 50)->selected = 1;
  Add(dim, 60, 55)->selected = 1;
  UpdateObjectBounds(poly);
  UpdateObjectBounds(dim);

  gDimensionSelected = false;
  FloatRect r = kEmptyRect;
  GetLayerObjBounds(layer_, true, &r, false);
  EXPECT_TRUE(IsEmptyRect(&r)) << "a selected dimension is reported, not united";
  EXPECT_TRUE(gDimensionSelected);

  // A group adds nothing of its own, only its members.
  ObjectRec* group = Shape(kGroupKind, false);
  group->bounds = FloatRect{-500, -500, 500, 500};
  UnlinkObject(poly);
  AppendObjectToGroup(poly, group);
  r = kEmptyRect;
  GetObjectObjBounds(group, false, &r, false);
  ExpectRect(r, 0, 0, 10, 10);
}

TEST_F(BoundsTest, CenterIgnoresCurvesAndCoincidentPoints) {
  ObjectRec* spline = Shape(kSplineKind, false);
  Add(spline, 0, 0, 0, -100);
  Add(spline, 100, 40, 0, 0, 0, 100);
  float x, y;
  CenterOfObject(spline, &x, &y);
  EXPECT_FLOAT_EQ(x, 50);
  EXPECT_FLOAT_EQ(y, 20);
  ObjectRec* dot = Shape(kPolyKind, false);
  Add(dot, 7, 9);
  Add(dot, 7, 9);
  CenterOfObject(dot, &x, &y);
  EXPECT_FLOAT_EQ(x, 7);
  EXPECT_FLOAT_EQ(y, 9);
}

}  // namespace
