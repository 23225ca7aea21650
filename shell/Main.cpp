// The entry point: start-up, the message loop and shutdown.
#include <windows.h>

#include <cstdio>

#include "ole/oleserver.h"
#include "resources/strings.h"
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int) {
  gAppInstance = instance;
  // Registering the embeddable object (set-up and the test prefix) opens no window.
  switch (CommandLineRegistrationSwitch()) {
    case RegistrationSwitch::kRegister:
      return RegisterOleServer() ? 0 : 1;
    case RegistrationSwitch::kUnregister:
      return UnregisterOleServer() ? 0 : 1;
    case RegistrationSwitch::kNone:
      break;
  }
  // A program a container started reports nothing to a user who is not there; it ends.
  const bool embedding = CommandLineHasEmbedding();
  if (!previous && !MainInit(instance)) {
    if (!embedding) ReportStartupFailure();
    return 0;
  }
  InitSimpleMAPI();
  InternationalInit();
  LoadStartupResources();
  if (!CreateFrameWindow()) {
    if (!embedding) ReportStartupFailure();
    DeinitSimpleMAPI();
    UnregisterClasses(instance);
    return -1;
  }
  g_fUser = !embedding;
  // Without OLE the user's program still runs (no embedding, no dragging out); a container's
  // does not linger without its object.
  if (!StartOleServer() && embedding) {
    DestroyWindow(gFrameWindow);
    DeinitSimpleMAPI();
    UnregisterClasses(instance);
    return -1;
  }
  // Drawings named on the command line open once the frame shows (their messages need it);
  // without any, or when none of them opens, the user gets an untitled drawing. A container asks
  // for its drawing itself.
  const bool namedFiles = g_fUser && CountCommandLineFiles() > 0;
  if (g_fUser && !namedFiles) CreateDrawingDocument();
  if (g_fUser) ShowSplash();
  ShowWindow(gFrameWindow, SW_SHOWMAXIMIZED);
  UpdateWindow(gFrameWindow);
  if (namedFiles && OpenCommandLineFiles() == 0) CreateDrawingDocument();
  FillArrowheadMenu();
  DrawMenuBar(gFrameWindow);
  const int quitCode = RunMessageLoop();
  // The frame object outlives the frame window (a cancelled Exit keeps both).
  CloseOLEClient();
  DeinitSimpleMAPI();
  UnregisterClasses(instance);
  return quitCode;
}
