// The conversion of metafile records into objects: metafiles written record by record here go
// through the conversion into a fresh drawing, and the objects that come out are checked, with
// the pen and brush settings, the damaged metafiles and the refused picture records.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "exchange/wmfrecords.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/pthndlr.h"
#include "tools/extract1.h"
#include "tools/toolstate.h"

namespace {

class MetafileImport : public ::testing::Test {
 protected:
  void SetUp() override {
    doc_ = CreateDocument();
    ASSERT_NE(doc_, nullptr);
    gCurDocument = doc_;
    gFilterName = kSourceDXF;
    gPattern = kNoFill;
    picture_ = FilterPictRecord{0, 0, 0, 1000, 1000, 72};
  }
  void TearDown() override {
    DeleteDocument(doc_);
    gCurDocument = nullptr;
    gFilterName = 0;
  }
  int16_t Convert(WmfWriter& writer) {
    const std::vector<uint8_t>& bits = writer.Finish();
    return ExtractWMFEntities(bits.data(), bits.size(), &picture_);
  }
  std::vector<ObjectRec*> Objects() const {
    std::vector<ObjectRec*> out;
    for (ObjectRec* o = doc_->currentLayer->firstObject; o; o = o->nextObject) out.push_back(o);
    return out;
  }
  static std::vector<std::pair<float, float>> Points(const ObjectRec* o) {
    std::vector<std::pair<float, float>> out;
    for (const PointRec* p = o->firstPoint; p; p = p->nextPoint) out.push_back({p->x, p->y});
    return out;
  }
  static FloatRect Bounds(const ObjectRec* o) {
    FloatRect r = kEmptyRect;
    GetObjectBounds(o, false, &r, false, false);
    return r;
  }
  DocumentRec* doc_ = nullptr;
  FilterPictRecord picture_{};
};

TEST_F(MetafileImport, EachFigureRecordBecomesItsObject) {
  const int16_t triangle[] = {0, 0, 100, 0, 100, 100, 0, 0};
  const int16_t square[] = {200, 0, 300, 0, 300, 100, 200, 100};
  // Two polygons: counts first, then the points; the first ends where it starts.
  const int16_t twoPolygons[] = {0, 200, 50, 200, 50, 250, 0, 200, 100, 200, 150, 200, 150, 250};
  struct Case {
    const char* name;
    void (*write)(WmfWriter&, const int16_t*, const int16_t*, const int16_t*);
    std::vector<int16_t> kinds;  // kinds of the objects made, in order
    std::vector<int> points;
    std::vector<int> closed;
  } cases[] = {
      {"move, line, line, move: one polyline, the lone start dropped",
       [](WmfWriter& w, const int16_t*, const int16_t*, const int16_t*) {
         w.MoveTo(0, 0);
         w.LineTo(100, 0);
         w.LineTo(100, 50);
         w.MoveTo(500, 500);
       },
       {kPolyKind},
       {3},
       {0}},
      {"polyline that meets its start closes",
       [](WmfWriter& w, const int16_t* t, const int16_t*, const int16_t*) { w.Polyline(t, 4); },
       {kPolyKind},
       {3},
       {1}},
      {"polygon stays as its points",
       [](WmfWriter& w, const int16_t*, const int16_t* s, const int16_t*) { w.Polygon(s, 4); },
       {kPolyKind},
       {4},
       {0}},
      {"arc with start equal to end is a full oval",
       [](WmfWriter& w, const int16_t*, const int16_t*, const int16_t*) {
         w.Arc(0, 0, 100, 100, 100, 50, 100, 50);
       },
       {kOvalKind},
       {4},
       {1}},
      {"arc whose ends point the same way is a full oval too",
       [](WmfWriter& w, const int16_t*, const int16_t*, const int16_t*) {
         w.Arc(0, 0, 100, 100, 100, 50, 200, 50);
       },
       {kOvalKind},
       {4},
       {1}},
      {"quarter arc",
       [](WmfWriter& w, const int16_t*, const int16_t*, const int16_t*) {
         w.Arc(0, 0, 100, 100, 100, 50, 50, 0);
       },
       {kArcKind},
       {3},
       {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteLayerObjects(doc_->currentLayer);
    WmfWriter writer;
    c.write(writer, triangle, square, twoPolygons);
    ASSERT_EQ(Convert(writer), kFilterOK);
    const std::vector<ObjectRec*> objects = Objects();
    ASSERT_EQ(objects.size(), c.kinds.size());
    for (size_t i = 0; i < objects.size(); ++i) {
      EXPECT_EQ(objects[i]->kind, c.kinds[i]);
      // Arcs carry their centre as a point of their own.
      EXPECT_EQ(static_cast<int>(Points(objects[i]).size()) - (objects[i]->kind == kArcKind ? 1 : 0),
                c.points[i]);
      EXPECT_EQ(objects[i]->closed, c.closed[i]);
    }
  }
}

TEST_F(MetafileImport, PolyPolygonClosesOnlyTheRingsThatMeet) {
  // A written poly-polygon record: 2 polygons of 4 and 3 points.
  std::vector<uint8_t> bits(kMetaHeaderSize, 0);
  const uint16_t header[9] = {1, 9, 0x300, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 9; ++i) bits[2 * i] = static_cast<uint8_t>(header[i]), bits[2 * i + 1] = header[i] >> 8;
  const int16_t params[] = {2, 4, 3, 0, 0, 100, 0, 100, 100, 0, 0, 200, 0, 300, 0, 300, 100};
  auto word = [&](uint16_t w) {
    bits.push_back(static_cast<uint8_t>(w));
    bits.push_back(static_cast<uint8_t>(w >> 8));
  };
  const uint32_t words = 3 + sizeof params / 2;
  word(static_cast<uint16_t>(words));
  word(0);
  word(kMetaPolyPolygon);
  for (int16_t p : params) word(static_cast<uint16_t>(p));
  word(3), word(0), word(0);  // end record
  ASSERT_EQ(ExtractWMFEntities(bits.data(), bits.size(), &picture_), kFilterOK);
  const std::vector<ObjectRec*> objects = Objects();
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0]->closed, 1);
  EXPECT_EQ(Points(objects[0]).size(), 3u);
  EXPECT_EQ(objects[1]->closed, 0);

  // The same record claiming more points than it holds adds nothing and is refused.
  DeleteLayerObjects(doc_->currentLayer);
  bits[kMetaHeaderSize + 6 + 2] = 40;  // the first polygon's count
  EXPECT_EQ(ExtractWMFEntities(bits.data(), bits.size(), &picture_), kFilterInvalidData);
  EXPECT_TRUE(Objects().empty());
}

TEST_F(MetafileImport, CorelDrawOutlinesCloseAndOthersStayOpen) {
  const int16_t outline[] = {0, 0, 100, 0, 100, 100, 0, 0};
  for (int16_t source : {kSourceCDR, kSourceDXF}) {
    DeleteLayerObjects(doc_->currentLayer);
    gFilterName = source;
    // Scaled up so that the open outline's end lies far from its start on the screen.
    picture_.unitsPerInch = 7;
    WmfWriter writer;
    writer.Polyline(outline, 3);  // open: ends at (100, 100)
    writer.Polyline(outline, 4);  // ends where it starts
    ASSERT_EQ(Convert(writer), kFilterOK);
    const std::vector<ObjectRec*> objects = Objects();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->closed, 0) << source;
    EXPECT_EQ(objects[1]->closed, 1) << source;
  }
}

