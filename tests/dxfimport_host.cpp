// DXF files through the DXF filter's reader and the record conversion, as the import puts them
// into a drawing: files written by ezdxf with every entity kind, nested blocks and every version
// header, compared with the extents ezdxf computes; the DXF files of another program's library;
// our own DXF export read back; and files the reader must refuse.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/dxfread.h"
#include "exchange/exporter.h"
#include "geometry/gnrlmath.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/pthndlr.h"
#include "tools/buildobj.h"
#include "tools/extract1.h"

namespace {

constexpr char kDebianPython[] = "/usr/bin/python3";
constexpr char kLibreCadLibrary[] = "/usr/share/librecad/library";

std::string Scratch(const std::string& name) {
  const std::string dir = std::string(DRX_BINARY_DIR) + "/dxfimport-test";
  mkdir(dir.c_str(), 0755);
  return dir + "/" + name;
}

class DxfImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc_ = CreateDocument();
    ASSERT_NE(doc_, nullptr);
    gCurDocument = doc_;
    gFilterName = kSourceDXF;
  }
  void TearDown() override {
    DeleteDocument(doc_);
    gCurDocument = nullptr;
  }
  // Imports the file into the drawing's current layer; the reader's result.
  int16_t Import(const std::string& path, DxfImport* dxf) {
    int16_t result = ReadDxfFile(path.c_str(), dxf);
    if (result == kFilterOK)
      result = ExtractWMFEntities(dxf->metafile.data(), dxf->metafile.size(), &dxf->picture);
    return result;
  }
  // The bounds of what the figures draw: their curves sampled finely, without the centre points
  // that arcs carry (the drawing's own bounds take those in).
  FloatRect LayerBounds() const {
    FloatRect r = kEmptyRect;
    auto take = [&r](float x, float y) {
      r.left = std::min(r.left, x), r.right = std::max(r.right, x);
      r.top = std::min(r.top, y), r.bottom = std::max(r.bottom, y);
    };
    for (const ObjectRec* o = doc_->currentLayer->firstObject; o; o = o->nextObject) {
      std::vector<const PointRec*> points;
      for (const PointRec* p = o->firstPoint; p; p = p->nextPoint)
        if (p->pointKind != kArcCentrePoint) points.push_back(p);
      if (o->closed && !points.empty()) points.push_back(points.front());
      for (size_t i = 0; i < points.size(); ++i) {
        take(points[i]->x, points[i]->y);
        for (int step = 1; i + 1 < points.size() && step < 64; ++step) {
          float x = 0, y = 0;
          GetSplineCoordinate(points[i], points[i + 1], step / 64.0f, &x, &y);
          take(x, y);
        }
      }
    }
    return r;
  }
  int CountObjects() const {
    int n = 0;
    for (ObjectRec* o = doc_->currentLayer->firstObject; o; o = o->nextObject) ++n;
    return n;
  }
  DocumentRec* doc_ = nullptr;
};

