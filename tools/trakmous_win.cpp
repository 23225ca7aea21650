// The road of a press in the drawing pane: selection step, polling loop, the dispatch to the
// current tool's routine, and the two routines that work on the view rather than the drawing:
// the marquee (with the drag of the user origin) and the zoom tool.
#include <cmath>

#include "geometry/gnrlmath.h"
#include "geometry/zoomhdlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "render/drawhdlr.h"
#include "render/macstuff.h"
#include "tools/fillet_win.h"
#include "tools/selhndlr.h"
#include "tools/snaphdlr.h"
#include "tools/snaphdlr_win.h"
#include "tools/textpane_win.h"
#include "tools/trakdims_win.h"
#include "tools/trakmous_win.h"
#include "tools/undo.h"

namespace {

bool gTracking = false;
// The pane's context while a press is tracked.
HDC gTrackingDC = nullptr;
// The tool the press is handled as, after the substitutions.
int16_t gPressTool = kNoTool;

// The square around the user origin that drags the origin rather than a marquee.
constexpr float kOriginGrip = 3.0f;
// Polling pause: the loop follows the mouse without taking a whole core from the rest.
constexpr DWORD kPollPauseMs = 2;

bool ShiftDownNow() {
  return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
}

void SetTrackAngles(float x, float y) {
  float length = 0.0f;
  gTrackState.current = {x, y};
  gTrackState.currentAngle = GetLineLengthAndAngle(gTrackState.center.x, gTrackState.center.y, x, y, &length);
}

// The press is handled as another tool in two cases: the arrow on a selected object's frame
// handle resizes it, and a press on a fillet marker drags the fillet again.
int16_t SubstituteTool(int16_t tool) {
  const bool pointOriented = ToolIsPointOriented(-1, nullptr);
  const ObjectRec* object = gClickInfo.object;
  if (!pointOriented && tool == kStandardTool && gClickInfo.handleHit && object && object->kind != kLineKind)
    return kResizeTool;
  if (pointOriented && gClickInfo.pointHit && tool >= kStandardTool && tool <= kChamferTool && object &&
      object->kind != 301 && gClickInfo.point && gClickInfo.point->pointKind == kFilletMarkerPoint)
    return kFilletTool;
  return tool;
}

void NoRoutine(int16_t stage) {
  if (stage == kStagePress) MessageBeep(0);
  if (stage == kStageRelease) ReleaseMouseCapture();
}

// Evaluates a window position for the loop: snapped and unzoomed.
FloatPoint Evaluate(POINT p) {
  FloatPoint out;
  EvaluatePoint(p.x, p.y, &out.x, &out.y, true, nullptr, true);
  return out;
}

// Abandons the drag: the feedback drawn last is erased and nothing else happens.
void CancelDrag(POINT previous) {
  const FloatPoint p = Evaluate(previous);
  SetTrackAngles(p.x, p.y);
  TrackObject(p.x, p.y, kStageMove);
  AbandonTransform();
  ReleaseMouseCapture();
  ResetSnapTool();
  ClearPerpendicularSnap();
  gChangeSnapOK = 1;
}

int gMarqueeKind = 0;  // 1 marquee, 2 origin drag

void OriginCross(float x, float y) {
  HWND pane = TrackPane();
  HDC dc = TrackDC();
  if (!pane || !dc) return;
  RECT client;
  GetClientRect(pane, &client);
  POINT c[2] = {{client.left, client.top}, {client.right, client.bottom}};
  DPtoLP(dc, c, 2);
  const POINT p = ZoomedPoint(x, y);
  HPEN pen = CreatePen(PS_DOT, 1, RGB(255, 0, 0));
  const int savedRop = SetROP2(dc, R2_NOT);
  HGDIOBJ savedPen = SelectObject(dc, pen);
  MoveToEx(dc, c[0].x, p.y, nullptr);
  LineTo(dc, c[1].x, p.y);
  MoveToEx(dc, p.x, c[0].y, nullptr);
  LineTo(dc, p.x, c[1].y);
  SelectObject(dc, savedPen);
  SetROP2(dc, savedRop);
  DeleteObject(pen);
}

IntRect MarqueeRect(float x, float y) {
  const POINT a = ZoomedPoint(gDownX, gDownY), b = ZoomedPoint(x, y);
  IntRect r;
  SetMobiusRect(&r, a.x, a.y, b.x, b.y);
  return r;
}

}  // namespace

