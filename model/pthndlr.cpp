// Points of an object, and the point family of bounds: rectangles computed from the points
// themselves, following curves the way they are drawn.
#include "model/pthndlr.h"

#include <cstdlib>

#include "geometry/geometry.h"
#include "model/docstate.h"
#include "model/objstuff.h"
#include "model/recpool.h"

PointRec* CreatePoint(int16_t pointKind, uint8_t selected, uint8_t locked, float inTangentX, float inTangentY,
                      float x, float y, float outTangentX, float outTangentY, ObjectRec* owner) {
  PointRec* point = NewPointRecord();
  if (!point) return nullptr;
  point->pointKind = pointKind;
  point->selected = selected;
  point->detectable = 1;
  point->locked = locked;
  point->inTangentX = inTangentX;
  point->inTangentY = inTangentY;
  point->x = x;
  point->y = y;
  point->outTangentX = outTangentX;
  point->outTangentY = outTangentY;
  point->ownerObject = owner;
  return point;
}

namespace {

PointRec* LastPoint(PointRec* point) {
  if (!point) return nullptr;
  while (point->nextPoint) point = point->nextPoint;
  return point;
}

void LinkPointAtEnd(PointRec* point, ObjectRec* object, PointRec* last) {
  point->ownerObject = object;
  point->nextPoint = nullptr;
  point->prevPoint = last;
  if (last)
    last->nextPoint = point;
  else
    object->firstPoint = point;
}

}  // namespace

void AppendPointToObject(PointRec* point, ObjectRec* object) {
  if (!point || !object) return;
  LinkPointAtEnd(point, object, LastPoint(object->firstPoint));
}

void LinkPointAfter(PointRec* point, ObjectRec* object, PointRec* tail) {
  if (!point || !object) return;
  // A tail of another object is not trusted; a tail that is not last costs the walk from it.
  if (!tail || tail->ownerObject != object || !object->firstPoint) {
    AppendPointToObject(point, object);
    return;
  }
  LinkPointAtEnd(point, object, LastPoint(tail));
}

void InsertPointInObject(PointRec* point, ObjectRec* object, PointRec* after) {
  if (!point || !object) return;
  PointRec* next = after ? after->nextPoint : object->firstPoint;
  point->prevPoint = after;
  point->nextPoint = next;
  if (after)
    after->nextPoint = point;
  else
    object->firstPoint = point;
  if (next) next->prevPoint = point;
}

void DeleteObjectPoints(ObjectRec* object) {
  if (!object) return;
  PointRec* point = object->firstPoint;
  while (point) {
    PointRec* next = point->nextPoint;
    FreePointRecord(point);
    point = next;
  }
  object->firstPoint = nullptr;
}

void DuplicateObjectPoints(const ObjectRec* source, ObjectRec* target, FloatPoint offset, uint8_t selected) {
  if (!source || !target) return;
  PointRec* tail = LastPoint(target->firstPoint);
  for (const PointRec* p = source->firstPoint; p; p = p->nextPoint) {
    PointRec* copy = CreatePoint(p->pointKind, selected, p->locked, p->inTangentX, p->inTangentY,
                                 p->x + offset.x, p->y + offset.y, p->outTangentX, p->outTangentY, target);
    if (!copy) return;  // the copy keeps the points made so far
    LinkPointAtEnd(copy, target, tail);
    tail = copy;
  }
}

int CountObjectPoints(const ObjectRec* object) {
  if (!object) return 0;
  int count = 0;
  for (const PointRec* p = object->firstPoint; p; p = p->nextPoint) ++count;
  return count;
}

namespace {

void AddPoint(float x, float y, FloatRect* rect, int allowance) {
  if (allowance == 0) {
    RefineBounds(x, y, rect);
    return;
  }
  RefineBounds(x - allowance, y - allowance, rect);
  RefineBounds(x + allowance, y + allowance, rect);
}

bool HasClosingCurve(const PointRec* last, const PointRec* first) {
  if (IsMarkerPointKind(last->pointKind) || IsMarkerPointKind(first->pointKind)) return false;
  return last->outTangentX != 0.0f || last->outTangentY != 0.0f || first->inTangentX != 0.0f ||
         first->inTangentY != 0.0f;
}

void DoGetObjectBounds(const ObjectRec* object, bool selectedOnly, FloatRect* rect, bool pointsOnly,
                       bool includePen) {
  const int allowance = includePen ? GetPenAllowance(object, false) : 0;
  const bool followCurves = IsShapeKind(object->kind) && !pointsOnly;
  const PointRec* last = nullptr;
  for (const PointRec* p = object->firstPoint; p; p = p->nextPoint) {
    last = p;
    if (selectedOnly && !p->selected) continue;
    const PointRec* a = p->prevPoint;
    if (!followCurves || !a || IsStraightSegment(a, p))
      AddPoint(p->x, p->y, rect, allowance);
    else
      GetObjectSplineBounds(a, p, rect, includePen, allowance, allowance);
  }
  const PointRec* first = object->firstPoint;
  if (object->closed && followCurves && first && (!selectedOnly || first->selected) &&
      HasClosingCurve(last, first))
    GetObjectSplineBounds(last, first, rect, includePen, allowance, allowance);
  for (const ObjectRec* child = object->firstChild; child; child = child->nextObject)
    DoGetObjectBounds(child, selectedOnly, rect, pointsOnly, includePen);
}

}  // namespace

void GetObjectSplineBounds(const PointRec* a, const PointRec* b, FloatRect* rect, bool includePen, int penH,
                           int penV) {
  if (!a || !b || !rect) return;
  const bool grow = includePen && (penH != 0 || penV != 0);
  SampleCurveSegment(a, b, CurrentCurveSmoothness(), [&](float x, float y) {
    if (grow) {
      RefineBounds(x - penH, y - penV, rect);
      RefineBounds(x + penH, y + penV, rect);
    } else {
      RefineBounds(x, y, rect);
    }
  });
}

void GetObjectBounds(const ObjectRec* object, bool selectedOnly, FloatRect* rect, bool pointsOnly,
                     bool includePen) {
  if (!object || !rect) return;
  DoGetObjectBounds(object, selectedOnly, rect, pointsOnly, includePen);
}

void GetLayerBounds(const LayerRec* layer, bool selectedOnly, FloatRect* rect, bool pointsOnly,
                    bool includePen) {
  if (!layer || !rect || !layer->visible) return;
  for (const ObjectRec* object = layer->firstObject; object; object = object->nextObject)
    DoGetObjectBounds(object, selectedOnly, rect, pointsOnly, includePen);
}

void GetAllLayersBounds(const LayerRec* firstLayer, bool selectedOnly, FloatRect* rect, bool pointsOnly,
                        bool includePen) {
  for (const LayerRec* layer = firstLayer; layer; layer = layer->nextLayer)
    GetLayerBounds(layer, selectedOnly, rect, pointsOnly, includePen);
}
