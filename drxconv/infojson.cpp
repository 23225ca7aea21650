// `info`: the drawing as one JSON object. Field names are the record fields' own names; the
// object is written field by field so its order stays fixed for scripts that read it.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

#include "dimensions/drawdim2.h"
#include "drxconv/drxconv.h"
#include "files/docfields.h"
#include "model/records.h"
#include "model/seam.h"
#include "model/textfont.h"

namespace {

constexpr size_t kFlushSize = 1 << 16;
constexpr int kFaceNameSize = sizeof(FontRecord::faceName);

class JsonOut {
 public:
  explicit JsonOut(FILE* out) : out_(out) { text_.reserve(kFlushSize * 2); }
  ~JsonOut() { Flush(); }

  bool Flush() {
    if (!text_.empty() && std::fwrite(text_.data(), 1, text_.size(), out_) != text_.size()) ok_ = false;
    text_.clear();
    return ok_;
  }
  bool Finish() { return Flush() && std::fflush(out_) == 0 && ok_; }

  void Raw(const char* text) {
    text_ += text;
    if (text_.size() >= kFlushSize) Flush();
  }
  void Key(const char* name) {
    Separate();
    text_ += '"';
    text_ += name;
    text_ += "\": ";
    afterKey_ = true;
  }
  void Int(long long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld", value);
    Value(buffer);
  }
  // Nine significant digits read back as the same single-precision value. JSON has no NaN or
  // infinity, so a non-finite value (only a damaged file can hold one) is written as null.
  void Float(float value) {
    if (!std::isfinite(value)) {
      Value("null");
      return;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    Value(buffer);
  }
  void Null() { Value("null"); }
  // Bytes as they are for printable ASCII; quotes, backslashes and control characters escaped;
  // bytes of 0x80 and above as \u00XX, the Latin-1 character of that byte value. The output is
  // then plain ASCII and valid UTF-8 whatever the drawing's text holds, and every byte can be
  // recovered from its code point.
  void String(const char* text, size_t length) {
    Separate();
    text_ += '"';
    for (size_t i = 0; i < length; ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      switch (c) {
        case '"':
          text_ += "\\\"";
          break;
        case '\\':
          text_ += "\\\\";
          break;
        case '\b':
          text_ += "\\b";
          break;
        case '\f':
          text_ += "\\f";
          break;
        case '\n':
          text_ += "\\n";
          break;
        case '\r':
          text_ += "\\r";
          break;
        case '\t':
          text_ += "\\t";
          break;
        default:
          if (c < 0x20 || c >= 0x7F) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            text_ += buffer;
          } else {
            text_ += static_cast<char>(c);
          }
      }
    }
    text_ += '"';
    if (text_.size() >= kFlushSize) Flush();
  }
  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // Starts the next element on a new line indented by `depth` (long lists stay readable).
  void NewLine(int depth) {
    if (afterKey_) {
      afterKey_ = false;
    } else if (pendingComma_) {
      text_ += ',';
    }
    CloseLine(depth);
    afterKey_ = true;
  }
  // A line break before a closing bracket.
  void CloseLine(int depth) {
    text_ += '\n';
    text_.append(static_cast<size_t>(depth), ' ');
  }
  void EndLine() { text_ += '\n'; }

 private:
  // Writes the comma before an element, unless it follows its key or a line break.
  void Separate() {
    if (afterKey_) {
      afterKey_ = false;
    } else if (pendingComma_) {
      text_ += ", ";
    }
    pendingComma_ = true;
  }
  void Value(const char* text) {
    Separate();
    text_ += text;
  }
  void Open(char bracket) {
    Separate();
    text_ += bracket;
    pendingComma_ = false;
  }
  void Close(char bracket) {
    text_ += bracket;
    pendingComma_ = true;
    afterKey_ = false;
    if (text_.size() >= kFlushSize) Flush();
  }

