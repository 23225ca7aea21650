// Text blocks on the screen: the text tool, the live edit control of the block being typed
// into, its automatic resizing, re-alignment and the end of typing. Only the block being typed
// into has an edit control; every other block is a pane in memory that the drawing paints.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/docstate.h"

// Styles of the live control: child, visible, clipping siblings and children, multi-line,
// scrolling down as text is typed, Return breaks lines (0x56001044), plus the alignment bits.
constexpr DWORD kTextEditStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
// The control's style for a pane alignment.
DWORD TextEditStyleFor(int16_t alignment);

// An EDIT control: no caption, no extended style; a null parent parks it under the
// message-only window (the one parent an edit control accepts with no display).
HWND CreateGlobalEditWindow(DWORD style, int x, int y, int width, int height, HWND parent);
// Gives a text block its live control in `parent` over its box less the inset, showing the
// pane's text, alignment and font; the control owns the font it is given. Null on failure.
HWND OpenTextEditor(ObjectRec* text, HWND parent);
// The pane reads the control's text back and the control is destroyed.
void CloseTextEditor(ObjectRec* text);
// Lets the core's panes reach their live controls, and the text commands resize blocks.
void InstallTextEditorHooks();

// The text tool's routine: frames the dragged box and opens a new block there, or opens the
// block under a click, for typing.
void TrackText(float x, float y, int16_t stage);
// Resizes a block to the lines of its text in its font (the live control's own count while it
// is typed into) and repaints the old and the new box.
void AdjustTextObjectSize(ObjectRec* text);
// A block being typed into changes alignment: a new control of the new style takes over the
// old one's text, font and selection. When the new control cannot be made the old one stays
// and the pane keeps `previousAlignment`. Returns the control serving the block.
HWND ChangeAlignment(HWND edit, int16_t previousAlignment, ObjectRec* text);
// Ends typing in the current drawing: the live control gives its text back and goes, a block
// left empty is deleted (with every other selected empty block), and the pane takes the focus.
void DeactivateTEPane();
// The drawing pane's command message from its live control (the change notification resizes
// the block); true when it was one.
bool OnTextEditorCommand(WPARAM wParam, LPARAM lParam);
