// Drawing (.DRX) and symbol (.SYM) files, and the private scrap that carries objects in the same
// encoding.
//
// A file is a header (version long, platform short), a settings block (a length long, then the
// fields), and tagged records: layers, objects, group brackets, and the end tag. Numbers are
// big-endian. The reader loads the whole file and parses it from memory with the same routines
// the scrap uses; every count and length is checked against the bytes left before anything is
// allocated, and the reader stops at the first inconsistency, keeping what it read before it.
#include "files/drxfile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/docfields.h"
#include "files/drxio.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "model/seam.h"
#include "model/textfont.h"

bool gOpenSymbol;
bool gPreviewSymbol;
bool gSaveSymbol;
LayerRec* gPreviewLayer;

bool gUseScrap;
uint8_t* gPrivateScrap;
uint32_t gPrivateScrapSize;
uint32_t gScrapIndex;
uint32_t gOLEScrapSize;

DrxFailure gDrxFileFailure;
bool gDrxFileDamaged;

void (*gZoomResetHook)(DocumentRec* document);

namespace {

// Name of a layer made by the reader.
constexpr char kUntitledLayerName[] = "Untitled";

// A visible "Untitled" layer appended to the drawing, and made its current layer when asked;
// null when memory is exhausted.
LayerRec* AppendUntitledLayer(DocumentRec* document, bool makeCurrent) {
  LayerRec* layer = CreateLayer(kUntitledLayerName, 1, 1, nullptr);
  if (!layer) return nullptr;
  AppendLayerToDocument(layer);
  if (makeCurrent) document->currentLayer = layer;
  return layer;
}

// Defaults of an object being read, before its stored info arrives.
constexpr float kReadLineWeight = 1.0f;

// ---------------------------------------------------------------------------------------------
// Where reading stopped and why.

DrxReason gReadFault;
size_t gRecordStart;  // byte offset of the record being read
DrxPart gRecordPart;  // the kind of record being read
long gFaultValue;     // the number the fault names

// Records a fault (the first one wins) and returns false for the caller to pass up.
bool Fault(DrxReason fault, long value = 0) {
  if (gReadFault != DrxReason::kNone) return false;
  gReadFault = fault;
  gFaultValue = value;
  return false;
}

// A read that ran past the end of the data, or a file that could not give the bytes it holds.
bool ShortFault() {
  if (gSource.outOfMemory) return Fault(DrxReason::kOutOfMemory);
  return Fault(gSource.cannotRead ? DrxReason::kCannotRead : DrxReason::kRunsPastEnd);
}
bool MemoryFault() {
  return Fault(DrxReason::kOutOfMemory);
}

// True when the source has run dry; records the fault.
bool SourceFailed() {
  if (!gSource.failed) return false;
  ShortFault();
  return true;
}

// A failure found before or after the records: nothing to point at in the file.
void SetReason(DrxReason reason, long value = 0) {
  gDrxFileFailure = DrxFailure{reason, DrxPart::kRecord, 0, value};
}

// The reasons of the files the system refused, each said in the refusal's own words.
struct RefusalReason {
  FileRefusal refusal;
  DrxReason reason;
};
constexpr RefusalReason kRefusalReasons[] = {
    {FileRefusal::kCannotOpen, DrxReason::kCannotOpen},
    {FileRefusal::kNoName, DrxReason::kNoName},
    {FileRefusal::kDanglingLink, DrxReason::kDanglingLink},
    {FileRefusal::kNotRegularFile, DrxReason::kNotRegularFile},
    {FileRefusal::kReadOnly, DrxReason::kReadOnly},
    {FileRefusal::kUnreachable, DrxReason::kUnreachable},
    {FileRefusal::kTemporaryInTheWay, DrxReason::kTemporaryInTheWay},
};

DrxReason DrxReasonOfRefusal(FileRefusal refusal) {
  for (const RefusalReason& entry : kRefusalReasons)
    if (entry.refusal == refusal) return entry.reason;
  return DrxReason::kCannotOpen;
}

void ReasonFromFault() {
  gDrxFileFailure = DrxFailure{gReadFault, gRecordPart, gRecordStart, gFaultValue};
}

// ---------------------------------------------------------------------------------------------
// The reader's state: where objects go.

enum class ReadMode { kDrawing, kSymbol, kPreview, kScrap };

ReadMode gReadMode;
LayerRec* gTargetLayer;  // the layer top-level objects go into (null: none yet)
ObjectRec* gTargetTail;  // its last top-level object
ObjectRec* gOpenGroup;   // the group between a group start and its end, or null
ObjectRec* gGroupTail;   // its last member
ObjectRec* gLastObject;  // the top-level object read just before, for a group start
LayerRec* gLayerTail;    // the drawing's last layer once this read has added one
bool gDrawingChanged;    // the drawing already holds something this read put there

bool SelectsReadObjects() {
  return gReadMode == ReadMode::kSymbol || gReadMode == ReadMode::kPreview;
}

ObjectRec* LastTopLevelObject(LayerRec* layer) {
  ObjectRec* object = layer ? layer->firstObject : nullptr;
  while (object && object->nextObject) object = object->nextObject;
  return object;
}

// A new object in the state every record starts from: kind 0, white fill, black pen, line
// weight 1, solid line, no pattern, zero bounds.
ObjectRec* NewReadObject(LayerRec* layer) {
  const FloatRect zero = {0, 0, 0, 0};
  return CreateObject(kPlaceholderKind, 0, 0, &kWhite16, &kBlack16, kReadLineWeight, kSolidLineType, kNoFill,
                      &zero, nullptr, nullptr, nullptr, layer, nullptr);
}

// Appends a top-level object read into the target layer.
void AppendToTarget(ObjectRec* object, LayerRec* layer) {
  if (layer != gTargetLayer) {
    AppendObjectToLayer(object, layer);
  } else {
    LinkObjectAfter(object, layer, gTargetTail);
    gTargetTail = object;
  }
  gDrawingChanged = true;
}

// Kinds an object record may carry. Labels (201) travel inside their dimensions only.
bool IsRecordKind(int kind) {
  return IsShapeKind(kind) || IsDimensionOrLeaderKind(kind) || kind == kTextBlockKind ||
         kind == kMetaFileKind || kind == kGroupKind;
}

// 16-bit little-endian values of a font record.
int16_t LittleShort(const uint8_t* bytes) {
  return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)));
}

