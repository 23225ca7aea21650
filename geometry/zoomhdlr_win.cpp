// The window-bound half of zooming and scrolling: the drawing pane's window origin (kept in
// its own device context), the scroll bars, and scrolling during mouse tracking.
#include <windows.h>

#include "geometry/zoomhdlr.h"
#include "model/seam.h"

namespace {

HWND AsWindow(WindowHandle handle) {
  return static_cast<HWND>(handle);
}

// The pane's window origin; (0, 0) when no context can be had.
POINT GetPaneOrigin(HWND pane) {
  POINT origin = {0, 0};
  HDC dc = pane ? GetDC(pane) : nullptr;
  if (!dc) return origin;
  GetWindowOrgEx(dc, &origin);
  ReleaseDC(pane, dc);
  return origin;
}

void SetPaneOrigin(HWND pane, int32_t x, int32_t y) {
  HDC dc = pane ? GetDC(pane) : nullptr;
  if (!dc) return;
  SetWindowOrgEx(dc, x, y, nullptr);
  ReleaseDC(pane, dc);
}

void OffsetPaneOrigin(HWND window, int dx, int dy) {
  HDC dc = window ? GetDC(window) : nullptr;
  if (!dc) return;
  POINT origin;
  GetWindowOrgEx(dc, &origin);
  SetWindowOrgEx(dc, origin.x + dx, origin.y + dy, nullptr);
  ReleaseDC(window, dc);
}

void RedrawNow(WindowHandle window) {
  if (!window) return;
  InvalidateRect(AsWindow(window), nullptr, TRUE);
  UpdateWindow(AsWindow(window));
}

}  // namespace

void ChangeScrollFrame(WindowHandle pane, DocState* state, float h, float v, bool centre) {
  HWND window = AsWindow(pane);
  if (!window) return;
  RECT client;
  GetClientRect(window, &client);
  int32_t x = 0, y = 0;
  ComputeScrollOrigin(state, h, v, centre, client.right - client.left, client.bottom - client.top, &x, &y);
  SetPaneOrigin(window, x, y);
  InvalidateRect(window, nullptr, TRUE);
  if (gCurDocument) UpdateScrollRanges(gCurDocument->hScrollBar, gCurDocument->vScrollBar);
}

// The caller has set zoomFactor already. Text blocks are painted by the drawing code at every
// zoom; only the block being typed into (at zoom 1, with the text tool) has a live editor.
void ChangeZoom(DocState* state, float h, float v, bool centre) {
  if (!state) return;
  ChangeScrollFrame(gCurWindow, state, h, v, centre);
  if (gCurDocument) {
    if (gCurDocument->miscWindow) InvalidateRect(AsWindow(gCurDocument->miscWindow), nullptr, TRUE);
    RedrawNow(gCurDocument->horizontalRuler);
    RedrawNow(gCurDocument->verticalRuler);
  }
}

namespace {

void FitRect(WindowHandle pane, DocState* state, bool sheetOnly) {
  HWND window = AsWindow(pane);
  if (!window || !state) return;
  RECT client;
  GetClientRect(window, &client);
  const FloatRect rect = GetFitRect(gCurDocument, sheetOnly);
  const float zoom = ComputeFitZoom(&rect, client.right - client.left, client.bottom - client.top);
  if (!(zoom > 0.0f)) return;  // a window or sheet with no size keeps the zoom it had
  state->zoomFactor = zoom;
  ChangeZoom(state, static_cast<float>(RoundToInt(rect.left)), static_cast<float>(RoundToInt(rect.top)),
             false);
}

}  // namespace

void FitToWindow(WindowHandle pane, DocState* state) {
  FitRect(pane, state, false);
}

void FitToDrawing(WindowHandle pane, DocState* state) {
  FitRect(pane, state, true);
}

