// Fillet, chamfer and trim: the geometry of each and the steps of their mouse tools. The
// feedback drawing is the Windows build's (fillet_win.cpp); the host build draws nothing.
#include "tools/fillet.h"

#include <cmath>

#include "geometry/geometry.h"
#include "geometry/gnrlmath.h"
#include "geometry/zoomhdlr.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "model/recpool.h"
#include "tools/selhndlr.h"
#include "tools/toolhooks.h"
#include "tools/traksupp.h"
#include "tools/undo.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
// A corner whose half angle has a sine or cosine below this is straight: its neighbours lie in
// line with it, and no circle touches both edges.
constexpr double kStraightLimit = 1e-4;
// The points a fillet adds to its object: two markers, the middle and the second tangent point.
constexpr int kFilletAddedPoints = 4;

double Direction(const PointRec* from, const PointRec* to) {
  return std::atan2(static_cast<double>(to->y) - from->y, static_cast<double>(to->x) - from->x);
}

double Distance(float x1, float y1, float x2, float y2) {
  return std::hypot(static_cast<double>(x2) - x1, static_cast<double>(y2) - y1);
}

// Half the turn from direction a1 to direction a2, the turn brought into [-pi, pi].
double HalfTurn(double a1, double a2) {
  double h = a2 - a1;
  if (h > kPi) h -= 2.0 * kPi;
  if (h < -kPi) h += 2.0 * kPi;
  return h / 2.0;
}

// The corner's directions towards its neighbours and their half turn; false when the corner is
// straight or a neighbour lies on it.
bool CornerAngles(const PointRec* corner, const PointRec* previous, const PointRec* next, double* a1,
                  double* a2, double* h) {
  if (!corner || !previous || !next) return false;
  if ((previous->x == corner->x && previous->y == corner->y) ||
      (next->x == corner->x && next->y == corner->y))
    return false;
  *a1 = Direction(corner, previous);
  *a2 = Direction(corner, next);
  *h = HalfTurn(*a1, *a2);
  return std::fabs(std::sin(*h)) >= kStraightLimit && std::fabs(std::cos(*h)) >= kStraightLimit;
}

void PlaceAlong(PointRec* p, const PointRec* from, double angle, double distance) {
  p->x = static_cast<float>(from->x + distance * std::cos(angle));
  p->y = static_cast<float>(from->y + distance * std::sin(angle));
}

void RotateInto(float x, float y, double angle, float* outX, float* outY) {
  const double c = std::cos(angle), s = std::sin(angle);
  *outX = static_cast<float>(x * c - y * s);
  *outY = static_cast<float>(x * s + y * c);
}

// The tangents of the arc about `centre` from tangent1 through middle to tangent2: each half is
// the curve sampler's circular arc turned into place.
void SetArcTangents(float radius, const PointRec* centre, PointRec* tangent1, PointRec* middle,
                    PointRec* tangent2) {
  const double start = Direction(centre, tangent1);
  double sweep = (Direction(centre, tangent2) - start) / kRadiansPerDegree;
  while (sweep > 180.0) sweep -= 360.0;
  while (sweep < -180.0) sweep += 360.0;
  const double half = sweep / 2.0 * kRadiansPerDegree;
  float x0, tx0, tx1, x1, y0, ty0, ty1, y1;
  BuildRadiusSpline(static_cast<float>(half), radius, &x0, &tx0, &tx1, &x1, &y0, &ty0, &ty1, &y1);
  const double firstMid = start + half / 2.0, secondMid = start + half * 1.5;
  RotateInto(tx0, ty0, firstMid, &tangent1->outTangentX, &tangent1->outTangentY);
  RotateInto(tx1, ty1, firstMid, &middle->inTangentX, &middle->inTangentY);
  RotateInto(tx0, ty0, secondMid, &middle->outTangentX, &middle->outTangentY);
  RotateInto(tx1, ty1, secondMid, &tangent2->inTangentX, &tangent2->inTangentY);
}

PointRec* LastPointOf(const ObjectRec* object) {
  PointRec* p = object->firstPoint;
  while (p && p->nextPoint) p = p->nextPoint;
  return p;
}

