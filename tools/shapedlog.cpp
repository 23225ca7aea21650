// The shape dialogs' numbers as page figures.
#include "tools/shapedlog.h"

#include <cmath>
#include <cstddef>

#include "geometry/gnrlmath.h"
#include "geometry/units.h"
#include "tools/buildobj.h"
#include "tools/traksupp.h"

namespace {

float PageLength(float world, const DocState* state) {
  return ConvertWorldToScreen(world, state, false);
}

bool FiniteRect(const FloatRect& r) {
  return std::isfinite(r.top) && std::isfinite(r.left) && std::isfinite(r.bottom) && std::isfinite(r.right);
}

// The box of the given page size whose point at fractions (fx, fy) of its width and height
// (0 left or top, 1 right or bottom) is `at`.
FloatRect BoxAround(FloatPoint at, float width, float height, float fx, float fy) {
  const float left = at.x - width * fx, top = at.y - height * fy;
  return FloatRect{top, left, top + height, left + width};
}

// The box whose `anchor` point is the user position `start`, checked.
ShapeFault AnchoredBox(FloatPoint start, float width, float height, float fx, float fy, const DocState* state,
                       FloatRect* page) {
  const float w = PageLength(std::fabs(width), state), h = PageLength(std::fabs(height), state);
  if (w == 0.0f || h == 0.0f) return kShapeNoSize;
  const FloatRect box = BoxAround(UserPointToPage(start, state), w, h, fx, fy);
  if (!FiniteRect(box) || !std::isfinite(w) || !std::isfinite(h)) return kShapeOutOfRange;
  // A size too small for a float to tell the box's sides apart is no size either.
  if (box.left == box.right || box.top == box.bottom) return kShapeNoSize;
  *page = box;
  return kShapeOk;
}

// Where the start point lies on the box, as fractions of its width and height from the top-left
// corner, by anchor. Page y grows downward, so an upper-left start extends right and down.
constexpr FloatPoint kRectAnchorAt[] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.5f, 0.5f}};
constexpr FloatPoint kOvalAnchorAt[] = {{0.5f, 0.5f}, {0.0f, 0.5f}, {1.0f, 0.5f}, {0.5f, 0.0f}, {0.5f, 1.0f}};

// An anchor outside the table counts as its first.
template <size_t n>
FloatPoint AnchorAt(const FloatPoint (&table)[n], int anchor) {
  return table[anchor >= 0 && static_cast<size_t>(anchor) < n ? anchor : 0];
}

}  // namespace

FloatPoint UserPointToPage(FloatPoint user, const DocState* state) {
  const float originH = state ? state->originH : 0.0f, originV = state ? state->originV : 0.0f;
  return FloatPoint{originH + PageLength(user.x, state), originV - PageLength(user.y, state)};
}

FloatPoint PolarUserPoint(FloatPoint from, float degrees, float length) {
  const double a = degrees * kDegreesToRadians;
  return FloatPoint{static_cast<float>(from.x + length * std::cos(a)),
                    static_cast<float>(from.y + length * std::sin(a))};
}

void UserPointToPolar(FloatPoint from, FloatPoint to, float* degrees, float* length) {
  const double dx = static_cast<double>(to.x) - from.x, dy = static_cast<double>(to.y) - from.y;
  *length = static_cast<float>(std::hypot(dx, dy));
  *degrees = (dx == 0.0 && dy == 0.0) ? 0.0f : static_cast<float>(std::atan2(dy, dx) * kRadiansToDegrees);
}

ShapeFault RectFromDialog(FloatPoint start, float width, float height, RectAnchor anchor,
                          const DocState* state, FloatRect* page) {
  const FloatPoint at = AnchorAt(kRectAnchorAt, anchor);
  return AnchoredBox(start, width, height, at.x, at.y, state, page);
}

ShapeFault OvalBoxFromDialog(FloatPoint start, float width, float height, OvalAnchor anchor,
                             const DocState* state, FloatRect* page) {
  const FloatPoint at = AnchorAt(kOvalAnchorAt, anchor);
  return AnchoredBox(start, width, height, at.x, at.y, state, page);
}

ShapeFault MultigonFromDialog(FloatPoint start, float width, float height, OvalAnchor anchor,
                              const DocState* state, FloatPoint* centre, FloatPoint* lastVertex) {
  FloatRect box;
  const ShapeFault fault = OvalBoxFromDialog(start, width, height, anchor, state, &box);
  if (fault != kShapeOk) return fault;
  const float cx = (box.left + box.right) / 2.0f, cy = (box.top + box.bottom) / 2.0f;
  const float r = std::fmax(box.right - box.left, box.bottom - box.top) / 2.0f;
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r)) return kShapeOutOfRange;
  *centre = FloatPoint{cx, cy};
  *lastVertex = FloatPoint{cx, cy - r};
  return kShapeOk;
}

ShapeFault CircularArcFromDialog(FloatPoint start, float radius, float startDeg, float arcDeg,
                                 const DocState* state, ArcFigure* arc) {
  if (!std::isfinite(arcDeg) || arcDeg == 0.0f || std::fabs(arcDeg) > kMaxArcSweep) return kShapeBadSweep;
  const float r = PageLength(std::fabs(radius), state);
  if (r == 0.0f) return kShapeNoRadius;
  if (!std::isfinite(startDeg) || !std::isfinite(r)) return kShapeOutOfRange;
  // Any number of whole turns names the same direction; keeping it small keeps the builder's
  // angles precise.
  const float direction = std::fmod(startDeg, 360.0f);
  // The centre lies a radius behind the start point, against the start direction.
  const FloatPoint centre = UserPointToPage(PolarUserPoint(start, direction, -std::fabs(radius)), state);
  const FloatRect box{centre.y - r, centre.x - r, centre.y + r, centre.x + r};
  if (!FiniteRect(box)) return kShapeOutOfRange;
  if (box.left == box.right || box.top == box.bottom) return kShapeNoRadius;
  *arc = ArcFigure{box, direction, arcDeg};
  return kShapeOk;
}

ShapeFault EllipticalArcFromDialog(FloatPoint start, FloatPoint end, const DocState* state, ArcFigure* arc) {
  const FloatPoint a = UserPointToPage(start, state), b = UserPointToPage(end, state);
  if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
    return kShapeOutOfRange;
  // A quarter ellipse needs a width and a height between its ends.
  if (a.x == b.x || a.y == b.y) return kShapeSamePoints;
  FloatRect box;
  int16_t startDeg = 0, arcDeg = 0;
  GetQuarterArc(a.x, a.y, b.x, b.y, &box, &startDeg, &arcDeg);
  if (!FiniteRect(box)) return kShapeOutOfRange;
  *arc = ArcFigure{box, static_cast<float>(startDeg), static_cast<float>(arcDeg)};
  return kShapeOk;
}

ShapeFault LineFromDialog(FloatPoint start, FloatPoint end, const DocState* state, FloatPoint* pageStart,
                          FloatPoint* pageEnd) {
  const FloatPoint a = UserPointToPage(start, state), b = UserPointToPage(end, state);
  if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
    return kShapeOutOfRange;
  if (a.x == b.x && a.y == b.y) return kShapeSamePoints;
  *pageStart = a;
  *pageEnd = b;
  return kShapeOk;
}