void UpdateScrollRanges(WindowHandle hBar, WindowHandle vBar) {
  HWND pane = AsWindow(gCurWindow);
  if (!pane || !gCurDocument || !gCurDocument->docState) return;
  const DocState* state = gCurDocument->docState;
  RECT outer;
  GetWindowRect(pane, &outer);
  const int32_t width = outer.right - outer.left;
  const int32_t height = outer.bottom - outer.top;
  const float zoom = state->zoomFactor;
  const int32_t left = static_cast<int32_t>(state->pageRect.left * zoom);
  const int32_t right = static_cast<int32_t>(state->pageRect.right * zoom);
  const int32_t top = static_cast<int32_t>(state->pageRect.top * zoom);
  const int32_t bottom = static_cast<int32_t>(state->pageRect.bottom * zoom);
  const POINT origin = GetPaneOrigin(pane);
  if (hBar) {
    SetScrollRange(AsWindow(hBar), SB_CTL, 0, ComputeScrollRange(left, right, width), FALSE);
    SetScrollPos(AsWindow(hBar), SB_CTL, (right - left) < width ? 0 : origin.x, TRUE);
  }
  if (vBar) {
    SetScrollRange(AsWindow(vBar), SB_CTL, 0, ComputeScrollRange(top, bottom, height), FALSE);
    SetScrollPos(AsWindow(vBar), SB_CTL, (bottom - top) < height ? 0 : origin.y, TRUE);
  }
}

void WindowScroll(WindowHandle bar, WindowHandle pane, bool vertical, int32_t delta, bool update,
                  WindowHandle ruler) {
  if (delta == 0 || !bar || !pane) return;
  HWND barWindow = AsWindow(bar);
  int low = 0, high = 0;
  GetScrollRange(barWindow, SB_CTL, &low, &high);
  const int32_t oldPos = GetScrollPos(barWindow, SB_CTL);
  int32_t newPos = oldPos + delta;
  if (newPos > high) newPos = high;
  if (newPos < low) newPos = low;
  if (newPos == oldPos) return;
  const int shift = oldPos - newPos;
  const int dx = vertical ? 0 : shift;
  const int dy = vertical ? shift : 0;
  ScrollWindow(AsWindow(pane), dx, dy, nullptr, nullptr);
  OffsetPaneOrigin(AsWindow(pane), -dx, -dy);
  if (ruler) {
    ScrollWindow(AsWindow(ruler), dx, dy, nullptr, nullptr);
    OffsetPaneOrigin(AsWindow(ruler), -dx, -dy);
  }
  SetScrollPos(barWindow, SB_CTL, newPos, TRUE);
  if (update) {
    UpdateWindow(AsWindow(pane));
    if (ruler) UpdateWindow(AsWindow(ruler));
  }
}

void DocumentScroll(DocumentRec* document, WindowHandle pane, bool vertical, int code, int thumbPosition) {
  if (!document || !pane) return;
  WindowHandle bar = vertical ? document->vScrollBar : document->hScrollBar;
  WindowHandle ruler = vertical ? document->verticalRuler : document->horizontalRuler;
  const int lineStep = document->docState ? document->docState->scrollSpeed : kDefaultScrollSpeed;
  RECT client;
  GetClientRect(AsWindow(pane), &client);
  const int pageStep = vertical ? client.bottom - client.top : client.right - client.left;
  int32_t delta = 0;
  switch (code) {
    case SB_LINEUP:
      delta = -lineStep;
      break;
    case SB_LINEDOWN:
      delta = lineStep;
      break;
    case SB_PAGEUP:
      delta = -pageStep;
      break;
    case SB_PAGEDOWN:
      delta = pageStep;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      delta = thumbPosition - GetScrollPos(AsWindow(bar), SB_CTL);
      break;
    default:
      return;
  }
  WindowScroll(bar, pane, vertical, delta, true, ruler);
}

bool AutoScroll(WindowHandle pane, int32_t x, int32_t y) {
  HWND window = AsWindow(pane);
  if (!window) return false;
  POINT point = {x, y};
  HDC dc = GetDC(window);
  if (dc) {
    LPtoDP(dc, &point, 1);
    ReleaseDC(window, dc);
  }
  RECT client;
  GetClientRect(window, &client);
  if (PtInRect(&client, point)) return false;
  const int step =
      (gCurDocument && gCurDocument->docState) ? gCurDocument->docState->scrollSpeed : kDefaultScrollSpeed;
  if (gCurDocument) {
    if (point.x >= client.right)
      WindowScroll(gCurDocument->hScrollBar, pane, false, step, true, gCurDocument->horizontalRuler);
    else if (point.x < client.left)
      WindowScroll(gCurDocument->hScrollBar, pane, false, -step, true, gCurDocument->horizontalRuler);
    if (point.y >= client.bottom)
      WindowScroll(gCurDocument->vScrollBar, pane, true, step, true, gCurDocument->verticalRuler);
    else if (point.y < client.top)
      WindowScroll(gCurDocument->vScrollBar, pane, true, -step, true, gCurDocument->verticalRuler);
  }
  return true;
}
