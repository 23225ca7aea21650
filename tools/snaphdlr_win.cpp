#include "tools/snaphdlr_win.h"

#include <windows.h>

#include "tools/snaphdlr.h"
#include "tools/trakmous_win.h"

bool MaintainSnapTools() {
  MSG message;
  // Only key presses are taken: a paint or a quit left in the queue is still seen afterwards.
  if (!PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) return false;
  if (message.wParam == VK_ESCAPE) SetTrackingCancelled(true);
  return message.wParam == VK_TAB && SnapToolChange(0);
}
