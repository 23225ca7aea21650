// The small settings dialogs: one description per dialog (resource, how its fields are filled
// and stored, the range of its scroll arrows) run by one dialog procedure.
#include "shell/setdlogs.h"

#include <cstdio>

#include "geometry/numtext.h"
#include "geometry/units.h"
#include "resources/dlgids.h"
#include "shell/shell.h"
#include "tools/dlogsupp_win.h"
#include "tools/toolstate.h"

uint8_t gDefNudgeRate = 0;

namespace {

// What the stored whole numbers may hold. A repeat count, side count or smoothness is an int16
// in the drawing; the zoom step and the snap settings stay within what the tools can use.
constexpr int32_t kMaxRepeat = 32767;
constexpr int32_t kMinLineSize = 1, kMaxLineSize = 20;
constexpr int32_t kMinScrollSpeed = 1, kMaxScrollSpeed = 500;
constexpr int32_t kMinTension = 1, kMaxTension = 50;
constexpr int32_t kMaxZoomPercentage = 1000;
constexpr int32_t kMinSides = 3, kMaxSides = 1000;
constexpr int32_t kMaxSmoothnessTyped = 32767;  // stored as at most kMaxCurveSmoothness
constexpr int32_t kMaxSnapSensitivity = 100;
constexpr int32_t kMaxSnapPercentage = 100;
constexpr float kYUpward = -1.0f;  // the user sees y growing upward

struct SettingsForm {
  int resource;
  void (*fill)(HWND dialog, const DocState* state);
  // Reads every field; false (nothing stored) when one is refused.
  bool (*store)(HWND dialog, DocState* state);
  int32_t arrowLow, arrowHigh;  // the scroll arrows' range; 0, 0 without arrows
  // A button other than OK and Cancel; true when it closed the dialog.
  bool (*button)(HWND dialog, int id, DocState* state);
};

struct SettingsRun {
  const SettingsForm* form;
  DocState* state;
};

// ---- Duplicate Offsets ----

void FillDuplicate(HWND d, const DocState* s) {
  SetFloatItem(d, IDC_DUP_HORIZONTAL, s->dupOffsetH, s, false, true);
  SetFloatItem(d, IDC_DUP_VERTICAL, s->dupOffsetV * kYUpward, s, false, true);
  SetLongItem(d, IDC_DUP_REPEAT, s->dupRepeat, false);
  SelectItemText(d, IDC_DUP_HORIZONTAL);
}

bool StoreDuplicate(HWND d, DocState* s) {
  float h = 0, v = 0;
  int32_t repeat = 0;
  if (!CheckFloatItem(d, IDC_DUP_HORIZONTAL, s, true, false, &h) ||
      !CheckFloatItem(d, IDC_DUP_VERTICAL, s, true, false, &v) ||
      !CheckLongItem(d, IDC_DUP_REPEAT, 1, kMaxRepeat, &repeat))
    return false;
  s->dupOffsetH = h;
  s->dupOffsetV = v * kYUpward;
  s->dupRepeat = static_cast<int16_t>(repeat);
  return true;
}

// ---- Nudge Rate ----

void FillNudge(HWND d, const DocState* s) {
  SetFloatItem(d, IDC_SINGLE_FIELD, s->nudgeRate, s, true, true);
}

bool StoreNudge(HWND d, DocState* s) {
  return CheckFloatItem(d, IDC_SINGLE_FIELD, s, true, false, &s->nudgeRate);
}

// ---- Line Types ----

void FillLineTypes(HWND d, const DocState* s) {
  const int type = s->lineType >= IDC_LINE_TYPE_FIRST && s->lineType <= IDC_LINE_TYPE_LAST
                       ? s->lineType
                       : IDC_LINE_TYPE_FIRST;
  SetRadioItem(d, type, IDC_LINE_TYPE_FIRST, IDC_LINE_TYPE_LAST);
  SetFocus(GetDlgItem(d, type));
}

bool StoreLineTypes(HWND d, DocState* s) {
  s->lineType = static_cast<int16_t>(GetRadioItem(d, IDC_LINE_TYPE_FIRST, IDC_LINE_TYPE_LAST, s->lineType));
  return true;
}

// ---- Line Size, Scrolling Speed, Tension: one whole number with scroll arrows ----

void FillLineSize(HWND d, const DocState* s) {
  SetLongItem(d, IDC_SINGLE_FIELD, s->lineSize, true);
}

bool StoreLineSize(HWND d, DocState* s) {
  int32_t size = 0;
  if (!CheckLongItem(d, IDC_SINGLE_FIELD, kMinLineSize, kMaxLineSize, &size)) return false;
  s->lineWeight = s->lineSize = static_cast<int16_t>(size);
  return true;
}

void FillScrollSpeed(HWND d, const DocState* s) {
  SetLongItem(d, IDC_SINGLE_FIELD, s->scrollSpeed, true);
}

bool StoreScrollSpeed(HWND d, DocState* s) {
  int32_t speed = 0;
  if (!CheckLongItem(d, IDC_SINGLE_FIELD, kMinScrollSpeed, kMaxScrollSpeed, &speed)) return false;
  s->scrollSpeed = static_cast<int16_t>(speed);
  return true;
}

void FillTension(HWND d, const DocState* s) {
  SetLongItem(d, IDC_SINGLE_FIELD, s->tension, true);
}

bool StoreTension(HWND d, DocState* s) {
  int32_t tension = 0;
  if (!CheckLongItem(d, IDC_SINGLE_FIELD, kMinTension, kMaxTension, &tension)) return false;
  s->tension = static_cast<int16_t>(tension);
  return true;
}

// ---- Tolerances (numbers, not lengths) ----

void FillTolerances(HWND d, const DocState* s) {
  SetFloatItem(d, IDC_UPPER_TOLERANCE, s->upperTolerance, s, false, false);
  SetFloatItem(d, IDC_LOWER_TOLERANCE, s->lowerTolerance, s, false, false);
  SelectItemText(d, IDC_UPPER_TOLERANCE);
}

bool StoreTolerances(HWND d, DocState* s) {
  float upper = 0, lower = 0;
  if (!CheckFloatItem(d, IDC_UPPER_TOLERANCE, s, false, false, &upper) ||
      !CheckFloatItem(d, IDC_LOWER_TOLERANCE, s, false, false, &lower))
    return false;
  s->upperTolerance = upper;
  s->lowerTolerance = lower;
  return true;
}

// ---- Parallel Format ----

void FillParallel(HWND d, const DocState* s) {
  const int side = s->parallelSide >= IDC_PARALLEL_INSIDE && s->parallelSide <= IDC_PARALLEL_CENTER
                       ? s->parallelSide
                       : IDC_PARALLEL_INSIDE;
  SetRadioItem(d, side, IDC_PARALLEL_INSIDE, IDC_PARALLEL_CENTER);
  SetFloatItem(d, IDC_PARALLEL_WIDTH, s->parallelWidth, s, true, true);
}

bool StoreParallel(HWND d, DocState* s) {
  float width = 0;
  if (!CheckFloatItem(d, IDC_PARALLEL_WIDTH, s, true, false, &width)) return false;
  s->parallelWidth = width;
  s->parallelSide =
      static_cast<int16_t>(GetRadioItem(d, IDC_PARALLEL_INSIDE, IDC_PARALLEL_CENTER, s->parallelSide));
  return true;
}

// ---- Grid Spacing: a spacing of 0 or less has no grid to draw or snap to ----

void FillGrid(HWND d, const DocState* s) {
  SetFloatItem(d, IDC_HORIZONTAL, s->gridH, s, false, true);
  SetFloatItem(d, IDC_VERTICAL, s->gridV, s, false, true);
  SelectItemText(d, IDC_HORIZONTAL);
}

bool StoreGrid(HWND d, DocState* s) {
  float h = 0, v = 0;
  if (!CheckFloatItem(d, IDC_HORIZONTAL, s, true, true, &h) ||
      !CheckFloatItem(d, IDC_VERTICAL, s, true, true, &v))
    return false;
  s->gridH = s->snapH = h;
  s->gridV = s->snapV = v;
  return true;
}

// ---- Move Origin: offsets typed in world units move the origin, which is in page units ----

void FillOrigin(HWND d, const DocState* s) {
  SetFloatItem(d, IDC_HORIZONTAL, 0.0f, s, false, true);
  SetFloatItem(d, IDC_VERTICAL, 0.0f, s, false, true);
  SelectItemText(d, IDC_HORIZONTAL);
}

bool StoreOrigin(HWND d, DocState* s) {
  float h = 0, v = 0;
  if (!CheckFloatItem(d, IDC_HORIZONTAL, s, true, false, &h) ||
      !CheckFloatItem(d, IDC_VERTICAL, s, true, false, &v))
    return false;
  s->originH += ConvertWorldToScreen(h, s, false);
  s->originV += ConvertWorldToScreen(v, s, false) * kYUpward;
  return true;
}

bool OriginButton(HWND d, int id, DocState* s) {
  if (id != IDC_ORIGIN_RESET) return false;
  s->originH = s->pageRect.left;
  s->originV = s->pageRect.bottom;
  EndDialog(d, TRUE);
  return true;
}

// ---- Preferences ----

void FillPreferences(HWND d, const DocState* s) {
  SetLongItem(d, IDC_PREF_SIDES, s->multigonSides, false);
  SetLongItem(d, IDC_PREF_SMOOTHNESS, s->curveSmoothness, false);
  SetLongItem(d, IDC_PREF_SENSITIVITY, s->snapSensitivity, false);
  SetLongItem(d, IDC_PREF_PERCENTAGE, s->snapPercentage, false);
  SetMacRadioItem(d, IDC_PREF_AUTO_RESET, gResetStdTool != 0);
  SetMacRadioItem(d, IDC_PREF_NUDGE_PIXEL, gDefNudgeRate != 0);
  SetLongItem(d, IDC_PREF_ZOOM, s->zoomPercentage, true);
}

bool StorePreferences(HWND d, DocState* s) {
  int32_t zoom = 0, sides = 0, smoothness = 0, sensitivity = 0, percentage = 0;
  if (!CheckLongItem(d, IDC_PREF_ZOOM, 1, kMaxZoomPercentage, &zoom) ||
      !CheckLongItem(d, IDC_PREF_SIDES, kMinSides, kMaxSides, &sides) ||
      !CheckLongItem(d, IDC_PREF_SMOOTHNESS, 1, kMaxSmoothnessTyped, &smoothness) ||
      !CheckLongItem(d, IDC_PREF_SENSITIVITY, 1, kMaxSnapSensitivity, &sensitivity) ||
      !CheckLongItem(d, IDC_PREF_PERCENTAGE, 0, kMaxSnapPercentage, &percentage))
    return false;
  s->zoomPercentage = static_cast<int16_t>(zoom);
  s->multigonSides = static_cast<int16_t>(sides);
  SetCurveSmoothness(s, smoothness);
  s->snapSensitivity = static_cast<int16_t>(sensitivity);
  s->snapPercentage = static_cast<int16_t>(percentage);
  gResetStdTool = IsDlgButtonChecked(d, IDC_PREF_AUTO_RESET) == BST_CHECKED;
  gDefNudgeRate = IsDlgButtonChecked(d, IDC_PREF_NUDGE_PIXEL) == BST_CHECKED;
  return true;
}

// ---- CorelDraw Import: the choice is handed back, not stored in the drawing ----

int16_t gChosenCDRMethod = IDC_CDR_PICTURE;

void FillCDR(HWND d, const DocState*) {
  SetRadioItem(d, IDC_CDR_PICTURE, IDC_CDR_PICTURE, IDC_CDR_VECTOR);
  SetFocus(GetDlgItem(d, IDC_CDR_PICTURE));
}

bool StoreCDR(HWND d, DocState*) {
  gChosenCDRMethod = static_cast<int16_t>(GetRadioItem(d, IDC_CDR_PICTURE, IDC_CDR_VECTOR, IDC_CDR_PICTURE));
  return true;
}

const SettingsForm kDuplicateForm = {IDD_DUPLICATE_OFFSETS, FillDuplicate, StoreDuplicate, 0, 0, nullptr};
const SettingsForm kNudgeForm = {IDD_NUDGE_RATE, FillNudge, StoreNudge, 0, 0, nullptr};
const SettingsForm kLineTypesForm = {IDD_LINE_TYPES, FillLineTypes, StoreLineTypes, 0, 0, nullptr};
const SettingsForm kLineSizeForm = {IDD_LINE_SIZE, FillLineSize, StoreLineSize,
                                    kMinLineSize,  kMaxLineSize, nullptr};
const SettingsForm kTolerancesForm = {IDD_TOLERANCES, FillTolerances, StoreTolerances, 0, 0, nullptr};
const SettingsForm kParallelForm = {IDD_PARALLEL_FORMAT, FillParallel, StoreParallel, 0, 0, nullptr};
const SettingsForm kGridForm = {IDD_GRID_SPACING, FillGrid, StoreGrid, 0, 0, nullptr};
const SettingsForm kOriginForm = {IDD_MOVE_ORIGIN, FillOrigin, StoreOrigin, 0, 0, OriginButton};
const SettingsForm kScrollForm = {IDD_SCROLLING_SPEED, FillScrollSpeed, StoreScrollSpeed,
                                  kMinScrollSpeed,     kMaxScrollSpeed, nullptr};
const SettingsForm kTensionForm = {IDD_TENSION, FillTension, StoreTension, kMinTension, kMaxTension, nullptr};
const SettingsForm kPreferencesForm = {IDD_PREFERENCES, FillPreferences, StorePreferences, 0, 0, nullptr};
const SettingsForm kCDRForm = {IDD_CDR_IMPORT, FillCDR, StoreCDR, 0, 0, nullptr};

SettingsRun* RunOf(HWND dialog) {
  return reinterpret_cast<SettingsRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// The line of the Line Size dialog at the weight in its field.
void PaintLinePreview(HWND dialog) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  HWND frame = GetDlgItem(dialog, IDC_LINE_PREVIEW);
  RECT r;
  if (dc && frame && GetWindowRect(frame, &r)) {
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    int32_t weight = GetLongItem(dialog, IDC_SINGLE_FIELD);
    if (weight < kMinLineSize || weight > kMaxLineSize) weight = kMinLineSize;
    if (HPEN pen = CreatePen(PS_SOLID, weight, RGB(0, 0, 0))) {
      HGDIOBJ old = SelectObject(dc, pen);
      const int y = (r.top + r.bottom) / 2;
      MoveToEx(dc, r.left + kMaxLineSize, y, nullptr);
      LineTo(dc, r.right - kMaxLineSize, y);
      SelectObject(dc, old);
      DeleteObject(pen);
    }
  }
  EndPaint(dialog, &ps);
}

void StepArrows(HWND dialog, const SettingsForm* form, WPARAM wParam) {
  const int code = LOWORD(wParam);
  if (form->arrowHigh == 0 || (code != SB_LINEUP && code != SB_LINEDOWN)) return;
  SetLongItem(dialog, IDC_SINGLE_FIELD,
              StepFieldValue(GetLongItem(dialog, IDC_SINGLE_FIELD), code == SB_LINEUP, form->arrowLow,
                             form->arrowHigh),
              true);
  if (HWND preview = GetDlgItem(dialog, IDC_LINE_PREVIEW)) {
    RECT r;
    GetWindowRect(preview, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(dialog, &r, TRUE);
  }
}

bool HasDrawing() {
  return gCurDocument && gCurDocument->docState;
}

bool RunSettings(const SettingsForm& form, DocState* state) {
  if (!state) return false;
  SettingsRun run = {&form, state};
  return DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(form.resource), gFrameWindow, SettingsProc,
                         reinterpret_cast<LPARAM>(&run)) == TRUE;
}

}  // namespace

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    SettingsRun* run = reinterpret_cast<SettingsRun*>(lParam);
    CenterDialog(dialog);
    if (run && run->state) run->form->fill(dialog, run->state);
    return FALSE;  // the fill gave the focus
  }
  SettingsRun* run = RunOf(dialog);
  if (!run || !run->state || !HasDrawing()) return FALSE;
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK) {
        if (run->form->store(dialog, run->state)) EndDialog(dialog, TRUE);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, FALSE);
        return TRUE;
      }
      if (id == IDC_SINGLE_FIELD && HIWORD(wParam) == EN_CHANGE && GetDlgItem(dialog, IDC_LINE_PREVIEW))
        InvalidateRect(dialog, nullptr, TRUE);
      return run->form->button && run->form->button(dialog, id, run->state);
    }
    case WM_VSCROLL:
      StepArrows(dialog, run->form, wParam);
      return TRUE;
    case WM_PAINT:
      if (!GetDlgItem(dialog, IDC_LINE_PREVIEW)) return FALSE;
      PaintLinePreview(dialog);
      return TRUE;
  }
  return FALSE;
}

