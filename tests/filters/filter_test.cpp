// The picture import filters as the program calls them: each library loaded from the build
// folder, ImportGr called on pictures ImageMagick wrote, the bounding box and units checked, and
// the returned metafile played into a bitmap and compared with ImageMagick's own pixels. Also the
// preview of our own EPS export, a TIFF preview, and files every filter must refuse.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/epspre.h"
#include "exchange/exporter.h"
#include "exchange/filterapi.h"
#include "render/metafile.h"
#include "tests/support/squaredoc.h"

namespace {

const std::string kPictures = std::string(DRX_BINARY_DIR) + "/filter_pictures/";
// Transparent pixels must show what was there before the picture.
constexpr uint32_t kBackground = 0x00FF00FFu;

std::vector<uint8_t> Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The library loaded from the build folder only, as the program loads it from its own.
class Filter {
 public:
  explicit Filter(const char* name) {
    const std::string path = std::string(DRX_BINARY_DIR) + "/" + name;
    char full[MAX_PATH];
    if (GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr))
      module_ = LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module_)
      import_ = reinterpret_cast<ImportGrProc>(reinterpret_cast<void*>(GetProcAddress(module_, "ImportGr")));
  }
  ~Filter() {
    if (module_) FreeLibrary(module_);
  }
  bool Loaded() const { return import_ != nullptr; }
  int16_t Import(const std::string& file, FilterPictRecord* pict) const {
    FilterFileRecord record;
    std::memset(&record, 0xAB, sizeof record);  // the bytes before the path are not set
    if (!GetFullPathNameA(file.c_str(), sizeof record.path, record.path, nullptr)) return -1;
    *pict = FilterPictRecord();
    return import_(nullptr, &record, pict, nullptr);  // our filters draw on no device
  }

 private:
  HMODULE module_ = nullptr;
  ImportGrProc import_ = nullptr;
};

HMETAFILE HandleOf(const FilterPictRecord& pict) {
  return reinterpret_cast<HMETAFILE>(static_cast<intptr_t>(static_cast<int32_t>(pict.metafile)));
}

// The metafile played into a width x height bitmap over the background, its frame filling it.
std::vector<uint32_t> Play(const FilterPictRecord& pict, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ saved = SelectObject(dc, bitmap);
  uint32_t* pixels = static_cast<uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) pixels[i] = kBackground;
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, pict.left, pict.top, nullptr);
  SetWindowExtEx(dc, pict.right - pict.left, pict.bottom - pict.top, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetViewportExtEx(dc, width, height, nullptr);
  EXPECT_TRUE(PlayMetaFile(dc, HandleOf(pict)));
  GdiFlush();
  std::vector<uint32_t> out(pixels, pixels + width * height);
  for (uint32_t& p : out) p &= 0x00FFFFFFu;
  SelectObject(dc, saved);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return out;
}

struct Reference {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

// The pictures the fixture wrote, by file name.
std::map<std::string, Reference> References() {
  std::map<std::string, Reference> pictures;
  std::ifstream list(kPictures + "pictures.txt");
  std::string name;
  Reference reference;
  while (list >> name >> reference.width >> reference.height) {
    reference.rgba = Slurp(kPictures + name.substr(0, name.rfind('.')) + ".rgba");
    pictures[name] = reference;
  }
  return pictures;
}

// Compares played pixels with the reference: transparent ones show the background, the others
// match within `tolerance` per component. Returns the largest difference seen.
int Compare(const std::vector<uint32_t>& played, const Reference& reference, int tolerance) {
  int largest = 0, wrong = 0;
  for (int i = 0; i < reference.width * reference.height; ++i) {
    const uint8_t* want = &reference.rgba[4 * static_cast<size_t>(i)];
    const uint32_t got = played[i];
    if (want[3] < 128) {
      if (got != kBackground && wrong++ < 3) ADD_FAILURE() << "pixel " << i << " should be transparent";
      continue;
    }
    const int channels[3] = {static_cast<int>(got >> 16 & 0xFF), static_cast<int>(got >> 8 & 0xFF),
                             static_cast<int>(got & 0xFF)};
    for (int c = 0; c < 3; ++c) {
      const int difference = std::abs(channels[c] - want[c]);
      if (difference > largest) largest = difference;
      if (difference > tolerance && wrong++ < 3)
        ADD_FAILURE() << "pixel " << i << " component " << c << ": " << channels[c] << " wanted "
                      << int{want[c]};
    }
  }
  return largest;
}

class FilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    references_ = References();
    if (references_.empty())
      GTEST_SKIP() << "no pictures in " << kPictures << " (ImageMagick or netpbm missing)";
  }
  std::map<std::string, Reference> references_;
};

