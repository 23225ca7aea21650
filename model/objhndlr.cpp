// Objects: creation, linking into layers and groups, unlinking and deletion.
#include "model/objhndlr.h"

#include <cstdlib>

#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "model/recpool.h"

ObjectRec* CreateObject(int16_t kind, uint8_t closed, uint8_t objectFlag, const RGB16* fillColor,
                        const RGB16* penColor, float lineWeight, int16_t lineType, int16_t fillPattern,
                        const FloatRect* bounds, PointRec* firstPoint, ObjectRec* firstChild,
                        ObjectRec* parent, LayerRec* layer, void* info) {
  ObjectRec* object = NewObjectRecord();
  if (!object) return nullptr;
  object->kind = kind;
  object->closed = closed;
  object->objectFlag = objectFlag;
  object->fillColor = fillColor ? *fillColor : kWhite16;
  object->penColor = penColor ? *penColor : kBlack16;
  object->lineWeight = lineWeight;
  object->lineType = lineType;
  object->fillPattern = fillPattern;
  object->bounds = bounds ? *bounds : kEmptyRect;
  object->firstPoint = firstPoint;
  object->firstChild = firstChild;
  object->parent = parent;
  object->layer = layer;
  object->info = info;
  return object;
}

uint32_t gModelGeneration = 0;
ObjectChange gChangeLog[kChangeLogSize];
uint32_t gChangeLogFrom = 0;

namespace {

void LogGone(ObjectRec* object) {
  ++gModelGeneration;
  gChangeLog[gModelGeneration % kChangeLogSize] = ObjectChange{object, object->indexSlot, true};
}

}  // namespace

void NoteObjectGone(ObjectRec* object) {
  if (object->parent) NoteObjectChange(object->parent);
  LogGone(object);
}

namespace {

void UnlinkQuietly(ObjectRec* object) {
  ObjectRec* next = object->nextObject;
  if (object->prevObject) {
    object->prevObject->nextObject = next;
  } else if (object->parent) {
    // Only a list that starts with this object loses its head; an object that was never linked
    // must not empty its group or layer.
    if (object->parent->firstChild == object) object->parent->firstChild = next;
  } else if (object->layer) {
    if (object->layer->firstObject == object) object->layer->firstObject = next;
  }
  if (next) next->prevObject = object->prevObject;
  object->prevObject = nullptr;
  object->nextObject = nullptr;
}

// Frees the object and its members; each is noted gone, so no earlier change to a member is
// followed to freed memory.
void FreeObjectTree(ObjectRec* object) {
  if (gObjectDeletedHook) gObjectDeletedHook(object);
  std::free(object->screenPoly);
  object->screenPoly = nullptr;
  object->screenPolyCount = 0;
  UnlinkQuietly(object);
  DeleteObjectData(object);
  DeleteObjectPoints(object);
  ObjectRec* child = object->firstChild;
  while (child) {
    ObjectRec* next = child->nextObject;
    LogGone(child);
    FreeObjectTree(child);
    child = next;
  }
  FreeObjectRecord(object);
}

}  // namespace

void UnlinkObject(ObjectRec* object) {
  if (!object) return;
  NoteObjectChange(object);
  UnlinkQuietly(object);
}

void (*gObjectDeletedHook)(ObjectRec* object) = nullptr;

void DeleteObj(ObjectRec* object) {
  if (!object) return;
  NoteObjectGone(object);
  FreeObjectTree(object);
}

namespace {

ObjectRec* LastSibling(ObjectRec* first) {
  if (!first) return nullptr;
  while (first->nextObject) first = first->nextObject;
  return first;
}

void LinkSiblingAfter(ObjectRec* object, ObjectRec** head, ObjectRec* tail) {
  if (!tail) {
    *head = object;
    object->prevObject = nullptr;
  } else {
    tail->nextObject = object;
    object->prevObject = tail;
  }
  object->nextObject = nullptr;
}

}  // namespace

void AppendObjectToGroup(ObjectRec* child, ObjectRec* group) {
  if (!child || !group) return;
  NoteObjectChange(child);
  child->parent = group;
  child->layer = group->layer;
  LinkSiblingAfter(child, &group->firstChild, LastSibling(group->firstChild));
}

void LinkChildAfter(ObjectRec* child, ObjectRec* group, ObjectRec* tail) {
  if (!child || !group) return;
  NoteObjectChange(child);
  // A tail that is not a member of this group, or not its last member, is not trusted.
  if (!tail || tail->parent != group || !group->firstChild) {
    AppendObjectToGroup(child, group);
    return;
  }
  child->parent = group;
  child->layer = group->layer;
  LinkSiblingAfter(child, &group->firstChild, LastSibling(tail));
}

ObjectRec* GetRootObject(ObjectRec* object) {
  if (!object) return nullptr;
  while (object->parent) object = object->parent;
  return object;
}

bool IsObjectGrouped(const ObjectRec* object) {
  if (!object) return false;
  return object->parent != nullptr || object->firstChild != nullptr;
}
