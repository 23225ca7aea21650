// libFuzzer target of the drawing reader (file and scrap modes).
#include "fuzz/drxfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DrxFuzzOneInput(data, size);
  return 0;
}
