// The metafile recorder.
#include "render/metafile.h"

#include "geometry/zoomhdlr.h"
#include "model/pthndlr.h"
#include "render/drawhdlr.h"

namespace {
constexpr int32_t kPreviewMargin = 5;
}

HMETAFILE MakeMetaFile(METAFILEPICT* size) {
  if (!gCurDocument || !gCurDocument->docState || !gCurDocument->firstLayer) return nullptr;
  const DocState* state = gCurDocument->docState;
  const QDRect paint = {RoundToInt(state->pageRect.left), RoundToInt(state->pageRect.top),
                        RoundToInt(state->pageRect.right), RoundToInt(state->pageRect.bottom)};
  FloatRect bounds = kEmptyRect;
  GetAllLayersBounds(gCurDocument->firstLayer, false, &bounds, false, false);
  const int32_t left = RoundToInt(bounds.left), top = RoundToInt(bounds.top);
  const int32_t width = RoundToInt(bounds.right - bounds.left),
                height = RoundToInt(bounds.bottom - bounds.top);

  HDC dc = CreateMetaFileA(nullptr);
  if (!dc) return nullptr;
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, left - kPreviewMargin, top - kPreviewMargin, nullptr);
  SetWindowExtEx(dc, width + 2 * kPreviewMargin, height + 2 * kPreviewMargin, nullptr);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SetBkMode(dc, TRANSPARENT);
  // The drawing is recorded at zoom 1 and scale 1 whatever the window shows.
  PaintDrawing(PaintTarget{dc, PaintDevice::kMetafile, 1.0f, 1.0f}, gCurDocument, &paint, 0);
  HMETAFILE metafile = CloseMetaFile(dc);
  if (size) {
    size->mm = MM_TEXT;
    size->xExt = width + 1;
    size->yExt = height + 1;
    size->hMF = nullptr;
  }
  return metafile;
}

HMETAFILE MakeLayerMetaFile(LayerRec* layer, DocState* state, METAFILEPICT* size) {
  if (!layer || !layer->firstObject || !state) return nullptr;
  FloatRect bounds = kEmptyRect;
  GetLayerBounds(layer, false, &bounds, false, true);
  if (IsEmptyRect(&bounds)) return nullptr;
  const int32_t left = RoundToInt(bounds.left) - kPreviewMargin,
                top = RoundToInt(bounds.top) - kPreviewMargin;
  const int32_t width = RoundToInt(bounds.right - bounds.left) + 2 * kPreviewMargin;
  const int32_t height = RoundToInt(bounds.bottom - bounds.top) + 2 * kPreviewMargin;
  HDC dc = CreateMetaFileA(nullptr);
  if (!dc) return nullptr;
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, left, top, nullptr);
  SetWindowExtEx(dc, width, height, nullptr);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SetBkMode(dc, TRANSPARENT);
  // The layer painted as a one-layer drawing; the layer keeps its own links.
  DocumentRec drawing = {};
  drawing.firstLayer = layer;
  drawing.currentLayer = layer;
  drawing.docState = state;
  const QDRect paint = {left, top, left + width, top + height};
  PaintDrawing(PaintTarget{dc, PaintDevice::kMetafile, 1.0f, 1.0f}, &drawing, &paint, 0);
  HMETAFILE metafile = CloseMetaFile(dc);
  if (size) {
    // Page units are points: 2540 hundredths of a millimetre make 72 of them.
    constexpr int32_t kHimetricPerInch = 2540, kPointsPerInch = 72;
    size->mm = MM_ANISOTROPIC;
    size->xExt = width * kHimetricPerInch / kPointsPerInch;
    size->yExt = height * kHimetricPerInch / kPointsPerInch;
    size->hMF = nullptr;
  }
  return metafile;
}
