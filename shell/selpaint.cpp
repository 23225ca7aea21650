// What the selection and undo code asks of the drawing pane: repaint a page rectangle or the
// whole drawing, and which handles the renderer draws.
#include <windows.h>

#include "geometry/zoomhdlr.h"
#include "render/drawhdlr.h"
#include "shell/shell.h"
#include "tools/selhndlr.h"
#include "tools/toolhooks.h"
#include "tools/undo.h"

namespace {

// The page rectangle, zoomed, grown by `pixels` and turned into the pane's device coordinates.
void InvalidatePageRectInPane(const FloatRect* rect, int pixels) {
  HWND pane = static_cast<HWND>(gCurWindow);
  if (!pane || !rect) return;
  POINT corners[2] = {
      {RoundToInt(ZoomF(rect->left)) - pixels, RoundToInt(ZoomF(rect->top)) - pixels},
      {RoundToInt(ZoomF(rect->right)) + pixels + 1, RoundToInt(ZoomF(rect->bottom)) + pixels + 1}};
  HDC dc = GetDC(pane);
  if (!dc) {
    InvalidateRect(pane, nullptr, TRUE);
    return;
  }
  LPtoDP(dc, corners, 2);
  ReleaseDC(pane, dc);
  const RECT area = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  InvalidateRect(pane, &area, TRUE);
}

}  // namespace

void InstallSelectionHooks() {
  gSelectionHooks.invalidatePageRect = InvalidatePageRectInPane;
  gSelectionHooks.refreshDrawing = Refresh;
  gToolIsPointOrientedHook = CurrentToolIsPointOriented;
  gToolHooks.makeHitOutline = MakeScreenHitOutline;
  InstallUndoHooks();
}
