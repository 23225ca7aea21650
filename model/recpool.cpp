// Record pools: see recpool.h.
#include "model/recpool.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "model/seam.h"

#if defined(__SANITIZE_ADDRESS__)
#define DRX_PLAIN_RECORDS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DRX_PLAIN_RECORDS 1
#endif
#endif

namespace {

#ifdef DRX_PLAIN_RECORDS

void* NewRecord(size_t size) {
  return std::calloc(1, size);
}

void FreeRecord(void* record) {
  std::free(record);
}

#else

// A freed record holds the link to the next free record of its pool in its first bytes.
struct FreeRecordLink {
  FreeRecordLink* next;
};

struct RecordPool {
  size_t recordSize;
  uint8_t* next;  // the first never used byte of the current chunk
  uint8_t* end;   // the end of the current chunk
  FreeRecordLink* freeList;
};

static_assert(sizeof(ObjectRec) >= sizeof(FreeRecordLink) && sizeof(PointRec) >= sizeof(FreeRecordLink),
              "a freed record must hold the free-list link");
static_assert(sizeof(ObjectRec) % alignof(ObjectRec) == 0 && sizeof(PointRec) % alignof(PointRec) == 0,
              "records laid end to end must stay aligned");

RecordPool gObjectPool = {sizeof(ObjectRec), nullptr, nullptr, nullptr};
RecordPool gPointPool = {sizeof(PointRec), nullptr, nullptr, nullptr};

void* NewRecord(RecordPool& pool) {
  if (pool.freeList) {
    FreeRecordLink* record = pool.freeList;
    pool.freeList = record->next;
    std::memset(static_cast<void*>(record), 0, pool.recordSize);
    return record;
  }
  if (!pool.next || static_cast<size_t>(pool.end - pool.next) < pool.recordSize) {
    // The tail of the old chunk too small for a record is left unused.
    uint8_t* chunk = static_cast<uint8_t*>(AllocatePoolChunk(kRecordChunkBytes));
    if (!chunk) return nullptr;
    pool.next = chunk;
    pool.end = chunk + kRecordChunkBytes;
  }
  // Never used memory of a fresh chunk is still zero.
  void* record = pool.next;
  pool.next += pool.recordSize;
  return record;
}

void FreeRecord(RecordPool& pool, void* record) {
  if (!record) return;
  FreeRecordLink* link = static_cast<FreeRecordLink*>(record);
  link->next = pool.freeList;
  pool.freeList = link;
}

#endif

size_t gLiveObjectRecords = 0;

// Counts a record handed out.
ObjectRec* Counted(ObjectRec* object) {
  if (object) ++gLiveObjectRecords;
  return object;
}

// Counts a record given back.
ObjectRec* Uncounted(ObjectRec* object) {
  if (object) --gLiveObjectRecords;
  return object;
}

}  // namespace

size_t LiveObjectRecordCount() {
  return gLiveObjectRecords;
}

#ifdef DRX_PLAIN_RECORDS

ObjectRec* NewObjectRecord() {
  return Counted(static_cast<ObjectRec*>(NewRecord(sizeof(ObjectRec))));
}

void FreeObjectRecord(ObjectRec* object) {
  FreeRecord(Uncounted(object));
}

PointRec* NewPointRecord() {
  return static_cast<PointRec*>(NewRecord(sizeof(PointRec)));
}

void FreePointRecord(PointRec* point) {
  FreeRecord(point);
}

#else

ObjectRec* NewObjectRecord() {
  return Counted(static_cast<ObjectRec*>(NewRecord(gObjectPool)));
}

void FreeObjectRecord(ObjectRec* object) {
  FreeRecord(gObjectPool, Uncounted(object));
}

PointRec* NewPointRecord() {
  return static_cast<PointRec*>(NewRecord(gPointPool));
}

void FreePointRecord(PointRec* point) {
  FreeRecord(gPointPool, point);
}

#endif
