// The font a text block or dimension label falls back on when it has none of its own: what the
// writer stores for a pane without a font, what a label from the big-endian platform (whose files
// carry no font records) is given, and what a new text tool starts from. The shell may replace
// its face with the localised one at start-up; nothing else changes it.
#pragma once

#include "model/seam.h"

// Height -11, pitch-and-family 0x35, face "Courier New"; every other field 0, until
// SetFallbackTextFace.
const FontRecord& GetFallbackTextFont();
// Replaces the face name (cut to 31 characters); an empty face is ignored.
void SetFallbackTextFace(const char* face);