TEST_F(FilterTest, EveryPictureVariantImportsWithItsPixels) {
  // JPEG: two decoders of one file may round the colour conversion and the chroma upsampling
  // differently by a level or two. (Here both use the same libjpeg and agree exactly.)
  constexpr int kJpegTolerance = 2;
  const struct Case {
    const char* file;
    const char* filter;
    int16_t unitsPerInch;
    int tolerance;
  } kCases[] = {
      {"bmp1.bmp", "BMP.FLT", 96, 0},
      {"bmp4.bmp", "BMP.FLT", 96, 0},
      {"bmp8.bmp", "BMP.FLT", 96, 0},
      {"bmp24.bmp", "BMP.FLT", 150, 0},
      {"bmp32.bmp", "BMP.FLT", 96, 0},
      {"gif.gif", "GIF.FLT", 96, 0},
      {"jpeg.jpg", "JPEG.FLT", 96, kJpegTolerance},
      {"jpeggrey.jpg", "JPEG.FLT", 96, kJpegTolerance},
      {"tiff.tif", "TIFF.FLT", 300, 0},
      {"pcx1.pcx", "PCX.FLT", 96, 0},
      {"pcx4.pcx", "PCX.FLT", 96, 0},
      {"pcx4packed.pcx", "PCX.FLT", 96, 0},
      {"pcx8.pcx", "PCX.FLT", 96, 0},
      {"pcx24.pcx", "PCX.FLT", 96, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file);
    ASSERT_EQ(references_.count(c.file), 1u);
    const Reference& reference = references_[c.file];
    Filter filter(c.filter);
    ASSERT_TRUE(filter.Loaded()) << c.filter;
    FilterPictRecord pict;
    ASSERT_EQ(filter.Import(kPictures + c.file, &pict), kFilterOK);
    EXPECT_EQ(pict.left, 0);
    EXPECT_EQ(pict.top, 0);
    EXPECT_EQ(pict.right, reference.width);
    EXPECT_EQ(pict.bottom, reference.height);
    EXPECT_EQ(pict.unitsPerInch, c.unitsPerInch);
    const int largest = Compare(Play(pict, reference.width, reference.height), reference, c.tolerance);
    std::printf("%s: largest difference %d\n", c.file, largest);
    DeleteMetaFile(HandleOf(pict));
  }
}

TEST_F(FilterTest, FilesThatCannotBeImportedAreRefusedWithTheirReason) {
  const struct Case {
    const char* file;
    const char* filter;
    int16_t want;
  } kCases[] = {
      {"missing.bmp", "BMP.FLT", kFilterCannotOpen},      {"missing.pcx", "PCX.FLT", kFilterCannotOpen},
      {"missing.eps", "EPSPRE.FLT", kFilterCannotOpen},   {"notapicture.bmp", "BMP.FLT", kFilterInvalidData},
      {"notapicture.bmp", "PCX.FLT", kFilterInvalidData}, {"cut.pcx", "PCX.FLT", kFilterIncomplete},
      {"cut.bmp", "BMP.FLT", kFilterIncomplete},          {"huge.bmp", "BMP.FLT", kFilterNoMemory},
      {"wide.bmp", "BMP.FLT", kFilterMetafileTooBig},     {"plain.eps", "EPSPRE.FLT", kFilterInvalidData},
      {"bmp24.bmp", "EPSPRE.FLT", kFilterInvalidData},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.file) + " through " + c.filter);
    Filter filter(c.filter);
    ASSERT_TRUE(filter.Loaded());
    FilterPictRecord pict;
    EXPECT_EQ(filter.Import(kPictures + c.file, &pict), c.want);
    EXPECT_EQ(pict.metafile, 0u);
  }
}

