// Runs saved inputs through the fuzz target without libFuzzer (for builds that have none):
// drxfuzz_replay FILE...
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/drxfuzz.h"

int main(int argc, char** argv) {
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "drxfuzz_replay: %s: cannot be opened\n", argv[i]);
      ++failures;
      continue;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    DrxFuzzOneInput(bytes.data(), bytes.size());
    std::printf("%s: %zu bytes, returned\n", argv[i], bytes.size());
  }
  return failures ? 1 : 0;
}