TEST_F(MetafileImport, EllipticalArcsArePlacedByTheirParametricAngles) {
  // An ellipse 200 wide and 100 high; the end point lies in the direction of the ellipse point
  // at 45 degrees of its parameter (polar angle atan(0.5)).
  const double t = 45.0 * 3.141592653589793 / 180.0;
  const int16_t endX = static_cast<int16_t>(std::lround(100 + 100 * std::cos(t) * 100));
  const int16_t endY = static_cast<int16_t>(std::lround(50 - 50 * std::sin(t) * 100));
  WmfWriter writer;
  writer.Arc(0, 0, 200, 100, 200, 50, endX, endY);
  ASSERT_EQ(Convert(writer), kFilterOK);
  const std::vector<ObjectRec*> objects = Objects();
  ASSERT_EQ(objects.size(), 1u);
  // The arc's first point (its end, the builder runs backwards) sits on the ellipse at 45 degrees.
  const PointRec* first = objects[0]->firstPoint;
  EXPECT_NEAR(first->x, 100 + 100 * std::cos(t), 0.5);
  EXPECT_NEAR(first->y, 50 - 50 * std::sin(t), 0.5);
}

TEST_F(MetafileImport, PensAndBrushesApplyDuringTheConversionOnly) {
  DocState* state = doc_->docState;
  state->penColor = RGB16{1, 2, 3};
  state->fillColor = RGB16{4, 5, 6};
  state->lineWeight = 3;
  state->lineType = 6;
  state->drawParallel = 1;
  WmfWriter writer;
  writer.UsePen(kPenDash, 144, 255, 0, 0);  // 144 units at 72 per inch: 144 page units
  writer.UseBrush(kBrushHatched, 0, 255, 0, kHatchCross);
  writer.MoveTo(0, 0);
  writer.LineTo(100, 0);
  writer.UsePen(kPenDot, 0, 0, 0, 255);
  writer.MoveTo(0, 50);  // closes the first, starts the second
  writer.LineTo(100, 50);
  ASSERT_EQ(Convert(writer), kFilterOK);
  const std::vector<ObjectRec*> objects = Objects();
  // Draw Parallel was on: imported figures still come alone.
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0]->penColor.red, 65535);
  EXPECT_EQ(objects[0]->lineType, 9);
  EXPECT_EQ(objects[0]->lineWeight, 144.0f);
  EXPECT_EQ(objects[0]->fillColor.green, 65535);
  EXPECT_EQ(objects[1]->penColor.blue, 65535);
  EXPECT_EQ(objects[1]->lineType, 10);
  EXPECT_EQ(objects[1]->lineWeight, 1.0f);
  // The user's settings are back; the last brush's pattern stays current.
  EXPECT_EQ(state->penColor.red, 1);
  EXPECT_EQ(state->fillColor.red, 4);
  EXPECT_EQ(state->lineWeight, 3);
  EXPECT_EQ(state->lineType, 6);
  EXPECT_EQ(state->drawParallel, 1);
  EXPECT_EQ(gPattern, 61);
}

