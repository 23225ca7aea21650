// Dimensions and rulers against reference pictures, and what drawing a dimension does to its
// records: the label fitted to the readout and an angle's radius point put back on its leg.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "dimensions/dimlabel.h"
#include "dimensions/drawdim2_win.h"
#include "dimensions/drawdims.h"
#include "geometry/gnrlmath.h"
#include "geometry/units.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "render/drawhdlr.h"
#include "render/ruler.h"
#include "tests/render/refpicture.h"

namespace {

constexpr uint32_t Readout(int id) {
  return 1u << (12 + id - 5058);
}

FontRecord LabelFont() {
  FontRecord font = {};
  font.height = -11;
  std::strcpy(font.faceName, "Arial");
  return font;
}

// A dimension of `kind` through `points` with the given flag word; its label centred at
// (cx, cy) unless it is a leader.
ObjectRec* AddDimension(Drawing& d, int16_t kind, std::vector<FloatPoint> points, uint32_t flags, float cx,
                        float cy) {
  const RGB16 black = kBlack16, white = kWhite16;
  const FloatRect empty = kEmptyRect;
  LayerRec* layer = d.layer();
  ObjectRec* object = CreateObject(kind, 0, 1, &white, &black, 1.0f, kSolidLineType, kNoFill, &empty, nullptr,
                                   nullptr, nullptr, layer, nullptr);
  for (const FloatPoint& p : points)
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, p.x, p.y, 0, 0, object), object);
  UpdateObjectBounds(object);
  AppendObjectToLayer(object, layer);
  const uint32_t saved = d.state()->dimFlags;
  d.state()->dimFlags = flags;
  const FontRecord font = LabelFont();
  EXPECT_TRUE(AddDimensionInfo(object, static_cast<int16_t>(cx), static_cast<int16_t>(cy),
                               kind != kLeaderDimKind, &font));
  d.state()->dimFlags = saved;
  return object;
}

FloatPoint At(float ox, float oy, float x, float y) {
  return {ox + x, oy + y};
}

// One of each kind in a row of cells `cell` wide, each drawn from (inset, oy) in its cell.
void AddEveryKind(Drawing& d, float oy, uint32_t flags, float cell = 130, float inset = 0) {
  float ox = inset;
  auto next = [&ox, cell]() { ox += cell; };
  AddDimension(d, kOffsetDimVKind,
               {At(ox, oy, 20, 10), At(ox, oy, 50, 10), At(ox, oy, 50, 60), At(ox, oy, 20, 60)}, flags,
               ox + 80, oy + 35);
  next();
  AddDimension(d, kOffsetDimHKind,
               {At(ox, oy, 20, 60), At(ox, oy, 20, 30), At(ox, oy, 100, 30), At(ox, oy, 100, 60)}, flags,
               ox + 60, oy + 15);
  next();
  AddDimension(d, kLengthDimKind,
               {At(ox, oy, 30, 70), At(ox, oy, 22, 58), At(ox, oy, 82, 18), At(ox, oy, 90, 30)}, flags,
               ox + 40, oy + 25);
  next();
  // Legs 35 long at 0 and 45 degrees, the arc at radius 60 beyond them.
  const float r = 60, leg = 0.70710678f;
  AddDimension(d, kAngleDimKind,
               {At(ox, oy, 20, 72), At(ox, oy, 55, 72), At(ox, oy, 20 + 35 * leg, 72 - 35 * leg),
                At(ox, oy, 20 + r * leg, 72 - r * leg)},
               flags, ox + 95, oy + 45);
  next();
  AddDimension(d, kDiameterDimKind, {At(ox, oy, 30, 65), At(ox, oy, 100, 15)}, flags, ox + 65, oy + 40);
  next();
  AddDimension(d, kRadiusDimKind, {At(ox, oy, 30, 65), At(ox, oy, 100, 15)}, flags, ox + 65, oy + 40);
  next();
  // Shoulders: 20 beyond the first (diameter) or second (radius) point, then 25 sideways.
  AddDimension(d, kDiameterShoulderDimKind,
               {At(ox, oy, 60, 45), At(ox, oy, 100, 15), At(ox, oy, 44, 57), At(ox, oy, 19, 57)}, flags,
               ox + 19, oy + 67);
  next();
  AddDimension(d, kRadiusShoulderDimKind,
               {At(ox, oy, 20, 65), At(ox, oy, 60, 35), At(ox, oy, 76, 23), At(ox, oy, 101, 23)}, flags,
               ox + 101, oy + 13);
  next();
  AddDimension(d, kLeaderDimKind, {At(ox, oy, 20, 65), At(ox, oy, 60, 20), At(ox, oy, 100, 20)}, flags, 0, 0);
}

