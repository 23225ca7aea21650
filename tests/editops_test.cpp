// The editing operations: duplicates and mirrored copies, smoothing, parallel copies, join and
// unjoin, and the undo records they meet.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "model/joinhdlr.h"
#include "model/objedit.h"
#include "model/objstuff.h"
#include "model/parallel.h"
#include "toolfixture.h"
#include "tools/editops.h"

namespace {

struct Pt {
  float x, y;
};

class EditOpsTest : public ToolTest {
 protected:
  // A shape of the given points (kind 1 vertices, no tangents), not selected.
  ObjectRec* Shape(std::initializer_list<Pt> points, bool closed = false, int16_t kind = kPolyKind) {
    ObjectRec* o = CreateObject(kind, closed, 0, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr);
    for (const Pt& p : points)
      AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, p.x, p.y, 0, 0, o), o);
    AppendObjectToLayer(o, layer_);
    UpdateObjectBounds(o);
    return o;
  }
  static std::vector<Pt> PointsOf(const ObjectRec* o) {
    std::vector<Pt> out;
    for (const PointRec* p = o->firstPoint; p; p = p->nextPoint) out.push_back({p->x, p->y});
    return out;
  }
  static void ExpectPoints(const ObjectRec* o, std::vector<Pt> expected) {
    ASSERT_NE(o, nullptr);
    const std::vector<Pt> got = PointsOf(o);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_NEAR(got[i].x, expected[i].x, 1e-3) << "point " << i;
      EXPECT_NEAR(got[i].y, expected[i].y, 1e-3) << "point " << i;
    }
  }
  std::vector<ObjectRec*> Objects() const {
    std::vector<ObjectRec*> out;
    for (ObjectRec* o = layer_->firstObject; o; o = o->nextObject) out.push_back(o);
    return out;
  }
  DocState* State() { return doc_->docState; }
};

// ---- Duplicate and mirror ----

TEST_F(EditOpsTest, DuplicateMakesARowOfUnselectedCopiesAtTheOffsets) {
  ObjectRec* source = Shape({{10, 100}, {20, 100}, {20, 110}}, true);
  SetObjectSelectFlags(source, 1);
  State()->dupOffsetH = 0.5f;
  State()->dupOffsetV = -0.5f;  // page direction: upward
  State()->dupRepeat = 3;
  TopLevelObjectAllLayers(doc_->firstLayer, kOpDuplicate, State());
  const std::vector<ObjectRec*> all = Objects();
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0], source);
  for (int i = 1; i <= 3; ++i) {
    SCOPED_TRACE(i);
    const float d = 36.0f * i;
    ExpectPoints(all[i], {{10 + d, 100 - d}, {20 + d, 100 - d}, {20 + d, 110 - d}});
    EXPECT_FALSE(IsObjectSelected(all[i]));
    EXPECT_EQ(all[i]->closed, 1);
    EXPECT_FLOAT_EQ(all[i]->bounds.left, source->bounds.left + d);
    EXPECT_FLOAT_EQ(all[i]->bounds.top, source->bounds.top - d);
  }
  EXPECT_TRUE(IsObjectSelected(source));

  // A repeat count of 0 copies nothing.
  State()->dupRepeat = 0;
  TopLevelObjectAllLayers(doc_->firstLayer, kOpDuplicate, State());
  EXPECT_EQ(Objects().size(), 4u);
}

TEST_F(EditOpsTest, MirrorCopiesInPlaceAboutTheFlipCentre) {
  ObjectRec* spline = Shape({{0, 0}, {10, 20}}, false, kSplineKind);
  spline->firstPoint->outTangentX = 5;
  spline->firstPoint->outTangentY = 2;
  SetObjectSelectFlags(spline, 1);
  const FloatRect centre = {0, 0, 20, 10};
  SetFlipCenter(&centre);
  for (int command : {kOpMirror, kOpDuplicateVariant}) {
    SCOPED_TRACE(command);
    TopLevelObject(spline, command, State());
    ObjectRec* copy = Objects().back();
    ASSERT_NE(copy, spline);
    const bool horizontal = command == kOpMirror;
    ExpectPoints(copy, horizontal ? std::vector<Pt>{{10, 0}, {0, 20}} : std::vector<Pt>{{0, 20}, {10, 0}});
    EXPECT_FLOAT_EQ(copy->firstPoint->outTangentX, horizontal ? -5 : 5);
    EXPECT_FLOAT_EQ(copy->firstPoint->outTangentY, horizontal ? 2 : -2);
    EXPECT_FALSE(IsObjectSelected(copy));
  }
  ExpectPoints(spline, {{0, 0}, {10, 20}});
}

