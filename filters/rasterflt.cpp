// The BMP, GIF, JPEG and TIFF filters: one library under four names, each reading whatever
// picture the system's imaging component recognises in the file.
#include "filters/filtcore.h"

extern "C" int16_t ImportGr(void*, FilterFileRecord* file, FilterPictRecord* pict, void*) {
  return ImportRasterFile(file, pict, DecodeWithImaging);
}
