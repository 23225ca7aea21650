// Import: the conversion of metafile records into objects.
#include "tools/extract1.h"

#include <cmath>
#include <cstdlib>

#include "geometry/gnrlmath.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/pthndlr.h"
#include "model/records.h"
#include "tools/buildobj.h"
#include "tools/toolstate.h"

int16_t gFilterName = 0;
int16_t gCDRImportMethod = kCDRImportPicture;
LayerRec* gExtractLayer = nullptr;
float gExtractScale = 1.0f;
ObjectRec* gExtractPoly = nullptr;
ObjectRec* gExtractTail = nullptr;
PointRec* gExtractPolyTail = nullptr;
bool gExtractFault = false;
std::string gImportNote;

namespace {

// Line types by pen style: solid, dash, dot, dash-dot, dash-dot-dot.
constexpr int16_t kLineTypeByPenStyle[] = {6, 9, 10, 7, 8};
// Fill patterns by brush: solid, hollow, the hatches, and the pattern and bitmap brushes.
constexpr int16_t kPatternSolid = 11;
constexpr int16_t kPatternHollow = 0;
constexpr int16_t kPatternBitmap = 2;
// Horizontal, vertical, forward diagonal, backward diagonal, cross, diagonal cross.
constexpr int16_t kPatternByHatch[] = {64, 54, 21, 12, 61, 69};
// Each 8-bit colour component becomes a 16-bit one.
constexpr uint16_t kComponentScale = 257;

float Scaled(int16_t value) {
  return static_cast<float>(value) * gExtractScale;
}

// The new object goes to the end of the target layer (kept as the tail so that a long import
// does not walk the layer for every object).
void LinkNew(ObjectRec* object) {
  if (!object || !gExtractLayer) return;
  LinkObjectAfter(object, gExtractLayer, gExtractTail);
  gExtractTail = object;
}

ObjectRec* LastObjectOf(LayerRec* layer) {
  ObjectRec* last = layer ? layer->firstObject : nullptr;
  while (last && last->nextObject) last = last->nextObject;
  return last;
}

// Appends a vertex to a figure being built, after its last point `tail`, as the polygon builder's
// second stage does (a repeat of the last vertex adds nothing) but without walking the points
// and recomputing the bounds for each: long imported outlines would take quadratic time.
void AppendVertex(ObjectRec* figure, PointRec** tail, float x, float y) {
  if (!figure || !*tail || !std::isfinite(x) || !std::isfinite(y)) return;
  if ((*tail)->x == x && (*tail)->y == y) return;
  PointRec* point = CreatePoint(kVertexPoint, 0, 0, 0.0f, 0.0f, x, y, 0.0f, 0.0f, figure);
  if (!point) return;
  LinkPointAfter(point, figure, *tail);
  point->detectable = 1;
  *tail = point;
}

// Finishes a figure built unlinked; it joins the layer unless it was too small to keep.
void FinishFigure(ObjectRec* object, bool close) {
  if (!object) return;
  ObjectRec* finished = BuildPoly(object, 0.0f, 0.0f, nullptr, kBuildFinish, true, close);
  LinkNew(finished);
}

void ClosePendingPolyline() {
  if (gExtractPoly && gExtractPoly->kind == kPolyKind) FinishFigure(gExtractPoly, false);
  gExtractPoly = nullptr;
  gExtractPolyTail = nullptr;
}

// True when the points, rounded to whole numbers, are the same place.
bool SameWholePoint(float x1, float y1, float x2, float y2) {
  return std::lround(x1) == std::lround(x2) && std::lround(y1) == std::lround(y2);
}

// Reads `count` points (x, y) and builds one figure of them; `closeWhenEnds` closes it when its
// first and last points meet as whole numbers. False when the record is short of points.
bool BuildFigure(WmfParams* params, int count, bool closeWhenEnds) {
  if (count < 1 || static_cast<size_t>(count) * 4 > WmfParamsLeft(*params)) return false;
  float firstX = Scaled(ReadWmfShort(params));
  float firstY = Scaled(ReadWmfShort(params));
  ObjectRec* figure = BuildPoly(nullptr, firstX, firstY, nullptr, kBuildFirstPoint, true);
  PointRec* tail = figure ? figure->firstPoint : nullptr;
  float x = firstX, y = firstY;
  for (int i = 1; i < count; ++i) {
    x = Scaled(ReadWmfShort(params));
    y = Scaled(ReadWmfShort(params));
    AppendVertex(figure, &tail, x, y);
  }
  if (figure) FinishFigure(figure, closeWhenEnds && count > 2 && SameWholePoint(firstX, firstY, x, y));
  return true;
}

// The parametric angle, in degrees counter-clockwise with y up, of the ellipse point in the
// direction of (x, y) from the centre: the arc builder squeezes a circle into the ellipse, so
// its angles are those of the circle before the squeeze, not the direction's own.
float ParametricDegrees(float cx, float cy, float halfWidth, float halfHeight, float x, float y) {
  const double dx = (x - cx) / halfWidth, dyUp = (cy - y) / halfHeight;
  double degrees = std::atan2(dyUp, dx) * kRadiansToDegrees;
  if (degrees < 0.0) degrees += 360.0;
  return static_cast<float>(degrees);
}

void ConvertArc(WmfParams* params) {
  const float endY = Scaled(ReadWmfShort(params)), endX = Scaled(ReadWmfShort(params));
  const float startY = Scaled(ReadWmfShort(params)), startX = Scaled(ReadWmfShort(params));
  const float bottom = Scaled(ReadWmfShort(params)), right = Scaled(ReadWmfShort(params));
  const float top = Scaled(ReadWmfShort(params)), left = Scaled(ReadWmfShort(params));
  if (params->failed) return;
  const float cx = (left + right) / 2.0f, cy = (top + bottom) / 2.0f;
  const float halfWidth = std::fabs(right - left) / 2.0f, halfHeight = std::fabs(bottom - top) / 2.0f;
  if (!(halfWidth > 0.0f) || !(halfHeight > 0.0f)) return;
  float a1 = ParametricDegrees(cx, cy, halfWidth, halfHeight, startX, startY);
  float a2 = ParametricDegrees(cx, cy, halfWidth, halfHeight, endX, endY);
  const bool samePoint = startX == endX && startY == endY;
  // Start and end the same way round: the arc goes all the way round.
  const bool fullTurn = samePoint || std::fabs(a2 - a1) < 1e-4f;
  if (fullTurn) {
    LinkNew(BuildOval(left, top, right, bottom, nullptr, true));
    return;
  }
  if (a1 > 180.0f) a1 -= 360.0f;
  if (a2 > 180.0f) a2 -= 360.0f;
  float sweep = a2 - a1;
  if (sweep < 0.0f) sweep += 360.0f;
  LinkNew(BuildArc(left, top, right, bottom, a1, sweep, nullptr, true));
}

void ConvertPen(WmfParams* params) {
  const int16_t style = ReadWmfShort(params);
  const int16_t width = ReadWmfShort(params);
  ReadWmfShort(params);  // the width's unused y
  const uint8_t red = ReadWmfByte(params), green = ReadWmfByte(params), blue = ReadWmfByte(params);
  if (params->failed || !gCurDocument || !gCurDocument->docState) return;
  DocState* state = gCurDocument->docState;
  const int16_t kind = static_cast<int16_t>(style & 0x0F);
  if (kind >= kPenSolid && kind <= kPenDashDotDot) state->lineType = kLineTypeByPenStyle[kind];
  const double weight = std::fabs(static_cast<double>(width) * gExtractScale);
  state->lineWeight =
      weight >= 1.0 && weight < 32767.0 ? static_cast<int16_t>(weight) : (weight < 1.0 ? 1 : 32767);
  state->penColor =
      RGB16{static_cast<uint16_t>(red * kComponentScale), static_cast<uint16_t>(green * kComponentScale),
            static_cast<uint16_t>(blue * kComponentScale)};
}

void ConvertBrush(WmfParams* params) {
  const int16_t style = ReadWmfShort(params);
  const uint8_t red = ReadWmfByte(params), green = ReadWmfByte(params), blue = ReadWmfByte(params);
  ReadWmfByte(params);
  const int16_t hatch = ReadWmfShort(params);
  if (params->failed || !gCurDocument || !gCurDocument->docState) return;
  gCurDocument->docState->fillColor =
      RGB16{static_cast<uint16_t>(red * kComponentScale), static_cast<uint16_t>(green * kComponentScale),
            static_cast<uint16_t>(blue * kComponentScale)};
  switch (style) {
    case kBrushSolid:
      gPattern = kPatternSolid;
      break;
    case kBrushHollow:
      gPattern = kPatternHollow;
      break;
    case kBrushHatched:
      if (hatch >= kHatchHorizontal && hatch <= kHatchDiagonalCross) gPattern = kPatternByHatch[hatch];
      break;
    case kBrushPattern:
    case kBrushIndexed:
    case kBrushDibPattern:
    case kBrushDibPatternPt:
      gPattern = kPatternBitmap;
      break;
    default:
      break;
  }
}

// Our own filters' note of what did not come across, in a comment escape.
void ReadComment(WmfParams* params) {
  if (ReadWmfShort(params) != kMetaEscapeComment) return;
  const int16_t count = ReadWmfShort(params);
  const size_t marker = sizeof kImportNoteMarker - 1;
  if (count < 0 || static_cast<size_t>(count) > WmfParamsLeft(*params) || static_cast<size_t>(count) < marker)
    return;
  const char* text = reinterpret_cast<const char*>(params->data + params->mark);
  if (std::string(text, marker) != kImportNoteMarker) return;
  if (!gImportNote.empty()) gImportNote += " ";
  gImportNote.append(text + marker, static_cast<size_t>(count) - marker);
}

}  // namespace

