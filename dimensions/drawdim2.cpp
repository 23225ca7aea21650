// Dimension readouts: value formatting, tolerance layout and the display-flag operations.
#include "dimensions/drawdim2.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "geometry/gnrlmath.h"
#include "geometry/units.h"

namespace {

constexpr int kToleranceFirstBit = 9;
constexpr int kReadoutFirstBit = 12;
constexpr int kReadoutCount = 7;
constexpr int kDecimalReadouts = 5;  // bits 12..16: 0 to 4 decimals with the unit suffix
constexpr int kWholeInchReadout = 5;
constexpr int kFeetInchReadout = 6;
constexpr int kInchesPerFootWhole = 12;
constexpr float kHalfTurnDegrees = 180.0f;
constexpr float kFullTurnDegrees = 360.0f;

const char* const kDecimalFormats[kDecimalReadouts] = {"%0.0f", "%0.1f", "%0.2f", "%0.3f", "%0.4f"};
constexpr const char* kPlainFormat = "%0.2f";

// The texts of the string table's unit suffixes (ids 73..80), by world unit 1..8.
const char* const kUnitSuffixes[] = {"\"", "'", " yd.", " mi.", " mm.", " cm.", " dm.", " m."};

// What the formats write besides the units' suffixes and the user's number marks: digits, signs,
// the C formats' own marks, the feet and inches marks, and the space before a tolerance.
constexpr char kReadoutMarks[] = "0123456789+-.,'\" ";

// The readout chosen by the flag word: 0..6 for bits 12..18, -1 for none.
int ReadoutIndex(uint32_t flags) {
  for (int i = 0; i < kReadoutCount; ++i)
    if (flags & (1u << (kReadoutFirstBit + i))) return i;
  return -1;
}

// Appends what fits of `tail`; the text stays NUL-terminated within `capacity`.
void Append(char* text, size_t capacity, const char* tail) {
  const size_t used = std::strlen(text);
  if (used + 1 >= capacity) return;
  size_t n = std::strlen(tail);
  if (n > capacity - used - 1) n = capacity - used - 1;
  std::memcpy(text + used, tail, n);
  text[used + n] = '\0';
}

void Join(char* out, size_t capacity, const char* a, const char* b) {
  out[0] = '\0';
  Append(out, capacity, a);
  Append(out, capacity, b);
}

// A number in `format` with the user's decimal mark; the unit suffix goes on after the
// conversion, so the full stop of " mm." stays a full stop.
void FormatNumber(char* out, const char* format, double value, bool suffix) {
  std::snprintf(out, kReadoutTextSize, format, value);
  ConvertToInternational(out);
  if (suffix) AppendUnitToString(out, kReadoutTextSize);
}

// Whole inches, rounded half away from zero.
long WholeInches(double inches) {
  const double rounded = std::floor(std::fabs(inches) + 0.5);
  const long whole = rounded > 2e9 ? 2000000000L : static_cast<long>(rounded);
  return inches < 0 ? -whole : whole;
}

// Feet and inches from the rounded total, so 13 inches reads 1'-1" and 11.9 inches 1'-0".
void FormatFeetAndInches(char* out, double inches) {
  const long total = WholeInches(inches);
  const long magnitude = total < 0 ? -total : total;
  const long feet = magnitude / kInchesPerFootWhole, rest = magnitude % kInchesPerFootWhole;
  const char* sign = total < 0 ? "-" : "";
  if (feet != 0)
    std::snprintf(out, kReadoutTextSize, "%s%ld'-%ld\"", sign, feet, rest);
  else
    std::snprintf(out, kReadoutTextSize, "%s%ld\"", sign, rest);
}

}  // namespace

ToleranceLayout ToleranceLayoutOf(uint32_t dimFlags) {
  if (dimFlags & (1u << kToleranceFirstBit)) return kToleranceSingle;
  if (dimFlags & (1u << (kToleranceFirstBit + 1))) return kToleranceDouble;
  if (dimFlags & (1u << (kToleranceFirstBit + 2))) return kToleranceLimiting;
  return kToleranceNone;
}

