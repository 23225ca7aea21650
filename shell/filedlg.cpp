// The file-choosing dialogs and the symbol preview.
#include "shell/filedlg.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "files/drxfile.h"
#include "geometry/zoomhdlr.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/pthndlr.h"
#include "render/drawhdlr.h"
#include "resources/resids.h"
#include "resources/strings.h"
#include "shell/shell.h"

char gPathBuffer[kPathBufferSize] = "";
char gTitleBuffer[kPathBufferSize] = "";
bool gSymbolPreviewOn = true;

namespace {

constexpr int kFilterSize = 256;
constexpr int kDrawingPathSize = 260;
constexpr char kPreviewLayerName[] = "Preview";
constexpr float kPreviewMargin = 5.0f;

// The one dialog description all file dialogs share.
OPENFILENAMEA gOfn;
char gFilter[kFilterSize];
char gDialogTitle[64];

void SetUp(HWND owner, const int* filterIds, int filterCount, const char* extension, int titleId, DWORD flags,
           int fileSize) {
  std::memset(&gOfn, 0, sizeof gOfn);
  gOfn.lStructSize = sizeof gOfn;
  gOfn.hwndOwner = owner;
  gOfn.hInstance = gAppInstance;
  BuildFilter(filterIds, filterCount, gFilter, sizeof gFilter);
  gOfn.lpstrFilter = gFilter;
  gOfn.nFilterIndex = 1;
  gOfn.nMaxFile = static_cast<DWORD>(fileSize);
  gOfn.nMaxFileTitle = kPathBufferSize;
  gOfn.lpstrDefExt = extension;
  gOfn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | flags;
  gOfn.lpstrTitle = titleId ? LoadStr(titleId, gDialogTitle, sizeof gDialogTitle) : nullptr;
}

bool Show(bool save, char* file, char* fileTitle) {
  gOfn.lpstrFile = file;
  gOfn.lpstrFileTitle = fileTitle;
  if (fileTitle) fileTitle[0] = '\0';
  return (save ? GetSaveFileNameA(&gOfn) : GetOpenFileNameA(&gOfn)) != FALSE;
}

const int kDrawingFilters[] = {STR_FILTER_DRX, STR_FILTER_SYM};
const int kSymbolFilters[] = {STR_FILTER_SYM, STR_FILTER_DRX};

// ---- the symbol preview

// The preview box's client rectangle in the dialog's coordinates, one pixel larger all round.
bool PreviewFrame(HWND dialog, RECT* frame) {
  HWND box = GetDlgItem(dialog, IDC_SYMBOL_PREVIEW);
  if (!box) return false;
  GetWindowRect(box, frame);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(frame), 2);
  InflateRect(frame, 1, 1);
  return true;
}

// The full path of the file selected in the list: the folder shown + "\" + the name.
bool SelectedSymbolPath(HWND dialog, char* path, int size) {
  HWND explorer = GetParent(dialog);
  char folder[MAX_PATH] = "", name[MAX_PATH] = "";
  if (SendMessageA(explorer, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder)) <= 0)
    return false;
  if (SendMessageA(explorer, CDM_GETSPEC, sizeof name, reinterpret_cast<LPARAM>(name)) <= 0 || !name[0])
    return false;
  if (std::strlen(folder) + std::strlen(name) + 2 > static_cast<size_t>(size)) return false;
  std::strcpy(path, folder);
  std::strcat(path, "\\");
  std::strcat(path, name);
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES &&
         !(GetFileAttributesA(path) & FILE_ATTRIBUTE_DIRECTORY);
}

// Reads the symbol into a new temporary layer at zoom 1; null when nothing could be read.
LayerRec* ReadPreviewLayer(const char* path) {
  DocumentRec* document = gCurDocument;
  if (!document || !document->docState) return nullptr;
  LayerRec* layer = CreateLayer(kPreviewLayerName, 1, 1, nullptr);
  if (!layer) return nullptr;
  const float savedZoom = document->docState->zoomFactor;
  document->docState->zoomFactor = 1.0f;
  gPreviewLayer = layer;
  gPreviewSymbol = true;
  gOpenSymbol = false;
  DrxFileRead(path);
  gPreviewSymbol = false;
  gPreviewLayer = nullptr;
  gOpenSymbol = true;
  document->docState->zoomFactor = savedZoom;
  return layer;
}

void FreePreviewLayer(LayerRec* layer) {
  DeleteLayerObjects(layer);
  std::free(layer);
}