DimInfo* NewDimInfo() {
  DimInfo* info = static_cast<DimInfo*>(std::calloc(1, sizeof(DimInfo)));
  info->dimFlags = 0x123;
  info->upperTolerance = 0.5f;
  return info;
}

TEST_F(EditOpsTest, DuplicatingAGroupCopiesMembersAndDimensionInformation) {
  ObjectRec* group = CreateObject(kGroupKind, 0, 0, nullptr, nullptr, 0, kSolidLineType, kNoFill, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr);
  AppendObjectToLayer(group, layer_);
  ObjectRec* rect = Shape({{0, 0}, {10, 0}, {10, 10}}, true);
  ObjectRec* dim = Shape({{0, 20}, {10, 20}}, false, kLengthDimKind);
  ObjectRec* label = Shape({{2, 25}, {8, 25}, {8, 30}, {2, 30}}, true, kDimensionTextKind);
  ObjectRec* leader = Shape({{0, 40}, {5, 45}}, false, kLeaderDimKind);
  dim->info = NewDimInfo();
  leader->info = NewDimInfo();
  label->info = std::calloc(1, sizeof(DimTextInfo));
  DimInfoOf(dim)->textObject = label;
  DimTextInfoOf(label)->ownerDimension = dim;
  for (ObjectRec* member : {rect, dim, label, leader}) {
    UnlinkObject(member);
    AppendObjectToGroup(member, group);
  }
  UpdateObjectRootBounds(group, false, false);
  ObjectRec* copy = DuplicateObject(group, nullptr, nullptr, FloatPoint{5, 0}, true, kDuplicateCommand);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(Objects().back(), copy);
  std::vector<ObjectRec*> members;
  for (ObjectRec* m = copy->firstChild; m; m = m->nextObject) {
    EXPECT_EQ(m->parent, copy);
    EXPECT_EQ(m->prevObject, members.empty() ? nullptr : members.back());
    members.push_back(m);
  }
  ASSERT_EQ(members.size(), 4u);
  EXPECT_EQ(members[0]->kind, kPolyKind);
  ExpectPoints(members[0], {{5, 0}, {15, 0}, {15, 10}});
  // The copied dimension keeps its flags and takes the copied label; the label points back.
  ASSERT_NE(members[1]->info, nullptr);
  EXPECT_NE(members[1]->info, dim->info);
  EXPECT_EQ(DimInfoOf(members[1])->dimFlags, 0x123u);
  EXPECT_EQ(DimInfoOf(members[1])->textObject, members[2]);
  ASSERT_NE(members[2]->info, nullptr);
  EXPECT_EQ(DimTextInfoOf(members[2])->ownerDimension, members[1]);
  EXPECT_EQ(DimInfoOf(dim)->textObject, label);
  // The leader copies its information without a label.
  ASSERT_NE(members[3]->info, nullptr);
  EXPECT_EQ(DimInfoOf(members[3])->textObject, nullptr);
  EXPECT_FLOAT_EQ(copy->bounds.left, group->bounds.left + 5);

  // The Duplicate walk leaves dimensions and their labels alone at the top level.
  const size_t before = Objects().size();
  ObjectRec* topDim = Shape({{0, 80}, {10, 80}}, false, kLengthDimKind);
  topDim->info = NewDimInfo();
  SetObjectSelectFlags(topDim, 1);
  State()->dupRepeat = 1;
  TopLevelObject(topDim, kOpDuplicate, State());
  EXPECT_EQ(Objects().size(), before + 1);
}

// ---- Smoothing ----

