// Settings dialogs of the application: for now the warning shown before an export.
#pragma once

#include <windows.h>

#include "model/docstate.h"

// Warns that formats other than the drawing file's own may lose data; true when the user
// answers Yes and the export goes on.
bool DoExportOrNotDLOG(DocState* state);
INT_PTR CALLBACK DoExportOrNotProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
