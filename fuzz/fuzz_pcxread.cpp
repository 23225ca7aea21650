// libFuzzer target of the PCX reader.
#include "fuzz/picturefuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PcxFuzzOneInput(data, size);
  return 0;
}
