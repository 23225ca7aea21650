// The byte level of drawing files and the private scrap: one byte source that every reader parses
// from (a block of known length with a sticky failure), one buffered byte sink that every writer
// appends to, the big-endian primitives over both, and the record-level readers and writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "model/records.h"

struct DocState;

// The bytes being parsed: a block in memory, or a file read through a window that holds the
// stream's bytes [base, base + held). `length` is the whole stream's. A read that would pass
// `length` reads nothing, sets `failed` and returns zeros; every later read fails too, so a
// record can be checked once at its end. A file that yields fewer bytes than its length (cut
// short behind us, a device error) also sets `cannotRead`; a window that cannot grow to hold one
// record's text or picture sets `outOfMemory`.
struct DrxByteSource {
  const uint8_t* data;  // the window: data[0] is the stream's byte `base`
  size_t length;
  size_t mark;
  bool failed;
  bool cannotRead;
  bool outOfMemory;
  size_t base;
  size_t held;
  FILE* file;        // null for a block in memory
  uint8_t* window;   // the file's window, owned by the source
  size_t capacity;   // bytes the window can hold
  size_t filePlace;  // the stream offset the file reads next
};

// The bytes being written: a buffer flushed to `file`, or, without a file, a growing memory
// block. Once a write fails every later write is dropped and `failed` stays set.
struct DrxByteSink {
  uint8_t* buffer;
  size_t used;
  size_t capacity;
  FILE* file;
  uint64_t flushed;  // bytes already handed to the file
  bool failed;
};

// The one transfer in progress.
extern DrxByteSource gSource;
extern DrxByteSink gSink;
// The file open for the transfer, null between transfers.
extern FILE* gFileRef;
// The header of the file being read (or what the scrap assumes), for the deeper readers.
extern int32_t gFileVersion;
extern int16_t gFilePlatform;

// Bytes per point record, per font record and per layer name in the file.
constexpr size_t kPointRecordSize = 29;
constexpr size_t kFontRecordSize = 50;
constexpr size_t kFileLayerNameSize = 256;

// The swaps and the big-endian reads below are defined here: every field of every record goes
// through them, and the readers compile them inline.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr bool kHostIsBigEndian = true;
#else
constexpr bool kHostIsBigEndian = false;
#endif

inline int16_t SwapShort(int16_t value) {
  const uint16_t bits = static_cast<uint16_t>(value);
  return static_cast<int16_t>(static_cast<uint16_t>((bits >> 8) | (bits << 8)));
}

inline int32_t SwapLong(int32_t value) {
  uint32_t bits = static_cast<uint32_t>(value);
  bits = (bits >> 24) | ((bits >> 8) & 0xFF00u) | ((bits << 8) & 0xFF0000u) | (bits << 24);
  return static_cast<int32_t>(bits);
}

inline float SwapFloat(float value) {
  int32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  bits = SwapLong(bits);
  float swapped;
  std::memcpy(&swapped, &bits, sizeof swapped);
  return swapped;
}

void BeginSource(const uint8_t* data, size_t length);
// Parses `length` bytes of an open file from its current place; false when out of memory.
bool BeginFileSource(FILE* file, size_t length);
// Frees the window and forgets the source.
void EndSource();
// Brings the n bytes at the mark into the window; false (and the source failed) when fewer are
// left or the file cannot give them.
bool FillSource(size_t n);
inline size_t GetMark() {
  return gSource.mark;
}
inline size_t BytesLeft() {
  return gSource.failed ? 0 : gSource.length - gSource.mark;
}
// The n bytes at the mark, in one piece, without passing them; null when fewer are left.
inline const uint8_t* PeekSome(size_t n) {
  const size_t end = gSource.base + gSource.held;  // a skip may have left the mark past it
  if (gSource.failed || gSource.mark > end || n > end - gSource.mark) {
    if (!FillSource(n)) return nullptr;
  }
  return gSource.data + (gSource.mark - gSource.base);
}

// Copies n bytes as they are; false (and the source failed) when fewer are left.
inline bool ReadSome(void* buffer, size_t n) {
  const uint8_t* bytes = PeekSome(n);
  if (!bytes) {
    if (n) std::memset(buffer, 0, n);
    return false;
  }
  if (n) std::memcpy(buffer, bytes, n);
  gSource.mark += n;
  return true;
}
bool SkipSome(size_t n);

inline int16_t ReadShort() {
  int16_t value;
  ReadSome(&value, sizeof value);
  return kHostIsBigEndian ? value : SwapShort(value);
}

inline int32_t ReadLong() {
  int32_t value;
  ReadSome(&value, sizeof value);
  return kHostIsBigEndian ? value : SwapLong(value);
}

inline float ReadFloat() {
  float value;
  ReadSome(&value, sizeof value);
  return kHostIsBigEndian ? value : SwapFloat(value);
}

// A sink over a file (buffered) or, with a null file, over a growing memory block.
bool BeginSink(FILE* file);
void WriteSome(const void* buffer, size_t n);
void WriteShort(int16_t value);
void WriteLong(int32_t value);
void WriteFloat(float value);
// Flushes a file sink; false when any write failed.
bool FlushSink();
// Bytes written so far.
uint64_t GetSinkMark();
// Hands over the memory block of a memory sink (the caller frees it with free()).
uint8_t* TakeSinkBlock(size_t* size);
void EndSink();

// The length of an open file, leaving its position where it was; -1 when unknown.
int64_t GetLength(FILE* file);

// The record levels, one routine each. Readers return false at the first fault; DrxReadFault
// then says why.
bool DoReadHeader();
bool DoReadDocState(DocState** stateOut);
bool DoReadMacDocState();
bool DoReadObjects();
LayerRec* ReadALayer();
LayerRec* ReadAMacLayer();
ObjectRec* ReadAnObject(LayerRec* layer, bool append);
bool ReadObjectInfo(ObjectRec* object);
bool ReadObjectPoints(ObjectRec* object);
bool ReadObjectData(ObjectRec* object);
bool ReadTextData(ObjectRec* object);

void DoWriteHeader();
void DoWriteDocState(const DocState* state);
void DoWriteObjects();
void WriteALayer(const LayerRec* layer);
void WriteAnObject(const ObjectRec* object);
void WriteObjectInfo(const ObjectRec* object);
void WriteObjectPoints(const ObjectRec* object);
void WriteObjectData(const ObjectRec* object);
