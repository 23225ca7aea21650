// Zoom arithmetic and the fitted zoom, independent of any window.
#include "geometry/zoomhdlr.h"

#include <cmath>
#include <limits>

#include "model/objstuff.h"
#include "model/pthndlr.h"

WindowHandle gCurWindow = nullptr;

namespace {
float gPaintZoom = 0.0f;  // set only for the length of a paint
}

float SwapPaintZoom(float zoom) {
  const float previous = gPaintZoom;
  gPaintZoom = zoom;
  return previous;
}

float CurrentZoom() {
  if (gPaintZoom > 0.0f) return gPaintZoom;
  if (!gCurDocument || !gCurDocument->docState) return 1.0f;
  return gCurDocument->docState->zoomFactor;
}

float ZoomF(float v) {
  const float zoom = CurrentZoom();
  return zoom == 1.0f ? v : v * zoom;
}

float UnzoomF(float v) {
  const float zoom = CurrentZoom();
  return (zoom == 1.0f || zoom == 0.0f) ? v : v / zoom;
}

float DisplayedGridSpacing(float spacing) {
  if (!(spacing > 0.0f) || spacing >= kMinGridLineGap) return spacing;
  return std::ceil(kMinGridLineGap / spacing) * spacing;
}

int32_t ZoomL(int32_t v) {
  const float zoom = CurrentZoom();
  return zoom == 1.0f ? v : RoundToInt(static_cast<float>(v) * zoom);
}

int32_t UnzoomL(int32_t v) {
  const float zoom = CurrentZoom();
  return (zoom == 1.0f || zoom == 0.0f) ? v : RoundToInt(static_cast<float>(v) / zoom);
}

void ZoomRect(IntRect* rect) {
  ZoomLRect(rect);
}

void ZoomLRect(IntRect* rect) {
  if (!rect) return;
  rect->left = ZoomL(rect->left);
  rect->top = ZoomL(rect->top);
  rect->right = ZoomL(rect->right);
  rect->bottom = ZoomL(rect->bottom);
}

void ZoomFRect(FloatRect* rect) {
  if (!rect) return;
  rect->top = ZoomF(rect->top);
  rect->left = ZoomF(rect->left);
  rect->bottom = ZoomF(rect->bottom);
  rect->right = ZoomF(rect->right);
}

void UnzoomFRect(FloatRect* rect) {
  if (!rect) return;
  rect->top = UnzoomF(rect->top);
  rect->left = UnzoomF(rect->left);
  rect->bottom = UnzoomF(rect->bottom);
  rect->right = UnzoomF(rect->right);
}

PointRec ZoomPoinz(const PointRec* point) {
  PointRec copy = *point;
  copy.x = ZoomF(copy.x);
  copy.y = ZoomF(copy.y);
  if (copy.inTangentX != 0.0f) copy.inTangentX = ZoomF(copy.inTangentX);
  if (copy.inTangentY != 0.0f) copy.inTangentY = ZoomF(copy.inTangentY);
  if (copy.outTangentX != 0.0f) copy.outTangentX = ZoomF(copy.outTangentX);
  if (copy.outTangentY != 0.0f) copy.outTangentY = ZoomF(copy.outTangentY);
  return copy;
}

float GetMaxZoom(const DocState* state) {
  if (!state) return 0.0f;
  const float width = state->pageRect.right - state->pageRect.left;
  const float height = state->pageRect.bottom - state->pageRect.top;
  const float side = width > height ? width : height;
  if (!(side > 0.0f)) return 0.0f;
  const float whole = std::floor(kMaxZoomedCoordinate / side);
  // A sheet wider than the coordinate range would pin the zoom to 0; it gets the exact fraction.
  return whole >= 1.0f ? whole : kMaxZoomedCoordinate / side;
}

bool PinMaxZoom(DocState* state) {
  const float maxZoom = GetMaxZoom(state);
  if (!(maxZoom > 0.0f) || !(state->zoomFactor > maxZoom)) return false;
  state->zoomFactor = maxZoom;
  return true;
}

FloatRect GetFitRect(const DocumentRec* document, bool sheetOnly) {
  FloatRect rect = kEmptyRect;
  const DocState* state = document ? document->docState : nullptr;
  if (!sheetOnly && document) GetAllLayersBounds(document->firstLayer, false, &rect, true, false);
  const bool unusable = rect.top >= kEmptyBoundsLow || rect.left >= kEmptyBoundsLow ||
                        rect.top < -kFitLimit || rect.left < -kFitLimit || rect.bottom > kFitLimit ||
                        rect.right > kFitLimit;
  if ((sheetOnly || unusable) && state) rect = state->pageRect;
  rect.top -= kFitMargin;
  rect.left -= kFitMargin;
  rect.bottom += kFitMargin;
  rect.right += kFitMargin;
  return rect;
}

float ComputeFitZoom(const FloatRect* rect, int clientWidth, int clientHeight) {
  if (!rect) return 0.0f;
  const float width = rect->right - rect->left;
  const float height = rect->bottom - rect->top;
  if (!(width > 0.0f) || !(height > 0.0f) || clientWidth <= 0 || clientHeight <= 0) return 0.0f;
  const float zx = static_cast<float>(clientWidth) / width;
  const float zy = static_cast<float>(clientHeight) / height;
  return zx < zy ? zx : zy;
}

void ComputeScrollOrigin(const DocState* state, float h, float v, bool centre, int clientWidth,
                         int clientHeight, int32_t* originX, int32_t* originY) {
  const float zoom = state ? state->zoomFactor : 1.0f;
  int32_t x = RoundToInt(static_cast<float>(static_cast<int32_t>(h)) * zoom);
  int32_t y = RoundToInt(static_cast<float>(static_cast<int32_t>(v)) * zoom);
  if (centre && (h != 0.0f || v != 0.0f)) {
    x -= clientWidth / 2;
    y -= clientHeight / 2;
  }
  if (state) {
    const int32_t left = RoundToInt(state->pageRect.left * zoom);
    const int32_t top = RoundToInt(state->pageRect.top * zoom);
    const int32_t right = RoundToInt(state->pageRect.right * zoom);
    const int32_t bottom = RoundToInt(state->pageRect.bottom * zoom);
    if (x > right)
      x = right;
    else if (x < left)
      x = left;
    if (y > bottom)
      y = bottom;
    else if (y < top)
      y = top;
  }
  if (originX) *originX = x;
  if (originY) *originY = y;
}

int32_t ComputeScrollRange(int32_t zoomedLow, int32_t zoomedHigh, int32_t windowSize) {
  const int32_t range = zoomedHigh - zoomedLow - (windowSize - 2);
  return range > 0 ? range : 0;
}
