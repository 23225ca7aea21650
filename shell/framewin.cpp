// The frame window: its multiple-document client, the floating toolboxes and clipboard viewer it
// owns, closing all drawings, and the splash and About boxes.
#include <windows.h>

#include <vector>

#include "ole/oleserver.h"
#include "resources/resids.h"
#include "resources/strings.h"
#include "shell/cmdids.h"
#include "shell/panes.h"
#include "shell/shell.h"
#include "tools/dlogsupp_win.h"

namespace {

constexpr char kFrameTitle[] = "Draxel Pro 2.0";
constexpr int kFrameX = 3, kFrameY = 3, kFrameWidthMargin = 6, kFrameHeightMargin = 16;
constexpr DWORD kSplashMilliseconds = 2000;

struct ToolboxPlace {
  HWND* global;
  ToolboxInfo info;
  int controlId;
  int x, y, width, height;  // negative x or y count from the frame's right or bottom edge
  bool fromRight, fromBottom;
  bool shown;
  uint8_t bit;
};

// The six toolboxes and where they start.
ToolboxPlace kToolboxes[] = {
    {&gEditTools, {1, 200, 10}, 2, 13, 33, 36, 200, false, false, true, kEditToolsBit},
    {&gDrawTools, {2, 300, 7}, 3, 13, 235, 36, 149, false, false, true, kDrawToolsBit},
    {&gReadouts, {5, 600, 1}, 4, 40, 63, 469, 40, false, true, false, kReadoutsBit},
    {&gSnapTools, {4, 500, 10}, 5, 41, 33, 36, 200, true, false, false, kSnapToolsBit},
    {&gDimTools, {3, 400, 6}, 6, 41, 235, 36, 132, true, false, false, kDimToolsBit},
    {&gPatterns, {7, 900, 1}, 7, 137, 50, 89, 270, true, false, false, kPatternsBit},
};

constexpr int kClipboardId = 8;
constexpr int kClipboardX = 100, kClipboardY = 100, kClipboardWidth = 300, kClipboardHeight = 200;

// Creates one toolbox with a copy of its descriptor in its window word; null on failure.
HWND CreateFloatingToolbox(HWND frame, const ToolboxPlace& place, int frameWidth, int frameHeight) {
  ToolboxInfo* info = static_cast<ToolboxInfo*>(LocalAlloc(LPTR, sizeof(ToolboxInfo)));
  if (!info) return nullptr;
  *info = place.info;
  const int x = place.fromRight ? frameWidth - place.x : place.x;
  const int y = place.fromBottom ? frameHeight - place.y : place.y;
  HWND box =
      CreateWindowA("ToolClass", "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_DLGFRAME, x, y,
                    place.width, place.height, frame,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.controlId)), gAppInstance, nullptr);
  if (!box) {
    LocalFree(info);
    return nullptr;
  }
  SetWindowLongPtrA(box, 0, reinterpret_cast<LONG_PTR>(info));
  CreateToolButtons(box, gAppInstance, *info);
  SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return box;
}

LRESULT OnFrameCreate(HWND frame) {
  CLIENTCREATESTRUCT ccs = {};
  ccs.hWindowMenu = GetSubMenu(gMainMenu, kWindowMenu);
  ccs.idFirstChild = CMD_FIRST_MDI_CHILD;
  gClientWindow = CreateWindowA(
      "MDICLIENT", nullptr,
      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, frame,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kClientWindowId)), gAppInstance, &ccs);
  // The client shows its scroll bars only when a drawing window reaches outside it; created
  // with them, it shows them until the first such check.
  if (!gClientWindow) {
    gStartupFailure = STR_STARTUP_CLIENT;
    return -1;  // the frame is not created: the program has nowhere to put drawings
  }
  ShowScrollBar(gClientWindow, SB_BOTH, FALSE);
  RECT client;
  GetClientRect(frame, &client);
  for (const ToolboxPlace& place : kToolboxes) {
    *place.global = CreateFloatingToolbox(frame, place, client.right, client.bottom);
    if (*place.global && place.shown) {
      ShowWindow(*place.global, SW_SHOW);
      gVisibleTools |= place.bit;
    }
  }
  char title[64];
  gClipboard =
      CreateWindowA("ClipboardClass", LoadStr(STR_CLIPBOARD, title, sizeof title),
                    WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL, kClipboardX,
                    kClipboardY, kClipboardWidth, kClipboardHeight, frame,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kClipboardId)), gAppInstance, nullptr);
  if (gClipboard) SetWindowPos(gClipboard, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return 0;
}

// Close or shutdown query: every drawing is asked; the frame goes only when none is left.
LRESULT OnFrameClose(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  SendMessageA(frame, WM_COMMAND, CMD_CLOSE_ALL, 0);
  if (ActiveDrawingWindow() || GetWindow(gClientWindow, GW_CHILD)) return 0;
  return DefFrameProcA(frame, gClientWindow, message, wParam, lParam);
}

void OnSettingsChanged() {
  InternationalInit();
  if (gReadouts) InvalidateRect(gReadouts, nullptr, TRUE);
  if (gCurWindow) InvalidateRect(static_cast<HWND>(gCurWindow), nullptr, TRUE);
  if (gCurDocument && gCurDocument->miscWindow)
    InvalidateRect(static_cast<HWND>(gCurDocument->miscWindow), nullptr, TRUE);
}

