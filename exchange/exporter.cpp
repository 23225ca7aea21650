// The export framework: the walk that lowers the drawing to segments, the buffered writer, the
// embedded header and trailer texts, and the export of a whole file through a temporary.
#include "exchange/exporter.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "exchange/dxfxptr.h"
#include "exchange/epsxptr.h"
#include "exchange/hpglxptr.h"
#include "exchange/resdata.h"
#include "geometry/geometry.h"
#include "model/docstate.h"
#include "model/pthndlr.h"
#include "model/seam.h"

ExportFailure gExportFailure;

void SetExportFailure(ExportReason reason, int systemError) {
  gExportFailure = ExportFailure{reason, systemError};
}

namespace {

// The reasons of the targets the system refused, each said in the refusal's own words. (An empty
// name is caught before the target is looked at.)
struct RefusalReason {
  FileRefusal refusal;
  ExportReason reason;
};
constexpr RefusalReason kRefusalReasons[] = {
    {FileRefusal::kNoName, ExportReason::kNoFileName},
    {FileRefusal::kDanglingLink, ExportReason::kDanglingLink},
    {FileRefusal::kNotRegularFile, ExportReason::kNotRegularFile},
    {FileRefusal::kReadOnly, ExportReason::kReadOnly},
    {FileRefusal::kUnreachable, ExportReason::kUnreachable},
    {FileRefusal::kTemporaryInTheWay, ExportReason::kTemporaryInTheWay},
};

}  // namespace

std::string ExportFailureText(const ExportFailure& failure) {
  static const char* const kWords[] = {
      "",
      "no drawing to export",
      "no file name",
      "unknown export format",
      "out of memory",
      "cannot be created",
      "cannot be written",
      "cannot be written: the file would exceed 4 GB",
      "cannot be written: the old file cannot be replaced",
      nullptr,  // the target's refusals are said in the seam's words
      nullptr,
      nullptr,
      nullptr,
      nullptr,
      nullptr,  // beyond the range: said with the object's place
  };
  static_assert(sizeof kWords / sizeof kWords[0] == static_cast<size_t>(ExportReason::kCount),
                "one text per export reason");
  for (const RefusalReason& entry : kRefusalReasons)
    if (entry.reason == failure.reason && entry.reason != ExportReason::kNoFileName)
      return FileRefusalText(entry.refusal);
  if (failure.reason == ExportReason::kBeyondRange) {
    char text[kExportFailureLayerNameLength + 160];
    const char* kind = ExportKindName(failure.objectKind);
    const char* format = ExportFormatName(failure.format);
    if (failure.objectNumber > 0)
      std::snprintf(
          text, sizeof text,
          "cannot be written: object %ld of layer \"%s\" (%s) lies beyond the coordinates %s can hold",
          failure.objectNumber, failure.layerName, kind, format);
    else
      std::snprintf(text, sizeof text, "cannot be written: %s lies beyond the coordinates %s can hold", kind,
                    format);
    return text;
  }
  const size_t index = static_cast<size_t>(failure.reason);
  std::string text = index < static_cast<size_t>(ExportReason::kCount) && kWords[index] ? kWords[index] : "";
  if (failure.systemError) text += std::string(": ") + std::strerror(failure.systemError);
  return text;
}

namespace {

void NoteWriteFailure(ExportStream* stream) {
  if (!stream->failed) SetExportFailure(ExportReason::kCannotWrite, errno);
  stream->failed = true;
}

ExportReason ExportReasonOfRefusal(FileRefusal refusal) {
  for (const RefusalReason& entry : kRefusalReasons)
    if (entry.refusal == refusal) return entry.reason;
  return ExportReason::kCannotCreate;
}

}  // namespace

const char* ExportFormatName(int16_t type) {
  switch (type) {
    case kExportDXF:
      return "DXF";
    case kExportHPGL:
      return "HPGL";
    case kExportEPS:
      return "EPS";
    default:
      return "the format";
  }
}