// Draws the layer into `box` through the print path: one scale for both directions, the
// drawing centred along the other one, clipped to the box.
void DrawPreviewLayer(HDC dc, const RECT& box, LayerRec* layer) {
  FloatRect bounds = kEmptyRect;
  GetLayerBounds(layer, false, &bounds, false, false);
  if (IsEmptyRect(&bounds)) return;
  bounds.top -= kPreviewMargin;
  bounds.left -= kPreviewMargin;
  bounds.bottom += kPreviewMargin;
  bounds.right += kPreviewMargin;
  const float width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  const float boxWidth = static_cast<float>(box.right - box.left);
  const float boxHeight = static_cast<float>(box.bottom - box.top);
  if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return;
  const float scale = std::min(boxWidth / width, boxHeight / height);
  const int originX = RoundToInt(box.left + (boxWidth - width * scale) / 2 - bounds.left * scale);
  const int originY = RoundToInt(box.top + (boxHeight - height * scale) / 2 - bounds.top * scale);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
  SetViewportOrgEx(dc, originX, originY, nullptr);
  SetBkMode(dc, TRANSPARENT);
  // The symbol's layer painted as a one-layer drawing with the current drawing's settings.
  DocumentRec preview = {};
  preview.firstLayer = layer;
  preview.currentLayer = layer;
  preview.docState = gCurDocument ? gCurDocument->docState : nullptr;
  const QDRect area = {box.left, box.top, box.right, box.bottom};
  PaintDrawing(PaintTarget{dc, PaintDevice::kPrinter, scale, scale}, &preview, &area, 0);
  RestoreDC(dc, saved);
}

void PaintPreview(HWND dialog) {
  RECT frame;
  if (!PreviewFrame(dialog, &frame)) return;
  HDC dc = GetDC(dialog);
  if (!dc) return;
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(gSymbolPreviewOn ? WHITE_BRUSH : LTGRAY_BRUSH));
  Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  char path[MAX_PATH];
  if (gSymbolPreviewOn && SelectedSymbolPath(dialog, path, sizeof path)) {
    if (LayerRec* layer = ReadPreviewLayer(path)) {
      InflateRect(&frame, -1, -1);
      DrawPreviewLayer(dc, frame, layer);
      FreePreviewLayer(layer);
    }
  }
  ReleaseDC(dialog, dc);
}

UINT_PTR CALLBACK OpenSymHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CheckDlgButton(dialog, IDC_SHOW_PREVIEW, gSymbolPreviewOn ? BST_CHECKED : BST_UNCHECKED);
      SendMessageA(GetParent(dialog), CDM_SETCONTROLTEXT, IDOK, reinterpret_cast<LPARAM>("Place"));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_SHOW_PREVIEW) {
        gSymbolPreviewOn = !gSymbolPreviewOn;
        CheckDlgButton(dialog, IDC_SHOW_PREVIEW, gSymbolPreviewOn ? BST_CHECKED : BST_UNCHECKED);
        InvalidateRect(dialog, nullptr, TRUE);
        UpdateWindow(dialog);
        PaintPreview(dialog);
      }
      break;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->code == CDN_SELCHANGE) PaintPreview(dialog);
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(dialog, &ps);
      EndPaint(dialog, &ps);
      PaintPreview(dialog);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

void SplitFilterText(char* text, int length) {
  for (int i = 0; i < length && text[i]; ++i)
    if (text[i] == '|') text[i] = '\0';
}

void BuildFilter(const int* stringIds, int count, char* filter, int size) {
  if (!filter || size < 2) return;
  int used = 0;
  for (int i = 0; i < count; ++i) {
    char part[kFilterSize];
    LoadStr(stringIds[i], part, sizeof part);
    const int length = static_cast<int>(std::strlen(part));
    if (used + length + 2 > size) break;
    std::memcpy(filter + used, part, static_cast<size_t>(length));
    used += length;
  }
  filter[used] = '\0';
  filter[used + 1] = '\0';
  SplitFilterText(filter, used);
}

void DrxFileInitialize(HWND owner) {
  SetUp(owner, kDrawingFilters, 2, "drx", 0, 0, kDrawingPathSize);
}

void SYMInitialize(HWND owner) {
  SetUp(owner, kSymbolFilters, 2, "sym", 0, 0, kPathBufferSize);
}

void DXFInitialize(HWND owner) {
  static const int kFilters[] = {STR_FILTER_DXF};
  SetUp(owner, kFilters, 1, "dxf", STR_EXPORT_DXF_TITLE, 0, kPathBufferSize);
}