// Every kind (columns) in every arrowhead style (rows).
TEST(DimensionPictures, EveryKindInEveryArrowStyle) {
  Drawing d;
  for (int style = 0; style < 7; ++style) AddEveryKind(d, style * 85.0f, (1u << style) | Readout(5060));
  ExpectMatchesReference(Render(d, 1.0f, 0, 0, 9 * 130, 7 * 85), "dims_arrows_in");
}

// Arrows outside reach 36 pixels past the ends: wider cells, four styles with different shapes.
TEST(DimensionPictures, EveryKindWithArrowsOutside) {
  Drawing d;
  const int styles[] = {0, 2, 3, 5};
  float oy = 40;
  for (int style : styles) {
    AddEveryKind(d, oy, (1u << style) | kDimArrowsOut | Readout(5060), 190, 45);
    oy += 150;
  }
  ExpectMatchesReference(Render(d, 1.0f, 0, 0, 9 * 190, 4 * 150), "dims_arrows_out");
}

// Tolerance layouts, the frame, a readout in feet and inches, a coloured label, at two zooms.
TEST(DimensionPictures, ReadoutLayoutsAndFrames) {
  Drawing d;
  d.state()->upperTolerance = 0.05f;
  d.state()->lowerTolerance = 0.02f;
  const uint32_t base = 1u << 0 | Readout(5060);
  const uint32_t rows[] = {base, base | 1u << 9, base | 1u << 10, base | 1u << 11 | kDimTextFrame,
                           (1u << 3) | Readout(5064) | kDimTextFrame};
  float oy = 0;
  for (uint32_t flags : rows) {
    ObjectRec* dim =
        AddDimension(d, kOffsetDimHKind, {{20, oy + 60}, {20, oy + 35}, {200, oy + 35}, {200, oy + 60}},
                     flags, 110, oy + 35);
    DimInfoOf(dim)->upperTolerance = 0.05f;
    DimInfoOf(dim)->lowerTolerance = 0.02f;
    oy += 70;
  }
  DimInfoOf(d.layer()->firstObject)->textObject->penColor = {0xFFFF, 0, 0};
  ExpectMatchesReference(Render(d, 1.0f, 0, 0, 230, 350), "dims_readouts_zoom1");
  ExpectMatchesReference(Render(d, 2.0f, 0, 0, 460, 700), "dims_readouts_zoom2");
}

TEST(DimensionDrawing, LabelHugsTheReadoutAroundItsCentre) {
  Drawing d;
  ObjectRec* dim = AddDimension(d, kOffsetDimHKind, {{20, 80}, {20, 50}, {200, 50}, {200, 80}},
                                1u | Readout(5060), 110, 50);
  ObjectRec* label = DimInfoOf(dim)->textObject;
  Render(d, 1.0f, 0, 0, 240, 120);
  const FloatRect b = label->bounds;
  EXPECT_NEAR((b.left + b.right) / 2, 110.0f, 0.01f);
  EXPECT_NEAR((b.top + b.bottom) / 2, 50.0f, 0.01f);
  EXPECT_GT(b.right - b.left, 10.0f);  // "2.50"" is wider than a few pixels...
  EXPECT_LT(b.right - b.left, 40.0f);  // ...and narrower than the 40-wide new box
  EXPECT_EQ(label->firstPoint->x, b.left);
  EXPECT_EQ(label->firstPoint->nextPoint->nextPoint->y, b.bottom);
  // At zoom 2 the box keeps its size in page units (the font is zoomed with it).
  Render(d, 2.0f, 0, 0, 480, 240);
  EXPECT_NEAR(label->bounds.right - label->bounds.left, b.right - b.left, 2.0f);
}

