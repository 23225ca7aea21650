// The DXF writer. Each segment is a LINE record with group codes 10/20/30 for the start and
// 11/21/31 for the end, every value on its own CR LF line, coordinates with four decimals.
#include "exchange/dxfxptr.h"

#include <cstring>

namespace {

constexpr int kDXFDecimals = 4;

char* Put(char* out, const char* text, size_t length) {
  std::memcpy(out, text, length);
  return out + length;
}

template <size_t N>
char* Put(char* out, const char (&text)[N]) {
  return Put(out, text, N - 1);
}

}  // namespace

void ExportDXFLine(float x1, float y1, float x2, float y2, ExportStream* stream) {
  char* out = ReserveExportSpace(stream);
  out = Put(out, "0\r\nLINE\r\n10\r\n");
  out = FormatFixed(out, x1, kDXFDecimals);
  out = Put(out, "\r\n20\r\n");
  out = FormatFixed(out, y1, kDXFDecimals);
  out = Put(out, "\r\n30\r\n0.0000\r\n11\r\n");
  out = FormatFixed(out, x2, kDXFDecimals);
  out = Put(out, "\r\n21\r\n");
  out = FormatFixed(out, y2, kDXFDecimals);
  out = Put(out, "\r\n31\r\n0.0000\r\n");
  CommitExportSpace(stream, out);
}
