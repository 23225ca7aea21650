// Dimension graphics over the drawing port and the print context.
#include <windows.h>

#include <cmath>

#include "dimensions/drawdim2_win.h"
#include "dimensions/drawdims.h"
#include "geometry/gnrlmath.h"
#include "geometry/zoomhdlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "render/drawhdlr.h"

namespace {

// Lengths in page units (zoomed like coordinates).
constexpr float kExtensionGap = 5.0f;        // measured point to the start of its extension line
constexpr float kExtensionOvershoot = 7.0f;  // past the dimension line
constexpr float kArrowTailDistance = 100.0f;
// Arrowhead sizes in pixels at zoom 1, zoomed explicitly.
constexpr float kWingLength = 12.0f;
constexpr float kWingHalfAngle = 0.2617993877991494f;  // 15 degrees
constexpr float kTickHalfLength = 9.0f;
constexpr float kDotRadius = 2.0f;
constexpr float kCircleRadius = 6.0f;
constexpr float kOutsideLineLength = 36.0f;
constexpr float kQuarterTurn = 1.5707963267948966f;
constexpr float kEighthTurn = 0.7853981633974483f;
constexpr float kThreeEighthsTurn = 2.356194490192345f;
constexpr int kOutsideArcDegrees = 15;
constexpr int kHalfTurnDegrees = 180;
constexpr int kFullTurnDegrees = 360;
constexpr int kArcBoxGrowth = 2;

enum ArrowStyle {
  kFilledTriangle,
  kHollowTriangle,
  kOpenArrow,
  kTick,
  kOtherTick,
  kSmallDot,
  kCircle,
  kNoArrow
};

struct Pt {
  float x, y;
};

// Copies of the object's first `count` points with the preview transform applied; false when
// the object has fewer.
bool CopyPoints(const ObjectRec* object, int count, int flags, const TrackState* track, Pt* out) {
  const PointRec* p = object->firstPoint;
  for (int i = 0; i < count; ++i, p = p->nextPoint) {
    if (!p) return false;
    PointRec copy = *p;
    TransformDimension(&copy, flags, track);
    out[i] = {copy.x, copy.y};
  }
  return true;
}

Pt Along(Pt a, float angle, float length) {
  float dx = 0, dy = 0;
  GetPointFromLengthAndAngle(angle, length, &dx, &dy);
  return {a.x + dx, a.y + dy};
}

float AngleOf(Pt a, Pt b, float* length = nullptr) {
  return GetLineLengthAndAngle(a.x, a.y, b.x, b.y, length);
}

Pt Zoomed(Pt p) {
  return {ZoomF(p.x), ZoomF(p.y)};
}

// A line between two page positions, zoomed.
void Line(Pt a, Pt b) {
  const Pt za = Zoomed(a), zb = Zoomed(b);
  PenMoveTo(za.x, za.y);
  PenLineTo(zb.x, zb.y);
}

// A line between two zoomed positions.
void ZoomedLine(Pt a, Pt b) {
  PenMoveTo(a.x, a.y);
  PenLineTo(b.x, b.y);
}

// The context filled arrowheads are drawn on: the printer's, or the port's unless it is muted.
HDC TargetDC() {
  return IsPrintPath() ? PrintPathDC() : PortDrawingDC();
}

// A zoomed position on the target device: print-scaled while printing, rounded.
POINT DevicePoint(Pt p) {
  if (IsPrintPath()) return {RoundToInt(p.x * PrintScaleH()), RoundToInt(p.y * PrintScaleV())};
  return {RoundToInt(p.x), RoundToInt(p.y)};
}

// Filled shapes are not clipped by the port: one whose tip lies far outside the visible area
// (high zoom) is left out, as it cannot show anyway.
bool TipVisible(Pt tip) {
  if (IsPrintPath()) return true;
  double l, t, r, b;
  GetPortClipBox(&l, &t, &r, &b);
  return tip.x >= l && tip.x <= r && tip.y >= t && tip.y <= b;
}

ArrowStyle StyleOf(uint32_t flags) {
  for (int bit = 0; bit < kNoArrow; ++bit)
    if (flags & (1u << bit)) return static_cast<ArrowStyle>(bit);
  return kNoArrow;
}

// A triangle's corners on the device; false when its tip cannot show.
bool TriangleCorners(Pt tip, float theta, float z, POINT* corners) {
  if (!TipVisible(tip)) return false;
  const Pt w1 = Along(tip, theta + kWingHalfAngle, kWingLength * z);
  const Pt w2 = Along(tip, theta - kWingHalfAngle, kWingLength * z);
  corners[0] = DevicePoint(tip);
  corners[1] = DevicePoint(w1);
  corners[2] = DevicePoint(w2);
  return true;
}

void Triangle(Pt tip, float theta, float z, bool filled) {
  HDC dc = TargetDC();
  POINT corners[3];
  if (!dc || !TriangleCorners(tip, theta, z, corners)) return;
  FlushPortLines();
  HGDIOBJ saved = SelectObject(dc, GetStockObject(filled ? BLACK_BRUSH : NULL_BRUSH));
  Polygon(dc, corners, 3);
  SelectObject(dc, saved);
}

// A dot or circle of `radius` (zoomed on the screen, plain on paper) around the tip.
void Disc(Pt tip, float radius, float z, bool filled) {
  HDC dc = TargetDC();
  if (!dc || !TipVisible(tip)) return;
  RECT box;
  if (IsPrintPath()) {
    const POINT a = DevicePoint({tip.x - radius, tip.y - radius});
    const POINT b = DevicePoint({tip.x + radius + 1, tip.y + radius + 1});
    box = {a.x, a.y, b.x, b.y};
  } else {
    const float r = radius * z;
    box = {static_cast<LONG>(tip.x - r), static_cast<LONG>(tip.y - r), static_cast<LONG>(tip.x + r + 1),
           static_cast<LONG>(tip.y + r + 1)};
  }
  FlushPortLines();
  HGDIOBJ saved = SelectObject(dc, GetStockObject(filled ? BLACK_BRUSH : NULL_BRUSH));
  Ellipse(dc, box.left, box.top, box.right, box.bottom);
  SelectObject(dc, saved);
}

// The arc of an angle dimension through the print context or the port; angles are the port's.
void DimensionArc(Pt centre, float radius, int start, int sweep) {
  const Pt c = Zoomed(centre);
  const float r = ZoomF(radius);
  if (IsPrintPath()) {
    const FloatRect box = {c.y - r, c.x - r, c.y + r + kArcBoxGrowth, c.x + r + kArcBoxGrowth};
    PrintArc(&box, static_cast<int16_t>(start), static_cast<int16_t>(sweep));
    return;
  }
  const QDRect box = {RoundToInt(c.x - r), RoundToInt(c.y - r), RoundToInt(c.x + r) + kArcBoxGrowth,
                      RoundToInt(c.y + r) + kArcBoxGrowth};
  FlushPortLines();
  FrameArc(&box, static_cast<int16_t>(start), static_cast<int16_t>(sweep));
}

int PortAngle(float radians) {
  int q = 0;
  ConvertPiRadiansToQDAngle(radians, &q);
  return q > kHalfTurnDegrees ? q - kFullTurnDegrees : q;
}

}  // namespace

