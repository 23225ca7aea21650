// DXF.FLT: the DXF import filter. It reads the file with the portable DXF reader and hands the
// figures back as a 16-bit metafile, with the bounding box and the units per inch that keep the
// drawing's size.
#include <windows.h>

#include "exchange/dxfread.h"
#include "exchange/filterapi.h"

extern "C" {

// Version 1 of the interface; the filter keeps no preferences.
int16_t GetFilterInfo(int16_t, void*, void** prefs, void*) {
  if (prefs) *prefs = nullptr;
  return 2;  // a vector format
}

void GetFilterPref(void*, void*, void*, int16_t) {}

int16_t ImportGr(void*, FilterFileRecord* file, FilterPictRecord* picture, void*) {
  if (!file || !picture) return kFilterInvalidData;
  // The path is terminated within the record, whatever the caller wrote.
  char path[kFilterPathSize];
  lstrcpynA(path, file->path, sizeof path);
  DxfImport dxf;
  const int16_t result = ReadDxfFile(path, &dxf);
  if (result != kFilterOK) return result;
  HMETAFILE metafile = SetMetaFileBitsEx(static_cast<UINT>(dxf.metafile.size()), dxf.metafile.data());
  if (!metafile) return kFilterNoMemory;
  *picture = dxf.picture;
  picture->metafile = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(metafile));
  return kFilterOK;
}

}  // extern "C"
