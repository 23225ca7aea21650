// Zoom arithmetic with the current drawing's zoomFactor, the fitted zoom, and (Windows build)
// the scroll position of the drawing pane: its window origin and scroll bars.
#pragma once

#include <cstdint>
#include <limits>

#include "geometry/geometry.h"
#include "model/docstate.h"

// The drawing pane of the current drawing (an HWND on Windows); null when none.
extern WindowHandle gCurWindow;

// Zoomed page coordinates must stay within this, so the largest zoom is this over the sheet.
constexpr float kMaxZoomedCoordinate = 32000.0f;
// Fitting grows the fitted rectangle by this many page units on each side.
constexpr float kFitMargin = 5.0f;
// Object bounds beyond this are taken as damaged when fitting; the sheet is fitted instead.
constexpr float kFitLimit = 30000.0f;
// Zooms outside this band put text blocks into their painted (passive) state.
constexpr float kTextLiveZoomLow = 0.95f;
constexpr float kTextLiveZoomHigh = 1.05f;
constexpr int kDefaultScrollSpeed = 50;

// The current drawing's zoom, 1 when none is current.
float CurrentZoom();
// A paint that draws at a zoom of its own (a picture at a chosen zoom, a metafile or a printed
// page at zoom 1) sets it for its duration and then puts back what this returned; 0 means the
// current drawing's zoomFactor.
float SwapPaintZoom(float zoom);

float ZoomF(float v);
float UnzoomF(float v);
int32_t ZoomL(int32_t v);
int32_t UnzoomL(int32_t v);
// Both keep 32-bit values: a 16-bit store wraps at high zoom and draws across the window.
void ZoomRect(IntRect* rect);
void ZoomLRect(IntRect* rect);
void ZoomFRect(FloatRect* rect);
void UnzoomFRect(FloatRect* rect);
// A copy of the point with its position and non-zero tangent components zoomed.
PointRec ZoomPoinz(const PointRec* point);

// Float to integer as everywhere in the drawing code: add 0.5, truncate toward zero. Values
// beyond the 32-bit range are clamped instead of wrapping. Inline: a paint calls it for every
// point it draws.
inline int32_t RoundToInt(float v) {
  const float r = v + 0.5f;
  constexpr float kLimit = 2147483520.0f;  // the largest float below 2^31
  if (!(r > -kLimit)) return r != r ? 0 : std::numeric_limits<int32_t>::min();
  if (r >= kLimit) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(r);
}

// std::floor and std::ceil to an integer, clamped as RoundToInt is. Inline, without the library
// call: the cover tests take them for every wide line and filled shape a paint draws.
constexpr double kWholeLimit = 2147483647.0;
// `v` truncated toward zero, or the clamp (0 for NaN) when it lies beyond the 32-bit range.
inline bool ClampWhole(double v, int32_t* whole) {
  if (!(v > -kWholeLimit)) {
    *whole = v != v ? 0 : std::numeric_limits<int32_t>::min();
    return false;
  }
  if (v >= kWholeLimit) {
    *whole = std::numeric_limits<int32_t>::max();
    return false;
  }
  *whole = static_cast<int32_t>(v);
  return true;
}
inline int32_t FloorToInt(double v) {
  int32_t i;
  return ClampWhole(v, &i) ? i - (v < i ? 1 : 0) : i;
}
inline int32_t CeilToInt(double v) {
  int32_t i;
  return ClampWhole(v, &i) ? i + (v > i ? 1 : 0) : i;
}

// The spacing at which a grid of `spacing` screen units is drawn: the smallest whole multiple of it
// that is at least kMinGridLineGap apart, so a fine grid at a small zoom does not paint solid.
// Snapping keeps the true spacing.
constexpr float kMinGridLineGap = 4.0f;
float DisplayedGridSpacing(float spacing);

// Pins zoomFactor to the largest zoom the sheet allows; true when it had to.
bool PinMaxZoom(DocState* state);
// The largest zoom for the sheet: floor(32000 / its larger side), or a fraction for a sheet
// larger than that; 0 for a sheet with no size.
float GetMaxZoom(const DocState* state);

// The rectangle FitToWindow fits (visible objects' bounds, or the sheet), grown by the margin.
FloatRect GetFitRect(const DocumentRec* document, bool sheetOnly);
// The zoom that shows `rect` whole in a client area; 0 when either has no size.
float ComputeFitZoom(const FloatRect* rect, int clientWidth, int clientHeight);
// The window origin ChangeScrollFrame sets for page position (h, v), clamped into the sheet.
void ComputeScrollOrigin(const DocState* state, float h, float v, bool centre, int clientWidth,
                         int clientHeight, int32_t* originX, int32_t* originY);
// The scroll-bar range for a zoomed page extent in a window of `windowSize` pixels.
int32_t ComputeScrollRange(int32_t zoomedLow, int32_t zoomedHigh, int32_t windowSize);

// Window-bound parts (Windows build only).
void ChangeZoom(DocState* state, float h, float v, bool centre);
void ChangeScrollFrame(WindowHandle pane, DocState* state, float h, float v, bool centre);
void FitToWindow(WindowHandle pane, DocState* state);
void FitToDrawing(WindowHandle pane, DocState* state);
void UpdateScrollRanges(WindowHandle hBar, WindowHandle vBar);
void WindowScroll(WindowHandle bar, WindowHandle pane, bool vertical, int32_t delta, bool update,
                  WindowHandle ruler);
// A scroll message of the drawing window: code and thumb position as the platform sends them.
void DocumentScroll(DocumentRec* document, WindowHandle pane, bool vertical, int code, int thumbPosition);
bool AutoScroll(WindowHandle pane, int32_t x, int32_t y);
