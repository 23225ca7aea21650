// The PCX reader: every layout it reads against the pixels written, and damaged, truncated and
// absurd files refused with the right result and nothing allocated.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "exchange/pcxread.h"
#include "tests/support/pcxwriter.h"

namespace {

uint32_t Opaque(unsigned r, unsigned g, unsigned b) {
  return 0xFF000000u | r << 16 | g << 8 | b;
}

// A colour for each index, distinct in every component.
std::vector<uint8_t> Palette(int colors) {
  std::vector<uint8_t> palette;
  for (int i = 0; i < colors; ++i) {
    palette.push_back(static_cast<uint8_t>(i * 7 + 1));
    palette.push_back(static_cast<uint8_t>(255 - i * 3));
    palette.push_back(static_cast<uint8_t>(i * 11 % 256));
  }
  return palette;
}

uint32_t PaletteColor(const std::vector<uint8_t>& palette, unsigned index) {
  return Opaque(palette[3 * index], palette[3 * index + 1], palette[3 * index + 2]);
}

unsigned IndexAt(int x, int y, int colors) {
  return static_cast<unsigned>((x * 5 + y * 3 + x / 4) % colors);
}

TEST(PcxRead, EveryLayoutDecodesToThePixelsWritten) {
  const struct Case {
    const char* name;
    int bits, planes, width, height;
    bool encoded, lineRuns;
  } kCases[] = {
      {"1-bit", 1, 1, 37, 5, true, false},         {"1-bit, 4 planes", 1, 4, 21, 6, true, false},
      {"1-bit, 2 planes", 1, 2, 9, 3, true, true}, {"2-bit", 2, 1, 13, 4, true, false},
      {"4-bit", 4, 1, 11, 7, true, true},          {"8-bit", 8, 1, 70, 9, true, false},
      {"8-bit stored", 8, 1, 7, 3, false, false},  {"24-bit", 8, 3, 67, 8, true, true},
      {"24-bit stored", 8, 3, 5, 2, false, false}, {"32-bit", 8, 4, 6, 4, true, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    PcxLayout layout = {c.width, c.height, c.bits, c.planes, 0, c.encoded, c.lineRuns, 150, 1, {}, {}};
    const bool rgb = c.bits == 8 && c.planes >= 3;
    const int colors = rgb ? 0 : 1 << (c.bits * c.planes);
    std::vector<uint8_t> palette = Palette(colors > 256 ? 256 : colors);
    if (c.bits == 8 && !rgb)
      layout.trailingPalette = palette;
    else if (!rgb)
      layout.headerPalette = palette;
    auto index = [&](int x, int y) { return IndexAt(x, y, colors); };
    // Long runs of one value, so that run bytes of 63 and runs across line ends occur.
    auto component = [&](int x, int y, int p) {
      return static_cast<unsigned>(x < 40 ? 200 + p : (x * 9 + y + p * 40) % 256);
    };
    const std::vector<uint8_t> file = WritePcx(layout, [&](int x, int y, int p) {
      if (rgb) return component(x, y, p);
      return c.planes > 1 ? (index(x, y) >> p) & 1u : index(x, y);
    });
    RasterImage image;
    ASSERT_EQ(ReadPcxImage(file.data(), file.size(), &image), kFilterOK);
    ASSERT_EQ(image.width, c.width);
    ASSERT_EQ(image.height, c.height);
    EXPECT_EQ(image.dpiX, 150);
    int wrong = 0;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const uint32_t want = rgb ? Opaque(component(x, y, 0), component(x, y, 1), component(x, y, 2))
                                  : PaletteColor(palette, index(x, y));
        if (image.pixels[y * c.width + x] != want && wrong++ < 3)
          ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << image.pixels[y * c.width + x]
                        << " wanted " << want;
      }
    FreeRasterImage(&image);
  }
}

TEST(PcxRead, PalettesLeftOutFallBackOnlyWhereTheFileSaysSo) {
  // A two-colour picture with a blank palette is black on white.
  PcxLayout mono = {8, 1, 1, 1, 0, true, false, 0, 1, {}, {}};
  std::vector<uint8_t> file = WritePcx(mono, [](int x, int, int) { return static_cast<unsigned>(x & 1); });
  RasterImage image;
  ASSERT_EQ(ReadPcxImage(file.data(), file.size(), &image), kFilterOK);
  EXPECT_EQ(image.pixels[0], Opaque(0, 0, 0));
  EXPECT_EQ(image.pixels[1], Opaque(255, 255, 255));
  EXPECT_EQ(image.dpiX, 0);
  FreeRasterImage(&image);
  // Nor is a resolution that repeats the picture's size (some writers put it there).
  mono.dpi = 8;
  mono.height = 8;
  file = WritePcx(mono, [](int x, int, int) { return static_cast<unsigned>(x & 1); });
  ASSERT_EQ(ReadPcxImage(file.data(), file.size(), &image), kFilterOK);
  EXPECT_EQ(image.dpiX, 0);
  FreeRasterImage(&image);
  // An 8-bit grey picture needs no palette; a colour one that lost it is incomplete.
  PcxLayout grey = {4, 2, 8, 1, 0, true, false, 72, 2, {}, {}};
  file = WritePcx(grey, [](int x, int y, int) { return static_cast<unsigned>(x * 60 + y); });
  ASSERT_EQ(ReadPcxImage(file.data(), file.size(), &image), kFilterOK);
  EXPECT_EQ(image.pixels[5], Opaque(61, 61, 61));
  FreeRasterImage(&image);
  file[68] = 1;
  EXPECT_EQ(ReadPcxImage(file.data(), file.size(), &image), kFilterIncomplete);
  EXPECT_EQ(image.pixels, nullptr);
}

TEST(PcxRead, DamagedAndTruncatedFilesAreRefused) {
  PcxLayout layout = {40, 10, 8, 3, 0, true, false, 96, 1, {}, {}};
  const std::vector<uint8_t> good =
      WritePcx(layout, [](int x, int y, int p) { return static_cast<unsigned>(x * y + p); });
  const struct Case {
    const char* name;
    size_t at;  // the byte changed, or the length kept when `cut`
    int value;
    bool cut;
    FilterResult want;
  } kCases[] = {
      {"empty", 0, 0, true, kFilterInvalidData},
      {"not a PCX file", 0, 'P', false, kFilterInvalidData},
      {"header cut short", 100, 0, true, kFilterIncomplete},
      {"header only", 128, 0, true, kFilterIncomplete},
      {"pixels cut short", good.size() - 5, 0, true, kFilterIncomplete},
      {"unknown version", 1, 9, false, kFilterInvalidData},
      {"unknown encoding", 2, 2, false, kFilterInvalidData},
      {"3 bits per pixel", 3, 3, false, kFilterInvalidData},
      {"8 bits in 2 planes", 65, 2, false, kFilterInvalidData},
      {"no planes", 65, 0, false, kFilterInvalidData},
      {"lines shorter than the width", 66, 20, false, kFilterInvalidData},
      {"lines of no bytes", 66, 0, false, kFilterInvalidData},
      {"right edge before the left", 4, 200, false, kFilterInvalidData},
      {"far more lines than bytes", 11, 0x7F, false, kFilterIncomplete},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> file = good;
    if (c.cut)
      file.resize(c.at);
    else
      file[c.at] = static_cast<uint8_t>(c.value);
    RasterImage image;
    EXPECT_EQ(ReadPcxImage(file.empty() ? nullptr : file.data(), file.size(), &image), c.want);
    EXPECT_EQ(image.pixels, nullptr);
  }
}

TEST(RasterImage, SizesAreBoundedBeforeAllocating) {
  const struct {
    int64_t width, height;
    FilterResult want;
  } kCases[] = {
      {0, 5, kFilterInvalidData},
      {5, -1, kFilterInvalidData},
      {65536, 1025, kFilterNoMemory},                         // just past 64 Mi pixels
      {int64_t{1} << 32, int64_t{1} << 32, kFilterNoMemory},  // the product overflows 64 bits' half
      {INT64_MAX, 2, kFilterNoMemory},
      {3, 2, kFilterOK},
  };
  for (const auto& c : kCases) {
    RasterImage image;
    EXPECT_EQ(AllocRasterImage(c.width, c.height, &image), c.want) << c.width << " x " << c.height;
    EXPECT_EQ(image.pixels != nullptr, c.want == kFilterOK);
    FreeRasterImage(&image);
  }
}

TEST(RasterImage, PlacementUsesOnlySaneResolutions) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double dpiX, dpiY;
    int32_t bottom;
    int16_t unitsPerInch;
  } kCases[] = {
      {0, 0, 100, 96},         {300, 300, 100, 300}, {299.6, 299.6, 100, 300}, {5, 5, 100, 96},
      {20000, 20000, 100, 96}, {nan, 300, 100, 96},  {200, 100, 200, 200},     {100, 200, 50, 100},
  };
  for (const auto& c : kCases) {
    RasterImage image = {80, 100, nullptr, c.dpiX, c.dpiY};
    const RasterPlacement placement = PlaceRasterImage(image);
    EXPECT_EQ(placement.right, 80);
    EXPECT_EQ(placement.bottom, c.bottom) << c.dpiX << " x " << c.dpiY;
    EXPECT_EQ(placement.unitsPerInch, c.unitsPerInch) << c.dpiX << " x " << c.dpiY;
  }
}

}  // namespace
