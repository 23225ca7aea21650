// The snap tools: where each one puts a cursor near lines, rectangles, ovals and arcs, ties,
// the pick radius, parallel and degenerate input, the perpendicular record the line tool
// follows, and the choice of snap (one press, locked, Tab).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/gnrlmath.h"
#include "toolfixture.h"
#include "tools/snaphdlr.h"
#include "tools/toolhooks.h"
#include "tools/traksupp.h"

namespace {

constexpr float kExact = 0.0f;

// The Snap toolbox as the tools see it: whether it exists, and what it was asked to show.
bool gFakePane = true;
std::vector<int16_t> gShown;
bool FakeSelectSnap(int16_t snap, bool locked) {
  if (!gFakePane) return false;
  gShown.push_back(snap);
  gCurSnap = snap;
  gSnapLocked = locked ? 1 : 0;
  return true;
}

// Hermite position at t, written out, to tell a parameter point from anything else.
FloatPoint Hermite(const PointRec* a, const PointRec* b, float t) {
  const float h00 = 2 * t * t * t - 3 * t * t + 1, h10 = t * t * t - 2 * t * t + t;
  const float h01 = -2 * t * t * t + 3 * t * t, h11 = t * t * t - t * t;
  return {h00 * a->x + h10 * a->outTangentX + h01 * b->x + h11 * b->inTangentX,
          h00 * a->y + h10 * a->outTangentY + h01 * b->y + h11 * b->inTangentY};
}

class SnapTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    gCurTool = kRectTool;
    gCurSnap = kNoSnap;
    gSnapLocked = 0;
    gChangeSnapOK = 1;
    ClearPerpendicularSnap();
    gFakePane = true;
    gShown.clear();
    gToolHooks.selectSnapTool = FakeSelectSnap;
    // Well apart from each other, at zoom 1 (window units = page units).
    line_ = Line(100, 100, 200, 100);
    rect_ = Rect(300, 100, 400, 180);
    oval_ = BuildOval(100, 300, 200, 400, layer_, false);
    SetObjectSelectFlags(oval_, 0);
    arc_ = BuildArc(300, 300, 400, 400, 0, 90, layer_, false);
    SetObjectSelectFlags(arc_, 0);
    Line(500, 100, 600, 200);  // an X crossing at 550,150
    Line(500, 200, 600, 100);
    Line(500, 300, 600, 300);  // level parallels 3 apart
    Line(500, 303, 600, 303);
    Line(500, 400, 600, 450);  // slanted parallels 3 apart
    Line(500, 403, 600, 453);
  }
  void TearDown() override {
    gToolHooks.selectSnapTool = nullptr;
    gCurSnap = kNoSnap;
    gSnapLocked = 0;
    ClearPerpendicularSnap();
    ToolTest::TearDown();
  }

  // The cursor at window (x, y) evaluated with `snap` chosen: a page position.
  FloatPoint Evaluate(int16_t snap, int32_t x, int32_t y, ClickInfo* info = nullptr) {
    gCurSnap = snap;
    FloatPoint p;
    EvaluatePoint(x, y, &p.x, &p.y, true, info, true);
    return p;
  }
  const PointRec* PointOf(const ObjectRec* o, int index) {
    const PointRec* p = o->firstPoint;
    while (index-- > 0 && p) p = p->nextPoint;
    return p;
  }

  ObjectRec *line_ = nullptr, *rect_ = nullptr, *oval_ = nullptr, *arc_ = nullptr;
};

