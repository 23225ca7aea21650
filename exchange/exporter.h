// Export to DXF, HPGL and EPS: one walk over layers, objects and point pairs lowers every
// outline to straight segments (curves flattened at the drawing's smoothness) and hands each
// segment to the writer of the format, between the format's fixed header and trailer.
// Output streams through one buffered writer, so an export of any size runs in constant memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "model/records.h"

// Export types. The codes are the ones the export commands pass along.
constexpr int16_t kExportDXF = 2;
constexpr int16_t kExportHPGL = 3;
constexpr int16_t kExportEPS = 4;

// HPGL coordinates are integers of at most 31 bits: -2^30 .. 2^30 - 1 plotter units, kept one
// unit inside for the rounding.
constexpr double kHPGLLargestUnit = 1073741822.0;
// The EPS bounding box is four 32-bit integers; its readers read nothing larger.
constexpr double kEPSLargestUnit = 2147483646.0;

constexpr size_t kExportBufferSize = 64 * 1024;
// The longest text one writer call produces (a DXF line record with four numbers).
constexpr size_t kExportRecordSize = 256;

// The export file being written: a buffered writer that remembers its first failure, plus how
// the walk maps the drawing onto the file.
struct ExportStream {
  FILE* file;
  bool failed;                 // a write failed; nothing more is written
  bool mirror;                 // y is written mirrored about mirrorCenterY (the formats count y upward)
  float mirrorCenterY;         // page units
  int smoothness;              // samples per curved segment
  const uint8_t* previewBits;  // EPS: a standard metafile of the drawing, or null for none
  uint32_t previewLength;
  const char* title;         // EPS: the %%Title text (the target path)
  uint32_t postScriptStart;  // EPS with a preview: where the PostScript section starts
  uint64_t flushed;          // bytes handed to the file
  const LayerRec* layer;     // where the walk is, to name an object the format cannot hold
  const ObjectRec* object;   // the top-level object being written
  long objectNumber;         // its place in its layer, from 1
  size_t used;               // bytes waiting in the buffer
  char buffer[kExportBufferSize];
};

// How a file is to be written; ExportFile fills it the way the export commands want it.
struct ExportSettings {
  bool mirror;
  float mirrorCenterY;
  const uint8_t* previewBits;
  uint32_t previewLength;
  const char* title;  // null: the path
};

// Why an export failed. The values are stable: the program's string table holds one message
// per reason, in this order from STR_EXPORT_REASON_FIRST.
enum class ExportReason : uint8_t {
  kNone,
  kNoDrawing,
  kNoFileName,
  kUnknownFormat,
  kOutOfMemory,
  kCannotCreate,
  kCannotWrite,
  kTooLarge,       // an EPS file with its preview would pass 4 GB
  kCannotReplace,  // the written temporary cannot take the target's place
  // The target refused before anything was written:
  kNotRegularFile,
  kDanglingLink,  // a symbolic link that leads nowhere
  kReadOnly,
  kUnreachable,        // its folder cannot be searched
  kTemporaryInTheWay,  // an earlier save's temporary cannot be removed
  kBeyondRange,        // an object lies beyond the coordinates the format holds
  kCount
};

// Longest part of a layer's name a failure keeps.
constexpr size_t kExportFailureLayerNameLength = 64;

struct ExportFailure {
  ExportReason reason = ExportReason::kNone;
  int systemError = 0;  // the errno the system gave, or 0
  // kBeyondRange: the object that does not fit, by its place (number 0: none known), and the format.
  long objectNumber = 0;  // its place in its layer, from 1
  char layerName[kExportFailureLayerNameLength + 1] = {};
  int16_t objectKind = 0;
  int16_t format = 0;  // kExportDXF, kExportHPGL or kExportEPS
};

// Why the last ExportFile or WriteExportFile failed; reason kNone after success.
extern ExportFailure gExportFailure;