int16_t CheckFilterPicture(const FilterPictRecord* picture) {
  if (!picture || picture->unitsPerInch <= 0) return kFilterInvalidData;
  if (picture->right <= picture->left || picture->bottom <= picture->top) return kFilterInvalidData;
  return kFilterOK;
}

int16_t PlaceFilterPicture(const FilterPictRecord* picture, MetaPict metafile) {
  if (CheckFilterPicture(picture) != kFilterOK || !metafile) return kFilterInvalidData;
  if (!gCurDocument || !gCurDocument->currentLayer) return kFilterInvalidData;
  MetaInfo* info = static_cast<MetaInfo*>(std::calloc(1, sizeof(MetaInfo)));
  if (!info) return kFilterNoMemory;
  info->mapMode = kPictureMapMode;
  info->frameLeft = picture->left;
  info->frameTop = picture->top;
  info->frameRight = picture->right;
  info->frameBottom = picture->bottom;
  info->unitsPerInch = picture->unitsPerInch;
  info->metaFile = metafile;
  const float s = 72.0f / static_cast<float>(picture->unitsPerInch);
  ObjectRec* object =
      BuildMetaFile(static_cast<float>(picture->left) * s, static_cast<float>(picture->top) * s,
                    static_cast<float>(picture->right) * s, static_cast<float>(picture->bottom) * s, info,
                    gCurDocument->currentLayer, true);
  if (!object) {
    std::free(info);
    return kFilterNoMemory;
  }
  return kFilterOK;
}

