// Where a drawing window puts its child windows: plain arithmetic on the window's client size
// and the system's scroll-bar sizes, so it can be checked without windows.
#pragma once

struct ChildRect {
  int x, y, width, height;
};

inline bool operator==(const ChildRect& a, const ChildRect& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

struct DrawingLayout {
  ChildRect mainPane, toolbar, hRuler, vRuler, rulerUnit, hScroll, vScroll, sizeBox, miscPane;
};

// W, H: the drawing window's client size; V: the width of a vertical scroll bar; S: the height
// of a horizontal one.
struct DrawingMetrics {
  int clientWidth, clientHeight, vScrollWidth, hScrollHeight;
};

// The rectangles the children are created with, before the first size message.
DrawingLayout ComputeCreationLayout(const DrawingMetrics& m);
// The rectangles after a resize, by the drawing's toolbar and rulers settings.
DrawingLayout ComputeDrawingLayout(const DrawingMetrics& m, bool toolbarShown, bool rulersShown);
