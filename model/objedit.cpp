// Whole-object editing operations.
#include "model/objedit.h"

#include <unordered_map>
#include <vector>

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

void NudgeObject(ObjectRec* object, float distance, int direction) {
  if (!object) return;
  float dx = 0.0f, dy = 0.0f;
  switch (direction) {
    case kNudgeUp:
      dy = -distance;
      break;
    case kNudgeLeft:
      dx = -distance;
      break;
    case kNudgeDown:
      dy = distance;
      break;
    case kNudgeRight:
      dx = distance;
      break;
    default:
      return;
  }
  for (PointRec* point = object->firstPoint; point; point = point->nextPoint) {
    if (!point->selected || point->locked) continue;
    point->x += dx;
    point->y += dy;
  }
}

namespace {

// Each source object with its copy, so that a dimension and its label copied together can be
// linked to each other afterwards.
using CopyPairs = std::unordered_map<const ObjectRec*, ObjectRec*>;

bool IsMirrorCommand(int command) {
  return command == kMirrorHorizontalCommand || command == kMirrorVerticalCommand;
}

// Kinds whose copy is of no use without its kind data.
bool NeedsKindData(const ObjectRec* object) {
  return object->info && (object->kind == kTextBlockKind || object->kind == kMetaFileKind ||
                          IsDimensionOrLeaderKind(object->kind) || object->kind == kDimensionTextKind);
}

void LinkCopy(ObjectRec* copy, const ObjectRec* source, ObjectRec* parentGroup, ObjectRec* previousSibling,
              bool appendToLayer) {
  if (previousSibling) {
    NoteObjectChange(copy);
    copy->parent = previousSibling->parent;
    copy->layer = previousSibling->layer;
    copy->prevObject = previousSibling;
    copy->nextObject = previousSibling->nextObject;
    if (copy->nextObject) copy->nextObject->prevObject = copy;
    previousSibling->nextObject = copy;
  } else if (parentGroup) {
    NoteObjectChange(copy);
    copy->parent = parentGroup;
    copy->layer = parentGroup->layer;
    copy->prevObject = nullptr;
    copy->nextObject = parentGroup->firstChild;
    if (copy->nextObject) copy->nextObject->prevObject = copy;
    parentGroup->firstChild = copy;
  } else if (appendToLayer && source->layer) {
    AppendObjectToLayer(copy, source->layer);
  }
}

ObjectRec* CopyTree(const ObjectRec* source, ObjectRec* parentGroup, ObjectRec* previousSibling,
                    FloatPoint offset, bool appendToLayer, int command, CopyPairs* pairs) {
  FloatRect bounds = source->bounds;
  bounds.left += offset.x;
  bounds.right += offset.x;
  bounds.top += offset.y;
  bounds.bottom += offset.y;
  ObjectRec* copy = CreateObject(source->kind, source->closed, source->objectFlag, &source->fillColor,
                                 &source->penColor, source->lineWeight, source->lineType, source->fillPattern,
                                 &bounds, nullptr, nullptr, nullptr, source->layer, nullptr);
  if (!copy) return nullptr;
  DuplicateObjectData(source, copy);
  const bool mirror = IsMirrorCommand(command);
  DuplicateObjectPoints(source, copy, offset, mirror ? 1 : 0);
  if ((NeedsKindData(source) && !copy->info) || CountObjectPoints(copy) != CountObjectPoints(source)) {
    DeleteObj(copy);  // never linked: nothing else names it
    return nullptr;
  }
  if (mirror) {
    FlipObject(copy, command == kMirrorHorizontalCommand);
    SetObjectPointsSelection(copy, 0);
  }
  LinkCopy(copy, source, parentGroup, previousSibling, appendToLayer);
  pairs->emplace(source, copy);
  ObjectRec* previous = nullptr;
  for (const ObjectRec* member = source->firstChild; member; member = member->nextObject) {
    // A member that cannot be copied is left out; the group keeps the others.
    if (ObjectRec* made =
            CopyTree(member, previous ? nullptr : copy, previous, offset, false, command, pairs))
      previous = made;
  }
  if (source->kind == kGroupKind) UpdateObjectRootBounds(copy, false, false);
  return copy;
}

// A dimension copied together with its label takes the copied label back.
void RelinkCopiedLabels(const CopyPairs& pairs) {
  for (const auto& pair : pairs) {
    const ObjectRec* source = pair.first;
    if (!IsDimensionOrLeaderKind(source->kind) || !source->info || !pair.second->info) continue;
    const auto found = pairs.find(DimInfoOf(source)->textObject);
    ObjectRec* label = found == pairs.end() ? nullptr : found->second;
    if (!label || label->kind != kDimensionTextKind || !label->info) continue;
    DimInfoOf(pair.second)->textObject = label;
    DimTextInfoOf(label)->ownerDimension = pair.second;
  }
}

}  // namespace

ObjectRec* DuplicateObject(const ObjectRec* source, ObjectRec* parentGroup, ObjectRec* previousSibling,
                           FloatPoint offset, bool appendToLayer, int command) {
  if (!source) return nullptr;
  CopyPairs pairs;
  ObjectRec* copy = CopyTree(source, parentGroup, previousSibling, offset, appendToLayer, command, &pairs);
  if (copy) RelinkCopiedLabels(pairs);
  return copy;
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
  if (!object || !IsShapeKind(object->kind) || !gCurDocument) return;
  // The outline alone: fillet markers and arc centres are neither smoothed nor neighbours.
  std::vector<PointRec*> outline;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint)
    if (!IsMarkerPointKind(p->pointKind)) outline.push_back(p);
  const size_t n = outline.size();
  if (n < 2) return;
  const DocState* state = gCurDocument->docState;
  const float k = state ? static_cast<float>(state->tension) / kTensionScale : kDefaultSmoothing;
  object->kind = kSplineKind;
  // Each tangent reads positions only, and positions never change here.
  for (size_t i = 0; i < n; ++i) {
    const bool end = i == 0 || i == n - 1;
    if (!outline[i]->selected || (end && !object->closed)) continue;
    SmoothPoint(outline[i], outline[(i + n - 1) % n], outline[(i + 1) % n], k);
  }
}

void UnsmoothObject(ObjectRec* object) {
  if (!object || !IsShapeKind(object->kind)) return;
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
