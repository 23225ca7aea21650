// The geometry of the dimension tools.
#include "tools/trakdims.h"

#include <cmath>

#include "geometry/gnrlmath.h"

namespace {

constexpr float kQuarterTurn = 1.5707963267948966f;
constexpr float kHalfTurn = 3.141592653589793f;

FloatPoint Along(FloatPoint a, float angle, float length) {
  float dx = 0.0f, dy = 0.0f;
  GetPointFromLengthAndAngle(angle, length, &dx, &dy);
  return {a.x + dx, a.y + dy};
}

float AngleOf(FloatPoint a, FloatPoint b, float* length = nullptr) {
  return GetLineLengthAndAngle(a.x, a.y, b.x, b.y, length);
}

float Distance(FloatPoint a, FloatPoint b) {
  return GetLineLength(a.x, a.y, b.x, b.y);
}

float Midpoint(float a, float b) {
  return (a + b) / 2.0f;
}

// -1 or 1; zero counts as 1.
float SignOf(float v) {
  return v < 0.0f ? -1.0f : 1.0f;
}

// Lengths compared the way the tools compare them: in whole units, truncated.
bool SameWhole(float a, float b) {
  if (!std::isfinite(a) || !std::isfinite(b)) return false;
  return std::trunc(a) == std::trunc(b);
}

FloatPoint At(const PointRec* p) {
  return {p->x, p->y};
}

// An oval whose first four points give equal diameters in whole units.
bool CircleOfOval(const ObjectRec* object, CircleTarget* out) {
  const PointRec* q[4];
  const PointRec* p = object->firstPoint;
  for (int i = 0; i < 4; ++i, p = p->nextPoint) {
    if (!p) return false;  // a damaged oval: no four points to measure
    q[i] = p;
  }
  const float d1 = Distance(At(q[0]), At(q[2])), d2 = Distance(At(q[1]), At(q[3]));
  if (!SameWhole(d1, d2)) return false;
  out->centre = {Midpoint(q[0]->x, q[2]->x), Midpoint(q[0]->y, q[2]->y)};
  out->diameter = d1;
  return true;
}

// The hit point of a circular arc: its distance from the arc's centre (the arc's last point)
// agrees with that of its neighbour, the previous point or else the next.
bool CircleOfArc(const ObjectRec* object, const PointRec* hit, CircleTarget* out) {
  if (!hit || hit->pointKind != kArcPoint) return false;
  const PointRec* centre = object->firstPoint;
  while (centre && centre->nextPoint) centre = centre->nextPoint;
  if (!centre || centre->pointKind != kArcCentrePoint) return false;
  const PointRec* neighbour = hit->prevPoint ? hit->prevPoint : hit->nextPoint;
  if (!neighbour) return false;
  const float r = Distance(At(centre), At(hit));
  if (!SameWhole(r, Distance(At(centre), At(neighbour)))) return false;
  out->centre = At(centre);
  out->diameter = 2.0f * r;
  return true;
}

// A fillet next to the hit point: its middle is the first point of kind 3 among the hit point's
// predecessor, the hit point and its successor; the fillet's centre marker stands three places
// before the middle. A middle too near the start of the list has no centre and measures nothing.
bool CircleOfFillet(const PointRec* hit, CircleTarget* out) {
  if (!hit) return false;
  const PointRec* candidates[3] = {hit->prevPoint, hit, hit->nextPoint};
  const PointRec* middle = nullptr;
  for (const PointRec* p : candidates)
    if (p && p->pointKind == kFilletMiddlePoint) {
      middle = p;
      break;
    }
  if (!middle) return false;
  const PointRec* centre = middle;
  for (int i = 0; i < 3 && centre; ++i) centre = centre->prevPoint;
  if (!centre || centre->pointKind != kFilletMarkerPoint) return false;
  out->centre = At(centre);
  out->diameter = 2.0f * Distance(At(centre), At(middle));
  return true;
}

}  // namespace

bool OffsetDimIsVertical(FloatPoint a, FloatPoint b, FloatPoint c) {
  const float dx = std::fabs(c.x - Midpoint(a.x, b.x));
  const float dy = std::fabs(c.y - Midpoint(a.y, b.y));
  return a.x == b.x || (dy < dx && a.y != b.y);
}

bool GetOffsetDimState(FloatPoint a, FloatPoint b, FloatPoint o, FloatPoint c, DimSegment out[3]) {
  const bool vertical = OffsetDimIsVertical(a, b, c);
  if (vertical) {
    const float s = SignOf(c.x - b.x), t = SignOf(c.x - a.x);
    out[0] = {{b.x + kDimBandGap * s, b.y}, {o.x + kDimBandOvershoot * s, b.y}};
    out[1] = {{a.x + kDimBandGap * t, a.y}, {o.x + kDimBandOvershoot * t, a.y}};
    out[2] = {{o.x, b.y}, {o.x, a.y}};
  } else {
    const float s = SignOf(c.y - b.y), t = SignOf(c.y - a.y);
    out[0] = {{b.x, b.y + kDimBandGap * s}, {b.x, o.y + kDimBandOvershoot * s}};
    out[1] = {{a.x, a.y + kDimBandGap * t}, {a.x, o.y + kDimBandOvershoot * t}};
    out[2] = {{b.x, o.y}, {a.x, o.y}};
  }
  return vertical;
}

