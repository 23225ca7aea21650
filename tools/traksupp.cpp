#include "tools/traksupp.h"

#include <cmath>
#include <cstdlib>

#include "geometry/gnrlmath.h"
#include "geometry/units.h"
#include "geometry/zoomhdlr.h"
#include "tools/selhndlr.h"
#include "tools/snaphdlr.h"
#include "tools/toolhooks.h"

float gDownX = 0.0f, gDownY = 0.0f;
float gUpX = 0.0f, gUpY = 0.0f;
float gFirstDownX = 0.0f, gFirstDownY = 0.0f, gFirstUpX = 0.0f, gFirstUpY = 0.0f;
uint8_t gMouseCaptured = 0;
uint8_t gBeginKeepTracking = 0;
uint8_t gChangeSnapOK = 1;
int16_t gInfoType = kInfoDrag;
float gXResizeDirection = 1.0f, gYResizeDirection = 1.0f;
FloatRect gDataRect = kEmptyRect;
FloatPoint gSelectionSize = {0.0f, 0.0f};
uint8_t gPerpAtStart = 0;
PointRec* gPerpStartPtz = nullptr;
PointRec* gPerpEndPtz = nullptr;
FloatPoint gPerpFromLoc = {kEmptyBoundsLow, kEmptyBoundsLow};
uint8_t gLineOpposingPtSelected = 0;
PointRec* gLineOpposingPoint = nullptr;
FloatPoint gPrevMouse = {kEmptyBoundsLow, kEmptyBoundsLow};
bool (*gShiftKeyProbe)() = nullptr;

namespace {

const DocState* CurrentState() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}

float NormalisedAngle(float a) {
  // Into (-pi, pi].
  const float pi = static_cast<float>(kPi), turn = static_cast<float>(kFullTurn);
  while (a > pi) a -= turn;
  while (a <= -pi) a += turn;
  return a;
}

}  // namespace

float SnapToSpacing(float v, float spacing) {
  return std::floor(v / spacing + 0.5f) * spacing;
}

bool SnapPointToGrid(const DocState* state, float x, float y, FloatPoint* out) {
  if (!state || !out) return false;
  const float sx = ConvertWorldToScreen(state->snapH, state, true);
  const float sy = ConvertWorldToScreen(state->snapV, state, true);
  if (sx == 0.0f || sy == 0.0f || !std::isfinite(sx) || !std::isfinite(sy)) return false;
  out->x = SnapToSpacing(x, sx);
  out->y = SnapToSpacing(y, sy);
  return true;
}

namespace {

// The current snap applied to a window position: true with the page position in *out. The hit
// test it makes goes into `info` when that holds no hit yet; a press's own hit (made with the
// selected objects first) is kept, since it decides what the press does.
bool SnapWithTool(int32_t x, int32_t y, ClickInfo* info, FloatPoint* out) {
  LayerRec* first = gCurDocument ? gCurDocument->firstLayer : nullptr;
  if (!first) return false;
  ClickInfo hit = {};
  hit.x = x;
  hit.y = y;
  hit.shiftState = info ? info->shiftState : 0;
  ClickInfo second = hit;
  SelectFromAllLayers(first, &hit, false);
  if (info && !info->hit) *info = hit;
  const int16_t snap = gCurTool == kTrimTool ? static_cast<int16_t>(kOnOutlineSnap) : gCurSnap;
  if (!hit.hit && snap != kOriginSnap) return false;
  const int32_t code = PackToolAndSnap(gCurTool, snap);
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  if (snap != kIntersectionSnap) return SnapPoint(&hit, fx, fy, code, first, &out->x, &out->y);
  // The crossing needs the second object under the cursor as well: the hit test again, made to
  // keep its second find, handed to the snap in gClickInfo for the call.
  const ClickInfo saved = gClickInfo;
  const int16_t savedIndex = gSelectIndex;
  gSelectIndex = 2;
  SelectFromAllLayers(first, &second, false);
  gSelectIndex = savedIndex;
  gClickInfo = second;
  const bool snapped = SnapPoint(&hit, fx, fy, code, first, &out->x, &out->y);
  gClickInfo = saved;
  return snapped;
}

}  // namespace

