// Field text to numbers: plain decimals, and feet and inches in the foot-and-inch styles.
#include "geometry/numtext.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "geometry/units.h"

namespace {

constexpr char kFootMark = '\'';
constexpr char kInchMark = '"';
constexpr double kInchesPerFootD = 12.0;

// A copy of the text in the program's own marks ("." decimal, "," thousands), blanks trimmed.
// False when the text does not fit.
bool Normalize(const char* text, char* out, size_t size) {
  if (!text) return false;
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  size_t length = std::strlen(text);
  while (length > 0 && std::isspace(static_cast<unsigned char>(text[length - 1]))) --length;
  if (length >= size) return false;
  std::memcpy(out, text, length);
  out[length] = '\0';
  ConvertFromInternational(out);
  return true;
}

void SkipBlanks(const char** at) {
  while (std::isspace(static_cast<unsigned char>(**at))) ++*at;
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Three digits and no fourth: what follows a thousands mark.
bool IsThousandsGroup(const char* p) {
  return IsDigit(p[0]) && IsDigit(p[1]) && IsDigit(p[2]) && !IsDigit(p[3]);
}

// An unsigned decimal: digits with thousands marks between them, an optional fraction. Moves
// `at` past it; false when no digit was found or a mark is misplaced.
bool ReadUnsigned(const char** at, double* value) {
  const char* p = *at;
  char digits[kFieldTextSize];
  size_t n = 0;
  bool anyDigit = false, point = false;
  for (; *p; ++p) {
    const char c = *p;
    if (IsDigit(c)) {
      anyDigit = true;
      digits[n++] = c;
    } else if (c == '.' && !point) {
      point = true;
      digits[n++] = c;
    } else if (c == ',' && !point && anyDigit && IsThousandsGroup(p + 1)) {
      continue;  // a thousands mark before a group of three digits
    } else {
      break;
    }
    if (n + 1 >= sizeof digits) return false;
  }
  if (!anyDigit) return false;
  digits[n] = '\0';
  *value = std::strtod(digits, nullptr);
  *at = p;
  return true;
}

// Feet and inches, the text after its sign; the result in inches.
bool ReadFeetInches(const char* p, double* inches) {
  double first = 0.0;
  if (!ReadUnsigned(&p, &first)) return false;
  SkipBlanks(&p);
  if (*p == kInchMark) {
    ++p;
    SkipBlanks(&p);
    *inches = first;
    return *p == '\0';
  }
  if (*p == '\0') {
    *inches = first;
    return true;
  }
  // What follows the first number makes it feet: a foot mark, a hyphen, or both.
  bool feet = false;
  if (*p == kFootMark) {
    feet = true;
    ++p;
    SkipBlanks(&p);
  }
  if (*p == '-') {
    feet = true;
    ++p;
    SkipBlanks(&p);
  }
  if (!feet) return false;
  double second = 0.0;
  if (*p) {
    if (!ReadUnsigned(&p, &second)) return false;
    SkipBlanks(&p);
    if (*p == kInchMark) ++p;
    SkipBlanks(&p);
    if (*p) return false;
  }
  *inches = first * kInchesPerFootD + second;
  return true;
}

bool IsFootInchStyle(const DocState* state) {
  return state && (state->readoutStyle == kLastReadoutStyle || state->readoutStyle == kLastReadoutStyle - 1);
}

bool FitsFloat(double v) {
  return std::isfinite(v) && std::fabs(v) <= static_cast<double>(std::numeric_limits<float>::max());
}

// The number after an optional sign; `feetInches` reads the foot-and-inch forms.
bool ReadSigned(const char* text, bool feetInches, double* value) {
  char buffer[kFieldTextSize];
  if (!Normalize(text, buffer, sizeof buffer)) return false;
  const char* p = buffer;
  if (*p == '\0') {
    *value = 0.0;
    return true;
  }
  double sign = 1.0;
  if (*p == '-' || *p == '+') {
    sign = *p == '-' ? -1.0 : 1.0;
    ++p;
    SkipBlanks(&p);
  }
  double magnitude = 0.0;
  if (feetInches) {
    if (!ReadFeetInches(p, &magnitude)) return false;
  } else {
    if (!ReadUnsigned(&p, &magnitude)) return false;
    if (*p) return false;
  }
  *value = sign * magnitude;
  return FitsFloat(*value);
}

}  // namespace

bool ReadNumberText(const char* text, const DocState* state, bool isLength, float* value) {
  const bool feetInches = isLength && IsFootInchStyle(state);
  double v = 0.0;
  if (!ReadSigned(text, feetInches, &v)) return false;
  float result = static_cast<float>(v);
  if (feetInches) result = GetWorldFromInches(result, state);
  if (!std::isfinite(result)) return false;
  if (value) *value = result;
  return true;
}

bool ReadPlainNumberText(const char* text, float* value) {
  double v = 0.0;
  if (!ReadSigned(text, false, &v)) return false;
  if (value) *value = static_cast<float>(v);
  return true;
}

bool ReadWholeText(const char* text, int32_t* value) {
  if (!text) return false;
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  if (*text == '\0') {
    if (value) *value = 0;
    return true;
  }
  const char* p = text;
  if (*p == '-' || *p == '+') ++p;
  if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 10);
  if (errno == ERANGE || v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    return false;
  while (std::isspace(static_cast<unsigned char>(*end))) ++end;
  if (*end) return false;
  if (value) *value = static_cast<int32_t>(v);
  return true;
}

int32_t StepFieldValue(int32_t value, bool up, int32_t low, int32_t high) {
  if (up) return (value < low || value >= high) ? low : value + 1;
  return (value <= low || value > high) ? high : value - 1;
}
