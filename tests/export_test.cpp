// Export to DXF, HPGL and EPS: what the walk writes, the mirrored output of the export commands,
// the fixed texts, the binary EPS with its preview, and failures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/epsxptr.h"
#include "exchange/exporter.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objedit.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) {
  return std::ifstream(path).good();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

struct Segment {
  double x1, y1, x2, y2;
};

// The LINE entities of a DXF file, read as group code and value pairs.
std::vector<Segment> DxfLines(const std::string& text) {
  const std::vector<std::string> lines = SplitLines(text);
  std::vector<Segment> segments;
  for (size_t i = 0; i + 1 < lines.size(); i += 2) {
    if (std::stoi(lines[i]) != 0 || lines[i + 1] != "LINE") continue;
    Segment s = {};
    for (size_t j = i + 2; j + 1 < lines.size() && std::stoi(lines[j]) != 0; j += 2) {
      const int code = std::stoi(lines[j]);
      const double value = std::stod(lines[j + 1]);
      if (code == 10) s.x1 = value;
      if (code == 20) s.y1 = value;
      if (code == 11) s.x2 = value;
      if (code == 21) s.y2 = value;
    }
    segments.push_back(s);
  }
  return segments;
}

size_t CountLinesEqualTo(const std::string& text, const std::string& wanted) {
  size_t count = 0;
  for (const std::string& line : SplitLines(text)) count += line == wanted;
  return count;
}

uint32_t Little32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

uint16_t Little16(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
}

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc_ = CreateDocument();
    ASSERT_NE(doc_, nullptr);
    layer_ = doc_->firstLayer;
    // A folder per test: ctest runs the tests side by side and several write files of one name.
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::string(DRX_BINARY_DIR) + "/export_test/" + test->test_suite_name() + "." + test->name() + "/";
    std::error_code error;
    std::filesystem::create_directories(dir_, error);
  }
  void TearDown() override { DeleteDocument(doc_); }

  ObjectRec* Shape(int16_t kind, bool closed, LayerRec* layer = nullptr) {
    ObjectRec* o = CreateObject(kind, closed, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill,
                                &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
    AppendObjectToLayer(o, layer ? layer : layer_);
    return o;
  }
  static PointRec* Add(ObjectRec* o, float x, float y, float outX = 0, float outY = 0, float inX = 0,
                       float inY = 0, int16_t kind = kVertexPoint) {
    PointRec* p = CreatePoint(kind, 0, 0, inX, inY, x, y, outX, outY, o);
    AppendPointToObject(p, o);
    UpdateObjectBounds(o);
    return p;
  }
  ObjectRec* Rect(float left, float top, float right, float bottom, LayerRec* layer = nullptr) {
    ObjectRec* o = Shape(kRectKind, true, layer);
    Add(o, left, top);
    Add(o, right, top);
    Add(o, right, bottom);
    Add(o, left, bottom);
    return o;
  }
  // A curved open segment from (0, 0) to (100, 0) bulging upward on screen.
  ObjectRec* Curve() {
    ObjectRec* o = Shape(kSplineKind, false);
    Add(o, 0, 0, 50, -100);
    Add(o, 100, 0, 0, 0, 50, 100);
    return o;
  }
  std::string Export(int16_t type, const char* name) {
    const std::string path = dir_ + name;
    EXPECT_TRUE(ExportFile(type, path.c_str())) << ExportFailureText(gExportFailure);
    return ReadAll(path);
  }
  std::string ExportUnmirrored(int16_t type, const char* name) {
    const std::string path = dir_ + name;
    ExportSettings settings = {};
    settings.title = "title";
    EXPECT_TRUE(WriteExportFile(type, path.c_str(), settings)) << ExportFailureText(gExportFailure);
    return ReadAll(path);
  }
  std::string Resource(const char* type, const char* name) {
    uint32_t length = 0;
    const uint8_t* bytes = GetResource(type, name, &length);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes), length) : std::string();
  }

  DocumentRec* doc_ = nullptr;
  LayerRec* layer_ = nullptr;
  std::string dir_;
};

// ---------------------------------------------------------------------------------------------
// The fixed texts.

