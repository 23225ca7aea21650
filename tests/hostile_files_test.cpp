// Files a user (or another program) set up against us: drawings far beyond what an export
// format holds, read-only targets, folders where a file should be, temporaries of a save that
// was killed. Each case checks what is on the disk afterwards.
#include <gtest/gtest.h>

#include <cctype>
#include <cfloat>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/epsxptr.h"
#include "exchange/exporter.h"
#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "model/seam.h"
#include "tests/textfiles.h"

namespace {

namespace fs = std::filesystem;

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::u8path(path), error);
}

// True when the text holds a number the C library printed from an infinity or a NaN.
bool HoldsNonFinite(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* word : {"nan", "inf"}) {
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
      const bool letterBefore = at > 0 && std::isalpha(static_cast<unsigned char>(text[at - 1]));
      if (!letterBefore) return true;
    }
  }
  return false;
}

class HostileFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::string(DRX_BINARY_DIR) + "/hostile-" + test->name();
#ifdef _WIN32
    if (folder_[0] == '/') folder_ = "Z:" + folder_;
#endif
    std::error_code error;
    fs::remove_all(fs::u8path(folder_), error);
    fs::create_directories(fs::u8path(folder_), error);
    ASSERT_NE(CreateDocument(), nullptr);
  }
  void TearDown() override {
    DeleteDocument(gCurDocument);
    std::error_code error;
    MakeWritable(folder_);
    fs::remove_all(fs::u8path(folder_), error);
  }
  static void MakeWritable(const std::string& root) {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(fs::u8path(root), error); !error && it != fs::end(it);
         it.increment(error))
      fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, error);
  }
  std::string Path(const std::string& name) const {
    return folder_ + "/" + name;
  }

  // A closed rectangle of the current layer from (left, top) to (right, bottom).
  ObjectRec* AddRect(float left, float top, float right, float bottom) {
    ObjectRec* rect = CreateObject(kRectKind, 1, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill,
                                   &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
    const float corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    for (const auto& corner : corners)
      AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, corner[0], corner[1], 0, 0, rect), rect);
    UpdateObjectBounds(rect);
    AppendObjectToLayer(rect, gCurDocument->firstLayer);
    return rect;
  }

  std::string folder_;
};

// ---- Exports of far coordinates ---------------------------------------------------------------

TEST_F(HostileFilesTest, FarCoordinatesAreWrittenWhereTheFormatHoldsThemAndRefusedElsewhere) {
  const struct {
    float far;
    bool dxf, hpgl, eps;  // written (true) or refused
  } kCases[] = {
      {3e9f, true, false, false},   {-3e9f, true, false, false},   {1e30f, true, false, false},
      {-1e30f, true, false, false}, {FLT_MAX, true, false, false}, {5e7f, true, true, true},
      {1e6f, true, true, true},
  };
  const struct {
    int16_t type;
    const char* name;
  } kFormats[] = {{kExportDXF, "DXF"}, {kExportHPGL, "HPGL"}, {kExportEPS, "EPS"}};
  for (const auto& c : kCases) {
    DeleteDocument(gCurDocument);
    ASSERT_NE(CreateDocument(), nullptr);
    AddRect(0, 0, 10, 10);
    AddRect(20, 20, c.far, c.far);
    for (const auto& format : kFormats) {
      SCOPED_TRACE(std::to_string(c.far) + " " + format.name);
      const std::string path = Path(std::string("far.") + format.name);
      SpillText(path, "kept");
      const bool written = ExportFile(format.type, path.c_str());
      const bool expected = format.type == kExportDXF ? c.dxf : format.type == kExportHPGL ? c.hpgl : c.eps;
      EXPECT_EQ(written, expected) << ExportFailureText(gExportFailure);
      EXPECT_FALSE(Exists(path + kSaveTemporarySuffix));
      const std::string text = SlurpText(path);
      EXPECT_FALSE(HoldsNonFinite(text));
      if (written) continue;
      EXPECT_EQ(text, "kept") << "a refused export leaves the file that was there";
      // The mirrored drawing puts both objects far out; the first one is named.
      EXPECT_NE(ExportFailureText(gExportFailure).find("object 1 of layer \"Untitled\" (a rectangle)"),
                std::string::npos)
          << ExportFailureText(gExportFailure);
      EXPECT_NE(ExportFailureText(gExportFailure).find(format.name), std::string::npos)
          << ExportFailureText(gExportFailure);
      // The record names the same object for the program's own message.
      EXPECT_EQ(gExportFailure.reason, ExportReason::kBeyondRange);
      EXPECT_EQ(gExportFailure.objectNumber, 1);
      EXPECT_STREQ(gExportFailure.layerName, "Untitled");
      EXPECT_EQ(gExportFailure.objectKind, kRectKind);
      EXPECT_EQ(gExportFailure.format, format.type);
    }
  }
}

TEST_F(HostileFilesTest, AMirrorThatOverflowsIsRefusedByEveryFormat) {
  // Both objects are finite, but their middle is not: the flip would write infinities.
  AddRect(0, -FLT_MAX, 10, -FLT_MAX / 2);
  AddRect(0, FLT_MAX / 2, 10, FLT_MAX);
  for (int16_t type : {kExportDXF, kExportHPGL, kExportEPS}) {
    const std::string path = Path("overflow." + std::to_string(type));
    EXPECT_FALSE(ExportFile(type, path.c_str()));
    EXPECT_FALSE(Exists(path));
    EXPECT_FALSE(Exists(path + kSaveTemporarySuffix));
  }
}

