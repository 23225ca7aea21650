// Measures the file code and the bounds walk on benchmark drawings. One measurement per run of
// the program, so each peak-memory figure belongs to that measurement alone:
//   drxbench write COUNT OUT.drx [--no-text] [--runs N]   build a drawing, write it N times
//   drxbench read FILE [--runs N]                         read it N times, bounds of all layers
// Prints one line of name=value pairs; timings are the best of the runs (3 by default).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/benchclock.h"
#include "bench/benchgen.h"
#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/pthndlr.h"

namespace {

long CountObjects(const ObjectRec* object) {
  long count = 0;
  for (; object; object = object->nextObject) count += 1 + CountObjects(object->firstChild);
  return count;
}

int MeasureWrite(long count, const char* out, bool withText, int runs) {
  double start = Now();
  DocumentRec* document = CreateDocument();
  BenchDrawingStats stats = {0, 0, 0};
  if (!document || !BuildBenchDrawing(count, withText, 1, &stats)) {
    std::fprintf(stderr, "drxbench: out of memory while building\n");
    return 2;
  }
  const double build = Now() - start;
  double best = 1e30, bestCpu = 1e30;
  for (int run = 0; run < runs; ++run) {
    start = Now();
    const double cpuStart = CpuNow();
    if (!DrxFileWrite(out)) {
      std::fprintf(stderr, "drxbench: %s: %s\n", out, DrxFailureText(gDrxFileFailure).c_str());
      return 2;
    }
    const double elapsed = Now() - start;
    if (elapsed < best) best = elapsed;
    if (CpuNow() - cpuStart < bestCpu) bestCpu = CpuNow() - cpuStart;
  }
  start = Now();
  DeleteDocument(document);
  const double release = Now() - start;
  std::printf(
      "write objects=%ld points=%ld text=%ld build_s=%.4f write_s=%.4f write_cpu_s=%.4f delete_s=%.4f "
      "bytes=%ld "
      "peak_mb=%.1f\n",
      stats.objects, stats.points, stats.textBlocks, build, best, bestCpu, release, FileSize(out),
      PeakMegabytes());
  return 0;
}

int MeasureRead(const char* path, int runs) {
  double bestRead = 1e30, bestBounds = 1e30, bestDelete = 1e30, firstRead = 0, firstCpu = 0, bestCpu = 1e30;
  long objects = 0;
  FloatRect bounds = kEmptyRect;
  for (int run = 0; run < runs; ++run) {
    DocumentRec* document = CreateDocument();
    if (!document) return 2;
    double start = Now();
    const double cpuStart = CpuNow();
    if (!DrxFileRead(path)) {
      std::fprintf(stderr, "drxbench: %s: %s\n", path, DrxFailureText(gDrxFileFailure).c_str());
      return 2;
    }
    double elapsed = Now() - start;
    if (elapsed < bestRead) bestRead = elapsed;
    const double cpu = CpuNow() - cpuStart;
    if (cpu < bestCpu) bestCpu = cpu;
    if (run == 0) {
      firstRead = elapsed;
      firstCpu = cpu;
    }  // includes the first touch of the memory the drawing takes

    start = Now();
    bounds = kEmptyRect;
    GetAllLayersBounds(document->firstLayer, false, &bounds, false, false);
    elapsed = Now() - start;
    if (elapsed < bestBounds) bestBounds = elapsed;

    objects = 0;
    for (const LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
      objects += CountObjects(layer->firstObject);
    start = Now();
    DeleteDocument(document);
    elapsed = Now() - start;
    if (elapsed < bestDelete) bestDelete = elapsed;
  }
  std::printf(
      "read objects=%ld bytes=%ld read_s=%.4f first_read_s=%.4f first_read_cpu_s=%.4f read_cpu_s=%.4f "
      "bounds_s=%.4f delete_s=%.4f "
      "peak_mb=%.1f "
      "bounds=%.1f,%.1f,%.1f,%.1f\n",
      objects, FileSize(path), bestRead, firstRead, firstCpu, bestCpu, bestBounds, bestDelete,
      PeakMegabytes(), bounds.top, bounds.left, bounds.bottom, bounds.right);
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: drxbench write COUNT OUT.drx [--no-text] [--runs N]\n"
               "       drxbench read FILE [--runs N]\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  int runs = kDefaultRuns;
  bool withText = true;
  const char* positional[2] = {nullptr, nullptr};
  int positionalCount = 0;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-text") == 0) {
      withText = false;
    } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else if (positionalCount < 2) {
      positional[positionalCount++] = argv[i];
    } else {
      return Usage();
    }
  }
  if (runs < 1) return Usage();
  if (std::strcmp(argv[1], "write") == 0 && positionalCount == 2)
    return MeasureWrite(std::strtol(positional[0], nullptr, 10), positional[1], withText, runs);
  if (std::strcmp(argv[1], "read") == 0 && positionalCount == 1) return MeasureRead(positional[0], runs);
  return Usage();
}
