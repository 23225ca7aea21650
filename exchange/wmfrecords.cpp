// The 16-bit metafile as bytes: the bounded record reader and the in-memory writer.
#include "exchange/wmfrecords.h"

#include <cstring>

namespace {

uint16_t Word16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Word32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The header's fixed values: a memory (1) or disk (2) metafile, a header of 9 words, and the
// versions 1.0 (0x100) and 3.0 (0x300).
constexpr uint16_t kMetaTypeMemory = 1, kMetaTypeDisk = 2;
constexpr uint16_t kMetaHeaderWords = 9;
constexpr uint16_t kMetaVersion100 = 0x100, kMetaVersion300 = 0x300;

bool Fail(WmfSource* source, WmfFault fault) {
  if (source->fault == WmfFault::kNone) source->fault = fault;
  return false;
}

}  // namespace

const char* WmfFaultText(WmfFault fault) {
  switch (fault) {
    case WmfFault::kNone:
      return "no fault";
    case WmfFault::kBadHeader:
      return "not a metafile header";
    case WmfFault::kRecordTooShort:
      return "a record is shorter than its own header";
    case WmfFault::kRecordPastEnd:
      return "a record runs past the end of the metafile";
    case WmfFault::kParameterPastEnd:
      return "a record's parameters run past the record";
    case WmfFault::kNoEndRecord:
      return "the metafile ends without its end record";
  }
  return "unknown fault";
}

bool BeginWmf(WmfSource* source, const uint8_t* data, size_t length) {
  *source = WmfSource{data, length, 0, WmfFault::kNone, false};
  if (!data) return Fail(source, WmfFault::kBadHeader);
  if (length >= kMetaPlaceableHeaderSize && Word32(data) == kMetaPlaceableKey)
    source->mark = kMetaPlaceableHeaderSize;
  if (length - source->mark < kMetaHeaderSize) return Fail(source, WmfFault::kBadHeader);
  const uint8_t* header = data + source->mark;
  const uint16_t type = Word16(header), words = Word16(header + 2), version = Word16(header + 4);
  if ((type != kMetaTypeMemory && type != kMetaTypeDisk) || words != kMetaHeaderWords ||
      (version != kMetaVersion100 && version != kMetaVersion300))
    return Fail(source, WmfFault::kBadHeader);
  source->mark += kMetaHeaderSize;
  return true;
}

bool NextWmfRecord(WmfSource* source, WmfRecord* record) {
  if (source->fault != WmfFault::kNone || source->ended) return false;
  const size_t left = source->length - source->mark;
  if (left < kMetaRecordHeaderSize) return Fail(source, WmfFault::kNoEndRecord);
  const uint8_t* at = source->data + source->mark;
  // The size counts 16-bit words, the record's own header of three words included.
  const uint64_t bytes = static_cast<uint64_t>(Word32(at)) * 2;
  if (bytes < kMetaRecordHeaderSize) return Fail(source, WmfFault::kRecordTooShort);
  if (bytes > left) return Fail(source, WmfFault::kRecordPastEnd);
  record->function = Word16(at + 4);
  record->params = at + kMetaRecordHeaderSize;
  record->paramBytes = static_cast<size_t>(bytes) - kMetaRecordHeaderSize;
  record->offset = source->mark;
  source->mark += static_cast<size_t>(bytes);
  if (record->function == kMetaEOF) {
    source->ended = true;
    return false;
  }
  return true;
}

WmfParams BeginWmfParams(const WmfRecord& record) {
  return WmfParams{record.params, record.paramBytes, 0, false};
}

uint16_t ReadWmfWord(WmfParams* params) {
  if (params->failed || params->length - params->mark < 2) {
    params->failed = true;
    return 0;
  }
  const uint16_t value = Word16(params->data + params->mark);
  params->mark += 2;
  return value;
}

int16_t ReadWmfShort(WmfParams* params) {
  return static_cast<int16_t>(ReadWmfWord(params));
}

uint8_t ReadWmfByte(WmfParams* params) {
  if (params->failed || params->length - params->mark < 1) {
    params->failed = true;
    return 0;
  }
  return params->data[params->mark++];
}

// The writer.

WmfWriter::WmfWriter() : bytes_(kMetaHeaderSize, 0) {}

void WmfWriter::Begin(uint16_t function, size_t paramWords) {
  const uint32_t words = static_cast<uint32_t>(3 + paramWords);
  if (words > maxRecordWords_) maxRecordWords_ = words;
  const uint8_t header[6] = {static_cast<uint8_t>(words),       static_cast<uint8_t>(words >> 8),
                             static_cast<uint8_t>(words >> 16), static_cast<uint8_t>(words >> 24),
                             static_cast<uint8_t>(function),    static_cast<uint8_t>(function >> 8)};
  bytes_.insert(bytes_.end(), header, header + 6);
  ++records_;
}

