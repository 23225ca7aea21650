// Painting only what shows: a view of part of a drawing (objects and lines outside it left out)
// and a paint clipped to an update rectangle must set exactly the pixels that painting the whole
// drawing sets there, at every zoom, with wide pens reaching across the view's edges.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "model/records.h"
#include "render/drawhdlr.h"
#include "render/imagefile.h"
#include "render/overdraw.h"
#include "tests/render/refpicture.h"

namespace {

struct Shape {
  int16_t kind;
  bool closed;
  std::vector<FloatPoint> points;
  float weight;
  int16_t lineType;
  int16_t pattern;
  float tangent;  // each point's in and out tangent along x, 0 for straight segments
};

ObjectRec* AddShape(LayerRec* layer, const Shape& s, uint16_t shade) {
  FloatRect bounds = kEmptyRect;
  const RGB16 pen = {shade, static_cast<uint16_t>(0xFFFF - shade), 0x4000};
  const RGB16 fill = {0x2000, shade, 0xC000};
  ObjectRec* object = CreateObject(s.kind, s.closed ? 1 : 0, 1, &fill, &pen, s.weight, s.lineType, s.pattern,
                                   &bounds, nullptr, nullptr, nullptr, layer, nullptr);
  for (const FloatPoint& p : s.points)
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, -s.tangent, 0, p.x, p.y, s.tangent, 0, object),
                        object);
  UpdateObjectBounds(object);
  AppendObjectToLayer(object, layer);
  return object;
}

// Lines of many weights and styles crossing one another, filled and patterned shapes, curves,
// and thick lines lying just beside the edges of the views below.
void AddScene(LayerRec* layer) {
  const Shape shapes[] = {
      {kLineKind, false, {{5, 5}, {290, 190}}, 6.0f, kSolidLineType, kNoFill, 0},
      {kLineKind, false, {{290, 5}, {5, 190}}, 1.0f, 9, kNoFill, 0},
      {kRectKind, true, {{20, 30}, {140, 30}, {140, 110}, {20, 110}}, 2.0f, kSolidLineType, kSolidFill, 0},
      {kPolyKind, true, {{100, 60}, {220, 20}, {260, 150}, {120, 170}}, 1.0f, kSolidLineType, 5, 0},
      {kPolyKind, false, {{30, 150}, {60, 120}, {90, 180}, {150, 130}, {200, 185}}, 3.0f, 7, kNoFill, 0},
      {kSplineKind, false, {{40, 60}, {120, 140}, {230, 80}}, 4.0f, kSolidLineType, kNoFill, 60},
      {kSplineKind, true, {{180, 100}, {250, 120}, {200, 170}}, 1.0f, kSolidLineType, kSolidFill, 40},
      // Just outside the views' edges: their pens reach in.
      {kLineKind, false, {{0, 74}, {300, 74}}, 9.0f, kSolidLineType, kNoFill, 0},
      {kLineKind, false, {{151, 0}, {151, 200}}, 8.0f, kSolidLineType, kNoFill, 0},
      {kLineKind, false, {{60, 101}, {60, 101.2f}}, 12.0f, kSolidLineType, kNoFill, 0},
  };
  uint16_t shade = 0x1000;
  for (const Shape& s : shapes) {
    AddShape(layer, s, shade);
    shade = static_cast<uint16_t>(shade + 0x1700);
  }
}

TEST(RenderCulling, ViewsAndClippedPaintsMatchTheWholeDrawing) {
  Drawing d;
  AddScene(d.layer());
  for (float zoom : {0.5f, 1.0f, 2.0f, 4.0f}) {
    const int width = RoundToInt(300 * zoom) + 8, height = RoundToInt(200 * zoom) + 8;
    const Picture whole = PaintView(d, zoom, 0, 0, width, height);
    // Views whose edges cut through the scene, and one beside the thick lines.
    const struct {
      float left, top, right, bottom;
    } views[] = {{0.1f, 0.1f, 0.5f, 0.4f},
                 {0.45f, 0.3f, 0.9f, 0.95f},
                 {0.0f, 0.375f, 1.0f, 0.5f},
                 {0.52f, 0.0f, 0.7f, 1.0f}};
    for (const auto& v : views) {
      const int l = static_cast<int>(v.left * width), t = static_cast<int>(v.top * height);
      const int w = static_cast<int>(v.right * width) - l, h = static_cast<int>(v.bottom * height) - t;
      int painted = 0;
      const Picture view = PaintView(d, zoom, l, t, w, h);
      EXPECT_EQ(Differences(whole, l, t, view, &painted), 0)
          << "view at zoom " << zoom << " from " << l << "," << t;
      EXPECT_EQ(painted, w * h);
      // The same part of the whole view, repainted through a clip as after a scroll.
      const RECT clip = {l, t, l + w, t + h};
      const Picture strip = PaintView(d, zoom, 0, 0, width, height, &clip);
      EXPECT_EQ(Differences(whole, 0, 0, strip, &painted), 0) << "clipped paint at zoom " << zoom;
      EXPECT_EQ(painted, w * h);
    }
  }
}

