// Command dispatch: the table of command identifiers and the handlers of the shell's commands.
#include <windows.h>

#include <cstring>
#include <initializer_list>

#include "dimensions/drawdim2.h"
#include "geometry/units.h"
#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "model/joinhdlr.h"
#include "model/objedit.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "ole/oleserver.h"
#include "render/drawhdlr.h"
#include "resources/strings.h"
#include "shell/clipbrd.h"
#include "shell/cmdids.h"
#include "shell/cmdtable.h"
#include "shell/dlogcmds.h"
#include "shell/drxprint.h"
#include "shell/filecmds.h"
#include "shell/importcmds.h"
#include "shell/panes.h"
#include "shell/shell.h"
#include "shell/smplmapi.h"
#include "tools/drxfont.h"
#include "tools/drxfont_win.h"
#include "tools/editops.h"
#include "tools/filletdlgs.h"
#include "tools/selhndlr.h"
#include "tools/snaphdlr.h"
#include "tools/textpane.h"
#include "tools/textpane_win.h"
#include "tools/toolhooks.h"
#include "tools/undo.h"

// The selection walks take the command numbers as their operation codes.
static_assert(kOpClear == CMD_CLEAR && kOpSmooth == CMD_SMOOTH && kOpUnsmooth == CMD_UNSMOOTH, "walk codes");
static_assert(kOpNudgeUp == CMD_NUDGE_UP && kOpNudgeRight == CMD_NUDGE_RIGHT, "walk codes");
static_assert(kOpFlipHorizontal == CMD_FLIP_HORIZONTAL && kOpFlipVertical == CMD_FLIP_VERTICAL, "walk codes");
static_assert(kOpBringToFront == CMD_BRING_TO_FRONT && kOpSendToBack == CMD_SEND_TO_BACK, "walk codes");
static_assert(kOpGroup == CMD_GROUP && kOpUngroup == CMD_UNGROUP && kOpUnjoin == CMD_UNJOIN, "walk codes");
static_assert(kOpFont == CMD_FONTS && kAlignRightCommand == CMD_ALIGN_RIGHT &&
                  kAlignLeftCommand == CMD_ALIGN_LEFT && kAlignCenterCommand == CMD_ALIGN_CENTER &&
                  kOpAlignCenter == CMD_ALIGN_CENTER,
              "walk codes");
static_assert(kOpDuplicate == CMD_DUPLICATE && kOpMirror == CMD_MIRROR_HORIZONTAL, "walk codes");
static_assert(kAlignTopLeft == CMD_ALIGN_TOP_LEFT && kAlignBottomLeft == CMD_ALIGN_BOTTOM_LEFT, "walk codes");

// The settings store these menu commands' numbers; the resource script needs them as macros.
static_assert(CMD_ARROW_FIRST == kFirstArrowStyle && CMD_ARROW_LAST == kLastArrowStyle,
              "arrowhead commands are the stored arrow styles");
static_assert(CMD_READOUT_FIRST == kFirstReadoutStyle && CMD_READOUT_LAST == kLastReadoutStyle,
              "readout commands are the stored readout styles");
static_assert(CMD_NO_TOLERANCE == kNoTolerance && CMD_SINGLE_TOLERANCE == kSingleTolerance &&
                  CMD_DOUBLE_TOLERANCE == kDoubleTolerance && CMD_LIMITING_TOLERANCE == kLimitingTolerance,
              "tolerance commands are the stored tolerance styles");

namespace {

// Without a drawing these leave the handler at once.
DocumentRec* Drawing() {
  return gCurDocument;
}
DocState* State() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}
HWND Pane() {
  return static_cast<HWND>(gCurWindow);
}
HWND AsWindow(WindowHandle handle) {
  return static_cast<HWND>(handle);
}

// The drawing window lays itself out again after a toolbar or ruler change. Its layout is called
// directly: a size message would also reach the client's default handling, which takes it for a
// restore and drops the maximized state from the frame's caption.
void Relayout() {
  HWND pane = Pane();
  if (HWND drawingWindow = pane ? GetParent(pane) : nullptr) LayoutDrawingWindow(drawingWindow);
}

