// The one-level undo record. Transforms keep the exact positions and tangents of the points they
// moved, before and after, so undo and redo restore them bit for bit and act on those points
// whatever is selected later. Created and cleared objects are kept, unlinked, while they are out
// of the drawing. The record names its document; the model tells it of every object and drawing
// about to be freed, and the record lets go of them first.
#include "tools/undo.h"

#include <cmath>
#include <cstdlib>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "tools/selhndlr.h"
#include "tools/selindex.h"
#include "tools/toolstate.h"

uint8_t gUndoAvail = 0;
ObjectRec* gUndoObject = nullptr;
float gUndoXScale = 1.0f, gUndoYScale = 1.0f, gUndoXOrigin = 0.0f, gUndoYOrigin = 0.0f;

namespace {

// The repaint after an undo reaches this far beyond the changed objects, in pixels.
constexpr int kUndoRepaintMargin = 5;

struct PointState {
  float inX, inY, x, y, outX, outY;
};

struct ClearedObject {
  ObjectRec* object;
  LayerRec* layer;
  ObjectRec* previous;  // its predecessor when it left, or null at the head
};

struct UndoRecord {
  DocumentRec* document = nullptr;
  // Transforms: the points moved, their owners, and the states to restore.
  std::vector<PointRec*> points;
  std::vector<PointState> before, after;
  std::vector<ObjectRec*> owners;
  // Shape created: the objects made together with gUndoObject.
  std::vector<ObjectRec*> companions;
  // Clear: the objects taken out, in the order they went.
  std::vector<ClearedObject> cleared;
  // Point edits: the edited object with the other state of its points (before the edit, or after
  // it once undone), kept detached; the object the edit added, and where it stood.
  ObjectRec* edited = nullptr;
  PointRec* heldPoints = nullptr;
  int16_t heldKind = 0;
  uint8_t heldClosed = 0;
  FloatRect heldBounds = kEmptyRect;
  ObjectRec* added = nullptr;
  LayerRec* addedLayer = nullptr;
  ObjectRec* addedPrevious = nullptr;
  // Every object the record names, for the deletion check.
  std::unordered_set<ObjectRec*> named;
};

UndoRecord gRecord;

PointState StateOf(const PointRec* p) {
  return PointState{p->inTangentX, p->inTangentY, p->x, p->y, p->outTangentX, p->outTangentY};
}

void Restore(PointRec* p, const PointState& s) {
  p->inTangentX = s.inX;
  p->inTangentY = s.inY;
  p->x = s.x;
  p->y = s.y;
  p->outTangentX = s.outX;
  p->outTangentY = s.outY;
}

bool IsTransformKind(int kind) {
  return kind >= kUndoMove && kind <= kUndoRotate;
}

bool IsCreateKind(int kind) {
  return kind >= kUndoRectangle && kind <= kUndoSpline;
}

bool IsPointEditKind(int kind) {
  return kind >= kUndoFillet && kind <= kUndoTrim;
}

// Frees a detached point list.
void FreePointChain(PointRec* first) {
  ObjectRec holder = {};
  holder.firstPoint = first;
  DeleteObjectPoints(&holder);
}

void ObjectDeleted(ObjectRec* object);
void DocumentDeleted(DocumentRec* document);

// Lets go of everything without touching any object: for objects that are about to go anyway.
void ForgetRecord() {
  DocumentRec* document = gRecord.document;
  FreePointChain(gRecord.heldPoints);
  gRecord = UndoRecord{};
  gUndoAvail = 0;
  gUndoObject = nullptr;
  if (document) {
    document->undoKind = kNoUndo;
    document->undoIsRedo = 0;
  }
}

// Frees an object the record holds outside the drawing. Its layer may be gone by now, so the
// object no longer names it.
void FreeHeldObject(ObjectRec* object) {
  if (!object) return;
  object->layer = nullptr;
  object->parent = nullptr;
  object->prevObject = object->nextObject = nullptr;
  DeleteObj(object);
}

void ObjectDeleted(ObjectRec* object) {
  if (gRecord.named.empty() || !gRecord.named.count(object)) return;
  // A point edit's added object, held outside the drawing, belongs to the record alone.
  if (gRecord.document && IsPointEditKind(gRecord.document->undoKind))
    DisposeUndo();
  else
    ForgetRecord();
}

void DocumentDeleted(DocumentRec* document) {
  if (document && gRecord.document == document) DisposeUndo();
  DropSelectionIndexOf(document);
}

// Snapshot of the points a transform is about to move: the selected unlocked points of the
// visible layers.
void CollectMovablePoints(ObjectRec* object) {
  bool owns = false;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint) {
    if (!p->selected || p->locked) continue;
    gRecord.points.push_back(p);
    gRecord.before.push_back(StateOf(p));
    owns = true;
  }
  if (owns) {
    gRecord.owners.push_back(object);
    gRecord.named.insert(object);
  }
  for (ObjectRec* c = object->firstChild; c; c = c->nextObject) CollectMovablePoints(c);
}

