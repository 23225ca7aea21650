// The shell's plain parts: child window layouts, captions, the help path, the command line, the
// command table, and the resources the shell finds by number or position.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "exchange/exporter.h"
#include "files/drxfile.h"
#include "resources/resids.h"
#include "resources/strings.h"
#include "shell/caption.h"
#include "shell/cmdids.h"
#include "shell/cmdtable.h"
#include "shell/filecmds.h"
#include "shell/filedlg.h"
#include "shell/layout.h"
#include "shell/shell.h"
#include "tools/filletdlgs.h"
#include "tools/undo.h"

namespace {

// A drawing window of 800 x 600 client pixels with 17-pixel scroll bars.
constexpr DrawingMetrics kMetrics = {800, 600, 17, 17};

// Every child rectangle of one window, for each toolbar and rulers setting and at creation. The
// neighbours at the bottom right share one border pixel, and the toolbar and the rulers each
// take 21 pixels from the pane.
TEST(DrawingLayout, EveryChildRectangle) {
  struct Row {
    bool toolbar, rulers;
    ChildRect mainPane, hRuler, vRuler, rulerUnit, vScroll;
  };
  const Row rows[] = {
      {true,
       true,
       {27, 48, 758, 537},
       {20, 20, 765, 22},
       {-1, 41, 22, 544},
       {-1, 20, 22, 22},
       {784, 20, 17, 565}},
      {true,
       false,
       {6, 27, 779, 558},
       {20, 20, 765, 22},
       {-1, 41, 22, 544},
       {-1, 20, 22, 22},
       {784, 20, 17, 565}},
      {false,
       true,
       {27, 27, 758, 558},
       {20, -1, 765, 22},
       {-1, 20, 22, 565},
       {-1, -1, 22, 22},
       {784, -1, 17, 586}},
      {false,
       false,
       {6, 6, 779, 579},
       {20, -1, 765, 22},
       {-1, 20, 22, 565},
       {-1, -1, 22, 22},
       {784, -1, 17, 586}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "toolbar " << row.toolbar << ", rulers " << row.rulers);
    const DrawingLayout l = ComputeDrawingLayout(kMetrics, row.toolbar, row.rulers);
    EXPECT_EQ(l.mainPane, row.mainPane);
    EXPECT_EQ(l.hRuler, row.hRuler);
    EXPECT_EQ(l.vRuler, row.vRuler);
    EXPECT_EQ(l.rulerUnit, row.rulerUnit);
    EXPECT_EQ(l.vScroll, row.vScroll);
    EXPECT_EQ(l.toolbar, (ChildRect{-1, -1, 802, 22}));
    EXPECT_EQ(l.hScroll, (ChildRect{174, 584, 611, 17}));
    EXPECT_EQ(l.sizeBox, (ChildRect{784, 584, 17, 17}));
    EXPECT_EQ(l.miscPane, (ChildRect{-1, 584, 176, 17}));
  }
  const DrawingLayout created = ComputeCreationLayout(kMetrics);
  EXPECT_EQ(created.mainPane, (ChildRect{20, 41, 765, 544}));
  EXPECT_EQ(created.hRuler, (ChildRect{20, 20, 785, 22}));
  EXPECT_EQ(created.vRuler, (ChildRect{-1, 41, 22, 585}));
  EXPECT_EQ(created.vScroll, (ChildRect{784, 20, 17, 565}));
}

std::string Caption(int16_t style, const char* file, const char* layer) {
  char caption[300] = "unchanged";
  if (!ComposeWindowCaption(style, file, "Untitled", layer, caption, sizeof caption)) return "(unchanged)";
  return caption;
}

TEST(WindowCaption, FourTitleStyles) {
  const char* path = "Z:\\tmp\\plan.drx";
  EXPECT_EQ(Caption(CMD_TITLE_NAME, path, "Walls"), path);
  EXPECT_EQ(Caption(CMD_TITLE_NAME_AXIS, path, "Walls"), std::string(path) + " (X-Y)");
  EXPECT_EQ(Caption(CMD_TITLE_AXIS, path, "Walls"), "X-Y");
  EXPECT_EQ(Caption(CMD_TITLE_LAYER, path, "Walls"), "Walls");
}

TEST(WindowCaption, UntitledForNoPathOrAPathOf245CharactersOrMore) {
  EXPECT_EQ(Caption(CMD_TITLE_NAME, nullptr, nullptr), "Untitled");
  EXPECT_EQ(Caption(CMD_TITLE_NAME_AXIS, nullptr, nullptr), "Untitled (X-Y)");
  const std::string longest(244, 'a'), tooLong(245, 'a');
  EXPECT_EQ(Caption(CMD_TITLE_NAME, longest.c_str(), nullptr), longest);
  EXPECT_EQ(Caption(CMD_TITLE_NAME, tooLong.c_str(), nullptr), "Untitled");
}

TEST(WindowCaption, LayerStyleWithoutLayerAndUnknownStylesLeaveTheCaption) {
  EXPECT_EQ(Caption(CMD_TITLE_LAYER, "x.drx", nullptr), "(unchanged)");
  EXPECT_EQ(Caption(5104, "x.drx", "Walls"), "(unchanged)");
  EXPECT_EQ(Caption(0, "x.drx", "Walls"), "(unchanged)");
}

TEST(HelpPath, FolderOfTheProgramPlusTheHelpFile) {
  char path[kHelpPathSize];
  ComposeHelpPath("C:\\Draxel\\Draxel.exe", "drxlwin.hlp", "fallback", path, sizeof path);
  EXPECT_STREQ(path, "C:\\Draxel\\drxlwin.hlp");
  ComposeHelpPath("A:Draxel.exe", "drxlwin.hlp", "fallback", path, sizeof path);
  EXPECT_STREQ(path, "A:drxlwin.hlp");
  // A folder that leaves fewer than 13 characters gets the fallback text instead.
  const std::string folder = "C:\\" + std::string(112, 'f') + "\\";  // 116 characters
  ComposeHelpPath((folder + "Draxel.exe").c_str(), "drxlwin.hlp", "FB", path, sizeof path);
  EXPECT_EQ(std::string(path), folder + "FB");
  const std::string shorter = "C:\\" + std::string(110, 'f') + "\\";  // 114 + 13 < 128
  ComposeHelpPath((shorter + "Draxel.exe").c_str(), "drxlwin.hlp", "FB", path, sizeof path);
  EXPECT_EQ(std::string(path), shorter + "drxlwin.hlp");
}

// Every command identifier of the menus and of the commands without a menu item.
const int kAllCommandIds[] = {
    5148, 3,    4,    5,    6,    5116, 5097, 5110, 5115, 5114, 5117, 5118, 5119, 5121, 5120, 5095, 5096,
    5098, 5104, 5000, 5001, 5149, 5002, 8,    5109, 9,    1,    16,   18,   19,   20,   21,   5003, 5004,
    5005, 5006, 5008, 5007, 5034, 5035, 5036, 5037, 5038, 5039, 5040, 5041, 5043, 5042, 5009, 22,   5010,
    5147, 5011, 5012, 5013, 5014, 5044, 5045, 5046, 5140, 5141, 5142, 5143, 5047, 5048, 5086, 5087, 5088,
    5089, 5090, 5091, 5092, 5052, 5050, 5054, 5055, 5056, 5057, 5016, 5017, 5018, 5019, 5134, 5058, 5059,
    5060, 5061, 5062, 5063, 5064, 5065, 5066, 102,  5021, 5022, 5023, 5024, 5105, 5106, 5025, 5026, 5027,
    5028, 5029, 5030, 5100, 5101, 5102, 5103, 5067, 5068, 5069, 5070, 5071, 5099, 30,   41,   40,   42,
    5111, 5112, 5113, 2,    9000, 5080, 5081, 5082, 5083, 5084, 5144};

TEST(CommandTable, HoldsEveryCommandOnceAndNothingElse) {
  size_t count = 0;
  const CommandEntry* table = GetCommandTable(&count);
  std::set<int> ids;
  for (size_t i = 0; i < count; ++i)
    EXPECT_TRUE(ids.insert(table[i].id).second) << "duplicate " << table[i].id;
  const std::set<int> expected(std::begin(kAllCommandIds), std::end(kAllCommandIds));
  EXPECT_EQ(ids, expected);
  EXPECT_EQ(FindCommand(10001), nullptr);  // layer items are dispatched before the table
  EXPECT_EQ(FindCommand(25000), nullptr);  // window-list items go to the frame's default handling
}

TEST(CommandTable, TheShellsOwnCommandsAreBuilt) {
  for (int id :
       {CMD_NEW, CMD_OPEN, CMD_CLOSE, CMD_SAVE, CMD_SAVE_AS, CMD_OPEN_SYMBOL, CMD_SAVE_SYMBOL, CMD_EXIT,
        CMD_NEW_WINDOW, CMD_CLOSE_ALL, CMD_TITLE_NAME, CMD_TITLE_LAYER, CMD_MENU_BAR, CMD_RULERS, CMD_ABOUT})
    EXPECT_TRUE(IsCommandBuilt(id)) << id;
}

HMENU FindSubMenuWithCommand(HMENU menu, int id) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (static_cast<int>(GetMenuItemID(menu, i)) == id) return menu;
    if (HMENU sub = GetSubMenu(menu, i))
      if (HMENU found = FindSubMenuWithCommand(sub, id)) return found;
  }
  return nullptr;
}