void HPGLInitialize(HWND owner) {
  static const int kFilters[] = {STR_FILTER_HPGL};
  SetUp(owner, kFilters, 1, "plt", STR_EXPORT_HPGL_TITLE, 0, kPathBufferSize);
}

void EPSInitialize(HWND owner) {
  static const int kFilters[] = {STR_FILTER_EPS};
  SetUp(owner, kFilters, 1, "eps", STR_EXPORT_EPS_DLG_TITLE, 0, kPathBufferSize);
}

void XYZInitialize(HWND owner) {
  static const int kFilters[] = {STR_FILTER_XYZ};
  SetUp(owner, kFilters, 1, "xyz", STR_EXPORT_XYZ_TITLE, 0, kPathBufferSize);
}

void PrintFileInitialize(HWND owner) {
  static const int kFilters[] = {STR_FILTER_PS};
  SetUp(owner, kFilters, 1, "ps", STR_PRINT_TO_FILE_TITLE, 0, kPathBufferSize);
}

bool DrxFileOpenDlg(HWND owner, char* file, char* fileTitle) {
  gOfn.hwndOwner = owner;
  gOfn.Flags |= OFN_CREATEPROMPT;
  return Show(false, file, fileTitle);
}

bool DrxFileSaveDlg(HWND owner, char* file, char* fileTitle) {
  gOfn.hwndOwner = owner;
  gOfn.Flags |= OFN_OVERWRITEPROMPT;
  return Show(true, file, fileTitle);
}

bool DrxFileOpenSymbolDlg(HWND owner, char* file, char* fileTitle) {
  gOfn.hwndOwner = owner;
  gOfn.lpstrTitle = LoadStr(STR_OPEN_SYMBOL_TITLE, gDialogTitle, sizeof gDialogTitle);
  gOfn.Flags |= OFN_CREATEPROMPT | OFN_FILEMUSTEXIST | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
  gOfn.lpTemplateName = "OPENSYMBOL";
  gOfn.lpfnHook = OpenSymHook;
  return Show(false, file, fileTitle);
}

// The export dialogs: their set-up routines chose title, filter and extension; each confirms
// overwriting.
static bool ShowExportDialog(HWND owner, char* file, char* fileTitle) {
  gOfn.hwndOwner = owner;
  gOfn.Flags |= OFN_OVERWRITEPROMPT;
  return Show(true, file, fileTitle);
}

bool DrxFileExportDXFDlg(HWND owner, char* file, char* fileTitle) {
  return ShowExportDialog(owner, file, fileTitle);
}

bool DrxFileExportHPGLDlg(HWND owner, char* file, char* fileTitle) {
  return ShowExportDialog(owner, file, fileTitle);
}

bool DrxFileExportEPSDlg(HWND owner, char* file, char* fileTitle) {
  return ShowExportDialog(owner, file, fileTitle);
}

bool DrxFileExportXYZDlg(HWND owner, char* file, char* fileTitle) {
  return ShowExportDialog(owner, file, fileTitle);
}

bool DrxFilePrintToFileDlg(HWND owner, char* file, char* fileTitle) {
  return ShowExportDialog(owner, file, fileTitle);
}

bool DrxFileSaveSymbolDlg(HWND owner, char* file, char* fileTitle) {
  gOfn.hwndOwner = owner;
  gOfn.lpstrTitle = LoadStr(STR_SAVE_SYMBOL_TITLE, gDialogTitle, sizeof gDialogTitle);
  gOfn.Flags |= OFN_OVERWRITEPROMPT;
  return Show(true, file, fileTitle);
}

// The graphics-filter imports: the format's own filter text (split, ending in two NULs) and
// extension, the format's title, and a missing file offered for creation as the others do.
void FileBrowseInitialize(HWND owner, const char* filter, const char* defaultExtension) {
  SetUp(owner, nullptr, 0, defaultExtension, 0, OFN_CREATEPROMPT, kPathBufferSize);
  size_t length = 0;
  while (length + 1 < sizeof gFilter && (filter[length] || filter[length + 1])) ++length;
  std::memset(gFilter, 0, sizeof gFilter);
  std::memcpy(gFilter, filter, std::min(length + 1, sizeof gFilter - 2));
}

bool BrowseImportDlg(HWND owner, char* file, char* fileTitle, const char*, const char* title) {
  gOfn.hwndOwner = owner;
  std::snprintf(gDialogTitle, sizeof gDialogTitle, "%s", title ? title : "");
  gOfn.lpstrTitle = gDialogTitle;
  return Show(false, file, fileTitle);
}
