// The drawing's records: objects, points and layers, and the small value types they carry.
// Records are zero-filled heap blocks that never move while they live; links are raw pointers.
#pragma once

#include <cstdint>

#include "model/seam.h"

struct FloatPoint {
  float x, y;
};

// Page units, y downward. The order top, left, bottom, right is the stored order.
struct FloatRect {
  float top, left, bottom, right;
};

// The rectangle a bounds accumulation starts from.
constexpr float kEmptyBoundsLow = 32000.0f;
constexpr float kEmptyBoundsHigh = -32000.0f;
constexpr FloatRect kEmptyRect = {kEmptyBoundsLow, kEmptyBoundsLow, kEmptyBoundsHigh, kEmptyBoundsHigh};

// Colour as three 16-bit intensities; a device colour divides each by 257.
struct RGB16 {
  uint16_t red, green, blue;
};

constexpr RGB16 kWhite16 = {65535, 65535, 65535};
constexpr RGB16 kBlack16 = {0, 0, 0};

// A point of the screen polygon cached by rendering: the platform's 32-bit POINT layout.
struct ScreenPoint {
  int32_t x, y;
};

// The screen outline of a filled shape is kept by the paint for clicks inside it. A paint that
// leaves the shape out (covered wholly by later fills) leaves no outline and this count instead.
constexpr int32_t kHitOutlineOwed = -1;

// Object kind codes. They reach files, so their values never change.
enum ObjectKind : int16_t {
  kPlaceholderKind = 0,  // a record being read, before its stored kind is filled in
  kRectKind = 1,
  kOvalKind = 2,
  kPolyKind = 3,
  kMultiKind = 4,
  kArcKind = 5,
  kLineKind = 6,
  kSplineKind = 7,
  kOffsetDimVKind = 100,  // vertical dimension line
  kOffsetDimHKind = 101,  // horizontal dimension line
  kLengthDimKind = 102,
  kAngleDimKind = 103,
  kDiameterDimKind = 104,
  kRadiusDimKind = 105,
  kDiameterShoulderDimKind = 106,
  kRadiusShoulderDimKind = 107,
  kLeaderDimKind = 108,
  kTextBlockKind = 200,
  kDimensionTextKind = 201,
  kMetaFileKind = 302,
  kGroupKind = 1000,
};

inline bool IsShapeKind(int kind) {
  return kind >= kRectKind && kind <= kSplineKind;
}
inline bool IsDimensionKind(int kind) {
  return kind >= kOffsetDimVKind && kind <= kRadiusShoulderDimKind;
}
inline bool IsDimensionOrLeaderKind(int kind) {
  return kind >= kOffsetDimVKind && kind <= kLeaderDimKind;
}

// Point kinds. Fillet markers and arc centres are markers, not outline points.
enum PointKind : int16_t {
  kVertexPoint = 1,
  kFilletMarkerPoint = 2,
  kFilletMiddlePoint = 3,
  kArcCentrePoint = 4,
  kArcPoint = 5,
};

inline bool IsMarkerPointKind(int kind) {
  return kind == kFilletMarkerPoint || kind == kArcCentrePoint;
}

// Line types 6..10; 6 is solid.
constexpr int16_t kSolidLineType = 6;
constexpr int16_t kLastLineType = 10;

// A text block's box is its edit rectangle grown by this many units on every side.
constexpr float kTextBoxInset = 3.0f;

// Fill pattern codes: 0 no fill, 11 solid fill, other positive values an 8x8 pattern bitmap.
constexpr int16_t kNoFill = 0;
constexpr int16_t kSolidFill = 11;

struct ObjectRec;
struct PointRec;
struct LayerRec;

struct ObjectRec {
  ObjectRec* prevObject;
  int16_t kind;
  uint8_t closed;
  uint8_t objectFlag;
  RGB16 fillColor;
  RGB16 penColor;
  float lineWeight;
  int16_t lineType;
  int16_t fillPattern;
  FloatRect bounds;
  ScreenPoint* screenPoly;
  PointRec* firstPoint;
  ObjectRec* firstChild;
  ObjectRec* parent;
  LayerRec* layer;
  void* info;               // DimInfo, DimTextInfo, MetaInfo, or the TextPane of a text block
  int32_t screenPolyCount;  // kHitOutlineOwed: a paint left the shape out, its outline is made on demand
  uint32_t indexSlot;       // the object's number in the selection grid; checked before it is trusted
  ObjectRec* nextObject;
};

struct PointRec {
  PointRec* prevPoint;
  int16_t pointKind;
  uint8_t selected;
  uint8_t detectable;
  uint8_t locked;
  float inTangentX, inTangentY;
  float x, y;
  float outTangentX, outTangentY;
  ObjectRec* ownerObject;
  PointRec* nextPoint;
};

constexpr int kLayerNameSize = 256;

struct LayerRec {
  LayerRec* prevLayer;
  char name[kLayerNameSize];
  uint8_t visible;
  uint8_t layerFlag;
  ObjectRec* firstObject;
  LayerRec* nextLayer;
};

// Kind-specific blocks, each its own zero-filled heap block owned by the object.
struct DimInfo {
  uint32_t dimFlags;
  ObjectRec* textObject;  // the kind-201 label, or null
  float upperTolerance;
  float lowerTolerance;
};

struct DimTextInfo {
  int16_t fontNumber;
  int16_t fontSize;
  uint8_t fontStyle;
  FontRecord font;
  ObjectRec* ownerDimension;
};

struct MetaInfo {
  int16_t mapMode;
  int32_t frameLeft, frameTop, frameRight, frameBottom;  // picture units
  int16_t unitsPerInch;
  MetaPict metaFile;
};

// The map mode of the pictures the system places (anisotropic).
constexpr int16_t kPictureMapMode = 8;

// Moves on with every change to the object or layer lists and to stored bounds, so that caches
// built from them (the selection grid) know when they are stale.
extern uint32_t gModelGeneration;

// The objects the latest changes touched, one entry per generation (generation g at
// g % kChangeLogSize), so that a cache can redo only those. A change noted without an object
// (a layer linked or deleted, a document going) breaks the log: every generation after
// gChangeLogFrom has its entry, none before it can be trusted.
struct ObjectChange {
  ObjectRec* object;
  uint32_t slot;  // the object's indexSlot when it went (it may be freed since)
  bool gone;      // deleted: the pointer must not be read again
};
constexpr uint32_t kChangeLogSize = 16384;
extern ObjectChange gChangeLog[kChangeLogSize];
extern uint32_t gChangeLogFrom;

inline void NoteModelChange() {
  gChangeLogFrom = ++gModelGeneration;
}
// The object was linked, unlinked, or its bounds changed (a member: its group too).
inline void NoteObjectChange(ObjectRec* object) {
  ++gModelGeneration;
  gChangeLog[gModelGeneration % kChangeLogSize] = ObjectChange{object, 0, false};
}
// The object is about to be freed; a member also changes its group.
void NoteObjectGone(ObjectRec* object);

inline TextPane TextPaneOf(const ObjectRec* object) {
  return static_cast<TextPane>(object->info);
}
inline DimInfo* DimInfoOf(const ObjectRec* object) {
  return static_cast<DimInfo*>(object->info);
}
inline DimTextInfo* DimTextInfoOf(const ObjectRec* object) {
  return static_cast<DimTextInfo*>(object->info);
}
inline MetaInfo* MetaInfoOf(const ObjectRec* object) {
  return static_cast<MetaInfo*>(object->info);
}
