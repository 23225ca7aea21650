// The current font given to new text blocks and dimension labels.
#include "tools/drxfont.h"

#include "model/textfont.h"

FontRecord gCurFontInfo = GetFallbackTextFont();

void ResetCurrentFont() {
  gCurFontInfo = GetFallbackTextFont();
}
