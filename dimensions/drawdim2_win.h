// The print-context counterparts of the port's erase, frame and arc, used by the dimension
// drawing while printing. Rectangles are in screen units (zoomed page units); each does nothing
// unless printing to a print context.
#pragma once

#include <cstdint>

#include "model/records.h"

// Fills the rectangle, print-scaled and rounded, with the drawing's background colour.
void PrintEraseRect(const FloatRect* rect);
// Draws the rectangle's four edges with the current pen.
void PrintFrameRect(const FloatRect* rect);
// An arc in the print-scaled box; angles as the port's FrameArc takes them.
void PrintArc(const FloatRect* box, int16_t startAngle, int16_t arcAngle);