TEST_F(ExportTest, HeadersAndTrailersAreTheResourceFilesByteForByte) {
  struct Expected {
    const char* type;
    const char* name;
    const char* file;
    size_t size;
  };
  const Expected expected[] = {
      {"hdrs", "DXFHeader", "dxfheader.txt", 2946}, {"tlrs", "DXFTrailer", "dxftrailer.txt", 19},
      {"hdrs", "HPGLHeader", "hpglheader.txt", 40}, {"tlrs", "HPGLTrailer", "hpgltrailer.txt", 16},
      {"hdrs", "EPSHeader", "epsheader.txt", 53},   {"tlrs", "EPSTrailer", "epstrailer.txt", 26},
  };
  for (const Expected& e : expected) {
    const std::string bytes = Resource(e.type, e.name);
    EXPECT_EQ(bytes.size(), e.size) << e.name;
    EXPECT_EQ(bytes, ReadAll(std::string(DRX_SOURCE_DIR) + "/resources/" + e.file)) << e.name;
  }
  EXPECT_EQ(Resource("tlrs", "DXFHeader"), "");
  EXPECT_EQ(GetResource("hdrs", "IGESHeader", nullptr), nullptr);

  // 223 code and value pairs, each line ending in CR LF, the entities section left open.
  const std::string header = Resource("hdrs", "DXFHeader");
  EXPECT_EQ(SplitLines(header).size(), 446u);
  size_t crlf = 0;
  for (size_t at = header.find("\r\n"); at != std::string::npos; at = header.find("\r\n", at + 2)) ++crlf;
  EXPECT_EQ(crlf, 446u);
  EXPECT_EQ(header.substr(header.size() - 27), " 0\r\nSECTION\r\n 2\r\nENTITIES\r\n");
  EXPECT_EQ(Resource("tlrs", "DXFTrailer"), "0\r\nENDSEC\r\n0\r\nEOF\r\n");
  EXPECT_EQ(Resource("tlrs", "EPSTrailer"), "showpage\r\n%%Trailer\r\nend\r\n");
}

