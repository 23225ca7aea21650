// The Position Info readouts: the cursor position, the size, scale, radius, diameter and angle
// of what is being drawn or changed, in the drawing's units and number format.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "geometry/units.h"
#include "shell/panes.h"
#include "shell/shell.h"

HWND gReadoutPane = nullptr;

namespace {

struct FieldPlace {
  RECT box;  // erased before each value
  int x, y;  // where the text starts (baseline)
  const char* label;
  int labelX;
};

// In ReadoutField order.
const FieldPlace kFields[kReadoutFieldCount] = {
    {{38, 5, 99, 16}, 39, 15, "x", 26},         {{38, 19, 99, 30}, 39, 29, "y", 26},
    {{142, 5, 203, 16}, 143, 15, "w", 129},     {{142, 19, 203, 30}, 143, 29, "h", 129},
    {{217, 5, 248, 16}, 218, 15, "%", 206},     {{217, 19, 248, 30}, 218, 29, "%", 206},
    {{287, 5, 348, 16}, 288, 15, "r", 275},     {{287, 19, 348, 30}, 288, 29, "d", 275},
    {{379, 13, 440, 24}, 380, 23, "\xB0", 367},
};

constexpr float kNoScaleChange = 100.0f;
constexpr double kLargestPercent = 1e9;  // percentages beyond are shown at this size

// The last value of each field, so a repaint shows what the tools last reported.
struct ReadoutValues {
  float value[kReadoutFieldCount];
  bool known[kReadoutFieldCount];
};
ReadoutValues gReadoutValues = {};

const DocState* CurrentState() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}

// A zoomed screen length to the user's length: the zoom out once, then page to world units.
float ScreenToUserLength(float value, const DocState* state) {
  const float zoom = state->zoomFactor > 0.0f ? state->zoomFactor : 1.0f;
  return ConvertScreenToWorld(value / zoom, state, false);
}

// False when the length overflows on its way to world units: the field is left empty.
bool FormatLength(float value, const DocState* state, char* text, size_t size) {
  const float length = ScreenToUserLength(value, state);
  if (!std::isfinite(length)) return false;
  ConvertFloatToString(length, text, size, state, true);
  return true;
}

void DrawField(HDC dc, ReadoutField field, const DocState* state) {
  const FieldPlace& place = kFields[field];
  FillRect(dc, &place.box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!gReadoutValues.known[field]) return;
  const ReadoutField partnerField = field == kReadXScale   ? kReadYScale
                                    : field == kReadYScale ? kReadXScale
                                    : field == kReadWidth  ? kReadHeight
                                    : field == kReadHeight ? kReadWidth
                                                           : field;
  char text[64];
  if (!FormatReadout(field, gReadoutValues.value[field], gReadoutValues.value[partnerField], state, text,
                     sizeof text))
    return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, place.box.left, place.box.top, place.box.right, place.box.bottom);
  TextOutA(dc, place.x, place.y, text, static_cast<int>(std::strlen(text)));
  RestoreDC(dc, saved);
}

void PrepareDC(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
}

// Records the values and redraws their fields at once, when there is a drawing to read them by.
void Show(ReadoutField first, float a, ReadoutField second, float b) {
  gReadoutValues.value[first] = a;
  gReadoutValues.known[first] = true;
  gReadoutValues.value[second] = b;
  gReadoutValues.known[second] = true;
  const DocState* state = CurrentState();
  if (!gReadoutPane || !state) return;
  HDC dc = GetDC(gReadoutPane);
  if (!dc) return;
  PrepareDC(dc);
  DrawField(dc, first, state);
  if (second != first) DrawField(dc, second, state);
  ReleaseDC(gReadoutPane, dc);
}

void PaintReadouts(HDC dc) {
  PrepareDC(dc);
  const DocState* state = CurrentState();
  for (int i = 0; i < kReadoutFieldCount; ++i) {
    const FieldPlace& place = kFields[i];
    TextOutA(dc, place.labelX, place.y, place.label, static_cast<int>(std::strlen(place.label)));
    if (state)
      DrawField(dc, static_cast<ReadoutField>(i), state);
    else
      FillRect(dc, &place.box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
}

}  // namespace

bool FormatReadout(ReadoutField field, float value, float partner, const DocState* state, char* text,
                   size_t size) {
  if (!text || size == 0) return false;
  text[0] = '\0';
  if (!state || !std::isfinite(value)) return false;
  switch (field) {
    case kReadX:
    case kReadY:
      return FormatLength(value, state, text, size);
    case kReadWidth:
    case kReadHeight:
      return value != 0.0f && FormatLength(std::fabs(value), state, text, size);
    case kReadXScale:
    case kReadYScale: {
      if (value == kNoScaleChange && partner == kNoScaleChange) return false;
      const double percent =
          std::fmin(std::fmax(static_cast<double>(value), -kLargestPercent), kLargestPercent);
      std::snprintf(text, size, "%ld%%", static_cast<long>(percent));
      return true;
    }
    case kReadRadius:
    case kReadDiameter:
      return value != 0.0f && FormatLength(value, state, text, size);
    case kReadAngle:
      if (value == 0.0f) return false;
      ConvertFloatToString(value, text, size, state, false);
      return true;
    case kReadoutFieldCount:
      break;
  }
  return false;
}

void PaneUpdateXY(float x, float y) {
  Show(kReadX, x, kReadY, y);
}
void PaneUpdateWH(float width, float height) {
  Show(kReadWidth, width, kReadHeight, height);
}
void PaneUpdateAngle(float degrees) {
  Show(kReadAngle, degrees, kReadAngle, degrees);
}
void PaneUpdateRadius(float radius) {
  Show(kReadRadius, radius, kReadRadius, radius);
}
void PaneUpdateDiameter(float diameter) {
  Show(kReadDiameter, diameter, kReadDiameter, diameter);
}
void PaneUpdateScale(float xPercent, float yPercent) {
  Show(kReadXScale, xPercent, kReadYScale, yPercent);
}

LRESULT CALLBACK ReadoutPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleTitlePane(window, message, lParam)) return 0;
  const PaneRec* record = PaneRecOf(window);
  switch (message) {
    case WM_PAINT:
      if (record && record->id == kReadoutPaneId) {
        PaintPane(window, [&](HDC dc) { PaintReadouts(dc); });
        return 0;
      }
      break;
    case WM_NCDESTROY:
      if (gReadoutPane == window) gReadoutPane = nullptr;
      FreePaneRec(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