// A readout measured and drawn through its font's table of glyphs and advances is the picture the
// platform draws from its characters: each tolerance layout, several faces, styles and sizes,
// zooms that make odd pixel sizes, and decimal marks beyond ASCII, one of them without a glyph.
TEST(DimensionDrawing, ReadoutsDrawnByGlyphAreThePlatformsPicture) {
  Drawing d;
  const char savedMark = gDecimalMark;
  const uint32_t layouts[] = {0, 1u << 9, 1u << 10, 1u << 11};
  struct Face {
    const char* name;
    int32_t height, weight;
    uint8_t italic, underline;
  };
  const Face faces[] = {{"Arial", -11, 400, 0, 0},       {"Arial", -15, 700, 1, 0},
                        {"Courier New", -13, 400, 0, 0}, {"Times New Roman", -20, 400, 1, 0},
                        {"Tahoma", 9, 400, 0, 0},        {"Arial", -12, 400, 0, 1}};
  float oy = 0;
  for (const Face& face : faces) {
    float ox = 0;
    for (uint32_t layout : layouts) {
      ObjectRec* dim =
          AddDimension(d, kOffsetDimHKind,
                       {{ox + 10, oy + 50}, {ox + 10, oy + 30}, {ox + 170, oy + 30}, {ox + 170, oy + 50}},
                       1u | Readout(5061) | layout | kDimTextFrame, ox + 90, oy + 30);
      DimInfoOf(dim)->upperTolerance = 0.125f;
      DimInfoOf(dim)->lowerTolerance = -0.0625f;
      FontRecord& font = DimTextInfoOf(DimInfoOf(dim)->textObject)->font;
      std::strcpy(font.faceName, face.name);
      font.height = face.height;
      font.weight = face.weight;
      font.italic = face.italic;
      font.underline = face.underline;
      ox += 180;
    }
    oy += 70;
  }
  AddDimension(d, kAngleDimKind, {{20, 500}, {120, 500}, {20, 420}, {60, 440}}, 1u | Readout(5061), 100, 450);
  long direct = 0;
  for (char mark : {'.', '\xB7', '\x81'}) {
    gDecimalMark = mark;
    for (float zoom : {0.55f, 1.0f, 1.7f, 3.0f}) {
      const int width = RoundToInt(720 * zoom), height = RoundToInt(520 * zoom);
      SetReadoutTextDirect(false);
      const Picture byCharacter = Render(d, zoom, 0, 0, width, height);
      SetReadoutTextDirect(true);
      const long before = DirectReadoutCount();
      const Picture byGlyph = Render(d, zoom, 0, 0, width, height);
      int painted = 0;
      EXPECT_EQ(Differences(byCharacter, 0, 0, byGlyph, &painted), 0)
          << "zoom " << zoom << ", mark " << int(mark);
      direct += DirectReadoutCount() - before;
    }
  }
  gDecimalMark = savedMark;
  EXPECT_GT(direct, 0);  // the table was used
}

// A readout's font stays selected from one readout to the next and no further: a label without a
// dimension, drawn after readouts in a larger font, shows its placeholder in the context's own
// font, and the paint leaves the context with the font it found.
TEST(DimensionDrawing, ReadoutFontStaysWithTheReadouts) {
  auto paint = [](bool withDimensions) {
    Drawing d;
    // Drawn in this order: a readout, the label, a readout last.
    auto dimension = [&](float y) {
      ObjectRec* dim = AddDimension(d, kOffsetDimHKind, {{100, y + 20}, {100, y}, {220, y}, {220, y + 20}},
                                    1u | Readout(5060), 160, y);
      DimTextInfoOf(DimInfoOf(dim)->textObject)->font.height = -30;
    };
    if (withDimensions) dimension(20);
    const RGB16 black = kBlack16, white = kWhite16;
    const FloatRect empty = kEmptyRect;
    ObjectRec* label = CreateObject(kDimensionTextKind, 1, 1, &white, &black, 0.0f, kSolidLineType, kNoFill,
                                    &empty, nullptr, nullptr, nullptr, d.layer(), nullptr);
    for (FloatPoint p : {FloatPoint{10, 10}, FloatPoint{60, 10}, FloatPoint{60, 30}, FloatPoint{10, 30}})
      AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, p.x, p.y, 0, 0, label), label);
    UpdateObjectBounds(label);
    AppendObjectToLayer(label, d.layer());
    if (withDimensions) dimension(70);
    d.state()->zoomFactor = 1.0f;
    DibCanvas canvas;
    EXPECT_TRUE(CreateDibCanvas(240, 120, &canvas));
    const HGDIOBJ found = GetCurrentObject(canvas.dc, OBJ_FONT);
    const QDRect area = {0, 0, 240, 120};
    EXPECT_TRUE(PaintDrawing(canvas.dc, d.document, &area, kPaintErase));
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), found);
    Picture picture = CanvasPicture(canvas);
    DeleteDibCanvas(&canvas);
    return picture;
  };
  const Picture alone = paint(false), after = paint(true);
  int differing = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 80; ++x)
      differing += alone.pixels[static_cast<size_t>(y) * alone.width + x] !=
                   after.pixels[static_cast<size_t>(y) * after.width + x];
  EXPECT_EQ(differing, 0);
}

