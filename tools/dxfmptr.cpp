// Import through filters: the formats and their filter files.
#include "tools/dxfmptr.h"

#include <cctype>
#include <cstring>

#include "tools/extract1.h"

namespace {

const ImportFormat kImportFormats[] = {
    {"dxf", "DXF.FLT", kSourceDXF, kImportObjects},    {"cdr", "CDR.FLT", kSourceCDR, kImportPicture},
    {"drw", "DRW.FLT", kSourceDRW, kImportPicture},    {"bmp", "BMP.FLT", kSourceBMP, kImportPicture},
    {"eps", "EPSPRE.FLT", kSourceEPS, kImportPicture}, {"gif", "GIF.FLT", kSourceGIF, kImportPicture},
    {"pcx", "PCX.FLT", kSourcePCX, kImportPicture},    {"jpg", "JPEG.FLT", kSourceJPG, kImportPicture},
    {"jpeg", "JPEG.FLT", kSourceJPG, kImportPicture},  {"tif", "TIFF.FLT", kSourceTIF, kImportPicture},
    {"tiff", "TIFF.FLT", kSourceTIF, kImportPicture},
};

}  // namespace

const ImportFormat* FindImportFormatByExtension(const char* path) {
  if (!path) return nullptr;
  const char* dot = std::strrchr(path, '.');
  const char* slash = std::strpbrk(dot ? dot : path, "/\\");
  if (!dot || slash) return nullptr;
  char extension[8] = {};
  size_t n = 0;
  for (const char* p = dot + 1; *p; ++p) {
    if (n + 1 >= sizeof extension) return nullptr;
    extension[n++] = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
  }
  for (const ImportFormat& format : kImportFormats)
    if (std::strcmp(format.extension, extension) == 0) return &format;
  return nullptr;
}

const ImportFormat* FindImportFormatBySource(int16_t source) {
  for (const ImportFormat& format : kImportFormats)
    if (format.source == source) return &format;
  return nullptr;
}

const char* FilterResultText(int16_t result) {
  switch (result) {
    case kFilterOK:
      return "imported";
    case kFilterMissing:
      return "no import filter for this format is installed";
    case kFilterCorrupt:
      return "the import filter is damaged (it has no ImportGr)";
    case kFilterCannotOpen:
      return "cannot be opened";
    case kFilterIncomplete:
      return "incomplete";
    case kFilterNoMemory:
    case kFilterMemoryLow:
      return "not enough memory to import it";
    case kFilterMetafileTooBig:
      return "its picture is larger than an import holds";
    case kFilterInvalidData:
      return "holds invalid data";
    default:
      return "the import filter failed";
  }
}
