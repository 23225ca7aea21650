// Hit testing, click and marquee selection, the walks and the selection summary.
#include <cmath>
#include <vector>

#include "geometry/tranform.h"
#include "model/objedit.h"
#include "model/objstuff.h"
#include "toolfixture.h"
#include "tools/selindex.h"
#include "tools/toolhooks.h"

namespace {

using SelectionTest = ToolTest;

TEST_F(SelectionTest, PressesHitPointsSegmentsAndNothingElse) {
  ObjectRec* rect = Rect(100, 100, 200, 200);
  PointRec* first = rect->firstPoint;
  struct Case {
    int x, y;
    bool point, segment;
    PointRec* hitPoint;
    PointRec* next;
  } cases[] = {
      {104, 96, true, false, first, nullptr},                                 // corner within the pick radius
      {150, 103, false, true, first, first->nextPoint},                       // top side
      {97, 150, false, true, first->nextPoint->nextPoint->nextPoint, first},  // closing side, last to first
      {150, 150, false, false, nullptr, nullptr},  // inside, unfilled and never painted
      {150, 106, false, false, nullptr, nullptr},  // just beyond the radius
  };
  for (const Case& c : cases) {
    const ClickInfo info = Press(c.x, c.y);
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(info.hit, c.point || c.segment);
    EXPECT_EQ(info.pointHit, c.point);
    EXPECT_EQ(info.segmentHit, c.segment);
    EXPECT_EQ(info.point, c.hitPoint);
    EXPECT_EQ(info.nextPoint, c.next);
    if (info.hit) {
      EXPECT_EQ(info.object, rect);
    }
  }
}

TEST_F(SelectionTest, CurvesAreHitOnTheSubSegmentUnderThePress) {
  ObjectRec* oval = BuildOval(0, 0, 200, 200, layer_, false);
  SetObjectSelectFlags(oval, 0);
  // 45 degrees up and right of the centre, on the circle: between the top and right points.
  ClickInfo info = Press(171, 29);
  ASSERT_TRUE(info.segmentHit);
  EXPECT_EQ(info.point, oval->firstPoint);
  EXPECT_EQ(info.nextPoint, oval->firstPoint->nextPoint);
  EXPECT_LE(info.tStart, 0.5f);
  EXPECT_GE(info.tEnd, 0.5f);
  EXPECT_FLOAT_EQ(info.tEnd - info.tStart, 1.0f / 8);
  // Inside the curve's box but 29 pixels inside the circle: nothing.
  EXPECT_FALSE(Press(150, 50).hit);
  // A long slanted line is not hit beside it, though the press lies in a sampled piece's box.
  Line(300, 0, 1100, 800);
  EXPECT_FALSE(Press(360, 10).hit);
  EXPECT_TRUE(Press(362, 60).segmentHit);
}

TEST_F(SelectionTest, FilledInteriorsFollowTheEvenOddRule) {
  ObjectRec* shape = Rect(0, 0, 100, 100);
  // A square with a square hole, drawn as one outline.
  CachePolygon(
      shape,
      {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}, {30, 30}, {30, 70}, {70, 70}, {70, 30}, {30, 30}});
  EXPECT_TRUE(Press(15, 50).interiorHit);
  EXPECT_FALSE(Press(50, 50).hit);  // the hole
  EXPECT_FALSE(Press(50, 50, true).hit);
  // Only over all objects: the first pass over the selection ignores interiors.
  SelectObj(shape, kSelectMode, false);
  EXPECT_FALSE(Press(15, 50, true).interiorHit);
}

