// Fillet, chamfer and trim: the geometry of the corner example, the shapes they leave, what they
// refuse, and undo and redo restoring the drawing exactly.
#include <cmath>
#include <cstring>
#include <vector>

#include "geometry/geometry.h"
#include "geometry/gnrlmath.h"
#include "model/objstuff.h"
#include "toolfixture.h"
#include "tools/fillet.h"
#include "tools/traksupp.h"

namespace {

struct Pt {
  float x, y;
};

// Every stored field of an object and its points, to compare drawings exactly.
struct ObjectImage {
  int16_t kind;
  uint8_t closed;
  FloatRect bounds;
  std::vector<PointRec> points;
};

class FilletTest : public ToolTest {
 protected:
  ObjectRec* Shape(int16_t kind, bool closed, std::initializer_list<Pt> points) {
    ObjectRec* o = CreateObject(kind, closed ? 1 : 0, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill,
                                &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
    AppendObjectToLayer(o, layer_);
    for (const Pt& p : points)
      AppendPointToObject(CreatePoint(kVertexPoint, 1, 0, 0, 0, p.x, p.y, 0, 0, o), o);
    UpdateObjectBounds(o);
    return o;
  }
  ObjectRec* Square() { return Shape(kRectKind, true, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}); }
  static PointRec* At(ObjectRec* o, int index) {
    PointRec* p = o->firstPoint;
    while (p && index-- > 0) p = p->nextPoint;
    return p;
  }
  static ClickInfo PointPress(ObjectRec* o, int index) {
    ClickInfo info = {};
    info.hit = info.pointHit = 1;
    info.point = At(o, index);
    info.object = o;
    return info;
  }
  // A drag of the fillet or chamfer tool from the pressed point to (x, y), recorded for undo.
  void Drag(int tool, const ClickInfo& info, float x, float y, uint16_t modifiers = 0) {
    BeginUndo(doc_, GetUndoStrIndex(tool));
    const PointRec* p = info.point;
    const float px = p->x, py = p->y;
    for (int16_t stage : {kStagePress, kStageMove, kStageRelease}) {
      const float mx = stage == kStagePress ? px : x, my = stage == kStagePress ? py : y;
      if (tool == kFilletTool)
        SupportTrackFillet(mx, my, stage, &info, modifiers, false);
      else
        SupportTrackChamfer(mx, my, stage, &info, modifiers);
    }
  }
  static ObjectImage Image(const ObjectRec* o) {
    ObjectImage image = {o->kind, o->closed, o->bounds, {}};
    for (const PointRec* p = o->firstPoint; p; p = p->nextPoint) image.points.push_back(*p);
    return image;
  }
  std::vector<ObjectImage> Drawing() const {
    std::vector<ObjectImage> all;
    for (const ObjectRec* o = layer_->firstObject; o; o = o->nextObject) all.push_back(Image(o));
    return all;
  }
  static void ExpectSameDrawing(const std::vector<ObjectImage>& a, const std::vector<ObjectImage>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
      EXPECT_EQ(a[i].kind, b[i].kind);
      EXPECT_EQ(a[i].closed, b[i].closed);
      EXPECT_EQ(0, std::memcmp(&a[i].bounds, &b[i].bounds, sizeof(FloatRect)));
      ASSERT_EQ(a[i].points.size(), b[i].points.size());
      for (size_t k = 0; k < a[i].points.size(); ++k) {
        const PointRec &p = a[i].points[k], &q = b[i].points[k];
        EXPECT_EQ(p.pointKind, q.pointKind);
        EXPECT_EQ(p.selected, q.selected);
        for (auto field : {&PointRec::x, &PointRec::y, &PointRec::inTangentX, &PointRec::inTangentY,
                           &PointRec::outTangentX, &PointRec::outTangentY})
          EXPECT_EQ(p.*field, q.*field) << "object " << i << " point " << k;
      }
    }
  }
  static std::vector<int> Kinds(const ObjectRec* o) {
    std::vector<int> kinds;
    for (const PointRec* p = o->firstPoint; p; p = p->nextPoint) kinds.push_back(p->pointKind);
    return kinds;
  }
  // Undo brings `before` back, redo `after`, twice over.
  void ExpectUndoRedo(const std::vector<ObjectImage>& before) {
    const std::vector<ObjectImage> after = Drawing();
    ASSERT_TRUE(UndoAvailable(doc_));
    for (int round = 0; round < 2; ++round) {
      ASSERT_TRUE(Undo());
      ExpectSameDrawing(Drawing(), before);
      ASSERT_TRUE(Undo());
      ExpectSameDrawing(Drawing(), after);
    }
  }
};

void ExpectNear(const PointRec* p, float x, float y) {
  EXPECT_NEAR(p->x, x, 1e-3f);
  EXPECT_NEAR(p->y, y, 1e-3f);
}