class ShellResources : public ::testing::Test {
 protected:
  void SetUp() override { gAppInstance = GetModuleHandleA(nullptr); }
};

TEST_F(ShellResources, MenuBarCarriesEveryMenuCommandWhereTheCodeLooksForIt) {
  HMENU menu = LoadMenuA(gAppInstance, MAKEINTRESOURCEA(IDR_MAINMENU));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 8);
  const int withoutMenuItem[] = {CMD_NEW_WINDOW, 5080, 5081, 5082, 5083, 5084, CMD_FIT_TO_DRAWING,
                                 5086,           5087, 5088, 5089, 5090, 5091, 5092};
  for (int id : kAllCommandIds) {
    if (std::find(std::begin(withoutMenuItem), std::end(withoutMenuItem), id) != std::end(withoutMenuItem))
      continue;
    EXPECT_NE(FindSubMenuWithCommand(menu, id), nullptr) << "no menu item for " << id;
  }
  HMENU layout = GetSubMenu(menu, kLayoutMenu);
  HMENU arrows = GetSubMenu(GetSubMenu(layout, 11), 2);
  ASSERT_NE(arrows, nullptr);
  EXPECT_EQ(GetMenuItemID(arrows, 0), static_cast<UINT>(CMD_CLOSE_ALL));  // the placeholder
  EXPECT_EQ(FindSubMenuWithCommand(GetSubMenu(GetSubMenu(menu, kEditMenu), 14), CMD_NUDGE_RATE),
            GetSubMenu(GetSubMenu(menu, kEditMenu), 14));
  EXPECT_NE(GetSubMenu(GetSubMenu(menu, kLayersMenu), 0), nullptr);
  EXPECT_EQ(FindSubMenuWithCommand(GetSubMenu(menu, kWindowMenu), CMD_TITLE_LAYER) != nullptr, true);
  DestroyMenu(menu);
}

