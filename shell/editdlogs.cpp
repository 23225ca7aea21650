// The editing tools' dialogs: one description per dialog (its resource, how it starts, what its
// choices switch, what OK applies) run by one message handler.
#include "shell/editdlogs.h"

#include "resources/strings.h"
#include "shell/shell.h"
#include "tools/dlogsupp_win.h"
#include "tools/editdlog.h"
#include "tools/selhndlr.h"
#include "tools/trakmous_win.h"
#include "tools/undo.h"

namespace {

struct EditForm {
  int resource;
  void (*fill)(HWND dialog, const DocState* state);
  // A radio button or other control was clicked.
  void (*choice)(HWND dialog, int id);
  // Reads the fields and applies them; false (nothing changed) when a value is refused.
  bool (*apply)(HWND dialog, const DocState* state);
};

const DocState* CurrentState() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}

void SetLabel(HWND dialog, int item, int stringId) {
  char text[64] = "";
  LoadStringA(gAppInstance, static_cast<UINT>(stringId), text, sizeof text);
  SetDlgItemTextA(dialog, item, text);
}

void ZeroFields(HWND dialog, const DocState* state, int first, int second) {
  SetFloatItem(dialog, second, 0.0f, state, false, true);
  SetFloatItem(dialog, first, 0.0f, state, true, true);
}

// Tells the user why the computed transform cannot be applied; `noExtentMessage` names the side
// of the selection that lacks one.
bool AcceptEntry(HWND dialog, EditEntryCheck check, int item, int noExtentMessage) {
  switch (check.fault) {
    case kEntryOk:
      return true;
    case kEntryZero:
      RefuseItem(dialog, item, STR_EDIT_NOT_ZERO);
      return false;
    case kEntryNoExtent:
      RefuseItem(dialog, item, noExtentMessage);
      return false;
    default:
      RefuseItem(dialog, item, STR_EDIT_TOO_LARGE);
      return false;
  }
}

// ---- Selection Tool and Point Select Tool: a move, cartesian or polar ----

void FillRelocate(HWND d, const DocState* s) {
  SetRadioItem(d, IDC_RELOCATE_CARTESIAN, IDC_RELOCATE_CARTESIAN, IDC_RELOCATE_POLAR);
  ZeroFields(d, s, IDC_RELOCATE_FIRST, IDC_RELOCATE_SECOND);
}

void RelocateChoice(HWND d, int id) {
  if (id == IDC_RELOCATE_CARTESIAN) {
    SetLabel(d, IDC_RELOCATE_LABEL1, STR_X_AXIS);
    SetLabel(d, IDC_RELOCATE_LABEL2, STR_Y_AXIS);
  } else if (id == IDC_RELOCATE_POLAR) {
    SetLabel(d, IDC_RELOCATE_LABEL1, STR_EDIT_ANGLE);
    SetLabel(d, IDC_RELOCATE_LABEL2, STR_EDIT_DISTANCE);
  }
}

bool ApplyRelocate(HWND d, const DocState* s, int16_t undoKind) {
  const bool polar = IsDlgButtonChecked(d, IDC_RELOCATE_POLAR) == BST_CHECKED;
  float first = 0.0f, second = 0.0f;
  if (!CheckTypedFloatItem(d, IDC_RELOCATE_FIRST, s, !polar, &first) ||
      !CheckTypedFloatItem(d, IDC_RELOCATE_SECOND, s, true, &second))
    return false;
  FloatPoint offset = {0.0f, 0.0f};
  const EditEntryCheck check = RelocateOffset(polar, first, second, s, &offset);
  if (!AcceptEntry(d, check, check.field ? IDC_RELOCATE_SECOND : IDC_RELOCATE_FIRST, STR_EDIT_TOO_LARGE))
    return false;
  TransformRec rec = {};
  rec.scaleX = rec.scaleY = 1.0f;
  rec.dx = offset.x;
  rec.dy = offset.y;
  ApplyEditTransform(kOpTranslate, rec, undoKind);
  return true;
}

bool ApplyMove(HWND d, const DocState* s) {
  return ApplyRelocate(d, s, kUndoMove);
}

