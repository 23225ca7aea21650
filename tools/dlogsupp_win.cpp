// Dialog fields: the control side of the number texts of geometry/numtext and geometry/units.
#include "tools/dlogsupp_win.h"

#include <cctype>
#include <cstdio>

#include "geometry/numtext.h"
#include "geometry/units.h"
#include "tools/dlogtext.h"

namespace {

constexpr int kNumberTextSize = 64;

const DocState* CurrentState() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}

void ItemText(HWND dialog, int item, char* text, int size) {
  text[0] = '\0';
  GetDlgItemTextA(dialog, item, text, size);
}

}  // namespace

void SelectItemText(HWND dialog, int item) {
  HWND field = GetDlgItem(dialog, item);
  if (!field) return;
  SetFocus(field);
  SendMessageA(field, EM_SETSEL, 0, -1);
}

void SetFloatItem(HWND dialog, int item, float value, const DocState* state, bool select, bool isLength) {
  char text[kNumberTextSize];
  ConvertFloatToString(value, text, sizeof text, state, isLength);
  SetDlgItemTextA(dialog, item, text);
  if (select) SelectItemText(dialog, item);
}

bool ReadFloatItem(HWND dialog, int item, const DocState* state, bool isLength, float* value) {
  // One byte more than a field may hold, so that longer text is seen and refused.
  char text[kFieldTextSize + 1];
  ItemText(dialog, item, text, sizeof text);
  return ReadNumberText(text, state, isLength, value);
}

float GetFloatItem(HWND dialog, int item) {
  float value = 0.0f;
  return ReadFloatItem(dialog, item, CurrentState(), true, &value) ? value : 0.0f;
}

void SetLongItem(HWND dialog, int item, int32_t value, bool select) {
  char text[kNumberTextSize];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
  SetDlgItemTextA(dialog, item, text);
  if (select) SelectItemText(dialog, item);
}

int32_t GetLongItem(HWND dialog, int item) {
  char text[kFieldTextSize + 1];
  ItemText(dialog, item, text, sizeof text);
  int32_t value = 0;
  return ReadWholeText(text, &value) ? value : 0;
}

void SetRadioItem(HWND dialog, int item, int first, int last) {
  for (int id = first; id <= last; ++id) CheckDlgButton(dialog, id, id == item ? BST_CHECKED : BST_UNCHECKED);
}

void SetMacRadioItem(HWND dialog, int item, bool on) {
  CheckDlgButton(dialog, item, on ? BST_CHECKED : BST_UNCHECKED);
}

void HiliteDialogButton(HWND dialog, int item, bool on) {
  if (HWND control = GetDlgItem(dialog, item)) EnableWindow(control, on ? FALSE : TRUE);
}

int GetRadioItem(HWND dialog, int first, int last, int fallback) {
  for (int id = first; id <= last; ++id)
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) return id;
  return fallback;
}

void CenterDialog(HWND dialog) {
  RECT r;
  if (!GetWindowRect(dialog, &r)) return;
  const int width = r.right - r.left, height = r.bottom - r.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RefuseItem(HWND dialog, int item, int messageId, long first, long second) {
  char format[256] = "", text[320], title[128] = "";
  LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(messageId), format, sizeof format);
  std::snprintf(text, sizeof text, format, first, second);
  GetWindowTextA(dialog, title, sizeof title);
  MessageBeep(MB_ICONEXCLAMATION);
  MessageBoxA(dialog, text, title, MB_OK | MB_ICONEXCLAMATION);
  SelectItemText(dialog, item);
}

bool CheckFloatItem(HWND dialog, int item, const DocState* state, bool isLength, bool positive,
                    float* value) {
  float v = 0.0f;
  if (!ReadFloatItem(dialog, item, state, isLength, &v)) {
    RefuseItem(dialog, item, STR_FIELD_NOT_NUMBER);
    return false;
  }
  if (positive && !(v > 0.0f)) {
    RefuseItem(dialog, item, STR_FIELD_NOT_POSITIVE);
    return false;
  }
  *value = v;
  return true;
}

bool CheckTypedFloatItem(HWND dialog, int item, const DocState* state, bool isLength, float* value) {
  char text[kFieldTextSize + 1];
  ItemText(dialog, item, text, sizeof text);
  const char* c = text;
  while (std::isspace(static_cast<unsigned char>(*c))) ++c;
  if (!*c) {
    RefuseItem(dialog, item, STR_FIELD_NOT_NUMBER);
    return false;
  }
  return CheckFloatItem(dialog, item, state, isLength, false, value);
}

bool CheckLongItem(HWND dialog, int item, int32_t low, int32_t high, int32_t* value) {
  char text[kFieldTextSize + 1];
  ItemText(dialog, item, text, sizeof text);
  int32_t v = 0;
  if (!ReadWholeText(text, &v) || !*text || v < low || v > high) {
    RefuseItem(dialog, item, STR_FIELD_NOT_IN_RANGE, static_cast<long>(low), static_cast<long>(high));
    return false;
  }
  *value = v;
  return true;
}
