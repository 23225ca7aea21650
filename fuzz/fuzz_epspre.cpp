// libFuzzer target of the EPS preview reader.
#include "fuzz/picturefuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EpsPreviewFuzzOneInput(data, size);
  return 0;
}
