// The shape tools' dialogs. Each dialog keeps what it is editing in a record passed to it when
// it opens; the fields show one part of that record at a time (a start point or a size, a
// start or an end point) and are read back into it whenever the user switches parts, so a
// switch never loses what was typed. The figures themselves come from tools/shapedlog.
#include "shell/shapedlgs.h"

#include <cmath>

#include "model/objhndlr.h"
#include "resources/shapedlgids.h"
#include "resources/strings.h"
#include "shell/shell.h"
#include "tools/buildobj.h"
#include "tools/dlogsupp_win.h"
#include "tools/editops.h"
#include "tools/selhndlr.h"
#include "tools/shapedlog.h"
#include "tools/toolstate.h"
#include "tools/trakmous_win.h"
#include "tools/traksupp.h"
#include "tools/undo.h"

namespace {

// The most sides a typed multigon may have.
constexpr int32_t kMaxTypedSides = 1000;
constexpr int kLabelSize = 64;

DocState* State() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}
LayerRec* CurrentLayer() {
  return gCurDocument && gCurDocument->docState ? gCurDocument->currentLayer : nullptr;
}

// ---- Fields.

void SetLabel(HWND dialog, int item, int stringId) {
  char text[kLabelSize] = "";
  LoadStringA(gAppInstance, static_cast<UINT>(stringId), text, sizeof text);
  SetDlgItemTextA(dialog, item, text);
}

