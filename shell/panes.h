// The toolboxes and panes around the drawing: the floating toolboxes with their mini title bars
// and tool buttons, the snap, readout and pattern panes, the toolbar strip of each drawing window
// and its misc pane. The plain arithmetic of each (layouts, cells, buttons, texts) is exposed so
// it can be checked without windows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "model/docstate.h"

// A floating toolbox: its number, first tool id and number of tools (the toolbox's window word
// holds a copy).
struct ToolboxInfo {
  int16_t toolbox, firstTool, toolCount;
};

enum ToolboxNumber : int16_t {
  kEditToolbox = 1,
  kDrawToolbox = 2,
  kDimToolbox = 3,
  kSnapToolbox = 4,
  kReadoutToolbox = 5,
  kPatternToolbox = 7,
};

// Pane ids besides the tool ids: the mini title bar's two panes, the readout and pattern panes.
constexpr int16_t kCloseBoxId = 100;
constexpr int16_t kDragBarId = 101;
constexpr int16_t kReadoutPaneId = 600;
constexpr int16_t kPatternPaneId = 900;

// The record in each toolbox pane's window word: its id and picture (none for the drag bar).
struct PaneRec {
  int16_t id;
  HBITMAP bitmap;
};

extern HWND gCurToolPane;  // the button of gCurTool
extern HWND gCurSnapPane;  // the button of gCurSnap
extern HWND gReadoutPane;  // the Position Info pane; null until it exists

// The paint message of a pane: `draw(dc)` between BeginPaint and EndPaint, when a context came.
template <typename Draw>
void PaintPane(HWND pane, Draw draw) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(pane, &ps);
  if (dc) draw(dc);
  EndPaint(pane, &ps);
}

// ---- toolwin: the toolbox window, its layout, title bar and dragging
struct PanePlace {
  int16_t id;
  int x, y, width, height;
};
constexpr int kMaxToolboxPanes = 12;  // ten tools and the two title bar panes
// The pane class of a toolbox; null for an unknown number.
const char* ToolboxPaneClass(int toolbox);
// The panes of a toolbox whose client area is `clientWidth` x `clientHeight`: the title bar
// first (drag bar, close box), then the tools top to bottom. Returns the count (0 when unknown).
int ComputeToolboxPanes(const ToolboxInfo& info, int clientWidth, int clientHeight, PanePlace* out,
                        int capacity);
// The gVisibleTools bit of a toolbox number; 0 for an unknown number.
uint8_t ToolboxBit(int toolbox);
// Where a toolbox may go: `box` moved as little as possible so that its drag bar (`bar`, in the
// same coordinates as `box`) keeps a grip's worth of pixels inside `area`.
RECT KeepToolboxReachable(const RECT& box, const RECT& bar, const RECT& area);

LRESULT CALLBACK ToolDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool CreateToolButtons(HWND toolbox, HINSTANCE instance, const ToolboxInfo& info);
void CreateHorMiniTitleBar(HWND window, HINSTANCE instance, int width);
void CreateVerMiniTitleBar(HWND window, HINSTANCE instance, int width, int height);
// The drag bar's mouse messages: press, moves and release drag the toolbox by an outline.
void DragWindow(HWND pane, UINT message, POINT position);
// The close box's mouse messages: the box shows pressed while held inside; a release inside
// hides the toolbox.
void TrackCloseBox(HWND pane, UINT message, POINT position);
// The title bar panes of every pane class: paint, drag and close. False when `pane` is not one
// or the message is not theirs.
bool HandleTitlePane(HWND pane, UINT message, LPARAM lParam);
// The record of a pane, null when it has none; freed with its picture when the pane goes.
const PaneRec* PaneRecOf(HWND pane);
void FreePaneRec(HWND pane);
// Hides a toolbox and clears its bit in gVisibleTools.
void CloseToolbox(HWND toolbox);