LRESULT OnFrameDestroy() {
  PostQuitMessage(0);
  if (gZoomCursor) DestroyCursor(gZoomCursor);
  if (gDropperCursor) DestroyCursor(gDropperCursor);
  for (HBITMAP& bitmap : gArrowBitmaps)
    if (bitmap) {
      DeleteObject(bitmap);
      bitmap = nullptr;
    }
  for (const ToolboxPlace& place : kToolboxes)
    if (*place.global) LocalFree(reinterpret_cast<HLOCAL>(GetWindowLongPtrA(*place.global, 0)));
  // The frame's menu is destroyed with the frame.
  gMainMenu = nullptr;
  gFrameWindow = nullptr;
  return 0;
}

// Splash and About: centred on the screen, showing the splash picture at the top-left corner.

void PaintSplashPicture(HWND dialog) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  HBITMAP picture = LoadBitmapA(gAppInstance, "SplashImage");
  if (picture) {
    BITMAP info;
    GetObjectA(picture, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
  }
  EndPaint(dialog, &ps);
}

// The splash box takes the picture's size exactly.
void FitSplashToPicture(HWND dialog) {
  HBITMAP picture = LoadBitmapA(gAppInstance, "SplashImage");
  if (!picture) return;
  BITMAP info;
  GetObjectA(picture, sizeof info, &info);
  DeleteObject(picture);
  RECT r = {0, 0, info.bmWidth, info.bmHeight};
  AdjustWindowRectEx(&r, GetWindowLongA(dialog, GWL_STYLE), FALSE, GetWindowLongA(dialog, GWL_EXSTYLE));
  SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

// The splash closes itself once two seconds have passed since it first painted.
INT_PTR CALLBACK SplashDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  constexpr UINT_PTR kSplashTimer = 1;
  constexpr UINT kPollMilliseconds = 100;
  static DWORD shownAt = 0;
  switch (message) {
    case WM_INITDIALOG:
      FitSplashToPicture(dialog);
      CenterDialog(dialog);
      shownAt = 0;
      SetTimer(dialog, kSplashTimer, kPollMilliseconds, nullptr);
      return TRUE;
    case WM_PAINT:
      PaintSplashPicture(dialog);
      if (!shownAt) shownAt = GetTickCount();
      return TRUE;
    case WM_TIMER:
      if (shownAt && GetTickCount() - shownAt >= kSplashMilliseconds) {
        KillTimer(dialog, kSplashTimer);
        EndDialog(dialog, 0);
      }
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CenterDialog(dialog);
      return TRUE;
    case WM_PAINT:
      PaintSplashPicture(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 1);
      return TRUE;
  }
  return FALSE;
}

// Per drawing window: restore it, ask it, destroy it when it agrees. Icon titles are skipped.
BOOL CALLBACK CloseEnumProc(HWND window, LPARAM) {
  if (GetWindow(window, GW_OWNER)) return TRUE;
  SendMessageA(gClientWindow, WM_MDIRESTORE, reinterpret_cast<WPARAM>(window), 0);
  if (SendMessageA(window, WM_QUERYENDSESSION, 0, 0))
    SendMessageA(gClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
  return TRUE;
}

}  // namespace

LRESULT CALLBACK FrameDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnFrameCreate(window);
    case WM_INITMENUPOPUP:
      UpdateMenus();
      break;
    case WM_COMMAND:
      if (DoCommand(window, LOWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
      break;
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
      return OnFrameClose(window, message, wParam, lParam);
    case WM_KEYDOWN:
      HandleKeyDown(wParam, lParam);
      break;
    case WM_WININICHANGE:
      OnSettingsChanged();
      break;
    case WM_DESTROY:
      return OnFrameDestroy();
  }
  return DefFrameProcA(window, gClientWindow, message, wParam, lParam);
}

HWND CreateFrameWindow() {
  gStartupFailure = STR_STARTUP_FRAME;
  gFrameWindow =
      CreateWindowA("FrameClass", kFrameTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    kFrameX, kFrameY, gScreenWidth - kFrameWidthMargin, gScreenHeight - kFrameHeightMargin,
                    nullptr, gMainMenu, gAppInstance, nullptr);
  return gFrameWindow;
}

void ShowSplash() {
  DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(IDD_SPLASH), gFrameWindow, SplashDialogProc, 0);
}

void ShowAbout() {
  DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(IDD_ABOUT), gFrameWindow, AboutDialogProc, 0);
}

bool AppEmbedded() {
  return OleServerEmbedding();
}

// The client's children are listed first: closing one changes the list being walked.
void CloseAllDrawings() {
  if (!gClientWindow) return;
  std::vector<HWND> children;
  for (HWND child = GetWindow(gClientWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  for (HWND child : children)
    if (IsWindow(child)) CloseEnumProc(child, 0);
}

void SendFrameCommand(int id) {
  if (gFrameWindow) SendMessageA(gFrameWindow, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void ToggleToolbox(HWND toolbox, uint8_t bit) {
  if (!toolbox) return;
  gVisibleTools ^= bit;
  ShowWindow(toolbox, (gVisibleTools & bit) ? SW_SHOW : SW_HIDE);
}

void ToggleClipboardViewer() {
  if (!gClipboard) return;
  if (IsWindowVisible(gClipboard)) {
    ShowWindow(gClipboard, SW_HIDE);
    gClipboardVisible = 0;
    HWND drawing = ActiveDrawingWindow();
    if (drawing) SendMessageA(gClientWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(drawing), 0);
  } else {
    ShowWindow(gClipboard, SW_SHOW);
    gClipboardVisible = 1;
    SetWindowPos(gClipboard, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
}