// The failure in words, as the converter prints it ("cannot be created: No such file or
// directory"); empty for kNone.
std::string ExportFailureText(const ExportFailure& failure);
// Records why an export failed; the format writers call it for their own faults.
void SetExportFailure(ExportReason reason, int systemError);
// Names an object's kind as an export failure does ("a rectangle"), and a format ("HPGL").
const char* ExportKindName(int kind);
const char* ExportFormatName(int16_t type);

// The export commands' whole export of the current drawing: the drawing is written mirrored top
// to bottom about the centre of the bounds of all its visible objects (the formats count y
// upward), the way a flip of everything, the export and a flip back would write it, while the
// drawing itself is never touched. The file is written beside `path` and replaces it only when
// every byte is written. For EPS, `previewBits` (a standard metafile, or null) is stored as the
// preview. False with gExportFailure set when there is no drawing or the file cannot be written.
bool ExportFile(int16_t type, const char* path, const uint8_t* previewBits = nullptr,
                uint32_t previewLength = 0, const char* title = nullptr);

// Writes the current drawing to `path` itself (no temporary) with the given settings. False
// with gExportFailure set; a partial file may be left behind.
bool WriteExportFile(int16_t type, const char* path, const ExportSettings& settings);

// The largest magnitude of a coordinate, in page units as written, that a format's readers take:
// any finite number in DXF; HPGL's plotter units are integers of 31 bits; the EPS bounding box
// holds 32-bit integers. 0 for an unknown format.
double GetExportCoordinateLimit(int16_t type);

// Checks before anything is written that every object of the visible layers lies within what the
// format holds once mapped as the stream maps it. False with gExportFailure naming the first
// object that does not.
bool CheckExportRange(const LayerRec* firstLayer, int16_t type, const ExportStream* stream);

// The centre the export commands mirror about: the middle of the bounds of every object of the
// visible layers (curves followed, no pen). 0 for a drawing with no visible object.
float GetExportMirrorCenter(const LayerRec* firstLayer);

// The header and trailer texts, embedded from the files of resources/: the bytes of the
// resource `name` of `type` ("hdrs" or "tlrs") and their count, or null when there is none.
const uint8_t* GetResource(const char* type, const char* name, uint32_t* length);

// The walk.
void ExportHeader(int16_t type, ExportStream* stream, const char* path);
void ExportTrailer(int16_t type, ExportStream* stream);
void ExportAllLayers(const LayerRec* firstLayer, int16_t type, ExportStream* stream);
void ExportLayer(const LayerRec* layer, int16_t type, ExportStream* stream);
void ExportObject(const ObjectRec* object, int16_t type, ExportStream* stream);
void ExportObjectSegment(const PointRec* from, const PointRec* to, int16_t type, ExportStream* stream);
void ExportMoveTo(float x, float y, int16_t type, ExportStream* stream);
void ExportLine(float x1, float y1, float x2, float y2, int16_t type, ExportStream* stream);

// The buffered writer. Writing after a failure does nothing.
void WriteExportBytes(ExportStream* stream, const void* bytes, size_t count);
void WriteExportText(ExportStream* stream, const char* text);
void WriteExportResource(ExportStream* stream, const char* type, const char* name);
// Room for at least kExportRecordSize characters in the buffer; give the end of what was put
// there to CommitExportSpace.
char* ReserveExportSpace(ExportStream* stream);
void CommitExportSpace(ExportStream* stream, char* end);
// Writes out the buffer. False once anything failed.
bool FlushExportStream(ExportStream* stream);
// The number of bytes written to the file so far, buffer included.
uint64_t GetExportPosition(ExportStream* stream);

// Writes `value` as the C library's "%.<decimals>f" writes it in the default rounding mode
// (exact value, halfway cases to even), for decimals 0 to 6, the same on every build. Returns the
// end of the text; at most 48 characters for values of float range, no NUL.
char* FormatFixed(char* out, double value, int decimals);
