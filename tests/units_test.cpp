// Unit conversions, the drawing scale, zoom arithmetic and the point transforms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "geometry/gnrlmath.h"
#include "geometry/tranform.h"
#include "geometry/units.h"
#include "geometry/zoomhdlr.h"

namespace {

// A settings record with only the fields these routines read.
DocState MakeState(int16_t worldUnit, float worldScale, int16_t screenUnit, float screenScale) {
  DocState state;
  std::memset(&state, 0, sizeof state);
  state.worldUnit = worldUnit;
  state.worldScale = worldScale;
  state.screenUnit = screenUnit;
  state.screenScale = screenScale;
  state.zoomFactor = 1.0f;
  state.pageRect = {0.0f, 0.0f, 792.0f, 612.0f};
  ComputeScaleFactor(&state);
  return state;
}

// Installs a current drawing with the given zoom for the zoom arithmetic.
struct ZoomScope {
  DocState state;
  DocumentRec document;
  DocumentRec* saved;
  explicit ZoomScope(float zoom)
      : state(MakeState(kUnitInches, 1.0f, kUnitInches, 1.0f)), saved(gCurDocument) {
    std::memset(&document, 0, sizeof document);
    state.zoomFactor = zoom;
    document.docState = &state;
    gCurDocument = &document;
  }
  ~ZoomScope() { gCurDocument = saved; }
};

TEST(Units, EveryUnitRoundTripsAndUsesItsStoredFactor) {
  const float inchesPer[] = {1.0f, 12.0f, 36.0f, 63360.0f, 0.03937f, 0.3937f, 3.937f, 39.37f};
  for (int unit = kUnitInches; unit <= kUnitMetres; ++unit) {
    for (float v : {0.25f, 1.0f, 7.5f, 1000.0f}) {
      const float inches = ConvertUnitToInches(v, unit);
      EXPECT_FLOAT_EQ(inches, v * inchesPer[unit - 1]) << "unit " << unit;
      EXPECT_NEAR(ConvertInchesToUnit(inches, unit), v, v * 1e-6f) << "unit " << unit;
    }
  }
  // The metric factors are the rounded ones drawings were made with, not 1/25.4.
  EXPECT_NEAR(ConvertMMToInches(25.4f), 0.999998f, 1e-6f);
  EXPECT_NE(ConvertMMToInches(25.4f), 1.0f);
  // Codes outside the table convert nothing.
  EXPECT_EQ(ConvertUnitToInches(3.0f, 0), 3.0f);
  EXPECT_EQ(ConvertInchesToUnit(3.0f, 9), 3.0f);
  EXPECT_EQ(ConvertInchesToPixels(2.0f), 144.0f);
}

TEST(Units, WorldLengthsAtSeveralScalesInEveryUnit) {
  // With 1 sheet inch standing for `scale` world units, `scale` world units are 72 page units
  // whatever the unit, and 144 screen pixels at zoom 2.
  for (int unit = kUnitInches; unit <= kUnitMetres; ++unit) {
    for (float scale : {1.0f, 4.0f, 50.0f, 1000.0f}) {
      DocState state = MakeState(static_cast<int16_t>(unit), scale, kUnitInches, 1.0f);
      EXPECT_NEAR(state.scaleFactor, ConvertUnitToInches(scale, unit), state.scaleFactor * 1e-6f);
      EXPECT_NEAR(ConvertWorldToScreen(scale, &state, false), 72.0f, 1e-3f) << unit << " " << scale;
      EXPECT_NEAR(ConvertScreenToWorld(72.0f, &state, false), scale, scale * 1e-5f) << unit << " " << scale;
      state.zoomFactor = 2.0f;
      EXPECT_NEAR(ConvertWorldToScreen(scale, &state, true), 144.0f, 2e-3f);
    }
  }
  // A metric sheet side: 1 cm of sheet for 1 m of world is a factor of 100.
  DocState metric = MakeState(kUnitMetres, 1.0f, kUnitCentimetres, 1.0f);
  EXPECT_NEAR(metric.scaleFactor, 100.0f, 1e-3f);
  // 1 inch = 4 feet.
  DocState feet = MakeState(kUnitFeet, 4.0f, kUnitInches, 1.0f);
  EXPECT_FLOAT_EQ(feet.scaleFactor, 48.0f);
  EXPECT_FLOAT_EQ(ConvertWorldToScreen(4.0f, &feet, false), 72.0f);
  // A zero sheet side keeps the factor it had; a null state converts nothing.
  feet.screenScale = 0.0f;
  ComputeScaleFactor(&feet);
  EXPECT_FLOAT_EQ(feet.scaleFactor, 48.0f);
  EXPECT_EQ(ConvertWorldToScreen(5.0f, nullptr, true), 5.0f);
  EXPECT_EQ(GetInchesFromWorld(5.0f, nullptr), 5.0f);
}

TEST(Units, InternationalMarksRoundTrip) {
  const char savedThousand = gThousandMark, savedDecimal = gDecimalMark;
  gThousandMark = '.';
  gDecimalMark = ',';
  char text[] = "1,234.5";
  ConvertToInternational(text);
  EXPECT_STREQ(text, "1.234,5");
  ConvertFromInternational(text);
  EXPECT_STREQ(text, "1,234.5");
  gThousandMark = savedThousand;
  gDecimalMark = savedDecimal;
}

TEST(Units, ReadoutTextsByStyleForLengthsAndAngles) {
  DocState state = MakeState(kUnitFeet, 1.0f, kUnitInches, 1.0f);
  struct Case {
    int16_t style;
    float value;
    bool isLength;
    const char* expected;
  };
  const Case cases[] = {
      {5058, 2.6f, true, "3"},
      {5059, 2.26f, true, "2.3"},
      {5060, 2.0f, true, "2.00"},
      {5061, -1.5f, true, "-1.500"},
      {5062, 0.1f, true, "0.1000"},
      {5063, 2.5f, true, "30\""},
      {5064, 2.5f, true, "2'-6\""},
      {5064, 0.5f, true, "6\""},
      {5064, -2.5f, true, "-2'-6\""},
      // The total rounds before it splits: 11.96 inches read a foot, 35.88 read 3'-0", never 12".
      {5064, 0.9967f, true, "1'-0\""},
      {5064, 2.99f, true, "3'-0\""},
      {5064, 1.0833f, true, "1'-1\""},
      {5063, -0.2f, true, "-2\""},
      {5063, 2.99f, false, "2.99"},
      {5064, 2.5f, false, "2.50"},
      {0, 1.0f, true, "1.00"},
      {5063, 1e30f, true, "1000000000000000\""},
  };
  char text[48];
  for (const Case& c : cases) {
    state.readoutStyle = c.style;
    ConvertFloatToString(c.value, text, sizeof text, &state, c.isLength);
    EXPECT_STREQ(text, c.expected) << c.style << " " << c.value;
  }
  ConvertFloatToString(1.5f, text, sizeof text, nullptr, true);
  EXPECT_STREQ(text, "1.50");
  // The user's decimal mark, and a short buffer cut rather than overrun.
  const char savedDecimal = gDecimalMark;
  gDecimalMark = ',';
  state.readoutStyle = 5060;
  ConvertFloatToString(1234.5f, text, sizeof text, &state, true);
  EXPECT_STREQ(text, "1234,50");
  gDecimalMark = savedDecimal;
  char small[4] = {'x', 'x', 'x', 'x'};
  ConvertFloatToString(3e38f, small, sizeof small, &state, true);
  EXPECT_EQ(std::strlen(small), 3u);
}

TEST(Zoom, IntegerZoomRoundsAndWideValuesDoNotWrap) {
  {
    ZoomScope scope(1.5f);
    EXPECT_EQ(ZoomL(3), 5);
    EXPECT_EQ(UnzoomL(5), 3);
    EXPECT_FLOAT_EQ(ZoomF(2.0f), 3.0f);
    EXPECT_FLOAT_EQ(UnzoomF(3.0f), 2.0f);
  }
  {
    // Zoomed far in, coordinates pass 32767 and must stay positive.
    ZoomScope scope(40.0f);
    EXPECT_EQ(ZoomL(900), 36000);
    IntRect rect = {0, 0, 900, 1000};
    ZoomRect(&rect);
    EXPECT_EQ(rect.right, 36000);
    EXPECT_EQ(rect.bottom, 40000);
  }
  EXPECT_EQ(RoundToInt(3e12f), 2147483647);
  EXPECT_EQ(RoundToInt(-3e12f), -2147483647 - 1);
  EXPECT_EQ(RoundToInt(-2.7f), -2);  // add 0.5, truncate toward zero
  for (double v : {-2.5, -2.0, -1e-9, 0.0, 1e-9, 2.0, 2.5, 2147483646.5, -2147483646.5}) {
    EXPECT_EQ(FloorToInt(v), static_cast<int32_t>(std::floor(v))) << v;
    EXPECT_EQ(CeilToInt(v), static_cast<int32_t>(std::ceil(v))) << v;
  }
  EXPECT_EQ(FloorToInt(3e12), 2147483647);
  EXPECT_EQ(CeilToInt(-3e12), -2147483647 - 1);
  // No current drawing: everything passes unchanged.
  DocumentRec* saved = gCurDocument;
  gCurDocument = nullptr;
  EXPECT_EQ(ZoomL(7), 7);
  gCurDocument = saved;
}

TEST(Zoom, LargestZoomAndFit) {
  DocState state = MakeState(kUnitInches, 1.0f, kUnitInches, 1.0f);
  EXPECT_FLOAT_EQ(GetMaxZoom(&state), 40.0f);
  state.zoomFactor = 64.0f;
  EXPECT_TRUE(PinMaxZoom(&state));
  EXPECT_FLOAT_EQ(state.zoomFactor, 40.0f);
  EXPECT_FALSE(PinMaxZoom(&state));
  // A sheet beyond the coordinate range gets a fractional limit, never 0.
  state.pageRect = {0.0f, 0.0f, 40000.0f, 64000.0f};
  EXPECT_FLOAT_EQ(GetMaxZoom(&state), 0.5f);
  state.pageRect = {0.0f, 0.0f, 0.0f, 0.0f};
  state.zoomFactor = 3.0f;
  EXPECT_FALSE(PinMaxZoom(&state));
  EXPECT_FLOAT_EQ(state.zoomFactor, 3.0f);

  // An empty drawing in a 600 x 400 pane fits the letter sheet grown by 5 on each side.
  DocState letter = MakeState(kUnitInches, 1.0f, kUnitInches, 1.0f);
  DocumentRec document;
  std::memset(&document, 0, sizeof document);
  document.docState = &letter;
  const FloatRect fit = GetFitRect(&document, false);
  EXPECT_FLOAT_EQ(fit.left, -5.0f);
  EXPECT_FLOAT_EQ(fit.bottom, 797.0f);
  EXPECT_NEAR(ComputeFitZoom(&fit, 600, 400), 400.0f / 802.0f, 1e-6f);
  EXPECT_EQ(ComputeFitZoom(&fit, 0, 400), 0.0f);
}

TEST(Zoom, FineGridsAreDrawnAtAMultipleAtLeastFourPixelsApart) {
  const struct {
    float spacing, drawn;
  } cases[] = {
      {1.417f, 4.251f},  // a 0.5 mm grid at zoom 1: every third line
      {2.0f, 4.0f},     {4.0f, 4.0f}, {36.0f, 36.0f}, {0.5f, 4.0f}, {0.0f, 0.0f},  // no grid stays no grid
      {-3.0f, -3.0f},
  };
  for (const auto& c : cases) EXPECT_NEAR(DisplayedGridSpacing(c.spacing), c.drawn, 1e-4f) << c.spacing;
}

TEST(Zoom, ScrollOriginIsClampedIntoTheZoomedSheet) {
  DocState state = MakeState(kUnitInches, 1.0f, kUnitInches, 1.0f);
  state.zoomFactor = 2.0f;
  int32_t x = 0, y = 0;
  ComputeScrollOrigin(&state, 100.0f, 50.0f, false, 400, 300, &x, &y);
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 100);
  ComputeScrollOrigin(&state, 100.0f, 50.0f, true, 400, 300, &x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);  // centring would go above the sheet: clamped to its top
  ComputeScrollOrigin(&state, 5000.0f, 5000.0f, false, 400, 300, &x, &y);
  EXPECT_EQ(x, 1224);
  EXPECT_EQ(y, 1584);
  EXPECT_EQ(ComputeScrollRange(0, 1224, 400), 826);
  EXPECT_EQ(ComputeScrollRange(0, 300, 400), 0);
}

