// Writes the fuzz seed corpus: small valid drawings of each kind, a symbol, a scrap, and files
// of the older version and of the big-endian platform. drxfuzz_corpus FOLDER
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/pthndlr.h"
#include "tests/support/bytewriter.h"

namespace {

std::string gFolder;

ObjectRec* Shape(LayerRec* layer, int16_t kind, int points, float tangent) {
  ObjectRec* object = CreateObject(kind, 1, 1, &kWhite16, &kBlack16, 1, 6, 0, &kEmptyRect, nullptr, nullptr,
                                   nullptr, layer, nullptr);
  for (int i = 0; i < points; ++i) {
    int16_t pointKind = kind == kArcKind && i == points - 1 ? kArcCentrePoint : kVertexPoint;
    AppendPointToObject(
        CreatePoint(pointKind, 0, 0, tangent, 0, 10.0f * i, 5.0f * (i % 2), tangent, 0, object), object);
  }
  AppendObjectToLayer(object, layer);
  return object;
}

void Save(const char* name) {
  std::string path = gFolder + "/" + name;
  if (!DrxFileWrite(path.c_str()))
    std::fprintf(stderr, "%s: %s\n", name, DrxFailureText(gDrxFileFailure).c_str());
}

void Spill(const char* name, const std::vector<uint8_t>& bytes) {
  std::string path = gFolder + "/" + name;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

LayerRec* Fresh() {
  if (gCurDocument) DeleteDocument(gCurDocument);
  return CreateDocument()->firstLayer;
}

void AddDimension(LayerRec* layer, int16_t kind, bool withLabel) {
  ObjectRec* dim = Shape(layer, kind, 2, 0);
  DimInfo* info = static_cast<DimInfo*>(std::calloc(1, sizeof(DimInfo)));
  dim->info = info;
  if (!withLabel) return;
  ObjectRec* label = Shape(layer, kDimensionTextKind, 4, 0);
  DimTextInfo* text = static_cast<DimTextInfo*>(std::calloc(1, sizeof(DimTextInfo)));
  text->fontSize = 10;
  text->ownerDimension = dim;
  label->info = text;
  info->textObject = label;
}

struct Bytes : ByteWriter<Bytes> {};

// A file with header (version, platform), a settings block of `fields` zero bytes, a layer named
// by a length-prefixed or NUL-terminated name, a line without pen colour (version 100) and the
// end tag.
std::vector<uint8_t> HandMade(int32_t version, int16_t platform, size_t fields) {
  Bytes b;
  b.Long(version).Short(platform).Long(platform == kPlatformBigEndian ? static_cast<int64_t>(fields) : 217);
  b.Raw(std::vector<uint8_t>(fields, 0));
  b.Short(kLayerTag);
  if (platform == kPlatformBigEndian)
    b.Byte(3).Text("Mac", 255);
  else
    b.Text("Old", 256);
  b.Byte(1).Byte(1);
  b.Short(kObjectTag)
      .Short(kLineKind)
      .Byte(0)
      .Byte(1)
      .Color(0xFFFF, 0xFFFF, 0xFFFF)
      .Float(1.0f)
      .Short(6)
      .Short(0);
  if (version == kDrxVersion150) b.Color(0, 0, 0);
  b.Long(1).Short(1).Raw(std::vector<uint8_t>(3 + 24, 0));
  b.Short(kEndTag);
  return b.v;
}

// The drawing's objects as the private scrap carries them.
void SaveScrap(const char* name) {
  if (WriteScrapObjects())
    Spill(name, std::vector<uint8_t>(gPrivateScrap, gPrivateScrap + gPrivateScrapSize));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: drxfuzz_corpus FOLDER\n");
    return 1;
  }
  gFolder = argv[1];

  LayerRec* layer = Fresh();
  for (int16_t kind = kRectKind; kind <= kSplineKind; ++kind)
    Shape(layer, kind, 4, kind == kSplineKind ? 3.0f : 0);
  Save("shapes.drx");
  SaveScrap("shapes.scrap");

  layer = Fresh();
  ObjectRec* text = Shape(layer, kTextBlockKind, 4, 0);
  TextPane pane = CreateTextPane(kAlignCentred);
  SetTextPaneText(pane, "note", 4);
  text->info = pane;
  Save("text.drx");
  SaveScrap("text.scrap");

  layer = Fresh();
  for (int16_t kind = kOffsetDimVKind; kind <= kLeaderDimKind; ++kind) {
    AddDimension(layer, kind, true);
    AddDimension(layer, kind, false);
  }
  Save("dimensions.drx");
  SaveScrap("dimensions.scrap");

  layer = Fresh();
  ObjectRec* picture = Shape(layer, kMetaFileKind, 4, 0);
  MetaInfo* meta = static_cast<MetaInfo*>(std::calloc(1, sizeof(MetaInfo)));
  // A standard metafile: header, SetBkMode, end record.
  const uint8_t bits[] = {1, 0, 9, 0, 0, 3, 16, 0, 0, 0, 0, 0, 4, 0, 0, 0,
                          0, 0, 4, 0, 0, 0, 2,  1, 1, 0, 3, 0, 0, 0, 0, 0};
  meta->mapMode = kPictureMapMode;
  meta->frameRight = 100;
  meta->frameBottom = 50;
  meta->unitsPerInch = 1440;
  meta->metaFile = CreateMetaPictFromBits(bits, sizeof bits);
  picture->info = meta;
  Save("picture.drx");
  SaveScrap("picture.scrap");

  layer = Fresh();
  ObjectRec* group = Shape(layer, kGroupKind, 0, 0);
  ObjectRec* member = Shape(layer, kLineKind, 2, 0);
  UnlinkObject(member);
  AppendObjectToGroup(member, group);
  ObjectRec* inner = Shape(layer, kGroupKind, 0, 0);
  UnlinkObject(inner);
  AppendObjectToGroup(inner, group);
  ObjectRec* innerMember = Shape(layer, kPolyKind, 3, 0);
  UnlinkObject(innerMember);
  AppendObjectToGroup(innerMember, inner);
  ObjectRec* ledByDim = Shape(layer, kGroupKind, 0, 0);
  ObjectRec* dim = Shape(layer, kLengthDimKind, 2, 0);
  dim->info = std::calloc(1, sizeof(DimInfo));
  UnlinkObject(dim);
  AppendObjectToGroup(dim, ledByDim);
  Save("groups.drx");
  SaveScrap("groups.scrap");

  layer = Fresh();
  Shape(layer, kRectKind, 4, 0)->firstPoint->selected = 1;
  Shape(layer, kOvalKind, 4, 2.0f);
  LayerRec* second = CreateLayer("Second", 1, 1, nullptr);
  AppendLayerToDocument(second);
  gSaveSymbol = true;
  Save("symbol.sym");
  gSaveSymbol = false;

  // Far coordinates: finite, beyond what HPGL and EPS hold, with a curve and a hidden layer.
  layer = Fresh();
  ObjectRec* far = Shape(layer, kRectKind, 4, 0);
  far->firstPoint->x = 3e9f;
  far->firstPoint->nextPoint->y = -1e30f;
  Shape(layer, kSplineKind, 3, 4e37f);
  LayerRec* hidden = CreateLayer("Hidden", 0, 1, nullptr);
  AppendLayerToDocument(hidden);
  Shape(hidden, kLineKind, 2, 0)->firstPoint->y = 3.4e38f;
  Save("far.drx");

  Spill("version100.drx", HandMade(kDrxVersion100, kPlatformWindows, 152));
  Spill("platform1.drx", HandMade(kDrxVersion150, kPlatformBigEndian, 40));
  DeleteDocument(gCurDocument);
  FreePrivateScrap();
  return 0;
}