void SnapshotSelection(DocumentRec* document) {
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer) {
    if (!layer->visible) continue;
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      if (IsObjectSelected(object)) CollectMovablePoints(object);
  }
}

bool FinishTransformRecord() {
  DocumentRec* document = gRecord.document;
  if (!document || !IsTransformKind(document->undoKind) || gRecord.points.empty()) return false;
  gRecord.after.clear();
  gRecord.after.reserve(gRecord.points.size());
  for (const PointRec* p : gRecord.points) gRecord.after.push_back(StateOf(p));
  gUndoAvail = 1;
  return true;
}

FloatRect OwnersBounds(bool* dimension) {
  FloatRect rect = kEmptyRect;
  for (ObjectRec* owner : gRecord.owners) {
    const ObjectRec* root = GetRootObject(owner);
    const FloatRect& b = root->bounds;
    if (IsDimensionOrLeaderKind(owner->kind) || owner->kind == kDimensionTextKind) *dimension = true;
    if (b.left > b.right || b.top > b.bottom) continue;
    RefineBounds(b.left, b.top, &rect);
    RefineBounds(b.right, b.bottom, &rect);
  }
  return rect;
}

void UniteRect(FloatRect* into, const FloatRect& r) {
  if (r.left > r.right || r.top > r.bottom) return;
  RefineBounds(r.left, r.top, into);
  RefineBounds(r.right, r.bottom, into);
}

void Repaint(const FloatRect& area, bool dimension) {
  if (dimension)
    RefreshDrawing();
  else
    InvalidatePageRect(&area, kUndoRepaintMargin);
}

// Writes one of the two snapshots back. A point that is no longer one of its owner's points
// (deleted by another operation) makes the record unusable: it is dropped untouched.
bool ApplySnapshot(const std::vector<PointState>& states) {
  std::unordered_set<const PointRec*> live;
  for (const ObjectRec* owner : gRecord.owners)
    for (const PointRec* p = owner->firstPoint; p; p = p->nextPoint) live.insert(p);
  for (const PointRec* p : gRecord.points)
    if (!live.count(p)) {
      ForgetRecord();
      return false;
    }
  bool dimension = false;
  FloatRect area = OwnersBounds(&dimension);
  for (size_t i = 0; i < gRecord.points.size(); ++i) Restore(gRecord.points[i], states[i]);
  for (ObjectRec* owner : gRecord.owners) {
    UpdateObjectBounds(owner);
    for (ObjectRec* parent = owner->parent; parent; parent = parent->parent)
      UpdateObjectRootBounds(parent, false, false);
  }
  UniteRect(&area, OwnersBounds(&dimension));
  Repaint(area, dimension);
  return true;
}

bool LayerInDocument(const DocumentRec* document, const LayerRec* layer) {
  for (const LayerRec* l = document->firstLayer; l; l = l->nextLayer)
    if (l == layer) return true;
  return false;
}

// Takes the object out of its layer and keeps it; the layer is remembered by the record only.
void HoldOutside(ObjectRec* object) {
  UnlinkObject(object);
  object->layer = nullptr;
}