  FILE* out_;
  std::string text_;
  bool pendingComma_ = false;
  bool afterKey_ = false;
  bool ok_ = true;
};

void Color(JsonOut& json, const char* name, const RGB16& color) {
  json.Key(name);
  json.BeginArray();
  json.Int(color.red);
  json.Int(color.green);
  json.Int(color.blue);
  json.EndArray();
}

void Rect(JsonOut& json, const char* name, const FloatRect& rect) {
  json.Key(name);
  json.BeginArray();
  json.Float(rect.top);
  json.Float(rect.left);
  json.Float(rect.bottom);
  json.Float(rect.right);
  json.EndArray();
}

void FloatField(JsonOut& json, const char* name, float value) {
  json.Key(name);
  json.Float(value);
}

void IntField(JsonOut& json, const char* name, long long value) {
  json.Key(name);
  json.Int(value);
}

void NullField(JsonOut& json, const char* name) {
  json.Key(name);
  json.Null();
}

void Pair(JsonOut& json, const char* name, float x, float y) {
  json.Key(name);
  json.BeginArray();
  json.Float(x);
  json.Float(y);
  json.EndArray();
}

// The settings a drawing file stores, in the order the file stores them.
void WriteDocState(JsonOut& json, const DocState& s) {
  json.Key("docState");
  json.BeginObject();
  // One field per line.
  const int depth = 2;
  for (const SettingField& field : kSettingFields) {
    json.NewLine(depth);
    const void* member = SettingMember(&s, field);
    switch (field.type) {
      case SettingType::kByte:
        IntField(json, field.name, *static_cast<const uint8_t*>(member));
        break;
      case SettingType::kShort:
        IntField(json, field.name, *static_cast<const int16_t*>(member));
        break;
      case SettingType::kFlags:
        IntField(json, field.name, *static_cast<const uint32_t*>(member));
        break;
      case SettingType::kFloat:
        FloatField(json, field.name, *static_cast<const float*>(member));
        break;
      case SettingType::kColor:
        Color(json, field.name, *static_cast<const RGB16*>(member));
        break;
      case SettingType::kRect:
        Rect(json, field.name, *static_cast<const FloatRect*>(member));
        break;
    }
  }
  json.CloseLine(1);
  json.EndObject();
}

void WriteFont(JsonOut& json, const FontRecord& font) {
  json.Key("font");
  json.BeginObject();
  IntField(json, "height", font.height);
  IntField(json, "width", font.width);
  IntField(json, "escapement", font.escapement);
  IntField(json, "orientation", font.orientation);
  IntField(json, "weight", font.weight);
  IntField(json, "italic", font.italic);
  IntField(json, "underline", font.underline);
  IntField(json, "strikeOut", font.strikeOut);
  IntField(json, "charSet", font.charSet);
  IntField(json, "outPrecision", font.outPrecision);
  IntField(json, "clipPrecision", font.clipPrecision);
  IntField(json, "quality", font.quality);
  IntField(json, "pitchAndFamily", font.pitchAndFamily);
  json.Key("faceName");
  json.String(font.faceName, strnlen(font.faceName, kFaceNameSize));
  json.EndObject();
}

// Positions of the objects of one sibling list, built only for lists that hold dimensions or
// their labels (the links between them are printed as indexes into the list).
class SiblingIndex {
 public:
  explicit SiblingIndex(const ObjectRec* first) : first_(first) {}
  // The index of `target` in the list, or -1.
  long Find(const ObjectRec* target) {
    if (!built_) {
      long index = 0;
      for (const ObjectRec* object = first_; object; object = object->nextObject) index_[object] = index++;
      built_ = true;
    }
    const auto found = index_.find(target);
    return found == index_.end() ? -1 : found->second;
  }

