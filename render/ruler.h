// The rulers' graduation: ticks and labels in the drawing's screen unit at its drawing scale,
// counted from the user origin, the origin line, the unit name and the dotted cursor marks.
// Everything draws into a given context whose window origin lines the ruler up with the drawing
// pane: a horizontal ruler's logical x is the pane's logical x, a vertical ruler's y the pane's y.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/docstate.h"

// The ruler units after screenUnit's mapping (inches stay 1, millimetres and centimetres drop
// by 3).
enum RulerUnit { kRulerInches = 1, kRulerMillimetres = 2, kRulerCentimetres = 3 };

// The tick rule of a drawing: step between ticks (page units, before zoom), ticks per labelled
// major tick and the label value added per major tick.
struct RulerScale {
  RulerUnit unit;
  float step;
  int majorCount;
  long valuePerMajor;
};
// False when the drawing's scale or unit gives no graduation (a screen scale of 0, negative or
// not finite never ends the walk): the ruler then shows its background only.
bool ComputeRulerScale(const DocState* state, RulerScale* out);
// Height in pixels of the minor tick at `step` (1..majorCount - 1) of a major interval.
int MinorTickHeight(RulerUnit unit, int majorCount, int step);

// Background mode and colour and the ruler font of a ruler's own context.
void SetupRulerContext(HDC dc);
// Releases the font SetupRulerContext selected.
void ReleaseRulerContext(HDC dc);
// Ticks, labels and the origin line of one ruler over a client area `length` long and
// `thickness` deep (logical coordinates along the ruler, 0..thickness across). The drawing
// must be current (its zoom places the ticks).
void DrawRulerGraduation(HDC dc, const DocState* state, bool vertical, int32_t thickness);
// The unit name of the box where the rulers meet.
void DrawRulerUnitName(HDC dc, const DocState* state);
// The dotted cursor mark, drawn inverting so a second call erases it: a line 20 pixels long
// across the ruler at `position` along it, starting at `start` across it.
void DrawRulerMark(HDC dc, bool vertical, int32_t position, int32_t start);