TEST(ExportFormatTest, FormatFixedWritesWhatTheCLibraryWrites) {
  char text[64];
  auto format = [&](double value, int decimals) {
    return std::string(text, FormatFixed(text, value, decimals));
  };
  EXPECT_EQ(format(72.0f, 4), "72.0000");
  EXPECT_EQ(format(-0.5f, 2), "-0.50");
  EXPECT_EQ(format(-0.0f, 4), "-0.0000");
  EXPECT_EQ(format(-0.00001f, 4), "-0.0000");
  EXPECT_EQ(format(0.00005f, 4), "0.0000");  // the float lies just below 0.00005
  EXPECT_EQ(format(0.00006f, 4), "0.0001");
  // Exactly halfway values go to the even neighbour.
  EXPECT_EQ(format(0.03125f, 4), "0.0312");
  EXPECT_EQ(format(0.09375f, 4), "0.0938");
  EXPECT_EQ(format(2.5, 0), "2");
  EXPECT_EQ(format(3.5, 0), "4");
  EXPECT_EQ(format(72.0f * 14.11, 0), "1016");
  EXPECT_EQ(format(1e20f, 2), "100000002004087734272.00");

  std::mt19937 random(7);
  std::uniform_real_distribution<float> around(-40000.0f, 40000.0f);
  for (int i = 0; i < 20000; ++i) {
    const float value = i % 2 ? around(random) : around(random) / 4096.0f;
    for (int decimals : {0, 2, 4}) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "%.*f", decimals, static_cast<double>(value));
      ASSERT_EQ(format(value, decimals), expected) << value;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The walk.

TEST_F(ExportTest, ClosedShapesCloseAndOpenOnesDoNot) {
  Rect(72, 72, 144, 144);
  ObjectRec* line = Shape(kLineKind, false);
  Add(line, 0, 0);
  Add(line, 10, 0);
  Add(line, 10, 10);
  const std::string text = Export(kExportDXF, "shapes.dxf");
  EXPECT_EQ(text.substr(0, 2946), Resource("hdrs", "DXFHeader"));
  EXPECT_EQ(text.substr(text.size() - 19), Resource("tlrs", "DXFTrailer"));
  const std::vector<Segment> lines = DxfLines(text);
  ASSERT_EQ(lines.size(), 6u);
  // The last rectangle line closes the outline: it ends where the first began.
  EXPECT_EQ(lines[3].x2, lines[0].x1);
  EXPECT_EQ(lines[3].y2, lines[0].y1);
  EXPECT_NE(lines[5].x2, lines[4].x1);
  // Every record has the fourteen lines of a LINE entity with zero z values.
  EXPECT_EQ(CountLinesEqualTo(text, "LINE"), 6u);
  EXPECT_EQ(CountLinesEqualTo(text, "30"), 6u);
  EXPECT_EQ(CountLinesEqualTo(text, "31"), 6u);
}

TEST_F(ExportTest, MarkersHiddenLayersAndDimensionsAreLeftOutGroupMembersWritten) {
  // An arc-like shape whose centre marker is its last point: the outline skips it.
  ObjectRec* arc = Shape(kArcKind, false);
  Add(arc, 0, 0, 0, 0, 0, 0, kArcPoint);
  Add(arc, 10, 0, 0, 0, 0, 0, kArcPoint);
  Add(arc, 5, 5, 0, 0, 0, 0, kArcCentrePoint);
  ObjectRec* dimension = Shape(kLengthDimKind, false);
  Add(dimension, 0, 50);
  Add(dimension, 100, 50);
  ObjectRec* leader = Shape(kLeaderDimKind, false);
  Add(leader, 0, 60);
  Add(leader, 100, 60);
  // A group with a rectangle member and a nested group holding a line.
  ObjectRec* group = CreateObject(kGroupKind, 0, 0, &kWhite16, &kBlack16, 0, kSolidLineType, kNoFill,
                                  &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
  AppendObjectToLayer(group, layer_);
  ObjectRec* member = CreateObject(kRectKind, 1, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill,
                                   &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
  AppendObjectToGroup(member, group);
  Add(member, 200, 200);
  Add(member, 210, 200);
  Add(member, 210, 210);
  Add(member, 200, 210);
  ObjectRec* inner = CreateObject(kGroupKind, 0, 0, &kWhite16, &kBlack16, 0, kSolidLineType, kNoFill,
                                  &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
  AppendObjectToGroup(inner, group);
  ObjectRec* nested = CreateObject(kLineKind, 0, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill,
                                   &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
  AppendObjectToGroup(nested, inner);
  Add(nested, 300, 300);
  Add(nested, 310, 300);
  // A hidden layer with a rectangle.
  LayerRec* hidden = CreateLayer("hidden", 0, 1, nullptr);
  AppendLayerToDocument(hidden);
  Rect(500, 500, 600, 600, hidden);

  const std::vector<Segment> lines = DxfLines(ExportUnmirrored(kExportDXF, "walk.dxf"));
  ASSERT_EQ(lines.size(), 1u + 4u + 1u);
  EXPECT_EQ(lines[0].x1, 0);
  EXPECT_EQ(lines[0].x2, 10);
  EXPECT_EQ(lines[1].x1, 200);
  EXPECT_EQ(lines[5].x1, 300);
  for (const Segment& s : lines) {
    EXPECT_LT(s.x1, 500) << "hidden layer written";
    EXPECT_NE(s.y1, 50) << "dimension written";
    EXPECT_NE(s.y1, 60) << "leader written";
  }

  // A drawing whose only layer is hidden writes the header and trailer alone.
  layer_->visible = 0;
  const std::string empty = ExportUnmirrored(kExportDXF, "hidden.dxf");
  EXPECT_EQ(empty, Resource("hdrs", "DXFHeader") + Resource("tlrs", "DXFTrailer"));
}

TEST_F(ExportTest, CurvesAreFlattenedAtTheDrawingsSmoothness) {
  Curve();
  std::vector<Segment> lines = DxfLines(ExportUnmirrored(kExportDXF, "curve8.dxf"));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines.front().x1, 0);
  EXPECT_NEAR(lines.back().x2, 100, 1e-3);
  EXPECT_NEAR(lines.back().y2, 0, 1e-3);
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i].x1, lines[i - 1].x2);
  EXPECT_LT(lines[3].y2, -20);  // the bulge is really there

  // With 12 and 19 steps repeated additions of 1/n fall just short of 1 + 1/n; the curve must
  // still stop at its end point instead of running on past it.
  for (int smoothness : {12, 19, 20, 3}) {
    doc_->docState->curveSmoothness = static_cast<int16_t>(smoothness);
    lines = DxfLines(ExportUnmirrored(kExportDXF, "curven.dxf"));
    ASSERT_EQ(lines.size(), static_cast<size_t>(smoothness));
    EXPECT_NEAR(lines.back().x2, 100, 1e-3) << smoothness;
    EXPECT_NEAR(lines.back().y2, 0, 1e-3) << smoothness;
  }
}

TEST_F(ExportTest, HpglWritesWholePlotterUnitsWithAPenSelected) {
  ObjectRec* line = Shape(kLineKind, false);
  Add(line, 72, 72);
  Add(line, 144, 36);
  Curve();
  doc_->docState->curveSmoothness = 4;
  const std::string text = ExportUnmirrored(kExportHPGL, "plot.plt");
  const std::string header = Resource("hdrs", "HPGLHeader");
  ASSERT_EQ(text.substr(0, header.size()), header);
  EXPECT_EQ(text.substr(text.size() - 16), Resource("tlrs", "HPGLTrailer"));
  const std::vector<std::string> lines =
      SplitLines(text.substr(header.size(), text.size() - header.size() - 16));
  // The pen, the straight line (one inch is 1016 units), then the curve: one pen-up move and a
  // pen-down move per step, ending at x 100 (1411 units).
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "SP 1;");
  EXPECT_EQ(lines[1], "PU 1016,1016;");
  EXPECT_EQ(lines[2], "PD 2032,508;");
  EXPECT_EQ(lines[3], "PU 0,0;");
  for (size_t i = 4; i < 8; ++i) EXPECT_EQ(lines[i].compare(0, 3, "PD "), 0) << lines[i];
  EXPECT_EQ(lines[7], "PD 1411,0;");
}

// ---------------------------------------------------------------------------------------------
// The export commands: mirrored output, the drawing left exactly as it was.

void Snapshot(const ObjectRec* object, std::vector<PointRec>* points, std::vector<FloatRect>* bounds) {
  for (; object; object = object->nextObject) {
    bounds->push_back(object->bounds);
    for (const PointRec* p = object->firstPoint; p; p = p->nextPoint) points->push_back(*p);
    Snapshot(object->firstChild, points, bounds);
  }
}

void SelectEverything(ObjectRec* object) {
  for (; object; object = object->nextObject) {
    for (PointRec* p = object->firstPoint; p; p = p->nextPoint) p->selected = 1;
    SelectEverything(object->firstChild);
  }
}

void FlipEverything(ObjectRec* object) {
  for (; object; object = object->nextObject) {
    FlipObject(object, false);
    FlipEverything(object->firstChild);
    if (object->kind == kGroupKind) UpdateObjectRootBounds(object, false, false);
  }
}

TEST_F(ExportTest, ExportsAreWrittenFlippedAndLeaveTheDrawingAsItWas) {
  ObjectRec* rect = Rect(10.1f, 20.3f, 99.7f, 77.7f);
  ObjectRec* curve = Curve();
  ObjectRec* line = Shape(kLineKind, false);
  Add(line, 0.1f, 700.3f);
  Add(line, 33.3f, 1.7f, 0, 0);
  line->firstPoint->detectable = 0;  // hidden from selection: flipped with the rest all the same
  rect->firstPoint->selected = 1;
  curve->firstPoint->nextPoint->locked = 1;

  std::vector<PointRec> pointsBefore;
  std::vector<FloatRect> boundsBefore;
  Snapshot(layer_->firstObject, &pointsBefore, &boundsBefore);

  const std::string dxf = Export(kExportDXF, "flip.dxf");
  const std::string hpgl = Export(kExportHPGL, "flip.plt");
  const std::string eps = Export(kExportEPS, "flip.eps");

  std::vector<PointRec> pointsAfter;
  std::vector<FloatRect> boundsAfter;
  Snapshot(layer_->firstObject, &pointsAfter, &boundsAfter);
  ASSERT_EQ(pointsAfter.size(), pointsBefore.size());
  EXPECT_EQ(0, std::memcmp(boundsAfter.data(), boundsBefore.data(), boundsBefore.size() * sizeof(FloatRect)));
  for (size_t i = 0; i < pointsBefore.size(); ++i) {
    const PointRec& a = pointsBefore[i];
    const PointRec& b = pointsAfter[i];
    // Bit for bit: the same floats, flags and links.
    EXPECT_EQ(0, std::memcmp(&a, &b, sizeof a)) << "point " << i;
  }

  // The same bytes as the commands' way: select all, flip about the centre of the selection's
  // bounds, export unmirrored.
  SelectEverything(layer_->firstObject);
  FloatRect selection = kEmptyRect;
  GetAllLayersBounds(doc_->firstLayer, true, &selection, false, false);
  SetFlipCenter(&selection);
  FlipEverything(layer_->firstObject);
  EXPECT_EQ(ExportUnmirrored(kExportDXF, "flipped.dxf"), dxf);
  EXPECT_EQ(ExportUnmirrored(kExportHPGL, "flipped.plt"), hpgl);
  const std::string path = dir_ + "flip.eps";
  ExportSettings settings = {};
  settings.title = path.c_str();
  ASSERT_TRUE(WriteExportFile(kExportEPS, (dir_ + "flipped.eps").c_str(), settings));
  EXPECT_EQ(ReadAll(dir_ + "flipped.eps"), eps);
}

TEST_F(ExportTest, MirroringKeepsTheDrawingInItsPlaceUpsideDown) {
  ObjectRec* line = Shape(kLineKind, false);
  Add(line, 0, 0);
  Add(line, 10, 0);
  ObjectRec* dot = Shape(kLineKind, false);
  Add(dot, 0, 100);
  Add(dot, 0, 100);
  const std::vector<Segment> lines = DxfLines(Export(kExportDXF, "mirror.dxf"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].y1, 100);  // the top of the sheet is the top of y upward
  EXPECT_EQ(lines[1].y1, 0);
}

// ---------------------------------------------------------------------------------------------
// EPS.

TEST_F(ExportTest, EpsOfTheSquareExample) {
  Rect(72, 72, 144, 144);
  const std::string path = dir_ + "square.eps";
  const std::string text = Export(kExportEPS, "square.eps");
  const std::string header = Resource("hdrs", "EPSHeader");
  ASSERT_EQ(text.substr(0, header.size()), header);
  EXPECT_EQ(text.compare(0, 23, "%!PS-Adobe-2.0 EPSF-1.2"), 0);
  const std::vector<std::string> lines = SplitLines(text);
  EXPECT_EQ(lines[2], "%%Title: " + path);
  EXPECT_EQ(lines[3], "%%BoundingBox: 72 72 144 144");
  EXPECT_EQ(CountLinesEqualTo(text, "newpath"), 4u);
  EXPECT_EQ(CountLinesEqualTo(text, "grestore"), 4u);
  // Each segment is six lines: newpath, moveto, lineto, gsave, stroke, grestore.
  size_t first = 0;
  while (lines[first] != "newpath") ++first;
  EXPECT_EQ(lines[first + 1], "72.00 144.00 moveto");
  EXPECT_EQ(lines[first + 2], "144.00 144.00 lineto");
  EXPECT_EQ(lines[first + 6], "newpath");
  EXPECT_EQ(text.substr(text.size() - 26), Resource("tlrs", "EPSTrailer"));
  // The dictionary the setup opens exists before it is opened.
  const size_t defined = text.find("userdict/Quorvale known not{userdict/Quorvale 8 dict put}if\n");
  const size_t opened = text.find("userdict/Quorvale get begin\n");
  ASSERT_NE(defined, std::string::npos);
  EXPECT_LT(defined, opened);
}

TEST_F(ExportTest, EpsBoundingBoxEnclosesFractionalAndNegativeDrawings) {
  Rect(-10.6f, 72.6f, 143.4f, 200.2f);
  EXPECT_EQ(SplitLines(Export(kExportEPS, "frac.eps"))[3], "%%BoundingBox: -11 72 144 201");
  layer_->visible = 0;
  EXPECT_EQ(SplitLines(Export(kExportEPS, "none.eps"))[3], "%%BoundingBox: 0 0 0 0");
}

TEST_F(ExportTest, EpsWithPreviewIsABinaryEpsWithAMetafileSection) {
  Rect(72, 72, 144, 144);
  const std::string metafile = "standard metafile bits";  // stored as they are
  const std::string path = dir_ + "preview.eps";
  auto exportWith = [&](const std::string& bits) {
    EXPECT_TRUE(ExportFile(kExportEPS, path.c_str(), reinterpret_cast<const uint8_t*>(bits.data()),
                           static_cast<uint32_t>(bits.size())))
        << ExportFailureText(gExportFailure);
    return ReadAll(path);
  };
  const std::string bytes = exportWith(metafile);
  ASSERT_GE(bytes.size(), kBinaryEPSHeaderSize);
  EXPECT_EQ(Little32(bytes, 0), kBinaryEPSMagic);
  const uint32_t psStart = Little32(bytes, 4), psLength = Little32(bytes, 8);
  const uint32_t wmfStart = Little32(bytes, 12), wmfLength = Little32(bytes, 16);
  EXPECT_EQ(psStart, kBinaryEPSHeaderSize);
  EXPECT_EQ(Little32(bytes, 20), 0u);
  EXPECT_EQ(Little32(bytes, 24), 0u);
  EXPECT_EQ(Little16(bytes, 28), 0xFFFF);
  ASSERT_EQ(wmfStart, psStart + psLength);
  ASSERT_EQ(bytes.size(), static_cast<size_t>(wmfStart) + wmfLength);
  // The PostScript section is the text written without a preview; the metafile follows whole.
  EXPECT_EQ(bytes.substr(psStart, psLength), Export(kExportEPS, "preview.eps"));
  EXPECT_EQ(bytes.substr(wmfStart), metafile);

  // A placeable header handed in is not stored: readers add their own.
  std::string placeable(kPlaceableHeaderSize, '\0');
  placeable[0] = '\xD7';
  placeable[1] = '\xCD';
  placeable[2] = '\xC6';
  placeable[3] = '\x9A';
  const std::string stripped = exportWith(placeable + metafile);
  EXPECT_EQ(stripped.substr(Little32(stripped, 12)), metafile);
  EXPECT_EQ(Little32(stripped, 16), metafile.size());
}

// ---------------------------------------------------------------------------------------------
// Files.

TEST_F(ExportTest, ExportingOverALongerFileLeavesNothingOfIt) {
  const std::string path = dir_ + "over.dxf";
  {
    std::ofstream old(path, std::ios::binary);
    old << std::string(100000, 'x');
  }
  Rect(0, 0, 1, 1);
  const std::string text = Export(kExportDXF, "over.dxf");
  EXPECT_LT(text.size(), 100000u);
  EXPECT_EQ(text.find('x'), std::string::npos);
  EXPECT_FALSE(Exists(path + ".export~"));
}

TEST_F(ExportTest, FailuresAreReportedAndKeepTheOldFile) {
  Rect(0, 0, 1, 1);
  const std::string missing = dir_ + "no/such/folder/x.dxf";
  EXPECT_FALSE(ExportFile(kExportDXF, missing.c_str()));
  EXPECT_NE(ExportFailureText(gExportFailure).find("cannot be"), std::string::npos)
      << ExportFailureText(gExportFailure);

  // A folder cannot be replaced by the export: the folder stays, no temporary is left.
  const std::string folder = std::string(DRX_BINARY_DIR) + "/CMakeFiles";
  EXPECT_FALSE(ExportFile(kExportHPGL, folder.c_str()));
  EXPECT_NE(gExportFailure.reason, ExportReason::kNone);
  EXPECT_FALSE(Exists(folder + ".export~"));

  EXPECT_FALSE(ExportFile(kExportDXF, nullptr));
  EXPECT_FALSE(ExportFile(kExportDXF, ""));
  EXPECT_FALSE(ExportFile(7, (dir_ + "seven").c_str()));
  DocumentRec* current = gCurDocument;
  gCurDocument = nullptr;
  EXPECT_FALSE(ExportFile(kExportDXF, (dir_ + "none.dxf").c_str()));
  EXPECT_EQ(gExportFailure.reason, ExportReason::kNoDrawing);
  gCurDocument = current;

#ifdef __linux__
  // Every write is checked: a full disk is reported, not taken for success.
  for (int i = 0; i < 2000; ++i) Rect(0, 0, 1, 1);
  EXPECT_FALSE(WriteExportFile(kExportDXF, "/dev/full", ExportSettings()));
  EXPECT_NE(ExportFailureText(gExportFailure).find("No space"), std::string::npos)
      << ExportFailureText(gExportFailure);
  Rect(0, 0, 1, 1);
  EXPECT_FALSE(WriteExportFile(kExportEPS, "/dev/full", ExportSettings()));  // a small file fails at close
#endif
}

}  // namespace