void ShowItem(HWND dialog, int item, bool show) {
  if (HWND control = GetDlgItem(dialog, item)) ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

// Both numbers of a field pair, the first a length when `firstIsLength`; the second always is.
bool ReadPair(HWND dialog, int first, int second, bool firstIsLength, float* a, float* b) {
  return CheckTypedFloatItem(dialog, first, State(), firstIsLength, a) &&
         CheckTypedFloatItem(dialog, second, State(), true, b);
}

void ShowPair(HWND dialog, int first, int second, float a, float b, bool firstIsLength) {
  SetFloatItem(dialog, first, a, State(), false, firstIsLength);
  SetFloatItem(dialog, second, b, State(), false, true);
  SelectItemText(dialog, first);
}

int FaultMessage(ShapeFault fault) {
  switch (fault) {
    case kShapeNoSize:
      return STR_SHAPE_NO_SIZE;
    case kShapeNoRadius:
      return STR_SHAPE_NO_RADIUS;
    case kShapeBadSweep:
      return STR_SHAPE_BAD_SWEEP;
    case kShapeSamePoints:
      return STR_SHAPE_SAME_POINTS;
    default:
      return STR_SHAPE_OUT_OF_RANGE;
  }
}

// ---- Building.

// Makes the figure as the mouse tool would: the selection gives way to the new shape, which
// opens the undo record of its kind (with any parallel copies), is repainted and selected.
// False when the builder made nothing.
template <typename Build>
bool BuildTypedShape(int16_t tool, Build build) {
  DocumentRec* document = gCurDocument;
  LayerRec* layer = CurrentLayer();
  if (!layer) return false;
  SelectAllLayers(document->firstLayer, kDeselectMode, true);
  BeginUndo(document, GetUndoStrIndex(tool));
  ObjectRec* object = build(layer);
  if (object) {
    RecordUndoCreate(object);
    RecordParallelCopiesForUndo(object);
    InvalidatePageArea(object->bounds, kNewShapeSlop);
  } else {
    DisposeUndo();
  }
  RebuildSelectionState();
  UpdateGroupLock();
  ResetStandardTool();
  UpdateMenus();
  return object != nullptr;
}

// The record a dialog edits lives in its opener; the procedure finds it through the dialog.
template <typename Form>
Form* FormOf(HWND dialog, UINT message, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  return reinterpret_cast<Form*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// ---- Rectangle, oval and multigon: a box from a start point, a size and an anchor.

enum class BoxKind { kRect, kOval, kMulti };

struct BoxForm {
  BoxKind kind;
  int page;  // IDC_SHAPE_START, IDC_SHAPE_SIZE, IDC_OVAL_RADIUS or IDC_OVAL_DIAMETER
  int anchor;
  FloatPoint start;
  float width, height;
};

constexpr int kBoxPages[] = {IDC_SHAPE_START, IDC_SHAPE_SIZE, IDC_OVAL_RADIUS, IDC_OVAL_DIAMETER};

bool IsBoxPage(const BoxForm& form, int id) {
  if (id == IDC_SHAPE_START || id == IDC_SHAPE_SIZE) return true;
  return form.kind == BoxKind::kOval && (id == IDC_OVAL_RADIUS || id == IDC_OVAL_DIAMETER);
}

void ShowBoxPage(HWND d, const BoxForm& form) {
  for (int page : kBoxPages)
    if (IsBoxPage(form, page)) SetMacRadioItem(d, page, page == form.page);
  const bool single = form.page == IDC_OVAL_RADIUS || form.page == IDC_OVAL_DIAMETER;
  ShowItem(d, IDC_SHAPE_FIELD2, !single);
  ShowItem(d, IDC_SHAPE_LABEL2, !single);
  switch (form.page) {
    case IDC_SHAPE_SIZE:
      SetLabel(d, IDC_SHAPE_LABEL1, STR_WIDTH);
      SetLabel(d, IDC_SHAPE_LABEL2, STR_HEIGHT);
      ShowPair(d, IDC_SHAPE_FIELD1, IDC_SHAPE_FIELD2, form.width, form.height, true);
      break;
    case IDC_OVAL_RADIUS:
    case IDC_OVAL_DIAMETER: {
      const bool radius = form.page == IDC_OVAL_RADIUS;
      SetLabel(d, IDC_SHAPE_LABEL1, radius ? STR_LABEL_RADIUS : STR_LABEL_DIAMETER);
      SetFloatItem(d, IDC_SHAPE_FIELD1, radius ? form.width / 2.0f : form.width, State(), true, true);
      break;
    }
    default:
      SetLabel(d, IDC_SHAPE_LABEL1, STR_X_AXIS);
      SetLabel(d, IDC_SHAPE_LABEL2, STR_Y_AXIS);
      ShowPair(d, IDC_SHAPE_FIELD1, IDC_SHAPE_FIELD2, form.start.x, form.start.y, true);
      break;
  }
}

// Reads the shown page back into the form; false (form unchanged) when a field is refused.
bool StoreBoxPage(HWND d, BoxForm* form) {
  float a = 0.0f, b = 0.0f;
  switch (form->page) {
    case IDC_OVAL_RADIUS:
    case IDC_OVAL_DIAMETER:
      if (!CheckTypedFloatItem(d, IDC_SHAPE_FIELD1, State(), true, &a)) return false;
      form->width = form->height = std::fabs(a) * (form->page == IDC_OVAL_RADIUS ? 2.0f : 1.0f);
      return true;
    case IDC_SHAPE_SIZE:
      if (!ReadPair(d, IDC_SHAPE_FIELD1, IDC_SHAPE_FIELD2, true, &a, &b)) return false;
      form->width = std::fabs(a);
      form->height = std::fabs(b);
      return true;
    default:
      if (!ReadPair(d, IDC_SHAPE_FIELD1, IDC_SHAPE_FIELD2, true, &a, &b)) return false;
      form->start = FloatPoint{a, b};
      return true;
  }
}

void InitBoxDialog(HWND d, BoxForm* form) {
  CenterDialog(d);
  SetRadioItem(d, form->anchor, IDC_DRAW_FROM_FIRST, IDC_DRAW_FROM_LAST);
  if (form->kind == BoxKind::kMulti) SetLongItem(d, IDC_MULTI_SIDES, MultigonSidesOf(State()), false);
  ShowBoxPage(d, *form);
}

bool BuildBox(HWND d, BoxForm* form) {
  if (!StoreBoxPage(d, form)) return false;
  int32_t sides = 0;
  if (form->kind == BoxKind::kMulti &&
      !CheckLongItem(d, IDC_MULTI_SIDES, kMinMultigonSides, kMaxTypedSides, &sides))
    return false;
  const DocState* state = State();
  FloatRect box = {};
  FloatPoint centre = {}, vertex = {};
  ShapeFault fault = kShapeOk;
  if (form->kind == BoxKind::kRect) {
    fault = RectFromDialog(form->start, form->width, form->height,
                           static_cast<RectAnchor>(form->anchor - IDC_DRAW_FROM_FIRST), state, &box);
  } else {
    const OvalAnchor anchor = static_cast<OvalAnchor>(form->anchor - IDC_DRAW_FROM_FIRST);
    fault = form->kind == BoxKind::kOval
                ? OvalBoxFromDialog(form->start, form->width, form->height, anchor, state, &box)
                : MultigonFromDialog(form->start, form->width, form->height, anchor, state, &centre, &vertex);
  }
  if (fault != kShapeOk) {
    // A missing size is told where the size is typed.
    if (fault == kShapeNoSize && form->page == IDC_SHAPE_START) {
      form->page = IDC_SHAPE_SIZE;
      ShowBoxPage(d, *form);
    }
    RefuseItem(d, IDC_SHAPE_FIELD1, FaultMessage(fault));
    return false;
  }
  switch (form->kind) {
    case BoxKind::kRect:
      BuildTypedShape(kRectTool, [&](LayerRec* layer) {
        return BuildRect(box.left, box.top, box.right, box.bottom, layer, true);
      });
      break;
    case BoxKind::kOval:
      BuildTypedShape(kOvalTool, [&](LayerRec* layer) {
        return BuildOval(box.left, box.top, box.right, box.bottom, layer, true);
      });
      break;
    case BoxKind::kMulti:
      BuildTypedShape(kMultiTool, [&](LayerRec* layer) {
        return BuildMulti(centre.x, centre.y, vertex.x, vertex.y, layer, sides, true);
      });
      break;
  }
  return true;
}

INT_PTR BoxProc(HWND d, UINT message, WPARAM wParam, LPARAM lParam) {
  BoxForm* form = FormOf<BoxForm>(d, message, lParam);
  if (!form || !State()) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      InitBoxDialog(d, form);
      return FALSE;  // the first field has the focus
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK) {
        if (BuildBox(d, form)) EndDialog(d, 1);
      } else if (id == IDCANCEL) {
        EndDialog(d, 0);
      } else if (id >= IDC_DRAW_FROM_FIRST && id <= IDC_DRAW_FROM_LAST) {
        form->anchor = id;
        SetRadioItem(d, id, IDC_DRAW_FROM_FIRST, IDC_DRAW_FROM_LAST);
      } else if (IsBoxPage(*form, id) && id != form->page) {
        if (StoreBoxPage(d, form)) form->page = id;
        ShowBoxPage(d, *form);
      } else {
        return FALSE;
      }
      return TRUE;
    }
  }
  return FALSE;
}

