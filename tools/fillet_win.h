// The fillet, chamfer and trim tools on the drawing pane, and the fillet and chamfer dialogs
// opened by double-clicking their tool buttons.
#pragma once

#include <windows.h>

#include <cstdint>

// Tracking routines (see trakmous_win.h for the stages).
void TrackFillet(float x, float y, int16_t stage);
void TrackChamfer(float x, float y, int16_t stage);
void TrackTrim(float x, float y, int16_t stage);

// The tool dialogs: each runs modally over `owner` and acts on the current drawing's selection.
void FilletDLOG(HWND owner);
void ChamferDLOG(HWND owner);
INT_PTR CALLBACK FilletProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ChamferProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
