// Object rendering over the drawing port.
#include "render/drawhdlr.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dimensions/drawdim2_win.h"
#include "dimensions/drawdims.h"
#include "geometry/gnrlmath.h"
#include "geometry/units.h"
#include "geometry/zoomhdlr.h"
#include "model/objstuff.h"
#include "model/recpool.h"
#include "render/linestlr.h"
#include "render/overdraw.h"
#include "render/textdraw.h"

int32_t gPageWidth = 0;
int32_t gPageHeight = 0;
bool gPolyHappening = false;
FloatPoint gWidthHeight = {0.0f, 0.0f};
bool (*gToolIsPointOrientedHook)() = nullptr;
bool gLeaveOutCovered = true;
long gShapesLeftOut = 0;

namespace {

constexpr COLORREF kGridColour = RGB(192, 192, 192);
constexpr COLORREF kBreakColour = RGB(192, 192, 192);
constexpr int kBreakWidth = 2;
constexpr int kHandleLow = 2;  // a handle spans x - 2 .. x + 3, right and bottom excluded
constexpr int kHandleHigh = 3;
constexpr float kEmptyLimit = 30000.0f;
constexpr int kPatternSize = 8;
// When no printer is known the page breaks show US letter pages.
constexpr int32_t kFallbackPageWidth = 612;
constexpr int32_t kFallbackPageHeight = 792;

// The object being drawn and the line type it is drawn with. A filled closed outline is drawn
// solid; the record keeps the line type the user gave it.
const ObjectRec* gDrawingObject = nullptr;
int16_t gDrawingLineType = kSolidLineType;
// The collected fill polygon in the target's coordinates, and the screen copy for hit testing.
std::vector<POINT> gFillPoly;
std::vector<ScreenPoint> gScreenPoly;
// True while a filled shape's hit outline is being made: its outline is kept in the record. A
// paint itself keeps none, only marks it owed (made when a click needs it).
bool gMakingHitOutline = false;

bool IsScreen() {
  return !IsPrintPath();
}

float PrintX(float v) {
  return IsPrintPath() ? v * PrintScaleH() : v;
}
float PrintY(float v) {
  return IsPrintPath() ? v * PrintScaleV() : v;
}

void AppendFillPoint(float x, float y) {
  if (!gPolyHappening) return;
  const float px = PrintX(x), py = PrintY(y);
  gFillPoly.push_back(POINT{RoundToInt(px), RoundToInt(py)});
  if (gMakingHitOutline) gScreenPoly.push_back(ScreenPoint{RoundToInt(x), RoundToInt(y)});
}

bool HasNoTangents(const PointRec& a, const PointRec& b) {
  return a.outTangentX == 0.0f && a.outTangentY == 0.0f && b.inTangentX == 0.0f && b.inTangentY == 0.0f;
}

void ApplyPreview(PointRec* p, int flags, const TrackState* track, int16_t kind) {
  if (!track) return;
  const bool text = kind == kTextBlockKind || kind == kDimensionTextKind;
  if (flags & kDrawPreviewTranslate)
    TranslatePoint(p, flags, track);
  else if (flags & kDrawPreviewScale)
    ScalePoint(p, flags, track);
  else if (flags & kDrawPreviewShear) {
    if (!text) ShearPoint(p, flags, track);
  } else if ((flags & kDrawPreviewRotate) && !text)
    RotatePoint(p, flags, track);
}

// Sutherland-Hodgman against one edge of the port's clip box.
template <typename Inside, typename Cross>
void ClipPolygonEdge(std::vector<double>& xs, std::vector<double>& ys, Inside inside, Cross cross) {
  std::vector<double> ox, oy;
  const size_t n = xs.size();
  for (size_t i = 0; i < n; ++i) {
    const size_t j = (i + 1) % n;
    const bool in1 = inside(xs[i], ys[i]), in2 = inside(xs[j], ys[j]);
    if (in1) {
      ox.push_back(xs[i]);
      oy.push_back(ys[i]);
    }
    if (in1 != in2) {
      double x, y;
      cross(xs[i], ys[i], xs[j], ys[j], &x, &y);
      ox.push_back(x);
      oy.push_back(y);
    }
  }
  xs.swap(ox);
  ys.swap(oy);
}

// The fill polygon, clipped to the visible area when any vertex lies far outside it. `whole` says
// every vertex lies a pixel or more inside, where the port does not clip the outline's lines
// either. The result lasts until the next call.
const std::vector<POINT>& ClippedFillPolygon(bool* whole) {
  double l, t, r, b;
  GetPortClipBox(&l, &t, &r, &b);
  bool inside = true;
  *whole = true;
  for (const POINT& p : gFillPoly) {
    if (p.x < l || p.x > r || p.y < t || p.y > b) inside = false;
    if (p.x < l + 1 || p.x > r - 1 || p.y < t + 1 || p.y > b - 1) *whole = false;
  }
  if (inside) return gFillPoly;
  std::vector<double> xs, ys;
  for (const POINT& p : gFillPoly) {
    xs.push_back(p.x);
    ys.push_back(p.y);
  }
  auto atX = [](double edge) {
    return [edge](double x1, double y1, double x2, double y2, double* x, double* y) {
      *x = edge;
      *y = y1 + (y2 - y1) * (edge - x1) / (x2 - x1);
    };
  };
  auto atY = [](double edge) {
    return [edge](double x1, double y1, double x2, double y2, double* x, double* y) {
      *y = edge;
      *x = x1 + (x2 - x1) * (edge - y1) / (y2 - y1);
    };
  };
  ClipPolygonEdge(
      xs, ys, [l](double x, double) { return x >= l; }, atX(l));
  if (!xs.empty())
    ClipPolygonEdge(
        xs, ys, [r](double x, double) { return x <= r; }, atX(r));
  if (!xs.empty())
    ClipPolygonEdge(
        xs, ys, [t](double, double y) { return y >= t; }, atY(t));
  if (!xs.empty())
    ClipPolygonEdge(
        xs, ys, [b](double, double y) { return y <= b; }, atY(b));
  static std::vector<POINT> out;
  out.clear();
  for (size_t i = 0; i < xs.size(); ++i)
    out.push_back(POINT{static_cast<LONG>(std::lround(xs[i])), static_cast<LONG>(std::lround(ys[i]))});
  return out;
}

// A one-bit pattern brush takes its ink from the context's text colour and its paper from the
// background colour when it paints, so one brush per pattern serves every fill colour. They
// live as long as the process.
HBRUSH gPatternBrushes[kLastPattern + 1];

HBRUSH PatternBrush(int16_t id) {
  if (id < kFirstPattern || id > kLastPattern) return nullptr;
  if (gPatternBrushes[id]) return gPatternBrushes[id];
  const uint8_t* rows = GetPatternRows(id);
  // Monochrome bitmap rows are word-aligned: each row's byte, then a pad byte.
  BYTE bytes[kPatternSize * 2];
  for (int i = 0; i < kPatternSize; ++i) {
    bytes[i * 2] = rows[i];
    bytes[i * 2 + 1] = 0xFF;
  }
  HBITMAP bitmap = CreateBitmap(kPatternSize, kPatternSize, 1, 1, bytes);
  if (!bitmap) return nullptr;
  gPatternBrushes[id] = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);  // the brush keeps its own copy of the bits
  return gPatternBrushes[id];
}

