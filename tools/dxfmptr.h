// Import through filters: the table of formats with their filter files, and (Windows) the call
// of a filter library on a file followed by the placing of what it returns: one picture object,
// or the metafile's figures as objects of the current layer. The program's import commands and
// the converter both come through here.
#pragma once

#include <cstdint>

#include "exchange/filterapi.h"

// Not a filter's result: the filter library is not installed (or has no ImportGr).
constexpr int16_t kFilterMissing = -1;
// Not a filter's result: the library loads but lacks the ImportGr entry point.
constexpr int16_t kFilterCorrupt = -2;

struct ImportFormat {
  const char* extension;   // lower case, without the dot
  const char* filterFile;  // looked up beside the program, then in the system folder
  int16_t source;          // the gFilterName code
  int16_t mode;            // kImportPicture or kImportObjects (CorelDraw: by gCDRImportMethod)
};

// The format of a file name's extension (any case), or null.
const ImportFormat* FindImportFormatByExtension(const char* path);
// The format with this source code, or null.
const ImportFormat* FindImportFormatBySource(int16_t source);
// The result in the converter's words ("the file holds invalid data").
const char* FilterResultText(int16_t result);

// Windows only. Loads `filterFile` from the program's folder or the system folder (never the
// current folder or the search path), hands it the open file, and places the result on the
// current drawing's current layer in `mode`. `dc` and `window` are the drawing pane's (either may
// be null in the converter). Returns kFilterOK, a filter's error code, kFilterMissing,
// kFilterCorrupt, or kFilterCannotOpen when the file cannot be opened; the filter's metafile is deleted
// wherever no picture object took it, and the filter library is released.
int16_t ImportThroughFilter(const char* filterFile, const char* path, int16_t mode, void* dc, void* window);