// The rulers take the new zoom or scroll position: they are told to recompute and repainted.
void UpdateRulers() {
  DocumentRec* document = Drawing();
  if (!document) return;
  constexpr WPARAM kRulerRecompute = 5;
  for (WindowHandle ruler : {document->horizontalRuler, document->verticalRuler})
    if (ruler) {
      ChangeScrollFrame(ruler, document->docState, 0, 0, false);
      SendMessageA(AsWindow(ruler), WM_COMMAND, kRulerRecompute, 0);
      InvalidateRect(AsWindow(ruler), nullptr, TRUE);
    }
  if (document->rulerUnitWindow) InvalidateRect(AsWindow(document->rulerUnitWindow), nullptr, TRUE);
}

void OnNew(int) {
  if (!AppEmbedded()) CreateDrawingDocument();
}

void OnNewWindow(int) {
  CreateDrawingWindow();
}

void OnClose(int) {
  if (AppEmbedded()) return;
  HWND window = ActiveDrawingWindow();
  if (window && QueryCloseDrawing(window))
    SendMessageA(gClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
  DisableMenus();
}

void OnExit(int) {
  if (gFrameWindow) SendMessageA(gFrameWindow, WM_CLOSE, 0, 0);
}

void OnCloseAll(int) {
  CloseAllDrawings();
}

void OnShowClipboard(int) {
  ToggleClipboardViewer();
}

// ---- Selection commands ----

LayerRec* Layers() {
  return gCurDocument ? gCurDocument->firstLayer : nullptr;
}

// After the selection changed: the summary, the group and lock boxes and the pane.
void SelectionChanged() {
  RebuildSelectionState();
  UpdateGroupLock();
  Refresh();
}

// After a text command: typing ends, the pane takes the focus and every block is painted again.
void EndTextCommand() {
  DeactivateTEPane();
  if (Pane()) SetFocus(Pane());
  SelectedObjectAllLayers(Layers(), false, kOpTextPassive, nullptr);
  SelectionChanged();
}

void OnUndo(int) {
  if (Undo()) SelectionChanged();
}

void OnSelectAll(int) {
  DocState* state = State();
  if (!state) return;
  SelectAllLayers(Layers(), kSelectMode, false);
  FloatRect bounds = kEmptyRect;
  GetAllLayersObjBounds(Layers(), false, &bounds, false);
  constexpr float kFarBounds = 30000.0f;
  float width = 0.0f, height = 0.0f;
  if (bounds.top < kFarBounds && bounds.left < kFarBounds && bounds.bottom > -kFarBounds &&
      bounds.right > -kFarBounds) {
    width = bounds.right - bounds.left;
    height = bounds.bottom - bounds.top;
  }
  gWidthHeight =
      FloatPoint{ConvertScreenToWorld(width, state, false), ConvertScreenToWorld(height, state, false)};
  UpdateWH(ZoomF(width), ZoomF(height));
  SelectionChanged();
}

// Detect All, Hide Selection, Lock and Unlock: a selection mode over every visible layer.
void OnSelectionMode(int id) {
  if (!Drawing()) return;
  const uint8_t mode = id == CMD_DETECT_ALL       ? kDetectMode
                       : id == CMD_HIDE_SELECTION ? kHideMode
                       : id == CMD_LOCK           ? kLockMode
                                                  : kUnlockMode;
  SelectAllLayers(Layers(), mode, false);
  if (id == CMD_LOCK || id == CMD_UNLOCK) {
    UpdateGroupLock();
    SelectAllLayers(Layers(), kDeselectMode, false);
  }
  SelectionChanged();
}

// Nudges, flips, smoothing: one operation on every selected object.
void OnSelectionOperation(int id) {
  DocState* state = State();
  if (!state) return;
  if (id == CMD_FLIP_HORIZONTAL || id == CMD_FLIP_VERTICAL) {
    FloatRect bounds = kEmptyRect;
    GetAllLayersBounds(Layers(), true, &bounds, false, false);
    if (IsEmptyRect(&bounds)) return;
    SetFlipCenter(&bounds);
  }
  SelectedObjectAllLayers(Layers(), true, id, state);
  SelectionChanged();
}

// "Fonts...": the font dialog's choice goes to every selected text block; typing ends.
void OnFonts(int) {
  if (!DrxFontChooseFont(gFrameWindow) || !Drawing()) return;
  SelectedObjectAllLayers(Layers(), true, kOpFont, &gCurFontInfo);
  EndTextCommand();
}

// "Align Right", "Align Left", "Align Center": new blocks take the alignment, and so does every
// selected block that holds text; typing ends.
void OnAlignText(int id) {
  gTextAlignment = static_cast<int16_t>(id);
  if (!Drawing()) return;
  SelectedObjectAllLayers(Layers(), true, id, nullptr);
  EndTextCommand();
}

void OnArrange(int id) {
  if (!Drawing()) return;
  if (id == CMD_UNGROUP) ReleaseUndoForSelection(Layers());
  TopLevelObjectAllLayers(Layers(), id, State());
  SelectionChanged();
}

// Duplicate and Mirror Horizontal: whole selected objects are copied, the mirror about the
// centre of the selection. The copies are not selected.
void OnDuplicate(int id) {
  DocState* state = State();
  if (!state) return;
  SelectedObjectAllLayers(Layers(), true, kOpSelect, state);
  FloatRect bounds = kEmptyRect;
  GetAllLayersBounds(Layers(), true, &bounds, false, false);
  if (IsEmptyRect(&bounds)) return;
  SetFlipCenter(&bounds);
  ReleaseUndoForSelection(Layers());
  TopLevelObjectAllLayers(Layers(), id, state);
  SelectedObjectAllLayers(Layers(), false, kOpTextPassive, nullptr);
  SelectionChanged();
}

void OnJoin(int) {
  if (!Drawing()) return;
  ReleaseUndoForSelection(Layers());
  JoinAllLayers(Layers());
  SelectionChanged();
}

void OnUnjoin(int) {
  if (!Drawing()) return;
  ReleaseUndoForSelection(Layers());
  TopLevelObjectAllLayers(Layers(), CMD_UNJOIN, State());
  SelectionChanged();
}

void OnDrawParallel(int) {
  if (DocState* state = State()) state->drawParallel = !state->drawParallel;
}

void OnGroup(int) {
  if (!Drawing()) return;
  gOverload = 0;
  gObjectCount = 0;
  SelectedObjectAllLayers(Layers(), true, kOpCountNestedGroups, nullptr);
  if (gOverload) {
    MessageBeep(0);
  } else if (CountSelectedObjects(Layers(), kOpCount) >= 2) {
    ReleaseUndoForSelection(Layers());
    gGroupLeader = nullptr;
    TopLevelObjectAllLayers(Layers(), kOpGroup, State());
    gGroupLeader = nullptr;
  }
  SelectionChanged();
}

void OnAlignToGrid(int id) {
  AlignSelectedToGrid(id);
  Refresh();
}

void OnMenuBar(int) {
  DocumentRec* document = Drawing();
  DocState* state = State();
  if (!document || !state || !document->toolbarWindow || !Pane()) return;
  state->showToolbar = !state->showToolbar;
  ShowWindow(AsWindow(document->toolbarWindow), state->showToolbar ? SW_SHOW : SW_HIDE);
  Relayout();
}

void OnRulers(int) {
  DocumentRec* document = Drawing();
  DocState* state = State();
  if (!document || !state || !document->horizontalRuler || !document->verticalRuler ||
      !document->rulerUnitWindow)
    return;
  const bool shown = state->showHorizontalRuler && state->showVerticalRuler;
  gRulersActive = shown ? 0 : 1;
  state->showHorizontalRuler = state->showVerticalRuler = gRulersActive;
  const int show = shown ? SW_HIDE : SW_SHOW;
  ShowWindow(AsWindow(document->horizontalRuler), show);
  ShowWindow(AsWindow(document->verticalRuler), show);
  ShowWindow(AsWindow(document->rulerUnitWindow), show);
  Relayout();
}

// Axis lines, grid lines and page breaks: the drawing's setting flips and the pane repaints.
void OnViewToggle(int id) {
  DocumentRec* document = Drawing();
  DocState* state = State();
  if (!document || !state) return;
  uint8_t* flag = id == CMD_AXIS_LINES   ? &state->showAxis
                  : id == CMD_GRID_LINES ? &state->showGrid
                                         : &state->showPageBreaks;
  *flag = !*flag;
  if (state->showToolbar && document->toolbarWindow) {
    InvalidateRect(AsWindow(document->toolbarWindow), nullptr, TRUE);
    UpdateWindow(AsWindow(document->toolbarWindow));
  }
  Refresh();
}

// Arrowheads, arrows in or out, text frame, centre text, tolerance styles and readouts: the
// drawing's defaults for new dimensions change, its menus follow, and the selected dimensions
// (and the dimensions of selected labels, for readouts and tolerances) take the same style. A
// tolerance command toggles, so the selection gets the style the drawing has afterwards. Centre
// text changes new dimensions only.
void OnDimensionStyle(int id) {
  DocState* state = State();
  if (!SetDocStateDimensionStyle(state, id)) return;
  int apply = id;
  if (id >= CMD_SINGLE_TOLERANCE && id <= CMD_LIMITING_TOLERANCE) apply = state->toleranceStyle;
  if (id != CMD_CENTER_TEXT) SelectedObjectAllLayers(Drawing()->firstLayer, true, apply, nullptr);
  if (id >= kFirstReadoutStyle && id <= kLastReadoutStyle && gReadouts)
    InvalidateRect(gReadouts, nullptr, FALSE);
  Refresh();
}

void OnFitToWindow(int) {
  if (!State() || !Pane()) return;
  FitToWindow(Pane(), State());
  UpdateRulers();
}

void OnFitToDrawing(int) {
  if (!State() || !Pane()) return;
  FitToDrawing(Pane(), State());
  UpdateRulers();
}

void OnActualSize(int) {
  DocState* state = State();
  if (!state) return;
  state->zoomFactor = 1.0f;
  ChangeZoom(state, 0, 0, false);
  UpdateRulers();
}

// The sheet takes the chosen paper; the zoom, the scroll frames and the rulers follow it.
void OnPaperSize(int) {
  DocState* state = State();
  if (!state || !PaperSizeDLOG(state)) return;
  PinMaxZoom(state);
  ChangeZoom(state, 0, 0, false);
  UpdateRulers();
  Refresh();
}

void OnTitleStyle(int id) {
  DocState* state = State();
  if (!state) return;
  state->titleStyle = static_cast<int16_t>(id);
  SetWindowTitleType(state);
}

void OnToolbox(int id) {
  struct Box {
    HWND* window;
    uint8_t bit;
  };
  const Box boxes[] = {{&gEditTools, kEditToolsBit},
                       {&gDrawTools, kDrawToolsBit},
                       {&gSnapTools, kSnapToolsBit},
                       {&gDimTools, kDimToolsBit},
                       {&gReadouts, kReadoutsBit}};
  const int index = (id >= CMD_POPUP_TOOLBOX_EDIT && id <= CMD_POPUP_TOOLBOX_POSITION)
                        ? id - CMD_POPUP_TOOLBOX_EDIT
                        : id - CMD_TOOLBOX_EDIT;
  if (index < 0 || index >= static_cast<int>(sizeof boxes / sizeof boxes[0])) return;
  ToggleToolbox(*boxes[index].window, boxes[index].bit);
}

void OnFillPatterns(int) {
  ToggleToolbox(gPatterns, kPatternsBit);
}

// Colours of the chooser kept while the program runs.
COLORREF gCustColors[16];

constexpr int kColourScale = 257;  // 16-bit intensity per 8-bit step

void OnBackgroundColor(int) {
  DocState* state = State();
  if (!state) return;
  CHOOSECOLORA cc = {};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = gFrameWindow;
  cc.rgbResult = RGB(state->backColor.red / kColourScale, state->backColor.green / kColourScale,
                     state->backColor.blue / kColourScale);
  cc.lpCustColors = gCustColors;
  cc.Flags = CC_FULLOPEN | CC_RGBINIT;
  if (!ChooseColorA(&cc)) return;
  state->backColor.red = static_cast<uint16_t>(GetRValue(cc.rgbResult) * kColourScale);
  state->backColor.green = static_cast<uint16_t>(GetGValue(cc.rgbResult) * kColourScale);
  state->backColor.blue = static_cast<uint16_t>(GetBValue(cc.rgbResult) * kColourScale);
  HWND pane = Pane();
  if (!pane) return;
  HBRUSH brush = CreateSolidBrush(cc.rgbResult);
  if (!brush) return;
  HBRUSH old =
      reinterpret_cast<HBRUSH>(SetClassLongPtrA(pane, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush)));
  if (old) DeleteObject(old);
  InvalidateRect(pane, nullptr, TRUE);
}

