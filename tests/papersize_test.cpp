// The sheet's paper sizes and the tiling of a sheet over printer pages.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "geometry/papersize.h"
#include "model/records.h"

namespace {

DocState PaperState(int16_t kind, int16_t selection) {
  DocState state;
  std::memset(&state, 0, sizeof state);
  state.paperKind = kind;
  state.paperArch = state.paperMech = state.paperMetric = state.paperOversize = selection;
  state.paperCustomUnit = kPaperInches;
  state.paperWidth = 8.5f;
  state.paperHeight = 11.0f;
  state.originH = 0.0f;
  state.originV = 792.0f;
  return state;
}

// A4 and Letter as Wine's PostScript driver reports them at 300 dpi (printable pixels).
constexpr int32_t kLetterW = 2400, kLetterH = 3150, kA4W = 2329, kA4H = 3358, kDpi = 300;

TEST(PaperSize, NamedSizesInPageUnits) {
  struct Case {
    int16_t kind, selection;
    float width, height;  // page units
  } cases[] = {
      {kPaperArchitectural, 1, 12 * 72.f, 9 * 72.f},
      {kPaperArchitectural, 5, 48 * 72.f, 36 * 72.f},  // "E"
      {kPaperArchitectural, 7, 42 * 72.f, 30 * 72.f},
      {kPaperMechanical, 1, 11 * 72.f, 8.5f * 72.f},
      {kPaperMechanical, 5, 44 * 72.f, 34 * 72.f},
      {kPaperMetric, 1, 297 * 0.03937f * 72, 210 * 0.03937f * 72},
      {kPaperMetric, 5, 1189 * 0.03937f * 72, 841 * 0.03937f * 72},  // "DIN A0"
      {kPaperMetric, 6, 1000 * 0.03937f * 72, 707 * 0.03937f * 72},
      {kPaperOversize, 5, 1230 * 0.03937f * 72, 880 * 0.03937f * 72},
      // A selection outside its list leaves 12 by 12 inches.
      {kPaperMechanical, 6, 864, 864},
      {kPaperMetric, 0, 864, 864},
      {7, 1, 864, 864},
  };
  for (const Case& c : cases) {
    DocState state = PaperState(c.kind, c.selection);
    ComputePaperSize(&state);
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " selection " << c.selection);
    EXPECT_EQ(state.pageRect.top, 0.0f);
    EXPECT_EQ(state.pageRect.left, 0.0f);
    EXPECT_NEAR(state.pageRect.right, c.width, 0.01f);
    EXPECT_NEAR(state.pageRect.bottom, c.height, 0.01f);
  }
}

TEST(PaperSize, CustomSizesInTheirUnitAndRefusedOnes) {
  struct Case {
    float width, height;
    int16_t unit;
    CustomPaperFault fault;
    float right, bottom;  // page units when accepted
  } cases[] = {
      {8.5f, 11, kPaperInches, CustomPaperFault::kNone, 612, 792},
      {210, 297, kPaperMillimetres, CustomPaperFault::kNone, 210 * 0.03937f * 72, 297 * 0.03937f * 72},
      {21, 29.7f, kPaperCentimetres, CustomPaperFault::kNone, 21 * 0.3937f * 72, 29.7f * 0.3937f * 72},
      {440, 1, kPaperInches, CustomPaperFault::kNone, 31680, 72},
      {0, 11, kPaperInches, CustomPaperFault::kNotPositive, 0, 0},
      {8.5f, -11, kPaperInches, CustomPaperFault::kNotPositive, 0, 0},
      {0.001f, 11, kPaperInches, CustomPaperFault::kNotPositive, 0, 0},
      {std::numeric_limits<float>::quiet_NaN(), 11, kPaperInches, CustomPaperFault::kNotPositive, 0, 0},
      {441, 11, kPaperInches, CustomPaperFault::kTooLarge, 0, 0},
      {1e30f, 11, kPaperMillimetres, CustomPaperFault::kTooLarge, 0, 0},
      {std::numeric_limits<float>::infinity(), 11, kPaperInches, CustomPaperFault::kTooLarge, 0, 0},
      {8.5f, 11, 4, CustomPaperFault::kBadUnit, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " unit " << c.unit);
    EXPECT_EQ(CheckCustomPaper(c.width, c.height, c.unit), c.fault);
    DocState state = PaperState(kPaperCustom, 1);
    state.pageRect = {0, 0, 100, 200};
    state.paperWidth = c.width;
    state.paperHeight = c.height;
    state.paperCustomUnit = c.unit;
    ComputePaperSize(&state);
    // A refused size (from a damaged file) leaves the sheet as it was.
    EXPECT_NEAR(state.pageRect.right, c.fault == CustomPaperFault::kNone ? c.right : 200, 0.01f);
    EXPECT_NEAR(state.pageRect.bottom, c.fault == CustomPaperFault::kNone ? c.bottom : 100, 0.01f);
  }
}

