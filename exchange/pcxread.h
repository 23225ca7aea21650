// The PCX picture reader: 1-bit (one to four planes), 2-, 4- and 8-bit indexed and 24- or 32-bit
// colour planes, run-length encoded or stored, with the 16-colour palette of the header or the
// 256-colour palette at the end of the file. Reads only inside the block it is given.
#pragma once

#include <cstddef>
#include <cstdint>

#include "exchange/rasterimage.h"

constexpr size_t kPcxHeaderSize = 128;
constexpr uint8_t kPcxMagic = 0x0A;
// The 256-colour palette: a marker byte and 256 RGB triples, the file's last 769 bytes.
constexpr uint8_t kPcxPaletteMarker = 0x0C;
constexpr size_t kPcxTrailingPaletteSize = 1 + 256 * 3;

// Decodes `data` into `image` (freed by the caller with FreeRasterImage on success; left empty
// on failure). kFilterInvalidData for a header that is not a PCX one or describes no picture we
// read, kFilterIncomplete when the pixels or the palette stop short, kFilterNoMemory for a
// picture too large to hold.
FilterResult ReadPcxImage(const uint8_t* data, size_t length, RasterImage* image);