void OnHelpIndex(int) {
  // The contents file beside the help file: the same name ending in "CNT".
  char contents[kHelpPathSize];
  std::strcpy(contents, szHelpFileName);
  const size_t length = std::strlen(contents);
  if (length >= 3) std::memcpy(contents + length - 3, "CNT", 3);
  if (GetFileAttributesA(szHelpFileName) == INVALID_FILE_ATTRIBUTES) {
    MessageBeep(MB_OK);  // no help file beside the program
    return;
  }
  WinHelpA(gFrameWindow, szHelpFileName, HELP_FINDER, reinterpret_cast<ULONG_PTR>(contents));
}

void OnHelpUsing(int) {
  WinHelpA(gFrameWindow, "WINHELP.HLP", HELP_CONTENTS, 0);
}

void OnAbout(int) {
  ShowAbout();
}

// The table, in menu order. Handlers that are null belong to modules not built yet.
const CommandEntry kCommands[] = {
    // File
    {CMD_NEW, OnNew},
    {CMD_OPEN, OnOpen},
    {CMD_CLOSE, OnClose},
    {CMD_SAVE, OnSave},
    {CMD_SAVE_AS, OnSaveAs},
    {CMD_IMPORT_DRW, OnImport},
    {CMD_IMPORT_DXF, OnImport},
    {CMD_IMPORT_XYZ, nullptr},
    {CMD_IMPORT_CDR, OnImport},
    {CMD_IMPORT_BMP, OnImport},
    {CMD_IMPORT_EPS, OnImport},
    {CMD_IMPORT_GIF, OnImport},
    {CMD_IMPORT_PCX, OnImport},
    {CMD_IMPORT_TIF, OnImport},
    {CMD_IMPORT_JPG, OnImport},
    {CMD_EXPORT_DXF, OnExport},
    {CMD_EXPORT_HPGL, OnExport},
    {CMD_EXPORT_EPS, OnExport},
    {CMD_EXPORT_XYZ, OnExport},
    {CMD_OPEN_SYMBOL, OnOpenSymbol},
    {CMD_SAVE_SYMBOL, OnSaveSymbol},
    {CMD_SEND_MAIL, [](int) { SendMail(); }},
    {CMD_PAPER_SIZE, OnPaperSize},
    {CMD_PAGE_SETUP, OnPageSetup},
    {CMD_PLOT, OnPlot},
    {CMD_PRINT, OnPrint},
    {CMD_EXIT, OnExit},
    // Edit
    {CMD_UNDO, OnUndo},
    {CMD_CUT, OnCut},
    {CMD_COPY, OnCopy},
    {CMD_PASTE, OnPaste},
    {CMD_CLEAR, OnClear},
    {CMD_SELECT_ALL, OnSelectAll},
    {CMD_DETECT_ALL, OnSelectionMode},
    {CMD_HIDE_SELECTION, OnSelectionMode},
    {CMD_DUPLICATE, OnDuplicate},
    {CMD_MIRROR_HORIZONTAL, OnDuplicate},
    {CMD_DUPLICATE_OFFSETS, OnDuplicateOffsets},
    {CMD_FLIP_HORIZONTAL, OnSelectionOperation},
    {CMD_FLIP_VERTICAL, OnSelectionOperation},
    {CMD_NUDGE_UP, OnSelectionOperation},
    {CMD_NUDGE_DOWN, OnSelectionOperation},
    {CMD_NUDGE_LEFT, OnSelectionOperation},
    {CMD_NUDGE_RIGHT, OnSelectionOperation},
    {CMD_NUDGE_RATE, OnNudgeRate},
    {CMD_SMOOTH, OnSelectionOperation},
    {CMD_UNSMOOTH, OnSelectionOperation},
    {CMD_TENSION, OnTension},
    {CMD_PREFERENCES, OnPreferences},
    {CMD_SHOW_CLIPBOARD, OnShowClipboard},
    // Layout
    {CMD_MENU_BAR, OnMenuBar},
    {CMD_RULERS, OnRulers},
    {CMD_RULERS_SCALE, OnRulersScale},
    {CMD_FIT_TO_WINDOW, OnFitToWindow},
    {CMD_AXIS_LINES, OnViewToggle},
    {CMD_PAGE_BREAKS, OnViewToggle},
    {CMD_GRID_LINES, OnViewToggle},
    {CMD_SNAP_TO_GRID, nullptr},
    {CMD_GRID_SPACING, OnGridSpacing},
    {CMD_ALIGN_TOP_LEFT, OnAlignToGrid},
    {CMD_ALIGN_TOP_RIGHT, OnAlignToGrid},
    {CMD_ALIGN_BOTTOM_RIGHT, OnAlignToGrid},
    {CMD_ALIGN_BOTTOM_LEFT, OnAlignToGrid},
    {CMD_ARROWS_IN, OnDimensionStyle},
    {CMD_ARROWS_OUT, OnDimensionStyle},
    {CMD_ARROW_FIRST + 0, OnDimensionStyle},
    {CMD_ARROW_FIRST + 1, OnDimensionStyle},
    {CMD_ARROW_FIRST + 2, OnDimensionStyle},
    {CMD_ARROW_FIRST + 3, OnDimensionStyle},
    {CMD_ARROW_FIRST + 4, OnDimensionStyle},
    {CMD_ARROW_FIRST + 5, OnDimensionStyle},
    {CMD_ARROW_FIRST + 6, OnDimensionStyle},
    {CMD_CENTER_TEXT, OnDimensionStyle},
    {CMD_TEXT_FRAME, OnDimensionStyle},
    {CMD_SINGLE_TOLERANCE, OnDimensionStyle},
    {CMD_DOUBLE_TOLERANCE, OnDimensionStyle},
    {CMD_LIMITING_TOLERANCE, OnDimensionStyle},
    {CMD_TOLERANCE_VALUES, OnToleranceValues},
    {CMD_DRAW_PARALLEL, OnDrawParallel},
    {CMD_PARALLEL, OnParallelFormat},
    {CMD_DRAW_FROM_CENTER, nullptr},
    {CMD_FILL_COLOR, nullptr},
    {CMD_PEN_COLOR, nullptr},
    {CMD_READOUT_FIRST + 0, OnDimensionStyle},
    {CMD_READOUT_FIRST + 1, OnDimensionStyle},
    {CMD_READOUT_FIRST + 2, OnDimensionStyle},
    {CMD_READOUT_FIRST + 3, OnDimensionStyle},
    {CMD_READOUT_FIRST + 4, OnDimensionStyle},
    {CMD_READOUT_FIRST + 5, OnDimensionStyle},
    {CMD_READOUT_FIRST + 6, OnDimensionStyle},
    {CMD_LINE_TYPES, OnLineTypes},
    {CMD_LINE_SIZE, OnLineSize},
    // Options
    {CMD_FILL_PATTERNS, OnFillPatterns},
    {CMD_LOCK, OnSelectionMode},
    {CMD_UNLOCK, OnSelectionMode},
    {CMD_JOIN, OnJoin},
    {CMD_UNJOIN, OnUnjoin},
    {CMD_BRING_TO_FRONT, OnArrange},
    {CMD_SEND_TO_BACK, OnArrange},
    {CMD_GROUP, OnGroup},
    {CMD_UNGROUP, OnArrange},
    {CMD_MOVE_ORIGIN, OnMoveOrigin},
    {CMD_ACTUAL_SIZE, OnActualSize},
    // Window
    {CMD_SCROLLING_SPEED, OnScrollingSpeed},
    {CMD_BACKGROUND_COLOR, OnBackgroundColor},
    {CMD_TITLE_NAME, OnTitleStyle},
    {CMD_TITLE_NAME_AXIS, OnTitleStyle},
    {CMD_TITLE_AXIS, OnTitleStyle},
    {CMD_TITLE_LAYER, OnTitleStyle},
    {CMD_TOOLBOX_EDIT, OnToolbox},
    {CMD_TOOLBOX_DRAW, OnToolbox},
    {CMD_TOOLBOX_SNAP, OnToolbox},
    {CMD_TOOLBOX_DIMENSION, OnToolbox},
    {CMD_TOOLBOX_POSITION, OnToolbox},
    // Layers
    {CMD_LAYER_INFO, OnLayering},
    // Text
    {CMD_FONTS, OnFonts},
    {CMD_ALIGN_LEFT, OnAlignText},
    {CMD_ALIGN_RIGHT, OnAlignText},
    {CMD_ALIGN_CENTER, OnAlignText},
    // Help
    {CMD_HELP_INDEX, OnHelpIndex},
    {CMD_HELP_USING, OnHelpUsing},
    {CMD_ABOUT, OnAbout},
    // Without a menu item
    {CMD_NEW_WINDOW, OnNewWindow},
    {CMD_CLOSE_ALL, OnCloseAll},
    {5080, OnToolbox},
    {5081, OnToolbox},
    {5082, OnToolbox},
    {5083, OnToolbox},
    {5084, OnToolbox},
    {CMD_FIT_TO_DRAWING, OnFitToDrawing},
};

