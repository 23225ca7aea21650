// Drawing files: the written bytes against sequences built here from the layout (built with the
// tests' byte writer), read-write-read round trips of every kind, the older version and
// the big-endian platform's files, symbols, preview, the scrap, and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "files/docfields.h"
#include "files/drxfile.h"
#include "files/drxio.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "tests/support/bytewriter.h"
#include "tools/drxfont.h"

namespace {

// ---- Records built byte by byte -------------------------------------------------------------------

struct Bytes : ByteWriter<Bytes> {};

// Object info of the format: kind, closed, flag, fill, weight, type, pattern, and in 150 the pen.
Bytes Info(int kind, int closed, int flag, RGB16 fill, float weight, int type, int pattern,
           const RGB16* pen) {
  Bytes b;
  b.Short(kind)
      .Byte(closed)
      .Byte(flag)
      .Short(fill.red)
      .Short(fill.green)
      .Short(fill.blue)
      .Float(weight)
      .Short(type)
      .Short(pattern);
  if (pen) b.Short(pen->red).Short(pen->green).Short(pen->blue);
  return b;
}

struct P {
  int kind, selected, detectable, locked;
  float inX, inY, x, y, outX, outY;
};

Bytes Points(const std::vector<P>& points) {
  Bytes b;
  b.Long(static_cast<int64_t>(points.size()));
  for (const P& p : points)
    b.Short(p.kind)
        .Byte(p.selected)
        .Byte(p.detectable)
        .Byte(p.locked)
        .Float(p.inX)
        .Float(p.inY)
        .Float(p.x)
        .Float(p.y)
        .Float(p.outX)
        .Float(p.outY);
  return b;
}

// The font record: five little-endian 16-bit numbers, eight bytes, a 32-byte face name.
Bytes Font(int height, int weight, int italic, int charSet, int pitch, const std::string& face) {
  Bytes b;
  b.LittleShort(height).LittleShort(0).LittleShort(0).LittleShort(0).LittleShort(weight);
  b.Byte(italic).Byte(0).Byte(0).Byte(charSet).Byte(0).Byte(0).Byte(0).Byte(pitch);
  return b.Text(face, 32);
}

// Settings by name, each with its value or values (a colour three, a rectangle four).
struct NamedSetting {
  const char* name;
  std::vector<double> values;
};

// The settings of a new drawing.
const std::vector<NamedSetting> kNewDrawingSettings = {
    {"dupOffsetH", {0.5}},
    {"dupOffsetV", {-0.5}},
    {"dupRepeat", {1}},
    {"originV", {792}},  // the origin at the sheet's bottom-left corner
    {"gridH", {1}},
    {"gridV", {1}},
    {"scrollSpeed", {50}},
    {"nudgeRate", {0.25}},
    {"lineType", {6}},
    {"lineWeight", {1}},
    {"pageRect", {0, 0, 792, 612}},
    {"paperKind", {19}},
    {"paperArch", {1}},
    {"paperMech", {1}},
    {"paperMetric", {1}},
    {"paperOversize", {1}},
    {"paperCustomUnit", {1}},
    {"paperWidth", {8.5}},
    {"paperHeight", {11}},
    {"arrowStyle", {5086}},
    {"toleranceStyle", {5053}},
    {"parallelWidth", {0.25}},
    {"parallelSide", {7}},
    {"fillColor", {-1, -1, -1}},
    {"backColor", {-1, -1, -1}},
    {"readoutStyle", {5060}},
    {"storedValue24", {24}},
    {"showToolbar", {1}},
    {"scaleFactor", {1}},
    {"screenUnit", {1}},
    {"worldUnit", {1}},
    {"screenScale", {1}},
    {"worldScale", {1}},
    {"curveSmoothness", {8}},
    {"multigonSides", {8}},
    {"snapPercentage", {50}},
    {"snapSensitivity", {5}},
    {"tension", {5}},
    {"zoomFactor", {1}},
    {"zoomPercentage", {100}},
    {"dimFlags", {(1u << 19) | (1u << 0) | (1u << (12 + 2))}},
    {"titleStyle", {5100}},
    {"snapH", {1}},
    {"snapV", {1}},
    {"minorDivisions", {8}},
};

// The settings fields a file of `version` stores, laid out by the settings table: the new
// drawing's values, then `changes` over them.
std::vector<uint8_t> DefaultSettingsFields(int32_t version, const std::vector<NamedSetting>& changes = {}) {
  std::vector<NamedSetting> values = kNewDrawingSettings;
  values.insert(values.end(), changes.begin(), changes.end());
  std::vector<uint8_t> block(SettingFieldBytes(version), 0);
  for (const NamedSetting& setting : values) {
    const SettingField* field = nullptr;
    for (const SettingField& candidate : kSettingFields)
      if (std::string(candidate.name) == setting.name) field = &candidate;
    if (!field) {
      ADD_FAILURE() << "no setting " << setting.name;
      continue;
    }
    if (field->version > version) continue;
    Bytes bytes;
    for (double value : setting.values) {
      switch (field->type) {
        case SettingType::kByte:
          bytes.Byte(static_cast<int>(value));
          break;
        case SettingType::kShort:
        case SettingType::kColor:
          bytes.Short(static_cast<int>(value));
          break;
        case SettingType::kFlags:
          bytes.Long(static_cast<int64_t>(value));
          break;
        case SettingType::kFloat:
        case SettingType::kRect:
          bytes.Float(static_cast<float>(value));
          break;
      }
    }
    EXPECT_EQ(bytes.size(), SettingTypeSize(field->type)) << setting.name;
    if (field->offset + bytes.size() <= block.size())
      std::memcpy(block.data() + field->offset, bytes.v.data(), bytes.size());
  }
  return block;
}

// Compares byte sequences and names the first difference.
::testing::AssertionResult SameBytes(const std::vector<uint8_t>& actual,
                                     const std::vector<uint8_t>& expected) {
  size_t n = std::min(actual.size(), expected.size());
  size_t i = 0;
  while (i < n && actual[i] == expected[i]) ++i;
  if (i == n && actual.size() == expected.size()) return ::testing::AssertionSuccess();
  auto hex = [](const std::vector<uint8_t>& v, size_t at) {
    std::ostringstream out;
    for (size_t k = at; k < v.size() && k < at + 12; ++k) out << std::hex << int(v[k]) << " ";
    return out.str();
  };
  return ::testing::AssertionFailure()
         << "sizes " << actual.size() << " and " << expected.size() << ", first difference at byte " << i
         << ": [" << hex(actual, i) << "] instead of [" << hex(expected, i) << "]";
}

// ---- Files and drawings -----------------------------------------------------------------------

std::string TempPath(const std::string& name) {
  // Named after the running test too: ctest runs tests side by side, each in its own process.
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string owner = test ? std::string(test->test_suite_name()) + "." + test->name() : "none";
  std::string path = std::string(DRX_BINARY_DIR) + "/drxfile-test-" + owner + "-" + name;
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
  return path;
}

std::vector<uint8_t> Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Spill(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) {
  return std::ifstream(path).good();
}

const RGB16 kFill = {1000, 2000, 3000};
const RGB16 kPen = {4000, 5000, 6000};

ObjectRec* NewObject(int16_t kind, uint8_t closed, LayerRec* layer) {
  return CreateObject(kind, closed, 1, &kFill, &kPen, 2.5f, 7, 11, &kEmptyRect, nullptr, nullptr, nullptr,
                      layer, nullptr);
}

void AddPoint(ObjectRec* object, float x, float y, int16_t kind = kVertexPoint, float tangent = 0) {
  PointRec* point = CreatePoint(kind, 0, 0, tangent ? -tangent : 0, 0, x, y, tangent, 0.5f * tangent, object);
  AppendPointToObject(point, object);
}

void AddCorners(ObjectRec* object, float left, float top, float right, float bottom) {
  AddPoint(object, left, top);
  AddPoint(object, right, top);
  AddPoint(object, right, bottom);
  AddPoint(object, left, bottom);
}

ObjectRec* AddRect(LayerRec* layer, float left, float top) {
  ObjectRec* rect = NewObject(kRectKind, 1, layer);
  AddCorners(rect, left, top, left + 20, top + 10);
  AppendObjectToLayer(rect, layer);
  return rect;
}

FontRecord TestFont() {
  FontRecord font{};
  font.height = -24;
  font.weight = 700;
  font.italic = 1;
  font.charSet = 0;
  font.pitchAndFamily = 0x22;
  std::strcpy(font.faceName, "Arial");
  return font;
}

ObjectRec* AddTextBlock(LayerRec* layer, const char* text, int16_t alignment, const FontRecord* font) {
  ObjectRec* block = NewObject(kTextBlockKind, 1, layer);
  AddCorners(block, 100, 100, 200, 140);
  TextPane pane = CreateTextPane(alignment);
  SetTextPaneText(pane, text, std::strlen(text));
  if (font) SetTextPaneFont(pane, font);
  block->info = pane;
  AppendObjectToLayer(block, layer);
  return block;
}

// A dimension with or without its label; the label sits in the layer right after it.
ObjectRec* AddDimension(LayerRec* layer, int16_t kind, bool withLabel) {
  ObjectRec* dim = NewObject(kind, 0, layer);
  AddPoint(dim, 10, 300);
  AddPoint(dim, 110, 300);
  DimInfo* info = static_cast<DimInfo*>(calloc(1, sizeof(DimInfo)));
  info->dimFlags = 0x80105u + static_cast<uint32_t>(kind);
  info->upperTolerance = 0.125f;
  info->lowerTolerance = -0.0625f;
  dim->info = info;
  AppendObjectToLayer(dim, layer);
  if (withLabel) {
    ObjectRec* label = NewObject(kDimensionTextKind, 1, layer);
    AddCorners(label, 50, 290, 70, 298);
    DimTextInfo* text = static_cast<DimTextInfo*>(calloc(1, sizeof(DimTextInfo)));
    text->fontNumber = 3;
    text->fontSize = 12;
    text->fontStyle = 2;
    text->font = TestFont();
    text->ownerDimension = dim;
    label->info = text;
    info->textObject = label;
    AppendObjectToLayer(label, layer);
  }
  return dim;
}

// The smallest standard metafile worth the name: its header, one SetBkMode record, the end
// record (32 bytes; the Windows build accepts only well-formed bits).
std::vector<uint8_t> TinyMetafile() {
  Bytes b;
  b.LittleShort(1).LittleShort(9).LittleShort(0x300).LittleLong(16).LittleShort(0).LittleLong(4).LittleShort(
      0);                                              // header, sizes in words
  b.LittleLong(4).LittleShort(0x0102).LittleShort(1);  // SetBkMode(TRANSPARENT)
  b.LittleLong(3).LittleShort(0);                      // end of the metafile
  return b.v;
}

ObjectRec* AddPicture(LayerRec* layer, const std::vector<uint8_t>& bits) {
  ObjectRec* picture = NewObject(kMetaFileKind, 1, layer);
  AddCorners(picture, 0, 0, 72, 36);
  MetaInfo* info = static_cast<MetaInfo*>(calloc(1, sizeof(MetaInfo)));
  info->mapMode = kPictureMapMode;
  info->frameLeft = -5;
  info->frameTop = 7;
  info->frameRight = 1000;
  info->frameBottom = 500;
  info->unitsPerInch = 1440;
  info->metaFile =
      bits.empty() ? nullptr : CreateMetaPictFromBits(bits.data(), static_cast<uint32_t>(bits.size()));
  picture->info = info;
  AppendObjectToLayer(picture, layer);
  return picture;
}

ObjectRec* AddGroup(LayerRec* layer) {
  ObjectRec* group = NewObject(kGroupKind, 0, layer);
  AppendObjectToLayer(group, layer);
  return group;
}

ObjectRec* AddMember(ObjectRec* group, int16_t kind) {
  ObjectRec* member = NewObject(kind, 0, group->layer);
  AddPoint(member, 5, 5);
  AddPoint(member, 15, 25);
  AppendObjectToGroup(member, group);
  return member;
}

// ---- Describing a drawing, to compare two of them ------------------------------------------

void DescribeObject(std::ostringstream& out, const ObjectRec* object, int depth);

void DescribeFont(std::ostringstream& out, const FontRecord& f) {
  out << " font " << f.height << "/" << f.width << "/" << f.escapement << "/" << f.orientation << "/"
      << f.weight << "/" << int(f.italic) << int(f.underline) << int(f.strikeOut) << "/" << int(f.charSet)
      << "/" << int(f.pitchAndFamily) << "/" << f.faceName;
}

void DescribeShape(std::ostringstream& out, const ObjectRec* o) {
  out << "kind " << o->kind << " closed " << int(o->closed) << " flag " << int(o->objectFlag) << " fill "
      << o->fillColor.red << "," << o->fillColor.green << "," << o->fillColor.blue << " pen "
      << o->penColor.red << "," << o->penColor.green << "," << o->penColor.blue << " weight " << o->lineWeight
      << " type " << o->lineType << " pattern " << o->fillPattern << "\n";
  for (const PointRec* p = o->firstPoint; p; p = p->nextPoint)
    out << "  pt " << p->pointKind << " " << int(p->selected) << int(p->detectable) << int(p->locked) << " "
        << p->inTangentX << "," << p->inTangentY << " " << p->x << "," << p->y << " " << p->outTangentX << ","
        << p->outTangentY << "\n";
}

void DescribeObject(std::ostringstream& out, const ObjectRec* o, int depth) {
  out << std::string(depth * 2, ' ');
  DescribeShape(out, o);
  if (o->kind == kTextBlockKind && o->info) {
    TextPane pane = TextPaneOf(o);
    char text[256];
    GetTextPaneText(pane, text, sizeof text);
    out << "  text '" << text << "' align " << GetTextPaneAlignment(pane);
    FontRecord font;
    if (GetTextPaneFont(pane, &font)) DescribeFont(out, font);
    out << "\n";
  } else if (IsDimensionOrLeaderKind(o->kind) && o->info) {
    const DimInfo* d = DimInfoOf(o);
    out << "  dim " << d->dimFlags << " " << d->upperTolerance << " " << d->lowerTolerance << " label "
        << (d->textObject ? "yes" : "no") << "\n";
  } else if (o->kind == kDimensionTextKind && o->info) {
    const DimTextInfo* t = DimTextInfoOf(o);
    out << "  label " << t->fontNumber << " " << t->fontSize << " " << int(t->fontStyle) << " owner "
        << (t->ownerDimension ? t->ownerDimension->kind : 0);
    DescribeFont(out, t->font);
    out << "\n";
  } else if (o->kind == kMetaFileKind && o->info) {
    const MetaInfo* m = MetaInfoOf(o);
    out << "  picture " << m->mapMode << " " << m->frameLeft << "," << m->frameTop << "," << m->frameRight
        << "," << m->frameBottom << " " << m->unitsPerInch << " bits "
        << GetMetaPictBits(m->metaFile, nullptr, 0) << "\n";
  }
  for (const ObjectRec* child = o->firstChild; child; child = child->nextObject)
    DescribeObject(out, child, depth + 1);
}

std::string DescribeLayers(const LayerRec* layer) {
  std::ostringstream out;
  for (; layer; layer = layer->nextLayer) {
    out << "layer '" << layer->name << "' " << int(layer->visible) << int(layer->layerFlag) << "\n";
    for (const ObjectRec* o = layer->firstObject; o; o = o->nextObject) DescribeObject(out, o, 1);
  }
  return out.str();
}

std::string DescribeDrawing() {
  return DescribeLayers(gCurDocument->firstLayer);
}

int CountTopLevel(const LayerRec* layer) {
  int count = 0;
  for (const ObjectRec* o = layer ? layer->firstObject : nullptr; o; o = o->nextObject) ++count;
  return count;
}

// ---- The fixture ------------------------------------------------------------------------------

class DrxFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gOpenSymbol = gPreviewSymbol = gSaveSymbol = false;
    gZoomResetHook = nullptr;
    ResetCurrentFont();
    ASSERT_NE(CreateDocument(), nullptr);
    layer_ = gCurDocument->firstLayer;
    // The whole name field is written, so the bytes after the name's NUL are cleared first.
    std::memset(layer_->name, 0, sizeof layer_->name);
    std::strcpy(layer_->name, "Walls");
  }
  void TearDown() override {
    DeleteDocument(gCurDocument);
    if (gPreviewLayer) {
      DeleteLayerObjects(gPreviewLayer);
      free(gPreviewLayer);
      gPreviewLayer = nullptr;
    }
    FreePrivateScrap();
    gOpenSymbol = gPreviewSymbol = gSaveSymbol = false;
  }
  // A fresh drawing, current.
  void Renew() {
    DeleteDocument(gCurDocument);
    CreateDocument();
    layer_ = gCurDocument->firstLayer;
  }
  std::vector<uint8_t> Save(const std::string& name) {
    std::string path = TempPath(name);
    EXPECT_TRUE(DrxFileWrite(path.c_str())) << DrxFailureText(gDrxFileFailure);
    return Slurp(path);
  }
  bool ReadBytes(const std::vector<uint8_t>& bytes) {
    return DrxReadFromMemory(bytes.data(), bytes.size(), "test");
  }
  // Every kind in two layers; labels sit right after their dimensions as the reader puts them.
  void BuildEveryKind() {
    ObjectRec* rect = AddRect(layer_, 10, 20);
    rect->firstPoint->selected = 1;
    rect->firstPoint->nextPoint->locked = 1;
    rect->firstPoint->nextPoint->nextPoint->detectable = 0;
    for (int16_t kind : {kOvalKind, kPolyKind, kMultiKind, kArcKind, kLineKind, kSplineKind}) {
      ObjectRec* shape = NewObject(kind, kind == kLineKind ? 0 : 1, layer_);
      AddPoint(shape, 1.5f * kind, 2.25f, kVertexPoint, 3.0f);
      AddPoint(shape, 40, 50, kind == kArcKind ? kArcPoint : kFilletMiddlePoint, 1.0f);
      AddPoint(shape, 60, 10, kind == kArcKind ? kArcCentrePoint : kFilletMarkerPoint);
      AppendObjectToLayer(shape, layer_);
    }
    FontRecord font = TestFont();
    AddTextBlock(layer_, "Hello, plan", kAlignCentred, &font);
    AddTextBlock(layer_, "right", kAlignRight, &font);
    LayerRec* second = CreateLayer("Dims", 0, 0, nullptr);
    AppendLayerToDocument(second);
    for (int16_t kind = kOffsetDimVKind; kind <= kLeaderDimKind; ++kind) {
      AddDimension(second, kind, true);
      AddDimension(second, kind, false);
    }
    AddPicture(second, TinyMetafile());
    AddPicture(second, {});
  }
  LayerRec* layer_ = nullptr;
};

