// The paper dialog, which gives the sheet its size, and the plot dialog, which gathers the
// settings of a serial pen plotter.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "geometry/papersize.h"
#include "geometry/units.h"
#include "resources/resids.h"
#include "resources/strings.h"
#include "shell/drxprint.h"
#include "shell/shell.h"
#include "tools/dlogsupp_win.h"

namespace {

// The custom sheet's sides are plain numbers in the chosen unit, shown to four places with the
// user's decimal mark.
void SetPaperSide(HWND dialog, int item, float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", value);
  // Trailing zeros and a bare decimal point say nothing.
  char* end = text + std::strlen(text);
  if (std::strchr(text, '.')) {
    while (end > text && end[-1] == '0') *--end = '\0';
    if (end > text && end[-1] == '.') *--end = '\0';
  }
  ConvertToInternational(text);
  SetDlgItemTextA(dialog, item, text);
}

// Fills a drop-down list with `count` string-table entries from `first` and selects the 0-based
// `selection` (the first entry when it is outside the list).
void FillList(HWND dialog, int item, int first, int count, int selection) {
  HWND list = GetDlgItem(dialog, item);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) {
    char text[64];
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadStr(first + i, text, sizeof text)));
  }
  SendMessageA(list, CB_SETCURSEL, selection >= 0 && selection < count ? selection : 0, 0);
}

int ListSelection(HWND dialog, int item) {
  const LRESULT selection = SendDlgItemMessageA(dialog, item, CB_GETCURSEL, 0, 0);
  return selection == CB_ERR ? 0 : static_cast<int>(selection);
}

void RefuseValue(HWND dialog, int item, int message) {
  char text[256], title[64];
  MessageBeep(MB_ICONEXCLAMATION);
  MessageBoxA(dialog, LoadStr(message, text, sizeof text), LoadStr(STR_PAPER_TITLE, title, sizeof title),
              MB_OK | MB_ICONEXCLAMATION);
  HWND field = GetDlgItem(dialog, item);
  SetFocus(field);
  SendMessageA(field, EM_SETSEL, 0, -1);
}

// ---- Paper Size ----

// The families: radio button (the stored paperKind), its list, the list's first text and the
// stored selection.
struct PaperChoice {
  int radio, list, firstText;
  int16_t DocState::*selection;
};
const PaperChoice kPaperChoices[] = {
    {IDC_PAPER_ARCH, IDC_PAPER_ARCH_LIST, STR_PAPER_ARCH_FIRST, &DocState::paperArch},
    {IDC_PAPER_MECH, IDC_PAPER_MECH_LIST, STR_PAPER_MECH_FIRST, &DocState::paperMech},
    {IDC_PAPER_METRIC, IDC_PAPER_METRIC_LIST, STR_PAPER_METRIC_FIRST, &DocState::paperMetric},
    {IDC_PAPER_OVERSIZE, IDC_PAPER_OVERSIZE_LIST, STR_PAPER_OVERSIZE_FIRST, &DocState::paperOversize},
};
constexpr int kCustomUnitCount = 3;