// A paint owes the outline; the press has it made through the hook, once, and without a hook
// (no screen) the interior is not hit.
TEST_F(SelectionTest, AnOwedOutlineIsMadeWhenAPressNeedsIt) {
  static int made = 0;
  ObjectRec* shape = Rect(0, 0, 100, 100);
  shape->screenPolyCount = kHitOutlineOwed;
  EXPECT_FALSE(Press(50, 50).hit);
  gToolHooks.makeHitOutline = [](ObjectRec* o) {
    ++made;
    CachePolygon(o, {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  };
  EXPECT_TRUE(Press(50, 50).interiorHit);
  EXPECT_TRUE(Press(60, 50).interiorHit);
  EXPECT_EQ(made, 1);
  gToolHooks.makeHitOutline = nullptr;
}

TEST_F(SelectionTest, HandlesOfSelectedObjectsUnderObjectTools) {
  ObjectRec* rect = Rect(100, 100, 200, 200);
  SelectObj(rect, kSelectMode, false);
  ClickInfo info = Press(202, 201);
  EXPECT_TRUE(info.handleHit);
  EXPECT_EQ(info.handle, 3);
  EXPECT_FALSE(info.pointHit);
  EXPECT_EQ(Press(99, 202).handle, 4);
  // The point tool works on points: the same press hits the corner point.
  gCurTool = kPointTool;
  info = Press(202, 201);
  EXPECT_FALSE(info.handleHit);
  EXPECT_TRUE(info.pointHit);
}

TEST_F(SelectionTest, LockedObjectsAreHitHiddenOnesNotUntilDetected) {
  ObjectRec* rect = Rect(0, 0, 50, 50);
  SelectObj(rect, kSelectMode, false);
  SelectObj(rect, kLockMode, false);
  EXPECT_TRUE(IsObjectLocked(rect));
  SelectObj(rect, kDeselectMode, false);
  EXPECT_TRUE(Press(25, 1).hit);
  CachePolygon(rect, {{0, 0}, {50, 0}, {50, 50}, {0, 50}});
  SelectObj(rect, kSelectMode, false);
  SelectAllLayers(doc_->firstLayer, kHideMode, false);
  EXPECT_FALSE(IsObjectSelected(rect));
  EXPECT_FALSE(Press(25, 1).hit);
  EXPECT_FALSE(Press(25, 25).hit);
  SelectObj(rect, kSelectMode, false);  // refused while hidden
  EXPECT_FALSE(IsObjectSelected(rect));
  SelectAllLayers(doc_->firstLayer, kDetectMode, false);
  EXPECT_TRUE(Press(25, 1).hit);
}

TEST_F(SelectionTest, TopmostFirstAndTheSecondObjectOnOneLayerOnly) {
  ObjectRec* lower = Rect(0, 0, 100, 100);
  ObjectRec* upper = Rect(0, 0, 100, 100);
  EXPECT_EQ(Press(50, 0).object, upper);
  gSelectIndex = 2;
  EXPECT_EQ(Press(50, 0).object, lower);
  // One object on each of two layers: the count restarts per layer, so nothing pairs them.
  LayerRec* top = CreateLayer("Top", 1, 0, nullptr);
  AppendLayerToDocument(top);
  UnlinkObject(upper);
  AppendObjectToLayer(upper, top);
  EXPECT_FALSE(Press(50, 0).hit);
  gSelectIndex = 1;
  EXPECT_EQ(Press(50, 0).object, upper);
  top->visible = 0;
  EXPECT_EQ(Press(50, 0).object, lower);
}

TEST_F(SelectionTest, PickRadiusBelowTwoCountsAsTwo) {
  Rect(100, 100, 200, 200);
  for (int16_t radius : {0, 1, 2}) {
    doc_->docState->snapSensitivity = radius;
    // Segments are picked one pixel less far out than points.
    EXPECT_TRUE(Press(150, 101).hit) << radius;
    EXPECT_FALSE(Press(150, 102).hit) << radius;
    EXPECT_TRUE(Press(99, 101).pointHit) << radius;
  }
  // Zoomed: window positions are page positions times the zoom.
  doc_->docState->snapSensitivity = 5;
  doc_->docState->zoomFactor = 2;
  EXPECT_TRUE(Press(400, 300).segmentHit);
  EXPECT_TRUE(Press(404, 404).pointHit);
  EXPECT_FALSE(Press(200, 150).hit);
}

TEST_F(SelectionTest, SelectionModesOnPoints) {
  struct Case {
    uint8_t mode;
    uint8_t selected, detectable, locked;  // before
    uint8_t wantSelected, wantDetectable, wantLocked;
  } cases[] = {
      {kSelectMode, 0, 1, 0, 1, 1, 0}, {kSelectMode, 0, 0, 0, 0, 0, 0}, {kDeselectMode, 1, 1, 1, 0, 1, 1},
      {kToggleMode, 1, 1, 0, 0, 1, 0}, {kToggleMode, 0, 0, 0, 0, 0, 0}, {kDetectMode, 0, 0, 0, 0, 1, 0},
      {kHideMode, 1, 1, 0, 0, 0, 0},   {kHideMode, 0, 1, 0, 0, 1, 0},   {kInertMode, 1, 1, 0, 1, 1, 0},
      {kLockMode, 1, 1, 0, 1, 1, 1},   {kLockMode, 0, 1, 0, 0, 1, 0},   {kUnlockMode, 1, 1, 1, 1, 1, 0},
  };
  for (const Case& c : cases) {
    PointRec p = {};
    p.selected = c.selected;
    p.detectable = c.detectable;
    p.locked = c.locked;
    SpecialSelectPoint(&p, c.mode);
    EXPECT_EQ(p.selected, c.wantSelected) << int(c.mode);
    EXPECT_EQ(p.detectable, c.wantDetectable) << int(c.mode);
    EXPECT_EQ(p.locked, c.wantLocked) << int(c.mode);
  }
}

TEST_F(SelectionTest, PointClicksSelectPointsOnlyOfUngroupedShapes) {
  ObjectRec* a = Rect(0, 0, 10, 10);
  ObjectRec* b = Rect(20, 0, 30, 10);
  SelectObjectPoint(a->firstPoint, a, kSelectMode, false);  // object tool: the whole object
  EXPECT_EQ(CountSelectedObjects(doc_->firstLayer, kOpCount), 1);
  EXPECT_TRUE(a->firstPoint->nextPoint->selected);
  gCurTool = kPointTool;
  SelectObjectSpline(b->firstPoint, b->firstPoint->nextPoint, b, kSelectMode, false);
  EXPECT_TRUE(b->firstPoint->selected && b->firstPoint->nextPoint->selected);
  EXPECT_FALSE(b->firstPoint->nextPoint->nextPoint->selected);
  // Grouped: the point tool takes the whole group.
  SelectAllLayers(doc_->firstLayer, kDeselectMode, false);
  SelectObj(a, kSelectMode, false);
  SelectObj(b, kSelectMode, false);
  gCurTool = kStandardTool;
  ObjectRec* group = GroupSelectedObjects(doc_->firstLayer);
  ASSERT_NE(group, nullptr);
  SelectAllLayers(doc_->firstLayer, kDeselectMode, false);
  gCurTool = kPointTool;
  SelectObjectPoint(a->firstPoint, a, kSelectMode, false);
  EXPECT_TRUE(b->firstPoint->selected);
}

TEST_F(SelectionTest, MarqueeTakesWholeObjectsOrCoveredPoints) {
  ObjectRec* inside = Rect(10, 10, 50, 50);
  ObjectRec* partly = Rect(80, 10, 200, 50);
  const IntRect marquee = {0, 0, 100, 100};
  SelectAllLayersInRect(doc_->firstLayer, &marquee, kSelectMode, false);
  EXPECT_TRUE(IsObjectSelected(inside));
  EXPECT_FALSE(IsObjectSelected(partly));
  // Toggle with Shift removes it again; an object within 2 pixels of the edge is not taken.
  SelectAllLayersInRect(doc_->firstLayer, &marquee, kToggleMode, false);
  EXPECT_FALSE(IsObjectSelected(inside));
  const IntRect tight = {10, 10, 50, 50};
  SelectAllLayersInRect(doc_->firstLayer, &tight, kSelectMode, false);
  EXPECT_FALSE(IsObjectSelected(inside));
  // The point tool selects the covered points, except hidden ones.
  gCurTool = kPointTool;
  partly->firstPoint->detectable = 0;
  SelectAllLayersInRect(doc_->firstLayer, &marquee, kSelectMode, false);
  EXPECT_FALSE(partly->firstPoint->selected);
  EXPECT_FALSE(partly->firstPoint->nextPoint->selected);
  EXPECT_TRUE(partly->firstPoint->nextPoint->nextPoint->nextPoint->selected);
  EXPECT_EQ(CountObjectPoints(inside), 4);
  for (const PointRec* p = inside->firstPoint; p; p = p->nextPoint) EXPECT_TRUE(p->selected);
  // An arc is never point-oriented: its first covered point takes it whole.
  SelectAllLayers(doc_->firstLayer, kDeselectMode, false);
  ObjectRec* arc = BuildArc(300, 0, 400, 100, 0, 90, layer_, false);
  SetObjectSelectFlags(arc, 0);
  const IntRect corner = {390, 40, 410, 60};
  SelectAllLayersInRect(doc_->firstLayer, &corner, kToggleMode, false);
  for (const PointRec* p = arc->firstPoint; p; p = p->nextPoint) EXPECT_TRUE(p->selected);
}

// Walks that unlink, move or copy what they walk must never follow a freed or moved link, and
// must not meet an object twice.
TEST_F(SelectionTest, ListChangingWalksWorkFromASnapshot) {
  std::vector<ObjectRec*> o;
  for (int i = 0; i < 6; ++i) o.push_back(Rect(i * 20.0f, 0, i * 20.0f + 10, 10));
  for (int i : {0, 1, 3, 5}) SelectObj(o[i], kSelectMode, false);
  SelectObj(o[5], kLockMode, false);
  TopLevelObjectAllLayers(doc_->firstLayer, kOpClear, nullptr);
  EXPECT_EQ(layer_->firstObject, o[2]);
  EXPECT_EQ(o[2]->nextObject, o[4]);
  EXPECT_EQ(o[4]->nextObject, o[5]);  // locked: kept
  EXPECT_EQ(o[5]->nextObject, nullptr);

  // Bring to front: both selected objects go to the end, in their order, deselected.
  SelectAllLayers(doc_->firstLayer, kDeselectMode, false);
  SelectObj(o[2], kSelectMode, false);
  SelectObj(o[4], kSelectMode, false);
  TopLevelObjectAllLayers(doc_->firstLayer, kOpBringToFront, nullptr);
  EXPECT_EQ(layer_->firstObject, o[5]);
  EXPECT_EQ(o[5]->nextObject, o[2]);
  EXPECT_EQ(o[2]->nextObject, o[4]);
  EXPECT_EQ(o[4]->prevObject, o[2]);
  EXPECT_FALSE(IsObjectSelected(o[2]));

  // Send to back onto the first visible layer.
  SelectObj(o[4], kSelectMode, false);
  TopLevelObjectAllLayers(doc_->firstLayer, kOpSendToBack, nullptr);
  EXPECT_EQ(layer_->firstObject, o[4]);
  EXPECT_EQ(o[4]->prevObject, nullptr);
  EXPECT_EQ(o[5]->prevObject, o[4]);

  // Group: the new group at the end of the layer is not walked into itself.
  SelectAllLayers(doc_->firstLayer, kSelectMode, false);
  SelectAllLayers(doc_->firstLayer, kUnlockMode, false);
  gGroupLeader = nullptr;
  TopLevelObjectAllLayers(doc_->firstLayer, kOpGroup, nullptr);
  ASSERT_NE(gGroupLeader, nullptr);
  EXPECT_EQ(layer_->firstObject, gGroupLeader);
  EXPECT_EQ(gGroupLeader->nextObject, nullptr);
  EXPECT_EQ(CountObjects(layer_), 1);
  EXPECT_EQ(gGroupLeader->bounds.right, 110);
  // Ungroup puts the members back at the end of the layer, selected.
  TopLevelObjectAllLayers(doc_->firstLayer, kOpUngroup, nullptr);
  EXPECT_EQ(CountObjects(layer_), 3);
  EXPECT_EQ(CountSelectedObjects(doc_->firstLayer, kOpCount), 3);
}

TEST_F(SelectionTest, CountingWalksAndTheNthSelectedObject) {
  ObjectRec* a = Rect(0, 0, 10, 10);
  ObjectRec* oval = BuildOval(20, 0, 30, 10, layer_, false);
  ObjectRec* c = Rect(40, 0, 50, 10);
  SelectObj(c, kSelectMode, false);
  SelectObj(c, kLockMode, false);
  struct Case {
    int op;
    int32_t count;
  } cases[] = {{kOpCount, 2}, {kOpCountGroups, 0}, {kOpCountLocked, 1}, {kOpCountOvals, 1}};
  for (const Case& k : cases) EXPECT_EQ(CountSelectedObjects(doc_->firstLayer, k.op), k.count) << k.op;
  EXPECT_EQ(GetASelectedObject(1), oval);
  EXPECT_EQ(GetASelectedObject(2), c);
  EXPECT_EQ(GetASelectedObject(3), nullptr);
  EXPECT_EQ(GetASelectedObject(0), nullptr);
  (void)a;
  // Walk 2001 flags an object that nests too many groups.
  ObjectRec* nest = CreateObject(kGroupKind, 0, 0, nullptr, nullptr, 0, kSolidLineType, kNoFill, nullptr,
                                 nullptr, nullptr, nullptr, layer_, nullptr);
  AppendObjectToLayer(nest, layer_);
  ObjectRec* inner = nest;
  for (int i = 0; i < 26; ++i) {
    ObjectRec* g = CreateObject(kGroupKind, 0, 0, nullptr, nullptr, 0, kSolidLineType, kNoFill, nullptr,
                                nullptr, nullptr, nullptr, layer_, nullptr);
    AppendObjectToGroup(g, inner);
    inner = g;
  }
  ObjectRec* leaf = BuildLine(0, 0, 5, 5, nullptr, false);
  AppendObjectToGroup(leaf, inner);
  gOverload = 0;
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpCountNestedGroups, nullptr);
  EXPECT_EQ(gOverload, 1);
}

TEST_F(SelectionTest, TransformWalksMoveOnlySelectedUnlockedPoints) {
  ObjectRec* moved = Rect(0, 0, 10, 10);
  ObjectRec* locked = Rect(20, 0, 30, 10);
  ObjectRec* idle = Rect(40, 0, 50, 10);
  SelectObj(moved, kSelectMode, false);
  SelectObj(locked, kSelectMode, false);
  SelectObj(locked, kLockMode, false);
  TransformRec t = {};
  t.scaleX = t.scaleY = 1;
  t.dx = 5;
  t.dy = -2;
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpTranslate, &t);
  EXPECT_EQ(moved->bounds.left, 5);
  EXPECT_EQ(moved->bounds.top, -2);
  EXPECT_EQ(locked->bounds.left, 20);
  EXPECT_EQ(idle->bounds.left, 40);
  // A scale factor of 0 is refused.
  TransformRec flat = {};
  flat.scaleX = 0;
  flat.scaleY = 1;
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpScale, &flat);
  EXPECT_EQ(moved->bounds.right, 15);
  // Nudges go by the nudge rate, a world length: a quarter inch at full scale.
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpNudgeDown, nullptr);
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpNudgeLeft, nullptr);
  EXPECT_EQ(moved->bounds.top, 16);
  EXPECT_EQ(moved->bounds.left, -13);
  // Attribute walks: colours skip locked objects, the pattern only fills closed ones.
  const RGB16 red = {65535, 0, 0};
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpPenColor, const_cast<RGB16*>(&red));
  EXPECT_EQ(moved->penColor.green, 0);
  EXPECT_EQ(locked->penColor.green, 65535);
  int16_t pattern = 5;
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpSetPattern, &pattern);
  EXPECT_EQ(moved->fillPattern, 5);
  EXPECT_EQ(idle->fillPattern, kNoFill);
}