TEST_F(MetafileImport, UnsoundPicturesAndMetafilesAddNothing) {
  const FilterPictRecord unsound[] = {
      {0, 0, 0, 100, 100, 0},    // no units per inch
      {0, 0, 0, 100, 100, -72},  // negative units per inch
      {0, 0, 0, 0, 100, 72},     // no width
      {0, 100, 0, 0, 100, 72},   // inverted
      {0, 0, 100, 100, 0, 72},   // upside down
  };
  WmfWriter writer;
  writer.MoveTo(0, 0);
  writer.LineTo(10, 10);
  const std::vector<uint8_t> good = writer.Finish();
  for (const FilterPictRecord& p : unsound) {
    EXPECT_EQ(CheckFilterPicture(&p), kFilterInvalidData);
    EXPECT_EQ(ExtractWMFEntities(good.data(), good.size(), &p), kFilterInvalidData);
  }
  // Metafiles cut short, with a record size past the end, or of zero words.
  std::vector<std::vector<uint8_t>> damaged = {std::vector<uint8_t>(good.begin(), good.end() - 6),
                                               std::vector<uint8_t>(good.begin(), good.begin() + 10), good,
                                               good};
  damaged[2][kMetaHeaderSize] = 0xFF;  // the first record claims 255 words
  damaged[3][kMetaHeaderSize] = 0;     // the first record claims none
  for (const std::vector<uint8_t>& bits : damaged)
    EXPECT_EQ(ExtractWMFEntities(bits.data(), bits.size(), &picture_), kFilterInvalidData);
  EXPECT_TRUE(Objects().empty());
  EXPECT_EQ(ExtractWMFEntities(good.data(), good.size(), &picture_), kFilterOK);
  EXPECT_EQ(Objects().size(), 1u);
}

TEST_F(MetafileImport, PictureRecordScalesTheFrame) {
  // 1440 units per inch: the frame shrinks by 0.05.
  picture_ = FilterPictRecord{0, 0, 0, 2000, 1000, 1440};
  WmfWriter writer;
  const std::vector<uint8_t>& bits = writer.Finish();
  MetaPict picture = CreateMetaPictFromBits(bits.data(), static_cast<uint32_t>(bits.size()));
  ASSERT_NE(picture, nullptr);
  ASSERT_EQ(PlaceFilterPicture(&picture_, picture), kFilterOK);
  const std::vector<ObjectRec*> objects = Objects();
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(objects[0]->kind, kMetaFileKind);
  const FloatRect r = Bounds(objects[0]);
  EXPECT_FLOAT_EQ(r.right - r.left, 100.0f);
  EXPECT_FLOAT_EQ(r.bottom - r.top, 50.0f);
  EXPECT_EQ(MetaInfoOf(objects[0])->unitsPerInch, 1440);
  // A picture record that cannot be placed leaves the metafile with the caller.
  FilterPictRecord flat = picture_;
  flat.unitsPerInch = 0;
  MetaPict other = CreateMetaPictFromBits(bits.data(), static_cast<uint32_t>(bits.size()));
  EXPECT_EQ(PlaceFilterPicture(&flat, other), kFilterInvalidData);
  DeleteMetaPict(other);
}

TEST_F(MetafileImport, NoteOfWhatDidNotComeAcrossIsRead) {
  WmfWriter writer;
  writer.Comment("another program's comment");
  writer.Comment(std::string(kImportNoteMarker) + "Not imported: 2 TEXT.");
  writer.MoveTo(0, 0);
  writer.LineTo(5, 5);
  ASSERT_EQ(Convert(writer), kFilterOK);
  EXPECT_EQ(gImportNote, "Not imported: 2 TEXT.");
}

}  // namespace
