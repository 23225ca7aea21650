// The drawing port over GDI.
#include "render/macstuff.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "geometry/zoomhdlr.h"
#include "render/outlinecache.h"
#include "render/overdraw.h"

namespace {
const PaintTarget* gPaintTarget = nullptr;
}

const PaintTarget* CurrentPaintTarget() {
  return gPaintTarget;
}

const PaintTarget* SwapPaintTarget(const PaintTarget* target) {
  const PaintTarget* previous = gPaintTarget;
  gPaintTarget = target;
  return previous;
}

PaintDevice CurrentPaintDevice() {
  return gPaintTarget ? gPaintTarget->device : PaintDevice::kScreen;
}

bool IsPrintPath() {
  return CurrentPaintDevice() != PaintDevice::kScreen;
}

HDC PrintPathDC() {
  return IsPrintPath() ? gPaintTarget->dc : nullptr;
}

float PrintScaleH() {
  return IsPrintPath() ? gPaintTarget->scaleH : 1.0f;
}

float PrintScaleV() {
  return IsPrintPath() ? gPaintTarget->scaleV : 1.0f;
}

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr int32_t kDefaultDoubleClickMs = 550;
constexpr int kStringWidthPad = 2;
// Lines are clipped to the visible area grown by this many pixels, so wide pens and round caps
// just outside still draw as they should.
constexpr double kClipMargin = 2048.0;
// Without a usable clip box (a metafile being recorded), the range of 16-bit metafile records.
constexpr double kMetafileLimit = 32767.0;
constexpr double kNoClipLimit = 4194304.0;
// A batch is flushed when it holds this many points.
constexpr size_t kBatchLimit = 16384;
// How far past its line a solid pen of width 1 or less can set a pixel, with a pixel to spare.
constexpr double kThinPenReach = 2.0;
// Bits a pixel from which a context keeps every colour as it is given, undithered.
constexpr int kTrueColourBits = 24;

struct PenKey {
  int style;
  int width;
  COLORREF colour;
  bool invisible;
};

struct PortSession {
  int depth = 0;
  HDC dc = nullptr;
  HWND window = nullptr;  // the pane whose context this is, when it is one
  HGDIOBJ savedPen = nullptr;
  HPEN ownPen = nullptr;
  // The context's font before UsePortFont changed it; null while it has not.
  HGDIOBJ foundFont = nullptr;
  bool raster = false;  // a screen or memory context (OBJ_DC or OBJ_MEMDC)
  bool havePen = false;
  bool dcPen = false;  // the selected pen is the context's own (DC_PEN)
  // Whether the context maps logical units to pixels one to one, unmirrored, draws ovals in the
  // default direction and keeps a plain colour as it is: -1 until asked.
  int plainPixels = -1;
  PenKey pen = {};
  int savedRop = 0;
  int rop = 0;
  double clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
  // The context's own clip box: what the paint can change at all.
  double viewLeft = 0, viewTop = 0, viewRight = 0, viewBottom = 0;
  // How far from its line the selected pen can set a pixel; 0 when a line may not be left out
  // (a dotted pen's pattern runs on along the whole polyline).
  double penReach = 0;
  double penX = 0, penY = 0;
  bool runOpen = false;
  // Lines go nowhere: a paint walks an object's outline for its hit outline alone.
  bool muted = false;
  // The pen is invisible and the pixels are the screen's: its lines would set none.
  bool unseen = false;
  // While set, a line of a wide solid pen that shapes drawn after this one paint over wholly is
  // left out (see SetPortCover).
  const CoverMap* cover = nullptr;
  uint32_t coverPosition = 0;
  POINT last = {0, 0};
  std::vector<POINT> points;
  std::vector<DWORD> counts;
  // How many batches of lines have been drawn, and how many had been when a shape's outline
  // started: while the two agree, every line of the outline is still batched.
  uint64_t flushes = 0;
  uint64_t outlineStart = ~uint64_t{0};
};

PortSession gSession;

HWND PaneWindow() {
  return static_cast<HWND>(gCurWindow);
}

