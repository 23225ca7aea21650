// The PCX picture reader.
#include "exchange/pcxread.h"

#include <vector>

namespace {

constexpr int kPcxHeaderColors = 16;
// A run byte has its two high bits set; the low six give the count.
constexpr uint8_t kPcxRunFlag = 0xC0;
constexpr uint8_t kPcxRunCountMask = 0x3F;
// The most bytes one encoded byte can stand for (a run of 63 from two bytes), rounded up: a
// picture asking for more than this many bytes per encoded byte cannot be in the file.
constexpr uint64_t kPcxMaxExpansion = 32;
// The palette info field's value for a grey picture.
constexpr uint16_t kPcxPaletteGrey = 2;

struct PcxHeader {
  uint8_t magic, version, encoding, bitsPerPixel;
  uint16_t xMin, yMin, xMax, yMax, hDpi, vDpi;
  uint8_t palette[kPcxHeaderColors * 3];
  uint8_t planes;
  uint16_t bytesPerLine, paletteInfo;
};

PcxHeader ReadHeader(LittleSource* source) {
  PcxHeader header = {};
  header.magic = ReadLittle8(source);
  header.version = ReadLittle8(source);
  header.encoding = ReadLittle8(source);
  header.bitsPerPixel = ReadLittle8(source);
  header.xMin = ReadLittle16(source);
  header.yMin = ReadLittle16(source);
  header.xMax = ReadLittle16(source);
  header.yMax = ReadLittle16(source);
  header.hDpi = ReadLittle16(source);
  header.vDpi = ReadLittle16(source);
  ReadLittleBytes(source, header.palette, sizeof header.palette);
  ReadLittle8(source);  // reserved
  header.planes = ReadLittle8(source);
  header.bytesPerLine = ReadLittle16(source);
  header.paletteInfo = ReadLittle16(source);
  return header;
}

// The layouts we read: 1 bit in one to four planes, 2, 4 or 8 bits in one plane (indexed), 8
// bits in three or four planes (red, green, blue and an ignored fourth).
bool KnownLayout(uint8_t bits, uint8_t planes) {
  switch (bits) {
    case 1:
      return planes >= 1 && planes <= 4;
    case 2:
    case 4:
      return planes == 1;
    case 8:
      return planes == 1 || planes == 3 || planes == 4;
    default:
      return false;
  }
}

uint32_t Opaque(uint8_t red, uint8_t green, uint8_t blue) {
  return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | blue;
}

// The run-length stream, read across line ends: a run may carry on into the next line.
struct PcxStream {
  LittleSource source;
  bool encoded;
  uint8_t runValue;
  uint32_t runLeft;
};

bool FillLine(PcxStream* stream, uint8_t* line, size_t size) {
  size_t filled = 0;
  while (filled < size) {
    if (stream->runLeft == 0) {
      uint8_t byte = ReadLittle8(&stream->source);
      stream->runLeft = 1;
      if (stream->encoded && (byte & kPcxRunFlag) == kPcxRunFlag) {
        stream->runLeft = byte & kPcxRunCountMask;  // a run of none stands for nothing
        byte = ReadLittle8(&stream->source);
      }
      if (stream->source.failed) return false;
      stream->runValue = byte;
      continue;
    }
    line[filled++] = stream->runValue;
    --stream->runLeft;
  }
  return true;
}

// One decoded line (planes one after another, `bytesPerLine` each) into `out`.
void ConvertLine(const PcxHeader& header, const uint8_t* line, const uint32_t* palette, int32_t width,
                 uint32_t* out) {
  const size_t stride = header.bytesPerLine;
  if (header.bitsPerPixel == 8 && header.planes >= 3) {
    for (int32_t x = 0; x < width; ++x) out[x] = Opaque(line[x], line[stride + x], line[2 * stride + x]);
    return;
  }
  if (header.bitsPerPixel == 1) {
    // Plane p gives bit p of the colour index.
    for (int32_t x = 0; x < width; ++x) {
      unsigned index = 0;
      for (unsigned p = 0; p < header.planes; ++p)
        index |= ((line[p * stride + x / 8] >> (7 - x % 8)) & 1u) << p;
      out[x] = palette[index];
    }
    return;
  }
  // Packed indices, the first pixel in the high bits.
  const unsigned bits = header.bitsPerPixel;
  const unsigned perByte = 8 / bits;
  const unsigned mask = (1u << bits) - 1;
  for (int32_t x = 0; x < width; ++x) {
    const unsigned shift = 8 - bits * (x % perByte + 1);
    out[x] = palette[(line[x / perByte] >> shift) & mask];
  }
}

}  // namespace

