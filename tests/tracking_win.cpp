// The tracking road fed with positions directly, with no pane: the tools build and transform
// as a drag from press to release asks, and degenerate drags change nothing.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "tools/buildobj.h"
#include "tools/selhndlr.h"
#include "tools/toolhooks.h"
#include "tools/trakmous_win.h"
#include "tools/undo.h"

namespace {

constexpr float kTol = 1e-3f;

struct Tracking : ::testing::Test {
  DocumentRec* document = nullptr;
  void SetUp() override {
    document = CreateDocument();
    ASSERT_NE(document, nullptr);
    gCurWindow = nullptr;
    gShiftKeyProbe = nullptr;
    gTrackModifiers = 0;
  }
  void TearDown() override {
    DisposeUndo();
    DeleteDocument(document);
    gCurTool = kStandardTool;
    gClickInfo = ClickInfo{};
  }
  LayerRec* Layer() { return document->currentLayer; }
  int Count() {
    int n = 0;
    for (ObjectRec* o = Layer()->firstObject; o; o = o->nextObject) ++n;
    return n;
  }
  // A drag as the polling loop makes it: press, moves through `via`, release at the last.
  void Drag(int16_t tool, POINT press, std::initializer_list<POINT> via) {
    gCurTool = tool;
    BeginUndo(document, GetUndoStrIndex(tool));
    gDataRect = SelectionBounds();
    BeginTracking(press.x, press.y);
    POINT previous = press;
    for (POINT p : via) {
      KeepTracking(p, previous);
      previous = p;
    }
    EndTracking(previous, previous);
  }
};

TEST_F(Tracking, ShapeDragsBuildTheirFiguresAndClicksBuildNothing) {
  Drag(kRectTool, {10, 20}, {{30, 40}, {110, 80}});
  ASSERT_EQ(Count(), 1);
  const FloatRect& b = Layer()->firstObject->bounds;
  EXPECT_NEAR(b.left, 10, kTol);
  EXPECT_NEAR(b.top, 20, kTol);
  EXPECT_NEAR(b.right, 110, kTol);
  EXPECT_NEAR(b.bottom, 80, kTol);
  EXPECT_EQ(gUndoObject, Layer()->firstObject);
  EXPECT_TRUE(gUndoAvail);

  // A press and release at one place: stage 1 and 3 run, nothing is built.
  for (int16_t tool : {kRectTool, kOvalTool, kLineTool, kArcTool, kMultiTool}) {
    Drag(tool, {50, 50}, {});
    EXPECT_EQ(Count(), 1) << tool;
  }
  Drag(kLineTool, {0, 0}, {{40, 10}});
  ASSERT_EQ(Count(), 2);
  const PointRec* p = Layer()->firstObject->nextObject->firstPoint;
  EXPECT_NEAR(p->nextPoint->x, 40, kTol);
  EXPECT_NEAR(p->nextPoint->y, 10, kTol);
}

TEST_F(Tracking, MultigonNeedsThreeSides) {
  document->docState->multigonSides = 2;
  Drag(kMultiTool, {100, 100}, {{140, 100}});
  EXPECT_EQ(Count(), 0);
  document->docState->multigonSides = 6;
  Drag(kMultiTool, {100, 100}, {{140, 100}});
  ASSERT_EQ(Count(), 1);
  const PointRec* last = Layer()->firstObject->firstPoint;
  while (last->nextPoint) last = last->nextPoint;
  EXPECT_NEAR(last->x, 140, kTol);
  EXPECT_NEAR(last->y, 100, kTol);
}

TEST_F(Tracking, MoveResizeAndRotateActOnTheSelection) {
  ObjectRec* rect = BuildRect(0, 0, 100, 50, Layer(), true);
  ASSERT_NE(rect, nullptr);
  SetObjectSelectFlags(rect, 1);
  gClickInfo = ClickInfo{};
  gClickInfo.hit = 1;
  gClickInfo.segmentHit = 1;
  gClickInfo.object = rect;
  Drag(kStandardTool, {50, 0}, {{60, 5}, {80, 20}});
  EXPECT_NEAR(rect->bounds.left, 30, kTol);
  EXPECT_NEAR(rect->bounds.top, 20, kTol);
  EXPECT_EQ(document->undoKind, kUndoMove);

  // Resize from the right edge past the left one mirrors; to the fixed edge (factor 0) it is
  // refused and nothing changes.
  Drag(kResizeTool, {130, 70}, {{130, 20}});  // bottom-right corner up to the top edge
  EXPECT_NEAR(rect->bounds.bottom - rect->bounds.top, 50, kTol);
  EXPECT_FALSE(gUndoAvail);
  Drag(kResizeTool, {130, 70}, {{230, 120}});
  EXPECT_NEAR(rect->bounds.right - rect->bounds.left, 200, kTol);
  EXPECT_NEAR(rect->bounds.bottom - rect->bounds.top, 100, kTol);
  EXPECT_NEAR(rect->bounds.left, 30, kTol);
  EXPECT_NEAR(gUndoXScale, 2.0f, kTol);

  // A quarter turn about the centre swaps width and height.
  float cx = 0, cy = 0;
  CenterOfObject(rect, &cx, &cy);
  Drag(kRotateTool, {static_cast<LONG>(cx), static_cast<LONG>(cy - 40)},
       {{static_cast<LONG>(cx + 40), static_cast<LONG>(cy)}});
  EXPECT_NEAR(rect->bounds.right - rect->bounds.left, 100, 0.01f);
  EXPECT_NEAR(rect->bounds.bottom - rect->bounds.top, 200, 0.01f);
  EXPECT_NEAR((rect->bounds.left + rect->bounds.right) / 2, cx, 0.01f);
  EXPECT_TRUE(Undo());
  EXPECT_NEAR(rect->bounds.right - rect->bounds.left, 200, 0.01f);
}

TEST_F(Tracking, ShiftKeepsAMoveOnOneAxis) {
  ObjectRec* rect = BuildRect(0, 0, 10, 10, Layer(), true);
  SetObjectSelectFlags(rect, 1);
  gClickInfo = ClickInfo{};
  gClickInfo.hit = 1;
  gClickInfo.object = rect;
  gShiftKeyProbe = [] { return true; };
  Drag(kStandardTool, {5, 5}, {{25, 9}});
  gShiftKeyProbe = nullptr;
  EXPECT_NEAR(rect->bounds.left, 20, kTol);
  EXPECT_NEAR(rect->bounds.top, 0, kTol);
}

TEST_F(Tracking, DraggingOneEndOfALineLeavesTheOther) {
  ObjectRec* line = BuildLine(0, 0, 100, 0, Layer(), true);
  ASSERT_NE(line, nullptr);
  SetObjectSelectFlags(line, 1);
  PointRec* end = line->firstPoint->nextPoint;
  gClickInfo = ClickInfo{};
  gClickInfo.hit = 1;
  gClickInfo.pointHit = 1;
  gClickInfo.point = end;
  gClickInfo.object = line;
  Drag(kStandardTool, {100, 0}, {{100, 30}});
  EXPECT_NEAR(end->y, 30, kTol);
  EXPECT_NEAR(line->firstPoint->y, 0, kTol);
  EXPECT_TRUE(line->firstPoint->selected);  // selected again after the drag
  EXPECT_TRUE(Undo());
  EXPECT_NEAR(end->y, 0, kTol);
}

// The snap toolbox as the tracking sees it: it takes every snap it is asked for.
bool AcceptSnap(int16_t snap, bool locked) {
  gCurSnap = snap;
  gSnapLocked = locked ? 1 : 0;
  return true;
}

TEST_F(Tracking, SnapsServeOnePressOrEveryPressWhenLocked) {
  SetObjectSelectFlags(BuildRect(100, 100, 200, 160, Layer(), false), 0);
  gToolHooks.selectSnapTool = AcceptSnap;
  struct Case {
    uint8_t locked;
    POINT press, release;
    float wantLeft, wantTop, wantRight, wantBottom;
    int16_t snapAfter;
  } cases[] = {
      // One click: the press lands on the corner, the release stays where it is.
      {0, {203, 163}, {250, 262}, 200, 160, 250, 262, kNoSnap},
      // Locked: both ends land on corners and the snap stays.
      {1, {203, 157}, {102, 98}, 100, 100, 200, 160, kEndPointSnap},
  };
  for (const Case& c : cases) {
    gCurSnap = kEndPointSnap;
    gSnapLocked = c.locked;
    Drag(kRectTool, c.press, {{c.press.x + 20, c.press.y + 20}, c.release});
    const FloatRect& b = Layer()->firstObject->nextObject->bounds;
    EXPECT_NEAR(b.left, c.wantLeft, kTol) << int{c.locked};
    EXPECT_NEAR(b.top, c.wantTop, kTol) << int{c.locked};
    EXPECT_NEAR(b.right, c.wantRight, kTol) << int{c.locked};
    EXPECT_NEAR(b.bottom, c.wantBottom, kTol) << int{c.locked};
    EXPECT_EQ(gCurSnap, c.snapAfter);
    DeleteObj(Layer()->firstObject->nextObject);
  }
  gSnapLocked = 0;
  gCurSnap = kNoSnap;
  gToolHooks.selectSnapTool = nullptr;
}

TEST_F(Tracking, TabDuringADragCyclesTheSnapAndLeavesOtherMessages) {
  gToolHooks.selectSnapTool = AcceptSnap;
  gCurSnap = kEndPointSnap;
  gSnapLocked = 1;
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
  }
  PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_TAB, 0);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER, 7, 0);
  Drag(kRectTool, {10, 10}, {{20, 20}, {30, 30}});
  EXPECT_EQ(gCurSnap, kOnOutlineSnap);
  EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(m.wParam, 7u);
  gSnapLocked = 0;
  gCurSnap = kNoSnap;
  gToolHooks.selectSnapTool = nullptr;
}

TEST_F(Tracking, PerpendicularSnapHoldsALineSquareToTheSegment) {
  SetObjectSelectFlags(BuildLine(0, 100, 200, 100, Layer(), false), 0);
  gCurSnap = kPerpendicularSnap;
  // The press beside the segment; the end dragged off at a slant.
  Drag(kLineTool, {80, 102}, {{100, 150}, {130, 190}});
  ObjectRec* drawn = Layer()->firstObject->nextObject;
  ASSERT_NE(drawn, nullptr);
  EXPECT_NEAR(drawn->firstPoint->x, 130, kTol);
  EXPECT_NEAR(drawn->firstPoint->y, 100, kTol);
  EXPECT_NEAR(drawn->firstPoint->nextPoint->x, 130, kTol);
  EXPECT_EQ(gPerpAtStart, 0);
  EXPECT_EQ(gPerpStartPtz, nullptr);
  EXPECT_EQ(gCurSnap, kNoSnap);
}

}  // namespace