TEST_F(ShellResources, StringTableTextsTheCodeAndUsersRelyOn) {
  char text[256];
  EXPECT_STREQ(LoadStr(STR_UNTITLED, text, sizeof text), "Untitled");
  EXPECT_STREQ(LoadStr(STR_SAVE_CHANGES, text, sizeof text), "Save changes before closing?");
  EXPECT_STREQ(LoadStr(STR_SUFFIX_INCH, text, sizeof text), "\"");
  EXPECT_STREQ(LoadStr(STR_SCALE_INCH, text, sizeof text), "\" = ");
  EXPECT_STREQ(LoadStr(STR_FILTER_DRX, text, sizeof text), "Draxel Files|*.drx|");
  EXPECT_STREQ(LoadStr(STR_UNTITLED_SYM, text, sizeof text), "Untitled.SYM");
  EXPECT_STREQ(LoadStr(STR_UNDO, text, sizeof text), "Undo");
  // Each Redo text sits one number below its Undo text.
  for (int id = STR_REDO_MOVE; id < STR_UNDO; id += 2) {
    char redo[64], undo[64];
    LoadStr(id, redo, sizeof redo);
    LoadStr(id + 1, undo, sizeof undo);
    EXPECT_EQ(std::string("Redo") + (redo + 4), redo);
    EXPECT_EQ(std::string("Undo") + (redo + 4), undo) << id;
  }
  // The file messages take the path and then the reason.
  for (int id : {STR_READ_FAILED, STR_WRITE_FAILED, STR_READ_DAMAGED}) {
    LoadStr(id, text, sizeof text);
    const char* first = std::strstr(text, "%s");
    ASSERT_NE(first, nullptr) << id;
    EXPECT_NE(std::strstr(first + 2, "%s"), nullptr) << id;
    EXPECT_EQ(std::strstr(std::strstr(first + 2, "%s") + 2, "%"), nullptr) << id;
  }
}