// Every label's box as a file may leave it before a paint fits it: a box of the given half sizes
// about the centre the label had first (a paint fits the label about its box's centre).
void SetLabelBoxes(Drawing& d, std::vector<FloatPoint>* centres, float halfWidth, float halfHeight) {
  size_t n = 0;
  for (ObjectRec* o = d.layer()->firstObject; o; o = o->nextObject) {
    if (o->kind != kDimensionTextKind) continue;
    o->lineWeight = 1.0f;  // its box shows
    if (n == centres->size()) {
      centres->push_back({});
      CenterOfObject(o, &centres->back().x, &centres->back().y);
    }
    const FloatPoint c = (*centres)[n++];
    const float x[4] = {c.x - halfWidth, c.x + halfWidth, c.x + halfWidth, c.x - halfWidth};
    const float y[4] = {c.y - halfHeight, c.y - halfHeight, c.y + halfHeight, c.y + halfHeight};
    int i = 0;
    for (PointRec* p = o->firstPoint; p && i < 4; p = p->nextPoint, ++i) {
      p->x = x[i];
      p->y = y[i];
    }
    UpdateObjectBounds(o);
  }
}

// A view paints only the dimensions that reach into it; each must paint there what painting the
// whole drawing paints, though its arrowheads, arrows outside and readout reach past its points,
// and whether its label's box, as it stands, is far smaller or far larger than the readout.
TEST(DimensionDrawing, ViewsShowWhatTheWholeDrawingShowsThere) {
  Drawing d;
  d.state()->upperTolerance = 0.05f;
  d.state()->lowerTolerance = 0.02f;
  AddEveryKind(d, 30, 1u | kDimArrowsOut | Readout(5060) | 1u << 10 | kDimTextFrame, 190, 45);
  // Readouts away from their dimension lines: one far below, one in a large font to the right
  // whose tolerances make it wide enough to cross views that hold neither its lines nor its centre.
  AddDimension(d, kOffsetDimHKind, {{60, 230}, {60, 200}, {300, 200}, {300, 230}}, 1u | Readout(5060), 180,
               330);
  ObjectRec* large = AddDimension(d, kLengthDimKind, {{420, 260}, {420, 230}, {560, 230}, {560, 260}},
                                  1u << 3 | Readout(5060) | 1u << 10, 760, 300);
  DimTextInfoOf(DimInfoOf(large)->textObject)->font.height = -40;
  std::vector<FloatPoint> centres;
  const FloatPoint boxes[2] = {{1, 1}, {300, 60}};
  for (float zoom : {0.5f, 1.0f, 2.0f}) {
    const int width = RoundToInt(1760 * zoom), height = RoundToInt(360 * zoom);
    for (const FloatPoint& box : boxes) {
      SetLabelBoxes(d, &centres, box.x, box.y);
      const Picture whole = PaintView(d, zoom, 0, 0, width, height);
      constexpr int kStrips = 24;
      for (int i = 0; i < kStrips; ++i) {
        const int l = width * i / kStrips, w = width * (i + 1) / kStrips - l;
        const int t = height * i / kStrips, h = height * (i + 1) / kStrips - t;
        for (const RECT& view : {RECT{l, 0, l + w, height}, RECT{0, t, width, t + h}}) {
          SetLabelBoxes(d, &centres, box.x, box.y);
          const Picture part =
              PaintView(d, zoom, view.left, view.top, view.right - view.left, view.bottom - view.top);
          int painted = 0;
          EXPECT_EQ(Differences(whole, view.left, view.top, part, &painted), 0)
              << "zoom " << zoom << ", label box " << box.x << ", view " << view.left << "," << view.top
              << " to " << view.right << "," << view.bottom;
        }
      }
    }
  }
}

