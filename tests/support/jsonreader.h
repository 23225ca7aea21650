// A small strict JSON reader for the tests: the whole text must be one value, with nothing
// outside the grammar; \u escapes are taken as the byte of that value (the converter writes
// bytes only). Members keep their order.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

struct Json {
  enum Type { kNull, kBool, kNumber, kString, kArray, kObject } type = kNull;
  double number = 0;
  std::string text;
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;

  const Json& operator[](const char* name) const {
    static const Json missing;
    for (const auto& member : members) {
      if (member.first == name) return member.second;
    }
    return missing;
  }
  const Json& operator[](int index) const {
    static const Json missing;
    return index >= 0 && static_cast<size_t>(index) < items.size() ? items[static_cast<size_t>(index)]
                                                                   : missing;
  }
  bool Has(const char* name) const {
    for (const auto& member : members) {
      if (member.first == name) return true;
    }
    return false;
  }
  size_t size() const { return type == kArray ? items.size() : members.size(); }
};

class JsonReader {
 public:
  explicit JsonReader(const std::string& text) : text_(text) {}
  bool Parse(Json* value) {
    if (!Value(value, 0)) return false;
    Space();
    return at_ == text_.size();
  }

 private:
  static constexpr int kMaxDepth = 64;
  void Space() {
    while (at_ < text_.size() && std::strchr(" \t\r\n", text_[at_])) ++at_;
  }
  bool Literal(const char* word) {
    const size_t length = std::strlen(word);
    if (text_.compare(at_, length, word) != 0) return false;
    at_ += length;
    return true;
  }
  bool String(std::string* out) {
    if (text_[at_] != '"') return false;
    ++at_;
    while (at_ < text_.size() && text_[at_] != '"') {
      const unsigned char c = static_cast<unsigned char>(text_[at_++]);
      if (c < 0x20) return false;
      if (c != '\\') {
        *out += static_cast<char>(c);
        continue;
      }
      if (at_ >= text_.size()) return false;
      const char escape = text_[at_++];
      const char* simple = std::strchr("\"\\/bfnrt", escape);
      if (!simple || escape == 0) {
        if (escape != 'u' || at_ + 4 > text_.size()) return false;
        const unsigned code = static_cast<unsigned>(std::stoul(text_.substr(at_, 4), nullptr, 16));
        at_ += 4;
        if (code > 0xFF) return false;  // the converter writes bytes only
        *out += static_cast<char>(code);
        continue;
      }
      static const char kDecoded[] = "\"\\/\b\f\n\r\t";
      *out += kDecoded[simple - "\"\\/bfnrt"];
    }
    if (at_ >= text_.size()) return false;
    ++at_;
    return true;
  }
  bool Value(Json* value, int depth) {
    Space();
    if (at_ >= text_.size() || depth > kMaxDepth) return false;
    const char c = text_[at_];
    if (c == '{' || c == '[') {
      const bool isObject = c == '{';
      value->type = isObject ? Json::kObject : Json::kArray;
      ++at_;
      Space();
      if (at_ < text_.size() && text_[at_] == (isObject ? '}' : ']')) return ++at_, true;
      for (;;) {
        Json item;
        if (isObject) {
          std::string name;
          Space();
          if (!String(&name)) return false;
          Space();
          if (at_ >= text_.size() || text_[at_++] != ':') return false;
          if (!Value(&item, depth + 1)) return false;
          value->members.emplace_back(name, std::move(item));
        } else {
          if (!Value(&item, depth + 1)) return false;
          value->items.push_back(std::move(item));
        }
        Space();
        if (at_ >= text_.size()) return false;
        if (text_[at_] == ',') {
          ++at_;
          continue;
        }
        return text_[at_++] == (isObject ? '}' : ']');
      }
    }
    if (c == '"') return value->type = Json::kString, String(&value->text);
    if (Literal("null")) return value->type = Json::kNull, true;
    if (Literal("true")) return value->type = Json::kBool, value->number = 1, true;
    if (Literal("false")) return value->type = Json::kBool, true;
    const size_t start = at_;
    if (text_[at_] == '-') ++at_;
    while (at_ < text_.size() && std::strchr("0123456789.eE+-", text_[at_])) ++at_;
    if (at_ == start) return false;
    value->type = Json::kNumber;
    value->number = std::stod(text_.substr(start, at_ - start));
    return true;
  }

  const std::string& text_;
  size_t at_ = 0;
};
