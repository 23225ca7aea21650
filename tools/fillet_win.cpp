// The fillet, chamfer and trim tools on the drawing pane: their inverted feedback, their
// tracking routines, and the two dialogs that type a fillet's radius or a chamfer's length.
#include "tools/fillet_win.h"

#include <cmath>

#include "geometry/gnrlmath.h"
#include "geometry/units.h"
#include "geometry/zoomhdlr.h"
#include "model/objstuff.h"
#include "tools/dlogsupp_win.h"
#include "tools/fillet.h"
#include "tools/filletdlgs.h"
#include "tools/selhndlr.h"
#include "tools/trakmous_win.h"
#include "tools/undo.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// Texts of the trim tool's refusals.
const char kTrimCaption[] = "Trim Tool";
const char kTrimNoneText[] = "The object to be trimmed must first be selected.";
const char kTrimManyText[] = "More than one object is selected.  Select only the object to be trimmed.";

// Direction from the centre in degrees, counter-clockwise with y up.
double UpwardDegrees(const PointRec* centre, const PointRec* p) {
  return std::atan2(-(static_cast<double>(p->y) - centre->y), static_cast<double>(p->x) - centre->x) *
         kDegreesPerRadian;
}

// The first selected corner a fillet or chamfer may take, in the first selected shape that has
// one; members of groups are searched too.
PointRec* FindSelectedCorner(ObjectRec* object, ObjectRec** owner) {
  for (; object; object = object->nextObject) {
    if (object->firstChild) {
      if (PointRec* p = FindSelectedCorner(object->firstChild, owner)) return p;
      continue;
    }
    for (PointRec* p = object->firstPoint; p; p = p->nextPoint)
      if (p->selected && IsCornerForFillet(object, p)) {
        *owner = object;
        return p;
      }
  }
  return nullptr;
}

PointRec* SelectedCorner(ObjectRec** owner) {
  for (LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer)
    if (layer->visible)
      if (PointRec* p = FindSelectedCorner(layer->firstObject, owner)) return p;
  return nullptr;
}

DocState* DialogState() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}

// The record of an operation the dialog made; dropped when nothing happened.
void EndDialogUndo() {
  if (!gUndoAvail) DisposeUndo();
  UpdateToolMenus();
}

bool ApplyFillet(float radius, bool inverted) {
  ObjectRec* object = nullptr;
  PointRec* corner = SelectedCorner(&object);
  if (!corner) return false;
  const PointRec* next = NextOutlineVertex(corner);
  const double angle =
      std::atan2(static_cast<double>(next->y) - corner->y, static_cast<double>(next->x) - corner->x);
  const float x = static_cast<float>(corner->x + radius * std::cos(angle));
  const float y = static_cast<float>(corner->y + radius * std::sin(angle));
  ClickInfo info = {};
  info.hit = 1;
  info.pointHit = 1;
  info.point = corner;
  info.object = object;
  const uint16_t modifiers = inverted ? kTrackShift : 0;
  BeginUndo(gCurDocument, kUndoFillet);
  gUndoAvail = 0;
  SupportTrackFillet(x, y, kStagePress, &info, modifiers, true);
  SupportTrackFillet(x, y, kStageRelease, &info, modifiers, true);
  EndDialogUndo();
  return true;
}

bool ApplyChamfer(float d) {
  ObjectRec* object = nullptr;
  PointRec* corner = SelectedCorner(&object);
  if (!corner) return false;
  BeginUndo(gCurDocument, kUndoChamfer);
  gUndoAvail = 0;
  RecordUndoPointEditBefore(object);
  if (BuildChamfer(object, corner, PreviousOutlinePoint(corner), NextOutlineVertex(corner), d)) {
    RecordUndoPointEditDone(nullptr);
    RefreshDrawing();
  }
  EndDialogUndo();
  return true;
}

void InitLengthDialog(HWND dialog, int field) {
  CenterDialog(dialog);
  SetFloatItem(dialog, field, 0.0f, DialogState(), true, true);
}

}  // namespace