void PutLittleShort(uint8_t* bytes, int32_t value) {
  uint16_t bits = static_cast<uint16_t>(value);
  bytes[0] = static_cast<uint8_t>(bits & 0xFF);
  bytes[1] = static_cast<uint8_t>(bits >> 8);
}

// The font record: five little-endian 16-bit values (height, width, escapement, orientation,
// weight), eight single bytes, the face name.
constexpr size_t kFontFaceOffset = 18;
constexpr size_t kFontFaceSize = 32;
static_assert(kFontFaceOffset + kFontFaceSize == kFontRecordSize, "font record is 50 bytes");

bool ReadFontRecord(FontRecord* font) {
  uint8_t bytes[kFontRecordSize];
  if (!ReadSome(bytes, sizeof bytes)) return false;
  *font = FontRecord{};
  font->height = LittleShort(bytes + 0);
  font->width = LittleShort(bytes + 2);
  font->escapement = LittleShort(bytes + 4);
  font->orientation = LittleShort(bytes + 6);
  font->weight = LittleShort(bytes + 8);
  font->italic = bytes[10];
  font->underline = bytes[11];
  font->strikeOut = bytes[12];
  font->charSet = bytes[13];
  font->outPrecision = bytes[14];
  font->clipPrecision = bytes[15];
  font->quality = bytes[16];
  font->pitchAndFamily = bytes[17];
  std::memcpy(font->faceName, bytes + kFontFaceOffset, kFontFaceSize);
  font->faceName[kFontFaceSize - 1] = '\0';  // a logical font's face name always ends in a NUL
  return true;
}

void WriteFontRecord(const FontRecord& font) {
  uint8_t bytes[kFontRecordSize];
  PutLittleShort(bytes + 0, font.height);
  PutLittleShort(bytes + 2, font.width);
  PutLittleShort(bytes + 4, font.escapement);
  PutLittleShort(bytes + 6, font.orientation);
  PutLittleShort(bytes + 8, font.weight);
  bytes[10] = font.italic;
  bytes[11] = font.underline;
  bytes[12] = font.strikeOut;
  bytes[13] = font.charSet;
  bytes[14] = font.outPrecision;
  bytes[15] = font.clipPrecision;
  bytes[16] = font.quality;
  bytes[17] = font.pitchAndFamily;
  std::memcpy(bytes + kFontFaceOffset, font.faceName, kFontFaceSize);
  WriteSome(bytes, sizeof bytes);
}

uint8_t ReadByte() {
  uint8_t value = 0;
  ReadSome(&value, 1);
  return value;
}

void WriteByte(uint8_t value) {
  WriteSome(&value, 1);
}

RGB16 ReadColor() {
  RGB16 color;
  color.red = static_cast<uint16_t>(ReadShort());
  color.green = static_cast<uint16_t>(ReadShort());
  color.blue = static_cast<uint16_t>(ReadShort());
  return color;
}

void WriteColor(const RGB16& color) {
  WriteShort(static_cast<int16_t>(color.red));
  WriteShort(static_cast<int16_t>(color.green));
  WriteShort(static_cast<int16_t>(color.blue));
}

// Where a point record's six coordinates start: after its kind and three flag bytes.
constexpr size_t kPointCoordinatesOffset = 5;

// A coordinate that is not a finite number is damage like any other: the read stops at the
// first such value, which is named by its own byte offset. `start` is the offset of values[0].
bool CoordinatesAreFinite(const float* values, size_t count, size_t start) {
  if (gSource.failed) return true;  // a short read is reported as such
  for (size_t i = 0; i < count; ++i) {
    if (std::isfinite(values[i])) continue;
    gRecordStart = start + i * sizeof(float);
    return Fault(DrxReason::kNonFiniteCoordinate);
  }
  return true;
}

// One settings field into or out of its DocState member.
void ReadSetting(const SettingField& field, void* member) {
  switch (field.type) {
    case SettingType::kByte:
      *static_cast<uint8_t*>(member) = ReadByte();
      break;
    case SettingType::kShort:
      *static_cast<int16_t*>(member) = ReadShort();
      break;
    case SettingType::kFlags:
      *static_cast<uint32_t*>(member) = static_cast<uint32_t>(ReadLong());
      break;
    case SettingType::kFloat:
      *static_cast<float*>(member) = ReadFloat();
      break;
    case SettingType::kColor:
      *static_cast<RGB16*>(member) = ReadColor();
      break;
    case SettingType::kRect: {
      FloatRect* rect = static_cast<FloatRect*>(member);
      rect->top = ReadFloat();
      rect->left = ReadFloat();
      rect->bottom = ReadFloat();
      rect->right = ReadFloat();
      break;
    }
  }
}

