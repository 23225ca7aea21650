// The benchmark drawing. Each block of 100 objects holds 20 lines, 15 rectangles, 10 ovals,
// 12 polygons, 8 splines, 8 arcs, 5 text blocks, 4 groups of 3 shapes (16 records) and 3
// dimensions with their labels (6 records), scattered over a D-size sheet on four layers.
#include "bench/benchgen.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "model/seam.h"
#include "tools/drxfont.h"

namespace {

constexpr int kBlockSize = 100;
constexpr float kSheetWidth = 2448.0f;  // 34 by 22 inches in page units
constexpr float kSheetHeight = 1584.0f;
constexpr float kOvalTangent = 1.6568542f;  // Hermite tangent of a quarter circle of radius 1: 4 (sqrt 2 - 1)
constexpr float kTextInset = 3.0f;          // a text pane sits 3 units inside its block
constexpr uint32_t kLengthDimFlags = 0x80401;

enum BenchLayer { kWallsLayer, kFurnitureLayer, kDimensionsLayer, kNotesLayer, kLayerCount };
const char* const kLayerNames[kLayerCount] = {"Walls", "Furniture", "Dimensions", "Notes"};

struct Builder {
  LayerRec* layers[kLayerCount];
  ObjectRec* tails[kLayerCount];
  uint32_t random;
  bool withText;
  BenchDrawingStats stats;
  bool ok = true;

  float Uniform(float low, float high) {
    random = random * 1664525u + 1013904223u;
    return low + (high - low) * static_cast<float>(random >> 8) / 16777216.0f;
  }
  RGB16 Color() {
    const uint16_t level = static_cast<uint16_t>(Uniform(0, 65535));
    return {level, static_cast<uint16_t>(65535 - level), static_cast<uint16_t>(level / 2)};
  }

  ObjectRec* NewObject(int16_t kind, uint8_t closed, float weight) {
    const RGB16 fill = Color();
    const RGB16 pen = Color();
    const int16_t pattern =
        closed ? static_cast<int16_t>(static_cast<int>(Uniform(0, 3)) * kSolidFill / 2) : kNoFill;
    ObjectRec* object = CreateObject(kind, closed, 1, &fill, &pen, weight, kSolidLineType, pattern, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!object) ok = false;
    ++stats.objects;
    return object;
  }
  void AddPoint(ObjectRec* object, PointRec** tail, int16_t kind, float x, float y, float inX = 0,
                float inY = 0, float outX = 0, float outY = 0) {
    if (!object) return;
    PointRec* point = CreatePoint(kind, 0, 0, inX, inY, x, y, outX, outY, object);
    if (!point) {
      ok = false;
      return;
    }
    LinkPointAfter(point, object, *tail);
    *tail = point;
    ++stats.points;
  }
  void Place(ObjectRec* object, BenchLayer layer) {
    if (!object) return;
    UpdateObjectBounds(object);
    LinkObjectAfter(object, layers[layer], tails[layer]);
    tails[layer] = object;
  }