TEST_F(SelectionTest, SummaryFlagsDisagreementAndAlignMovesToTheGrid) {
  ObjectRec* a = Rect(100, 100, 150, 150);
  ObjectRec* b = Rect(200, 100, 250, 150);
  a->penColor = RGB16{1, 1, 1};
  b->penColor = RGB16{2, 2, 2};
  a->fillPattern = b->fillPattern = 7;
  SelectObj(a, kSelectMode, false);
  SelectObj(b, kSelectMode, false);
  RebuildSelectionState();
  const SelectionState& s = doc_->docState->selectionState;
  EXPECT_EQ(s.firstObject, 0);
  EXPECT_EQ(s.penColorUniform, 0);
  EXPECT_EQ(s.lineTypeUniform, 1);
  EXPECT_EQ(s.patternUniform, 1);
  EXPECT_EQ(s.pattern, 7);
  SelectObj(b, kDeselectMode, false);
  RebuildSelectionState();
  EXPECT_EQ(s.penColorUniform, 1);
  EXPECT_EQ(s.penColor.red, 1);

  // Snap spacing one inch (72 page units): the top-left corner 100,100 goes to 72,72; the
  // bottom-right corner 150,150 to 144,144.
  AlignSelectedToGrid(kAlignTopLeft);
  EXPECT_EQ(a->bounds.left, 72);
  EXPECT_EQ(a->bounds.top, 72);
  AlignSelectedToGrid(kAlignBottomRight);
  EXPECT_EQ(a->bounds.right, 144);
  EXPECT_EQ(b->bounds.left, 200);
}

