// Selection timings on a benchmark drawing: the hit test of one click (on an object, and on
// empty paper, which visits every object), and a marquee selection over a corner of the sheet.
//   drxselectbench [COUNT] [--runs N]
// Prints one line of name=value pairs; timings are the best of the runs.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/benchclock.h"
#include "bench/benchgen.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "tools/selhndlr.h"
#include "tools/selindex.h"

namespace {

// The best time of `runs` calls of `work`, in milliseconds.
template <typename Work>
double BestMs(int runs, Work work) {
  double best = 1e30;
  for (int run = 0; run < runs; ++run) {
    const double start = Now();
    work();
    const double elapsed = Now() - start;
    if (elapsed < best) best = elapsed;
  }
  return best * 1000.0;
}

// The window position of the first point of the last object: a press that hits at once.
void PositionOnTopObject(const DocumentRec* document, int32_t* x, int32_t* y) {
  const LayerRec* layer = document->firstLayer;
  while (layer->nextLayer) layer = layer->nextLayer;
  const ObjectRec* object = layer->firstObject;
  while (object && object->nextObject) object = object->nextObject;
  const PointRec* p = object ? object->firstPoint : nullptr;
  *x = p ? static_cast<int32_t>(p->x) : 0;
  *y = p ? static_cast<int32_t>(p->y) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  long count = 1000000;
  int runs = kDefaultRuns;
  ReadCountAndRuns(argc, argv, &count, &runs);
  if (runs < 1) runs = 1;
  DocumentRec* document = CreateDocument();
  BenchDrawingStats stats = {0, 0, 0};
  if (!document || !BuildBenchDrawing(count, false, 1, &stats)) {
    std::fprintf(stderr, "drxselectbench: out of memory while building\n");
    return 2;
  }
  SelectAllLayers(document->firstLayer, kDeselectMode, false);
  gCurTool = kStandardTool;

  ClickInfo info = {};
  PositionOnTopObject(document, &info.x, &info.y);
  // The first query after a change builds the selection grid.
  const double buildMs = BestMs(1, [&] {
    ClickInfo probe = info;
    SelectFromAllLayers(document->firstLayer, &probe, false);
  });
  bool hit = false;
  const double hitMs = BestMs(runs, [&] {
    ClickInfo probe = info;
    hit = SelectFromAllLayers(document->firstLayer, &probe, false);
  });
  // Below and left of the sheet: nothing there, every object is tried.
  ClickInfo empty = {};
  empty.x = -500;
  empty.y = -500;
  bool missed = true;
  const double missMs = BestMs(runs, [&] {
    ClickInfo probe = empty;
    missed = !SelectFromAllLayers(document->firstLayer, &probe, false);
  });
  // A click after a change the log cannot name (a layer added or deleted) rebuilds the grid (its
  // memory is kept).
  const double rebuildMs = BestMs(runs, [&] {
    NoteModelChange();
    ClickInfo probe = info;
    SelectFromAllLayers(document->firstLayer, &probe, false);
  });
  // A click after an edit: one object in the middle of a list moved, as a drag moves it, or a
  // hundred objects moved, one added, one deleted; the grid follows only those objects.
  ObjectRec* middleObject = document->firstLayer->firstObject;
  for (long i = 0; middleObject && middleObject->nextObject && i < stats.objects / 8; ++i)
    middleObject = middleObject->nextObject;
  ObjectRec* tail = middleObject;
  while (tail && tail->nextObject) tail = tail->nextObject;
  const uint32_t buildsBefore = SelectionIndexBuildCount();
  const double moveOneMs = BestMs(runs, [&] {
    UpdateObjectBounds(middleObject);
    ClickInfo probe = info;
    SelectFromAllLayers(document->firstLayer, &probe, false);
  });
  const double editsMs = BestMs(runs, [&] {
    ObjectRec* o = middleObject;
    for (int i = 0; i < 100 && o; ++i, o = o->nextObject) UpdateObjectBounds(o);
    ObjectRec* added = CreateObject(kRectKind, 1, 0, nullptr, nullptr, 1, kSolidLineType, kNoFill,
                                    &middleObject->bounds, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (added) LinkObjectAfter(added, middleObject->layer, tail);
    DeleteObj(added);
    ClickInfo probe = info;
    SelectFromAllLayers(document->firstLayer, &probe, false);
  });
  const bool followed = SelectionIndexBuildCount() == buildsBefore;
  // The middle of the sheet, where the objects are densest.
  const FloatRect& sheet = document->docState->pageRect;
  ClickInfo middle = {};
  middle.x = static_cast<int32_t>((sheet.left + sheet.right) / 2);
  middle.y = static_cast<int32_t>((sheet.top + sheet.bottom) / 2);
  const double middleMs = BestMs(runs, [&] {
    ClickInfo probe = middle;
    SelectFromAllLayers(document->firstLayer, &probe, false);
  });
  // A marquee over a quarter of the sheet's width and height, selecting then deselecting.
  const FloatRect& page = document->docState->pageRect;
  const IntRect marquee = {static_cast<int>(page.left), static_cast<int>(page.top),
                           static_cast<int>(page.left + (page.right - page.left) / 4),
                           static_cast<int>(page.top + (page.bottom - page.top) / 4)};
  const double marqueeMs =
      BestMs(runs,
             [&] {
               SelectAllLayersInRect(document->firstLayer, &marquee, kSelectMode, false);
               SelectAllLayersInRect(document->firstLayer, &marquee, kDeselectMode, false);
             }) /
      2.0;
  SelectAllLayersInRect(document->firstLayer, &marquee, kSelectMode, false);
  const int32_t selected = CountSelectedObjects(document->firstLayer, kOpCount);
  std::printf(
      "select objects=%ld first_click_ms=%.3f rebuild_click_ms=%.3f edit_click_ms=%.3f edits_click_ms=%.3f "
      "followed=%d click_hit_ms=%.3f hit=%d "
      "click_miss_ms=%.3f missed=%d "
      "click_middle_ms=%.3f marquee_ms=%.3f marquee_selected=%d\n",
      stats.objects, buildMs, rebuildMs, moveOneMs, editsMs, followed ? 1 : 0, hitMs, hit ? 1 : 0, missMs,
      missed ? 1 : 0, middleMs, marqueeMs, static_cast<int>(selected));
  DeleteDocument(document);
  return 0;
}