TEST_F(SnapTest, EachSnapOnLinesRectanglesAndOvals) {
  const float cx45 = 150 + 50 * std::cos(0.25 * kPi), cy45 = 350 - 50 * std::sin(0.25 * kPi);
  struct Case {
    const char* name;
    int16_t snap;
    int32_t x, y;
    float wantX, wantY, tolerance;
  } cases[] = {
      // End point: a point under the cursor, else the nearer end of the segment (the second on
      // a tie); nothing under the cursor leaves it where it is.
      {"line, left half", kEndPointSnap, 140, 101, 100, 100, kExact},
      {"line, right half", kEndPointSnap, 160, 99, 200, 100, kExact},
      {"line, dead centre: the second end", kEndPointSnap, 150, 100, 200, 100, kExact},
      {"rectangle edge", kEndPointSnap, 385, 181, 400, 180, kExact},
      {"oval point", kEndPointSnap, 198, 352, 200, 350, kExact},
      {"oval curve, nearer the top", kEndPointSnap, 175, 307, 150, 300, kExact},
      {"nothing under the cursor", kEndPointSnap, 250, 250, 250, 250, kExact},
      // On the outline: the cursor brought onto the hit piece.
      {"on a line", kOnOutlineSnap, 130, 100, 130, 100, kExact},
      {"beside a line: onto it, near the cursor", kOnOutlineSnap, 131, 103, 131, 100, 3.0f},
      // Object centre and corner of the bounds on the cursor's side of the centre (left and top
      // on a tie).
      {"line centre", kObjectCenterSnap, 120, 101, 150, 100, kExact},
      {"oval centre", kObjectCenterSnap, 198, 352, 150, 350, kExact},
      {"rectangle, right of and above the centre", kObjectCornerSnap, 390, 101, 400, 100, kExact},
      {"rectangle, left of and below the centre", kObjectCornerSnap, 301, 170, 300, 180, kExact},
      {"rectangle, level with the centre: left, top", kObjectCornerSnap, 350, 100, 300, 100, kExact},
      {"oval, lower right", kObjectCornerSnap, 185, 386, 200, 400, kExact},
      // Crossings of two objects of one layer.
      {"crossing lines", kIntersectionSnap, 551, 149, 550, 150, 0.01f},
      {"level parallels: no crossing", kIntersectionSnap, 550, 301, 550, 301, kExact},
      {"slanted parallels: no crossing", kIntersectionSnap, 550, 426, 550, 426, kExact},
      {"one object only", kIntersectionSnap, 130, 101, 130, 101, kExact},
      {"a point under the cursor", kIntersectionSnap, 501, 101, 500, 100, kExact},
      // The perpendicular snap never moves the cursor.
      {"perpendicular", kPerpendicularSnap, 130, 101, 130, 101, kExact},
      // Segment centre: the parameter midpoint, which lies on the circle for an oval quarter.
      {"line middle", kSegmentCenterSnap, 110, 101, 150, 100, kExact},
      {"rectangle's right edge", kSegmentCenterSnap, 401, 170, 400, 140, kExact},
      {"oval quarter", kSegmentCenterSnap, 175, 307, cx45, cy45, 0.5f},
      {"no segment: a point hit", kSegmentCenterSnap, 200, 100, 200, 100, kExact},
      // The origin, with or without anything under the cursor.
      {"origin from a line", kOriginSnap, 140, 101, 0, 792, kExact},
  };
  for (const Case& c : cases) {
    const FloatPoint p = Evaluate(c.snap, c.x, c.y);
    if (c.snap == kOnOutlineSnap) {
      EXPECT_EQ(p.y, 100) << c.name;
    }
    EXPECT_NEAR(p.x, c.wantX, c.tolerance) << c.name;
    EXPECT_NEAR(p.y, c.wantY, c.tolerance) << c.name;
  }
}

TEST_F(SnapTest, OutlineAndArcResultsStayOnTheCurve) {
  // Near the oval, the outline snap lands on the circle; near the arc, on its circle too, and the
  // end point snap picks an end of the arc's hit piece.
  for (float degrees : {20.0f, 60.0f, 110.0f, 200.0f, 300.0f}) {
    const double a = degrees * kDegreesToRadians;
    const int32_t x = static_cast<int32_t>(150 + 52 * std::cos(a)),
                  y = static_cast<int32_t>(350 - 52 * std::sin(a));
    const FloatPoint p = Evaluate(kOnOutlineSnap, x, y);
    EXPECT_NEAR(std::hypot(p.x - 150, p.y - 350), 50, 1.0f) << degrees;
  }
  const FloatPoint onArc = Evaluate(kOnOutlineSnap, 386, 315);
  EXPECT_NEAR(std::hypot(onArc.x - 350, onArc.y - 350), 50, 1.0f);
  const FloatPoint end = Evaluate(kEndPointSnap, 386, 315);
  bool isArcPoint = false;
  for (const PointRec* q = arc_->firstPoint; q; q = q->nextPoint)
    isArcPoint |= q->x == end.x && q->y == end.y && q->pointKind == kArcPoint;
  EXPECT_TRUE(isArcPoint) << end.x << "," << end.y;
  // The arc's ends are east (400,350) and north (350,300) of its centre.
  EXPECT_EQ(Evaluate(kEndPointSnap, 399, 348).x, 400);
  EXPECT_EQ(Evaluate(kEndPointSnap, 352, 301).y, 300);
}