// The brush of the object's fill; `owned` says whether the caller deletes it.
HBRUSH FillBrush(HDC dc, const ObjectRec* object, bool* owned) {
  *owned = false;
  if (object->fillPattern == kSolidFill) {
    const int kind = GetObjectType(dc);
    if (kind == OBJ_METADC || kind == OBJ_ENHMETADC) {
      *owned = true;
      return CreateSolidBrush(DeviceColor(object->fillColor));
    }
    SetDCBrushColor(dc, DeviceColor(object->fillColor));
    return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  }
  if (object->fillPattern == kPaperPattern && CurrentPaintDevice() == PaintDevice::kPrinter)
    return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  return PatternBrush(object->fillPattern);
}

void DropScreenPoly(ObjectRec* object) {
  if (!IsScreen() || (!object->screenPoly && object->screenPolyCount == 0)) return;
  std::free(object->screenPoly);
  object->screenPoly = nullptr;
  object->screenPolyCount = 0;
}

// A filled shape's hit outline is owed after a paint; MakeScreenHitOutline makes it when a click
// needs it.
void OweHitOutline(ObjectRec* object) {
  if (object->screenPolyCount == kHitOutlineOwed) return;
  DropScreenPoly(object);
  if (object->fillPattern != kNoFill && object->closed) object->screenPolyCount = kHitOutlineOwed;
}

void FillCollectedPolygon(ObjectRec* object) {
  HDC dc = PortSessionDC();
  if (gMakingHitOutline) {
    // The outline a click inside is tested against, in the screen's logical pixels.
    DropScreenPoly(object);
    const size_t count = gScreenPoly.size();
    if (count == 0) return;
    object->screenPoly = static_cast<ScreenPoint*>(std::malloc(count * sizeof(ScreenPoint)));
    if (!object->screenPoly) return;
    std::memcpy(object->screenPoly, gScreenPoly.data(), count * sizeof(ScreenPoint));
    object->screenPolyCount = static_cast<int32_t>(count);
    return;
  }
  // The zoom or the shape may have changed since an outline was made: it is made anew on demand.
  if (IsScreen()) OweHitOutline(object);
  if (!dc || object->fillPattern <= 0 || gFillPoly.size() < 3) return;
  bool owned = false;
  HBRUSH brush = FillBrush(dc, object, &owned);
  if (!brush) return;
  bool whole = false;
  const std::vector<POINT>& polygon = ClippedFillPolygon(&whole);
  // Filled under its own outline, the shape's polygon needs no second stroke.
  const bool underOutline = whole && CanFillUnderPortOutline();
  if (!underOutline) FlushPortLines();
  // A one-bit pattern takes its ink from the text colour and its paper from the background.
  const bool pattern = object->fillPattern != kSolidFill;
  const bool white = object->fillColor.red == 0xFFFF && object->fillColor.green == 0xFFFF &&
                     object->fillColor.blue == 0xFFFF;
  COLORREF savedText = 0, savedBack = 0;
  if (pattern) {
    savedText = SetTextColor(dc, white ? RGB(0, 0, 0) : DeviceColor(object->fillColor));
    savedBack = SetBkColor(dc, RGB(255, 255, 255));
  }
  HGDIOBJ savedBrush = SelectObject(dc, brush);
  // On the screen a pattern keeps to the drawing, not to the pane: a part repainted after a
  // scroll joins the part that moved without a seam.
  const bool anchor = IsScreen() && pattern;
  POINT savedOrigin = {0, 0};
  if (anchor) {
    POINT origin = {0, 0};
    LPtoDP(dc, &origin, 1);
    SetBrushOrgEx(dc, (origin.x % kPatternSize + kPatternSize) % kPatternSize,
                  (origin.y % kPatternSize + kPatternSize) % kPatternSize, &savedOrigin);
  }
  if (underOutline)
    FillUnderPortOutline(polygon.data(), static_cast<int>(polygon.size()));
  else if (polygon.size() >= 3 && !PortWidePolygon(polygon.data(), static_cast<int>(polygon.size())))
    Polygon(dc, polygon.data(), static_cast<int>(polygon.size()));
  if (anchor) SetBrushOrgEx(dc, savedOrigin.x, savedOrigin.y, nullptr);
  SelectObject(dc, savedBrush);
  if (pattern) {
    SetBkColor(dc, savedBack);
    SetTextColor(dc, savedText);
  }
  if (owned) DeleteObject(brush);
}

// Zoomed, rounded bounds as a logical rectangle.
RECT ZoomedBounds(const ObjectRec* object) {
  // The zoom asked once: a paint asks this of every object. Times 1 leaves a value as it is.
  const float zoom = CurrentZoom();
  RECT r = {RoundToInt(object->bounds.left * zoom), RoundToInt(object->bounds.top * zoom),
            RoundToInt(object->bounds.right * zoom), RoundToInt(object->bounds.bottom * zoom)};
  return r;
}

void InvertSquare(int32_t x, int32_t y) {
  HDC dc = AcquirePortDC();
  if (!dc) return;
  if (dc == PortSessionDC()) FlushPortLines();
  PatBlt(dc, x - kHandleLow, y - kHandleLow, kHandleLow + kHandleHigh, kHandleLow + kHandleHigh, DSTINVERT);
  ReleasePortDC(dc);
}