PointRec MakePoint(float x, float y) {
  PointRec p;
  std::memset(&p, 0, sizeof p);
  p.x = x;
  p.y = y;
  p.selected = 1;
  return p;
}

TEST(Transforms, ElementaryTransforms) {
  float x = 1.0f, y = 0.0f;
  Rotate(&x, &y, 0.0f, 0.0f, static_cast<float>(kPi / 2));
  EXPECT_NEAR(x, 0.0f, 1e-6f);
  EXPECT_NEAR(y, -1.0f, 1e-6f);  // straight up on screen
  EXPECT_FLOAT_EQ(GetScale(10.0f, 30.0f, 10.0f), 1.0f);
  EXPECT_FLOAT_EQ(GetScale(20.0f, 30.0f, 10.0f), 2.0f);
  EXPECT_NEAR(GetRotate(6.0f, 0.5f), 0.5f - (6.0f - static_cast<float>(kFullTurn)), 1e-6f);
  // Shear reads both coordinates before changing either; zero divisors give zero terms.
  x = 10.0f;
  y = 10.0f;
  Shear(0.0f, 10.0f, 5.0f, 10.0f, &x, &y, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(x, 15.0f);
  EXPECT_FLOAT_EQ(y, 10.0f);
  x = 3.0f;
  y = 4.0f;
  Shear(0.0f, 0.0f, 5.0f, 5.0f, &x, &y, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(x, 3.0f);
  EXPECT_FLOAT_EQ(y, 4.0f);
}

TEST(Transforms, PointTransformsHonourTheSelectionFlagAndTangents) {
  TrackState track = {{10.0f, 10.0f}, {30.0f, 20.0f}, {0.0f, 0.0f}, 0.0f, 0.0f};
  PointRec p = MakePoint(10.0f, 10.0f);
  p.locked = 1;
  TranslatePoint(&p, kMoveSelectedUnlockedOnly, &track);
  EXPECT_FLOAT_EQ(p.x, 10.0f);  // locked points stay with the flag...
  TranslatePoint(&p, 0, &track);
  EXPECT_FLOAT_EQ(p.x, 30.0f);  // ...and move without it
  EXPECT_FLOAT_EQ(p.y, 20.0f);

  PointRec q = MakePoint(10.0f, 10.0f);
  q.outTangentX = 4.0f;
  ScalePoint(&q, kUniformScale, &track);  // sx = 3, sy replaced by sx
  EXPECT_FLOAT_EQ(q.x, 30.0f);
  EXPECT_FLOAT_EQ(q.y, 30.0f);
  EXPECT_FLOAT_EQ(q.outTangentX, 12.0f);
  EXPECT_EQ(q.inTangentX, 0.0f);  // a zero tangent stays zero

  // A sheared tangent follows its handle end.
  PointRec s = MakePoint(0.0f, 10.0f);
  s.outTangentY = 10.0f;
  TrackState shear = {{0.0f, 10.0f}, {10.0f, 10.0f}, {0.0f, 0.0f}, 0.0f, 0.0f};
  ShearPoint(&s, 0, &shear);
  EXPECT_FLOAT_EQ(s.x, 10.0f);
  EXPECT_FLOAT_EQ(s.outTangentX, 10.0f);
  EXPECT_FLOAT_EQ(s.outTangentY, 10.0f);

  PointRec r = MakePoint(1.0f, 0.0f);
  TrackState turn = {{0, 0}, {0, 0}, {0.0f, 0.0f}, 0.0f, static_cast<float>(kPi)};
  RotatePoint(&r, 0, &turn);
  EXPECT_NEAR(r.x, -1.0f, 1e-6f);
  EXPECT_NEAR(r.y, 0.0f, 1e-6f);
}

}  // namespace