void RunBoxDialog(int resource, DLGPROC proc, BoxKind kind) {
  if (!CurrentLayer()) return;
  BoxForm form = {kind, IDC_SHAPE_START, IDC_DRAW_FROM_FIRST, FloatPoint{0, 0}, 0.0f, 0.0f};
  DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(resource), gFrameWindow, proc,
                  reinterpret_cast<LPARAM>(&form));
}

// ---- Polygon and spline: points entered one at a time.

struct PolyForm {
  bool spline;
  bool polar;
  bool closed;
  ObjectRec* object;  // the figure so far, in the current layer; null before the first point
  LayerRec* layer;
  int32_t count;
  FloatPoint last;  // the last point entered, user units
};

// Where a polar entry is measured from: the last point, or the user origin for the first.
FloatPoint PolarBase(const PolyForm& form) {
  return form.object ? form.last : FloatPoint{0.0f, 0.0f};
}

void ShowPolyForm(HWND d, const PolyForm& form) {
  SetMacRadioItem(d, IDC_POLY_CARTESIAN, !form.polar);
  SetMacRadioItem(d, IDC_POLY_POLAR, form.polar);
  SetLabel(d, IDC_POLY_LABEL1, form.polar ? STR_LABEL_ANGLE : STR_X_AXIS);
  SetLabel(d, IDC_POLY_LABEL2, form.polar ? STR_LABEL_LENGTH : STR_Y_AXIS);
}

