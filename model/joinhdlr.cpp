// Join and unjoin.
#include "model/joinhdlr.h"

#include <cmath>
#include <vector>

#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "model/recpool.h"

ObjectRec* gJoinObject = nullptr;

namespace {

bool gJoinGrew = false;  // a pass joined something onto gJoinObject

void Deselect(ObjectRec* object) {
  SetObjectPointsSelection(object, 0);
  SetObjectChainSelection(object->firstChild, 0);
}

PointRec* LastPointOf(ObjectRec* object) {
  PointRec* last = object->firstPoint;
  while (last && last->nextPoint) last = last->nextPoint;
  return last;
}

// The first outline point.
PointRec* StartOf(const ObjectRec* object) {
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint)
    if (!IsMarkerPointKind(p->pointKind)) return p;
  return nullptr;
}

// The last point, or the one before a trailing arc centre.
PointRec* EndOf(ObjectRec* object) {
  PointRec* last = LastPointOf(object);
  if (last && last->pointKind == kArcCentrePoint && last->prevPoint) return last->prevPoint;
  return last;
}

// Ends meet when their positions round to the same whole page units (add 0.5, truncate).
double Rounded(float v) {
  return std::trunc(static_cast<double>(v) + 0.5);
}
bool Meet(const PointRec* a, const PointRec* b) {
  return Rounded(a->x) == Rounded(b->x) && Rounded(a->y) == Rounded(b->y);
}

bool IsOpenShape(const ObjectRec* object) {
  return IsShapeKind(object->kind) && !object->closed;
}

// A point as it reads with the object's direction reversed: the tangents swap and turn round.
void TurnRound(PointRec* p) {
  const float inX = p->inTangentX, inY = p->inTangentY;
  p->inTangentX = -p->outTangentX;
  p->inTangentY = -p->outTangentY;
  p->outTangentX = -inX;
  p->outTangentY = -inY;
}

// Copies, owned by `target` but not linked, of the object's points after its start, read forward
// or (reversed) from its end back to its first point; `startOut` receives the outgoing tangent of
// the start in that reading. False, with nothing made, when memory ran out.
bool CopyJoinPoints(ObjectRec* object, bool reversed, ObjectRec* target, std::vector<PointRec*>* copies,
                    FloatPoint* startOut) {
  std::vector<PointRec> reading;
  if (reversed) {
    for (PointRec* p = EndOf(object); p; p = p->prevPoint) {
      reading.push_back(*p);
      TurnRound(&reading.back());
    }
  } else {
    for (PointRec* p = object->firstPoint; p; p = p->nextPoint) reading.push_back(*p);
  }
  size_t start = 0;
  while (start < reading.size() && IsMarkerPointKind(reading[start].pointKind)) ++start;
  if (start == reading.size()) return false;
  *startOut = FloatPoint{reading[start].outTangentX, reading[start].outTangentY};
  for (size_t i = start + 1; i < reading.size(); ++i) {
    const PointRec& r = reading[i];
    PointRec* copy = CreatePoint(r.pointKind, 0, 0, r.inTangentX, r.inTangentY, r.x, r.y, r.outTangentX,
                                 r.outTangentY, target);
    if (!copy) {
      for (PointRec* made : *copies) FreePointRecord(made);
      copies->clear();
      return false;
    }
    copies->push_back(copy);
  }
  return true;
}

// Links the copies after the target's last point; its end takes the joined start's tangent.
void AppendJoinPoints(ObjectRec* target, const std::vector<PointRec*>& copies, FloatPoint startOut) {
  PointRec* end = EndOf(target);
  if (end) {
    end->outTangentX = startOut.x;
    end->outTangentY = startOut.y;
  }
  PointRec* tail = LastPointOf(target);
  for (PointRec* copy : copies) {
    LinkPointAfter(copy, target, tail);
    tail = copy;
  }
  UpdateObjectBounds(target);
}

// The figure's ends met: the start point, which the appended end now repeats, goes; the end
// takes its outgoing tangent and the figure closes.
void CloseJoinedFigure(ObjectRec* object) {
  PointRec* start = StartOf(object);
  PointRec* end = EndOf(object);
  if (!start || !end || start == end) return;
  end->outTangentX = start->outTangentX;
  end->outTangentY = start->outTangentY;
  if (start->nextPoint) {
    if (start->prevPoint)
      start->prevPoint->nextPoint = start->nextPoint;
    else
      object->firstPoint = start->nextPoint;
    start->nextPoint->prevPoint = start->prevPoint;
    FreePointRecord(start);
  }
  object->closed = 1;
  UpdateObjectBounds(object);
}

}  // namespace

void ReverseObjectDirection(ObjectRec* object) {
  if (!object || !object->firstPoint) return;
  PointRec* last = LastPointOf(object);
  PointRec* dropped = nullptr;
  if (last->pointKind == kArcCentrePoint && last->prevPoint) {
    dropped = last;
    last = last->prevPoint;
    last->nextPoint = nullptr;
  }
  for (PointRec* p = object->firstPoint; p;) {
    PointRec* next = p->nextPoint;
    p->nextPoint = p->prevPoint;
    p->prevPoint = next;
    TurnRound(p);
    p = next;
  }
  object->firstPoint = last;
  FreePointRecord(dropped);
}

