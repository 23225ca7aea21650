// The tool buttons of the Edit, Draw and Dimension toolboxes: painting with the current tool
// highlighted, choosing a tool by a click, the double-click actions, the drawing panes' cursor
// per tool and the return to the standard tool.
#include <windows.h>

#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "render/drawhdlr.h"
#include "shell/cmdids.h"
#include "shell/editdlogs.h"
#include "shell/panes.h"
#include "shell/shapedlgs.h"
#include "shell/shell.h"
#include "tools/fillet_win.h"
#include "tools/selhndlr.h"
#include "tools/textpane_win.h"
#include "tools/toolhooks.h"
#include "tools/toolstate.h"

HWND gCurToolPane = nullptr;

namespace {

HWND DrawingPane() {
  return static_cast<HWND>(gCurWindow);
}

bool IsPointTool(int tool) {
  return tool == kPointTool || tool == kTrimTool;
}

// Text is edited at actual size: a zoom out of the live band goes back to 1 about the pane's centre.
void ZoomForText(DocState* state) {
  HWND pane = DrawingPane();
  if (!state || !pane) return;
  if (state->zoomFactor >= kTextLiveZoomLow && state->zoomFactor <= kTextLiveZoomHigh) return;
  RECT client;
  GetClientRect(pane, &client);
  POINT centre = {client.right / 2, client.bottom / 2};
  HDC dc = GetDC(pane);
  if (dc) {
    DPtoLP(dc, &centre, 1);
    ReleaseDC(pane, dc);
  }
  const float h = static_cast<float>(UnzoomL(centre.x)), v = static_cast<float>(UnzoomL(centre.y));
  state->zoomFactor = 1.0f;
  ChangeZoom(state, h, v, true);
}

// What a change of tool asks of the open drawing.
void PrepareDrawingForTool(int16_t previous, int16_t tool) {
  DocumentRec* document = gCurDocument;
  if (!document || !document->docState) return;
  if (tool == kTextTool) {
    if (previous != kTextTool) SelectedObjectAllLayers(document->firstLayer, false, kOpTextActive, nullptr);
    ZoomForText(document->docState);
    return;
  }
  DeactivateTEPane();
  if (previous == kTextTool) SelectedObjectAllLayers(document->firstLayer, false, kOpTextPassive, nullptr);
  const bool pointBefore = IsPointTool(previous), pointNow = IsPointTool(tool);
  gPointOrientation = pointNow ? 1 : 0;
  if (pointBefore == pointNow) return;
  // Objects with some points selected become wholly selected for the object tools; the
  // handles change between the point and the object style.
  if (!pointNow) SelectedObjectAllLayers(document->firstLayer, true, kOpSelect, nullptr);
  Refresh();
}

}  // namespace

ToolCursor CursorForTool(int tool) {
  if (tool == kZoomTool) return ToolCursor::kZoom;
  if (tool >= kTextTool || tool == kTrimTool) return ToolCursor::kCross;
  return ToolCursor::kArrow;
}