  ObjectRec* Rect(float x, float y, float w, float h, int16_t kind = kRectKind) {
    ObjectRec* object = NewObject(kind, 1, 1.0f);
    PointRec* tail = nullptr;
    AddPoint(object, &tail, kVertexPoint, x, y);
    AddPoint(object, &tail, kVertexPoint, x + w, y);
    AddPoint(object, &tail, kVertexPoint, x + w, y + h);
    AddPoint(object, &tail, kVertexPoint, x, y + h);
    return object;
  }
  ObjectRec* Line(float x, float y) {
    ObjectRec* object = NewObject(kLineKind, 0, Uniform(0, 4));
    PointRec* tail = nullptr;
    AddPoint(object, &tail, kVertexPoint, x, y);
    AddPoint(object, &tail, kVertexPoint, x + Uniform(-200, 200), y + Uniform(-200, 200));
    return object;
  }
  // Four points on the axes with tangents that make each quarter a circular arc.
  ObjectRec* Oval(float cx, float cy, float rx, float ry) {
    ObjectRec* object = NewObject(kOvalKind, 1, 1.0f);
    PointRec* tail = nullptr;
    const float tx = rx * kOvalTangent, ty = ry * kOvalTangent;
    AddPoint(object, &tail, kVertexPoint, cx, cy - ry, -tx, 0, tx, 0);
    AddPoint(object, &tail, kVertexPoint, cx + rx, cy, 0, -ty, 0, ty);
    AddPoint(object, &tail, kVertexPoint, cx, cy + ry, tx, 0, -tx, 0);
    AddPoint(object, &tail, kVertexPoint, cx - rx, cy, 0, ty, 0, -ty);
    return object;
  }
  ObjectRec* Polygon(float cx, float cy) {
    const int sides = 5 + static_cast<int>(Uniform(0, 4));
    ObjectRec* object = NewObject(kPolyKind, Uniform(0, 1) < 0.5f, 1.0f);
    PointRec* tail = nullptr;
    for (int i = 0; i < sides; ++i) {
      const float angle = 6.2831853f * static_cast<float>(i) / static_cast<float>(sides);
      const float radius = Uniform(20, 120);
      AddPoint(object, &tail, kVertexPoint, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    return object;
  }
  ObjectRec* Spline(float x, float y) {
    const int count = 4 + static_cast<int>(Uniform(0, 3));
    ObjectRec* object = NewObject(kSplineKind, 0, 1.0f);
    PointRec* tail = nullptr;
    for (int i = 0; i < count; ++i) {
      const float tx = Uniform(-60, 60), ty = Uniform(-60, 60);
      AddPoint(object, &tail, kVertexPoint, x + 60.0f * static_cast<float>(i), y + Uniform(-80, 80), -tx, -ty,
               tx, ty);
    }
    return object;
  }
  // Points of kind 5 along a quarter circle with tangents, then its centre.
  ObjectRec* Arc(float cx, float cy, float radius) {
    ObjectRec* object = NewObject(kArcKind, 0, 1.0f);
    PointRec* tail = nullptr;
    const float t = radius * kOvalTangent;
    AddPoint(object, &tail, kArcPoint, cx, cy - radius, 0, 0, t, 0);
    AddPoint(object, &tail, kArcPoint, cx + radius, cy, 0, -t, 0, 0);
    AddPoint(object, &tail, kArcCentrePoint, cx, cy);
    return object;
  }
  ObjectRec* TextBlock(float x, float y) {
    const float w = Uniform(80, 300), h = Uniform(14, 60);
    if (!withText) return Rect(x, y, w, h);
    ObjectRec* object = Rect(x, y, w, h, kTextBlockKind);
    if (!object) return nullptr;
    object->lineWeight = 0;
    object->fillPattern = kNoFill;
    UpdateObjectBounds(object);
    TextPane pane = CreateTextPane(kAlignLeft);
    if (!pane) {
      ok = false;
      return object;
    }
    char text[64];
    const int length = std::snprintf(text, sizeof text, "Room %ld\r\nFinish: oak", stats.textBlocks + 1);
    SetTextPaneText(pane, text, static_cast<size_t>(length));
    SetTextPaneFont(pane, &gCurFontInfo);
    object->info = pane;
    ++stats.textBlocks;
    return object;
  }
  void Group(float x, float y) {
    ObjectRec* group = NewObject(kGroupKind, 0, 1.0f);
    if (!group) return;
    group->layer = layers[kFurnitureLayer];
    ObjectRec* members[3] = {Rect(x, y, 60, 40), Line(x, y), Oval(x + 30, y + 20, 15, 10)};
    ObjectRec* tail = nullptr;
    for (ObjectRec* member : members) {
      if (!member) continue;
      UpdateObjectBounds(member);
      LinkChildAfter(member, group, tail);
      tail = member;
    }
    UpdateObjectRootBounds(group, false, false);
    LinkObjectAfter(group, layers[kFurnitureLayer], tails[kFurnitureLayer]);
    tails[kFurnitureLayer] = group;
  }
  // A dimension with its framed label next to it in the same layer, linked both ways.
  void Dimension(float x, float y, int16_t kind) {
    ObjectRec* dimension = NewObject(kind, 0, 1.0f);
    ObjectRec* label = Rect(x + 60, y - 20, 50, 14, kDimensionTextKind);
    DimInfo* info = static_cast<DimInfo*>(std::calloc(1, sizeof(DimInfo)));
    DimTextInfo* labelInfo = static_cast<DimTextInfo*>(std::calloc(1, sizeof(DimTextInfo)));
    if (!dimension || !label || !info || !labelInfo) {
      ok = false;
      std::free(info);
      std::free(labelInfo);
      DeleteObj(dimension);
      DeleteObj(label);
      return;
    }
    PointRec* tail = nullptr;
    const float length = Uniform(50, 400);
    AddPoint(dimension, &tail, kVertexPoint, x, y + 30);
    AddPoint(dimension, &tail, kVertexPoint, x + length, y + 30);
    AddPoint(dimension, &tail, kVertexPoint, x, y);
    AddPoint(dimension, &tail, kVertexPoint, x + length, y);
    AddPoint(dimension, &tail, kVertexPoint, x + length / 2, y - 10);
    info->dimFlags = kLengthDimFlags;
    info->textObject = label;
    info->upperTolerance = 0.01f;
    info->lowerTolerance = -0.01f;
    dimension->info = info;
    label->lineWeight = 0;
    labelInfo->fontSize = 10;
    labelInfo->font = gCurFontInfo;
    labelInfo->ownerDimension = dimension;
    label->info = labelInfo;
    Place(dimension, kDimensionsLayer);
    Place(label, kDimensionsLayer);
  }

  // One block of 100 object records.
  void Block() {
    auto x = [this] { return Uniform(0, kSheetWidth); };
    auto y = [this] { return Uniform(0, kSheetHeight); };
    for (int i = 0; i < 20; ++i) Place(Line(x(), y()), kWallsLayer);
    for (int i = 0; i < 15; ++i) Place(Rect(x(), y(), Uniform(10, 300), Uniform(10, 200)), kWallsLayer);
    for (int i = 0; i < 10; ++i) Place(Oval(x(), y(), Uniform(5, 100), Uniform(5, 100)), kFurnitureLayer);
    for (int i = 0; i < 12; ++i) Place(Polygon(x(), y()), kFurnitureLayer);
    for (int i = 0; i < 8; ++i) Place(Spline(x(), y()), kFurnitureLayer);
    for (int i = 0; i < 8; ++i) Place(Arc(x(), y(), Uniform(10, 150)), kWallsLayer);
    for (int i = 0; i < 5; ++i) Place(TextBlock(x(), y()), kNotesLayer);
    for (int i = 0; i < 4; ++i) Group(x(), y());
    static const int16_t kKinds[3] = {kLengthDimKind, kOffsetDimHKind, kRadiusDimKind};
    for (int16_t kind : kKinds) Dimension(x(), y(), kind);
  }
};

}  // namespace

bool BuildBenchDrawing(long objectCount, bool withText, uint32_t seed, BenchDrawingStats* stats) {
  if (!gCurDocument) return false;
  Builder builder;
  builder.random = seed;
  builder.withText = withText;
  builder.stats = {0, 0, 0};
  // The new drawing's empty first layer becomes the first of the four.
  LayerRec* first = gCurDocument->firstLayer;
  for (int i = 0; i < kLayerCount; ++i) {
    LayerRec* layer = nullptr;
    if (i == 0 && first && !first->firstObject) {
      layer = first;
      std::snprintf(layer->name, kLayerNameSize, "%s", kLayerNames[i]);
    } else {
      layer = CreateLayer(kLayerNames[i], 1, 1, nullptr);
      if (!layer) return false;
      AppendLayerToDocument(layer);
    }
    builder.layers[i] = layer;
    builder.tails[i] = nullptr;
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      builder.tails[i] = object;
  }
  for (long made = 0; made < objectCount && builder.ok; made += kBlockSize) builder.Block();
  if (stats) *stats = builder.stats;
  return builder.ok;
}
