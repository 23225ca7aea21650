// Decoded pictures: allocation within the size limit and placement by resolution.
#include "exchange/rasterimage.h"

#include <cmath>
#include <cstdlib>

FilterResult AllocRasterImage(int64_t width, int64_t height, RasterImage* image) {
  *image = RasterImage();
  if (width <= 0 || height <= 0) return kFilterInvalidData;
  // Each side is checked first so that the product cannot overflow.
  if (static_cast<uint64_t>(width) > kMaxRasterPixels || static_cast<uint64_t>(height) > kMaxRasterPixels ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxRasterPixels)
    return kFilterNoMemory;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  image->pixels = static_cast<uint32_t*>(std::malloc(count * sizeof(uint32_t)));
  if (!image->pixels) return kFilterNoMemory;
  image->width = static_cast<int32_t>(width);
  image->height = static_cast<int32_t>(height);
  return kFilterOK;
}

void FreeRasterImage(RasterImage* image) {
  if (!image) return;
  std::free(image->pixels);
  *image = RasterImage();
}

namespace {
bool SaneDpi(double dpi) {
  return dpi >= kMinSaneDpi && dpi <= kMaxSaneDpi;
}
}  // namespace

RasterPlacement PlaceRasterImage(const RasterImage& image) {
  RasterPlacement placement = {image.width, image.height, kDefaultUnitsPerInch};
  if (!SaneDpi(image.dpiX) || !SaneDpi(image.dpiY)) return placement;
  const double height = std::floor(image.height * (image.dpiX / image.dpiY) + 0.5);
  if (!(height >= 1.0 && height <= INT32_MAX)) return placement;
  placement.unitsPerInch = static_cast<int16_t>(std::floor(image.dpiX + 0.5));
  placement.bottom = static_cast<int32_t>(height);
  return placement;
}
