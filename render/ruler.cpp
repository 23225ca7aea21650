// The rulers' graduation and cursor marks.
#include "render/ruler.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "geometry/units.h"
#include "geometry/zoomhdlr.h"

namespace {

constexpr float kMinScreenScale = 0.5f;
constexpr float kLargestScale = 1e9f;
constexpr float kPageUnitsPer2mm = 5.669291338582f;
constexpr float kPageUnitsPerCm = 28.34645669291f;
constexpr int kMillimetreMajor = 10;
constexpr long kMillimetresPerMajor = 20;  // a major tick every 10 steps of 2 mm
constexpr int kCentimetreDivisions[] = {5, 4, 3, 2};
constexpr int kLargestInchDivision = 16;
// More steps than any sheet needs: a damaged page rectangle cannot keep the walk going.
constexpr long kMostSteps = 200000;

constexpr int kMarkLength = 20;
constexpr COLORREF kRulerBackColour = RGB(160, 160, 164);
constexpr int kRulerFontHeight = -11;
constexpr BYTE kRulerPitchAndFamily = 0x35;
constexpr char kRulerFace[] = "Arial";

// Label digit positions.
constexpr int kHorizFirstDigitDx = -8;
constexpr int kHorizSecondDigitDx = 2;
constexpr int kHorizDigitAdvance = 7;
constexpr int kVertFirstDigitDy = -12;
constexpr int kVertSecondDigitDy = 1;
constexpr int kOriginLabelOffset = 8;

int VertDigitAdvance(RulerUnit unit) {
  switch (unit) {
    case kRulerMillimetres:
      return 11;
    case kRulerCentimetres:
      return 7;
    default:
      return 10;
  }
}

int Round(float v) {
  return RoundToInt(v);
}

void Segment(HDC dc, bool vertical, int32_t along1, int32_t across1, int32_t along2, int32_t across2) {
  if (vertical) {
    MoveToEx(dc, across1, along1, nullptr);
    LineTo(dc, across2, along2);
  } else {
    MoveToEx(dc, along1, across1, nullptr);
    LineTo(dc, along2, across2);
  }
}

void Character(HDC dc, bool vertical, int32_t along, int32_t across, char c) {
  if (vertical)
    TextOutA(dc, across, along, &c, 1);
  else
    TextOutA(dc, along, across, &c, 1);
}

// The label's digits one at a time around the tick at `at`.
void Label(HDC dc, bool vertical, RulerUnit unit, int32_t at, long value) {
  char digits[24];
  const int n = std::snprintf(digits, sizeof digits, "%ld", value);
  int32_t pos = at + (vertical ? kVertFirstDigitDy : kHorizFirstDigitDx);
  for (int i = 0; i < n; ++i) {
    Character(dc, vertical, pos, 0, digits[i]);
    if (i == 0)
      pos = at + (vertical ? kVertSecondDigitDy : kHorizSecondDigitDx);
    else
      pos += vertical ? VertDigitAdvance(unit) : kHorizDigitAdvance;
  }
}

}  // namespace

bool ComputeRulerScale(const DocState* state, RulerScale* out) {
  if (!state || !out) return false;
  double a = state->screenScale, b = state->worldScale;
  if (!std::isfinite(a) || !std::isfinite(b) || !(a > 0.0) || std::fabs(b) > kLargestScale) return false;
  if (a < kMinScreenScale) {
    b *= kMinScreenScale / a;
    a = kMinScreenScale;
  }
  if (b != std::trunc(b)) {
    const double n = std::trunc(b) + 1.0;
    a *= n / b;
    b = n;
  }
  int unit = state->screenUnit;
  if (unit > 1) unit -= 3;
  const int divisions = state->minorDivisions;
  RulerScale s = {};
  switch (unit) {
    case kRulerMillimetres:
      s.majorCount = kMillimetreMajor;
      s.step = static_cast<float>(a * kPageUnitsPer2mm);
      s.valuePerMajor = static_cast<long>(b) * kMillimetresPerMajor;
      break;
    case kRulerCentimetres:
      s.majorCount = 1;
      for (int k : kCentimetreDivisions)
        if (divisions % k == 0) {
          s.majorCount = k;
          break;
        }
      s.step = static_cast<float>(a * kPageUnitsPerCm / s.majorCount);
      s.valuePerMajor = static_cast<long>(b);
      break;
    case kRulerInches:
      s.majorCount = 1;
      for (int k = kLargestInchDivision; k >= 2; --k)
        if (divisions % k == 0) {
          s.majorCount = k;
          break;
        }
      s.step = static_cast<float>(a * kPageUnitsPerInch / s.majorCount);
      s.valuePerMajor = static_cast<long>(b);
      break;
    default:
      return false;
  }
  if (!std::isfinite(s.step) || !(s.step > 0.0f)) return false;
  s.unit = static_cast<RulerUnit>(unit);
  *out = s;
  return true;
}

