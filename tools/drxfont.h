// The current font given to new text blocks and dimension labels, and its colour.
#pragma once

#include "model/records.h"

// Starts as the model's fallback text font; the font dialog changes it.
extern FontRecord gCurFontInfo;
// The text colour chosen with the font; black at the start.
extern RGB16 gFontColor;

// Back to the fallback text font and black.
void ResetCurrentFont();