float DimensionLengthValue(float x1, float y1, float x2, float y2, const DocState* state) {
  return ConvertScreenToWorld(GetLineLength(x1, y1, x2, y2), state, false);
}

float DimensionAngleValue(float a1, float a2) {
  float value = static_cast<float>((a2 - a1) * kRadiansToDegrees);
  if (value > kHalfTurnDegrees)
    value = kFullTurnDegrees - value;
  else if (value < -kHalfTurnDegrees)
    value += kFullTurnDegrees;
  return std::fabs(value);
}

bool MeasureDimension(const ObjectRec* object, const DocState* state, float* value, bool* angle) {
  if (!object || !IsDimensionKind(object->kind) || !value || !angle) return false;
  const PointRec* p[3] = {object->firstPoint, nullptr, nullptr};
  for (int i = 1; i < 3 && p[i - 1]; ++i) p[i] = p[i - 1]->nextPoint;
  *angle = object->kind == kAngleDimKind;
  if (*angle) {
    if (!p[2]) return false;
    *value = DimensionAngleValue(GetLineLengthAndAngle(p[0]->x, p[0]->y, p[1]->x, p[1]->y, nullptr),
                                 GetLineLengthAndAngle(p[0]->x, p[0]->y, p[2]->x, p[2]->y, nullptr));
    return true;
  }
  // A linear dimension reads its dimension line (the second and third points), the others the
  // span of their first two.
  const bool linear = object->kind <= kLengthDimKind;
  const PointRec* from = linear ? p[1] : p[0];
  const PointRec* to = linear ? p[2] : p[1];
  if (!from || !to) return false;
  *value = DimensionLengthValue(from->x, from->y, to->x, to->y, state);
  return true;
}

bool IsReadoutCharacter(char c) {
  if (c == '\0') return false;
  if (std::strchr(kReadoutMarks, c) || c == gDecimalMark || c == gThousandMark) return true;
  for (const char* suffix : kUnitSuffixes)
    if (std::strchr(suffix, c)) return true;
  return false;
}

const char* UnitSuffix(int worldUnit) {
  if (worldUnit < kUnitInches || worldUnit > kUnitMetres) return "";
  return kUnitSuffixes[worldUnit - kUnitInches];
}

void AppendUnitToString(char* text, size_t capacity) {
  if (!text || !gCurDocument || !gCurDocument->docState) return;
  Append(text, capacity, UnitSuffix(gCurDocument->docState->worldUnit));
}

namespace {

// The readout strings; with `placedOnly`, only those the tolerance layout places, the others
// left empty (a readout formats five numbers, and without tolerances it shows one).
void FormatStrings(float value, bool angle, uint32_t dimFlags, float upperTolerance, float lowerTolerance,
                   const DocState* state, bool placedOnly, DimensionStrings* out) {
  if (!out) return;
  const ToleranceLayout layout = ToleranceLayoutOf(dimFlags);
  const bool limits = !placedOnly || layout == kToleranceLimiting;
  const bool plain = !placedOnly || layout != kToleranceLimiting;
  const bool upper = !placedOnly || layout == kToleranceSingle || layout == kToleranceDouble;
  const bool lower = !placedOnly || layout == kToleranceDouble;
  const int readout = ReadoutIndex(dimFlags);
  const bool decimal = readout >= 0 && readout < kDecimalReadouts;
  const bool suffix = decimal && !angle;
  const char* format = decimal ? kDecimalFormats[readout] : kPlainFormat;
  const double v = value, up = upperTolerance, lo = lowerTolerance;
  *out->value = *out->upper = *out->lower = *out->maximum = *out->minimum = '\0';
  if (plain && !angle && readout == kWholeInchReadout)
    std::snprintf(out->value, kReadoutTextSize, "%ld\"", WholeInches(GetInchesFromWorld(value, state)));
  else if (plain && !angle && readout == kFeetInchReadout)
    FormatFeetAndInches(out->value, GetInchesFromWorld(value, state));
  else if (plain)
    FormatNumber(out->value, format, v, suffix);
  if (upper) FormatNumber(out->upper, format, up, false);
  if (lower) FormatNumber(out->lower, format, lo, false);
  if (limits) {
    FormatNumber(out->maximum, format, v + up, suffix);
    FormatNumber(out->minimum, format, v - lo, suffix);
  }
}

}  // namespace

