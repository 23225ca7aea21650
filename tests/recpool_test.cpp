// Record pools: records start zero-filled, even when reused, and never overlap, also across the
// end of a chunk; the count of live object records follows every record handed out and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/recpool.h"

namespace {

template <typename Record>
bool IsZero(const Record* record) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(record);
  return std::all_of(bytes, bytes + sizeof(Record), [](uint8_t b) { return b == 0; });
}

// Allocates `count` records through `make`, fills each with a byte of its own, then checks that
// every record kept its byte (no two share memory) and that their addresses are disjoint.
template <typename Record, typename Make>
std::vector<Record*> AllocateDistinct(size_t count, Make make) {
  std::vector<Record*> records;
  records.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    Record* record = make();
    if (!record) {
      ADD_FAILURE() << "allocation " << i << " failed";
      break;
    }
    if (!IsZero(record)) {
      ADD_FAILURE() << "record " << i << " is not zero-filled";
      break;
    }
    std::memset(static_cast<void*>(record), static_cast<int>(i % 251 + 1), sizeof(Record));
    records.push_back(record);
  }
  for (size_t i = 0; i < records.size(); ++i) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(records[i]);
    const uint8_t expected = static_cast<uint8_t>(i % 251 + 1);
    if (bytes[0] != expected || bytes[sizeof(Record) - 1] != expected) {
      ADD_FAILURE() << "record " << i << " was overwritten";
      break;
    }
  }
  std::vector<uintptr_t> addresses;
  for (Record* record : records) addresses.push_back(reinterpret_cast<uintptr_t>(record));
  std::sort(addresses.begin(), addresses.end());
  for (size_t i = 1; i < addresses.size(); ++i) {
    if (addresses[i] - addresses[i - 1] < sizeof(Record)) {
      ADD_FAILURE() << "records overlap";
      break;
    }
  }
  return records;
}

}  // namespace

TEST(RecordPool, PointsSpanChunksWithoutOverlapAndComeBackZeroed) {
  // Enough for more than two chunks, so at least one chunk boundary is crossed.
  const size_t count = 2 * (kRecordChunkBytes / sizeof(PointRec)) + 100;
  std::vector<PointRec*> points = AllocateDistinct<PointRec>(count, NewPointRecord);
  ASSERT_EQ(points.size(), count);
  for (PointRec* point : points) FreePointRecord(point);
  // Every reused record is zero again, and the reused ones do not overlap either.
  points = AllocateDistinct<PointRec>(count, NewPointRecord);
  ASSERT_EQ(points.size(), count);
  for (PointRec* point : points) FreePointRecord(point);
}

TEST(RecordPool, ObjectsSpanChunksWithoutOverlapAndComeBackZeroed) {
  const size_t count = kRecordChunkBytes / sizeof(ObjectRec) + 100;
  const size_t live = LiveObjectRecordCount();
  std::vector<ObjectRec*> objects = AllocateDistinct<ObjectRec>(count, NewObjectRecord);
  ASSERT_EQ(objects.size(), count);
  EXPECT_EQ(LiveObjectRecordCount(), live + count);
  // Give back every other one and take as many again, mixed with fresh ones.
  for (size_t i = 0; i < objects.size(); i += 2) FreeObjectRecord(objects[i]);
  std::vector<ObjectRec*> kept;
  for (size_t i = 1; i < objects.size(); i += 2) kept.push_back(objects[i]);
  std::vector<ObjectRec*> again = AllocateDistinct<ObjectRec>(count, NewObjectRecord);
  ASSERT_EQ(again.size(), count);
  // The kept records were not disturbed, and no new one landed on a kept one.
  for (size_t k = 0; k < kept.size(); ++k) {
    const uint8_t expected = static_cast<uint8_t>((2 * k + 1) % 251 + 1);
    ASSERT_EQ(reinterpret_cast<const uint8_t*>(kept[k])[0], expected) << "kept record " << k;
  }
  for (ObjectRec* object : kept) FreeObjectRecord(object);
  for (ObjectRec* object : again) FreeObjectRecord(object);
  FreeObjectRecord(nullptr);
  FreePointRecord(nullptr);
  EXPECT_EQ(LiveObjectRecordCount(), live) << "every record handed out was given back";
}