// The corner (0, 0) between the edges towards (0, 100) and (100, 0), the mouse 20 away.
TEST_F(FilletTest, RightCornerGivesTheExampleFilletAndTheArcFollowsTheCircle) {
  const float sin45 = std::sin(static_cast<float>(kPi / 4)), r45 = 20.0f * sin45, m = (20.0f - r45) * sin45;
  const struct {
    uint16_t modifiers;
    float radius;
    Pt centre, tangent1, middle, tangent2;
  } cases[] = {
      {0, r45, {r45, r45}, {0, r45}, {m, m}, {r45, 0}},
      // Shift: the inverted fillet is centred on the corner and has the size as its radius.
      {kTrackShift, 20, {0, 0}, {0, 20}, {r45, r45}, {20, 0}},
  };
  for (const auto& c : cases) {
    ObjectRec* square = Square();
    const std::vector<ObjectImage> before = Drawing();
    Drag(kFilletTool, PointPress(square, 0), 20, 0, c.modifiers);
    EXPECT_EQ(square->kind, kPolyKind);
    EXPECT_EQ(Kinds(square), (std::vector<int>{2, 2, 1, 3, 1, 1, 1, 1}));
    ExpectNear(At(square, 0), c.centre.x, c.centre.y);
    ExpectNear(At(square, 1), 0, 0);
    ExpectNear(At(square, 2), c.tangent1.x, c.tangent1.y);
    ExpectNear(At(square, 3), c.middle.x, c.middle.y);
    ExpectNear(At(square, 4), c.tangent2.x, c.tangent2.y);
    // Halfway along either half of the arc the curve stays on the circle.
    for (int half : {2, 3}) {
      float x, y, tx, ty;
      GetTrimLocation(At(square, half), At(square, half + 1), 0.5f, &x, &y, &tx, &ty);
      EXPECT_NEAR(std::hypot(x - c.centre.x, y - c.centre.y), c.radius, 0.01f);
    }
    ExpectUndoRedo(before);
    DisposeUndo();
    DeleteObj(square);
  }
}

TEST_F(FilletTest, RedraggingAFilletByItsMarkerResizesItAndAClickWithoutDragAddsNothing) {
  ObjectRec* square = Square();
  const std::vector<ObjectImage> untouched = Drawing();
  // A press and release on the corner itself: the inserted points go again.
  Drag(kFilletTool, PointPress(square, 0), 0, 0);
  ExpectSameDrawing(Drawing(), untouched);
  EXPECT_FALSE(gUndoAvail);

  Drag(kFilletTool, PointPress(square, 0), 20, 0);
  ASSERT_EQ(CountObjectPoints(square), 8);
  const std::vector<ObjectImage> filleted = Drawing();
  // Back onto the corner marker: the fillet stays as it was.
  Drag(kFilletTool, PointPress(square, 1), 0, 0);
  ExpectSameDrawing(Drawing(), filleted);
  // From the centre marker (the group starts one point earlier when the next is no marker).
  Drag(kFilletTool, PointPress(square, 0), 0, 40);
  EXPECT_EQ(CountObjectPoints(square), 8);
  ExpectNear(At(square, 2), 0, 40.0f * std::sin(static_cast<float>(kPi / 4)));
  ExpectUndoRedo(filleted);
}

TEST_F(FilletTest, ChamferCutsEqualLengthsFromBothEdges) {
  ObjectRec* square = Square();
  const std::vector<ObjectImage> before = Drawing();
  // The dialog's length sqrt 2 on a right angle cuts one unit from each edge.
  const float d = std::sqrt(std::sqrt(2.0f) * std::sqrt(2.0f) / 2.0f);
  Drag(kChamferTool, PointPress(square, 1), 100, d);
  EXPECT_EQ(square->kind, kPolyKind);
  ASSERT_EQ(CountObjectPoints(square), 5);
  ExpectNear(At(square, 1), 99, 0);
  ExpectNear(At(square, 2), 100, 1);
  EXPECT_TRUE(At(square, 2)->selected);
  ExpectUndoRedo(before);
}

TEST_F(FilletTest, CornersThatCannotBeRoundedAreLeftAlone) {
  ObjectRec* label = Shape(kDimensionTextKind, false, {{0, 0}, {50, 0}, {50, 50}});
  ObjectRec* leader = Shape(kLeaderDimKind, false, {{0, 0}, {50, 0}, {50, 50}});
  ObjectRec* line = Shape(kLineKind, false, {{0, 0}, {50, 50}});
  ObjectRec* open = Shape(kPolyKind, false, {{0, 0}, {50, 0}, {50, 50}});
  ObjectRec* straight = Shape(kPolyKind, true, {{0, 0}, {50, 0}, {100, 0}, {50, 50}});
  ObjectRec* spike = Shape(kPolyKind, true, {{0, 0}, {100, 0}, {50, 0}});
  const struct {
    const char* what;
    ObjectRec* object;
    int index;
  } cases[] = {{"a dimension label", label, 1},
               {"a leader", leader, 1},
               {"a Line", line, 0},
               {"an open figure's start", open, 0},
               {"an open figure's end", open, 2},
               {"a straight corner", straight, 1},
               {"a corner folded back on itself", spike, 1}};
  const std::vector<ObjectImage> before = Drawing();
  for (const auto& c : cases)
    for (int tool : {kFilletTool, kChamferTool}) {
      Drag(tool, PointPress(c.object, c.index), c.object->firstPoint->x + 5, c.object->firstPoint->y + 10);
      ExpectSameDrawing(Drawing(), before);
      EXPECT_FALSE(gUndoAvail) << c.what << " tool " << tool;
    }
  // The open figure's middle corner is a corner like any other.
  Drag(kFilletTool, PointPress(open, 1), 40, 10);
  EXPECT_EQ(CountObjectPoints(open), 7);
  EXPECT_TRUE(gUndoAvail);
}

