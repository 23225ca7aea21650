// The editing operations applied to the current drawing.
#include "tools/editops.h"

#include <cmath>

#include "geometry/units.h"
#include "model/docstate.h"
#include "model/objedit.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/parallel.h"
#include "tools/selhndlr.h"
#include "tools/undo.h"

ParallelCopies gParallelCopies = {};

namespace {

// A new parallel's area is repainted this far beyond its bounds, in pixels.
constexpr int kParallelRepaintMargin = 3;

const DocState* CurrentState() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}

// A world length of the drawing in page units; false when it is no usable length.
bool PageLength(float world, const DocState* state, float* page) {
  *page = ConvertWorldToScreen(world, state, false);
  return std::isfinite(*page);
}

ObjectRec* Parallel(ObjectRec* object, int side, float distance, int slot) {
  ObjectRec* copy = CreateParallelObject(object, side, distance);
  if (copy) InvalidatePageRect(&copy->bounds, kParallelRepaintMargin);
  gParallelCopies.copies[slot] = copy;
  return copy;
}

bool IsTopLevelInDrawing(const ObjectRec* object) {
  if (!object || !gCurDocument) return false;
  for (const LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer)
    for (const ObjectRec* o = layer->firstObject; o; o = o->nextObject)
      if (o == object) return true;
  return false;
}

void ReleaseUndoForTree(ObjectRec* object) {
  DisposeUndoForObject(object);
  for (ObjectRec* member = object->firstChild; member; member = member->nextObject)
    ReleaseUndoForTree(member);
}

}  // namespace

ObjectRec* MakeParallel(ObjectRec* object) {
  gParallelCopies = ParallelCopies{};
  const DocState* state = CurrentState();
  if (!object || !state || !state->drawParallel) return object;
  float d = 0.0f;
  if (!PageLength(state->parallelWidth, state, &d) || d == 0.0f) return object;
  ObjectRec* kept = object;
  switch (state->parallelSide) {
    case kParallelInsideSide:
    case kParallelOutsideSide:
      Parallel(object, state->parallelSide, d, 0);
      break;
    case kParallelCentredSide: {
      ObjectRec* outside = Parallel(object, kParallelOutsideSide, d / 2.0f, 0);
      Parallel(object, kParallelInsideSide, d / 2.0f, 1);
      if (outside) {
        InvalidatePageRect(&object->bounds, kParallelRepaintMargin);
        DeleteObj(object);
        kept = outside;
      }
      break;
    }
    default:
      break;
  }
  gParallelCopies.source = kept;
  return kept;
}

void RecordParallelCopiesForUndo(ObjectRec* object) {
  if (object && gParallelCopies.source == object)
    for (ObjectRec* copy : gParallelCopies.copies)
      if (copy && copy != object && IsTopLevelInDrawing(copy)) RecordUndoCreateCompanion(copy);
  gParallelCopies = ParallelCopies{};
}

void DuplicateTopLevelObject(ObjectRec* object, int command) {
  if (!object || IsDimensionKind(object->kind) || object->kind == kDimensionTextKind) return;
  if (command == kDuplicateCommand) {
    const DocState* state = CurrentState();
    FloatPoint offset;
    if (!state || !PageLength(state->dupOffsetH, state, &offset.x) ||
        !PageLength(state->dupOffsetV, state, &offset.y))
      return;
    // Each copy is made from the one before, so repeated copies form a row.
    const ObjectRec* from = object;
    for (int i = 0; i < state->dupRepeat; ++i) {
      ObjectRec* copy = DuplicateObject(from, nullptr, nullptr, offset, true, command);
      if (!copy) break;
      InvalidatePageRect(&copy->bounds, kHandleHalfSize + 2);
      from = copy;
    }
  } else if (command == kMirrorHorizontalCommand || command == kMirrorVerticalCommand) {
    if (ObjectRec* copy = DuplicateObject(object, nullptr, nullptr, FloatPoint{0.0f, 0.0f}, true, command))
      InvalidatePageRect(&copy->bounds, kHandleHalfSize + 2);
  }
}

void ReleaseUndoForSelection(LayerRec* firstLayer) {
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) {
    if (!layer->visible) continue;
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      if (IsObjectSelected(object)) ReleaseUndoForTree(object);
  }
}
