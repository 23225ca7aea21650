// drxconv: files the program imports (DXF as objects, raster and EPS files as one picture) read
// into a new drawing, as the import commands would put them on the current layer of a new one.
#include <string>

#include "drxconv/drxconv.h"
#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/objedit.h"
#include "tools/dxfmptr.h"
#include "tools/extract1.h"

#ifndef _WIN32
#include "exchange/dxfread.h"
#endif

namespace {

// The host build has no filter libraries: DXF goes through the same reader the DXF filter wraps.
int16_t ImportIntoCurrentDrawing(const ImportFormat& format, const char* path, std::string* reason) {
#ifdef _WIN32
  const int16_t result = ImportThroughFilter(format.filterFile, path, format.mode, nullptr, nullptr);
  // A missing or damaged filter is named.
  if (result == kFilterMissing || result == kFilterCorrupt) *reason = format.filterFile;
  return result;
#else
  if (format.source != kSourceDXF) return kFilterMissing;
  DxfImport dxf;
  int16_t result = ReadDxfFile(path, &dxf);
  if (result == kFilterOK)
    result = ExtractWMFEntities(dxf.metafile.data(), dxf.metafile.size(), &dxf.picture);
  if (result != kFilterOK && !dxf.failure.empty()) *reason = dxf.failure;
  return result;
#endif
}

}  // namespace

bool IsImportedFormat(const char* path) {
  return FindImportFormatByExtension(path) != nullptr;
}

int ImportDrawing(const char* path, LoadedDrawing* drawing, std::string* reason) {
  const ImportFormat* format = FindImportFormatByExtension(path);
  if (!format) {
    *reason = "not a format Draxel imports";
    return kExitUsage;
  }
#ifndef _WIN32
  if (format->source != kSourceDXF) {
    *reason = std::string("importing ." + std::string(format->extension) +
                          " needs the Windows build (drxconv.exe)");
    return kExitUsage;
  }
#endif
  DocumentRec* document = CreateDocument();
  if (!document) {
    *reason = "out of memory";
    return kExitFile;
  }
  gCurDocument = document;
  gFilterName = format->source;
  std::string detail;
  const int16_t result = ImportIntoCurrentDrawing(*format, path, &detail);
  if (result != kFilterOK) {
    // The filter's word for the failure, and the reader's own reason where the build has it.
    *reason = std::string(FilterResultText(result)) + (detail.empty() ? "" : ": " + detail);
    DeleteDocument(document);
    gCurDocument = nullptr;
    return kExitFile;
  }
  // As the import command does: the new objects, selected, are centred (here on the sheet).
  const FloatRect& page = document->docState->pageRect;
  FloatRect placed;
  CenterObjectsAt(document->firstLayer, true, (page.left + page.right) / 2.0f,
                  (page.top + page.bottom) / 2.0f, &placed);
  if (!gImportNote.empty()) std::fprintf(stderr, "drxconv: %s: %s\n", path, gImportNote.c_str());
  drawing->document = document;
  drawing->version = kDrxVersion150;
  drawing->platform = kPlatformWindows;
  return kExitDone;
}
