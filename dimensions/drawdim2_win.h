// The print-context counterparts of the port's erase, frame and arc, used by the dimension
// drawing while printing, and what a dimension's drawing reaches on the screen. Rectangles are
// in screen units (zoomed page units); the print routines do nothing unless printing to a print
// context.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/records.h"

// Fills the rectangle, print-scaled and rounded, with the drawing's background colour.
void PrintEraseRect(const FloatRect* rect);
// Draws the rectangle's four edges with the current pen.
void PrintFrameRect(const FloatRect* rect);
// An arc in the print-scaled box; angles as the port's FrameArc takes them.
void PrintArc(const FloatRect* box, int16_t startAngle, int16_t arcAngle);

// The pixels (zoomed page units) that the lines and arrowheads of a dimension or leader can
// reach on the screen, pen included. False when there is no telling (an angle dimension, which
// may move its radius point as it draws, or a dimension without points).
bool GetDimensionReach(const ObjectRec* object, RECT* reach);
// Whether readouts on a plain raster screen are measured and drawn through their font's table of
// glyphs and advances (the default), or by the platform from their characters. Both give the
// same pixels; a font whose table would not is never drawn through it.
void SetReadoutTextDirect(bool direct);
// How many readouts have been drawn through a font's table so far.
long DirectReadoutCount();
// The pixels its readout can reach on the screen. False without a label, or while printing.
bool GetReadoutReach(const ObjectRec* dimension, RECT* reach);