bool ApplyPointMove(HWND d, const DocState* s) {
  return ApplyRelocate(d, s, kUndoPointMove);
}

// ---- Resize Tool: percentages or a target size, from a corner or the centre ----

void FillResize(HWND d, const DocState* s) {
  SetRadioItem(d, IDC_RESIZE_PERCENT, IDC_RESIZE_SIZE, IDC_RESIZE_PERCENT);
  SetRadioItem(d, 0, IDC_RESIZE_LOWER_LEFT, IDC_RESIZE_LOWER_RIGHT);
  SetMacRadioItem(d, IDC_RESIZE_UPPER_LEFT, true);
  ZeroFields(d, s, IDC_RESIZE_FIRST, IDC_RESIZE_SECOND);
}

void ResizeChoice(HWND d, int id) {
  if (id == IDC_RESIZE_PERCENT) {
    SetLabel(d, IDC_RESIZE_LABEL1, STR_EDIT_X_PERCENT);
    SetLabel(d, IDC_RESIZE_LABEL2, STR_EDIT_Y_PERCENT);
  } else if (id == IDC_RESIZE_SIZE) {
    SetLabel(d, IDC_RESIZE_LABEL1, STR_WIDTH);
    SetLabel(d, IDC_RESIZE_LABEL2, STR_HEIGHT);
  }
}

int ResizeAnchorChosen(HWND d) {
  for (int id : {IDC_RESIZE_UPPER_LEFT, IDC_RESIZE_LOWER_LEFT, IDC_RESIZE_CENTER, IDC_RESIZE_UPPER_RIGHT,
                 IDC_RESIZE_LOWER_RIGHT})
    if (IsDlgButtonChecked(d, id) == BST_CHECKED) return id;
  return IDC_RESIZE_UPPER_LEFT;
}

bool ApplyResize(HWND d, const DocState* s) {
  const bool bySize = IsDlgButtonChecked(d, IDC_RESIZE_SIZE) == BST_CHECKED;
  float first = 0.0f, second = 0.0f;
  if (!CheckTypedFloatItem(d, IDC_RESIZE_FIRST, s, bySize, &first) ||
      !CheckTypedFloatItem(d, IDC_RESIZE_SECOND, s, bySize, &second))
    return false;
  FloatRect bounds;
  if (!CurrentSelectionBounds(&bounds)) return true;  // nothing selected: nothing to resize
  TransformRec rec = {};
  const EditEntryCheck check = ComputeResize(bySize, first, second, ResizeAnchorChosen(d), bounds, s, &rec);
  const bool height = check.field == 1;
  if (!AcceptEntry(d, check, height ? IDC_RESIZE_SECOND : IDC_RESIZE_FIRST,
                   height ? STR_EDIT_NO_HEIGHT : STR_EDIT_NO_WIDTH))
    return false;
  ApplyEditTransform(kOpScale, rec, kUndoResize);
  return true;
}

// ---- Skew Tool: a distance and a direction ----

void FillSkew(HWND d, const DocState* s) {
  SetRadioItem(d, IDC_SKEW_RIGHT, IDC_SKEW_LEFT, IDC_SKEW_DOWN);
  SetMacRadioItem(d, IDC_SKEW_UP, false);
  SetFloatItem(d, IDC_SKEW_DISTANCE, 0.0f, s, true, true);
}

int SkewDirectionChosen(HWND d) {
  for (int id : {IDC_SKEW_UP, IDC_SKEW_LEFT, IDC_SKEW_RIGHT, IDC_SKEW_DOWN})
    if (IsDlgButtonChecked(d, id) == BST_CHECKED) return id;
  return IDC_SKEW_RIGHT;
}

bool ApplySkew(HWND d, const DocState* s) {
  float distance = 0.0f;
  if (!CheckTypedFloatItem(d, IDC_SKEW_DISTANCE, s, true, &distance)) return false;
  FloatRect bounds;
  if (!CurrentSelectionBounds(&bounds)) return true;
  const int direction = SkewDirectionChosen(d);
  const bool sideways = direction == IDC_SKEW_LEFT || direction == IDC_SKEW_RIGHT;
  TransformRec rec = {};
  if (!AcceptEntry(d, ComputeSkew(distance, direction, bounds, s, &rec), IDC_SKEW_DISTANCE,
                   sideways ? STR_EDIT_NO_HEIGHT : STR_EDIT_NO_WIDTH))
    return false;
  ApplyEditTransform(kOpShear, rec, kUndoSkew);
  return true;
}