void InsertAfter(ObjectRec* object, LayerRec* layer, ObjectRec* previous) {
  NoteObjectChange(object);
  object->layer = layer;
  object->parent = nullptr;
  object->prevObject = previous;
  ObjectRec* next = previous ? previous->nextObject : layer->firstObject;
  object->nextObject = next;
  if (next) next->prevObject = object;
  if (previous)
    previous->nextObject = object;
  else
    layer->firstObject = object;
}

void RemoveCleared(DocumentRec* document) {
  FloatRect area = kEmptyRect;
  for (ClearedObject& c : gRecord.cleared) {
    UniteRect(&area, c.object->bounds);
    c.layer = c.object->layer;
    c.previous = c.object->prevObject;
    HoldOutside(c.object);
  }
  (void)document;
  InvalidatePageRect(&area, kUndoRepaintMargin);
}

void PutClearedBack(DocumentRec* document) {
  // The layers may have changed since: a layer that is gone gives way to the current one, and a
  // predecessor no longer in the layer to the end of the list.
  std::unordered_set<const ObjectRec*> present;
  std::unordered_set<const LayerRec*> seen;
  FloatRect area = kEmptyRect;
  for (auto it = gRecord.cleared.rbegin(); it != gRecord.cleared.rend(); ++it) {
    LayerRec* layer = it->layer;
    if (!layer || !LayerInDocument(document, layer)) layer = document->currentLayer;
    if (!layer) continue;
    if (seen.insert(layer).second)
      for (const ObjectRec* o = layer->firstObject; o; o = o->nextObject) present.insert(o);
    if (it->previous && present.count(it->previous))
      InsertAfter(it->object, layer, it->previous);
    else if (it->previous)
      AppendObjectToLayer(it->object, layer);
    else
      InsertAfter(it->object, layer, nullptr);
    present.insert(it->object);
    UniteRect(&area, it->object->bounds);
  }
  InvalidatePageRect(&area, kUndoRepaintMargin);
}

// Exchanges the edited object's points with the held ones; undo takes the added object out of
// the drawing, redo puts it back where it stood.
void SwapPointEdit(bool redo) {
  ObjectRec* object = gRecord.edited;
  FloatRect area = kEmptyRect;
  UniteRect(&area, object->bounds);
  PointRec* points = object->firstPoint;
  object->firstPoint = gRecord.heldPoints;
  gRecord.heldPoints = points;
  std::swap(object->kind, gRecord.heldKind);
  std::swap(object->closed, gRecord.heldClosed);
  std::swap(object->bounds, gRecord.heldBounds);
  // The cached outline belongs to the points that left.
  std::free(object->screenPoly);
  object->screenPoly = nullptr;
  object->screenPolyCount = 0;
  for (ObjectRec* parent = object->parent; parent; parent = parent->parent)
    UpdateObjectRootBounds(parent, false, false);
  UniteRect(&area, object->bounds);
  if (ObjectRec* added = gRecord.added) {
    UniteRect(&area, added->bounds);
    if (redo) {
      DocumentRec* document = gRecord.document;
      LayerRec* layer = gRecord.addedLayer;
      if (!layer || !LayerInDocument(document, layer)) layer = document->currentLayer;
      bool present = false;
      for (const ObjectRec* o = layer ? layer->firstObject : nullptr; o && !present; o = o->nextObject)
        present = o == gRecord.addedPrevious;
      if (present)
        InsertAfter(added, layer, gRecord.addedPrevious);
      else if (layer)
        AppendObjectToLayer(added, layer);
    } else {
      gRecord.addedLayer = added->layer;
      gRecord.addedPrevious = added->prevObject;
      HoldOutside(added);
    }
  }
  NoteModelChange();
  // A press's record may name the points that left.
  if (gClickInfo.object == object || (gRecord.added && gClickInfo.object == gRecord.added))
    gClickInfo = ClickInfo{};
  InvalidatePageRect(&area, kUndoRepaintMargin);
}

}  // namespace