// ---- The written layout -----------------------------------------------------------------------

TEST_F(DrxFileTest, WritesHeaderSettingsLayerAndRectAsLaidOut) {
  AddRect(layer_, 10, 20);
  std::vector<uint8_t> file = Save("layout.drx");

  Bytes expected;
  expected.Long(150).Short(2).Long(217);
  std::vector<uint8_t> fields = DefaultSettingsFields(kDrxVersion150);
  expected.Raw(fields.data(), fields.size());
  expected.Short(100).Text("Walls", 256).Byte(1).Byte(1);
  expected.Short(200).Add(Info(kRectKind, 1, 1, kFill, 2.5f, 7, 11, &kPen));
  expected.Add(Points({{1, 0, 1, 0, 0, 0, 10, 20, 0, 0},
                       {1, 0, 1, 0, 0, 0, 30, 20, 0, 0},
                       {1, 0, 1, 0, 0, 0, 30, 30, 0, 0},
                       {1, 0, 1, 0, 0, 0, 10, 30, 0, 0}}));
  expected.Short(400);
  EXPECT_TRUE(SameBytes(file, expected.v));
}

// The settings table against the stored layout, written out by offset: a field moved, resized or
// dropped from the table would change every file.
TEST(SettingsTableTest, ReproducesTheStoredLayoutOfBothVersions) {
  const auto laidOut = [](size_t size) {
    std::vector<uint8_t> f(size, 0);
    const auto put = [&f](size_t at, const Bytes& field) {
      std::memcpy(&f[at], field.v.data(), field.size());
    };
    put(0, Bytes().Float(0.5f).Float(-0.5f).Short(1));
    put(10, Bytes().Float(0).Float(792));
    put(22, Bytes().Float(1).Float(1).Short(50).Float(0.25f).Short(6).Short(1));
    put(40, Bytes().Float(0).Float(0).Float(792).Float(612));
    put(56,
        Bytes().Short(19).Short(1).Short(1).Short(1).Short(1).Short(1).Float(8.5f).Float(11.0f).Short(5086));
    put(86, Bytes().Short(5053).Float(0.25f).Short(7).Short(-1).Short(-1).Short(-1).Short(-1).Short(-1).Short(
                -1));
    put(106, Bytes().Short(5060).Short(24).Byte(1).Float(1).Short(1).Short(1).Byte(0).Float(1).Float(1));
    put(128, Bytes().Short(8).Short(8).Short(50).Short(5).Short(5).Float(1).Short(100));
    put(146, Bytes().Long((1u << 19) | (1u << 0) | (1u << (12 + 2))).Short(5100));
    if (size > 152) put(152, Bytes().Short(0).Short(0).Short(0).Float(1).Float(1).Byte(0).Byte(0).Short(8));
    return f;
  };
  EXPECT_TRUE(SameBytes(DefaultSettingsFields(kDrxVersion100), laidOut(152)));
  EXPECT_TRUE(SameBytes(DefaultSettingsFields(kDrxVersion150), laidOut(170)));
}