void TransformDimension(PointRec* point, int flags, const TrackState* track) {
  if (!point || !track) return;
  if (flags & kDrawPreviewTranslate)
    TranslatePoint(point, flags, track);
  else if (flags & kDrawPreviewScale)
    ScalePoint(point, flags, track);
  else if (flags & kDrawPreviewShear)
    ShearPoint(point, flags, track);
  else if (flags & kDrawPreviewRotate)
    RotatePoint(point, flags, track);
}

void DrawArrowhead(const ObjectRec* object, float tipX, float tipY, float tailX, float tailY,
                   uint32_t dimFlags) {
  const ArrowStyle style = StyleOf(dimFlags);
  if (!object || style == kNoArrow) return;
  const float z = CurrentZoom();
  const Pt tip = {tipX, tipY}, tail = {tailX, tailY};
  float theta = AngleOf(tip, tail);
  if (dimFlags & kDimArrowsOut) {
    theta = AngleOf(tail, tip);
    if (object->kind != kAngleDimKind) ZoomedLine(tip, Along(tip, theta, kOutsideLineLength * z));
  }
  switch (style) {
    case kFilledTriangle:
    case kHollowTriangle:
      Triangle(tip, theta, z, style == kFilledTriangle);
      break;
    case kOpenArrow:
      ZoomedLine(tip, Along(tip, theta + kWingHalfAngle, kWingLength * z));
      ZoomedLine(tip, Along(tip, theta - kWingHalfAngle, kWingLength * z));
      break;
    case kTick:
      ZoomedLine(Along(tip, theta + kEighthTurn, kTickHalfLength * z),
                 Along(tip, theta - kThreeEighthsTurn, kTickHalfLength * z));
      break;
    case kOtherTick:
      ZoomedLine(Along(tip, theta + kThreeEighthsTurn, kTickHalfLength * z),
                 Along(tip, theta - kEighthTurn, kTickHalfLength * z));
      break;
    case kSmallDot:
      Disc(tip, kDotRadius, z, true);
      break;
    case kCircle:
      Disc(tip, kCircleRadius, z, false);
      break;
    case kNoArrow:
      break;
  }
}

