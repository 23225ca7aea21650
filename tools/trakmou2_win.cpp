// The shape tools' tracking: rectangle, oval, line, multigon and quarter arc by one drag;
// polygon, spline and circular arc by a drag and further clicks.
#include <cmath>
#include <vector>

#include "geometry/gnrlmath.h"
#include "geometry/units.h"
#include "geometry/zoomhdlr.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "render/drawhdlr.h"
#include "render/macstuff.h"
#include "tools/buildobj.h"
#include "tools/editops.h"
#include "tools/selhndlr.h"
#include "tools/snaphdlr.h"
#include "tools/trakmous_win.h"
#include "tools/undo.h"

namespace {

// Samples per quarter turn of an arc's feedback.
constexpr int kArcFeedbackSteps = 16;

DocState* State() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}
LayerRec* CurrentLayer() {
  return gCurDocument ? gCurDocument->currentLayer : nullptr;
}
bool FromCenter() {
  return State() && State()->drawFromCenter;
}

// The end of a shape tool: the new object becomes the undo record's and is repainted.
void FinishShape(ObjectRec* object) {
  if (object) {
    RecordUndoCreate(object);
    RecordParallelCopiesForUndo(object);
    InvalidatePageArea(object->bounds, kNewShapeSlop);
  }
  ReleaseMouseCapture();
}

}  // namespace

void InvertArc(float cx, float cy, float rx, float ry, float startDeg, float arcDeg) {
  const int steps = 1 + static_cast<int>(std::fabs(arcDeg) / 90.0f * kArcFeedbackSteps);
  std::vector<POINT> points(static_cast<size_t>(steps) + 1);
  for (int i = 0; i <= steps; ++i) {
    const double a = (startDeg + arcDeg * i / steps) * kDegreesToRadians;
    points[static_cast<size_t>(i)] =
        POINT{static_cast<LONG>(cx + rx * std::cos(a)), static_cast<LONG>(cy - ry * std::sin(a))};
  }
  InvertPolyline(points.data(), static_cast<int>(points.size()));
}

void TrackRect(float x, float y, int16_t stage) {
  FloatRect f;
  IntRect q;
  GetRectBounds(gTrackModifiers, gDownX, gDownY, x, y, &f, &q, true, FromCenter());
  InvertFrame(q, false);
  if (stage != kStageRelease) return;
  GetRectBounds(gTrackModifiers, gDownX, gDownY, x, y, &f, nullptr, false, FromCenter());
  FinishShape(CurrentLayer() ? BuildRect(f.left, f.top, f.right, f.bottom, CurrentLayer(), true) : nullptr);
}

void TrackOval(float x, float y, int16_t stage) {
  FloatRect f;
  IntRect q;
  GetOvalBounds(gTrackModifiers, gDownX, gDownY, x, y, &f, &q, true, FromCenter());
  InvertEllipse(q);
  if (TrackShift()) {
    // The frame is zoomed already: the readouts take zoomed lengths.
    UpdateRadius((f.right - f.left) / 2.0f);
    UpdateDiameter(f.right - f.left);
  } else {
    UpdateRadius(0.0f);
    UpdateDiameter(0.0f);
  }
  if (stage != kStageRelease) return;
  GetOvalBounds(gTrackModifiers, gDownX, gDownY, x, y, &f, nullptr, false, FromCenter());
  FinishShape(CurrentLayer() ? BuildOval(f.left, f.top, f.right, f.bottom, CurrentLayer(), true) : nullptr);
}

void TrackLine(float x, float y, int16_t stage) {
  // A press snapped with the perpendicular snap keeps the start on that segment, square to it,
  // wherever the end goes.
  if (gPerpAtStart) {
    const FloatPoint foot = PerpendicularStart(x, y);
    gDownX = foot.x;
    gDownY = foot.y;
    gPerpFromLoc = stage == kStagePress ? FloatPoint{kEmptyBoundsLow, kEmptyBoundsLow} : foot;
  }
  FloatPoint start = {gDownX, gDownY}, end = {x, y};
  ConstrainLine(TrackShift(), FromCenter(), FloatPoint{gDownX, gDownY}, &start, &end);
  const POINT a = ZoomedPoint(start.x, start.y), b = ZoomedPoint(end.x, end.y);
  InvertLine(a.x, a.y, b.x, b.y);
  if (stage != kStageRelease) return;
  gPerpFromLoc = FloatPoint{kEmptyBoundsLow, kEmptyBoundsLow};
  ObjectRec* line = nullptr;
  if ((start.x != end.x || start.y != end.y) && CurrentLayer())
    line = BuildLine(start.x, start.y, end.x, end.y, CurrentLayer(), true);
  FinishShape(line);
}