void EvaluatePoint(int32_t x, int32_t y, float* outX, float* outY, bool snap, ClickInfo* info, bool unzoom) {
  float fx = static_cast<float>(x), fy = static_cast<float>(y);
  const bool toolChosen = gCurTool != kNoTool;
  if (snap && toolChosen && gCurSnap != kNoTool && gCurSnap != kNoSnap) {
    FloatPoint page;
    if (SnapWithTool(x, y, info, &page)) {
      // A snapped position is exact in page units: it is not zoomed and unzoomed again.
      if (outX) *outX = unzoom ? page.x : ZoomF(page.x);
      if (outY) *outY = unzoom ? page.y : ZoomF(page.y);
      return;
    }
  }
  const DocState* state = CurrentState();
  if (state && state->snapToGrid && toolChosen && gCurTool != kZoomTool && gCurTool != kTextTool) {
    FloatPoint grid;
    if (SnapPointToGrid(state, fx, fy, &grid)) {
      fx = grid.x;
      fy = grid.y;
    }
  }
  if (unzoom) {
    fx = UnzoomF(fx);
    fy = UnzoomF(fy);
  }
  if (outX) *outX = fx;
  if (outY) *outY = fy;
}

void SetMobiusRect(IntRect* r, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (!r) return;
  r->left = x1 < x2 ? x1 : x2;
  r->right = x1 < x2 ? x2 : x1;
  r->top = y1 < y2 ? y1 : y2;
  r->bottom = y1 < y2 ? y2 : y1;
}

void GetRectBounds(uint16_t modifiers, float x1, float y1, float x2, float y2, FloatRect* f, IntRect* q,
                   bool zoom, bool fromCenter) {
  if (modifiers & kTrackShift) {
    const float side = std::fabs(x2 - x1);
    y2 = y2 <= y1 ? y1 - side : y1 + side;
  }
  LoadFloatAndQDRects(x1, y1, x2, y2, f, q, zoom, fromCenter);
}

void GetOvalBounds(uint16_t modifiers, float x1, float y1, float x2, float y2, FloatRect* f, IntRect* q,
                   bool zoom, bool fromCenter) {
  GetRectBounds(modifiers, x1, y1, x2, y2, f, q, zoom, fromCenter);
}

void LoadFloatAndQDRects(float x1, float y1, float x2, float y2, FloatRect* f, IntRect* q, bool zoom,
                         bool fromCenter) {
  if (zoom) {
    x1 = ZoomF(x1);
    y1 = ZoomF(y1);
    x2 = ZoomF(x2);
    y2 = ZoomF(y2);
  }
  FloatRect r;
  r.top = y1 < y2 ? y1 : y2;
  r.bottom = y1 < y2 ? y2 : y1;
  r.left = x1 < x2 ? x1 : x2;
  r.right = x1 < x2 ? x2 : x1;
  if (fromCenter) {
    // The first point becomes the centre: the far side is mirrored about it.
    if (y2 <= y1)
      r.bottom += y1 - y2;
    else
      r.top -= y2 - y1;
    if (x2 <= x1)
      r.right += x1 - x2;
    else
      r.left -= x2 - x1;
  }
  if (f) *f = r;
  if (q) {
    q->left = static_cast<int>(r.left);
    q->top = static_cast<int>(r.top);
    q->right = static_cast<int>(r.right);
    q->bottom = static_cast<int>(r.bottom);
  }
}

void ConstrainLine(bool shift, bool fromCenter, FloatPoint press, FloatPoint* start, FloatPoint* end) {
  if (shift) {
    if (std::fabs(end->x - start->x) <= std::fabs(end->y - start->y))
      end->x = start->x;
    else
      end->y = start->y;
  }
  if (fromCenter) {
    start->x = 2.0f * press.x - end->x;
    start->y = 2.0f * press.y - end->y;
  }
}

FloatPoint ConstrainMove(float dx, float dy, bool shift) {
  if (shift) {
    if (std::fabs(dx) <= std::fabs(dy))
      dx = 0.0f;
    else
      dy = 0.0f;
  }
  return FloatPoint{dx, dy};
}

void ConstrainOrthogonal(float fromX, float fromY, float* x, float* y) {
  if (std::fabs(*x - fromX) <= std::fabs(*y - fromY))
    *x = fromX;
  else
    *y = fromY;
}