// The bytes of each kind's record after the layer record of a one-layer drawing.
class KindLayoutTest : public DrxFileTest {
 protected:
  std::vector<uint8_t> Records() {
    std::vector<uint8_t> file = Save("kind.drx");
    const size_t recordsStart = 6 + 4 + 170 + 2 + 256 + 2;
    EXPECT_GT(file.size(), recordsStart);
    return std::vector<uint8_t>(file.begin() + recordsStart, file.end());
  }
  const std::vector<P> kLinePoints = {{1, 0, 1, 0, 0, 0, 5, 5, 0, 0}, {1, 0, 1, 0, 0, 0, 15, 25, 0, 0}};
};

TEST_F(KindLayoutTest, TextBlockWithFontAndAlignment) {
  FontRecord font = TestFont();
  AddTextBlock(layer_, "Hi", kAlignRight, &font);
  Bytes expected;
  expected.Short(200).Add(Info(kTextBlockKind, 1, 1, kFill, 2.5f, 7, 11, &kPen));
  expected.Add(Points({{1, 0, 1, 0, 0, 0, 100, 100, 0, 0},
                       {1, 0, 1, 0, 0, 0, 200, 100, 0, 0},
                       {1, 0, 1, 0, 0, 0, 200, 140, 0, 0},
                       {1, 0, 1, 0, 0, 0, 100, 140, 0, 0}}));
  expected.Long(3)
      .Byte('H')
      .Byte('i')
      .Byte(0)
      .Long(0)
      .Short(-1)
      .Add(Font(-24, 700, 1, 0, 0x22, "Arial"))
      .Short(400);
  EXPECT_TRUE(SameBytes(Records(), expected.v));
}

TEST_F(KindLayoutTest, TextBlockWithoutFontWritesTheCurrentFont) {
  AddTextBlock(layer_, "", kAlignLeft, nullptr);
  std::vector<uint8_t> records = Records();
  Bytes tail;
  tail.Long(1).Byte(0).Long(0).Short(0).Add(Font(-11, 0, 0, 0, 0x35, "Courier New")).Short(400);
  ASSERT_GE(records.size(), tail.size());
  EXPECT_EQ(std::vector<uint8_t>(records.end() - tail.size(), records.end()), tail.v);
}