void TrackMulti(float x, float y, int16_t stage) {
  const int sides = MultigonSidesOf(State());
  // Fewer than three sides, or no radius, make no figure: nothing to show or build.
  const bool figure = sides >= kMinMultigonSides && (x != gDownX || y != gDownY);
  if (figure) {
    std::vector<POINT> points(static_cast<size_t>(sides) + 1);
    for (int i = 0; i < sides; ++i) {
      float vx, vy;
      GetMultigonVertex(gDownX, gDownY, x, y, sides, i, &vx, &vy);
      points[static_cast<size_t>(i)] = ZoomedPoint(vx, vy);
    }
    points[static_cast<size_t>(sides)] = points[0];
    InvertPolyline(points.data(), static_cast<int>(points.size()));
  }
  if (stage != kStageRelease) return;
  FinishShape(figure && CurrentLayer() ? BuildMulti(gDownX, gDownY, x, y, CurrentLayer(), sides, true)
                                       : nullptr);
}

// ---- Polygon and spline: one vertex per click until a click on the first vertex or a double
// click. The figure lives outside its layer while it grows, so a repaint does not draw it.

namespace {

struct PolyLoop {
  ObjectRec* object;
  LayerRec* layer;
  bool rubberShown;
  FloatPoint last;     // the last vertex
  FloatPoint current;  // the mouse, evaluated
};
PolyLoop gPoly;

void InvertFigure() {
  if (gPoly.object) DrawObject(gPoly.object, nullptr, kDrawAll | kDrawInvert, nullptr);
}

void InvertRubber() {
  const POINT a = ZoomedPoint(gPoly.last.x, gPoly.last.y), b = ZoomedPoint(gPoly.current.x, gPoly.current.y);
  InvertLine(a.x, a.y, b.x, b.y);
}

void HidePoly() {
  if (gPoly.rubberShown) InvertRubber();
  InvertFigure();
}

void ShowPoly() {
  InvertFigure();
  if (gPoly.rubberShown) InvertRubber();
}

bool NearFirstVertex(const ObjectRec* object, FloatPoint p) {
  const PointRec* first = object->firstPoint;
  if (!first) return false;
  return GetLineLength(ZoomF(first->x), ZoomF(first->y), ZoomF(p.x), ZoomF(p.y)) <= kCloseDistance;
}

// The mouse evaluated as the next vertex: snapped, and with Shift level with the last vertex.
FloatPoint PolyMouse() {
  POINT mouse;
  GetWindowMouse(TrackPane(), &mouse);
  FloatPoint p;
  EvaluatePoint(mouse.x, mouse.y, &p.x, &p.y, true, nullptr, true);
  if (IsShiftKeyDown()) ConstrainOrthogonal(gPoly.last.x, gPoly.last.y, &p.x, &p.y);
  return p;
}

}  // namespace