void GetMultigonVertex(float cx, float cy, float x, float y, int sides, int i, float* vx, float* vy) {
  if (sides < 1) sides = 1;
  float radius = 0.0f;
  const float theta0 = GetLineLengthAndAngle(cx, cy, x, y, &radius);
  const float step = static_cast<float>(kFullTurn) / static_cast<float>(sides);
  if (i == sides - 1) {  // exactly the mouse, free of rounding
    *vx = x;
    *vy = y;
    return;
  }
  const float a = theta0 + static_cast<float>(i + 1) * step;
  // Angles count counter-clockwise with y up; the page's y grows downward.
  *vx = cx + radius * std::cos(a);
  *vy = cy - radius * std::sin(a);
}

int16_t MultigonSidesOf(const DocState* state) {
  if (!state) return kDefaultMultigonSides;
  return state->multigonSides;
}

void GetQuarterArc(float x1, float y1, float x2, float y2, FloatRect* rect, int16_t* startDeg,
                   int16_t* arcDeg) {
  // The ellipse is centred below or above the press, level with it and under the mouse.
  const float cx = x2, cy = y1;
  const float rx = std::fabs(x2 - x1), ry = std::fabs(y2 - y1);
  if (rect) *rect = FloatRect{cy - ry, cx - rx, cy + ry, cx + rx};
  const bool right = x2 >= x1, down = y2 >= y1;
  int16_t start, sweep;
  if (right)
    start = 180, sweep = down ? 90 : -90;
  else
    start = 0, sweep = down ? -90 : 90;
  if (startDeg) *startDeg = start;
  if (arcDeg) *arcDeg = sweep;
}

float ComputeArcSweep(float startAngle, float currentAngle, bool shift) {
  float degrees =
      (NormalisedAngle(currentAngle) - NormalisedAngle(startAngle)) * static_cast<float>(kRadiansToDegrees);
  if (degrees == 0.0f) return 0.0f;
  if (degrees < 0.0f) degrees += 360.0f;
  if (!shift) degrees -= 360.0f;
  return degrees;
}

void SetupResize(const FloatRect& data, float pressX, float pressY, ResizeFrame* frame) {
  const float cx = (data.left + data.right) / 2.0f, cy = (data.top + data.bottom) / 2.0f;
  ResizeFrame f;
  if (pressX <= cx) {
    f.movingX = data.left, f.fixedX = data.right, f.xDirection = -1.0f;
  } else {
    f.movingX = data.right, f.fixedX = data.left, f.xDirection = 1.0f;
  }
  if (pressY <= cy) {
    f.movingY = data.top, f.fixedY = data.bottom, f.yDirection = -1.0f;
  } else {
    f.movingY = data.bottom, f.fixedY = data.top, f.yDirection = 1.0f;
  }
  f.scaleX = f.scaleY = true;
  if (std::fabs(f.movingX - cx) < kThinSelection) {
    f.scaleX = false;
    f.fixedX = cx;
  } else if (std::fabs(f.movingY - cy) < kThinSelection) {
    f.scaleY = false;
    f.fixedY = cy;
  }
  *frame = f;
}

void ComputeResizeFactors(const ResizeFrame& frame, float x, float y, bool shift, float* sx, float* sy) {
  // An axis that is not scaled takes the mouse as its moving edge, which gives 1.
  *sx = frame.scaleX ? GetScale(frame.movingX, x, frame.fixedX) : 1.0f;
  *sy = frame.scaleY ? GetScale(frame.movingY, y, frame.fixedY) : 1.0f;
  if (shift) {
    if (std::fabs(frame.movingX - x) <= std::fabs(frame.movingY - y))
      *sx = 1.0f;
    else
      *sy = 1.0f;
  }
}

void ReduceToDominant(float pressX, float pressY, float* x, float* y) {
  if (std::fabs(*x - pressX) <= std::fabs(*y - pressY))
    *x = pressX;
  else
    *y = pressY;
}

float ComputeClickZoom(float zoom, int16_t percentage, bool shift) {
  const float step = static_cast<float>(percentage) / 100.0f;
  if (shift)
    zoom -= zoom > kZoomShrinkThreshold ? step : kZoomSmallStep;
  else
    zoom += step;
  // A negative or zero percentage must not take the zoom through 0.
  if (!(zoom >= kMinZoom)) zoom = kMinZoom;
  return zoom;
}