TEST_F(EditOpsTest, SmoothingSetsTangentsFromTheOutlineNeighbours) {
  State()->tension = 5;
  // Open three-point polyline: the middle gets 0.5 (third - first), the ends keep theirs.
  ObjectRec* open = Shape({{0, 0}, {10, 10}, {30, 0}});
  SetObjectSelectFlags(open, 1);
  SmoothObject(open);
  EXPECT_EQ(open->kind, kSplineKind);
  const PointRec* mid = open->firstPoint->nextPoint;
  EXPECT_FLOAT_EQ(mid->inTangentX, 15);
  EXPECT_FLOAT_EQ(mid->outTangentX, 15);
  EXPECT_FLOAT_EQ(mid->outTangentY, 0);
  EXPECT_FLOAT_EQ(open->firstPoint->outTangentX, 0);

  // Closed: the first point's neighbours are the last and the second point.
  ObjectRec* closed = Shape({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true, kRectKind);
  SetObjectSelectFlags(closed, 1);
  SmoothObject(closed);
  EXPECT_FLOAT_EQ(closed->firstPoint->outTangentX, 5);   // 0.5 (10 - 0)
  EXPECT_FLOAT_EQ(closed->firstPoint->outTangentY, -5);  // 0.5 (0 - 10)

  // Markers are passed over: the fillet markers before a tangent point are not its neighbour.
  ObjectRec* filleted = Shape({{0, 0}, {20, 0}});
  PointRec* marker = CreatePoint(kFilletMarkerPoint, 1, 0, 0, 0, 500, 500, 0, 0, filleted);
  InsertPointInObject(marker, filleted, filleted->firstPoint);
  AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, 20, 20, 0, 0, filleted), filleted);
  SetObjectSelectFlags(filleted, 1);
  SmoothObject(filleted);
  EXPECT_FLOAT_EQ(marker->outTangentX, 0) << "a marker is not smoothed";
  const PointRec* corner = marker->nextPoint;
  EXPECT_FLOAT_EQ(corner->outTangentX, 10);  // 0.5 ((20, 20) - (0, 0))
  EXPECT_FLOAT_EQ(corner->outTangentY, 10);

  // Nothing to smooth: one point, or a kind that is not a shape.
  ObjectRec* single = Shape({{5, 5}});
  ObjectRec* picture = Shape({{0, 0}, {10, 0}, {10, 10}}, true, kMetaFileKind);
  for (ObjectRec* o : {single, picture}) {
    const int16_t kind = o->kind;
    SetObjectSelectFlags(o, 1);
    SmoothObject(o);
    if (o == picture) UnsmoothObject(o);
    EXPECT_EQ(o->kind, kind);
  }
  UnsmoothObject(open);
  EXPECT_FLOAT_EQ(mid->outTangentX, 0);
}

// ---- Parallels ----

TEST_F(EditOpsTest, ParallelsOfRectanglesEitherWayRound) {
  const std::vector<Pt> clockwise = {{0, 0}, {100, 0}, {100, 50}, {0, 50}};
  const std::vector<Pt> counter = {{0, 0}, {0, 50}, {100, 50}, {100, 0}};
  struct Case {
    const std::vector<Pt>* points;
    int side;
    float inset;  // positive inside
  } cases[] = {{&clockwise, kParallelInsideSide, 5},
               {&counter, kParallelInsideSide, 5},
               {&clockwise, kParallelOutsideSide, -5},
               {&counter, kParallelOutsideSide, -5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.points == &clockwise ? "clockwise" : "counter") << " side "
                                    << c.side);
    const std::vector<Pt>& p = *c.points;
    ObjectRec* rect = Shape({p[0], p[1], p[2], p[3]}, true, kRectKind);
    ObjectRec* copy = CreateParallelObject(rect, c.side, 5);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->kind, kRectKind);
    EXPECT_EQ(Objects().back(), copy);
    FloatRect b = copy->bounds;
    EXPECT_NEAR(b.left, c.inset, 1e-3);
    EXPECT_NEAR(b.top, c.inset, 1e-3);
    EXPECT_NEAR(b.right, 100 - c.inset, 1e-3);
    EXPECT_NEAR(b.bottom, 50 - c.inset, 1e-3);
    EXPECT_EQ(CountObjectPoints(copy), 4);
  }
}

TEST_F(EditOpsTest, ParallelSideComesFromTheAreaNotFromAProbe) {
  // A figure narrower than any fixed probe distance still knows its inside.
  ObjectRec* thin = Shape({{0, 0}, {100, 0}, {100, 2}, {0, 2}}, true);
  EXPECT_EQ(GetParallelDirection(thin), -1);  // clockwise on the screen: inside on the right
  ObjectRec* thinCounter = Shape({{0, 0}, {0, 2}, {100, 2}, {100, 0}}, true);
  EXPECT_EQ(GetParallelDirection(thinCounter), 1);
  ObjectRec* copy = CreateParallelObject(thin, kParallelInsideSide, 0.5f);
  ExpectPoints(copy, {{0.5f, 0.5f}, {99.5f, 0.5f}, {99.5f, 1.5f}, {0.5f, 1.5f}});

  // Collinear neighbours: the shared point moves straight sideways. A line's parallel inside
  // lies to its right.
  ObjectRec* bent = Shape({{0, 0}, {10, 0}, {20, 0}, {20, 10}});
  ExpectPoints(CreateParallelObject(bent, kParallelOutsideSide, 2), {{0, -2}, {10, -2}, {22, -2}, {22, 10}});
  ObjectRec* line = Shape({{0, 0}, {10, 0}}, false, kLineKind);
  ExpectPoints(CreateParallelObject(line, kParallelInsideSide, 3), {{0, 3}, {10, 3}});
  float ax, ay, bx, by;
  GetParallelPoints(line->firstPoint, line->firstPoint->nextPoint, &ax, &ay, &bx, &by, 1, 3);
  EXPECT_FLOAT_EQ(ay, -3);  // left as the user sees it: up the page
  EXPECT_EQ(CreateParallelObject(Shape({{4, 4}, {4, 4}}), kParallelInsideSide, 3), nullptr);
}