// The cover map, entered from the top down, answers as the cells it was given do: for the walk
// (covered by everything entered so far) and for any place in the drawing order, across the
// words of its rows.
TEST(RenderCulling, CoverMapAnswersAsItsCells) {
  const RECT frame = {-30, 10, 1010, 300};
  CoverMap map;
  ASSERT_TRUE(ResetCoverMap(&map, frame));
  const int columns = (frame.right - frame.left + kCoverCell - 1) / kCoverCell;
  const int rows = (frame.bottom - frame.top + kCoverCell - 1) / kCoverCell;
  std::vector<uint32_t> truth(static_cast<size_t>(columns) * rows, 0);
  uint32_t seed = 777;
  auto next = [&](int low, int high) {
    seed = seed * 1664525u + 1013904223u;
    return low + static_cast<int>((seed >> 8) % static_cast<uint32_t>(high - low));
  };
  auto random = [&](int most) {
    const int x = next(frame.left - 20, frame.right), y = next(frame.top - 20, frame.bottom);
    return RECT{x, y, x + next(1, most), y + next(1, most / 3)};
  };
  // Whether every cell the area touches is marked by a position above `below`.
  auto covered = [&](const RECT& a, uint32_t below) {
    if (a.left < frame.left || a.top < frame.top || a.right > frame.right || a.bottom > frame.bottom)
      return false;
    for (int r = (a.top - frame.top) / kCoverCell; r <= (a.bottom - 1 - frame.top) / kCoverCell; ++r)
      for (int c = (a.left - frame.left) / kCoverCell; c <= (a.right - 1 - frame.left) / kCoverCell; ++c)
        if (truth[static_cast<size_t>(r) * columns + c] <= below + 1) return false;
    return true;
  };
  int yes = 0;
  for (uint32_t position = 400; position-- > 0;) {
    for (int probe = 0; probe < 20; ++probe) {
      const RECT area = random(probe % 2 ? 60 : 700);
      const bool expected = covered(area, position);
      EXPECT_EQ(IsAreaCoveredByAll(map, area), expected) << "at position " << position;
      EXPECT_EQ(IsAreaCovered(map, area, position), expected) << "at position " << position;
      yes += expected;
    }
    const RECT interior = random(position % 5 ? 120 : 900);
    CoverInterior(&map, interior, position);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < columns; ++c) {
        uint32_t& cell = truth[static_cast<size_t>(r) * columns + c];
        const int x = frame.left + c * kCoverCell, y = frame.top + r * kCoverCell;
        if (cell == 0 && x >= interior.left && x + kCoverCell <= interior.right && y >= interior.top &&
            y + kCoverCell <= interior.bottom)
          cell = position + 1;
      }
  }
  EXPECT_GT(yes, 100) << "the map must fill up, or it tests nothing";
  // Asked for a place lower in the order, the full map still tells which fills lie above it.
  const RECT area = random(300);
  for (uint32_t position : {0u, 50u, 200u, 399u})
    EXPECT_EQ(IsAreaCovered(map, area, position), covered(area, position));
}

// A thick line just outside the view still shows its edge in it: culling allows for the pen.
TEST(RenderCulling, WidePenBesideTheViewIsDrawn) {
  Drawing d;
  AddShape(d.layer(), {kLineKind, false, {{10, 47}, {90, 47}}, 10.0f, kSolidLineType, kNoFill, 0}, 0);
  int painted = 0;
  const Picture whole = PaintView(d, 1.0f, 0, 0, 100, 100);
  const Picture below = PaintView(d, 1.0f, 0, 50, 100, 50);
  EXPECT_EQ(Differences(whole, 0, 50, below, &painted), 0);
  bool ink = false;
  for (int x = 10; x < 90; ++x) ink = ink || below.pixels[x] != kWhitePixel;
  EXPECT_TRUE(ink) << "the pen's lower edge crosses into the view";
}

