// Redraw timings of the benchmark drawing into a 1920 x 1080 DIB section, each as wall clock and
// as the process's CPU seconds (best of the runs): fitted to the drawing; a view of a tenth of
// it; zoom 1 and zoom 4 over one corner (most objects culled); the strip a scroll by a tenth of
// the view uncovers; and the floor, one bare PolyPolyline of the same flattened segments (and the
// tenth view's own floors: the segments of the objects that meet it at its zoom, with a thin pen
// and with the 2-pixel pen that zoom gives a line of weight 1). The fitted, tenth and zoom-4
// paints are timed again with every object painted (`_all_`): what leaving out the shapes under
// later opaque fills saves, measured in the same run. The first paint of the tenth and zoom-4
// views is timed alone too (`_first_s`): a zoom step, before a paint keeps anything for the next.
// Their later paints are timed once the view has been painted until a paint keeps nothing new
// (`_settle_paints`: how many paints that took, the first aside). With --file, the drawing is
// read from a file and `open_s` is the read and the first fitted paint in a fresh process. Prints
// one line of name=value pairs.
// `render_bench [COUNT] [--runs N] [--file PATH]`.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/benchclock.h"
#include "bench/benchgen.h"
#include "files/drxfile.h"
#include "geometry/gnrlmath.h"
#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "render/drawhdlr.h"
#include "render/imagefile.h"
#include "render/outlinecache.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
int gRuns = kDefaultRuns;

// The best wall-clock and CPU seconds of the runs.
struct Timing {
  double wall = 1e9;
  double cpu = 1e9;
};

template <typename Work>
Timing TimeBest(Work work) {
  Timing best;
  for (int run = 0; run < gRuns; ++run) {
    const double start = Now(), cpu = CpuNow();
    work();
    GdiFlush();
    const double wall = Now() - start, used = CpuNow() - cpu;
    if (wall < best.wall) best.wall = wall;
    if (used < best.cpu) best.cpu = used;
  }
  return best;
}

// One paint of `area` (a part of the view whose top-left corner is ox, oy), clipped to it as a
// paint message's context is.
Timing TimePaint(DibCanvas& canvas, DocumentRec* document, float zoom, int ox, int oy,
                 const RECT* part = nullptr) {
  document->docState->zoomFactor = zoom;
  SetWindowOrgEx(canvas.dc, ox, oy, nullptr);
  const RECT whole = {0, 0, kWidth, kHeight};
  const RECT& r = part ? *part : whole;
  HRGN clip = CreateRectRgn(r.left, r.top, r.right, r.bottom);
  SelectClipRgn(canvas.dc, clip);
  DeleteObject(clip);
  const QDRect area = {ox + r.left, oy + r.top, ox + r.right, oy + r.bottom};
  const Timing t = TimeBest([&] { PaintDrawing(canvas.dc, document, &area, kPaintErase); });
  SelectClipRgn(canvas.dc, nullptr);
  return t;
}

// The first paint at a zoom alone: what a zoom step costs, before anything a paint keeps for the
// next one (the outlines of ovals drawn with wide pens) is kept.
Timing TimeFirstPaint(DibCanvas& canvas, DocumentRec* document, float zoom, int ox, int oy) {
  const int savedRuns = gRuns;
  gRuns = 1;
  const Timing first = TimePaint(canvas, document, zoom, ox, oy);
  gRuns = savedRuns;
  return first;
}

// Paints a view until a paint keeps no new outline (a paint makes only so many): the timings
// after it are of the view painted a while, after a zoom step's first paints. Returns the paints.
int SettleView(DibCanvas& canvas, DocumentRec* document, float zoom, int ox, int oy) {
  constexpr int kMostPaints = 32;
  int paints = 0;
  for (size_t kept = KeptOutlineCount(); paints < kMostPaints; kept = KeptOutlineCount()) {
    TimeFirstPaint(canvas, document, zoom, ox, oy);
    ++paints;
    if (KeptOutlineCount() == kept) break;
  }
  return paints;
}

long CountInView(DocumentRec* document, float zoom, const QDRect& view) {
  document->docState->zoomFactor = zoom;
  long n = 0;
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      if (IsObjectInBounds(object, &view)) ++n;
  return n;
}

