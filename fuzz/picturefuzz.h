// One input through the picture readers of the import filters: the PCX reader, and the EPS
// preview reader with the metafile walk and the bounding box comment. Shared by the fuzz
// targets, the replay program and the replay test; a broken promise aborts, so the fuzzer keeps
// the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "exchange/epspre.h"
#include "exchange/pcxread.h"

namespace picturefuzz {

inline void Broken(const char* what) {
  std::fprintf(stderr, "picturefuzz: %s\n", what);
  std::abort();
}

}  // namespace picturefuzz

inline void PcxFuzzOneInput(const uint8_t* data, size_t size) {
  RasterImage image;
  const FilterResult result = ReadPcxImage(data, size, &image);
  if (result != kFilterOK) {
    if (image.pixels) picturefuzz::Broken("a refused picture kept its pixels");
    return;
  }
  if (image.width <= 0 || image.height <= 0 ||
      static_cast<uint64_t>(image.width) * static_cast<uint64_t>(image.height) > kMaxRasterPixels)
    picturefuzz::Broken("a picture outside the size limit");
  // Every pixel was written (an unwritten one would show under the sanitizers) and is opaque.
  const size_t count = static_cast<size_t>(image.width) * image.height;
  for (size_t i = 0; i < count; ++i)
    if (image.pixels[i] >> 24 != 0xFF) picturefuzz::Broken("a PCX pixel that is not opaque");
  const RasterPlacement placement = PlaceRasterImage(image);
  if (placement.right <= 0 || placement.bottom <= 0 || placement.unitsPerInch <= 0)
    picturefuzz::Broken("a placement with no size");
  FreeRasterImage(&image);
}

inline void EpsPreviewFuzzOneInput(const uint8_t* data, size_t size) {
  double box[4];
  if (FindEpsBoundingBox(data, size, box) && !(box[2] > box[0] && box[3] > box[1]))
    picturefuzz::Broken("a bounding box that is no box");
  EpsPreview preview;
  if (ReadEpsPreview(data, size, &preview) != kFilterOK) return;
  if (preview.bits < data || preview.length > size ||
      static_cast<size_t>(preview.bits - data) > size - preview.length)
    picturefuzz::Broken("a preview outside the file");
  if (preview.kind != EpsPreviewKind::kMetafile) return;
  if (preview.right <= preview.left || preview.bottom <= preview.top || preview.unitsPerInch <= 0)
    picturefuzz::Broken("a metafile preview with an empty frame");
  MetafileFacts again;
  if (CheckMetafileBits(preview.bits, preview.length, &again) != kFilterOK || again.length != preview.length)
    picturefuzz::Broken("the metafile handed on does not walk to its end");
}
