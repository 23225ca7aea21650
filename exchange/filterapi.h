// The contract between the program and its graphics import filters: loadable libraries ("DXF.FLT",
// "BMP.FLT", ...) that turn a file into a 16-bit metafile with a bounding box and a resolution.
// Each filter exports, undecorated, `ImportGr` (required) and optionally `GetFilterInfo` and
// `GetFilterPref`. The records below are the ones both sides fill; they hold no window-system types
// so the portable readers and their tests can use them too.
#pragma once

#include <cstdint>

// The file record the program hands to `ImportGr`: the bytes before the path are not set; the path
// is the opened file's full path, terminated, in the system's ANSI code page.
constexpr int kFilterPathOffset = 10;
constexpr int kFilterPathSize = 260;
struct FilterFileRecord {
  uint8_t reserved[kFilterPathOffset];
  char path[kFilterPathSize];
};
static_assert(sizeof(FilterFileRecord) == kFilterPathOffset + kFilterPathSize, "path starts at byte 10");

// The picture record the filter fills: a 16-bit metafile handle (the handle's low 32 bits; the
// system's object handles fit in them and are sign-extended back), the bounding box in the
// filter's units, and the units per inch.
struct FilterPictRecord {
  uint32_t metafile;
  int32_t left, top, right, bottom;
  int16_t unitsPerInch;
};

// Results of `ImportGr`: 0 for success, else one of these (each has a message in the string
// table); any other value is an unknown failure.
enum FilterResult : int16_t {
  kFilterOK = 0,
  kFilterCannotOpen = 5018,
  kFilterIncomplete = 5301,
  kFilterNoMemory = 5311,
  kFilterMemoryLow = 5315,
  kFilterMetafileTooBig = 5313,
  kFilterInvalidData = 5309,
};

// The entry points, as the program calls them. `dc` is the drawing pane's device context, `prefs`
// a preference handle the filter may fill in `GetFilterInfo` (null at first), `window` the owner
// for any options dialog the filter shows. All are plain pointers on the calling side.
extern "C" {
typedef int16_t (*ImportGrProc)(void* dc, FilterFileRecord* file, FilterPictRecord* pict, void* prefs);
typedef int16_t (*GetFilterInfoProc)(int16_t version, void* reserved, void** prefs, void* reserved2);
typedef void (*GetFilterPrefProc)(void* instance, void* window, void* prefs, int16_t version);
}
