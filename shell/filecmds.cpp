// The file commands: open, save, save as, and placing and saving symbols.
#include "shell/filecmds.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "exchange/exporter.h"
#include "files/drxfile.h"
#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "model/objedit.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "render/metafile.h"
#include "resources/strings.h"
#include "shell/appdlog1.h"
#include "shell/cmdids.h"
#include "shell/filedlg.h"
#include "shell/shell.h"

namespace {

// The Group command refuses a selection holding more groups than this.
constexpr int kMaxGroupsToGroup = 25;

class WaitCursor {
 public:
  WaitCursor() : old_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(LoadCursorA(nullptr, IDC_ARROW)); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR old_;
};

void ClearBuffers() {
  gPathBuffer[0] = '\0';
  gTitleBuffer[0] = '\0';
}

// Keeps a copy of `path` as the drawing's file name; beeps and leaves it empty without memory.
void StoreFileName(DocumentRec* document, const char* path) {
  std::free(document->fileName);
  document->fileName = static_cast<char*>(std::malloc(std::strlen(path) + 1));
  if (document->fileName)
    std::strcpy(document->fileName, path);
  else
    MessageBeep(MB_OK);
}

void ClearFileName(DocumentRec* document) {
  std::free(document->fileName);
  document->fileName = nullptr;
}

HWND CurrentDrawingWindow() {
  return gCurWindow ? GetParent(static_cast<HWND>(gCurWindow)) : nullptr;
}

// The drawing's objects must be visible after a read: the pane repaints in full.
void RepaintDrawing() {
  if (gCurWindow) InvalidateRect(static_cast<HWND>(gCurWindow), nullptr, TRUE);
}

bool WriteCurrentDrawing(const char* path) {
  // A saved drawing stores zoom 1: the window changes to zoom 1 first (scroll ranges, rulers),
  // so it shows the drawing at the zoom the file holds.
  DocumentRec* document = gCurDocument;
  if (document && document->docState && document->docState->zoomFactor != 1.0f)
    SendFrameCommand(CMD_ACTUAL_SIZE);
  bool written;
  {
    WaitCursor wait;
    written = DrxFileWrite(path);
  }
  if (!written) ReportFileFailure(STR_WRITE_FAILED, path);
  return written;
}

// Deselects every object of the drawing, so that a placed symbol ends up the only selection.
void DeselectAll(DocumentRec* document) {
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    SetObjectChainSelection(layer->firstObject, 0);
}

// Selected groups of the drawing, members included.
int CountSelectedGroups(const ObjectRec* object) {
  int count = object->kind == kGroupKind && IsObjectSelected(object) ? 1 : 0;
  for (const ObjectRec* child = object->firstChild; child; child = child->nextObject)
    count += CountSelectedGroups(child);
  return count;
}

// A placed symbol lands in the middle of the pane and becomes one group (the Group command:
// refused with a beep when more than 25 groups are selected).
void PlaceSymbolSelection(DocumentRec* document) {
  FloatRect placed;
  if (!CenterSelectionInPane(document, &placed)) return;
  int groups = 0;
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer)
    if (layer->visible)
      for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
        groups += CountSelectedGroups(object);
  if (groups > kMaxGroupsToGroup) {
    MessageBeep(MB_OK);
    return;
  }
  GroupSelectedObjects(document->firstLayer);
}

}  // namespace

static_assert(STR_DRX_REASON_LAST - STR_DRX_REASON_FIRST + 1 == static_cast<int>(DrxReason::kCount),
              "one string per drawing file reason");
static_assert(STR_DRX_PART_RECORD - STR_DRX_PART_HEADER == static_cast<int>(DrxPart::kRecord),
              "one string per part of a drawing file");
static_assert(STR_EXPORT_REASON_LAST - STR_EXPORT_REASON_FIRST + 1 == static_cast<int>(ExportReason::kCount),
              "one string per export reason");

const char* LoadDrxFailureText(const DrxFailure& failure, char* text, int size) {
  char format[256];
  LoadStr(STR_DRX_REASON_FIRST + static_cast<int>(failure.reason), format, sizeof format);
  if (IsDrxDamage(failure.reason)) {
    char part[64];
    LoadStr(STR_DRX_PART_HEADER + static_cast<int>(failure.part), part, sizeof part);
    std::snprintf(text, static_cast<size_t>(size), format, part,
                  static_cast<unsigned long long>(failure.offset), failure.value);
  } else {
    std::snprintf(text, static_cast<size_t>(size), format, failure.value);
  }
  return text;
}

const char* LoadExportFailureText(const ExportFailure& failure, char* text, int size) {
  char format[256];
  LoadStr(STR_EXPORT_REASON_FIRST + static_cast<int>(failure.reason), format, sizeof format);
  if (failure.reason == ExportReason::kBeyondRange)
    std::snprintf(text, static_cast<size_t>(size), format, failure.objectNumber, failure.layerName,
                  ExportKindName(failure.objectKind), ExportFormatName(failure.format));
  else
    std::snprintf(text, static_cast<size_t>(size), format,
                  failure.systemError ? std::strerror(failure.systemError) : "");
  return text;
}

