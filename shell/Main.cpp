// The entry point: start-up, the message loop and shutdown.
#include <windows.h>

#include "shell/caption.h"
#include "shell/shell.h"

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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int) {
  gAppInstance = instance;
  if (!previous && !MainInit(instance)) return 0;
  InternationalInit();
  LoadStartupResources();
  if (!CreateFrameWindow()) {
    UnregisterClasses(instance);
    return -1;
  }
  // The embedding server comes later; for now a program started for embedding opens no window.
  g_fUser = !IsEmbeddingCommandLine(commandLine);
  if (g_fUser) CreateDrawingWindow();
  ShowSplash();
  ShowWindow(gFrameWindow, SW_SHOWMAXIMIZED);
  UpdateWindow(gFrameWindow);
  FillArrowheadMenu();
  DrawMenuBar(gFrameWindow);
  const int quitCode = RunMessageLoop();
  UnregisterClasses(instance);
  return quitCode;
}