bool DupeOffsetsDLOG(DocState* state) {
  return RunSettings(kDuplicateForm, state);
}
bool NudgeRateDLOG(DocState* state) {
  return RunSettings(kNudgeForm, state);
}
bool LineTypesDLOG(DocState* state) {
  return RunSettings(kLineTypesForm, state);
}
bool LineSizeDLOG(DocState* state) {
  return RunSettings(kLineSizeForm, state);
}
bool TolerancesDLOG(DocState* state) {
  return RunSettings(kTolerancesForm, state);
}
bool ParallelFormatDLOG(DocState* state) {
  return RunSettings(kParallelForm, state);
}
bool GridSpacingDLOG(DocState* state) {
  return RunSettings(kGridForm, state);
}
bool MoveOriginDLOG(DocState* state) {
  return RunSettings(kOriginForm, state);
}
bool ScrollingSpeedDLOG(DocState* state) {
  return RunSettings(kScrollForm, state);
}
bool TensionDLOG(DocState* state) {
  return RunSettings(kTensionForm, state);
}
bool PreferencesDLOG(DocState* state) {
  return RunSettings(kPreferencesForm, state);
}

bool CDRImportFormatDLOG(DocState* state, int16_t* method) {
  if (!RunSettings(kCDRForm, state)) return false;
  if (method) *method = gChosenCDRMethod;
  return true;
}