// Opaque fills drawn after dimensions hide some of them wholly, some only their lines or their
// readouts. A paint that leaves out the hidden ones sets the pixels, and fits every label to its
// readout, as painting all of them does: clipped or not, at every zoom, from labels left unfitted.
TEST(DimensionDrawing, DimensionsUnderLaterFillsChangeNothingWhenLeftOut) {
  Drawing d;
  d.state()->upperTolerance = 0.05f;
  d.state()->lowerTolerance = 0.02f;
  const uint32_t rows[] = {1u | Readout(5060), 1u << 3 | Readout(5060) | 1u << 10 | kDimTextFrame,
                           1u << 5 | kDimArrowsOut | Readout(5061)};
  for (int row = 0; row < 3; ++row) AddEveryKind(d, row * 100.0f, rows[row], 150, 10);
  uint32_t seed = 7;
  auto next = [&](float low, float high) {
    seed = seed * 1664525u + 1013904223u;
    return low + (high - low) * static_cast<float>(seed >> 8) / 16777216.0f;
  };
  // Below the rows, two readouts far from their lines: a fill will hide the first one's lines
  // and the second one's readout.
  AddDimension(d, kOffsetDimHKind, {{60, 360}, {60, 330}, {300, 330}, {300, 360}}, 1u | Readout(5060), 180,
               520);
  AddDimension(d, kOffsetDimHKind, {{560, 360}, {560, 330}, {800, 330}, {800, 360}}, 1u | Readout(5060), 680,
               520);
  std::vector<FloatRect> fills = {{270, -40, 440, 400}, {440, 540, 610, 820}};  // top, left, bottom, right
  for (int i = 0; i < 48; ++i) {
    const float x = next(-50, 1300), y = next(-40, 200), w = next(40, 320), h = next(30, 120);
    fills.push_back({y, x, y + h, x + w});
  }
  const RGB16 pen = kBlack16, fill = {0x8000, 0xC000, 0xFFFF};
  const FloatRect empty = kEmptyRect;
  for (size_t i = 0; i < fills.size(); ++i) {
    const float x = fills[i].left, y = fills[i].top, w = fills[i].right - x, h = fills[i].bottom - y;
    ObjectRec* box =
        CreateObject(kRectKind, 1, 1, &fill, &pen, 1.0f, kSolidLineType, i % 3 == 1 ? int16_t{5} : kSolidFill,
                     &empty, nullptr, nullptr, nullptr, d.layer(), nullptr);
    for (FloatPoint p :
         {FloatPoint{x, y}, FloatPoint{x + w, y}, FloatPoint{x + w, y + h}, FloatPoint{x, y + h}})
      AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, p.x, p.y, 0, 0, box), box);
    UpdateObjectBounds(box);
    AppendObjectToLayer(box, d.layer());
  }
  auto labels = [&d]() {
    std::vector<float> corners;
    for (ObjectRec* o = d.layer()->firstObject; o; o = o->nextObject)
      if (o->kind == kDimensionTextKind) {
        for (PointRec* p = o->firstPoint; p; p = p->nextPoint) corners.insert(corners.end(), {p->x, p->y});
        corners.insert(corners.end(), {o->bounds.left, o->bounds.top, o->bounds.right, o->bounds.bottom});
      }
    return corners;
  };
  std::vector<FloatPoint> centres;
  long readoutsLeftOut = 0;
  for (float zoom : {0.5f, 1.0f, 2.0f}) {
    const int width = RoundToInt(1400 * zoom), height = RoundToInt(640 * zoom);
    const RECT clip = {width / 4, height / 5, width - width / 3, height - 9};
    for (const RECT* part : {static_cast<const RECT*>(nullptr), &clip}) {
      Picture pictures[2];
      std::vector<float> fitted[2];
      long readouts[2] = {0, 0};
      for (int lean = 0; lean < 2; ++lean) {
        gLeaveOutCovered = lean == 1;
        SetLabelBoxes(d, &centres, 150, 40);
        const long before = DirectReadoutCount();
        pictures[lean] = PaintView(d, zoom, 0, 0, width, height, part);
        readouts[lean] = DirectReadoutCount() - before;
        fitted[lean] = labels();
      }
      gLeaveOutCovered = true;
      int painted = 0;
      EXPECT_EQ(Differences(pictures[0], 0, 0, pictures[1], &painted), 0)
          << "zoom " << zoom << (part ? " clipped" : "");
      EXPECT_EQ(fitted[0], fitted[1]) << "labels at zoom " << zoom << (part ? " clipped" : "");
      readoutsLeftOut += readouts[0] - readouts[1];
    }
  }
  EXPECT_GT(readoutsLeftOut, 10) << "the fills must hide dimensions, or this tests nothing";
}

