// The drawing sheet: the named paper sizes the sheet can take, the custom size, and how a sheet
// is tiled over printer pages at full scale.
#pragma once

#include <cstdint>

#include "model/docstate.h"

// Paper families: the values of paperKind (the radio buttons of the paper dialog).
constexpr int16_t kPaperArchitectural = 10;
constexpr int16_t kPaperMechanical = 11;
constexpr int16_t kPaperMetric = 14;
constexpr int16_t kPaperOversize = 15;
constexpr int16_t kPaperCustom = 19;
// Units of a custom size (paperCustomUnit).
constexpr int16_t kPaperInches = 1;
constexpr int16_t kPaperMillimetres = 2;
constexpr int16_t kPaperCentimetres = 3;
// The size a selection outside its family's list leaves, in inches.
constexpr float kDefaultPaperSide = 12.0f;
// The largest sheet side in page units: coordinates on the sheet must stay below the bounds'
// empty-rectangle sentinel (32000).
constexpr float kMaxSheetSide = 31680.0f;  // 440 inches

// The number of sizes of a named family; 0 for the custom family or an unknown one.
int PaperFamilySize(int16_t kind);

// The paper of the drawing's fields in inches (width across, height down). A named family's
// selection outside its list gives 12 by 12 inches; a custom size is converted from its unit.
void GetPaperInches(const DocState* state, float* width, float* height);

// Sets pageRect from the paper fields (top 0, left 0, the size in page units) and moves the
// origin onto the sheet's right or bottom edge when the sheet no longer reaches it.
void ComputePaperSize(DocState* state);

// Why a custom size cannot be a sheet.
enum class CustomPaperFault {
  kNone,
  kNotPositive,  // zero, negative or not a number
  kTooLarge,     // a side beyond kMaxSheetSide
  kBadUnit,      // a unit other than inches, millimetres or centimetres
};
CustomPaperFault CheckCustomPaper(float width, float height, int16_t unit);

// A sheet tiled over printer pages. A tile is one page's printable area, `tileWidth` by
// `tileHeight` device pixels; tile (column c, row r) shows the sheet's part whose top-left corner
// lies at device pixel (originX + c * tileWidth, originY + r * tileHeight) of the sheet drawn at
// `scaleH` by `scaleV` device pixels per page unit.
struct PrintTiling {
  int32_t across = 0, down = 0;
  int32_t tileWidth = 0, tileHeight = 0;
  int32_t originX = 0, originY = 0;
  float scaleH = 0.0f, scaleV = 0.0f;
  // The printable page in page units, truncated: what the page-break display shows.
  int32_t pageWidth = 0, pageHeight = 0;
};

// The tiling of `sheet` (page units) over pages of `printableWidth` by `printableHeight` device
// pixels at `dotsPerInchH` by `dotsPerInchV`. False, with `tiling` untouched, when a device value
// is not positive (no device) or the sheet has no size or would need more pages than kMaxPrintPages.
constexpr int32_t kMaxPrintPages = 10000;
bool ComputePrintTiling(const FloatRect& sheet, int32_t printableWidth, int32_t printableHeight,
                        int32_t dotsPerInchH, int32_t dotsPerInchV, PrintTiling* tiling);

// The device rectangle of tile (column, row): left, top, right, bottom.
void GetTileRect(const PrintTiling& tiling, int32_t column, int32_t row, int32_t rect[4]);

// True when tile (column, row) holds part of `drawing` (page units; the empty rectangle holds
// nothing), grown by `marginPixels` device pixels for the pens' width.
bool TileHoldsDrawing(const PrintTiling& tiling, int32_t column, int32_t row, const FloatRect& drawing,
                      int32_t marginPixels);

// The number of tiles that hold part of `drawing`: the pages a print makes for one copy.
int32_t CountPrintedTiles(const PrintTiling& tiling, const FloatRect& drawing, int32_t marginPixels);