TEST_F(KindLayoutTest, DimensionWithLabelCarriesTheLabelInside) {
  AddDimension(layer_, kLengthDimKind, true);
  Bytes expected;
  expected.Short(200).Add(Info(kLengthDimKind, 0, 1, kFill, 2.5f, 7, 11, &kPen));
  expected.Add(Points({{1, 0, 1, 0, 0, 0, 10, 300, 0, 0}, {1, 0, 1, 0, 0, 0, 110, 300, 0, 0}}));
  expected.Short(300).Add(Info(kDimensionTextKind, 1, 1, kFill, 2.5f, 7, 11, &kPen));
  expected.Add(Points({{1, 0, 1, 0, 0, 0, 50, 290, 0, 0},
                       {1, 0, 1, 0, 0, 0, 70, 290, 0, 0},
                       {1, 0, 1, 0, 0, 0, 70, 298, 0, 0},
                       {1, 0, 1, 0, 0, 0, 50, 298, 0, 0}}));
  expected.Short(3).Short(12).Byte(2).Add(Font(-24, 700, 1, 0, 0x22, "Arial"));
  expected.Long(0x80105 + kLengthDimKind).Float(0.125f).Float(-0.0625f).Short(400);
  EXPECT_TRUE(SameBytes(Records(), expected.v));
}

TEST_F(KindLayoutTest, DimensionWithoutLabel) {
  AddDimension(layer_, kLeaderDimKind, false);
  Bytes expected;
  expected.Short(200).Add(Info(kLeaderDimKind, 0, 1, kFill, 2.5f, 7, 11, &kPen));
  expected.Add(Points({{1, 0, 1, 0, 0, 0, 10, 300, 0, 0}, {1, 0, 1, 0, 0, 0, 110, 300, 0, 0}}));
  expected.Short(301).Long(0x80105 + kLeaderDimKind).Float(0.125f).Float(-0.0625f).Short(400);
  EXPECT_TRUE(SameBytes(Records(), expected.v));
}

TEST_F(KindLayoutTest, PictureWithBitsAndWithout) {
  AddPicture(layer_, TinyMetafile());
  AddPicture(layer_, {});
  Bytes corners = Points({{1, 0, 1, 0, 0, 0, 0, 0, 0, 0},
                          {1, 0, 1, 0, 0, 0, 72, 0, 0, 0},
                          {1, 0, 1, 0, 0, 0, 72, 36, 0, 0},
                          {1, 0, 1, 0, 0, 0, 0, 36, 0, 0}});
  Bytes expected;
  // Frame top, left, bottom, right as shorts; the bits' length little-endian.
  expected.Short(200).Add(Info(kMetaFileKind, 1, 1, kFill, 2.5f, 7, 11, &kPen)).Add(corners);
  expected.Short(8).Short(7).Short(-5).Short(500).Short(1000).Short(1440).LittleLong(32).Add(
      Bytes().Raw(TinyMetafile().data(), 32));
  expected.Short(200).Add(Info(kMetaFileKind, 1, 1, kFill, 2.5f, 7, 11, &kPen)).Add(corners);
  expected.Short(8).Short(7).Short(-5).Short(500).Short(1000).Short(1440).LittleLong(0).Short(400);
  EXPECT_TRUE(SameBytes(Records(), expected.v));
}

TEST_F(KindLayoutTest, TopLevelGroupIsBracketedAndNestedGroupsAreFlat) {
  ObjectRec* group = AddGroup(layer_);
  AddMember(group, kLineKind);
  ObjectRec* inner = NewObject(kGroupKind, 0, layer_);
  AppendObjectToGroup(inner, group);
  AddMember(inner, kPolyKind);
  Bytes expected;
  expected.Short(200).Add(Info(kGroupKind, 0, 1, kFill, 2.5f, 7, 11, &kPen)).Long(0);
  expected.Short(202);
  expected.Short(200).Add(Info(kLineKind, 0, 1, kFill, 2.5f, 7, 11, &kPen)).Add(Points(kLinePoints));
  expected.Short(200).Add(Info(kGroupKind, 0, 1, kFill, 2.5f, 7, 11, &kPen)).Long(0);
  expected.Short(200).Add(Info(kPolyKind, 0, 1, kFill, 2.5f, 7, 11, &kPen)).Add(Points(kLinePoints));
  expected.Short(203).Short(400);
  EXPECT_TRUE(SameBytes(Records(), expected.v));
}

TEST_F(KindLayoutTest, GroupLedByLengthDimensionHasNoBrackets) {
  ObjectRec* group = AddGroup(layer_);
  ObjectRec* dim = AddMember(group, kLengthDimKind);
  dim->info = calloc(1, sizeof(DimInfo));
  AddMember(group, kLineKind);
  Bytes expected;
  expected.Short(200).Add(Info(kGroupKind, 0, 1, kFill, 2.5f, 7, 11, &kPen)).Long(0);
  expected.Short(200).Add(Info(kLengthDimKind, 0, 1, kFill, 2.5f, 7, 11, &kPen)).Add(Points(kLinePoints));
  expected.Short(301).Long(0).Float(0).Float(0);
  expected.Short(200)
      .Add(Info(kLineKind, 0, 1, kFill, 2.5f, 7, 11, &kPen))
      .Add(Points(kLinePoints))
      .Short(400);
  EXPECT_TRUE(SameBytes(Records(), expected.v));
}

TEST_F(DrxFileTest, SavingResetsZoomAndStoresOne) {
  AddRect(layer_, 0, 0);
  gCurDocument->docState->zoomFactor = 2.0f;
  static int calls;
  calls = 0;
  gZoomResetHook = [](DocumentRec*) { ++calls; };
  std::vector<uint8_t> file = Save("zoom.drx");
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(gCurDocument->docState->zoomFactor, 1.0f);
  std::vector<uint8_t> one = Bytes().Float(1.0f).v;
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 10 + 138, file.begin() + 10 + 142), one);
  Save("zoom.drx");
  EXPECT_EQ(calls, 1) << "an unzoomed drawing is saved as it is";

  // A copy for someone else stores the same bytes but leaves the zoomed view alone.
  gCurDocument->docState->zoomFactor = 3.0f;
  const std::string copyPath = TempPath("zoomcopy.drx");
  ASSERT_TRUE(DrxFileWriteCopy(copyPath.c_str()));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(gCurDocument->docState->zoomFactor, 3.0f);
  EXPECT_EQ(Slurp(copyPath), file);
}

// ---- Round trips ------------------------------------------------------------------------------

TEST_F(DrxFileTest, EveryKindSurvivesReadWriteRead) {
  BuildEveryKind();
  DocState* state = gCurDocument->docState;
  state->gridH = 0.125f;
  state->penColor = {7, 8, 9};
  state->minorDivisions = 16;
  state->dimFlags = 0xABCDE;
  state->showVerticalRuler = 1;
  const std::string before = DescribeDrawing();
  std::vector<uint8_t> first = Save("every.drx");

  Renew();
  ASSERT_TRUE(ReadBytes(first)) << DrxFailureText(gDrxFileFailure);
  EXPECT_EQ(gDrxFileFailure.reason, DrxReason::kNone);
  EXPECT_FALSE(gDrxFileDamaged);
  EXPECT_EQ(DescribeDrawing(), before);
  EXPECT_EQ(gCurDocument->currentLayer, gCurDocument->firstLayer);
  EXPECT_EQ(gCurDocument->docState->gridH, 0.125f);
  EXPECT_EQ(gCurDocument->docState->penColor.blue, 9);
  EXPECT_EQ(gCurDocument->docState->minorDivisions, 16);
  EXPECT_EQ(gCurDocument->docState->dimFlags, 0xABCDEu);
  EXPECT_EQ(gCurDocument->docState->showVerticalRuler, 1);

  // Bounds are computed, labels are linked both ways, text panes are passive and placed inside.
  const ObjectRec* rect = gCurDocument->firstLayer->firstObject;
  EXPECT_EQ(rect->bounds.left, 10);
  EXPECT_EQ(rect->bounds.bottom, 30);
  const ObjectRec* dim = gCurDocument->firstLayer->nextLayer->firstObject;
  ASSERT_NE(DimInfoOf(dim)->textObject, nullptr);
  EXPECT_EQ(DimInfoOf(dim)->textObject, dim->nextObject);
  EXPECT_EQ(DimTextInfoOf(dim->nextObject)->ownerDimension, dim);
  EXPECT_EQ(dim->nextObject->layer, dim->layer);

  EXPECT_EQ(Save("every2.drx"), first);
}

