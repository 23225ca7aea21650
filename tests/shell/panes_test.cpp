// The toolboxes' and panes' arithmetic: the panes of each toolbox, where a dragged toolbox may
// go, the pattern chart's cells, the toolbar's buttons, the misc pane's texts and the readouts.
// Runs without a display; the string table is this program's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "geometry/units.h"
#include "model/docstate.h"
#include "shell/cmdids.h"
#include "shell/panes.h"
#include "shell/shell.h"
#include "tests/toolfixture.h"
#include "tools/toolstate.h"

namespace {

DocState MakeState(int16_t screenUnit, float screenScale, int16_t worldUnit, float worldScale, float zoom) {
  DocState state;
  std::memset(&state, 0, sizeof state);
  state.screenUnit = screenUnit;
  state.screenScale = screenScale;
  state.worldUnit = worldUnit;
  state.worldScale = worldScale;
  state.zoomFactor = zoom;
  state.readoutStyle = kFirstReadoutStyle + 2;  // "0.00"
  ComputeScaleFactor(&state);
  return state;
}

// The client sizes of the toolboxes as the frame creates them (dialog frames of 3 pixels).
struct ToolboxCase {
  ToolboxInfo info;
  int clientWidth, clientHeight;
  int panes;
};

TEST(ToolboxLayout, EveryToolboxHasItsTitleBarAndOnePanePerToolInsideIt) {
  const ToolboxCase cases[] = {
      {{kEditToolbox, 200, 10}, 30, 194, 12},  {{kDrawToolbox, 300, 7}, 30, 143, 9},
      {{kDimToolbox, 400, 6}, 30, 126, 8},     {{kSnapToolbox, 500, 10}, 30, 194, 12},
      {{kReadoutToolbox, 600, 1}, 463, 34, 3}, {{kPatternToolbox, 900, 1}, 83, 264, 3},
  };
  for (const ToolboxCase& c : cases) {
    SCOPED_TRACE(c.info.toolbox);
    PaneSpec specs[kMaxToolboxPanes];
    ASSERT_EQ(ComputeToolboxPanes(c.info, c.clientWidth, c.clientHeight, specs, kMaxToolboxPanes), c.panes);
    std::set<int> ids;
    for (int i = 0; i < c.panes; ++i) {
      ids.insert(specs[i].id);
      // Every pane but the readout pane (which hangs one pixel over the top edge) lies inside.
      if (specs[i].id != kReadoutPaneId) {
        EXPECT_GE(specs[i].x, 0);
        EXPECT_GE(specs[i].y, 0);
      }
      // The readout pane is wider than its toolbox; its last field still shows whole.
      constexpr int kLastReadoutFieldRight = 441;
      const int right =
          specs[i].id == kReadoutPaneId ? specs[i].x + kLastReadoutFieldRight : specs[i].x + specs[i].width;
      EXPECT_LE(right, c.clientWidth + 1) << specs[i].id;
    }
    EXPECT_EQ(ids.size(), static_cast<size_t>(c.panes)) << "pane ids repeat";
    EXPECT_TRUE(ids.count(kCloseBoxId) && ids.count(kDragBarId));
  }
  // The tools run down from (3, 20) in steps of 17, with their own ids.
  PaneSpec specs[kMaxToolboxPanes];
  ComputeToolboxPanes({kEditToolbox, 200, 10}, 30, 194, specs, kMaxToolboxPanes);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(specs[2 + i].id, 200 + i);
    EXPECT_EQ(specs[2 + i].x, 3);
    EXPECT_EQ(specs[2 + i].y, 20 + 17 * i);
    EXPECT_EQ(specs[2 + i].width, 23);
    EXPECT_EQ(specs[2 + i].height, 18);
  }
  // The last tool ends inside the toolbox.
  EXPECT_LE(specs[11].y + specs[11].height, 194);
  // A horizontal title bar: drag bar then close box at the right; the readouts' stands at the left.
  EXPECT_EQ(specs[0].id, kDragBarId);
  EXPECT_EQ(specs[0].width, 30 - 18);
  EXPECT_EQ(specs[1].x, 30 - 18);
  ComputeToolboxPanes({kReadoutToolbox, 600, 1}, 463, 34, specs, kMaxToolboxPanes);
  EXPECT_EQ(specs[0].id, kCloseBoxId);
  EXPECT_EQ(specs[1].id, kDragBarId);
  EXPECT_EQ(specs[1].height, 34 - 15);
  EXPECT_EQ(specs[2].x, 16);
  // Unknown toolboxes have no panes; a short buffer is never overrun.
  EXPECT_EQ(ComputeToolboxPanes({6, 0, 0}, 30, 30, specs, kMaxToolboxPanes), 0);
  PaneSpec two[2];
  EXPECT_EQ(ComputeToolboxPanes({kEditToolbox, 200, 10}, 30, 194, two, 2), 2);
  EXPECT_EQ(ToolboxPaneClass(kSnapToolbox), std::string("SnapPaneClass"));
  EXPECT_EQ(ToolboxBit(kDimToolbox), kDimToolsBit);
  EXPECT_EQ(ToolboxBit(kSnapToolbox), kSnapToolsBit);
}

