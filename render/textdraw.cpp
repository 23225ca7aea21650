// Text of text blocks, painted from the pane's text so the drawing shows it at any zoom and
// on the printer; only the block being typed into has a live edit control, which paints itself.
#include "render/textdraw.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "geometry/zoomhdlr.h"
#include "model/textlines.h"
#include "render/drawhdlr.h"
#include "render/macstuff.h"

namespace {

constexpr int kPlaceholderOffset = 3;

// The pane's font as a logical font; the system font when the pane has none of its own (what
// an edit control shows without one).
void PaneLogicalFont(TextPane pane, LOGFONTA* font) {
  FontRecord record;
  if (GetTextPaneFont(pane, &record)) {
    static_assert(sizeof record == sizeof *font, "FontRecord mirrors LOGFONTA");
    std::memcpy(font, &record, sizeof *font);
    font->lfFaceName[LF_FACESIZE - 1] = '\0';
  } else {
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof *font, font);
  }
}

int MeasureWidth(void* context, const char* text, size_t length) {
  SIZE size = {0, 0};
  GetTextExtentPoint32A(static_cast<HDC>(context), text, static_cast<int>(length), &size);
  return size.cx;
}

}  // namespace

int TextBlockBoxWidth(const ObjectRec* object) {
  const int inset = static_cast<int>(kTextBoxInset);
  const int width =
      static_cast<int>(object->bounds.right) - static_cast<int>(object->bounds.left) - 2 * inset;
  return width > 0 ? width : 0;
}

const TextLineCache* LayOutTextBlock(const ObjectRec* object) {
  TextPane pane = object && object->kind == kTextBlockKind ? TextPaneOf(object) : nullptr;
  TextLineCache* cache = GetTextPaneLineCache(pane);
  if (!cache) return nullptr;
  const uint32_t version = GetTextPaneVersion(pane);
  const int width = TextBlockBoxWidth(object);
  if (cache->valid && cache->version == version && cache->width == width) return cache;
  // Laid out at zoom 1 on a screen context, as the edit control lays it out: every zoom and
  // the printer then show the same lines.
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return nullptr;
  LOGFONTA logical;
  PaneLogicalFont(pane, &logical);
  HFONT font = CreateFontIndirectA(&logical);
  if (!font) {
    DeleteDC(dc);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  try {
    BreakTextLines(TextPaneText(pane), width, metrics.tmAveCharWidth, MeasureWidth, dc, &cache->lines);
    cache->valid = true;
  } catch (const std::bad_alloc&) {
    cache->valid = false;
  }
  cache->version = version;
  cache->width = width;
  cache->lineHeight = metrics.tmHeight;
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return cache->valid ? cache : nullptr;
}

void PrepareForDraw(HWND edit, const ObjectRec* object) {
  if (!object) return;
  HDC dc = PortSessionDC();
  // Being typed into, in the pane that holds its control: the control sits on the box and paints
  // itself. Pictures of the drawing (bitmaps, pages, metafiles) get the text painted.
  const bool live = edit && dc && !IsPrintPath() && IsWindow(edit) && WindowFromDC(dc) == GetParent(edit);
  if (live) {
    const int inset = static_cast<int>(kTextBoxInset);
    POINT corners[2] = {{static_cast<LONG>(ZoomF(object->bounds.left)) + inset,
                         static_cast<LONG>(ZoomF(object->bounds.top)) + inset},
                        {static_cast<LONG>(ZoomF(object->bounds.right)) - inset,
                         static_cast<LONG>(ZoomF(object->bounds.bottom)) - inset}};
    LPtoDP(dc, corners, 2);
    RECT now;
    GetWindowRect(edit, &now);
    MapWindowPoints(HWND_DESKTOP, GetParent(edit), reinterpret_cast<POINT*>(&now), 2);
    if (now.left != corners[0].x || now.top != corners[0].y || now.right != corners[1].x ||
        now.bottom != corners[1].y)
      MoveWindow(edit, corners[0].x, corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y,
                 FALSE);
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    return;
  }
  PaintTextBlock(object);
}

void PaintTextBlock(const ObjectRec* object) {
  TextPane pane = object ? TextPaneOf(object) : nullptr;
  HDC dc = PortSessionDC();
  if (!pane || !dc || GetTextPaneTextLength(pane) == 0) return;
  const TextLineCache* layout = LayOutTextBlock(object);
  if (!layout) return;  // no font or no memory: the text is left out
  FlushPortLines();
  const float sx = PrintScaleH(), sy = PrintScaleV();
  const int inset = static_cast<int>(kTextBoxInset);
  RECT box = {static_cast<LONG>(ZoomF(object->bounds.left) * sx),
              static_cast<LONG>(ZoomF(object->bounds.top) * sy),
              static_cast<LONG>(ZoomF(object->bounds.right) * sx),
              static_cast<LONG>(ZoomF(object->bounds.bottom) * sy)};
  InflateRect(&box, -static_cast<int>(inset * sx), -static_cast<int>(inset * sy));
  LOGFONTA font;
  PaneLogicalFont(pane, &font);
  font.lfHeight = static_cast<LONG>(ZoomL(font.lfHeight) * sy);
  font.lfWidth = static_cast<LONG>(ZoomL(font.lfWidth) * sx);
  HFONT handle = CreateFontIndirectA(&font);
  if (!handle) return;
  const int saved = SaveDC(dc);
  SelectObject(dc, handle);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, DeviceColor(object->penColor));
  if (!IsPrintPath()) IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  const int16_t alignment = GetTextPaneAlignment(pane);
  int x = box.left;
  UINT align = TA_LEFT | TA_TOP | TA_NOUPDATECP;
  if (alignment == kAlignRight) {
    x = box.right;
    align = TA_RIGHT | TA_TOP | TA_NOUPDATECP;
  } else if (alignment == kAlignCentred) {
    x = (box.left + box.right) / 2;
    align = TA_CENTER | TA_TOP | TA_NOUPDATECP;
  }
  SetTextAlign(dc, align);
  const std::string& text = TextPaneText(pane);
  for (size_t i = 0; i < layout->lines.size(); ++i) {
    const TextLine& line = layout->lines[i];
    const int y = box.top + static_cast<int>(i) * metrics.tmHeight;
    if (y > box.bottom && !IsPrintPath()) break;  // clipped away below the box
    // Trailing blanks stay: the control counts them in a line's width when it aligns it.
    if (line.length > 0) TextOutA(dc, x, y, text.data() + line.start, static_cast<int>(line.length));
  }
  RestoreDC(dc, saved);
  DeleteObject(handle);
}

void PaintDimensionTextPlaceholder(const ObjectRec* object) {
  const DimTextInfo* info = object ? DimTextInfoOf(object) : nullptr;
  if (info && info->ownerDimension) return;  // drawn with its dimension
  const int32_t x = RoundToInt(ZoomF(object->bounds.left)) + kPlaceholderOffset;
  const int32_t y = RoundToInt(ZoomF(object->bounds.bottom)) - kPlaceholderOffset;
  if (IsPrintPath()) {
    MoveToEx(PrintPathDC(), RoundToInt(x * PrintScaleH()), RoundToInt(y * PrintScaleV()), nullptr);
  } else {
    HDC dc = PortSessionDC();
    if (!dc) return;
    FlushPortLines();
    MoveToEx(dc, x, y, nullptr);
  }
  DrawString(static_cast<HWND>(gCurWindow), "0.00");
}
