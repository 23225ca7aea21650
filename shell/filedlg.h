// The file-choosing dialogs: the standard open and save dialogs set up for each file kind, and
// the symbol dialog with its live preview.
#pragma once

#include <windows.h>

constexpr int kPathBufferSize = 512;
// The path and file-title buffers shared by all file dialogs.
extern char gPathBuffer[kPathBufferSize];
extern char gTitleBuffer[kPathBufferSize];
// The symbol dialog's preview switch, kept while the program runs.
extern bool gSymbolPreviewOn;

// Set-ups, each taking the owner window.
void DrxFileInitialize(HWND owner);
void SYMInitialize(HWND owner);
void DXFInitialize(HWND owner);
void HPGLInitialize(HWND owner);
void EPSInitialize(HWND owner);
void XYZInitialize(HWND owner);
void PrintFileInitialize(HWND owner);

// Each shows its dialog on `file` (the proposal in, the chosen path out) and `fileTitle`; true
// when the user chose a file.
bool DrxFileOpenDlg(HWND owner, char* file, char* fileTitle);
bool DrxFileSaveDlg(HWND owner, char* file, char* fileTitle);
bool DrxFileOpenSymbolDlg(HWND owner, char* file, char* fileTitle);
bool DrxFileSaveSymbolDlg(HWND owner, char* file, char* fileTitle);
bool DrxFileExportDXFDlg(HWND owner, char* file, char* fileTitle);
bool DrxFileExportHPGLDlg(HWND owner, char* file, char* fileTitle);
bool DrxFileExportEPSDlg(HWND owner, char* file, char* fileTitle);
bool DrxFileExportXYZDlg(HWND owner, char* file, char* fileTitle);
// The file a printer on the port "FILE:" writes the job to.
bool DrxFilePrintToFileDlg(HWND owner, char* file, char* fileTitle);

// The graphics-filter imports (DXF included): set up with the format's split filter text and
// extension, then shown with its title; true when the user chose a file.
void FileBrowseInitialize(HWND owner, const char* filter, const char* defaultExtension);
bool BrowseImportDlg(HWND owner, char* file, char* fileTitle, const char* filter, const char* title);

// Builds a filter list from string-table entries: each "|" becomes a NUL. `size` bytes at most;
// the list ends with two NULs.
void BuildFilter(const int* stringIds, int count, char* filter, int size);
// The same on text in place, for tests and fixed filter texts.
void SplitFilterText(char* text, int length);