// The point the fields describe, in user units.
bool ReadPolyPoint(HWND d, const PolyForm& form, FloatPoint* point) {
  float a = 0.0f, b = 0.0f;
  if (!ReadPair(d, IDC_POLY_FIELD1, IDC_POLY_FIELD2, !form.polar, &a, &b)) return false;
  *point = form.polar ? PolarUserPoint(PolarBase(form), a, b) : FloatPoint{a, b};
  return true;
}

// Switching between the forms shows the same point in the other one.
void SwitchPolyForm(HWND d, PolyForm* form, bool polar) {
  FloatPoint point;
  if (polar == form->polar || !ReadPolyPoint(d, *form, &point)) {
    ShowPolyForm(d, *form);
    return;
  }
  form->polar = polar;
  ShowPolyForm(d, *form);
  if (polar) {
    float degrees = 0.0f, length = 0.0f;
    UserPointToPolar(PolarBase(*form), point, &degrees, &length);
    ShowPair(d, IDC_POLY_FIELD1, IDC_POLY_FIELD2, degrees, length, false);
  } else {
    ShowPair(d, IDC_POLY_FIELD1, IDC_POLY_FIELD2, point.x, point.y, true);
  }
}

void EnterPolyPoint(HWND d, PolyForm* form) {
  FloatPoint user;
  if (!ReadPolyPoint(d, *form, &user)) return;
  const FloatPoint p = UserPointToPage(user, State());
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
    RefuseItem(d, IDC_POLY_FIELD1, STR_SHAPE_OUT_OF_RANGE);
    return;
  }
  if (!form->object) {
    form->layer = CurrentLayer();
    form->object = form->spline ? BuildSpline(nullptr, p.x, p.y, form->layer, kBuildFirstPoint, true)
                                : BuildPoly(nullptr, p.x, p.y, form->layer, kBuildFirstPoint, true);
    if (!form->object) {
      MessageBeep(MB_ICONEXCLAMATION);
      return;
    }
  } else {
    const FloatPoint last = UserPointToPage(form->last, State());
    if (last.x == p.x && last.y == p.y) {
      RefuseItem(d, IDC_POLY_FIELD1, STR_SHAPE_REPEATED_POINT);
      return;
    }
    form->spline ? BuildSpline(form->object, p.x, p.y, form->layer, kBuildAddPoint, true)
                 : BuildPoly(form->object, p.x, p.y, form->layer, kBuildAddPoint, true);
  }
  form->last = user;
  form->count = 0;
  for (const PointRec* q = form->object->firstPoint; q; q = q->nextPoint) ++form->count;
  SetLongItem(d, IDC_POLY_COUNT, form->count, false);
  // The figure so far shows in the drawing behind the dialog.
  InvalidateRect(static_cast<HWND>(gCurWindow), nullptr, FALSE);
  SelectItemText(d, IDC_POLY_FIELD1);
}

bool EndPoly(HWND d, PolyForm* form) {
  // Points repeating the last one are refused, so two points are two different places.
  if (!form->object || form->count < 2) {
    RefuseItem(d, IDC_POLY_FIELD1, STR_SHAPE_TOO_FEW_POINTS);
    return false;
  }
  ObjectRec* object = form->object;
  form->object = nullptr;
  BuildTypedShape(form->spline ? kSplineTool : kPolyTool, [&](LayerRec*) {
    return form->spline ? BuildSpline(object, 0.0f, 0.0f, form->layer, kBuildFinish, true, form->closed)
                        : BuildPoly(object, 0.0f, 0.0f, form->layer, kBuildFinish, true, form->closed);
  });
  return true;
}

// Cancel takes away a figure already started; no undo record names it.
void CancelPoly(PolyForm* form) {
  if (!form->object) return;
  UnlinkObject(form->object);
  DeleteObj(form->object);
  form->object = nullptr;
  InvalidateRect(static_cast<HWND>(gCurWindow), nullptr, FALSE);
}

