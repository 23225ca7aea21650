// The DXF writer: one LINE entity per segment, on the reader's default layer.
#pragma once

#include "exchange/exporter.h"

void ExportDXFLine(float x1, float y1, float x2, float y2, ExportStream* stream);