bool IsTracking() {
  return gTracking;
}

void FillClickInfo(ClickInfo* info) {
  if (!info) return;
  info->hit = gCurDocument && SelectFromAllLayers(gCurDocument->firstLayer, info, false) ? 1 : 0;
}

void DoMainPaneClick(HWND pane, int32_t deviceX, int32_t deviceY) {
  DocumentRec* document = reinterpret_cast<DocumentRec*>(GetWindowLongPtrA(pane, 0));
  if (!document || !document->docState || gCurTool == kNoTool || gTracking) return;
  gCurWindow = pane;
  gCurDocument = document;
  HDC dc = GetDC(pane);
  if (!dc) return;
  POINT p = {deviceX, deviceY};
  DPtoLP(dc, &p, 1);
  gShiftKeyProbe = ShiftDownNow;
  SetCapture(pane);
  gMouseCaptured = 1;
  gTracking = true;
  gTrackingDC = dc;
  SetTrackingCancelled(false);
  DoClick(dc, pane, p.x, p.y);
  if (gMouseCaptured) ReleaseMouseCapture();
  gTracking = false;
  gTrackingDC = nullptr;
  ReleaseDC(pane, dc);
}

void DoClick(HDC dc, HWND pane, int32_t x, int32_t y) {
  DocumentRec* document = gCurDocument;
  LayerRec* first = document->firstLayer;
  const int16_t tool = gCurTool;
  const bool shift = ShiftDownNow();
  if (tool == kTextTool) {
    TopLevelObjectAllLayers(first, kOpEndTextEdit, nullptr);
  } else {
    DeactivateTEPane();
    SetFocus(pane);
  }

  ClickInfo info = {};
  info.x = x;
  info.y = y;
  info.shiftState = shift ? static_cast<int16_t>(0x8000) : 0;
  const uint8_t mode = shift ? kToggleMode : kSelectMode;
  bool track = true;
  bool clearedOnEmpty = false;
  if (IsEditTool(tool) && tool != kZoomTool && tool != kTextTool) {
    info.hit = SelectFromAllLayers(first, &info, true) ? 1 : 0;
    if (!info.hit) {
      const ClickInfo press = info;
      info = ClickInfo{};
      info.x = press.x;
      info.y = press.y;
      info.shiftState = press.shiftState;
      info.hit = SelectFromAllLayers(first, &info, false) ? 1 : 0;
    }
    ObjectRec* object = info.object;
    // A press on something not yet selected selects it (Shift toggles it) and ends there.
    auto pressOn = [&](bool selected, auto select) {
      if (!shift && !selected) SelectAllLayers(first, kDeselectMode, true);
      if (!selected || shift) {
        select();
        track = false;
      }
    };
    if (!info.hit) {
      if (!shift) {
        SelectAllLayers(first, kDeselectMode, true);
        clearedOnEmpty = true;
      }
    } else if (info.interiorHit && object) {
      pressOn(IsObjectSelected(object), [&] { SelectObj(GetRootObject(object), mode, true); });
    } else if (info.pointHit && info.point) {
      pressOn(info.point->selected != 0, [&] { SelectObjectPoint(info.point, object, mode, true); });
    } else if (info.segmentHit && info.point && info.nextPoint) {
      pressOn(info.point->selected && info.nextPoint->selected,
              [&] { SelectObjectSpline(info.point, info.nextPoint, object, mode, true); });
    }
  } else {
    SelectAllLayers(first, kDeselectMode, true);
  }

  ShowCurrentSelectionSize();
  if (track) {
    gDataRect = SelectionBounds();
    BeginUndo(document, GetUndoStrIndex(tool));
    gUndoAvail = 0;
    gUndoObject = nullptr;
    gClickInfo = info;
    TrackMouse(dc, pane, x, y);
    if (GetUndoStrIndex(tool) < 0 || !gUndoAvail) DisposeUndo();
  } else if (gMouseCaptured) {
    ReleaseMouseCapture();
  }
  if (gCurDocument == document) {
    RebuildSelectionState();
    UpdateGroupLock();
  }
  if (!clearedOnEmpty) ResetStandardTool();
  UpdateToolMenus();
}