const char* ExportKindName(int kind) {
  if (IsDimensionKind(kind)) return "a dimension";
  switch (kind) {
    case kRectKind:
      return "a rectangle";
    case kOvalKind:
      return "an oval";
    case kPolyKind:
      return "a polygon";
    case kMultiKind:
      return "a multigon";
    case kArcKind:
      return "an arc";
    case kLineKind:
      return "a line";
    case kSplineKind:
      return "a spline";
    case kLeaderDimKind:
      return "a leader";
    case kTextBlockKind:
      return "a text block";
    case kDimensionTextKind:
      return "a dimension label";
    case kMetaFileKind:
      return "a picture";
    case kGroupKind:
      return "a group";
    default:
      return "an object";
  }
}

namespace {

// Why an export is refused: the file would hold a number its readers cannot take (or no number
// at all). The object is named by its place.
void SetBeyondRangeReason(int16_t type, const LayerRec* layer, const ObjectRec* object, long number) {
  SetExportFailure(ExportReason::kBeyondRange, 0);
  gExportFailure.objectKind = object ? object->kind : 0;
  gExportFailure.format = type;
  if (layer) {
    gExportFailure.objectNumber = number;
    const size_t length = strnlen(layer->name, kExportFailureLayerNameLength);
    std::memcpy(gExportFailure.layerName, layer->name, length);
    gExportFailure.layerName[length] = '\0';
  }
}

void FailBeyondRange(ExportStream* stream, int16_t type) {
  if (stream->failed) return;
  stream->failed = true;
  SetBeyondRangeReason(type, stream->layer, stream->object, stream->objectNumber);
}

// True when a coordinate as written is a finite number the format holds.
bool FitsFormat(double value, int16_t type) {
  return std::fabs(value) <= GetExportCoordinateLimit(type);  // false for NaN as well
}

// The y a mirroring stream writes for `y`, with the arithmetic of a vertical flip.
float MirrorY(float y, const ExportStream* stream) {
  if (!stream->mirror) return y;
  const float center = stream->mirrorCenterY;
  return center - (y - center);
}

// The position written for a point: y mirrored about the centre when the stream asks for it,
// with the arithmetic of a vertical flip of the drawing, so the output is the same bytes a flip,
// an export and a flip back would give.
struct ExportPoint {
  float x, y;
  float inX, inY;
  float outX, outY;
};

ExportPoint MapPoint(const PointRec* point, const ExportStream* stream) {
  ExportPoint mapped = {point->x,          point->y,           point->inTangentX,
                        point->inTangentY, point->outTangentX, point->outTangentY};
  if (stream->mirror) {
    mapped.y = MirrorY(point->y, stream);
    mapped.inY = -point->inTangentY;
    mapped.outY = -point->outTangentY;
  }
  return mapped;
}

bool IsOutlinePoint(const PointRec* point) {
  return !IsMarkerPointKind(point->pointKind);
}

const PointRec* NextOutlinePoint(const PointRec* point) {
  while (point && !IsOutlinePoint(point)) point = point->nextPoint;
  return point;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The buffered writer.

bool FlushExportStream(ExportStream* stream) {
  if (stream->failed) return false;
  if (stream->used > 0) {
    errno = 0;
    if (std::fwrite(stream->buffer, 1, stream->used, stream->file) != stream->used) {
      NoteWriteFailure(stream);
      return false;
    }
    stream->flushed += stream->used;
    stream->used = 0;
  }
  return true;
}

void WriteExportBytes(ExportStream* stream, const void* bytes, size_t count) {
  const char* from = static_cast<const char*>(bytes);
  while (count > 0 && !stream->failed) {
    if (stream->used == kExportBufferSize && !FlushExportStream(stream)) return;
    size_t part = kExportBufferSize - stream->used;
    if (part > count) part = count;
    std::memcpy(stream->buffer + stream->used, from, part);
    stream->used += part;
    from += part;
    count -= part;
  }
}

void WriteExportText(ExportStream* stream, const char* text) {
  WriteExportBytes(stream, text, std::strlen(text));
}

char* ReserveExportSpace(ExportStream* stream) {
  if (kExportBufferSize - stream->used < kExportRecordSize) FlushExportStream(stream);
  // After a failure the buffer is reused as scratch space and never written.
  if (stream->failed) stream->used = 0;
  return stream->buffer + stream->used;
}

void CommitExportSpace(ExportStream* stream, char* end) {
  if (stream->failed) return;
  stream->used = static_cast<size_t>(end - stream->buffer);
}

uint64_t GetExportPosition(ExportStream* stream) {
  return stream->flushed + stream->used;
}

// ---------------------------------------------------------------------------------------------
// Number formatting.

char* FormatFixed(char* out, double value, int decimals) {
  static const double kScales[] = {1.0, 10.0, 100.0, 1000.0, 10000.0, 100000.0, 1000000.0};
  // Below 2^52 every scaled value of a float is exact, and adding and taking away 2^52 rounds it
  // to a whole number the way printf does in the default rounding mode (halfway cases to even).
  constexpr double kRoundingShift = 4503599627370496.0;
  static const char kDigitPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  if (decimals < 0) decimals = 0;
  if (decimals > 6) decimals = 6;
  const double scaled = std::fabs(value) * kScales[decimals];
  if (!(scaled < kRoundingShift)) {
    char text[kExportRecordSize];
    const int length = std::snprintf(text, sizeof text, "%.*f", decimals, value);
    const size_t kept = length < 0 ? 0 : (static_cast<size_t>(length) < 48 ? length : 48);
    std::memcpy(out, text, kept);
    return out + kept;
  }
  volatile double shifted = scaled + kRoundingShift;  // volatile: the rounding must happen
  uint64_t units = static_cast<uint64_t>(shifted - kRoundingShift);
  if (std::signbit(value)) *out++ = '-';
  // Digits from the right, two at a time, then the point put in place.
  char digits[24];
  char* end = digits + sizeof digits;
  char* at = end;
  while (units >= 100) {
    const unsigned pair = static_cast<unsigned>(units % 100) * 2;
    units /= 100;
    *--at = kDigitPairs[pair + 1];
    *--at = kDigitPairs[pair];
  }
  if (units >= 10) {
    *--at = kDigitPairs[units * 2 + 1];
    *--at = kDigitPairs[units * 2];
  } else {
    *--at = static_cast<char>('0' + units);
  }
  while (end - at <= decimals) *--at = '0';  // at least one digit before the point
  const size_t whole = static_cast<size_t>(end - at) - static_cast<size_t>(decimals);
  std::memcpy(out, at, whole);
  out += whole;
  if (decimals > 0) {
    *out++ = '.';
    std::memcpy(out, at + whole, static_cast<size_t>(decimals));
    out += decimals;
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// The walk.

double GetExportCoordinateLimit(int16_t type) {
  switch (type) {
    case kExportDXF:
      return FLT_MAX;
    case kExportHPGL:
      return kHPGLLargestUnit / kPlotterUnitsPerPageUnit;
    case kExportEPS:
      return kEPSLargestUnit;
    default:
      return 0.0;
  }
}

bool CheckExportRange(const LayerRec* firstLayer, int16_t type, const ExportStream* stream) {
  for (const LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) {
    if (!layer->visible) continue;
    long number = 0;
    for (const ObjectRec* object = layer->firstObject; object; object = object->nextObject) {
      ++number;
      FloatRect bounds = kEmptyRect;
      GetObjectBounds(object, false, &bounds, false, false);
      if (IsEmptyRect(&bounds)) continue;
      if (FitsFormat(bounds.left, type) && FitsFormat(bounds.right, type) &&
          FitsFormat(MirrorY(bounds.top, stream), type) && FitsFormat(MirrorY(bounds.bottom, stream), type))
        continue;
      SetBeyondRangeReason(type, layer, object, number);
      return false;
    }
  }
  return true;
}

void ExportMoveTo(float x, float y, int16_t type, ExportStream* stream) {
  if (!FitsFormat(x, type) || !FitsFormat(y, type)) return FailBeyondRange(stream, type);
  if (type == kExportHPGL) ExportHPGLMoveTo(x, y, stream);
}

void ExportLine(float x1, float y1, float x2, float y2, int16_t type, ExportStream* stream) {
  // The range is checked before a file is begun; this keeps a number no reader takes out of the
  // file whatever the caller checked.
  if (!FitsFormat(x1, type) || !FitsFormat(y1, type) || !FitsFormat(x2, type) || !FitsFormat(y2, type))
    return FailBeyondRange(stream, type);
  switch (type) {
    case kExportDXF:
      ExportDXFLine(x1, y1, x2, y2, stream);
      break;
    case kExportHPGL:
      ExportHPGLLine(x1, y1, x2, y2, stream);
      break;
    case kExportEPS:
      ExportEPSLine(x1, y1, x2, y2, stream);
      break;
    default:
      break;
  }
}

void ExportObjectSegment(const PointRec* from, const PointRec* to, int16_t type, ExportStream* stream) {
  const ExportPoint a = MapPoint(from, stream);
  const ExportPoint b = MapPoint(to, stream);
  // Negative zero compares equal to zero, so a flipped straight segment stays straight.
  if (a.outX == 0.0f && a.outY == 0.0f && b.inX == 0.0f && b.inY == 0.0f) {
    ExportMoveTo(a.x, a.y, type, stream);
    ExportLine(a.x, a.y, b.x, b.y, type, stream);
    return;
  }
  // The curve is sampled exactly as drawing and bounds sample it, from the mapped points.
  PointRec mappedFrom = *from;
  PointRec mappedTo = *to;
  mappedFrom.x = a.x;
  mappedFrom.y = a.y;
  mappedFrom.outTangentX = a.outX;
  mappedFrom.outTangentY = a.outY;
  mappedTo.x = b.x;
  mappedTo.y = b.y;
  mappedTo.inTangentX = b.inX;
  mappedTo.inTangentY = b.inY;
  bool first = true;
  float lastX = 0.0f, lastY = 0.0f;
  SampleCurveSegment(&mappedFrom, &mappedTo, stream->smoothness, [&](float x, float y) {
    if (first) {
      ExportMoveTo(x, y, type, stream);
      first = false;
    } else {
      ExportLine(lastX, lastY, x, y, type, stream);
    }
    lastX = x;
    lastY = y;
  });
}

void ExportObject(const ObjectRec* object, int16_t type, ExportStream* stream) {
  if (!object || stream->failed) return;
  // Dimensions write nothing of their own; their labels are objects of their own.
  if (!IsDimensionOrLeaderKind(object->kind)) {
    const PointRec* start = NextOutlinePoint(object->firstPoint);
    const PointRec* previous = start;
    if (start) {
      for (const PointRec* point = NextOutlinePoint(start->nextPoint); point;
           point = NextOutlinePoint(point->nextPoint)) {
        ExportObjectSegment(previous, point, type, stream);
        previous = point;
      }
      if (object->closed) ExportObjectSegment(previous, start, type, stream);
    }
  }
  for (const ObjectRec* child = object->firstChild; child; child = child->nextObject)
    ExportObject(child, type, stream);
}

void ExportLayer(const LayerRec* layer, int16_t type, ExportStream* stream) {
  if (!layer || !layer->visible) return;
  stream->layer = layer;
  stream->objectNumber = 0;
  for (const ObjectRec* object = layer->firstObject; object && !stream->failed; object = object->nextObject) {
    stream->object = object;
    ++stream->objectNumber;
    ExportObject(object, type, stream);
  }
  stream->layer = nullptr;
  stream->object = nullptr;
}

void ExportAllLayers(const LayerRec* firstLayer, int16_t type, ExportStream* stream) {
  for (const LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) ExportLayer(layer, type, stream);
}

const uint8_t* GetResource(const char* type, const char* name, uint32_t* length) {
  for (int i = 0; i < gEmbeddedResourceCount; ++i) {
    const EmbeddedResource& resource = gEmbeddedResources[i];
    if (type && name && std::strcmp(resource.type, type) == 0 && std::strcmp(resource.name, name) == 0) {
      if (length) *length = resource.length;
      return resource.bytes;
    }
  }
  if (length) *length = 0;
  return nullptr;
}

void WriteExportResource(ExportStream* stream, const char* type, const char* name) {
  uint32_t length = 0;
  const uint8_t* bytes = GetResource(type, name, &length);
  if (bytes) WriteExportBytes(stream, bytes, length);
}

void ExportHeader(int16_t type, ExportStream* stream, const char* path) {
  switch (type) {
    case kExportDXF:
      WriteExportResource(stream, "hdrs", "DXFHeader");
      break;
    case kExportHPGL:
      ExportHPGLHeader(stream);
      break;
    case kExportEPS:
      ExportEPSHeader(stream, path);
      break;
    default:
      break;
  }
}

void ExportTrailer(int16_t type, ExportStream* stream) {
  switch (type) {
    case kExportDXF:
      WriteExportResource(stream, "tlrs", "DXFTrailer");
      break;
    case kExportHPGL:
      WriteExportResource(stream, "tlrs", "HPGLTrailer");
      break;
    case kExportEPS:
      ExportEPSTrailer(stream);
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Whole files.

float GetExportMirrorCenter(const LayerRec* firstLayer) {
  FloatRect bounds = kEmptyRect;
  GetAllLayersBounds(firstLayer, false, &bounds, false, false);
  if (IsEmptyRect(&bounds)) return 0.0f;
  return bounds.top + (bounds.bottom - bounds.top) / 2;
}

bool WriteExportFile(int16_t type, const char* path, const ExportSettings& settings) {
  gExportFailure = ExportFailure{};
  if (!gCurDocument) {
    SetExportFailure(ExportReason::kNoDrawing, 0);
    return false;
  }
  if (!path || !*path) {
    SetExportFailure(ExportReason::kNoFileName, 0);
    return false;
  }
  if (type != kExportDXF && type != kExportHPGL && type != kExportEPS) {
    SetExportFailure(ExportReason::kUnknownFormat, 0);
    return false;
  }
  std::unique_ptr<ExportStream> stream(new (std::nothrow) ExportStream());
  if (!stream) {
    SetExportFailure(ExportReason::kOutOfMemory, 0);
    return false;
  }
  stream->mirror = settings.mirror;
  stream->mirrorCenterY = settings.mirrorCenterY;
  // A drawing the format cannot hold is refused before any file is made.
  if (!CheckExportRange(gCurDocument->firstLayer, type, stream.get())) return false;
  errno = 0;
  stream->file = std::fopen(path, "wb");
  if (!stream->file) {
    SetExportFailure(ExportReason::kCannotCreate, errno);
    return false;
  }
  stream->smoothness = CurrentCurveSmoothness();
  stream->previewBits = settings.previewBits;
  stream->previewLength = settings.previewLength;
  stream->title = settings.title ? settings.title : path;
  if (gCurDocument->firstLayer) {
    ExportHeader(type, stream.get(), stream->title);
    ExportAllLayers(gCurDocument->firstLayer, type, stream.get());
    ExportTrailer(type, stream.get());
    if (type == kExportEPS) FinishEPSPreview(stream.get());
  }
  FlushExportStream(stream.get());
  errno = 0;
  if (std::fflush(stream->file) != 0) NoteWriteFailure(stream.get());
  if (std::fclose(stream->file) != 0) NoteWriteFailure(stream.get());
  stream->file = nullptr;
  return !stream->failed;
}

bool ExportFile(int16_t type, const char* path, const uint8_t* previewBits, uint32_t previewLength,
                const char* title) {
  gExportFailure = ExportFailure{};
  if (!gCurDocument || !path || !*path) return WriteExportFile(type, path, ExportSettings());
  ExportSettings settings = {};
  settings.mirror = true;
  settings.mirrorCenterY = GetExportMirrorCenter(gCurDocument->firstLayer);
  settings.previewBits = previewBits;
  settings.previewLength = previewLength;
  settings.title = title ? title : path;
  std::string target, temporary;
  const FileRefusal refusal = PrepareFileReplacement(path, &target, &temporary);
  if (refusal != FileRefusal::kNone) {
    SetExportFailure(ExportReasonOfRefusal(refusal), 0);
    return false;
  }
  if (!WriteExportFile(type, temporary.c_str(), settings)) {
    std::remove(temporary.c_str());
    return false;
  }
  if (!ReplaceFileWithTemporary(temporary.c_str(), target.c_str())) {
    std::remove(temporary.c_str());
    SetExportFailure(ExportReason::kCannotReplace, 0);
    return false;
  }
  return true;
}
