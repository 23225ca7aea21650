// Menu state: greys of the commands not built yet and of those needing a drawing, check marks by
// the drawing's settings, and the layer list, with the menu bar found also behind the system-menu
// item a maximized drawing window adds. Runs without a display: the current pane is a
// message-only window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "resources/resids.h"
#include "shell/cmdids.h"
#include "shell/shell.h"
#include "tests/shell/menufixture.h"
#include "tools/buildobj.h"
#include "tools/selhndlr.h"
#include "tools/undo.h"

namespace {

class MenuState : public MenuFixture {};

TEST_F(MenuState, CommandsNotBuiltAreGreyAndTheShellsOwnAreNot) {
  UpdateMenus();
  for (int id : {CMD_CUT, CMD_PASTE, CMD_IMPORT_XYZ, CMD_UNDO, CMD_SNAP_TO_GRID}) EXPECT_TRUE(Grey(id)) << id;
  for (int id : {CMD_NEW,          CMD_OPEN,           CMD_CLOSE,      CMD_SAVE,       CMD_SAVE_AS,
                 CMD_OPEN_SYMBOL,  CMD_SAVE_SYMBOL,    CMD_EXIT,       CMD_MENU_BAR,   CMD_RULERS,
                 CMD_GRID_LINES,   CMD_TITLE_LAYER,    CMD_ABOUT,      CMD_EXPORT_DXF, CMD_EXPORT_HPGL,
                 CMD_EXPORT_EPS,   CMD_EXPORT_XYZ,     CMD_SELECT_ALL, CMD_TENSION,    CMD_GROUP,
                 CMD_NUDGE_UP,     CMD_HIDE_SELECTION, CMD_IMPORT_DXF, CMD_IMPORT_CDR, CMD_PRINT,
                 CMD_PAPER_SIZE,   CMD_PAGE_SETUP,     CMD_PLOT,       CMD_FONTS,      CMD_ALIGN_LEFT,
                 CMD_ALIGN_CENTER, CMD_DUPLICATE,      CMD_JOIN,       CMD_UNJOIN,     CMD_MIRROR_HORIZONTAL,
                 CMD_DRAW_PARALLEL})
    EXPECT_FALSE(Grey(id)) << id;
}

TEST_F(MenuState, UndoItemFollowsTheRecordOfTheCurrentDrawing) {
  char text[64] = "";
  auto itemText = [&text] {
    GetMenuStringA(gMainMenu, CMD_UNDO, text, sizeof text, MF_BYCOMMAND);
    return std::string(text);
  };
  BeginUndo(document_, kUndoRectangle);
  RecordUndoCreate(BuildRect(0, 0, 10, 10, document_->currentLayer, true));
  UpdateMenus();
  EXPECT_EQ(itemText(), "Undo Rectangle");
  EXPECT_FALSE(Grey(CMD_UNDO));
  ASSERT_TRUE(Undo());
  UpdateMenus();
  EXPECT_EQ(itemText(), "Redo Rectangle");
  // Another drawing current: its menu offers nothing.
  DocumentRec* other = CreateDocument();
  UpdateMenus();
  EXPECT_EQ(itemText(), "Undo");
  EXPECT_TRUE(Grey(CMD_UNDO));
  DeleteDocument(other);
  gCurDocument = document_;
  DisposeUndo();
  UpdateMenus();
  EXPECT_TRUE(Grey(CMD_UNDO));
}

TEST_F(MenuState, WithoutADrawingOnlyNewAndOpenStayOfTheFileCommands) {
  gCurDocument = nullptr;
  UpdateMenus();
  EXPECT_FALSE(Grey(CMD_NEW));
  EXPECT_FALSE(Grey(CMD_OPEN));
  EXPECT_FALSE(Grey(CMD_OPEN_SYMBOL));  // opens a drawing window first
  EXPECT_FALSE(Grey(CMD_PAGE_SETUP));   // the printer is the program's, not the drawing's
  for (int id : {CMD_CLOSE, CMD_SAVE, CMD_SAVE_AS, CMD_SAVE_SYMBOL, CMD_TITLE_NAME, CMD_EXPORT_DXF,
                 CMD_EXPORT_EPS, CMD_PRINT, CMD_PAPER_SIZE, CMD_PLOT})
    EXPECT_TRUE(Grey(id)) << id;
  gCurDocument = document_;
  UpdateMenus();
  EXPECT_FALSE(Grey(CMD_SAVE));  // greys are recomputed each time
}

TEST_F(MenuState, ChecksFollowTheDrawingsSettings) {
  DocState* state = document_->docState;
  state->showGrid = 1;
  state->titleStyle = CMD_TITLE_AXIS;
  state->readoutStyle = 5062;
  state->showToolbar = 0;
  gVisibleTools = kEditToolsBit | kPatternsBit;
  UpdateMenus();
  EXPECT_TRUE(Checked(CMD_GRID_LINES));
  EXPECT_FALSE(Checked(CMD_AXIS_LINES));
  EXPECT_TRUE(Checked(CMD_TITLE_AXIS));
  EXPECT_FALSE(Checked(CMD_TITLE_NAME));
  EXPECT_TRUE(Checked(5062));
  EXPECT_FALSE(Checked(5060));
  EXPECT_FALSE(Checked(CMD_MENU_BAR));
  EXPECT_TRUE(Checked(CMD_TOOLBOX_EDIT));
  EXPECT_FALSE(Checked(CMD_TOOLBOX_DRAW));
  EXPECT_TRUE(Checked(CMD_FILL_PATTERNS));
  state->titleStyle = CMD_TITLE_NAME;
  UpdateMenus();
  EXPECT_FALSE(Checked(CMD_TITLE_AXIS));
  EXPECT_TRUE(Checked(CMD_TITLE_NAME));
  gVisibleTools = 0;
}

std::string ItemText(HMENU menu, int position) {
  char text[256] = "";
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST_F(MenuState, LayerListMarksTheCurrentLayerAndGreysHiddenOnes) {
  LayerRec* second = CreateLayer("Walls", 0, 1, nullptr);
  LayerRec* third = CreateLayer("Doors", 0, 1, nullptr);
  AppendLayerToDocument(second);
  AppendLayerToDocument(third);
  document_->currentLayer = third;
  // A maximized drawing puts its system-menu item first; the Layers menu is still found.
  InsertMenuA(gMainMenu, 0, MF_BYPOSITION | MF_STRING, 1, "system");
  UpdateLayerMenu();
  HMENU list = GetSubMenu(GetSubMenu(gMainMenu, kLayersMenu + 1), 0);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(GetMenuItemCount(list), 3);
  EXPECT_EQ(ItemText(list, 0), "Untitled");
  EXPECT_EQ(ItemText(list, 2), "Doors");
  EXPECT_EQ(GetMenuItemID(list, 0), static_cast<UINT>(CMD_FIRST_LAYER));
  EXPECT_EQ(GetMenuItemID(list, 2), static_cast<UINT>(CMD_FIRST_LAYER + 2));
  EXPECT_TRUE(GetMenuState(list, 2, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(list, 2, MF_BYPOSITION) & MF_GRAYED);  // the current layer is made visible
  EXPECT_EQ(third->visible, 1);
  EXPECT_TRUE(GetMenuState(list, 1, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(list, 0, MF_BYPOSITION) & MF_CHECKED);
}

TEST_F(MenuState, LayerItemsPickTheLayerByPosition) {
  LayerRec* second = CreateLayer("Walls", 1, 1, nullptr);
  AppendLayerToDocument(second);
  EXPECT_TRUE(DoCommand(nullptr, CMD_FIRST_LAYER + 1, nullptr));
  EXPECT_EQ(document_->currentLayer, second);
  EXPECT_TRUE(DoCommand(nullptr, CMD_FIRST_LAYER, nullptr));
  EXPECT_EQ(document_->currentLayer, document_->firstLayer);
  // No third layer: the item falls through to the active drawing window, and is not handled.
  EXPECT_FALSE(DoCommand(nullptr, CMD_FIRST_LAYER + 2, nullptr));
  EXPECT_EQ(document_->currentLayer, document_->firstLayer);
}

TEST_F(MenuState, CommandsNotBuiltAreHandledAndChangeNothing) {
  DocState before = *document_->docState;
  for (int id : {CMD_SNAP_TO_GRID, CMD_IMPORT_XYZ, CMD_DRAW_FROM_CENTER, CMD_FILL_COLOR, CMD_PEN_COLOR})
    EXPECT_TRUE(DoCommand(nullptr, id, nullptr)) << id;
  EXPECT_EQ(std::memcmp(&before, document_->docState, sizeof before), 0);
}

TEST_F(MenuState, EditingCommandsChangeTheDrawing) {
  LayerRec* layer = document_->currentLayer;
  auto count = [layer] {
    int n = 0;
    for (ObjectRec* o = layer->firstObject; o; o = o->nextObject) ++n;
    return n;
  };
  // "Draw Parallel" flips the setting and its check.
  EXPECT_TRUE(DoCommand(nullptr, CMD_DRAW_PARALLEL, nullptr));
  UpdateMenus();
  EXPECT_EQ(document_->docState->drawParallel, 1);
  EXPECT_TRUE(Checked(CMD_DRAW_PARALLEL));
  EXPECT_TRUE(DoCommand(nullptr, CMD_DRAW_PARALLEL, nullptr));
  EXPECT_EQ(document_->docState->drawParallel, 0);

  // Duplicate copies the selected line; Join welds the two into one; Unjoin splits it again.
  BuildLine(0, 0, 100, 0, layer, false);
  document_->docState->dupOffsetH = 0.0f;
  document_->docState->dupOffsetV = 100.0f / 72.0f;  // 100 page units down
  EXPECT_TRUE(DoCommand(nullptr, CMD_DUPLICATE, nullptr));
  ASSERT_EQ(count(), 2);
  ObjectRec* copy = layer->firstObject->nextObject;
  EXPECT_NEAR(copy->firstPoint->y, 100.0f, 1e-3);
  // The copy becomes (100, 0)-(100, 100), starting where the original ends.
  copy->firstPoint->x = 100.0f;
  copy->firstPoint->y = 0.0f;
  for (ObjectRec* o = layer->firstObject; o; o = o->nextObject)
    for (PointRec* p = o->firstPoint; p; p = p->nextPoint) p->selected = 1;
  // A Move record names the lines; joining them forgets it.
  BeginUndo(document_, kUndoMove);
  RecordUndoTranslate(0, 0);
  ASSERT_TRUE(UndoAvailable(document_));
  EXPECT_TRUE(DoCommand(nullptr, CMD_JOIN, nullptr));
  EXPECT_FALSE(UndoAvailable(document_));
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(layer->firstObject->kind, kPolyKind);
  for (PointRec* p = layer->firstObject->firstPoint; p; p = p->nextPoint) p->selected = 1;
  EXPECT_TRUE(DoCommand(nullptr, CMD_UNJOIN, nullptr));
  EXPECT_EQ(count(), 2);
}

TEST_F(MenuState, DimensionStyleCommandsSetTheDefaultsAndTheirChecks) {
  const DocState* state = document_->docState;
  FillArrowheadMenu();  // the arrowhead pictures are added at start-up
  auto run = [](int id) {
    EXPECT_TRUE(DoCommand(nullptr, id, nullptr)) << id;
    UpdateMenus();
  };
  run(5089);
  EXPECT_EQ(state->arrowStyle, 5089);
  EXPECT_EQ(state->dimFlags & kDimArrowBits, 1u << 3);
  EXPECT_TRUE(Checked(5089));
  EXPECT_FALSE(Checked(5086));
  EXPECT_FALSE(Grey(5089));
  run(5064);
  EXPECT_EQ(state->dimFlags & kDimReadoutBits, 1u << 18);
  EXPECT_TRUE(Checked(5064));
  EXPECT_FALSE(Checked(5060));
  run(CMD_ARROWS_OUT);
  EXPECT_TRUE(Checked(CMD_ARROWS_OUT));
  EXPECT_FALSE(Checked(CMD_ARROWS_IN));
  run(CMD_ARROWS_IN);
  EXPECT_TRUE(Checked(CMD_ARROWS_IN));
  EXPECT_FALSE(state->dimFlags & kDimArrowsOut);
  // Tolerance styles toggle, and one replaces another.
  run(CMD_SINGLE_TOLERANCE);
  EXPECT_TRUE(Checked(CMD_SINGLE_TOLERANCE));
  run(CMD_DOUBLE_TOLERANCE);
  EXPECT_TRUE(Checked(CMD_DOUBLE_TOLERANCE));
  EXPECT_FALSE(Checked(CMD_SINGLE_TOLERANCE));
  run(CMD_DOUBLE_TOLERANCE);
  EXPECT_FALSE(Checked(CMD_DOUBLE_TOLERANCE));
  EXPECT_EQ(state->toleranceStyle, CMD_NO_TOLERANCE);
  EXPECT_EQ(state->dimFlags & kDimToleranceBits, 0u);
  const bool centred = Checked(CMD_CENTER_TEXT);
  run(CMD_CENTER_TEXT);
  EXPECT_NE(Checked(CMD_CENTER_TEXT), centred);
  run(CMD_TEXT_FRAME);
  EXPECT_TRUE(Checked(CMD_TEXT_FRAME));
  run(CMD_TEXT_FRAME);
  EXPECT_FALSE(Checked(CMD_TEXT_FRAME));
}

// The style commands reach the selected dimensions too: the arrowheads of every dimension kind,
// arrows and frames of all but the leader, readouts and tolerances also through a selected label.
TEST_F(MenuState, DimensionStyleCommandsRestyleTheSelectedDimensions) {
  LayerRec* layer = document_->firstLayer;
  DocState* state = document_->docState;
  ObjectRec* selected = BuildLengthDim(0, 0, 100, 0, 50, 30, layer);
  ObjectRec* leader = BuildLeaderDim(0, 100, 40, 60, 80, 60, layer);
  ObjectRec* labelled = BuildOffsetDim(200, 0, 300, 50, 250, 90, layer, false);
  ObjectRec* untouched = BuildRadiusDim(400, 400, 450, 400, layer, 0, false);
  ASSERT_TRUE(selected && leader && labelled && untouched);
  for (ObjectRec* o : {labelled, untouched}) SetObjectSelectFlags(o, 0);
  SetObjectSelectFlags(DimInfoOf(untouched)->textObject, 0);
  // The offset dimension is reached through its selected label only; the length dimension's label
  // is not selected.
  SetObjectSelectFlags(DimInfoOf(selected)->textObject, 0);
  const uint32_t before = DimInfoOf(untouched)->dimFlags;
  auto flags = [](const ObjectRec* o) { return DimInfoOf(o)->dimFlags; };

  EXPECT_TRUE(DoCommand(nullptr, 5090, nullptr));
  EXPECT_EQ(flags(selected) & kDimArrowBits, 1u << 4);
  EXPECT_EQ(flags(leader) & kDimArrowBits, 1u << 4);
  EXPECT_TRUE(DoCommand(nullptr, CMD_ARROWS_OUT, nullptr));
  EXPECT_TRUE(flags(selected) & kDimArrowsOut);
  EXPECT_FALSE(flags(leader) & kDimArrowsOut);
  EXPECT_TRUE(DoCommand(nullptr, CMD_TEXT_FRAME, nullptr));
  EXPECT_EQ(flags(selected) & kDimTextFrame, state->dimFlags & kDimTextFrame);
  EXPECT_TRUE(DoCommand(nullptr, 5061, nullptr));
  EXPECT_EQ(flags(selected) & kDimReadoutBits, 1u << 15);
  EXPECT_EQ(flags(labelled) & kDimReadoutBits, 1u << 15);
  // A tolerance style toggles: on for the drawing and the selection, then off for both.
  EXPECT_TRUE(DoCommand(nullptr, CMD_LIMITING_TOLERANCE, nullptr));
  EXPECT_EQ(flags(selected) & kDimToleranceBits, 1u << 11);
  EXPECT_EQ(flags(labelled) & kDimToleranceBits, 1u << 11);
  EXPECT_TRUE(DoCommand(nullptr, CMD_LIMITING_TOLERANCE, nullptr));
  EXPECT_EQ(flags(selected) & kDimToleranceBits, 0u);
  // Centre text is for new dimensions only.
  const uint32_t kept = flags(selected);
  EXPECT_TRUE(DoCommand(nullptr, CMD_CENTER_TEXT, nullptr));
  EXPECT_EQ(flags(selected), kept);
  EXPECT_EQ(flags(untouched), before);
}

}  // namespace
