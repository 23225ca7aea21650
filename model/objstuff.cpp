// Whole-object helpers: centres, lock and visibility tests, pen widths, kind data, and the
// stored-bounds family.
#include "model/objstuff.h"

#include <cstdlib>
#include <vector>

#include "model/docstate.h"
#include "model/pthndlr.h"
#include "model/textfont.h"

bool gDimensionSelected = false;

void CenterOfObject(const ObjectRec* object, float* x, float* y) {
  if (!object || !x || !y) return;
  FloatRect rect = kEmptyRect;
  GetObjectBounds(object, false, &rect, true, false);
  *x = (rect.right - rect.left) / 2.0f + rect.left;
  *y = (rect.bottom - rect.top) / 2.0f + rect.top;
}

namespace {

enum class PointFlag { kLocked, kUndetectable, kSelected };

bool AnyPointHas(const ObjectRec* object, PointFlag flag) {
  for (const PointRec* p = object->firstPoint; p; p = p->nextPoint) {
    switch (flag) {
      case PointFlag::kLocked:
        if (p->locked) return true;
        break;
      case PointFlag::kUndetectable:
        if (!p->detectable) return true;
        break;
      case PointFlag::kSelected:
        if (p->selected) return true;
        break;
    }
  }
  for (const ObjectRec* child = object->firstChild; child; child = child->nextObject)
    if (AnyPointHas(child, flag)) return true;
  return false;
}

}  // namespace

bool IsObjectLocked(const ObjectRec* object) {
  return object && AnyPointHas(object, PointFlag::kLocked);
}

bool IsObjectUndetectable(const ObjectRec* object) {
  return object && AnyPointHas(object, PointFlag::kUndetectable);
}

bool IsObjectSelected(const ObjectRec* object) {
  return object && AnyPointHas(object, PointFlag::kSelected);
}

void SetObjectPointsSelection(ObjectRec* object, uint8_t selected) {
  for (PointRec* point = object ? object->firstPoint : nullptr; point; point = point->nextPoint)
    point->selected = selected;
}

void SetObjectChainSelection(ObjectRec* first, uint8_t selected) {
  for (ObjectRec* object = first; object; object = object->nextObject) {
    SetObjectPointsSelection(object, selected);
    SetObjectChainSelection(object->firstChild, selected);
  }
}

void SetLineWeight(ObjectRec* object) {
  if (!object || !gCurDocument || !gCurDocument->docState) return;
  object->lineWeight = static_cast<float>(gCurDocument->docState->lineWeight);
}

void ChangePattern(ObjectRec* object, int16_t pattern) {
  if (object && object->closed) object->fillPattern = pattern;
}

namespace {

// Weights just below zero are kept as the invisible pen; clearly negative ones draw thin.
constexpr float kInvisiblePenLimit = -0.1f;

}  // namespace

int GetLineWeight(const ObjectRec* object, bool zoomed) {
  if (!object) return 1;
  float w = object->lineWeight;
  if (w <= 0.0f) return w >= kInvisiblePenLimit ? 0 : 1;
  if (zoomed && gCurDocument && gCurDocument->docState) w *= gCurDocument->docState->zoomFactor;
  const int width = static_cast<int>(w + 0.5f);
  return width < 1 ? 1 : width;
}

void DeleteObjectData(ObjectRec* object) {
  if (!object || !object->info) return;
  switch (object->kind) {
    case kTextBlockKind: {
      // The pane's live editor goes with it; the document stops naming it first, so nothing
      // ends the typing in a window that is gone.
      TextPane pane = TextPaneOf(object);
      void* editor = GetTextPaneEditor(pane);
      if (editor && gCurDocument && gCurDocument->activeTextWindow == static_cast<WindowHandle>(editor))
        gCurDocument->activeTextWindow = nullptr;
      DestroyTextPane(pane);
      break;
    }
    case kDimensionTextKind: {
      DimTextInfo* label = DimTextInfoOf(object);
      ObjectRec* owner = label->ownerDimension;
      if (owner && IsDimensionOrLeaderKind(owner->kind) && owner->info &&
          DimInfoOf(owner)->textObject == object)
        DimInfoOf(owner)->textObject = nullptr;
      std::free(label);
      break;
    }
    case kMetaFileKind: {
      MetaInfo* meta = MetaInfoOf(object);
      if (meta->metaFile) DeleteMetaPict(meta->metaFile);
      std::free(meta);
      break;
    }
    default:
      if (IsDimensionOrLeaderKind(object->kind)) {
        DimInfo* dim = DimInfoOf(object);
        ObjectRec* label = dim->textObject;
        if (label && label->kind == kDimensionTextKind && label->info &&
            DimTextInfoOf(label)->ownerDimension == object)
          DimTextInfoOf(label)->ownerDimension = nullptr;
        std::free(dim);
        break;
      }
      return;  // shapes and groups own no kind data
  }
  object->info = nullptr;
}

