// The host build's window-system objects: metafile pictures kept in plain memory.
#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "model/seam.h"

struct MetaPictTag {
  std::vector<uint8_t> bits;
};

MetaPict CreateMetaPictFromBits(const uint8_t* bits, uint32_t length) {
  if (!bits || length == 0) return nullptr;
  MetaPict picture = new (std::nothrow) MetaPictTag;
  if (!picture) return nullptr;
  try {
    picture->bits.assign(bits, bits + length);
  } catch (const std::bad_alloc&) {
    delete picture;
    return nullptr;
  }
  return picture;
}

uint32_t GetMetaPictBits(MetaPict picture, uint8_t* buffer, uint32_t capacity) {
  if (!picture) return 0;
  const uint32_t size = static_cast<uint32_t>(picture->bits.size());
  if (buffer && capacity >= size) std::memcpy(buffer, picture->bits.data(), size);
  return size;
}

MetaPict CopyMetaPict(MetaPict picture) {
  if (!picture) return nullptr;
  return CreateMetaPictFromBits(picture->bits.data(), static_cast<uint32_t>(picture->bits.size()));
}

void DeleteMetaPict(MetaPict picture) {
  delete picture;
}

void* AllocatePoolChunk(size_t bytes) {
  constexpr size_t kHugePageBytes = size_t{2} << 20;
  if (bytes == 0 || bytes > SIZE_MAX / 2) return nullptr;
  const size_t size = (bytes + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  // Map a huge page more than asked and trim both ends, so the block starts on a huge page.
  const size_t span = size + kHugePageBytes;
  void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kHugePageBytes - 1) & ~static_cast<uintptr_t>(kHugePageBytes - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const uintptr_t tail = start + span - (aligned + size);
  if (tail) munmap(reinterpret_cast<void*>(aligned + size), tail);
#ifdef MADV_HUGEPAGE
  madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);  // only a hint
#endif
  return reinterpret_cast<void*>(aligned);
}
