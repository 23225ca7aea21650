// The stored settings of a drawing: one table of every field of the settings block, in stored
// order, with its byte offset after the block's length, its type, its name (the DocState field's
// own, which the converter's JSON uses too) and the file version that first stored it. The reader,
// the writer, the converter and the tests all walk this table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/docstate.h"

enum class SettingType : uint8_t {
  kByte,   // uint8_t
  kShort,  // int16_t
  kFlags,  // uint32_t, stored as a long
  kFloat,  // float
  kColor,  // RGB16: three shorts
  kRect,   // FloatRect: four floats, top, left, bottom, right
};

struct SettingField {
  uint16_t offset;  // bytes after the block length
  SettingType type;
  const char* name;
  int32_t version;  // the first file version that stores it
  size_t member;    // offsetof(DocState, ...)
};

constexpr size_t kSettingFieldCount = 58;
extern const SettingField kSettingFields[kSettingFieldCount];

// Bytes of one field in a file.
size_t SettingTypeSize(SettingType type);
// Bytes of the fields a file of `version` stores (152 for version 100, 170 for 150).
size_t SettingFieldBytes(int32_t version);

// Where a field lives in a settings record.
inline void* SettingMember(DocState* state, const SettingField& field) {
  return reinterpret_cast<uint8_t*>(state) + field.member;
}
inline const void* SettingMember(const DocState* state, const SettingField& field) {
  return reinterpret_cast<const uint8_t*>(state) + field.member;
}
