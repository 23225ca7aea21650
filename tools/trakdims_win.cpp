// The dimension tools' tracking on the drawing pane.
#include "tools/trakdims_win.h"

#include <cmath>

#include "geometry/gnrlmath.h"
#include "geometry/zoomhdlr.h"
#include "render/drawhdlr.h"
#include "render/macstuff.h"
#include "tools/buildobj.h"
#include "tools/trakmous_win.h"

namespace {

// Polling pause of the diameter and radius tools' loop.
constexpr DWORD kPollPauseMs = 2;

LayerRec* CurrentLayer() {
  return gCurDocument ? gCurDocument->currentLayer : nullptr;
}

bool Same(FloatPoint a, FloatPoint b) {
  return a.x == b.x && a.y == b.y;
}

void InvertSegments(const DimSegment* segments, int count) {
  for (int i = 0; i < count; ++i) {
    const POINT a = ZoomedPoint(segments[i].a.x, segments[i].a.y);
    const POINT b = ZoomedPoint(segments[i].b.x, segments[i].b.y);
    InvertLine(a.x, a.y, b.x, b.y);
  }
}

void InvertDimArc(const DimArc& arc) {
  const POINT c = ZoomedPoint(arc.centre.x, arc.centre.y);
  const float r = std::trunc(ZoomF(arc.radius));
  if (r <= 0.0f) return;
  InvertArc(static_cast<float>(c.x), static_cast<float>(c.y), r, r,
            static_cast<float>(arc.startAngle * kRadiansToDegrees),
            static_cast<float>(arc.sweep * kRadiansToDegrees));
}

// The cursor in page units, as it is and as the tools take it (snapped when `snap`).
struct Cursor {
  POINT window;
  FloatPoint raw;
  FloatPoint point;
};

Cursor ReadCursor(bool snap) {
  Cursor c;
  GetWindowMouse(TrackPane(), &c.window);
  c.raw = {UnzoomF(static_cast<float>(c.window.x)), UnzoomF(static_cast<float>(c.window.y))};
  EvaluatePoint(c.window.x, c.window.y, &c.point.x, &c.point.y, snap, nullptr, true);
  return c;
}

// ---- The second phase of the offset, length, angle and leader tools.

enum class Band { kOffset, kLength, kAngle, kStretchAngle, kLeader };

struct DimLoop {
  Band band;
  FloatPoint a, b;   // the first leg: press and release
  FloatPoint q;      // the angle's second leg, once a press fixed it
  FloatPoint raw;    // the cursor
  FloatPoint point;  // the cursor evaluated: where the dimension goes
  bool snap;         // Tab toggles it
  bool shown;
  bool vertical;  // the offset band's orientation as last drawn
};
DimLoop gLoop;

void ToggleBand() {
  switch (gLoop.band) {
    case Band::kOffset:
      gLoop.vertical = DrawOffsetDimState(gLoop.a, gLoop.b, gLoop.point, gLoop.raw);
      break;
    case Band::kLength:
      DrawLengthDimState(gLoop.a, gLoop.b, gLoop.point);
      break;
    case Band::kAngle:
      DrawAngleDimState(gLoop.a, gLoop.b, gLoop.point);
      break;
    case Band::kStretchAngle:
      DrawStretchAngDimState(gLoop.a, gLoop.b, gLoop.q, gLoop.point);
      break;
    case Band::kLeader:
      DrawLeaderDimState(gLoop.a, gLoop.b, gLoop.point);
      break;
  }
}

void HideBand() {
  if (!gLoop.shown) return;
  ToggleBand();
  gLoop.shown = false;
}

void ShowBand() {
  if (gLoop.shown) return;
  ToggleBand();
  gLoop.shown = true;
}

// Length and leader redraw when Shift changes; the leader's second segment then keeps level or
// plumb with its first's end.
bool FollowsModifiers() {
  return gLoop.band == Band::kLength || gLoop.band == Band::kLeader;
}

Cursor LoopCursor() {
  Cursor c = ReadCursor(gLoop.snap);
  if (gLoop.band == Band::kLeader) c.point = ConstrainLeaderEnd(gLoop.b, c.point, IsShiftKeyDown());
  return c;
}

// The band follows the mouse until a press (true: the cursor's place is taken) or until the
// dimension is abandoned (false). Paints go through under the hidden band; a quit message is
// passed on; Escape and a lost capture abandon.
bool FollowUntilPress() {
  ShowBand();
  bool pending = false;
  for (;;) {
    const ClickLoopEvent event = NextClickLoopEvent(HideBand, ShowBand, nullptr);
    if (event == kLoopCancel || event == kLoopPress) {
      HideBand();
      return event == kLoopPress;
    }
    if (event == kLoopTab) {
      gLoop.snap = !gLoop.snap;
      pending = true;
      continue;
    }
    const Cursor c = LoopCursor();
    const bool modifiers = FollowsModifiers() && HaveModifiersChanged();
    if (!pending && !modifiers && Same(c.raw, gLoop.raw) && Same(c.point, gLoop.point)) continue;
    pending = false;
    HideBand();
    if (AutoScroll(TrackPane(), c.window.x, c.window.y)) {
      // The view moved: the uncovered strip is painted now, and the next poll places the band
      // where the resting cursor lies in the moved view.
      UpdateWindow(TrackPane());
      continue;
    }
    MaintainModifiers();
    gLoop.raw = c.raw;
    gLoop.point = c.point;
    ShowBand();
    UpdateInfo(gLoop.b.x, c.point.x, gLoop.b.y, c.point.y, kInfoDrag);
    MoveRulerMarks(c.window.x, c.window.y);
  }
}

ObjectRec* BuildFromLoop() {
  const FloatPoint a = gLoop.a, b = gLoop.b, o = gLoop.point;
  LayerRec* layer = CurrentLayer();
  switch (gLoop.band) {
    case Band::kOffset:
      return BuildOffsetDim(a.x, a.y, b.x, b.y, o.x, o.y, layer, gLoop.vertical);
    case Band::kLength:
      return BuildLengthDim(a.x, a.y, b.x, b.y, o.x, o.y, layer);
    case Band::kStretchAngle: {
      FloatPoint s1, s2;
      GetAngleDimArcEnds(a, b, gLoop.q, o, &s1, &s2);
      return BuildAngleDim(a.x, a.y, b.x, b.y, gLoop.q.x, gLoop.q.y, s2.x, s2.y, s1.x, s1.y, layer);
    }
    case Band::kLeader:
      return BuildLeaderDim(a.x, a.y, b.x, b.y, o.x, o.y, layer);
    case Band::kAngle:
      break;
  }
  return nullptr;
}

// The new dimension drawn at once (which also fits its label to the readout); the framework
// repaints the whole pane after the release.
void ShowNewDimension(ObjectRec* object) {
  if (object) DrawObject(object, nullptr, kDrawAll, nullptr);
}

// Offset, length, angle and leader: the first leg follows the drag; its release starts the
// second phase.
void TrackTwoPhase(Band band, float x, float y, int16_t stage) {
  const FloatPoint down = {gDownX, gDownY};
  FloatPoint end = {x, y};
  if (band == Band::kLeader) end = ConstrainLeaderEnd(down, end, TrackShift());
  const POINT a = ZoomedPoint(down.x, down.y), b = ZoomedPoint(end.x, end.y);
  InvertLine(a.x, a.y, b.x, b.y);
  if (stage != kStageRelease) return;
  if (Same(down, end)) {  // no first leg: nothing to dimension
    ReleaseMouseCapture();
    return;
  }
  gLoop = DimLoop{band, down, end, end, end, end, true, false, false};
  bool placed = FollowUntilPress();
  if (placed && band == Band::kAngle) {
    gLoop.q = gLoop.point;
    gLoop.band = Band::kStretchAngle;
    placed = FollowUntilPress();
  }
  if (!placed) {
    SetTrackingCancelled(true);
  } else {
    ShowNewDimension(BuildFromLoop());
  }
  gLoop = DimLoop{};
  ReleaseMouseCapture();
}

// ---- Diameter and radius.

struct CircleLoop {
  CircleTarget target;
  bool diameter;
  FloatPoint point;
  bool shown;
};
CircleLoop gCircle;

void ToggleCircle() {
  if (gCircle.diameter)
    DrawDiameterDimState(gCircle.target, gCircle.point);
  else
    DrawRadiusDimState(gCircle.target, gCircle.point);
}

void SetCircleShown(bool shown) {
  if (gCircle.shown != shown) ToggleCircle();
  gCircle.shown = shown;
}

// Measures what the press hit and follows the mouse while the button is down; the release
// places the dimension. Works at the press only; the release stage gives the mouse back.
void TrackCircleDim(float x, float y, int16_t stage, bool diameter) {
  if (stage == kStageRelease) ReleaseMouseCapture();
  if (stage != kStagePress) return;
  const POINT press = ZoomedPoint(x, y);
  ClickInfo info = {};
  info.x = press.x;
  info.y = press.y;
  FillClickInfo(&info);
  CircleTarget target;
  if (!(diameter ? FindDiameterTarget(info, &target) : FindRadiusTarget(info, &target))) return;
  gCircle = CircleLoop{target, diameter, {x, y}, false};
  SetCircleShown(true);
  UpdateRadius(ZoomF(target.diameter / 2.0f));
  UpdateDiameter(ZoomF(target.diameter));
  while (StillDown()) {
    if (CheckTrackingCancel()) {
      SetCircleShown(false);
      return;
    }
    const Cursor c = ReadCursor(true);
    if (!Same(c.point, gCircle.point)) {
      SetCircleShown(false);
      AutoScroll(TrackPane(), c.window.x, c.window.y);
      gCircle.point = c.point;
      SetCircleShown(true);
      UpdateInfo(target.centre.x, c.point.x, target.centre.y, c.point.y, kInfoDrag);
      MoveRulerMarks(c.window.x, c.window.y);
    }
    Sleep(kPollPauseMs);
  }
  SetCircleShown(false);
  CircleDimState s;
  GetCircleDimState(target, gCircle.point, diameter, &s);
  const bool shoulder = s.outside > 0.0f;
  LayerRec* layer = CurrentLayer();
  ShowNewDimension(diameter ? BuildDiameterDim(s.onCircle.x, s.onCircle.y, s.opposite.x, s.opposite.y, layer,
                                               s.outside, shoulder)
                            : BuildRadiusDim(target.centre.x, target.centre.y, s.onCircle.x, s.onCircle.y,
                                             layer, s.outside, shoulder));
}

bool DrawCircleState(const CircleTarget& target, FloatPoint c, bool diameter) {
  CircleDimState s;
  GetCircleDimState(target, c, diameter, &s);
  InvertSegments(&s.line, 1);
  if (s.hasShoulder) InvertSegments(&s.shoulder, 1);
  return s.hasShoulder;
}

}  // namespace