// Every failure code reaches the user in the string table's words, with the place of a damage
// and the number a reason names filled in.
TEST_F(ShellResources, FailureCodesBecomeTheStringTablesWords) {
  char text[512];
  for (int code = 1; code < static_cast<int>(DrxReason::kCount); ++code) {
    const DrxFailure failure = {static_cast<DrxReason>(code), DrxPart::kSettings, 1874, 77};
    LoadDrxFailureText(failure, text, sizeof text);
    EXPECT_GT(std::strlen(text), 10u) << code;
    EXPECT_EQ(std::strchr(text, '%'), nullptr) << text;
    if (IsDrxDamage(failure.reason) && failure.reason != DrxReason::kNoEndTag) {
      EXPECT_NE(std::strstr(text, "settings block at byte 1874"), nullptr) << text;
    }
  }
  LoadDrxFailureText({DrxReason::kUnknownKind, DrxPart::kRecord, 200, 9}, text, sizeof text);
  EXPECT_STREQ(text, "The record at byte 200 has an unknown kind 9.");
  LoadDrxFailureText({DrxReason::kUnsupportedVersion, DrxPart::kRecord, 0, 120}, text, sizeof text);
  EXPECT_NE(std::strstr(text, "(120)"), nullptr) << text;
  for (int code = 1; code < static_cast<int>(ExportReason::kCount); ++code) {
    LoadExportFailureText({static_cast<ExportReason>(code), 0}, text, sizeof text);
    EXPECT_GT(std::strlen(text), 10u) << code;
    EXPECT_EQ(std::strchr(text, '%'), nullptr) << text;
  }
  ExportFailure beyond = {ExportReason::kBeyondRange, 0, 3, "Walls", kRectKind, kExportHPGL};
  LoadExportFailureText(beyond, text, sizeof text);
  EXPECT_STREQ(text, "Object 3 of layer \"Walls\" (a rectangle) lies beyond the coordinates HPGL can hold.");
}

TEST_F(ShellResources, FilterListsBecomeDescriptionPatternPairs) {
  char filter[256];
  const int ids[] = {STR_FILTER_DRX, STR_FILTER_SYM};
  BuildFilter(ids, 2, filter, sizeof filter);
  const char expected[] = "Draxel Files\0*.drx\0Symbol Files\0*.sym\0";
  EXPECT_EQ(std::memcmp(filter, expected, sizeof expected), 0);
  // A list too long for the buffer keeps the parts that fit and still ends with two NULs.
  char small[24];
  BuildFilter(ids, 2, small, sizeof small);
  EXPECT_STREQ(small, "Draxel Files");
  EXPECT_STREQ(small + 13, "*.drx");
  EXPECT_EQ(small[19], '\0');
}

TEST(UndoItem, TextsByKindAndDirection) {
  bool enabled = true;
  EXPECT_EQ(UndoItemText(false, 7, false, &enabled), STR_UNDO);
  EXPECT_FALSE(enabled);
  EXPECT_EQ(UndoItemText(true, -1, false, &enabled), STR_UNDO);
  EXPECT_EQ(UndoItemText(true, 12, false, &enabled), STR_UNDO);
  EXPECT_FALSE(enabled);
  EXPECT_EQ(UndoItemText(true, 7, false, &enabled), STR_UNDO_MOVE);
  EXPECT_TRUE(enabled);
  EXPECT_EQ(UndoItemText(true, 7, true, &enabled), STR_REDO_MOVE);
  EXPECT_EQ(UndoItemText(true, 11, false, &enabled), 124);
  EXPECT_EQ(UndoItemText(true, 13, true, &enabled), 125);
  EXPECT_EQ(UndoItemText(true, 19, false, &enabled), STR_UNDO_SPLINE);
  EXPECT_EQ(UndoItemText(true, 20, false, &enabled), kUndoClearText);
  EXPECT_EQ(UndoItemText(true, 20, true, &enabled), kRedoClearText);
  EXPECT_EQ(UndoItemText(true, 21, false, &enabled), STR_UNDO);
  EXPECT_EQ(UndoItemText(true, kUndoFillet, true, &enabled), STR_REDO_FILLET);
  EXPECT_EQ(UndoItemText(true, kUndoTrim, false, &enabled), STR_UNDO_TRIM);
  EXPECT_TRUE(enabled);
}

}  // namespace
