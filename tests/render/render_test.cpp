// The renderer against reference pictures, and the drawing rules that pictures catch badly
// (pen widths, sample counts, wrapped coordinates, unchanged records).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "files/drxfile.h"
#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "render/drawhdlr.h"
#include "render/imagefile.h"
#include "render/linestlr.h"
#include "render/metafile.h"
#include "render/outlinecache.h"
#include "tests/render/refpicture.h"

namespace {

ObjectRec* AddObject(LayerRec* layer, int16_t kind, bool closed, std::vector<FloatPoint> points,
                     float weight = 1.0f, int16_t lineType = kSolidLineType, int16_t pattern = kNoFill,
                     RGB16 pen = kBlack16, RGB16 fill = kWhite16) {
  FloatRect bounds = kEmptyRect;
  ObjectRec* object = CreateObject(kind, closed ? 1 : 0, 1, &fill, &pen, weight, lineType, pattern, &bounds,
                                   nullptr, nullptr, nullptr, layer, nullptr);
  for (const FloatPoint& p : points)
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, p.x, p.y, 0, 0, object), object);
  UpdateObjectBounds(object);
  AppendObjectToLayer(object, layer);
  return object;
}

// A closed curve through four points with tangents, like a drawn spline.
ObjectRec* AddCurve(LayerRec* layer, float cx, float cy, float r, RGB16 pen = kBlack16) {
  FloatRect bounds = kEmptyRect;
  RGB16 fill = kWhite16;
  ObjectRec* object = CreateObject(kSplineKind, 1, 1, &fill, &pen, 1.0f, kSolidLineType, kNoFill, &bounds,
                                   nullptr, nullptr, nullptr, layer, nullptr);
  const float k = r * 1.5f;
  const float pts[4][4] = {{cx + r, cy, 0, k}, {cx, cy + r, -k, 0}, {cx - r, cy, 0, -k}, {cx, cy - r, k, 0}};
  for (const auto& p : pts)
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, p[2], p[3], p[0], p[1], p[2], p[3], object), object);
  UpdateObjectBounds(object);
  AppendObjectToLayer(object, layer);
  return object;
}

void SelectAll(ObjectRec* object) {
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint) p->selected = 1;
}

uint32_t Pixel(const Picture& p, int x, int y) {
  return p.pixels[static_cast<size_t>(y) * p.width + x];
}
bool Ink(const Picture& p, int x, int y) {
  return Pixel(p, x, y) != kWhitePixel;
}

void AddShapes(LayerRec* layer) {
  AddObject(layer, kRectKind, true, {{10, 10}, {70, 10}, {70, 50}, {10, 50}});
  ObjectRec* oval = AddObject(layer, kOvalKind, true, {{110, 10}, {140, 30}, {110, 50}, {80, 30}});
  (void)oval;
  AddObject(layer, kPolyKind, true, {{160, 50}, {190, 10}, {220, 50}}, 2.0f, kSolidLineType, kNoFill,
            {0xFFFF, 0, 0});
  AddObject(layer, kLineKind, false, {{10, 70}, {220, 90}}, 3.0f, kSolidLineType, kNoFill, {0, 0, 0xFFFF});
  AddCurve(layer, 40, 125, 25);
  AddObject(layer, kPolyKind, false, {{80, 100}, {120, 150}, {160, 100}, {200, 150}}, 1.0f);
}

TEST(RenderPictures, ObjectKindsAtThreeZooms) {
  Drawing d;
  AddShapes(d.layer());
  ExpectMatchesReference(Render(d, 1.0f, 0, 0, 240, 170), "shapes_zoom1");
  ExpectMatchesReference(Render(d, 0.5f, 0, 0, 120, 85), "shapes_zoom05");
  ExpectMatchesReference(Render(d, 4.0f, 0, 0, 480, 340), "shapes_zoom4");
}

TEST(RenderPictures, LineTypesAndWeights) {
  Drawing d;
  float y = 10;
  for (int16_t type = kSolidLineType; type <= 11; ++type)
    for (float weight : {1.0f, 3.0f, 5.0f}) {
      AddObject(d.layer(), kLineKind, false, {{10, y}, {290, y}}, weight, type);
      y += 10;
    }
  // Dashes run on around corners.
  AddObject(d.layer(), kRectKind, true, {{20, y + 10}, {120, y + 10}, {120, y + 60}, {20, y + 60}}, 1.0f, 10);
  AddCurve(d.layer(), 220, y + 35, 25)->lineType = 9;
  ExpectMatchesReference(Render(d, 1.0f, 0, 0, 300, static_cast<int>(y) + 80), "line_types");
}

TEST(RenderPictures, FillPatterns) {
  Drawing d;
  const int16_t patterns[] = {2, 5, 7, 9, 11, 12, 15, 19, 22, 24, 31, 41, 51, 54, 61, 64, 66, 70, 75, 80};
  const RGB16 colours[] = {
      {0, 0, 0}, {0xFFFF, 0, 0}, {0, 0x8000, 0}, {0, 0, 0xFFFF}, {0xFFFF, 0xFFFF, 0xFFFF}};
  int i = 0;
  for (int16_t pattern : patterns) {
    const float x = 10.0f + (i % 5) * 40.0f, y = 10.0f + (i / 5) * 40.0f;
    AddObject(d.layer(), kRectKind, true, {{x, y}, {x + 32, y}, {x + 32, y + 32}, {x, y + 32}}, 1.0f,
              kSolidLineType, pattern, kBlack16, colours[i % 5]);
    ++i;
  }
  // A filled curve and a filled triangle.
  ObjectRec* curve = AddCurve(d.layer(), 240, 40, 28);
  curve->fillPattern = 13;
  curve->fillColor = {0, 0, 0xFFFF};
  AddObject(d.layer(), kPolyKind, true, {{215, 160}, {240, 100}, {265, 160}}, 1.0f, kSolidLineType, 11,
            kBlack16, {0xFFFF, 0x8000, 0});
  ExpectMatchesReference(Render(d, 1.0f, 0, 0, 280, 180), "fill_patterns");
}