// Whether two triangles lie further apart than a pen `width` wide reaches from each, and more.
bool Apart(const POINT* a, const POINT* b, int width) {
  auto box = [width](const POINT* c) {
    RECT r = {c[0].x, c[0].y, c[0].x, c[0].y};
    for (int i = 1; i < 3; ++i) {
      r.left = c[i].x < r.left ? c[i].x : r.left;
      r.right = c[i].x > r.right ? c[i].x : r.right;
      r.top = c[i].y < r.top ? c[i].y : r.top;
      r.bottom = c[i].y > r.bottom ? c[i].y : r.bottom;
    }
    InflateRect(&r, width + 2, width + 2);
    return r;
  };
  const RECT ra = box(a), rb = box(b);
  return ra.right < rb.left || rb.right < ra.left || ra.bottom < rb.top || rb.bottom < ra.top;
}

// A dimension's two arrowheads, each from its tip towards its tail. On a raster screen two filled
// triangles that lie apart go to the platform in one call: it draws each polygon of the call as
// a call of its own would, and neither touches the other's pixels.
void DrawArrowheads(const ObjectRec* object, Pt tip1, Pt tail1, Pt tip2, Pt tail2, uint32_t dimFlags) {
  // A muted port would draw none of them: they are not worked out.
  if (IsPortMuted()) return;
  const float z = CurrentZoom();
  POINT corners[6];
  if (object && StyleOf(dimFlags) == kFilledTriangle && !(dimFlags & kDimArrowsOut) && IsPortRaster() &&
      TriangleCorners(tip1, AngleOf(tip1, tail1), z, corners) &&
      TriangleCorners(tip2, AngleOf(tip2, tail2), z, corners + 3) &&
      Apart(corners, corners + 3, GetLineWeight(object, true))) {
    HDC dc = PortSessionDC();
    const INT counts[2] = {3, 3};
    FlushPortLines();
    HGDIOBJ saved = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    PolyPolygon(dc, corners, counts, 2);
    SelectObject(dc, saved);
    return;
  }
  DrawArrowhead(object, tip1.x, tip1.y, tail1.x, tail1.y, dimFlags);
  DrawArrowhead(object, tip2.x, tip2.y, tail2.x, tail2.y, dimFlags);
}