INT_PTR PolyDialogProc(HWND d, UINT message, WPARAM wParam, LPARAM lParam) {
  PolyForm* form = FormOf<PolyForm>(d, message, lParam);
  if (!form || !State()) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      CenterDialog(d);
      SetRadioItem(d, form->closed ? IDC_POLY_CLOSED : IDC_POLY_OPEN, IDC_POLY_OPEN, IDC_POLY_CLOSED);
      SetLongItem(d, IDC_POLY_COUNT, 0, false);
      ShowPolyForm(d, *form);
      ShowPair(d, IDC_POLY_FIELD1, IDC_POLY_FIELD2, 0.0f, 0.0f, true);
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_POLY_ENTER:
          EnterPolyPoint(d, form);
          return TRUE;
        case IDOK:
        case IDC_POLY_END:
          if (EndPoly(d, form)) EndDialog(d, 1);
          return TRUE;
        case IDCANCEL:
          CancelPoly(form);
          EndDialog(d, 0);
          return TRUE;
        case IDC_POLY_OPEN:
        case IDC_POLY_CLOSED:
          form->closed = LOWORD(wParam) == IDC_POLY_CLOSED;
          SetRadioItem(d, LOWORD(wParam), IDC_POLY_OPEN, IDC_POLY_CLOSED);
          return TRUE;
        case IDC_POLY_CARTESIAN:
        case IDC_POLY_POLAR:
          SwitchPolyForm(d, form, LOWORD(wParam) == IDC_POLY_POLAR);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

void RunPolyDialog(bool spline) {
  if (!CurrentLayer()) return;
  // A typed polygon is closed unless the user opens it; a spline is open unless closed.
  PolyForm form = {spline, false, !spline, nullptr, nullptr, 0, FloatPoint{0, 0}};
  DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(spline ? IDD_SPLINE_TOOL : IDD_POLY_TOOL), gFrameWindow,
                  spline ? SplineProc : PolyProc, reinterpret_cast<LPARAM>(&form));
  // Should the dialog end any other way, the unfinished figure still goes.
  CancelPoly(&form);
}

// ---- Line: a start point and an end point, the end in either form.

struct LineForm {
  bool endPage;
  bool polar;
  FloatPoint start, end;  // user units
  float degrees, length;  // the end seen from the start, in polar form
};

void ShowLinePage(HWND d, const LineForm& form) {
  SetMacRadioItem(d, IDC_LINE_START_PAGE, !form.endPage);
  SetMacRadioItem(d, IDC_LINE_END_PAGE, form.endPage);
  SetMacRadioItem(d, IDC_LINE_CARTESIAN, !form.polar);
  SetMacRadioItem(d, IDC_LINE_POLAR, form.polar);
  const bool polarShown = form.endPage && form.polar;
  SetLabel(d, IDC_LINE_LABEL1, polarShown ? STR_LABEL_ANGLE : STR_X_AXIS);
  SetLabel(d, IDC_LINE_LABEL2, polarShown ? STR_LABEL_LENGTH : STR_Y_AXIS);
  if (polarShown)
    ShowPair(d, IDC_LINE_FIELD1, IDC_LINE_FIELD2, form.degrees, form.length, false);
  else if (form.endPage)
    ShowPair(d, IDC_LINE_FIELD1, IDC_LINE_FIELD2, form.end.x, form.end.y, true);
  else
    ShowPair(d, IDC_LINE_FIELD1, IDC_LINE_FIELD2, form.start.x, form.start.y, true);
}

bool StoreLinePage(HWND d, LineForm* form) {
  const bool polarShown = form->endPage && form->polar;
  float a = 0.0f, b = 0.0f;
  if (!ReadPair(d, IDC_LINE_FIELD1, IDC_LINE_FIELD2, !polarShown, &a, &b)) return false;
  if (polarShown)
    form->degrees = a, form->length = b;
  else if (form->endPage)
    form->end = FloatPoint{a, b};
  else
    form->start = FloatPoint{a, b};
  return true;
}

// The end point in the chosen form.
FloatPoint LineEnd(const LineForm& form) {
  return form.polar ? PolarUserPoint(form.start, form.degrees, form.length) : form.end;
}

void SwitchLine(HWND d, LineForm* form, int id) {
  if (StoreLinePage(d, form)) {
    if (id == IDC_LINE_START_PAGE || id == IDC_LINE_END_PAGE) {
      form->endPage = id == IDC_LINE_END_PAGE;
    } else if ((id == IDC_LINE_POLAR) != form->polar) {
      // The other form shows the same end point.
      const FloatPoint end = LineEnd(*form);
      form->polar = id == IDC_LINE_POLAR;
      form->end = end;
      UserPointToPolar(form->start, end, &form->degrees, &form->length);
    }
  }
  ShowLinePage(d, *form);
}