TEST(RenderPictures, CurvesAtTwoSmoothnesses) {
  Drawing d;
  AddCurve(d.layer(), 50, 50, 40);
  SetCurveSmoothness(d.state(), 3);
  ExpectMatchesReference(Render(d, 1.0f, 0, 0, 100, 100), "curve_smooth3");
  SetCurveSmoothness(d.state(), 20);
  ExpectMatchesReference(Render(d, 1.0f, 0, 0, 100, 100), "curve_smooth20");
}

TEST(RenderPictures, HiddenLayersAndHandles) {
  Drawing d;
  ObjectRec* rect = AddObject(d.layer(), kRectKind, true, {{20, 20}, {80, 20}, {80, 60}, {20, 60}});
  ObjectRec* line = AddObject(d.layer(), kLineKind, false, {{20, 80}, {100, 100}});
  SelectAll(rect);
  SelectAll(line);
  LayerRec* hidden = CreateLayer("hidden", 0, 1, nullptr);
  AppendLayerToDocument(hidden);
  ObjectRec* ghost = AddObject(hidden, kRectKind, true, {{90, 20}, {110, 20}, {110, 60}, {90, 60}});
  SelectAll(ghost);
  ExpectMatchesReference(Render(d, 1.0f, 0, 0, 120, 120, kPaintErase | kPaintHandles), "handles_hidden");
}

TEST(RenderPictures, GridAxisPageBreaksAndSurround) {
  Drawing d;
  d.state()->showGrid = 1;
  d.state()->showAxis = 1;
  d.state()->showPageBreaks = 1;
  d.state()->gridH = d.state()->gridV = 1.0f;  // world inches at scale 1: every 72 page units
  gPageWidth = 306;
  gPageHeight = 396;
  AddObject(d.layer(), kRectKind, true, {{100, 100}, {500, 100}, {500, 700}, {100, 700}});
  ExpectMatchesReference(Render(d, 0.25f, -40, -40, 240, 280, kPaintErase | kPaintSurround),
                         "grid_axis_breaks");
  gPageWidth = gPageHeight = 0;
}

// ---- rules checked directly ----

TEST(RenderRules, TwoPagesAcrossDrawThreeBreakLines) {
  Drawing d;
  d.state()->showPageBreaks = 1;
  gPageWidth = 306;
  gPageHeight = 792;
  const Picture p = Render(d, 1.0f, 0, 0, 640, 20);
  gPageWidth = gPageHeight = 0;
  int lines = 0;
  for (int x = 0; x < p.width; ++x)
    if (Ink(p, x, 10) && (x == 0 || !Ink(p, x - 1, 10))) ++lines;
  EXPECT_EQ(lines, 3);
  EXPECT_TRUE(Ink(p, 306, 10));
  EXPECT_TRUE(Ink(p, 612, 10) || Ink(p, 611, 10));
}

TEST(RenderRules, FrameArcQuarterAndFrameRectRightEdge) {
  Drawing d;
  DibCanvas canvas;
  ASSERT_TRUE(CreateDibCanvas(120, 70, &canvas));
  ASSERT_TRUE(BeginPortSession(canvas.dc));
  UsePortPen(PS_SOLID, 1, RGB(0, 0, 0), false);
  const QDRect box = {10, 10, 110, 60};
  FrameArc(&box, 90, 90);  // from 3 o'clock to 6 o'clock: the lower-right quarter
  FrameArc(&box, 0, 360);  // a whole turn draws nothing
  FrameArc(&box, 0, 0);
  EndPortSession();
  Picture arc = CanvasPicture(canvas);
  bool upper = false, lowerLeft = false, lowerRight = false;
  for (int y = 0; y < arc.height; ++y)
    for (int x = 0; x < arc.width; ++x)
      if (Ink(arc, x, y)) {
        if (y < 34)
          upper = true;
        else if (x < 59)
          lowerLeft = true;
        else
          lowerRight = true;
      }
  EXPECT_FALSE(upper);
  EXPECT_FALSE(lowerLeft);
  EXPECT_TRUE(lowerRight);
  DeleteDibCanvas(&canvas);

  ASSERT_TRUE(CreateDibCanvas(20, 20, &canvas));
  ASSERT_TRUE(BeginPortSession(canvas.dc));
  UsePortPen(PS_SOLID, 1, RGB(0, 0, 0), false);
  const QDRect frame = {0, 0, 10, 5};
  MacFrameRect(&frame);
  EndPortSession();
  const Picture rect = CanvasPicture(canvas);
  for (int y = 0; y <= 5; ++y) EXPECT_TRUE(Ink(rect, 10, y)) << y;
  for (int x = 0; x <= 10; ++x) EXPECT_TRUE(Ink(rect, x, 5)) << x;
  EXPECT_FALSE(Ink(rect, 11, 2));
  DeleteDibCanvas(&canvas);
}

// Records a paint into an enhanced metafile and counts what reached the platform.
struct Recording {
  int polylinePoints = 0;
  int polylines = 0;
  std::vector<int> penWidths;
  bool nullPen = false;
};