TEST_F(DrxFileTest, NestedGroupsComeBackFlattened) {
  ObjectRec* group = AddGroup(layer_);
  AddMember(group, kLineKind);
  ObjectRec* inner = NewObject(kGroupKind, 0, layer_);
  AppendObjectToGroup(inner, group);
  AddMember(inner, kPolyKind);
  AddMember(group, kSplineKind);
  AddRect(layer_, 0, 0);
  std::vector<uint8_t> file = Save("nested.drx");

  Renew();
  ASSERT_TRUE(ReadBytes(file)) << DrxFailureText(gDrxFileFailure);
  ObjectRec* top = gCurDocument->firstLayer->firstObject;
  ASSERT_EQ(top->kind, kGroupKind);
  std::vector<int> kinds;
  for (ObjectRec* m = top->firstChild; m; m = m->nextObject) {
    kinds.push_back(m->kind);
    EXPECT_EQ(m->parent, top);
    EXPECT_EQ(m->layer, gCurDocument->firstLayer);
    EXPECT_EQ(m->firstChild, nullptr);
  }
  // The inner group keeps no members; its former member follows it in the top-level group.
  EXPECT_EQ(kinds, (std::vector<int>{kLineKind, kGroupKind, kPolyKind, kSplineKind}));
  EXPECT_EQ(top->bounds.left, 5);
  EXPECT_EQ(top->bounds.bottom, 25);
  ASSERT_NE(top->nextObject, nullptr);
  EXPECT_EQ(top->nextObject->kind, kRectKind);
}

TEST_F(DrxFileTest, GroupLedByLengthDimensionComesBackEmpty) {
  ObjectRec* group = AddGroup(layer_);
  ObjectRec* dim = AddMember(group, kLengthDimKind);
  dim->info = calloc(1, sizeof(DimInfo));
  AddMember(group, kLineKind);
  std::vector<uint8_t> file = Save("lengthdim.drx");
  Renew();
  ASSERT_TRUE(ReadBytes(file)) << DrxFailureText(gDrxFileFailure);
  const ObjectRec* top = gCurDocument->firstLayer->firstObject;
  ASSERT_EQ(top->kind, kGroupKind);
  EXPECT_EQ(top->firstChild, nullptr);
  ASSERT_NE(top->nextObject, nullptr);
  EXPECT_EQ(top->nextObject->kind, kLengthDimKind);
  EXPECT_EQ(top->nextObject->parent, nullptr);
  EXPECT_EQ(top->nextObject->nextObject->kind, kLineKind);
}

// ---- Other versions and platforms, built byte by byte ------------------------------------------

TEST_F(DrxFileTest, ReadsVersion100WithBlackPensAndZeroNewerSettings) {
  std::vector<uint8_t> fields = DefaultSettingsFields(kDrxVersion100, {{"gridH", {2}}});
  Bytes file;
  file.Long(100).Short(2).Long(217).Raw(fields.data(), fields.size());
  file.Short(100).Text("Old", 256).Byte(1).Byte(0);
  file.Short(200).Add(Info(kLineKind, 0, 1, kFill, 1.0f, 6, 0, nullptr));
  file.Add(Points({{1, 1, 1, 0, 0, 0, 1, 2, 0, 0}, {1, 0, 1, 1, 0, 0, 3, 4, 0, 0}})).Short(400);
  ASSERT_TRUE(ReadBytes(file.v)) << DrxFailureText(gDrxFileFailure);
  const DocState* state = gCurDocument->docState;
  EXPECT_EQ(state->gridH, 2.0f);
  EXPECT_EQ(state->snapH, 0.0f);
  EXPECT_EQ(state->snapV, 0.0f);
  EXPECT_EQ(state->minorDivisions, 0);
  EXPECT_EQ(state->penColor.red, 0);
  EXPECT_EQ(state->titleStyle, 5100);
  const ObjectRec* line = gCurDocument->firstLayer->firstObject;
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->penColor.red, 0);
  EXPECT_EQ(line->penColor.blue, 0);
  EXPECT_EQ(line->fillColor.green, kFill.green);
  EXPECT_EQ(std::string(gCurDocument->firstLayer->name), "Old");
  EXPECT_EQ(gCurDocument->firstLayer->layerFlag, 0);
  EXPECT_EQ(line->firstPoint->selected, 1);
  EXPECT_EQ(line->firstPoint->nextPoint->locked, 1);
}

TEST_F(DrxFileTest, ReadsBigEndianPlatformFiles) {
  gCurDocument->docState->gridH = 3.0f;  // the drawing keeps its own settings
  Bytes file;
  file.Long(150).Short(1).Long(12).Long(-1).Long(-1).Long(-1);
  std::string name = "_Doors";
  name[0] = 5;
  file.Short(100).Text(name, 256).Byte(1).Byte(1);
  file.Short(200).Add(Info(kTextBlockKind, 1, 1, kFill, 0, 6, 0, &kPen));
  file.Add(Points({{1, 0, 1, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 1, 0, 0, 0, 50, 20, 0, 0}}));
  file.Long(4).Raw("abc", 4).Long(2).Short(7).Short(1);  // two style bytes skipped; no font record follows
  file.Short(200).Add(Info(kAngleDimKind, 0, 1, kFill, 1, 6, 0, &kPen)).Add(Points({}));
  file.Short(300).Add(Info(kDimensionTextKind, 1, 1, kFill, 1, 6, 0, &kPen)).Add(Points({}));
  file.Short(4).Short(10).Byte(1);  // no font record either
  file.Long(5).Float(0).Float(0).Short(400);
  ASSERT_TRUE(ReadBytes(file.v)) << DrxFailureText(gDrxFileFailure);
  EXPECT_EQ(gCurDocument->docState->gridH, 3.0f);
  const LayerRec* layer = gCurDocument->firstLayer;
  EXPECT_EQ(std::string(layer->name), "Doors");
  const ObjectRec* text = layer->firstObject;
  ASSERT_EQ(text->kind, kTextBlockKind);
  char buffer[16];
  GetTextPaneText(TextPaneOf(text), buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(GetTextPaneAlignment(TextPaneOf(text)), kAlignCentred);
  FontRecord font;
  EXPECT_FALSE(GetTextPaneFont(TextPaneOf(text), &font)) << "the pane keeps the default font";
  const ObjectRec* label = text->nextObject->nextObject;
  ASSERT_EQ(label->kind, kDimensionTextKind);
  EXPECT_EQ(std::string(DimTextInfoOf(label)->font.faceName), "Courier New");
  EXPECT_EQ(DimTextInfoOf(label)->fontSize, 10);
  EXPECT_EQ(DimInfoOf(text->nextObject)->dimFlags, 5u);
}

TEST_F(DrxFileTest, OtherPlatformCodesReadAsOursAndUnknownVersionsAreRefused) {
  AddRect(layer_, 1, 2);
  std::vector<uint8_t> file = Save("platform.drx");
  file[5] = 3;
  const std::string before = DescribeDrawing();
  ASSERT_TRUE(ReadBytes(file)) << DrxFailureText(gDrxFileFailure);
  EXPECT_EQ(gFilePlatform, kPlatformWindows);
  EXPECT_EQ(CountTopLevel(gCurDocument->firstLayer), 1);

  file[3] = 120;
  gCurDocument->docState->gridH = 9.0f;
  EXPECT_FALSE(ReadBytes(file));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "unsupported version 120");
  EXPECT_FALSE(gDrxFileDamaged);
  EXPECT_EQ(gCurDocument->docState->gridH, 9.0f);
  EXPECT_EQ(DescribeDrawing(), before);
}

