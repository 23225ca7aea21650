// The menu bar's state: check marks, greys and the Undo text before a menu opens, and the layer
// list of the Layers menu. This is the one place that decides them.
#include <windows.h>

#include "model/docstate.h"
#include "resources/strings.h"
#include "shell/cmdids.h"
#include "shell/cmdtable.h"
#include "shell/setdlogs.h"
#include "shell/shell.h"
#include "tools/scrap.h"
#include "shell/smplmapi.h"
#include "tools/textpane.h"
#include "tools/undo.h"

namespace {

// A maximized drawing window puts its system-menu item first on the menu bar, shifting the rest.
constexpr int kItemsWithSystemMenu = 9;
constexpr int kTopMenuCount = 7;  // File .. Text must all be there

int TopMenuOffset() {
  return (gMainMenu && GetMenuItemCount(gMainMenu) >= kItemsWithSystemMenu) ? 1 : 0;
}

void CheckRange(HMENU menu, int first, int last, int marked) {
  for (int id = first; id <= last; ++id) CheckMarkCmd(menu, id, id == marked);
}

void SetItemText(HMENU menu, int id, const char* text) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<char*>(text);
  SetMenuItemInfoA(menu, id, FALSE, &info);
}

void UpdateUndoItem(HMENU menu, const DocumentRec* document) {
  bool enabled = false;
  const int text =
      UndoItemText(UndoAvailable(document), document->undoKind, document->undoIsRedo != 0, &enabled);
  char buffer[64];
  if (text == kUndoClearText)
    SetItemText(menu, CMD_UNDO, "Undo Clear");
  else if (text == kRedoClearText)
    SetItemText(menu, CMD_UNDO, "Redo Clear");
  else
    SetItemText(menu, CMD_UNDO, LoadStr(text, buffer, sizeof buffer));
  if (enabled)
    EnableCmd(menu, CMD_UNDO);
  else
    DisableCmd(menu, CMD_UNDO);
}

void UpdateDrawingItems(const DocumentRec* document, const DocState* s) {
  HMENU m = gMainMenu;
  CheckMarkCmd(m, CMD_AXIS_LINES, s->showAxis);
  CheckMarkCmd(m, CMD_PAGE_BREAKS, s->showPageBreaks);
  CheckMarkCmd(m, CMD_GRID_LINES, s->showGrid);
  CheckMarkCmd(m, CMD_SNAP_TO_GRID, s->snapToGrid);
  CheckRange(m, CMD_READOUT_FIRST, CMD_READOUT_LAST, s->readoutStyle);
  CheckRange(m, CMD_TITLE_NAME, CMD_TITLE_LAYER, s->titleStyle);
  CheckMarkCmd(m, CMD_MENU_BAR, s->showToolbar);
  CheckMarkCmd(m, CMD_RULERS, s->showHorizontalRuler);
  CheckRange(m, CMD_ARROW_FIRST, CMD_ARROW_LAST, s->arrowStyle);
  CheckMarkCmd(m, s->toleranceStyle, true);
  CheckMarkCmd(m, CMD_ARROWS_IN, !(s->dimFlags & kDimArrowsOut));
  CheckMarkCmd(m, CMD_ARROWS_OUT, (s->dimFlags & kDimArrowsOut) != 0);
  CheckMarkCmd(m, CMD_CENTER_TEXT, (s->dimFlags & kDimCenterText) != 0);
  CheckMarkCmd(m, CMD_TEXT_FRAME, (s->dimFlags & kDimTextFrame) != 0);
  CheckMarkCmd(m, CMD_SINGLE_TOLERANCE, (s->dimFlags & (1u << 9)) != 0);
  CheckMarkCmd(m, CMD_DOUBLE_TOLERANCE, (s->dimFlags & (1u << 10)) != 0);
  CheckMarkCmd(m, CMD_LIMITING_TOLERANCE, (s->dimFlags & (1u << 11)) != 0);
  // With no tool pane current these follow the drawing's settings alone; the tool rules come
  // with the toolboxes.
  CheckMarkCmd(m, CMD_DRAW_FROM_CENTER, s->drawFromCenter);
  CheckMarkCmd(m, CMD_DRAW_PARALLEL, s->drawParallel);
  CheckMarkCmd(m, CMD_SHOW_CLIPBOARD, gClipboardVisible);
  CheckRange(m, CMD_ALIGN_RIGHT, CMD_ALIGN_CENTER, gTextAlignment);
  CheckMarkCmd(m, CMD_TOOLBOX_EDIT, gVisibleTools & kEditToolsBit);
  CheckMarkCmd(m, CMD_TOOLBOX_DRAW, gVisibleTools & kDrawToolsBit);
  CheckMarkCmd(m, CMD_TOOLBOX_SNAP, gVisibleTools & kSnapToolsBit);
  CheckMarkCmd(m, CMD_TOOLBOX_DIMENSION, gVisibleTools & kDimToolsBit);
  CheckMarkCmd(m, CMD_TOOLBOX_POSITION, gVisibleTools & kReadoutsBit);
  CheckMarkCmd(m, CMD_FILL_PATTERNS, gVisibleTools & kPatternsBit);
  if (gDefNudgeRate) DisableCmd(m, CMD_NUDGE_RATE);
  UpdateUndoItem(m, document);
}