int MinorTickHeight(RulerUnit unit, int k, int step) {
  constexpr int kShort = 5, kMiddle = 10, kLong = 15, kSixteenth = 3, kEighth = 6;
  if (unit == kRulerMillimetres) return step == 5 ? kMiddle : kShort;
  if (unit == kRulerCentimetres) return (k == 4 && step == 2) ? kMiddle : kShort;
  switch (k) {
    case 16:
      if (step == 8) return kLong;
      if (step % 4 == 0) return kMiddle;
      if (step % 2 == 0) return kEighth;
      return kSixteenth;
    case 12:
      if (step == 6) return kLong;
      return step % 3 == 0 ? kMiddle : kShort;
    case 8:
      if (step == 4) return kLong;
      return step % 2 == 0 ? kMiddle : kShort;
    case 14:
    case 10:
    case 6:
    case 4:
    case 2:
      return step == k / 2 ? kMiddle : kShort;
    default:
      return kShort;
  }
}

void SetupRulerContext(HDC dc) {
  if (!dc) return;
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, kRulerBackColour);
  LOGFONTA font = {};
  font.lfHeight = kRulerFontHeight;
  font.lfPitchAndFamily = kRulerPitchAndFamily;
  std::memcpy(font.lfFaceName, kRulerFace, sizeof kRulerFace);
  if (HFONT created = CreateFontIndirectA(&font)) SelectObject(dc, created);
}

void ReleaseRulerContext(HDC dc) {
  if (!dc) return;
  HGDIOBJ font = SelectObject(dc, GetStockObject(SYSTEM_FONT));
  if (font && font != GetStockObject(SYSTEM_FONT)) DeleteObject(font);
}

void DrawRulerGraduation(HDC dc, const DocState* state, bool vertical, int32_t thickness) {
  RulerScale scale;
  if (!dc || !ComputeRulerScale(state, &scale)) return;
  const FloatRect& page = state->pageRect;
  const int32_t low = Round(vertical ? page.top : page.left);
  const int32_t high = Round(vertical ? page.bottom : page.right);
  const int32_t origin = Round(vertical ? state->originV : state->originH);
  const int32_t bottom = thickness;

  HGDIOBJ savedPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  if (origin != 0) {
    const int32_t at = ZoomL(origin);
    Character(dc, vertical, at - kOriginLabelOffset, 0, '0');
    Segment(dc, vertical, at, 0, at, bottom);
  } else {
    Character(dc, vertical, 0, 0, '0');
  }

  int count = 0;
  long value = 0;
  auto tick = [&](float position) {
    const int32_t at = ZoomL(static_cast<int32_t>(position));
    if (++count == scale.majorCount) {
      value += scale.valuePerMajor;
      Label(dc, vertical, scale.unit, at, value);
      Segment(dc, vertical, at, 0, at, bottom);
      count = 0;
    } else {
      const int h = MinorTickHeight(scale.unit, scale.majorCount, count);
      Segment(dc, vertical, at, bottom - h, at, bottom);
    }
  };
  // Each walk starts at the origin with its own count; the last tick may lie a step past the end.
  float position = static_cast<float>(origin);
  for (long n = 0; static_cast<int32_t>(position) > low && n < kMostSteps; ++n) {
    position -= scale.step;
    tick(position);
  }
  count = 0;
  value = 0;
  position = static_cast<float>(origin);
  for (long n = 0; static_cast<int32_t>(position) < high && n < kMostSteps; ++n) {
    position += scale.step;
    tick(position);
  }
  SelectObject(dc, savedPen);
}

void DrawRulerUnitName(HDC dc, const DocState* state) {
  if (!dc || !state) return;
  switch (state->screenUnit) {
    case kUnitMillimetres:
      TextOutA(dc, 1, 1, "mm", 2);
      break;
    case kUnitCentimetres:
      TextOutA(dc, 3, 1, "cm", 2);
      break;
    case kUnitInches:
      TextOutA(dc, 5, 2, "in", 2);
      break;
    default:
      break;
  }
}

void DrawRulerMark(HDC dc, bool vertical, int32_t position, int32_t start) {
  if (!dc) return;
  HPEN pen = CreatePen(PS_DOT, 0, RGB(0, 0, 0));
  if (!pen) return;
  HGDIOBJ savedPen = SelectObject(dc, pen);
  const int savedRop = SetROP2(dc, R2_NOT);
  Segment(dc, vertical, position, start, position, start + kMarkLength);
  SetROP2(dc, savedRop);
  SelectObject(dc, savedPen);
  DeleteObject(pen);
}