void DrawShapeObject(ObjectRec* object, int flags, const TrackState* track) {
  const bool transformed = track && (flags & kDrawPreviewMask);
  if (object->lineType != kSolidLineType)
    LoadStyle(object->lineType, &gStyleState, (object->lineWeight - 1.0f) * 1.25f);
  if (object->lineType == kSolidLineType && object->kind == kOvalKind && !transformed && DrawOval(object))
    return;
  gDrawingObject = object;
  gDrawingLineType = object->lineType;
  if (object->fillPattern != kNoFill && object->closed && !transformed) {
    gDrawingLineType = kSolidLineType;
    // The lines batched from here on are the shape's own outline, which it may be filled under.
    if (object->fillPattern > 0 && !gMakingHitOutline) StartPortOutline();
    gPolyHappening = true;
    gFillPoly.clear();
    gScreenPoly.clear();
  }
  const PointRec* start = object->firstPoint;
  while (start && IsMarkerPointKind(start->pointKind)) start = start->nextPoint;
  const PointRec* previous = start;
  if (start) {
    for (const PointRec* p = start->nextPoint; p; p = p->nextPoint) {
      if (IsMarkerPointKind(p->pointKind)) continue;
      DrawObjectSegment(object, previous, p, flags, track, 0, 0);
      previous = p;
    }
    if (object->closed && previous != start) DrawObjectSegment(object, previous, start, flags, track, 0, 0);
  }
  if (gPolyHappening) {
    FillCollectedPolygon(object);
    gPolyHappening = false;
    gFillPoly.clear();
    gScreenPoly.clear();
  } else {
    DropScreenPoly(object);
  }
  gDrawingObject = nullptr;
}

}  // namespace

void DrawMoveTo(int32_t h, int32_t v, bool zoom) {
  if (zoom) {
    h = ZoomL(h);
    v = ZoomL(v);
  }
  PortMoveTo(static_cast<float>(h), static_cast<float>(v));
}

void DrawLineTo(int32_t h, int32_t v, bool zoom) {
  if (zoom) {
    h = ZoomL(h);
    v = ZoomL(v);
  }
  PortLineTo(static_cast<float>(h), static_cast<float>(v));
}

void DrawLine(int32_t h1, int32_t v1, int32_t h2, int32_t v2, bool zoom) {
  DrawMoveTo(h1, v1, zoom);
  DrawLineTo(h2, v2, zoom);
}

void PrintMoveTo(float h, float v) {
  if (!PrintPathDC()) return;
  PortMoveTo(static_cast<float>(RoundToInt(h * PrintScaleH())),
             static_cast<float>(RoundToInt(v * PrintScaleV())));
}

void PrintLineTo(float h, float v) {
  if (!PrintPathDC()) return;
  PortLineTo(static_cast<float>(RoundToInt(h * PrintScaleH())),
             static_cast<float>(RoundToInt(v * PrintScaleV())));
}

void PrintLine(float h1, float v1, float h2, float v2) {
  PrintMoveTo(h1, v1);
  PrintLineTo(h2, v2);
}

// Coordinates are rounded by the port after clipping, so no pre-rounding is needed here.
void PenMoveTo(float x, float y) {
  if (IsPrintPath())
    PrintMoveTo(x, y);
  else
    PortMoveTo(x, y);
}

void PenLineTo(float x, float y) {
  if (IsPrintPath())
    PrintLineTo(x, y);
  else
    PortLineTo(x, y);
}

void DrawObjectSegment(ObjectRec* object, const PointRec* a, const PointRec* b, int flags,
                       const TrackState* track, int32_t dx, int32_t dy) {
  if (!object || !a || !b) return;
  PointRec pa = *a, pb = *b;
  if (flags & kDrawPreviewMask) {
    ApplyPreview(&pa, flags, track, object->kind);
    ApplyPreview(&pb, flags, track, object->kind);
  }
  pa = ZoomPoinz(&pa);
  pb = ZoomPoinz(&pb);
  const int16_t lineType = object == gDrawingObject ? gDrawingLineType : object->lineType;
  const float ox = static_cast<float>(dx), oy = static_cast<float>(dy);
  if (HasNoTangents(pa, pb)) {
    if (lineType == kSolidLineType) {
      if (IsPrintPath()) {
        PrintLine(pa.x + ox, pa.y + oy, pb.x + ox, pb.y + oy);
      } else {
        // Screen pixels: the rounded ends, as every screen coordinate.
        PortMoveTo(static_cast<float>(RoundToInt(pa.x)) + ox, static_cast<float>(RoundToInt(pa.y)) + oy);
        PortLineTo(static_cast<float>(RoundToInt(pb.x)) + ox, static_cast<float>(RoundToInt(pb.y)) + oy);
      }
      AppendFillPoint(pb.x, pb.y);
    } else {
      DrawStyledLine(pa.x + ox, pa.y + oy, pb.x + ox, pb.y + oy, &gStyleState, false);
    }
    return;
  }
  bool first = true;
  float px = 0.0f, py = 0.0f;
  SampleCurveSegment(&pa, &pb, CurrentCurveSmoothness(), [&](float x, float y) {
    x += ox;
    y += oy;
    if (first) {
      PenMoveTo(x, y);
      first = false;
    } else if (lineType == kSolidLineType) {
      PenLineTo(x, y);
      AppendFillPoint(x, y);
    } else {
      DrawStyledLine(px, py, x, y, &gStyleState, true);
    }
    px = x;
    py = y;
  });
}

bool CanObjectBeDrawn(const ObjectRec* object, int flags) {
  if (!object) return false;
  if (flags & kDrawAll) return true;
  if (flags & kDrawSelected) return IsObjectSelected(object);
  return false;
}

namespace {

// The zoomed bounds grown by what the pen reaches: a wide pen reaches half its width past the
// outline, a round cap as far past an end.
RECT PenReach(const ObjectRec* object) {
  const RECT r = ZoomedBounds(object);
  const int reach = 1 + (object->kind == kGroupKind ? 0 : (GetLineWeight(object, true) + 1) / 2);
  return RECT{r.left - reach, r.top - reach, r.right + reach, r.bottom + reach};
}

// Whether pixels of `area` (edges included) can fall in the update rectangle.
bool Meets(const RECT& area, const QDRect& update) {
  return area.left <= update.right && area.right >= update.left && area.top <= update.bottom &&
         area.bottom >= update.top;
}

}  // namespace

bool IsObjectInBounds(const ObjectRec* object, const QDRect* update) {
  if (!object) return false;
  if (IsPrintPath() || !update) return true;
  if (IsDimensionOrLeaderKind(object->kind)) {
    // A dimension reaches past its points. Drawing it also fits its label to the readout, so it
    // is left out only when the label, as it stands, lies outside too.
    RECT lines, readout;
    if (!GetDimensionReach(object, &lines) || Meets(lines, *update)) return true;
    const ObjectRec* label = object->kind == kLeaderDimKind ? nullptr : DimInfoOf(object)->textObject;
    if (!label) return false;
    return IsObjectInBounds(label, update) || !GetReadoutReach(object, &readout) || Meets(readout, *update);
  }
  return Meets(PenReach(object), *update);
}

