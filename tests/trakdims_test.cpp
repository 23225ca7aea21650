// The dimension tools' geometry and builders: which way a dimension runs, which points it takes
// from the object pressed, where its label goes, and the value it then reads.
#include <cmath>
#include <initializer_list>

#include "dimensions/drawdim2.h"
#include "geometry/gnrlmath.h"
#include "model/objhndlr.h"
#include "toolfixture.h"
#include "tools/trakdims.h"

namespace {

constexpr float kTol = 1e-3f;
constexpr float kInch = 72.0f;  // page units per inch at the default scale

using DimTools = ToolTest;

void ExpectAt(FloatPoint p, float x, float y, const char* what) {
  EXPECT_NEAR(p.x, x, kTol) << what;
  EXPECT_NEAR(p.y, y, kTol) << what;
}

void ExpectSegment(const DimSegment& s, FloatPoint a, FloatPoint b, const char* what) {
  ExpectAt(s.a, a.x, a.y, what);
  ExpectAt(s.b, b.x, b.y, what);
}

int CountPoints(const ObjectRec* o) {
  int n = 0;
  for (const PointRec* p = o->firstPoint; p; p = p->nextPoint) ++n;
  return n;
}

TEST(DimensionToolGeometry, OffsetOrientation) {
  struct Case {
    FloatPoint a, b, cursor;
    bool vertical;
  } cases[] = {
      {{0, 0}, {0, 100}, {50, 50}, true},     // one x: always vertical
      {{0, 0}, {0, 100}, {0, 500}, true},     //   even straight below
      {{0, 0}, {100, 60}, {50, 200}, false},  // cursor on the midpoint's vertical (dx = 0)
      {{0, 0}, {100, 60}, {300, 30}, true},   // further across than down: vertical line
      {{0, 0}, {100, 60}, {90, 70}, false},   // dx = dy = 40: a tie is horizontal
      {{0, 0}, {100, 0}, {500, 10}, false},   // one y: never vertical
      {{10, 10}, {40, 90}, {-80, 50}, true},  // left of both
  };
  for (const Case& c : cases)
    EXPECT_EQ(OffsetDimIsVertical(c.a, c.b, c.cursor), c.vertical)
        << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y << " cursor " << c.cursor.x << ","
        << c.cursor.y;
}

TEST(DimensionToolGeometry, LengthOffsetTakesTheSideOfTheCursor) {
  const float h = std::sqrt(0.5f);
  struct Case {
    FloatPoint a, b, o;
    FloatPoint v;
    float distance;
  } cases[] = {
      {{0, 0}, {100, 0}, {50, -30}, {0, -30}, 30},  // above
      {{0, 0}, {100, 0}, {50, 20}, {0, 20}, 20},    // below
      {{0, 0}, {100, 0}, {300, 20}, {0, 20}, 20},   // beyond the end: distance to the line
      {{0, 0}, {100, 0}, {40, 0}, {0, 0}, 0},       // on the line: no offset
      {{0, 0}, {100, 100}, {100, 0}, {70.71f * h, -70.71f * h}, 70.71f},  // diagonal, to its right
      {{0, 100}, {0, 0}, {-10, 50}, {-10, 0}, 10},                        // vertical, to its left
  };
  for (const Case& c : cases) {
    LengthDimOffset off;
    GetLengthDimOffset(c.a, c.b, c.o, &off);
    EXPECT_NEAR(off.distance, c.distance, 0.01f) << c.o.x << "," << c.o.y;
    EXPECT_NEAR(off.v.x, c.v.x, 0.01f) << c.o.x << "," << c.o.y;
    EXPECT_NEAR(off.v.y, c.v.y, 0.01f) << c.o.x << "," << c.o.y;
  }
}

TEST(DimensionToolGeometry, AngleSweepAndArcEnds) {
  const float pi = static_cast<float>(kPi);
  struct Case {
    float a1, a2, sweep;
  } sweeps[] = {
      {0, pi / 2, pi / 2},         {pi / 2, 0, -pi / 2}, {0.1f, 2 * pi - 0.1f, -0.2f},
      {2 * pi - 0.1f, 0.1f, 0.2f}, {0, pi, pi},
  };
  for (const Case& c : sweeps) EXPECT_NEAR(AngleSweep(c.a1, c.a2), c.sweep, 1e-5f) << c.a1 << " " << c.a2;
  // The arc meets both legs at the distance of the radius press (y down on the page).
  FloatPoint s1, s2;
  GetAngleDimArcEnds({0, 0}, {20, 0}, {0, -50}, {0, 40}, &s1, &s2);
  ExpectAt(s1, 40, 0, "arc on the first leg");
  ExpectAt(s2, 0, -40, "arc on the second leg");
}

TEST(DimensionToolGeometry, CircleBandWithAndWithoutShoulder) {
  const CircleTarget circle = {{100, 100}, 80};
  struct Case {
    FloatPoint cursor;
    bool diameter;
    DimSegment line;
    bool shoulder;
    float shoulderEndX;
  } cases[] = {
      {{120, 100}, true, {{140, 100}, {60, 100}}, false, 0},   // inside: circle to circle
      {{200, 100}, true, {{200, 100}, {60, 100}}, true, 225},  // outside right: shoulder right
      {{100, 80}, false, {{100, 100}, {100, 60}}, false, 0},   // radius inside the circle (y down)
      {{0, 100}, false, {{100, 100}, {0, 100}}, true, -25},    // radius outside left
  };
  for (const Case& c : cases) {
    CircleDimState s;
    GetCircleDimState(circle, c.cursor, c.diameter, &s);
    ExpectSegment(s.line, c.line.a, c.line.b, c.diameter ? "diameter" : "radius");
    EXPECT_EQ(s.hasShoulder, c.shoulder) << c.cursor.x;
    if (c.shoulder) {
      EXPECT_NEAR(s.shoulder.b.x, c.shoulderEndX, kTol);
    }
  }
}

// ---- What the diameter and radius tools take from the object pressed.

struct PointDef {
  int16_t kind;
  float x, y;
};

ObjectRec* Figure(LayerRec* layer, int16_t kind, std::initializer_list<PointDef> points) {
  ObjectRec* o = CreateObject(kind, 0, 0, &kBlack16, &kBlack16, 1.0f, kSolidLineType, kNoFill, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr);
  for (const PointDef& p : points) AppendPointToObject(CreatePoint(p.kind, 0, 0, 0, 0, p.x, p.y, 0, 0, o), o);
  AppendObjectToLayer(o, layer);
  return o;
}

ClickInfo HitOn(ObjectRec* o, int pointIndex) {
  ClickInfo info = {};
  info.hit = 1;
  info.object = o;
  info.point = o->firstPoint;
  for (int i = 0; i < pointIndex && info.point; ++i) info.point = info.point->nextPoint;
  return info;
}

TEST_F(DimTools, CircleTargetsOfTheDiameterAndRadiusTools) {
  ObjectRec* circle = BuildOval(0, 0, 100, 100, layer_, false);
  ObjectRec* nearlyRound = BuildOval(0, 0, 100.5f, 100, layer_, false);  // both diameters 100 in whole units
  ObjectRec* ellipse = BuildOval(0, 0, 101, 100, layer_, false);
  ObjectRec* shortOval = Figure(layer_, kOvalKind, {{1, 50, 0}, {1, 100, 50}, {1, 50, 100}});
  ObjectRec* arc = BuildArc(200, 0, 300, 100, 0, 90, layer_, false);
  ObjectRec* flatArc = BuildArc(200, 0, 300, 60, 0, 90, layer_, false);
  // A right-angled corner at (100, 0) rounded with radius 10: centre marker, corner marker,
  // tangent point, middle, tangent point.
  const float m = 10.0f * std::sqrt(0.5f);
  ObjectRec* fillet = Figure(
      layer_, kPolyKind,
      {{1, 0, 0}, {2, 90, 10}, {2, 100, 0}, {1, 90, 0}, {3, 90 + m, 10 - m}, {1, 100, 10}, {1, 100, 100}});
  ObjectRec* earlyMiddle = Figure(layer_, kPolyKind, {{1, 0, 0}, {3, 10, 10}, {1, 20, 0}});
  ObjectRec* rect = Rect(0, 0, 50, 50);

  struct Case {
    const char* what;
    ClickInfo info;
    bool diameterTakes, radiusTakes;
    FloatPoint centre;
    float diameter;
  } cases[] = {
      {"circle", HitOn(circle, 1), true, true, {50, 50}, 100},
      {"nearly round oval", HitOn(nearlyRound, 0), true, true, {50.25f, 50}, 100},
      {"ellipse a whole unit wider", HitOn(ellipse, 0), false, false, {}, 0},
      {"oval of three points", HitOn(shortOval, 2), false, false, {}, 0},
      {"arc at an arc point", HitOn(arc, 1), false, true, {250, 50}, 100},
      {"arc at its last arc point", HitOn(arc, 2), false, true, {250, 50}, 100},
      {"arc at its centre", HitOn(arc, 3), false, false, {}, 0},
      {"elliptic arc", HitOn(flatArc, 0), false, false, {}, 0},
      {"fillet at its middle", HitOn(fillet, 4), false, true, {90, 10}, 20},
      {"fillet at a tangent point", HitOn(fillet, 3), false, true, {90, 10}, 20},
      {"fillet middle at the list's start", HitOn(earlyMiddle, 0), false, false, {}, 0},
      {"polygon corner away from any fillet", HitOn(fillet, 0), false, false, {}, 0},
      {"rectangle", HitOn(rect, 0), false, false, {}, 0},
      {"nothing hit", ClickInfo{}, false, false, {}, 0},
  };
  for (const Case& c : cases) {
    CircleTarget t = {};
    EXPECT_EQ(FindDiameterTarget(c.info, &t), c.diameterTakes) << c.what;
    const bool radius = FindRadiusTarget(c.info, &t);
    EXPECT_EQ(radius, c.radiusTakes) << c.what;
    if (!radius) continue;
    EXPECT_NEAR(t.centre.x, c.centre.x, 0.01f) << c.what;
    EXPECT_NEAR(t.centre.y, c.centre.y, 0.01f) << c.what;
    EXPECT_NEAR(t.diameter, c.diameter, 0.01f) << c.what;
  }

  // Through the hit test, as the tool presses: on a circle's outline at its right.
  BuildOval(400, 400, 500, 500, layer_, false);
  CircleTarget t = {};
  EXPECT_TRUE(FindDiameterTarget(Press(500, 450), &t));
  EXPECT_NEAR(t.diameter, 100, kTol);
  EXPECT_NEAR(t.centre.x, 450, kTol);
}

// ---- The builders: kinds, points, labels and the values read.

TEST_F(DimTools, BuildersPlaceTheirPointsLabelsAndReadTheirValues) {
  doc_->docState->penColor = {0x1111, 0x2222, 0x3333};
  const float a = kInch, b = 2 * kInch;
  struct Case {
    const char* what;
    ObjectRec* object;
    int16_t kind;
    std::initializer_list<FloatPoint> points;
    bool hasLabel;
    FloatPoint labelCentre;
    float value;  // world units (inches), or degrees
  } cases[] = {
      {"vertical offset",
       BuildOffsetDim(0, 0, a, b, 3 * a, 0, layer_, true),
       kOffsetDimVKind,
       {{a, b}, {3 * a, b}, {3 * a, 0}, {0, 0}},
       true,
       {3 * a, a},
       2},
      {"horizontal offset",
       BuildOffsetDim(0, 0, a, b, 0, -a, layer_, false),
       kOffsetDimHKind,
       {{a, b}, {a, -a}, {0, -a}, {0, 0}},
       true,
       {a / 2, -a},
       1},
      {"length",
       BuildLengthDim(0, 0, b, 0, a, -a, layer_),
       kLengthDimKind,
       {{b, 0}, {b, -a}, {0, -a}, {0, 0}},
       true,
       {a, -a},
       2},
      {"angle",
       BuildAngleDim(0, 0, a, 0, 0, -a, 0, -b, b, 0, layer_),
       kAngleDimKind,
       {{0, 0}, {a, 0}, {0, -a}, {0, -b}},
       true,
       {b * std::sqrt(0.5f), -b * std::sqrt(0.5f)},
       90},
      {"diameter",
       BuildDiameterDim(a, 0, -a, 0, layer_, 0, false),
       kDiameterDimKind,
       {{a, 0}, {-a, 0}},
       true,
       {0, 0},
       2},
      {"diameter with shoulder",
       BuildDiameterDim(a, 0, -a, 0, layer_, 10, true),
       kDiameterShoulderDimKind,
       {{a, 0}, {-a, 0}, {a + 10, 0}, {a + 10 + kDimShoulderLength, 0}},
       true,
       {a + 10 + kDimShoulderLength, 0},
       2},
      {"radius",
       BuildRadiusDim(0, 0, 0, a, layer_, 0, false),
       kRadiusDimKind,
       {{0, 0}, {0, a}},
       true,
       {0, a / 2},
       1},
      {"radius with shoulder to the left",
       BuildRadiusDim(0, 0, -a, 0, layer_, 5, true),
       kRadiusShoulderDimKind,
       {{0, 0}, {-a, 0}, {-a - 5, 0}, {-a - 5 - kDimShoulderLength, 0}},
       true,
       {-a - 5 - kDimShoulderLength, 0},
       1},
      {"leader",
       BuildLeaderDim(0, 0, 10, 10, 30, 10, layer_),
       kLeaderDimKind,
       {{0, 0}, {10, 10}, {30, 10}},
       false,
       {},
       0},
  };
  for (const Case& c : cases) {
    const ObjectRec* o = c.object;
    ASSERT_NE(o, nullptr) << c.what;
    EXPECT_EQ(o->kind, c.kind) << c.what;
    EXPECT_EQ(o->layer, layer_) << c.what;
    EXPECT_EQ(o->penColor.green, 0x2222) << c.what;
    EXPECT_EQ(o->lineWeight, 1.0f) << c.what;
    EXPECT_EQ(o->fillPattern, kNoFill) << c.what;
    EXPECT_FALSE(o->closed) << c.what;
    ASSERT_EQ(CountPoints(o), static_cast<int>(c.points.size())) << c.what;
    const PointRec* point = o->firstPoint;
    for (const FloatPoint& p : c.points) {
      ExpectAt({point->x, point->y}, p.x, p.y, c.what);
      EXPECT_EQ(point->pointKind, kVertexPoint) << c.what;
      EXPECT_TRUE(point->selected) << c.what;
      point = point->nextPoint;
    }
    const DimInfo* info = DimInfoOf(o);
    ASSERT_NE(info, nullptr) << c.what;
    EXPECT_EQ(info->dimFlags, doc_->docState->dimFlags) << c.what;
    ASSERT_EQ(info->textObject != nullptr, c.hasLabel) << c.what;
    float value = 0;
    bool angle = false;
    EXPECT_EQ(MeasureDimension(o, doc_->docState, &value, &angle), c.hasLabel) << c.what;
    if (!c.hasLabel) continue;
    EXPECT_NEAR(value, c.value, kTol) << c.what;
    EXPECT_EQ(angle, c.kind == kAngleDimKind) << c.what;
    const ObjectRec* label = info->textObject;
    EXPECT_EQ(label->kind, kDimensionTextKind) << c.what;
    EXPECT_EQ(DimTextInfoOf(label)->ownerDimension, o) << c.what;
    EXPECT_EQ(label->layer, layer_) << c.what;
    // The label's box is centred on the rounded text centre.
    EXPECT_NEAR((label->bounds.left + label->bounds.right) / 2, std::trunc(c.labelCentre.x + 0.5f), 0.51f)
        << c.what;
    EXPECT_NEAR((label->bounds.top + label->bounds.bottom) / 2, std::trunc(c.labelCentre.y + 0.5f), 0.51f)
        << c.what;
  }
  // Every dimension but the leader brought its label into the layer right after it.
  EXPECT_EQ(CountObjects(layer_), 2 * 8 + 1);
}

TEST_F(DimTools, DegenerateOrHomelessDimensionsBuildNothing) {
  EXPECT_EQ(BuildOffsetDim(5, 5, 5, 5, 50, 50, layer_, true), nullptr);
  EXPECT_EQ(BuildLengthDim(5, 5, 5, 5, 50, 50, layer_), nullptr);
  EXPECT_EQ(BuildAngleDim(5, 5, 5, 5, 0, 0, 1, 1, 2, 2, layer_), nullptr);
  EXPECT_EQ(BuildDiameterDim(5, 5, 5, 5, layer_, 0, false), nullptr);
  EXPECT_EQ(BuildRadiusDim(5, 5, 5, 5, layer_, 10, true), nullptr);
  EXPECT_EQ(BuildLeaderDim(5, 5, 5, 5, 9, 9, layer_), nullptr);
  EXPECT_EQ(BuildLengthDim(0, 0, NAN, 0, 50, 50, layer_), nullptr);
  EXPECT_EQ(BuildLengthDim(0, 0, 10, 0, 5, 5, nullptr), nullptr);
  EXPECT_EQ(CountObjects(layer_), 0);
  DocumentRec* current = gCurDocument;
  gCurDocument = nullptr;
  EXPECT_EQ(BuildLengthDim(0, 0, 10, 0, 5, 5, layer_), nullptr);
  gCurDocument = current;
  EXPECT_EQ(CountObjects(layer_), 0);
}

TEST_F(DimTools, MeasureDimensionReadsWorldUnitsAndRefusesWhatItCannotRead) {
  doc_->docState->scaleFactor = 4.0f;  // a sheet inch is four world inches
  ObjectRec* length = BuildLengthDim(0, 0, kInch, 0, 0, 20, layer_);
  float value = 0;
  bool angle = true;
  ASSERT_TRUE(MeasureDimension(length, doc_->docState, &value, &angle));
  EXPECT_NEAR(value, 4.0f, kTol);
  EXPECT_FALSE(angle);
  // Angles from 350 to 10 degrees read 20.
  const float r = 50.0f, a1 = static_cast<float>(350 / kRadiansToDegrees),
              a2 = static_cast<float>(10 / kRadiansToDegrees);
  ObjectRec* wide =
      BuildAngleDim(0, 0, r * std::cos(a1), -r * std::sin(a1), r * std::cos(a2), -r * std::sin(a2),
                    r * std::cos(a2), -r * std::sin(a2), r * std::cos(a1), -r * std::sin(a1), layer_);
  ASSERT_TRUE(MeasureDimension(wide, doc_->docState, &value, &angle));
  EXPECT_NEAR(value, 20.0f, 1e-3f);
  EXPECT_TRUE(angle);
  // A damaged dimension short of its points, a leader, a shape: nothing read.
  ObjectRec* shortDim = Figure(layer_, kLengthDimKind, {{1, 0, 0}, {1, 10, 0}});
  EXPECT_FALSE(MeasureDimension(shortDim, doc_->docState, &value, &angle));
  EXPECT_FALSE(MeasureDimension(BuildLeaderDim(0, 0, 5, 5, 9, 5, layer_), doc_->docState, &value, &angle));
  EXPECT_FALSE(MeasureDimension(Rect(0, 0, 5, 5), doc_->docState, &value, &angle));
  EXPECT_FALSE(MeasureDimension(nullptr, doc_->docState, &value, &angle));
}

}  // namespace
