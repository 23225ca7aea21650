// The import commands.
#include "shell/importcmds.h"

#include <windows.h>

#include <cstdio>

#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "render/drawhdlr.h"
#include "resources/strings.h"
#include "shell/cmdids.h"
#include "shell/filecmds.h"
#include "shell/filedlg.h"
#include "shell/setdlogs.h"
#include "shell/shell.h"
#include "tools/dxfmptr.h"
#include "tools/extract1.h"
#include "tools/selhndlr.h"
#include "tools/textpane_win.h"

namespace {

// The invalidated area reaches this many pixels past the imported objects.
constexpr int kInvalidateMargin = 5;
constexpr int kFilterTextSize = 128;

struct ImportCommand {
  int id;
  int filterId;           // the filter text's string
  const char* extension;  // default extension, also the pattern put in the path buffer
  const char* pattern;
  int titleId;
  bool (*entry)(const char* path);
};

const ImportCommand kImportCommands[] = {
    {CMD_IMPORT_DXF, STR_FILTER_DXF, "DXF", "*.DXF", STR_IMPORT_DXF_TITLE, DrxFileImportDXF},
    {CMD_IMPORT_BMP, STR_FILTER_BMP, "BMP", "*.BMP", STR_IMPORT_BMP_TITLE, FileImportBMP},
    {CMD_IMPORT_CDR, STR_FILTER_CDR, "CDR", "*.CDR", STR_IMPORT_CDR_TITLE, FileImportCDR},
    {CMD_IMPORT_DRW, STR_FILTER_DRW, "DRW", "*.DRW", STR_IMPORT_DRW_TITLE, FileImportDRW},
    {CMD_IMPORT_EPS, STR_FILTER_EPS, "EPS", "*.EPS", STR_IMPORT_EPS_TITLE, FileImportEPS},
    {CMD_IMPORT_GIF, STR_FILTER_GIF, "GIF", "*.GIF", STR_IMPORT_GIF_TITLE, FileImportGIF},
    {CMD_IMPORT_PCX, STR_FILTER_PCX, "PCX", "*.PCX", STR_IMPORT_PCX_TITLE, FileImportPCX},
    {CMD_IMPORT_JPG, STR_FILTER_JPG, "JPG", "*.JPG", STR_IMPORT_JPG_TITLE, FileImportJPG},
    {CMD_IMPORT_TIF, STR_FILTER_TIF, "TIF", "*.TIF", STR_IMPORT_TIF_TITLE, FileImportTIF},
};

struct ResultMessage {
  int16_t result;
  int message;
};

const ResultMessage kResultMessages[] = {
    {kFilterCannotOpen, STR_CANT_OPEN_FILE},       {kFilterIncomplete, STR_FILE_INCOMPLETE},
    {kFilterNoMemory, STR_IMPORT_NO_MEMORY},       {kFilterMemoryLow, STR_MEMORY_LOW},
    {kFilterMetafileTooBig, STR_METAFILE_TOO_BIG}, {kFilterInvalidData, STR_INVALID_DATA},
    {kFilterMissing, STR_FILTER_MISSING},          {kFilterCorrupt, STR_FILTER_CORRUPT},
};

void ShowImportMessage(HWND owner, int titleId, UINT icon, const char* text) {
  char title[64];
  LoadStr(titleId, title, sizeof title);
  MessageBoxA(owner, text, title, MB_OK | icon);
}

void ReportImportFailure(HWND owner, int16_t result, const char* filterFile) {
  char format[256], text[512];
  LoadStr(ImportResultMessage(result), format, sizeof format);
  if (result == kFilterMissing)
    std::snprintf(text, sizeof text, format, filterFile);
  else if (ImportResultMessage(result) == STR_FILTER_FAILED)
    std::snprintf(text, sizeof text, format, filterFile, static_cast<int>(result));
  else
    std::snprintf(text, sizeof text, "%s", format);
  ShowImportMessage(owner, STR_IMPORT_ERROR, MB_ICONEXCLAMATION, text);
}

// The format of a source code through its filter file, then DoImport.
bool ImportAs(int16_t source, const char* path, void* window) {
  if (!path || !window) return false;
  const ImportFormat* format = FindImportFormatBySource(source);
  if (!format) return false;
  gFilterName = source;
  int16_t mode = format->mode;
  if (source == kSourceCDR) mode = gCDRImportMethod == kCDRImportVector ? kImportObjects : kImportPicture;
  return DoImport(path, window, mode, format->filterFile);
}

// The entries' common part: a current drawing and pane, the import, then every text block
// passive.
bool ImportEntry(bool (*importer)(const char*, void*), const char* path) {
  if (!gCurDocument || !gCurWindow) return false;
  if (!importer(path, gCurWindow)) return false;
  DeactivateTEPane();
  SelectedObjectAllLayers(gCurDocument->firstLayer, false, kOpTextPassive, nullptr);
  return true;
}

// The imported objects, selected, land in the middle of the pane, which is redrawn there.
void PlaceImportedSelection(DocumentRec* document) {
  HWND pane = static_cast<HWND>(gCurWindow);
  FloatRect placed;
  if (!CenterSelectionInPane(document, &placed) || placed.right < placed.left) return;
  IntRect area = {static_cast<int32_t>(placed.left + 0.5f), static_cast<int32_t>(placed.top + 0.5f),
                  static_cast<int32_t>(placed.right + 0.5f), static_cast<int32_t>(placed.bottom + 0.5f)};
  ZoomRect(&area);
  RECT invalid = {area.left - kInvalidateMargin, area.top - kInvalidateMargin, area.right + kInvalidateMargin,
                  area.bottom + kInvalidateMargin};
  if (HDC dc = GetDC(pane)) {
    LPtoDP(dc, reinterpret_cast<POINT*>(&invalid), 2);
    ReleaseDC(pane, dc);
  }
  InvalidateRect(pane, &invalid, TRUE);
}

}  // namespace