void SetClipBoxFrom(HDC dc) {
  RECT box;
  const int kind = GetObjectType(dc);
  const int region = (kind == OBJ_METADC || kind == OBJ_ENHMETADC) ? ERROR : GetClipBox(dc, &box);
  if (region == ERROR || region == NULLREGION) {
    const double limit = (kind == OBJ_METADC) ? kMetafileLimit : kNoClipLimit;
    gSession.clipLeft = gSession.clipTop = -limit;
    gSession.clipRight = gSession.clipBottom = limit;
    gSession.viewLeft = gSession.clipLeft;
    gSession.viewTop = gSession.clipTop;
    gSession.viewRight = gSession.clipRight;
    gSession.viewBottom = gSession.clipBottom;
    return;
  }
  gSession.viewLeft = box.left;
  gSession.viewTop = box.top;
  gSession.viewRight = box.right;
  gSession.viewBottom = box.bottom;
  gSession.clipLeft = box.left - kClipMargin;
  gSession.clipTop = box.top - kClipMargin;
  gSession.clipRight = box.right + kClipMargin;
  gSession.clipBottom = box.bottom + kClipMargin;
}

bool Inside(double x, double y) {
  return x >= gSession.clipLeft && x <= gSession.clipRight && y >= gSession.clipTop &&
         y <= gSession.clipBottom;
}

// True when the segment lies wholly beyond one side of the context's clip box, further out than
// the pen reaches: it cannot set a pixel that shows.
bool BeyondView(double x0, double y0, double x1, double y1) {
  const double reach = gSession.penReach;
  if (reach <= 0.0) return false;
  return (x0 < gSession.viewLeft - reach && x1 < gSession.viewLeft - reach) ||
         (x0 > gSession.viewRight + reach && x1 > gSession.viewRight + reach) ||
         (y0 < gSession.viewTop - reach && y1 < gSession.viewTop - reach) ||
         (y0 > gSession.viewBottom + reach && y1 > gSession.viewBottom + reach);
}

// True when the cover map says shapes drawn later paint over every pixel the line can set, with
// its round ends and joins. Only wide solid pens are asked: a thin line costs less than the test.
bool UnderCover(double x0, double y0, double x1, double y1) {
  if (!gSession.cover || gSession.penReach <= 0.0 || gSession.pen.width <= 1) return false;
  const double reach = gSession.penReach;
  RECT area = {FloorToInt((x0 < x1 ? x0 : x1) - reach), FloorToInt((y0 < y1 ? y0 : y1) - reach),
               CeilToInt((x0 < x1 ? x1 : x0) + reach) + 1, CeilToInt((y0 < y1 ? y1 : y0) + reach) + 1};
  // Pixels outside the context's clip box never show.
  area.left = area.left > gSession.viewLeft ? area.left : static_cast<LONG>(gSession.viewLeft);
  area.top = area.top > gSession.viewTop ? area.top : static_cast<LONG>(gSession.viewTop);
  area.right = area.right < gSession.viewRight ? area.right : static_cast<LONG>(gSession.viewRight);
  area.bottom = area.bottom < gSession.viewBottom ? area.bottom : static_cast<LONG>(gSession.viewBottom);
  return IsAreaCovered(*gSession.cover, area, gSession.coverPosition);
}

// Liang-Barsky: shortens the segment to the clip box; false when nothing of it is inside.
bool ClipSegment(double* x0, double* y0, double* x1, double* y1) {
  const double dx = *x1 - *x0, dy = *y1 - *y0;
  double t0 = 0.0, t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {*x0 - gSession.clipLeft, gSession.clipRight - *x0, *y0 - gSession.clipTop,
                       gSession.clipBottom - *y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  const double sx = *x0, sy = *y0;
  *x0 = sx + t0 * dx;
  *y0 = sy + t0 * dy;
  *x1 = sx + t1 * dx;
  *y1 = sy + t1 * dy;
  return true;
}

POINT RoundPoint(double x, double y) {
  POINT p = {RoundToInt(static_cast<float>(x)), RoundToInt(static_cast<float>(y))};
  return p;
}

void AppendSegment(POINT a, POINT b) {
  const bool continues = gSession.runOpen && gSession.last.x == a.x && gSession.last.y == a.y;
  // A line of no length sets no pixel with a thin solid pen; the polyline goes on without it.
  if (continues && a.x == b.x && a.y == b.y && gSession.havePen && gSession.pen.style == PS_SOLID &&
      gSession.pen.width <= 1)
    return;
  if (!continues) {
    if (gSession.points.size() >= kBatchLimit) FlushPortLines();
    gSession.points.push_back(a);
    gSession.counts.push_back(1);
    gSession.runOpen = true;
  }
  gSession.points.push_back(b);
  gSession.counts.back() += 1;
  gSession.last = b;
}

}  // namespace

