// The Snap toolbox's buttons: the current snap highlighted, a single click choosing a snap for
// one press, a double click locking it (a double frame), Tab moving to the next one.
#include <windows.h>

#include "resources/strings.h"
#include "shell/panes.h"
#include "shell/shell.h"
#include "tools/toolstate.h"

HWND gCurSnapPane = nullptr;

namespace {

constexpr int kLockInset = 2;

void InvertLockFrame(HWND pane, HDC dc) {
  RECT r;
  GetClientRect(pane, &r);
  OffsetRect(&r, 1, 1);
  InflateRect(&r, -kLockInset, -kLockInset);
  InvertRect(dc, &r);
}

// The highlight of `pane` with its lock frame when the snap is locked, drawn or taken away.
void InvertSnapHighlight(HWND pane) {
  if (!pane) return;
  InvertPaneHighlight(pane);
  if (!gSnapLocked) return;
  HDC dc = GetDC(pane);
  if (!dc) return;
  InvertLockFrame(pane, dc);
  ReleaseDC(pane, dc);
}

void MoveSnapHighlight(HWND pane, int16_t snap, bool locked) {
  InvertSnapHighlight(gCurSnapPane);
  gSnapLocked = locked ? 1 : 0;
  gCurSnapPane = pane;
  gCurSnap = snap;
  InvertSnapHighlight(pane);
}

void SnapPaneDraw(HDC dc, const PaneRec* record, HWND pane) {
  if (!record) return;
  DrawBitmap(dc, record->bitmap, 1, 1);
  if (pane != gCurSnapPane) return;
  RECT r;
  GetClientRect(pane, &r);
  OffsetRect(&r, 1, 1);
  InvertRect(dc, &r);
  if (gSnapLocked) InvertLockFrame(pane, dc);
}

void DoSnapPaneClick(const PaneRec* record, HWND pane) {
  if (!record || pane == gCurSnapPane) return;
  MoveSnapHighlight(pane, record->id, false);
}

void DoSnapPaneDublClick(const PaneRec* record, HWND pane) {
  if (!record) return;
  if (record->id == kOriginSnap) {
    // The origin is an absolute position: there is nothing relative to keep locked.
    char text[160], title[40];
    MessageBoxA(gFrameWindow, LoadStr(STR_ORIGIN_SNAP_LOCK, text, sizeof text),
                LoadStr(STR_ORIGIN_SNAP, title, sizeof title), MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (record->id < kNoSnap || record->id >= kOriginSnap) return;
  // The first click made the snap current; the double click adds the lock frame.
  MoveSnapHighlight(pane, record->id, true);
}

}  // namespace

bool SelectSnapButton(int16_t snap, bool locked) {
  if (!gCurSnapPane || !gSnapTools) return false;
  HWND pane = GetDlgItem(gSnapTools, snap);
  if (!pane) return false;
  MoveSnapHighlight(pane, snap, locked);
  return true;
}

LRESULT CALLBACK SnapPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleTitlePane(window, message, lParam)) return 0;
  const PaneRec* record = PaneRecOf(window);
  switch (message) {
    case WM_PAINT:
      PaintPane(window, [&](HDC dc) { SnapPaneDraw(dc, record, window); });
      return 0;
    case WM_LBUTTONDOWN:
      DoSnapPaneClick(record, window);
      return 0;
    case WM_LBUTTONDBLCLK:
      DoSnapPaneDublClick(record, window);
      return 0;
    case WM_NCDESTROY:
      if (gCurSnapPane == window) gCurSnapPane = nullptr;
      FreePaneRec(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