bool BuildTypedLine(HWND d, LineForm* form) {
  if (!StoreLinePage(d, form)) return false;
  FloatPoint a = {}, b = {};
  const ShapeFault fault = LineFromDialog(form->start, LineEnd(*form), State(), &a, &b);
  if (fault != kShapeOk) {
    RefuseItem(d, IDC_LINE_FIELD1, FaultMessage(fault));
    return false;
  }
  BuildTypedShape(kLineTool, [&](LayerRec* layer) { return BuildLine(a.x, a.y, b.x, b.y, layer, true); });
  return true;
}

// ---- Arc: circular (start point, radius, start angle, arc angle) or elliptical (a quarter
// ellipse between a start and an end point).

struct ArcForm {
  bool circular;
};

constexpr int kCircularOnly[] = {IDC_ARC_RADIUS, IDC_ARC_START_ANGLE, IDC_ARC_SWEEP};
constexpr int kEllipticalOnly[] = {IDC_ARC_END_X, IDC_ARC_END_Y};

void ShowArcMode(HWND d, const ArcForm& form) {
  SetMacRadioItem(d, IDC_ARC_CIRCULAR, form.circular);
  SetMacRadioItem(d, IDC_ARC_ELLIPTICAL, !form.circular);
  for (int item : kCircularOnly) HiliteDialogButton(d, item, !form.circular);
  for (int item : kEllipticalOnly) HiliteDialogButton(d, item, form.circular);
}

bool BuildTypedArc(HWND d, const ArcForm& form) {
  FloatPoint start = {}, end = {};
  float radius = 0.0f, startDeg = 0.0f, arcDeg = 0.0f;
  if (!ReadPair(d, IDC_ARC_START_X, IDC_ARC_START_Y, true, &start.x, &start.y)) return false;
  ArcFigure arc = {};
  ShapeFault fault = kShapeOk;
  int item = IDC_ARC_START_X, messageId = 0;
  if (form.circular) {
    if (!CheckTypedFloatItem(d, IDC_ARC_RADIUS, State(), true, &radius) ||
        !CheckTypedFloatItem(d, IDC_ARC_START_ANGLE, State(), false, &startDeg) ||
        !CheckTypedFloatItem(d, IDC_ARC_SWEEP, State(), false, &arcDeg))
      return false;
    fault = CircularArcFromDialog(start, radius, startDeg, arcDeg, State(), &arc);
    if (fault == kShapeNoRadius) item = IDC_ARC_RADIUS;
    if (fault == kShapeBadSweep) item = IDC_ARC_SWEEP;
    messageId = FaultMessage(fault);
  } else {
    if (!ReadPair(d, IDC_ARC_END_X, IDC_ARC_END_Y, true, &end.x, &end.y)) return false;
    fault = EllipticalArcFromDialog(start, end, State(), &arc);
    if (fault == kShapeSamePoints) item = IDC_ARC_END_X;
    messageId = fault == kShapeSamePoints ? STR_SHAPE_SAME_ENDS : FaultMessage(fault);
  }
  if (fault != kShapeOk) {
    RefuseItem(d, item, messageId);
    return false;
  }
  BuildTypedShape(kArcTool, [&](LayerRec* layer) {
    return BuildArc(arc.box.left, arc.box.top, arc.box.right, arc.box.bottom, arc.startDeg, arc.arcDeg, layer,
                    true);
  });
  return true;
}

void RunArcDialog(bool circular) {
  if (!CurrentLayer()) return;
  ArcForm form = {circular};
  DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(IDD_ARC_TOOL), gFrameWindow, ArcProc,
                  reinterpret_cast<LPARAM>(&form));
}

constexpr int kArcFields[] = {IDC_ARC_START_X, IDC_ARC_START_Y, IDC_ARC_END_X,      IDC_ARC_END_Y,
                              IDC_ARC_RADIUS,  IDC_ARC_SWEEP,   IDC_ARC_START_ANGLE};

}  // namespace