bool DrawOval(ObjectRec* object) {
  if (!object || object->fillPattern != kNoFill || !gCurDocument) return false;
  const PointRec* p[4];
  const PointRec* point = object->firstPoint;
  for (int i = 0; i < 4; ++i, point = point->nextPoint) {
    if (!point) return false;
    p[i] = point;
  }
  auto rx = [](const PointRec* q) { return RoundToInt(q->x); };
  auto ry = [](const PointRec* q) { return RoundToInt(q->y); };
  const bool first = rx(p[0]) == rx(p[2]) || ry(p[0]) == ry(p[2]);
  const bool second = rx(p[1]) == rx(p[3]) || ry(p[1]) == ry(p[3]);
  if (!first || !second) return false;
  float l = ZoomF(object->bounds.left), t = ZoomF(object->bounds.top);
  float r = ZoomF(object->bounds.right), b = ZoomF(object->bounds.bottom);
  l = PrintX(l);
  r = PrintX(r);
  t = PrintY(t);
  b = PrintY(b);
  // A huge oval (far zoomed in) is left to the segments, which are clipped.
  double cl, ct, cr, cb;
  GetPortClipBox(&cl, &ct, &cr, &cb);
  if (l < cl || t < ct || r > cr || b > cb) return false;
  HDC dc = PortSessionDC();
  if (!dc) return false;
  FlushPortLines();
  const RECT box = {RoundToInt(l), RoundToInt(t), RoundToInt(r) + 1, RoundToInt(b) + 1};
  if (!PortWideOval(box)) {
    HGDIOBJ savedBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, savedBrush);
  }
  DropScreenPoly(object);
  return true;
}

void DrawPointObject(ObjectRec*) {}

void DrawMetaFileObject(ObjectRec* object) {
  const MetaInfo* info = object ? MetaInfoOf(object) : nullptr;
  HDC dc = PortSessionDC();
  if (!info || !info->metaFile || !dc) return;
  const int32_t frameW = info->frameRight - info->frameLeft;
  const int32_t frameH = info->frameBottom - info->frameTop;
  if (frameW == 0 || frameH == 0) return;
  FlushPortLines();
  // The bounds' corners on the device, through whatever mapping the context has.
  POINT corners[2] = {
      {RoundToInt(PrintX(ZoomF(object->bounds.left))), RoundToInt(PrintY(ZoomF(object->bounds.top)))},
      {RoundToInt(PrintX(ZoomF(object->bounds.right))), RoundToInt(PrintY(ZoomF(object->bounds.bottom)))}};
  LPtoDP(dc, corners, 2);
  const int saved = SaveDC(dc);
  SetMapMode(dc, info->mapMode ? info->mapMode : MM_ANISOTROPIC);
  SetWindowOrgEx(dc, info->frameLeft, info->frameTop, nullptr);
  SetWindowExtEx(dc, frameW, frameH, nullptr);
  SetViewportOrgEx(dc, corners[0].x, corners[0].y, nullptr);
  SetViewportExtEx(dc, corners[1].x - corners[0].x, corners[1].y - corners[0].y, nullptr);
  PlayMetaFile(dc, reinterpret_cast<HMETAFILE>(info->metaFile));
  RestoreDC(dc, saved);
}

