// Parallel copies of a shape.
#include "model/parallel.h"

#include <cmath>
#include <vector>

#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"

namespace {

struct Vec {
  double x, y;
};

Vec Minus(const Vec& a, const Vec& b) {
  return Vec{a.x - b.x, a.y - b.y};
}
double Cross(const Vec& a, const Vec& b) {
  return a.x * b.y - a.y * b.x;
}

// Segments meeting at less than this sine of their angle are taken as running on one line.
constexpr double kParallelSine = 1e-6;

// The outline points, markers passed over and repeats of the previous point dropped; a closed
// outline also drops a last point that repeats the first.
std::vector<Vec> OutlineOf(const ObjectRec* object) {
  std::vector<Vec> points;
  for (const PointRec* p = object->firstPoint; p; p = p->nextPoint) {
    if (IsMarkerPointKind(p->pointKind)) continue;
    const Vec v{p->x, p->y};
    if (!points.empty() && points.back().x == v.x && points.back().y == v.y) continue;
    points.push_back(v);
  }
  if (object->closed && points.size() > 1 && points.back().x == points.front().x &&
      points.back().y == points.front().y)
    points.pop_back();
  return points;
}

// Twice the signed area of the polygon the points enclose, in page coordinates (y downward).
double TwiceSignedArea(const std::vector<Vec>& points) {
  double sum = 0.0;
  for (size_t i = 0; i < points.size(); ++i) sum += Cross(points[i], points[(i + 1) % points.size()]);
  return sum;
}

// The page vector `distance` long to the left (direction +1) or right (-1) of the segment a-b
// as the user sees it (y upward): on the page, left of (dx, dy) is (dy, -dx).
Vec SideOffset(const Vec& a, const Vec& b, int direction, double distance) {
  const Vec d = Minus(b, a);
  const double length = std::sqrt(d.x * d.x + d.y * d.y);
  if (length == 0.0) return Vec{0.0, 0.0};
  const double scale = direction * distance / length;
  return Vec{d.y * scale, -d.x * scale};
}

int DirectionOf(const std::vector<Vec>& points) {
  if (points.size() < 2) return 1;
  // A positive page area runs clockwise on the screen: the inside is then on the right of every
  // segment. No area at all (a straight line) counts as that too.
  return TwiceSignedArea(points) < 0.0 ? 1 : -1;
}

// Where the segment before and the segment after `corner` meet once both moved sideways.
Vec OffsetCorner(const Vec& before, const Vec& corner, const Vec& after, int direction, double distance) {
  const Vec in = SideOffset(before, corner, direction, distance);
  const Vec out = SideOffset(corner, after, direction, distance);
  const Vec u = Minus(corner, before), w = Minus(after, corner);
  const double cross = Cross(u, w);
  const double lengths = std::sqrt((u.x * u.x + u.y * u.y) * (w.x * w.x + w.y * w.y));
  if (std::fabs(cross) <= kParallelSine * lengths) return Vec{corner.x + in.x, corner.y + in.y};
  // corner + in + t u = corner + out + s w.
  const double t = Cross(Minus(out, in), w) / cross;
  return Vec{corner.x + in.x + t * u.x, corner.y + in.y + t * u.y};
}

}  // namespace

int GetParallelDirection(const ObjectRec* object) {
  return object ? DirectionOf(OutlineOf(object)) : 1;
}

void GetParallelPoints(const PointRec* a, const PointRec* b, float* ax, float* ay, float* bx, float* by,
                       int direction, float distance) {
  if (!a || !b || !ax || !ay || !bx || !by) return;
  const Vec offset = SideOffset(Vec{a->x, a->y}, Vec{b->x, b->y}, direction, distance);
  *ax = static_cast<float>(a->x + offset.x);
  *ay = static_cast<float>(a->y + offset.y);
  *bx = static_cast<float>(b->x + offset.x);
  *by = static_cast<float>(b->y + offset.y);
}

ObjectRec* CreateParallelObject(const ObjectRec* object, int side, float distance) {
  if (!object || !object->layer || !std::isfinite(distance)) return nullptr;
  if (side != kParallelInsideSide && side != kParallelOutsideSide) return nullptr;
  const std::vector<Vec> points = OutlineOf(object);
  const size_t n = points.size();
  if (n < 2) return nullptr;
  int direction = DirectionOf(points);
  if (side == kParallelOutsideSide) direction = -direction;

  std::vector<Vec> moved(n);
  const bool closed = object->closed && n > 2;
  for (size_t i = 0; i < n; ++i) {
    if (closed) {
      moved[i] = OffsetCorner(points[(i + n - 1) % n], points[i], points[(i + 1) % n], direction, distance);
    } else if (i == 0) {
      const Vec o = SideOffset(points[0], points[1], direction, distance);
      moved[i] = Vec{points[0].x + o.x, points[0].y + o.y};
    } else if (i == n - 1) {
      const Vec o = SideOffset(points[n - 2], points[n - 1], direction, distance);
      moved[i] = Vec{points[i].x + o.x, points[i].y + o.y};
    } else {
      moved[i] = OffsetCorner(points[i - 1], points[i], points[i + 1], direction, distance);
    }
  }

  ObjectRec* copy = CreateObject(object->kind, object->closed, object->objectFlag, &object->fillColor,
                                 &object->penColor, object->lineWeight, object->lineType, object->fillPattern,
                                 &object->bounds, nullptr, nullptr, nullptr, object->layer, nullptr);
  if (!copy) return nullptr;
  PointRec* tail = nullptr;
  for (const Vec& v : moved) {
    PointRec* point = CreatePoint(kVertexPoint, 1, 0, 0.0f, 0.0f, static_cast<float>(v.x),
                                  static_cast<float>(v.y), 0.0f, 0.0f, copy);
    if (!point) {
      DeleteObj(copy);
      return nullptr;
    }
    LinkPointAfter(point, copy, tail);
    tail = point;
  }
  AppendObjectToLayer(copy, object->layer);
  UpdateObjectBounds(copy);
  return copy;
}