HDC AcquirePortDC() {
  if (gSession.depth > 0) {
    PutBackPortFont();
    return gSession.dc;
  }
  HWND pane = PaneWindow();
  return pane ? GetDC(pane) : nullptr;
}

void ReleasePortDC(HDC dc) {
  if (!dc || (gSession.depth > 0 && dc == gSession.dc)) return;
  ReleaseDC(PaneWindow(), dc);
}

bool BeginPortSession(HDC dc) {
  if (gSession.depth > 0) {
    ++gSession.depth;
    return true;
  }
  HWND window = nullptr;
  if (!dc) {
    window = PaneWindow();
    dc = window ? GetDC(window) : nullptr;
    if (!dc) return false;
  }
  gSession.depth = 1;
  gSession.dc = dc;
  gSession.window = window;
  const DWORD kind = GetObjectType(dc);
  gSession.raster = kind == OBJ_DC || kind == OBJ_MEMDC;
  gSession.savedPen = GetCurrentObject(dc, OBJ_PEN);
  gSession.ownPen = nullptr;
  gSession.havePen = gSession.dcPen = false;
  gSession.savedRop = gSession.rop = GetROP2(dc);
  POINT position = {0, 0};
  GetCurrentPositionEx(dc, &position);
  gSession.penX = position.x;
  gSession.penY = position.y;
  gSession.runOpen = false;
  SetClipBoxFrom(dc);
  StartKeepingOutlines();
  return true;
}

void EndPortSession() {
  if (gSession.depth <= 0) return;
  if (gSession.depth == 1) {
    FlushPortLines();
    PutBackPortFont();
  }
  if (--gSession.depth > 0) return;
  HDC dc = gSession.dc;
  if (gSession.savedPen) SelectObject(dc, gSession.savedPen);
  if (gSession.ownPen) DeleteObject(gSession.ownPen);
  if (gSession.rop != gSession.savedRop && gSession.savedRop) SetROP2(dc, gSession.savedRop);
  if (gSession.window) ReleaseDC(gSession.window, dc);
  gSession = PortSession();
}

HDC PortSessionDC() {
  return gSession.depth > 0 ? gSession.dc : nullptr;
}

bool IsPortRaster() {
  // A printer's context is a raster context too: the paint's device tells them apart.
  return gSession.depth > 0 && gSession.raster && !IsPrintPath();
}

namespace {

bool KeepsWideOutlines();
RECT ViewBox();

}  // namespace

void FlushPortLines() {
  if (gSession.depth <= 0) return;
  if (!gSession.counts.empty()) {
    if (GetObjectType(gSession.dc) == OBJ_METADC) {
      // A 16-bit metafile has no record for a poly-polyline: one polyline per run.
      const POINT* run = gSession.points.data();
      for (DWORD count : gSession.counts) {
        Polyline(gSession.dc, run, static_cast<int>(count));
        run += count;
      }
    } else if (!KeepsWideOutlines() ||
               !FillKeptLines(gSession.dc, gSession.points.data(), gSession.counts.data(),
                              gSession.counts.size(), gSession.pen.width, gSession.pen.colour, ViewBox())) {
      PolyPolyline(gSession.dc, gSession.points.data(), gSession.counts.data(),
                   static_cast<DWORD>(gSession.counts.size()));
    }
    ++gSession.flushes;
  }
  gSession.points.clear();
  gSession.counts.clear();
  gSession.runOpen = false;
  // The context's own current position follows the port's pen.
  const POINT p = RoundPoint(gSession.penX, gSession.penY);
  if (Inside(gSession.penX, gSession.penY)) MoveToEx(gSession.dc, p.x, p.y, nullptr);
}