void DrawFillet(float radius, const PointRec* centre, const PointRec* tangent1, const PointRec* tangent2) {
  if (!centre || !tangent1 || !tangent2 || !TrackDC()) return;
  const double start = UpwardDegrees(centre, tangent1);
  double sweep = UpwardDegrees(centre, tangent2) - start;
  while (sweep > 180.0) sweep -= 360.0;
  while (sweep < -180.0) sweep += 360.0;
  const POINT c = ZoomedPoint(centre->x, centre->y);
  const float r = ZoomF(radius);
  InvertArc(static_cast<float>(c.x), static_cast<float>(c.y), r, r, static_cast<float>(start),
            static_cast<float>(sweep));
}

float DrawChamfer(const PointRec* corner, const PointRec* previous, const PointRec* next, float d) {
  FloatPoint a, b;
  if (!GetChamferEnds(corner, previous, next, d, &a, &b)) return 0.0f;
  if (TrackDC()) {
    const POINT pa = ZoomedPoint(a.x, a.y), pb = ZoomedPoint(b.x, b.y);
    InvertLine(pa.x, pa.y, pb.x, pb.y);
  }
  return std::hypot(b.x - a.x, b.y - a.y);
}

void TrackFillet(float x, float y, int16_t stage) {
  const ClickInfo info = gClickInfo;
  SupportTrackFillet(x, y, stage, &info, gTrackModifiers, false);
  if (stage != kStageRelease) return;
  if (TrackPane()) InvalidateRect(TrackPane(), nullptr, FALSE);
  ReleaseMouseCapture();
}

void TrackChamfer(float x, float y, int16_t stage) {
  const ClickInfo info = gClickInfo;
  SupportTrackChamfer(x, y, stage, &info, gTrackModifiers);
  if (stage != kStageRelease) return;
  if (TrackPane()) InvalidateRect(TrackPane(), nullptr, FALSE);
  ReleaseMouseCapture();
}

void TrackTrim(float x, float y, int16_t stage) {
  if (stage != kStagePress) return;
  ReleaseMouseCapture();
  const int32_t count = gCurDocument ? CountSelectedObjects(gCurDocument->firstLayer, kOpCount) : 0;
  if (count == 1) {
    const ClickInfo info = gClickInfo;
    SupportTrackTrim(x, y, stage, &info, gTrackModifiers);
    return;
  }
  MessageBeep(0);
  MessageBoxA(TrackPane(), count == 0 ? kTrimNoneText : kTrimManyText, kTrimCaption, MB_OK | MB_TASKMODAL);
}

INT_PTR CALLBACK FilletProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  DocState* state = DialogState();
  if (!state) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      InitLengthDialog(dialog, IDC_FILLET_RADIUS);
      SetRadioItem(dialog, IDC_FILLET_STANDARD, IDC_FILLET_STANDARD, IDC_FILLET_INVERSED);
      return FALSE;  // the field has the focus
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          float radius = 0.0f;
          if (!CheckFloatItem(dialog, IDC_FILLET_RADIUS, state, true, true, &radius)) return TRUE;
          const bool inverted = GetRadioItem(dialog, IDC_FILLET_STANDARD, IDC_FILLET_INVERSED,
                                             IDC_FILLET_STANDARD) == IDC_FILLET_INVERSED;
          ApplyFillet(ConvertWorldToScreen(radius, state, false), inverted);
          EndDialog(dialog, 1);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK ChamferProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  DocState* state = DialogState();
  if (!state) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      InitLengthDialog(dialog, IDC_CHAMFER_LENGTH);
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          float length = 0.0f;
          if (!CheckFloatItem(dialog, IDC_CHAMFER_LENGTH, state, true, true, &length)) return TRUE;
          // The typed length is the new edge's; on a right angle each side loses L / sqrt 2.
          const float edge = ConvertWorldToScreen(length, state, false);
          ApplyChamfer(std::sqrt(edge * edge / 2.0f));
          EndDialog(dialog, 1);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

void FilletDLOG(HWND owner) {
  if (!DialogState()) return;
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FILLET_TOOL), owner, FilletProc, 0);
}

void ChamferDLOG(HWND owner) {
  if (!DialogState()) return;
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CHAMFER_TOOL), owner, ChamferProc, 0);
}
