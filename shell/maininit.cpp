// One-time start-up: the window classes, the help path, the international settings and the
// resources the frame keeps for its life.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "geometry/units.h"
#include "model/textfont.h"
#include "resources/resids.h"
#include "resources/strings.h"
#include "shell/caption.h"
#include "shell/clipbrd.h"
#include "shell/cmdids.h"
#include "shell/panes.h"
#include "shell/shell.h"
#include "tools/drxfont.h"
#include "tools/textpane_win.h"
#include "tools/toolhooks.h"

HINSTANCE gAppInstance = nullptr;
HWND gFrameWindow = nullptr;
HWND gClientWindow = nullptr;
int gStartupFailure = 0;
HMENU gMainMenu = nullptr;
HACCEL gMdiAccel = nullptr;
int16_t gScreenWidth = 0, gScreenHeight = 0;
HCURSOR gZoomCursor = nullptr, gZoomPlusCursor = nullptr, gZoomMinusCursor = nullptr,
        gDropperCursor = nullptr;
HBITMAP gArrowBitmaps[kArrowBitmapCount] = {};
HWND gEditTools = nullptr, gDrawTools = nullptr, gReadouts = nullptr, gSnapTools = nullptr,
     gDimTools = nullptr, gPatterns = nullptr;
HWND gClipboard = nullptr;
int32_t gDocumentNumber = 1;
uint8_t gRulersActive = 0;
int16_t gMeasure = 1;
int16_t gLeadingZero = 0;
char szHelpFileName[kHelpPathSize] = "";
uint16_t gModifiers = 0;
bool g_fUser = true;
uint8_t gVisibleTools = 0;
uint8_t gClipboardVisible = 0;

namespace {

constexpr char kHelpFileName[] = "drxlwin.hlp";
constexpr COLORREF kLightGrey = RGB(192, 192, 192);

struct ClassEntry {
  const char* name;
  WNDPROC procedure;
  UINT style;
  int background;  // a system colour index + 1, or a negative stock-object number
  bool solidGrey;  // a solid light grey brush of our own
  const char* cursor;
};

constexpr int kStock(int stockObject) {
  return -1 - stockObject;
}

// Registered in this order; unregistered in kUnregisterOrder's order.
const ClassEntry kClasses[] = {
    {"FrameClass", FrameDispatch, CS_HREDRAW | CS_VREDRAW, COLOR_APPWORKSPACE + 1, false, nullptr},
    {"DocumentClass", DocumentPane, CS_HREDRAW | CS_VREDRAW, kStock(GRAY_BRUSH), false, "Drag"},
    {"MainClass", MainDispatch, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, kStock(WHITE_BRUSH), false, nullptr},
    {"ToolbarClass", ToolbarPane, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, 0, true, nullptr},
    {"HorizontalRulerClass", HorizRulerPane, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC, 0, true,
     nullptr},
    {"VerticalRulerClass", VertRulerPane, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC, 0, true, nullptr},
    {"RulerUnitClass", RulerUnitPane, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC, 0, true, nullptr},
    {"MiscClass", MiscPane, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, 0, true, nullptr},
    {"ToolClass", ToolDispatch, CS_DBLCLKS | CS_SAVEBITS, 0, true, nullptr},
    {"ToolPaneClass", ToolPane, CS_DBLCLKS, 0, true, nullptr},
    {"SnapPaneClass", SnapPane, CS_DBLCLKS, 0, true, nullptr},
    {"ReadoutPaneClass", ReadoutPane, CS_OWNDC, 0, true, nullptr},
    {"PatternPaneClass", PatternPane, 0, 0, true, nullptr},
    {"ClipboardClass", ClipboardDispatch, CS_HREDRAW | CS_VREDRAW | CS_OWNDC, kStock(WHITE_BRUSH), false,
     nullptr},
};

const char* const kUnregisterOrder[] = {
    "FrameClass",     "DocumentClass",        "MainClass",          "ToolbarClass",     "MiscClass",
    "ToolClass",      "ToolPaneClass",        "SnapPaneClass",      "ReadoutPaneClass", "PatternPaneClass",
    "ClipboardClass", "HorizontalRulerClass", "VerticalRulerClass", "RulerUnitClass",
};

HBRUSH BackgroundBrush(const ClassEntry& entry) {
  if (entry.solidGrey) return CreateSolidBrush(kLightGrey);
  if (entry.background < 0) return static_cast<HBRUSH>(GetStockObject(-1 - entry.background));
  return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(entry.background));
}

}  // namespace