// Takes a point out of its object's list and frees it.
void RemovePoint(ObjectRec* object, PointRec* point) {
  if (point->prevPoint)
    point->prevPoint->nextPoint = point->nextPoint;
  else
    object->firstPoint = point->nextPoint;
  if (point->nextPoint) point->nextPoint->prevPoint = point->prevPoint;
  FreePointRecord(point);
}

PointRec* NewPointLike(int16_t kind, const PointRec* model, ObjectRec* owner) {
  return CreatePoint(kind, model->selected, model->locked, 0, 0, model->x, model->y, 0, 0, owner);
}

void UpdateBoundsUp(ObjectRec* object) {
  UpdateObjectBounds(object);
  for (ObjectRec* parent = object->parent; parent; parent = parent->parent)
    UpdateObjectRootBounds(parent, false, false);
  NoteModelChange();
}

bool MayEditCorners(const ObjectRec* object) {
  return object && IsShapeKind(object->kind) && object->kind != kLineKind && gCurDocument &&
         gCurDocument->docState;
}

// ---- the fillet group ----

struct FilletGroup {
  PointRec *first, *corner, *tangent1, *middle, *tangent2;
  PointRec *previous, *next;
};

// The previous vertex is the point before the group (the last point when the group starts the
// list); the next vertex the first point after it of kind neither 2 nor 4, searched round.
bool ReadFilletGroup(PointRec* first, FilletGroup* g) {
  if (!first || first->pointKind != kFilletMarkerPoint) return false;
  ObjectRec* object = first->ownerObject;
  g->first = first;
  g->corner = first->nextPoint;
  g->tangent1 = g->corner ? g->corner->nextPoint : nullptr;
  g->middle = g->tangent1 ? g->tangent1->nextPoint : nullptr;
  g->tangent2 = g->middle ? g->middle->nextPoint : nullptr;
  if (!object || !g->tangent2 || g->corner->pointKind != kFilletMarkerPoint ||
      g->middle->pointKind != kFilletMiddlePoint || IsMarkerPointKind(g->tangent1->pointKind) ||
      IsMarkerPointKind(g->tangent2->pointKind))
    return false;
  g->previous = first->prevPoint ? first->prevPoint : LastPointOf(object);
  g->next = NextOutlineVertex(g->tangent2);
  return g->previous && g->next && g->previous != g->tangent2 && g->next != g->first;
}

// The fillet dragged now.
struct FilletDrag {
  ObjectRec* object = nullptr;
  PointRec* first = nullptr;
  bool inserted = false;  // the press inserted the group
  int16_t formerKind = 0;
  bool drawn = false;
  float radius = 0.0f;
  PointRec centre = {}, tangent1 = {}, tangent2 = {};
};

FilletDrag gFillet;

void EraseFilletFeedback() {
  if (!gFillet.drawn) return;
  DrawFillet(gFillet.radius, &gFillet.centre, &gFillet.tangent1, &gFillet.tangent2);
  gFillet.drawn = false;
}

// Positions 1 .. 5 for the mouse at (x, y); 0 when nothing is built.
float BuildFilletAt(FilletGroup* g, float x, float y, uint16_t modifiers, bool draw, bool sizeIsRadius) {
  const float size = static_cast<float>(Distance(x, y, g->corner->x, g->corner->y));
  if (size == 0.0f) return 0.0f;
  if (modifiers & kTrackShift)
    return BuildInvertedFillet(g->first, g->previous, g->next, g->corner, g->tangent1, g->middle, g->tangent2,
                               size, draw);
  return BuildStandardFillet(g->first, g->previous, g->next, g->corner, g->tangent1, g->middle, g->tangent2,
                             size, draw, sizeIsRadius);
}

