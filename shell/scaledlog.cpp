// The Rulers / Scale dialog: the drawing scale as so many screen units to so many world units,
// both units, the ruler's minor divisions, and whether the objects keep their world size.
#include <cstdio>

#include "geometry/tranform.h"
#include "geometry/units.h"
#include "resources/dlgids.h"
#include "resources/strings.h"
#include "shell/setdlogs.h"
#include "shell/shell.h"
#include "tools/dlogsupp_win.h"

// The values being edited, for the scale preview.
float gDlgScreenScale = 1.0f;
float gDlgWorldScale = 1.0f;

namespace {

// The screen units the combo offers, in its order.
constexpr int16_t kScreenUnits[] = {kUnitInches, kUnitMillimetres, kUnitCentimetres};
constexpr int kScreenUnitStrings[] = {STR_INCHES, STR_INCHES + 4, STR_INCHES + 5};
constexpr int kScreenUnitCount = 3;
constexpr int kWorldUnitCount = STR_METERS - STR_INCHES + 1;
// Minor divisions offered per screen unit; none for millimetres.
constexpr int kInchDivisions = 16;
constexpr int kCentimetreDivisions = 5;
// The scale fields are plain numbers whatever the readout style: four places.
constexpr int16_t kPlainStyle = kFirstReadoutStyle + 4;

DocState* StateOf(HWND dialog) {
  return reinterpret_cast<DocState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

int ScreenUnitEntry(int16_t unit) {
  for (int i = 0; i < kScreenUnitCount; ++i)
    if (kScreenUnits[i] == unit) return i;
  return 0;
}

void AddStrings(HWND combo, const int* ids, int count) {
  char text[64];
  for (int i = 0; i < count; ++i)
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadStr(ids[i], text, sizeof text)));
}

int ComboEntry(HWND dialog, int item) {
  return static_cast<int>(SendDlgItemMessageA(dialog, item, CB_GETCURSEL, 0, 0));
}

// Refills the minor divisions for the chosen screen unit, keeping `divisions` when offered.
void FillDivisions(HWND dialog, int divisions) {
  HWND combo = GetDlgItem(dialog, IDC_MINOR_DIVISIONS);
  const int entry = ComboEntry(dialog, IDC_SCREEN_UNIT);
  const int16_t unit = kScreenUnits[entry >= 0 && entry < kScreenUnitCount ? entry : 0];
  const int count = unit == kUnitInches        ? kInchDivisions
                    : unit == kUnitCentimetres ? kCentimetreDivisions
                                               : 0;
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  char text[16];
  for (int i = 1; i <= count; ++i) {
    std::snprintf(text, sizeof text, "%d", i);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  if (divisions < 1 || divisions > count) divisions = 1;
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(divisions - 1), 0);
  const int show = count ? SW_SHOW : SW_HIDE;
  ShowWindow(combo, show);
  ShowWindow(GetDlgItem(dialog, IDC_MINOR_LABEL), show);
}

// "1.0000 Inches = 48.0000 Feet" from the values being edited; a field without a number shows
// as "?".
void UpdatePreview(HWND dialog) {
  const bool screenOk = ReadFloatItem(dialog, IDC_SCREEN_SCALE, nullptr, false, &gDlgScreenScale);
  const bool worldOk = ReadFloatItem(dialog, IDC_WORLD_SCALE, nullptr, false, &gDlgWorldScale);
  char screen[32] = "?", world[32] = "?", screenUnit[32] = "", worldUnit[32] = "", text[160];
  DocState plain = {};
  plain.readoutStyle = kPlainStyle;
  if (screenOk) ConvertFloatToString(gDlgScreenScale, screen, sizeof screen, &plain, false);
  if (worldOk) ConvertFloatToString(gDlgWorldScale, world, sizeof world, &plain, false);
  GetDlgItemTextA(dialog, IDC_SCREEN_UNIT, screenUnit, sizeof screenUnit);
  GetDlgItemTextA(dialog, IDC_WORLD_UNIT, worldUnit, sizeof worldUnit);
  std::snprintf(text, sizeof text, "%s %s = %s %s", screen, screenUnit, world, worldUnit);
  SetDlgItemTextA(dialog, IDC_SCALE_PREVIEW, text);
}

