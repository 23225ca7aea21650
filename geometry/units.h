// Length units: page units (1/72 inch of the sheet), world units (what the user reads, at the
// drawing scale) and the number text of the user's regional settings.
#pragma once

#include <cstddef>

#include "model/docstate.h"

// Unit codes of worldUnit and screenUnit.
enum UnitCode : int16_t {
  kUnitInches = 1,
  kUnitFeet = 2,
  kUnitYards = 3,
  kUnitMiles = 4,
  kUnitMillimetres = 5,
  kUnitCentimetres = 6,
  kUnitDecimetres = 7,
  kUnitMetres = 8,
};

constexpr float kPageUnitsPerInch = 72.0f;
// Inches per unit. The metric factors are the rounded values drawings were always made with.
constexpr float kInchesPerFoot = 12.0f;
constexpr float kInchesPerYard = 36.0f;
constexpr float kInchesPerMile = 63360.0f;
constexpr float kInchesPerMillimetre = 0.03937f;
constexpr float kInchesPerCentimetre = 0.3937f;
constexpr float kInchesPerDecimetre = 3.937f;
constexpr float kInchesPerMetre = 39.37f;

float ConvertInchesToPixels(float v);
float ConvertMMToInches(float v);
float ConvertCMToInches(float v);
float ConvertDMToInches(float v);
float ConvertMetersToInches(float v);
float ConvertFeetToInches(float v);
float ConvertYardsToInches(float v);
float ConvertMilesToInches(float v);
float ConvertInchesToMM(float v);
float ConvertInchesToCM(float v);
float ConvertInchesToDM(float v);
float ConvertInchesToMeters(float v);
float ConvertInchesToFeet(float v);
float ConvertInchesToYards(float v);
float ConvertInchesToMiles(float v);

// A value in `unit` to inches and back; a code outside 1..8 returns v.
float ConvertUnitToInches(float v, int unit);
float ConvertInchesToUnit(float v, int unit);

float GetInchesFromWorld(float v, const DocState* state);
float GetWorldFromInches(float v, const DocState* state);
float GetInchesFromScreen(float v, const DocState* state);
void ComputeScaleFactor(DocState* state);
// A world length to page units (screen pixels with `zoom`), and a page length to world units.
float ConvertWorldToScreen(float v, const DocState* state, bool zoom);
float ConvertScreenToWorld(float v, const DocState* state, bool zoom);

// The user's thousands and decimal marks, read from the regional settings at start-up.
extern char gThousandMark;
extern char gDecimalMark;
// In place: "," and "." to the user's marks, and back.
void ConvertToInternational(char* text);
void ConvertFromInternational(char* text);

// A length (isLength) or an angle as the user reads it, by the drawing's readoutStyle: 0 to 4
// decimals, whole inches, or feet and inches; angles never take the foot-and-inch forms. The
// text is cut to `size` bytes and carries the user's number marks. No state gives "%0.2f".
void ConvertFloatToString(float value, char* text, size_t size, const DocState* state, bool isLength);
