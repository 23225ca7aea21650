// Whole-object editing operations.
#include "model/objedit.h"

#include "geometry/geometry.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"

float gFlipCenterX;
float gFlipCenterY;
ObjectRec* gGroupLeader;

void SetFlipCenter(const FloatRect* bounds) {
  if (!bounds) return;
  gFlipCenterX = bounds->left + (bounds->right - bounds->left) / 2;
  gFlipCenterY = bounds->top + (bounds->bottom - bounds->top) / 2;
}

void FlipObject(ObjectRec* object, bool horizontal) {
  if (!object) return;
  for (PointRec* point = object->firstPoint; point; point = point->nextPoint) {
    if (!point->selected) continue;
    if (horizontal) {
      point->x = gFlipCenterX - (point->x - gFlipCenterX);
      point->inTangentX = -point->inTangentX;
      point->outTangentX = -point->outTangentX;
    } else {
      point->y = gFlipCenterY - (point->y - gFlipCenterY);
      point->inTangentY = -point->inTangentY;
      point->outTangentY = -point->outTangentY;
    }
  }
  UpdateObjectBounds(object);
}

void GroupObject(ObjectRec* object) {
  ObjectRec* leader = gGroupLeader;
  if (!object || !leader || object == leader) return;
  LayerRec* layer = object->layer;  // a member keeps the layer it came from
  UnlinkObject(object);
  AppendObjectToGroup(object, leader);
  object->layer = layer;
}

namespace {

int CountSelectedTopLevel(LayerRec* firstLayer) {
  int count = 0;
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) {
    if (!layer->visible) continue;
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      if (IsObjectSelected(object)) ++count;
  }
  return count;
}

// Translates every selected (unlocked) point of the object and its members.
void MoveObjectTree(ObjectRec* object, float dx, float dy) {
  for (PointRec* point = object->firstPoint; point; point = point->nextPoint) {
    if (!point->selected || point->locked) continue;
    point->x += dx;
    point->y += dy;
  }
  if (object->firstPoint) UpdateObjectBounds(object);
  for (ObjectRec* child = object->firstChild; child; child = child->nextObject) MoveObjectTree(child, dx, dy);
  if (object->kind == kGroupKind) UpdateObjectRootBounds(object, false, false);
}

}  // namespace

ObjectRec* GroupSelectedObjects(LayerRec* firstLayer) {
  gGroupLeader = nullptr;
  if (CountSelectedTopLevel(firstLayer) < 2) return nullptr;
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) {
    if (!layer->visible) continue;
    ObjectRec* next = nullptr;
    for (ObjectRec* object = layer->firstObject; object; object = next) {
      next = object->nextObject;  // grouping unlinks the object
      if (object == gGroupLeader || !IsObjectSelected(object)) continue;
      if (!gGroupLeader) {
        const RGB16 white = kWhite16, black = kBlack16;
        gGroupLeader = CreateObject(kGroupKind, 0, 0, &white, &black, 0.0f, kSolidLineType, kNoFill,
                                    &kEmptyRect, nullptr, nullptr, nullptr, layer, nullptr);
        if (!gGroupLeader) return nullptr;
        AppendObjectToLayer(gGroupLeader, layer);
      }
      GroupObject(object);
    }
  }
  if (gGroupLeader) UpdateObjectRootBounds(gGroupLeader, false, false);
  return gGroupLeader;
}

void CenterObjectsAt(LayerRec* firstLayer, bool selectedOnly, float centreX, float centreY, FloatRect* rect) {
  FloatRect bounds = kEmptyRect;
  GetAllLayersBounds(firstLayer, selectedOnly, &bounds, false, false);
  if (IsEmptyRect(&bounds)) {
    if (rect) *rect = bounds;
    return;
  }
  const float dx = centreX - (bounds.left + (bounds.right - bounds.left) / 2);
  const float dy = centreY - (bounds.top + (bounds.bottom - bounds.top) / 2);
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) {
    if (!layer->visible) continue;
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      if (!selectedOnly || IsObjectSelected(object)) MoveObjectTree(object, dx, dy);
  }
  if (rect) {
    *rect = kEmptyRect;
    GetAllLayersBounds(firstLayer, selectedOnly, rect, false, false);
  }
}

namespace {

// Tension of the drawing's smoothing: tension / 10, or 0.5 without settings.
constexpr float kDefaultSmoothing = 0.5f;
constexpr float kTensionScale = 10.0f;

void SmoothPoint(PointRec* p, const PointRec* a, const PointRec* b, float k) {
  GetUniformTensionDeriv(a->x, b->x, k, &p->outTangentX);
  GetUniformTensionDeriv(a->y, b->y, k, &p->outTangentY);
  p->inTangentX = p->outTangentX;
  p->inTangentY = p->outTangentY;
}

}  // namespace

void SmoothObject(ObjectRec* object) {
  if (!object || !object->firstPoint || !gCurDocument) return;
  const DocState* state = gCurDocument->docState;
  const float k = state ? static_cast<float>(state->tension) / kTensionScale : kDefaultSmoothing;
  object->kind = kSplineKind;
  PointRec* first = object->firstPoint;
  PointRec* last = first;
  while (last->nextPoint) last = last->nextPoint;
  if (first == last) return;
  // The neighbours are read before any point changes, so each point's tangent uses the
  // positions alone; positions never change here.
  if (object->closed && first->selected) SmoothPoint(first, last, first->nextPoint, k);
  for (PointRec* p = first->nextPoint; p && p != last; p = p->nextPoint)
    if (p->selected) SmoothPoint(p, p->prevPoint, p->nextPoint, k);
  if (object->closed && last->selected) SmoothPoint(last, last->prevPoint, first, k);
}

void UnsmoothObject(ObjectRec* object) {
  if (!object) return;
  bool any = false;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint) {
    if (!p->selected) continue;
    p->inTangentX = p->inTangentY = p->outTangentX = p->outTangentY = 0.0f;
    any = true;
  }
  if (any) object->kind = kSplineKind;
}

void UngroupObject(ObjectRec* group) {
  if (!group || group->kind != kGroupKind) return;
  LayerRec* layer = group->layer;
  ObjectRec* member = group->firstChild;
  group->firstChild = nullptr;
  DeleteObj(group);
  while (member) {
    ObjectRec* next = member->nextObject;
    member->parent = nullptr;
    member->prevObject = member->nextObject = nullptr;
    if (layer) AppendObjectToLayer(member, layer);
    for (PointRec* p = member->firstPoint; p; p = p->nextPoint)
      if (p->detectable) p->selected = 1;
    UpdateObjectRootBounds(member, false, false);
    member = next;
  }
}