TEST_F(HostileFilesTest, TheEpsBoundingBoxIsAlwaysAnInteger) {
  AddRect(-3e9f, -1e30f, 3e9f, 1e30f);
  ExportStream stream = {};
  long box[4];
  GetEPSBoundingBox(&stream, box);
  for (long edge : box) {
    EXPECT_LE(edge, static_cast<long>(kEPSLargestUnit));
    EXPECT_GE(edge, -static_cast<long>(kEPSLargestUnit));
  }
  EXPECT_LT(box[0], 0);
  EXPECT_GT(box[2], 0);
}

// ---- Saving over what is there ----------------------------------------------------------------

TEST_F(HostileFilesTest, AReadOnlyTargetIsRefusedAndKept) {
  AddRect(0, 0, 10, 10);
  const std::string drawing = Path("locked.drx"), exported = Path("locked.dxf");
  for (const std::string& path : {drawing, exported}) {
    SpillText(path, "old");
    fs::permissions(fs::u8path(path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  EXPECT_FALSE(DrxFileWrite(drawing.c_str()));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "is read-only");
  EXPECT_FALSE(ExportFile(kExportDXF, exported.c_str()));
  EXPECT_EQ(ExportFailureText(gExportFailure), "is read-only");
  for (const std::string& path : {drawing, exported}) {
    EXPECT_EQ(SlurpText(path), "old");
    EXPECT_EQ(fs::status(fs::u8path(path)).permissions() & fs::perms::owner_write, fs::perms::none)
        << "the file stays read-only";
    EXPECT_FALSE(Exists(path + kSaveTemporarySuffix));
  }
}

TEST_F(HostileFilesTest, FoldersAreRefusedAsInputsAndTargets) {
  AddRect(0, 0, 10, 10);
  const std::string folder = Path("a-folder.drx");
  fs::create_directories(fs::u8path(folder));
  EXPECT_FALSE(DrxFileRead(folder.c_str()));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "is not a regular file");
  EXPECT_FALSE(DrxFileWrite(folder.c_str()));
  EXPECT_EQ(DrxFailureText(gDrxFileFailure), "is not a regular file");
  EXPECT_FALSE(ExportFile(kExportEPS, folder.c_str()));
  EXPECT_EQ(ExportFailureText(gExportFailure), "is not a regular file");
  EXPECT_TRUE(fs::is_directory(fs::u8path(folder)));
  EXPECT_TRUE(fs::is_empty(fs::u8path(folder)));
  EXPECT_FALSE(Exists(folder + kSaveTemporarySuffix));
}

TEST_F(HostileFilesTest, AStaleTemporaryIsReplacedAndNeverTakenForTheDrawing) {
  AddRect(0, 0, 10, 10);
  const std::string drawing = Path("plan.drx"), exported = Path("plan.plt");
  for (const std::string& path : {drawing, exported}) {
    SpillText(path, "old");
    // What a save killed midway leaves: the start of a drawing under the temporary's name.
    SpillText(path + kSaveTemporarySuffix, "half a drawing");
  }
  ASSERT_TRUE(DrxFileWrite(drawing.c_str())) << DrxFailureText(gDrxFileFailure);
  ASSERT_TRUE(ExportFile(kExportHPGL, exported.c_str())) << ExportFailureText(gExportFailure);
  for (const std::string& path : {drawing, exported}) EXPECT_FALSE(Exists(path + kSaveTemporarySuffix));
  EXPECT_NE(SlurpText(exported).find("PD "), std::string::npos);
  DeleteDocument(gCurDocument);
  ASSERT_NE(CreateDocument(), nullptr);
  ASSERT_TRUE(DrxFileRead(drawing.c_str())) << DrxFailureText(gDrxFileFailure);
  ASSERT_NE(gCurDocument->firstLayer->firstObject, nullptr);
  EXPECT_EQ(gCurDocument->firstLayer->firstObject->kind, kRectKind);
  // Only the one temporary name is ever used: nothing else was left in the folder.
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(fs::u8path(folder_))) files += entry.is_regular_file();
  EXPECT_EQ(files, 2u);
}

// ---- Loading many layers ----------------------------------------------------------------------

TEST_F(HostileFilesTest, LayersKeepTheirOrderWhateverTailTheyAreLinkedAfter) {
  // The reader links after the last layer it added; a tail that is not last, or none, still
  // appends at the end.
  LayerRec* first = gCurDocument->firstLayer;
  LayerRec* second = CreateLayer("second", 1, 1, nullptr);
  LayerRec* third = CreateLayer("third", 1, 1, nullptr);
  LayerRec* fourth = CreateLayer("fourth", 1, 1, nullptr);
  LinkLayerAfter(second, first);
  LinkLayerAfter(third, first);  // stale: second is last
  LinkLayerAfter(fourth, nullptr);
  std::vector<std::string> names;
  for (const LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer) {
    names.push_back(layer->name);
    if (layer->nextLayer) {
      EXPECT_EQ(layer->nextLayer->prevLayer, layer);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Untitled", "second", "third", "fourth"}));
  EXPECT_EQ(gCurDocument->currentLayer, first);

  // A drawing of many layers reads back in order, and a second read into the same document
  // starts a fresh list rather than following the last read's tail.
  const std::string path = Path("layers.drx");
  ASSERT_TRUE(DrxFileWrite(path.c_str())) << DrxFailureText(gDrxFileFailure);
  for (int read = 0; read < 2; ++read) {
    ASSERT_TRUE(DrxFileRead(path.c_str())) << DrxFailureText(gDrxFileFailure);
    std::vector<std::string> again;
    for (const LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer)
      again.push_back(layer->name);
    EXPECT_EQ(again, names);
  }
}

}  // namespace