int CALLBACK CountRecords(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  Recording* r = reinterpret_cast<Recording*>(data);
  if (record->iType == EMR_POLYPOLYLINE16) {
    const auto* rec = reinterpret_cast<const EMRPOLYPOLYLINE16*>(record);
    r->polylines += static_cast<int>(rec->nPolys);
    r->polylinePoints += static_cast<int>(rec->cpts);
  } else if (record->iType == EMR_POLYPOLYLINE) {
    const auto* rec = reinterpret_cast<const EMRPOLYPOLYLINE*>(record);
    r->polylines += static_cast<int>(rec->nPolys);
    r->polylinePoints += static_cast<int>(rec->cptl);
  } else if (record->iType == EMR_CREATEPEN) {
    r->penWidths.push_back(reinterpret_cast<const EMRCREATEPEN*>(record)->lopn.lopnWidth.x);
  } else if (record->iType == EMR_SELECTOBJECT) {
    if (reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject == (0x80000000u | NULL_PEN))
      r->nullPen = true;
  }
  return 1;
}

Recording RecordPaint(Drawing& d) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  const QDRect area = {0, 0, 612, 792};
  PaintDrawing(dc, d.document, &area, 0);
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  Recording r;
  EnumEnhMetaFile(nullptr, emf, CountRecords, &r, nullptr);
  DeleteEnhMetaFile(emf);
  gCurDocument = d.document;
  return r;
}

// A framed box in one call is the picture of its fill and four lines: boxes of one pixel, thin and
// wide, partly off the picture, in pen colours of their own; a pen it cannot stand for (wide,
// dotted, inverting) draws nothing and is refused.
TEST(RenderRules, FramedBoxIsItsFillAndFourLines) {
  const RECT boxes[] = {
      {10, 10, 40, 25}, {50, 5, 50, 5}, {60, 30, 61, 31}, {-5, 40, 30, 70}, {70, 2, 140, 20}};
  auto paint = [&](bool oneCall) {
    DibCanvas canvas;
    EXPECT_TRUE(CreateDibCanvas(100, 60, &canvas));
    const RECT all = {0, 0, 100, 60};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EXPECT_TRUE(BeginPortSession(canvas.dc));
    COLORREF pen = RGB(200, 0, 0);
    for (const RECT& box : boxes) {
      UsePortPen(PS_SOLID, 1, pen, false);
      const COLORREF fill = RGB(0, 120, 255);
      if (!oneCall || !PortFramedBox(box, fill)) {
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(canvas.dc, &box, brush);
        DeleteObject(brush);
        PortMoveTo(box.left, box.top);
        PortLineTo(box.right, box.top);
        PortLineTo(box.right, box.bottom);
        PortLineTo(box.left, box.bottom);
        PortLineTo(box.left, box.top);
        FlushPortLines();
      }
      pen = RGB(0, GetGValue(pen) + 60, 0);
    }
    UsePortPen(PS_SOLID, 3, RGB(0, 0, 0), false);
    EXPECT_FALSE(PortFramedBox(boxes[0], RGB(0, 0, 0)));
    UsePortPen(PS_DOT, 0, RGB(0, 0, 0), false);
    EXPECT_FALSE(PortFramedBox(boxes[0], RGB(0, 0, 0)));
    UsePortPen(PS_SOLID, 1, RGB(0, 0, 0), false);
    UsePortRop(R2_NOT);
    EXPECT_FALSE(PortFramedBox(boxes[0], RGB(0, 0, 0)));
    EndPortSession();
    Picture picture = CanvasPicture(canvas);
    DeleteDibCanvas(&canvas);
    return picture;
  };
  const Picture apart = paint(false), together = paint(true);
  EXPECT_EQ(apart.pixels, together.pixels);
}

// A shape filled under its outline, still batched, is the picture of its outline drawn and then
// Polygon with the same pen over it: rectangles along the axes either way round (filled as
// boxes), an empty one, a triangle, a star that crosses itself, a repeated vertex, with a solid
// and a pattern brush, a thin and a null pen.
TEST(RenderRules, FillUnderTheOutlineIsPolygonOverIt) {
  const std::vector<std::vector<POINT>> shapes = {{{5, 5}, {30, 5}, {30, 20}, {5, 20}},
                                                  {{40, 22}, {40, 4}, {62, 4}, {62, 22}},
                                                  {{70, 5}, {70, 5}, {70, 25}, {70, 25}},
                                                  {{5, 30}, {35, 58}, {2, 52}},
                                                  {{60, 30}, {68, 56}, {46, 40}, {74, 40}, {52, 56}},
                                                  {{80, 30}, {96, 34}, {96, 34}, {90, 58}, {78, 50}}};
  auto paint = [&](bool underOutline, bool nullPen) {
    DibCanvas canvas;
    EXPECT_TRUE(CreateDibCanvas(100, 60, &canvas));
    const RECT all = {0, 0, 100, 60};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EXPECT_TRUE(BeginPortSession(canvas.dc));
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 160));
    int i = 0;
    for (const std::vector<POINT>& shape : shapes) {
      UsePortPen(PS_SOLID, nullPen ? 0 : 1, RGB(200, 40 * i, 0), nullPen);
      SetDCBrushColor(canvas.dc, RGB(0, 120, 255));
      HGDIOBJ saved = SelectObject(canvas.dc, i % 2 ? hatch : GetStockObject(DC_BRUSH));
      StartPortOutline();
      PortMoveTo(shape.back().x, shape.back().y);
      for (const POINT& p : shape) PortLineTo(p.x, p.y);
      const int count = static_cast<int>(shape.size());
      if (underOutline) {
        EXPECT_TRUE(CanFillUnderPortOutline());
        FillUnderPortOutline(shape.data(), count);
      } else {
        FlushPortLines();
        Polygon(canvas.dc, shape.data(), count);
      }
      FlushPortLines();
      SelectObject(canvas.dc, saved);
      ++i;
    }
    DeleteObject(hatch);
    // Where the picture of the long way differs: a wide or dotted pen, an inverting operation,
    // or part of the outline drawn already.
    UsePortPen(PS_SOLID, 3, RGB(0, 0, 0), false);
    StartPortOutline();
    EXPECT_FALSE(CanFillUnderPortOutline());
    UsePortPen(PS_DOT, 0, RGB(0, 0, 0), false);
    StartPortOutline();
    EXPECT_FALSE(CanFillUnderPortOutline());
    UsePortPen(PS_SOLID, 1, RGB(0, 0, 0), false);
    StartPortOutline();
    PortMoveTo(1, 1);
    PortLineTo(9, 9);
    FlushPortLines();
    EXPECT_FALSE(CanFillUnderPortOutline());
    UsePortRop(R2_NOT);
    StartPortOutline();
    EXPECT_FALSE(CanFillUnderPortOutline());
    EndPortSession();
    Picture picture = CanvasPicture(canvas);
    DeleteDibCanvas(&canvas);
    return picture;
  };
  for (bool nullPen : {false, true}) {
    SCOPED_TRACE(nullPen ? "null pen" : "thin pen");
    EXPECT_EQ(paint(false, nullPen).pixels, paint(true, nullPen).pixels);
  }
}

