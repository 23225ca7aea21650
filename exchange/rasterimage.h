// Decoded pictures on their way into a picture metafile: the pixels, the resolution the file
// gives, and the bounded little-endian byte source the portable picture readers parse from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "exchange/filterapi.h"

// The most pixels one picture may hold (256 MB of 32-bit pixels); anything larger is refused
// before a byte is allocated.
constexpr uint64_t kMaxRasterPixels = uint64_t{64} << 20;
// The widest and tallest picture a 16-bit metafile can place (its coordinates are 16-bit).
constexpr int32_t kMaxRasterSide = 32767;
// Resolutions outside this range are taken for missing or damaged.
constexpr double kMinSaneDpi = 10.0;
constexpr double kMaxSaneDpi = 10000.0;
// Pictures that give no sane resolution are placed at 96 pixels per inch: what the system's
// imaging component reports for a BMP, GIF or JPEG file that carries none, so every picture
// without one lands at the same size, whichever filter read it.
constexpr int16_t kDefaultUnitsPerInch = 96;

// Pixels are 0xAARRGGBB, rows top to bottom with no padding; alpha 0xFF is opaque.
struct RasterImage {
  int32_t width;
  int32_t height;
  uint32_t* pixels;
  double dpiX, dpiY;  // 0 when the file gives none
};

// Allocates width x height pixels (uninitialised). Refuses an empty or negative size as
// invalid data, and more than kMaxRasterPixels (or a failed allocation) as no memory.
FilterResult AllocRasterImage(int64_t width, int64_t height, RasterImage* image);
void FreeRasterImage(RasterImage* image);

// Where a picture lands: its bounding box in the metafile's units (left and top are 0) and the
// units per inch. Units are pixels; with pixels that are not square the box's height is scaled
// so that one unit per inch holds for both directions.
struct RasterPlacement {
  int32_t right, bottom;
  int16_t unitsPerInch;
};
RasterPlacement PlaceRasterImage(const RasterImage& image);

// A little-endian view of a block of known length. A read that would pass `length` reads zeros
// and sets `failed`; every later read fails too, so a structure can be checked once at its end.
struct LittleSource {
  const uint8_t* data;
  size_t length;
  size_t mark;
  bool failed;
};

inline LittleSource BeginLittleSource(const uint8_t* data, size_t length) {
  return LittleSource{data, data ? length : 0, 0, false};
}

inline bool ReadLittleBytes(LittleSource* source, void* buffer, size_t n) {
  if (source->failed || n > source->length - source->mark) {
    source->failed = true;
    if (n) std::memset(buffer, 0, n);
    return false;
  }
  if (n) std::memcpy(buffer, source->data + source->mark, n);
  source->mark += n;
  return true;
}

inline uint8_t ReadLittle8(LittleSource* source) {
  uint8_t value = 0;
  ReadLittleBytes(source, &value, 1);
  return value;
}

inline uint16_t ReadLittle16(LittleSource* source) {
  uint8_t bytes[2];
  ReadLittleBytes(source, bytes, 2);
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline uint32_t ReadLittle32(LittleSource* source) {
  uint8_t bytes[4];
  ReadLittleBytes(source, bytes, 4);
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Moves to an absolute place; false (and failed) beyond the end.
inline bool SeekLittle(LittleSource* source, size_t at) {
  if (source->failed || at > source->length) {
    source->failed = true;
    return false;
  }
  source->mark = at;
  return true;
}
