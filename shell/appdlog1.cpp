// Settings dialogs of the application.
#include "shell/appdlog1.h"

#include "resources/resids.h"
#include "resources/strings.h"
#include "shell/shell.h"

namespace {

// Where the warning sign is drawn in the dialog's client area, in pixels.
constexpr int kSignLeft = 20;
constexpr int kSignTop = 40;

void OnWarningInit(HWND dialog) {
  char text[512];
  SetWindowTextA(dialog, LoadStr(STR_WARNING_TITLE, text, sizeof text));
  SetDlgItemTextA(dialog, IDC_EXPORT_WARNING_TEXT, LoadStr(STR_EXPORT_WARNING, text, sizeof text));
  SetFocus(GetDlgItem(dialog, IDYES_EXPORT));
}

void OnWarningPaint(HWND dialog) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  // The sign's grey becomes the dialog's own face colour.
  HBITMAP sign =
      static_cast<HBITMAP>(LoadImageA(gAppInstance, "EXCL_SIGN", IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
  if (dc && sign) {
    BITMAP info;
    GetObjectA(sign, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    if (memory) {
      HGDIOBJ old = SelectObject(memory, sign);
      BitBlt(dc, kSignLeft, kSignTop, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteDC(memory);
    }
  }
  if (sign) DeleteObject(sign);
  EndPaint(dialog, &ps);
}

}  // namespace

INT_PTR CALLBACK DoExportOrNotProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnWarningInit(dialog);
      return FALSE;  // the focus is set
    case WM_PAINT:
      OnWarningPaint(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDYES_EXPORT || LOWORD(wParam) == IDNO_EXPORT || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam) == IDYES_EXPORT);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

bool DoExportOrNotDLOG(DocState* state) {
  if (!state) return false;
  return DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(IDD_EXPORT_WARNING), gFrameWindow, DoExportOrNotProc,
                         0) == TRUE;
}
