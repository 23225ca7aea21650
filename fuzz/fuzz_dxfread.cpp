// libFuzzer target of the DXF filter's reader and the conversion of what it writes.
#include "fuzz/importfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ImportFuzzDxf(data, size);
  return 0;
}