TEST(ToolboxLayout, ADraggedToolboxKeepsItsDragBarWithinReach) {
  const RECT area = {0, 0, 1000, 700};
  struct Case {
    RECT box, bar;  // bar: the drag bar in the same coordinates
    RECT expected;
  };
  const Case cases[] = {
      // Anywhere inside stays where it is.
      {{100, 100, 136, 300}, {104, 104, 116, 119}, {100, 100, 136, 300}},
      // Dragged far off each edge: a grip of the bar comes back.
      {{-5000, 100, -4964, 300}, {-4996, 104, -4984, 119}, {-4, 100, 32, 300}},
      {{5000, 100, 5036, 300}, {5004, 104, 5016, 119}, {984, 100, 1020, 300}},
      {{100, -900, 136, -700}, {104, -896, 116, -881}, {100, -4, 136, 196}},
      {{100, 5000, 136, 5200}, {104, 5004, 116, 5019}, {100, 681, 136, 881}},
      // A vertical bar (the readouts): all its width stays in, and a grip of its height.
      {{-800, 50, -331, 90}, {-796, 69, -781, 88}, {-4, 50, 465, 90}},
  };
  for (const Case& c : cases) {
    const RECT kept = KeepToolboxReachable(c.box, c.bar, area);
    EXPECT_EQ(kept.left, c.expected.left);
    EXPECT_EQ(kept.top, c.expected.top);
    EXPECT_EQ(kept.right, c.expected.right);
    EXPECT_EQ(kept.bottom, c.expected.bottom);
  }
}

TEST(PatternChart, CellsMapToPatternsAndTheEdgesStayInTheChart) {
  struct Case {
    int x, y;
    int16_t pattern;
  };
  const Case cases[] = {
      {0, 0, kNoFill}, {14, 14, kNoFill}, {15, 0, 2},   {74, 0, 5},    {0, 15, 6},
      {37, 52, 18},    {74, 239, 80},     {75, 0, 5},   {75, 240, 80}, {0, 240, 76},
      {200, 900, 80},  {-3, -3, kNoFill}, {-3, 30, 11}, {30, -3, 3},
  };
  for (const Case& c : cases) EXPECT_EQ(PatternAtPoint(c.x, c.y), c.pattern) << c.x << "," << c.y;
  // The highlight cell of a pattern is the cell a click chooses it in; nothing for no such pattern.
  for (int16_t pattern : {kNoFill, int16_t{2}, int16_t{11}, int16_t{43}, int16_t{80}}) {
    const RECT cell = PatternCellRect(pattern);
    EXPECT_EQ(PatternAtPoint(cell.left + 7, cell.top + 7), pattern);
    EXPECT_EQ(cell.right - cell.left, kPatternCell + 1);
  }
  for (int16_t missing : {int16_t{1}, int16_t{81}, int16_t{-4}}) {
    const RECT cell = PatternCellRect(missing);
    EXPECT_TRUE(IsRectEmpty(&cell)) << missing;
  }
}

TEST(Toolbar, ButtonsByPositionWithTheirCommands) {
  struct Case {
    int x, y;
    ToolbarAction action;
    int command;
  };
  const Case cases[] = {
      {7, 1, ToolbarAction::kCommand, CMD_MIRROR_HORIZONTAL},
      {54, 19, ToolbarAction::kCommand, CMD_FLIP_VERTICAL},
      {55, 10, ToolbarAction::kCommand, CMD_FLIP_HORIZONTAL},
      {90, 10, ToolbarAction::kFrameCommand, CMD_GROUP},
      {160, 10, ToolbarAction::kCommand, CMD_UNLOCK},
      {230, 10, ToolbarAction::kDropper, 0},
      {275, 10, ToolbarAction::kCommand, CMD_FILL_COLOR},
      {305, 17, ToolbarAction::kCommand, CMD_PEN_COLOR},
      {330, 10, ToolbarAction::kCommand, CMD_GRID_LINES},
      {350, 10, ToolbarAction::kCommand, CMD_SNAP_TO_GRID},
      {370, 10, ToolbarAction::kCommand, CMD_AXIS_LINES},
      {400, 10, ToolbarAction::kCommand, CMD_FIT_TO_WINDOW},
      {434, 10, ToolbarAction::kCommand, CMD_ACTUAL_SIZE},
      {480, 10, ToolbarAction::kToolboxMenu, 0},
  };
  for (const Case& c : cases) {
    const ToolbarButton* button = ToolbarButtonAt(c.x, c.y);
    ASSERT_NE(button, nullptr) << c.x;
    EXPECT_EQ(button->action, c.action) << c.x;
    EXPECT_EQ(button->command, c.command) << c.x;
  }
  // Gaps between the groups, above and below the buttons, and beside the swatches.
  for (POINT p : {POINT{3, 10}, POINT{30, 10}, POINT{20, 0}, POINT{20, 20}, POINT{275, 2}, POINT{290, 10},
                  POINT{450, 10}, POINT{495, 10}})
    EXPECT_EQ(ToolbarButtonAt(p.x, p.y), nullptr) << p.x << "," << p.y;
}

