// Measures the DXF import: drximportbench [COUNT] [--runs N]
// writes a DXF drawing of COUNT mixed entities in memory (100,000 by default: lines,
// lightweight polylines with a bulge, circles, arcs, ellipses, splines and points, plus a block
// inserted with scale and rotation), then imports it N times (3 by default) into a fresh drawing:
// the DXF filter's reader and the conversion of its metafile into objects. Prints one line of
// name=value pairs with the best times (wall clock and processor) of the reader, the conversion
// and both, the objects made and the peak memory.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/benchclock.h"
#include "exchange/dxfread.h"
#include "model/docstate.h"
#include "tools/extract1.h"

namespace {

void Pair(std::string* out, int code, const char* value) {
  char line[96];
  std::snprintf(line, sizeof line, "%3d\r\n%s\r\n", code, value);
  *out += line;
}

void Number(std::string* out, int code, double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6f", value);
  Pair(out, code, text);
}

// Seven kinds in turn, laid out on a grid of 10-unit cells.
std::string MakeDrawing(long count) {
  std::string out;
  out.reserve(static_cast<size_t>(count) * 160);
  Pair(&out, 0, "SECTION");
  Pair(&out, 2, "HEADER");
  Pair(&out, 9, "$INSUNITS");
  Pair(&out, 70, "4");
  Pair(&out, 0, "ENDSEC");
  Pair(&out, 0, "SECTION");
  Pair(&out, 2, "BLOCKS");
  Pair(&out, 0, "BLOCK");
  Pair(&out, 2, "CELL");
  Number(&out, 10, 0);
  Number(&out, 20, 0);
  Pair(&out, 0, "LINE");
  Number(&out, 10, 0), Number(&out, 20, 0), Number(&out, 11, 4), Number(&out, 21, 4);
  Pair(&out, 0, "CIRCLE");
  Number(&out, 10, 2), Number(&out, 20, 2), Number(&out, 40, 1.5);
  Pair(&out, 0, "ENDBLK");
  Pair(&out, 0, "ENDSEC");
  Pair(&out, 0, "SECTION");
  Pair(&out, 2, "ENTITIES");
  const long columns = 400;
  for (long i = 0; i < count; ++i) {
    const double x = (i % columns) * 10.0, y = (i / columns) * 10.0;
    switch (i % 8) {
      case 0:
        Pair(&out, 0, "LINE");
        Pair(&out, 8, "0");
        Number(&out, 10, x), Number(&out, 20, y), Number(&out, 11, x + 8), Number(&out, 21, y + 6);
        break;
      case 1:
        Pair(&out, 0, "LWPOLYLINE");
        Pair(&out, 90, "4");
        Pair(&out, 70, "1");
        Number(&out, 10, x), Number(&out, 20, y);
        Number(&out, 10, x + 8), Number(&out, 20, y), Number(&out, 42, 0.4);
        Number(&out, 10, x + 8), Number(&out, 20, y + 8);
        Number(&out, 10, x), Number(&out, 20, y + 8);
        break;
      case 2:
        Pair(&out, 0, "CIRCLE");
        Pair(&out, 62, "1");
        Number(&out, 10, x + 5), Number(&out, 20, y + 5), Number(&out, 40, 4);
        break;
      case 3:
        Pair(&out, 0, "ARC");
        Number(&out, 10, x + 5), Number(&out, 20, y + 5), Number(&out, 40, 4);
        Number(&out, 50, 30), Number(&out, 51, 250);
        break;
      case 4:
        Pair(&out, 0, "ELLIPSE");
        Number(&out, 10, x + 5), Number(&out, 20, y + 5), Number(&out, 11, 3), Number(&out, 21, 3);
        Number(&out, 40, 0.5), Number(&out, 41, 0), Number(&out, 42, 6.283185);
        break;
      case 5:
        Pair(&out, 0, "SPLINE");
        Pair(&out, 70, "8");
        Pair(&out, 71, "3");
        for (double k : {0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0}) Number(&out, 40, k);
        Number(&out, 10, x), Number(&out, 20, y), Number(&out, 10, x + 3), Number(&out, 20, y + 8);
        Number(&out, 10, x + 6), Number(&out, 20, y), Number(&out, 10, x + 9), Number(&out, 20, y + 8);
        break;
      case 6:
        Pair(&out, 0, "POINT");
        Number(&out, 10, x + 5), Number(&out, 20, y + 5);
        break;
      default:
        Pair(&out, 0, "INSERT");
        Pair(&out, 2, "CELL");
        Number(&out, 10, x + 1), Number(&out, 20, y + 1), Number(&out, 41, 1.5), Number(&out, 42, 1.5);
        Number(&out, 50, 30);
        break;
    }
  }
  Pair(&out, 0, "ENDSEC");
  Pair(&out, 0, "EOF");
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  long count = 100000;
  int runs = kDefaultRuns;
  ReadCountAndRuns(argc, argv, &count, &runs);
  if (count <= 0 || runs <= 0) return 1;
  const std::string text = MakeDrawing(count);
  double bestRead = 1e30, bestConvert = 1e30, bestTotal = 1e30, bestCpu = 1e30;
  long objects = 0;
  for (int run = 0; run < runs; ++run) {
    DocumentRec* document = CreateDocument();
    if (!document) return 2;
    gFilterName = kSourceDXF;
    const double start = Now(), cpuStart = CpuNow();
    DxfImport dxf;
    if (ReadDxf(text.data(), text.size(), &dxf) != kFilterOK) {
      std::fprintf(stderr, "drximportbench: %s\n", dxf.failure.c_str());
      return 2;
    }
    const double read = Now();
    if (ExtractWMFEntities(dxf.metafile.data(), dxf.metafile.size(), &dxf.picture) != kFilterOK) return 2;
    const double end = Now(), cpuEnd = CpuNow();
    objects = 0;
    for (ObjectRec* o = document->currentLayer->firstObject; o; o = o->nextObject) ++objects;
    bestRead = std::min(bestRead, read - start);
    bestConvert = std::min(bestConvert, end - read);
    bestTotal = std::min(bestTotal, end - start);
    bestCpu = std::min(bestCpu, cpuEnd - cpuStart);
    DeleteDocument(document);
  }
  std::printf(
      "dxf_import entities=%ld dxf_mb=%.1f objects=%ld read_s=%.3f convert_s=%.3f import_s=%.3f "
      "import_cpu_s=%.3f peak_mb=%.1f\n",
      count, text.size() / kMegabyte, objects, bestRead, bestConvert, bestTotal, bestCpu, PeakMegabytes());
  return 0;
}
