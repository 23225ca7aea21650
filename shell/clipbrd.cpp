// Cut, Copy, Paste and Clear through the internal clipboard layer, the viewer that shows that
// layer, and the metafile picture of it on the system clipboard.
#include "shell/clipbrd.h"

#include <cstring>

#include "model/docstate.h"
#include "model/pthndlr.h"
#include "render/drawhdlr.h"
#include "render/metafile.h"
#include "shell/shell.h"
#include "tools/scrap.h"
#include "tools/selhndlr.h"
#include "tools/textpane_win.h"
#include "tools/toolhooks.h"

namespace {

// The viewer shows the clipboard's objects this far inside its corner, in pixels.
constexpr int kViewerMargin = 5;
// One scroll-bar arrow moves the view this far, in pixels.
constexpr int kViewerLine = 1;

// After the selection or the drawing changed.
void SelectionChanged() {
  RebuildSelectionState();
  UpdateGroupLock();
  Refresh();
}

// What a copy changes outside the drawing: the viewer and the system clipboard.
void ClipboardChanged() {
  UpdateClipboardViewer();
  PutClipboardPicture();
}

// Cut and Clear: what was copied leaves the drawing, with an undo record that brings it back.
void CutCommand() {
  if (!gCurDocument) return;
  DeactivateTEPane();
  CutObjects();
  SelectionChanged();
  ClipboardChanged();
}

// The settings the clipboard's objects are shown with: the current drawing's, or the defaults
// when none is open, always at zoom 1 without grid, axis or page breaks.
DocState ViewerSettings() {
  DocState state;
  if (gCurDocument && gCurDocument->docState) {
    state = *gCurDocument->docState;
  } else {
    std::memset(&state, 0, sizeof state);
    InitializeDocState(&state);
  }
  state.zoomFactor = 1.0f;
  state.showGrid = state.showAxis = state.showPageBreaks = 0;
  return state;
}

// The window origin that puts the clipboard's bounds at the viewer's corner, scrolled.
POINT ViewerOrigin(HWND window) {
  POINT origin = {GetScrollPos(window, SB_HORZ) - kViewerMargin,
                  GetScrollPos(window, SB_VERT) - kViewerMargin};
  if (!IsEmptyRect(&gScrapBounds)) {
    origin.x += RoundToInt(gScrapBounds.left);
    origin.y += RoundToInt(gScrapBounds.top);
  }
  return origin;
}

void OnViewerPaint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  if (ClipboardHasObjects()) {
    const POINT origin = ViewerOrigin(window);
    SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
    POINT corners[2] = {{ps.rcPaint.left, ps.rcPaint.top}, {ps.rcPaint.right, ps.rcPaint.bottom}};
    DPtoLP(dc, corners, 2);
    const QDRect area = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    DocState state = ViewerSettings();
    DocumentRec shown = {};
    shown.firstLayer = gClipboardLayer;
    shown.currentLayer = gClipboardLayer;
    shown.docState = &state;
    PaintDrawing(PaintTarget{dc, PaintDevice::kScreen, 1.0f, 1.0f}, &shown, &area, 0);
    SetWindowOrgEx(dc, 0, 0, nullptr);
  }
  EndPaint(window, &ps);
}

// The scroll ranges: the clipboard's bounds with the margins, a page being the client area.
void SetViewerRanges(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  int width = 0, height = 0;
  if (!IsEmptyRect(&gScrapBounds)) {
    width = RoundToInt(gScrapBounds.right - gScrapBounds.left) + 2 * kViewerMargin;
    height = RoundToInt(gScrapBounds.bottom - gScrapBounds.top) + 2 * kViewerMargin;
  }
  const struct {
    int bar, extent, page;
  } bars[] = {{SB_HORZ, width, client.right}, {SB_VERT, height, client.bottom}};
  for (const auto& b : bars) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = b.extent > 0 ? b.extent - 1 : 0;
    info.nPage = static_cast<UINT>(b.page > 0 ? b.page : 0);
    SetScrollInfo(window, b.bar, &info, TRUE);
  }
}