// Each oval alone on a fresh picture, so that no later one hides a wrong pixel: drawn by the
// platform, then from its kept outline, made in bands of rows, and again at another place,
// partly off the picture, where an oval wholly in view is only filled.
TEST(RenderRules, KeptOvalOutlineIsTheOvalsPixels) {
  const RECT boxes[] = {{10, 10, 12, 12}, {5, 5, 8, 9},    {20, 8, 61, 31},      {-15, 30, 40, 75},
                        {30, 40, 33, 90}, {70, 2, 71, 60}, {-90, -120, 190, 170}};
  auto paint = [](const RECT& box, int penWidth, bool kept, bool* used) {
    DibCanvas canvas;
    EXPECT_TRUE(CreateDibCanvas(120, 80, &canvas));
    const RECT all = {0, 0, 120, 80};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    HRGN clip = CreateRectRgn(0, 0, 100, 70);  // a paint message's update area
    SelectClipRgn(canvas.dc, clip);
    DeleteObject(clip);
    SetWindowOrgEx(canvas.dc, -3, 2, nullptr);
    EXPECT_TRUE(BeginPortSession(canvas.dc));
    UsePortPen(PS_SOLID, penWidth, RGB(200, 30, 90), false);
    *used = kept && PortWideOval(box);
    if (!*used) {
      HGDIOBJ saved = SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
      Ellipse(canvas.dc, box.left, box.top, box.right, box.bottom);
      SelectObject(canvas.dc, saved);
    }
    EndPortSession();
    Picture picture = CanvasPicture(canvas);
    DeleteDibCanvas(&canvas);
    return picture;
  };
  ForgetKeptOutlines();
  for (int penWidth : {2, 3, 4, 7, 12}) {
    for (const RECT& box : boxes) {
      for (int shift : {0, 9}) {
        const RECT at = {box.left + shift, box.top - shift, box.right + shift, box.bottom - shift};
        bool used = false;
        const Picture platform = paint(at, penWidth, false, &used);
        const Picture keptOne = paint(at, penWidth, true, &used);
        EXPECT_TRUE(used);
        EXPECT_EQ(platform.pixels, keptOne.pixels)
            << "pen " << penWidth << " at " << at.left << "," << at.top << " size " << at.right - at.left
            << "x" << at.bottom - at.top;
      }
    }
  }
  // An oval wholly in view shares its outline with every other of its size and pen.
  ForgetKeptOutlines();
  bool used = false;
  paint({20, 8, 61, 31}, 3, true, &used);
  paint({30, 20, 71, 43}, 3, true, &used);
  EXPECT_TRUE(used);
  EXPECT_EQ(KeptOutlineCount(), 1u);

  // Only a wide solid pen copied onto the picture is kept.
  DibCanvas canvas;
  ASSERT_TRUE(CreateDibCanvas(20, 20, &canvas));
  EXPECT_TRUE(BeginPortSession(canvas.dc));
  UsePortPen(PS_SOLID, 1, RGB(0, 0, 0), false);
  EXPECT_FALSE(PortWideOval(boxes[2]));
  UsePortPen(PS_DOT, 0, RGB(0, 0, 0), false);
  EXPECT_FALSE(PortWideOval(boxes[2]));
  UsePortPen(PS_SOLID, 0, RGB(0, 0, 0), true);
  EXPECT_FALSE(PortWideOval(boxes[2]));
  UsePortPen(PS_SOLID, 3, RGB(0, 0, 0), false);
  UsePortRop(R2_NOT);
  EXPECT_FALSE(PortWideOval(boxes[2]));
  EndPortSession();
  DeleteDibCanvas(&canvas);
  ForgetKeptOutlines();
  EXPECT_EQ(KeptOutlineCount(), 0u);
}

