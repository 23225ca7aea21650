// The settings dialogs of a drawing: each opener runs its dialog modally, owned by the frame,
// and returns true when the user pressed OK (and the values were taken). Without a DocState none
// opens. A value the dialog cannot take is refused with a message; the dialog stays open and the
// drawing keeps its settings.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/docstate.h"

// "Nudge Rate = 1 Pixel" of the Preferences: while set, "Nudge Rate..." is disabled.
extern uint8_t gDefNudgeRate;

bool DupeOffsetsDLOG(DocState* state);
bool NudgeRateDLOG(DocState* state);
bool LineTypesDLOG(DocState* state);
bool LineSizeDLOG(DocState* state);
bool TolerancesDLOG(DocState* state);
bool ParallelFormatDLOG(DocState* state);
bool GridSpacingDLOG(DocState* state);
bool MoveOriginDLOG(DocState* state);
bool ScrollingSpeedDLOG(DocState* state);
bool TensionDLOG(DocState* state);
bool PreferencesDLOG(DocState* state);
// The drawing scale, units and ruler divisions; with "Rescale Objects" the objects keep their
// world size.
bool DrawingScaleDLOG(DocState* state);
// The layers of the current drawing: names, visibility, new and removed layers.
bool LayeringDLOG(DocState* state);
// How a CorelDraw file is imported: `method` := 102 (picture) or 103 (vector objects).
bool CDRImportFormatDLOG(DocState* state, int16_t* method);

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DrawingScaleProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LayeringProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