void TrackPoly(float x, float y, int16_t stage) {
  if (stage != kStageRelease) return;  // the first drag only places the first vertex
  const bool spline = gCurTool == kSplineTool;
  LayerRec* layer = CurrentLayer();
  ObjectRec* object = layer ? (spline ? BuildSpline(nullptr, x, y, layer, kBuildFirstPoint, true)
                                      : BuildPoly(nullptr, x, y, layer, kBuildFirstPoint, true))
                            : nullptr;
  if (!object) {
    ReleaseMouseCapture();
    return;
  }
  UnlinkObject(object);
  gPoly = PolyLoop{object, layer, true, FloatPoint{x, y}, FloatPoint{x, y}};
  ShowPoly();
  DWORD lastClick = GetTickCount();
  bool cancelled = false, redraw = false;
  for (;;) {
    MSG message = {};
    const ClickLoopEvent event = NextClickLoopEvent(HidePoly, ShowPoly, &message);
    if (event == kLoopCancel) {
      cancelled = true;
      break;
    }
    if (event == kLoopIdle) {
      const FloatPoint p = PolyMouse();
      if (redraw || p.x != gPoly.current.x || p.y != gPoly.current.y || HaveModifiersChanged()) {
        redraw = false;
        InvertRubber();
        MaintainModifiers();
        gPoly.current = p;
        const POINT z = ZoomedPoint(p.x, p.y);
        if (AutoScroll(TrackPane(), z.x, z.y)) {
          // The view moved under the feedback: put it back where the drawing now is.
          HidePoly();
          InvalidateRect(TrackPane(), nullptr, FALSE);
          UpdateWindow(TrackPane());
          ShowPoly();
        } else {
          InvertRubber();
        }
        UpdateInfo(gPoly.last.x, p.x, gPoly.last.y, p.y, kInfoDrag);
        MoveRulerMarks(z.x, z.y);
      }
      continue;
    }
    if (event == kLoopTab) {
      // The next snap tool; the rubber band follows the mouse as the new snap places it.
      redraw = CycleSnapTool();
      continue;
    }
    // A press: close on the first vertex, end on a double click, else add a vertex.
    const FloatPoint p = gPoly.current;
    HidePoly();
    bool finished = false;
    const DWORD now = static_cast<DWORD>(message.time);
    if (NearFirstVertex(object, p)) {
      spline ? BuildSpline(object, p.x, p.y, layer, kBuildAddPoint, true)
             : BuildPoly(object, p.x, p.y, layer, kBuildAddPoint, true);
      finished = true;
    } else if (now - lastClick <= static_cast<DWORD>(GetDblTime())) {
      finished = true;
    } else if (p.x != gPoly.last.x || p.y != gPoly.last.y) {
      spline ? BuildSpline(object, p.x, p.y, layer, kBuildAddPoint, true)
             : BuildPoly(object, p.x, p.y, layer, kBuildAddPoint, true);
      gPoly.last = p;
    }
    lastClick = now;
    if (finished) {
      gPoly.rubberShown = false;
      break;
    }
    ShowPoly();
  }
  if (cancelled) {
    HidePoly();
    DeleteObj(object);
    gPoly = PolyLoop{};
    SetTrackingCancelled(true);
    ReleaseMouseCapture();
    return;
  }
  gPoly = PolyLoop{};
  // The builder closes a figure whose last vertex repeats the first, and drops one of fewer
  // than two distinct points.
  AppendObjectToLayer(object, layer);
  object = spline ? BuildSpline(object, 0.0f, 0.0f, layer, kBuildFinish, true)
                  : BuildPoly(object, 0.0f, 0.0f, layer, kBuildFinish, true);
  SwallowDoubleClick();
  if (object) {
    FinishShape(object);
  } else {
    InvalidateRect(TrackPane(), nullptr, FALSE);
    ReleaseMouseCapture();
  }
}

// ---- Arc: a quarter of an ellipse by one drag, or with Shift a circular arc: the drag sets
// centre and radius, the mouse then sweeps it and a click ends it.