TEST_F(DrxFileTest, UnknownTagsAreSkippedAndBytesAfterTheEndIgnored) {
  Bytes file;
  std::vector<uint8_t> fields = DefaultSettingsFields(kDrxVersion150);
  file.Long(150).Short(2).Long(217).Raw(fields.data(), fields.size());
  file.Short(555).Short(100).Text("A", 256).Byte(1).Byte(1).Short(-7);
  file.Short(200).Add(Info(kRectKind, 1, 1, kFill, 1, 6, 0, &kPen)).Add(Points({}));
  file.Short(400).Short(200).Long(123456);
  ASSERT_TRUE(ReadBytes(file.v)) << DrxFailureText(gDrxFileFailure);
  EXPECT_EQ(CountTopLevel(gCurDocument->firstLayer), 1);
}

TEST_F(DrxFileTest, ObjectsBeforeAnyLayerGetAnUntitledLayer) {
  Bytes file;
  std::vector<uint8_t> fields = DefaultSettingsFields(kDrxVersion150);
  file.Long(150).Short(2).Long(217).Raw(fields.data(), fields.size());
  file.Short(200).Add(Info(kRectKind, 1, 1, kFill, 1, 6, 0, &kPen)).Add(Points({}));
  file.Short(100).Text("Second", 256).Byte(1).Byte(1).Short(400);
  ASSERT_TRUE(ReadBytes(file.v)) << DrxFailureText(gDrxFileFailure);
  const LayerRec* first = gCurDocument->firstLayer;
  EXPECT_EQ(std::string(first->name), "Untitled");
  EXPECT_EQ(CountTopLevel(first), 1);
  ASSERT_NE(first->nextLayer, nullptr);
  EXPECT_EQ(std::string(first->nextLayer->name), "Second");
  EXPECT_EQ(gCurDocument->currentLayer, first);
}

// ---- Symbols, preview and the scrap -------------------------------------------------------------

TEST_F(DrxFileTest, SymbolHoldsEveryLayerAndOnlySelectedObjects) {
  AddRect(layer_, 0, 0);
  ObjectRec* chosen = AddRect(layer_, 50, 50);
  chosen->firstPoint->selected = 1;
  LayerRec* second = CreateLayer("B", 1, 1, nullptr);
  AppendLayerToDocument(second);
  FontRecord font = TestFont();
  ObjectRec* text = AddTextBlock(second, "sym", kAlignLeft, &font);
  text->firstPoint->selected = 1;
  LayerRec* third = CreateLayer("C", 1, 1, nullptr);
  AppendLayerToDocument(third);
  AddRect(third, 5, 5);
  gSaveSymbol = true;
  std::vector<uint8_t> symbol = Save("three.sym");
  gSaveSymbol = false;

  // Read as a drawing, the symbol shows its three layers with the selected objects only.
  Renew();
  ASSERT_TRUE(ReadBytes(symbol)) << DrxFailureText(gDrxFileFailure);
  ASSERT_EQ(CountLayers(gCurDocument->firstLayer), 3);
  EXPECT_EQ(CountTopLevel(gCurDocument->firstLayer), 1);
  EXPECT_EQ(CountTopLevel(gCurDocument->firstLayer->nextLayer), 1);
  EXPECT_EQ(CountTopLevel(gCurDocument->firstLayer->nextLayer->nextLayer), 0);

  Renew();
  AddRect(layer_, 1, 1);
  LayerRec* other = CreateLayer("Other", 1, 1, nullptr);
  AppendLayerToDocument(other);
  gCurDocument->currentLayer = other;
  gCurDocument->docState->gridH = 4.0f;
  gOpenSymbol = true;
  ASSERT_TRUE(ReadBytes(symbol)) << DrxFailureText(gDrxFileFailure);
  gOpenSymbol = false;
  EXPECT_EQ(CountLayers(gCurDocument->firstLayer), 2);
  EXPECT_EQ(gCurDocument->docState->gridH, 4.0f);
  EXPECT_EQ(CountTopLevel(layer_), 1);
  ASSERT_EQ(CountTopLevel(other), 2);
  EXPECT_EQ(other->firstObject->kind, kRectKind);
  EXPECT_EQ(other->firstObject->firstPoint->x, 50);
  EXPECT_EQ(other->firstObject->nextObject->kind, kTextBlockKind);
  for (ObjectRec* o = other->firstObject; o; o = o->nextObject) {
    EXPECT_EQ(o->layer, other);
    for (PointRec* p = o->firstPoint; p; p = p->nextPoint) EXPECT_EQ(p->selected, 1);
  }
}

TEST_F(DrxFileTest, PreviewGoesIntoThePreviewLayer) {
  AddRect(layer_, 0, 0);
  FontRecord font = TestFont();
  AddTextBlock(layer_, "preview", kAlignLeft, &font);
  std::vector<uint8_t> file = Save("preview.sym");
  Renew();
  const std::string before = DescribeDrawing();
  gPreviewSymbol = true;
  ASSERT_TRUE(ReadBytes(file)) << DrxFailureText(gDrxFileFailure);
  gPreviewSymbol = false;
  EXPECT_EQ(DescribeDrawing(), before);
  ASSERT_NE(gPreviewLayer, nullptr);
  ASSERT_EQ(CountTopLevel(gPreviewLayer), 2);
  EXPECT_EQ(gPreviewLayer->firstObject->firstPoint->selected, 1);
}

TEST_F(DrxFileTest, ScrapHoldsTheFilesObjectRecordsAndReadsBackIntoOneLayer) {
  BuildEveryKind();
  ObjectRec* group = AddGroup(layer_);
  AddMember(group, kLineKind);
  AddMember(group, kSplineKind);
  const std::string before = DescribeDrawing();
  const std::vector<uint8_t> file = Save("scrap.drx");
  ASSERT_TRUE(WriteScrapObjects()) << DrxFailureText(gDrxFileFailure);
  EXPECT_EQ(DescribeDrawing(), before) << "the drawing is not changed";
  const std::vector<uint8_t> scrap(gPrivateScrap, gPrivateScrap + gPrivateScrapSize);

  // The file less its header, settings and the two layer records.
  constexpr size_t kRecordsStart = 6 + 4 + 170, kLayerRecord = 2 + 256 + 2;
  const uint8_t dims[] = {0, 100, 'D', 'i', 'm', 's'};
  const auto second =
      std::search(file.begin() + kRecordsStart + kLayerRecord, file.end(), std::begin(dims), std::end(dims));
  ASSERT_NE(second, file.end());
  std::vector<uint8_t> expected(file.begin() + kRecordsStart + kLayerRecord, second);
  expected.insert(expected.end(), second + kLayerRecord, file.end());
  EXPECT_EQ(scrap, expected);

  Renew();
  AddRect(layer_, 0, 0);
  ASSERT_TRUE(ReadScrapObjects(scrap.data(), scrap.size())) << DrxFailureText(gDrxFileFailure);
  EXPECT_EQ(CountLayers(gCurDocument->firstLayer), 1);
  ASSERT_EQ(layer_->firstObject->nextObject->kind, kRectKind);
  // Everything read lies in the one layer in file order, groups with their members.
  std::ostringstream objects;
  for (const ObjectRec* o = layer_->firstObject->nextObject; o; o = o->nextObject)
    DescribeObject(objects, o, 1);
  std::string expectedObjects;
  for (std::istringstream lines(before); lines;) {
    std::string line;
    if (std::getline(lines, line) && line.rfind("layer ", 0) != 0) expectedObjects += line + "\n";
  }
  EXPECT_EQ(objects.str(), expectedObjects);
}

// ---- Damaged files ----------------------------------------------------------------------------