// Commands whose work is not built yet stay grey whatever the rules above say.
void GreyUnbuiltCommands() {
  size_t count = 0;
  const CommandEntry* table = GetCommandTable(&count);
  for (size_t i = 0; i < count; ++i)
    if (!table[i].handler)
      DisableCmd(gMainMenu, table[i].id);
    else if (table[i].id != CMD_UNDO)
      EnableCmd(gMainMenu, table[i].id);
}

// Commands that act on a drawing are grey while none is open.
void GreyWithoutDrawing() {
  static const int kNeedDrawing[] = {
      CMD_CLOSE,      CMD_SAVE,          CMD_SAVE_AS,          CMD_SAVE_SYMBOL, CMD_MENU_BAR,
      CMD_RULERS,     CMD_FIT_TO_WINDOW, CMD_ACTUAL_SIZE,      CMD_TITLE_NAME,  CMD_TITLE_NAME_AXIS,
      CMD_TITLE_AXIS, CMD_TITLE_LAYER,   CMD_BACKGROUND_COLOR, CMD_EXPORT_DXF,  CMD_EXPORT_HPGL,
      CMD_EXPORT_EPS, CMD_EXPORT_XYZ,    CMD_PAPER_SIZE,       CMD_PLOT,        CMD_PRINT,
      CMD_DRAW_PARALLEL};
  // The commands on the selection.
  // clang-format off
  static const int kNeedSelection[] = {
      CMD_UNDO, CMD_CLEAR, CMD_SELECT_ALL, CMD_DETECT_ALL, CMD_HIDE_SELECTION, CMD_FLIP_HORIZONTAL,
      CMD_FLIP_VERTICAL, CMD_NUDGE_UP, CMD_NUDGE_DOWN, CMD_NUDGE_LEFT, CMD_NUDGE_RIGHT, CMD_SMOOTH,
      CMD_UNSMOOTH, CMD_ALIGN_TOP_LEFT, CMD_ALIGN_TOP_RIGHT, CMD_ALIGN_BOTTOM_RIGHT, CMD_ALIGN_BOTTOM_LEFT,
      CMD_LOCK, CMD_UNLOCK, CMD_BRING_TO_FRONT, CMD_SEND_TO_BACK, CMD_GROUP, CMD_UNGROUP, CMD_DUPLICATE,
      CMD_MIRROR_HORIZONTAL, CMD_JOIN, CMD_UNJOIN};
  // clang-format on
  for (int id : kNeedSelection) DisableCmd(gMainMenu, id);
  for (int id : kNeedDrawing) DisableCmd(gMainMenu, id);
}

// Cut and Clear need something they may take out of the current layer, Copy something to copy,
// Paste a drawing and objects on the clipboard.
void UpdateClipboardItems(bool drawing) {
  const bool cuttable = drawing && !CollectCopiedObjects(CopyScope::kCut).empty();
  const bool copyable = cuttable || (drawing && !CollectCopiedObjects(CopyScope::kCopy).empty());
  const struct {
    int id;
    bool enabled;
  } items[] = {{CMD_CUT, cuttable},
               {CMD_CLEAR, cuttable},
               {CMD_COPY, copyable},
               {CMD_PASTE, drawing && ClipboardHasObjects()}};
  for (const auto& item : items)
    if (item.enabled)
      EnableCmd(gMainMenu, item.id);
    else
      DisableCmd(gMainMenu, item.id);
}

}  // namespace

HMENU GetTopMenu(TopMenu which) {
  if (!gMainMenu) return nullptr;
  return GetSubMenu(gMainMenu, static_cast<int>(which) + TopMenuOffset());
}

void CheckMarkCmd(HMENU menu, int id, bool on) {
  if (menu) CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void EnableCmd(HMENU menu, int id) {
  if (menu) EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | MF_ENABLED);
}

void DisableCmd(HMENU menu, int id) {
  if (menu) EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | MF_GRAYED);
}

void UpdateMenus() {
  if (!gMainMenu) return;
  for (int i = kFileMenu; i < kTopMenuCount; ++i)
    if (!GetTopMenu(static_cast<TopMenu>(i))) return;
  GreyUnbuiltCommands();
  if (gSimpleMAPIAvailable)
    EnableCmd(gMainMenu, CMD_SEND_MAIL);
  else
    DisableCmd(gMainMenu, CMD_SEND_MAIL);
  const DocumentRec* document = gCurDocument;
  if (!document || !document->docState || !gCurWindow) {
    GreyWithoutDrawing();
    UpdateClipboardItems(false);
    return;
  }
  UpdateDrawingItems(document, document->docState);
  UpdateClipboardItems(true);
}

void UpdateLayerMenu() {
  const DocumentRec* document = gCurDocument;
  if (!document || !gMainMenu) return;
  HMENU layers = GetTopMenu(kLayersMenu);
  HMENU list = layers ? GetSubMenu(layers, 0) : nullptr;
  if (!list) return;
  while (GetMenuItemCount(list) > 0) DeleteMenu(list, 0, MF_BYPOSITION);
  int id = CMD_FIRST_LAYER;
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer, ++id) {
    UINT flags = MF_STRING;
    if (layer == document->currentLayer) {
      flags |= MF_CHECKED;
      layer->visible = 1;
    }
    if (!layer->visible) flags |= MF_GRAYED;
    AppendMenuA(list, flags, static_cast<UINT_PTR>(id), layer->name);
  }
}
