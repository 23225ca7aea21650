// The inverted feedback and the mouse housekeeping every tracking routine shares, and the
// transform tools: move, resize, skew and rotate the selection.
#include <cmath>
#include <vector>

#include "geometry/gnrlmath.h"
#include "geometry/zoomhdlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "render/drawhdlr.h"
#include "tools/selhndlr.h"
#include "tools/trakmous_win.h"
#include "tools/undo.h"

namespace {

bool gCancelled = false;

HPEN DottedPen() {
  static HPEN pen = CreatePen(PS_DOT, 0, RGB(0, 0, 0));
  return pen;
}

// Draws with the pane's context in inverting mode, restoring what it changes.
template <typename Draw>
void WithInvertedPen(bool dotted, Draw draw) {
  HDC dc = TrackDC();
  if (!dc) return;
  const int savedRop = SetROP2(dc, R2_NOT);
  HGDIOBJ savedPen = dotted ? SelectObject(dc, DottedPen()) : nullptr;
  HGDIOBJ savedBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  draw(dc);
  SelectObject(dc, savedBrush);
  if (savedPen) SelectObject(dc, savedPen);
  SetROP2(dc, savedRop);
}

bool IsLine(const ObjectRec* object) {
  return object && object->kind == kLineKind;
}

void ApplyWalk(int op, TransformRec* rec) {
  HCURSOR saved = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  SelectedObjectAllLayers(gCurDocument->firstLayer, true, op, rec);
  SetCursor(saved);
}

// The selection's repaint after a transform: the old and new bounds, or everything when a
// dimension (whose text and witness lines reach beyond its points) was among it.
void InvalidateTransformed(const FloatRect& before) {
  InvalidatePageArea(before, kNewShapeSlop);
  FloatRect after = SelectionBounds();
  InvalidatePageArea(after, kNewShapeSlop);
}

// The selected top-level objects of the visible layers, taken at the press: each step of a
// drag draws just these instead of walking the whole drawing.
std::vector<ObjectRec*> gDragObjects;

// The selection drawn through the preview of `track` in inverting mode.
void DrawSelectionPreview(int toolFlags, const TrackState* track) {
  if (gDragObjects.empty() || !BeginPortSession(nullptr)) return;
  for (ObjectRec* object : gDragObjects)
    DrawObject(object, nullptr, kDrawSelected | kDrawInvert | toolFlags, track);
  EndPortSession();
}

void DrawCorners(const FloatPoint corners[4]) {
  POINT p[5];
  for (int i = 0; i < 4; ++i) p[i] = ZoomedPoint(corners[i].x, corners[i].y);
  p[4] = p[0];
  WithInvertedPen(true, [&](HDC dc) { Polyline(dc, p, 5); });
}

void DataCorners(FloatPoint corners[4]) {
  corners[0] = {gDataRect.left, gDataRect.top};
  corners[1] = {gDataRect.right, gDataRect.top};
  corners[2] = {gDataRect.right, gDataRect.bottom};
  corners[3] = {gDataRect.left, gDataRect.bottom};
}

void DottedDataFrame(float dx, float dy) {
  const POINT a = ZoomedPoint(gDataRect.left + dx, gDataRect.top + dy);
  const POINT b = ZoomedPoint(gDataRect.right + dx, gDataRect.bottom + dy);
  InvertFrame(IntRect{a.x, a.y, b.x, b.y}, true);
}

bool PressedPointOriented() {
  return ToolIsPointOriented(-1, nullptr);
}

// The point of a Line dragged by a press on one of its points or frame handles.
PointRec* DraggedLineEnd(ObjectRec* line) {
  if (gClickInfo.pointHit && gClickInfo.point) return gClickInfo.point;
  PointRec* first = line->firstPoint;
  if (!first) return nullptr;
  const FloatRect& b = line->bounds;
  float cx = b.left, cy = b.top;
  switch (gClickInfo.handle) {
    case 2:
      cx = b.right;
      break;
    case 3:
      cx = b.right, cy = b.bottom;
      break;
    case 4:
      cy = b.bottom;
      break;
    default:
      break;
  }
  const bool atCorner = static_cast<int>(first->x) == static_cast<int>(cx) &&
                        static_cast<int>(first->y) == static_cast<int>(cy);
  return atCorner || !first->nextPoint ? first : first->nextPoint;
}

void SetDirectionsFromPress() {
  const float cx = (gDataRect.left + gDataRect.right) / 2.0f, cy = (gDataRect.top + gDataRect.bottom) / 2.0f;
  gXResizeDirection = gDownX < cx ? -1.0f : 1.0f;
  gYResizeDirection = gDownY < cy ? -1.0f : 1.0f;
}

void RestoreLineOpposingPoint() {
  if (gLineOpposingPtSelected && gLineOpposingPoint) gLineOpposingPoint->selected = 1;
  gLineOpposingPtSelected = 0;
  gLineOpposingPoint = nullptr;
}

ResizeFrame gResize;

}  // namespace