TEST_F(DrxFileTest, EveryTruncationFailsWithAReasonAndKeepsWhatCameBefore) {
  // One record of each family; the text block comes last, as every edit window costs time on
  // the Windows build.
  AddRect(layer_, 10, 20);
  ObjectRec* group = AddGroup(layer_);
  AddMember(group, kLineKind);
  AddDimension(layer_, kAngleDimKind, true);
  AddPicture(layer_, TinyMetafile());
  LayerRec* second = CreateLayer("B", 1, 1, nullptr);
  AppendLayerToDocument(second);
  FontRecord font = TestFont();
  AddTextBlock(second, "last", kAlignLeft, &font);
  std::vector<uint8_t> file = Save("truncate.drx");
  const size_t settingsEnd = 6 + 4 + 170;
  int objectsBefore = 0;
  for (size_t n = 0; n < file.size(); ++n) {
    Renew();
    AddRect(layer_, 0, 0);
    std::vector<uint8_t> cut(file.begin(), file.begin() + n);
    ASSERT_FALSE(ReadBytes(cut)) << n;
    std::string reason = DrxFailureText(gDrxFileFailure);
    ASSERT_EQ(reason.rfind("damaged: ", 0), 0u) << n << ": " << reason;
    if (n < settingsEnd) {
      EXPECT_FALSE(gDrxFileDamaged) << n;
      EXPECT_EQ(CountTopLevel(gCurDocument->firstLayer), 1) << "the drawing is untouched at " << n;
      continue;
    }
    EXPECT_TRUE(gDrxFileDamaged) << n;
    ASSERT_NE(gCurDocument->firstLayer, nullptr) << "a drawing always keeps a layer";
    // More bytes never give fewer objects: what was read before the damage stays.
    int objects = 0;
    for (const LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer)
      objects += CountTopLevel(layer);
    EXPECT_GE(objects, objectsBefore) << n;
    objectsBefore = objects;
  }
  EXPECT_EQ(objectsBefore, 6) << "rect, group, dimension, label, picture and text before the end tag";
}

// A drawing with one layer "L" and one rectangle, whose records start at byte 180; the next
// record starts at kNextRecord.
constexpr size_t kNextRecord = 180 + 260 + 2 + 24 + 4;  // settings end, layer, tag, info, count
Bytes StartOfDrawing() {
  Bytes file;
  std::vector<uint8_t> fields = DefaultSettingsFields(kDrxVersion150);
  file.Long(150).Short(2).Long(217).Raw(fields.data(), fields.size());
  file.Short(100).Text("L", 256).Byte(1).Byte(1);
  file.Short(200).Add(Info(kRectKind, 1, 1, kFill, 1, 6, 0, &kPen)).Add(Points({}));
  EXPECT_EQ(file.size(), kNextRecord);
  return file;
}

class DamagedFileTest : public DrxFileTest {
 protected:
  // Reads a damaged file; the rectangle before the damage must stay.
  void ExpectDamage(const Bytes& file, const std::string& reason) {
    EXPECT_FALSE(ReadBytes(file.v));
    EXPECT_EQ(DrxFailureText(gDrxFileFailure), reason);
    EXPECT_TRUE(gDrxFileDamaged);
    ASSERT_NE(gCurDocument->firstLayer, nullptr);
    EXPECT_EQ(std::string(gCurDocument->firstLayer->name), "L");
    ASSERT_NE(gCurDocument->firstLayer->firstObject, nullptr);
    EXPECT_EQ(gCurDocument->firstLayer->firstObject->kind, kRectKind);
  }
  std::string PastEnd() {
    return "damaged: record at byte " + std::to_string(kNextRecord) + " runs past the end of the file";
  }
  Bytes LineRecord() {
    Bytes b;
    b.Short(200).Add(Info(kLineKind, 0, 1, kFill, 1, 6, 0, &kPen));
    return b;
  }
};

TEST_F(DamagedFileTest, CountsAndLengthsPastTheEndAreCaughtBeforeUse) {
  ExpectDamage(StartOfDrawing().Add(LineRecord()).Long(2000000000).Short(1).Short(400), PastEnd());
  ExpectDamage(StartOfDrawing().Add(LineRecord()).Long(-3).Short(400),
               "damaged: record at byte " + std::to_string(kNextRecord) + " has a point count of -3");
  Bytes text = StartOfDrawing();
  text.Short(200)
      .Add(Info(kTextBlockKind, 1, 1, kFill, 0, 6, 0, &kPen))
      .Long(0)
      .Long(0x7FFFFFF0)
      .Raw("abc", 3)
      .Short(400);
  ExpectDamage(text, PastEnd());
  Bytes style = StartOfDrawing();
  style.Short(200)
      .Add(Info(kTextBlockKind, 1, 1, kFill, 0, 6, 0, &kPen))
      .Long(0)
      .Long(1)
      .Byte(0)
      .Long(1000)
      .Short(400);
  ExpectDamage(style, PastEnd());
  Bytes bits = StartOfDrawing();
  bits.Short(200).Add(Info(kMetaFileKind, 1, 1, kFill, 0, 6, 0, &kPen)).Long(0);
  bits.Short(8)
      .Short(0)
      .Short(0)
      .Short(10)
      .Short(10)
      .Short(72)
      .LittleLong(0xFFFFFFF0u)
      .Byte(1)
      .Byte(2)
      .Short(400);
  ExpectDamage(bits, PastEnd());
  Bytes label = StartOfDrawing();
  label.Short(200).Add(Info(kLengthDimKind, 0, 1, kFill, 1, 6, 0, &kPen)).Long(0).Short(300);
  label.Add(Info(kDimensionTextKind, 1, 1, kFill, 1, 6, 0, &kPen)).Long(50000).Short(400);
  ExpectDamage(label, PastEnd());
  EXPECT_EQ(CountTopLevel(gCurDocument->firstLayer), 1) << "no half-read dimension or label is kept";
}

TEST_F(DamagedFileTest, InconsistentRecordsStopTheReader) {
  const std::string at = "damaged: record at byte " + std::to_string(kNextRecord);
  ExpectDamage(StartOfDrawing().Short(200).Add(Info(77, 0, 1, kFill, 1, 6, 0, &kPen)).Long(0).Short(400),
               at + " has an unknown kind 77");
  ExpectDamage(StartOfDrawing()
                   .Short(200)
                   .Add(Info(kDimensionTextKind, 0, 1, kFill, 1, 6, 0, &kPen))
                   .Long(0)
                   .Short(400),
               at + " has an unknown kind 201");
  Bytes marker = StartOfDrawing();
  marker.Short(200)
      .Add(Info(kRadiusDimKind, 0, 1, kFill, 1, 6, 0, &kPen))
      .Long(0)
      .Short(299)
      .Long(0)
      .Float(0)
      .Float(0)
      .Short(400);
  ExpectDamage(marker, at + " has a label marker of 299");
  Bytes label = StartOfDrawing();
  label.Short(200).Add(Info(kRadiusDimKind, 0, 1, kFill, 1, 6, 0, &kPen)).Long(0).Short(300);
  label.Add(Info(kRectKind, 0, 1, kFill, 1, 6, 0, &kPen)).Long(0).Short(400);
  ExpectDamage(label, at + " has a label of kind 1");
}

TEST_F(DamagedFileTest, CoordinatesThatAreNotFiniteAreDamage) {
  const float kNotFinite[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity()};
  // The line's points start after its tag, info and count; each point's six coordinates after
  // its kind and flags, in the order in-tangent, position, out-tangent.
  const size_t firstPoint = kNextRecord + 2 + 24 + 4;
  for (float bad : kNotFinite) {
    for (int field = 0; field < 6; ++field) {
      float values[6] = {0, 0, 5, 5, 0, 0};
      values[field] = bad;
      Bytes file = StartOfDrawing().Add(LineRecord());
      file.Add(Points({{1, 0, 1, 0, 0, 0, 1, 1, 0, 0},
                       {1, 0, 1, 0, values[0], values[1], values[2], values[3], values[4], values[5]}}));
      file.Short(400);
      SCOPED_TRACE(field);
      ExpectDamage(file, "damaged: a coordinate at byte " +
                             std::to_string(firstPoint + kPointRecordSize + 5 + 4 * field) +
                             " is not a finite number");
      EXPECT_EQ(CountTopLevel(gCurDocument->firstLayer), 1) << "the line with the bad point is dropped";
    }
  }
  // The page rectangle of the settings: the drawing is left as it was.
  // Its third value, the bottom, 48 bytes into the fields.
  std::vector<uint8_t> fields = DefaultSettingsFields(150, {{"pageRect", {0, 0, kNotFinite[1], 612}}});
  Bytes file;
  file.Long(150).Short(2).Long(217).Raw(fields.data(), fields.size()).Short(400);
  Renew();
  AddRect(layer_, 0, 0);
  EXPECT_FALSE(ReadBytes(file.v));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "damaged: a coordinate at byte 58 is not a finite number");
  EXPECT_FALSE(gDrxFileDamaged);
  EXPECT_EQ(CountTopLevel(gCurDocument->firstLayer), 1);
}

