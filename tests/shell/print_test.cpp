// The print job without its dialogs: pages made, faults reported and the job abandoned, Cancel,
// and the paper and printing resources. Jobs that need a printer use the prefix's PostScript
// file printer (cmake/wine-run.sh installs it) and are skipped where there is none.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "geometry/papersize.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "render/drawhdlr.h"
#include "resources/resids.h"
#include "resources/strings.h"
#include "shell/drxprint.h"
#include "shell/shell.h"

namespace {

struct PrintDrawingFixture : ::testing::Test {
  DocumentRec* document = nullptr;
  void SetUp() override {
    gAppInstance = GetModuleHandleA(nullptr);
    document = CreateDocument();
    ASSERT_NE(document, nullptr);
  }
  void TearDown() override {
    DeleteDocument(document);
    gPageWidth = gPageHeight = 0;
  }
  void AddLine(float x1, float y1, float x2, float y2) {
    FloatRect bounds = kEmptyRect;
    ObjectRec* line = CreateObject(kLineKind, 0, 1, &kWhite16, &kBlack16, 2.0f, kSolidLineType, kNoFill,
                                   &bounds, nullptr, nullptr, nullptr, document->firstLayer, nullptr);
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, x1, y1, 0, 0, line), line);
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, x2, y2, 0, 0, line), line);
    UpdateObjectBounds(line);
    AppendObjectToLayer(line, document->firstLayer);
  }
};

// The prefix's file printer, or null (the test is then skipped).
HDC FilePrinter() {
  return CreateDCA("WINEPS.DRV", "Draxel PostScript", nullptr, nullptr);
}

std::string OutputPath(const char* name) {
  return std::string(DRX_BINARY_DIR) + "/" + name;
}

// "%%Page:" lines of a PostScript file: its pages.
int CountPostScriptPages(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return -1;
  int pages = 0;
  char line[512];
  while (std::fgets(line, sizeof line, file))
    if (std::strncmp(line, "%%Page:", 7) == 0) ++pages;
  std::fclose(file);
  return pages;
}

bool gStopAtPage2 = false;
bool StopAtSecondPage(int32_t page, int32_t) {
  return !(gStopAtPage2 && page == 2);
}

TEST_F(PrintDrawingFixture, NoContextOrADeviceWithoutPagesIsRefusedBeforeAnyJob) {
  AddLine(10, 10, 100, 100);
  EXPECT_EQ(PrintDrawing(nullptr, document, "x", nullptr, 1, nullptr).fault, PrintFault::kNoDevice);
  // A memory context answers with the screen's page and resolution but is no printer: the job
  // cannot start, and says so.
  HDC screen = CreateCompatibleDC(nullptr);
  const PrintResult result = PrintDrawing(screen, document, "x", nullptr, 1, nullptr);
  EXPECT_EQ(result.fault, PrintFault::kStartDoc);
  EXPECT_EQ(result.pages, 0);
  DeleteDC(screen);
}

TEST_F(PrintDrawingFixture, AnEmptyDrawingOrOneOffTheSheetStartsNoJob) {
  HDC screen = CreateCompatibleDC(nullptr);
  EXPECT_EQ(PrintDrawing(screen, document, "x", nullptr, 1, nullptr).fault, PrintFault::kNothingToPrint);
  AddLine(-900, -900, -800, -800);
  EXPECT_EQ(PrintDrawing(screen, document, "x", nullptr, 1, nullptr).fault, PrintFault::kNothingToPrint);
  DeleteDC(screen);
}