// A kept outline is painted through the context's clip, which it leaves as it found it (a clip
// region or none), and it lands where the platform draws the oval after the view has scrolled.
TEST(RenderRules, KeptOutlineLeavesTheClipAndFollowsAScroll) {
  const RECT box = {20, 8, 61, 31};
  auto paint = [&](POINT origin, bool clipped, bool kept) {
    DibCanvas canvas;
    EXPECT_TRUE(CreateDibCanvas(120, 80, &canvas));
    const RECT all = {0, 0, 120, 80};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    HRGN clip = CreateRectRgn(0, 0, 50, 70);  // cuts the oval
    if (clipped) SelectClipRgn(canvas.dc, clip);
    SetWindowOrgEx(canvas.dc, origin.x, origin.y, nullptr);
    EXPECT_TRUE(BeginPortSession(canvas.dc));
    UsePortPen(PS_SOLID, 3, RGB(200, 30, 90), false);
    const bool used = kept && PortWideOval(box);
    EXPECT_EQ(used, kept);
    if (!used) {
      HGDIOBJ saved = SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
      Ellipse(canvas.dc, box.left, box.top, box.right, box.bottom);
      SelectObject(canvas.dc, saved);
    }
    EndPortSession();
    HRGN after = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(canvas.dc, after), clipped ? 1 : 0);
    if (clipped) {
      EXPECT_TRUE(EqualRgn(after, clip));
    }
    DeleteObject(after);
    DeleteObject(clip);
    Picture picture = CanvasPicture(canvas);
    DeleteDibCanvas(&canvas);
    return picture;
  };
  for (bool clipped : {false, true}) {
    SCOPED_TRACE(clipped ? "clip region" : "no clip region");
    ForgetKeptOutlines();
    for (POINT origin : {POINT{0, 0}, POINT{-7, -2}, POINT{4, 3}}) {
      EXPECT_EQ(paint(origin, clipped, false).pixels, paint(origin, clipped, true).pixels)
          << "origin " << origin.x << "," << origin.y;
    }
    // Wholly in view, the oval was made once and moved with the view.
    if (!clipped) {
      EXPECT_EQ(KeptOutlineCount(), 1u);
    }
  }
  ForgetKeptOutlines();
}

// A paint makes only so many new outlines and draws the rest as the platform does; the paints
// after it keep the rest. The picture is the platform's every time.
TEST(RenderRules, APaintMakesOnlyItsShareOfNewOutlines) {
  constexpr int kOvals = 300;
  auto paint = [](bool port) {
    DibCanvas canvas;
    EXPECT_TRUE(CreateDibCanvas(420, 300, &canvas));
    const RECT all = {0, 0, 420, 300};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EXPECT_TRUE(BeginPortSession(canvas.dc));
    UsePortPen(PS_SOLID, 2, RGB(200, 30, 90), false);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(200, 30, 90));
    HGDIOBJ savedPen = SelectObject(canvas.dc, pen);
    HGDIOBJ savedBrush = SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
    for (int i = 0; i < kOvals; ++i) {
      // Each oval of a size of its own, so that none shares another's outline.
      const int x = i % 20 * 21, y = i / 20 * 20;
      const RECT box = {x, y, x + 4 + i % 20, y + 4 + i / 20};
      if (!port || !PortWideOval(box)) Ellipse(canvas.dc, box.left, box.top, box.right, box.bottom);
    }
    SelectObject(canvas.dc, savedBrush);
    SelectObject(canvas.dc, savedPen);
    DeleteObject(pen);
    EndPortSession();
    Picture picture = CanvasPicture(canvas);
    DeleteDibCanvas(&canvas);
    return picture;
  };
  ForgetKeptOutlines();
  const Picture platform = paint(false);
  size_t kept[3];
  for (size_t& count : kept) {
    EXPECT_EQ(paint(true).pixels, platform.pixels) << "paint " << &count - kept;
    count = KeptOutlineCount();
  }
  EXPECT_GT(kept[0], 0u);
  EXPECT_LT(kept[0], static_cast<size_t>(kOvals));
  EXPECT_EQ(kept[1], static_cast<size_t>(kOvals));
  EXPECT_EQ(kept[2], static_cast<size_t>(kOvals));
  ForgetKeptOutlines();
}