namespace {

// A dimension's label with no fill, drawn with an invisible pen (not the dotted one of a preview)
// on a raster screen, sets no pixel: its readout is drawn with its dimension. Leaving it out
// spares two pen changes.
bool IsBareLabelOnRaster(const ObjectRec* object, int flags) {
  const DimTextInfo* info = object->kind == kDimensionTextKind ? DimTextInfoOf(object) : nullptr;
  if (!info || !info->ownerDimension || object->fillPattern != kNoFill || (flags & kDrawDotted) ||
      GetLineWeight(object, true) != 0)
    return false;
  return IsPortRaster();
}

// The object alone, without its children.
void DrawObjectAlone(ObjectRec* object, const QDRect* update, int flags, const TrackState* track) {
  if (!BeginPortSession(PrintPathDC())) return;
  if (IsScreen()) UsePortRop(R2_COPYPEN);
  if (CanObjectBeDrawn(object, flags) && IsObjectInBounds(object, update) &&
      !IsBareLabelOnRaster(object, flags)) {
    if (flags & kDrawInvert) UsePortRop(R2_NOT);
    if ((flags & kDrawDotted) && IsScreen()) {
      UsePortPen(PS_DOT, 0, RGB(0, 0, 0), false);
    } else {
      // Pens are device pixels wide; only the screen widens them with the view's zoom.
      const int width = GetLineWeight(object, IsScreen());
      UsePortPen(PS_SOLID, width, DeviceColor(object->penColor), width == 0);
    }
    const bool recording = CurrentPaintDevice() == PaintDevice::kMetafile;
    switch (object->kind) {
      case kOffsetDimVKind:
      case kOffsetDimHKind:
      case kLengthDimKind:
      case kAngleDimKind:
      case kDiameterDimKind:
      case kRadiusDimKind:
      case kDiameterShoulderDimKind:
      case kRadiusShoulderDimKind:
      case kLeaderDimKind:
        // A metafile recording (pictures, previews) leaves dimensions out; a leader is a drawing.
        if (!recording || object->kind == kLeaderDimKind) DrawDimensionObject(object, flags, track);
        break;
      case kMetaFileKind:
        if (!recording) DrawMetaFileObject(object);
        break;
      case kGroupKind:
        break;
      default:
        DrawShapeObject(object, flags, track);
        if (object->kind == kTextBlockKind && !recording)
          PrepareForDraw(static_cast<HWND>(GetTextPaneEditor(TextPaneOf(object))), object);
        if (object->kind == kDimensionTextKind && !recording) PaintDimensionTextPlaceholder(object);
        break;
    }
  }
  if (IsScreen()) UsePortRop(R2_COPYPEN);
  EndPortSession();
}

// The pixels a shape's own drawing can set, right and bottom excluded: its reach as culling
// reckons it.
RECT Footprint(const RECT& reach) {
  return RECT{reach.left, reach.top, reach.right + 1, reach.bottom + 1};
}

// An oval's quarter from a to b stays in the box of its ends and outside the chord between them
// when its control points do and run the same way as the ends: then the fill holds the polygon
// of the four points.
bool QuarterBulgesOut(const PointRec* a, const PointRec* b, float centreX, float centreY) {
  const float c1x = a->x + a->outTangentX / 3.0f, c1y = a->y + a->outTangentY / 3.0f;
  const float c2x = b->x - b->inTangentX / 3.0f, c2y = b->y - b->inTangentY / 3.0f;
  auto ordered = [](float p, float q, float r, float s) {
    return (p <= q && q <= r && r <= s) || (p >= q && q >= r && r >= s);
  };
  if (!ordered(a->x, c1x, c2x, b->x) || !ordered(a->y, c1y, c2y, b->y)) return false;
  // The chord's side away from the centre.
  const float ex = b->x - a->x, ey = b->y - a->y;
  auto side = [&](float x, float y) { return ex * (y - a->y) - ey * (x - a->x); };
  const float inside = side(centreX, centreY);
  return inside != 0.0f && side(c1x, c1y) * inside <= 0.0f && side(c2x, c2y) * inside <= 0.0f;
}

constexpr int kMaxCoverVertices = 64;

// The polygon a filled shape's fill is sure to hold: its own straight outline, or for an oval the
// four points its quarters bulge out from. 0 for other shapes.
int CoverPolygon(const ObjectRec* object, POINT* vertex) {
  const PointRec* p[kMaxCoverVertices];
  int count = 0;
  bool curved = false;
  for (const PointRec* q = object->firstPoint; q; q = q->nextPoint) {
    if (IsMarkerPointKind(q->pointKind)) continue;
    if (count == kMaxCoverVertices) return 0;
    curved = curved || q->inTangentX != 0.0f || q->inTangentY != 0.0f || q->outTangentX != 0.0f ||
             q->outTangentY != 0.0f;
    p[count++] = q;
  }
  if (count < 3) return 0;
  if (object->kind == kOvalKind) {
    if (count != 4) return 0;
    const float cx = (p[0]->x + p[1]->x + p[2]->x + p[3]->x) / 4.0f;
    const float cy = (p[0]->y + p[1]->y + p[2]->y + p[3]->y) / 4.0f;
    for (int i = 0; i < 4; ++i)
      if (!QuarterBulgesOut(p[i], p[(i + 1) % 4], cx, cy)) return 0;
  } else if (curved ||
             (object->kind != kRectKind && object->kind != kPolyKind && object->kind != kMultiKind)) {
    return 0;
  }
  for (int i = 0; i < count; ++i) {
    const PointRec zoomed = ZoomPoinz(p[i]);
    vertex[i] = POINT{RoundToInt(zoomed.x), RoundToInt(zoomed.y)};
  }
  return count;
}

// True for a convex polygon that winds once: every turn the same way, and the edges' directions
// changing sign no more than twice in x and in y.
bool IsConvexOnce(const POINT* v, int count) {
  int turn = 0, xFlips = 0, yFlips = 0;
  int64_t lastDx = 0, lastDy = 0;
  for (int i = 0; i < count; ++i) {
    const POINT& a = v[i];
    const POINT& b = v[(i + 1) % count];
    const POINT& c = v[(i + 2) % count];
    const int64_t dx = b.x - a.x, dy = b.y - a.y;
    const int64_t cross = dx * (c.y - b.y) - dy * (c.x - b.x);
    const int sign = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
    if (sign != 0) {
      if (turn != 0 && sign != turn) return false;
      turn = sign;
    }
    if (dx != 0) {
      if (lastDx != 0 && (dx > 0) != (lastDx > 0)) ++xFlips;
      lastDx = dx;
    }
    if (dy != 0) {
      if (lastDy != 0 && (dy > 0) != (lastDy > 0)) ++yFlips;
      lastDy = dy;
    }
  }
  return turn != 0 && xFlips <= 2 && yFlips <= 2;
}

// An upright box about the middle of a convex polygon, as large as its sides allow, a pixel in.
bool BoxInsideConvex(const POINT* v, int count, RECT* box) {
  if (!IsConvexOnce(v, count)) return false;
  double cx = 0.0, cy = 0.0, area = 0.0;
  LONG left = v[0].x, right = v[0].x, top = v[0].y, bottom = v[0].y;
  for (int i = 0; i < count; ++i) {
    const POINT& a = v[i];
    const POINT& b = v[(i + 1) % count];
    cx += a.x;
    cy += a.y;
    area += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    left = a.x < left ? a.x : left;
    right = a.x > right ? a.x : right;
    top = a.y < top ? a.y : top;
    bottom = a.y > bottom ? a.y : bottom;
  }
  cx /= count;
  cy /= count;
  const double orientation = area > 0.0 ? 1.0 : -1.0;
  // The box c +- k (w/2, h/2) stays inside every side while k is at most room / need.
  const double halfW = (right - left) / 2.0, halfH = (bottom - top) / 2.0;
  double k = 1.0;
  for (int i = 0; i < count; ++i) {
    const POINT& a = v[i];
    const POINT& b = v[(i + 1) % count];
    const double ex = b.x - a.x, ey = b.y - a.y;
    if (ex == 0.0 && ey == 0.0) continue;
    const double room = orientation * (ex * (cy - a.y) - ey * (cx - a.x));
    const double need = std::fabs(ex) * halfH + std::fabs(ey) * halfW;
    if (room <= 0.0) return false;
    if (need > 0.0 && room / need < k) k = room / need;
  }
  *box = RECT{CeilToInt(cx - k * halfW) + 1, CeilToInt(cy - k * halfH) + 1, FloorToInt(cx + k * halfW) - 1,
              FloorToInt(cy + k * halfH) - 1};
  return true;
}

}  // namespace

bool GetOpaqueInterior(const ObjectRec* object, RECT* interior) {
  if (!object || !interior || !object->closed || !IsShapeKind(object->kind)) return false;
  if (object->fillPattern != kSolidFill && !PatternBrush(object->fillPattern)) return false;
  POINT v[kMaxCoverVertices];
  const int count = CoverPolygon(object, v);
  if (count == 0) return false;
  bool upright = count == 4;
  for (int i = 0; i < count && upright; ++i) {
    const POINT& next = v[(i + 1) % count];
    upright = (v[i].x == next.x) != (v[i].y == next.y);
  }
  if (upright) {
    // The fill paints every pixel of the box of its corners, less the right and bottom edges.
    const LONG left = v[0].x < v[2].x ? v[0].x : v[2].x, right = v[0].x < v[2].x ? v[2].x : v[0].x;
    const LONG top = v[0].y < v[2].y ? v[0].y : v[2].y, bottom = v[0].y < v[2].y ? v[2].y : v[0].y;
    *interior = RECT{left + 1, top + 1, right - 1, bottom - 1};
  } else if (!BoxInsideConvex(v, count, interior)) {
    return false;
  }
  return interior->left < interior->right && interior->top < interior->bottom;
}