DocState* PaperState(HWND dialog) {
  return reinterpret_cast<DocState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void CheckPaperRadio(HWND dialog, int radio) {
  for (const PaperChoice& choice : kPaperChoices)
    CheckDlgButton(dialog, choice.radio, choice.radio == radio ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_PAPER_CUSTOM, radio == IDC_PAPER_CUSTOM ? BST_CHECKED : BST_UNCHECKED);
}

int CheckedPaperRadio(HWND dialog) {
  for (const PaperChoice& choice : kPaperChoices)
    if (IsDlgButtonChecked(dialog, choice.radio) == BST_CHECKED) return choice.radio;
  return IDC_PAPER_CUSTOM;
}

void OnPaperInit(HWND dialog, DocState* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  CenterDialog(dialog);
  int checked = IDC_PAPER_CUSTOM;
  for (const PaperChoice& choice : kPaperChoices) {
    FillList(dialog, choice.list, choice.firstText, PaperFamilySize(static_cast<int16_t>(choice.radio)),
             state->*choice.selection - 1);
    if (state->paperKind == choice.radio) checked = choice.radio;
  }
  FillList(dialog, IDC_PAPER_UNIT_LIST, STR_PAPER_UNIT_FIRST, kCustomUnitCount, state->paperCustomUnit - 1);
  SetPaperSide(dialog, IDC_PAPER_WIDTH, state->paperWidth);
  SetPaperSide(dialog, IDC_PAPER_HEIGHT, state->paperHeight);
  CheckPaperRadio(dialog, checked);
  SetFocus(GetDlgItem(dialog, checked));
}

// OK: everything is checked before anything is stored, so a refusal changes nothing.
void OnPaperOK(HWND dialog, DocState* state) {
  const int kind = CheckedPaperRadio(dialog);
  float width = 0.0f, height = 0.0f;
  const bool readable = ReadFloatItem(dialog, IDC_PAPER_WIDTH, state, false, &width) &&
                        ReadFloatItem(dialog, IDC_PAPER_HEIGHT, state, false, &height);
  const int16_t unit = static_cast<int16_t>(ListSelection(dialog, IDC_PAPER_UNIT_LIST) + 1);
  const CustomPaperFault fault =
      readable ? CheckCustomPaper(width, height, unit) : CustomPaperFault::kNotPositive;
  if (kind == IDC_PAPER_CUSTOM && fault != CustomPaperFault::kNone) {
    // The width is blamed unless it alone would do.
    float alone = 0.0f;
    const bool widthGood = ReadFloatItem(dialog, IDC_PAPER_WIDTH, state, false, &alone) &&
                           CheckCustomPaper(alone, alone, unit) == CustomPaperFault::kNone;
    const int field = widthGood ? IDC_PAPER_HEIGHT : IDC_PAPER_WIDTH;
    RefuseValue(dialog, field,
                fault == CustomPaperFault::kTooLarge ? STR_PAPER_TOO_LARGE : STR_PAPER_NOT_POSITIVE);
    return;
  }
  // With a named paper chosen, a custom size that could not be a sheet is not kept.
  if (fault == CustomPaperFault::kNone) {
    state->paperWidth = width;
    state->paperHeight = height;
    state->paperCustomUnit = unit;
  }
  state->paperKind = static_cast<int16_t>(kind);
  for (const PaperChoice& choice : kPaperChoices)
    state->*choice.selection = static_cast<int16_t>(ListSelection(dialog, choice.list) + 1);
  ComputePaperSize(state);
  EndDialog(dialog, TRUE);
}

void OnPaperCommand(HWND dialog, int id, int code) {
  DocState* state = PaperState(dialog);
  if (!state) return;
  if (id == IDOK) {
    OnPaperOK(dialog, state);
    return;
  }
  if (id == IDCANCEL) {
    EndDialog(dialog, FALSE);
    return;
  }
  // Choosing from a family's list, or typing a custom size, picks that family.
  if (code == CBN_SELCHANGE) {
    for (const PaperChoice& choice : kPaperChoices)
      if (choice.list == id) CheckPaperRadio(dialog, choice.radio);
    if (id == IDC_PAPER_UNIT_LIST) CheckPaperRadio(dialog, IDC_PAPER_CUSTOM);
  } else if (code == EN_CHANGE && GetFocus() == GetDlgItem(dialog, id)) {
    CheckPaperRadio(dialog, IDC_PAPER_CUSTOM);
  }
}

// ---- Plot ----

// The plotter settings offered again while the program runs (0-based list positions).
struct PlotList {
  int item, firstText, count;
};
const PlotList kPlotLists[] = {
    {IDC_PLOT_BAUD, STR_BAUD_FIRST, STR_STOP_BITS_FIRST - STR_BAUD_FIRST},
    {IDC_PLOT_STOP_BITS, STR_STOP_BITS_FIRST, STR_PARITY_FIRST - STR_STOP_BITS_FIRST},
    {IDC_PLOT_PARITY, STR_PARITY_FIRST, STR_DATA_BITS_FIRST - STR_PARITY_FIRST},
    {IDC_PLOT_DATA_BITS, STR_DATA_BITS_FIRST, STR_PLOTTER_FIRST - STR_DATA_BITS_FIRST},
    {IDC_PLOT_MODEL, STR_PLOTTER_FIRST, STR_UNTITLED - STR_PLOTTER_FIRST},
};
constexpr int kPlotListCount = sizeof kPlotLists / sizeof kPlotLists[0];
int gPlotSettings[kPlotListCount] = {};

void OnPlotInit(HWND dialog) {
  CenterDialog(dialog);
  for (int i = 0; i < kPlotListCount; ++i)
    FillList(dialog, kPlotLists[i].item, kPlotLists[i].firstText, kPlotLists[i].count, gPlotSettings[i]);
}

}  // namespace

INT_PTR CALLBACK PaperSizeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnPaperInit(dialog, reinterpret_cast<DocState*>(lParam));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      OnPaperCommand(dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

bool PaperSizeDLOG(DocState* state) {
  if (!state) return false;
  return DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(IDD_PAPER_SIZE), gFrameWindow, PaperSizeProc,
                         reinterpret_cast<LPARAM>(state)) == TRUE;
}

INT_PTR CALLBACK PlotProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnPlotInit(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        for (int i = 0; i < kPlotListCount; ++i) gPlotSettings[i] = ListSelection(dialog, kPlotLists[i].item);
        EndDialog(dialog, TRUE);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, FALSE);
      }
      return TRUE;
  }
  return FALSE;
}

bool PlotDLOG(DocState* state) {
  if (!state) return false;
  return DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(IDD_PLOT), gFrameWindow, PlotProc, 0) == TRUE;
}

void OnPlot(int) {
  if (!gCurDocument || !PlotDLOG(gCurDocument->docState)) return;
  // No port is driven from here: say so rather than pretend the drawing was plotted.
  char text[256], title[64];
  MessageBoxA(gFrameWindow, LoadStr(STR_PLOT_UNSUPPORTED, text, sizeof text),
              LoadStr(STR_PLOT_TITLE, title, sizeof title), MB_OK | MB_ICONINFORMATION);
}
