// The preview of an EPS file with the binary header.
#include "exchange/epspre.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// Header of a standard metafile: type 1 (memory) or 2 (disk), header size 9 words, version 1.0
// or 3.0.
constexpr uint16_t kMetafileHeaderWords = 9;
constexpr uint16_t kMetafileVersion1 = 0x0100;
constexpr uint16_t kMetafileVersion3 = 0x0300;

struct Section {
  uint32_t start, length;
};

// Inside the file and clear of the header, or empty.
FilterResult CheckSection(const Section& section, size_t fileLength) {
  if (section.length == 0) return kFilterOK;
  if (section.start < kEpsBinaryHeaderSize) return kFilterInvalidData;
  if (uint64_t{section.start} + section.length > fileLength) return kFilterIncomplete;
  return kFilterOK;
}

bool ParseNumber(const char** at, const char* end, double* value) {
  const char* p = *at;
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  char number[64];
  size_t n = 0;
  while (p < end && n + 1 < sizeof number && (std::strchr("+-.0123456789eE", *p) != nullptr))
    number[n++] = *p++;
  number[n] = '\0';
  if (n == 0) return false;
  char* stop = nullptr;
  *value = std::strtod(number, &stop);
  if (stop != number + n || !std::isfinite(*value)) return false;
  *at = p;
  return true;
}

// The words a poly record's counts ask for fit in its `parameterWords`.
bool PointCountsFit(LittleSource* source, uint16_t function, uint32_t parameterWords) {
  uint64_t needed = 1;
  uint32_t points = 0;
  if (function == kMetaPolyPolygon) {
    const uint16_t polygons = ReadLittle16(source);
    needed += polygons;
    for (uint32_t i = 0; i < polygons && needed <= parameterWords; ++i) points += ReadLittle16(source);
  } else {
    points = ReadLittle16(source);
  }
  needed += 2 * uint64_t{points};
  return !source->failed && needed <= parameterWords;
}

}  // namespace

FilterResult CheckMetafileBits(const uint8_t* bits, size_t length, MetafileFacts* facts) {
  *facts = MetafileFacts();
  LittleSource source = BeginLittleSource(bits, length);
  const uint16_t type = ReadLittle16(&source);
  const uint16_t headerWords = ReadLittle16(&source);
  const uint16_t version = ReadLittle16(&source);
  SeekLittle(&source, kMetafileHeaderBytes);
  if (source.failed) return kFilterIncomplete;
  if ((type != 1 && type != 2) || headerWords != kMetafileHeaderWords ||
      (version != kMetafileVersion1 && version != kMetafileVersion3))
    return kFilterInvalidData;
  for (;;) {
    const size_t start = source.mark;
    const uint32_t words = ReadLittle32(&source);
    const uint16_t function = ReadLittle16(&source);
    if (source.failed) return kFilterIncomplete;
    if (words < kMetafileMinRecordWords) return kFilterInvalidData;
    if (words > (length - start) / 2) return kFilterIncomplete;
    if (words > facts->maxRecordWords) facts->maxRecordWords = words;
    if (function == kMetaEOF) {
      facts->length = start + size_t{words} * 2;
      return kFilterOK;
    }
    if ((function == kMetaPolygon || function == kMetaPolyline || function == kMetaPolyPolygon) &&
        !PointCountsFit(&source, function, words - kMetafileMinRecordWords))
      return kFilterInvalidData;
    if ((function == kMetaSetWindowOrg || function == kMetaSetWindowExt) && words >= 5) {
      // Parameters come y first, then x.
      const int16_t y = static_cast<int16_t>(ReadLittle16(&source));
      const int16_t x = static_cast<int16_t>(ReadLittle16(&source));
      if (function == kMetaSetWindowOrg && !facts->hasWindowOrg) {
        facts->hasWindowOrg = true;
        facts->windowOrgX = x;
        facts->windowOrgY = y;
      } else if (function == kMetaSetWindowExt && !facts->hasWindowExt) {
        facts->hasWindowExt = true;
        facts->windowExtX = x;
        facts->windowExtY = y;
      }
    }
    SeekLittle(&source, start + size_t{words} * 2);
  }
}