void RecordUndoPointEditBefore(ObjectRec* object) {
  DocumentRec* document = gRecord.document;
  if (!object || !document || !IsPointEditKind(document->undoKind) || gRecord.edited) return;
  PointRec *first = nullptr, *tail = nullptr;
  for (const PointRec* p = object->firstPoint; p; p = p->nextPoint) {
    PointRec* copy = CreatePoint(p->pointKind, p->selected, p->locked, p->inTangentX, p->inTangentY, p->x,
                                 p->y, p->outTangentX, p->outTangentY, object);
    if (!copy) {
      FreePointChain(first);
      return;
    }
    copy->detectable = p->detectable;
    copy->prevPoint = tail;
    (tail ? tail->nextPoint : first) = copy;
    tail = copy;
  }
  gRecord.edited = object;
  gRecord.heldPoints = first;
  gRecord.heldKind = object->kind;
  gRecord.heldClosed = object->closed;
  gRecord.heldBounds = object->bounds;
  gRecord.named.insert(object);
}

void RecordUndoPointEditDone(ObjectRec* added) {
  DocumentRec* document = gRecord.document;
  if (!document || !IsPointEditKind(document->undoKind) || !gRecord.edited) return;
  if (added) {
    gRecord.added = added;
    gRecord.named.insert(added);
  }
  gUndoAvail = 1;
}

void InstallUndoHooks() {
  gObjectDeletedHook = ObjectDeleted;
  gDocumentDeletedHook = DocumentDeleted;
}

int16_t GetUndoStrIndex(int tool) {
  switch (tool) {
    case kStandardTool:
      return kUndoMove;
    case kPointTool:
      return kUndoPointMove;
    case kResizeTool:
      return kUndoResize;
    case kSkewTool:
      return kUndoSkew;
    case kRotateTool:
      return kUndoRotate;
    case kRectTool:
      return kUndoRectangle;
    case kOvalTool:
      return kUndoOval;
    case kPolyTool:
      return kUndoPolygon;
    case kMultiTool:
      return kUndoMultigon;
    case kArcTool:
      return kUndoArc;
    case kLineTool:
      return kUndoLine;
    case kSplineTool:
      return kUndoSpline;
    case kFilletTool:
      return kUndoFillet;
    case kChamferTool:
      return kUndoChamfer;
    case kTrimTool:
      return kUndoTrim;
    default:
      return kNoUndo;
  }
}

void BeginUndo(DocumentRec* document, int16_t kind) {
  DisposeUndo();
  if (!document) return;
  InstallUndoHooks();
  gRecord.document = document;
  document->undoKind = kind;
  document->undoIsRedo = 0;
  if (IsTransformKind(kind)) SnapshotSelection(document);
}

void RecordUndoTranslate(float, float) {
  FinishTransformRecord();
}

bool RecordUndoScale(float scaleX, float scaleY, float originX, float originY) {
  if (scaleX == 0.0f || scaleY == 0.0f || !std::isfinite(scaleX) || !std::isfinite(scaleY)) return false;
  gUndoXScale = scaleX;
  gUndoYScale = scaleY;
  gUndoXOrigin = originX;
  gUndoYOrigin = originY;
  return FinishTransformRecord();
}

void RecordUndoShear(float, float, float, float, float, float) {
  FinishTransformRecord();
}

void RecordUndoRotate(float, float, float) {
  FinishTransformRecord();
}

void RecordUndoCreate(ObjectRec* object) {
  DocumentRec* document = gRecord.document;
  if (!object || !document || !IsCreateKind(document->undoKind)) return;
  gUndoObject = object;
  gRecord.named.insert(object);
  gUndoAvail = 1;
}

void RecordUndoCreateCompanion(ObjectRec* object) {
  DocumentRec* document = gRecord.document;
  if (!object || !gUndoObject || object == gUndoObject || !document || !IsCreateKind(document->undoKind))
    return;
  gRecord.companions.push_back(object);
  gRecord.named.insert(object);
}