TEST_F(SnapTest, PercentageIsAFractionOfLengthOrOfTheCurveParameter) {
  const PointRec* top = PointOf(oval_, 0);
  const PointRec* right = PointOf(oval_, 1);
  struct Case {
    int16_t percentage;
    float lineX;  // on the line from 100 to 200
    float t;      // on the oval's first quarter
  } cases[] = {{50, 150, 0.5f}, {25, 125, 0.25f}, {90, 190, 0.9f},
               {0, 100, 0.0f},  {150, 200, 1.0f}, {-10, 100, 0.0f}};  // out of range: held to the segment
  for (const Case& c : cases) {
    doc_->docState->snapPercentage = c.percentage;
    const FloatPoint l = Evaluate(kSegmentPercentSnap, 110, 101);
    EXPECT_FLOAT_EQ(l.x, c.lineX) << c.percentage;
    EXPECT_FLOAT_EQ(l.y, 100) << c.percentage;
    const FloatPoint o = Evaluate(kSegmentPercentSnap, 175, 307);
    const FloatPoint want = Hermite(top, right, c.t);
    EXPECT_NEAR(o.x, want.x, 1e-3) << c.percentage;
    EXPECT_NEAR(o.y, want.y, 1e-3) << c.percentage;
  }
}

TEST_F(SnapTest, PickRadiusLimitsWhatSnaps) {
  struct Case {
    int16_t sensitivity;
    int32_t y;  // the cursor's distance above the line at x 140
    bool snaps;
  } cases[] = {{5, 4, true},  {5, 5, false}, {8, 7, true},
               {8, 8, false}, {0, 1, true},  {0, 2, false},  // below 2 counts as 2
               {1, 1, true}};
  for (const Case& c : cases) {
    doc_->docState->snapSensitivity = c.sensitivity;
    const FloatPoint p = Evaluate(kEndPointSnap, 140, 100 - c.y);
    EXPECT_EQ(p.x == 100 && p.y == 100, c.snaps) << c.sensitivity << " at " << c.y;
  }
  // Zoomed: window units are twice page units; the snapped result is exact in page units.
  doc_->docState->snapSensitivity = 5;
  doc_->docState->zoomFactor = 2;
  const FloatPoint p = Evaluate(kEndPointSnap, 280, 203);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 100);
}

TEST_F(SnapTest, FailedSnapFallsBackToTheGrid) {
  doc_->docState->snapToGrid = 1;
  doc_->docState->scaleFactor = 1;
  doc_->docState->worldUnit = 1;
  doc_->docState->snapH = doc_->docState->snapV = 0.125f;  // 9 page units
  const FloatPoint off = Evaluate(kEndPointSnap, 250, 250);
  EXPECT_FLOAT_EQ(off.x, 252);
  EXPECT_FLOAT_EQ(off.y, 252);
  const FloatPoint on = Evaluate(kEndPointSnap, 140, 101);
  EXPECT_EQ(on.x, 100);
  EXPECT_EQ(on.y, 100);
  // No snap chosen: the grid alone.
  const FloatPoint none = Evaluate(kNoSnap, 140, 101);
  EXPECT_FLOAT_EQ(none.x, 144);
}

TEST_F(SnapTest, TheSnapsHitTestFillsOnlyAnEmptyPressRecord) {
  // An empty record (a drawing tool's press) learns what is under the cursor; the intersection's
  // second look leaves gClickInfo and the select index as they were.
  gClickInfo = ClickInfo{};
  const FloatPoint p = Evaluate(kIntersectionSnap, 551, 149, &gClickInfo);
  EXPECT_NEAR(p.x, 550, 0.01f);
  EXPECT_TRUE(gClickInfo.hit && gClickInfo.segmentHit);
  EXPECT_EQ(gClickInfo.object,
            layer_->firstObject->nextObject->nextObject->nextObject->nextObject->nextObject);
  EXPECT_EQ(gSelectIndex, 1);
  // A press that hit something keeps its own record (here a handle found with the selection
  // first), while the snap works from what lies under the cursor.
  ClickInfo press = {};
  press.hit = press.handleHit = 1;
  press.handle = 3;
  press.object = rect_;
  const FloatPoint q = Evaluate(kEndPointSnap, 140, 101, &press);
  EXPECT_EQ(q.x, 100);
  EXPECT_TRUE(press.handleHit);
  EXPECT_EQ(press.object, rect_);
}

