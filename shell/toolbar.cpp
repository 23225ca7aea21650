// The toolbar strip at the top of each drawing window: one-click commands, the grid and axis
// toggles shown pressed while on, the group and lock indicators, the fill and pen swatches of
// the selection and the toolbox pop-up menu.
#include <windows.h>

#include "model/docstate.h"
#include "resources/resids.h"
#include "resources/strings.h"
#include "shell/cmdids.h"
#include "shell/cmdtable.h"
#include "shell/panes.h"
#include "shell/shell.h"
#include "tools/selhndlr.h"

namespace {

constexpr int kButtonTop = 1, kButtonBottom = 19, kSwatchTop = 4, kSwatchBottom = 17;

// Left to right; the first button containing the press wins. Edges are inclusive.
const ToolbarButton kButtons[] = {
    {7, kButtonTop, 27, kButtonBottom, ToolbarAction::kCommand, CMD_MIRROR_HORIZONTAL},
    {34, kButtonTop, 54, kButtonBottom, ToolbarAction::kCommand, CMD_FLIP_VERTICAL},
    {55, kButtonTop, 75, kButtonBottom, ToolbarAction::kCommand, CMD_FLIP_HORIZONTAL},
    {82, kButtonTop, 102, kButtonBottom, ToolbarAction::kFrameCommand, CMD_GROUP},
    {103, kButtonTop, 123, kButtonBottom, ToolbarAction::kFrameCommand, CMD_UNGROUP},
    {130, kButtonTop, 150, kButtonBottom, ToolbarAction::kCommand, CMD_LOCK},
    {151, kButtonTop, 171, kButtonBottom, ToolbarAction::kCommand, CMD_UNLOCK},
    {178, kButtonTop, 198, kButtonBottom, ToolbarAction::kCommand, CMD_JOIN},
    {199, kButtonTop, 219, kButtonBottom, ToolbarAction::kCommand, CMD_UNJOIN},
    {226, kButtonTop, 246, kButtonBottom, ToolbarAction::kDropper, 0},
    {271, kSwatchTop, 280, kSwatchBottom, ToolbarAction::kCommand, CMD_FILL_COLOR},
    {301, kSwatchTop, 310, kSwatchBottom, ToolbarAction::kCommand, CMD_PEN_COLOR},
    {318, kButtonTop, 338, kButtonBottom, ToolbarAction::kCommand, CMD_GRID_LINES},
    {339, kButtonTop, 359, kButtonBottom, ToolbarAction::kCommand, CMD_SNAP_TO_GRID},
    {366, kButtonTop, 386, kButtonBottom, ToolbarAction::kCommand, CMD_AXIS_LINES},
    {393, kButtonTop, 413, kButtonBottom, ToolbarAction::kCommand, CMD_FIT_TO_WINDOW},
    {414, kButtonTop, 434, kButtonBottom, ToolbarAction::kCommand, CMD_ACTUAL_SIZE},
    {472, kButtonTop, 490, kButtonBottom, ToolbarAction::kToolboxMenu, 0},
};

// The toggles shown pressed while their setting is on.
const RECT kGridBox = {318, 1, 338, 19}, kSnapBox = {339, 1, 359, 19}, kAxisBox = {366, 1, 386, 19};
const RECT kFillSwatch = {271, 4, 280, 17}, kPenSwatch = {301, 4, 310, 17};
constexpr COLORREF kNoColour = RGB(192, 192, 192);
constexpr int kColourScale = 257;  // 16-bit intensity per 8-bit step

// Group and lock indicators: 0 nothing selected, 1 the "on" box, 2 the "off" box.
struct IndicatorBoxes {
  RECT on, off;
};
const IndicatorBoxes kGroupBoxes = {{82, 1, 102, 19}, {103, 1, 123, 19}};
const IndicatorBoxes kLockBoxes = {{130, 1, 150, 19}, {151, 1, 171, 19}};
int gGroupState = 0, gLockState = 0;

// The press in progress: the button shown inverted while the mouse stays on it.
struct ToolbarPress {
  HWND toolbar;
  const ToolbarButton* button;
  bool shown;
};
ToolbarPress gToolbarPress = {};

bool ButtonWorks(const ToolbarButton& button) {
  switch (button.action) {
    case ToolbarAction::kCommand:
    case ToolbarAction::kFrameCommand:
      return IsCommandBuilt(button.command);
    case ToolbarAction::kToolboxMenu:
      return true;
    case ToolbarAction::kDropper:  // arrives with the colour commands
    case ToolbarAction::kNone:
      break;
  }
  return false;
}

RECT ButtonRect(const ToolbarButton& button) {
  return {button.left, button.top, button.right + 1, button.bottom + 1};
}

void InvertBox(HDC dc, const RECT& box) {
  InvertRect(dc, &box);
}

RECT Inset(const RECT& r) {
  return {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

void InvertIndicator(HDC dc, const IndicatorBoxes& boxes, int state, bool inset) {
  if (state == 1) InvertBox(dc, inset ? Inset(boxes.on) : boxes.on);
  if (state == 2) InvertBox(dc, inset ? Inset(boxes.off) : boxes.off);
}

COLORREF SwatchColour(uint8_t uniform, const RGB16& colour) {
  if (!uniform) return kNoColour;
  return RGB(colour.red / kColourScale, colour.green / kColourScale, colour.blue / kColourScale);
}

void PaintSwatch(HDC dc, const RECT& box, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  FillRect(dc, &box, brush);
  DeleteObject(brush);
}

void PaintSwatches(HDC dc, const DocumentRec* document) {
  const DocState* state = document ? document->docState : nullptr;
  if (!state) return;
  const SelectionState& s = state->selectionState;
  PaintSwatch(dc, kFillSwatch, SwatchColour(s.fillColorUniform, s.fillColor));
  PaintSwatch(dc, kPenSwatch, SwatchColour(s.penColorUniform, s.penColor));
}

DocumentRec* DocumentOfToolbar(HWND toolbar) {
  return DocumentOfPane(DrawingPaneOf(GetParent(toolbar)));
}

void ToolbarDraw(HWND toolbar, HDC dc) {
  HBITMAP picture = LoadBitmapA(gAppInstance, MAKEINTRESOURCEA(IDB_TOOLBAR));
  if (picture) {
    DrawBitmap(dc, picture, 0, 0);
    DeleteObject(picture);
  }
  DocumentRec* document = DocumentOfToolbar(toolbar);
  if (document == gCurDocument) RefreshGroupLock(dc);
  const DocState* state = document ? document->docState : nullptr;
  if (!state) return;
  if (state->showGrid) InvertBox(dc, kGridBox);
  if (state->snapToGrid) InvertBox(dc, kSnapBox);
  if (state->showAxis) InvertBox(dc, kAxisBox);
  PaintSwatches(dc, document);
}

void ShowToolboxMenu(HWND toolbar, const ToolbarButton& button) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  const uint8_t bits[] = {kEditToolsBit, kDrawToolsBit, kSnapToolsBit, kDimToolsBit, kReadoutsBit};
  for (int i = 0; i <= CMD_POPUP_TOOLBOX_POSITION - CMD_POPUP_TOOLBOX_EDIT; ++i) {
    char text[40];
    const UINT flags = MF_STRING | ((gVisibleTools & bits[i]) ? MF_CHECKED : MF_UNCHECKED);
    AppendMenuA(menu, flags, static_cast<UINT_PTR>(CMD_POPUP_TOOLBOX_EDIT + i),
                LoadStr(STR_TOOLBOX_EDIT + i, text, sizeof text));
  }
  POINT at = {button.left, button.bottom};
  ClientToScreen(toolbar, &at);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, gFrameWindow, nullptr);
  DestroyMenu(menu);
}

void RunButton(HWND toolbar, const ToolbarButton& button) {
  switch (button.action) {
    case ToolbarAction::kCommand:
    case ToolbarAction::kFrameCommand:
      SendFrameCommand(button.command);
      break;
    case ToolbarAction::kToolboxMenu:
      ShowToolboxMenu(toolbar, button);
      break;
    case ToolbarAction::kDropper:
    case ToolbarAction::kNone:
      break;
  }
}

void ShowPressed(bool pressed) {
  if (pressed == gToolbarPress.shown || !gToolbarPress.toolbar) return;
  gToolbarPress.shown = pressed;
  HDC dc = GetDC(gToolbarPress.toolbar);
  if (!dc) return;
  InvertBox(dc, ButtonRect(*gToolbarPress.button));
  ReleaseDC(gToolbarPress.toolbar, dc);
}

LRESULT OnToolbarMouse(HWND toolbar, UINT message, LPARAM lParam) {
  const POINT at = {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  switch (message) {
    case WM_LBUTTONDOWN:
      DoToolbarClick(toolbar, at);
      break;
    case WM_MOUSEMOVE:
      if (gToolbarPress.toolbar == toolbar) ShowPressed(ToolbarButtonAt(at.x, at.y) == gToolbarPress.button);
      break;
    case WM_LBUTTONUP: {
      if (gToolbarPress.toolbar != toolbar) break;
      const ToolbarButton* button = gToolbarPress.button;
      const bool inside = ToolbarButtonAt(at.x, at.y) == button;
      ShowPressed(false);
      gToolbarPress = {};
      ReleaseCapture();
      if (inside && gCurDocument) RunButton(toolbar, *button);
      break;
    }
    case WM_CAPTURECHANGED:
      if (gToolbarPress.toolbar != toolbar) break;
      ShowPressed(false);
      gToolbarPress = {};
      break;
  }
  return 0;
}

}  // namespace

const ToolbarButton* ToolbarButtonAt(int x, int y) {
  for (const ToolbarButton& button : kButtons)
    if (x >= button.left && x <= button.right && y >= button.top && y <= button.bottom) return &button;
  return nullptr;
}

void DoToolbarClick(HWND toolbar, POINT position) {
  if (!gCurDocument) return;
  const ToolbarButton* button = ToolbarButtonAt(position.x, position.y);
  if (!button || !ButtonWorks(*button)) return;
  gToolbarPress = {toolbar, button, false};
  SetCapture(toolbar);
  ShowPressed(true);
}

int GroupIndicatorState(int32_t selected, int32_t groups) {
  if (selected <= 0) return 0;
  return groups == selected ? 1 : 2;
}

int LockIndicatorState(int32_t selected, int32_t locked) {
  if (selected <= 0) return 0;
  return locked > 0 ? 1 : 2;
}

void RefreshGroupLock(HDC dc) {
  InvertIndicator(dc, kGroupBoxes, gGroupState, true);
  InvertIndicator(dc, kLockBoxes, gLockState, true);
}

void PaneUpdateGroupLock() {
  DocumentRec* document = gCurDocument;
  if (!document || !document->docState || !document->docState->showToolbar || !document->toolbarWindow)
    return;
  LayerRec* layers = document->firstLayer;
  // With nothing selected the boxes are off whatever the other counts: two walks of a large
  // drawing saved on every click on empty paper.
  const int32_t selected = CountSelectedObjects(layers, kOpCount);
  const int32_t groups = selected > 0 ? CountSelectedObjects(layers, kOpCountGroups) : 0;
  const int32_t locked = selected > 0 ? CountSelectedObjects(layers, kOpCountLocked) : 0;
  const int group = GroupIndicatorState(selected, groups);
  const int lock = LockIndicatorState(selected, locked);
  if (group == gGroupState && lock == gLockState) return;
  HWND toolbar = static_cast<HWND>(document->toolbarWindow);
  HDC dc = GetDC(toolbar);
  if (!dc) return;
  RefreshGroupLock(dc);  // the old states off
  gGroupState = group;
  gLockState = lock;
  RefreshGroupLock(dc);
  ReleaseDC(toolbar, dc);
}

void PaneUpdateSelectionStateAreas() {
  DocumentRec* document = gCurDocument;
  if (document && document->toolbarWindow) {
    HWND toolbar = static_cast<HWND>(document->toolbarWindow);
    if (HDC dc = GetDC(toolbar)) {
      PaintSwatches(dc, document);
      ReleaseDC(toolbar, dc);
    }
  }
  if (gPatterns) {
    HWND chart = GetDlgItem(gPatterns, kPatternPaneId);
    if (chart) InvalidateRect(chart, nullptr, FALSE);
  }
}

LRESULT CALLBACK ToolbarPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintPane(window, [&](HDC dc) { ToolbarDraw(window, dc); });
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      return OnToolbarMouse(window, message, lParam);
    case WM_KEYDOWN:
      HandleKeyDown(wParam, lParam);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
