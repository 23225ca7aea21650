// Printing: the printer choice on the common print dialog, and the job that draws the sheet at
// full scale over as many printer pages as it needs, through the one paint routine.
#include "shell/drxprint.h"

#include <commdlg.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "geometry/papersize.h"
#include "model/objstuff.h"
#include "render/drawhdlr.h"
#include "resources/resids.h"
#include "resources/strings.h"
#include "shell/filedlg.h"
#include "shell/shell.h"
#include "tools/dlogsupp_win.h"

namespace {

// The print-dialog record, kept for the whole run so the printer chosen last is offered again.
PRINTDLGW gPrintDlg;
bool gPrintDlgReady = false;
// The progress dialog of the job in progress and its Cancel.
HWND gPrintProgress = nullptr;
bool gPrintCancelled = false;

// Pens are drawn from the objects' outlines: a tile within this many device pixels of the
// drawing's bounds may hold part of a wide pen.
constexpr int32_t kPenMarginPixels = 8;
// The document name the printer sees is the drawing's title, cut to this many characters.
constexpr size_t kDocNameLength = 31;
// The port of a printer that writes to a file it asks for.
const wchar_t kFilePort[] = L"FILE:";

void ShowPrintMessage(HWND owner, const char* text) {
  char title[64];
  MessageBoxA(owner, text, LoadStr(STR_PRINT_TITLE, title, sizeof title), MB_OK | MB_ICONEXCLAMATION);
}

void ShowPrintString(HWND owner, int id) {
  char text[256];
  ShowPrintMessage(owner, LoadStr(id, text, sizeof text));
}

bool AnyPrinterInstalled() {
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
  return needed > 0;
}

// Runs the print dialog; false when the user cancelled or it failed, which is then told.
bool RunPrintDialog(HWND owner, bool setup) {
  InitializePrintStuff();
  if (!AnyPrinterInstalled()) {
    ShowPrintString(owner, STR_NO_PRINTER);
    return false;
  }
  gPrintDlg.hwndOwner = owner;
  if (setup)
    gPrintDlg.Flags |= PD_PRINTSETUP;
  else
    gPrintDlg.Flags &= ~static_cast<DWORD>(PD_PRINTSETUP);
  gPrintDlg.hDC = nullptr;
  if (PrintDlgW(&gPrintDlg)) return true;
  const DWORD error = CommDlgExtendedError();
  if (error == 0) return false;  // the user cancelled
  if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES || error == PDERR_PRINTERNOTFOUND) {
    ShowPrintString(owner, STR_NO_PRINTER);
    return false;
  }
  char format[128], text[192];
  LoadStr(STR_PRINT_DIALOG_FAILED, format, sizeof format);
  std::snprintf(text, sizeof text, format, static_cast<unsigned long>(error));
  ShowPrintMessage(owner, text);
  return false;
}

// True when the chosen printer writes to a file it must be told.
bool PrinterWritesToFile() {
  if (!gPrintDlg.hDevNames) return false;
  const DEVNAMES* names = static_cast<const DEVNAMES*>(GlobalLock(gPrintDlg.hDevNames));
  if (!names) return false;
  const bool toFile =
      std::wcscmp(reinterpret_cast<const wchar_t*>(names) + names->wOutputOffset, kFilePort) == 0;
  GlobalUnlock(gPrintDlg.hDevNames);
  return toFile;
}

// The printable page of a printer context in page units, for the page-break display.
void RecordPrintablePage(HDC dc) {
  PrintTiling tiling;
  const FloatRect unit = {0.0f, 0.0f, 1.0f, 1.0f};
  if (ComputePrintTiling(unit, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES),
                         GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY), &tiling)) {
    gPageWidth = tiling.pageWidth;
    gPageHeight = tiling.pageHeight;
  }
}