void SnapshotDragSelection() {
  gDragObjects.clear();
  if (!gCurDocument) return;
  for (LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer) {
    if (!layer->visible) continue;
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      if (IsObjectSelected(object)) gDragObjects.push_back(object);
  }
}

HWND TrackPane() {
  return static_cast<HWND>(gCurWindow);
}

HDC TrackDC() {
  HWND pane = TrackPane();
  // The pane's class keeps one context per window, so this is the same context every time.
  return pane ? GetDC(pane) : nullptr;
}

void ReleaseMouseCapture() {
  gMouseCaptured = 0;
  if (GetCapture() == TrackPane()) ReleaseCapture();
}

bool TrackingCancelled() {
  return gCancelled;
}
void SetTrackingCancelled(bool cancelled) {
  gCancelled = cancelled;
}

bool CheckTrackingCancel() {
  if (gCancelled) return true;
  MSG message;
  // Peeking delivers the messages sent to the pane (a capture change among them).
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  if (PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && message.wParam == VK_ESCAPE) {
    PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
    gCancelled = true;
  }
  if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) gCancelled = true;
  if (GetCapture() != TrackPane()) gCancelled = true;
  return gCancelled;
}

void NoteTrackingInterrupted() {
  if (gMouseCaptured) gCancelled = true;
}

void InvertLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const POINT p[2] = {{x1, y1}, {x2, y2}};
  InvertPolyline(p, 2);
}

void InvertPolyline(const POINT* points, int count) {
  if (count < 2) return;
  WithInvertedPen(false, [&](HDC dc) { Polyline(dc, points, count); });
}

void InvertFrame(const IntRect& r, bool dotted) {
  const POINT p[5] = {{r.left, r.top},
                      {r.right + 1, r.top},
                      {r.right + 1, r.bottom + 1},
                      {r.left, r.bottom + 1},
                      {r.left, r.top}};
  WithInvertedPen(dotted, [&](HDC dc) { Polyline(dc, p, 5); });
}

void InvertEllipse(const IntRect& r) {
  WithInvertedPen(false, [&](HDC dc) { Ellipse(dc, r.left, r.top, r.right + 1, r.bottom + 1); });
}

POINT ZoomedPoint(float x, float y) {
  POINT p = {static_cast<LONG>(ZoomF(x)), static_cast<LONG>(ZoomF(y))};
  return p;
}

void InvalidatePageArea(const FloatRect& rect, int pixels) {
  HWND pane = TrackPane();
  if (!pane) return;
  if (IsEmptySelectionBounds(rect)) {
    InvalidateRect(pane, nullptr, FALSE);
    return;
  }
  POINT corners[2] = {ZoomedPoint(rect.left, rect.top), ZoomedPoint(rect.right, rect.bottom)};
  HDC dc = TrackDC();
  if (dc) LPtoDP(dc, corners, 2);
  RECT r = {corners[0].x - pixels, corners[0].y - pixels, corners[1].x + pixels + 1,
            corners[1].y + pixels + 1};
  InvalidateRect(pane, &r, FALSE);
}

FloatRect SelectionBounds() {
  FloatRect bounds = kEmptyRect;
  if (gCurDocument) GetAllLayersObjBounds(gCurDocument->firstLayer, true, &bounds, false);
  return bounds;
}

void ShowCurrentSelectionSize() {
  const ObjectRec* only = nullptr;
  if (gCurDocument && CountSelectedObjects(gCurDocument->firstLayer, kOpCount) == 1)
    only = GetASelectedObject(1);
  ShowSelectionSize(SelectionBounds(), only);
}