// Replaces the corner by a fillet group of points all at the corner; the object becomes a Poly.
PointRec* InsertFilletGroup(ObjectRec* object, PointRec* corner) {
  PointRec* added[kFilletAddedPoints] = {
      NewPointLike(kFilletMarkerPoint, corner, object), NewPointLike(kFilletMarkerPoint, corner, object),
      NewPointLike(kFilletMiddlePoint, corner, object), NewPointLike(kVertexPoint, corner, object)};
  for (PointRec* p : added)
    if (!p) {
      for (PointRec* q : added)
        if (q) FreePointRecord(q);
      return nullptr;
    }
  // The second tangent point leads on to the next vertex as the corner did.
  added[3]->outTangentX = corner->outTangentX;
  added[3]->outTangentY = corner->outTangentY;
  corner->outTangentX = corner->outTangentY = 0.0f;
  InsertPointInObject(added[0], object, corner->prevPoint);
  InsertPointInObject(added[1], object, added[0]);
  InsertPointInObject(added[2], object, corner);
  InsertPointInObject(added[3], object, added[2]);
  object->kind = kPolyKind;
  NoteModelChange();
  return added[0];
}

// A press that did not drag: the group it inserted goes again.
void RemoveFilletGroup(const FilletGroup& g) {
  g.tangent1->outTangentX = g.tangent2->outTangentX;
  g.tangent1->outTangentY = g.tangent2->outTangentY;
  ObjectRec* object = g.first->ownerObject;
  for (PointRec* p : {g.first, g.corner, g.middle, g.tangent2}) RemovePoint(object, p);
  object->kind = gFillet.formerKind;
  NoteModelChange();
}

void StartFillet(const ClickInfo* info) {
  gFillet = FilletDrag{};
  ObjectRec* object = info ? info->object : nullptr;
  PointRec* point = info && info->pointHit ? info->point : nullptr;
  if (!point || !MayEditCorners(object) || point->ownerObject != object) return;
  PointRec* first = nullptr;
  if (point->pointKind == kFilletMarkerPoint) {
    first = FilletGroupOf(point);
    if (!first) return;
    RecordUndoPointEditBefore(object);
  } else {
    if (!IsCornerForFillet(object, point)) return;
    RecordUndoPointEditBefore(object);
    gFillet.formerKind = object->kind;
    first = InsertFilletGroup(object, point);
    if (!first) return;
    gFillet.inserted = true;
  }
  gFillet.object = object;
  gFillet.first = first;
}

void FinishFillet(float x, float y, uint16_t modifiers, bool sizeIsRadius) {
  FilletGroup g;
  if (!ReadFilletGroup(gFillet.first, &g)) return;
  const float radius = BuildFilletAt(&g, x, y, modifiers, false, sizeIsRadius);
  if (radius == 0.0f) {
    if (gFillet.inserted) RemoveFilletGroup(g);
    return;
  }
  if (modifiers & kTrackShift)
    BuildInvertedFilletSplines(radius, g.first, g.corner, g.tangent1, g.middle, g.tangent2);
  else
    BuildFilletSplines(radius, g.first, g.corner, g.tangent1, g.middle, g.tangent2);
  UpdateBoundsUp(gFillet.object);
  RecordUndoPointEditDone(nullptr);
  RefreshDrawing();
}

// ---- chamfer ----

struct ChamferDrag {
  ObjectRec* object = nullptr;
  PointRec* corner = nullptr;
  bool drawn = false;
  float d = 0.0f;
};

ChamferDrag gChamfer;

void EraseChamferFeedback() {
  if (!gChamfer.drawn) return;
  DrawChamfer(gChamfer.corner, PreviousOutlinePoint(gChamfer.corner), NextOutlineVertex(gChamfer.corner),
              gChamfer.d);
  gChamfer.drawn = false;
}

// ---- trim ----

// The part of the list after p1 (markers up to p2 included) is taken over by whoever follows
// the cut, so a fillet group after the cut stays whole.
void ScaleCutTangents(PointRec* p1, PointRec* p2, PointRec* end, PointRec* start, float t, float tx,
                      float ty) {
  p1->outTangentX *= t;
  p1->outTangentY *= t;
  p2->inTangentX *= 1.0f - t;
  p2->inTangentY *= 1.0f - t;
  if (end) {
    end->inTangentX = tx * t;
    end->inTangentY = ty * t;
  }
  start->outTangentX = tx * (1.0f - t);
  start->outTangentY = ty * (1.0f - t);
}