int ExtractWMFProc(const WmfRecord* record, const FilterPictRecord*) {
  if (!record || !gExtractLayer) return 1;
  WmfParams params = BeginWmfParams(*record);
  switch (record->function) {
    case kMetaMoveTo: {
      const float y = Scaled(ReadWmfShort(&params)), x = Scaled(ReadWmfShort(&params));
      if (params.failed) break;
      ClosePendingPolyline();
      gExtractPoly = BuildPoly(nullptr, x, y, nullptr, kBuildFirstPoint, true);
      gExtractPolyTail = gExtractPoly ? gExtractPoly->firstPoint : nullptr;
      break;
    }
    case kMetaLineTo: {
      const float y = Scaled(ReadWmfShort(&params)), x = Scaled(ReadWmfShort(&params));
      if (!params.failed) AppendVertex(gExtractPoly, &gExtractPolyTail, x, y);
      break;
    }
    case kMetaPolyline:
    case kMetaPolygon: {
      const int count = ReadWmfShort(&params);
      const bool closeWhenEnds = record->function == kMetaPolyline && gFilterName == kSourceCDR;
      if (!BuildFigure(&params, count, closeWhenEnds)) gExtractFault = true;
      break;
    }
    case kMetaPolyPolygon: {
      const int polygons = ReadWmfShort(&params);
      if (polygons < 0 || static_cast<size_t>(polygons) * 2 > WmfParamsLeft(params)) {
        gExtractFault = true;
        break;
      }
      // The counts come first, then every polygon's points; the counts' sum must fit the record.
      WmfParams points = params;
      points.mark += static_cast<size_t>(polygons) * 2;
      for (int i = 0; i < polygons && !gExtractFault; ++i)
        if (!BuildFigure(&points, ReadWmfShort(&params), true)) gExtractFault = true;
      break;
    }
    case kMetaArc:
      ConvertArc(&params);
      break;
    case kMetaCreatePen:
      ConvertPen(&params);
      break;
    case kMetaCreateBrush:
      ConvertBrush(&params);
      break;
    case kMetaEscape:
      ReadComment(&params);
      break;
    default:
      break;
  }
  if (params.failed) gExtractFault = true;
  return 1;
}