ClickLoopEvent NextClickLoopEvent(void (*hide)(), void (*show)(), MSG* out) {
  MSG message;
  if (GetCapture() != TrackPane() || gCancelled) return kLoopCancel;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    return kLoopIdle;
  }
  switch (message.message) {
    case WM_QUIT:
      PostQuitMessage(static_cast<int>(message.wParam));
      return kLoopCancel;
    case WM_PAINT:
      hide();
      DispatchMessageA(&message);
      show();
      return kLoopIdle;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (out) *out = message;
      return kLoopPress;
    case WM_KEYDOWN:
      if (message.wParam == VK_ESCAPE) return kLoopCancel;
      if (message.wParam == VK_TAB) return kLoopTab;
      return kLoopIdle;
    case WM_CANCELMODE:
      return kLoopCancel;
    default:
      // Other input is dropped while the figure is open; timers and the like still run.
      if (message.message < WM_KEYFIRST || message.message > WM_MOUSELAST) DispatchMessageA(&message);
      return gCancelled ? kLoopCancel : kLoopIdle;
  }
}

void SwallowDoubleClick() {
  const DWORD until = GetTickCount() + static_cast<DWORD>(GetDblTime());
  MSG message;
  while (static_cast<int32_t>(until - GetTickCount()) > 0) {
    while (PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    Sleep(10);
  }
}

// Move: the selection (or a Line's dragged end) follows the mouse.
void TrackTranslate(float x, float y, int16_t stage) {
  ObjectRec* pressed = gClickInfo.object;
  const bool line = IsLine(pressed);
  if (stage == kStagePress) {
    if (!line) UpdateWH(0.0f, 0.0f);
    if (line && (gClickInfo.pointHit || gClickInfo.handleHit)) {
      SetDirectionsFromPress();
      PointRec* dragged = DraggedLineEnd(pressed);
      PointRec* other = dragged ? (dragged->nextPoint ? dragged->nextPoint : pressed->firstPoint) : nullptr;
      if (other && other != dragged && other->selected) {
        other->selected = 0;
        gLineOpposingPtSelected = 1;
        gLineOpposingPoint = other;
      }
    }
  }
  const FloatPoint d = ConstrainMove(x - gDownX, y - gDownY, TrackShift());
  if (pressed) {
    const bool pointOriented = PressedPointOriented();
    if (!line && !pointOriented) DottedDataFrame(d.x, d.y);
    if (d.x != 0.0f || d.y != 0.0f || line || pointOriented) {
      TrackState track = gTrackState;
      track.start = {gDownX, gDownY};
      track.current = {gDownX + d.x, gDownY + d.y};
      DrawSelectionPreview(kDrawPreviewTranslate | kMoveSelectedUnlockedOnly, &track);
    }
  }
  if (stage != kStageRelease) return;
  gUpX = gDownX + d.x;
  gUpY = gDownY + d.y;
  if (d.x != 0.0f || d.y != 0.0f) {
    const FloatRect before = SelectionBounds();
    TransformRec rec = {};
    rec.dx = d.x;
    rec.dy = d.y;
    ApplyWalk(kOpTranslate, &rec);
    // The record takes the points that moved, before the Line's other end is selected again.
    RecordUndoTranslate(d.x, d.y);
    InvalidateTransformed(before);
  }
  RestoreLineOpposingPoint();
  ReleaseMouseCapture();
}

// Resize: the corner of the selection nearest the press follows the mouse; the opposite one
// stays.
void TrackScale(float x, float y, int16_t stage) {
  if (stage == kStagePress) {
    gUndoXScale = gUndoYScale = 1.0f;
    SetupResize(gDataRect, gDownX, gDownY, &gResize);
    gXResizeDirection = gResize.xDirection;
    gYResizeDirection = gResize.yDirection;
    // The drag acts as if it had started exactly on the corner.
    gDownX = gResize.movingX;
    gDownY = gResize.movingY;
  }
  float sx, sy;
  ComputeResizeFactors(gResize, x, y, TrackShift(), &sx, &sy);
  if (gClickInfo.object) {
    FloatPoint corners[4];
    DataCorners(corners);
    for (FloatPoint& c : corners) Scale(&c.x, &c.y, gResize.fixedX, gResize.fixedY, sx, sy);
    DrawCorners(corners);
    if (sx != 1.0f || sy != 1.0f) {
      // The preview scales by start -> current about the centre: give it the same factors.
      TrackState track = gTrackState;
      track.center = {gResize.fixedX, gResize.fixedY};
      track.start = {gResize.fixedX + 1.0f, gResize.fixedY + 1.0f};
      track.current = {gResize.fixedX + sx, gResize.fixedY + sy};
      DrawSelectionPreview(kDrawPreviewScale | kMoveSelectedUnlockedOnly, &track);
    }
  }
  UpdateScale(sx * 100.0f, sy * 100.0f);
  if (stage != kStageRelease) return;
  gUpX = x;
  gUpY = y;
  // A factor of 0 would flatten the selection beyond recovery (and its undo divides by it).
  if ((sx != 1.0f || sy != 1.0f) && sx != 0.0f && sy != 0.0f && std::isfinite(sx) && std::isfinite(sy)) {
    const FloatRect before = SelectionBounds();
    TransformRec rec = {};
    rec.scaleX = sx;
    rec.scaleY = sy;
    rec.centerX = gResize.fixedX;
    rec.centerY = gResize.fixedY;
    ApplyWalk(kOpScale, &rec);
    gUndoXScale = sx;
    gUndoYScale = sy;
    gUndoXOrigin = gResize.fixedX;
    gUndoYOrigin = gResize.fixedY;
    RecordUndoScale(sx, sy, gResize.fixedX, gResize.fixedY);
    InvalidateTransformed(before);
  } else if (sx == 0.0f || sy == 0.0f) {
    MessageBeep(0);
  }
  ReleaseMouseCapture();
}

// Skew: the selection sheared along the dominant direction of the drag.
void TrackShear(float x, float y, int16_t stage) {
  gInfoType = kInfoDoubled;
  if (stage == kStagePress) SetDirectionsFromPress();
  ReduceToDominant(gDownX, gDownY, &x, &y);
  const FloatPoint centre = gTrackState.center;
  if (gClickInfo.object) {
    FloatPoint corners[4];
    DataCorners(corners);
    for (FloatPoint& c : corners) Shear(gDownX, gDownY, x, y, &c.x, &c.y, centre.x, centre.y);
    DrawCorners(corners);
    if (x != gDownX || y != gDownY || PressedPointOriented()) {
      TrackState track = gTrackState;
      track.start = {gDownX, gDownY};
      track.current = {x, y};
      DrawSelectionPreview(kDrawPreviewShear | kMoveSelectedUnlockedOnly, &track);
    }
  }
  if (stage != kStageRelease) return;
  gUpX = x;
  gUpY = y;
  if (x != gDownX || y != gDownY) {
    const FloatRect before = SelectionBounds();
    TransformRec rec = {};
    rec.shearStartX = gDownX;
    rec.shearStartY = gDownY;
    rec.shearEndX = x;
    rec.shearEndY = y;
    rec.centerX = centre.x;
    rec.centerY = centre.y;
    ApplyWalk(kOpShear, &rec);
    RecordUndoShear(gDownX, gDownY, x, y, centre.x, centre.y);
    InvalidateTransformed(before);
  }
  ReleaseMouseCapture();
}

// Rotate: the selection turned about the pressed object's centre by the angle the mouse swept.
void TrackRotate(float x, float y, int16_t stage) {
  if (stage == kStagePress) {
    UpdateWH(0.0f, 0.0f);
    gInfoType = kInfoRotate;
  }
  const FloatPoint centre = gTrackState.center;
  float length = 0.0f;
  const float a1 = GetLineLengthAndAngle(centre.x, centre.y, gDownX, gDownY, &length);
  const float a2 = GetLineLengthAndAngle(centre.x, centre.y, x, y, &length);
  const float angle = GetRotate(a1, a2);
  float degrees = angle * static_cast<float>(kRadiansToDegrees);
  if (degrees < 0.0f) degrees += 360.0f;
  UpdateAngle(degrees);
  if (gClickInfo.object) {
    FloatPoint corners[4];
    DataCorners(corners);
    for (FloatPoint& c : corners) Rotate(&c.x, &c.y, centre.x, centre.y, angle);
    DrawCorners(corners);
    if (angle != 0.0f || PressedPointOriented()) {
      TrackState track = gTrackState;
      track.startAngle = a1;
      track.currentAngle = a2;
      DrawSelectionPreview(kDrawPreviewRotate | kMoveSelectedUnlockedOnly, &track);
    }
  }
  if (stage != kStageRelease) return;
  gUpX = x;
  gUpY = y;
  if (angle != 0.0f) {
    const FloatRect before = SelectionBounds();
    TransformRec rec = {};
    rec.angle = angle;
    rec.centerX = centre.x;
    rec.centerY = centre.y;
    ApplyWalk(kOpRotate, &rec);
    RecordUndoRotate(angle, centre.x, centre.y);
    InvalidateTransformed(before);
  }
  ReleaseMouseCapture();
}

void AbandonTransform() {
  RestoreLineOpposingPoint();
}