// A muted port sets no pixel of any dimension, in any arrowhead style, inside or outside, framed
// or not, and fits every label to its readout as drawing it does.
TEST(DimensionDrawing, AMutedPortDrawsNoDimensionAndFitsItsLabel) {
  Drawing d;
  for (int style = 0; style < 7; ++style)
    AddEveryKind(
        d, style * 85.0f,
        (1u << style) | Readout(5060) | (style % 2 ? kDimTextFrame : 0u) | (style % 3 ? 0u : kDimArrowsOut));
  std::vector<FloatPoint> centres;
  std::vector<float> fitted[2];
  for (int muted = 0; muted < 2; ++muted) {
    SetLabelBoxes(d, &centres, 150, 40);
    d.state()->zoomFactor = 1.0f;
    DibCanvas canvas;
    ASSERT_TRUE(CreateDibCanvas(9 * 130, 7 * 85, &canvas));
    const RECT all = {0, 0, 9 * 130, 7 * 85};
    HBRUSH marker = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    FillRect(canvas.dc, &all, marker);
    DeleteObject(marker);
    ASSERT_TRUE(BeginPortSession(canvas.dc));
    SetPortMuted(muted == 1);
    for (ObjectRec* o = d.layer()->firstObject; o; o = o->nextObject)
      if (o->kind != kDimensionTextKind) DrawObject(o, nullptr, kDrawAll, nullptr);
    SetPortMuted(false);
    EndPortSession();
    const Picture picture = CanvasPicture(canvas);
    DeleteDibCanvas(&canvas);
    const size_t unpainted =
        static_cast<size_t>(std::count(picture.pixels.begin(), picture.pixels.end(), kUnpainted));
    if (muted)
      EXPECT_EQ(unpainted, picture.pixels.size()) << "a muted port drew";
    else
      EXPECT_LT(unpainted, picture.pixels.size() * 99 / 100)
          << "the dimensions must draw, or this tests nothing";
    for (ObjectRec* o = d.layer()->firstObject; o; o = o->nextObject)
      if (o->kind == kDimensionTextKind) {
        for (PointRec* p = o->firstPoint; p; p = p->nextPoint)
          fitted[muted].insert(fitted[muted].end(), {p->x, p->y});
        fitted[muted].insert(fitted[muted].end(),
                             {o->bounds.left, o->bounds.top, o->bounds.right, o->bounds.bottom});
      }
  }
  EXPECT_EQ(fitted[0], fitted[1]);
}

TEST(DimensionDrawing, AngleRadiusPointReturnsToTheSecondLeg) {
  Drawing d;
  // Vertex (50, 150), first leg to the right, second leg straight up; P3 dragged off the leg.
  ObjectRec* dim = AddDimension(d, kAngleDimKind, {{50, 150}, {150, 150}, {50, 50}, {80, 90}},
                                1u | Readout(5060), 100, 100);
  Render(d, 1.0f, 0, 0, 200, 200);
  const PointRec* p3 = dim->firstPoint->nextPoint->nextPoint->nextPoint;
  EXPECT_NEAR(p3->x, 50.0f, 1e-3);
  EXPECT_NEAR(p3->y, 150.0f - 67.082f, 1e-2);  // |(30, -60)| from the vertex
  // A transform preview draws copies: the stored points stay.
  ObjectRec* other =
      AddDimension(d, kAngleDimKind, {{50, 150}, {150, 150}, {50, 50}, {80, 90}}, 1u, 100, 100);
  TrackState track = {};
  track.start = {0, 0};
  track.current = {10, 10};
  DrawObject(other, nullptr, kDrawAll | kDrawPreviewTranslate, &track);
  EXPECT_EQ(other->firstPoint->nextPoint->nextPoint->nextPoint->x, 80.0f);
}

