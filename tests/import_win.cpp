// Import through the filter libraries on Windows: DXF.FLT as the program loads it, a copy of it
// planted in the current folder (never loaded), the same library dropped beside the program
// under another name (loaded, as a third party's filter would be), the picture mode, and the
// failures the program must tell apart.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/records.h"
#include "model/seam.h"
#include "tools/dxfmptr.h"
#include "tools/extract1.h"

namespace {

constexpr char kSquareDxf[] =
    "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n90\n4\n70\n1\n10\n0\n20\n0\n10\n72\n20\n0\n10\n72\n20\n72\n10\n0"
    "\n20\n72\n"
    "0\nCIRCLE\n10\n36\n20\n36\n40\n20\n0\nTEXT\n1\nlabel\n0\nENDSEC\n0\nEOF\n";

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of("\\/"));
}

std::string TempFolder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string folder = std::string(temp) + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteText(const std::string& path, const char* text) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
  CloseHandle(file);
}

class FilterImport : public ::testing::Test {
 protected:
  void SetUp() override {
    doc_ = CreateDocument();
    ASSERT_NE(doc_, nullptr);
    gCurDocument = doc_;
    gFilterName = kSourceDXF;
    folder_ = TempFolder("drx-filter-test");
    dxf_ = folder_ + "\\square.dxf";
    WriteText(dxf_, kSquareDxf);
  }
  void TearDown() override {
    DeleteDocument(doc_);
    gCurDocument = nullptr;
  }
  int CountObjects() const {
    int n = 0;
    for (ObjectRec* o = doc_->currentLayer->firstObject; o; o = o->nextObject) ++n;
    return n;
  }
  DocumentRec* doc_ = nullptr;
  std::string folder_, dxf_;
};

TEST_F(FilterImport, DxfFilterBesideTheProgramMakesObjects) {
  ASSERT_EQ(ImportThroughFilter("DXF.FLT", dxf_.c_str(), kImportObjects, nullptr, nullptr), kFilterOK);
  EXPECT_EQ(CountObjects(), 2);
  EXPECT_EQ(gImportNote, "Not imported: 1 TEXT.");
}

TEST_F(FilterImport, PlantedFilterInTheCurrentFolderIsNotLoaded) {
  const std::string planted = folder_ + "\\PLANTED.FLT";
  ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\DXF.FLT").c_str(), planted.c_str(), FALSE));
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
  const int16_t result = ImportThroughFilter("PLANTED.FLT", dxf_.c_str(), kImportObjects, nullptr, nullptr);
  SetCurrentDirectoryA(previous);
  DeleteFileA(planted.c_str());
  EXPECT_EQ(result, kFilterMissing);
  EXPECT_EQ(CountObjects(), 0);
}

TEST_F(FilterImport, ThirdPartyFilterBesideTheProgramIsLoaded) {
  const std::string beside = ProgramFolder() + "\\THIRDPTY.FLT";
  ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\DXF.FLT").c_str(), beside.c_str(), FALSE));
  const int16_t result = ImportThroughFilter("THIRDPTY.FLT", dxf_.c_str(), kImportObjects, nullptr, nullptr);
  DeleteFileA(beside.c_str());
  EXPECT_EQ(result, kFilterOK);
  EXPECT_EQ(CountObjects(), 2);
}

TEST_F(FilterImport, PictureModePlacesOnePictureThatOwnsTheMetafile) {
  ASSERT_EQ(ImportThroughFilter("DXF.FLT", dxf_.c_str(), kImportPicture, nullptr, nullptr), kFilterOK);
  ASSERT_EQ(CountObjects(), 1);
  const ObjectRec* picture = doc_->currentLayer->firstObject;
  ASSERT_EQ(picture->kind, kMetaFileKind);
  const MetaInfo* info = MetaInfoOf(picture);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->mapMode, kPictureMapMode);
  EXPECT_GT(info->unitsPerInch, 0);
  EXPECT_GT(GetMetaPictBits(info->metaFile, nullptr, 0), 0u);
  // The square is one inch: its frame is one inch at the picture's units per inch.
  EXPECT_NEAR(info->frameRight - info->frameLeft, info->unitsPerInch, 2);
}

TEST_F(FilterImport, FailuresAreToldApart) {
  EXPECT_EQ(ImportThroughFilter("NOSUCH.FLT", dxf_.c_str(), kImportObjects, nullptr, nullptr),
            kFilterMissing);
  EXPECT_EQ(ImportThroughFilter("CDR.FLT", dxf_.c_str(), kImportObjects, nullptr, nullptr), kFilterMissing);
  EXPECT_EQ(
      ImportThroughFilter("DXF.FLT", (folder_ + "\\missing.dxf").c_str(), kImportObjects, nullptr, nullptr),
      kFilterCannotOpen);
  const std::string broken = folder_ + "\\broken.dxf";
  WriteText(broken, "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx\n20\n0\n11\n1\n21\n1\n0\nENDSEC\n0\nEOF\n");
  EXPECT_EQ(ImportThroughFilter("DXF.FLT", broken.c_str(), kImportObjects, nullptr, nullptr),
            kFilterInvalidData);
  // A library that is no filter (it has no ImportGr).
  EXPECT_EQ(ImportThroughFilter("kernel32.dll", dxf_.c_str(), kImportObjects, nullptr, nullptr),
            kFilterCorrupt);
  EXPECT_EQ(CountObjects(), 0);
}

}  // namespace
