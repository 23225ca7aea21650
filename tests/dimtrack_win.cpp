// The second phase of the dimension tools on a real window: paints go through while the band
// follows the mouse, a quit message is passed on, and Escape or a lost capture abandon the
// dimension. Needs a display (the test run has one); skipped without.
#include <windows.h>

#include <gtest/gtest.h>

#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "tools/trakdims_win.h"
#include "tools/trakmous_win.h"
#include "tools/undo.h"

namespace {

int gPaints = 0;
bool gPressAfterPaint = false;

LRESULT CALLBACK TestPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    ++gPaints;
    if (gPressAfterPaint) PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 150));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

struct DimensionLoop : ::testing::Test {
  DocumentRec* document = nullptr;
  HWND pane = nullptr;

  void SetUp() override {
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = TestPane;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DimensionLoopPane";
    RegisterClassA(&wc);
    pane = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                           wc.hInstance, nullptr);
    if (!pane) GTEST_SKIP() << "no display for a window";
    document = CreateDocument();
    ASSERT_NE(document, nullptr);
    gCurWindow = pane;
    gShiftKeyProbe = nullptr;
    gPaints = 0;
    gPressAfterPaint = false;
    // Whatever is waiting from creating the window is painted now.
    UpdateWindow(pane);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    gPaints = 0;
    SetCapture(pane);
    gMouseCaptured = 1;
    SetTrackingCancelled(false);
    gCurTool = kOffsetDimTool;
    gDownX = 20;
    gDownY = 20;
  }
  void TearDown() override {
    if (!pane) return;
    ReleaseCapture();
    DeleteDocument(document);
    DestroyWindow(pane);
    gCurWindow = nullptr;
    gCurTool = kStandardTool;
    SetTrackingCancelled(false);
  }
  int Count() {
    int n = 0;
    for (ObjectRec* o = document->firstLayer->firstObject; o; o = o->nextObject) ++n;
    return n;
  }
  // The release of a first leg from (20, 20) to (120, 60), which starts the second phase.
  void Release() {
    TrackOffsetDim(120, 60, kStagePress);
    TrackOffsetDim(120, 60, kStageRelease);
  }
};

TEST_F(DimensionLoop, PaintsGoThroughAndAPressPlacesTheDimension) {
  InvalidateRect(pane, nullptr, FALSE);
  gPressAfterPaint = true;  // the paint posts the press that ends the phase
  Release();
  EXPECT_EQ(gPaints, 1);
  EXPECT_FALSE(TrackingCancelled());
  ASSERT_EQ(Count(), 2);  // the dimension and its label
  const ObjectRec* dim = document->firstLayer->firstObject;
  EXPECT_TRUE(dim->kind == kOffsetDimVKind || dim->kind == kOffsetDimHKind) << dim->kind;
  EXPECT_EQ(DimInfoOf(dim)->textObject, dim->nextObject);
  EXPECT_EQ(gMouseCaptured, 0);
}

TEST_F(DimensionLoop, QuitIsPassedOnAndAbandonsTheDimension) {
  PostQuitMessage(7);
  Release();
  EXPECT_TRUE(TrackingCancelled());
  EXPECT_EQ(Count(), 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 7u);
}

TEST_F(DimensionLoop, EscapeOrALostCaptureAbandonTheDimension) {
  PostMessageA(pane, WM_KEYDOWN, VK_ESCAPE, 0);
  Release();
  EXPECT_TRUE(TrackingCancelled());
  EXPECT_EQ(Count(), 0);

  SetTrackingCancelled(false);
  SetCapture(pane);
  gMouseCaptured = 1;
  ReleaseCapture();  // another window took the mouse
  Release();
  EXPECT_TRUE(TrackingCancelled());
  EXPECT_EQ(Count(), 0);
}

}  // namespace
