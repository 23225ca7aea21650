// Drawings written byte by byte, for the tests and the fuzz corpus: numbers big-endian as the
// files store them, the few little-endian ones (font records, picture lengths), fixed-size text
// fields. Derive `struct X : ByteWriter<X>` so chained calls keep the derived type and its own
// record helpers.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

template <typename Self>
class ByteWriter {
 public:
  std::vector<uint8_t> v;

  Self& Byte(int value) {
    v.push_back(static_cast<uint8_t>(value));
    return self();
  }
  Self& Short(int value) {
    const uint16_t bits = static_cast<uint16_t>(value);
    return Byte(bits >> 8).Byte(bits & 0xFF);
  }
  Self& Long(int64_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    return Short(static_cast<int>(bits >> 16)).Short(static_cast<int>(bits & 0xFFFF));
  }
  Self& Float(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return Long(bits);
  }
  Self& Color(int red, int green, int blue) { return Short(red).Short(green).Short(blue); }
  Self& LittleShort(int value) {
    const uint16_t bits = static_cast<uint16_t>(value);
    return Byte(bits & 0xFF).Byte(bits >> 8);
  }
  Self& LittleLong(uint32_t value) {
    return LittleShort(static_cast<int>(value & 0xFFFF)).LittleShort(static_cast<int>(value >> 16));
  }
  Self& Raw(const void* data, size_t n) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    v.insert(v.end(), bytes, bytes + n);
    return self();
  }
  Self& Raw(const std::string& bytes) { return Raw(bytes.data(), bytes.size()); }
  Self& Raw(const std::vector<uint8_t>& bytes) { return Raw(bytes.data(), bytes.size()); }
  // `text` in a zero-filled field of `field` bytes.
  Self& Text(const std::string& text, size_t field) {
    std::vector<uint8_t> bytes(field, 0);
    std::memcpy(bytes.data(), text.data(), text.size() < field ? text.size() : field);
    return Raw(bytes);
  }
  template <typename Other>
  Self& Add(const ByteWriter<Other>& other) {
    return Raw(other.v);
  }
  size_t size() const { return v.size(); }
  std::string str() const { return std::string(v.begin(), v.end()); }

 private:
  Self& self() { return static_cast<Self&>(*this); }
};