void LineWhenTwoPoints(ObjectRec* object) {
  if (CountObjectPoints(object) == 2) object->kind = kLineKind;
}

bool IsCuttableEnd(const PointRec* p) {
  return p && p->pointKind != kFilletMarkerPoint && p->pointKind != kFilletMiddlePoint &&
         p->pointKind != kArcCentrePoint;
}

// A cut at the very end of a segment is the point cut at p2.
void NormaliseCut(PointRec** p1, PointRec** p2, float* t) {
  if (*t < 1.0f) return;
  PointRec* at = *p2;
  *p1 = at;
  *p2 = NextOutlineVertex(at);
  *t = 0.0f;
}

}  // namespace

// ---- shared ----

PointRec* PreviousOutlinePoint(PointRec* point) {
  if (!point || !point->ownerObject) return nullptr;
  PointRec* p = point;
  for (;;) {
    p = p->prevPoint ? p->prevPoint : LastPointOf(point->ownerObject);
    if (!p || p == point) return nullptr;
    if (!IsMarkerPointKind(p->pointKind)) return p;
  }
}

PointRec* NextOutlineVertex(PointRec* point) {
  if (!point || !point->ownerObject) return nullptr;
  PointRec* p = point;
  for (;;) {
    p = p->nextPoint ? p->nextPoint : point->ownerObject->firstPoint;
    if (!p || p == point) return nullptr;
    if (!IsMarkerPointKind(p->pointKind)) return p;
  }
}

bool IsCornerForFillet(const ObjectRec* object, PointRec* point) {
  if (!MayEditCorners(object) || !point || point->ownerObject != object ||
      IsMarkerPointKind(point->pointKind))
    return false;
  if (!object->closed) {
    // The open ends have one neighbour only.
    bool before = false, after = false;
    for (const PointRec* p = point->prevPoint; p && !before; p = p->prevPoint)
      before = !IsMarkerPointKind(p->pointKind);
    for (const PointRec* p = point->nextPoint; p && !after; p = p->nextPoint)
      after = !IsMarkerPointKind(p->pointKind);
    if (!before || !after) return false;
  }
  double a1, a2, h;
  return CornerAngles(point, PreviousOutlinePoint(point), NextOutlineVertex(point), &a1, &a2, &h);
}

PointRec* FilletGroupOf(PointRec* marker) {
  if (!marker || marker->pointKind != kFilletMarkerPoint) return nullptr;
  PointRec* first =
      marker->nextPoint && marker->nextPoint->pointKind == kFilletMarkerPoint ? marker : marker->prevPoint;
  FilletGroup g;
  return ReadFilletGroup(first, &g) ? first : nullptr;
}

// ---- fillet ----

float BuildStandardFillet(PointRec* first, const PointRec* previous, const PointRec* next,
                          const PointRec* corner, PointRec* tangent1, PointRec* middle, PointRec* tangent2,
                          float size, bool draw, bool sizeIsRadius) {
  double a1, a2, h;
  if (!first || !tangent1 || !middle || !tangent2 || !CornerAngles(corner, previous, next, &a1, &a2, &h))
    return 0.0f;
  const double sinH = std::fabs(std::sin(h)), cosH = std::fabs(std::cos(h));
  const double s = sizeIsRadius ? std::fabs(size / sinH) : size;
  const double radius = sizeIsRadius ? size : sinH * s;
  const double t = cosH * s;
  const double bisector = a1 + h;
  PlaceAlong(tangent1, corner, a1, t);
  PlaceAlong(tangent2, corner, a2, t);
  PlaceAlong(middle, corner, bisector, s - radius);
  PlaceAlong(first, corner, bisector, s);
  if (draw) DrawFillet(static_cast<float>(radius), first, tangent1, tangent2);
  return static_cast<float>(radius);
}