namespace {

// What the paint that leaves covered shapes out works with, kept from one paint to the next so
// that a large drawing's lists are not made and first touched again every time. A paint within a
// paint (a window painting while a text block is drawn) makes lists of its own.
struct PaintLists {
  CoverMap map;
  std::vector<ObjectRec*> order;
  // Beside each object in order: the pixels a shape's drawing can set, or an empty area for kinds
  // whose drawing is not held to their bounds.
  std::vector<RECT> footprints;
  std::vector<uint8_t> covered;
};

void CollectPaintOrder(ObjectRec* object, const QDRect* update, PaintLists* lists) {
  constexpr RECT kNoFootprint = {0, 0, 0, 0};
  for (; object; object = object->nextObject) {
    // A dimension's label moves when its dimension is drawn: it is tested when its turn comes.
    if (object->kind == kDimensionTextKind) {
      lists->order.push_back(object);
      lists->footprints.push_back(kNoFootprint);
    } else if (IsShapeKind(object->kind)) {
      // The reach tested here is the footprint the cover map is asked about.
      const RECT reach = PenReach(object);
      if (Meets(reach, *update)) {
        lists->order.push_back(object);
        lists->footprints.push_back(Footprint(reach));
      }
    } else if (object->kind != kGroupKind && IsObjectInBounds(object, update)) {
      lists->order.push_back(object);
      lists->footprints.push_back(kNoFootprint);
    }
    if (object->firstChild) CollectPaintOrder(object->firstChild, update, lists);
  }
}

PaintLists gKeptLists;
bool gKeptListsInUse = false;

// The kept lists while they are free, lists of its own while another paint holds them.
class ListsInUse {
 public:
  ListsInUse() : lists_(gKeptListsInUse ? own_ : gKeptLists), kept_(!gKeptListsInUse) {
    gKeptListsInUse = true;
  }
  ~ListsInUse() {
    if (kept_) gKeptListsInUse = false;
  }
  PaintLists& lists() { return lists_; }

 private:
  PaintLists own_;
  PaintLists& lists_;
  bool kept_;
};

// What the walk from the top down makes of an object.
enum Coverage : uint8_t {
  kShows,
  kShapeHidden,      // left out; its hit outline is owed
  kDimensionHidden,  // walked on a muted port, which fits its label and draws nothing
};

// Whether none of a footprint's pixels can show: it lies outside the view (the context's clip box)
// or under the cover entered so far.
bool IsFootprintHidden(const CoverMap& map, const RECT& view, const RECT& footprint) {
  RECT area;
  return !IntersectRect(&area, &footprint, &view) || IsAreaCoveredByAll(map, area);
}

// Whether none of the pixels that a drawing held to `reach` can set can show.
bool IsReachHidden(const CoverMap& map, const RECT& view, const RECT& reach) {
  return IsFootprintHidden(map, view, Footprint(reach));
}

// A dimension whose lines and readout are both hidden. Its readout is measured only when its lines
// are: measuring costs a formatting of the value.
bool IsDimensionHidden(const ObjectRec* object, const CoverMap& map, const RECT& view) {
  RECT lines, readout;
  return IsDimensionKind(object->kind) && GetDimensionReach(object, &lines) &&
         IsReachHidden(map, view, lines) && GetReadoutReach(object, &readout) &&
         IsReachHidden(map, view, readout);
}

// A screen paint of every object in drawing order, leaving out each shape that the opaque fills
// drawn after it cover wholly: walked from the top down, each shape is tested against the map of
// what the shapes above it cover, then adds its own fill to the map. A dimension they cover is
// not drawn either, but its label is still fitted to its readout, as a click and the file see it.
bool DrawLayersLeavingOutCovered(LayerRec* firstLayer, const QDRect* update) {
  RECT view;
  if (!GetPortViewBox(&view)) return false;
  const RECT asked = {update->left, update->top, update->right, update->bottom};
  RECT frame;
  IntersectRect(&frame, &asked, &view);
  ListsInUse use;
  CoverMap& map = use.lists().map;
  if (!ResetCoverMap(&map, frame)) return false;
  std::vector<ObjectRec*>& order = use.lists().order;
  std::vector<RECT>& footprints = use.lists().footprints;
  order.clear();
  footprints.clear();
  // Room for every object at once: the first paint of a large drawing then writes each page of
  // the lists once, where growing them would copy them into fresh pages again and again.
  const size_t most = LiveObjectRecordCount();
  if (order.capacity() < most) {
    order.reserve(most);
    footprints.reserve(most);
  }
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer)
    if (layer->visible) CollectPaintOrder(layer->firstObject, update, &use.lists());
  std::vector<uint8_t>& covered = use.lists().covered;
  covered.assign(order.size(), kShows);
  gShapesLeftOut = 0;
  for (size_t i = order.size(); i-- > 0;) {
    if (!IsRectEmpty(&footprints[i])) {
      if (IsFootprintHidden(map, view, footprints[i])) {
        covered[i] = kShapeHidden;
        ++gShapesLeftOut;
        continue;
      }
    } else if (IsDimensionHidden(order[i], map, view)) {
      covered[i] = kDimensionHidden;
      ++gShapesLeftOut;
      continue;
    }
    RECT interior;
    if (GetOpaqueInterior(order[i], &interior)) CoverInterior(&map, interior, static_cast<uint32_t>(i));
  }
  for (size_t i = 0; i < order.size(); ++i) {
    if (covered[i] == kShapeHidden) {
      OweHitOutline(order[i]);
      continue;
    }
    if (covered[i] == kDimensionHidden) {
      SetPortMuted(true);
      DrawObjectAlone(order[i], nullptr, kDrawAll, nullptr);
      SetPortMuted(false);
      continue;
    }
    // Its own lines that shapes above paint over are left out too.
    SetPortCover(&map, static_cast<uint32_t>(i));
    // In bounds, listed so; a label is tested now.
    DrawObjectAlone(order[i], order[i]->kind == kDimensionTextKind ? update : nullptr, kDrawAll, nullptr);
  }
  SetPortCover(nullptr, 0);
  return true;
}

}  // namespace