INT_PTR CALLBACK RectProc(HWND d, UINT message, WPARAM wParam, LPARAM lParam) {
  return BoxProc(d, message, wParam, lParam);
}
INT_PTR CALLBACK OvalProc(HWND d, UINT message, WPARAM wParam, LPARAM lParam) {
  return BoxProc(d, message, wParam, lParam);
}
INT_PTR CALLBACK MultiProc(HWND d, UINT message, WPARAM wParam, LPARAM lParam) {
  return BoxProc(d, message, wParam, lParam);
}
INT_PTR CALLBACK PolyProc(HWND d, UINT message, WPARAM wParam, LPARAM lParam) {
  return PolyDialogProc(d, message, wParam, lParam);
}
INT_PTR CALLBACK SplineProc(HWND d, UINT message, WPARAM wParam, LPARAM lParam) {
  return PolyDialogProc(d, message, wParam, lParam);
}

INT_PTR CALLBACK LineProc(HWND d, UINT message, WPARAM wParam, LPARAM lParam) {
  LineForm* form = FormOf<LineForm>(d, message, lParam);
  if (!form || !State()) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      CenterDialog(d);
      ShowLinePage(d, *form);
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (BuildTypedLine(d, form)) EndDialog(d, 1);
          return TRUE;
        case IDCANCEL:
          EndDialog(d, 0);
          return TRUE;
        case IDC_LINE_START_PAGE:
        case IDC_LINE_END_PAGE:
        case IDC_LINE_CARTESIAN:
        case IDC_LINE_POLAR:
          SwitchLine(d, form, LOWORD(wParam));
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

INT_PTR CALLBACK ArcProc(HWND d, UINT message, WPARAM wParam, LPARAM lParam) {
  ArcForm* form = FormOf<ArcForm>(d, message, lParam);
  if (!form || !State()) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      CenterDialog(d);
      for (int item : kArcFields)
        SetFloatItem(d, item, 0.0f, State(), false, item != IDC_ARC_START_ANGLE && item != IDC_ARC_SWEEP);
      ShowArcMode(d, *form);
      SelectItemText(d, IDC_ARC_START_X);
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (BuildTypedArc(d, *form)) EndDialog(d, 1);
          return TRUE;
        case IDCANCEL:
          EndDialog(d, 0);
          return TRUE;
        case IDC_ARC_CIRCULAR:
        case IDC_ARC_ELLIPTICAL:
          form->circular = LOWORD(wParam) == IDC_ARC_CIRCULAR;
          ShowArcMode(d, *form);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

void RectDLOG() {
  RunBoxDialog(IDD_RECT_TOOL, RectProc, BoxKind::kRect);
}
void OvalDLOG() {
  RunBoxDialog(IDD_OVAL_TOOL, OvalProc, BoxKind::kOval);
}
void MultiDLOG() {
  RunBoxDialog(IDD_MULTI_TOOL, MultiProc, BoxKind::kMulti);
}
void PolyDLOG() {
  RunPolyDialog(false);
}
void SplineDLOG() {
  RunPolyDialog(true);
}
void LineDLOG() {
  if (!CurrentLayer()) return;
  LineForm form = {false, false, FloatPoint{0, 0}, FloatPoint{0, 0}, 0.0f, 0.0f};
  DialogBoxParamA(gAppInstance, MAKEINTRESOURCEA(IDD_LINE_TOOL), gFrameWindow, LineProc,
                  reinterpret_cast<LPARAM>(&form));
}
void ArcDLOG() {
  RunArcDialog(true);
}
void EllipticalArcDLOG() {
  RunArcDialog(false);
}

bool OpenShapeToolDialog(int tool) {
  switch (tool) {
    case kRectTool:
      RectDLOG();
      return true;
    case kOvalTool:
      OvalDLOG();
      return true;
    case kPolyTool:
      PolyDLOG();
      return true;
    case kMultiTool:
      MultiDLOG();
      return true;
    case kArcTool:
      ArcDLOG();
      return true;
    case kLineTool:
      LineDLOG();
      return true;
    case kSplineTool:
      SplineDLOG();
      return true;
    default:
      return false;
  }
}