float BuildInvertedFillet(PointRec* first, const PointRec* previous, const PointRec* next,
                          const PointRec* corner, PointRec* tangent1, PointRec* middle, PointRec* tangent2,
                          float size, bool draw) {
  double a1, a2, h;
  if (!first || !tangent1 || !middle || !tangent2 || !CornerAngles(corner, previous, next, &a1, &a2, &h))
    return 0.0f;
  PlaceAlong(tangent1, corner, a1, size);
  PlaceAlong(tangent2, corner, a2, size);
  PlaceAlong(middle, corner, a1 + h, size);
  first->x = corner->x;
  first->y = corner->y;
  if (draw) DrawFillet(size, corner, tangent1, tangent2);
  return size;
}

void BuildFilletSplines(float radius, const PointRec* first, const PointRec*, PointRec* tangent1,
                        PointRec* middle, PointRec* tangent2) {
  if (first && tangent1 && middle && tangent2) SetArcTangents(radius, first, tangent1, middle, tangent2);
}

void BuildInvertedFilletSplines(float radius, const PointRec*, const PointRec* corner, PointRec* tangent1,
                                PointRec* middle, PointRec* tangent2) {
  if (corner && tangent1 && middle && tangent2) SetArcTangents(radius, corner, tangent1, middle, tangent2);
}

void SupportTrackFillet(float x, float y, int16_t stage, const ClickInfo* info, uint16_t modifiers,
                        bool sizeIsRadius) {
  if (stage == kStagePress) {
    StartFillet(info);
    return;
  }
  if (!gFillet.object) return;
  EraseFilletFeedback();
  if (stage == kStageRelease) {
    FinishFillet(x, y, modifiers, sizeIsRadius);
    gFillet = FilletDrag{};
    return;
  }
  // A move: the feedback of a copy of the group; the points change at the release.
  FilletGroup g;
  if (!ReadFilletGroup(gFillet.first, &g)) return;
  PointRec first = *g.first, tangent1 = *g.tangent1, middle = *g.middle, tangent2 = *g.tangent2;
  g.first = &first;
  g.tangent1 = &tangent1;
  g.middle = &middle;
  g.tangent2 = &tangent2;
  const float radius = BuildFilletAt(&g, x, y, modifiers, true, sizeIsRadius);
  UpdateRadius(ZoomF(radius));
  if (radius == 0.0f) return;
  gFillet.drawn = true;
  gFillet.radius = radius;
  gFillet.centre = first;
  gFillet.tangent1 = tangent1;
  gFillet.tangent2 = tangent2;
}

// ---- chamfer ----

bool GetChamferEnds(const PointRec* corner, const PointRec* previous, const PointRec* next, float d,
                    FloatPoint* start, FloatPoint* end) {
  if (!corner || !previous || !next || !start || !end) return false;
  if ((previous->x == corner->x && previous->y == corner->y) ||
      (next->x == corner->x && next->y == corner->y))
    return false;
  const double a1 = Direction(corner, previous), a2 = Direction(corner, next);
  *start = FloatPoint{static_cast<float>(corner->x + d * std::cos(a1)),
                      static_cast<float>(corner->y + d * std::sin(a1))};
  *end = FloatPoint{static_cast<float>(corner->x + d * std::cos(a2)),
                    static_cast<float>(corner->y + d * std::sin(a2))};
  return true;
}

bool BuildChamfer(ObjectRec* object, PointRec* corner, const PointRec* previous, const PointRec* next,
                  float d) {
  double a1, a2, h;
  if (!object || !(d > 0.0f) || !std::isfinite(d) || !CornerAngles(corner, previous, next, &a1, &a2, &h))
    return false;
  PointRec* added = CreatePoint(kVertexPoint, 1, corner->locked, 0, 0, corner->x, corner->y,
                                corner->outTangentX, corner->outTangentY, object);
  if (!added) return false;
  PlaceAlong(added, corner, a2, d);
  PlaceAlong(corner, corner, a1, d);
  corner->outTangentX = corner->outTangentY = 0.0f;
  InsertPointInObject(added, object, corner);
  object->kind = kPolyKind;
  UpdateBoundsUp(object);
  return true;
}

