// Writes a benchmark drawing: `drxbenchgen COUNT OUT.drx [--no-text] [--seed N]`.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/benchgen.h"
#include "files/drxfile.h"
#include "model/docstate.h"

int main(int argc, char** argv) {
  long count = 0;
  const char* out = nullptr;
  bool withText = true;
  uint32_t seed = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-text") == 0) {
      withText = false;
    } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
      seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (count == 0) {
      count = std::strtol(argv[i], nullptr, 10);
    } else if (!out) {
      out = argv[i];
    } else {
      count = -1;
    }
  }
  if (count <= 0 || !out) {
    std::fprintf(stderr, "usage: drxbenchgen COUNT OUT.drx [--no-text] [--seed N]\n");
    return 1;
  }
  DocumentRec* document = CreateDocument();
  BenchDrawingStats stats = {0, 0, 0};
  if (!document || !BuildBenchDrawing(count, withText, seed, &stats)) {
    std::fprintf(stderr, "drxbenchgen: out of memory\n");
    return 2;
  }
  if (!DrxFileWrite(out)) {
    std::fprintf(stderr, "drxbenchgen: %s: %s\n", out, DrxFailureText(gDrxFileFailure).c_str());
    return 2;
  }
  std::printf("%s: %ld objects, %ld points, %ld text blocks\n", out, stats.objects, stats.points,
              stats.textBlocks);
  DeleteDocument(document);
  return 0;
}
