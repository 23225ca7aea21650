// The PCX filter: our own reader (the system has none).
#include "exchange/pcxread.h"
#include "filters/filtcore.h"

extern "C" int16_t ImportGr(void*, FilterFileRecord* file, FilterPictRecord* pict, void*) {
  return ImportRasterFile(file, pict, ReadPcxImage);
}
