// Loading time by record kind: a drawing of COUNT layers, COUNT groups (one member each), COUNT
// plain objects or COUNT text blocks is built with the model's routines, saved, and read back N
// times into fresh drawings.
//   drxloadbench layers|groups|objects|texts COUNT OUT.drx [--runs N]
// Prints one line of name=value pairs: read_s is the best of the runs (wall clock), read_cpu_s
// its CPU time, us_per_record the best read divided by COUNT (flat when loading is linear).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/benchclock.h"
#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/pthndlr.h"
#include "model/textfont.h"

namespace {

enum class Kind { kLayers, kGroups, kObjects, kTexts };

ObjectRec* Rectangle(LayerRec* layer, long index, int16_t kind = kRectKind) {
  ObjectRec* object = CreateObject(kind, 1, 0, &kWhite16, &kBlack16, 1.0f, kSolidLineType, kNoFill,
                                   &kEmptyRect, nullptr, nullptr, nullptr, layer, nullptr);
  if (!object) return nullptr;
  const float x = static_cast<float>(index % 1000), y = static_cast<float>(index / 1000 % 1000);
  const float corners[4][2] = {{x, y}, {x + 1, y}, {x + 1, y + 1}, {x, y + 1}};
  PointRec* tail = nullptr;
  for (const auto& corner : corners) {
    PointRec* point = CreatePoint(kVertexPoint, 0, 0, 0, 0, corner[0], corner[1], 0, 0, object);
    if (!point) return nullptr;
    LinkPointAfter(point, object, tail);
    tail = point;
  }
  return object;
}

// A text block's pane: two lines, left-aligned, in the fallback font.
bool AddText(ObjectRec* object, long index) {
  TextPane pane = CreateTextPane(kAlignLeft);
  if (!pane) return false;
  object->info = pane;
  object->lineWeight = 0.0f;
  char text[64];
  const int length = std::snprintf(text, sizeof text, "Room %ld\r\nFinish: oak", index + 1);
  SetTextPaneFont(pane, &GetFallbackTextFont());
  return SetTextPaneText(pane, text, static_cast<size_t>(length));
}

// Builds the drawing into the current document; false when memory runs out.
bool Build(Kind kind, long count) {
  DocumentRec* document = gCurDocument;
  LayerRec* layer = document->firstLayer;
  if (kind == Kind::kLayers) {
    // The document's own layer counts as the first.
    LayerRec* last = layer;
    for (long i = 1; i < count; ++i) {
      LayerRec* next = CreateLayer("Layer", 1, 1, nullptr);
      if (!next) return false;
      next->prevLayer = last;
      last->nextLayer = next;
      last = next;
    }
    return true;
  }
  ObjectRec* tail = nullptr;
  for (long i = 0; i < count; ++i) {
    ObjectRec* object = Rectangle(layer, i, kind == Kind::kTexts ? kTextBlockKind : kRectKind);
    if (!object) return false;
    if (kind == Kind::kTexts && !AddText(object, i)) return false;
    if (kind == Kind::kGroups) {
      ObjectRec* group = CreateObject(kGroupKind, 0, 0, &kWhite16, &kBlack16, 1.0f, kSolidLineType, kNoFill,
                                      &kEmptyRect, nullptr, nullptr, nullptr, layer, nullptr);
      if (!group) return false;
      AppendObjectToGroup(object, group);
      object = group;
    }
    LinkObjectAfter(object, layer, tail);
    tail = object;
  }
  return true;
}

int Usage() {
  std::fprintf(stderr, "usage: drxloadbench layers|groups|objects|texts COUNT OUT.drx [--runs N]\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 6) return Usage();
  Kind kind;
  if (std::strcmp(argv[1], "layers") == 0)
    kind = Kind::kLayers;
  else if (std::strcmp(argv[1], "groups") == 0)
    kind = Kind::kGroups;
  else if (std::strcmp(argv[1], "objects") == 0)
    kind = Kind::kObjects;
  else if (std::strcmp(argv[1], "texts") == 0)
    kind = Kind::kTexts;
  else
    return Usage();
  const long count = std::strtol(argv[2], nullptr, 10);
  const char* path = argv[3];
  int runs = kDefaultRuns;
  if (argc == 6) {
    if (std::strcmp(argv[4], "--runs") != 0) return Usage();
    runs = std::atoi(argv[5]);
  }
  if (count < 1 || runs < 1) return Usage();

  DocumentRec* built = CreateDocument();
  if (!built || !Build(kind, count)) {
    std::fprintf(stderr, "drxloadbench: out of memory while building\n");
    return 2;
  }
  if (!DrxFileWrite(path)) {
    std::fprintf(stderr, "drxloadbench: %s: %s\n", path, DrxFailureText(gDrxFileFailure).c_str());
    return 2;
  }
  DeleteDocument(built);

  double best = 1e30, bestCpu = 1e30;
  long layers = 0, objects = 0;
  for (int run = 0; run < runs; ++run) {
    DocumentRec* document = CreateDocument();
    if (!document) return 2;
    const double start = Now();
    const double cpuStart = CpuNow();
    if (!DrxFileRead(path)) {
      std::fprintf(stderr, "drxloadbench: %s: %s\n", path, DrxFailureText(gDrxFileFailure).c_str());
      return 2;
    }
    const double elapsed = Now() - start;
    const double cpu = CpuNow() - cpuStart;
    if (elapsed < best) best = elapsed;
    if (cpu < bestCpu) bestCpu = cpu;
    layers = objects = 0;
    for (const LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer) {
      ++layers;
      for (const ObjectRec* object = layer->firstObject; object; object = object->nextObject) ++objects;
    }
    DeleteDocument(document);
  }
  std::printf(
      "kind=%s count=%ld layers=%ld objects=%ld bytes=%ld read_s=%.4f read_cpu_s=%.4f us_per_record=%.3f\n",
      argv[1], count, layers, objects, FileSize(path), best, bestCpu,
      best * 1e6 / static_cast<double>(count));
  return 0;
}
