// The current font given to new text blocks and dimension labels.
#pragma once

#include "model/seam.h"

// Height -11, pitch-and-family 0x35, face "Courier New"; every other field 0.
extern FontRecord gCurFontInfo;

void ResetCurrentFont();