void FormatDimensionStrings(float value, bool angle, uint32_t dimFlags, float upperTolerance,
                            float lowerTolerance, const DocState* state, DimensionStrings* out) {
  FormatStrings(value, angle, dimFlags, upperTolerance, lowerTolerance, state, false, out);
}

void FormatPlacedStrings(float value, bool angle, uint32_t dimFlags, float upperTolerance,
                         float lowerTolerance, const DocState* state, DimensionStrings* out) {
  FormatStrings(value, angle, dimFlags, upperTolerance, lowerTolerance, state, true, out);
}

void PlaceReadout(const DimensionStrings& s, uint32_t dimFlags, const ReadoutMetrics& m, char* joined,
                  ReadoutPlacement* out) {
  *out = ReadoutPlacement{};
  auto width = [&m](const char* text) { return m.widthOf ? m.widthOf(text, m.context) : 0; };
  const int32_t lineHeight = m.ascent + m.descent + m.leading;
  const int32_t twoLines = 2 * lineHeight - m.descent;
  switch (ToleranceLayoutOf(dimFlags)) {
    case kToleranceNone:
      out->width = width(s.value);
      out->height = lineHeight;
      out->lines[0] = {s.value, 0, m.descent};
      break;
    case kToleranceSingle:
      Join(joined, kReadoutTextSize, s.value, "+-");
      Append(joined, kReadoutTextSize, s.upper);
      out->width = width(joined);
      out->height = lineHeight;
      out->lines[0] = {joined, 0, m.descent};
      break;
    case kToleranceDouble: {
      // The upper and lower tolerances stand one over the other right of the value; `joined`
      // holds both, NUL-separated.
      const int half = static_cast<int>(kReadoutTextSize / 2);
      Join(joined, half, " +", s.upper);
      Join(joined + half, half, " -", s.lower);
      const int32_t wv = width(s.value), wu = width(joined), wl = width(joined + half);
      out->width = wv + (wu > wl ? wu : wl);
      out->height = twoLines;
      out->lines[0] = {s.value, 0, twoLines / 2 - 2 * m.descent};
      out->lines[1] = {joined, wv, twoLines / 2 + 2 * m.leading};
      out->lines[2] = {joined + half, wv, m.descent};
      break;
    }
    case kToleranceLimiting: {
      const int32_t wmax = width(s.maximum), wmin = width(s.minimum);
      out->width = wmax > wmin ? wmax : wmin;
      out->height = twoLines;
      out->lines[0] = {s.maximum, 0, twoLines / 2 + 2 * m.leading};
      out->lines[1] = {s.minimum, 0, m.descent};
      break;
    }
  }
}

int32_t ScaledFontHeight(int32_t height, float scale) {
  const double scaled = static_cast<double>(height) * scale - 0.5;
  int32_t h = 0;
  if (std::isfinite(scaled) && std::fabs(scaled) < 1e6) h = static_cast<int32_t>(scaled);
  if (h == 0) h = height < 0 ? -1 : 1;
  return h;
}

namespace {

DimInfo* EditableDimInfo(ObjectRec* object) {
  if (!object || !IsDimensionOrLeaderKind(object->kind)) return nullptr;
  return DimInfoOf(object);
}

bool ReplaceBits(ObjectRec* object, uint32_t mask, uint32_t bits) {
  DimInfo* info = EditableDimInfo(object);
  if (!info) return false;
  info->dimFlags = (info->dimFlags & ~mask) | (bits & mask);
  return true;
}

}  // namespace

bool DimensionTextFramed(ObjectRec* object) {
  const DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  if (!state) return false;
  return ReplaceBits(object, kDimTextFrame, state->dimFlags);
}