void DrawLinearDimension(ObjectRec* object, int flags, const TrackState* track) {
  const DimInfo* info = object ? DimInfoOf(object) : nullptr;
  Pt p[4];
  if (!info || !object->firstPoint || !CopyPoints(object, 4, flags, track, p)) return;
  float l1 = 0, l2 = 0;
  const float t1 = AngleOf(p[0], p[1], &l1);
  Line(Along(p[0], t1, kExtensionGap), Along(p[0], t1, l1 + kExtensionOvershoot));
  const float t2 = AngleOf(p[3], p[2], &l2);
  Line(Along(p[3], t2, kExtensionGap), Along(p[3], t2, l2 + kExtensionOvershoot));
  if (!(info->dimFlags & kDimArrowsOut)) Line(p[2], p[1]);
  const Pt z1 = Zoomed(p[1]), z2 = Zoomed(p[2]);
  DrawArrowheads(object, z1, z2, z2, z1, info->dimFlags);
  DrawLengthText(info, p[1].x, p[1].y, p[2].x, p[2].y);
}

void DrawDiameterDimension(ObjectRec* object, int flags, const TrackState* track) {
  const DimInfo* info = object ? DimInfoOf(object) : nullptr;
  Pt p[4];
  if (!info || !object->firstPoint || !CopyPoints(object, 2, flags, track, p)) return;
  const bool diameter = object->kind == kDiameterDimKind || object->kind == kDiameterShoulderDimKind;
  if (object->kind == kDiameterShoulderDimKind || object->kind == kRadiusShoulderDimKind) {
    if (!CopyPoints(object, 4, flags, track, p)) return;
    Line(object->kind == kRadiusShoulderDimKind ? p[1] : p[0], p[2]);
    Line(p[2], p[3]);
  }
  if (!(info->dimFlags & kDimArrowsOut)) Line(p[0], p[1]);
  const Pt z0 = Zoomed(p[0]), z1 = Zoomed(p[1]);
  if (diameter)
    DrawArrowheads(object, z1, z0, z0, z1, info->dimFlags);
  else
    DrawArrowhead(object, z1.x, z1.y, z0.x, z0.y, info->dimFlags);
  DrawLengthText(info, p[0].x, p[0].y, p[1].x, p[1].y);
}

void DrawAngularDimension(ObjectRec* object, int flags, const TrackState* track) {
  const DimInfo* info = object ? DimInfoOf(object) : nullptr;
  Pt p[4];
  if (!info || !object->firstPoint || !CopyPoints(object, 4, flags, track, p)) return;
  const float a1 = AngleOf(p[0], p[1]), a2 = AngleOf(p[0], p[2]);
  if (!track) {
    // The radius point belongs on the second leg: one dragged off it goes back, at its distance.
    PointRec* stored = object->firstPoint->nextPoint->nextPoint->nextPoint;
    const Pt onLeg = Along(p[0], a2, GetLineLength(p[0].x, p[0].y, p[3].x, p[3].y));
    if (stored->x != onLeg.x || stored->y != onLeg.y) {
      stored->x = onLeg.x;
      stored->y = onLeg.y;
      UpdateObjectBounds(object);
    }
    p[3] = onLeg;
  }
  const float r = GetLineLength(p[0].x, p[0].y, p[3].x, p[3].y);
  const float d = r - GetLineLength(p[0].x, p[0].y, p[1].x, p[1].y);
  if (!track) {
    Line(Along(p[1], a1, kExtensionGap), Along(p[1], a1, d + kExtensionOvershoot));
    float l23 = 0;
    const float a23 = AngleOf(p[2], p[3], &l23);
    Line(Along(p[2], a23, kExtensionGap), Along(p[2], a23, l23 + kExtensionOvershoot));
  }
  const int q1 = PortAngle(a1), q2 = PortAngle(a2);
  int sweep = q2 - q1;
  if (sweep > kHalfTurnDegrees) sweep -= kFullTurnDegrees;
  if (sweep < -kHalfTurnDegrees) sweep += kFullTurnDegrees;
  const int k = sweep >= 0 ? -1 : 1;
  if (info->dimFlags & kDimArrowsOut) {
    DimensionArc(p[0], r, q1, kOutsideArcDegrees * k);
    DimensionArc(p[0], r, q1 + sweep, -kOutsideArcDegrees * k);
  } else {
    DimensionArc(p[0], r, q1, sweep);
  }
  if (!track) {
    const Pt t1 = Along(p[1], a1, d);
    const Pt f1 = Along(t1, a1 + k * kQuarterTurn, kArrowTailDistance);
    const Pt f2 = Along(p[3], a2 - k * kQuarterTurn, kArrowTailDistance);
    const Pt zt1 = Zoomed(t1), zf1 = Zoomed(f1), zt2 = Zoomed(p[3]), zf2 = Zoomed(f2);
    DrawArrowheads(object, zt1, zf1, zt2, zf2, info->dimFlags);
  }
  DrawAngleText(info, a1, a2);
}

