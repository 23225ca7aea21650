// Where a drawing window puts its child windows.
#include "shell/layout.h"

namespace {

// The toolbar strip and the rulers are this thick; the borders of neighbours overlap by one.
constexpr int kStripThickness = 22;
// The misc pane at the bottom-left is this wide; the horizontal scroll bar starts 2 pixels
// before its right edge so the two share a border.
constexpr int kMiscWidth = 176;
constexpr int kHScrollLeft = 174;

}  // namespace

DrawingLayout ComputeCreationLayout(const DrawingMetrics& m) {
  const int W = m.clientWidth, H = m.clientHeight, V = m.vScrollWidth, S = m.hScrollHeight;
  DrawingLayout l;
  l.mainPane = {20, 41, W + 3 - V - 21, H - 18 - S - 21};
  l.toolbar = {-1, -1, W + 2, kStripThickness};
  l.hRuler = {20, 20, W + 2 - V, kStripThickness};
  l.vRuler = {-1, 41, kStripThickness, H + 2 - S};
  l.rulerUnit = {-1, 20, kStripThickness, kStripThickness};
  l.hScroll = {kHScrollLeft, H - S + 1, W + 3 - V - 175, S};
  l.vScroll = {W - V + 1, 20, V, H - 18 - S};
  l.sizeBox = {W - V + 1, H - S + 1, V, S};
  l.miscPane = {-1, H - S + 1, kMiscWidth, S};
  return l;
}

DrawingLayout ComputeDrawingLayout(const DrawingMetrics& m, bool toolbarShown, bool rulersShown) {
  const int W = m.clientWidth, H = m.clientHeight, V = m.vScrollWidth, S = m.hScrollHeight;
  DrawingLayout l;
  if (toolbarShown && rulersShown)
    l.mainPane = {27, 48, W - V - 25, H - S - 46};
  else if (toolbarShown)
    l.mainPane = {6, 27, W - V - 4, H - S - 25};
  else if (rulersShown)
    l.mainPane = {27, 27, W - V - 25, H - S - 25};
  else
    l.mainPane = {6, 6, W - V - 4, H - S - 4};
  l.toolbar = {-1, -1, W + 2, kStripThickness};
  if (toolbarShown) {
    l.hRuler = {20, 20, W + 3 - V - 21, kStripThickness};
    l.vRuler = {-1, 41, kStripThickness, H + 2 - S - 41};
    l.rulerUnit = {-1, 20, kStripThickness, kStripThickness};
    l.vScroll = {W - V + 1, 20, V, H - 18 - S};
  } else {
    l.hRuler = {20, -1, W + 3 - V - 21, kStripThickness};
    l.vRuler = {-1, 20, kStripThickness, H + 2 - S - 20};
    l.rulerUnit = {-1, -1, kStripThickness, kStripThickness};
    l.vScroll = {W - V + 1, -1, V, H + 3 - S};
  }
  l.hScroll = {kHScrollLeft, H - S + 1, W + 3 - V - 175, S};
  l.sizeBox = {W - V + 1, H - S + 1, V, S};
  l.miscPane = {-1, H - S + 1, kMiscWidth, S};
  return l;
}