void UsePortPen(int style, int width, COLORREF colour, bool invisible) {
  if (gSession.depth <= 0) return;
  const PenKey key = {style, width, colour, invisible};
  if (gSession.havePen && std::memcmp(&key, &gSession.pen, sizeof key) == 0) return;
  FlushPortLines();
  // Thin solid pens share the context's own pen, recoloured, instead of a new pen per colour
  // (metafiles record created pens only).
  const int kind = GetObjectType(gSession.dc);
  const bool thin =
      !invisible && style == PS_SOLID && width <= 1 && kind != OBJ_METADC && kind != OBJ_ENHMETADC;
  HPEN pen = (invisible || thin) ? nullptr : CreatePen(style, width, colour);
  if (thin) {
    SetDCPenColor(gSession.dc, colour);
    // The context's pen is selected already when the port's last pen was thin too.
    if (!gSession.dcPen) SelectObject(gSession.dc, GetStockObject(DC_PEN));
  } else {
    SelectObject(gSession.dc, pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN));
  }
  if (gSession.ownPen) DeleteObject(gSession.ownPen);
  gSession.ownPen = pen;
  gSession.dcPen = thin;
  gSession.pen = key;
  gSession.havePen = true;
  // A metafile records even an invisible pen's lines, and a printer is given them as they are.
  gSession.unseen = invisible && IsPortRaster();
  gSession.penReach = style != PS_SOLID ? 0.0 : (width <= 1 ? kThinPenReach : width / 2 + kThinPenReach);
}

void UsePortFont(HFONT font) {
  if (gSession.depth <= 0 || !font || GetCurrentObject(gSession.dc, OBJ_FONT) == font) return;
  HGDIOBJ previous = SelectObject(gSession.dc, font);
  if (!gSession.foundFont) gSession.foundFont = previous;
}

void PutBackPortFont() {
  if (gSession.depth <= 0 || !gSession.foundFont) return;
  SelectObject(gSession.dc, gSession.foundFont);
  gSession.foundFont = nullptr;
}

void UsePortRop(int rop) {
  if (gSession.depth <= 0 || rop == gSession.rop) return;
  FlushPortLines();
  SetROP2(gSession.dc, rop);
  gSession.rop = rop;
}

// A move does not end the batch's polyline: the next line continues it when it starts where
// the last one ended, and starts a new one otherwise.
void PortMoveTo(float x, float y) {
  gSession.penX = x;
  gSession.penY = y;
}

namespace {

// Whether what the port draws now is copied onto a raster screen as it is: not muted, not
// inverting. Only there do the port's one-call shortcuts give the picture of the long way.
bool IsPlainCopy() {
  return IsPortRaster() && !gSession.muted && gSession.rop == R2_COPYPEN;
}

}  // namespace

bool PortFramedBox(const RECT& box, COLORREF fill) {
  if (!IsPlainCopy() || !gSession.dcPen) return false;
  FlushPortLines();
  SetDCBrushColor(gSession.dc, fill);
  HGDIOBJ saved = SelectObject(gSession.dc, GetStockObject(DC_BRUSH));
  Rectangle(gSession.dc, box.left, box.top, box.right + 1, box.bottom + 1);
  SelectObject(gSession.dc, saved);
  PortMoveTo(static_cast<float>(box.left), static_cast<float>(box.top));
  return true;
}

namespace {

// Bits a pixel of what the context draws on: a memory context's bitmap, or its device.
int PixelBits(HDC dc) {
  if (GetObjectType(dc) == OBJ_MEMDC) {
    BITMAP bitmap = {};
    if (GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof bitmap, &bitmap) == 0) return 0;
    return bitmap.bmBitsPixel * bitmap.bmPlanes;
  }
  return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
}

bool IsPlainPixelContext() {
  if (gSession.plainPixels < 0) {
    HDC dc = gSession.dc;
    gSession.plainPixels = GetMapMode(dc) == MM_TEXT && GetGraphicsMode(dc) == GM_COMPATIBLE &&
                           GetLayout(dc) == 0 && GetArcDirection(dc) == AD_COUNTERCLOCKWISE &&
                           PixelBits(dc) >= kTrueColourBits;
  }
  return gSession.plainPixels > 0;
}

// Whether the outlines of the port's pen can be filled from kept pixels: the pen is wide and
// solid, copied onto a raster screen whose logical units are its pixels.
bool KeepsWideOutlines() {
  return IsPlainCopy() && gSession.havePen && !gSession.pen.invisible && gSession.pen.style == PS_SOLID &&
         gSession.pen.width >= 2 && IsPlainPixelContext();
}

RECT ViewBox() {
  RECT view = {0, 0, 0, 0};
  GetPortViewBox(&view);
  return view;
}

