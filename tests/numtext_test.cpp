// Reading field text: every unit and readout style, both decimal marks, and the junk refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "geometry/numtext.h"
#include "geometry/units.h"

namespace {

DocState MakeState(int16_t worldUnit, int16_t readoutStyle) {
  DocState state;
  std::memset(&state, 0, sizeof state);
  state.worldUnit = worldUnit;
  state.readoutStyle = readoutStyle;
  return state;
}

// Sets the user's number marks for the life of the object.
struct MarksScope {
  char thousand, decimal;
  MarksScope(char t, char d) : thousand(gThousandMark), decimal(gDecimalMark) {
    gThousandMark = t;
    gDecimalMark = d;
  }
  ~MarksScope() {
    gThousandMark = thousand;
    gDecimalMark = decimal;
  }
};

constexpr int16_t kDecimals2 = 5060, kWholeInches = 5063, kFeetInches = 5064;

TEST(NumberText, ReadsEveryFormInBothDecimalMarks) {
  struct Case {
    const char* dotText;  // with "." as decimal mark; the comma variant swaps the marks
    int16_t style;
    bool isLength;
    bool ok;
    float inches;  // the value read, in inches (converted to each unit below)
  };
  const Case cases[] = {
      {"1.25", kDecimals2, true, true, 1.25f},
      {"  -3.5 ", kDecimals2, true, true, -3.5f},
      {"+2", kDecimals2, true, true, 2.0f},
      {".5", kDecimals2, true, true, 0.5f},
      {"", kDecimals2, true, true, 0.0f},
      {"1,234.5", kDecimals2, true, true, 1234.5f},
      // Marks and hyphens are junk outside the foot-and-inch styles.
      {"10-2", kDecimals2, true, false, 0},
      {"5'6\"", kDecimals2, true, false, 0},
      {"12abc", kDecimals2, true, false, 0},
      {"1.2.3", kDecimals2, true, false, 0},
      {"--1", kDecimals2, true, false, 0},
      {"1,25", kDecimals2, true, false, 0},  // not a thousands group
      {"-", kDecimals2, true, false, 0},
      {"1e5", kDecimals2, true, false, 0},
      // Feet and inches.
      {"5'6\"", kFeetInches, true, true, 66.0f},
      {"5'-6\"", kFeetInches, true, true, 66.0f},
      {"5' 6", kFeetInches, true, true, 66.0f},
      {"5-6", kFeetInches, true, true, 66.0f},
      {"5'", kFeetInches, true, true, 60.0f},
      {"6\"", kFeetInches, true, true, 6.0f},
      {"66", kFeetInches, true, true, 66.0f},
      {"-5'-6\"", kFeetInches, true, true, -66.0f},
      {"1'-0.5\"", kFeetInches, true, true, 12.5f},
      {"30\"", kWholeInches, true, true, 30.0f},
      {"2'-6\"", kWholeInches, true, true, 30.0f},
      {"5'6'", kFeetInches, true, false, 0},
      {"5\"6", kFeetInches, true, false, 0},
      {"5 6", kFeetInches, true, false, 0},
      {"-5'--6", kFeetInches, true, false, 0},
      {"x", kFeetInches, true, false, 0},
      // An angle never takes the foot-and-inch forms, nor the inch conversion.
      {"5'6\"", kFeetInches, false, false, 0},
      {"12.5", kFeetInches, false, true, 12.5f},
  };
  for (bool comma : {false, true}) {
    MarksScope marks(comma ? '.' : ',', comma ? ',' : '.');
    for (int unit = kUnitInches; unit <= kUnitMetres; ++unit) {
      for (const Case& c : cases) {
        char text[64];
        std::snprintf(text, sizeof text, "%s", c.dotText);
        if (comma) ConvertToInternational(text);
        DocState state = MakeState(static_cast<int16_t>(unit), c.style);
        float value = -999.0f;
        const bool ok = ReadNumberText(text, &state, c.isLength, &value);
        ASSERT_EQ(ok, c.ok) << "\"" << text << "\" style " << c.style << " unit " << unit;
        if (!ok) {
          EXPECT_EQ(value, -999.0f) << text;
          continue;
        }
        const bool inInches = c.isLength && (c.style == kFeetInches || c.style == kWholeInches);
        const float expected = inInches ? ConvertInchesToUnit(c.inches, unit) : c.inches;
        EXPECT_NEAR(value, expected, std::fabs(expected) * 1e-6f + 1e-9f) << text << " unit " << unit;
      }
    }
  }
}

TEST(NumberText, FormattedLengthsReadBackInEveryStyleAndUnit) {
  for (bool comma : {false, true}) {
    MarksScope marks(comma ? '.' : ',', comma ? ',' : '.');
    for (int unit = kUnitInches; unit <= kUnitMetres; ++unit) {
      for (int16_t style = kFirstReadoutStyle; style <= kLastReadoutStyle; ++style) {
        DocState state = MakeState(static_cast<int16_t>(unit), style);
        // Whole inches in every unit, so the rounded forms read back exactly.
        for (float inches : {0.0f, 6.0f, 66.0f, -66.0f, 1200.0f}) {
          const float world = ConvertInchesToUnit(inches, unit);
          char text[64];
          ConvertFloatToString(world, text, sizeof text, &state, true);
          float back = 0.0f;
          ASSERT_TRUE(ReadNumberText(text, &state, true, &back)) << text;
          // The decimal styles lose what their places cannot show.
          const int places = style - kFirstReadoutStyle;
          const float tolerance = places < 5 ? 0.5f * std::pow(10.0f, -static_cast<float>(places)) + 1e-3f
                                             : ConvertInchesToUnit(0.01f, unit);
          EXPECT_NEAR(back, world, tolerance) << text << " style " << style << " unit " << unit;
        }
      }
    }
  }
}

TEST(NumberText, WholeNumbersRefuseJunkAndValuesBeyond32Bits) {
  struct Case {
    const char* text;
    bool ok;
    int32_t value;
  };
  const Case cases[] = {
      {"42", true, 42},
      {" -7 ", true, -7},
      {"", true, 0},
      {"+3", true, 3},
      {"2147483647", true, 2147483647},
      {"70000", true, 70000},  // read whole; the dialogs judge the range
      {"2147483648", false, 0},
      {"1.5", false, 0},
      {"12x", false, 0},
      {"- 3", false, 0},
      {"x", false, 0},
      {"99999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    int32_t value = -1;
    ASSERT_EQ(ReadWholeText(c.text, &value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : -1) << c.text;
  }
}

TEST(NumberText, PlainNumbersIgnoreTheReadoutStyleAndRefuseHugeValues) {
  float value = 0.0f;
  EXPECT_TRUE(ReadPlainNumberText("48", &value));
  EXPECT_EQ(value, 48.0f);
  EXPECT_FALSE(ReadPlainNumberText("4'", &value));
  char huge[400];
  std::memset(huge, '9', sizeof huge - 1);
  huge[sizeof huge - 1] = '\0';
  EXPECT_FALSE(ReadPlainNumberText(huge, &value));  // longer than a field holds
  EXPECT_FALSE(ReadPlainNumberText("999999999999999999999999999999999999999999", &value));  // beyond a float
}

}  // namespace

namespace {

TEST(NumberText, FieldArrowsStepAndWrapAtBothEnds) {
  struct Case {
    int32_t value;
    bool up;
    int32_t low, high, expected;
  };
  const Case cases[] = {
      {20, true, 1, 20, 1},   {19, true, 1, 20, 20},   {0, true, 1, 20, 1},    {99, true, 1, 20, 1},
      {1, false, 1, 20, 20},  {2, false, 1, 20, 1},    {21, false, 1, 20, 20}, {-4, false, 1, 20, 20},
      {500, true, 1, 500, 1}, {1, false, 1, 500, 500}, {50, true, 1, 50, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StepFieldValue(c.value, c.up, c.low, c.high), c.expected)
        << c.value << (c.up ? " up" : " down");
}

}  // namespace