void WriteSetting(const SettingField& field, const void* member) {
  switch (field.type) {
    case SettingType::kByte:
      WriteByte(*static_cast<const uint8_t*>(member));
      break;
    case SettingType::kShort:
      WriteShort(*static_cast<const int16_t*>(member));
      break;
    case SettingType::kFlags:
      WriteLong(static_cast<int32_t>(*static_cast<const uint32_t*>(member)));
      break;
    case SettingType::kFloat:
      WriteFloat(*static_cast<const float*>(member));
      break;
    case SettingType::kColor:
      WriteColor(*static_cast<const RGB16*>(member));
      break;
    case SettingType::kRect: {
      const FloatRect* rect = static_cast<const FloatRect*>(member);
      WriteFloat(rect->top);
      WriteFloat(rect->left);
      WriteFloat(rect->bottom);
      WriteFloat(rect->right);
      break;
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Reading, one level per routine.

bool DoReadHeader() {
  gRecordPart = DrxPart::kHeader;
  gRecordStart = GetMark();
  gFileVersion = ReadLong();
  int16_t platform = ReadShort();
  if (SourceFailed()) return false;
  // Only the big-endian platform's files differ; any other code reads as ours.
  gFilePlatform = platform == kPlatformBigEndian ? kPlatformBigEndian : kPlatformWindows;
  return true;
}

bool DoReadDocState(DocState** stateOut) {
  *stateOut = nullptr;
  gRecordPart = DrxPart::kSettings;
  gRecordStart = GetMark();
  int32_t blockLength = ReadLong();
  if (SourceFailed()) return false;
  // The writer stores 217 whatever follows; the length only says whether fields follow.
  if (blockLength <= 0) return true;
  if (BytesLeft() < SettingFieldBytes(gFileVersion)) return ShortFault();
  DocState* state = static_cast<DocState*>(std::calloc(1, sizeof(DocState)));
  if (!state) return MemoryFault();
  // Fields newer than the file's version stay zero.
  const size_t fieldsStart = GetMark();
  for (const SettingField& field : kSettingFields) {
    if (field.version > gFileVersion) break;
    ReadSetting(field, SettingMember(state, field));
  }
  // A rectangle (the page) is four coordinates, each of which must be a number.
  for (const SettingField& field : kSettingFields) {
    if (field.version > gFileVersion || field.type != SettingType::kRect) continue;
    const FloatRect* rect = static_cast<const FloatRect*>(SettingMember(state, field));
    const float corners[] = {rect->top, rect->left, rect->bottom, rect->right};
    if (!CoordinatesAreFinite(corners, 4, fieldsStart + field.offset)) {
      std::free(state);
      return false;
    }
  }
  if (SourceFailed()) {
    std::free(state);
    return false;
  }
  *stateOut = state;
  return true;
}

bool DoReadMacDocState() {
  gRecordPart = DrxPart::kSettings;
  gRecordStart = GetMark();
  int32_t blockLength = ReadLong();
  if (SourceFailed()) return false;
  // The big-endian platform's settings are not ours: the drawing keeps its own.
  if (blockLength > 0 && !SkipSome(static_cast<size_t>(blockLength))) return ShortFault();
  return true;
}

namespace {

LayerRec* ReadLayerRecord(bool lengthPrefixed) {
  char name[kFileLayerNameSize];
  if (!ReadSome(name, sizeof name)) {
    ShortFault();
    return nullptr;
  }
  uint8_t visible = ReadByte();
  uint8_t layerFlag = ReadByte();
  if (SourceFailed()) return nullptr;
  if (lengthPrefixed) {
    // One length byte, then that many characters.
    size_t length = static_cast<uint8_t>(name[0]);
    std::memmove(name, name + 1, length);
    name[length] = '\0';
  } else {
    name[kFileLayerNameSize - 1] = '\0';
  }
  LayerRec* layer = CreateLayer(kUntitledLayerName, visible, layerFlag, nullptr);
  if (!layer) {
    MemoryFault();
    return nullptr;
  }
  std::memcpy(layer->name, name, sizeof layer->name);
  return layer;
}

}  // namespace

LayerRec* ReadALayer() {
  return ReadLayerRecord(false);
}
LayerRec* ReadAMacLayer() {
  return ReadLayerRecord(true);
}

bool ReadObjectInfo(ObjectRec* object) {
  object->kind = ReadShort();
  object->closed = ReadByte();
  object->objectFlag = ReadByte();
  object->fillColor = ReadColor();
  object->lineWeight = ReadFloat();
  object->lineType = ReadShort();
  object->fillPattern = ReadShort();
  if (gFileVersion == kDrxVersion150) object->penColor = ReadColor();
  return !SourceFailed();
}

bool ReadObjectPoints(ObjectRec* object) {
  int32_t count = ReadLong();
  if (SourceFailed()) return false;
  if (count < 0) return Fault(DrxReason::kBadPointCount, count);
  if (static_cast<size_t>(count) > BytesLeft() / kPointRecordSize) return ShortFault();
  PointRec* tail = nullptr;
  for (int32_t i = 0; i < count; ++i) {
    const size_t pointStart = GetMark();
    int16_t pointKind = ReadShort();
    uint8_t selected = ReadByte();
    uint8_t detectable = ReadByte();
    uint8_t locked = ReadByte();
    float inTangentX = ReadFloat();
    float inTangentY = ReadFloat();
    float x = ReadFloat();
    float y = ReadFloat();
    float outTangentX = ReadFloat();
    float outTangentY = ReadFloat();
    const float coordinates[] = {inTangentX, inTangentY, x, y, outTangentX, outTangentY};
    if (!CoordinatesAreFinite(coordinates, 6, pointStart + kPointCoordinatesOffset)) return false;
    PointRec* point = CreatePoint(pointKind, selected, locked, inTangentX, inTangentY, x, y, outTangentX,
                                  outTangentY, object);
    if (!point) return MemoryFault();
    point->detectable = detectable;
    LinkPointAfter(point, object, tail);
    tail = point;
  }
  return !SourceFailed();
}

bool ReadTextData(ObjectRec* object) {
  int32_t textLength = ReadLong();
  if (SourceFailed()) return false;
  if (textLength < 0) return Fault(DrxReason::kBadTextLength, textLength);
  if (static_cast<size_t>(textLength) > BytesLeft()) return ShortFault();
  // The text is kept up to its NUL.
  const char* bytes = reinterpret_cast<const char*>(PeekSome(static_cast<size_t>(textLength)));
  if (!bytes) return ShortFault();
  const void* nul = std::memchr(bytes, '\0', static_cast<size_t>(textLength));
  const std::string text(bytes, nul ? static_cast<const char*>(nul) - bytes : textLength);
  SkipSome(static_cast<size_t>(textLength));
  int32_t styleLength = ReadLong();
  if (SourceFailed()) return false;
  if (styleLength < 0) return Fault(DrxReason::kBadStyleLength, styleLength);
  if (!SkipSome(static_cast<size_t>(styleLength))) return ShortFault();
  int16_t alignment = ReadShort();
  if (alignment != kAlignCentred && alignment != kAlignRight) alignment = kAlignLeft;
  FontRecord font;
  bool hasFont = gFilePlatform != kPlatformBigEndian;
  if (hasFont) ReadFontRecord(&font);
  if (SourceFailed()) return false;

  TextPane pane = CreateTextPane(alignment);
  if (!pane) return MemoryFault();
  object->info = pane;  // owned by the object from here on
  if (!SetTextPaneText(pane, text.data(), text.size())) return MemoryFault();
  // Without a font record the pane keeps the default font.
  if (hasFont) SetTextPaneFont(pane, &font);
  return true;
}

namespace {

// The label of a dimension: object info and points without a tag, its font number, size and
// style, and (except on the big-endian platform) its font record. Returns it unlinked.
ObjectRec* ReadDimensionLabel(LayerRec* layer) {
  ObjectRec* label = NewReadObject(layer);
  if (!label) {
    MemoryFault();
    return nullptr;
  }
  // The label's data block is made only once its kind is known to be a label's.
  bool ok = ReadObjectInfo(label);
  if (ok && label->kind != kDimensionTextKind) ok = Fault(DrxReason::kBadLabelKind, label->kind);
  if (ok) ok = ReadObjectPoints(label);
  DimTextInfo read = {};
  if (ok) {
    read.fontNumber = ReadShort();
    read.fontSize = ReadShort();
    read.fontStyle = ReadByte();
    if (gFilePlatform != kPlatformBigEndian)
      ReadFontRecord(&read.font);
    else
      read.font = GetFallbackTextFont();
    ok = !SourceFailed();
  }
  DimTextInfo* info = nullptr;
  if (ok) {
    info = static_cast<DimTextInfo*>(std::calloc(1, sizeof(DimTextInfo)));
    if (!info) ok = MemoryFault();
  }
  if (!ok) {
    DeleteObj(label);
    return nullptr;
  }
  *info = read;
  label->info = info;
  UpdateObjectBounds(label);
  return label;
}

bool ReadDimensionData(ObjectRec* object) {
  DimInfo* info = static_cast<DimInfo*>(std::calloc(1, sizeof(DimInfo)));
  if (!info) return MemoryFault();
  object->info = info;
  int16_t marker = ReadShort();
  if (SourceFailed()) return false;
  ObjectRec* label = nullptr;
  if (marker == kLabelFollows) {
    label = ReadDimensionLabel(object->layer);
    if (!label) return false;
    DimTextInfoOf(label)->ownerDimension = object;
    info->textObject = label;
  } else if (marker != kNoLabel) {
    return Fault(DrxReason::kBadLabelMarker, marker);
  }
  info->dimFlags = static_cast<uint32_t>(ReadLong());
  info->upperTolerance = ReadFloat();
  info->lowerTolerance = ReadFloat();
  return !SourceFailed();  // the caller deletes a label that came with a damaged record
}

bool ReadPictureData(ObjectRec* object) {
  MetaInfo* info = static_cast<MetaInfo*>(std::calloc(1, sizeof(MetaInfo)));
  if (!info) return MemoryFault();
  object->info = info;
  info->mapMode = ReadShort();
  // The frame is stored top, left, bottom, right.
  info->frameTop = ReadShort();
  info->frameLeft = ReadShort();
  info->frameBottom = ReadShort();
  info->frameRight = ReadShort();
  info->unitsPerInch = ReadShort();
  uint8_t lengthBytes[4];
  ReadSome(lengthBytes, sizeof lengthBytes);
  if (SourceFailed()) return false;
  uint32_t bitsLength = static_cast<uint32_t>(lengthBytes[0]) | (static_cast<uint32_t>(lengthBytes[1]) << 8) |
                        (static_cast<uint32_t>(lengthBytes[2]) << 16) |
                        (static_cast<uint32_t>(lengthBytes[3]) << 24);
  if (bitsLength > BytesLeft()) return ShortFault();
  if (bitsLength) {
    // Bits the picture cannot be made from leave a picture without a metafile.
    const uint8_t* bits = PeekSome(bitsLength);
    if (!bits) return ShortFault();
    info->metaFile = CreateMetaPictFromBits(bits, bitsLength);
    SkipSome(bitsLength);
  }
  return true;
}

}  // namespace

bool ReadObjectData(ObjectRec* object) {
  if (object->kind == kTextBlockKind) return ReadTextData(object);
  if (IsDimensionOrLeaderKind(object->kind)) return ReadDimensionData(object);
  if (object->kind == kMetaFileKind) return ReadPictureData(object);
  return true;  // shapes and groups carry no kind data
}

ObjectRec* ReadAnObject(LayerRec* layer, bool append) {
  ObjectRec* object = NewReadObject(layer);
  if (!object) {
    MemoryFault();
    return nullptr;
  }
  bool ok = ReadObjectInfo(object);
  if (ok && !IsRecordKind(object->kind)) ok = Fault(DrxReason::kUnknownKind, object->kind);
  if (ok) ok = ReadObjectPoints(object);
  if (ok) {
    // A text block's edit window is placed from the bounds, so they come before the kind data.
    UpdateObjectBounds(object);
    ok = ReadObjectData(object);
  }
  ObjectRec* label =
      IsDimensionOrLeaderKind(object->kind) && object->info ? DimInfoOf(object)->textObject : nullptr;
  if (!ok) {
    // A record cut short is dropped whole, with the label it brought.
    DeleteObj(label);
    DeleteObj(object);
    return nullptr;
  }
  if (append) AppendToTarget(object, layer);
  if (SelectsReadObjects()) SetObjectPointsSelection(object, 1);
  if (label) {
    // The label lives in the dimension's layer, after the objects read before it.
    AppendToTarget(label, layer);
    if (SelectsReadObjects()) SetObjectPointsSelection(label, 1);
  }
  return object;
}

namespace {

// Ends group mode: the group's bounds cover its members.
void CloseOpenGroup() {
  if (!gOpenGroup) return;
  UpdateObjectRootBounds(gOpenGroup, false, false);
  gOpenGroup = nullptr;
  gGroupTail = nullptr;
}

bool ReadLayerTag() {
  if (gOpenGroup) return Fault(DrxReason::kLayerInGroup);
  LayerRec* layer = gFilePlatform == kPlatformBigEndian ? ReadAMacLayer() : ReadALayer();
  if (!layer) return false;
  gLastObject = nullptr;
  if (gReadMode != ReadMode::kDrawing) {
    // Symbols bring no layers: their objects go where the placing asked.
    DeleteLayer(layer);
    return true;
  }
  LinkLayerAfter(layer, gLayerTail);
  gLayerTail = layer;
  gTargetLayer = layer;
  gTargetTail = nullptr;
  gDrawingChanged = true;
  return true;
}

bool ReadObjectTag() {
  if (!gTargetLayer) {
    // An object before any layer record gets a layer of its own rather than being lost.
    LayerRec* layer = CreateLayer(kUntitledLayerName, 1, 1, nullptr);
    if (!layer) return MemoryFault();
    LinkLayerAfter(layer, gLayerTail);
    gLayerTail = layer;
    gTargetLayer = layer;
    gTargetTail = nullptr;
    gDrawingChanged = true;
  }
  if (gOpenGroup) {
    ObjectRec* member = ReadAnObject(gOpenGroup->layer, false);
    if (!member) return false;
    LinkChildAfter(member, gOpenGroup, gGroupTail);
    gGroupTail = member;
    return true;
  }
  ObjectRec* object = ReadAnObject(gTargetLayer, true);
  gLastObject = object;
  return object != nullptr;
}

bool ReadGroupStartTag() {
  // Only a group read just before may open; the writer never nests brackets.
  if (gOpenGroup) return Fault(DrxReason::kGroupInGroup);
  if (!gLastObject || gLastObject->kind != kGroupKind || gLastObject->firstChild)
    return Fault(DrxReason::kGroupStartWithoutGroup);
  gOpenGroup = gLastObject;
  gGroupTail = nullptr;
  gLastObject = nullptr;
  return true;
}

bool ReadGroupEndTag() {
  if (!gOpenGroup) return Fault(DrxReason::kGroupEndWithoutStart);
  CloseOpenGroup();
  return true;
}

}  // namespace

bool DoReadObjects() {
  gRecordPart = DrxPart::kRecord;
  for (;;) {
    gRecordStart = GetMark();
    if (BytesLeft() == 0) {
      CloseOpenGroup();
      return Fault(DrxReason::kNoEndTag);
    }
    int16_t tag = ReadShort();
    if (SourceFailed()) break;
    bool ok = true;
    // The scrap holds object records and group brackets only: its objects all go to one layer.
    const bool scrap = gReadMode == ReadMode::kScrap;
    if (tag == kEndTag) {
      if (gOpenGroup) ok = Fault(DrxReason::kEndInsideGroup);
    } else if (tag == kObjectTag) {
      ok = ReadObjectTag();
    } else if (tag == kLayerTag && !scrap) {
      ok = ReadLayerTag();
    } else if (tag == kGroupStartTag) {
      ok = ReadGroupStartTag();
    } else if (tag == kGroupEndTag) {
      ok = ReadGroupEndTag();
    }
    // Any other tag is passed over.
    if (!ok || tag == kEndTag) break;
  }
  CloseOpenGroup();
  return gReadFault == DrxReason::kNone;
}

// ---------------------------------------------------------------------------------------------
// Writing, one level per routine.

void DoWriteHeader() {
  WriteLong(kDrxVersion150);
  WriteShort(kPlatformWindows);
}

void DoWriteDocState(const DocState* state) {
  WriteLong(kDocStateBlockLength);
  for (const SettingField& field : kSettingFields) WriteSetting(field, SettingMember(state, field));
}

void WriteALayer(const LayerRec* layer) {
  WriteShort(kLayerTag);
  char name[kFileLayerNameSize] = {};
  std::memcpy(name, layer->name, sizeof name);
  name[kFileLayerNameSize - 1] = '\0';
  WriteSome(name, sizeof name);
  WriteByte(layer->visible);
  WriteByte(layer->layerFlag);
}

void WriteObjectInfo(const ObjectRec* object) {
  WriteShort(object->kind);
  WriteByte(object->closed);
  WriteByte(object->objectFlag);
  WriteColor(object->fillColor);
  WriteFloat(object->lineWeight);
  WriteShort(object->lineType);
  WriteShort(object->fillPattern);
  WriteColor(object->penColor);
}

void WriteObjectPoints(const ObjectRec* object) {
  WriteLong(CountObjectPoints(object));
  for (const PointRec* point = object->firstPoint; point; point = point->nextPoint) {
    WriteShort(point->pointKind);
    WriteByte(point->selected);
    WriteByte(point->detectable);
    WriteByte(point->locked);
    WriteFloat(point->inTangentX);
    WriteFloat(point->inTangentY);
    WriteFloat(point->x);
    WriteFloat(point->y);
    WriteFloat(point->outTangentX);
    WriteFloat(point->outTangentY);
  }
}

namespace {

// A write that cannot get its memory fails the whole transfer.
void FailSink() {
  gSink.failed = true;
}

void WriteTextData(const ObjectRec* object) {
  TextPane pane = TextPaneOf(object);
  size_t length = pane ? GetTextPaneTextLength(pane) : 0;
  char* text = static_cast<char*>(std::malloc(length + 1));
  if (!text) return FailSink();
  size_t copied = pane ? GetTextPaneText(pane, text, length + 1) : 0;
  text[copied] = '\0';
  WriteLong(static_cast<int32_t>(copied + 1));  // the text and its NUL
  WriteSome(text, copied + 1);
  std::free(text);
  WriteLong(0);  // no style data
  WriteShort(pane ? GetTextPaneAlignment(pane) : kAlignLeft);
  FontRecord font;
  if (!pane || !GetTextPaneFont(pane, &font)) font = GetFallbackTextFont();
  WriteFontRecord(font);
}

void WriteDimensionData(const ObjectRec* object) {
  const DimInfo* info = DimInfoOf(object);
  const ObjectRec* label = info ? info->textObject : nullptr;
  const DimTextInfo* labelInfo = label ? DimTextInfoOf(label) : nullptr;
  if (labelInfo) {
    WriteShort(kLabelFollows);
    WriteObjectInfo(label);
    WriteObjectPoints(label);
    WriteShort(labelInfo->fontNumber);
    WriteShort(labelInfo->fontSize);
    WriteByte(labelInfo->fontStyle);
    WriteFontRecord(labelInfo->font);
  } else {
    WriteShort(kNoLabel);
  }
  WriteLong(info ? static_cast<int32_t>(info->dimFlags) : 0);
  WriteFloat(info ? info->upperTolerance : 0.0f);
  WriteFloat(info ? info->lowerTolerance : 0.0f);
}

void WritePictureData(const ObjectRec* object) {
  const MetaInfo* info = MetaInfoOf(object);
  MetaInfo none = {};
  if (!info) info = &none;
  WriteShort(info->mapMode);
  WriteShort(static_cast<int16_t>(info->frameTop));
  WriteShort(static_cast<int16_t>(info->frameLeft));
  WriteShort(static_cast<int16_t>(info->frameBottom));
  WriteShort(static_cast<int16_t>(info->frameRight));
  WriteShort(info->unitsPerInch);
  uint32_t length = info->metaFile ? GetMetaPictBits(info->metaFile, nullptr, 0) : 0;
  uint8_t* bits = nullptr;
  if (length) {
    bits = static_cast<uint8_t*>(std::malloc(length));
    if (!bits) return FailSink();
    if (GetMetaPictBits(info->metaFile, bits, length) != length) {
      std::free(bits);
      return FailSink();
    }
  }
  // The bits' length is the one little-endian number of the record.
  uint8_t lengthBytes[4] = {static_cast<uint8_t>(length & 0xFF), static_cast<uint8_t>((length >> 8) & 0xFF),
                            static_cast<uint8_t>((length >> 16) & 0xFF), static_cast<uint8_t>(length >> 24)};
  WriteSome(lengthBytes, sizeof lengthBytes);
  WriteSome(bits, length);
  std::free(bits);
}

}  // namespace

void WriteObjectData(const ObjectRec* object) {
  if (object->kind == kTextBlockKind)
    WriteTextData(object);
  else if (IsDimensionOrLeaderKind(object->kind))
    WriteDimensionData(object);
  else if (object->kind == kMetaFileKind)
    WritePictureData(object);
}

void WriteAnObject(const ObjectRec* object) {
  WriteShort(kObjectTag);
  WriteObjectInfo(object);
  WriteObjectPoints(object);
  WriteObjectData(object);
}

namespace {

// The members of a group, flat: a nested group's record is followed directly by its own members.
void WriteGroupMembers(const ObjectRec* group) {
  for (const ObjectRec* member = group->firstChild; member; member = member->nextObject) {
    if (member->kind == kDimensionTextKind) continue;  // labels travel with their dimensions
    WriteAnObject(member);
    if (member->kind == kGroupKind) WriteGroupMembers(member);
  }
}

void WriteTopLevelObject(const ObjectRec* object) {
  WriteAnObject(object);
  if (object->kind != kGroupKind) return;
  // Brackets only around a top-level group whose first member is not a length dimension.
  bool brackets = !object->parent && !(object->firstChild && object->firstChild->kind == kLengthDimKind);
  if (brackets) WriteShort(kGroupStartTag);
  WriteGroupMembers(object);
  if (brackets) WriteShort(kGroupEndTag);
}

}  // namespace

void DoWriteObjects() {
  for (const LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer) {
    if (!gUseScrap) WriteALayer(layer);
    for (const ObjectRec* object = layer->firstObject; object; object = object->nextObject) {
      if (object->kind == kDimensionTextKind) continue;
      if (!gUseScrap && gSaveSymbol && !IsObjectSelected(object)) continue;
      WriteTopLevelObject(object);
    }
  }
  WriteShort(kEndTag);
}

// ---------------------------------------------------------------------------------------------
// Whole transfers.

namespace {

void ResetOutcome() {
  gDrxFileFailure = DrxFailure{};
  gDrxFileDamaged = false;
  gReadFault = DrxReason::kNone;
  gFaultValue = 0;
  gRecordStart = 0;
  gRecordPart = DrxPart::kRecord;
  gTargetLayer = nullptr;
  gTargetTail = nullptr;
  gOpenGroup = nullptr;
  gGroupTail = nullptr;
  gLastObject = nullptr;
  gLayerTail = nullptr;
  gDrawingChanged = false;
}

// Ends a read and reports its outcome. Text blocks read are passive already: a pane gets a live
// editor only when the user types into it.
bool FinishRead() {
  DocumentRec* document = gCurDocument;
  // A drawing is never left without a layer.
  if (gReadMode == ReadMode::kDrawing && document && !document->firstLayer)
    AppendUntitledLayer(document, false);
  ReasonFromFault();
  gDrxFileDamaged = gReadFault != DrxReason::kNone && gDrawingChanged;
  EndSource();
  return gReadFault == DrxReason::kNone;
}

// Replaces the drawing's layers with none; the layers read next become its layers.
void ClearDrawingLayers(DocumentRec* document) {
  while (document->firstLayer) DeleteLayer(document->firstLayer);
  document->currentLayer = nullptr;
}

// Parses a drawing or symbol file from the source begun.
bool ReadFromSource() {
  gUseScrap = false;
  gReadMode = gPreviewSymbol ? ReadMode::kPreview : gOpenSymbol ? ReadMode::kSymbol : ReadMode::kDrawing;
  DocumentRec* document = gCurDocument;
  if (gReadMode != ReadMode::kPreview && !document) {
    SetReason(DrxReason::kNoDrawing);
    EndSource();
    return false;
  }
  if (!DoReadHeader()) return FinishRead();
  if (gFileVersion != kDrxVersion100 && gFileVersion != kDrxVersion150) {
    SetReason(DrxReason::kUnsupportedVersion, static_cast<long>(gFileVersion));
    EndSource();
    return false;
  }
  DocState* state = nullptr;
  bool ok = gFilePlatform == kPlatformBigEndian ? DoReadMacDocState() : DoReadDocState(&state);
  if (!ok) return FinishRead();  // nothing of the drawing has changed yet

  if (gReadMode == ReadMode::kDrawing) {
    if (state) {
      std::free(document->docState);
      document->docState = state;
    }
    ClearDrawingLayers(document);
    gLayerTail = nullptr;
    gDrawingChanged = true;
  } else {
    std::free(state);  // a symbol keeps the drawing's settings
    if (gReadMode == ReadMode::kPreview) {
      if (!gPreviewLayer) gPreviewLayer = CreateLayer(kUntitledLayerName, 1, 1, nullptr);
      if (!gPreviewLayer) {
        MemoryFault();
        return FinishRead();
      }
      gTargetLayer = gPreviewLayer;
    } else {
      if (!document->currentLayer && !AppendUntitledLayer(document, true)) {
        MemoryFault();
        return FinishRead();
      }
      gTargetLayer = document->currentLayer;
    }
    gTargetTail = LastTopLevelObject(gTargetLayer);
  }
  DoReadObjects();
  return FinishRead();
}

}  // namespace

bool DrxReadFromMemory(const uint8_t* data, size_t length, const char* name) {
  (void)name;  // the caller names the file in its own messages
  ResetOutcome();
  BeginSource(data, length);
  return ReadFromSource();
}

bool DrxFileRead(const char* path) {
  ResetOutcome();
  // Folders, pipes and devices are refused before anything could wait on them.
  FileRefusal refusal = FileRefusal::kNone;
  gFileRef = OpenRegularFileForReading(path, &refusal);
  if (!gFileRef) {
    SetReason(DrxReasonOfRefusal(refusal));
    return false;
  }
  // The file is parsed through a window as it is read, bounded by its length.
  const int64_t length = GetLength(gFileRef);
  bool ok = false;
  if (length < 0 || static_cast<uint64_t>(length) >= SIZE_MAX)
    SetReason(DrxReason::kCannotRead);
  else if (!BeginFileSource(gFileRef, static_cast<size_t>(length)))
    SetReason(DrxReason::kOutOfMemory);
  else
    ok = ReadFromSource();
  std::fclose(gFileRef);
  gFileRef = nullptr;
  return ok;
}

bool DrxFileWrite(const char* path) {
  DocumentRec* document = gCurDocument;
  // A saved drawing always stores zoom 1, and the window then shows it at zoom 1.
  if (document && path && document->docState && document->docState->zoomFactor != 1.0f) {
    document->docState->zoomFactor = 1.0f;
    if (gZoomResetHook) gZoomResetHook(document);
  }
  return DrxFileWriteCopy(path);
}

bool DrxFileWriteCopy(const char* path) {
  ResetOutcome();
  DocumentRec* document = gCurDocument;
  if (!document || !path) {
    SetReason(DrxReason::kNoDrawing);
    return false;
  }
  // The settings as stored: the drawing's own, or the defaults, always at zoom 1.
  DocState stored;
  if (document->docState) {
    stored = *document->docState;
  } else {
    std::memset(&stored, 0, sizeof stored);
    InitializeDocState(&stored);
  }
  stored.zoomFactor = 1.0f;
  const DocState* state = &stored;

  // Everything goes to a file beside the target, which replaces the target only when complete.
  std::string target, temporary;
  const FileRefusal refusal = PrepareFileReplacement(path, &target, &temporary);
  if (refusal != FileRefusal::kNone) {
    SetReason(DrxReasonOfRefusal(refusal));
    return false;
  }
  gFileRef = std::fopen(temporary.c_str(), "wb");
  if (!gFileRef) {
    SetReason(DrxReason::kCannotCreate);
    return false;
  }
  gUseScrap = false;
  gFileVersion = kDrxVersion150;
  gFilePlatform = kPlatformWindows;
  bool ok = BeginSink(gFileRef);
  if (ok) {
    DoWriteHeader();
    DoWriteDocState(state);
    DoWriteObjects();
    ok = FlushSink();
  }
  EndSink();
  if (std::fclose(gFileRef) != 0) ok = false;
  gFileRef = nullptr;
  if (!ok) {
    std::remove(temporary.c_str());
    SetReason(DrxReason::kCannotWrite);
    return false;
  }
  if (!ReplaceFileWithTemporary(temporary.c_str(), target.c_str())) {
    std::remove(temporary.c_str());
    SetReason(DrxReason::kCannotReplace);
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Failures in words.

bool IsDrxDamage(DrxReason reason) {
  return reason >= DrxReason::kRunsPastEnd && reason < DrxReason::kCount;
}

std::string DrxFailureText(const DrxFailure& failure) {
  // What follows "damaged: <part> at byte <offset> " for each damage, in DrxReason order.
  static const char* const kDamage[] = {
      "runs past the end of the file",
      nullptr,  // no end tag: said without a place
      "has a point count of %ld",
      "has a text length of %ld",
      "has a style length of %ld",
      "has a label of kind %ld",
      "has a label marker of %ld",
      "has an unknown kind %ld",
      "is a layer inside a group",
      "starts a group inside a group",
      "starts a group that does not follow a group",
      "ends a group that was not started",
      "ends the drawing inside a group",
      nullptr,  // a non-finite coordinate: said with the value's own offset
  };
  static_assert(sizeof kDamage / sizeof kDamage[0] ==
                    static_cast<size_t>(DrxReason::kCount) - static_cast<size_t>(DrxReason::kRunsPastEnd),
                "one text per damage");
  static const char* const kParts[] = {"header", "settings block", "record"};
  for (const RefusalReason& entry : kRefusalReasons)
    if (entry.reason == failure.reason) return FileRefusalText(entry.refusal);
  char text[256] = "";
  switch (failure.reason) {
    case DrxReason::kNone:
    case DrxReason::kCount:
      break;
    case DrxReason::kNoDrawing:
      return "no drawing is open";
    case DrxReason::kCannotRead:
      return "cannot be read";
    case DrxReason::kOutOfMemory:
      return "out of memory";
    case DrxReason::kUnsupportedVersion:
      std::snprintf(text, sizeof text, "unsupported version %ld", failure.value);
      break;
    case DrxReason::kCannotCreate:
      return "cannot be created";
    case DrxReason::kCannotWrite:
      return "cannot be written";
    case DrxReason::kCannotReplace:
      return "cannot be replaced";
    case DrxReason::kNoEndTag:
      return "damaged: ends without its end tag";
    case DrxReason::kNonFiniteCoordinate:
      std::snprintf(text, sizeof text, "damaged: a coordinate at byte %llu is not a finite number",
                    static_cast<unsigned long long>(failure.offset));
      break;
    default: {
      char detail[96];
      const size_t index = static_cast<size_t>(failure.reason) - static_cast<size_t>(DrxReason::kRunsPastEnd);
      std::snprintf(detail, sizeof detail, kDamage[index], failure.value);
      std::snprintf(text, sizeof text, "damaged: %s at byte %llu %s",
                    kParts[static_cast<size_t>(failure.part)],
                    static_cast<unsigned long long>(failure.offset), detail);
      break;
    }
  }
  return text;
}

// ---------------------------------------------------------------------------------------------
// The private scrap.

void FreePrivateScrap() {
  std::free(gPrivateScrap);
  gPrivateScrap = nullptr;
  gPrivateScrapSize = 0;
  gScrapIndex = 0;
  gOLEScrapSize = 0;
}

bool SetPrivateScrap(const uint8_t* data, size_t length) {
  FreePrivateScrap();
  gDrxFileFailure = DrxFailure{};
  if (!data || length == 0) {
    SetReason(DrxReason::kCannotRead);
    return false;
  }
  if (length > UINT32_MAX) {
    SetReason(DrxReason::kOutOfMemory);
    return false;
  }
  gPrivateScrap = static_cast<uint8_t*>(std::malloc(length));
  if (!gPrivateScrap) {
    SetReason(DrxReason::kOutOfMemory);
    return false;
  }
  std::memcpy(gPrivateScrap, data, length);
  gPrivateScrapSize = static_cast<uint32_t>(length);
  return true;
}

bool WriteScrapObjects() {
  ResetOutcome();
  FreePrivateScrap();
  if (!gCurDocument) {
    SetReason(DrxReason::kNoDrawing);
    return false;
  }
  gUseScrap = true;
  gFileVersion = kDrxVersion150;
  gFilePlatform = kPlatformWindows;
  bool ok = BeginSink(nullptr);
  if (ok) {
    DoWriteObjects();
    ok = FlushSink();
  }
  size_t size = 0;
  uint8_t* block = ok ? TakeSinkBlock(&size) : nullptr;
  EndSink();
  gUseScrap = false;
  if (!block || size > UINT32_MAX) {
    std::free(block);
    SetReason(DrxReason::kOutOfMemory);
    return false;
  }
  gPrivateScrap = block;
  gPrivateScrapSize = static_cast<uint32_t>(size);
  return true;
}

bool ReadScrapObjects(const uint8_t* data, size_t length) {
  ResetOutcome();
  DocumentRec* document = gCurDocument;
  if (!document) {
    SetReason(DrxReason::kNoDrawing);
    return false;
  }
  gReadMode = ReadMode::kScrap;
  gUseScrap = true;
  gFileVersion = kDrxVersion150;
  gFilePlatform = kPlatformWindows;
  if (!document->currentLayer && !AppendUntitledLayer(document, true)) {
    gUseScrap = false;
    SetReason(DrxReason::kOutOfMemory);
    return false;
  }
  gTargetLayer = document->currentLayer;
  gTargetTail = LastTopLevelObject(gTargetLayer);
  BeginSource(data, length);
  DoReadObjects();
  gScrapIndex = 0;
  gUseScrap = false;
  return FinishRead();
}
