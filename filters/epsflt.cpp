// The EPS preview filter: the metafile or TIFF picture stored beside the PostScript of an EPS
// file with the binary header. Files without one have nothing we can show: invalid data.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "exchange/epspre.h"
#include "filters/filtcore.h"

namespace {

// A metafile preview as a metafile: its bytes, with the header's size fields set from the
// records actually walked.
int16_t ImportMetafilePreview(const EpsPreview& preview, FilterPictRecord* pict) {
  uint8_t* bits = static_cast<uint8_t*>(std::malloc(preview.length));
  if (!bits) return kFilterNoMemory;
  std::memcpy(bits, preview.bits, preview.length);
  const uint32_t words = static_cast<uint32_t>(preview.length / 2);
  std::memcpy(bits + 6, &words, sizeof words);                                 // mtSize
  std::memcpy(bits + 12, &preview.metafile.maxRecordWords, sizeof(uint32_t));  // mtMaxRecord
  HMETAFILE metafile = SetMetaFileBitsEx(static_cast<UINT>(preview.length), bits);
  std::free(bits);
  if (!metafile) return kFilterInvalidData;
  pict->metafile = MetaFileHandleBits(metafile);
  pict->left = preview.left;
  pict->top = preview.top;
  pict->right = preview.right;
  pict->bottom = preview.bottom;
  pict->unitsPerInch = preview.unitsPerInch;
  return kFilterOK;
}

// A TIFF preview: its pixels cover the bounding box, which gives the resolution when it has one.
int16_t ImportTiffPreview(const EpsPreview& preview, FilterPictRecord* pict) {
  RasterImage image;
  const FilterResult result = DecodeWithImaging(preview.bits, preview.length, &image);
  if (result != kFilterOK) return result;
  if (preview.hasBoundingBox) {
    image.dpiX = kEpsPointsPerInch * image.width / (preview.boxRight - preview.boxLeft);
    image.dpiY = kEpsPointsPerInch * image.height / (preview.boxTop - preview.boxBottom);
  }
  return FinishRasterImport(&image, pict);
}

}  // namespace

extern "C" int16_t ImportGr(void*, FilterFileRecord* file, FilterPictRecord* pict, void*) {
  if (!pict) return kFilterInvalidData;
  FileBytes bytes;
  FilterResult result = ReadFilterFile(file, &bytes);
  if (result != kFilterOK) return result;
  EpsPreview preview;
  int16_t imported = ReadEpsPreview(bytes.data, bytes.length, &preview);
  if (imported == kFilterOK)
    imported = preview.kind == EpsPreviewKind::kMetafile ? ImportMetafilePreview(preview, pict)
                                                         : ImportTiffPreview(preview, pict);
  FreeFileBytes(&bytes);
  return imported;
}