// Wide lines and filled polygons, each on a fresh picture: drawn by the platform, then through
// the port three times, the first time as the platform draws them, then from the outline kept
// the second time, and again from the one kept. Some lie partly off the picture, one crosses
// itself and one repeats its points.
TEST(RenderRules, KeptWideLinesAndPolygonOutlinesAreThePlatformsPixels) {
  const std::vector<std::vector<POINT>> shapes = {
      {{10, 10}, {60, 12}, {30, 50}},
      {{5, 5}, {5, 5}, {40, 5}, {40, 5}, {40, 30}},
      {{130, 40}, {50, 70}, {90, 20}, {20, 60}, {60, 95}},
      {{70, 40}, {71, 41}, {72, 40}, {73, 41}, {74, 40}, {75, 41}},
      {{50, 10}, {80, 50}, {20, 50}, {60, 30}, {30, 20}},
      {{80, 20}, {20, 20}, {20, 60}, {80, 60}},
  };
  auto paint = [](const std::vector<POINT>& shape, int penWidth, bool closed, bool port) {
    DibCanvas canvas;
    EXPECT_TRUE(CreateDibCanvas(120, 80, &canvas));
    const RECT all = {0, 0, 120, 80};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    HRGN clip = CreateRectRgn(0, 0, 100, 70);
    SelectClipRgn(canvas.dc, clip);
    DeleteObject(clip);
    SetWindowOrgEx(canvas.dc, -3, 2, nullptr);
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 90, 200));
    HGDIOBJ savedBrush = SelectObject(canvas.dc, hatch);
    const COLORREF colour = RGB(200, 30, 90);
    const int count = static_cast<int>(shape.size());
    const DWORD run = static_cast<DWORD>(count);
    EXPECT_TRUE(BeginPortSession(canvas.dc));
    UsePortPen(PS_SOLID, penWidth, colour, false);
    if (!port) {
      HPEN pen = CreatePen(PS_SOLID, penWidth, colour);
      HGDIOBJ savedPen = SelectObject(canvas.dc, pen);
      if (closed)
        Polygon(canvas.dc, shape.data(), count);
      else
        PolyPolyline(canvas.dc, shape.data(), &run, 1);
      SelectObject(canvas.dc, savedPen);
      DeleteObject(pen);
    } else if (closed) {
      EXPECT_TRUE(PortWidePolygon(shape.data(), count));
    } else {
      PortMoveTo(static_cast<float>(shape[0].x), static_cast<float>(shape[0].y));
      for (int i = 1; i < count; ++i)
        PortLineTo(static_cast<float>(shape[i].x), static_cast<float>(shape[i].y));
      FlushPortLines();
    }
    EndPortSession();
    SelectObject(canvas.dc, savedBrush);
    DeleteObject(hatch);
    Picture picture = CanvasPicture(canvas);
    DeleteDibCanvas(&canvas);
    return picture;
  };
  ForgetKeptOutlines();
  for (bool closed : {false, true}) {
    for (int penWidth : {2, 3, 6}) {
      for (const auto& shape : shapes) {
        const Picture platform = paint(shape, penWidth, closed, false);
        const size_t kept = KeptOutlineCount();
        for (int time = 0; time < 3; ++time) {
          const Picture port = paint(shape, penWidth, closed, true);
          int differ = 0;
          for (size_t i = 0; i < port.pixels.size(); ++i) differ += port.pixels[i] != platform.pixels[i];
          EXPECT_EQ(differ, 0) << (closed ? "polygon" : "lines") << " from " << shape[0].x << ","
                               << shape[0].y << ", pen " << penWidth << ", time " << time;
          // A triangle costs the platform too little to keep.
          EXPECT_EQ(KeptOutlineCount(), kept + (time > 0 && shape.size() > 3 ? 1 : 0));
        }
      }
    }
  }
  ForgetKeptOutlines();
}

TEST(RenderRules, CurveSegmentIsExactlySmoothnessLines) {
  for (int smoothness : {8, 13}) {
    Drawing d;
    SetCurveSmoothness(d.state(), smoothness);
    FloatRect bounds = kEmptyRect;
    ObjectRec* spline = CreateObject(kSplineKind, 0, 1, &kWhite16, &kBlack16, 1.0f, kSolidLineType, kNoFill,
                                     &bounds, nullptr, nullptr, nullptr, d.layer(), nullptr);
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, 10, 10, 100, 0, spline), spline);
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 100, 200, 200, 0, 0, spline), spline);
    UpdateObjectBounds(spline);
    AppendObjectToLayer(spline, d.layer());
    const Recording r = RecordPaint(d);
    EXPECT_EQ(r.polylinePoints - r.polylines, smoothness);
  }
}

TEST(RenderRules, PenWidthsFollowLineWeight) {
  Drawing d;
  AddObject(d.layer(), kLineKind, false, {{10, 10}, {50, 10}}, 2.6f);
  AddObject(d.layer(), kLineKind, false, {{10, 20}, {50, 20}}, 0.3f);
  AddObject(d.layer(), kLineKind, false, {{10, 30}, {50, 30}}, -0.05f);
  AddObject(d.layer(), kLineKind, false, {{10, 40}, {50, 40}}, -1.0f);
  const Recording r = RecordPaint(d);
  ASSERT_EQ(r.penWidths.size(), 3u);  // the invisible pen is the null pen, the last reuses width 1
  EXPECT_EQ(r.penWidths[0], 3);
  EXPECT_EQ(r.penWidths[1], 1);
  EXPECT_TRUE(r.nullPen);
  d.state()->zoomFactor = 2.0f;
  const Recording zoomed = RecordPaint(d);
  ASSERT_FALSE(zoomed.penWidths.empty());
  EXPECT_EQ(zoomed.penWidths[0], 5);
}

TEST(RenderRules, DashedLineOfTypeNine) {
  Drawing d;
  AddObject(d.layer(), kLineKind, false, {{0, 5}, {52, 5}}, 1.0f, 9);
  const Picture p = Render(d, 1.0f, 0, 0, 60, 10);
  for (int x = 0; x < 52; ++x) {
    const bool dash = (x < 20) || (x >= 26 && x < 46);
    EXPECT_EQ(Ink(p, x, 5), dash) << "x = " << x;
  }
}

// Far zoomed in, coordinates pass 16 bits; nothing may wrap round and cross the window.
TEST(RenderRules, HighZoomDoesNotWrapCoordinates) {
  Drawing d;
  AddObject(d.layer(), kLineKind, false, {{-500, 400}, {1500, 420}});  // x up to 60000 at zoom 40
  AddObject(d.layer(), kLineKind, false, {{900, -1e6f}, {900, 1e6f}});
  ObjectRec* big =
      AddObject(d.layer(), kRectKind, true, {{850, 300}, {2000, 300}, {2000, 2000}, {850, 2000}});
  big->fillPattern = 11;
  big->fillColor = {0, 0xFFFF, 0};
  const int left = 880, top = 400;
  const Picture p = Render(d, 40.0f, left, top, 400, 300);
  // Expected: the first line crosses at y = 400 + (x + 500) / 100 page units; the vertical line
  // at page x 900 (pixel 800); the green fill right of page x 850 everywhere.
  for (int x = 0; x < p.width; ++x) {
    const float pageX = left + x / 40.0f;
    const float lineY = (400.0f + (pageX + 500.0f) / 100.0f - top) * 40.0f;
    for (int y = 0; y < p.height; ++y) {
      const uint32_t px = Pixel(p, x, y);
      const bool onLine = std::fabs(y - lineY) <= 1.5f || std::abs(x - 800) <= 1;
      if (!onLine) {
        ASSERT_EQ(px, 0x00FF00u) << x << "," << y;
      }
    }
  }
}