namespace {

// Takes the recorded objects out of the drawing; the record keeps them for Undo.
int FinishClear(DocumentRec* document) {
  for (const ClearedObject& c : gRecord.cleared) gRecord.named.insert(c.object);
  RemoveCleared(document);
  const int count = static_cast<int>(gRecord.cleared.size());
  if (count == 0) {
    DisposeUndo();
    return 0;
  }
  gUndoAvail = 1;
  gUndoObject = nullptr;
  return count;
}

}  // namespace

int ClearSelectionWithUndo() {
  DocumentRec* document = gCurDocument;
  if (!document) return 0;
  BeginUndo(document, kUndoClear);
  for (LayerRec* layer = document->firstLayer; layer; layer = layer->nextLayer) {
    if (!layer->visible) continue;
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      if (IsObjectSelected(object) && !IsObjectLocked(object))
        gRecord.cleared.push_back(ClearedObject{object, layer, nullptr});
  }
  return FinishClear(document);
}

int ClearObjectsWithUndo(ObjectRec* const* objects, size_t count) {
  DocumentRec* document = gCurDocument;
  if (!document) return 0;
  BeginUndo(document, kUndoClear);
  for (size_t i = 0; i < count; ++i) {
    ObjectRec* object = objects[i];
    if (!object || object->parent || !object->layer || !LayerInDocument(document, object->layer)) continue;
    gRecord.cleared.push_back(ClearedObject{object, object->layer, nullptr});
  }
  return FinishClear(document);
}

bool UndoAvailable(const DocumentRec* document) {
  return document && gUndoAvail && gRecord.document == document && document->undoKind >= 0;
}

bool Undo() {
  DocumentRec* document = gRecord.document;
  if (!UndoAvailable(gCurDocument) || document != gCurDocument) return false;
  const bool redo = document->undoIsRedo != 0;
  const int kind = document->undoKind;
  if (IsTransformKind(kind)) {
    if (gRecord.after.size() != gRecord.points.size() ||
        !ApplySnapshot(redo ? gRecord.after : gRecord.before))
      return false;
  } else if (IsCreateKind(kind)) {
    if (!gUndoObject) return false;
    LayerRec* layer = document->currentLayer;
    if (redo && !layer) return false;
    std::vector<ObjectRec*> created = {gUndoObject};
    created.insert(created.end(), gRecord.companions.begin(), gRecord.companions.end());
    for (ObjectRec* object : created) {
      if (redo) {
        object->parent = nullptr;
        AppendObjectToLayer(object, layer);
      } else {
        HoldOutside(object);
      }
      InvalidatePageRect(&object->bounds, kUndoRepaintMargin);
    }
  } else if (IsPointEditKind(kind)) {
    if (!gRecord.edited) return false;
    SwapPointEdit(redo);
  } else if (kind == kUndoClear) {
    if (redo)
      RemoveCleared(document);
    else
      PutClearedBack(document);
  } else {
    return false;
  }
  document->undoIsRedo = redo ? 0 : 1;
  return true;
}

void DisposeUndo() {
  DocumentRec* document = gRecord.document;
  // Objects held outside the drawing belong to the record alone.
  std::vector<ObjectRec*> held;
  if (document && gUndoAvail) {
    if (IsCreateKind(document->undoKind) && document->undoIsRedo && gUndoObject) {
      held.push_back(gUndoObject);
      held.insert(held.end(), gRecord.companions.begin(), gRecord.companions.end());
    }
    if (document->undoKind == kUndoClear && !document->undoIsRedo)
      for (const ClearedObject& c : gRecord.cleared) held.push_back(c.object);
    if (IsPointEditKind(document->undoKind) && document->undoIsRedo && gRecord.added)
      held.push_back(gRecord.added);
  }
  ForgetRecord();
  for (ObjectRec* object : held) FreeHeldObject(object);
}

void DisposeUndoForDocument(DocumentRec* document) {
  DocumentDeleted(document);
}

void DisposeUndoForObject(ObjectRec* object) {
  ObjectDeleted(object);
}
