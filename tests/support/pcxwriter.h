// Writes PCX files for the reader's tests and the fuzz seeds: any layout, run-length encoded
// or stored, with runs that may carry over line ends.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct PcxLayout {
  int width, height;
  int bits, planes;
  int bytesPerLine;  // 0: the least that holds a line, rounded up to even
  bool encoded;
  bool lineRuns;  // encode the whole picture as one stream, so runs cross line ends
  uint16_t dpi;
  uint16_t paletteInfo;
  std::vector<uint8_t> headerPalette;    // up to 48 bytes
  std::vector<uint8_t> trailingPalette;  // 768 bytes, or none
};

// `plane(x, y, p)` gives the value of plane p at pixel (x, y): an index (of `bits` bits) or, with
// 8 bits in three or four planes, one colour component.
inline std::vector<uint8_t> WritePcx(const PcxLayout& layout,
                                     const std::function<unsigned(int, int, int)>& plane) {
  const int bytesPerLine =
      layout.bytesPerLine ? layout.bytesPerLine : ((layout.width * layout.bits + 15) / 16) * 2;
  std::vector<uint8_t> out(128, 0);
  auto put16 = [&](size_t at, unsigned value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
  };
  out[0] = 0x0A;
  out[1] = 5;
  out[2] = layout.encoded ? 1 : 0;
  out[3] = static_cast<uint8_t>(layout.bits);
  put16(8, static_cast<unsigned>(layout.width - 1));
  put16(10, static_cast<unsigned>(layout.height - 1));
  put16(12, layout.dpi);
  put16(14, layout.dpi);
  for (size_t i = 0; i < layout.headerPalette.size() && i < 48; ++i) out[16 + i] = layout.headerPalette[i];
  out[65] = static_cast<uint8_t>(layout.planes);
  put16(66, static_cast<unsigned>(bytesPerLine));
  put16(68, layout.paletteInfo);

  std::vector<uint8_t> raw;
  for (int y = 0; y < layout.height; ++y) {
    for (int p = 0; p < layout.planes; ++p) {
      std::vector<uint8_t> line(static_cast<size_t>(bytesPerLine), 0);
      for (int x = 0; x < layout.width; ++x) {
        const unsigned value = plane(x, y, p) & ((1u << layout.bits) - 1);
        const int bit = x * layout.bits;
        line[bit / 8] |= static_cast<uint8_t>(value << (8 - layout.bits - bit % 8));
      }
      raw.insert(raw.end(), line.begin(), line.end());
    }
  }
  const size_t lineBytes = static_cast<size_t>(bytesPerLine) * layout.planes;
  for (size_t i = 0; i < raw.size();) {
    size_t run = 1;
    const size_t limit = layout.lineRuns ? raw.size() : (i / lineBytes + 1) * lineBytes;
    while (layout.encoded && i + run < limit && run < 63 && raw[i + run] == raw[i]) ++run;
    if (layout.encoded && (run > 1 || raw[i] >= 0xC0)) out.push_back(static_cast<uint8_t>(0xC0 | run));
    out.push_back(raw[i]);
    i += run;
  }
  if (!layout.trailingPalette.empty()) {
    out.push_back(0x0C);
    out.insert(out.end(), layout.trailingPalette.begin(), layout.trailingPalette.end());
  }
  return out;
}