TEST_F(FilletTest, TrimCutsClosedAndOpenFiguresAtThePressedPlace) {
  const struct {
    const char* what;
    bool closed;
    bool pointHit;
    int index;                           // the point pressed, or the first point of the segment
    std::vector<std::vector<Pt>> after;  // the layer's objects' points afterwards; empty: unchanged
  } cases[] = {
      {"rectangle edge", true, false, 0, {{{50, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}, {50, 0}}}},
      {"rectangle corner", true, true, 2, {{{100, 100}, {0, 100}, {0, 0}, {100, 0}, {100, 100}}}},
      {"open figure's first segment", false, false, 0, {{{0, 0}, {50, 0}}, {{50, 0}, {100, 0}, {100, 100}}}},
      {"open figure's middle point", false, true, 1, {{{0, 0}, {100, 0}}, {{100, 0}, {100, 100}}}},
      {"open figure's first point", false, true, 0, {}},
      {"open figure's last point", false, true, 2, {}},
  };
  for (const auto& c : cases) {
    ObjectRec* o = c.closed ? Square() : Shape(kPolyKind, false, {{0, 0}, {100, 0}, {100, 100}});
    const std::vector<ObjectImage> before = Drawing();
    ClickInfo info = PointPress(o, c.index);
    float x = info.point->x, y = info.point->y;
    if (!c.pointHit) {
      // The hit piece of the segment from (0, 0) to (100, 0) runs from its middle on.
      info.pointHit = 0;
      info.segmentHit = 1;
      info.nextPoint = At(o, c.index + 1);
      info.tStart = 0.5f;
      info.segStart = FloatPoint{50, 0};
      info.segEnd = FloatPoint{60, 0};
      x = 50;
      y = 0;
    }
    BeginUndo(doc_, kUndoTrim);
    SupportTrackTrim(x, y, kStagePress, &info, 0);
    if (c.after.empty()) {
      ExpectSameDrawing(Drawing(), before);
      EXPECT_FALSE(gUndoAvail) << c.what;
    } else {
      ASSERT_EQ(CountObjects(layer_), static_cast<int>(c.after.size())) << c.what;
      const ObjectRec* part = layer_->firstObject;
      for (const auto& points : c.after) {
        EXPECT_EQ(part->closed, 0) << c.what;
        EXPECT_EQ(part->kind, points.size() == 2 ? kLineKind : kPolyKind) << c.what;
        ASSERT_EQ(CountObjectPoints(part), static_cast<int>(points.size())) << c.what;
        int k = 0;
        for (const PointRec* p = part->firstPoint; p; p = p->nextPoint, ++k)
          ExpectNear(p, points[static_cast<size_t>(k)].x, points[static_cast<size_t>(k)].y);
        part = part->nextObject;
      }
      ExpectUndoRedo(before);
    }
    DisposeUndo();
    while (layer_->firstObject) DeleteObj(layer_->firstObject);
  }
}

TEST_F(FilletTest, TrimOnAPieceOfNoLengthCutsAtItsStart) {
  ObjectRec* o = Shape(kPolyKind, false, {{0, 0}, {100, 0}, {100, 100}});
  ClickInfo info = PointPress(o, 0);
  info.pointHit = 0;
  info.segmentHit = 1;
  info.nextPoint = At(o, 1);
  info.tStart = 0.5f;
  info.segStart = info.segEnd = FloatPoint{50, 0};
  SupportTrackTrim(70, 0, kStagePress, &info, 0);
  ASSERT_EQ(CountObjects(layer_), 2);
  ExpectNear(layer_->firstObject->nextObject->firstPoint, 50, 0);
}

TEST_F(FilletTest, UndoLetsGoOfATrimWhoseObjectIsDeleted) {
  ObjectRec* o = Shape(kPolyKind, false, {{0, 0}, {100, 0}, {100, 100}});
  BeginUndo(doc_, kUndoTrim);
  const ClickInfo middle = PointPress(o, 1);
  SupportTrackTrim(100, 0, kStagePress, &middle, 0);
  ASSERT_TRUE(Undo());  // the second part is held outside the drawing now
  EXPECT_EQ(CountObjects(layer_), 1);
  DeleteObj(o);  // the record and the part it held go with it
  EXPECT_FALSE(UndoAvailable(doc_));
}

}  // namespace
