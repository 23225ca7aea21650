// The current font given to new text blocks and dimension labels.
#include "tools/drxfont.h"

#include "model/textfont.h"

FontRecord gCurFontInfo = GetFallbackTextFont();
RGB16 gFontColor = kBlack16;

void ResetCurrentFont() {
  gCurFontInfo = GetFallbackTextFont();
  gFontColor = kBlack16;
}