TEST(Toolbar, GroupAndLockIndicatorStates) {
  EXPECT_EQ(GroupIndicatorState(0, 0), 0);
  EXPECT_EQ(GroupIndicatorState(3, 3), 1);
  EXPECT_EQ(GroupIndicatorState(3, 1), 2);
  EXPECT_EQ(LockIndicatorState(0, 0), 0);
  EXPECT_EQ(LockIndicatorState(2, 2), 1);
  EXPECT_EQ(LockIndicatorState(2, 1), 1);
  EXPECT_EQ(LockIndicatorState(2, 0), 2);
}

TEST(ToolCursor, ZoomCrossOrArrowByTool) {
  EXPECT_EQ(CursorForTool(kZoomTool), ToolCursor::kZoom);
  for (int tool : {kTextTool, kTrimTool, kRectTool, kSplineTool, kLeaderDimTool})
    EXPECT_EQ(CursorForTool(tool), ToolCursor::kCross) << tool;
  for (int tool : {kStandardTool, kPointTool, kRotateTool, kChamferTool})
    EXPECT_EQ(CursorForTool(tool), ToolCursor::kArrow) << tool;
}

class MiscPaneTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    gAppInstance = GetModuleHandleA(nullptr);
    savedDecimal_ = gDecimalMark;
    savedThousand_ = gThousandMark;
  }
  void TearDown() override {
    gDecimalMark = savedDecimal_;
    gThousandMark = savedThousand_;
  }
  char savedDecimal_ = '.', savedThousand_ = ',';
};

TEST_F(MiscPaneTexts, ZoomPercentages) {
  char text[32];
  const std::pair<float, const char*> cases[] = {
      {1.0f, "100%"}, {0.5f, "50%"}, {2.0f, "200%"}, {0.126f, "13%"}, {33.0f, "3300%"}};
  for (const auto& c : cases) {
    DocState state = MakeState(kUnitInches, 1.0f, kUnitInches, 1.0f, c.first);
    GetZoomString(&state, text, sizeof text);
    EXPECT_STREQ(text, c.second);
  }
  GetZoomString(nullptr, text, sizeof text);
  EXPECT_STREQ(text, "");
}

TEST_F(MiscPaneTexts, ScaleTextsInEveryUnitAndUnitCodesFromDamagedFiles) {
  struct Case {
    int16_t unit;
    const char* expected;
  };
  const Case cases[] = {
      {kUnitInches, "1.00\" = 2.50\""},
      {kUnitFeet, "1.00' = 2.50'"},
      {kUnitYards, "1.00yd = 2.50yd"},
      {kUnitMiles, "1.00mi = 2.50mi"},
      {kUnitMillimetres, "1.00mm =2.50mm"},
      {kUnitCentimetres, "1.00cm = 2.50cm"},
      {kUnitDecimetres, "1.00dm = 2.50dm"},
      {kUnitMetres, "1.00m = 2.50m"},
      // Codes outside 1..8 read from a file take the nearest unit instead of reading past the tables.
      {0, "1.00\" = 2.50\""},
      {-300, "1.00\" = 2.50\""},
      {9, "1.00m = 2.50m"},
      {32767, "1.00m = 2.50m"},
  };
  char text[64];
  for (const Case& c : cases) {
    DocState state = MakeState(c.unit, 1.0f, c.unit, 2.5f, 1.0f);
    GetScaleString(&state, text, sizeof text);
    EXPECT_STREQ(text, c.expected) << c.unit;
  }
  // The user's marks, and a buffer too small for the text is cut, not overrun.
  gDecimalMark = ',';
  gThousandMark = '.';
  DocState state = MakeState(kUnitMillimetres, 1.0f, kUnitMetres, 100.0f, 1.0f);
  GetScaleString(&state, text, sizeof text);
  EXPECT_STREQ(text, "1,00mm =100,00m");
  char small[8];
  std::memset(small, 'x', sizeof small);
  state.worldScale = 1e30f;
  GetScaleString(&state, small, sizeof small);
  EXPECT_EQ(std::strlen(small), sizeof small - 1);
}