bool CenterSelectionInPane(DocumentRec* document, FloatRect* placed) {
  HWND pane = static_cast<HWND>(gCurWindow);
  if (!pane || !document) return false;
  RECT client;
  GetClientRect(pane, &client);
  POINT centre = {client.right / 2, client.bottom / 2};
  HDC dc = GetDC(pane);  // the pane's own context holds the scroll origin
  if (dc) {
    DPtoLP(dc, &centre, 1);
    ReleaseDC(pane, dc);
  }
  CenterObjectsAt(document->firstLayer, true, UnzoomF(static_cast<float>(centre.x)),
                  UnzoomF(static_cast<float>(centre.y)), placed);
  return true;
}

void ReportFileFailure(int messageId, const char* path) {
  char reason[512];
  ReportFileFailureWithReason(messageId, path, LoadDrxFailureText(gDrxFileFailure, reason, sizeof reason));
}

void ReportFileFailureWithReason(int messageId, const char* path, const char* reason) {
  MessageBeep(MB_ICONEXCLAMATION);
  char format[256], title[64], text[1024];
  LoadStr(messageId, format, sizeof format);
  LoadStr(STR_FILE_ERROR_TITLE, title, sizeof title);
  std::snprintf(text, sizeof text, format, path ? path : "", reason ? reason : "");
  MessageBoxA(gFrameWindow, text, title, MB_OK | MB_ICONEXCLAMATION);
}

namespace {

// The picture of the drawing stored in front of an EPS file, when the user asks for one. False
// when it cannot be recorded (the export then goes on without it).
bool RecordEpsPreview(std::vector<uint8_t>* bits) {
  METAFILEPICT size;
  HMETAFILE metafile = MakeMetaFile(&size);
  if (!metafile) return false;
  const UINT length = GetMetaFileBitsEx(metafile, 0, nullptr);
  bits->resize(length);
  const bool copied = length > 0 && GetMetaFileBitsEx(metafile, length, bits->data()) == length;
  DeleteMetaFile(metafile);
  return copied;
}

// The export formats: dialog set-up, proposed name, dialog, and the exporter's type code
// (0 for the drawing file's own format under another name).
struct ExportCommand {
  int id;
  void (*initialize)(HWND owner);
  int proposalId;
  bool (*dialog)(HWND owner, char* file, char* fileTitle);
  int16_t type;
};

const ExportCommand kExportCommands[] = {
    {CMD_EXPORT_DXF, DXFInitialize, STR_UNTITLED_DXF, DrxFileExportDXFDlg, kExportDXF},
    {CMD_EXPORT_HPGL, HPGLInitialize, STR_UNTITLED_PLT, DrxFileExportHPGLDlg, kExportHPGL},
    {CMD_EXPORT_EPS, EPSInitialize, STR_UNTITLED_EPS, DrxFileExportEPSDlg, kExportEPS},
    {CMD_EXPORT_XYZ, XYZInitialize, STR_UNTITLED_XYZ, DrxFileExportXYZDlg, 0},
};

}  // namespace

// DXF and HPGL count y upward: the exporter writes them mirrored top to bottom about the middle
// of the drawing, as a flip of everything before the export and a flip back after it would,
// while the drawing on screen and its selection are never touched (also when the dialog is
// cancelled).
void OnExport(int id) {
  DocumentRec* document = gCurDocument;
  if (!document || !document->docState) return;
  const ExportCommand* command = nullptr;
  for (const ExportCommand& c : kExportCommands)
    if (c.id == id) command = &c;
  if (!command || !DoExportOrNotDLOG(document->docState)) return;
  command->initialize(gFrameWindow);
  LoadStr(command->proposalId, gPathBuffer, kPathBufferSize);
  if (!command->dialog(gFrameWindow, gPathBuffer, gTitleBuffer)) return;
  if (command->type == 0) {
    WriteCurrentDrawing(gPathBuffer);
    return;
  }
  std::vector<uint8_t> preview;
  if (command->type == kExportEPS) {
    char question[256], title[64];
    LoadStr(STR_EPS_PREVIEW_QUESTION, question, sizeof question);
    LoadStr(STR_EXPORT_EPS_TITLE, title, sizeof title);
    if (MessageBoxA(gFrameWindow, question, title, MB_YESNO | MB_ICONQUESTION) == IDYES &&
        !RecordEpsPreview(&preview)) {
      MessageBeep(MB_OK);  // no picture could be recorded: the file has no preview
      preview.clear();
    }
  }
  bool written;
  {
    WaitCursor wait;
    written = ExportFile(command->type, gPathBuffer, preview.empty() ? nullptr : preview.data(),
                         static_cast<uint32_t>(preview.size()));
  }
  char reason[512];
  if (!written)
    ReportFileFailureWithReason(STR_WRITE_FAILED, gPathBuffer,
                                LoadExportFailureText(gExportFailure, reason, sizeof reason));
}

