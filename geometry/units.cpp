// Length conversions between page, world and sheet units, and the regional number marks.
#include "geometry/units.h"

#include <cmath>
#include <cstdio>

char gThousandMark = ',';
char gDecimalMark = '.';

float ConvertInchesToPixels(float v) {
  return v * kPageUnitsPerInch;
}
float ConvertMMToInches(float v) {
  return v * kInchesPerMillimetre;
}
float ConvertCMToInches(float v) {
  return v * kInchesPerCentimetre;
}
float ConvertDMToInches(float v) {
  return v * kInchesPerDecimetre;
}
float ConvertMetersToInches(float v) {
  return v * kInchesPerMetre;
}
float ConvertFeetToInches(float v) {
  return v * kInchesPerFoot;
}
float ConvertYardsToInches(float v) {
  return v * kInchesPerYard;
}
float ConvertMilesToInches(float v) {
  return v * kInchesPerMile;
}
float ConvertInchesToMM(float v) {
  return v / kInchesPerMillimetre;
}
float ConvertInchesToCM(float v) {
  return v / kInchesPerCentimetre;
}
float ConvertInchesToDM(float v) {
  return v / kInchesPerDecimetre;
}
float ConvertInchesToMeters(float v) {
  return v / kInchesPerMetre;
}
float ConvertInchesToFeet(float v) {
  return v / kInchesPerFoot;
}
float ConvertInchesToYards(float v) {
  return v / kInchesPerYard;
}
float ConvertInchesToMiles(float v) {
  return v / kInchesPerMile;
}

float ConvertUnitToInches(float v, int unit) {
  switch (unit) {
    case kUnitInches:
      return v;
    case kUnitFeet:
      return ConvertFeetToInches(v);
    case kUnitYards:
      return ConvertYardsToInches(v);
    case kUnitMiles:
      return ConvertMilesToInches(v);
    case kUnitMillimetres:
      return ConvertMMToInches(v);
    case kUnitCentimetres:
      return ConvertCMToInches(v);
    case kUnitDecimetres:
      return ConvertDMToInches(v);
    case kUnitMetres:
      return ConvertMetersToInches(v);
    default:
      return v;
  }
}

float ConvertInchesToUnit(float v, int unit) {
  switch (unit) {
    case kUnitInches:
      return v;
    case kUnitFeet:
      return ConvertInchesToFeet(v);
    case kUnitYards:
      return ConvertInchesToYards(v);
    case kUnitMiles:
      return ConvertInchesToMiles(v);
    case kUnitMillimetres:
      return ConvertInchesToMM(v);
    case kUnitCentimetres:
      return ConvertInchesToCM(v);
    case kUnitDecimetres:
      return ConvertInchesToDM(v);
    case kUnitMetres:
      return ConvertInchesToMeters(v);
    default:
      return v;
  }
}

float GetInchesFromWorld(float v, const DocState* state) {
  return state ? ConvertUnitToInches(v, state->worldUnit) : v;
}

float GetWorldFromInches(float v, const DocState* state) {
  return state ? ConvertInchesToUnit(v, state->worldUnit) : v;
}

float GetInchesFromScreen(float v, const DocState* state) {
  return state ? ConvertUnitToInches(v, state->screenUnit) : v;
}

void ComputeScaleFactor(DocState* state) {
  if (!state) return;
  const float sheetInches = GetInchesFromScreen(state->screenScale, state);
  if (sheetInches == 0.0f) return;
  state->scaleFactor = std::fabs(GetInchesFromWorld(state->worldScale, state) / sheetInches);
}

float ConvertWorldToScreen(float v, const DocState* state, bool zoom) {
  if (!state || state->scaleFactor == 0.0f) return v;
  float page = GetInchesFromWorld(v, state) / state->scaleFactor * kPageUnitsPerInch;
  if (zoom) page *= state->zoomFactor;
  return page;
}

// With `zoom` the result is multiplied by the zoom as in ConvertWorldToScreen; the readouts
// that pass it divide the zoom out again before showing the value.
float ConvertScreenToWorld(float v, const DocState* state, bool zoom) {
  if (!state) return v;
  float world = GetWorldFromInches(state->scaleFactor * v / kPageUnitsPerInch, state);
  if (zoom) world *= state->zoomFactor;
  return world;
}

void ConvertToInternational(char* text) {
  if (!text) return;
  for (char* c = text; *c; ++c) {
    if (*c == ',')
      *c = gThousandMark;
    else if (*c == '.')
      *c = gDecimalMark;
  }
}

void ConvertFromInternational(char* text) {
  if (!text) return;
  for (char* c = text; *c; ++c) {
    if (*c == gThousandMark)
      *c = ',';
    else if (*c == gDecimalMark)
      *c = '.';
  }
}

namespace {

// Whole-number readouts beyond this are shown at this size rather than overflowing.
constexpr double kLargestWholeReadout = 1e15;
constexpr double kInchesPerFootWhole = 12.0;

// The integer part (toward zero), kept within what the text can show.
long long Truncated(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<long long>(
      std::trunc(std::fmin(std::fmax(v, -kLargestWholeReadout), kLargestWholeReadout)));
}

}  // namespace

void ConvertFloatToString(float value, char* text, size_t size, const DocState* state, bool isLength) {
  if (!text || size == 0) return;
  static const char* const kDecimals[] = {"%0.0f", "%0.1f", "%0.2f", "%0.3f", "%0.4f"};
  const int style = state ? state->readoutStyle : 0;
  const int decimals = style - kFirstReadoutStyle;
  if (decimals >= 0 && decimals < 5) {
    std::snprintf(text, size, kDecimals[decimals], static_cast<double>(value));
  } else if (isLength && style == kFirstReadoutStyle + 5) {
    // Whole inches, rounded to the nearest inch (half away from zero) as the dimension texts
    // round them.
    const double inches = GetInchesFromWorld(value, state);
    const long long whole = Truncated(std::floor(std::fabs(inches) + 0.5));
    std::snprintf(text, size, "%s%lld\"", inches < 0 && whole ? "-" : "", whole);
  } else if (isLength && style == kLastReadoutStyle) {
    // The total is rounded to whole inches first and then split, so 11.9" reads 1'-0" and never
    // 12"; the sign goes once in front.
    const double inches = GetInchesFromWorld(value, state);
    const long long total = Truncated(std::floor(std::fabs(inches) + 0.5));
    const long long inchesPerFoot = static_cast<long long>(kInchesPerFootWhole);
    const long long wholeFeet = total / inchesPerFoot;
    const long long rest = total % inchesPerFoot;
    const char* sign = inches < 0 && total ? "-" : "";
    if (wholeFeet)
      std::snprintf(text, size, "%s%lld'-%lld\"", sign, wholeFeet, rest);
    else
      std::snprintf(text, size, "%s%lld\"", sign, rest);
  } else {
    std::snprintf(text, size, "%0.2f", static_cast<double>(value));
  }
  ConvertToInternational(text);
}