TEST(RenderRules, PaintingLeavesTheRecordsAlone) {
  Drawing d;
  ObjectRec* poly =
      AddObject(d.layer(), kPolyKind, true, {{10, 10}, {60, 10}, {60, 40}, {10, 40}}, 1.0f, 9, 7, kBlack16);
  Render(d, 1.0f, 0, 0, 80, 60);
  EXPECT_EQ(poly->lineType, 9);  // drawn solid, saved dashed as the user set it
  // The paint owes the outline a click inside is tested against; it is made when asked for.
  EXPECT_EQ(poly->screenPolyCount, kHitOutlineOwed);
  MakeScreenHitOutline(poly);
  ASSERT_EQ(poly->screenPolyCount, 4);
  EXPECT_EQ(poly->screenPoly[3].x, 10);
  EXPECT_EQ(poly->screenPoly[3].y, 10);
}

TEST(RenderRules, RubberBandsInvertAndPreviewsMove) {
  Drawing d;
  ObjectRec* rect = AddObject(d.layer(), kRectKind, true, {{10, 10}, {50, 10}, {50, 30}, {10, 30}});
  SelectAll(rect);
  DibCanvas canvas;
  ASSERT_TRUE(CreateDibCanvas(100, 50, &canvas));
  const QDRect area = {0, 0, 100, 50};
  PaintDrawing(canvas.dc, d.document, &area, kPaintErase);
  gCurDocument = d.document;
  const Picture before = CanvasPicture(canvas);
  TrackState track = {{0, 0}, {20, 5}, {0, 0}, 0, 0};
  ASSERT_TRUE(BeginPortSession(canvas.dc));
  DrawAllLayers(d.layer(), &area, kDrawSelected | kDrawInvert | kDrawPreviewTranslate, &track);
  EndPortSession();
  const Picture during = CanvasPicture(canvas);
  EXPECT_TRUE(Pixel(during, 70, 15) == 0x000000u);  // the moved right edge, inverted white
  EXPECT_TRUE(Pixel(during, 50, 20) == 0x000000u || Pixel(during, 50, 20) == 0xFFFFFFu);
  ASSERT_TRUE(BeginPortSession(canvas.dc));
  DrawAllLayers(d.layer(), &area, kDrawSelected | kDrawInvert | kDrawPreviewTranslate, &track);
  EndPortSession();
  const Picture after = CanvasPicture(canvas);
  EXPECT_EQ(after.pixels, before.pixels);
  DeleteDibCanvas(&canvas);
}

TEST(RenderRules, MetafileOfTheDrawing) {
  Drawing d;
  AddObject(d.layer(), kRectKind, true, {{72, 72}, {144, 72}, {144, 144}, {72, 144}});
  METAFILEPICT size;
  HMETAFILE metafile = MakeMetaFile(&size);
  ASSERT_NE(metafile, nullptr);
  EXPECT_EQ(size.mm, MM_TEXT);
  EXPECT_EQ(size.xExt, 73);
  EXPECT_EQ(size.yExt, 73);
  EXPECT_EQ(CurrentPaintTarget(), nullptr);
  EXPECT_FLOAT_EQ(CurrentZoom(), d.state()->zoomFactor);
  const UINT bytes = GetMetaFileBitsEx(metafile, 0, nullptr);
  EXPECT_GT(bytes, 18u);
  // The outline itself must be recorded, not only the pen moves.
  int strokes = 0;
  HDC screen = GetDC(nullptr);
  EnumMetaFile(
      screen, metafile,
      [](HDC, HANDLETABLE*, METARECORD* record, int, LPARAM counter) -> int {
        if (record->rdFunction == META_POLYLINE || record->rdFunction == META_LINETO ||
            record->rdFunction == META_POLYGON)
          ++*reinterpret_cast<int*>(counter);
        return 1;
      },
      reinterpret_cast<LPARAM>(&strokes));
  ReleaseDC(nullptr, screen);
  EXPECT_GT(strokes, 0) << "the rectangle left no line in the metafile";
  DeleteMetaFile(metafile);
  gCurDocument = nullptr;
  EXPECT_EQ(MakeMetaFile(&size), nullptr);
}

// Recording a picture in the middle of a printed page (a placed drawing, say) leaves the page's
// target, its scale and the drawing's zoom as they were.
TEST(RenderRules, MetafileRecordedDuringAPaintRestoresThatPaint) {
  Drawing d;
  AddObject(d.layer(), kRectKind, true, {{72, 72}, {144, 72}, {144, 144}, {72, 144}});
  d.state()->zoomFactor = 2.0f;
  HDC page = CreateCompatibleDC(nullptr);
  const PaintTarget printer = {page, PaintDevice::kPrinter, 4.0f, 5.0f};
  const PaintTarget* before = SwapPaintTarget(&printer);
  HMETAFILE metafile = MakeMetaFile(nullptr);
  EXPECT_NE(metafile, nullptr);
  EXPECT_EQ(CurrentPaintTarget(), &printer);
  EXPECT_TRUE(IsPrintPath());
  EXPECT_FLOAT_EQ(PrintScaleH(), 4.0f);
  EXPECT_FLOAT_EQ(PrintScaleV(), 5.0f);
  EXPECT_FLOAT_EQ(d.state()->zoomFactor, 2.0f);
  SwapPaintTarget(before);
  EXPECT_FALSE(IsPrintPath());
  if (metafile) DeleteMetaFile(metafile);
  DeleteDC(page);
}

}  // namespace