bool FindEpsBoundingBox(const uint8_t* text, size_t length, double box[4]) {
  static const char kKey[] = "%%BoundingBox:";
  const size_t keyLength = sizeof kKey - 1;
  if (!text) return false;
  const char* begin = reinterpret_cast<const char*>(text);
  const char* end = begin + (length < kEpsCommentSpan ? length : kEpsCommentSpan);
  for (const char* line = begin; line < end;) {
    if (static_cast<size_t>(end - line) >= keyLength && std::memcmp(line, kKey, keyLength) == 0) {
      const char* p = line + keyLength;
      for (int i = 0; i < 4; ++i)
        if (!ParseNumber(&p, end, &box[i])) return false;  // "(atend)" or damage
      return box[2] > box[0] && box[3] > box[1];
    }
    while (line < end && *line != '\n' && *line != '\r') ++line;
    while (line < end && (*line == '\n' || *line == '\r')) ++line;
  }
  return false;
}

FilterResult ReadEpsPreview(const uint8_t* data, size_t length, EpsPreview* preview) {
  *preview = EpsPreview();
  LittleSource source = BeginLittleSource(data, length);
  const uint32_t magic = ReadLittle32(&source);
  if (magic != kEpsBinaryMagic) return kFilterInvalidData;  // plain PostScript: no preview
  Section postScript, metafile, tiff;
  postScript.start = ReadLittle32(&source);
  postScript.length = ReadLittle32(&source);
  metafile.start = ReadLittle32(&source);
  metafile.length = ReadLittle32(&source);
  tiff.start = ReadLittle32(&source);
  tiff.length = ReadLittle32(&source);
  ReadLittle16(&source);  // checksum
  if (source.failed) return kFilterIncomplete;
  for (const Section* section : {&postScript, &metafile, &tiff}) {
    const FilterResult result = CheckSection(*section, length);
    if (result != kFilterOK) return result;
  }
  double box[4];
  if (postScript.length > 0 && FindEpsBoundingBox(data + postScript.start, postScript.length, box)) {
    preview->hasBoundingBox = true;
    preview->boxLeft = box[0];
    preview->boxBottom = box[1];
    preview->boxRight = box[2];
    preview->boxTop = box[3];
  }

  if (metafile.length == 0) {
    if (tiff.length == 0) return kFilterInvalidData;
    preview->kind = EpsPreviewKind::kTiff;
    preview->bits = data + tiff.start;
    preview->length = tiff.length;
    return kFilterOK;
  }

  preview->kind = EpsPreviewKind::kMetafile;
  const uint8_t* bits = data + metafile.start;
  size_t bitsLength = metafile.length;
  LittleSource placeable = BeginLittleSource(bits, bitsLength);
  const bool hasPlaceable = ReadLittle32(&placeable) == kPlaceableKey;
  int16_t frame[4] = {};
  uint16_t inch = 0;
  if (hasPlaceable) {
    ReadLittle16(&placeable);  // handle
    for (int16_t& side : frame) side = static_cast<int16_t>(ReadLittle16(&placeable));
    inch = ReadLittle16(&placeable);
    if (!SeekLittle(&placeable, kPlaceableSize)) return kFilterIncomplete;
    bits += kPlaceableSize;
    bitsLength -= kPlaceableSize;
  }
  const FilterResult result = CheckMetafileBits(bits, bitsLength, &preview->metafile);
  if (result != kFilterOK) return result;
  preview->bits = bits;
  preview->length = preview->metafile.length;

  // The frame: the placeable header's, else the metafile's own window (drawn in points, as our
  // export and the writers we know do), else the bounding box.
  const MetafileFacts& facts = preview->metafile;
  if (hasPlaceable && frame[2] > frame[0] && frame[3] > frame[1] && inch > 0 &&
      inch <= static_cast<uint16_t>(INT16_MAX)) {
    preview->left = frame[0];
    preview->top = frame[1];
    preview->right = frame[2];
    preview->bottom = frame[3];
    preview->unitsPerInch = static_cast<int16_t>(inch);
  } else if (facts.hasWindowExt && facts.windowExtX != 0 && facts.windowExtY != 0) {
    preview->left = facts.hasWindowOrg ? facts.windowOrgX : 0;
    preview->top = facts.hasWindowOrg ? facts.windowOrgY : 0;
    preview->right = preview->left + std::abs(int32_t{facts.windowExtX});
    preview->bottom = preview->top + std::abs(int32_t{facts.windowExtY});
    preview->unitsPerInch = kEpsPointsPerInch;
  } else if (preview->hasBoundingBox && preview->boxRight - preview->boxLeft <= INT16_MAX &&
             preview->boxTop - preview->boxBottom <= INT16_MAX) {
    preview->right = static_cast<int32_t>(std::ceil(preview->boxRight - preview->boxLeft));
    preview->bottom = static_cast<int32_t>(std::ceil(preview->boxTop - preview->boxBottom));
    preview->unitsPerInch = kEpsPointsPerInch;
  } else {
    return kFilterInvalidData;  // nothing says how large the picture is
  }
  return kFilterOK;
}
