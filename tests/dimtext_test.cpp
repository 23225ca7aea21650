// Dimension readouts: the value text in every readout style and unit, tolerances, angles, the
// decimal mark, the readout box layout, the zoomed font height, flag changes and new labels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "dimensions/dimlabel.h"
#include "dimensions/drawdim2.h"
#include "geometry/gnrlmath.h"
#include "geometry/units.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/pthndlr.h"

namespace {

constexpr uint32_t Readout(int id) {
  return 1u << (12 + id - 5058);
}
constexpr uint32_t kNoReadout = 0;
constexpr uint32_t kSingle = 1u << 9, kDouble = 1u << 10, kLimiting = 1u << 11;
constexpr float kDegree = static_cast<float>(kPi / 180.0);

// A current drawing with a given world unit and scale; restores the decimal mark.
struct DrawingScope {
  DocumentRec* document;
  char savedMark = gDecimalMark;
  DrawingScope(int16_t worldUnit = kUnitInches, float worldScale = 1.0f, int16_t screenUnit = kUnitInches,
               float screenScale = 1.0f)
      : document(CreateDocument()) {
    DocState* s = document->docState;
    s->worldUnit = worldUnit;
    s->worldScale = worldScale;
    s->screenUnit = screenUnit;
    s->screenScale = screenScale;
    ComputeScaleFactor(s);
  }
  ~DrawingScope() {
    DeleteDocument(document);
    gDecimalMark = savedMark;
  }
  DocState* state() { return document->docState; }
};

DimensionStrings Format(float value, uint32_t flags, float up = 0, float lo = 0, bool angle = false) {
  DimensionStrings s;
  FormatDimensionStrings(value, angle, flags, up, lo, gCurDocument->docState, &s);
  return s;
}

TEST(DimensionText, ValueInEveryReadoutAndUnit) {
  struct Case {
    int16_t unit;
    float value;
    uint32_t flags;
    const char* expected;
  } cases[] = {
      {kUnitInches, 2.5f, Readout(5060), "2.50\""},
      {kUnitInches, 2.5f, kNoReadout, "2.50"},
      {kUnitInches, 2.6f, Readout(5058), "3\""},
      {kUnitFeet, 1.23456f, Readout(5061), "1.235'"},
      {kUnitYards, 3.0f, Readout(5059), "3.0 yd."},
      {kUnitMiles, 0.25f, Readout(5062), "0.2500 mi."},
      {kUnitMillimetres, 2.5f, Readout(5060), "2.50 mm."},
      {kUnitCentimetres, 2.54f, Readout(5059), "2.5 cm."},
      {kUnitDecimetres, 1.0f, Readout(5058), "1 dm."},
      {kUnitMetres, 12.3456f, Readout(5061), "12.346 m."},
      // Whole inches round; feet and inches split the rounded total with one sign.
      {kUnitInches, 11.6f, Readout(5063), "12\""},
      {kUnitInches, 11.4f, Readout(5063), "11\""},
      {kUnitInches, 30.0f, Readout(5064), "2'-6\""},
      {kUnitInches, 13.0f, Readout(5064), "1'-1\""},
      {kUnitInches, 11.9f, Readout(5064), "1'-0\""},
      {kUnitInches, 23.6f, Readout(5064), "2'-0\""},
      {kUnitInches, 11.4f, Readout(5064), "11\""},
      {kUnitInches, 0.2f, Readout(5064), "0\""},
      {kUnitInches, -13.0f, Readout(5064), "-1'-1\""},
      {kUnitInches, -11.6f, Readout(5063), "-12\""},
      {kUnitFeet, 2.5f, Readout(5064), "2'-6\""},
      {kUnitMillimetres, 25.4f, Readout(5063), "1\""},
  };
  for (const Case& c : cases) {
    DrawingScope d(c.unit);
    EXPECT_STREQ(Format(c.value, c.flags).value, c.expected) << c.value << " unit " << c.unit;
  }
}

TEST(DimensionText, LengthsAtDrawingScales) {
  struct Case {
    int16_t worldUnit;
    float worldScale;
    int16_t screenUnit;
    float screenScale;
    float pageLength;
    uint32_t flags;
    const char* expected;
  } cases[] = {
      {kUnitInches, 1, kUnitInches, 1, 180, Readout(5060), "2.50\""},
      {kUnitFeet, 4, kUnitInches, 1, 72, Readout(5064), "4'-0\""},
      {kUnitFeet, 4, kUnitInches, 1, 72, Readout(5060), "4.00'"},
      {kUnitFeet, 4, kUnitInches, 1, 73, Readout(5064), "4'-1\""},  // 48.67 inches
      {kUnitMillimetres, 100, kUnitMillimetres, 1, 72, Readout(5058), "2540 mm."},
      {kUnitMetres, 1, kUnitCentimetres, 1, 72, Readout(5060), "2.54 m."},
      {kUnitInches, 2, kUnitInches, 1, 36, Readout(5059), "1.0\""},
  };
  for (const Case& c : cases) {
    DrawingScope d(c.worldUnit, c.worldScale, c.screenUnit, c.screenScale);
    const float value = DimensionLengthValue(10, 20, 10 + c.pageLength, 20, d.state());
    EXPECT_STREQ(Format(value, c.flags).value, c.expected) << c.pageLength << " scale " << c.worldScale;
  }
}

TEST(DimensionText, AnglesReadTheSmallerTurnWithoutUnit) {
  struct Case {
    float a1, a2, degrees;
  } cases[] = {{350, 10, 20}, {10, 350, 20}, {0, 90, 90},    {90, 0, 90},
               {0, 180, 180}, {45, 45, 0},   {270, 80, 170}, {359, 1, 2}};
  DrawingScope d(kUnitMillimetres);
  for (const Case& c : cases) {
    const float v = DimensionAngleValue(c.a1 * kDegree, c.a2 * kDegree);
    EXPECT_NEAR(v, c.degrees, 1e-3) << c.a1 << " to " << c.a2;
  }
  EXPECT_STREQ(Format(20.0f, Readout(5060), 0, 0, true).value, "20.00");
  EXPECT_STREQ(Format(20.0f, Readout(5058), 0, 0, true).value, "20");
  EXPECT_STREQ(Format(20.0f, Readout(5064), 0, 0, true).value, "20.00");
  EXPECT_STREQ(Format(20.0f, Readout(5063), 0.5f, 0, true).maximum, "20.50");
}

TEST(DimensionText, ToleranceStrings) {
  DrawingScope d(kUnitInches);
  DimensionStrings s = Format(10.0f, Readout(5060) | kLimiting, 0.5f, 0.2f);
  EXPECT_STREQ(s.maximum, "10.50\"");
  EXPECT_STREQ(s.minimum, "9.80\"");
  EXPECT_STREQ(s.upper, "0.50");  // tolerances never carry the unit
  EXPECT_STREQ(s.lower, "0.20");
  s = Format(10.0f, Readout(5058), 0.25f, 0.25f);
  EXPECT_STREQ(s.upper, "0");
  s = Format(30.0f, Readout(5064), 0.5f, 0.25f);
  EXPECT_STREQ(s.maximum, "30.50");  // feet and inches fall back to two decimals, no unit
  EXPECT_STREQ(s.minimum, "29.75");
  s = Format(0.1f, Readout(5061), 0.0f, 0.2f);
  EXPECT_STREQ(s.minimum, "-0.100\"");
}

TEST(DimensionText, DecimalMarkOfTheLocaleKeepsTheSuffixStop) {
  DrawingScope d(kUnitMillimetres);
  gDecimalMark = ',';
  DimensionStrings s = Format(2.5f, Readout(5060), 0.01f, 0.02f);
  EXPECT_STREQ(s.value, "2,50 mm.");
  EXPECT_STREQ(s.upper, "0,01");
  EXPECT_STREQ(s.maximum, "2,51 mm.");
  DrawingScope feet(kUnitInches);
  gDecimalMark = ',';
  EXPECT_STREQ(Format(30.0f, Readout(5064)).value, "2'-6\"");
}

// Widths as the port measures them: 6 pixels a character plus 2.
int32_t FixedWidth(const char* text, void*) {
  return static_cast<int32_t>(std::strlen(text)) * 6 + 2;
}

TEST(DimensionText, ReadoutBoxByToleranceLayout) {
  DrawingScope d(kUnitMillimetres);
  const ReadoutMetrics m = {9, 3, 1, FixedWidth, nullptr};  // line height 13
  char joined[kReadoutTextSize];
  ReadoutPlacement p;

  DimensionStrings s = Format(2.5f, Readout(5060) | kSingle, 0.01f, 0.02f);
  PlaceReadout(s, Readout(5060) | kSingle, m, joined, &p);
  EXPECT_STREQ(p.lines[0].text, "2.50 mm.+-0.01");
  EXPECT_EQ(p.width, FixedWidth("2.50 mm.+-0.01", nullptr));
  EXPECT_EQ(p.height, 13);
  EXPECT_EQ(p.lines[0].rise, 3);
  EXPECT_EQ(p.lines[1].text, nullptr);

  // Single wins over the others when several bits are set.
  PlaceReadout(s, Readout(5060) | kSingle | kDouble | kLimiting, m, joined, &p);
  EXPECT_STREQ(p.lines[0].text, "2.50 mm.+-0.01");

  PlaceReadout(s, Readout(5060) | kDouble, m, joined, &p);
  EXPECT_EQ(p.height, 2 * 13 - 3);
  EXPECT_STREQ(p.lines[0].text, "2.50 mm.");
  EXPECT_STREQ(p.lines[1].text, " +0.01");
  EXPECT_STREQ(p.lines[2].text, " -0.02");
  EXPECT_EQ(p.lines[1].dx, FixedWidth("2.50 mm.", nullptr));
  EXPECT_EQ(p.width, FixedWidth("2.50 mm.", nullptr) + FixedWidth(" +0.01", nullptr));
  EXPECT_EQ(p.lines[0].rise, 23 / 2 - 6);
  EXPECT_EQ(p.lines[1].rise, 23 / 2 + 2);
  EXPECT_EQ(p.lines[2].rise, 3);

  s = Format(10.0f, Readout(5060) | kLimiting, 0.5f, 0.2f);
  PlaceReadout(s, Readout(5060) | kLimiting, m, joined, &p);
  EXPECT_STREQ(p.lines[0].text, "10.50 mm.");
  EXPECT_STREQ(p.lines[1].text, "9.80 mm.");
  EXPECT_EQ(p.width, FixedWidth("10.50 mm.", nullptr));
  EXPECT_EQ(p.lines[0].rise, 23 / 2 + 2);
}

// Formatting only the strings a layout places gives the box and lines of formatting them all.
TEST(DimensionText, PlacedStringsLayOutAsAllStrings) {
  DrawingScope d(kUnitMillimetres);
  const ReadoutMetrics m = {9, 3, 1, FixedWidth, nullptr};
  for (uint32_t layout : {0u, kSingle, kDouble, kLimiting, kSingle | kLimiting})
    for (uint32_t readout : {Readout(5058), Readout(5060), Readout(5063), Readout(5064)})
      for (bool angle : {false, true}) {
        DimensionStrings all, placed;
        FormatDimensionStrings(12.375f, angle, readout | layout, 0.125f, -0.5f, d.state(), &all);
        FormatPlacedStrings(12.375f, angle, readout | layout, 0.125f, -0.5f, d.state(), &placed);
        char joinedAll[kReadoutTextSize], joinedPlaced[kReadoutTextSize];
        ReadoutPlacement a, p;
        PlaceReadout(all, readout | layout, m, joinedAll, &a);
        PlaceReadout(placed, readout | layout, m, joinedPlaced, &p);
        EXPECT_EQ(a.width, p.width) << layout << " " << readout;
        EXPECT_EQ(a.height, p.height);
        for (int i = 0; i < 3; ++i) {
          ASSERT_EQ(a.lines[i].text == nullptr, p.lines[i].text == nullptr);
          if (a.lines[i].text) {
            EXPECT_STREQ(a.lines[i].text, p.lines[i].text) << layout << " " << readout;
          }
          EXPECT_EQ(a.lines[i].dx, p.lines[i].dx);
        }
      }
}

// Readout fonts keep glyphs only for the characters readouts can hold; every string placed, in
// every unit, readout, layout and decimal mark, holds nothing else.
TEST(DimensionText, ReadoutsHoldOnlyReadoutCharacters) {
  const ReadoutMetrics m = {9, 3, 1, FixedWidth, nullptr};
  for (int16_t unit = kUnitInches; unit <= kUnitMetres; ++unit) {
    DrawingScope d(unit);
    for (char mark : {'.', ','}) {
      gDecimalMark = mark;
      for (uint32_t layout : {0u, kSingle, kDouble, kLimiting})
        for (int id = 5058; id <= 5064; ++id)
          for (bool angle : {false, true})
            for (float value : {0.0f, 12.375f, -3.5f, 98765.4f}) {
              DimensionStrings s;
              FormatPlacedStrings(value, angle, Readout(id) | layout, 0.125f, -0.5f, d.state(), &s);
              char joined[kReadoutTextSize];
              ReadoutPlacement place;
              PlaceReadout(s, Readout(id) | layout, m, joined, &place);
              for (const auto& line : place.lines)
                for (const char* c = line.text; c && *c; ++c)
                  ASSERT_TRUE(IsReadoutCharacter(*c)) << "'" << *c << "' in \"" << line.text << "\"";
            }
    }
  }
  EXPECT_FALSE(IsReadoutCharacter('\0'));
  EXPECT_FALSE(IsReadoutCharacter('x'));
}

TEST(DimensionText, ZoomedFontHeightNeverZero) {
  struct Case {
    int32_t height;
    float scale;
    int32_t expected;
  } cases[] = {{-11, 1.0f, -11}, {-11, 2.0f, -22}, {-11, 0.01f, -1}, {11, 0.01f, 1},
               {12, 0.5f, 5},    {-11, 0.0f, -1},  {0, 1.0f, 1},     {-11, NAN, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(ScaledFontHeight(c.height, c.scale), c.expected) << c.height << " " << c.scale;
}

ObjectRec* NewDimension(LayerRec* layer, int16_t kind) {
  const RGB16 black = kBlack16, white = kWhite16;
  const FloatRect bounds = kEmptyRect;
  ObjectRec* object = CreateObject(kind, 0, 1, &white, &black, 1.0f, kSolidLineType, kNoFill, &bounds,
                                   nullptr, nullptr, nullptr, layer, nullptr);
  for (int i = 0; i < 4; ++i)
    AppendPointToObject(CreatePoint(kVertexPoint, 1, 0, 0, 0, 10.0f * i, 20, 0, 0, object), object);
  AppendObjectToLayer(object, layer);
  return object;
}

TEST(DimensionText, FlagChanges) {
  DrawingScope d;
  LayerRec* layer = d.document->firstLayer;
  ObjectRec* dim = NewDimension(layer, kLengthDimKind);
  ASSERT_TRUE(AddDimensionInfo(dim, 50, 50, false, nullptr));
  DimInfo* info = DimInfoOf(dim);
  const uint32_t start = info->dimFlags;

  EXPECT_TRUE(DimensionToleranceFlag(dim, kLimitingTolerance));
  EXPECT_EQ(info->dimFlags & kDimToleranceBits, kLimiting);
  EXPECT_TRUE(DimensionToleranceFlag(dim, kNoTolerance));
  EXPECT_EQ(info->dimFlags & kDimToleranceBits, 0u);
  EXPECT_TRUE(DimensionReadoutFlag(dim, 5064));
  EXPECT_EQ(info->dimFlags & kDimReadoutBits, Readout(5064));
  EXPECT_TRUE(DimensionReadoutFlag(dim, 5000));
  EXPECT_EQ(info->dimFlags & kDimReadoutBits, 0u);
  EXPECT_TRUE(DimensionArrowFlag(dim, 5091));
  EXPECT_EQ(info->dimFlags & kDimArrowBits, 1u << 5);
  EXPECT_TRUE(DimensionArrowsOutside(dim));
  EXPECT_TRUE(info->dimFlags & kDimArrowsOut);
  EXPECT_TRUE(DimensionArrowsInside(dim));
  EXPECT_FALSE(info->dimFlags & kDimArrowsOut);
  d.state()->dimFlags |= kDimTextFrame;
  EXPECT_TRUE(DimensionTextFramed(dim));
  EXPECT_TRUE(info->dimFlags & kDimTextFrame);
  EXPECT_EQ(info->dimFlags & kDimCenterText, start & kDimCenterText);  // other bits untouched

  // The walk's entry point picks the operation by command.
  EXPECT_TRUE(ApplyDimensionStyle(dim, 5048));
  EXPECT_TRUE(info->dimFlags & kDimArrowsOut);
  EXPECT_TRUE(ApplyDimensionStyle(dim, kDoubleTolerance));
  EXPECT_EQ(info->dimFlags & kDimToleranceBits, kDouble);
  EXPECT_TRUE(ApplyDimensionStyle(dim, 5059));
  EXPECT_EQ(info->dimFlags & kDimReadoutBits, Readout(5059));
  EXPECT_FALSE(ApplyDimensionStyle(dim, 5052));  // centre text stays with the drawing

  // Objects that are no dimension, or have no record, are left alone.
  ObjectRec* rect = NewDimension(layer, kRectKind);
  EXPECT_FALSE(DimensionArrowFlag(rect, 5086));
  ObjectRec* bare = NewDimension(layer, kAngleDimKind);
  EXPECT_FALSE(DimensionReadoutFlag(bare, 5060));
  ObjectRec* leader = NewDimension(layer, kLeaderDimKind);
  ASSERT_TRUE(AddDimensionInfo(leader, 0, 0, false, nullptr));
  EXPECT_TRUE(DimensionArrowFlag(leader, 5088));
}

TEST(DimensionText, StyleCommandsOnTheDrawingDefaults) {
  DrawingScope d;
  DocState* s = d.state();
  EXPECT_TRUE(SetDocStateDimensionStyle(s, kSingleTolerance));
  EXPECT_EQ(s->dimFlags & kDimToleranceBits, kSingle);
  EXPECT_EQ(s->selectionState.toleranceStyle, kSingleTolerance);
  EXPECT_TRUE(SetDocStateDimensionStyle(s, kLimitingTolerance));  // replaces single
  EXPECT_EQ(s->dimFlags & kDimToleranceBits, kLimiting);
  EXPECT_TRUE(SetDocStateDimensionStyle(s, kLimitingTolerance));  // and toggles off
  EXPECT_EQ(s->toleranceStyle, kNoTolerance);
  EXPECT_EQ(s->dimFlags & kDimToleranceBits, 0u);
  EXPECT_TRUE(SetDocStateDimensionStyle(s, 5092));
  EXPECT_EQ(s->dimFlags & kDimArrowBits, 1u << 6);
  EXPECT_EQ(s->selectionState.arrowStyle, 5092);
  EXPECT_TRUE(SetDocStateDimensionStyle(s, 5048));
  EXPECT_TRUE(s->dimFlags & kDimArrowsOut);
  EXPECT_EQ(s->selectionState.arrowsOut, 1);
  EXPECT_TRUE(SetDocStateDimensionStyle(s, 5058));
  EXPECT_EQ(s->dimFlags & kDimReadoutBits, Readout(5058));
  const uint32_t before = s->dimFlags;
  EXPECT_FALSE(SetDocStateDimensionStyle(s, 5057));  // the tolerance values dialog is not a style
  EXPECT_FALSE(SetDocStateDimensionStyle(s, 5093));
  EXPECT_EQ(s->dimFlags, before);
}

TEST(DimensionText, NewLabelIsAPlainBoxInThePenColourLinkedBothWays) {
  DrawingScope d;
  DocState* s = d.state();
  s->drawParallel = 1;  // a drawn rectangle would get parallel copies; the label must not
  s->penColor = {0x1000, 0x2000, 0x3000};
  s->upperTolerance = 0.5f;
  s->lowerTolerance = 0.25f;
  s->dimFlags |= kDimTextFrame;
  LayerRec* layer = d.document->firstLayer;
  ObjectRec* dim = NewDimension(layer, kOffsetDimHKind);
  FontRecord font = {};
  font.height = -13;
  std::strcpy(font.faceName, "Arial");
  ASSERT_TRUE(AddDimensionInfo(dim, 100, 60, true, &font));

  const DimInfo* info = DimInfoOf(dim);
  EXPECT_EQ(info->dimFlags, s->dimFlags);
  EXPECT_EQ(info->upperTolerance, 0.5f);
  EXPECT_EQ(info->lowerTolerance, 0.25f);
  ObjectRec* label = info->textObject;
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->kind, kDimensionTextKind);
  EXPECT_EQ(DimTextInfoOf(label)->ownerDimension, dim);
  EXPECT_EQ(DimTextInfoOf(label)->font.height, -13);
  EXPECT_STREQ(DimTextInfoOf(label)->font.faceName, "Arial");
  EXPECT_EQ(label->penColor.red, 0x1000);
  EXPECT_EQ(label->penColor.blue, 0x3000);
  EXPECT_EQ(label->lineWeight, 0.0f);
  EXPECT_EQ(label->layer, layer);
  EXPECT_EQ(label->bounds.left, 80.0f);
  EXPECT_EQ(label->bounds.right, 120.0f);
  EXPECT_EQ(label->bounds.top, 50.0f);
  EXPECT_EQ(label->bounds.bottom, 70.0f);
  int points = 0;
  for (const PointRec* p = label->firstPoint; p; p = p->nextPoint) ++points;
  EXPECT_EQ(points, 4);
  int objects = 0;
  for (const ObjectRec* o = layer->firstObject; o; o = o->nextObject) ++objects;
  EXPECT_EQ(objects, 2);  // the dimension and its label, no parallel copies

  ObjectRec* leader = NewDimension(layer, kLeaderDimKind);
  ASSERT_TRUE(AddDimensionInfo(leader, 0, 0, false, nullptr));
  EXPECT_EQ(DimInfoOf(leader)->textObject, nullptr);
}

}  // namespace