FilterResult ReadPcxImage(const uint8_t* data, size_t length, RasterImage* image) {
  *image = RasterImage();
  LittleSource source = BeginLittleSource(data, length);
  const PcxHeader header = ReadHeader(&source);
  if (length == 0 || header.magic != kPcxMagic) return kFilterInvalidData;
  SeekLittle(&source, kPcxHeaderSize);  // the pixels start after the whole header
  if (source.failed) return kFilterIncomplete;
  if (header.version > 5 || header.encoding > 1 || !KnownLayout(header.bitsPerPixel, header.planes) ||
      header.xMax < header.xMin || header.yMax < header.yMin)
    return kFilterInvalidData;
  const int64_t width = int64_t{header.xMax} - header.xMin + 1;
  const int64_t height = int64_t{header.yMax} - header.yMin + 1;
  if (header.bytesPerLine == 0 || header.bytesPerLine < (width * header.bitsPerPixel + 7) / 8)
    return kFilterInvalidData;

  // The palette: the header's 16 colours, or for 8-bit indices the 256 at the end of the file.
  uint32_t palette[256];
  size_t pixelsEnd = length;
  for (int i = 0; i < 256; ++i)
    palette[i] = Opaque(static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i));
  if (header.bitsPerPixel == 8 && header.planes == 1) {
    const bool marked = length >= kPcxHeaderSize + kPcxTrailingPaletteSize &&
                        data[length - kPcxTrailingPaletteSize] == kPcxPaletteMarker;
    if (marked) {
      const uint8_t* colors = data + length - kPcxTrailingPaletteSize + 1;
      for (int i = 0; i < 256; ++i) palette[i] = Opaque(colors[3 * i], colors[3 * i + 1], colors[3 * i + 2]);
      pixelsEnd = length - kPcxTrailingPaletteSize;
    } else if (header.paletteInfo != kPcxPaletteGrey) {
      return kFilterIncomplete;  // a colour picture whose palette is lost
    }
  } else if (header.bitsPerPixel != 8) {
    for (int i = 0; i < kPcxHeaderColors; ++i)
      palette[i] = Opaque(header.palette[3 * i], header.palette[3 * i + 1], header.palette[3 * i + 2]);
    // A two-colour picture that leaves its palette blank is black on white.
    if (header.bitsPerPixel * header.planes == 1 && palette[0] == palette[1]) {
      palette[0] = Opaque(0, 0, 0);
      palette[1] = Opaque(255, 255, 255);
    }
  }

  // A picture whose pixels cannot fit in the bytes there are is refused before allocating.
  const uint64_t lineSize = uint64_t{header.planes} * header.bytesPerLine;
  const uint64_t encodedBytes = pixelsEnd - kPcxHeaderSize;
  const uint64_t decodedBytes = lineSize * static_cast<uint64_t>(height);
  if (decodedBytes > encodedBytes * (header.encoding ? kPcxMaxExpansion : 1)) return kFilterIncomplete;

  FilterResult result = AllocRasterImage(width, height, image);
  if (result != kFilterOK) return result;
  // Some writers put the picture's size where the resolution goes: that is none.
  if (header.hDpi != image->width || header.vDpi != image->height) {
    image->dpiX = header.hDpi;
    image->dpiY = header.vDpi;
  }
  std::vector<uint8_t> line(static_cast<size_t>(lineSize));
  PcxStream stream = {BeginLittleSource(data + kPcxHeaderSize, static_cast<size_t>(encodedBytes)),
                      header.encoding == 1, 0, 0};
  for (int32_t y = 0; y < image->height; ++y) {
    if (!FillLine(&stream, line.data(), line.size())) {
      FreeRasterImage(image);
      return kFilterIncomplete;
    }
    ConvertLine(header, line.data(), palette, image->width,
                image->pixels + static_cast<size_t>(y) * image->width);
  }
  return kFilterOK;
}