 private:
  const ObjectRec* first_;
  bool built_ = false;
  std::unordered_map<const ObjectRec*, long> index_;
};

void WriteLink(JsonOut& json, const char* name, const ObjectRec* target, SiblingIndex& siblings) {
  json.Key(name);
  const long index = target ? siblings.Find(target) : -1;
  if (index < 0) {
    json.Null();
  } else {
    json.Int(index);
  }
}

void WriteObjectList(JsonOut& json, const ObjectRec* first, int depth);

// The settings of the drawing being written: the readouts are in its units.
const DocState* gInfoState = nullptr;

// What a dimension reads: `value` (world units, or degrees for an angle) and `readout`, its
// value as its label shows it; both null for a leader or a dimension that cannot be read.
void WriteReadout(JsonOut& json, const ObjectRec* object) {
  const DimInfo* info = DimInfoOf(object);
  float value = 0.0f;
  bool angle = false;
  if (!info || !MeasureDimension(object, gInfoState, &value, &angle)) {
    NullField(json, "value");
    NullField(json, "readout");
    return;
  }
  DimensionStrings strings;
  FormatDimensionStrings(value, angle, info->dimFlags, info->upperTolerance, info->lowerTolerance, gInfoState,
                         &strings);
  json.Key("value");
  json.Float(value);
  json.Key("readout");
  json.String(strings.value, std::strlen(strings.value));
}

void WriteKindData(JsonOut& json, const ObjectRec* object, SiblingIndex& siblings, int depth) {
  const int kind = object->kind;
  if (kind == kGroupKind) {
    json.Key("children");
    WriteObjectList(json, object->firstChild, depth + 1);
  } else if (kind == kTextBlockKind) {
    const TextPane pane = TextPaneOf(object);
    std::string text;
    int alignment = kAlignLeft;
    FontRecord font = GetFallbackTextFont();  // what the writer stores for a pane without its own font
    if (pane) {
      text.resize(GetTextPaneTextLength(pane) + 1);
      text.resize(GetTextPaneText(pane, &text[0], text.size()));
      alignment = GetTextPaneAlignment(pane);
      GetTextPaneFont(pane, &font);
    }
    json.Key("text");
    json.String(text.data(), text.size());
    IntField(json, "alignment", alignment);
    WriteFont(json, font);
  } else if (IsDimensionOrLeaderKind(kind)) {
    const DimInfo* info = DimInfoOf(object);
    json.Key("dimFlags");
    info ? json.Int(info->dimFlags) : json.Null();
    json.Key("upperTolerance");
    info ? json.Float(info->upperTolerance) : json.Null();
    json.Key("lowerTolerance");
    info ? json.Float(info->lowerTolerance) : json.Null();
    WriteLink(json, "textObject", info ? info->textObject : nullptr, siblings);
    WriteReadout(json, object);
  } else if (kind == kDimensionTextKind) {
    const DimTextInfo* info = DimTextInfoOf(object);
    json.Key("fontNumber");
    info ? json.Int(info->fontNumber) : json.Null();
    json.Key("fontSize");
    info ? json.Int(info->fontSize) : json.Null();
    json.Key("fontStyle");
    info ? json.Int(info->fontStyle) : json.Null();
    if (info) {
      WriteFont(json, info->font);
    } else {
      json.Key("font");
      json.Null();
    }
    WriteLink(json, "ownerDimension", info ? info->ownerDimension : nullptr, siblings);
  } else if (kind == kMetaFileKind) {
    const MetaInfo* info = MetaInfoOf(object);
    if (!info) {
      NullField(json, "mapMode");
      NullField(json, "frame");
      NullField(json, "unitsPerInch");
      NullField(json, "metaFileBytes");
      return;
    }
    IntField(json, "mapMode", info->mapMode);
    json.Key("frame");
    json.BeginArray();
    json.Int(info->frameLeft);
    json.Int(info->frameTop);
    json.Int(info->frameRight);
    json.Int(info->frameBottom);
    json.EndArray();
    IntField(json, "unitsPerInch", info->unitsPerInch);
    IntField(json, "metaFileBytes", info->metaFile ? GetMetaPictBits(info->metaFile, nullptr, 0) : 0);
  }
}

void WritePoint(JsonOut& json, const PointRec& point) {
  json.BeginObject();
  IntField(json, "pointKind", point.pointKind);
  IntField(json, "selected", point.selected);
  IntField(json, "detectable", point.detectable);
  IntField(json, "locked", point.locked);
  Pair(json, "inTangent", point.inTangentX, point.inTangentY);
  FloatField(json, "x", point.x);
  FloatField(json, "y", point.y);
  Pair(json, "outTangent", point.outTangentX, point.outTangentY);
  json.EndObject();
}

void WriteObject(JsonOut& json, const ObjectRec* object, SiblingIndex& siblings, int depth) {
  json.BeginObject();
  IntField(json, "kind", object->kind);
  IntField(json, "closed", object->closed);
  IntField(json, "objectFlag", object->objectFlag);
  Color(json, "fillColor", object->fillColor);
  Color(json, "penColor", object->penColor);
  FloatField(json, "lineWeight", object->lineWeight);
  IntField(json, "lineType", object->lineType);
  IntField(json, "fillPattern", object->fillPattern);
  Rect(json, "bounds", object->bounds);
  json.Key("points");
  json.BeginArray();
  for (const PointRec* point = object->firstPoint; point; point = point->nextPoint) WritePoint(json, *point);
  json.EndArray();
  WriteKindData(json, object, siblings, depth);
  json.EndObject();
}

// A list of sibling objects, one per line.
void WriteObjectList(JsonOut& json, const ObjectRec* first, int depth) {
  SiblingIndex siblings(first);
  json.BeginArray();
  for (const ObjectRec* object = first; object; object = object->nextObject) {
    json.NewLine(depth);
    WriteObject(json, object, siblings, depth);
  }
  if (first) json.CloseLine(depth - 1);
  json.EndArray();
}

void WriteLayer(JsonOut& json, const LayerRec* layer) {
  json.BeginObject();
  json.Key("name");
  json.String(layer->name, strnlen(layer->name, kLayerNameSize));
  IntField(json, "visible", layer->visible);
  IntField(json, "layerFlag", layer->layerFlag);
  json.Key("objects");
  WriteObjectList(json, layer->firstObject, 3);
  json.EndObject();
}

}  // namespace

bool WriteInfoJson(const LoadedDrawing& drawing, FILE* out) {
  JsonOut json(out);
  json.BeginObject();
  json.NewLine(1);
  IntField(json, "version", drawing.version);
  IntField(json, "platform", drawing.platform);
  json.NewLine(1);
  const DocumentRec* document = drawing.document;
  gInfoState = document->docState;
  if (document->docState) {
    WriteDocState(json, *document->docState);
  } else {
    NullField(json, "docState");
  }
  json.NewLine(1);
  json.Key("layers");
  json.BeginArray();
  for (const LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer) {
    json.NewLine(2);
    WriteLayer(json, layer);
  }
  json.CloseLine(1);
  json.EndArray();
  json.CloseLine(0);
  json.EndObject();
  json.EndLine();
  return json.Finish();
}