bool DoJoin(const ObjectRec* object, ObjectRec* target) {
  if (!object || !target || object == target) return false;
  std::vector<PointRec*> copies;
  FloatPoint startOut;
  if (!CopyJoinPoints(const_cast<ObjectRec*>(object), false, target, &copies, &startOut)) return false;
  AppendJoinPoints(target, copies, startOut);
  return true;
}

bool JoinObject(ObjectRec* object) {
  ObjectRec* target = gJoinObject;
  if (!object || !target || object == target || target->closed || !IsOpenShape(object)) return false;
  const PointRec* ts = StartOf(target);
  const PointRec* te = EndOf(target);
  const PointRec* os = StartOf(object);
  const PointRec* oe = EndOf(object);
  if (!ts || !te || !os || !oe) return false;
  // The first case that applies: which ends meet, and whether the other two met as well.
  bool reverseTarget = false, reverseObject = false, closes = false;
  if (Meet(ts, os)) {
    reverseTarget = true;
    closes = Meet(te, oe);
  } else if (Meet(ts, oe)) {
    reverseTarget = reverseObject = true;
    closes = Meet(te, os);
  } else if (Meet(te, os)) {
    closes = Meet(ts, oe);
  } else if (Meet(te, oe)) {
    reverseObject = true;
    closes = Meet(ts, os);
  } else {
    return false;
  }
  // Every point is made before anything changes, so running out of memory changes nothing.
  std::vector<PointRec*> copies;
  FloatPoint startOut;
  if (!CopyJoinPoints(object, reverseObject, target, &copies, &startOut)) return false;
  target->kind = kPolyKind;
  if (reverseTarget) ReverseObjectDirection(target);
  AppendJoinPoints(target, copies, startOut);
  if (closes) CloseJoinedFigure(target);
  Deselect(object);
  DeleteObj(object);
  return true;
}

bool JoinLayer(LayerRec* layer) {
  if (!layer || !layer->visible) return false;
  bool active = false;
  ObjectRec* next = nullptr;
  for (ObjectRec* object = layer->firstObject; object; object = next) {
    next = object->nextObject;  // a joined object is deleted
    if (!IsObjectSelected(object)) continue;
    if (!IsOpenShape(object)) {
      Deselect(object);
      continue;
    }
    active = true;
    if (!gJoinObject) {
      gJoinObject = object;
      Deselect(object);
    } else if (JoinObject(object)) {
      gJoinGrew = true;
    }
  }
  return active;
}

void JoinAllLayers(LayerRec* firstLayer) {
  for (;;) {
    gJoinObject = nullptr;
    bool active = false;
    // The figure takes every shape that meets it, whatever the order they were selected in:
    // passes repeat while it grows and stays open.
    do {
      gJoinGrew = false;
      for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) active = JoinLayer(layer) || active;
    } while (gJoinGrew && gJoinObject && !gJoinObject->closed);
    if (!active) break;
  }
  gJoinObject = nullptr;
}

bool UnjoinObject(ObjectRec* object) {
  if (!object) return false;
  Deselect(object);
  LayerRec* layer = object->layer;
  if (!IsShapeKind(object->kind) || !layer) return false;
  std::vector<const PointRec*> outline;
  for (const PointRec* p = object->firstPoint; p; p = p->nextPoint)
    if (!IsMarkerPointKind(p->pointKind)) outline.push_back(p);
  if (outline.size() < 2) return false;
  if (object->closed) outline.push_back(outline.front());
  // Every line is made before the object goes: one that cannot be made keeps the object whole.
  std::vector<ObjectRec*> lines;
  for (size_t i = 0; i + 1 < outline.size(); ++i) {
    const PointRec* a = outline[i];
    const PointRec* b = outline[i + 1];
    ObjectRec* line =
        CreateObject(kLineKind, 0, 1, &object->fillColor, &object->penColor, object->lineWeight,
                     object->lineType, kNoFill, &kEmptyRect, nullptr, nullptr, nullptr, layer, nullptr);
    PointRec* from =
        line ? CreatePoint(kVertexPoint, 0, 0, 0.0f, 0.0f, a->x, a->y, a->outTangentX, a->outTangentY, line)
             : nullptr;
    PointRec* to =
        from ? CreatePoint(kVertexPoint, 0, 0, b->inTangentX, b->inTangentY, b->x, b->y, 0.0f, 0.0f, line)
             : nullptr;
    if (!to) {
      FreePointRecord(from);
      DeleteObj(line);
      for (ObjectRec* made : lines) DeleteObj(made);
      return false;
    }
    AppendPointToObject(from, line);
    AppendPointToObject(to, line);
    lines.push_back(line);
  }
  for (ObjectRec* line : lines) {
    AppendObjectToLayer(line, layer);
    UpdateObjectBounds(line);
  }
  DeleteObj(object);
  return true;
}
