// Reading the numbers a user types into a dialog field, in the user's number marks and the
// drawing's readout style: the checked counterpart of ConvertFloatToString.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/docstate.h"

// Longest field text read; longer text is refused as not a number.
constexpr size_t kFieldTextSize = 256;

// Reads a length (isLength) or a plain number from `text` into `value`. The text carries the
// user's decimal and thousands marks; blanks around it are ignored and empty text reads as 0.
// One sign may lead. In the two foot-and-inch readout styles a length is inches, or feet and
// inches: "66", "66\"", "5'", "5'6\"", "5'-6\"", "5' 6", "5-6" (feet, a hyphen, inches); the result
// is converted from inches to the drawing's world unit. Everywhere else only a plain decimal
// number is read, and foot or inch marks count as junk. False (value untouched) on any junk, or
// a result that is not a finite float.
bool ReadNumberText(const char* text, const DocState* state, bool isLength, float* value);

// Reads a whole number: blanks, one sign and digits only. False (value untouched) on anything
// else or a value outside 32 bits.
bool ReadWholeText(const char* text, int32_t* value);

// A length field treated as a plain number whatever the readout style (the scale fields).
bool ReadPlainNumberText(const char* text, float* value);

// One press of a field's scroll arrows: `up` steps +1 and wraps from `high` (or anything outside
// low..high-1) to `low`; down steps -1 and wraps from `low` (or anything above `high`, or below
// `low`) to `high`.
int32_t StepFieldValue(int32_t value, bool up, int32_t low, int32_t high);