// Layer items: 10001 picks the first layer of the list. False when there is no such layer.
bool SelectLayerItem(int id) {
  DocumentRec* document = Drawing();
  if (!document) return false;
  LayerRec* layer = document->firstLayer;
  for (int position = id - CMD_FIRST_LAYER; layer && position > 0; --position) layer = layer->nextLayer;
  if (!layer) return false;
  document->currentLayer = layer;
  UpdateLayerMenu();
  if (document->docState && document->docState->titleStyle == CMD_TITLE_LAYER)
    SetWindowTitleType(document->docState);
  return true;
}

}  // namespace

const CommandEntry* GetCommandTable(size_t* count) {
  if (count) *count = sizeof kCommands / sizeof kCommands[0];
  return kCommands;
}

const CommandEntry* FindCommand(int id) {
  for (const CommandEntry& entry : kCommands)
    if (entry.id == id) return &entry;
  return nullptr;
}

bool IsCommandBuilt(int id) {
  const CommandEntry* entry = FindCommand(id);
  return entry && entry->handler;
}

bool DoCommand(HWND, int id, HWND) {
  if (id == 0) return false;
  LeaveTextTool();
  if (id >= CMD_FIRST_LAYER && id < CMD_FIRST_MDI_CHILD && SelectLayerItem(id)) return true;
  if (const CommandEntry* entry = FindCommand(id)) {
    if (entry->handler) entry->handler(id);
    return true;
  }
  HWND drawing = ActiveDrawingWindow();
  if (drawing) SendMessageA(drawing, WM_COMMAND, static_cast<WPARAM>(id), 0);
  return false;
}

