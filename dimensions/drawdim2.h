// Dimension readouts: the value of a dimension as text in the drawing's world unit and the
// readout precision of the dimension, its tolerance strings, where each string sits in the text
// box, and the operations that change a dimension's display flags. The drawing of the readout is
// the Windows build's (drawdim2_win.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/docstate.h"

// Every readout string holds at most this many characters.
constexpr size_t kReadoutTextSize = 256;

// The strings of one readout: the value V, the tolerances Up and Lo, and the limits Max and Min.
struct DimensionStrings {
  char value[kReadoutTextSize];
  char upper[kReadoutTextSize];
  char lower[kReadoutTextSize];
  char maximum[kReadoutTextSize];
  char minimum[kReadoutTextSize];
};

// The tolerance layout a flag word asks for; single wins over double, double over limiting.
enum ToleranceLayout { kToleranceNone, kToleranceSingle, kToleranceDouble, kToleranceLimiting };
ToleranceLayout ToleranceLayoutOf(uint32_t dimFlags);

// The value a length dimension reads: the segment's length in world units.
float DimensionLengthValue(float x1, float y1, float x2, float y2, const DocState* state);
// The angle between two directions (radians) in degrees, 0..180.
float DimensionAngleValue(float a1, float a2);
// The value a dimension's readout shows: for kinds 100..102 the length of its dimension line,
// for 104..107 the span from its first to its second point (world units), for 103 the angle
// between its legs in degrees (`angle` set). False for a leader, any other kind, or a dimension
// missing the points it measures.
bool MeasureDimension(const ObjectRec* object, const DocState* state, float* value, bool* angle);

// Formats the readout of `value` (world units, or degrees when `angle`) by the readout bits of
// `dimFlags`, with the tolerances, in the drawing's world unit and the user's decimal mark.
void FormatDimensionStrings(float value, bool angle, uint32_t dimFlags, float upperTolerance,
                            float lowerTolerance, const DocState* state, DimensionStrings* out);

// The same, but only the strings PlaceReadout places by the tolerance layout of `dimFlags`; the
// others are left empty.
void FormatPlacedStrings(float value, bool angle, uint32_t dimFlags, float upperTolerance,
                         float lowerTolerance, const DocState* state, DimensionStrings* out);
// Whether the formatter may write `c` into a readout: a digit, a sign, the marks of numbers, feet
// and inches, a space, or a character of a unit's suffix.
bool IsReadoutCharacter(char c);
// Appends the current drawing's world-unit suffix; nothing without a drawing.
void AppendUnitToString(char* text, size_t capacity);
// The suffix of a world unit ("" for an unknown code).
const char* UnitSuffix(int worldUnit);

// Where the strings of a readout go: the box size and each string's baseline start relative to
// the box's bottom-left corner (y upward from the bottom, as the distance above it).
struct ReadoutPlacement {
  int32_t width, height;
  // Up to three strings; `text` null marks an unused one.
  struct Line {
    const char* text;
    int32_t dx;    // right of the box's left edge + 1
    int32_t rise;  // above the box's bottom edge
  } lines[3];
};
// Text metrics of the readout font: ascent, descent, leading; `widthOf` measures a string the
// way the drawing port does (text width + 2).
struct ReadoutMetrics {
  int32_t ascent, descent, leading;
  int32_t (*widthOf)(const char* text, void* context);
  void* context;
};
// Lays out the strings by the tolerance layout of `dimFlags`. The single layout's joined string
// is written into `joined` (kReadoutTextSize bytes).
void PlaceReadout(const DimensionStrings& strings, uint32_t dimFlags, const ReadoutMetrics& metrics,
                  char* joined, ReadoutPlacement* out);

// The zoomed font height of a readout: trunc(height * scale - 0.5), never 0 (a height of 0
// would select the platform's default size), keeping the sign of the stored height.
int32_t ScaledFontHeight(int32_t height, float scale);

// Display-flag changes of one dimension (a kind 100..108 object with its DimInfo). Each returns
// false when the object is not such a dimension. Ids are the menu commands.
bool DimensionTextFramed(ObjectRec* object);  // copies the current drawing's frame bit
bool DimensionArrowsInside(ObjectRec* object);
bool DimensionArrowsOutside(ObjectRec* object);
bool DimensionReadoutFlag(ObjectRec* object, int id);
bool DimensionArrowFlag(ObjectRec* object, int id);
bool DimensionToleranceFlag(ObjectRec* object, int id);

// The dimension style commands on a drawing's defaults for new dimensions (the menu ids:
// 5047, 5048 arrows in and out, 5050 text frame, 5052 centre text, 5054..5056 the tolerance
// styles, which toggle, 5058..5064 readouts, 5086..5092 arrowheads). The selection summary
// records the new value. False for any other id.
bool SetDocStateDimensionStyle(DocState* state, int id);
// The same commands on one dimension, as the walk over the selected objects applies them:
// 5047/5048 arrows in/out, 5050 the drawing's frame bit, 5053..5056 tolerance, 5058..5064
// readout, 5086..5092 arrowhead. False when the object is no dimension or the id no such command.
bool ApplyDimensionStyle(ObjectRec* object, int id);
