// The EPS writer.
#include "exchange/epsxptr.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "model/docstate.h"
#include "model/pthndlr.h"

namespace {

constexpr int kEPSDecimals = 2;
constexpr size_t kMaxTitleLength = 200;  // comment lines stay well below 255 characters

void PutLittle16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void PutLittle32(uint8_t* at, uint32_t value) {
  PutLittle16(at, value & 0xFFFFu);
  PutLittle16(at + 2, value >> 16);
}

bool HasPreview(const ExportStream* stream) {
  return stream->previewBits && stream->previewLength > 0;
}

bool StartsWithPlaceableHeader(const uint8_t* bits, uint32_t length) {
  return length >= kPlaceableHeaderSize && (bits[0] | bits[1] << 8 | bits[2] << 16 |
                                            static_cast<uint32_t>(bits[3]) << 24) == kPlaceableMetafileKey;
}

FloatRect DrawingBounds() {
  FloatRect bounds = kEmptyRect;
  if (gCurDocument) GetAllLayersBounds(gCurDocument->firstLayer, false, &bounds, false, false);
  return bounds;
}

// The title comment holds the path on one line: control characters would end the line early.
void WriteTitle(ExportStream* stream, const char* path) {
  char title[kMaxTitleLength + 1];
  size_t length = 0;
  for (const char* p = path ? path : ""; *p && length < kMaxTitleLength; ++p)
    title[length++] = static_cast<unsigned char>(*p) < 0x20 ? '?' : *p;
  title[length] = '\0';
  WriteExportText(stream, title);
  WriteExportText(stream, "\n");
}

// A box edge as the integer the comment holds. The export refuses drawings beyond it before
// the box is written; the clamp only keeps the conversion defined (a long is 32 bits on Windows).
long WholeUnits(double value) {
  if (!(value > -kEPSLargestUnit)) return -static_cast<long>(kEPSLargestUnit);
  if (value > kEPSLargestUnit) return static_cast<long>(kEPSLargestUnit);
  return static_cast<long>(value);
}

}  // namespace

void GetEPSBoundingBox(const ExportStream* stream, long box[4]) {
  const FloatRect bounds = DrawingBounds();
  if (IsEmptyRect(&bounds)) {
    box[0] = box[1] = box[2] = box[3] = 0;
    return;
  }
  float low = bounds.top, high = bounds.bottom;
  if (stream->mirror) {
    const float center = stream->mirrorCenterY;
    const float a = center - (bounds.bottom - center);
    const float b = center - (bounds.top - center);
    low = a < b ? a : b;
    high = a < b ? b : a;
  }
  // Outward to whole units, so the box holds every mark of the drawing.
  box[0] = WholeUnits(std::floor(bounds.left));
  box[1] = WholeUnits(std::floor(low));
  box[2] = WholeUnits(std::ceil(bounds.right));
  box[3] = WholeUnits(std::ceil(high));
}

void ExportEPSHeader(ExportStream* stream, const char* path) {
  if (HasPreview(stream) && StartsWithPlaceableHeader(stream->previewBits, stream->previewLength)) {
    // The section holds the metafile alone.
    stream->previewBits += kPlaceableHeaderSize;
    stream->previewLength -= static_cast<uint32_t>(kPlaceableHeaderSize);
  }
  if (HasPreview(stream)) {
    // Filled in by FinishEPSPreview once the sections' places are known.
    const uint8_t placeholder[kBinaryEPSHeaderSize] = {};
    WriteExportBytes(stream, placeholder, sizeof placeholder);
    stream->postScriptStart = static_cast<uint32_t>(GetExportPosition(stream));
  }
  WriteExportResource(stream, "hdrs", "EPSHeader");
  WriteTitle(stream, path);
  long box[4];
  GetEPSBoundingBox(stream, box);
  char line[kExportRecordSize];
  std::snprintf(line, sizeof line, "%%%%BoundingBox: %ld %ld %ld %ld\n", box[0], box[1], box[2], box[3]);
  WriteExportText(stream, line);
  // The setup opens the procedure dictionary the printing environment may provide; where it is
  // missing an empty one is made first, so any interpreter can run the file.
  WriteExportText(stream,
                  "%%SuppressDotGainCompensation\n"
                  "%%EndComments\n"
                  "%%BeginProlog\n"
                  "%%EndProlog\n"
                  "%%BeginSetup\n"
                  "userdict/Quorvale known not{userdict/Quorvale 8 dict put}if\n"
                  "userdict/Quorvale get begin\n"
                  "%%EndSetup\n");
}

void ExportEPSLine(float x1, float y1, float x2, float y2, ExportStream* stream) {
  static const char kStroke[] =
      " lineto\ngsave\n0.01 setlinewidth 0 setlinecap 0 setlinejoin 3.86 setmiterlimit 0 0 0 setrgbcolor "
      "stroke\ngrestore\n";
  char* out = ReserveExportSpace(stream);
  std::memcpy(out, "newpath\n", 8);
  out = FormatFixed(out + 8, x1, kEPSDecimals);
  *out++ = ' ';
  out = FormatFixed(out, y1, kEPSDecimals);
  std::memcpy(out, " moveto\n", 8);
  out = FormatFixed(out + 8, x2, kEPSDecimals);
  *out++ = ' ';
  out = FormatFixed(out, y2, kEPSDecimals);
  std::memcpy(out, kStroke, sizeof kStroke - 1);
  CommitExportSpace(stream, out + sizeof kStroke - 1);
}

void ExportEPSTrailer(ExportStream* stream) {
  WriteExportResource(stream, "tlrs", "EPSTrailer");
}

void FinishEPSPreview(ExportStream* stream) {
  if (!HasPreview(stream) || stream->failed) return;
  const uint64_t postScriptEnd = GetExportPosition(stream);
  const uint64_t previewLength = stream->previewLength;
  if (postScriptEnd + previewLength > UINT32_MAX) {
    SetExportFailure(ExportReason::kTooLarge, 0);
    stream->failed = true;
    return;
  }
  WriteExportBytes(stream, stream->previewBits, stream->previewLength);
  if (!FlushExportStream(stream)) return;

  uint8_t header[kBinaryEPSHeaderSize] = {};
  PutLittle32(header, kBinaryEPSMagic);
  PutLittle32(header + 4, stream->postScriptStart);
  PutLittle32(header + 8, static_cast<uint32_t>(postScriptEnd - stream->postScriptStart));
  PutLittle32(header + 12, static_cast<uint32_t>(postScriptEnd));
  PutLittle32(header + 16, static_cast<uint32_t>(previewLength));
  PutLittle16(header + 28, 0xFFFFu);
  errno = 0;
  if (std::fseek(stream->file, 0, SEEK_SET) != 0 ||
      std::fwrite(header, 1, sizeof header, stream->file) != sizeof header ||
      std::fseek(stream->file, 0, SEEK_END) != 0) {
    SetExportFailure(ExportReason::kCannotWrite, errno);
    stream->failed = true;
  }
}
