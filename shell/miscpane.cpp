// The misc pane at the bottom left of each drawing window: the zoom and the drawing scale.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "geometry/units.h"
#include "resources/resids.h"
#include "resources/strings.h"
#include "shell/panes.h"
#include "shell/shell.h"

namespace {

// The unit texts by unit code 1..8: after the sheet length, and after the world length.
const int kScreenUnitTexts[] = {STR_SCALE_INCH,     STR_SCALE_INCH + 1, STR_SCALE_INCH + 2,
                                STR_SCALE_INCH + 3, STR_SCALE_INCH + 4, STR_SCALE_INCH + 5,
                                STR_SCALE_INCH + 6, STR_SCALE_INCH + 7};
const int kWorldUnitTexts[] = {STR_SUFFIX_INCH, STR_SUFFIX_FOOT, STR_UNIT_YD, STR_UNIT_MI,
                               STR_UNIT_MM,     STR_UNIT_CM,     STR_UNIT_DM, STR_UNIT_M};

// A unit code read from a file may be anything: outside 1..8 it is taken as the nearest end.
int UnitIndex(int unit) {
  if (unit < kUnitInches) return 0;
  if (unit > kUnitMetres) return kUnitMetres - kUnitInches;
  return unit - kUnitInches;
}

constexpr int kZoomClipLeft = 3, kZoomClipTop = 2, kZoomClipRight = 36, kZoomClipBottom = 12;
constexpr int kZoomTextX = 6, kScaleTextX = 59, kTextBaseline = 11;
constexpr int kScaleClipLeft = 41, kScaleClipRight = 170;

void DrawClippedText(HDC dc, const RECT& clip, int x, const char* text) {
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  TextOutA(dc, x, kTextBaseline, text, static_cast<int>(std::strlen(text)));
  RestoreDC(dc, saved);
}

void MiscDraw(HWND pane, HDC dc) {
  HBITMAP picture = LoadBitmapA(gAppInstance, MAKEINTRESOURCEA(IDB_MISC_PANE));
  if (picture) {
    DrawBitmap(dc, picture, 0, 0);
    DeleteObject(picture);
  }
  const DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  // The pane belongs to one drawing window: its own drawing, not necessarily the current one.
  if (HWND drawingPane = DrawingPaneOf(GetParent(pane)))
    if (DocumentRec* document = DocumentOfPane(drawingPane)) state = document->docState;
  if (!state) return;
  char text[96];
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
  GetZoomString(state, text, sizeof text);
  DrawClippedText(dc, {kZoomClipLeft, kZoomClipTop, kZoomClipRight, kZoomClipBottom}, kZoomTextX, text);
  GetScaleString(state, text, sizeof text);
  DrawClippedText(dc, {kScaleClipLeft, kZoomClipTop, kScaleClipRight, kZoomClipBottom}, kScaleTextX, text);
}

}  // namespace

void GetZoomString(const DocState* state, char* text, size_t size) {
  if (!text || size == 0) return;
  text[0] = '\0';
  if (!state) return;
  std::snprintf(text, size, "%0.0f%%", static_cast<double>(state->zoomFactor) * 100.0);
}

void GetScaleString(const DocState* state, char* text, size_t size) {
  if (!text || size == 0) return;
  text[0] = '\0';
  if (!state) return;
  char screenUnit[32], worldUnit[32];
  LoadStr(kScreenUnitTexts[UnitIndex(state->screenUnit)], screenUnit, sizeof screenUnit);
  LoadStr(kWorldUnitTexts[UnitIndex(state->worldUnit)], worldUnit, sizeof worldUnit);
  std::snprintf(text, size, "%0.2f%s%0.2f%s", static_cast<double>(state->screenScale), screenUnit,
                static_cast<double>(state->worldScale), worldUnit);
  ConvertToInternational(text);
}

LRESULT CALLBACK MiscPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && GetWindowLongPtrA(window, 0) == 1) {
    PaintPane(window, [&](HDC dc) { MiscDraw(window, dc); });
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
