// The fields of the program's dialogs: numbers shown and read in the user's units and number
// marks, whole numbers, radio buttons, and the refusal of a value the dialog cannot take. The
// settings dialogs and the tool dialogs share them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/docstate.h"

// Writes the value as ConvertFloatToString shows it; with `select` the field takes the focus
// with all its text selected.
void SetFloatItem(HWND dialog, int item, float value, const DocState* state, bool select, bool isLength);
// The length in the field, read in the current drawing's readout style; 0 when the field holds
// no number.
float GetFloatItem(HWND dialog, int item);
// Reads the field as ReadNumberText does; false when it holds anything but a number.
bool ReadFloatItem(HWND dialog, int item, const DocState* state, bool isLength, float* value);
void SetLongItem(HWND dialog, int item, int32_t value, bool select);
// The whole number in the field; 0 when it holds none.
int32_t GetLongItem(HWND dialog, int item);
// Checks the radio button `item` and clears the others of first..last.
void SetRadioItem(HWND dialog, int item, int first, int last);
void SetMacRadioItem(HWND dialog, int item, bool on);
// Disables the control when `on` is true, enables it otherwise.
void HiliteDialogButton(HWND dialog, int item, bool on);
// The id of the checked radio button of first..last, or `fallback` when none is checked.
int GetRadioItem(HWND dialog, int first, int last, int fallback);
// Puts the dialog in the middle of the screen.
void CenterDialog(HWND dialog);
// Gives the field the focus with all its text selected.
void SelectItemText(HWND dialog, int item);

// Numbers a dialog takes only after checking: on a refusal the user is told why (a message of
// the string table, titled with the dialog's caption), the field takes the focus with its text
// selected, and the dialog stays open. Each returns false on a refusal and leaves *value alone.
//
// A number (a length when isLength); with `positive` it must also be greater than 0.
bool CheckFloatItem(HWND dialog, int item, const DocState* state, bool isLength, bool positive, float* value);
// A number the user typed: an empty field is refused like any other text that is not a number
// rather than read as 0, so that nothing is applied that the user did not type.
bool CheckTypedFloatItem(HWND dialog, int item, const DocState* state, bool isLength, float* value);
// A whole number within low..high.
bool CheckLongItem(HWND dialog, int item, int32_t low, int32_t high, int32_t* value);
// Tells the user why the field's value is refused (string `messageId`, formatted with up to two
// numbers) and selects the field.
void RefuseItem(HWND dialog, int item, int messageId, long first = 0, long second = 0);