void MakeHelpPathName(char* buffer) {
  char program[MAX_PATH] = "";
  GetModuleFileNameA(gAppInstance, program, sizeof program);
  char fallback[kHelpPathSize];
  LoadStr(STR_HELP_FALLBACK, fallback, sizeof fallback);
  ComposeHelpPath(program, kHelpFileName, fallback, buffer, kHelpPathSize);
}

bool MainInit(HINSTANCE instance) {
  MakeHelpPathName(szHelpFileName);
  InstallToolHooks();
  gToolHooks.moveRulerMarks = MoveRulerMarksTo;
  InstallSelectionHooks();
  InstallTextEditorHooks();
  char face[sizeof gCurFontInfo.faceName];
  SetFallbackTextFace(LoadStr(STR_COURIER_NEW, face, sizeof face));
  ResetCurrentFont();

  HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_DRAXEL));
  for (const ClassEntry& entry : kClasses) {
    WNDCLASSA wc = {};
    wc.style = entry.style;
    wc.lpfnWndProc = entry.procedure;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = entry.cursor ? LoadCursorA(instance, entry.cursor) : nullptr;
    if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = BackgroundBrush(entry);
    wc.lpszClassName = entry.name;
    if (!RegisterClassA(&wc)) {
      gStartupFailure = STR_STARTUP_CLASSES;
      return false;
    }
  }
  return true;
}

void UnregisterClasses(HINSTANCE instance) {
  for (const char* name : kUnregisterOrder) UnregisterClassA(name, instance);
}

void InternationalInit() {
  gMeasure = static_cast<int16_t>(GetProfileIntA("Intl", "iMeasure", 1));
  char mark[2];
  GetProfileStringA("Intl", "sThousand", ",", mark, sizeof mark);
  gThousandMark = mark[0] ? mark[0] : ',';
  GetProfileStringA("Intl", "sDecimal", ".", mark, sizeof mark);
  gDecimalMark = mark[0] ? mark[0] : '.';
  gLeadingZero = static_cast<int16_t>(GetProfileIntA("Intl", "iLzero", 0));
}

void LoadStartupResources() {
  gScreenWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
  gScreenHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
  gZoomCursor = LoadCursorA(gAppInstance, "ZoomCursor");
  gZoomPlusCursor = LoadCursorA(gAppInstance, "Zoom+Cursor");
  gZoomMinusCursor = LoadCursorA(gAppInstance, "Zoom-Cursor");
  gDropperCursor = LoadCursorA(gAppInstance, "DropperCursor");
  gMainMenu = LoadMenuA(gAppInstance, MAKEINTRESOURCEA(IDR_MAINMENU));
  gMdiAccel = LoadAcceleratorsA(gAppInstance, "MdiAccel");
}

// Layout > Dimensioning > Arrowheads: the placeholder item gives way to the seven pictures.
void FillArrowheadMenu() {
  constexpr int kDimensioningItem = 11;
  constexpr int kArrowheadsItem = 2;
  HMENU layout = GetTopMenu(kLayoutMenu);
  HMENU dimensioning = layout ? GetSubMenu(layout, kDimensioningItem) : nullptr;
  HMENU arrows = dimensioning ? GetSubMenu(dimensioning, kArrowheadsItem) : nullptr;
  if (!arrows) return;
  DeleteMenu(arrows, 0, MF_BYPOSITION);
  for (int i = 0; i < kArrowBitmapCount; ++i) {
    gArrowBitmaps[i] = LoadBitmapA(gAppInstance, MAKEINTRESOURCEA(IDB_ARROW_FIRST + i));
    if (gArrowBitmaps[i])
      AppendMenuA(arrows, MF_BITMAP, CMD_ARROW_FIRST + i, reinterpret_cast<LPCSTR>(gArrowBitmaps[i]));
  }
}

const char* LoadStr(int id, char* buffer, int size) {
  if (!buffer || size <= 0) return "";
  if (LoadStringA(gAppInstance, id, buffer, size) <= 0) buffer[0] = '\0';
  return buffer;
}
