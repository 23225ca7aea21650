// The application shell: the frame with its multiple-document client, the drawing windows and
// their panes, the message loop, command dispatch and menus.
#pragma once

#include <windows.h>

#include <cstdint>

#include "geometry/zoomhdlr.h"  // gCurWindow
#include "model/docstate.h"

// Application globals (owned by maininit).
extern HINSTANCE gAppInstance;
extern HWND gFrameWindow;
extern HWND gClientWindow;
extern HMENU gMainMenu;
extern HACCEL gMdiAccel;
extern int16_t gScreenWidth, gScreenHeight;
extern HCURSOR gZoomCursor, gZoomPlusCursor, gZoomMinusCursor, gDropperCursor;
constexpr int kArrowBitmapCount = 7;
extern HBITMAP gArrowBitmaps[kArrowBitmapCount];
extern HWND gEditTools, gDrawTools, gReadouts, gSnapTools, gDimTools, gPatterns;
extern HWND gClipboard;
extern int32_t gDocumentNumber;  // appended to the next new window's title; starts at 1
extern uint8_t gRulersActive;    // new drawing windows show their rulers
extern int16_t gMeasure;         // 0 metric, 1 imperial
extern int16_t gLeadingZero;
constexpr int kHelpPathSize = 128;
extern char szHelpFileName[kHelpPathSize];
extern uint16_t gModifiers;  // key and button flags of the last mouse message in a drawing pane
extern bool g_fUser;         // started by the user (not for embedding)
extern uint8_t gVisibleTools;
extern uint8_t gClipboardVisible;

// Bits of gVisibleTools.
constexpr uint8_t kEditToolsBit = 0x01;
constexpr uint8_t kDrawToolsBit = 0x02;
constexpr uint8_t kSnapToolsBit = 0x04;
constexpr uint8_t kDimToolsBit = 0x08;
constexpr uint8_t kReadoutsBit = 0x10;
constexpr uint8_t kPatternsBit = 0x20;

// Control ids of a drawing window's children.
enum DrawingChildId {
  kMainPaneId = 1,
  kToolbarId = 2,
  kHScrollId = 3,
  kVScrollId = 4,
  kSizeBoxId = 5,
  kMiscPaneId = 6,
  kHRulerId = 7,
  kVRulerId = 8,
  kRulerUnitId = 9,
};
constexpr int kClientWindowId = 1;

// maininit
bool MainInit(HINSTANCE instance);
// Lets the selection and undo code repaint the drawing pane and the renderer ask the tool.
void InstallSelectionHooks();
void UnregisterClasses(HINSTANCE instance);
void MakeHelpPathName(char* buffer);
void InternationalInit();
void LoadStartupResources();
void FillArrowheadMenu();

// framewin
LRESULT CALLBACK FrameDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HWND CreateFrameWindow();
void ShowSplash();
void ShowAbout();
bool AppEmbedded();
// Closes every drawing window that agrees to close (command 9000).
void CloseAllDrawings();
void SendFrameCommand(int id);
// Toggles a floating toolbox; nothing when it does not exist.
void ToggleToolbox(HWND toolbox, uint8_t bit);
void ToggleClipboardViewer();

// document
LRESULT CALLBACK DocumentPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Command 2: a new untitled drawing window, activated. Null when it cannot be made.
HWND CreateDrawingWindow();
HWND ActiveDrawingWindow();
HWND DrawingPaneOf(HWND drawingWindow);
DocumentRec* DocumentOfPane(HWND pane);
// The close question and the tidying before the window goes; false when the user cancels.
bool QueryCloseDrawing(HWND drawingWindow);
// Lays out a drawing window's children by its own settings.
void LayoutDrawingWindow(HWND drawingWindow);
void SetWindowTitleType(DocState* state);
void SetDrawingCaption(HWND drawingWindow, const char* caption);

// mainwin
LRESULT CALLBACK MainDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The procedure of the panes whose contents are not drawn yet: background only.
LRESULT CALLBACK BlankPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The repaint of a drawing pane into `dc` (the pane's context, scroll origin set) for the
// device rectangle `update`.
void PaintDrawingPane(HDC dc, DocumentRec* document, const RECT& update);

// rulerpane
LRESULT CALLBACK HorizRulerPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK VertRulerPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK RulerUnitPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The rulers' cursor marks of the current drawing follow a pane logical position.
void UpdateHorTick(int32_t x);
void UpdateVerTick(int32_t x, int32_t y);
void MoveRulerMarksTo(int32_t x, int32_t y);
// commands
bool DoCommand(HWND window, int id, HWND control);
void HandleKeyDown(WPARAM key, LPARAM flags);
void DisableMenus();

// menus
void UpdateMenus();
void UpdateLayerMenu();
void CheckMarkCmd(HMENU menu, int id, bool on);
void EnableCmd(HMENU menu, int id);
void DisableCmd(HMENU menu, int id);
// Top-level menus by their position without a maximized drawing's system-menu item.
enum TopMenu {
  kFileMenu,
  kEditMenu,
  kLayoutMenu,
  kOptionsMenu,
  kWindowMenu,
  kLayersMenu,
  kTextMenu,
  kHelpMenu
};
HMENU GetTopMenu(TopMenu which);

// Loads string `id` of the string table; an empty string when it is missing.
// The string naming what failed while the program started (STR_STARTUP_*), for the message
// the entry point shows.
extern int gStartupFailure;
const char* LoadStr(int id, char* buffer, int size);

// Makes a drawing and its pane current for the life of the object, then restores the old pair.
class CurrentDrawingScope {
 public:
  CurrentDrawingScope(HWND pane, DocumentRec* document);
  ~CurrentDrawingScope();
  CurrentDrawingScope(const CurrentDrawingScope&) = delete;
  CurrentDrawingScope& operator=(const CurrentDrawingScope&) = delete;

 private:
  WindowHandle savedWindow_;
  DocumentRec* savedDocument_;
};
