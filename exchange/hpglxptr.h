// The HPGL writer: a pen-up move to the start of each segment or curve and a pen-down move to
// each following point, in plotter units.
#pragma once

#include "exchange/exporter.h"

// Plotter units per page unit (1016 per inch, 72 page units per inch).
constexpr double kPlotterUnitsPerPageUnit = 14.11;

// The header resource, then the drawing pen.
void ExportHPGLHeader(ExportStream* stream);
void ExportHPGLMoveTo(float x, float y, ExportStream* stream);
void ExportHPGLLine(float x1, float y1, float x2, float y2, ExportStream* stream);