std::vector<std::pair<int32_t, int32_t>> HitOutline(const ObjectRec* object) {
  std::vector<std::pair<int32_t, int32_t>> points;
  for (int32_t i = 0; i < object->screenPolyCount; ++i)
    points.emplace_back(object->screenPoly[i].x, object->screenPoly[i].y);
  return points;
}

// Turns a four-point shape into an oval in the box, its quarters' tangents as the oval tool makes
// them times `bulge` (negative: pinched inwards).
void MakeOval(ObjectRec* object, float x, float y, float w, float h, float bulge) {
  const float rx = w / 2, ry = h / 2, cx = x + rx, cy = y + ry;
  const float t = 1.6568542f * bulge;  // 4 (sqrt 2 - 1): a quarter circle's Hermite tangent
  const float px[4] = {cx, cx + rx, cx, cx - rx}, py[4] = {cy - ry, cy, cy + ry, cy};
  const float tx[4] = {t * rx, 0, -t * rx, 0}, ty[4] = {0, t * ry, 0, -t * ry};
  int i = 0;
  for (PointRec* p = object->firstPoint; p && i < 4; p = p->nextPoint, ++i) {
    p->x = px[i];
    p->y = py[i];
    p->inTangentX = p->outTangentX = tx[i];
    p->inTangentY = p->outTangentY = ty[i];
  }
  UpdateObjectBounds(object);
}

// Shapes wholly under the opaque fills of later shapes are left out of a screen paint: the
// picture, clipped or not and at every zoom, is the one painting everything gives, and so is
// each filled shape's hit outline (made when asked for). Only opaque fills on visible layers
// cover: of upright rectangles, convex outlines and ovals whose quarters bulge out.
TEST(RenderCulling, LeavingOutCoveredShapesChangesNoPixel) {
  Drawing d;
  uint32_t seed = 12345;
  auto next = [&](float low, float high) {
    seed = seed * 1664525u + 1013904223u;
    return low + (high - low) * static_cast<float>(seed >> 8) / 16777216.0f;
  };
  const int16_t patterns[] = {kNoFill, kSolidFill, 5, kPaperPattern, 1};
  const int16_t kinds[] = {kRectKind, kPolyKind, kRectKind, kLineKind, kSplineKind, kOvalKind};
  std::vector<ObjectRec*> objects;
  for (int i = 0; i < 200; ++i) {
    const int16_t kind = kinds[i % 6];
    // Every sixth shape a large rectangle that covers smaller ones drawn before it.
    const float size = i % 6 == 0 ? 140.0f : 30.0f;
    const float x = next(0, 260), y = next(0, 170), w = next(2, size), h = next(2, size * 0.7f);
    Shape s = {kind,
               kind != kLineKind && kind != kSplineKind,
               {},
               next(0, 5),
               kSolidLineType,
               patterns[i % 5],
               kind == kSplineKind || kind == kOvalKind ? 12.0f : 0.0f};
    if (kind == kLineKind)
      s.points = {{x, y}, {x + w, y + h}};
    else if (i % 7 == 0)  // turned
      s.points = {{x, y}, {x + w, y + 3}, {x + w - 3, y + h}, {x - 3, y + h - 3}};
    else if (i % 13 == 0)  // hollowed: not convex
      s.points = {{x, y}, {x + w, y}, {x + w / 2, y + h / 3}, {x + w, y + h}, {x, y + h}};
    else
      s.points = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
    if (i % 11 == 0) s.lineType = 9;
    if (!s.closed) s.pattern = kNoFill;
    ObjectRec* object = AddShape(d.layer(), s, static_cast<uint16_t>(i * 409));
    if (kind == kOvalKind && i % 4 != 1) MakeOval(object, x, y, w * 2, h * 2, i % 8 == 3 ? -0.4f : 1.0f);
    objects.push_back(object);
  }
  // A hidden layer's filled rectangle over everything hides nothing.
  LayerRec* hidden = CreateLayer("Hidden", 0, 0, nullptr);
  AppendLayerToDocument(hidden);
  AddShape(hidden,
           {kRectKind,
            true,
            {{-10, -10}, {400, -10}, {400, 300}, {-10, 300}},
            1.0f,
            kSolidLineType,
            kSolidFill,
            0},
           0x8000);
  long leftOut = 0;
  for (float zoom : {0.5f, 1.0f, 2.0f, 4.0f}) {
    const int width = RoundToInt(300 * zoom) + 8, height = RoundToInt(200 * zoom) + 8;
    const RECT clip = {width / 3, height / 4, width - width / 5, height - 7};
    for (const RECT* part : {static_cast<const RECT*>(nullptr), &clip}) {
      // Each paint follows one at another zoom, so every hit outline kept must be made anew.
      Picture pictures[2];
      std::vector<std::vector<std::pair<int32_t, int32_t>>> outlines[2];
      for (int lean = 0; lean < 2; ++lean) {
        gLeaveOutCovered = lean == 1;
        PaintView(d, zoom * 1.5f, 0, 0, width, height);
        pictures[lean] = PaintView(d, zoom, 0, 0, width, height, part);
        // An outline the paint owes is made as a click would make it.
        d.state()->zoomFactor = zoom;
        for (ObjectRec* o : objects) {
          MakeScreenHitOutline(o);
          outlines[lean].push_back(HitOutline(o));
        }
      }
      leftOut += gShapesLeftOut;
      int painted = 0;
      EXPECT_EQ(Differences(pictures[0], 0, 0, pictures[1], &painted), 0)
          << "zoom " << zoom << (part ? " clipped" : "");
      // (A clipped paint leaves the outlines of shapes outside the clip as they were.)
      for (size_t i = 0; i < objects.size() && !part; ++i)
        EXPECT_EQ(outlines[0][i], outlines[1][i]) << "hit outline of shape " << i << " at zoom " << zoom;
    }
  }
  EXPECT_GT(leftOut, 20) << "the scene must leave shapes out, or it tests nothing";
}

