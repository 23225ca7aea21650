// The 16-bit metafile as bytes: a reader of its records over a block of known length, and a
// writer the import filters use to make one. The reader never steps past the block: a record
// whose size runs past the end, or a parameter read past its record, sets a sticky fault and
// reads zeros from then on, so a record can be checked once after its last read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Record functions (the published numbers of the 16-bit metafile).
constexpr uint16_t kMetaEOF = 0x0000;
constexpr uint16_t kMetaSelectObject = 0x012D;
constexpr uint16_t kMetaDeleteObject = 0x01F0;
constexpr uint16_t kMetaLineTo = 0x0213;
constexpr uint16_t kMetaMoveTo = 0x0214;
constexpr uint16_t kMetaCreatePen = 0x02FA;
constexpr uint16_t kMetaCreateBrush = 0x02FC;
constexpr uint16_t kMetaPolygon = 0x0324;
constexpr uint16_t kMetaPolyline = 0x0325;
constexpr uint16_t kMetaPolyPolygon = 0x0538;
constexpr uint16_t kMetaEscape = 0x0626;
constexpr uint16_t kMetaArc = 0x0817;

// The comment escape, and the marker our own filters put in front of the note that tells the
// user what did not come across.
constexpr int16_t kMetaEscapeComment = 15;
constexpr char kImportNoteMarker[] = "DRXNOTE:";

// Pen styles, brush styles and hatch styles of the pen and brush records.
constexpr int16_t kPenSolid = 0, kPenDash = 1, kPenDot = 2, kPenDashDot = 3, kPenDashDotDot = 4;
constexpr int16_t kBrushSolid = 0, kBrushHollow = 1, kBrushHatched = 2, kBrushPattern = 3, kBrushIndexed = 4,
                  kBrushDibPattern = 5, kBrushDibPatternPt = 6;
constexpr int16_t kHatchHorizontal = 0, kHatchVertical = 1, kHatchForwardDiagonal = 2,
                  kHatchBackwardDiagonal = 3, kHatchCross = 4, kHatchDiagonalCross = 5;

// Sizes of the fixed parts, in bytes.
constexpr size_t kMetaHeaderSize = 18;
constexpr size_t kMetaPlaceableHeaderSize = 22;
constexpr uint32_t kMetaPlaceableKey = 0x9AC6CDD7u;
constexpr size_t kMetaRecordHeaderSize = 6;

// Why a metafile's bytes were refused.
enum class WmfFault : uint8_t {
  kNone,
  kBadHeader,         // not a metafile header (type, header size or version)
  kRecordTooShort,    // a record's size is below its own header
  kRecordPastEnd,     // a record's size runs past the end of the bytes
  kParameterPastEnd,  // a parameter read past the end of its record
  kNoEndRecord,       // the bytes end before the end record
};
const char* WmfFaultText(WmfFault fault);

// One record: its function and its parameter bytes (little-endian 16-bit words).
struct WmfRecord {
  uint16_t function;
  const uint8_t* params;
  size_t paramBytes;
  size_t offset;  // where the record starts in the metafile's bytes
};

// The metafile being read.
struct WmfSource {
  const uint8_t* data;
  size_t length;
  size_t mark;
  WmfFault fault;
  bool ended;  // the end record was read
};

// Starts reading `data`: checks the header (a placeable header in front of it is skipped) and
// leaves the source at the first record. False with `fault` set when it is no metafile.
bool BeginWmf(WmfSource* source, const uint8_t* data, size_t length);
// The next record; false at the end record or at the first fault (then `fault` says which).
bool NextWmfRecord(WmfSource* source, WmfRecord* record);

// The parameters of one record, read in order; a read past the record reads 0 and sets `failed`.
struct WmfParams {
  const uint8_t* data;
  size_t length;
  size_t mark;
  bool failed;
};
WmfParams BeginWmfParams(const WmfRecord& record);
int16_t ReadWmfShort(WmfParams* params);
uint16_t ReadWmfWord(WmfParams* params);
uint8_t ReadWmfByte(WmfParams* params);
inline size_t WmfParamsLeft(const WmfParams& params) {
  return params.failed ? 0 : params.length - params.mark;
}

// A metafile being written into memory. Coordinates are 16-bit metafile units.
class WmfWriter {
 public:
  WmfWriter();
  void MoveTo(int16_t x, int16_t y);
  void LineTo(int16_t x, int16_t y);
  // count points as x, y pairs; counts past what a record can hold are split by the caller.
  void Polyline(const int16_t* xy, int count);
  void Polygon(const int16_t* xy, int count);
  // The arc of the ellipse in the rectangle, counter-clockwise on the screen from the direction
  // of the start point to that of the end point.
  void Arc(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t startX, int16_t startY,
           int16_t endX, int16_t endY);
  // A pen or a brush: created, selected, and the one before it deleted.
  void UsePen(int16_t style, int16_t width, uint8_t red, uint8_t green, uint8_t blue);
  void UseBrush(int16_t style, uint8_t red, uint8_t green, uint8_t blue, int16_t hatch);
  void Comment(const std::string& text);
  // The finished metafile's bytes (the end record appended and the header filled in).
  const std::vector<uint8_t>& Finish();
  size_t RecordCount() const { return records_; }

  // Most points one polyline record holds.
  static constexpr int kMaxPolyPoints = 8000;

 private:
  void Begin(uint16_t function, size_t paramWords);
  void Word(int16_t value);
  void Replace(int* slot);
  std::vector<uint8_t> bytes_;
  size_t records_ = 0;
  uint32_t maxRecordWords_ = 3;
  int penSlot_ = -1, brushSlot_ = -1;
  int slotsInUse_ = 0;
  bool finished_ = false;
};
