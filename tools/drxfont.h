// The current font given to new text blocks and dimension labels.
#pragma once

#include "model/seam.h"

// Starts as the model's fallback text font; the text tools change it.
extern FontRecord gCurFontInfo;

// Back to the fallback text font.
void ResetCurrentFont();