// Lets the progress dialog (and its Cancel) have its messages while the job runs.
void PumpPrintMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (gPrintProgress && IsDialogMessageA(gPrintProgress, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

BOOL CALLBACK PrintAbortProc(HDC, int) {
  PumpPrintMessages();
  return !gPrintCancelled;
}

bool KeepPrinting(int32_t page, int32_t pages) {
  PumpPrintMessages();
  if (gPrintCancelled) return false;
  if (gPrintProgress) {
    char format[64], text[96];
    LoadStr(STR_PRINT_PAGE_OF, format, sizeof format);
    std::snprintf(text, sizeof text, format, static_cast<long>(page), static_cast<long>(pages));
    SetDlgItemTextA(gPrintProgress, IDC_PRINT_PAGE, text);
  }
  return true;
}

// The message telling why a job stopped; nothing for a finished or cancelled one.
void ReportPrintFault(HWND owner, const PrintResult& result) {
  int reason = 0;
  switch (result.fault) {
    case PrintFault::kNone:
    case PrintFault::kCancelled:
      return;
    case PrintFault::kNothingToPrint:
      ShowPrintString(owner, STR_PRINT_NOTHING);
      return;
    case PrintFault::kNoDevice:
      reason = STR_PRINT_NO_DEVICE;
      break;
    case PrintFault::kStartDoc:
      reason = STR_PRINT_START_DOC;
      break;
    case PrintFault::kStartPage:
      reason = STR_PRINT_START_PAGE;
      break;
    case PrintFault::kEndPage:
      reason = STR_PRINT_END_PAGE;
      break;
    case PrintFault::kEndDoc:
      reason = STR_PRINT_END_DOC;
      break;
  }
  char format[160], why[160], text[400];
  LoadStr(reason, format, sizeof format);
  std::snprintf(why, sizeof why, format, static_cast<long>(result.failedPage));
  LoadStr(STR_PRINT_FAILED, format, sizeof format);
  std::snprintf(text, sizeof text, format, why);
  ShowPrintMessage(owner, text);
}

// Draws tile (column, row) of the sheet as one printer page.
bool PrintTile(HDC dc, DocumentRec* document, const PrintTiling& tiling, int32_t column, int32_t row) {
  int32_t tile[4];
  GetTileRect(tiling, column, row, tile);
  const int saved = SaveDC(dc);
  SetWindowOrgEx(dc, tile[0], tile[1], nullptr);
  SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  SetBkMode(dc, TRANSPARENT);
  const QDRect area = {tile[0], tile[1], tile[2], tile[3]};
  const bool drawn =
      PaintDrawing(PaintTarget{dc, PaintDevice::kPrinter, tiling.scaleH, tiling.scaleV}, document, &area, 0);
  RestoreDC(dc, saved);
  return drawn;
}

// The drawing pane's title, the name the printer gives the job.
void DocumentTitle(char* title, size_t size) {
  title[0] = '\0';
  HWND pane = static_cast<HWND>(gCurWindow);
  HWND window = pane ? GetParent(pane) : nullptr;
  if (window) GetWindowTextA(window, title, static_cast<int>(size));
  if (!title[0]) LoadStr(STR_UNTITLED, title, static_cast<int>(size));
}

}  // namespace

void InitializePrintStuff() {
  if (gPrintDlgReady) return;
  std::memset(&gPrintDlg, 0, sizeof gPrintDlg);
  gPrintDlg.lStructSize = sizeof gPrintDlg;
  // A context back, collated copies, no print-to-file choice; no page ranges or selection to
  // offer: a print is always the whole sheet.
  gPrintDlg.Flags = PD_RETURNDC | PD_COLLATE | PD_HIDEPRINTTOFILE | PD_NOPAGENUMS | PD_NOSELECTION;
  gPrintDlg.nFromPage = gPrintDlg.nToPage = gPrintDlg.nMinPage = gPrintDlg.nMaxPage = 0;
  gPrintDlg.nCopies = 1;
  gPrintDlgReady = true;
}

int DrxPrntPageSetup(HINSTANCE, HWND owner) {
  if (!RunPrintDialog(owner, true)) return 1;
  if (gPrintDlg.hDC) {
    RecordPrintablePage(gPrintDlg.hDC);
    DeleteDC(gPrintDlg.hDC);
    gPrintDlg.hDC = nullptr;
  }
  return 0;
}

PrintResult PrintDrawing(HDC printer, DocumentRec* document, const char* title, const char* output,
                         int copies, bool (*keepGoing)(int32_t page, int32_t pages)) {
  PrintResult result;
  PrintTiling tiling;
  if (!printer || !document || !document->docState ||
      !ComputePrintTiling(document->docState->pageRect, GetDeviceCaps(printer, HORZRES),
                          GetDeviceCaps(printer, VERTRES), GetDeviceCaps(printer, LOGPIXELSX),
                          GetDeviceCaps(printer, LOGPIXELSY), &tiling)) {
    result.fault = PrintFault::kNoDevice;
    return result;
  }
  gPageWidth = tiling.pageWidth;
  gPageHeight = tiling.pageHeight;
  FloatRect drawing = kEmptyRect;
  GetAllLayersObjBounds(document->firstLayer, false, &drawing, true);
  const int32_t perCopy = CountPrintedTiles(tiling, drawing, kPenMarginPixels);
  if (perCopy == 0) {
    result.fault = PrintFault::kNothingToPrint;
    return result;
  }
  if (copies < 1) copies = 1;
  const int32_t pages = perCopy * copies;
  char name[kDocNameLength + 1] = "";
  if (title) std::snprintf(name, sizeof name, "%s", title);
  DOCINFOA info = {};
  info.cbSize = sizeof info;
  info.lpszDocName = name;
  info.lpszOutput = output;
  if (StartDocA(printer, &info) <= 0) {
    result.fault = PrintFault::kStartDoc;
    return result;
  }
  for (int copy = 0; copy < copies; ++copy)
    for (int32_t row = 0; row < tiling.down; ++row)
      for (int32_t column = 0; column < tiling.across; ++column) {
        if (!TileHoldsDrawing(tiling, column, row, drawing, kPenMarginPixels)) continue;
        const int32_t page = result.pages + 1;
        if (keepGoing && !keepGoing(page, pages)) result.fault = PrintFault::kCancelled;
        if (result.fault == PrintFault::kNone && StartPage(printer) <= 0)
          result.fault = PrintFault::kStartPage;
        if (result.fault == PrintFault::kNone) {
          PrintTile(printer, document, tiling, column, row);
          if (EndPage(printer) <= 0) result.fault = PrintFault::kEndPage;
        }
        if (result.fault != PrintFault::kNone) {
          // A job that cannot go on is abandoned whole: a part of a sheet is no print.
          result.failedPage = page;
          AbortDoc(printer);
          return result;
        }
        result.pages = page;
      }
  if (EndDoc(printer) <= 0) {
    result.fault = PrintFault::kEndDoc;
    AbortDoc(printer);
  }
  return result;
}

INT_PTR CALLBACK PrintDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      CenterDialog(dialog);
      char text[64];
      SetDlgItemTextA(dialog, IDC_PRINT_STATUS, LoadStr(STR_PRINTING, text, sizeof text));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        gPrintCancelled = true;
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

int DrxPrntPrintFile(HINSTANCE instance, HWND owner) {
  DocumentRec* document = gCurDocument;
  if (!document || !document->docState) return 1;
  if (!RunPrintDialog(owner, false)) return 1;
  HDC dc = gPrintDlg.hDC;
  gPrintDlg.hDC = nullptr;
  if (!dc) {
    ReportPrintFault(owner, PrintResult{PrintFault::kNoDevice, 0, 0});
    return 1;
  }
  // A printer on the port "FILE:" writes to the file the user names here.
  char output[kPathBufferSize] = "";
  if (PrinterWritesToFile()) {
    PrintFileInitialize(owner);
    char fileTitle[kPathBufferSize] = "";
    if (!DrxFilePrintToFileDlg(owner, output, fileTitle)) {
      DeleteDC(dc);
      return 1;
    }
  }
  char title[128];
  DocumentTitle(title, sizeof title);
  gPrintCancelled = false;
  EnableWindow(owner, FALSE);
  gPrintProgress = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PRINTING), owner, PrintDialogProc, 0);
  SetAbortProc(dc, PrintAbortProc);
  const PrintResult result =
      PrintDrawing(dc, document, title, output[0] ? output : nullptr, gPrintDlg.nCopies, KeepPrinting);
  EnableWindow(owner, TRUE);
  if (gPrintProgress) DestroyWindow(gPrintProgress);
  gPrintProgress = nullptr;
  DeleteDC(dc);
  ReportPrintFault(owner, result);
  // The page-break display follows the printer's page.
  Refresh();
  return result.fault == PrintFault::kNone ? 0 : 1;
}

void OnPageSetup(int) {
  if (DrxPrntPageSetup(gAppInstance, gFrameWindow) == 0) Refresh();
}

void OnPrint(int) {
  DrxPrntPrintFile(gAppInstance, gFrameWindow);
}
