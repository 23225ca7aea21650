// Zoom and scrolling on a real window with scroll bars (needs a display: skipped without one).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "geometry/zoomhdlr.h"
#include "model/docstate.h"

namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  return DefWindowProcA(window, message, w, l);
}

// A top-level window with a private-context pane and two scroll-bar controls, like a drawing
// window's.
struct ScrollWindow {
  HWND frame = nullptr, pane = nullptr, hBar = nullptr, vBar = nullptr;
  DocumentRec* document = nullptr;
  ScrollWindow(int width, int height) {
    WNDCLASSA pc = {};
    pc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    pc.lpfnWndProc = PlainProc;
    pc.hInstance = GetModuleHandleA(nullptr);
    pc.lpszClassName = "DrxTestPane";
    RegisterClassA(&pc);
    frame = CreateWindowA("DrxTestPane", "scroll", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width + 60,
                          height + 60, nullptr, nullptr, pc.hInstance, nullptr);
    pane = CreateWindowA("DrxTestPane", "", WS_CHILD | WS_VISIBLE, 0, 0, width, height, frame, nullptr,
                         pc.hInstance, nullptr);
    hBar = CreateWindowA("SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, height, width, 16, frame,
                         nullptr, pc.hInstance, nullptr);
    vBar = CreateWindowA("SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, width, 0, 16, height, frame,
                         nullptr, pc.hInstance, nullptr);
    document = CreateDocument();
    document->hScrollBar = hBar;
    document->vScrollBar = vBar;
    gCurDocument = document;
    gCurWindow = pane;
  }
  ~ScrollWindow() {
    gCurWindow = nullptr;
    DeleteDocument(document);
    gCurDocument = nullptr;
    DestroyWindow(frame);
  }
  POINT Origin() {
    POINT origin;
    HDC dc = GetDC(pane);
    GetWindowOrgEx(dc, &origin);
    ReleaseDC(pane, dc);
    return origin;
  }
};

#define REQUIRE_DISPLAY() \
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display: run under xvfb-run (DISPLAY is unset)"

TEST(ScrollWindow, FitZoomScrollRangesAndLineScrolling) {
  REQUIRE_DISPLAY();
  ScrollWindow w(600, 400);
  ASSERT_NE(w.pane, nullptr);
  DocState* state = w.document->docState;
  // An empty drawing fits the letter sheet grown by 5 on each side.
  FitToWindow(w.pane, state);
  EXPECT_NEAR(state->zoomFactor, 400.0f / 802.0f, 1e-5f);
  FitToDrawing(w.pane, state);
  EXPECT_NEAR(state->zoomFactor, 400.0f / 802.0f, 1e-5f);

  state->zoomFactor = 2.0f;
  ChangeZoom(state, 0, 0, false);
  int low = 0, high = 0;
  GetScrollRange(w.hBar, SB_CTL, &low, &high);
  EXPECT_EQ(high, 1224 - (600 - 2));
  GetScrollRange(w.vBar, SB_CTL, &low, &high);
  EXPECT_EQ(high, 1584 - (400 - 2));

  // Line scrolling moves origin and bar together; the end of the range stops it.
  DocumentScroll(w.document, w.pane, false, SB_LINEDOWN, 0);
  EXPECT_EQ(GetScrollPos(w.hBar, SB_CTL), 50);
  EXPECT_EQ(w.Origin().x, 50);
  DocumentScroll(w.document, w.pane, false, SB_THUMBPOSITION, 120);
  EXPECT_EQ(w.Origin().x, 120);
  GetScrollRange(w.hBar, SB_CTL, &low, &high);
  WindowScroll(w.hBar, w.pane, false, high + 500, true, nullptr);
  EXPECT_EQ(w.Origin().x, high);
  DocumentScroll(w.document, w.pane, false, SB_LINEDOWN, 0);
  EXPECT_EQ(w.Origin().x, high);
  DocumentScroll(w.document, w.pane, true, SB_PAGEDOWN, 0);
  EXPECT_EQ(w.Origin().y, 400);

  // Centring a position far right clamps the origin to the zoomed sheet.
  ChangeScrollFrame(w.pane, state, 5000, 10, true);
  EXPECT_EQ(w.Origin().x, 1224);
  EXPECT_EQ(w.Origin().y, 0);

  // Holding the mouse left of and below the pane scrolls left and down.
  ChangeScrollFrame(w.pane, state, 200, 200, false);
  UpdateScrollRanges(w.hBar, w.vBar);
  const POINT before = w.Origin();
  EXPECT_TRUE(AutoScroll(w.pane, before.x - 10, before.y + 410));
  EXPECT_EQ(w.Origin().x, before.x - 50);
  EXPECT_EQ(w.Origin().y, before.y + 50);
  EXPECT_FALSE(AutoScroll(w.pane, w.Origin().x + 10, w.Origin().y + 10));
}

}  // namespace
