// Writes the drawing the export judges check, as OUTDIR/sample.drx, and OUTDIR/preview.eps: the
// same drawing exported as EPS with a small metafile preview (the host build has no metafile
// recorder, so the preview's records are put together here).
//
// The drawing, in page units (y downward): a 40-unit square at the top left (20..60), a line
// along the bottom (y 400, x 20..500), an oval, a group with a nested group, an arc with its
// centre marker, a dimension (never exported) and a hidden layer (never exported).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/exporter.h"
#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"

namespace {

constexpr float kQuarterCircle = 1.6568542f;  // Hermite tangent length of a unit quarter circle

ObjectRec* NewObject(int16_t kind, bool closed) {
  return CreateObject(kind, closed, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill, &kEmptyRect, nullptr,
                      nullptr, nullptr, nullptr, nullptr);
}

void Add(ObjectRec* o, float x, float y, float inX = 0, float inY = 0, float outX = 0, float outY = 0,
         int16_t kind = kVertexPoint) {
  AppendPointToObject(CreatePoint(kind, 0, 0, inX, inY, x, y, outX, outY, o), o);
}

ObjectRec* Place(ObjectRec* o, LayerRec* layer) {
  UpdateObjectBounds(o);
  AppendObjectToLayer(o, layer);
  return o;
}

ObjectRec* Rect(float left, float top, float right, float bottom) {
  ObjectRec* o = NewObject(kRectKind, true);
  Add(o, left, top);
  Add(o, right, top);
  Add(o, right, bottom);
  Add(o, left, bottom);
  return o;
}

ObjectRec* Line(float x1, float y1, float x2, float y2) {
  ObjectRec* o = NewObject(kLineKind, false);
  Add(o, x1, y1);
  Add(o, x2, y2);
  return o;
}

void BuildDrawing(DocumentRec* document) {
  LayerRec* layer = document->firstLayer;
  Place(Rect(20, 20, 60, 60), layer);
  Place(Line(20, 400, 500, 400), layer);

  const float r = 50, cx = 300, cy = 200, t = kQuarterCircle * r;
  ObjectRec* oval = NewObject(kOvalKind, true);
  Add(oval, cx + r, cy, 0, t, 0, t);
  Add(oval, cx, cy + r, -t, 0, -t, 0);
  Add(oval, cx - r, cy, 0, -t, 0, -t);
  Add(oval, cx, cy - r, t, 0, t, 0);
  Place(oval, layer);

  ObjectRec* group = NewObject(kGroupKind, false);
  ObjectRec* triangle = NewObject(kPolyKind, true);
  AppendObjectToGroup(triangle, group);
  Add(triangle, 400, 100);
  Add(triangle, 450, 180);
  Add(triangle, 350, 180);
  UpdateObjectBounds(triangle);
  ObjectRec* inner = NewObject(kGroupKind, false);
  AppendObjectToGroup(inner, group);
  ObjectRec* zigzag = NewObject(kPolyKind, false);
  AppendObjectToGroup(zigzag, inner);
  Add(zigzag, 100, 300);
  Add(zigzag, 130, 250);
  Add(zigzag, 160, 300);
  Add(zigzag, 190, 250);
  UpdateObjectBounds(zigzag);
  UpdateObjectRootBounds(inner, false, false);
  Place(group, layer);
  UpdateObjectRootBounds(group, false, false);

  ObjectRec* arc = NewObject(kArcKind, false);
  Add(arc, 250, 330, 0, 0, 30, 0, kArcPoint);
  Add(arc, 280, 360, 0, 30, 0, 0, kArcPoint);
  Add(arc, 250, 360, 0, 0, 0, 0, kArcCentrePoint);
  Place(arc, layer);

  ObjectRec* dimension = NewObject(kLengthDimKind, false);
  Add(dimension, 100, 380);
  Add(dimension, 400, 380);
  Place(dimension, layer);

  LayerRec* hidden = CreateLayer("Hidden", 0, 1, nullptr);
  AppendLayerToDocument(hidden);
  Place(Rect(600, 600, 700, 700), hidden);
}

// A 16-bit metafile: header, window origin and extent, a frame and a diagonal, end record.
std::vector<uint8_t> BuildPreviewMetafile() {
  std::vector<uint16_t> words = {1, 9, 0x0300, 0, 0, 0, 0, 0, 0};  // sizes filled in below
  auto record = [&](uint16_t function, std::vector<int16_t> params) {
    const uint32_t size = 3 + static_cast<uint32_t>(params.size());
    words.push_back(static_cast<uint16_t>(size));
    words.push_back(static_cast<uint16_t>(size >> 16));
    words.push_back(function);
    // Parameters are stored last first (y before x).
    for (auto it = params.rbegin(); it != params.rend(); ++it) words.push_back(static_cast<uint16_t>(*it));
  };
  record(0x020B, {15, 15});    // SetWindowOrg(x, y): the drawing's left and top less the margin
  record(0x020C, {490, 390});  // SetWindowExt(width, height)
  const int16_t frame[][2] = {{20, 20}, {60, 20}, {60, 60}, {20, 60}, {20, 20}};
  record(0x0214, {frame[0][0], frame[0][1]});                              // MoveTo
  for (int i = 1; i < 5; ++i) record(0x0213, {frame[i][0], frame[i][1]});  // LineTo
  record(0x0214, {20, 400});
  record(0x0213, {500, 400});
  record(0x0000, {});  // end of the metafile
  const uint32_t total = static_cast<uint32_t>(words.size());
  words[3] = static_cast<uint16_t>(total);
  words[4] = static_cast<uint16_t>(total >> 16);
  words[6] = 5;  // the largest record in words (MoveTo, LineTo)
  std::vector<uint8_t> bytes;
  for (uint16_t word : words) {
    bytes.push_back(static_cast<uint8_t>(word));
    bytes.push_back(static_cast<uint8_t>(word >> 8));
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: drxexportsample OUTDIR\n");
    return 1;
  }
  const std::string folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  DocumentRec* document = CreateDocument();
  if (!document) return 2;
  BuildDrawing(document);
  const std::string drawing = folder + "/sample.drx";
  if (!DrxFileWrite(drawing.c_str())) {
    std::fprintf(stderr, "drxexportsample: %s: %s\n", drawing.c_str(),
                 DrxFailureText(gDrxFileFailure).c_str());
    return 2;
  }
  // Drawings beyond what some formats hold: a square from the sample's corner out to the value.
  const struct {
    const char* name;
    float value;
  } kFar[] = {{"far-1e30", 1e30f}, {"far-minus-1e30", -1e30f}, {"far-3e9", 3e9f}};
  for (const auto& far : kFar) {
    DocumentRec* farDocument = CreateDocument();
    if (!farDocument) return 2;
    Place(Line(20, 400, 500, 400), farDocument->firstLayer);
    Place(Rect(20, 20, far.value, far.value), farDocument->firstLayer);
    const std::string path = folder + "/" + far.name + ".drx";
    if (!DrxFileWrite(path.c_str())) {
      std::fprintf(stderr, "drxexportsample: %s: %s\n", path.c_str(),
                   DrxFailureText(gDrxFileFailure).c_str());
      return 2;
    }
    DeleteDocument(farDocument);
  }
  gCurDocument = document;
  const std::vector<uint8_t> metafile = BuildPreviewMetafile();
  const std::string preview = folder + "/preview.eps";
  if (!ExportFile(kExportEPS, preview.c_str(), metafile.data(), static_cast<uint32_t>(metafile.size()))) {
    std::fprintf(stderr, "drxexportsample: %s: %s\n", preview.c_str(),
                 ExportFailureText(gExportFailure).c_str());
    return 2;
  }
  DeleteDocument(document);
  return 0;
}