void SupportTrackChamfer(float x, float y, int16_t stage, const ClickInfo* info, uint16_t) {
  if (stage == kStagePress) {
    gChamfer = ChamferDrag{};
    PointRec* point = info && info->pointHit ? info->point : nullptr;
    if (!info || !IsCornerForFillet(info->object, point)) return;
    gChamfer.object = info->object;
    gChamfer.corner = point;
    return;
  }
  if (!gChamfer.object) return;
  EraseChamferFeedback();
  PointRec* corner = gChamfer.corner;
  const float d = static_cast<float>(Distance(x, y, corner->x, corner->y));
  if (stage == kStageRelease) {
    RecordUndoPointEditBefore(gChamfer.object);
    if (d != 0.0f &&
        BuildChamfer(gChamfer.object, corner, PreviousOutlinePoint(corner), NextOutlineVertex(corner), d)) {
      RecordUndoPointEditDone(nullptr);
      RefreshDrawing();
    }
    gChamfer = ChamferDrag{};
    return;
  }
  if (d == 0.0f) return;
  DrawChamfer(corner, PreviousOutlinePoint(corner), NextOutlineVertex(corner), d);
  gChamfer.drawn = true;
  gChamfer.d = d;
}

// ---- trim ----

void GetTrimLocation(const PointRec* p1, const PointRec* p2, float t, float* x, float* y, float* tx,
                     float* ty) {
  if (!p1 || !p2 || !x || !y || !tx || !ty) return;
  float ax, bx, cx, dx, ay, by, cy, dy;
  SetupSpline(p1->x, p1->outTangentX, p2->x, p2->inTangentX, &ax, &bx, &cx, &dx);
  SetupSpline(p1->y, p1->outTangentY, p2->y, p2->inTangentY, &ay, &by, &cy, &dy);
  const float t2 = t * t, t3 = t2 * t;
  *x = GetSplineCoord(ax, bx, cx, dx, t, t2, t3);
  *y = GetSplineCoord(ay, by, cy, dy, t, t2, t3);
  if (IsStraightSegment(p1, p2)) {
    *tx = *ty = 0.0f;
  } else {
    *tx = GetTangentSplineCoord(ax, bx, cx, t, t2);
    *ty = GetTangentSplineCoord(ay, by, cy, t, t2);
  }
}

