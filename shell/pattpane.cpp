// The Fill patterns toolbox: a chart of 5 x 16 cells; a click chooses the fill pattern and gives
// it to the selected objects.
#include <windows.h>

#include <algorithm>

#include "render/drawhdlr.h"
#include "resources/resids.h"
#include "shell/panes.h"
#include "shell/shell.h"
#include "tools/selhndlr.h"
#include "tools/toolstate.h"

namespace {

constexpr int kHighlightWidth = 2;

const SelectionState* RecordedSelection() {
  return gCurDocument && gCurDocument->docState ? &gCurDocument->docState->selectionState : nullptr;
}

// A ring around the cell, inverted: drawing it twice takes it away.
void InvertCellFrame(HDC dc, int16_t pattern) {
  RECT outer = PatternCellRect(pattern);
  if (IsRectEmpty(&outer)) return;
  RECT inner = outer;
  InflateRect(&inner, -kHighlightWidth, -kHighlightWidth);
  InvertRect(dc, &outer);
  InvertRect(dc, &inner);
}

void PatternPaneDraw(HWND pane, HDC dc, const PaneRec* record) {
  RECT client;
  GetClientRect(pane, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawBitmap(dc, record->bitmap, 0, 0);
  const SelectionState* selection = RecordedSelection();
  if (selection && selection->patternUniform) InvertCellFrame(dc, selection->pattern);
}

}  // namespace

int16_t PatternAtPoint(int x, int y) {
  // The chart's last line of pixels belongs to the last cell, not to a cell past the chart.
  const int column = std::clamp(x / kPatternCell, 0, kPatternColumns - 1);
  const int row = std::clamp(y / kPatternCell, 0, kPatternRows - 1);
  const int pattern = 1 + row * kPatternColumns + column;
  return static_cast<int16_t>(pattern == 1 ? kNoFill : pattern);
}

RECT PatternCellRect(int16_t pattern) {
  RECT r = {0, 0, 0, 0};
  const int index = pattern == kNoFill ? 0 : pattern - 1;
  if (index < 0 || index >= kPatternColumns * kPatternRows || pattern == 1) return r;
  const int column = index % kPatternColumns, row = index / kPatternColumns;
  r.left = column * kPatternCell;
  r.top = row * kPatternCell;
  r.right = r.left + kPatternCell + 1;
  r.bottom = r.top + kPatternCell + 1;
  return r;
}

void ChoosePattern(int16_t pattern) {
  gPattern = pattern;
  DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  if (!state) return;
  SelectedObjectAllLayers(gCurDocument->firstLayer, true, kOpSetPattern, &pattern);
  Refresh();
  state->selectionState.pattern = pattern;
  state->selectionState.patternUniform = 1;
}

LRESULT CALLBACK PatternPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleTitlePane(window, message, lParam)) return 0;
  const PaneRec* record = PaneRecOf(window);
  if (!record || record->id != kPatternPaneId) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      PaintPane(window, [&](HDC dc) { PatternPaneDraw(window, dc, record); });
      return 0;
    case WM_LBUTTONDOWN:
      if (!gCurDocument) return 0;
      ChoosePattern(
          PatternAtPoint(static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))));
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_NCDESTROY:
      FreePaneRec(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
