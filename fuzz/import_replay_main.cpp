// Runs saved inputs through the import's fuzz targets without libFuzzer:
// importfuzz_replay dxf|wmf FILE...
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/importfuzz.h"

int main(int argc, char** argv) {
  if (argc < 2 || (std::strcmp(argv[1], "dxf") != 0 && std::strcmp(argv[1], "wmf") != 0)) {
    std::fprintf(stderr, "usage: importfuzz_replay dxf|wmf FILE...\n");
    return 1;
  }
  const bool dxf = std::strcmp(argv[1], "dxf") == 0;
  int failures = 0;
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "importfuzz_replay: %s: cannot be opened\n", argv[i]);
      ++failures;
      continue;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (dxf)
      ImportFuzzDxf(bytes.data(), bytes.size());
    else
      ImportFuzzMetafile(bytes.data(), bytes.size());
    std::printf("%s: %zu bytes, returned\n", argv[i], bytes.size());
  }
  return failures ? 1 : 0;
}
