// Measures the exports on a benchmark drawing:
//   drxexportbench COUNT OUTDIR [--no-text] [--runs N]
// builds a drawing of about COUNT objects, then exports it to OUTDIR/bench.dxf, .plt and .eps
// N times each (3 by default). Prints one line of name=value pairs per format: the best time,
// the output size, the output rate (also per second of processor time), and the process's peak memory before
// the first export and after this format's exports (the exports stream, so the peak should not grow with the
// output).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/benchclock.h"
#include "bench/benchgen.h"
#include "exchange/exporter.h"
#include "model/docstate.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: drxexportbench COUNT OUTDIR [--no-text] [--runs N]\n");
    return 1;
  }
  const long count = std::atol(argv[1]);
  const std::string folder = argv[2];
  bool withText = true;
  int runs = kDefaultRuns;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-text") == 0) {
      withText = false;
    } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "drxexportbench: unknown option %s\n", argv[i]);
      return 1;
    }
  }
  if (count <= 0 || runs <= 0) return 1;

  const double start = Now();
  DocumentRec* document = CreateDocument();
  BenchDrawingStats stats = {0, 0, 0};
  if (!document || !BuildBenchDrawing(count, withText, 1, &stats)) {
    std::fprintf(stderr, "drxexportbench: out of memory while building\n");
    return 2;
  }
  const double build = Now() - start;
  const double peakBuilt = PeakMegabytes();
  std::printf("drawing objects=%ld points=%ld build_s=%.3f peak_mb=%.1f\n", stats.objects, stats.points,
              build, peakBuilt);

  struct Format {
    int16_t type;
    const char* name;
    const char* extension;
  };
  const Format formats[] = {
      {kExportDXF, "dxf", ".dxf"}, {kExportHPGL, "hpgl", ".plt"}, {kExportEPS, "eps", ".eps"}};
  for (const Format& format : formats) {
    const std::string path = folder + "/bench" + format.extension;
    double best = 1e30, bestProcessor = 1e30;
    for (int run = 0; run < runs; ++run) {
      const double begin = Now();
      const double beginProcessor = CpuNow();
      if (!ExportFile(format.type, path.c_str())) {
        std::fprintf(stderr, "drxexportbench: %s: %s\n", path.c_str(),
                     ExportFailureText(gExportFailure).c_str());
        return 2;
      }
      const double elapsed = Now() - begin;
      const double processor = CpuNow() - beginProcessor;
      if (elapsed < best) best = elapsed;
      if (processor < bestProcessor) bestProcessor = processor;
    }
    const long size = FileSize(path.c_str());
    std::printf(
        "export format=%s objects=%ld bytes=%ld best_s=%.3f mb_per_s=%.1f cpu_s=%.3f mb_per_cpu_s=%.1f "
        "peak_before_mb=%.1f peak_mb=%.1f\n",
        format.name, stats.objects, size, best, size / kMegabyte / best, bestProcessor,
        size / kMegabyte / bestProcessor, peakBuilt, PeakMegabytes());
  }
  DeleteDocument(document);
  return 0;
}