bool DrawOffsetDimState(FloatPoint a, FloatPoint b, FloatPoint o, FloatPoint c) {
  DimSegment segments[3];
  const bool vertical = GetOffsetDimState(a, b, o, c, segments);
  InvertSegments(segments, 3);
  return vertical;
}

void DrawLengthDimState(FloatPoint a, FloatPoint b, FloatPoint o) {
  DimSegment segments[3];
  GetLengthDimState(a, b, o, segments);
  InvertSegments(segments, 3);
}

void DrawAngleDimState(FloatPoint v, FloatPoint p1, FloatPoint c) {
  DimSegment lines[2];
  DimArc arc;
  GetAngleDimState(v, p1, c, lines, &arc);
  InvertSegments(lines, 2);
  InvertDimArc(arc);
}

void DrawStretchAngDimState(FloatPoint v, FloatPoint p1, FloatPoint q, FloatPoint c) {
  DimSegment lines[2];
  DimArc arc;
  GetStretchAngDimState(v, p1, q, c, lines, &arc);
  InvertSegments(lines, 2);
  InvertDimArc(arc);
}

bool DrawDiameterDimState(const CircleTarget& target, FloatPoint c) {
  return DrawCircleState(target, c, true);
}

bool DrawRadiusDimState(const CircleTarget& target, FloatPoint c) {
  return DrawCircleState(target, c, false);
}

void DrawLeaderDimState(FloatPoint a, FloatPoint b, FloatPoint c) {
  const DimSegment segments[2] = {{a, b}, {b, c}};
  InvertSegments(segments, 2);
}

void TrackOffsetDim(float x, float y, int16_t stage) {
  TrackTwoPhase(Band::kOffset, x, y, stage);
}

void TrackLengthDim(float x, float y, int16_t stage) {
  TrackTwoPhase(Band::kLength, x, y, stage);
}

void TrackAngleDim(float x, float y, int16_t stage) {
  TrackTwoPhase(Band::kAngle, x, y, stage);
}

void TrackLeaderDim(float x, float y, int16_t stage) {
  TrackTwoPhase(Band::kLeader, x, y, stage);
}

void TrackDiameterDim(float x, float y, int16_t stage) {
  TrackCircleDim(x, y, stage, true);
}

void TrackRadiusDim(float x, float y, int16_t stage) {
  TrackCircleDim(x, y, stage, false);
}