void TrackMouse(HDC, HWND pane, int32_t x, int32_t y) {
  // A click too quick for the loop still places a text block; other tools need a press.
  if (!StillDown() && gCurTool != kTextTool) {
    ReleaseMouseCapture();
    return;
  }
  BeginTracking(x, y);
  POINT previous = {x, y}, next = previous;
  for (;;) {
    const bool down = StillDown();
    if (CheckTrackingCancel()) {
      CancelDrag(previous);
      return;
    }
    GetWindowMouse(pane, &next);
    if (!down) break;
    KeepTracking(next, previous);
    previous = next;
    Sleep(kPollPauseMs);
  }
  EndTracking(next, previous);
}

void BeginTracking(int32_t x, int32_t y) {
  gLineOpposingPtSelected = 0;
  gLineOpposingPoint = nullptr;
  gChangeSnapOK = 0;
  gInfoType = kInfoDrag;
  gXResizeDirection = gYResizeDirection = 1.0f;
  gPrevMouse = {kEmptyBoundsLow, kEmptyBoundsLow};
  UpdateXY(0.0f, 0.0f);
  UpdateScale(100.0f, 100.0f);
  UpdateAngle(0.0f);
  UpdateRadius(0.0f);
  UpdateDiameter(0.0f);
  MaintainModifiers();
  ClearPerpendicularSnap();
  float px, py;
  EvaluatePoint(x, y, &px, &py, true, &gClickInfo, true);
  gPerpAtStart = HasPerpendicularSegment() ? 1 : 0;
  gDownX = px;
  gDownY = py;
  gTrackState.start = {px, py};
  gTrackState.center = {0.0f, 0.0f};
  if (gClickInfo.object) CenterOfObject(gClickInfo.object, &gTrackState.center.x, &gTrackState.center.y);
  SetTrackAngles(px, py);
  gTrackState.startAngle = gTrackState.currentAngle;
  gPressTool = SubstituteTool(gCurTool);
  SnapshotDragSelection();
  if (gPressTool == kResizeTool && gCurTool == kStandardTool) BeginUndo(gCurDocument, kUndoResize);
  if (gPressTool == kFilletTool && gCurTool != kFilletTool) BeginUndo(gCurDocument, kUndoFillet);
  TrackObject(px, py, kStagePress);
  gBeginKeepTracking = 1;
}

void KeepTracking(POINT next, POINT previous) {
  const FloatPoint p = Evaluate(previous);
  if (gBeginKeepTracking) {
    // A snap chosen with one click served the press; a locked one stays.
    ResetSnapTool();
    gBeginKeepTracking = 0;
  }
  gChangeSnapOK = 1;
  MaintainSnapTools();
  gChangeSnapOK = 0;
  const FloatPoint n = Evaluate(next);
  if (p.x == n.x && p.y == n.y && !HaveModifiersChanged()) return;
  SetTrackAngles(p.x, p.y);
  TrackObject(p.x, p.y, kStageMove);
  // Scrolling continues while the mouse rests outside: the moved origin changes the window
  // position of the resting cursor, which the next poll sees as a move.
  AutoScroll(TrackPane(), next.x, next.y);
  MaintainModifiers();
  SetTrackAngles(n.x, n.y);
  TrackObject(n.x, n.y, kStageMove);
  MoveRulerMarks(next.x, next.y);
  float x = n.x, y = n.y;
  if (TrackShift() || gPressTool == kSkewTool) {
    if (std::fabs(std::trunc(y - gDownY)) < std::fabs(std::trunc(x - gDownX)))
      y = gDownY;
    else
      x = gDownX;
  }
  UpdateInfo(gDownX, x, gDownY, y, gInfoType);
}

