// The editing tools' dialogs, opened by double-clicking a tool's button: a move, resize, skew or
// rotation of the selection typed in instead of dragged. Each runs modally, owned by the frame,
// with every field at 0; OK applies the transform to the current drawing's selection (with the
// undo its mouse tool records) and repaints. A value that cannot be applied is refused with a
// message and the dialog stays open.
#pragma once

#include <windows.h>

void RelocateDLOG();  // "Selection Tool": moves the selection
void PointDLOG();     // "Point Select Tool": moves the selected points
void ResizeDLOG();
void SkewDLOG();
void RotateDLOG();

INT_PTR CALLBACK RelocateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PointProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ResizeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SkewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RotateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