void WmfWriter::Word(int16_t value) {
  const uint16_t bits = static_cast<uint16_t>(value);
  bytes_.push_back(static_cast<uint8_t>(bits));
  bytes_.push_back(static_cast<uint8_t>(bits >> 8));
}

void WmfWriter::MoveTo(int16_t x, int16_t y) {
  Begin(kMetaMoveTo, 2);
  Word(y);
  Word(x);
}

void WmfWriter::LineTo(int16_t x, int16_t y) {
  Begin(kMetaLineTo, 2);
  Word(y);
  Word(x);
}

void WmfWriter::Polyline(const int16_t* xy, int count) {
  if (count < 1 || count > kMaxPolyPoints) return;
  Begin(kMetaPolyline, 1 + 2 * static_cast<size_t>(count));
  Word(static_cast<int16_t>(count));
  for (int i = 0; i < 2 * count; ++i) Word(xy[i]);
}

void WmfWriter::Polygon(const int16_t* xy, int count) {
  if (count < 1 || count > kMaxPolyPoints) return;
  Begin(kMetaPolygon, 1 + 2 * static_cast<size_t>(count));
  Word(static_cast<int16_t>(count));
  for (int i = 0; i < 2 * count; ++i) Word(xy[i]);
}

void WmfWriter::Arc(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t startX, int16_t startY,
                    int16_t endX, int16_t endY) {
  Begin(kMetaArc, 8);
  const int16_t words[8] = {endY, endX, startY, startX, bottom, right, top, left};
  for (int16_t w : words) Word(w);
}

// The object just created takes the lowest free slot; it is selected and the one it replaces
// deleted.
void WmfWriter::Replace(int* slot) {
  int free = 0;
  while (free == penSlot_ || free == brushSlot_) ++free;
  if (free + 1 > slotsInUse_) slotsInUse_ = free + 1;
  Begin(kMetaSelectObject, 1);
  Word(static_cast<int16_t>(free));
  if (*slot >= 0) {
    Begin(kMetaDeleteObject, 1);
    Word(static_cast<int16_t>(*slot));
  }
  *slot = free;
}

// The pen and the brush use slots 0 and 1 turn about with a third for the one being replaced,
// so the table never holds more than three.
void WmfWriter::UsePen(int16_t style, int16_t width, uint8_t red, uint8_t green, uint8_t blue) {
  Begin(kMetaCreatePen, 5);
  Word(style);
  Word(width);
  Word(0);
  Word(static_cast<int16_t>(red | (green << 8)));
  Word(static_cast<int16_t>(blue));
  Replace(&penSlot_);
}

void WmfWriter::UseBrush(int16_t style, uint8_t red, uint8_t green, uint8_t blue, int16_t hatch) {
  Begin(kMetaCreateBrush, 4);
  Word(style);
  Word(static_cast<int16_t>(red | (green << 8)));
  Word(static_cast<int16_t>(blue));
  Word(hatch);
  Replace(&brushSlot_);
}

void WmfWriter::Comment(const std::string& text) {
  // Escape function, byte count, then the bytes padded to whole words.
  const size_t n = text.size() > 32000 ? 32000 : text.size();
  Begin(kMetaEscape, 2 + (n + 1) / 2);
  Word(kMetaEscapeComment);
  Word(static_cast<int16_t>(n));
  bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
  if (n % 2) bytes_.push_back(0);
}

const std::vector<uint8_t>& WmfWriter::Finish() {
  if (finished_) return bytes_;
  finished_ = true;
  Begin(kMetaEOF, 0);
  const uint32_t words = static_cast<uint32_t>(bytes_.size() / 2);
  const uint16_t header[9] = {kMetaTypeMemory,
                              kMetaHeaderWords,
                              kMetaVersion300,
                              static_cast<uint16_t>(words),
                              static_cast<uint16_t>(words >> 16),
                              static_cast<uint16_t>(slotsInUse_),
                              static_cast<uint16_t>(maxRecordWords_),
                              static_cast<uint16_t>(maxRecordWords_ >> 16),
                              0};
  for (int i = 0; i < 9; ++i) {
    bytes_[2 * i] = static_cast<uint8_t>(header[i]);
    bytes_[2 * i + 1] = static_cast<uint8_t>(header[i] >> 8);
  }
  return bytes_;
}
