// The sheet's paper sizes and its tiling over printer pages.
#include "geometry/papersize.h"

#include <cmath>

#include "geometry/units.h"
#include "geometry/zoomhdlr.h"
#include "model/pthndlr.h"

namespace {

// Width and height of each family's sizes in its own unit, in the order of its list.
struct PaperEntry {
  float width, height;
};
const PaperEntry kArchitectural[] = {{12, 9}, {18, 12}, {24, 18}, {36, 24}, {48, 36}, {40, 28}, {42, 30}};
const PaperEntry kMechanical[] = {{11, 8.5f}, {17, 11}, {22, 17}, {34, 22}, {44, 34}};
const PaperEntry kMetric[] = {{297, 210}, {420, 297}, {594, 420}, {841, 594}, {1189, 841}, {1000, 707}};
const PaperEntry kOversize[] = {{330, 240}, {450, 330}, {625, 450}, {880, 625}, {1230, 880}};

struct PaperFamily {
  int16_t kind;
  const PaperEntry* sizes;
  int count;
  bool metric;  // sizes in millimetres, else inches
  int16_t DocState::*selection;
};
template <size_t N>
constexpr int Count(const PaperEntry (&)[N]) {
  return static_cast<int>(N);
}
const PaperFamily kFamilies[] = {
    {kPaperArchitectural, kArchitectural, Count(kArchitectural), false, &DocState::paperArch},
    {kPaperMechanical, kMechanical, Count(kMechanical), false, &DocState::paperMech},
    {kPaperMetric, kMetric, Count(kMetric), true, &DocState::paperMetric},
    {kPaperOversize, kOversize, Count(kOversize), true, &DocState::paperOversize},
};

const PaperFamily* FindFamily(int16_t kind) {
  for (const PaperFamily& family : kFamilies)
    if (family.kind == kind) return &family;
  return nullptr;
}

float CustomToInches(float value, int16_t unit) {
  const int lengthUnit = unit == kPaperMillimetres   ? kUnitMillimetres
                         : unit == kPaperCentimetres ? kUnitCentimetres
                                                     : kUnitInches;
  return ConvertUnitToInches(value, lengthUnit);
}

// A page count: how many tiles of `tile` pixels cover `extent` pixels. A sheet that fills its
// pages exactly must not get an extra page from float noise, hence the small allowance.
int64_t TilesFor(double extent, int32_t tile) {
  constexpr double kAllowance = 1e-6;
  const double pages = std::ceil(extent / tile - kAllowance);
  return pages < 1.0 ? 1 : static_cast<int64_t>(pages);
}

}  // namespace

int PaperFamilySize(int16_t kind) {
  const PaperFamily* family = FindFamily(kind);
  return family ? family->count : 0;
}

void GetPaperInches(const DocState* state, float* width, float* height) {
  float w = kDefaultPaperSide, h = kDefaultPaperSide;
  if (state && state->paperKind == kPaperCustom) {
    w = CustomToInches(state->paperWidth, state->paperCustomUnit);
    h = CustomToInches(state->paperHeight, state->paperCustomUnit);
  } else if (const PaperFamily* family = state ? FindFamily(state->paperKind) : nullptr) {
    const int selection = state->*family->selection;
    if (selection >= 1 && selection <= family->count) {
      const PaperEntry& entry = family->sizes[selection - 1];
      w = family->metric ? ConvertMMToInches(entry.width) : entry.width;
      h = family->metric ? ConvertMMToInches(entry.height) : entry.height;
    }
  }
  if (width) *width = w;
  if (height) *height = h;
}

void ComputePaperSize(DocState* state) {
  if (!state) return;
  float width = 0.0f, height = 0.0f;
  GetPaperInches(state, &width, &height);
  // A size a file brought in that no sheet can have keeps the sheet as it is.
  if (state->paperKind == kPaperCustom && CheckCustomPaper(state->paperWidth, state->paperHeight,
                                                           state->paperCustomUnit) != CustomPaperFault::kNone)
    return;
  state->pageRect.top = 0.0f;
  state->pageRect.left = 0.0f;
  state->pageRect.bottom = std::fabs(height) * kPageUnitsPerInch;
  state->pageRect.right = std::fabs(width) * kPageUnitsPerInch;
  if (state->pageRect.right < state->originH) state->originH = state->pageRect.right;
  if (state->pageRect.bottom < state->originV) state->originV = state->pageRect.bottom;
}