TEST_F(SelectionTest, ClosestSegmentOfAnObject) {
  ObjectRec* rect = Rect(0, 0, 100, 100);
  PointRec *a = nullptr, *b = nullptr;
  GetClosestSpline(rect, 90, 40, &a, &b);  // nearest corner (100,0); next corner nearer than the first
  EXPECT_EQ(a, rect->firstPoint->nextPoint);
  EXPECT_EQ(b, a->nextPoint);
  GetClosestSpline(rect, 10, 90, &a, &b);  // nearest (0,100), the last: its successor wraps to the first
  EXPECT_EQ(a, rect->firstPoint->nextPoint->nextPoint->nextPoint);
  EXPECT_EQ(b, rect->firstPoint);
  FloatPoint q1, q2;
  GetClosestSegment(rect->firstPoint, rect->firstPoint->nextPoint, 30, 40, &q1, &q2);
  EXPECT_EQ(q1.x, 30);
  EXPECT_EQ(q1.y, 0);
  EXPECT_EQ(q2.x, q1.x);
  // On a curve: a chord of neighbouring samples around the nearest one.
  ObjectRec* oval = BuildOval(0, 0, 200, 200, layer_, false);
  GetClosestSegment(oval->firstPoint, oval->firstPoint->nextPoint, 200, 0, &q1, &q2);
  EXPECT_NEAR(std::hypot(q1.x - 100, q1.y - 100), 100, 1.0f);
  EXPECT_GT(std::hypot(q1.x - q2.x, q1.y - q2.y), 0.0f);
  EXPECT_LT(std::hypot(q1.x - 171, q1.y - 29), 10.0f);
}

