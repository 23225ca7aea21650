// The fallback font of text blocks and dimension labels.
#include "model/textfont.h"

#include <cstring>

namespace {

constexpr int32_t kDefaultFontHeight = -11;
constexpr uint8_t kDefaultPitchAndFamily = 0x35;  // fixed pitch, modern family, TrueType
constexpr char kDefaultFaceName[] = "Courier New";

// Built on first use, so other modules' static initialisers may copy it.
FontRecord& FallbackFont() {
  static FontRecord font = [] {
    FontRecord built;
    std::memset(&built, 0, sizeof built);
    built.height = kDefaultFontHeight;
    built.pitchAndFamily = kDefaultPitchAndFamily;
    std::memcpy(built.faceName, kDefaultFaceName, sizeof kDefaultFaceName);
    return built;
  }();
  return font;
}

}  // namespace

const FontRecord& GetFallbackTextFont() {
  return FallbackFont();
}

void SetFallbackTextFace(const char* face) {
  if (!face || !*face) return;
  FontRecord& font = FallbackFont();
  std::memset(font.faceName, 0, sizeof font.faceName);
  std::strncpy(font.faceName, face, sizeof font.faceName - 1);
}