LRESULT OnViewerScroll(HWND window, int bar, WPARAM wParam) {
  RECT client;
  GetClientRect(window, &client);
  const int page = bar == SB_HORZ ? client.right : client.bottom;
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(window, bar, &info);
  int delta = 0;
  switch (LOWORD(wParam)) {
    case SB_LINEUP:
      delta = -kViewerLine;
      break;
    case SB_LINEDOWN:
      delta = kViewerLine;
      break;
    case SB_PAGEUP:
      delta = -page;
      break;
    case SB_PAGEDOWN:
      delta = page;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      delta = info.nTrackPos - info.nPos;
      break;
  }
  if (delta) ClipboardScroll(window, bar, delta, true);
  return 0;
}

// Close and the end-session query hide the viewer and give the drawing back the focus.
void HideViewer(HWND window) {
  gClipboardVisible = 0;
  ShowWindow(window, SW_HIDE);
  if (HWND drawing = ActiveDrawingWindow())
    SendMessageA(gClientWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(drawing), 0);
}

// The system clipboard's owner: a message-only window that lives as long as the program.
HWND ClipboardOwner() {
  static HWND owner = nullptr;
  if (!owner)
    owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                            nullptr);
  return owner;
}

}  // namespace

void OnCut(int) {
  CutCommand();
}

void OnClear(int) {
  CutCommand();
}

void OnCopy(int) {
  if (!gCurDocument) return;
  DoCopyObjects();
  ClipboardChanged();
}

void OnPaste(int) {
  if (!gCurDocument) return;
  DeactivateTEPane();
  if (DoPasteObjects() > 0) SelectionChanged();
}

void ClipboardScroll(HWND window, int bar, int delta, bool update) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(window, bar, &info)) return;
  const int last = info.nMax - (info.nPage > 0 ? static_cast<int>(info.nPage) - 1 : 0);
  int position = info.nPos + delta;
  if (position > last) position = last;
  if (position < info.nMin) position = info.nMin;
  const int moved = position - info.nPos;
  if (!moved) return;
  SetScrollPos(window, bar, position, TRUE);
  if (bar == SB_HORZ)
    ScrollWindowEx(window, -moved, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  else
    ScrollWindowEx(window, 0, -moved, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  if (update) UpdateWindow(window);
}

void UpdateClipboardViewer() {
  if (!gClipboard) return;
  SetScrollPos(gClipboard, SB_HORZ, 0, FALSE);
  SetScrollPos(gClipboard, SB_VERT, 0, FALSE);
  SetViewerRanges(gClipboard);
  InvalidateRect(gClipboard, nullptr, TRUE);
}

LRESULT CALLBACK ClipboardDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnViewerPaint(window);
      return 0;
    case WM_SIZE:
      SetViewerRanges(window);
      return 0;
    case WM_HSCROLL:
      return OnViewerScroll(window, SB_HORZ, wParam);
    case WM_VSCROLL:
      return OnViewerScroll(window, SB_VERT, wParam);
    case WM_CLOSE:
      HideViewer(window);
      return 0;
    case WM_QUERYENDSESSION:
      // The viewer holds nothing to save: it never stands in the way of logging off.
      return TRUE;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool PutClipboardPicture() {
  if (!ClipboardHasObjects()) return false;
  DocState state = ViewerSettings();
  METAFILEPICT picture = {};
  HMETAFILE metafile = MakeLayerMetaFile(gClipboardLayer, &state, &picture);
  if (!metafile) return false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
  METAFILEPICT* stored = block ? static_cast<METAFILEPICT*>(GlobalLock(block)) : nullptr;
  if (!stored) {
    if (block) GlobalFree(block);
    DeleteMetaFile(metafile);
    return false;
  }
  picture.hMF = metafile;
  *stored = picture;
  GlobalUnlock(block);
  bool placed = false;
  if (OpenClipboard(ClipboardOwner())) {
    // The system takes the block and the metafile only when SetClipboardData succeeds.
    placed = EmptyClipboard() && SetClipboardData(CF_METAFILEPICT, block);
    CloseClipboard();
  }
  if (!placed) {
    DeleteMetaFile(metafile);
    GlobalFree(block);
  }
  return placed;
}