void Put32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST_F(FilterTest, TheTiffPreviewOfAnEpsFileIsSizedByItsBoundingBox) {
  const std::vector<uint8_t> tiff = Slurp(kPictures + "tiff.tif");
  const Reference& reference = references_["tiff.tif"];
  // Two pixels per point: 36 pixels per inch.
  const std::string postScript = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 10 20 " +
                                 std::to_string(10 + reference.width * 2) + " " +
                                 std::to_string(20 + reference.height * 2) + "\n";
  std::vector<uint8_t> file(kEpsBinaryHeaderSize + postScript.size() + tiff.size());
  std::memcpy(file.data() + kEpsBinaryHeaderSize, postScript.data(), postScript.size());
  std::memcpy(file.data() + kEpsBinaryHeaderSize + postScript.size(), tiff.data(), tiff.size());
  Put32(&file, 0, kEpsBinaryMagic);
  Put32(&file, 4, kEpsBinaryHeaderSize);
  Put32(&file, 8, static_cast<uint32_t>(postScript.size()));
  Put32(&file, 20, static_cast<uint32_t>(kEpsBinaryHeaderSize + postScript.size()));
  Put32(&file, 24, static_cast<uint32_t>(tiff.size()));
  const std::string path = kPictures + "tiffpreview.eps";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());

  Filter filter("EPSPRE.FLT");
  ASSERT_TRUE(filter.Loaded());
  FilterPictRecord pict;
  ASSERT_EQ(filter.Import(path, &pict), kFilterOK);
  EXPECT_EQ(pict.right, reference.width);
  EXPECT_EQ(pict.bottom, reference.height);
  EXPECT_EQ(pict.unitsPerInch, 36);
  Compare(Play(pict, reference.width, reference.height), reference, 0);
  DeleteMetaFile(HandleOf(pict));
}

std::vector<uint8_t> MetafileBits(HMETAFILE metafile) {
  std::vector<uint8_t> bits(GetMetaFileBitsEx(metafile, 0, nullptr));
  GetMetaFileBitsEx(metafile, static_cast<UINT>(bits.size()), bits.data());
  return bits;
}

TEST(EpsPreviewFilter, OurOwnEpsExportWithPreviewImportsItsPicture) {
  DocumentRec* document = CreateRectangleDocument(72, 72, 144, 144);
  ASSERT_NE(document, nullptr);
  HMETAFILE recorded = MakeMetaFile(nullptr);
  ASSERT_NE(recorded, nullptr);
  const std::vector<uint8_t> bits = MetafileBits(recorded);
  DeleteMetaFile(recorded);
  const std::string path = std::string(DRX_BINARY_DIR) + "/filter_own_preview.eps";
  ASSERT_TRUE(ExportFile(kExportEPS, path.c_str(), bits.data(), static_cast<uint32_t>(bits.size())))
      << ExportFailureText(gExportFailure);
  DeleteDocument(document);

  Filter filter("EPSPRE.FLT");
  ASSERT_TRUE(filter.Loaded());
  FilterPictRecord pict;
  ASSERT_EQ(filter.Import(path, &pict), kFilterOK);
  // The rectangle from 72 to 144 with the recorder's margin of 5, in points.
  EXPECT_EQ(pict.left, 67);
  EXPECT_EQ(pict.top, 67);
  EXPECT_EQ(pict.right, 149);
  EXPECT_EQ(pict.bottom, 149);
  EXPECT_EQ(pict.unitsPerInch, 72);
  EXPECT_EQ(MetafileBits(HandleOf(pict)), bits);
  // Played at one pixel per point, the rectangle's outline is there: its top edge is drawn.
  const std::vector<uint32_t> played = Play(pict, 82, 82);
  int drawn = 0;
  for (uint32_t pixel : played) drawn += pixel != kBackground;
  EXPECT_GT(drawn, 4 * 60);
  DeleteMetaFile(HandleOf(pict));
  std::remove(path.c_str());
}

}  // namespace
