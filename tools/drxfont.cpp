// The current font given to new text blocks and dimension labels.
#include "tools/drxfont.h"

#include <cstring>

namespace {

constexpr int32_t kDefaultFontHeight = -11;
constexpr uint8_t kDefaultPitchAndFamily = 0x35;  // fixed pitch, modern family, TrueType
constexpr char kDefaultFaceName[] = "Courier New";

FontRecord DefaultFont() {
  FontRecord font;
  std::memset(&font, 0, sizeof font);
  font.height = kDefaultFontHeight;
  font.pitchAndFamily = kDefaultPitchAndFamily;
  std::memcpy(font.faceName, kDefaultFaceName, sizeof kDefaultFaceName);
  return font;
}

}  // namespace

FontRecord gCurFontInfo = DefaultFont();

void ResetCurrentFont() {
  gCurFontInfo = DefaultFont();
}