// What Polygon(points, count) fills with the context's brush and the null pen.
void FillPolygonInside(const POINT* points, int count) {
  if (count < 3) return;
  // A rectangle along the axes, where logical units are pixels: the polygon's fill leaves out its
  // right and bottom edges, as filling the box does.
  const POINT* p = points;
  const bool box = count == 4 && IsPlainPixelContext() &&
                   ((p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y) ||
                    (p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x));
  if (box) {
    const LONG left = std::min(p[0].x, p[2].x), top = std::min(p[0].y, p[2].y);
    PatBlt(gSession.dc, left, top, std::max(p[0].x, p[2].x) - left, std::max(p[0].y, p[2].y) - top, PATCOPY);
    return;
  }
  HGDIOBJ pen = SelectObject(gSession.dc, GetStockObject(NULL_PEN));
  Polygon(gSession.dc, points, count);
  SelectObject(gSession.dc, pen);
}

}  // namespace

bool PortWideOval(const RECT& box) {
  if (!KeepsWideOutlines()) return false;
  FlushPortLines();
  return FillOvalOutline(gSession.dc, box, gSession.pen.width, gSession.pen.colour, ViewBox());
}

bool PortWidePolygon(const POINT* points, int count) {
  if (count < 3 || !KeepsWideOutlines()) return false;
  FlushPortLines();
  HDC dc = gSession.dc;
  FillPolygonInside(points, count);
  if (!FillKeptPolygonOutline(dc, points, static_cast<size_t>(count), gSession.pen.width, gSession.pen.colour,
                              ViewBox())) {
    HGDIOBJ brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Polygon(dc, points, count);
    SelectObject(dc, brush);
  }
  return true;
}

namespace {

// Where the outline cannot be filled under, its lines stay in one batch with those before: a wide
// pen's polyline that goes on from the last one joins it instead of ending in caps.
bool MayFillUnderPortOutline() {
  return IsPlainCopy() && (gSession.dcPen || gSession.unseen);
}

}  // namespace

void StartPortOutline() {
  if (gSession.depth <= 0 || !MayFillUnderPortOutline()) return;
  FlushPortLines();
  gSession.outlineStart = gSession.flushes;
}

bool CanFillUnderPortOutline() {
  return MayFillUnderPortOutline() && gSession.flushes == gSession.outlineStart;
}

void FillUnderPortOutline(const POINT* points, int count) {
  // One fill to an outline: the next shape starts its own.
  gSession.outlineStart = ~uint64_t{0};
  FillPolygonInside(points, count);
}

void PortLineTo(float x, float y) {
  if (gSession.depth <= 0) return;
  double x0 = gSession.penX, y0 = gSession.penY, x1 = x, y1 = y;
  gSession.penX = x;
  gSession.penY = y;
  if (gSession.muted || gSession.unseen) return;
  // Out of sight: left out, as the clip would leave it (the polyline resumes where lines show).
  if (BeyondView(x0, y0, x1, y1) || UnderCover(x0, y0, x1, y1)) {
    gSession.runOpen = false;
    return;
  }
  if (Inside(x0, y0) && Inside(x1, y1)) {
    AppendSegment(RoundPoint(x0, y0), RoundPoint(x1, y1));
    return;
  }
  if (!ClipSegment(&x0, &y0, &x1, &y1)) {
    gSession.runOpen = false;
    return;
  }
  AppendSegment(RoundPoint(x0, y0), RoundPoint(x1, y1));
  if (x1 != x || y1 != y) gSession.runOpen = false;
}

void SetPortCover(const CoverMap* map, uint32_t position) {
  if (gSession.depth <= 0) return;
  FlushPortLines();
  gSession.cover = map;
  gSession.coverPosition = position;
}

bool IsPortMuted() {
  return gSession.depth > 0 && gSession.muted;
}

HDC PortDrawingDC() {
  return gSession.depth > 0 && !gSession.muted ? gSession.dc : nullptr;
}

void SetPortMuted(bool muted) {
  if (gSession.depth <= 0) return;
  FlushPortLines();
  gSession.muted = muted;
}

bool GetPortViewBox(RECT* box) {
  if (gSession.depth <= 0) return false;
  *box = RECT{static_cast<LONG>(gSession.viewLeft), static_cast<LONG>(gSession.viewTop),
              static_cast<LONG>(gSession.viewRight), static_cast<LONG>(gSession.viewBottom)};
  return true;
}

