// Printing and plotting: the printer choice, the print job that tiles the sheet over printer
// pages at full scale, its progress dialog, and the paper and plotter dialogs.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/docstate.h"

// Fills the print-dialog record kept for the whole run. The commands call it on first use.
void InitializePrintStuff();
// "Page Setup...": the printer choice; records the printable page for the page-break display.
// 1 when cancelled or refused (a message said why), 0 when a printer was chosen.
int DrxPrntPageSetup(HINSTANCE instance, HWND owner);
// "Print...": the print dialog, then the job with its progress dialog. 1 when nothing was
// printed (cancelled, or a message said why), 0 when the job went to the printer.
int DrxPrntPrintFile(HINSTANCE instance, HWND owner);
// The progress dialog: "Printing In Progress..." with the page being printed and a Cancel
// button that stops the job after the current page.
INT_PTR CALLBACK PrintDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Why a print job stopped.
enum class PrintFault {
  kNone,
  kNoDevice,        // the printer context gives no page size or resolution
  kNothingToPrint,  // no object lies on the sheet: no job was started
  kStartDoc,
  kStartPage,
  kEndPage,
  kEndDoc,
  kCancelled,  // the user pressed Cancel; the job was abandoned
};
struct PrintResult {
  PrintFault fault = PrintFault::kNone;
  int32_t pages = 0;       // pages ended successfully
  int32_t failedPage = 0;  // 1-based page of a page fault
};

// Prints the drawing on `printer` (a printer context), the sheet at full scale, one page per
// tile that holds part of the drawing, rows top to bottom, each row left to right, `copies`
// times. `output` names a file the job goes to, or null. Between pages `keepGoing` (when given)
// pumps messages and says whether to go on. The first failure abandons the job.
PrintResult PrintDrawing(HDC printer, DocumentRec* document, const char* title, const char* output,
                         int copies, bool (*keepGoing)(int32_t page, int32_t pages));

// "Paper Size...": true when the user pressed OK and the sheet took the new paper.
bool PaperSizeDLOG(DocState* state);
INT_PTR CALLBACK PaperSizeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// "Plot...": collects the plotter settings; true when the user pressed "Plot".
bool PlotDLOG(DocState* state);
INT_PTR CALLBACK PlotProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The command handlers of Page Setup, Plot and Print.
void OnPageSetup(int id);
void OnPlot(int id);
void OnPrint(int id);