TEST_F(EditOpsTest, DrawParallelCentredReplacesTheShapeAndUndoesWithIt) {
  State()->drawParallel = 1;
  State()->parallelWidth = 0.5f;  // 36 page units
  State()->parallelSide = kParallelCentredSide;
  BeginUndo(doc_, kUndoRectangle);
  ObjectRec* kept = BuildRect(100, 100, 300, 200, layer_, true);
  ASSERT_NE(kept, nullptr);
  RecordUndoCreate(kept);
  RecordParallelCopiesForUndo(kept);
  std::vector<ObjectRec*> all = Objects();
  ASSERT_EQ(all.size(), 2u) << "the drawn rectangle gives way to its two copies";
  EXPECT_EQ(all[0], kept);
  EXPECT_FLOAT_EQ(kept->bounds.left, 82);
  EXPECT_FLOAT_EQ(all[1]->bounds.left, 118);
  EXPECT_FLOAT_EQ(all[1]->bounds.bottom, 182);

  ASSERT_TRUE(Undo());
  EXPECT_TRUE(Objects().empty());
  ASSERT_TRUE(Undo());  // redo
  EXPECT_EQ(Objects().size(), 2u);
  ASSERT_TRUE(Undo());
  DisposeUndo();  // frees both while they are out of the drawing

  // Inside only: the shape stays and one copy follows it.
  State()->parallelSide = kParallelInsideSide;
  ObjectRec* rect = BuildRect(0, 0, 100, 100, layer_, true);
  ExpectPoints(Objects().back(), {{36, 36}, {64, 36}, {64, 64}, {36, 64}});
  EXPECT_EQ(Objects().front(), rect);
}

// ---- Join and unjoin ----