// Outlines flattened at the current zoom, one polyline per object.
struct Outlines {
  std::vector<POINT> points;
  std::vector<DWORD> counts;
};

// An object's outline and those of its members.
void FlattenObject(const ObjectRec* object, Outlines* out) {
  const PointRec* start = object->firstPoint;
  while (start && IsMarkerPointKind(start->pointKind)) start = start->nextPoint;
  if (start) {
    std::vector<POINT>& points = out->points;
    const size_t before = points.size();
    auto add = [&](float x, float y) { points.push_back(POINT{RoundToInt(ZoomF(x)), RoundToInt(ZoomF(y))}); };
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
    if (points.size() - before >= 2)
      out->counts.push_back(static_cast<DWORD>(points.size() - before));
    else
      points.resize(before);
  }
  for (const ObjectRec* child = object->firstChild; child; child = child->nextObject)
    FlattenObject(child, out);
}

// The floor of a view, over a blank picture whose top-left corner is ox, oy: the outlines of the
// top-level objects that meet `view` (all of them when it is null), flattened at `zoom`, as one
// bare PolyPolyline with one thin pen; or, with a `penWidth` of 2 or more, one bare Polyline each
// with a solid pen that wide (Wine makes a wide pen's PolyPolyline one region of every segment, at
// a cost that grows with the square of their number). Gives the segments in `segments`.
Timing TimeFloor(DibCanvas& canvas, DocumentRec* document, float zoom, int ox, int oy, const QDRect* view,
                 int penWidth, size_t* segments) {
  document->docState->zoomFactor = zoom;
  Outlines out;
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    if (layer->visible)
      for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
        if (!view || IsObjectInBounds(object, view)) FlattenObject(object, &out);
  *segments = out.points.size() - out.counts.size();
  SetWindowOrgEx(canvas.dc, ox, oy, nullptr);
  const RECT all = {ox, oy, ox + kWidth, oy + kHeight};
  HPEN pen = penWidth >= 2 ? CreatePen(PS_SOLID, penWidth, RGB(0, 0, 0)) : nullptr;
  HGDIOBJ savedPen = pen ? SelectObject(canvas.dc, pen) : nullptr;
  const Timing floor = TimeBest([&] {
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!pen) {
      PolyPolyline(canvas.dc, out.points.data(), out.counts.data(), static_cast<DWORD>(out.counts.size()));
      return;
    }
    size_t first = 0;
    for (const DWORD count : out.counts) {
      Polyline(canvas.dc, &out.points[first], static_cast<int>(count));
      first += count;
    }
  });
  if (pen) {
    SelectObject(canvas.dc, savedPen);
    DeleteObject(pen);
  }
  return floor;
}

long CountObjects(const ObjectRec* object) {
  long n = 0;
  for (; object; object = object->nextObject) n += 1 + CountObjects(object->firstChild);
  return n;
}

long CountObjects(const DocumentRec* document) {
  long n = 0;
  for (const LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    n += CountObjects(layer->firstObject);
  return n;
}

void Uniform(ObjectRec* object) {
  for (; object; object = object->nextObject) {
    object->penColor = kBlack16;
    object->fillPattern = kNoFill;
    Uniform(object->firstChild);
  }
}

}  // namespace

// How long a fresh process lets the desktop start before it times opening a drawing.
constexpr DWORD kDesktopSettleMs = 1500;

