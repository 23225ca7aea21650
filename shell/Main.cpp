// The entry point: start-up, the message loop and shutdown.
#include <windows.h>

#include <cstdio>

#include "resources/strings.h"
#include "shell/caption.h"
#include "shell/cmdline.h"
#include "shell/shell.h"
#include "shell/smplmapi.h"

namespace {

int RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (gClientWindow && TranslateMDISysAccel(gClientWindow, &msg)) continue;
    if (gMdiAccel && gFrameWindow && TranslateAcceleratorA(gFrameWindow, gMdiAccel, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

// Tells the user that the program cannot start and what failed, in the string table's words
// (these when even the strings cannot be read).
void ReportStartupFailure() {
  char format[128], what[160], text[320];
  if (!*LoadStr(STR_STARTUP_FAILED, format, sizeof format))
    std::snprintf(format, sizeof format, "%s", "Draxel cannot start: %s");
  if (!gStartupFailure || !*LoadStr(gStartupFailure, what, sizeof what))
    std::snprintf(what, sizeof what, "%s", "its windows cannot be created.");
  std::snprintf(text, sizeof text, format, what);
  MessageBoxA(nullptr, text, "Draxel", MB_OK | MB_ICONSTOP);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int) {
  gAppInstance = instance;
  if (!previous && !MainInit(instance)) {
    ReportStartupFailure();
    return 0;
  }
  InitSimpleMAPI();
  InternationalInit();
  LoadStartupResources();
  if (!CreateFrameWindow()) {
    ReportStartupFailure();
    DeinitSimpleMAPI();
    UnregisterClasses(instance);
    return -1;
  }
  // The embedding server comes later; for now a program started for embedding opens no window.
  g_fUser = !IsEmbeddingCommandLine(commandLine);
  // Drawings named on the command line open once the frame shows (their messages need it);
  // without any, or when none of them opens, the user gets an untitled drawing.
  const bool namedFiles = g_fUser && CountCommandLineFiles() > 0;
  if (g_fUser && !namedFiles) CreateDrawingWindow();
  ShowSplash();
  ShowWindow(gFrameWindow, SW_SHOWMAXIMIZED);
  UpdateWindow(gFrameWindow);
  if (namedFiles && OpenCommandLineFiles() == 0) CreateDrawingWindow();
  FillArrowheadMenu();
  DrawMenuBar(gFrameWindow);
  const int quitCode = RunMessageLoop();
  DeinitSimpleMAPI();
  UnregisterClasses(instance);
  return quitCode;
}
