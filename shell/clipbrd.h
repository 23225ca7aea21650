// The Edit menu's Cut, Copy, Paste and Clear, the clipboard viewer window, and the picture of the
// copied objects that Copy puts on the system clipboard for other programs.
#pragma once

#include <windows.h>

// Command handlers (the command table's entries).
void OnCut(int id);
void OnCopy(int id);
void OnPaste(int id);
void OnClear(int id);

// The viewer's window procedure (class "ClipboardClass").
LRESULT CALLBACK ClipboardDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Moves the viewer's scroll bar `bar` (SB_HORZ or SB_VERT) by `delta` pixels within its range,
// scrolls the contents with it, and repaints at once when asked.
void ClipboardScroll(HWND window, int bar, int delta, bool update);
// The viewer takes the clipboard's new bounds as its scroll ranges and repaints.
void UpdateClipboardViewer();

// The clipboard layer's objects as a standard metafile picture (CF_METAFILEPICT) on the system
// clipboard, replacing what was there. False when there is nothing to put or the clipboard
// cannot be opened.
bool PutClipboardPicture();