TEST(DimensionDrawing, MetafileRecordingKeepsOnlyLeaders) {
  Drawing d;
  AddDimension(d, kLengthDimKind, {{10, 50}, {10, 20}, {100, 20}, {100, 50}}, 1u, 55, 20);
  Picture withLength = Render(d, 1.0f, 0, 0, 120, 80);
  DibCanvas canvas;
  ASSERT_TRUE(CreateDibCanvas(120, 80, &canvas));
  const QDRect area = {0, 0, 120, 80};
  const PaintTarget recording = {canvas.dc, PaintDevice::kMetafile, 1.0f, 1.0f};
  EXPECT_TRUE(PaintDrawing(recording, d.document, &area, kPaintErase));
  const Picture recorded = CanvasPicture(canvas);
  DeleteDibCanvas(&canvas);
  size_t inkNormal = 0, inkRecorded = 0;
  for (size_t i = 0; i < withLength.pixels.size(); ++i) {
    inkNormal += withLength.pixels[i] != kWhitePixel;
    inkRecorded += recorded.pixels[i] != kWhitePixel;
  }
  EXPECT_GT(inkNormal, 100u);
  EXPECT_EQ(inkRecorded, 0u);
}

// On paper every coordinate is print-scaled; the label keeps the size it has on the screen.
TEST(DimensionDrawing, PrintingScalesTheDrawingAndKeepsTheLabelSize) {
  Drawing d;
  ObjectRec* dim = AddDimension(d, kOffsetDimHKind, {{20, 80}, {20, 50}, {200, 50}, {200, 80}},
                                1u | Readout(5060) | kDimTextFrame, 110, 50);
  ObjectRec* label = DimInfoOf(dim)->textObject;
  Render(d, 1.0f, 0, 0, 240, 120);
  const float screenWidth = label->bounds.right - label->bounds.left;

  DibCanvas paper;
  ASSERT_TRUE(CreateDibCanvas(480, 240, &paper));
  const PaintTarget printer = {paper.dc, PaintDevice::kPrinter, 2.0f, 2.0f};
  const PaintTarget* before = SwapPaintTarget(&printer);
  gCurDocument = d.document;
  DrawAllLayers(d.layer(), nullptr, kDrawAll, nullptr);
  SwapPaintTarget(before);
  const Picture printed = CanvasPicture(paper);
  DeleteDibCanvas(&paper);

  EXPECT_NEAR(label->bounds.right - label->bounds.left, screenWidth, 3.0f);
  EXPECT_NEAR((label->bounds.left + label->bounds.right) / 2, 110.0f, 0.5f);
  // The dimension line at y 50 lands on device row 100, and the extension lines reach 57.
  auto ink = [&printed](int x, int y) { return printed.pixels[y * printed.width + x] != kWhitePixel; };
  EXPECT_TRUE(ink(80, 100));
  EXPECT_TRUE(ink(40, 150));
  EXPECT_FALSE(ink(40, 20));
}

// ---- Rulers ----

// One ruler strip rendered as its window paints it: light grey, the ruler font, the graduation.
Picture RenderRuler(Drawing& d, bool vertical, int length, int scroll) {
  const int thickness = 22;
  DibCanvas canvas;
  EXPECT_TRUE(CreateDibCanvas(vertical ? thickness : length, vertical ? length : thickness, &canvas));
  RECT all = {0, 0, canvas.width, canvas.height};
  HBRUSH grey = CreateSolidBrush(RGB(192, 192, 192));
  FillRect(canvas.dc, &all, grey);
  DeleteObject(grey);
  SetupRulerContext(canvas.dc);
  SetWindowOrgEx(canvas.dc, vertical ? 0 : scroll, vertical ? scroll : 0, nullptr);
  gCurDocument = d.document;
  DrawRulerGraduation(canvas.dc, d.state(), vertical, thickness);
  ReleaseRulerContext(canvas.dc);
  Picture picture = CanvasPicture(canvas);
  DeleteDibCanvas(&canvas);
  return picture;
}

// Both rulers of a drawing in one picture: the horizontal on top, the vertical below at the left.
Picture RenderRulers(Drawing& d, float zoom) {
  d.state()->zoomFactor = zoom;
  const Picture h = RenderRuler(d, false, 600, -10);
  const Picture v = RenderRuler(d, true, 400, 0);
  Picture both;
  both.width = h.width;
  both.height = h.height + v.height;
  both.pixels.assign(static_cast<size_t>(both.width) * both.height, kWhitePixel);
  for (int y = 0; y < h.height; ++y)
    for (int x = 0; x < h.width; ++x) both.pixels[y * both.width + x] = h.pixels[y * h.width + x];
  for (int y = 0; y < v.height; ++y)
    for (int x = 0; x < v.width; ++x)
      both.pixels[(h.height + y) * both.width + x] = v.pixels[y * v.width + x];
  return both;
}