TEST_F(SnapTest, OutlineSnapNeverLeavesTheHitPiece) {
  // A short piece and a cursor well beside it: the result is held to the piece's far end.
  ClickInfo info = {};
  info.hit = info.segmentHit = 1;
  info.point = line_->firstPoint;
  info.nextPoint = line_->firstPoint->nextPoint;
  info.segStart = {100, 100};
  info.segEnd = {102, 100};
  float x = 0, y = 0;
  ASSERT_TRUE(SnapOnSpline(&info, 101, 95, PackToolAndSnap(kRectTool, kOnOutlineSnap), layer_, &x, &y));
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 100);
  // A piece of no length gives its one point.
  info.segEnd = info.segStart;
  ASSERT_TRUE(SnapOnSpline(&info, 101, 95, PackToolAndSnap(kRectTool, kOnOutlineSnap), layer_, &x, &y));
  EXPECT_EQ(x, 100);
  // An intersection with a piece of no length has no direction: no snap.
  ClickInfo second = info;
  second.segStart = {90, 90};
  second.segEnd = {110, 110};
  gClickInfo = second;
  x = y = -1;
  EXPECT_FALSE(SnapIntersection(&info, 100, 100, 0, layer_, &x, &y));
  EXPECT_EQ(x, -1);
  gClickInfo = ClickInfo{};
}