// The interior a shape is trusted to cover is painted wholly by that shape alone, at every zoom;
// shapes whose fill may leave a hole there cover nothing.
TEST(RenderCulling, OpaqueInteriorsArePaintedByTheirShapesAlone) {
  const struct {
    int16_t kind;
    std::vector<FloatPoint> points;
    float bulge;  // with a value, the points' box becomes an oval with tangents this many times a circle's
    bool covers;
  } cases[] = {
      {kRectKind, {{10, 10}, {70, 10}, {70, 50}, {10, 50}}, 0, true},
      {kPolyKind, {{40, 5}, {75, 30}, {40, 55}, {5, 30}}, 0, true},                      // turned square
      {kMultiKind, {{25, 5}, {55, 5}, {75, 30}, {55, 55}, {25, 55}, {5, 30}}, 0, true},  // hexagon
      {kOvalKind, {{5, 5}, {75, 5}, {75, 55}, {5, 55}}, 1.0f, true},
      {kOvalKind, {{5, 5}, {75, 5}, {75, 55}, {5, 55}}, 0.3f, true},
      {kOvalKind, {{5, 5}, {75, 5}, {75, 55}, {5, 55}}, -0.4f, false},  // pinched in
      {kOvalKind, {{5, 5}, {75, 5}, {75, 55}, {5, 55}}, -1.5f, false},
      {kPolyKind, {{5, 5}, {75, 5}, {40, 30}, {75, 55}, {5, 55}}, 0, false},    // hollowed
      {kPolyKind, {{5, 5}, {75, 55}, {75, 5}, {5, 55}}, 0, false},              // crossed
      {kPolyKind, {{40, 5}, {52, 55}, {5, 22}, {75, 22}, {28, 55}}, 0, false},  // a star winds twice
  };
  for (float zoom : {0.5f, 1.0f, 2.5f, 4.0f}) {
    for (const auto& c : cases) {
      Drawing d;
      ObjectRec* shape =
          AddShape(d.layer(), {c.kind, true, c.points, 2.0f, kSolidLineType, kSolidFill, 0}, 0x3000);
      if (c.bulge != 0.0f) MakeOval(shape, 5, 5, 70, 50, c.bulge);
      const int width = RoundToInt(80 * zoom), height = RoundToInt(60 * zoom);
      const Picture picture = PaintView(d, zoom, 0, 0, width, height);
      RECT inside = {};
      const bool covers = GetOpaqueInterior(shape, &inside);
      SCOPED_TRACE(testing::Message() << "shape of kind " << c.kind << " with " << c.points.size()
                                      << " points, bulge " << c.bulge << ", zoom " << zoom);
      EXPECT_EQ(covers, c.covers);
      if (!covers) continue;
      int holes = 0;
      for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x)
          if (picture.pixels[static_cast<size_t>(y) * width + x] == kWhitePixel) ++holes;
      EXPECT_EQ(holes, 0);
      EXPECT_GT((inside.right - inside.left) * (inside.bottom - inside.top), width * height / 10);
    }
  }
}

}  // namespace
