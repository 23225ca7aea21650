// Painting text blocks and unattached dimension labels into the drawing.
#pragma once

#include "model/records.h"

// Draws the text block's pane text in its box, at the zoom, in the object's pen colour.
void PaintTextBlock(const ObjectRec* object);
// A dimension label with no dimension shows "0.00" at its lower left.
void PaintDimensionTextPlaceholder(const ObjectRec* object);