TEST_F(SnapTest, PerpendicularRecordsTheSegmentOnce) {
  struct Case {
    const char* name;
    int32_t x, y;
    const PointRec* start;
    const PointRec* end;
  } cases[] = {
      {"line segment", 130, 101, PointOf(line_, 0), PointOf(line_, 1)},
      {"first corner of a rectangle: to its successor", 301, 101, PointOf(rect_, 0), PointOf(rect_, 1)},
      {"second corner: from its predecessor", 399, 101, PointOf(rect_, 0), PointOf(rect_, 1)},
      {"oval point: itself, for the line tool to replace", 150, 301, PointOf(oval_, 0), PointOf(oval_, 0)},
      {"nothing under the cursor", 250, 250, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    ClearPerpendicularSnap();
    const FloatPoint p = Evaluate(kPerpendicularSnap, c.x, c.y);
    EXPECT_EQ(p.x, c.x) << c.name;
    EXPECT_EQ(gPerpStartPtz, c.start) << c.name;
    EXPECT_EQ(gPerpEndPtz, c.end) << c.name;
  }
  // Once recorded, later positions of the same drag keep the first segment.
  ClearPerpendicularSnap();
  Evaluate(kPerpendicularSnap, 130, 101);
  Evaluate(kPerpendicularSnap, 401, 150);
  EXPECT_EQ(gPerpStartPtz, PointOf(line_, 0));
}

TEST_F(SnapTest, DegenerateSegmentsGiveNoPerpendicular) {
  // A line folded onto one place: its point stands for a segment of no length.
  ObjectRec* folded = Line(700, 100, 710, 100);
  folded->firstPoint->nextPoint->x = 700;
  Evaluate(kPerpendicularSnap, 701, 101);
  EXPECT_FALSE(HasPerpendicularSegment());
  // The same as a segment hit.
  ClickInfo info = {};
  info.hit = info.segmentHit = 1;
  info.point = folded->firstPoint;
  info.nextPoint = folded->firstPoint->nextPoint;
  SnapPerpendicular(&info, 700, 100, 0, layer_, nullptr, nullptr);
  EXPECT_FALSE(HasPerpendicularSegment());
  // A lone corner point and a curve point of a spline pair with themselves.
  ObjectRec* lone = Line(800, 100, 810, 100);
  PointRec* second = lone->firstPoint->nextPoint;
  info = ClickInfo{};
  info.hit = info.pointHit = 1;
  lone->firstPoint->nextPoint = nullptr;
  info.point = lone->firstPoint;
  SnapPerpendicular(&info, 800, 100, 0, layer_, nullptr, nullptr);
  EXPECT_FALSE(HasPerpendicularSegment());
  lone->firstPoint->nextPoint = second;
  PointRec curvy = *PointOf(oval_, 0);
  curvy.ownerObject = lone;
  info.point = &curvy;
  SnapPerpendicular(&info, 150, 300, 0, layer_, nullptr, nullptr);
  EXPECT_FALSE(HasPerpendicularSegment());
}

TEST_F(SnapTest, PerpendicularStartIsTheFootOnTheSegment) {
  ObjectRec* slant = Line(0, 500, 100, 600);
  struct Case {
    const char* name;
    const PointRec* a;
    const PointRec* b;
    float x, y, wantX, wantY;
  } cases[] = {
      {"level line", PointOf(line_, 0), PointOf(line_, 1), 150, 140, 150, 100},
      {"beyond its end: on the line's extension", PointOf(line_, 0), PointOf(line_, 1), 260, 40, 260, 100},
      {"upright edge", PointOf(rect_, 1), PointOf(rect_, 2), 450, 130, 400, 130},
      {"slanted line", PointOf(slant, 0), PointOf(slant, 1), 100, 500, 50, 550},
  };
  for (const Case& c : cases) {
    gPerpStartPtz = const_cast<PointRec*>(c.a);
    gPerpEndPtz = const_cast<PointRec*>(c.b);
    const FloatPoint p = PerpendicularStart(c.x, c.y);
    EXPECT_NEAR(p.x, c.wantX, 1e-3) << c.name;
    EXPECT_NEAR(p.y, c.wantY, 1e-3) << c.name;
  }
  // An oval's point stands for the oval: the start lands on its nearest segment, under the
  // mouse's direction from the centre.
  gPerpStartPtz = gPerpEndPtz = const_cast<PointRec*>(PointOf(oval_, 0));
  for (float degrees : {30.0f, 100.0f, 250.0f}) {
    const double a = degrees * kDegreesToRadians;
    const FloatPoint p = PerpendicularStart(static_cast<float>(150 + 90 * std::cos(a)),
                                            static_cast<float>(350 - 90 * std::sin(a)));
    EXPECT_NEAR(std::hypot(p.x - 150, p.y - 350), 50, 1.0f) << degrees;
    EXPECT_NEAR(std::atan2(350 - p.y, p.x - 150), std::atan2(std::sin(a), std::cos(a)), 0.05) << degrees;
  }
  // Nothing recorded: the mouse itself.
  ClearPerpendicularSnap();
  EXPECT_EQ(PerpendicularStart(12, 34).x, 12);
}

TEST_F(SnapTest, ChoosingCyclingAndResettingTheSnap) {
  struct Step {
    const char* name;
    int16_t snap;
    uint8_t locked, changeOK;
    bool pane;
    void (*action)();
    int16_t wantSnap;
    uint8_t wantLocked;
  } steps[] = {
      {"Tab to the next", kEndPointSnap, 0, 1, true, [] { SnapToolChange(0); }, kOnOutlineSnap, 0},
      {"Tab wraps after the origin", kOriginSnap, 0, 1, true, [] { SnapToolChange(0); }, kNoSnap, 0},
      {"Tab keeps a lock", kObjectCornerSnap, 1, 1, true, [] { SnapToolChange(0); }, kIntersectionSnap, 1},
      {"Tab outside tracking's window", kEndPointSnap, 0, 0, true, [] { SnapToolChange(0); }, kEndPointSnap,
       0},
      {"Tab with no Snap toolbox", kEndPointSnap, 0, 1, false, [] { SnapToolChange(0); }, kEndPointSnap, 0},
      {"a loop's Tab", kSegmentCenterSnap, 0, 0, true, [] { CycleSnapTool(); }, kSegmentPercentSnap, 0},
      {"one press used up", kObjectCenterSnap, 0, 1, true, ResetSnapTool, kNoSnap, 0},
      {"a locked snap stays", kObjectCenterSnap, 1, 1, true, ResetSnapTool, kObjectCenterSnap, 1},
      {"used up with no toolbox", kObjectCenterSnap, 0, 1, false, ResetSnapTool, kNoSnap, 0},
  };
  for (const Step& s : steps) {
    gCurSnap = s.snap;
    gSnapLocked = s.locked;
    gChangeSnapOK = s.changeOK;
    gFakePane = s.pane;
    s.action();
    EXPECT_EQ(gCurSnap, s.wantSnap) << s.name;
    EXPECT_EQ(gSnapLocked, s.wantLocked) << s.name;
    EXPECT_EQ(gChangeSnapOK, s.changeOK) << s.name;
  }
  // Ten snaps in a ring, and anything strange starts it again.
  int16_t snap = kNoSnap;
  for (int i = 0; i < 10; ++i) snap = NextSnapTool(snap);
  EXPECT_EQ(snap, kNoSnap);
  EXPECT_EQ(NextSnapTool(kNoTool), kNoSnap);
  EXPECT_EQ(NextSnapTool(600), kNoSnap);
}

TEST_F(SnapTest, GridAlignmentUsesTheTrackingGrid) {
  DocState* s = doc_->docState;
  s->scaleFactor = 1;
  s->worldUnit = 1;
  s->snapH = s->snapV = 1;  // one inch, 72 page units
  for (float zoom : {1.0f, 2.0f, 0.5f}) {
    s->zoomFactor = zoom;
    ObjectRec* box = Rect(100, 100, 150, 150);
    SetObjectSelectFlags(box, 1);
    AlignSelectedToGrid(kAlignTopLeft);
    EXPECT_NEAR(box->bounds.left, 72, 1e-3) << zoom;
    EXPECT_NEAR(box->bounds.top, 72, 1e-3) << zoom;
    SetObjectSelectFlags(box, 0);
  }
}

}  // namespace