// ---- toolpane: the tool buttons and the current tool
LRESULT CALLBACK ToolPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ToolPaneDraw(HDC dc, const PaneRec* record, HWND pane);
void DoToolPaneClick(HDC dc, const PaneRec* record, HWND pane, UINT message, POINT position);
void DoToolPaneDublClick(const PaneRec* record, HWND pane);
// Copies a bitmap unscaled to (x, y); nothing without one.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);
// Inverts a button's highlight: its client rectangle less the last column and row, offset by one.
void InvertPaneHighlight(HWND pane);
// Makes `pane` (a tool button) and its tool current, moving the highlight and the cursor.
void ChooseToolPane(HWND pane, int16_t tool);
enum class ToolCursor { kArrow, kCross, kZoom };
ToolCursor CursorForTool(int tool);
// The class cursor of the drawing panes for the current tool.
void ApplyToolCursor();
// The standard tool becomes current again when the preference asks for it.
void PaneResetStandardTool();
// Any command leaves the text tool for the standard tool.
void LeaveTextTool();

// ---- snappane
LRESULT CALLBACK SnapPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The tools' hook: the highlight (with the lock frame when `locked`) moves to the button of
// `snap`, which becomes current; false when the Snap toolbox has no such button.
bool SelectSnapButton(int16_t snap, bool locked);

// ---- routpane: the readouts
enum ReadoutField {
  kReadX,
  kReadY,
  kReadWidth,
  kReadHeight,
  kReadXScale,
  kReadYScale,
  kReadRadius,
  kReadDiameter,
  kReadAngle,
  kReadoutFieldCount
};
// The text of one readout for a value as the tools pass it (zoomed screen units; degrees; percent).
// False when the field is only erased (zero lengths and angles, scales of exactly 100).
bool FormatReadout(ReadoutField field, float value, float partner, const DocState* state, char* text,
                   size_t size);
LRESULT CALLBACK ReadoutPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PaneUpdateXY(float x, float y);
void PaneUpdateWH(float width, float height);
void PaneUpdateAngle(float degrees);
void PaneUpdateRadius(float radius);
void PaneUpdateDiameter(float diameter);
void PaneUpdateScale(float xPercent, float yPercent);

// ---- pattpane
constexpr int kPatternColumns = 5, kPatternRows = 16, kPatternCell = 15;
// The pattern of the cell under (x, y) of the pane, clamped into the chart; the first cell is 0.
int16_t PatternAtPoint(int x, int y);
// The cell of a pattern in pane coordinates (left, top, right, bottom exclusive); empty for none.
RECT PatternCellRect(int16_t pattern);
LRESULT CALLBACK PatternPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ChoosePattern(int16_t pattern);

// ---- toolbar
enum class ToolbarAction { kNone, kCommand, kFrameCommand, kDropper, kToolboxMenu };
struct ToolbarButton {
  int left, top, right, bottom;
  ToolbarAction action;
  int command;
};
// The button under (x, y) of the strip, or null.
const ToolbarButton* ToolbarButtonAt(int x, int y);
LRESULT CALLBACK ToolbarPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void DoToolbarClick(HWND toolbar, POINT position);
// The indicator states from the selection's counts: 0 nothing selected, 1 the "on" box (all
// selected objects are groups; something selected is locked), 2 the "off" box.
int GroupIndicatorState(int32_t selected, int32_t groups);
int LockIndicatorState(int32_t selected, int32_t locked);
// The group and lock boxes of the current drawing's toolbar, from the selection.
void RefreshGroupLock(HDC dc);
void PaneUpdateGroupLock();
// The toolbar's swatches and the pattern pane follow the selection state.
void PaneUpdateSelectionStateAreas();

// ---- miscpane
LRESULT CALLBACK MiscPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// "100%" at zoom 1; empty without a state.
void GetZoomString(const DocState* state, char* text, size_t size);
// "1.00\" = 1.00'" and the like, with the user's number marks; empty without a state.
void GetScaleString(const DocState* state, char* text, size_t size);

// Fills gToolHooks with the panes' routines (start-up).
void InstallToolHooks();
