// The rubber band of one mouse move while dragging a selection: 1,000 selected objects of a
// 100,000-object drawing drawn twice through the move preview in inverting mode (erase at the
// old position, draw at the new), into a 1920 x 1080 DIB section at the fitted zoom. Prints one
// line of name=value pairs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "bench/benchclock.h"
#include "bench/benchgen.h"
#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "render/drawhdlr.h"
#include "render/imagefile.h"
#include "render/macstuff.h"
#include "tools/trakmous_win.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kMoves = 20;

// Selects every `stride`-th top-level object of the drawing, `limit` at most; how many it took.
long SelectEvery(DocumentRec* document, long stride, long limit) {
  long seen = 0, taken = 0;
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject, ++seen) {
      const bool take = seen % stride == 0 && taken < limit;
      for (PointRec* p = object->firstPoint; p; p = p->nextPoint) p->selected = take ? 1 : 0;
      if (take) ++taken;
    }
  return taken;
}

ObjectRec* GetFirstSelected(DocumentRec* document) {
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      if (object->firstPoint && object->firstPoint->selected) return object;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const long count = argc > 1 ? std::atol(argv[1]) : 100000;
  const long selected = argc > 2 ? std::atol(argv[2]) : 1000;
  DocumentRec* document = CreateDocument();
  gCurDocument = document;
  BenchDrawingStats stats = {};
  if (!document || !BuildBenchDrawing(count, false, 1, &stats)) {
    std::fprintf(stderr, "drag_bench: cannot build the drawing\n");
    return 2;
  }
  DibCanvas canvas;
  if (!CreateDibCanvas(kWidth, kHeight, &canvas)) return 2;
  const FloatRect fit = GetFitRect(document, false);
  const float zoom = ComputeFitZoom(&fit, kWidth, kHeight);
  document->docState->zoomFactor = zoom;
  SetWindowOrgEx(canvas.dc, RoundToInt(fit.left * zoom), RoundToInt(fit.top * zoom), nullptr);
  long top = 0;
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject) ++top;
  const long taken = SelectEvery(document, top / selected > 0 ? top / selected : 1, selected);

  // The press takes the selection once; each move erases at the old place and draws at the new,
  // as the move tool does.
  gDataRect = SelectionBounds();
  gClickInfo.hit = 1;
  gClickInfo.object = GetFirstSelected(document);
  const double pressStart = Now();
  SnapshotDragSelection();
  const double press = Now() - pressStart;
  double worst = 0.0, total = 0.0;
  BeginPortSession(canvas.dc);
  for (int move = 0; move < kMoves; ++move) {
    const double start = Now();
    gTrackState.start = {0.0f, 0.0f};
    gDownX = gDownY = 0.0f;
    TrackTranslate(static_cast<float>(move), static_cast<float>(move), kStageMove);          // erase
    TrackTranslate(static_cast<float>(move + 1), static_cast<float>(move + 1), kStageMove);  // draw
    FlushPortLines();
    GdiFlush();
    const double elapsed = Now() - start;
    total += elapsed;
    if (elapsed > worst) worst = elapsed;
  }
  EndPortSession();
  std::printf(
      "objects=%ld top_level=%ld selected=%ld press_snapshot_ms=%.2f moves=%d mean_move_ms=%.2f "
      "worst_move_ms=%.2f\n",
      stats.objects, top, taken, press * 1000.0, kMoves, total / kMoves * 1000.0, worst * 1000.0);
  DeleteDibCanvas(&canvas);
  DeleteDocument(document);
  return 0;
}
