// The rulers beside the drawing pane and the unit box where they meet: their window procedures,
// the cursor marks that follow the mouse, and the alignment of each ruler with the pane's scroll.
#include <windows.h>

#include "render/ruler.h"
#include "shell/cmdids.h"
#include "shell/shell.h"

namespace {

// Each ruler's cursor mark: its position along the ruler (the pane's logical coordinate) and
// where it starts across the ruler.
struct RulerMark {
  int32_t position;
  int32_t start;
};
RulerMark gHorizMark = {0, 0};
RulerMark gVertMark = {0, 0};

DocumentRec* DocumentOfRuler(HWND ruler) {
  HWND drawingWindow = ruler ? GetParent(ruler) : nullptr;
  HWND pane = drawingWindow ? DrawingPaneOf(drawingWindow) : nullptr;
  return pane ? DocumentOfPane(pane) : nullptr;
}

// Puts the ruler's window origin where the pane's logical coordinates line up with it along
// the ruler, and 0 across it.
void AlignRulerWithPane(HWND ruler, HDC dc, bool vertical) {
  HWND drawingWindow = GetParent(ruler);
  HWND pane = drawingWindow ? DrawingPaneOf(drawingWindow) : nullptr;
  POINT paneOrigin = {0, 0};
  if (pane) {
    HDC paneDC = GetDC(pane);  // the pane's own context keeps its scroll origin
    if (paneDC) {
      GetWindowOrgEx(paneDC, &paneOrigin);
      ReleaseDC(pane, paneDC);
    }
  }
  POINT paneCorner = {0, 0};
  if (pane) MapWindowPoints(pane, ruler, &paneCorner, 1);
  if (vertical)
    SetWindowOrgEx(dc, 0, paneOrigin.y - paneCorner.y, nullptr);
  else
    SetWindowOrgEx(dc, paneOrigin.x - paneCorner.x, 0, nullptr);
}

LRESULT OnRulerCreate(HWND window) {
  HDC dc = GetDC(window);  // a ruler's own context keeps these
  SetupRulerContext(dc);
  ReleaseDC(window, dc);
  return 0;
}

LRESULT OnRulerDestroy(HWND window) {
  HDC dc = GetDC(window);
  ReleaseRulerContext(dc);
  ReleaseDC(window, dc);
  return 0;
}

LRESULT OnRulerPaint(HWND window, bool vertical) {
  if (!GetUpdateRect(window, nullptr, FALSE)) return 0;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  DocumentRec* document = DocumentOfRuler(window);
  if (dc && document && document->docState) {
    // The drawing is current while its zoom places the ticks.
    DocumentRec* saved = gCurDocument;
    gCurDocument = document;
    AlignRulerWithPane(window, dc, vertical);
    const RulerMark& mark = vertical ? gVertMark : gHorizMark;
    DrawRulerMark(dc, vertical, mark.position, mark.start);
    RECT client;
    GetClientRect(window, &client);
    DrawRulerGraduation(dc, document->docState, vertical, vertical ? client.right : client.bottom);
    gCurDocument = saved;
  }
  EndPaint(window, &ps);
  return 0;
}

LRESULT OnUnitPaint(HWND window) {
  if (!GetUpdateRect(window, nullptr, FALSE)) return 0;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  DocumentRec* document = DocumentOfRuler(window);
  if (dc && document) DrawRulerUnitName(dc, document->docState);
  EndPaint(window, &ps);
  return 0;
}

// A double-click on a ruler opens the Rulers / Scale dialog of the ruler's drawing.
LRESULT OnRulerDoubleClick(HWND ruler) {
  DocumentRec* document = DocumentOfRuler(ruler);
  HWND pane = document ? DrawingPaneOf(GetParent(ruler)) : nullptr;
  if (!pane) return 0;
  CurrentDrawingScope scope(pane, document);
  SendFrameCommand(CMD_RULERS_SCALE);
  return 0;
}

// Moves one ruler's mark: the old one is drawn again (inverting erases it), then the new one.
void MoveMark(HWND ruler, bool vertical, bool shown, int32_t position) {
  RulerMark& mark = vertical ? gVertMark : gHorizMark;
  if (!ruler || !shown || !IsWindowVisible(ruler)) {
    mark.position = position;
    return;
  }
  HDC dc = GetDC(ruler);
  if (!dc) return;
  AlignRulerWithPane(ruler, dc, vertical);
  DrawRulerMark(dc, vertical, mark.position, mark.start);
  mark.position = position;
  DrawRulerMark(dc, vertical, mark.position, mark.start);
  ReleaseDC(ruler, dc);
}

LRESULT RulerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool vertical, bool unitBox) {
  switch (message) {
    case WM_CREATE:
      return OnRulerCreate(window);
    case WM_PAINT:
      return unitBox ? OnUnitPaint(window) : OnRulerPaint(window, vertical);
    case WM_KEYDOWN:
      HandleKeyDown(wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
      return 0;  // a press only reads the ruler's geometry
    case WM_LBUTTONDBLCLK:
      return OnRulerDoubleClick(window);
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return 0;
    case WM_DESTROY:
      OnRulerDestroy(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK HorizRulerPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RulerMessage(window, message, wParam, lParam, false, false);
}

LRESULT CALLBACK VertRulerPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RulerMessage(window, message, wParam, lParam, true, false);
}

LRESULT CALLBACK RulerUnitPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RulerMessage(window, message, wParam, lParam, false, true);
}

void UpdateHorTick(int32_t x) {
  const DocumentRec* d = gCurDocument;
  if (!d || !d->docState) return;
  MoveMark(static_cast<HWND>(d->horizontalRuler), false, d->docState->showHorizontalRuler != 0, x);
}

void UpdateVerTick(int32_t, int32_t y) {
  const DocumentRec* d = gCurDocument;
  if (!d || !d->docState) return;
  MoveMark(static_cast<HWND>(d->verticalRuler), true, d->docState->showVerticalRuler != 0, y);
}

void MoveRulerMarksTo(int32_t x, int32_t y) {
  UpdateHorTick(x);
  UpdateVerTick(x, y);
}
