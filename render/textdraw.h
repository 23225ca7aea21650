// Painting text blocks and unattached dimension labels into the drawing.
#pragma once

#include <windows.h>

#include "model/records.h"

// The width in units at zoom 1 of a text block's box less its inset: the width its lines wrap at.
int TextBlockBoxWidth(const ObjectRec* object);
// The lines of a text block at zoom 1 as its edit control lays them out, with the line height,
// kept in the pane until its text, font or width changes; null without a font or memory.
const TextLineCache* LayOutTextBlock(const ObjectRec* object);
// Every text block the drawing draws comes here. On the screen the block being typed into
// (`edit`, its live control) is moved onto its box and repaints itself; every other block, and
// every block printed or recorded, is painted from its pane.
void PrepareForDraw(HWND edit, const ObjectRec* object);
// Draws the text block's pane text in its box, at the zoom, in the object's pen colour.
void PaintTextBlock(const ObjectRec* object);
// A dimension label with no dimension shows "0.00" at its lower left.
void PaintDimensionTextPlaceholder(const ObjectRec* object);