void HandleKeyDown(WPARAM key, LPARAM) {
  switch (key) {
    case VK_DELETE:
    case VK_BACK:
      SendFrameCommand(CMD_CLEAR);
      break;
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT: {
      static_assert(CMD_NUDGE_DOWN == CMD_NUDGE_UP + 1 && CMD_NUDGE_RIGHT == CMD_NUDGE_UP + 3, "nudge order");
      const int nudge = key == VK_UP     ? CMD_NUDGE_UP
                        : key == VK_DOWN ? CMD_NUDGE_DOWN
                        : key == VK_LEFT ? CMD_NUDGE_LEFT
                                         : CMD_NUDGE_RIGHT;
      if (Drawing()) OnSelectionOperation(nudge);
      break;
    }
    case VK_TAB:
      SnapToolChange(0);
      break;
    default:
      break;
  }
}

void DisableMenus() {}

int UndoItemText(bool undoAvailable, int undoKind, bool isRedo, bool* enabled) {
  constexpr int kFirstUndoKind = 7, kLastNumberedKind = 19, kClearKind = 20, kUnusedKind = 12;
  if (enabled) *enabled = false;
  if (undoAvailable && undoKind >= kUndoFillet && undoKind <= kUndoTrim) {
    if (enabled) *enabled = true;
    return STR_REDO_FILLET + 2 * (undoKind - kUndoFillet) + (isRedo ? 0 : 1);
  }
  if (!undoAvailable || undoKind < kFirstUndoKind || undoKind > kClearKind || undoKind == kUnusedKind)
    return STR_UNDO;
  if (enabled) *enabled = true;
  if (undoKind == kClearKind) return isRedo ? kRedoClearText : kUndoClearText;
  // Kinds 7..11 and 13..19 have a Redo and an Undo text each, kind 12 none.
  const int pair = undoKind < kUnusedKind ? undoKind - kFirstUndoKind : undoKind - kFirstUndoKind - 1;
  static_assert(kLastNumberedKind - kFirstUndoKind == 12, "twelve numbered undo kinds");
  return STR_REDO_MOVE + 2 * pair + (isRedo ? 0 : 1);
}