void GetPortClipBox(double* left, double* top, double* right, double* bottom) {
  *left = gSession.clipLeft;
  *top = gSession.clipTop;
  *right = gSession.clipRight;
  *bottom = gSession.clipBottom;
}

COLORREF DeviceColor(const RGB16& colour) {
  return RGB(colour.red / 257, colour.green / 257, colour.blue / 257);
}

void Pt2Rect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, QDRect* rect) {
  if (!rect) return;
  rect->left = x1 <= x2 ? x1 : x2;
  rect->right = x1 <= x2 ? x2 : x1;
  rect->top = y1 <= y2 ? y1 : y2;
  rect->bottom = y1 <= y2 ? y2 : y1;
}

int32_t GetDblTime() {
  return static_cast<int32_t>(GetProfileIntA("windows", "DoubleClickSpeed", kDefaultDoubleClickMs));
}

bool GetNextMouseOrKeyDownEvent(MSG* message) {
  MSG local;
  MSG* out = message ? message : &local;
  if (!PeekMessageA(out, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return false;
  return out->message == WM_LBUTTONDOWN || out->message == WM_KEYDOWN;
}

void GetWindowMouse(HWND window, POINT* point) {
  if (!window || !point) return;
  GetCursorPos(point);
  ScreenToClient(window, point);
  HDC dc = GetDC(window);
  if (!dc) return;
  DPtoLP(dc, point, 1);
  ReleaseDC(window, dc);
}

void GetMouse(POINT* point) {
  GetWindowMouse(PaneWindow(), point);
}

bool StillDown() {
  return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) || (GetAsyncKeyState(VK_RBUTTON) & 0x8000);
}

// Drawing-port angles: whole degrees, 0 straight up, clockwise positive; the platform's arc runs
// counter-clockwise between two radial points.
void FrameArc(const QDRect* box, int16_t startAngle, int16_t arcAngle) {
  if (!box) return;
  const float a1 = static_cast<float>((360 - startAngle + 90) * kDegreesToRadians);
  const float a2 = static_cast<float>((360 - startAngle + 90 - arcAngle) * kDegreesToRadians);
  const float w = static_cast<float>(box->right - box->left);
  const float h = static_cast<float>(box->bottom - box->top);
  const float cx = box->left + w / 2.0f, cy = box->top + h / 2.0f;
  float r = w, sx = 1.0f, sy = 1.0f;
  if (w > h) {
    sy = w != 0.0f ? h / w : 1.0f;
  } else if (w < h) {
    r = h;
    sx = h != 0.0f ? w / h : 1.0f;
  }
  const int32_t x1 = RoundToInt(r * std::cos(a1) * sx + cx), y1 = RoundToInt(-r * std::sin(a1) * sy + cy);
  const int32_t x2 = RoundToInt(r * std::cos(a2) * sx + cx), y2 = RoundToInt(-r * std::sin(a2) * sy + cy);
  if ((x1 == x2 && y1 == y2) || IsPortMuted()) return;
  HDC dc = nullptr;
  bool release = false;
  if (IsPrintPath()) {
    dc = PrintPathDC();
  } else {
    dc = AcquirePortDC();
    release = true;
  }
  if (!dc) return;
  if (dc == PortSessionDC()) FlushPortLines();
  if (arcAngle < 0)
    Arc(dc, box->left, box->top, box->right, box->bottom, x1, y1, x2, y2);
  else
    Arc(dc, box->left, box->top, box->right, box->bottom, x2, y2, x1, y1);
  if (release) ReleasePortDC(dc);
}

void MacMoveTo(int32_t h, int32_t v) {
  if (gSession.depth > 0) {
    PortMoveTo(static_cast<float>(h), static_cast<float>(v));
    FlushPortLines();
    return;
  }
  MacWindowMoveTo(PaneWindow(), h, v);
}

void MacLineTo(int32_t h, int32_t v) {
  if (gSession.depth > 0) {
    PortLineTo(static_cast<float>(h), static_cast<float>(v));
    return;
  }
  MacWindowLineTo(PaneWindow(), h, v);
}

void MacWindowMoveTo(HWND window, int32_t h, int32_t v) {
  if (!window) return;
  HDC dc = GetDC(window);
  if (!dc) return;
  MoveToEx(dc, h, v, nullptr);
  ReleaseDC(window, dc);
}

void MacWindowLineTo(HWND window, int32_t h, int32_t v) {
  if (!window) return;
  HDC dc = GetDC(window);
  if (!dc) return;
  LineTo(dc, h, v);
  ReleaseDC(window, dc);
}

int32_t StringWidth(const char* text) {
  HDC dc = AcquirePortDC();
  if (!dc || !text) {
    if (dc) ReleasePortDC(dc);
    return kStringWidthPad;
  }
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  ReleasePortDC(dc);
  return size.cx + kStringWidthPad;
}

void EraseWindowRect(HWND window, const QDRect* rect) {
  if (!window || !rect) return;
  HDC dc = GetDC(window);
  if (!dc) return;
  HBRUSH brush = CreateSolidBrush(GetBkColor(dc));
  RECT r = {rect->left, rect->top, rect->right, rect->bottom};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  ReleaseDC(window, dc);
}

// The right and bottom edges lie on the rectangle's right and bottom coordinates.
void MacFrameRect(const QDRect* rect) {
  if (!rect) return;
  MacMoveTo(rect->left, rect->top);
  MacLineTo(rect->right, rect->top);
  MacLineTo(rect->right, rect->bottom);
  MacLineTo(rect->left, rect->bottom);
  MacLineTo(rect->left, rect->top);
}

namespace {

// The context strings go to: the printer while printing, the open session's context for the
// current pane, else the window's own. `release` says whether to give it back.
HDC StringTarget(HWND window, bool* release) {
  *release = false;
  if (HDC printDC = PrintPathDC()) return printDC;
  if (gSession.depth > 0 && window == gSession.window) {
    FlushPortLines();
    PutBackPortFont();
    return gSession.dc;
  }
  if (!window) return nullptr;
  *release = true;
  return GetDC(window);
}

void DrawStringOn(HWND window, const char* text, const RGB16* colour) {
  bool release = false;
  HDC dc = StringTarget(window, &release);
  if (!dc) return;
  const bool printing = IsPrintPath() && dc == PrintPathDC();
  const UINT savedAlign = GetTextAlign(dc);
  COLORREF savedColour = 0;
  if (colour) savedColour = SetTextColor(dc, DeviceColor(*colour));
  SetTextAlign(dc, TA_LEFT | TA_BASELINE | TA_UPDATECP);
  if (!printing) SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, 0, 0, text, static_cast<int>(std::strlen(text)));
  if (printing) SetTextAlign(dc, savedAlign);
  if (colour) SetTextColor(dc, savedColour);
  if (release) ReleaseDC(window, dc);
}

}  // namespace