namespace {

// A copy of a text block's pane; a source with no font of its own gives the copy the fallback.
TextPane DuplicateTextPane(TextPane source) {
  TextPane pane = CopyTextPane(source);
  if (pane && !GetTextPaneFont(pane, nullptr)) SetTextPaneFont(pane, &GetFallbackTextFont());
  return pane;
}

}  // namespace

void DuplicateObjectData(const ObjectRec* source, ObjectRec* target) {
  if (!source || !target || !gCurDocument || !source->info) return;
  if (source->kind == kTextBlockKind) {
    target->info = DuplicateTextPane(TextPaneOf(source));
  } else if (source->kind == kMetaFileKind) {
    MetaInfo* meta = static_cast<MetaInfo*>(std::calloc(1, sizeof(MetaInfo)));
    if (meta) {
      *meta = *MetaInfoOf(source);
      meta->metaFile = MetaInfoOf(source)->metaFile ? CopyMetaPict(MetaInfoOf(source)->metaFile) : nullptr;
    }
    target->info = meta;
  } else if (IsDimensionOrLeaderKind(source->kind)) {
    // The copy keeps the dimension's flags and tolerances; it starts without a label.
    DimInfo* dim = static_cast<DimInfo*>(std::calloc(1, sizeof(DimInfo)));
    if (dim) {
      *dim = *DimInfoOf(source);
      dim->textObject = nullptr;
    }
    target->info = dim;
  } else if (source->kind == kDimensionTextKind) {
    DimTextInfo* label = static_cast<DimTextInfo*>(std::calloc(1, sizeof(DimTextInfo)));
    if (label) {
      *label = *DimTextInfoOf(source);
      label->ownerDimension = nullptr;
    }
    target->info = label;
  } else if (IsShapeKind(source->kind)) {
    target->info = nullptr;
  }
}

int GetPenAllowance(const ObjectRec* object, bool zoomed) {
  const int width = GetLineWeight(object, zoomed);
  return width >= kMinPenForAllowance ? width / 2 : 0;
}

namespace {

void AddStoredBounds(const ObjectRec* object, bool selectedOnly, FloatRect* rect, bool includePen) {
  if (object->kind != kGroupKind && (!selectedOnly || IsObjectSelected(object))) {
    // A dimension only reports that it was passed: its stored bounds are not united here.
    if (IsDimensionKind(object->kind)) {
      gDimensionSelected = true;
    } else {
      const float grow = includePen ? static_cast<float>(GetPenAllowance(object, true)) : 0.0f;
      const FloatRect& b = object->bounds;
      RefineBounds(b.left - grow, b.top - grow, rect);
      RefineBounds(b.right + grow, b.top - grow, rect);
      RefineBounds(b.left - grow, b.bottom + grow, rect);
      RefineBounds(b.right + grow, b.bottom + grow, rect);
    }
  }
  for (const ObjectRec* child = object->firstChild; child; child = child->nextObject)
    AddStoredBounds(child, selectedOnly, rect, includePen);
}

}  // namespace

void GetObjectObjBounds(const ObjectRec* object, bool selectedOnly, FloatRect* rect, bool includePen) {
  if (!object || !rect) return;
  AddStoredBounds(object, selectedOnly, rect, includePen);
}

void GetLayerObjBounds(const LayerRec* layer, bool selectedOnly, FloatRect* rect, bool includePen) {
  if (!layer || !rect || !layer->visible) return;
  for (const ObjectRec* object = layer->firstObject; object; object = object->nextObject)
    AddStoredBounds(object, selectedOnly, rect, includePen);
}

void GetAllLayersObjBounds(const LayerRec* firstLayer, bool selectedOnly, FloatRect* rect, bool includePen) {
  for (const LayerRec* layer = firstLayer; layer; layer = layer->nextLayer)
    GetLayerObjBounds(layer, selectedOnly, rect, includePen);
}

void UpdateObjectBounds(ObjectRec* object) {
  if (!object) return;
  NoteObjectChange(object);
  FloatRect rect = kEmptyRect;
  GetObjectBounds(object, false, &rect, false, false);
  object->bounds = rect;
}

void UpdateObjectRootBounds(ObjectRec* object, bool selectedOnly, bool pointsOnly) {
  if (!object) return;
  NoteObjectChange(object);
  FloatRect rect = kEmptyRect;
  GetObjectBounds(object, selectedOnly, &rect, pointsOnly, false);
  object->bounds = rect;
}

void UpdateLayerRootBounds(LayerRec* layer, bool selectedOnly, bool pointsOnly, bool selectedGroupsOnly) {
  if (!layer || !layer->visible) return;
  for (ObjectRec* object = layer->firstObject; object; object = object->nextObject) {
    if (object->kind != kGroupKind) continue;
    if (selectedGroupsOnly && !IsObjectSelected(object)) continue;
    UpdateObjectRootBounds(object, selectedOnly, pointsOnly);
  }
}

void UpdateAllLayerRootBounds(LayerRec* firstLayer, bool selectedOnly, bool pointsOnly,
                              bool selectedGroupsOnly) {
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer)
    UpdateLayerRootBounds(layer, selectedOnly, pointsOnly, selectedGroupsOnly);
}