TEST_F(DxfImportTest, EzdxfDrawingsKeepTheirExtents) {
  if (std::system((std::string(kDebianPython) + " -c 'import ezdxf' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "python3-ezdxf is not installed (scripts/packages.sh installs it)";
  const std::string dir = Scratch("ezdxf");
  const std::string command =
      std::string(kDebianPython) + " " + DRX_SOURCE_DIR + "/tests/import/make_dxf.py " + dir;
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream list(dir + "/extents.txt");
  std::string line;
  int files = 0;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    std::string name;
    double minX, minY, maxX, maxY;
    int units, figures;
    ASSERT_TRUE(fields >> name >> minX >> minY >> maxX >> maxY >> units >> figures) << line;
    SCOPED_TRACE(name);
    DeleteLayerObjects(doc_->currentLayer);
    DxfImport dxf;
    ASSERT_EQ(Import(dir + "/" + name + ".dxf", &dxf), kFilterOK) << dxf.failure;
    ++files;
    const double extent = std::max(maxX - minX, maxY - minY);
    // ezdxf and the reader both flatten splines and turned ellipses: they agree to a thousandth.
    const double readerTolerance = extent * 1e-3;
    EXPECT_NEAR(dxf.minX, minX, readerTolerance);
    EXPECT_NEAR(dxf.maxX, maxX, readerTolerance);
    EXPECT_NEAR(dxf.minY, minY, readerTolerance);
    EXPECT_NEAR(dxf.maxY, maxY, readerTolerance);
    if (name.rfind("kinds", 0) == 0) {
      EXPECT_EQ(dxf.note, "Not imported: 1 TEXT.");
    }
    // On the sheet: drawing units to page units (millimetres or inches), within the metafile's
    // quantisation (two units) and the drawing's own sampling of curves (half a percent).
    // R12 headers have no units: the drawing is read in the sheet's own unit.
    const bool unitless = name.find("R12") != std::string::npos;
    const double pagePerUnit = unitless ? 72.0 / kDxfUnitlessPerInch : units == 4 ? 72.0 / 25.4 : 72.0;
    const double quantum = 72.0 / dxf.picture.unitsPerInch;
    const double tolerance = 2.0 * quantum + extent * pagePerUnit * 5e-3;
    const FloatRect r = LayerBounds();
    EXPECT_NEAR(r.right - r.left, (maxX - minX) * pagePerUnit, tolerance);
    EXPECT_NEAR(r.bottom - r.top, (maxY - minY) * pagePerUnit, tolerance);
    EXPECT_GE(CountObjects(), figures);
  }
  EXPECT_EQ(files, 14);
}

TEST_F(DxfImportTest, AnotherProgramsLibraryImportsInsideItsBounds) {
  std::vector<std::string> files;
  std::vector<std::string> folders = {kLibreCadLibrary};
  while (!folders.empty()) {
    const std::string folder = folders.back();
    folders.pop_back();
    DIR* d = opendir(folder.c_str());
    if (!d) continue;
    while (dirent* entry = readdir(d)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "/" + name;
      struct stat info;
      if (stat(path.c_str(), &info) != 0) continue;
      if (S_ISDIR(info.st_mode))
        folders.push_back(path);
      else if (name.size() > 4 &&
               (name.substr(name.size() - 4) == ".dxf" || name.substr(name.size() - 4) == ".DXF"))
        files.push_back(path);
    }
    closedir(d);
  }
  if (files.empty()) GTEST_SKIP() << "no DXF library of another program is installed (librecad-data)";
  std::sort(files.begin(), files.end());
  int imported = 0;
  for (size_t i = 0; i < files.size(); i += 7) {
    SCOPED_TRACE(files[i]);
    DeleteLayerObjects(doc_->currentLayer);
    DxfImport dxf;
    const int16_t result = Import(files[i], &dxf);
    if (result != kFilterOK) {
      // Refusals say why; a drawing with nothing that comes across is the only one expected.
      EXPECT_FALSE(dxf.failure.empty());
      continue;
    }
    ++imported;
    const double s = 72.0 / dxf.picture.unitsPerInch;
    const FloatRect r = LayerBounds();
    const double slack = 2.0 * s + 0.01 * std::max(dxf.picture.right, dxf.picture.bottom) * s;
    EXPECT_GE(r.left, dxf.picture.left * s - slack);
    EXPECT_GE(r.top, dxf.picture.top * s - slack);
    EXPECT_LE(r.right, dxf.picture.right * s + slack);
    EXPECT_LE(r.bottom, dxf.picture.bottom * s + slack);
  }
  EXPECT_GT(imported, 0);
}

TEST_F(DxfImportTest, OurOwnExportComesBackAsTheSameLines) {
  BuildRect(100, 100, 300, 200, doc_->currentLayer, false);
  BuildLine(50, 400, 250, 450, doc_->currentLayer, false);
  std::vector<std::pair<float, float>> before;
  for (ObjectRec* o = doc_->currentLayer->firstObject; o; o = o->nextObject)
    for (PointRec* p = o->firstPoint; p; p = p->nextPoint) before.push_back({p->x, p->y});
  const std::string path = Scratch("own.dxf");
  ASSERT_TRUE(ExportFile(kExportDXF, path.c_str()));
  DeleteLayerObjects(doc_->currentLayer);
  DxfImport dxf;
  ASSERT_EQ(Import(path, &dxf), kFilterOK) << dxf.failure;
  // One line per segment: the rectangle's four and the line.
  ASSERT_EQ(CountObjects(), 5);
  std::vector<std::pair<float, float>> after;
  for (ObjectRec* o = doc_->currentLayer->firstObject; o; o = o->nextObject)
    for (PointRec* p = o->firstPoint; p; p = p->nextPoint) after.push_back({p->x, p->y});
  // Same places once both are moved to the same corner (the import does not know where the
  // export's sheet was).
  auto normalise = [](std::vector<std::pair<float, float>>* points) {
    float minX = 1e30f, minY = 1e30f;
    for (auto& p : *points) minX = std::min(minX, p.first), minY = std::min(minY, p.second);
    for (auto& p : *points)
      p = {std::round((p.first - minX) * 100) / 100, std::round((p.second - minY) * 100) / 100};
    std::sort(points->begin(), points->end());
    points->erase(std::unique(points->begin(), points->end()), points->end());
  };
  normalise(&before);
  normalise(&after);
  EXPECT_EQ(before, after);
}

TEST_F(DxfImportTest, UnsoundFilesAreRefusedWithTheirReason) {
  struct Case {
    const char* text;
    int16_t result;
  } cases[] = {
      {"", kFilterInvalidData},
      {"hello\nworld\n", kFilterInvalidData},
      {"AutoCAD Binary DXF\r\n\x1a", kFilterInvalidData},
      {"0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n0\n20\n0\n11\n5\n21\n5\n", kFilterIncomplete},
      {"0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nabc\n20\n0\n11\n5\n21\n5\n0\nENDSEC\n0\nEOF\n",
       kFilterInvalidData},
      {"0\nSECTION\n2\nENTITIES\n0\nTEXT\n1\nhi\n0\nENDSEC\n0\nEOF\n", kFilterInvalidData},
      // A block that inserts itself.
      {"0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n0\n20\n0\n0\nINSERT\n2\nB\n0\nLINE\n10\n0\n20\n0\n11\n1\n2"
       "1\n1\n"
       "0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB\n0\nENDSEC\n0\nEOF\n",
       kFilterInvalidData},
      // A sound one, with CR LF lines and padded codes.
      {"  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n 10\r\n0.0\r\n 20\r\n0\r\n 11\r\n+5\r\n "
       "21\r\n5e0\r\n"
       "  0\r\nENDSEC\r\n  0\r\nEOF\r\n",
       kFilterOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    DxfImport dxf;
    EXPECT_EQ(ReadDxf(c.text, std::strlen(c.text), &dxf), c.result);
    EXPECT_EQ(dxf.failure.empty(), c.result == kFilterOK) << dxf.failure;
  }
  DxfImport missing;
  EXPECT_EQ(ReadDxfFile(Scratch("no such file.dxf").c_str(), &missing), kFilterCannotOpen);
}

}  // namespace