void EndTracking(POINT, POINT previous) {
  const FloatPoint p = Evaluate(previous);
  gUpX = p.x;
  gUpY = p.y;
  SetTrackAngles(p.x, p.y);
  TrackObject(p.x, p.y, kStageRelease);
  ResetSnapTool();
  gFirstDownX = gDownX;
  gFirstDownY = gDownY;
  gFirstUpX = p.x;
  gFirstUpY = p.y;
  UpdateScale(100.0f, 100.0f);
  ShowCurrentSelectionSize();
  ClearPerpendicularSnap();
  gChangeSnapOK = 1;
}

void TrackObject(float x, float y, int16_t stage) {
  const bool hit = gClickInfo.hit != 0;
  switch (gPressTool) {
    case kStandardTool:
    case kPointTool:
      hit ? TrackTranslate(x, y, stage) : TrackMarquee(x, y, stage);
      break;
    case kResizeTool:
      hit ? TrackScale(x, y, stage) : TrackMarquee(x, y, stage);
      break;
    case kSkewTool:
      hit ? TrackShear(x, y, stage) : TrackMarquee(x, y, stage);
      break;
    case kRotateTool:
      hit ? TrackRotate(x, y, stage) : TrackMarquee(x, y, stage);
      break;
    case kFilletTool:
      hit ? TrackFillet(x, y, stage) : TrackMarquee(x, y, stage);
      break;
    case kChamferTool:
      hit ? TrackChamfer(x, y, stage) : TrackMarquee(x, y, stage);
      break;
    case kTrimTool:
      TrackTrim(x, y, stage);
      break;
    case kZoomTool:
      TrackZoom(x, y, stage);
      break;
    case kRectTool:
      TrackRect(x, y, stage);
      break;
    case kOvalTool:
      TrackOval(x, y, stage);
      break;
    case kPolyTool:
    case kSplineTool:
      TrackPoly(x, y, stage);
      break;
    case kMultiTool:
      TrackMulti(x, y, stage);
      break;
    case kArcTool:
      TrackArc(x, y, stage, gPressTool);
      break;
    case kLineTool:
      TrackLine(x, y, stage);
      break;
    case kOffsetDimTool:
      TrackOffsetDim(x, y, stage);
      break;
    case kLengthDimTool:
      TrackLengthDim(x, y, stage);
      break;
    case kAngleDimTool:
      TrackAngleDim(x, y, stage);
      break;
    case kDiameterDimTool:
      TrackDiameterDim(x, y, stage);
      break;
    case kRadiusDimTool:
      TrackRadiusDim(x, y, stage);
      break;
    case kLeaderDimTool:
      TrackLeaderDim(x, y, stage);
      break;
    case kTextTool:
      TrackText(x, y, stage);
      break;
    default:
      // Any other id has no routine.
      NoRoutine(stage);
      break;
  }
  // A dimension's text and witness lines reach beyond its points: the whole pane is repainted.
  if (IsDimTool(gPressTool) && stage == kStageRelease && TrackPane())
    InvalidateRect(TrackPane(), nullptr, FALSE);
}

