// Redraw timings of the benchmark drawing into a 1920 x 1080 DIB section: fitted to the
// drawing, and at zoom 1 over one corner (most objects culled), against the floor of one bare
// PolyPolyline of the same flattened segments. Prints one line of name=value pairs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/benchclock.h"
#include "bench/benchgen.h"
#include "geometry/gnrlmath.h"
#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "render/drawhdlr.h"
#include "render/imagefile.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRuns = 3;

// Best of the runs of one paint of the drawing with the given zoom and origin.
double TimePaint(DibCanvas& canvas, DocumentRec* document, float zoom, int ox, int oy) {
  document->docState->zoomFactor = zoom;
  SetWindowOrgEx(canvas.dc, ox, oy, nullptr);
  const QDRect area = {ox, oy, ox + kWidth, oy + kHeight};
  double best = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    const double start = Now();
    PaintDrawing(canvas.dc, document, &area, kPaintErase);
    GdiFlush();
    const double elapsed = Now() - start;
    if (elapsed < best) best = elapsed;
  }
  return best;
}

// Every outline of every object flattened at the current zoom, one polyline per object.
void FlattenObject(const ObjectRec* object, std::vector<POINT>* points, std::vector<DWORD>* counts) {
  for (; object; object = object->nextObject) {
    const PointRec* start = object->firstPoint;
    while (start && IsMarkerPointKind(start->pointKind)) start = start->nextPoint;
    if (start) {
      const size_t before = points->size();
      auto add = [&](float x, float y) {
        points->push_back(POINT{RoundToInt(ZoomF(x)), RoundToInt(ZoomF(y))});
      };
      add(start->x, start->y);
      const PointRec* previous = start;
      auto segment = [&](const PointRec* a, const PointRec* b) {
        if (a->outTangentX == 0 && a->outTangentY == 0 && b->inTangentX == 0 && b->inTangentY == 0) {
          add(b->x, b->y);
          return;
        }
        bool first = true;
        SampleCurveSegment(a, b, CurrentCurveSmoothness(), [&](float x, float y) {
          if (!first) add(x, y);
          first = false;
        });
      };
      for (const PointRec* p = start->nextPoint; p; p = p->nextPoint) {
        if (IsMarkerPointKind(p->pointKind)) continue;
        segment(previous, p);
        previous = p;
      }
      if (object->closed && previous != start) segment(previous, start);
      if (points->size() - before >= 2)
        counts->push_back(static_cast<DWORD>(points->size() - before));
      else
        points->resize(before);
    }
    FlattenObject(object->firstChild, points, counts);
  }
}

void Uniform(ObjectRec* object) {
  for (; object; object = object->nextObject) {
    object->penColor = kBlack16;
    object->fillPattern = kNoFill;
    Uniform(object->firstChild);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const long count = argc > 1 ? std::atol(argv[1]) : 100000;
  DocumentRec* document = CreateDocument();
  gCurDocument = document;
  BenchDrawingStats stats = {};
  if (!document || !BuildBenchDrawing(count, false, 1, &stats)) {
    std::fprintf(stderr, "render_bench: cannot build the drawing\n");
    return 2;
  }
  DibCanvas canvas;
  if (!CreateDibCanvas(kWidth, kHeight, &canvas)) return 2;

  // Fitted to the drawing, as the fit-to-window command does.
  const FloatRect fit = GetFitRect(document, false);
  const float fitZoom = ComputeFitZoom(&fit, kWidth, kHeight);
  const int fx = RoundToInt(fit.left * fitZoom), fy = RoundToInt(fit.top * fitZoom);
  const double fitted = TimePaint(canvas, document, fitZoom, fx, fy);

  // The floor: the same outlines as one PolyPolyline with one pen.
  document->docState->zoomFactor = fitZoom;
  std::vector<POINT> points;
  std::vector<DWORD> counts;
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    if (layer->visible) FlattenObject(layer->firstObject, &points, &counts);
  double floor = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    const RECT all = {fx, fy, fx + kWidth, fy + kHeight};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const double start = Now();
    PolyPolyline(canvas.dc, points.data(), counts.data(), static_cast<DWORD>(counts.size()));
    GdiFlush();
    const double elapsed = Now() - start;
    if (elapsed < floor) floor = elapsed;
  }

  // Zoom 1 over the sheet's top-left corner: most objects lie outside and are culled.
  const FloatRect& page = document->docState->pageRect;
  const double culled = TimePaint(canvas, document, 1.0f, RoundToInt(page.left), RoundToInt(page.top));
  // Zoom 4 over the same corner: nearly everything is culled.
  const double culled4 =
      TimePaint(canvas, document, 4.0f, RoundToInt(page.left * 4.0f), RoundToInt(page.top * 4.0f));
  // A view beside the drawing: every object is culled, so this is the walk's own cost.
  const double empty = TimePaint(canvas, document, 1.0f, 20000, 20000);
  document->docState->zoomFactor = 4.0f;
  long inView4 = 0;
  {
    const QDRect corner4 = {RoundToInt(page.left * 4.0f), RoundToInt(page.top * 4.0f),
                            RoundToInt(page.left * 4.0f) + kWidth, RoundToInt(page.top * 4.0f) + kHeight};
    for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
      for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
        if (IsObjectInBounds(object, &corner4)) ++inView4;
  }
  document->docState->zoomFactor = 1.0f;
  long inView = 0, total = 0;
  const QDRect corner = {RoundToInt(page.left), RoundToInt(page.top), RoundToInt(page.left) + kWidth,
                         RoundToInt(page.top) + kHeight};
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject, ++total)
      if (IsObjectInBounds(object, &corner)) ++inView;

  // The same drawing with one pen and no fills: what the walk itself costs over the floor.
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer) Uniform(layer->firstObject);
  const double plain = TimePaint(canvas, document, fitZoom, fx, fy);

  std::printf(
      "objects=%ld segments=%zu fit_zoom=%.4f fitted_s=%.4f floor_s=%.4f fitted_over_floor=%.2f "
      "fitted_one_pen_no_fill_s=%.4f corner_zoom1_s=%.4f corner_objects=%ld/%ld corner_zoom4_s=%.4f "
      "corner_zoom4_objects=%ld all_culled_s=%.4f\n",
      stats.objects, points.size() - counts.size(), fitZoom, fitted, floor, fitted / floor, plain, culled,
      inView, total, culled4, inView4, empty);
  DeleteDibCanvas(&canvas);
  DeleteDocument(document);
  return 0;
}