void OnScaleInit(HWND dialog, DocState* s) {
  CenterDialog(dialog);
  DocState plain = *s;
  plain.readoutStyle = kPlainStyle;
  SetFloatItem(dialog, IDC_WORLD_SCALE, s->worldScale, &plain, false, false);
  AddStrings(GetDlgItem(dialog, IDC_SCREEN_UNIT), kScreenUnitStrings, kScreenUnitCount);
  SendDlgItemMessageA(dialog, IDC_SCREEN_UNIT, CB_SETCURSEL,
                      static_cast<WPARAM>(ScreenUnitEntry(s->screenUnit)), 0);
  int worldIds[kWorldUnitCount];
  for (int i = 0; i < kWorldUnitCount; ++i) worldIds[i] = STR_INCHES + i;
  AddStrings(GetDlgItem(dialog, IDC_WORLD_UNIT), worldIds, kWorldUnitCount);
  const int worldEntry = s->worldUnit >= kUnitInches && s->worldUnit <= kUnitMetres ? s->worldUnit - 1 : 0;
  SendDlgItemMessageA(dialog, IDC_WORLD_UNIT, CB_SETCURSEL, static_cast<WPARAM>(worldEntry), 0);
  FillDivisions(dialog, s->minorDivisions);
  SetMacRadioItem(dialog, IDC_RESCALE, false);
  SetFloatItem(dialog, IDC_SCREEN_SCALE, s->screenScale, &plain, true, false);
  UpdatePreview(dialog);
}

// Both scale values must be numbers above 0: a scale of 0 would divide every length by zero.
bool OnScaleOK(HWND dialog, DocState* s) {
  float screen = 0, world = 0;
  if (!CheckFloatItem(dialog, IDC_SCREEN_SCALE, nullptr, false, true, &screen) ||
      !CheckFloatItem(dialog, IDC_WORLD_SCALE, nullptr, false, true, &world))
    return false;
  const float oldFactor = s->scaleFactor;
  s->screenScale = screen;
  s->worldScale = world;
  s->rescaleObjects = IsDlgButtonChecked(dialog, IDC_RESCALE) == BST_CHECKED;
  const int screenEntry = ComboEntry(dialog, IDC_SCREEN_UNIT);
  s->screenUnit = kScreenUnits[screenEntry >= 0 && screenEntry < kScreenUnitCount ? screenEntry : 0];
  const int worldEntry = ComboEntry(dialog, IDC_WORLD_UNIT);
  if (worldEntry >= 0 && worldEntry < kWorldUnitCount) s->worldUnit = static_cast<int16_t>(worldEntry + 1);
  if (IsWindowVisible(GetDlgItem(dialog, IDC_MINOR_DIVISIONS))) {
    const int divisions = ComboEntry(dialog, IDC_MINOR_DIVISIONS);
    if (divisions >= 0) s->minorDivisions = static_cast<int16_t>(divisions + 1);
  }
  ComputeScaleFactor(s);
  if (s->rescaleObjects) RescaleDrawing(oldFactor, s->scaleFactor);
  return true;
}

}  // namespace

INT_PTR CALLBACK DrawingScaleProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    if (DocState* s = reinterpret_cast<DocState*>(lParam)) OnScaleInit(dialog, s);
    return FALSE;
  }
  DocState* s = StateOf(dialog);
  if (!s || !gCurDocument || !gCurDocument->docState || message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wParam), code = HIWORD(wParam);
  switch (id) {
    case IDOK:
      if (OnScaleOK(dialog, s)) EndDialog(dialog, TRUE);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, FALSE);
      return TRUE;
    case IDC_SCREEN_UNIT:
      if (code == CBN_SELCHANGE) {
        FillDivisions(dialog, ComboEntry(dialog, IDC_MINOR_DIVISIONS) + 1);
        UpdatePreview(dialog);
      }
      return TRUE;
    case IDC_WORLD_UNIT:
      if (code == CBN_SELCHANGE) UpdatePreview(dialog);
      return TRUE;
    case IDC_SCREEN_SCALE:
    case IDC_WORLD_SCALE:
      if (code == EN_CHANGE) UpdatePreview(dialog);
      return TRUE;
  }
  return FALSE;
}

bool DrawingScaleDLOG(DocState* state) {
  if (!state) return false;
  return DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(IDD_DRAWING_SCALE), gFrameWindow, DrawingScaleProc,
                         reinterpret_cast<LPARAM>(state)) == TRUE;
}