namespace {

bool gArcCircular = false;
struct ArcLoop {
  float cx, cy, radius;  // page units
  float startAngle;
  float sweep;
  bool shown;
};
ArcLoop gArc;

void ToggleArcState() {
  if (gArc.shown) DrawArcState(gArc.cx, gArc.cy, gArc.radius, gArc.startAngle, gArc.sweep);
}
void HideArc() {
  ToggleArcState();
}
void ShowArc() {
  ToggleArcState();
}

void CircularSweep(float x, float y) {
  gArc = ArcLoop{gDownX, gDownY, 0.0f, 0.0f, 0.0f, true};
  gArc.startAngle = GetLineLengthAndAngle(gDownX, gDownY, x, y, &gArc.radius);
  if (gArc.radius <= 0.0f) {
    ReleaseMouseCapture();
    return;
  }
  ShowArc();
  bool cancelled = false;
  for (;;) {
    const ClickLoopEvent event = NextClickLoopEvent(HideArc, ShowArc, nullptr);
    if (event == kLoopCancel) {
      cancelled = true;
      break;
    }
    if (event == kLoopPress) break;
    if (event == kLoopTab) CycleSnapTool();
    if (event != kLoopIdle && event != kLoopTab) continue;
    POINT mouse;
    GetWindowMouse(TrackPane(), &mouse);
    FloatPoint p;
    EvaluatePoint(mouse.x, mouse.y, &p.x, &p.y, true, nullptr, true);
    float length = 0.0f;
    const float sweep = ComputeArcSweep(
        gArc.startAngle, GetLineLengthAndAngle(gArc.cx, gArc.cy, p.x, p.y, &length), IsShiftKeyDown());
    if (sweep != gArc.sweep) {
      HideArc();
      gArc.sweep = sweep;
      ShowArc();
      UpdateAngle(sweep);
    }
  }
  HideArc();
  gArc.shown = false;
  if (cancelled) {
    SetTrackingCancelled(true);
    ReleaseMouseCapture();
    return;
  }
  SwallowDoubleClick();
  ObjectRec* arc = nullptr;
  if (gArc.sweep != 0.0f && CurrentLayer()) {
    const float r = gArc.radius;
    arc = BuildArc(gArc.cx - r, gArc.cy - r, gArc.cx + r, gArc.cy + r,
                   static_cast<float>(gArc.startAngle * kRadiansToDegrees), gArc.sweep, CurrentLayer(), true);
  }
  FinishShape(arc);
}

}  // namespace

void DrawArcState(float cx, float cy, float radius, float startAngle, float sweepDegrees) {
  const POINT c = ZoomedPoint(cx, cy);
  const float r = ZoomF(radius);
  const float startDeg = static_cast<float>(startAngle * kRadiansToDegrees);
  const double endAngle = (startDeg + sweepDegrees) * kDegreesToRadians;
  InvertLine(c.x, c.y, static_cast<LONG>(c.x + r * std::cos(startAngle)),
             static_cast<LONG>(c.y - r * std::sin(startAngle)));
  if (sweepDegrees == 0.0f) return;
  InvertLine(c.x, c.y, static_cast<LONG>(c.x + r * std::cos(endAngle)),
             static_cast<LONG>(c.y - r * std::sin(endAngle)));
  InvertArc(static_cast<float>(c.x), static_cast<float>(c.y), r, r, startDeg, sweepDegrees);
}

void TrackArc(float x, float y, int16_t stage, int16_t) {
  if (stage == kStagePress) gArcCircular = TrackShift();
  if (gArcCircular) {
    // The circle through the mouse and its radius.
    float radius = 0.0f;
    GetLineLengthAndAngle(gDownX, gDownY, x, y, &radius);
    const POINT c = ZoomedPoint(gDownX, gDownY), m = ZoomedPoint(x, y);
    const int r = static_cast<int>(ZoomF(radius));
    if (r > 0) InvertEllipse(IntRect{c.x - r, c.y - r, c.x + r, c.y + r});
    InvertLine(c.x, c.y, m.x, m.y);
    UpdateRadius(ZoomF(radius));
    UpdateDiameter(ZoomF(2.0f * radius));
    if (stage == kStageRelease) CircularSweep(x, y);
    return;
  }
  FloatRect rect;
  int16_t startDeg, arcDeg;
  GetQuarterArc(gDownX, gDownY, x, y, &rect, &startDeg, &arcDeg);
  const POINT c = ZoomedPoint(x, gDownY);
  InvertArc(static_cast<float>(c.x), static_cast<float>(c.y), ZoomF((rect.right - rect.left) / 2.0f),
            ZoomF((rect.bottom - rect.top) / 2.0f), startDeg, arcDeg);
  if (stage != kStageRelease) return;
  // A drag with no width or no height is no arc.
  ObjectRec* arc = nullptr;
  if (rect.right > rect.left && rect.bottom > rect.top && CurrentLayer())
    arc = BuildArc(rect.left, rect.top, rect.right, rect.bottom, startDeg, arcDeg, CurrentLayer(), true);
  FinishShape(arc);
}