bool DimensionArrowsInside(ObjectRec* object) {
  return ReplaceBits(object, kDimArrowsOut, 0);
}

bool DimensionArrowsOutside(ObjectRec* object) {
  return ReplaceBits(object, kDimArrowsOut, kDimArrowsOut);
}

bool DimensionReadoutFlag(ObjectRec* object, int id) {
  const bool known = id >= kFirstReadoutStyle && id <= kLastReadoutStyle;
  return ReplaceBits(object, kDimReadoutBits, known ? 1u << (kReadoutFirstBit + id - kFirstReadoutStyle) : 0);
}

bool DimensionArrowFlag(ObjectRec* object, int id) {
  const bool known = id >= kFirstArrowStyle && id <= kLastArrowStyle;
  return ReplaceBits(object, kDimArrowBits, known ? 1u << (id - kFirstArrowStyle) : 0);
}

bool DimensionToleranceFlag(ObjectRec* object, int id) {
  const bool known = id >= kSingleTolerance && id <= kLimitingTolerance;
  return ReplaceBits(object, kDimToleranceBits,
                     known ? 1u << (kToleranceFirstBit + id - kSingleTolerance) : 0);
}

namespace {

constexpr int kArrowsInCommand = 5047;
constexpr int kArrowsOutCommand = 5048;
constexpr int kTextFrameCommand = 5050;
constexpr int kCenterTextCommand = 5052;

}  // namespace

bool SetDocStateDimensionStyle(DocState* state, int id) {
  if (!state) return false;
  SelectionState& summary = state->selectionState;
  if (id == kArrowsInCommand || id == kArrowsOutCommand) {
    const bool out = id == kArrowsOutCommand;
    state->dimFlags = out ? (state->dimFlags | kDimArrowsOut) : (state->dimFlags & ~kDimArrowsOut);
    summary.arrowsOut = out ? 1 : 0;
    summary.arrowsOutUniform = 1;
  } else if (id >= kFirstArrowStyle && id <= kLastArrowStyle) {
    state->arrowStyle = static_cast<int16_t>(id);
    summary.arrowStyle = state->arrowStyle;
    summary.arrowStyleUniform = 1;
    SetDocStateDimensionArrowFlags(state);
  } else if (id == kCenterTextCommand) {
    state->dimFlags ^= kDimCenterText;
  } else if (id == kTextFrameCommand) {
    state->dimFlags ^= kDimTextFrame;
    summary.textFrame = summary.textFrame ? 0 : 1;
    summary.textFrameUniform = 1;
  } else if (id >= kSingleTolerance && id <= kLimitingTolerance) {
    const uint32_t bit = 1u << (kToleranceFirstBit + id - kSingleTolerance);
    state->toleranceStyle = (state->dimFlags & bit) ? kNoTolerance : static_cast<int16_t>(id);
    summary.toleranceStyle = summary.toleranceStyle == id ? kNoTolerance : static_cast<int16_t>(id);
    summary.toleranceStyleUniform = 1;
    SetDocStateDimensionToleranceFlags(state);
  } else if (id >= kFirstReadoutStyle && id <= kLastReadoutStyle) {
    state->readoutStyle = static_cast<int16_t>(id);
    SetDocStateDimensionReadoutFlags(state);
  } else {
    return false;
  }
  return true;
}

bool ApplyDimensionStyle(ObjectRec* object, int id) {
  if (id == kArrowsInCommand) return DimensionArrowsInside(object);
  if (id == kArrowsOutCommand) return DimensionArrowsOutside(object);
  if (id == kTextFrameCommand) return DimensionTextFramed(object);
  if (id == kNoTolerance || (id >= kSingleTolerance && id <= kLimitingTolerance))
    return DimensionToleranceFlag(object, id);
  if (id >= kFirstReadoutStyle && id <= kLastReadoutStyle) return DimensionReadoutFlag(object, id);
  if (id >= kFirstArrowStyle && id <= kLastArrowStyle) return DimensionArrowFlag(object, id);
  return false;
}