// ---- Rotate Tool: an angle in degrees or radians ----

void FillRotate(HWND d, const DocState* s) {
  SetRadioItem(d, IDC_ROTATE_DEGREES, IDC_ROTATE_DEGREES, IDC_ROTATE_RADIANS);
  SetFloatItem(d, IDC_ROTATE_ANGLE, 0.0f, s, true, false);
}

bool ApplyRotate(HWND d, const DocState* s) {
  float angle = 0.0f;
  if (!CheckTypedFloatItem(d, IDC_ROTATE_ANGLE, s, false, &angle)) return false;
  FloatRect bounds;
  if (!CurrentSelectionBounds(&bounds)) return true;
  const bool radians = IsDlgButtonChecked(d, IDC_ROTATE_RADIANS) == BST_CHECKED;
  ApplyEditTransform(kOpRotate, ComputeRotate(angle, radians, bounds), kUndoRotate);
  return true;
}

void NoChoice(HWND, int) {}

const EditForm kRelocateForm = {IDD_SELECTION_TOOL, FillRelocate, RelocateChoice, ApplyMove};
const EditForm kPointForm = {IDD_POINT_TOOL, FillRelocate, RelocateChoice, ApplyPointMove};
const EditForm kResizeForm = {IDD_RESIZE_TOOL, FillResize, ResizeChoice, ApplyResize};
const EditForm kSkewForm = {IDD_SKEW_TOOL, FillSkew, NoChoice, ApplySkew};
const EditForm kRotateForm = {IDD_ROTATE_TOOL, FillRotate, NoChoice, ApplyRotate};

INT_PTR EditDialogMessage(const EditForm& form, HWND dialog, UINT message, WPARAM wParam) {
  const DocState* state = CurrentState();
  if (message == WM_INITDIALOG) {
    CenterDialog(dialog);
    if (!state) {
      EndDialog(dialog, FALSE);
      return TRUE;
    }
    form.fill(dialog, state);
    return FALSE;  // the first field has the focus
  }
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wParam);
  if (id == IDCANCEL || (id == IDOK && !state)) {
    EndDialog(dialog, FALSE);
  } else if (id == IDOK) {
    if (!form.apply(dialog, state)) return TRUE;  // refused: the dialog stays open
    ShowCurrentSelectionSize();                   // the readouts follow the new bounds
    EndDialog(dialog, TRUE);
  } else if (HIWORD(wParam) == BN_CLICKED) {
    form.choice(dialog, id);
  } else {
    return FALSE;
  }
  return TRUE;
}

void RunEditDialog(const EditForm& form, DLGPROC proc) {
  if (!CurrentState()) return;
  DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(form.resource), gFrameWindow, proc, 0);
}

}  // namespace

INT_PTR CALLBACK RelocateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return EditDialogMessage(kRelocateForm, dialog, message, wParam);
}
INT_PTR CALLBACK PointProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return EditDialogMessage(kPointForm, dialog, message, wParam);
}
INT_PTR CALLBACK ResizeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return EditDialogMessage(kResizeForm, dialog, message, wParam);
}
INT_PTR CALLBACK SkewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return EditDialogMessage(kSkewForm, dialog, message, wParam);
}
INT_PTR CALLBACK RotateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return EditDialogMessage(kRotateForm, dialog, message, wParam);
}

void RelocateDLOG() {
  RunEditDialog(kRelocateForm, RelocateProc);
}
void PointDLOG() {
  RunEditDialog(kPointForm, PointProc);
}
void ResizeDLOG() {
  RunEditDialog(kResizeForm, ResizeProc);
}
void SkewDLOG() {
  RunEditDialog(kSkewForm, SkewProc);
}
void RotateDLOG() {
  RunEditDialog(kRotateForm, RotateProc);
}