void GetLengthDimOffset(FloatPoint a, FloatPoint b, FloatPoint o, LengthDimOffset* out) {
  const float theta = AngleOf(a, b);
  const float left = theta + kQuarterTurn, right = theta - kQuarterTurn;
  const float toLeft = Distance(Along(a, left, kNormalTestDistance), o);
  const float toRight = Distance(Along(a, right, kNormalTestDistance), o);
  out->normal = toLeft < toRight ? left : right;
  FloatPoint foot = a;
  GetPerpIntersection(a.x, a.y, b.x, b.y, o.x, o.y, &foot.x, &foot.y);
  out->distance = Distance(o, foot);
  out->v = Along(FloatPoint{0.0f, 0.0f}, out->normal, out->distance);
}

void GetLengthDimState(FloatPoint a, FloatPoint b, FloatPoint o, DimSegment out[3]) {
  LengthDimOffset off;
  GetLengthDimOffset(a, b, o, &off);
  const float reach = off.distance + kDimBandOvershoot;
  out[0] = {{a.x + off.v.x, a.y + off.v.y}, {b.x + off.v.x, b.y + off.v.y}};
  out[1] = {Along(a, off.normal, kDimBandGap), Along(a, off.normal, reach)};
  out[2] = {Along(b, off.normal, kDimBandGap), Along(b, off.normal, reach)};
}

float AngleSweep(float a1, float a2) {
  float sweep = a2 - a1;
  while (sweep > kHalfTurn) sweep -= 2.0f * kHalfTurn;
  while (sweep < -kHalfTurn) sweep += 2.0f * kHalfTurn;
  return sweep;
}

void GetAngleDimState(FloatPoint v, FloatPoint p1, FloatPoint c, DimSegment lines[2], DimArc* arc) {
  const float a1 = AngleOf(v, p1);
  float r = 0.0f;
  const float a2 = AngleOf(v, c, &r);
  lines[0] = {Along(p1, a1, kDimBandGap), Along(v, a1, r + kDimBandOvershoot)};
  lines[1] = {Along(v, a2, kDimBandGap), Along(v, a2, r + kDimBandOvershoot)};
  *arc = DimArc{v, r, a1, AngleSweep(a1, a2)};
}

void GetStretchAngDimState(FloatPoint v, FloatPoint p1, FloatPoint q, FloatPoint c, DimSegment lines[2],
                           DimArc* arc) {
  const float a1 = AngleOf(v, p1), a2 = AngleOf(v, q);
  const float r = Distance(v, c);
  lines[0] = {Along(p1, a1, kDimBandGap), Along(v, a1, r + kDimBandOvershoot)};
  lines[1] = {Along(q, a2, kDimBandGap), Along(v, a2, r + kDimBandOvershoot)};
  *arc = DimArc{v, r, a1, AngleSweep(a1, a2)};
}

void GetAngleDimArcEnds(FloatPoint v, FloatPoint p1, FloatPoint q, FloatPoint r, FloatPoint* s1,
                        FloatPoint* s2) {
  const float radius = Distance(v, r);
  *s1 = Along(v, AngleOf(v, p1), radius);
  *s2 = Along(v, AngleOf(v, q), radius);
}

bool FindDiameterTarget(const ClickInfo& info, CircleTarget* out) {
  const ObjectRec* object = info.object;
  if (!info.hit || !object || !out || object->kind != kOvalKind) return false;
  return CircleOfOval(object, out);
}

bool FindRadiusTarget(const ClickInfo& info, CircleTarget* out) {
  const ObjectRec* object = info.object;
  if (!info.hit || !object || !out) return false;
  switch (object->kind) {
    case kOvalKind:
      return CircleOfOval(object, out);
    case kArcKind:
      return CircleOfArc(object, info.point, out);
    case kPolyKind:
      return CircleOfFillet(info.point, out);
    default:
      return false;
  }
}

void GetCircleDimState(const CircleTarget& target, FloatPoint c, bool diameter, CircleDimState* out) {
  const float half = target.diameter / 2.0f;
  float distance = 0.0f;
  out->angle = AngleOf(target.centre, c, &distance);
  out->outside = distance - half;
  out->onCircle = Along(target.centre, out->angle, half);
  out->opposite = Along(target.centre, out->angle + kHalfTurn, half);
  out->hasShoulder = out->outside > 0.0f;
  const FloatPoint end = out->hasShoulder ? c : out->onCircle;
  out->line = diameter ? DimSegment{end, out->opposite} : DimSegment{target.centre, end};
  const float across = end.x > target.centre.x ? kDimShoulderLength : -kDimShoulderLength;
  out->shoulder = {end, {end.x + across, end.y}};
}

FloatPoint ConstrainLeaderEnd(FloatPoint start, FloatPoint end, bool shift) {
  if (!shift) return end;
  if (std::fabs(end.x - start.x) <= std::fabs(end.y - start.y))
    end.x = start.x;
  else
    end.y = start.y;
  return end;
}