TEST(PaperSize, ShrinkingTheSheetMovesTheOriginOntoIt) {
  DocState state = PaperState(kPaperCustom, 1);
  state.originH = 500;
  state.originV = 700;
  state.paperWidth = 4;
  state.paperHeight = 5;
  ComputePaperSize(&state);
  EXPECT_EQ(state.originH, 288.0f);
  EXPECT_EQ(state.originV, 360.0f);
  state.paperWidth = 10;  // growing leaves it where it is
  ComputePaperSize(&state);
  EXPECT_EQ(state.originH, 288.0f);
}

TEST(PrintTiling, PagesAcrossAndDown) {
  struct Case {
    FloatRect sheet;
    int32_t w, h;
    int32_t across, down, pageWidth, pageHeight;
  } cases[] = {
      {{0, 0, 792, 612}, kLetterW, kLetterH, 2, 2, 576, 756},  // letter on letter: margins cost a page
      {{0, 0, 1224, 792}, kA4W, kA4H, 2, 2, 558, 805},         // 11 x 17 on A4
      {{0, 0, 756, 576}, kLetterW, kLetterH, 1, 1, 576, 756},  // exactly the printable area
      {{0, 0, 757, 576.5f}, kLetterW, kLetterH, 2, 2, 576, 756},
      {{0, 0, 2592, 3456}, kLetterW, kLetterH, 6, 4, 576, 756},  // 48 x 36 in
      {{0, 0, 10, 10}, kLetterW, kLetterH, 1, 1, 576, 756},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sheet.right << " x " << c.sheet.bottom);
    PrintTiling t;
    ASSERT_TRUE(ComputePrintTiling(c.sheet, c.w, c.h, kDpi, kDpi, &t));
    EXPECT_EQ(t.across, c.across);
    EXPECT_EQ(t.down, c.down);
    EXPECT_EQ(t.pageWidth, c.pageWidth);
    EXPECT_EQ(t.pageHeight, c.pageHeight);
    EXPECT_FLOAT_EQ(t.scaleH, 300.0f / 72.0f);
  }
}

TEST(PrintTiling, NoDeviceOrNoSheetGivesNoTiling) {
  const FloatRect letter = {0, 0, 792, 612};
  PrintTiling t;
  t.across = 77;
  EXPECT_FALSE(ComputePrintTiling(letter, kLetterW, kLetterH, 0, 0, &t));  // no context: no dpi
  EXPECT_FALSE(ComputePrintTiling(letter, 0, kLetterH, kDpi, kDpi, &t));
  EXPECT_FALSE(ComputePrintTiling(letter, kLetterW, -5, kDpi, kDpi, &t));
  EXPECT_FALSE(ComputePrintTiling(letter, kLetterW, kLetterH, kDpi, -300, &t));
  EXPECT_FALSE(ComputePrintTiling({0, 0, 0, 612}, kLetterW, kLetterH, kDpi, kDpi, &t));
  EXPECT_FALSE(ComputePrintTiling(kEmptyRect, kLetterW, kLetterH, kDpi, kDpi, &t));
  // A sheet needing more pages than a job may have: 1-pixel pages.
  EXPECT_FALSE(ComputePrintTiling(letter, 1, 1, kDpi, kDpi, &t));
  EXPECT_EQ(t.across, 77);
}

TEST(PrintTiling, TileCornersAndWhichTilesHoldTheDrawing) {
  PrintTiling t;
  ASSERT_TRUE(ComputePrintTiling({0, 0, 792, 612}, kLetterW, kLetterH, kDpi, kDpi, &t));
  int32_t r[4];
  GetTileRect(t, 1, 1, r);
  EXPECT_EQ(r[0], 2400);
  EXPECT_EQ(r[1], 3150);
  EXPECT_EQ(r[2], 4800);
  EXPECT_EQ(r[3], 6300);
  // A drawing only in the top-left page prints one page; one crossing the page break both.
  const FloatRect topLeft = {100, 100, 300, 400};      // top, left, bottom, right
  const FloatRect acrossBreak = {100, 500, 300, 600};  // x 500..600 crosses 576
  const FloatRect bottomRight = {770, 590, 780, 600};
  struct Case {
    FloatRect drawing;
    bool tiles[2][2];  // [row][column]
    int32_t count;
  } cases[] = {
      {topLeft, {{true, false}, {false, false}}, 1},
      {acrossBreak, {{true, true}, {false, false}}, 2},
      {bottomRight, {{false, false}, {false, true}}, 1},
      {kEmptyRect, {{false, false}, {false, false}}, 0},
      {{-500, -500, -400, -400}, {{false, false}, {false, false}}, 0},  // off the sheet
  };
  for (const Case& c : cases) {
    for (int row = 0; row < 2; ++row)
      for (int column = 0; column < 2; ++column)
        EXPECT_EQ(TileHoldsDrawing(t, column, row, c.drawing, 2), c.tiles[row][column])
            << "row " << row << " column " << column << " of drawing " << c.drawing.left;
    EXPECT_EQ(CountPrintedTiles(t, c.drawing, 2), c.count);
  }
  // The pen margin reaches over a break the drawing itself stops short of.
  const FloatRect nearBreak = {100, 100, 300, 575.9f};
  EXPECT_FALSE(TileHoldsDrawing(t, 1, 0, nearBreak, 0));
  EXPECT_TRUE(TileHoldsDrawing(t, 1, 0, nearBreak, 4));
}

}  // namespace