int main(int argc, char** argv) {
  long count = 100000;
  // --file PATH reads a drawing instead of building one: the first paint then follows the read in
  // a fresh process, as when a user opens a drawing.
  const char* path = nullptr;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--file") == 0) {
      path = argv[i + 1];
      for (int j = i; j + 2 < argc; ++j) argv[j] = argv[j + 2];
      argc -= 2;
      break;
    }
  ReadCountAndRuns(argc, argv, &count, &gRuns);
  DocumentRec* document = CreateDocument();
  gCurDocument = document;
  BenchDrawingStats stats = {};
  // The picture and the desktop exist before the read, as the program's window does before a
  // user opens a drawing. Under Wine the first window-system call starts the desktop process by
  // forking this one: after a read, that fork would make the first write to every page of the
  // drawing fault again, a cost the program never pays. The desktop is let settle first.
  DibCanvas canvas;
  if (!CreateDibCanvas(kWidth, kHeight, &canvas)) return 2;
  GetDesktopWindow();
  if (path) {
    Sleep(kDesktopSettleMs);
    // The program started without a file paints its untitled drawing before the user opens one
    // from the File menu, so what a paint keeps for the next (the map of what fills cover, as
    // large as the picture) is there already.
    const QDRect area = {0, 0, kWidth, kHeight};
    PaintDrawing(canvas.dc, document, &area, kPaintErase);
  }
  const double readStart = Now();
  if (!document || !(path ? DrxFileRead(path) : BuildBenchDrawing(count, false, 1, &stats))) {
    std::fprintf(stderr, "render_bench: cannot %s the drawing\n", path ? "read" : "build");
    return 2;
  }
  const double read = path ? Now() - readStart : 0.0;

  // Fitted to the drawing, as the fit-to-window command does. The first paint also pays for
  // anything a paint keeps for the next one at the same zoom.
  const FloatRect fit = GetFitRect(document, false);
  const float fitZoom = ComputeFitZoom(&fit, kWidth, kHeight);
  const int fx = RoundToInt(fit.left * fitZoom), fy = RoundToInt(fit.top * fitZoom);
  const Timing first = TimeFirstPaint(canvas, document, fitZoom, fx, fy);
  if (path) stats.objects = CountObjects(document);
  const Timing fitted = TimePaint(canvas, document, fitZoom, fx, fy);
  const long fittedLeftOut = gShapesLeftOut;
  // The baseline of the same run: every object painted, none left out under later fills.
  gLeaveOutCovered = false;
  const Timing fittedAll = TimePaint(canvas, document, fitZoom, fx, fy);
  gLeaveOutCovered = true;

  // The floor: the same outlines as one PolyPolyline with one pen.
  size_t segments = 0;
  const Timing floor = TimeFloor(canvas, document, fitZoom, fx, fy, nullptr, 0, &segments);

  // A tenth of the drawing: the view zoomed in by the square root of 10 about the fitted
  // view's centre.
  const float tenthZoom = fitZoom * std::sqrt(10.0f);
  const float cx = (fit.left + fit.right) / 2.0f, cy = (fit.top + fit.bottom) / 2.0f;
  const int tx = RoundToInt(cx * tenthZoom) - kWidth / 2, ty = RoundToInt(cy * tenthZoom) - kHeight / 2;
  const Timing tenthFirst = TimeFirstPaint(canvas, document, tenthZoom, tx, ty);
  const int tenthSettle = SettleView(canvas, document, tenthZoom, tx, ty);
  const Timing tenth = TimePaint(canvas, document, tenthZoom, tx, ty);
  gLeaveOutCovered = false;
  const Timing tenthAll = TimePaint(canvas, document, tenthZoom, tx, ty);
  gLeaveOutCovered = true;
  const QDRect tenthView = {tx, ty, tx + kWidth, ty + kHeight};
  const long tenthObjects = CountInView(document, tenthZoom, tenthView);
  // Its own floor: the outlines of the objects that meet it, at its zoom; and the same drawn one
  // by one with the pen a line of weight 1 has at that zoom (2 pixels: every pen is wide there).
  size_t tenthSegments = 0;
  const Timing tenthFloor = TimeFloor(canvas, document, tenthZoom, tx, ty, &tenthView, 0, &tenthSegments);
  const int tenthPen = std::max(1, RoundToInt(tenthZoom));
  const Timing tenthWideFloor =
      TimeFloor(canvas, document, tenthZoom, tx, ty, &tenthView, tenthPen, &tenthSegments);

  // Zoom 1 and zoom 4 over the sheet's top-left corner: most objects lie outside.
  const FloatRect& page = document->docState->pageRect;
  const int c1x = RoundToInt(page.left), c1y = RoundToInt(page.top);
  const Timing corner1 = TimePaint(canvas, document, 1.0f, c1x, c1y);
  const long corner1Objects = CountInView(document, 1.0f, QDRect{c1x, c1y, c1x + kWidth, c1y + kHeight});
  const int c4x = RoundToInt(page.left * 4.0f), c4y = RoundToInt(page.top * 4.0f);
  const Timing corner4First = TimeFirstPaint(canvas, document, 4.0f, c4x, c4y);
  const int corner4Settle = SettleView(canvas, document, 4.0f, c4x, c4y);
  const Timing corner4 = TimePaint(canvas, document, 4.0f, c4x, c4y);
  gLeaveOutCovered = false;
  const Timing corner4All = TimePaint(canvas, document, 4.0f, c4x, c4y);
  gLeaveOutCovered = true;
  const long corner4Objects = CountInView(document, 4.0f, QDRect{c4x, c4y, c4x + kWidth, c4y + kHeight});

  // A scroll of the fitted view by a tenth of its width: the uncovered strip alone is painted.
  const RECT strip = {kWidth - kWidth / 10, 0, kWidth, kHeight};
  const Timing scroll = TimePaint(canvas, document, fitZoom, fx + kWidth / 10, fy, &strip);

  // A view beside the drawing: every object is culled, so this is the walk's own cost.
  const Timing empty = TimePaint(canvas, document, 1.0f, 200000, 200000);
  long total = 0;
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject) ++total;

  // The same drawing with one pen and no fills: what the walk itself costs over the floor.
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer) Uniform(layer->firstObject);
  const Timing plain = TimePaint(canvas, document, fitZoom, fx, fy);

  std::printf(
      "objects=%ld top_level=%ld segments=%zu fit_zoom=%.4f first_fitted_s=%.4f first_fitted_cpu_s=%.4f "
      "fitted_s=%.4f fitted_cpu_s=%.4f floor_s=%.4f floor_cpu_s=%.4f fitted_over_floor_cpu=%.2f "
      "tenth_s=%.4f tenth_cpu_s=%.4f tenth_objects=%ld tenth_segments=%zu tenth_floor_s=%.4f "
      "tenth_floor_cpu_s=%.4f tenth_over_floor=%.2f tenth_wide_floor_s=%.4f tenth_pen=%d "
      "corner_zoom1_s=%.4f corner_zoom1_cpu_s=%.4f corner_zoom1_objects=%ld corner_zoom4_s=%.4f "
      "corner_zoom4_cpu_s=%.4f corner_zoom4_objects=%ld "
      "scroll_strip_s=%.4f scroll_strip_cpu_s=%.4f all_culled_s=%.4f all_culled_cpu_s=%.4f "
      "fitted_one_pen_no_fill_s=%.4f fitted_one_pen_no_fill_cpu_s=%.4f fitted_left_out=%ld "
      "fitted_all_cpu_s=%.4f tenth_all_cpu_s=%.4f corner_zoom4_all_cpu_s=%.4f tenth_first_s=%.4f "
      "corner_zoom4_first_s=%.4f tenth_settle_paints=%d corner_zoom4_settle_paints=%d read_s=%.4f "
      "open_s=%.4f\n",
      stats.objects, total, segments, fitZoom, first.wall, first.cpu, fitted.wall, fitted.cpu, floor.wall,
      floor.cpu, floor.cpu > 0 ? fitted.cpu / floor.cpu : 0.0, tenth.wall, tenth.cpu, tenthObjects,
      tenthSegments, tenthFloor.wall, tenthFloor.cpu,
      tenthFloor.wall > 0 ? tenth.wall / tenthFloor.wall : 0.0, tenthWideFloor.wall, tenthPen, corner1.wall,
      corner1.cpu, corner1Objects, corner4.wall, corner4.cpu, corner4Objects, scroll.wall, scroll.cpu,
      empty.wall, empty.cpu, plain.wall, plain.cpu, fittedLeftOut, fittedAll.cpu, tenthAll.cpu,
      corner4All.cpu, tenthFirst.wall, corner4First.wall, tenthSettle, corner4Settle, read,
      read + first.wall);
  DeleteDibCanvas(&canvas);
  DeleteDocument(document);
  return 0;
}
