// The drawing pane: paints its drawing and takes the keys and the mouse for it.
#include <windows.h>
#include <windowsx.h>

#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "render/drawhdlr.h"
#include "shell/shell.h"
#include "tools/textpane.h"
#include "tools/textpane_win.h"
#include "tools/toolhooks.h"
#include "tools/trakmous_win.h"
#include "tools/traksupp.h"

namespace {

LRESULT OnPaneCreate(HWND pane) {
  HDC dc = GetDC(pane);  // the pane's own context keeps these
  if (dc) {
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    ReleaseDC(pane, dc);
  }
  SetFocus(pane);
  return 0;
}

LRESULT OnPanePaint(HWND pane) {
  DocumentRec* document = DocumentOfPane(pane);
  CurrentDrawingScope scope(pane, document);
  if (!GetUpdateRect(pane, nullptr, FALSE)) return 0;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(pane, &ps);
  if (dc) PaintDrawingPane(dc, document, ps.rcPaint);
  EndPaint(pane, &ps);
  return 0;
}

LRESULT OnPaneMouseMove(HWND pane, WPARAM flags, LPARAM position) {
  gModifiers = static_cast<uint16_t>(flags);
  DocumentRec* document = DocumentOfPane(pane);
  CurrentDrawingScope scope(pane, document);
  // The rulers' marks follow the hover in the pane's logical coordinates.
  POINT p = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (HDC dc = GetDC(pane)) {
    DPtoLP(dc, &p, 1);
    ReleaseDC(pane, dc);
  }
  MoveRulerMarks(p.x, p.y);
  // The position readout follows the hover too, unsnapped, in the drawing's units.
  if (document && document->docState) {
    float x = 0.0f, y = 0.0f;
    EvaluatePoint(p.x, p.y, &x, &y, false, nullptr, true);
    constexpr int kPositionOnly = 0;
    UpdateInfo(x, x, y, y, kPositionOnly);
  }
  return 0;
}

LRESULT OnPaneLeftDown(HWND pane, WPARAM flags, LPARAM position) {
  gModifiers = static_cast<uint16_t>(flags);
  DoMainPaneClick(pane, GET_X_LPARAM(position), GET_Y_LPARAM(position));
  return 0;
}

LRESULT OnPaneDestroy(HWND pane) {
  DocumentRec* document = DocumentOfPane(pane);
  SetWindowLongPtrA(pane, 0, 0);
  if (gCurWindow == pane) gCurWindow = nullptr;
  if (document) {
    // The drawing is freed with the pane as its current one, so text panes find their owner;
    // typing ends while the live control is still there to give its text back.
    CurrentDrawingScope scope(pane, document);
    if (HWND edit = static_cast<HWND>(document->activeTextWindow))
      CloseTextEditor(MatchTextPaneAllLayers(document->firstLayer, edit, false));
    document->activeTextWindow = nullptr;
    DeleteDocument(document);
  }
  if (gCurDocument == document) gCurDocument = nullptr;
  return 0;
}

}  // namespace

LRESULT CALLBACK MainDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnPaneCreate(window);
    case WM_PAINT:
      return OnPanePaint(window);
    case WM_KEYDOWN:
      HandleKeyDown(wParam, lParam);
      break;
    case WM_LBUTTONDOWN:
      return OnPaneLeftDown(window, wParam, lParam);
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      NoteTrackingInterrupted();
      break;
    case WM_MOUSEMOVE:
      return OnPaneMouseMove(window, wParam, lParam);
    case WM_COMMAND:
      if (OnTextEditorCommand(wParam, lParam)) return 0;
      break;
    case WM_DESTROY:
      return OnPaneDestroy(window);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Grid, axis and page breaks, the shaded surround of the sheet, every visible layer and the
// selection handles, through the renderer's one paint routine.
void PaintDrawingPane(HDC dc, DocumentRec* document, const RECT& update) {
  if (!document || !document->docState) return;
  POINT corners[2] = {{update.left, update.top}, {update.right, update.bottom}};
  DPtoLP(dc, corners, 2);
  const QDRect area = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  PaintDrawing(dc, document, &area, kPaintStandard);
}

LRESULT CALLBACK BlankPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}