void DrawString(HWND window, const char* text) {
  if (!text || (!window && !(gSession.depth > 0 && gSession.window == nullptr))) return;
  DrawStringOn(window, text, nullptr);
}

void DrawStringColor(HWND window, const char* text, const RGB16* colour) {
  if (!text || !colour || (!window && !(gSession.depth > 0 && gSession.window == nullptr))) return;
  DrawStringOn(window, text, colour);
}

void GetFontInfo(FontInfo* info) {
  if (!info) return;
  HDC dc = AcquirePortDC();
  if (!dc) return;
  TEXTMETRICA metrics;
  if (GetTextMetricsA(dc, &metrics)) {
    info->ascent = static_cast<int16_t>(metrics.tmAscent);
    info->descent = static_cast<int16_t>(metrics.tmDescent);
    info->widMax = static_cast<int16_t>(metrics.tmMaxCharWidth);
    info->leading = static_cast<int16_t>(metrics.tmExternalLeading);
  } else {
    *info = FontInfo{0, 0, 0, 0};
  }
  ReleasePortDC(dc);
}

bool EmptyRect(const RECT* rect) {
  return !rect || (rect->right == rect->left && rect->bottom == rect->top);
}

void CheckMarkCmd(HMENU menu, int16_t command, bool checked) {
  if (menu)
    CheckMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void EnableCmd(HMENU menu, int16_t command) {
  if (menu) EnableMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | MF_ENABLED);
}

void DisableCmd(HMENU menu, int16_t command) {
  if (menu) EnableMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | MF_GRAYED);
}