// The marquee selects what lies wholly inside the dragged rectangle; a press on the user origin
// (when the axis lines show) drags the origin instead.
void TrackMarquee(float x, float y, int16_t stage) {
  DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  if (!state) {
    if (stage == kStageRelease) ReleaseMouseCapture();
    return;
  }
  if (stage == kStagePress) {
    gMarqueeKind = 1;
    const int32_t ox1 = static_cast<int32_t>(state->originH + 0.5f - kOriginGrip);
    const int32_t oy1 = static_cast<int32_t>(state->originV + 0.5f - kOriginGrip);
    const int32_t ox2 = static_cast<int32_t>(state->originH + 0.5f + kOriginGrip);
    const int32_t oy2 = static_cast<int32_t>(state->originV + 0.5f + kOriginGrip);
    if (state->showAxis && gDownX >= ox1 && gDownX <= ox2 && gDownY >= oy1 && gDownY <= oy2) gMarqueeKind = 2;
  }
  if (gMarqueeKind == 2)
    OriginCross(x, y);
  else
    InvertFrame(MarqueeRect(x, y), true);
  if (stage != kStageRelease) return;
  if (gMarqueeKind == 2) {
    state->originH = x;
    state->originV = y;
    InvalidateRect(TrackPane(), nullptr, FALSE);
    if (gCurDocument->horizontalRuler)
      InvalidateRect(static_cast<HWND>(gCurDocument->horizontalRuler), nullptr, TRUE);
    if (gCurDocument->verticalRuler)
      InvalidateRect(static_cast<HWND>(gCurDocument->verticalRuler), nullptr, TRUE);
  } else {
    const IntRect r = MarqueeRect(x, y);
    SelectAllLayersInRect(gCurDocument->firstLayer, &r, TrackShift() ? kToggleMode : kSelectMode, true);
    RebuildSelectionState();
  }
  ReleaseMouseCapture();
}

bool TrackFrame(float x, float y, IntRect* out) {
  HWND pane = TrackPane();
  const POINT press = ZoomedPoint(x, y);
  IntRect frame = {press.x, press.y, press.x, press.y};
  bool drawn = false;
  while (StillDown()) {
    if (CheckTrackingCancel()) {
      if (drawn) InvertFrame(frame, false);
      return false;
    }
    POINT mouse;
    GetWindowMouse(pane, &mouse);
    IntRect next;
    SetMobiusRect(&next, press.x, press.y, mouse.x, mouse.y);
    if (!drawn || next.left != frame.left || next.top != frame.top || next.right != frame.right ||
        next.bottom != frame.bottom) {
      if (drawn) InvertFrame(frame, false);
      if (AutoScroll(pane, mouse.x, mouse.y)) {
        drawn = false;
        continue;  // the press moved with the scroll; the frame follows from the next poll
      }
      frame = next;
      InvertFrame(frame, false);
      drawn = true;
      UpdateInfo(x, UnzoomF(static_cast<float>(mouse.x)), y, UnzoomF(static_cast<float>(mouse.y)), kInfoDrag);
    }
    Sleep(kPollPauseMs);
  }
  if (drawn) InvertFrame(frame, false);
  *out = frame;
  return true;
}

// The zoom tool follows the mouse itself from the press: a dragged rectangle fills the window,
// a click zooms in (out with Shift) about the clicked point.
void TrackZoom(float x, float y, int16_t stage) {
  DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  if (stage != kStagePress || !state) {
    if (stage == kStageRelease) ReleaseMouseCapture();
    return;
  }
  HWND pane = TrackPane();
  IntRect frame;
  if (!TrackFrame(x, y, &frame)) {
    ReleaseMouseCapture();
    return;
  }
  const int32_t w = frame.right - frame.left, h = frame.bottom - frame.top;
  float cx = x, cy = y;
  if (w > kZoomDragMinimum && h > kZoomDragMinimum) {
    cx = UnzoomF((frame.left + frame.right) / 2.0f);
    cy = UnzoomF((frame.top + frame.bottom) / 2.0f);
    RECT client;
    GetClientRect(pane, &client);
    const float factor = ComputeDragZoomFactor(w + 2 * kZoomDragMargin, h + 2 * kZoomDragMargin,
                                               client.right - client.left, client.bottom - client.top);
    if (factor > 0.0f) state->zoomFactor *= factor;
    PinMaxZoom(state);
  } else {
    state->zoomFactor =
        ComputeClickZoom(state->zoomFactor, state->zoomPercentage, TrackShift() || ShiftDownNow());
    PinMaxZoom(state);
  }
  ChangeZoom(state, cx, cy, true);
  InvalidateRect(pane, nullptr, TRUE);
  ReleaseMouseCapture();
}