TEST_F(SelectionTest, PointOrientationOfTools) {
  ObjectRec* rect = Rect(0, 0, 10, 10);
  ObjectRec* arc = BuildArc(0, 0, 10, 10, 0, 90, layer_, false);
  EXPECT_FALSE(ToolIsPointOriented(kStandardTool, rect));
  for (int tool : {kPointTool, kFilletTool, kChamferTool}) {
    EXPECT_TRUE(ToolIsPointOriented(tool, rect));
    EXPECT_FALSE(ToolIsPointOriented(tool, arc));
  }
  EXPECT_FALSE(ToolIsPointOriented(kPointTool, nullptr));
  gPointOrientation = 1;
  EXPECT_TRUE(ToolIsPointOriented(kStandardTool, rect));
  EXPECT_TRUE(CurrentToolIsPointOriented());
  gPointOrientation = 0;
}

}  // namespace

namespace {

// The hit test and the marquee through the grid of a large drawing give what the plain walk
// over the layers gives, in the same order, and follow every change of the drawing.
class SelectionGridTest : public ToolTest {
 protected:
  // A drawing large enough for the grid: overlapping shapes of several kinds on three layers,
  // a few groups and some selected, locked or hidden objects.
  void Fill() {
    LayerRec* second = CreateLayer("Second", 1, 0, nullptr);
    LayerRec* third = CreateLayer("Third", 1, 0, nullptr);
    AppendLayerToDocument(second);
    AppendLayerToDocument(third);
    LayerRec* layers[] = {layer_, second, third};
    uint32_t seed = 12345;
    auto next = [&seed](int range) {
      seed = seed * 1103515245u + 12345u;
      return static_cast<float>((seed >> 8) % static_cast<uint32_t>(range));
    };
    for (int i = 0; i < kSelectionIndexThreshold + 500; ++i) {
      LayerRec* layer = layers[i % 3];
      const float x = next(3000), y = next(2000), w = 2 + next(120), h = 2 + next(120);
      ObjectRec* o = nullptr;
      switch (i % 4) {
        case 0:
          o = BuildRect(x, y, x + w, y + h, layer, false);
          break;
        case 1:
          o = BuildOval(x, y, x + w, y + h, layer, false);
          break;
        case 2:
          o = BuildLine(x, y, x + w, y + h, layer, false);
          break;
        default:
          o = BuildArc(x, y, x + w, y + h, next(360), 30 + next(200), layer, false);
          break;
      }
      ASSERT_NE(o, nullptr);
      const int state = static_cast<int>(next(20));
      SetObjectSelectFlags(o, state == 0 ? 1 : 0);
      if (state == 1) SetObjectDetectionFlags(o, 0);
      if (state == 2) SetObjectLockFlags(o, 1);
    }
    // Groups whose members lie apart.
    for (int g = 0; g < 30; ++g) {
      SelectAllLayers(doc_->firstLayer, kDeselectMode, false);
      SelectObj(GetASelectedObjectOr(layers[g % 3]->firstObject, 7 * g + 1), kSelectMode, false);
      SelectObj(GetASelectedObjectOr(layers[g % 3]->firstObject, 7 * g + 400), kSelectMode, false);
      GroupSelectedObjects(doc_->firstLayer);
    }
  }
  static ObjectRec* GetASelectedObjectOr(ObjectRec* first, int n) {
    for (; first && n > 0; --n) first = first->nextObject;
    return first;
  }
  // The plain walk, layer by layer from the top.
  ClickInfo PlainPress(int32_t x, int32_t y) {
    ClickInfo info = {};
    info.x = x;
    info.y = y;
    LayerRec* last = doc_->firstLayer;
    while (last->nextLayer) last = last->nextLayer;
    for (LayerRec* layer = last; layer; layer = layer->prevLayer)
      if (SelectFromLayer(layer, &info, false)) break;
    return info;
  }
  void ExpectSameHits(int presses) {
    uint32_t seed = 777;
    int hits = 0;
    for (int i = 0; i < presses; ++i) {
      seed = seed * 1664525u + 1013904223u;
      const int32_t x = static_cast<int32_t>(seed % 3200) - 50,
                    y = static_cast<int32_t>((seed >> 12) % 2200) - 50;
      const ClickInfo a = Press(x, y), b = PlainPress(x, y);
      ASSERT_EQ(a.hit, b.hit) << x << "," << y;
      ASSERT_EQ(a.object, b.object) << x << "," << y;
      ASSERT_EQ(a.point, b.point) << x << "," << y;
      ASSERT_EQ(a.handle, b.handle) << x << "," << y;
      hits += a.hit;
    }
    EXPECT_GT(hits, presses / 20);
  }
};

std::vector<ObjectRec*> SelectedObjects(LayerRec* first) {
  std::vector<ObjectRec*> out;
  for (LayerRec* layer = first; layer; layer = layer->nextLayer)
    for (ObjectRec* o = layer->firstObject; o; o = o->nextObject)
      if (IsObjectSelected(o)) out.push_back(o);
  return out;
}

// A marquee through the grid against one over the layers: the same objects, in the same order.
// Gives how many were taken.
size_t ExpectSameMarquee(LayerRec* first, const IntRect& marquee) {
  SelectAllLayers(first, kDeselectMode, false);
  SelectAllLayersInRect(first, &marquee, kToggleMode, false);
  const std::vector<ObjectRec*> viaGrid = SelectedObjects(first);
  SelectAllLayers(first, kDeselectMode, false);
  for (LayerRec* layer = first; layer; layer = layer->nextLayer)
    SelectLayerInRect(layer, &marquee, kToggleMode, false);
  EXPECT_EQ(viaGrid, SelectedObjects(first)) << gCurTool;
  return viaGrid.size();
}

TEST_F(SelectionGridTest, HitsAndMarqueesMatchThePlainWalk) {
  Fill();
  std::vector<IndexCandidate> candidates;
  const FloatRect all = {-1e6f, -1e6f, 1e6f, 1e6f};
  ASSERT_TRUE(QuerySelectionIndex(doc_->firstLayer, all, &candidates));
  ExpectSameHits(400);
  gSelectIndex = 2;
  ExpectSameHits(150);
  gSelectIndex = 1;
  doc_->docState->zoomFactor = 0.37f;
  ExpectSameHits(150);
  doc_->docState->zoomFactor = 1;
  doc_->firstLayer->nextLayer->visible = 0;
  gCurTool = kPointTool;
  ExpectSameHits(150);
  gCurTool = kStandardTool;

  // A marquee through the grid against one over the layers, object and point tools alike.
  for (int tool : {kStandardTool, kPointTool}) {
    gCurTool = tool;
    EXPECT_GT(ExpectSameMarquee(doc_->firstLayer, IntRect{500, 300, 1400, 1100}), 10u);
  }
}

TEST_F(SelectionGridTest, FollowsMovedAddedAndDeletedObjects) {
  Fill();
  SelectAllLayers(doc_->firstLayer, kDeselectMode, false);
  // Far from everything: a new object is found at once, a moved one at its new place.
  ObjectRec* added = Rect(5000, 5000, 5100, 5100);
  EXPECT_EQ(Press(5000, 5050).object, added);
  SelectObj(added, kSelectMode, false);
  TransformRec t = {};
  t.scaleX = t.scaleY = 1;
  t.dx = 1000;
  SelectedObjectAllLayers(doc_->firstLayer, true, kOpTranslate, &t);
  EXPECT_FALSE(Press(5000, 5050).hit);
  EXPECT_EQ(Press(6000, 5050).object, added);
  // Deleted: never handed out again (the sanitizer build checks no freed record is read).
  DeleteObj(added);
  EXPECT_FALSE(Press(6000, 5050).hit);
  const IntRect far = {5900, 4900, 6200, 5200};
  SelectAllLayersInRect(doc_->firstLayer, &far, kSelectMode, false);
  // Layers deleted: their objects go with them.
  DeleteLayer(doc_->firstLayer->nextLayer);
  ExpectSameHits(150);
}

// Random edits of every kind the log names, each followed by presses and a marquee compared
// with the plain walk; the grid must follow them without being built again.
TEST_F(SelectionGridTest, FollowsRandomEditsWithoutRebuilding) {
  Fill();
  ExpectSameHits(20);
  const uint32_t builds = SelectionIndexBuildCount();
  uint32_t seed = 99;
  auto next = [&seed](uint32_t range) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % range;
  };
  auto anyObject = [&]() {
    LayerRec* layer = doc_->firstLayer;
    for (uint32_t n = next(3); n > 0 && layer->nextLayer; --n) layer = layer->nextLayer;
    return GetASelectedObjectOr(layer->firstObject, static_cast<int>(next(6000)));
  };
  for (int round = 0; round < 10; ++round) {
    for (int edit = 0; edit < 6; ++edit) {
      SelectAllLayers(doc_->firstLayer, kDeselectMode, false);
      ObjectRec* object = anyObject();
      ASSERT_NE(object, nullptr);
      SelectObj(object, kSelectMode, false);
      switch ((round + edit) % 6) {
        case 0: {  // moved far, or a little
          TransformRec t = {};
          t.scaleX = t.scaleY = 1;
          t.dx = static_cast<float>(next(800)) - 400;
          t.dy = static_cast<float>(next(600)) - 300;
          SelectedObjectAllLayers(doc_->firstLayer, true, kOpTranslate, &t);
          break;
        }
        case 1:  // added, on a layer other than the last one too
          (void)BuildRect(static_cast<float>(next(3000)), static_cast<float>(next(2000)), 3000, 2000,
                          doc_->firstLayer, false);
          break;
        case 2:
          DeleteObj(object);
          break;
        case 3:
          TopLevelObjectAllLayers(doc_->firstLayer, next(2) ? kOpBringToFront : kOpSendToBack, nullptr);
          break;
        case 4:
          SelectObj(anyObject(), kSelectMode, false);
          GroupSelectedObjects(doc_->firstLayer);
          break;
        default:
          if (object->kind == kGroupKind)
            UngroupObject(object);
          else
            SelectedObjectAllLayers(doc_->firstLayer, true, kOpFlipHorizontal, nullptr);
          break;
      }
    }
    ExpectSameHits(15);
    gCurTool = round % 2 ? kPointTool : kStandardTool;
    ExpectSameMarquee(doc_->firstLayer,
                      IntRect{static_cast<int>(next(2000)), static_cast<int>(next(1200)), 2600, 1900});
    gCurTool = kStandardTool;
  }
  EXPECT_EQ(SelectionIndexBuildCount(), builds);
}

}  // namespace
