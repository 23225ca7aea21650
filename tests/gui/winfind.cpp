// Finds Draxel's child windows for the GUI tests, which see only the screen: the X server knows
// nothing of a program's child windows, so the tests ask through this console program, run in
// the same Wine session.
//   winfind rect CLASS ID [PARENT_ID]  prints "left top right bottom visible" in screen pixels of
//                                      the first window of that class and control id (inside a
//                                      parent of control id PARENT_ID when given); exit 1 if none
//   winfind popups                     prints "left top right bottom" of each open pop-up menu
//   winfind drawings                   prints the caption of each drawing window, one a line
//   winfind dlgrect TITLE ID           prints "left top right bottom visible" of control ID of the
//                                      dialog captioned TITLE; exit 1 if none
//   winfind command ID                 chooses command ID as its menu item does (a command
//                                      message to the frame); exit 1 without a frame
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Search {
  const char* className;
  int id;
  int parentId;  // -1: any parent
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
  Search* search = reinterpret_cast<Search*>(data);
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, search->className) != 0 || GetDlgCtrlID(window) != search->id) return TRUE;
  if (search->parentId >= 0 && GetDlgCtrlID(GetParent(window)) != search->parentId) return TRUE;
  search->found = window;
  return FALSE;
}

HWND Frame() {
  return FindWindowA("FrameClass", nullptr);
}

int PrintRect(const char* className, int id, int parentId) {
  HWND frame = Frame();
  if (!frame) return 1;
  Search search = {className, id, parentId, nullptr};
  EnumChildWindows(frame, Visit, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return 1;
  RECT r;
  GetWindowRect(search.found, &r);
  std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right, r.bottom,
              IsWindowVisible(search.found) ? 1 : 0);
  return 0;
}

// Menus belong to their process, so their marks are read off the screen: the open pop-ups are
// listed for the script to look at.
BOOL CALLBACK PrintPopup(HWND window, LPARAM) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, "#32768") != 0 || !IsWindowVisible(window)) return TRUE;
  RECT r;
  GetWindowRect(window, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  return TRUE;
}

// The drawing windows are the children of the frame's client area.
int PrintDrawings() {
  HWND frame = Frame();
  HWND client = frame ? FindWindowExA(frame, nullptr, "MDIClient", nullptr) : nullptr;
  if (!client) return 1;
  for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char caption[256] = "";
    GetWindowTextA(child, caption, sizeof caption);
    if (GetWindow(child, GW_OWNER) == nullptr && *caption) std::printf("%s\n", caption);
  }
  return 0;
}

int PrintDialogItem(const char* title, int id) {
  HWND dialog = FindWindowA(reinterpret_cast<const char*>(32770), title);
  HWND item = dialog ? GetDlgItem(dialog, id) : nullptr;
  if (!item) return 1;
  RECT r;
  GetWindowRect(item, &r);
  std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right, r.bottom, IsWindowVisible(item) ? 1 : 0);
  return 0;
}

int PostCommand(int id) {
  HWND frame = Frame();
  if (!frame) return 1;
  return PostMessageA(frame, WM_COMMAND, static_cast<WPARAM>(id), 0) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "rect") == 0)
    return PrintRect(argv[2], std::atoi(argv[3]), argc >= 5 ? std::atoi(argv[4]) : -1);
  if (argc >= 2 && std::strcmp(argv[1], "popups") == 0) return EnumWindows(PrintPopup, 0) ? 0 : 1;
  if (argc >= 2 && std::strcmp(argv[1], "drawings") == 0) return PrintDrawings();
  if (argc >= 4 && std::strcmp(argv[1], "dlgrect") == 0) return PrintDialogItem(argv[2], std::atoi(argv[3]));
  if (argc >= 3 && std::strcmp(argv[1], "command") == 0) return PostCommand(std::atoi(argv[2]));
  std::fprintf(
      stderr,
      "usage: winfind rect CLASS ID [PARENT_ID] | popups | drawings | dlgrect TITLE ID | command ID\n");
  return 2;
}