TEST(RulerPictures, UnitsAndZooms) {
  struct Case {
    const char* name;
    int16_t screenUnit, worldUnit;
    float screenScale, worldScale;
    int16_t minorDivisions;
    float originH;
  } cases[] = {
      {"ruler_inches", 1, 1, 1, 1, 8, 0},      {"ruler_inches_16", 1, 1, 1, 1, 16, 100},
      {"ruler_centimetres", 6, 6, 1, 1, 4, 0}, {"ruler_millimetres", 5, 5, 1, 1, 10, 0},
      {"ruler_feet", 1, 2, 1, 4, 12, 0},  // 1 inch = 4 feet
  };
  for (const Case& c : cases) {
    for (float zoom : {1.0f, 2.0f}) {
      Drawing d;
      DocState* s = d.state();
      s->screenUnit = c.screenUnit;
      s->worldUnit = c.worldUnit;
      s->screenScale = c.screenScale;
      s->worldScale = c.worldScale;
      s->minorDivisions = c.minorDivisions;
      s->originH = c.originH;
      ExpectMatchesReference(RenderRulers(d, zoom),
                             std::string(c.name) + (zoom == 1.0f ? "_zoom1" : "_zoom2"));
    }
  }
}

TEST(Rulers, ScaleRule) {
  struct Case {
    int16_t unit;
    float screenScale, worldScale;
    int16_t divisions;
    int majorCount;
    float step;
    long value;
  } cases[] = {
      {1, 1, 1, 8, 8, 9.0f, 1},        // eighths of an inch
      {1, 1, 1, 7, 7, 72.0f / 7, 1},   // 7 divides itself
      {1, 1, 1, 17, 1, 72.0f, 1},      // no divisor up to 16: every inch a labelled tick
      {6, 1, 1, 7, 1, 28.346457f, 1},  // no divisor among 5, 4, 3, 2
      {6, 1, 1, 10, 5, 5.669291f, 1},
      {5, 1, 1, 3, 10, 5.669291f, 20},  // millimetres: 2 mm steps, labels every 20
      {1, 1, 2.5f, 8, 8, 10.8f, 3},     // 1 : 2.5 becomes 1.2 : 3
      {1, 0.25f, 1, 8, 8, 4.5f, 2},     // a screen scale under 0.5 doubles both
  };
  for (const Case& c : cases) {
    DocState s = {};
    s.screenUnit = c.unit;
    s.screenScale = c.screenScale;
    s.worldScale = c.worldScale;
    s.minorDivisions = c.divisions;
    RulerScale r;
    ASSERT_TRUE(ComputeRulerScale(&s, &r)) << c.unit << " " << c.divisions;
    EXPECT_EQ(r.majorCount, c.majorCount) << c.unit << " " << c.divisions;
    EXPECT_NEAR(r.step, c.step, 1e-3) << c.unit << " " << c.divisions;
    EXPECT_EQ(r.valuePerMajor, c.value) << c.unit << " " << c.divisions;
  }
  // Scales that would never end the tick walk give no graduation at all.
  for (float bad : {0.0f, -1.0f, NAN, INFINITY}) {
    DocState s = {};
    s.screenUnit = 1;
    s.screenScale = bad;
    s.worldScale = 1;
    s.minorDivisions = 8;
    RulerScale r;
    EXPECT_FALSE(ComputeRulerScale(&s, &r)) << bad;
  }
  DocState wrongUnit = {};
  wrongUnit.screenUnit = 7;
  wrongUnit.screenScale = wrongUnit.worldScale = 1;
  RulerScale r;
  EXPECT_FALSE(ComputeRulerScale(&wrongUnit, &r));
}

TEST(Rulers, BadScalePaintsOnlyTheBackground) {
  Drawing d;
  d.state()->screenScale = 0.0f;
  const Picture p = RenderRuler(d, false, 300, 0);
  for (uint32_t pixel : p.pixels) ASSERT_EQ(pixel, 0xC0C0C0u);
}

}  // namespace