TEST_F(DamagedFileTest, MisplacedGroupBracketsAreDamage) {
  const std::string at = "damaged: record at byte " + std::to_string(kNextRecord);
  ExpectDamage(StartOfDrawing().Short(202).Short(400), at + " starts a group that does not follow a group");
  ExpectDamage(StartOfDrawing().Short(203).Short(400), at + " ends a group that was not started");
  Bytes nested = StartOfDrawing();
  nested.Short(200).Add(Info(kGroupKind, 0, 1, kFill, 1, 6, 0, &kPen)).Long(0).Short(202);
  nested.Short(200)
      .Add(Info(kGroupKind, 0, 1, kFill, 1, 6, 0, &kPen))
      .Long(0)
      .Short(202)
      .Short(203)
      .Short(203)
      .Short(400);
  EXPECT_FALSE(ReadBytes(nested.v));
  EXPECT_NE(DrxFailureText(gDrxFileFailure).find("starts a group inside a group"), std::string::npos)
      << DrxFailureText(gDrxFileFailure);
  const ObjectRec* group = gCurDocument->firstLayer->firstObject->nextObject;
  ASSERT_NE(group, nullptr);
  ASSERT_NE(group->firstChild, nullptr) << "members read before the damage stay in their group";
  EXPECT_EQ(group->firstChild->parent, group);
}

TEST_F(DamagedFileTest, MissingEndTagKeepsTheObjects) {
  ExpectDamage(StartOfDrawing(), "damaged: ends without its end tag");
  ExpectDamage(StartOfDrawing().Byte(1), PastEnd());
}

TEST_F(DrxFileTest, ShortHeaderOrSettingsLeaveTheDrawingAlone) {
  AddRect(layer_, 0, 0);
  EXPECT_FALSE(ReadBytes({}));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "damaged: header at byte 0 runs past the end of the file");
  EXPECT_FALSE(ReadBytes(Bytes().Long(150).Short(2).Long(217).Float(1).v));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure),
            "damaged: settings block at byte 6 runs past the end of the file");
  EXPECT_FALSE(gDrxFileDamaged);
  EXPECT_EQ(CountTopLevel(gCurDocument->firstLayer), 1);
  EXPECT_FALSE(DrxFileRead(TempPath("does-not-exist.drx").c_str()));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "cannot be opened");
  std::string folder = TempPath("");
  EXPECT_FALSE(DrxFileRead(folder.substr(0, folder.rfind('/')).c_str()));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "is not a regular file");
}

// ---- Saving -------------------------------------------------------------------------------------

TEST_F(DrxFileTest, ReadsAndWritesThroughFiles) {
  BuildEveryKind();
  const std::string before = DescribeDrawing();
  std::string path = TempPath("files.drx");
  ASSERT_TRUE(DrxFileWrite(path.c_str())) << DrxFailureText(gDrxFileFailure);
  EXPECT_FALSE(FileExists(path + ".drxsave"));
  Renew();
  ASSERT_TRUE(DrxFileRead(path.c_str())) << DrxFailureText(gDrxFileFailure);
  EXPECT_EQ(DescribeDrawing(), before);
}

// A metafile of `records` SetBkMode records: as many bytes as a test needs, well formed.
std::vector<uint8_t> MetafileOfRecords(uint32_t records) {
  Bytes b;
  b.LittleShort(1).LittleShort(9).LittleShort(0x300).LittleLong(9 + 4 * records + 3).LittleShort(0);
  b.LittleLong(4).LittleShort(0);
  for (uint32_t i = 0; i < records; ++i) b.LittleLong(4).LittleShort(0x0102).LittleShort(1 + i % 2);
  b.LittleLong(3).LittleShort(0);
  return b.v;
}

TEST_F(DrxFileTest, DrawingsLargerThanTheReadersWindowReadAsTheyWereWritten) {
  // A picture larger than the window the file is read through, and texts of many lengths, some
  // across the window's edges; each text differs from its neighbours so a shifted read shows.
  BuildEveryKind();
  AddPicture(layer_, MetafileOfRecords(300000));
  FontRecord font = TestFont();
  for (int i = 0; i < 400; ++i) {
    std::string text(4000 + 37 * i, ' ');
    for (size_t c = 0; c < text.size(); ++c) text[c] = static_cast<char>('a' + (c + i) % 26);
    AddTextBlock(layer_, text.c_str(), kAlignLeft, &font);
  }
  const std::vector<uint8_t> file = Save("large.drx");
  ASSERT_GT(file.size(), 4u << 20);
  Renew();
  ASSERT_TRUE(DrxFileRead(TempPath("large.drx").c_str())) << DrxFailureText(gDrxFileFailure);
  EXPECT_TRUE(Save("again.drx") == file) << "read from the file";
  Renew();
  ASSERT_TRUE(ReadBytes(file)) << DrxFailureText(gDrxFileFailure);
  EXPECT_TRUE(Save("again.drx") == file) << "read from memory";
}

TEST(DrxByteSourceTest, AFileReadsThroughItsWindowAndAShortFileCannotBeRead) {
  std::vector<uint8_t> bytes(4 << 20);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
  const std::string path = TempPath("source.bin");
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  // The source is told of one byte more than the file holds, as when the file is cut short.
  ASSERT_TRUE(BeginFileSource(file, bytes.size() + 1));
  size_t at = 0;
  std::vector<uint8_t> got;
  // Small reads, a skip past the window, a piece larger than the window, and the rest.
  for (size_t n : {size_t{1}, size_t{7}, size_t{1 << 20}, size_t{5}, size_t{(1 << 20) + 3}, size_t{0}}) {
    got.assign(n, 0);
    ASSERT_TRUE(ReadSome(got.data(), n)) << at;
    ASSERT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + at)) << at;
    at += n;
    ASSERT_TRUE(SkipSome(1234567 * (n == 5)));
    at += 1234567 * (n == 5);
  }
  const size_t rest = bytes.size() - at;
  const uint8_t* piece = PeekSome(rest);
  ASSERT_NE(piece, nullptr);
  EXPECT_TRUE(std::equal(piece, piece + rest, bytes.begin() + at));
  EXPECT_FALSE(gSource.cannotRead);
  EXPECT_EQ(PeekSome(rest + 1), nullptr);
  EXPECT_TRUE(gSource.failed && gSource.cannotRead);
  EndSource();
  std::fclose(file);
}

TEST_F(DrxFileTest, AShorterDrawingLeavesNoOldBytesBehind) {
  BuildEveryKind();
  std::string path = TempPath("shorter.drx");
  ASSERT_TRUE(DrxFileWrite(path.c_str()));
  size_t longer = Slurp(path).size();
  Renew();
  AddRect(layer_, 0, 0);
  ASSERT_TRUE(DrxFileWrite(path.c_str()));
  std::vector<uint8_t> file = Slurp(path);
  EXPECT_LT(file.size(), longer);
  EXPECT_EQ(file[file.size() - 1], 400 & 0xFF);
}

TEST_F(DrxFileTest, AFailedSaveKeepsTheOldFile) {
  std::string path = TempPath("kept.drx");
  Spill(path, {1, 2, 3});
  // The target is a directory's place: nothing can be created beside a missing folder.
  std::string missing = TempPath("no-such-folder/x.drx");
  AddRect(layer_, 0, 0);
  EXPECT_FALSE(DrxFileWrite(missing.c_str()));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "cannot be created");
  EXPECT_EQ(Slurp(path), (std::vector<uint8_t>{1, 2, 3}));
}

}  // namespace