TEST(Readouts, LengthsInTheDrawingsUnitsWithTheZoomTakenOutOnce) {
  // Feet at 1 inch = 4 feet: 72 page units are 4 feet; at zoom 2 a tool passes 144 for them.
  DocState state = MakeState(kUnitInches, 1.0f, kUnitFeet, 4.0f, 2.0f);
  char text[32];
  struct Case {
    ReadoutField field;
    float value, partner;
    bool drawn;
    const char* expected;
  };
  const Case cases[] = {
      {kReadX, 144.0f, 0, true, "4.00"},
      {kReadY, 0.0f, 0, true, "0.00"},  // positions are shown even at zero
      {kReadWidth, -144.0f, 0, true, "4.00"},
      {kReadHeight, 0.0f, 144, false, ""},
      {kReadRadius, 144.0f, 0, true, "4.00"},  // the zoom comes out once, not twice
      {kReadDiameter, 288.0f, 0, true, "8.00"},
      {kReadDiameter, -0.0f, 0, false, ""},
      {kReadAngle, 45.5f, 0, true, "45.50"},
      {kReadAngle, 0.0f, 0, false, ""},
      {kReadXScale, 100.0f, 100.0f, false, ""},
      {kReadXScale, 100.0f, 50.0f, true, "100%"},
      {kReadYScale, 250.7f, 100.0f, true, "250%"},
      {kReadYScale, 1e30f, 100.0f, true, "1000000000%"},
      {kReadX, NAN, 0, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    EXPECT_EQ(FormatReadout(c.field, c.value, c.partner, &state, text, sizeof text), c.drawn);
    EXPECT_STREQ(text, c.expected);
  }
  EXPECT_FALSE(FormatReadout(kReadX, 1.0f, 0, nullptr, text, sizeof text));
  // Huge values from a damaged drawing: one that overflows on its way to world units leaves the
  // field empty; one that does not fills the text without overrunning it.
  EXPECT_FALSE(FormatReadout(kReadX, 3e38f, 0, &state, text, sizeof text));
  char small[6];
  EXPECT_TRUE(FormatReadout(kReadX, 1e30f, 0, &state, small, sizeof small));
  EXPECT_EQ(std::strlen(small), sizeof small - 1);
}

}  // namespace

namespace {

// The panes acting on a drawing: message-only windows stand in for the tool buttons.
class PanesOnADrawing : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    for (HWND& pane : panes_) {
      pane = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
      ASSERT_NE(pane, nullptr);
    }
    gCurToolPane = panes_[0];
  }
  void TearDown() override {
    gCurToolPane = nullptr;
    gPointOrientation = 0;
    for (HWND pane : panes_) DestroyWindow(pane);
    ToolTest::TearDown();
  }
  HWND panes_[2] = {};
};

TEST_F(PanesOnADrawing, APatternClickFillsTheSelectionAndIsRecorded) {
  ObjectRec* chosen = Rect(10, 10, 50, 50);
  ObjectRec* other = Rect(60, 10, 90, 50);
  SetObjectSelectFlags(chosen, 1);
  const int16_t pattern = PatternAtPoint(kPatternColumns * kPatternCell, kPatternRows * kPatternCell);
  ChoosePattern(pattern);
  EXPECT_EQ(gPattern, 80);
  EXPECT_EQ(chosen->fillPattern, 80);
  EXPECT_EQ(other->fillPattern, kNoFill);
  EXPECT_EQ(doc_->docState->selectionState.pattern, 80);
  EXPECT_TRUE(doc_->docState->selectionState.patternUniform);
  ChoosePattern(PatternAtPoint(0, 0));
  EXPECT_EQ(chosen->fillPattern, kNoFill);
}

TEST_F(PanesOnADrawing, LeavingThePointToolSelectsWholeObjects) {
  ObjectRec* shape = Rect(10, 10, 50, 50);
  gCurTool = kPointTool;
  gPointOrientation = 1;
  shape->firstPoint->selected = 1;  // one corner picked with the point tool
  ChooseToolPane(panes_[1], kRotateTool);
  EXPECT_EQ(gCurTool, kRotateTool);
  EXPECT_EQ(gCurToolPane, panes_[1]);
  EXPECT_EQ(gPointOrientation, 0);
  for (PointRec* p = shape->firstPoint; p; p = p->nextPoint) EXPECT_TRUE(p->selected);
  // Choosing the trim tool turns point orientation on again; the current pane again does nothing.
  ChooseToolPane(panes_[0], kTrimTool);
  EXPECT_EQ(gPointOrientation, 1);
  ChooseToolPane(panes_[0], kStandardTool);
  EXPECT_EQ(gCurTool, kTrimTool);
}

}  // namespace