void OnOpen(int) {
  if (AppEmbedded()) return;
  DrxFileInitialize(gFrameWindow);
  LoadStr(STR_UNTITLED_DRX, gPathBuffer, kPathBufferSize);
  if (!DrxFileOpenDlg(gFrameWindow, gPathBuffer, gTitleBuffer)) return;
  OpenDrawingFile(gPathBuffer, gTitleBuffer);
}

bool OpenDrawingFile(const char* path, const char* title) {
  if (!path || !*path) return false;
  if (path != gPathBuffer) std::snprintf(gPathBuffer, kPathBufferSize, "%s", path);
  if (title != gTitleBuffer) std::snprintf(gTitleBuffer, kPathBufferSize, "%s", title ? title : path);
  SendFrameCommand(CMD_NEW);
  HWND window = CurrentDrawingWindow();
  DocumentRec* document = gCurDocument;
  if (!window || !document) return false;
  SetDrawingCaption(window, gTitleBuffer);
  StoreFileName(document, gPathBuffer);
  bool read;
  {
    WaitCursor wait;
    read = DrxFileRead(gPathBuffer);
  }
  if (document->docState) {
    // The style bits of the flag word follow the loaded arrow, readout and tolerance styles.
    SetDocStateDimensionArrowFlags(document->docState);
    SetDocStateDimensionReadoutFlags(document->docState);
    SetDocStateDimensionToleranceFlags(document->docState);
  }
  if (gDrxFileDamaged) {
    // The objects read before the damage are shown. The damaged file keeps its name in the
    // caption, but Save asks for a new name so the part that could not be read is not lost.
    ClearFileName(document);
    UpdateLayerMenu();
    RepaintDrawing();
    ReportFileFailure(STR_READ_DAMAGED, gPathBuffer);
    SendFrameCommand(CMD_ACTUAL_SIZE);
    return true;
  }
  if (!read) {
    // Nothing was read: the new window goes again, so no empty drawing can be saved over the file.
    char failedPath[kPathBufferSize];
    std::strcpy(failedPath, gPathBuffer);
    ClearBuffers();
    SendMessageA(gClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
    ReportFileFailure(STR_READ_FAILED, failedPath);
    return false;
  }
  UpdateLayerMenu();
  RepaintDrawing();
  SendFrameCommand(CMD_ACTUAL_SIZE);
  return true;
}

void OnSave(int id) {
  if (AppEmbedded()) return;
  DocumentRec* document = gCurDocument;
  if (!document) return;
  if (!document->fileName) {
    OnSaveAs(id);
    return;
  }
  std::snprintf(gPathBuffer, kPathBufferSize, "%s", document->fileName);
  WriteCurrentDrawing(gPathBuffer);
}

void OnSaveAs(int) {
  DocumentRec* document = gCurDocument;
  if (!document) return;
  DrxFileInitialize(gFrameWindow);
  if (document->fileName)
    std::snprintf(gPathBuffer, kPathBufferSize, "%s", document->fileName);
  else
    LoadStr(STR_UNTITLED_DRX, gPathBuffer, kPathBufferSize);
  if (!DrxFileSaveDlg(gFrameWindow, gPathBuffer, gTitleBuffer)) return;
  SetDrawingCaption(CurrentDrawingWindow(), gTitleBuffer);
  StoreFileName(document, gPathBuffer);
  WriteCurrentDrawing(gPathBuffer);
}

void OnOpenSymbol(int) {
  if (!ActiveDrawingWindow()) SendFrameCommand(CMD_NEW);
  DocumentRec* document = gCurDocument;
  if (!document) return;
  gOpenSymbol = true;
  SYMInitialize(gFrameWindow);
  LoadStr(STR_UNTITLED_SYM, gPathBuffer, kPathBufferSize);
  if (DrxFileOpenSymbolDlg(gFrameWindow, gPathBuffer, gTitleBuffer)) {
    DeselectAll(document);
    gOpenSymbol = true;  // the preview may have used the mode flags
    bool read;
    {
      WaitCursor wait;
      read = DrxFileRead(gPathBuffer);
    }
    if (!read || gDrxFileDamaged) {
      char path[kPathBufferSize];
      std::strcpy(path, gPathBuffer);
      if (!gDrxFileDamaged) ClearBuffers();
      ReportFileFailure(gDrxFileDamaged ? STR_READ_DAMAGED : STR_READ_FAILED, path);
    }
    if (read) PlaceSymbolSelection(document);
    RepaintDrawing();
  }
  gOpenSymbol = false;
}

void OnSaveSymbol(int) {
  DocumentRec* document = gCurDocument;
  if (!document) return;
  gSaveSymbol = true;
  SYMInitialize(gFrameWindow);
  LoadStr(STR_UNTITLED_SYM, gPathBuffer, kPathBufferSize);
  if (DrxFileSaveSymbolDlg(gFrameWindow, gPathBuffer, gTitleBuffer)) WriteCurrentDrawing(gPathBuffer);
  gSaveSymbol = false;
}