int16_t ExtractWMFEntities(const uint8_t* bits, size_t length, const FilterPictRecord* picture) {
  if (CheckFilterPicture(picture) != kFilterOK) return kFilterInvalidData;
  if (!gCurDocument || !gCurDocument->docState) return kFilterInvalidData;
  WmfSource source;
  if (!BeginWmf(&source, bits, length)) return kFilterInvalidData;
  DocState* state = gCurDocument->docState;
  const RGB16 fillColor = state->fillColor, penColor = state->penColor;
  const int16_t lineWeight = state->lineWeight, lineType = state->lineType;
  // Imported figures are the file's own: no parallel copies are drawn beside them.
  const uint8_t drawParallel = state->drawParallel;
  state->drawParallel = 0;

  gExtractScale = 72.0f / static_cast<float>(picture->unitsPerInch);
  gExtractLayer = gCurDocument->currentLayer;
  gExtractPoly = nullptr;
  gExtractFault = false;
  gImportNote.clear();
  ObjectRec* before = LastObjectOf(gExtractLayer);
  gExtractTail = before;
  if (gExtractLayer) {
    WmfRecord record;
    while (!gExtractFault && NextWmfRecord(&source, &record)) ExtractWMFProc(&record, picture);
  }
  if (gExtractFault) {
    // The open polyline is not linked yet: it goes with the rest.
    if (gExtractPoly) DeleteObj(gExtractPoly);
    gExtractPoly = nullptr;
  }
  ClosePendingPolyline();
  const bool sound = !gExtractFault && source.fault == WmfFault::kNone && source.ended;
  if (!sound && gExtractLayer) {
    // A damaged metafile adds nothing: what this conversion made goes again.
    ObjectRec* object = before ? before->nextObject : gExtractLayer->firstObject;
    while (object) {
      ObjectRec* next = object->nextObject;
      DeleteObj(object);
      object = next;
    }
  }
  gExtractLayer = nullptr;
  gExtractTail = nullptr;
  state->fillColor = fillColor;
  state->penColor = penColor;
  state->lineWeight = lineWeight;
  state->lineType = lineType;
  state->drawParallel = drawParallel;
  return sound ? kFilterOK : kFilterInvalidData;
}