void MakeScreenHitOutline(ObjectRec* object) {
  if (!object || object->screenPolyCount != kHitOutlineOwed || IsPrintPath()) return;
  object->screenPolyCount = 0;
  // The outline is walked as a paint walks it, with every line going nowhere.
  const bool session = PortSessionDC() != nullptr;
  if (session) SetPortMuted(true);
  gMakingHitOutline = true;
  DrawShapeObject(object, kDrawAll, nullptr);
  gMakingHitOutline = false;
  if (session) SetPortMuted(false);
}

void DrawObject(ObjectRec* object, const QDRect* update, int flags, const TrackState* track) {
  if (!object) return;
  DrawObjectAlone(object, update, flags, track);
  for (ObjectRec* child = object->firstChild; child; child = child->nextObject)
    DrawObject(child, update, flags, track);
}

void DrawLayer(LayerRec* layer, const QDRect* update, int flags, const TrackState* track) {
  if (!layer || !layer->visible) return;
  for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
    DrawObject(object, update, flags, track);
}

void DrawAllLayers(LayerRec* firstLayer, const QDRect* update, int flags, const TrackState* track) {
  if (!BeginPortSession(PrintPathDC())) return;
  // Only a plain screen paint into a raster context: printing and metafiles keep every object.
  if (!(gLeaveOutCovered && IsScreen() && IsPortRaster() && update && flags == kDrawAll && !track &&
        DrawLayersLeavingOutCovered(firstLayer, update)))
    for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer)
      DrawLayer(layer, update, flags, track);
  EndPortSession();
}

void DrawPointHandle(const PointRec* point) {
  if (!point) return;
  InvertSquare(RoundToInt(ZoomF(point->x)), RoundToInt(ZoomF(point->y)));
}

void DrawObjectFrameHandles(const ObjectRec* object) {
  if (!object) return;
  const RECT r = ZoomedBounds(object);
  InvertSquare(r.left, r.top);
  InvertSquare(r.right, r.top);
  InvertSquare(r.right, r.bottom);
  InvertSquare(r.left, r.bottom);
}

void DrawObjectHandles(ObjectRec* object, const QDRect* update) {
  if (!object) return;
  const bool pointTool = gToolIsPointOrientedHook && gToolIsPointOrientedHook();
  if (pointTool || object->kind == kLineKind) {
    for (const PointRec* p = object->firstPoint; p; p = p->nextPoint) {
      if (!p->selected) continue;
      const int32_t x = RoundToInt(ZoomF(p->x)), y = RoundToInt(ZoomF(p->y));
      if (!update || (x >= update->left && x <= update->right && y >= update->top && y <= update->bottom))
        DrawPointHandle(p);
    }
    for (ObjectRec* child = object->firstChild; child; child = child->nextObject)
      DrawObjectHandles(child, update);
    return;
  }
  if (!IsObjectSelected(object) &&
      !(object->kind == kGroupKind && object->firstChild && IsObjectSelected(object->firstChild)))
    return;
  const RECT r = ZoomedBounds(object);
  if (!update || (r.left <= update->right && r.right >= update->left && r.top <= update->bottom &&
                  r.bottom >= update->top))
    DrawObjectFrameHandles(object);
}

void DrawLayerHandles(LayerRec* layer, const QDRect* update) {
  if (!layer || !layer->visible) return;
  for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
    DrawObjectHandles(object, update);
}

void DrawAllLayerHandles(LayerRec* firstLayer, const QDRect* update) {
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) DrawLayerHandles(layer, update);
}

void DrawGrid(const DocState* state, const QDRect* rect) {
  if (!state || !rect) return;
  const float sx = DisplayedGridSpacing(ConvertWorldToScreen(state->gridH, state, true));
  const float sy = DisplayedGridSpacing(ConvertWorldToScreen(state->gridV, state, true));
  if (!(sx > 0.0f) || !(sy > 0.0f) || !std::isfinite(sx) || !std::isfinite(sy)) return;
  if (!BeginPortSession(nullptr)) return;
  UsePortRop(R2_COPYPEN);
  UsePortPen(PS_SOLID, 1, kGridColour, false);
  const float top = static_cast<float>(rect->top), bottom = static_cast<float>(rect->bottom);
  const float left = static_cast<float>(rect->left), right = static_cast<float>(rect->right);
  const float yEnd = std::ceil(bottom / sy) * sy;
  for (float y = std::floor(top / sy) * sy; y < yEnd; y += sy)
    if (y >= top - 1.0f && y <= bottom + 1.0f)
      DrawLine(rect->left, RoundToInt(y), rect->right, RoundToInt(y), false);
  const float xEnd = std::ceil(right / sx) * sx;
  for (float x = std::floor(left / sx) * sx; x < xEnd; x += sx)
    if (x >= left - 1.0f && x <= right + 1.0f)
      DrawLine(RoundToInt(x), rect->top, RoundToInt(x), rect->bottom, false);
  EndPortSession();
}

void DrawAxis(const DocState* state, const QDRect* rect) {
  if (!state || !rect || !BeginPortSession(nullptr)) return;
  UsePortRop(R2_COPYPEN);
  UsePortPen(PS_SOLID, 1, RGB(0, 0, 0), false);
  const int32_t x = RoundToInt(ZoomF(state->originH));
  const int32_t y = RoundToInt(ZoomF(state->originV));
  DrawLine(x, rect->top, x, rect->bottom, false);
  DrawLine(rect->left, y, rect->right, y, false);
  EndPortSession();
}

namespace {

// The default printer's page in points, or 0 x 0 when there is none.
void GetDefaultPrinterPage(int32_t* width, int32_t* height) {
  *width = *height = 0;
  char device[256];
  GetProfileStringA("windows", "device", ",,,", device, sizeof device);
  char* driver = std::strchr(device, ',');
  if (!driver) return;
  *driver++ = '\0';
  char* port = std::strchr(driver, ',');
  if (port) *port++ = '\0';
  if (!device[0]) return;
  HDC dc = CreateDCA(driver, device, port, nullptr);
  if (!dc) return;
  const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  if (dpiX > 0 && dpiY > 0) {
    *width = static_cast<int32_t>(static_cast<float>(GetDeviceCaps(dc, HORZRES)) / dpiX * 72.0f + 0.5f);
    *height = static_cast<int32_t>(static_cast<float>(GetDeviceCaps(dc, VERTRES)) / dpiY * 72.0f + 0.5f);
  }
  DeleteDC(dc);
}

}  // namespace

