// The header and trailer texts of the exports, embedded into the core at build time from the
// files of resources/ (the Windows resource script names the same files).
#pragma once

#include <cstdint>

struct EmbeddedResource {
  const char* type;  // "hdrs" or "tlrs"
  const char* name;  // "DXFHeader", ...
  const uint8_t* bytes;
  uint32_t length;
};

extern const EmbeddedResource gEmbeddedResources[];
extern const int gEmbeddedResourceCount;
