// The font dialog and the font module's own font for a window.
#pragma once

#include <windows.h>

// Shows the system font dialog owned by `owner` (screen fonts, with effects and colour),
// starting from gCurFontInfo and gFontColor; on OK stores the choice there and returns true.
bool DrxFontChooseFont(HWND owner);

// The module keeps one font of its own for a window: Initialize starts it from the system font
// and sets it on the window; SetFont makes it from gCurFontInfo, sets it and deletes the one it
// replaces; Deinitialize deletes the last one.
void DrxFontInitialize(HWND window);
void DrxFontSetFont(HWND window);
void DrxFontDeinitialize();