int ImportResultMessage(int16_t result) {
  if (result == kFilterOK) return 0;
  for (const ResultMessage& m : kResultMessages)
    if (m.result == result) return m.message;
  return STR_FILTER_FAILED;
}

bool DoImport(const char* path, void* window, int16_t mode, const char* filterFile) {
  if (!path || !window || !filterFile) return false;
  HWND pane = static_cast<HWND>(window);
  HDC dc = GetDC(pane);
  HCURSOR previous = mode == kImportObjects ? SetCursor(LoadCursorA(nullptr, IDC_WAIT)) : nullptr;
  const int16_t result = ImportThroughFilter(filterFile, path, mode, dc, pane);
  if (mode == kImportObjects) SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
  if (dc) ReleaseDC(pane, dc);
  if (result != kFilterOK) {
    ReportImportFailure(pane, result, filterFile);
    return false;
  }
  if (mode == kImportObjects && !gImportNote.empty()) {
    char format[128], text[1024];
    LoadStr(STR_IMPORT_NOTE, format, sizeof format);
    std::snprintf(text, sizeof text, format, gImportNote.c_str());
    ShowImportMessage(pane, STR_IMPORT_NOTE_TITLE, MB_ICONINFORMATION, text);
  }
  return true;
}

bool DXFImport(const char* path, void* window) {
  return ImportAs(kSourceDXF, path, window);
}
bool BMPImport(const char* path, void* window) {
  return ImportAs(kSourceBMP, path, window);
}
bool CDRImport(const char* path, void* window) {
  return ImportAs(kSourceCDR, path, window);
}
bool DRWImport(const char* path, void* window) {
  return ImportAs(kSourceDRW, path, window);
}
bool EPSImport(const char* path, void* window) {
  return ImportAs(kSourceEPS, path, window);
}
bool GIFImport(const char* path, void* window) {
  return ImportAs(kSourceGIF, path, window);
}
bool PCXImport(const char* path, void* window) {
  return ImportAs(kSourcePCX, path, window);
}
bool JPGImport(const char* path, void* window) {
  return ImportAs(kSourceJPG, path, window);
}
bool TIFImport(const char* path, void* window) {
  return ImportAs(kSourceTIF, path, window);
}

bool DrxFileImportDXF(const char* path) {
  return ImportEntry(DXFImport, path);
}
bool FileImportBMP(const char* path) {
  return ImportEntry(BMPImport, path);
}
bool FileImportCDR(const char* path) {
  return ImportEntry(CDRImport, path);
}
bool FileImportDRW(const char* path) {
  return ImportEntry(DRWImport, path);
}
bool FileImportEPS(const char* path) {
  return ImportEntry(EPSImport, path);
}
bool FileImportGIF(const char* path) {
  return ImportEntry(GIFImport, path);
}
bool FileImportPCX(const char* path) {
  return ImportEntry(PCXImport, path);
}
bool FileImportJPG(const char* path) {
  return ImportEntry(JPGImport, path);
}
bool FileImportTIF(const char* path) {
  return ImportEntry(TIFImport, path);
}

void OnImport(int id) {
  const ImportCommand* command = nullptr;
  for (const ImportCommand& c : kImportCommands)
    if (c.id == id) command = &c;
  if (!command) return;
  if (!ActiveDrawingWindow()) SendFrameCommand(CMD_NEW);
  DocumentRec* document = gCurDocument;
  if (!document) return;
  // CorelDraw drawings come in as a picture or as objects, as the user chooses first.
  if (id == CMD_IMPORT_CDR && !CDRImportFormatDLOG(document->docState, &gCDRImportMethod)) return;
  char filter[kFilterTextSize] = {}, title[64];
  LoadStr(command->filterId, filter, sizeof filter - 1);
  SplitFilterText(filter, static_cast<int>(sizeof filter));
  FileBrowseInitialize(gFrameWindow, filter, command->extension);
  std::snprintf(gPathBuffer, kPathBufferSize, "%s", command->pattern);
  LoadStr(command->titleId, title, sizeof title);
  if (!BrowseImportDlg(gFrameWindow, gPathBuffer, gTitleBuffer, filter, title)) return;
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  SelectAllLayers(document->firstLayer, kDeselectMode, false);
  const bool imported = command->entry(gPathBuffer);
  if (!imported) {
    gPathBuffer[0] = '\0';
    gTitleBuffer[0] = '\0';
    MessageBeep(MB_OK);
    SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
    return;
  }
  PlaceImportedSelection(document);
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  Refresh();
}