CustomPaperFault CheckCustomPaper(float width, float height, int16_t unit) {
  if (unit != kPaperInches && unit != kPaperMillimetres && unit != kPaperCentimetres)
    return CustomPaperFault::kBadUnit;
  // Written so that a NaN fails too.
  if (!(width > 0.0f) || !(height > 0.0f)) return CustomPaperFault::kNotPositive;
  const double w = static_cast<double>(CustomToInches(width, unit)) * kPageUnitsPerInch;
  const double h = static_cast<double>(CustomToInches(height, unit)) * kPageUnitsPerInch;
  if (!(w <= kMaxSheetSide) || !(h <= kMaxSheetSide)) return CustomPaperFault::kTooLarge;
  // So small that it rounds to nothing on the sheet.
  if (!(w >= 1.0) || !(h >= 1.0)) return CustomPaperFault::kNotPositive;
  return CustomPaperFault::kNone;
}

bool ComputePrintTiling(const FloatRect& sheet, int32_t printableWidth, int32_t printableHeight,
                        int32_t dotsPerInchH, int32_t dotsPerInchV, PrintTiling* tiling) {
  if (!tiling || printableWidth <= 0 || printableHeight <= 0 || dotsPerInchH <= 0 || dotsPerInchV <= 0)
    return false;
  const double sheetWidth = static_cast<double>(sheet.right) - sheet.left;
  const double sheetHeight = static_cast<double>(sheet.bottom) - sheet.top;
  if (!(sheetWidth > 0.0) || !(sheetHeight > 0.0) || !std::isfinite(sheetWidth) ||
      !std::isfinite(sheetHeight))
    return false;
  PrintTiling t;
  t.scaleH = static_cast<float>(dotsPerInchH) / kPageUnitsPerInch;
  t.scaleV = static_cast<float>(dotsPerInchV) / kPageUnitsPerInch;
  const int64_t across = TilesFor(sheetWidth * t.scaleH, printableWidth);
  const int64_t down = TilesFor(sheetHeight * t.scaleV, printableHeight);
  if (across * down > kMaxPrintPages) return false;
  t.across = static_cast<int32_t>(across);
  t.down = static_cast<int32_t>(down);
  t.tileWidth = printableWidth;
  t.tileHeight = printableHeight;
  t.originX = RoundToInt(sheet.left * t.scaleH);
  t.originY = RoundToInt(sheet.top * t.scaleV);
  t.pageWidth = static_cast<int32_t>(static_cast<double>(printableWidth) / dotsPerInchH * kPageUnitsPerInch);
  t.pageHeight =
      static_cast<int32_t>(static_cast<double>(printableHeight) / dotsPerInchV * kPageUnitsPerInch);
  *tiling = t;
  return true;
}

void GetTileRect(const PrintTiling& tiling, int32_t column, int32_t row, int32_t rect[4]) {
  rect[0] = tiling.originX + column * tiling.tileWidth;
  rect[1] = tiling.originY + row * tiling.tileHeight;
  rect[2] = rect[0] + tiling.tileWidth;
  rect[3] = rect[1] + tiling.tileHeight;
}

bool TileHoldsDrawing(const PrintTiling& tiling, int32_t column, int32_t row, const FloatRect& drawing,
                      int32_t marginPixels) {
  if (IsEmptyRect(&drawing) || drawing.right < drawing.left || drawing.bottom < drawing.top) return false;
  int32_t tile[4];
  GetTileRect(tiling, column, row, tile);
  // The drawing in device pixels, as the page draws it: each edge times its scale, rounded.
  const double left = static_cast<double>(drawing.left) * tiling.scaleH - marginPixels;
  const double top = static_cast<double>(drawing.top) * tiling.scaleV - marginPixels;
  const double right = static_cast<double>(drawing.right) * tiling.scaleH + marginPixels;
  const double bottom = static_cast<double>(drawing.bottom) * tiling.scaleV + marginPixels;
  return left < tile[2] && right >= tile[0] && top < tile[3] && bottom >= tile[1];
}

int32_t CountPrintedTiles(const PrintTiling& tiling, const FloatRect& drawing, int32_t marginPixels) {
  int32_t count = 0;
  for (int32_t row = 0; row < tiling.down; ++row)
    for (int32_t column = 0; column < tiling.across; ++column)
      if (TileHoldsDrawing(tiling, column, row, drawing, marginPixels)) ++count;
  return count;
}
