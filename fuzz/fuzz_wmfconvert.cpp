// libFuzzer target of the conversion of metafile records into objects.
#include "fuzz/importfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ImportFuzzMetafile(data, size);
  return 0;
}
