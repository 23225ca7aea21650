// The undo record: exact round trips, the objects it acts on, and objects or drawings that go
// away between the action and Undo.
#include <cmath>
#include <vector>

#include "geometry/tranform.h"
#include "model/objstuff.h"
#include "model/recpool.h"
#include "toolfixture.h"

namespace {

using UndoTest = ToolTest;

struct Snapshot {
  std::vector<PointRec> points;
};

Snapshot Take(const ObjectRec* o) {
  Snapshot s;
  for (const PointRec* p = o->firstPoint; p; p = p->nextPoint) s.points.push_back(*p);
  return s;
}

void ExpectSame(const ObjectRec* o, const Snapshot& s) {
  size_t i = 0;
  for (const PointRec* p = o->firstPoint; p; p = p->nextPoint, ++i) {
    ASSERT_LT(i, s.points.size());
    EXPECT_EQ(p->x, s.points[i].x);
    EXPECT_EQ(p->y, s.points[i].y);
    EXPECT_EQ(p->inTangentX, s.points[i].inTangentX);
    EXPECT_EQ(p->outTangentY, s.points[i].outTangentY);
  }
  EXPECT_EQ(i, s.points.size());
}

TransformRec Identity() {
  TransformRec t = {};
  t.scaleX = t.scaleY = 1.0f;
  return t;
}

// One transform of the selection, recorded as a tool records it.
void Transform(DocumentRec* doc, int16_t kind, int op, const TransformRec& t) {
  BeginUndo(doc, kind);
  SelectedObjectAllLayers(doc->firstLayer, true, op, const_cast<TransformRec*>(&t));
  switch (kind) {
    case kUndoResize:
      RecordUndoScale(t.scaleX, t.scaleY, t.centerX, t.centerY);
      break;
    case kUndoSkew:
      RecordUndoShear(t.shearStartX, t.shearStartY, t.shearEndX, t.shearEndY, t.centerX, t.centerY);
      break;
    case kUndoRotate:
      RecordUndoRotate(t.angle, t.centerX, t.centerY);
      break;
    default:
      RecordUndoTranslate(t.dx, t.dy);
  }
}

TEST_F(UndoTest, TransformsUndoAndRedoExactlyWithoutDrift) {
  TransformRec move = Identity(), scale = Identity(), shear = Identity(), rotate = Identity();
  move.dx = 10.3f;
  move.dy = -7.1f;
  scale.scaleX = 1.37f;
  scale.scaleY = 0.61f;
  scale.centerX = 13;
  scale.centerY = 17;
  shear.centerX = 50;
  shear.centerY = 50;
  shear.shearStartX = 60;
  shear.shearStartY = 20;
  shear.shearEndX = 83.3f;
  shear.shearEndY = 31.1f;
  rotate.angle = 0.3f;
  rotate.centerX = 55.5f;
  rotate.centerY = 44.4f;
  const struct {
    int16_t kind;
    int op;
    const TransformRec& t;
  } cases[] = {{kUndoMove, kOpTranslate, move},
               {kUndoResize, kOpScale, scale},
               {kUndoSkew, kOpShear, shear},
               {kUndoRotate, kOpRotate, rotate}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    ObjectRec* oval = BuildOval(0, 0, 100, 80, layer_, false);
    const Snapshot before = Take(oval);
    Transform(doc_, c.kind, c.op, c.t);
    ASSERT_TRUE(UndoAvailable(doc_));
    const Snapshot after = Take(oval);
    for (int i = 0; i < 50; ++i) {
      ASSERT_TRUE(Undo());
      EXPECT_EQ(doc_->undoIsRedo, 1);
      ASSERT_TRUE(Undo());
      EXPECT_EQ(doc_->undoIsRedo, 0);
    }
    ExpectSame(oval, after);
    Undo();
    ExpectSame(oval, before);
    EXPECT_EQ(oval->bounds.right, 100);
    DeleteObj(oval);
  }
}

TEST_F(UndoTest, UndoActsOnWhatMovedNotOnTheSelectionNow) {
  ObjectRec* moved = Rect(0, 0, 10, 10);
  ObjectRec* other = Rect(50, 0, 60, 10);
  SelectObj(moved, kSelectMode, false);
  TransformRec t = Identity();
  t.dx = 5;
  Transform(doc_, kUndoMove, kOpTranslate, t);
  SelectObj(moved, kDeselectMode, false);
  SelectObj(other, kSelectMode, false);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(moved->bounds.left, 0);
  EXPECT_EQ(other->bounds.left, 50);
  EXPECT_TRUE(IsObjectSelected(other));  // the selection is left as it is
  // A record of another drawing is not undone here, nor shown in its menu.
  DocumentRec* second = CreateDocument();
  EXPECT_FALSE(UndoAvailable(second));
  EXPECT_FALSE(Undo());
  EXPECT_EQ(second->undoKind, kNoUndo);
  DeleteDocument(second);
  gCurDocument = doc_;
  EXPECT_TRUE(Undo());
  EXPECT_EQ(moved->bounds.left, 5);
}

TEST_F(UndoTest, ZeroResizeIsRefusedAndNothingIsRecorded) {
  ObjectRec* rect = Rect(0, 0, 10, 10);
  SelectObj(rect, kSelectMode, false);
  BeginUndo(doc_, kUndoResize);
  EXPECT_FALSE(RecordUndoScale(0.0f, 1.0f, 0, 0));
  EXPECT_FALSE(RecordUndoScale(1.0f, NAN, 0, 0));
  EXPECT_FALSE(gUndoAvail);
  EXPECT_FALSE(Undo());
  EXPECT_EQ(GetUndoStrIndex(kResizeTool), kUndoResize);
  const struct {
    int tool;
    int16_t kind;
  } kinds[] = {{kStandardTool, kUndoMove},  {kPointTool, kUndoPointMove},
               {kSkewTool, kUndoSkew},      {kRotateTool, kUndoRotate},
               {kRectTool, kUndoRectangle}, {kOvalTool, kUndoOval},
               {kPolyTool, kUndoPolygon},   {kMultiTool, kUndoMultigon},
               {kArcTool, kUndoArc},        {kLineTool, kUndoLine},
               {kSplineTool, kUndoSpline},  {kZoomTool, kNoUndo},
               {kFilletTool, kUndoFillet},  {kChamferTool, kUndoChamfer},
               {kTrimTool, kUndoTrim},      {kOffsetDimTool, kNoUndo},
               {kNoTool, kNoUndo}};
  for (const auto& k : kinds) EXPECT_EQ(GetUndoStrIndex(k.tool), k.kind) << k.tool;
}

TEST_F(UndoTest, CreatedShapesLeaveAndComeBack) {
  BeginUndo(doc_, kUndoRectangle);
  ObjectRec* rect = BuildRect(0, 0, 10, 10, layer_, true);
  RecordUndoCreate(rect);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(layer_->firstObject, nullptr);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(layer_->firstObject, rect);
  // Undone and then given up: the record frees the object it held (the leak check sees it).
  ASSERT_TRUE(Undo());
  BeginUndo(doc_, kUndoMove);
  EXPECT_EQ(layer_->firstObject, nullptr);
  EXPECT_EQ(gUndoObject, nullptr);
}

TEST_F(UndoTest, DeletedObjectsAndPointsDropTheRecord) {
  ObjectRec* rect = Rect(0, 0, 10, 10);
  SelectObj(rect, kSelectMode, false);
  TransformRec t = Identity();
  t.dx = 3;
  Transform(doc_, kUndoMove, kOpTranslate, t);
  DeleteObj(rect);
  EXPECT_FALSE(UndoAvailable(doc_));
  EXPECT_FALSE(Undo());
  EXPECT_EQ(doc_->undoKind, kNoUndo);

  // A point taken out by another operation: the record is dropped untouched.
  ObjectRec* poly = Rect(0, 0, 10, 10);
  SelectObj(poly, kSelectMode, false);
  Transform(doc_, kUndoMove, kOpTranslate, t);
  PointRec* last = poly->firstPoint->nextPoint->nextPoint->nextPoint;
  last->prevPoint->nextPoint = nullptr;
  FreePointRecord(last);
  EXPECT_FALSE(Undo());
  EXPECT_EQ(poly->bounds.left, 3);

  // A shape created, undone (held outside the drawing), then the drawing closed.
  BeginUndo(doc_, kUndoLine);
  RecordUndoCreate(BuildLine(0, 0, 5, 5, layer_, true));
  ASSERT_TRUE(Undo());
  DeleteDocument(doc_);
  doc_ = nullptr;
  EXPECT_FALSE(gUndoAvail);
  EXPECT_FALSE(Undo());
  doc_ = CreateDocument();
}

TEST_F(UndoTest, ClearPutsObjectsBackWhereTheyWere) {
  ObjectRec* a = Rect(0, 0, 10, 10);
  ObjectRec* b = Rect(20, 0, 30, 10);
  ObjectRec* c = Rect(40, 0, 50, 10);
  ObjectRec* d = Rect(60, 0, 70, 10);
  for (ObjectRec* o : {a, c, d}) SelectObj(o, kSelectMode, false);
  SelectObj(d, kLockMode, false);
  EXPECT_EQ(ClearSelectionWithUndo(), 2);
  EXPECT_EQ(doc_->undoKind, kUndoClear);
  EXPECT_EQ(layer_->firstObject, b);
  EXPECT_EQ(b->nextObject, d);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(layer_->firstObject, a);
  EXPECT_EQ(a->nextObject, b);
  EXPECT_EQ(b->nextObject, c);
  EXPECT_EQ(c->nextObject, d);
  EXPECT_EQ(d->prevObject, c);
  EXPECT_EQ(a->prevObject, nullptr);
  ASSERT_TRUE(Undo());  // redo
  EXPECT_EQ(layer_->firstObject, b);
  // Their layer deleted while they are out: they come back on the current layer.
  LayerRec* other = CreateLayer("Other", 1, 0, nullptr);
  AppendLayerToDocument(other);
  DeleteLayer(layer_);
  layer_ = doc_->firstLayer;
  ASSERT_EQ(layer_, other);
  doc_->currentLayer = other;
  ASSERT_TRUE(Undo());
  EXPECT_EQ(CountObjects(other), 2);
  // Deleting one of them now forgets the record; Undo touches nothing.
  DeleteObj(a);
  EXPECT_FALSE(Undo());
  EXPECT_EQ(CountObjects(other), 1);
  // Cleared and never undone: disposing frees them.
  SelectObj(c, kSelectMode, false);
  EXPECT_EQ(ClearSelectionWithUndo(), 1);
  DisposeUndo();
  EXPECT_EQ(other->firstObject, nullptr);
}

}  // namespace
