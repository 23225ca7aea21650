// The editing tools' typed transforms: world units with y up to page offsets, resize factors and
// fixed points, skews, rotations, refused entries, and the transform applied with its undo.
#include <cmath>

#include "geometry/units.h"
#include "model/objstuff.h"
#include "toolfixture.h"
#include "tools/editdlog.h"

namespace {

constexpr float kTol = 0.01f;

void ExpectBounds(const ObjectRec* o, float left, float top, float right, float bottom) {
  EXPECT_NEAR(o->bounds.left, left, kTol);
  EXPECT_NEAR(o->bounds.top, top, kTol);
  EXPECT_NEAR(o->bounds.right, right, kTol);
  EXPECT_NEAR(o->bounds.bottom, bottom, kTol);
}

class EditDialogRectTest : public ToolTest {
 protected:
  ObjectRec* Box() {
    ObjectRec* o = Rect(100.0f, 100.0f, 300.0f, 200.0f);
    SetObjectSelectFlags(o, 1);
    return o;
  }
  // Page units per world unit in the new drawing.
  float Unit() const { return ConvertWorldToScreen(1.0f, doc_->docState, false); }
  FloatRect Bounds() const {
    FloatRect b;
    EXPECT_TRUE(CurrentSelectionBounds(&b));
    return b;
  }
};

TEST_F(EditDialogRectTest, MovesAreTypedWithYUpAndPolarAnglesCounterclockwise) {
  const float u = Unit();
  struct Case {
    bool polar;
    float first, second, dx, dy;  // dx, dy in world units on the page (y down)
  } cases[] = {
      {false, 1.0f, 2.0f, 1.0f, -2.0f}, {false, -0.5f, -1.0f, -0.5f, 1.0f}, {true, 0.0f, 2.0f, 2.0f, 0.0f},
      {true, 90.0f, 1.0f, 0.0f, -1.0f}, {true, 180.0f, 1.0f, -1.0f, 0.0f},  {true, -90.0f, 3.0f, 0.0f, 3.0f},
  };
  for (const Case& c : cases) {
    FloatPoint d = {99.0f, 99.0f};
    ASSERT_EQ(RelocateOffset(c.polar, c.first, c.second, doc_->docState, &d).fault, kEntryOk);
    EXPECT_NEAR(d.x, c.dx * u, kTol) << c.polar << " " << c.first << "," << c.second;
    EXPECT_NEAR(d.y, c.dy * u, kTol) << c.polar << " " << c.first << "," << c.second;
  }
}

TEST_F(EditDialogRectTest, ResizeKeepsTheChosenCornerOrCentreByPercentAndBySize) {
  const float u = Unit();
  struct Case {
    int anchor;
    bool bySize;
    float first, second;
    float left, top, right, bottom;  // the rectangle's bounds afterwards
  } cases[] = {
      {kResizeUpperLeft, false, 50.0f, 200.0f, 100.0f, 100.0f, 200.0f, 300.0f},
      {kResizeLowerLeft, false, 50.0f, 200.0f, 100.0f, 0.0f, 200.0f, 200.0f},
      {kResizeUpperRight, false, 50.0f, 200.0f, 200.0f, 100.0f, 300.0f, 300.0f},
      {kResizeLowerRight, false, 50.0f, 200.0f, 200.0f, 0.0f, 300.0f, 200.0f},
      {kResizeCenter, false, 50.0f, 200.0f, 150.0f, 50.0f, 250.0f, 250.0f},
      // By size: 100 x 50 page units typed in world units (signs ignored).
      {kResizeUpperLeft, true, 100.0f / u, 50.0f / u, 100.0f, 100.0f, 200.0f, 150.0f},
      {kResizeLowerRight, true, -100.0f / u, 50.0f / u, 200.0f, 150.0f, 300.0f, 200.0f},
      {kResizeCenter, true, 400.0f / u, 50.0f / u, 0.0f, 125.0f, 400.0f, 175.0f},
  };
  for (const Case& c : cases) {
    ObjectRec* box = Box();
    TransformRec rec = {};
    ASSERT_EQ(ComputeResize(c.bySize, c.first, c.second, c.anchor, Bounds(), doc_->docState, &rec).fault,
              kEntryOk);
    EXPECT_TRUE(ApplyEditTransform(kOpScale, rec, kUndoResize));
    SCOPED_TRACE(testing::Message() << "anchor " << c.anchor << " bySize " << c.bySize);
    ExpectBounds(box, c.left, c.top, c.right, c.bottom);
    ASSERT_TRUE(Undo());
    ExpectBounds(box, 100.0f, 100.0f, 300.0f, 200.0f);
    SetObjectSelectFlags(box, 0);
  }
}

TEST_F(EditDialogRectTest, ResizesThatWouldFlattenOrCannotScaleAreRefused) {
  const FloatRect box = {100.0f, 100.0f, 200.0f, 300.0f};
  const FloatRect flat = {100.0f, 100.0f, 100.0f, 300.0f};  // a horizontal line: no height
  const float u = Unit();
  struct Case {
    bool bySize;
    float first, second;
    const FloatRect* bounds;
    EditEntryFault fault;
    int field;
  } cases[] = {
      {false, 0.0f, 100.0f, &box, kEntryZero, 0},   {false, 100.0f, 0.0f, &box, kEntryZero, 1},
      {true, 0.0f, 1.0f, &box, kEntryZero, 0},      {true, 1.0f, 0.0f, &box, kEntryZero, 1},
      {true, 1.0f, 1.0f, &flat, kEntryNoExtent, 1}, {false, 3e38f, 100.0f, &box, kEntryTooLarge, 0},
      {true, 3e38f, 1.0f, &box, kEntryTooLarge, 0},
  };
  for (const Case& c : cases) {
    TransformRec rec = {};
    rec.scaleX = 7.0f;
    const EditEntryCheck check =
        ComputeResize(c.bySize, c.first, c.second, kResizeUpperLeft, *c.bounds, doc_->docState, &rec);
    EXPECT_EQ(check.fault, c.fault) << c.first << "," << c.second;
    EXPECT_EQ(check.field, c.field) << c.first << "," << c.second;
    EXPECT_EQ(rec.scaleX, 7.0f);  // untouched on a refusal
  }
  // The flat side may keep its size: only the width changes.
  TransformRec rec = {};
  ASSERT_EQ(ComputeResize(true, 100.0f / u, 0.0f, kResizeUpperLeft, flat, doc_->docState, &rec).fault,
            kEntryOk);
  EXPECT_NEAR(rec.scaleX, 0.5f, 1e-6f);
  EXPECT_EQ(rec.scaleY, 1.0f);
}

TEST_F(EditDialogRectTest, SkewMovesTheNamedEdgeAndTheOppositeOneBack) {
  const float u = Unit();
  struct Case {
    int direction;
    // How far the top-left and bottom-right corners move, in world units on the page.
    float topLeftDx, topLeftDy, bottomRightDx, bottomRightDy;
  } cases[] = {
      {kSkewRight, 1.0f, 0.0f, -1.0f, 0.0f},
      {kSkewLeft, -1.0f, 0.0f, 1.0f, 0.0f},
      {kSkewUp, 0.0f, 1.0f, 0.0f, -1.0f},
      {kSkewDown, 0.0f, -1.0f, 0.0f, 1.0f},
  };
  for (const Case& c : cases) {
    ObjectRec* box = Box();
    TransformRec rec = {};
    ASSERT_EQ(ComputeSkew(-1.0f, c.direction, Bounds(), doc_->docState, &rec).fault, kEntryOk);
    EXPECT_TRUE(ApplyEditTransform(kOpShear, rec, kUndoSkew));
    // The rectangle's points start at the top-left corner and go round; the third is opposite.
    const PointRec* tl = box->firstPoint;
    const PointRec* br = tl->nextPoint->nextPoint;
    SCOPED_TRACE(testing::Message() << "direction " << c.direction);
    EXPECT_NEAR(tl->x, 100.0f + c.topLeftDx * u, kTol);
    EXPECT_NEAR(tl->y, 100.0f + c.topLeftDy * u, kTol);
    EXPECT_NEAR(br->x, 300.0f + c.bottomRightDx * u, kTol);
    EXPECT_NEAR(br->y, 200.0f + c.bottomRightDy * u, kTol);
    ASSERT_TRUE(Undo());
    SetObjectSelectFlags(box, 0);
  }
  // A selection with no height cannot be skewed sideways, but can be up or down.
  const FloatRect flat = {100.0f, 100.0f, 100.0f, 300.0f};
  TransformRec rec = {};
  EXPECT_EQ(ComputeSkew(1.0f, kSkewRight, flat, doc_->docState, &rec).fault, kEntryNoExtent);
  EXPECT_EQ(ComputeSkew(1.0f, kSkewUp, flat, doc_->docState, &rec).fault, kEntryOk);
}

TEST_F(EditDialogRectTest, RotationIsCounterclockwiseInDegreesOrRadians) {
  ObjectRec* box = Box();
  const FloatRect b = Bounds();
  struct Case {
    float angle;
    bool radians;
    float expected;  // radians
  } cases[] = {{90.0f, false, static_cast<float>(90.0 * kDialogDegreesToRadians)}, {90.0f, true, 90.0f}};
  for (const Case& c : cases) {
    const TransformRec rec = ComputeRotate(c.angle, c.radians, b);
    EXPECT_FLOAT_EQ(rec.angle, c.expected);
    EXPECT_FLOAT_EQ(rec.centerX, 200.0f);
    EXPECT_FLOAT_EQ(rec.centerY, 150.0f);
  }
  // A quarter turn stands the 200 x 100 rectangle up about its centre, its old right edge on top.
  EXPECT_TRUE(ApplyEditTransform(kOpRotate, ComputeRotate(90.0f, false, Bounds()), kUndoRotate));
  ExpectBounds(box, 150.0f, 50.0f, 250.0f, 250.0f);
  EXPECT_NEAR(box->firstPoint->x, 150.0f, kTol);  // the top-left corner went to the bottom left
  EXPECT_NEAR(box->firstPoint->y, 250.0f, kTol);
}

TEST_F(EditDialogRectTest, MovesThatChangeNothingOrFindNoSelectionLeaveNoUndo) {
  TransformRec still = {};
  still.scaleX = still.scaleY = 1.0f;
  ObjectRec* box = Rect(100.0f, 100.0f, 300.0f, 200.0f);
  TransformRec move = still;
  move.dx = 10.0f;
  EXPECT_FALSE(ApplyEditTransform(kOpTranslate, move, kUndoMove));  // nothing selected
  SetObjectSelectFlags(box, 1);
  EXPECT_FALSE(ApplyEditTransform(kOpTranslate, still, kUndoMove));
  EXPECT_FALSE(UndoAvailable(doc_));
  EXPECT_TRUE(ApplyEditTransform(kOpTranslate, move, kUndoPointMove));
  EXPECT_EQ(doc_->undoKind, kUndoPointMove);
  ExpectBounds(box, 110.0f, 100.0f, 310.0f, 200.0f);
  EXPECT_TRUE(Undo());
  ExpectBounds(box, 100.0f, 100.0f, 300.0f, 200.0f);
}

}  // namespace