TEST_F(EditOpsTest, JoinWeldsChainsInAnyOrder) {
  struct Case {
    const char* name;
    std::vector<std::vector<Pt>> shapes;
    size_t objectsLeft;
    bool closed;
    std::vector<Pt> points;  // of the first object left
  } cases[] = {
      {"end to start", {{{0, 0}, {10, 0}}, {{10, 0}, {10, 10}}}, 1, false, {{0, 0}, {10, 0}, {10, 10}}},
      {"head to head", {{{0, 0}, {10, 0}}, {{20, 0}, {10, 0}}}, 1, false, {{0, 0}, {10, 0}, {20, 0}}},
      {"start to start", {{{10, 0}, {0, 0}}, {{10, 0}, {20, 0}}}, 1, false, {{0, 0}, {10, 0}, {20, 0}}},
      {"triangle",
       {{{0, 0}, {10, 0}}, {{10, 0}, {5, 8}}, {{5, 8}, {0, 0}}},
       1,
       true,
       {{10, 0}, {0, 0}, {5, 8}}},
      {"out of order",
       {{{0, 0}, {10, 0}}, {{20, 0}, {30, 0}}, {{10, 0}, {20, 0}}, {{40, 0}, {30, 0}}},
       1,
       false,
       {{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}}},
      {"ends 0.3 apart meet",
       {{{0, 0}, {10, 0}}, {{10.3f, 0}, {10, 10}}},
       1,
       false,
       {{0, 0}, {10, 0}, {10, 10}}},
      {"ends 1.2 apart do not", {{{0, 0}, {10, 0}}, {{11.2f, 0}, {10, 10}}}, 2, false, {{0, 0}, {10, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteLayerObjects(layer_);
    for (const auto& shape : c.shapes) {
      ObjectRec* o = Shape({}, false, kLineKind);
      for (const Pt& p : shape)
        AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, p.x, p.y, 0, 0, o), o);
      SetObjectSelectFlags(o, 1);
    }
    JoinAllLayers(doc_->firstLayer);
    const std::vector<ObjectRec*> left = Objects();
    ASSERT_EQ(left.size(), c.objectsLeft);
    if (c.objectsLeft == 1) {
      EXPECT_EQ(left[0]->kind, kPolyKind);
    }
    EXPECT_EQ(left[0]->closed, c.closed);
    ExpectPoints(left[0], c.points);
    for (ObjectRec* o : left) EXPECT_FALSE(IsObjectSelected(o));
  }
}

TEST_F(EditOpsTest, JoinLeavesClosedFiguresAloneAndKeepsCurves) {
  // A closed shape among the selection is only deselected; nothing is appended to a figure once
  // it closed.
  ObjectRec* box = Shape({{0, 0}, {10, 0}, {10, 10}}, true);
  ObjectRec* a = Shape({{0, 0}, {10, 0}}, false, kLineKind);
  ObjectRec* b = Shape({{10, 0}, {0, 0}}, false, kLineKind);
  ObjectRec* tail = Shape({{0, 0}, {0, -10}}, false, kLineKind);
  for (ObjectRec* o : {box, a, b, tail}) SetObjectSelectFlags(o, 1);
  JoinAllLayers(doc_->firstLayer);
  ExpectPoints(box, {{0, 0}, {10, 0}, {10, 10}});
  const std::vector<ObjectRec*> left = Objects();
  ASSERT_EQ(left.size(), 3u);
  EXPECT_TRUE(a->closed);
  ExpectPoints(a, {{0, 0}, {10, 0}});
  EXPECT_EQ(left[2], tail);

  // An arc joined at its start is reversed: its curve keeps its shape and its centre goes.
  DeleteLayerObjects(layer_);
  ObjectRec* arc = Shape({{0, 0}, {10, 10}}, false, kArcKind);
  arc->firstPoint->outTangentX = 4;
  arc->firstPoint->nextPoint->inTangentY = 6;
  AppendPointToObject(CreatePoint(kArcCentrePoint, 0, 0, 0, 0, 10, 0, 0, 0, arc), arc);
  ObjectRec* line = Shape({{0, 0}, {-10, 0}}, false, kLineKind);
  SetObjectSelectFlags(arc, 1);
  SetObjectSelectFlags(line, 1);
  JoinAllLayers(doc_->firstLayer);
  ASSERT_EQ(Objects().size(), 1u);
  ExpectPoints(arc, {{10, 10}, {0, 0}, {-10, 0}});
  EXPECT_FLOAT_EQ(arc->firstPoint->outTangentY, -6);
  EXPECT_FLOAT_EQ(arc->firstPoint->nextPoint->inTangentX, -4);
}

TEST_F(EditOpsTest, UnjoinSplitsIntoLinesAndKeepsWhatItCannotSplit) {
  ObjectRec* rect = BuildRect(0, 0, 20, 10, layer_, false);
  ASSERT_TRUE(UnjoinObject(rect));
  std::vector<ObjectRec*> lines = Objects();
  ASSERT_EQ(lines.size(), 4u);
  const Pt corners[] = {{0, 0}, {20, 0}, {20, 10}, {0, 10}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i]->kind, kLineKind);
    EXPECT_EQ(lines[i]->objectFlag, 1);
    EXPECT_FALSE(IsObjectSelected(lines[i]));
    ExpectPoints(lines[i], {corners[i], corners[(i + 1) % 4]});
  }

  // A curve keeps its tangents in its lines.
  DeleteLayerObjects(layer_);
  ObjectRec* spline = Shape({{0, 0}, {10, 0}, {20, 5}}, false, kSplineKind);
  spline->firstPoint->nextPoint->inTangentX = 3;
  spline->firstPoint->nextPoint->outTangentX = 4;
  ASSERT_TRUE(UnjoinObject(spline));
  lines = Objects();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_FLOAT_EQ(lines[0]->firstPoint->nextPoint->inTangentX, 3);
  EXPECT_FLOAT_EQ(lines[1]->firstPoint->outTangentX, 4);

  // A picture and a one-point shape are only deselected.
  DeleteLayerObjects(layer_);
  ObjectRec* picture = Shape({{0, 0}, {10, 0}, {10, 10}}, true, kMetaFileKind);
  ObjectRec* dot = Shape({{5, 5}});
  for (ObjectRec* o : {picture, dot}) {
    SetObjectSelectFlags(o, 1);
    EXPECT_FALSE(UnjoinObject(o));
    EXPECT_FALSE(IsObjectSelected(o));
  }
  EXPECT_EQ(Objects().size(), 2u);
}

}  // namespace