TEST_F(PrintDrawingFixture, TilesOfTheDrawingBecomePagesAndTheRestIsSkipped) {
  HDC printer = FilePrinter();
  if (!printer) GTEST_SKIP() << "no file printer in this prefix";
  // Letter on letter: 2 x 2 tiles; the drawing's bounds lie in the top row only.
  AddLine(50, 50, 200, 200);
  AddLine(600, 100, 610, 110);
  const std::string path = OutputPath("print-test-tiles.ps");
  std::remove(path.c_str());
  const PrintResult result = PrintDrawing(printer, document, "tiles", path.c_str(), 2, nullptr);
  DeleteDC(printer);
  EXPECT_EQ(result.fault, PrintFault::kNone);
  EXPECT_EQ(result.pages, 4);  // two pages of the top row, two copies
  EXPECT_EQ(CountPostScriptPages(path), 4);
  // The page-break display now shows this printer's page: letter less a quarter inch each side.
  EXPECT_EQ(gPageWidth, 576);
  EXPECT_EQ(gPageHeight, 756);
}

TEST_F(PrintDrawingFixture, CancelAbandonsTheJobAndSaysSo) {
  HDC printer = FilePrinter();
  if (!printer) GTEST_SKIP() << "no file printer in this prefix";
  AddLine(50, 50, 700, 780);  // all four tiles
  const std::string path = OutputPath("print-test-cancel.ps");
  std::remove(path.c_str());
  gStopAtPage2 = true;
  const PrintResult result = PrintDrawing(printer, document, "cancel", path.c_str(), 1, StopAtSecondPage);
  gStopAtPage2 = false;
  DeleteDC(printer);
  EXPECT_EQ(result.fault, PrintFault::kCancelled);
  EXPECT_EQ(result.pages, 1);
  EXPECT_EQ(result.failedPage, 2);
}

TEST_F(PrintDrawingFixture, AnOutputThatCannotBeWrittenIsAFailureNotAJobDone) {
  HDC printer = FilePrinter();
  if (!printer) GTEST_SKIP() << "no file printer in this prefix";
  AddLine(50, 50, 200, 200);
  const std::string path = OutputPath("no-such-folder/print.ps");
  const PrintResult result = PrintDrawing(printer, document, "nowhere", path.c_str(), 1, nullptr);
  DeleteDC(printer);
  EXPECT_NE(result.fault, PrintFault::kNone);
  EXPECT_NE(result.fault, PrintFault::kCancelled);
}

TEST(PrintResources, DialogsAndTextsExist) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (int dialog : {IDD_PAPER_SIZE, IDD_PLOT, IDD_PRINTING})
    EXPECT_NE(FindResourceA(instance, MAKEINTRESOURCEA(dialog), MAKEINTRESOURCEA(5)), nullptr) << dialog;
  char text[128];
  gAppInstance = instance;
  // Every paper list text and unit the dialog fills its lists with.
  for (int id = STR_PAPER_ARCH_FIRST; id < STR_PAPER_UNIT_FIRST + 3; ++id)
    EXPECT_STRNE(LoadStr(id, text, sizeof text), "") << id;
  EXPECT_STREQ(LoadStr(STR_PAPER_ARCH_FIRST + 4, text, sizeof text), "E:         36'' x 48''");
  EXPECT_STREQ(LoadStr(STR_PAPER_METRIC_FIRST + 4, text, sizeof text), "DIN A0:  841mm x 1189mm");
  EXPECT_STREQ(LoadStr(STR_PRINTING, text, sizeof text), "Printing In Progress...");
  EXPECT_EQ(PaperFamilySize(kPaperArchitectural), STR_PAPER_MECH_FIRST - STR_PAPER_ARCH_FIRST);
  EXPECT_EQ(PaperFamilySize(kPaperMechanical), STR_PAPER_METRIC_FIRST - STR_PAPER_MECH_FIRST);
  EXPECT_EQ(PaperFamilySize(kPaperMetric), STR_PAPER_OVERSIZE_FIRST - STR_PAPER_METRIC_FIRST);
  EXPECT_EQ(PaperFamilySize(kPaperOversize), STR_PAPER_UNIT_FIRST - STR_PAPER_OVERSIZE_FIRST);
}

}  // namespace