void DrawLeaderDimension(ObjectRec* object, int flags, const TrackState* track) {
  const DimInfo* info = object ? DimInfoOf(object) : nullptr;
  Pt p[3];
  if (!info || !object->firstPoint || !CopyPoints(object, 3, flags, track, p)) return;
  Line(p[0], p[1]);
  Line(p[1], p[2]);
  const Pt z0 = Zoomed(p[0]), z1 = Zoomed(p[1]);
  DrawArrowhead(object, z0.x, z0.y, z1.x, z1.y, info->dimFlags);
}

bool DrawDimensionObject(ObjectRec* object, int flags, const TrackState* track) {
  if (!object) return false;
  switch (object->kind) {
    case kOffsetDimVKind:
    case kOffsetDimHKind:
    case kLengthDimKind:
      DrawLinearDimension(object, flags, track);
      return true;
    case kAngleDimKind:
      DrawAngularDimension(object, flags, track);
      return true;
    case kDiameterDimKind:
    case kRadiusDimKind:
    case kDiameterShoulderDimKind:
    case kRadiusShoulderDimKind:
      DrawDiameterDimension(object, flags, track);
      return true;
    case kLeaderDimKind:
      DrawLeaderDimension(object, flags, track);
      return true;
    default:
      return false;
  }
}

bool GetDimensionReach(const ObjectRec* object, RECT* reach) {
  if (!object || !IsDimensionOrLeaderKind(object->kind) || object->kind == kAngleDimKind || !object->info)
    return false;
  float left = 0, top = 0, right = 0, bottom = 0;
  int count = 0;
  for (const PointRec* p = object->firstPoint; p; p = p->nextPoint, ++count) {
    const Pt z = Zoomed({p->x, p->y});
    if (count == 0 || z.x < left) left = z.x;
    if (count == 0 || z.x > right) right = z.x;
    if (count == 0 || z.y < top) top = z.y;
    if (count == 0 || z.y > bottom) bottom = z.y;
  }
  if (count == 0) return false;
  // Extension lines run past the dimension line; an arrowhead, or the line of arrows outside,
  // reaches from its tip; a pen reaches half its width and a round cap past every line.
  const float z = CurrentZoom();
  const float grow = ZoomF(kExtensionOvershoot) + (kOutsideLineLength + kWingLength) * z +
                     static_cast<float>(GetLineWeight(object, true)) / 2.0f + 3.0f;
  *reach = RECT{static_cast<LONG>(std::floor(left - grow)), static_cast<LONG>(std::floor(top - grow)),
                static_cast<LONG>(std::ceil(right + grow)), static_cast<LONG>(std::ceil(bottom + grow))};
  return true;
}

void RedrawDimension(ObjectRec* object) {
  if (!object || !IsDimensionOrLeaderKind(object->kind)) return;
  DrawObject(object, nullptr, kDrawAll, nullptr);
}