float ComputeDragZoomFactor(int32_t w, int32_t h, int32_t clientW, int32_t clientH) {
  if (w == 0) w = 1;
  if (h == 0) h = 1;
  const float fx = static_cast<float>(clientW) / static_cast<float>(w);
  const float fy = static_cast<float>(clientH) / static_cast<float>(h);
  return fx < fy ? fx : fy;
}

void ComputeInfoReadouts(const DocState* state, float x1, float x2, float y1, float y2, int infoType,
                         float xDir, float yDir, FloatPoint selection, InfoReadouts* out) {
  const float originH = state ? state->originH : 0.0f, originV = state ? state->originV : 0.0f;
  const float rx = x2 - originH, ry = originV - y2;
  const float rx1 = x1 - originH, ry1 = originV - y1;
  InfoReadouts r = {};
  r.x = rx;
  r.y = ry;
  if (infoType == kInfoDoubled) {
    r.hasSize = true;
    r.width = std::fabs((rx - rx1) * xDir) * 2.0f + selection.x;
    r.height = std::fabs((ry - ry1) * yDir) * 2.0f + selection.y;
  } else if (infoType != kInfoPositionOnly && infoType != kInfoRotate) {
    r.hasSize = true;
    r.width = (rx - rx1) * xDir + selection.x;
    r.height = selection.y - (ry - ry1) * yDir;
    float length = 0.0f;
    const float angle =
        GetLineLengthAndAngle(rx1 - selection.x * xDir, -(selection.y * yDir + ry1), rx, -ry, &length);
    r.hasAngle = true;
    r.angleDegrees = angle * static_cast<float>(kRadiansToDegrees);
  }
  *out = r;
}

void UpdateInfo(float x1, float x2, float y1, float y2, int infoType) {
  const DocState* state = CurrentState();
  InfoReadouts r;
  ComputeInfoReadouts(state, x1, x2, y1, y2, infoType, gXResizeDirection, gYResizeDirection, gSelectionSize,
                      &r);
  if (r.x == gPrevMouse.x && r.y == gPrevMouse.y) return;
  gPrevMouse = FloatPoint{r.x, r.y};
  UpdateXY(ZoomF(r.x), ZoomF(r.y));
  if (r.hasSize) UpdateWH(ZoomF(r.width), ZoomF(r.height));
  if (r.hasAngle) UpdateAngle(r.angleDegrees);
}

bool IsEmptySelectionBounds(const FloatRect& b) {
  return b.top >= kNoSelectionLimit || b.left >= kNoSelectionLimit || b.bottom <= -kNoSelectionLimit ||
         b.right <= -kNoSelectionLimit;
}

void ShowSelectionSize(const FloatRect& bounds, const ObjectRec* onlySelected) {
  if (IsEmptySelectionBounds(bounds)) {
    gSelectionSize = FloatPoint{0.0f, 0.0f};
  } else {
    gSelectionSize = FloatPoint{bounds.right - bounds.left, bounds.bottom - bounds.top};
  }
  UpdateWH(ZoomF(gSelectionSize.x), ZoomF(gSelectionSize.y));
  constexpr float kCircleTolerance = 2.0f;
  float radius = 0.0f, diameter = 0.0f;
  if (onlySelected && onlySelected->kind == kOvalKind &&
      std::fabs(gSelectionSize.x - gSelectionSize.y) < kCircleTolerance) {
    radius = gSelectionSize.x / 2.0f;
    diameter = gSelectionSize.x;
  }
  UpdateRadius(ZoomF(radius));
  UpdateDiameter(ZoomF(diameter));
}

bool IsShiftKeyDown() {
  return gShiftKeyProbe && gShiftKeyProbe();
}

void MaintainModifiers() {
  if (IsShiftKeyDown())
    gTrackModifiers |= kTrackShift;
  else
    gTrackModifiers &= static_cast<uint16_t>(~kTrackShift);
}

bool HaveModifiersChanged() {
  return IsShiftKeyDown() != ((gTrackModifiers & kTrackShift) != 0);
}
