// The byte source and sink of drawing files and the private scrap, and the big-endian primitives.
#include "files/drxio.h"

#include <algorithm>
#include <cstdlib>

DrxByteSource gSource;
DrxByteSink gSink;
FILE* gFileRef;
int32_t gFileVersion;
int16_t gFilePlatform;

namespace {

// File sinks collect this much before each write to the file.
constexpr size_t kFileSinkBuffer = 256 * 1024;
// A memory sink starts with this much and doubles.
constexpr size_t kMemorySinkStart = 4096;
// A file source reads this much at a time (more when one record's text or picture needs it).
// Small enough for the heap to hand out from pages it already holds: a larger block is fresh
// memory of its own, whose first touch costs a page fault every 4 KB, and is given back to the
// system when freed instead of serving the records and lists that come next.
constexpr size_t kFileSourceWindow = 64 * 1024;

bool FailFileSource() {
  gSource.failed = true;
  gSource.cannotRead = true;
  return false;
}

}  // namespace

void BeginSource(const uint8_t* data, size_t length) {
  EndSource();
  gSource.data = data;
  gSource.length = data ? length : 0;
  gSource.held = gSource.length;
}

bool BeginFileSource(FILE* file, size_t length) {
  EndSource();
  gSource.window = static_cast<uint8_t*>(std::malloc(kFileSourceWindow));
  if (!gSource.window) return false;
  gSource.data = gSource.window;
  gSource.capacity = kFileSourceWindow;
  gSource.file = file;
  gSource.length = length;
  return true;
}

void EndSource() {
  std::free(gSource.window);
  gSource = DrxByteSource{};
}

bool FillSource(size_t n) {
  if (gSource.failed || n > gSource.length - gSource.mark || !gSource.file) {
    gSource.failed = true;
    return false;
  }
  // Keep what the window holds from the mark on, at its start; a mark past the window (after a
  // skip) reads through the bytes skipped.
  const size_t end = gSource.base + gSource.held;
  const size_t kept = gSource.mark < end ? end - gSource.mark : 0;
  if (kept) std::memmove(gSource.window, gSource.window + (gSource.mark - gSource.base), kept);
  gSource.base = gSource.mark;
  gSource.held = kept;
  if (n > gSource.capacity) {
    uint8_t* grown = static_cast<uint8_t*>(std::realloc(gSource.window, n));
    if (!grown) {
      gSource.failed = true;
      gSource.outOfMemory = true;
      return false;
    }
    gSource.window = grown;
    gSource.data = grown;
    gSource.capacity = n;
  }
  while (gSource.filePlace < gSource.mark) {
    const size_t skip = std::min(gSource.mark - gSource.filePlace, gSource.capacity - kept);
    if (std::fread(gSource.window + kept, 1, skip, gSource.file) != skip) return FailFileSource();
    gSource.filePlace += skip;
  }
  // A file cut short behind us fails only when the bytes asked for are missing.
  const size_t wanted = std::min(gSource.capacity - kept, gSource.length - (gSource.mark + kept));
  const size_t got = std::fread(gSource.window + kept, 1, wanted, gSource.file);
  gSource.filePlace += got;
  gSource.held = kept + got;
  return gSource.held >= n || FailFileSource();
}

bool SkipSome(size_t n) {
  if (gSource.failed || n > gSource.length - gSource.mark) {
    gSource.failed = true;
    return false;
  }
  gSource.mark += n;
  return true;
}

bool BeginSink(FILE* file) {
  EndSink();
  size_t capacity = file ? kFileSinkBuffer : kMemorySinkStart;
  gSink.buffer = static_cast<uint8_t*>(std::malloc(capacity));
  gSink.capacity = gSink.buffer ? capacity : 0;
  gSink.file = file;
  gSink.failed = gSink.buffer == nullptr;
  return !gSink.failed;
}

namespace {

bool DrainToFile() {
  if (gSink.used && std::fwrite(gSink.buffer, 1, gSink.used, gSink.file) != gSink.used) {
    gSink.failed = true;
    return false;
  }
  gSink.flushed += gSink.used;
  gSink.used = 0;
  return true;
}

// Makes room for n more bytes; false (and the sink failed) when there is none.
bool MakeRoom(size_t n) {
  // A file sink empties its buffer; a block larger than the buffer then goes straight through.
  if (gSink.file) return DrainToFile();
  size_t capacity = gSink.capacity ? gSink.capacity : kMemorySinkStart;
  while (capacity - gSink.used < n) {
    if (capacity > SIZE_MAX / 2) {
      gSink.failed = true;
      return false;
    }
    capacity *= 2;
  }
  uint8_t* grown = static_cast<uint8_t*>(std::realloc(gSink.buffer, capacity));
  if (!grown) {
    // A scrap that cannot grow is dropped whole.
    std::free(gSink.buffer);
    gSink.buffer = nullptr;
    gSink.used = 0;
    gSink.capacity = 0;
    gSink.failed = true;
    return false;
  }
  gSink.buffer = grown;
  gSink.capacity = capacity;
  return true;
}

}  // namespace

void WriteSome(const void* buffer, size_t n) {
  if (gSink.failed || n == 0) return;
  if (n > gSink.capacity - gSink.used) {
    if (!MakeRoom(n)) return;
    if (gSink.file && n > gSink.capacity) {
      if (std::fwrite(buffer, 1, n, gSink.file) != n)
        gSink.failed = true;
      else
        gSink.flushed += n;
      return;
    }
  }
  std::memcpy(gSink.buffer + gSink.used, buffer, n);
  gSink.used += n;
}

void WriteShort(int16_t value) {
  if (!kHostIsBigEndian) value = SwapShort(value);
  WriteSome(&value, sizeof value);
}

void WriteLong(int32_t value) {
  if (!kHostIsBigEndian) value = SwapLong(value);
  WriteSome(&value, sizeof value);
}

void WriteFloat(float value) {
  if (!kHostIsBigEndian) value = SwapFloat(value);
  WriteSome(&value, sizeof value);
}

bool FlushSink() {
  if (gSink.failed) return false;
  if (gSink.file) {
    if (!DrainToFile()) return false;
    if (std::fflush(gSink.file) != 0) gSink.failed = true;
  }
  return !gSink.failed;
}

uint64_t GetSinkMark() {
  return gSink.flushed + gSink.used;
}

uint8_t* TakeSinkBlock(size_t* size) {
  if (gSink.file || gSink.failed) {
    *size = 0;
    return nullptr;
  }
  uint8_t* block = gSink.buffer;
  *size = gSink.used;
  gSink.buffer = nullptr;
  gSink.used = 0;
  gSink.capacity = 0;
  return block;
}

void EndSink() {
  std::free(gSink.buffer);
  gSink = DrxByteSink{};
}

int64_t GetLength(FILE* file) {
  if (!file) return -1;
#ifdef _WIN32
  int64_t here = _ftelli64(file);
  if (here < 0 || _fseeki64(file, 0, SEEK_END) != 0) return -1;
  int64_t length = _ftelli64(file);
  _fseeki64(file, here, SEEK_SET);
#else
  off_t here = ftello(file);
  if (here < 0 || fseeko(file, 0, SEEK_END) != 0) return -1;
  int64_t length = ftello(file);
  fseeko(file, here, SEEK_SET);
#endif
  return length;
}
