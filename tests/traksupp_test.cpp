// The arithmetic of mouse tracking: grid, drag rectangles, constraints, arcs, resize, zoom and
// readouts.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/gnrlmath.h"
#include "model/docstate.h"
#include "tools/toolhooks.h"
#include "tools/traksupp.h"

namespace {

constexpr float kTol = 1e-3f;

// A drawing whose snap spacing is 9 page units at zoom 1 (1/8 inch at full scale).
struct TrackFixture : ::testing::Test {
  DocumentRec* document = nullptr;
  DocState* state = nullptr;
  void SetUp() override {
    document = CreateDocument();
    ASSERT_NE(document, nullptr);
    state = document->docState;
    state->scaleFactor = 1.0f;
    state->worldUnit = 1;
    state->snapH = state->snapV = 0.125f;
    state->zoomFactor = 1.0f;
    gCurTool = kRectTool;
    gCurSnap = kNoSnap;
  }
  void TearDown() override {
    DeleteDocument(document);
    gCurTool = kStandardTool;
  }
};

TEST_F(TrackFixture, GridSnapRoundsToNearestLineFromWindowZero) {
  struct Case {
    float in, out;
  } cases[] = {{13, 9}, {14, 18}, {-5, -9}, {0, 0}, {4.4f, 0}, {-4.4f, 0}};
  for (const Case& c : cases) {
    FloatPoint p{};
    ASSERT_TRUE(SnapPointToGrid(state, c.in, c.in, &p));
    EXPECT_NEAR(p.x, c.out, kTol) << c.in;
    EXPECT_NEAR(p.y, c.out, kTol) << c.in;
  }
  // A spacing of 0 in either direction turns the grid off.
  for (float* spacing : {&state->snapH, &state->snapV}) {
    const float saved = *spacing;
    *spacing = 0.0f;
    FloatPoint p{123, 456};
    EXPECT_FALSE(SnapPointToGrid(state, 13, 14, &p));
    EXPECT_EQ(p.x, 123);
    *spacing = saved;
  }
}

TEST_F(TrackFixture, EvaluatePointSnapsInWindowUnitsThenUnzooms) {
  state->snapToGrid = 1;
  state->zoomFactor = 2.0f;  // spacing 18 window pixels
  float x, y;
  EvaluatePoint(13, 28, &x, &y, true, nullptr, true);
  EXPECT_NEAR(x, 9, kTol);   // 18 / 2
  EXPECT_NEAR(y, 18, kTol);  // 36 / 2
  // The zoom and text tools never snap to the grid.
  gCurTool = kZoomTool;
  EvaluatePoint(13, 28, &x, &y, true, nullptr, true);
  EXPECT_NEAR(x, 6.5f, kTol);
  state->snapToGrid = 0;
  gCurTool = kRectTool;
  EvaluatePoint(13, 28, &x, &y, true, nullptr, false);
  EXPECT_EQ(x, 13);
  EXPECT_EQ(y, 28);
}

TEST(DragRect, ShiftSquaresAndFromCentreMirrors) {
  struct Case {
    const char* name;
    uint16_t modifiers;
    bool fromCenter;
    float x1, y1, x2, y2;
    FloatRect want;  // top, left, bottom, right
  } cases[] = {
      {"plain", 0, false, 10, 20, 40, 30, {20, 10, 30, 40}},
      {"plain reversed", 0, false, 40, 30, 10, 20, {20, 10, 30, 40}},
      {"square down", kTrackShift, false, 10, 20, 40, 25, {20, 10, 50, 40}},
      {"square up", kTrackShift, false, 10, 20, 40, 5, {-10, 10, 20, 40}},
      {"square left", kTrackShift, false, 10, 20, -20, 30, {20, -20, 50, 10}},
      {"centre down right", 0, true, 10, 20, 40, 30, {10, -20, 30, 40}},
      {"centre up left", 0, true, 10, 20, 0, 15, {15, 0, 25, 20}},
      {"centred square", kTrackShift, true, 0, 0, 10, 3, {-10, -10, 10, 10}},
  };
  for (const Case& c : cases) {
    FloatRect f;
    IntRect q;
    GetRectBounds(c.modifiers, c.x1, c.y1, c.x2, c.y2, &f, &q, false, c.fromCenter);
    EXPECT_NEAR(f.top, c.want.top, kTol) << c.name;
    EXPECT_NEAR(f.left, c.want.left, kTol) << c.name;
    EXPECT_NEAR(f.bottom, c.want.bottom, kTol) << c.name;
    EXPECT_NEAR(f.right, c.want.right, kTol) << c.name;
    EXPECT_EQ(q.left, static_cast<int>(c.want.left)) << c.name;
    EXPECT_EQ(q.bottom, static_cast<int>(c.want.bottom)) << c.name;
  }
}

TEST(DragRect, IntegerRectTruncatesTowardZeroAndStays32Bit) {
  FloatRect f;
  IntRect q;
  LoadFloatAndQDRects(-2.7f, 1.9f, 70000.6f, -3.5f, &f, &q, false, false);
  EXPECT_EQ(q.left, -2);
  EXPECT_EQ(q.top, -3);
  EXPECT_EQ(q.right, 70000);
  EXPECT_EQ(q.bottom, 1);
  IntRect m;
  SetMobiusRect(&m, 40000, -5, -40000, 7);
  EXPECT_EQ(m.left, -40000);
  EXPECT_EQ(m.right, 40000);
  EXPECT_EQ(m.top, -5);
  EXPECT_EQ(m.bottom, 7);
}

TEST(Constraints, LineMoveAndOrthogonal) {
  // Shift: the end follows the longer direction; from the centre the start mirrors the end.
  FloatPoint start{0, 0}, end{10, 3};
  ConstrainLine(true, false, FloatPoint{0, 0}, &start, &end);
  EXPECT_EQ(end.y, 0);
  EXPECT_EQ(end.x, 10);
  start = {5, 5};
  end = {8, 9};
  ConstrainLine(false, true, FloatPoint{5, 5}, &start, &end);
  EXPECT_EQ(start.x, 2);
  EXPECT_EQ(start.y, 1);
  start = {0, 0};
  end = {3, 3};  // a tie keeps the start's x
  ConstrainLine(true, false, FloatPoint{0, 0}, &start, &end);
  EXPECT_EQ(end.x, 0);
  EXPECT_EQ(end.y, 3);

  FloatPoint d = ConstrainMove(7, -3, true);
  EXPECT_EQ(d.x, 7);
  EXPECT_EQ(d.y, 0);
  d = ConstrainMove(4, -4, true);  // a tie drops the horizontal part
  EXPECT_EQ(d.x, 0);
  EXPECT_EQ(d.y, -4);
  d = ConstrainMove(4, -3, false);
  EXPECT_EQ(d.x, 4);
  EXPECT_EQ(d.y, -3);

  float x = 12, y = 4;
  ConstrainOrthogonal(10, 10, &x, &y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 4);
}

TEST(Multigon, LastVertexIsTheMouseAndAllShareTheRadius) {
  const float cx = 100, cy = 100, x = 130, y = 60;
  for (int sides : {3, 6, 7}) {
    float vx, vy;
    GetMultigonVertex(cx, cy, x, y, sides, sides - 1, &vx, &vy);
    EXPECT_EQ(vx, x);
    EXPECT_EQ(vy, y);
    for (int i = 0; i < sides; ++i) {
      GetMultigonVertex(cx, cy, x, y, sides, i, &vx, &vy);
      EXPECT_NEAR(std::hypot(vx - cx, vy - cy), 50.0f, kTol) << sides << " " << i;
    }
  }
  // Six sides: the first vertex is a sixth of a turn counter-clockwise (y up) from the mouse.
  float vx, vy;
  GetMultigonVertex(0, 0, 10, 0, 6, 0, &vx, &vy);
  EXPECT_NEAR(vx, 5.0f, kTol);
  EXPECT_NEAR(vy, -8.660f, kTol);
}

TEST(Arcs, QuarterArcAnglesFollowTheDragDirection) {
  struct Case {
    float x2, y2;
    int16_t start, sweep;
  } cases[] = {{10, 10, 180, 90}, {10, -10, 180, -90}, {-10, 10, 0, -90}, {-10, -10, 0, 90}};
  for (const Case& c : cases) {
    FloatRect r;
    int16_t start, sweep;
    GetQuarterArc(0, 0, c.x2, c.y2, &r, &start, &sweep);
    EXPECT_EQ(start, c.start) << c.x2 << "," << c.y2;
    EXPECT_EQ(sweep, c.sweep) << c.x2 << "," << c.y2;
    // The ellipse is centred level with the press, under the mouse, and passes through both.
    EXPECT_NEAR((r.left + r.right) / 2, c.x2, kTol);
    EXPECT_NEAR((r.top + r.bottom) / 2, 0, kTol);
    EXPECT_NEAR(r.right - r.left, 20, kTol);
    EXPECT_NEAR(r.bottom - r.top, 20, kTol);
  }
}

TEST(Arcs, CircularSweepIsCounterClockwiseWithShiftOnly) {
  const float quarter = static_cast<float>(kPi / 2);
  EXPECT_NEAR(ComputeArcSweep(0, quarter, true), 90, kTol);
  EXPECT_NEAR(ComputeArcSweep(0, quarter, false), -270, kTol);
  EXPECT_NEAR(ComputeArcSweep(quarter, 0, true), 270, kTol);
  EXPECT_NEAR(ComputeArcSweep(quarter, 0, false), -90, kTol);
  // Angles past pi are brought into (-pi, pi] first.
  EXPECT_NEAR(ComputeArcSweep(3 * quarter, 0.5f * quarter, true), 135, kTol);
  // No sweep is no arc, never a full turn.
  EXPECT_EQ(ComputeArcSweep(1.0f, 1.0f, false), 0.0f);
}

TEST(Resize, MovingCornerFactorsAndThinSelections) {
  const FloatRect data = {0, 0, 100, 200};  // top, left, bottom, right
  ResizeFrame f;
  SetupResize(data, 190, 90, &f);  // bottom-right handle
  EXPECT_EQ(f.movingX, 200);
  EXPECT_EQ(f.fixedX, 0);
  EXPECT_EQ(f.movingY, 100);
  EXPECT_EQ(f.xDirection, 1);
  float sx, sy;
  ComputeResizeFactors(f, 300, 50, false, &sx, &sy);
  EXPECT_NEAR(sx, 1.5f, kTol);
  EXPECT_NEAR(sy, 0.5f, kTol);
  ComputeResizeFactors(f, 300, 50, true, &sx, &sy);  // Shift: the larger drag only
  EXPECT_NEAR(sx, 1.5f, kTol);
  EXPECT_EQ(sy, 1.0f);
  ComputeResizeFactors(f, -200, 100, false, &sx, &sy);  // past the fixed edge: a mirror
  EXPECT_NEAR(sx, -1.0f, kTol);

  SetupResize(data, 10, 10, &f);  // top-left handle
  EXPECT_EQ(f.fixedX, 200);
  EXPECT_EQ(f.yDirection, -1);

  // A vertical line (no width) scales only vertically.
  SetupResize(FloatRect{0, 50, 100, 50}, 50, 100, &f);
  EXPECT_FALSE(f.scaleX);
  ComputeResizeFactors(f, 80, 150, false, &sx, &sy);
  EXPECT_EQ(sx, 1.0f);
  EXPECT_NEAR(sy, 1.5f, kTol);
}

TEST(Skew, DragKeepsOnlyItsDominantDirection) {
  float x = 15, y = 12;
  ReduceToDominant(10, 10, &x, &y);
  EXPECT_EQ(x, 15);
  EXPECT_EQ(y, 10);
  x = 12, y = 4;
  ReduceToDominant(10, 10, &x, &y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 4);
}

TEST(ZoomTool, ClicksAndDragsStayPositive) {
  EXPECT_NEAR(ComputeClickZoom(1.0f, 100, false), 2.0f, kTol);
  EXPECT_NEAR(ComputeClickZoom(1.0f, 100, true), 0.9f, kTol);
  EXPECT_NEAR(ComputeClickZoom(0.15f, 100, true), 0.1f, kTol);
  EXPECT_NEAR(ComputeClickZoom(3.0f, 100, true), 2.0f, kTol);
  // A percentage of 0 or below must not reach 0 or a negative zoom.
  EXPECT_NEAR(ComputeClickZoom(1.0f, -500, false), kMinZoom, kTol);
  EXPECT_NEAR(ComputeClickZoom(0.5f, -40, false), 0.1f, kTol);
  EXPECT_GT(ComputeClickZoom(2.0f, 0, false), 0.0f);

  EXPECT_NEAR(ComputeDragZoomFactor(100, 50, 400, 400), 4.0f, kTol);
  EXPECT_NEAR(ComputeDragZoomFactor(100, 200, 400, 400), 2.0f, kTol);
  EXPECT_NEAR(ComputeDragZoomFactor(0, 0, 400, 300), 300.0f, kTol);
}

TEST_F(TrackFixture, ReadoutsOfADragAreUserRelative) {
  state->originH = 0;
  state->originV = 792;
  InfoReadouts r;
  ComputeInfoReadouts(state, 100, 130, 700, 660, kInfoDrag, 1, 1, FloatPoint{0, 0}, &r);
  EXPECT_NEAR(r.x, 130, kTol);
  EXPECT_NEAR(r.y, 132, kTol);  // y grows upward for the user
  ASSERT_TRUE(r.hasSize);
  EXPECT_NEAR(r.width, 30, kTol);
  EXPECT_NEAR(r.height, -40, kTol);
  ASSERT_TRUE(r.hasAngle);
  EXPECT_NEAR(r.angleDegrees, 53.130f, 0.01f);  // up and to the right on the screen
  // Skew shows doubled extents; rotate and plain moves show the position only.
  ComputeInfoReadouts(state, 100, 110, 700, 700, kInfoDoubled, -1, 1, FloatPoint{50, 20}, &r);
  EXPECT_NEAR(r.width, 70, kTol);
  EXPECT_NEAR(r.height, 20, kTol);
  ComputeInfoReadouts(state, 100, 110, 700, 700, kInfoRotate, 1, 1, FloatPoint{50, 20}, &r);
  EXPECT_FALSE(r.hasSize);
  EXPECT_FALSE(r.hasAngle);
}

float gShownRadius = -1, gShownDiameter = -1, gShownWidth = -1;
void RecordRadius(float v) {
  gShownRadius = v;
}
void RecordDiameter(float v) {
  gShownDiameter = v;
}
void RecordWH(float w, float) {
  gShownWidth = w;
}

TEST_F(TrackFixture, SelectionSizeShowsCircleRadiusOnlyForARoundOval) {
  ToolHooks saved = gToolHooks;
  gToolHooks.updateRadius = RecordRadius;
  gToolHooks.updateDiameter = RecordDiameter;
  gToolHooks.updateWH = RecordWH;
  state->zoomFactor = 2.0f;
  ObjectRec oval{};
  oval.kind = kOvalKind;
  ShowSelectionSize(FloatRect{0, 0, 41, 40}, &oval);
  EXPECT_NEAR(gShownRadius, 40.0f, kTol);  // 20 page units, zoomed once
  EXPECT_NEAR(gShownDiameter, 80.0f, kTol);
  ShowSelectionSize(FloatRect{0, 0, 43, 40}, &oval);
  EXPECT_EQ(gShownRadius, 0.0f);
  ShowSelectionSize(kEmptyRect, nullptr);
  EXPECT_EQ(gShownWidth, 0.0f);
  gToolHooks = saved;
}

}  // namespace
