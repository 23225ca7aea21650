// Import through filters: loading a filter library, calling it, and placing its metafile.
#include "tools/dxfmptr.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "tools/extract1.h"

namespace {

// Only the program's folder and the system folder: a library of the same name planted in the
// current folder or on the search path is never loaded.
constexpr DWORD kFilterSearch = LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;

HMETAFILE AsMetafile(uint32_t handle) {
  // Handles fit in 32 bits and are sign-extended back.
  return reinterpret_cast<HMETAFILE>(static_cast<intptr_t>(static_cast<int32_t>(handle)));
}

int16_t ConvertMetafile(HMETAFILE metafile, const FilterPictRecord* picture) {
  const UINT length = GetMetaFileBitsEx(metafile, 0, nullptr);
  if (length == 0) return kFilterInvalidData;
  std::vector<uint8_t> bits(length);
  if (GetMetaFileBitsEx(metafile, length, bits.data()) != length) return kFilterInvalidData;
  return ExtractWMFEntities(bits.data(), bits.size(), picture);
}

}  // namespace

int16_t ImportThroughFilter(const char* filterFile, const char* path, int16_t mode, void* dc, void* window) {
  if (!filterFile || !path) return kFilterCannotOpen;
  HMODULE filter = LoadLibraryExA(filterFile, nullptr, kFilterSearch);
  if (!filter) return kFilterMissing;
  auto importGr = reinterpret_cast<ImportGrProc>(reinterpret_cast<void*>(GetProcAddress(filter, "ImportGr")));
  auto getInfo =
      reinterpret_cast<GetFilterInfoProc>(reinterpret_cast<void*>(GetProcAddress(filter, "GetFilterInfo")));
  auto getPref =
      reinterpret_cast<GetFilterPrefProc>(reinterpret_cast<void*>(GetProcAddress(filter, "GetFilterPref")));
  if (!importGr) {
    FreeLibrary(filter);
    return kFilterCorrupt;
  }
  // The file stays open for reading while the filter works on it.
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  FilterFileRecord fileRecord = {};
  const DWORD full = file != INVALID_HANDLE_VALUE
                         ? GetFullPathNameA(path, sizeof fileRecord.path, fileRecord.path, nullptr)
                         : 0;
  if (file == INVALID_HANDLE_VALUE || full == 0 || full >= sizeof fileRecord.path) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    FreeLibrary(filter);
    return kFilterCannotOpen;
  }
  void* prefs = nullptr;
  if (getInfo) getInfo(1, nullptr, &prefs, nullptr);
  if (getPref) getPref(reinterpret_cast<void*>(filter), window, prefs, 1);
  FilterPictRecord picture = {};
  int16_t result = importGr(dc, &fileRecord, &picture, prefs);
  // The preference handle is the filter's own: it is neither read nor freed here.
  HMETAFILE metafile = AsMetafile(picture.metafile);
  if (result == kFilterOK && !metafile) result = kFilterInvalidData;
  if (result == kFilterOK) result = CheckFilterPicture(&picture);
  if (result == kFilterOK) {
    if (mode == kImportPicture) {
      result = PlaceFilterPicture(&picture, reinterpret_cast<MetaPict>(metafile));
      if (result == kFilterOK) metafile = nullptr;  // the picture object owns it now
    } else {
      result = ConvertMetafile(metafile, &picture);
    }
  }
  if (metafile) DeleteMetaFile(metafile);
  CloseHandle(file);
  FreeLibrary(filter);
  return result;
}