ObjectRec* TrimOpenObject(ObjectRec* object, PointRec* p1, PointRec* p2, float t) {
  if (!object || !p1 || !p2 || object->closed || p1->ownerObject != object || p2->ownerObject != object)
    return nullptr;
  NormaliseCut(&p1, &p2, &t);
  // The open ends cannot be cut, nor a segment that wraps round.
  if (!p2 || !IsCuttableEnd(p1) || !IsCuttableEnd(p2) || NextOutlineVertex(p1) != p2 || !p2->prevPoint)
    return nullptr;
  bool outlineBefore = false;
  for (const PointRec* p = p1->prevPoint; p && !outlineBefore; p = p->prevPoint)
    outlineBefore = !IsMarkerPointKind(p->pointKind);
  if (t == 0.0f && !outlineBefore) return nullptr;
  float x, y, tx, ty;
  GetTrimLocation(p1, p2, t, &x, &y, &tx, &ty);
  PointRec* end = t != 0.0f ? CreatePoint(kVertexPoint, 0, p1->locked, 0, 0, x, y, 0, 0, object) : nullptr;
  PointRec* start = CreatePoint(kVertexPoint, 0, p1->locked, 0, 0, x, y, 0, 0, nullptr);
  ObjectRec* part = CreateObject(kPolyKind, object->closed, object->objectFlag, &object->fillColor,
                                 &object->penColor, object->lineWeight, object->lineType, object->fillPattern,
                                 &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
  if ((t != 0.0f && !end) || !start || !part) {
    if (end) FreePointRecord(end);
    if (start) FreePointRecord(start);
    if (part) DeleteObj(part);
    return nullptr;
  }
  ScaleCutTangents(p1, p2, end, start, t, tx, ty);
  // The new part takes over everything after p1.
  PointRec* rest = p1->nextPoint;
  p1->nextPoint = nullptr;
  rest->prevPoint = start;
  start->nextPoint = rest;
  part->firstPoint = start;
  for (PointRec* p = start; p; p = p->nextPoint) p->ownerObject = part;
  if (end) InsertPointInObject(end, object, p1);
  object->kind = kPolyKind;
  LineWhenTwoPoints(object);
  LineWhenTwoPoints(part);
  AppendObjectToLayer(part, object->layer);
  UpdateObjectBounds(object);
  UpdateObjectBounds(part);
  NoteModelChange();
  return part;
}

bool TrimClosedObject(ObjectRec* object, PointRec* p1, PointRec* p2, float t) {
  if (!object || !p1 || !p2 || !object->closed || p1->ownerObject != object || p2->ownerObject != object)
    return false;
  NormaliseCut(&p1, &p2, &t);
  if (!p2 || !IsCuttableEnd(p1) || !IsCuttableEnd(p2) || NextOutlineVertex(p1) != p2) return false;
  float x, y, tx, ty;
  GetTrimLocation(p1, p2, t, &x, &y, &tx, &ty);
  const uint8_t locked = object->firstPoint->locked;
  PointRec* end = t != 0.0f ? CreatePoint(kVertexPoint, 1, locked, 0, 0, x, y, 0, 0, object) : nullptr;
  PointRec* start = CreatePoint(kVertexPoint, 1, locked, 0, 0, x, y, 0, 0, object);
  if ((t != 0.0f && !end) || !start) {
    if (end) FreePointRecord(end);
    if (start) FreePointRecord(start);
    return false;
  }
  ScaleCutTangents(p1, p2, end, start, t, tx, ty);
  // Rotate the ring so that it starts after p1 and ends at p1.
  PointRec* last = LastPointOf(object);
  if (p1 != last) {
    PointRec* head = object->firstPoint;
    PointRec* rest = p1->nextPoint;
    p1->nextPoint = nullptr;
    last->nextPoint = head;
    head->prevPoint = last;
    rest->prevPoint = nullptr;
    object->firstPoint = rest;
  }
  InsertPointInObject(start, object, nullptr);
  if (end) InsertPointInObject(end, object, p1);
  object->closed = 0;
  object->kind = kPolyKind;
  LineWhenTwoPoints(object);
  UpdateObjectBounds(object);
  NoteModelChange();
  return true;
}

void SupportTrackTrim(float x, float y, int16_t stage, const ClickInfo* info, uint16_t) {
  if (stage != kStagePress || !info || !info->hit || !gCurDocument || !gCurDocument->docState) return;
  ObjectRec* object = info->object;
  // Shapes only, and not the members of a group: the new part could not join the group.
  if (!object || !IsShapeKind(object->kind) || object->parent || !object->layer) return;
  PointRec *p1 = nullptr, *p2 = nullptr;
  float t = 0.0f;
  if (info->pointHit && info->point) {
    p1 = info->point;
    if (IsMarkerPointKind(p1->pointKind)) return;
    p2 = NextOutlineVertex(p1);
  } else if (info->segmentHit && info->point && info->nextPoint) {
    p1 = info->point;
    p2 = info->nextPoint;
    const float sx = UnzoomF(info->segStart.x), sy = UnzoomF(info->segStart.y);
    const float ex = UnzoomF(info->segEnd.x), ey = UnzoomF(info->segEnd.y);
    const double piece = Distance(sx, sy, ex, ey);
    t = info->tStart;
    // A piece of no length puts the cut at its start.
    if (piece > 0.0) t += static_cast<float>(Distance(sx, sy, x, y) / piece / CurrentCurveSmoothness());
    if (t < 0.0f) t = 0.0f;
    if (t > 1.0f) t = 1.0f;
  } else {
    return;
  }
  if (!p2 || p1->ownerObject != object || p2->ownerObject != object) return;
  RecordUndoPointEditBefore(object);
  if (object->closed) {
    if (!TrimClosedObject(object, p1, p2, t)) return;
    RecordUndoPointEditDone(nullptr);
  } else {
    ObjectRec* part = TrimOpenObject(object, p1, p2, t);
    if (!part) return;
    RecordUndoPointEditDone(part);
    SelectObj(object, kDeselectMode, true);
  }
  RefreshDrawing();
}
