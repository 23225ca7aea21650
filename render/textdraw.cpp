// Text of text blocks, painted from the pane's text so the drawing shows it at any zoom and
// on the printer; the live edit control is the text tool's business.
#include "render/textdraw.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "geometry/zoomhdlr.h"
#include "render/drawhdlr.h"
#include "render/macstuff.h"

namespace {

constexpr int kTextInset = 3;
constexpr int kPlaceholderOffset = 3;
constexpr size_t kMaxText = 65536;

// Splits the text at line breaks, then wraps each line at blanks to `width` pixels, as a
// multi-line edit control without horizontal scrolling does.
std::vector<std::string> WrapLines(HDC dc, const std::string& text, int width) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    while (true) {
      SIZE size = {0, 0};
      GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
      if (size.cx <= width || line.size() <= 1) break;
      // The longest prefix that fits, broken after its last blank when there is one.
      int fit = 0;
      GetTextExtentExPointA(dc, line.c_str(), static_cast<int>(line.size()), width, &fit, nullptr, &size);
      if (fit < 1) fit = 1;
      size_t cut = line.rfind(' ', static_cast<size_t>(fit));
      size_t next = cut;
      if (cut == std::string::npos || cut == 0) {
        cut = static_cast<size_t>(fit);
        next = cut;
      } else {
        next = cut + 1;
      }
      lines.push_back(line.substr(0, cut));
      line = line.substr(next);
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

void PaintTextBlock(const ObjectRec* object) {
  TextPane pane = object ? TextPaneOf(object) : nullptr;
  HDC dc = PortSessionDC();
  if (!pane || !dc) return;
  std::vector<char> buffer(kMaxText);
  const size_t length = GetTextPaneText(pane, buffer.data(), buffer.size());
  if (length == 0) return;
  FlushPortLines();
  const float sx = PrintScaleH(), sy = PrintScaleV();
  RECT box = {static_cast<LONG>(ZoomF(object->bounds.left) * sx),
              static_cast<LONG>(ZoomF(object->bounds.top) * sy),
              static_cast<LONG>(ZoomF(object->bounds.right) * sx),
              static_cast<LONG>(ZoomF(object->bounds.bottom) * sy)};
  InflateRect(&box, -static_cast<int>(kTextInset * sx), -static_cast<int>(kTextInset * sy));
  FontRecord record;
  LOGFONTA font;
  if (GetTextPaneFont(pane, &record)) {
    static_assert(sizeof record == sizeof font, "FontRecord mirrors LOGFONTA");
    std::memcpy(&font, &record, sizeof font);
  } else {
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font);
  }
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
  const std::vector<std::string> lines =
      WrapLines(dc, std::string(buffer.data(), length), static_cast<int>(box.right - box.left));
  for (size_t i = 0; i < lines.size(); ++i)
    TextOutA(dc, x, box.top + static_cast<int>(i) * metrics.tmHeight, lines[i].c_str(),
             static_cast<int>(lines[i].size()));
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