namespace {

// What drxconv writes: the sheet at the zoom, the same after a save and a read, and the same
// after a trip through a PNG file.
TEST(RenderPictures, SheetPictureSurvivesSaveReadAndPng) {
  const std::string drx = std::string(DRX_BINARY_DIR) + "/render-sheet.drx";
  const std::string png = std::string(DRX_BINARY_DIR) + "/render-sheet.png";
  Picture original;
  {
    Drawing d;
    AddShapes(d.layer());
    d.state()->showGrid = 1;
    ASSERT_TRUE(RenderDocumentPicture(d.document, 0.5f, &original));
    ASSERT_TRUE(DrxFileWrite(drx.c_str()));
  }
  EXPECT_EQ(original.width, 306);
  EXPECT_EQ(original.height, 396);
  Drawing e;
  ASSERT_TRUE(DrxFileRead(drx.c_str()));
  Picture reread;
  ASSERT_TRUE(RenderDocumentPicture(e.document, 0.5f, &reread));
  EXPECT_EQ(reread.pixels, original.pixels);
  ASSERT_TRUE(WritePicturePng(reread, png.c_str()));
  Picture loaded;
  ASSERT_TRUE(ReadPicturePng(png.c_str(), &loaded));
  EXPECT_EQ(loaded.pixels, original.pixels);
}

}  // namespace

namespace {

// Text metrics differ between systems, so text is checked by where its ink falls, not pixel
// by pixel: inside the block's box, in the pen colour, wrapped onto more lines when narrower.
TEST(RenderText, TextBlockPaintsInsideItsBoxAtTheZoom) {
  Drawing d;
  ObjectRec* block = AddObject(d.layer(), kTextBlockKind, true, {{20, 20}, {220, 20}, {220, 80}, {20, 80}},
                               0.0f, kSolidLineType, kNoFill, {0, 0, 0xFFFF});
  TextPane pane = CreateTextPane(kAlignLeft);
  ASSERT_NE(pane, nullptr);
  const char text[] = "Plan view\r\nscale one to fifty";
  SetTextPaneText(pane, text, sizeof text - 1);
  block->info = pane;
  for (float zoom : {1.0f, 2.0f}) {
    const Picture p = Render(d, zoom, 0, 0, static_cast<int>(240 * zoom), static_cast<int>(100 * zoom));
    int inside = 0, outside = 0, lowest = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        if (!Ink(p, x, y)) continue;
        // The box is the zoomed bounds inset by 3 pixels.
        const bool inBox =
            x >= 20 * zoom + 3 && x < 220 * zoom - 3 && y >= 20 * zoom + 3 && y < 80 * zoom - 3;
        (inBox ? inside : outside) += 1;
        if (Pixel(p, x, y) == 0x0000FFu && y > lowest) lowest = y;
      }
    EXPECT_GT(inside, 50) << zoom;
    EXPECT_EQ(outside, 0) << zoom;
    EXPECT_GT(lowest, 35 * zoom) << "the second line is drawn below the first";
  }
  // Not painted into a metafile recording.
  METAFILEPICT size;
  HMETAFILE metafile = MakeMetaFile(&size);
  ASSERT_NE(metafile, nullptr);
  DeleteMetaFile(metafile);
}

// Three blocks, left, centred and right, whose text wraps at the box as the edit control wraps
// it, painted from their panes: the same lines at zoom 1 and 2.
TEST(RenderText, PassiveTextBlocksMatchTheirPictures) {
  Drawing d;
  const int16_t alignments[] = {kAlignLeft, kAlignCentred, kAlignRight};
  FontRecord font = {};
  font.height = -13;
  std::strcpy(font.faceName, "Arial");
  for (int i = 0; i < 3; ++i) {
    const float top = 10.0f + 60.0f * i;
    ObjectRec* block =
        AddObject(d.layer(), kTextBlockKind, true, {{10, top}, {136, top}, {136, top + 55}, {10, top + 55}},
                  0.0f, kSolidLineType, kNoFill, {0, 0, 0});
    TextPane pane = CreateTextPane(alignments[i]);
    const char text[] = "Room 12\r\nFinish: oak floor, painted walls";
    SetTextPaneText(pane, text, sizeof text - 1);
    SetTextPaneFont(pane, &font);
    block->info = pane;
  }
  ExpectMatchesReference(Render(d, 1.0f, 0, 0, 150, 195), "text_blocks_zoom1");
  ExpectMatchesReference(Render(d, 2.0f, 0, 0, 300, 390), "text_blocks_zoom2");
}

TEST(RenderText, UnattachedDimensionLabelShowsPlaceholder) {
  Drawing d;
  ObjectRec* label =
      AddObject(d.layer(), kDimensionTextKind, true, {{10, 10}, {60, 10}, {60, 30}, {10, 30}}, 0.0f);
  (void)label;
  const Picture p = Render(d, 1.0f, 0, 0, 80, 40);
  int ink = 0;
  for (int y = 0; y < 27; ++y)
    for (int x = 13; x < 60; ++x) ink += Ink(p, x, y) ? 1 : 0;
  EXPECT_GT(ink, 10);
}

}  // namespace