void DrawPageBreaks(const DocState* state, const QDRect* rect) {
  if (!state || !rect) return;
  int32_t pageW = gPageWidth, pageH = gPageHeight;
  if (pageW == 0 || pageH == 0) GetDefaultPrinterPage(&pageW, &pageH);
  if (pageW <= 0 || pageH <= 0) {
    pageW = kFallbackPageWidth;
    pageH = kFallbackPageHeight;
  }
  pageW = ZoomL(pageW);
  pageH = ZoomL(pageH);
  if (pageW <= 0 || pageH <= 0) return;
  const float sheetW = ZoomF(state->pageRect.right) - ZoomF(state->pageRect.left);
  const float sheetH = ZoomF(state->pageRect.bottom) - ZoomF(state->pageRect.top);
  const int32_t nx = RoundToInt(sheetW / pageW), ny = RoundToInt(sheetH / pageH);
  if (!BeginPortSession(nullptr)) return;
  UsePortRop(R2_COPYPEN);
  UsePortPen(PS_SOLID, kBreakWidth, kBreakColour, false);
  for (int32_t i = 0; i <= nx; ++i) {
    const int64_t x = static_cast<int64_t>(i) * pageW;
    if (x >= rect->left && x <= rect->right)
      DrawLine(static_cast<int32_t>(x), rect->top, static_cast<int32_t>(x), rect->bottom, false);
  }
  for (int32_t j = 0; j <= ny; ++j) {
    const int64_t y = static_cast<int64_t>(j) * pageH;
    if (y >= rect->top && y <= rect->bottom)
      DrawLine(rect->left, static_cast<int32_t>(y), rect->right, static_cast<int32_t>(y), false);
  }
  EndPortSession();
}

void GetPenOffset(int16_t width, int16_t* dx, int16_t* dy) {
  if (width > 1) {
    if (dx) *dx = static_cast<int16_t>(-(width / 2));
    if (dy) *dy = static_cast<int16_t>(-(width / 2));
  }
}

void Refresh() {
  if (gCurWindow) InvalidateRect(static_cast<HWND>(gCurWindow), nullptr, TRUE);
  if (!gCurDocument || !gCurDocument->firstLayer) return;
  FloatRect bounds = kEmptyRect;
  GetAllLayersObjBounds(gCurDocument->firstLayer, false, &bounds, true);
  if (bounds.top >= kEmptyLimit || bounds.left >= kEmptyLimit || bounds.bottom <= -kEmptyLimit ||
      bounds.right <= -kEmptyLimit) {
    gWidthHeight = FloatPoint{0.0f, 0.0f};
    return;
  }
  const DocState* state = gCurDocument->docState;
  gWidthHeight.x = ConvertScreenToWorld(bounds.right - bounds.left, state, false);
  gWidthHeight.y = ConvertScreenToWorld(bounds.bottom - bounds.top, state, false);
}

namespace {

// Grey outside the sheet, with the sheet's black frame.
void PaintSurround(HDC dc, const DocState* state, const RECT& paint) {
  FlushPortLines();
  const RECT sheet = {RoundToInt(ZoomF(state->pageRect.left)), RoundToInt(ZoomF(state->pageRect.top)),
                      RoundToInt(ZoomF(state->pageRect.right)), RoundToInt(ZoomF(state->pageRect.bottom))};
  // Regions take device coordinates: convert the logical rectangles first.
  POINT pa[2] = {{paint.left, paint.top}, {paint.right, paint.bottom}};
  POINT ps[2] = {{sheet.left, sheet.top}, {sheet.right, sheet.bottom}};
  LPtoDP(dc, pa, 2);
  LPtoDP(dc, ps, 2);
  HRGN outside = CreateRectRgn(pa[0].x, pa[0].y, pa[1].x, pa[1].y);
  HRGN page = CreateRectRgn(ps[0].x, ps[0].y, ps[1].x, ps[1].y);
  if (outside && page && CombineRgn(outside, outside, page, RGN_DIFF) != NULLREGION) {
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    FillRgn(dc, outside, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    const RECT frame = {ps[0].x, ps[0].y, ps[1].x, ps[1].y};
    FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RestoreDC(dc, saved);
  }
  if (outside) DeleteObject(outside);
  if (page) DeleteObject(page);
}

}  // namespace

bool PaintDrawing(const PaintTarget& target, DocumentRec* document, const QDRect* area, int options) {
  if (!target.dc || !document || !document->docState || !area) return false;
  const bool screen = target.device == PaintDevice::kScreen;
  if (!screen && !(target.scaleH > 0.0f && target.scaleV > 0.0f)) return false;
  DocumentRec* const savedDocument = gCurDocument;
  gCurDocument = document;
  const PaintTarget* const savedTarget = SwapPaintTarget(&target);
  // A screen target without a usable zoom draws at the drawing's own.
  const float savedZoom = SwapPaintZoom(screen ? (target.scaleH > 0.0f ? target.scaleH : 0.0f) : 1.0f);
  const bool ok = BeginPortSession(target.dc);
  if (ok) {
    HDC dc = target.dc;
    const DocState* state = document->docState;
    const RECT paint = {area->left, area->top, area->right, area->bottom};
    if (options & kPaintErase) {
      HBRUSH back = CreateSolidBrush(DeviceColor(state->backColor));
      FillRect(dc, &paint, back);
      DeleteObject(back);
    }
    if (screen) {
      if (state->showGrid) DrawGrid(state, area);
      if (state->showAxis) DrawAxis(state, area);
      if (state->showPageBreaks) DrawPageBreaks(state, area);
      if (options & kPaintSurround) PaintSurround(dc, state, paint);
    }
    DrawAllLayers(document->firstLayer, area, kDrawAll, nullptr);
    if (screen && (options & kPaintHandles)) {
      FlushPortLines();
      DrawAllLayerHandles(document->firstLayer, area);
    }
    EndPortSession();
  }
  SwapPaintZoom(savedZoom);
  SwapPaintTarget(savedTarget);
  gCurDocument = savedDocument;
  return ok;
}

bool PaintDrawing(HDC dc, DocumentRec* document, const QDRect* area, int options) {
  if (!document || !document->docState) return false;
  const float zoom = document->docState->zoomFactor;
  return PaintDrawing(PaintTarget{dc, PaintDevice::kScreen, zoom, zoom}, document, area, options);
}