void ApplyToolCursor() {
  HWND pane = DrawingPane();
  if (!pane) return;
  HCURSOR cursor = nullptr;
  switch (CursorForTool(gCurTool)) {
    case ToolCursor::kZoom:
      cursor = gZoomCursor;
      break;
    case ToolCursor::kCross:
      cursor = LoadCursorA(nullptr, IDC_CROSS);
      break;
    case ToolCursor::kArrow:
      break;
  }
  if (!cursor) cursor = LoadCursorA(nullptr, IDC_ARROW);
  SetClassLongPtrA(pane, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
  if (!dc || !bitmap) return;
  BITMAP info;
  if (!GetObjectA(bitmap, sizeof info, &info)) return;
  HDC memory = CreateCompatibleDC(dc);
  if (!memory) return;
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void InvertPaneHighlight(HWND pane) {
  if (!pane) return;
  RECT r;
  GetClientRect(pane, &r);
  OffsetRect(&r, 1, 1);  // the client rectangle less its last column and row, moved by one
  HDC dc = GetDC(pane);
  if (!dc) return;
  InvertRect(dc, &r);
  ReleaseDC(pane, dc);
}

void ToolPaneDraw(HDC dc, const PaneRec* record, HWND pane) {
  if (!record) return;
  constexpr int kBitmapX = 1, kBitmapY = 1;
  DrawBitmap(dc, record->bitmap, kBitmapX, kBitmapY);
  if (pane == gCurToolPane) {
    RECT r;
    GetClientRect(pane, &r);
    OffsetRect(&r, 1, 1);
    InvertRect(dc, &r);
  }
}

void ChooseToolPane(HWND pane, int16_t tool) {
  if (!pane || pane == gCurToolPane) return;
  const int16_t previous = gCurTool;
  InvertPaneHighlight(gCurToolPane);
  gCurToolPane = pane;
  gCurTool = tool;
  InvertPaneHighlight(pane);
  ApplyToolCursor();
  PrepareDrawingForTool(previous, tool);
}

void DoToolPaneClick(HDC, const PaneRec* record, HWND pane, UINT message, POINT) {
  if (!record || message != WM_LBUTTONDOWN) return;
  ChooseToolPane(pane, record->id);
}

void DoToolPaneDublClick(const PaneRec* record, HWND) {
  if (!record || !gCurDocument || !gCurDocument->docState) return;
  switch (record->id) {
    case kZoomTool:
      SendFrameCommand(CMD_ACTUAL_SIZE);
      SendFrameCommand(CMD_FIT_TO_DRAWING);
      break;
    case kTextTool:
      SendFrameCommand(CMD_FONTS);
      break;
    case kStandardTool:
      RelocateDLOG();
      break;
    case kPointTool:
      PointDLOG();
      break;
    case kResizeTool:
      ResizeDLOG();
      break;
    case kSkewTool:
      SkewDLOG();
      break;
    case kRotateTool:
      RotateDLOG();
      break;
    case kRectTool:
    case kOvalTool:
    case kPolyTool:
    case kMultiTool:
    case kArcTool:
    case kLineTool:
    case kSplineTool:
      OpenShapeToolDialog(record->id);
      break;
    case kFilletTool:
      FilletDLOG(gFrameWindow);
      break;
    case kChamferTool:
      ChamferDLOG(gFrameWindow);
      break;
    default:
      // The trim and dimension tools have no dialog.
      break;
  }
}

void PaneResetStandardTool() {
  if (!gResetStdTool || !gCurToolPane) return;
  if (gCurTool == kStandardTool || gCurTool == kPointTool || gCurTool == kTextTool) return;
  HWND standard = gEditTools ? GetDlgItem(gEditTools, kStandardTool) : nullptr;
  if (standard) ChooseToolPane(standard, kStandardTool);
}

void LeaveTextTool() {
  if (!gCurToolPane || gCurTool != kTextTool || !gEditTools) return;
  HWND standard = GetDlgItem(gEditTools, kStandardTool);
  if (!standard) return;
  ChooseToolPane(standard, kStandardTool);
  if (DrawingPane()) SetFocus(DrawingPane());
}

LRESULT CALLBACK ToolPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleTitlePane(window, message, lParam)) return 0;
  const PaneRec* record = PaneRecOf(window);
  const POINT position = {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  switch (message) {
    case WM_PAINT:
      PaintPane(window, [&](HDC dc) { ToolPaneDraw(dc, record, window); });
      return 0;
    case WM_LBUTTONDOWN:
      DoToolPaneClick(nullptr, record, window, message, position);
      return 0;
    case WM_LBUTTONDBLCLK:
      DoToolPaneDublClick(record, window);
      return 0;
    case WM_NCDESTROY:
      if (gCurToolPane == window) gCurToolPane = nullptr;
      FreePaneRec(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void InstallToolHooks() {
  gToolHooks.updateXY = PaneUpdateXY;
  gToolHooks.updateWH = PaneUpdateWH;
  gToolHooks.updateAngle = PaneUpdateAngle;
  gToolHooks.updateRadius = PaneUpdateRadius;
  gToolHooks.updateDiameter = PaneUpdateDiameter;
  gToolHooks.updateScale = PaneUpdateScale;
  gToolHooks.updateGroupLock = PaneUpdateGroupLock;
  gToolHooks.updateSelectionStateAreas = PaneUpdateSelectionStateAreas;
  gToolHooks.resetStandardTool = PaneResetStandardTool;
  gToolHooks.updateMenus = UpdateMenus;
  gToolHooks.selectSnapTool = SelectSnapButton;
}
