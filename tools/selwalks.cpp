// The two walks over the selection, the selection summary, and the selection helpers built on
// them (the n-th selected object, aligning to the grid).
#include <cmath>
#include <vector>

#include "geometry/tranform.h"
#include "geometry/units.h"
#include "geometry/zoomhdlr.h"
#include "model/joinhdlr.h"
#include "model/lyrhndlr.h"
#include "model/objedit.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "tools/drxfont.h"
#include "tools/editops.h"
#include "tools/selhndlr.h"
#include "tools/textpane.h"
#include "tools/toolhooks.h"
#include "tools/traksupp.h"

static_assert(kOpDuplicate == kDuplicateCommand && kOpMirror == kMirrorHorizontalCommand &&
                  kOpDuplicateVariant == kMirrorVerticalCommand,
              "the duplicate walks pass their codes on as DuplicateObject's commands");

namespace {

// An object nesting more groups than this may not be grouped again.
constexpr int kMaxNestedGroups = 25;

DocState* CurrentState() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}

template <typename T>
T ParamOr(const void* param, T fallback) {
  return param ? *static_cast<const T*>(param) : fallback;
}

bool IsDimensionText(const ObjectRec* object) {
  return object->kind == kDimensionTextKind;
}

// The dimension whose flags a dimension or its label carries, or null.
DimInfo* DimensionFlagsOf(ObjectRec* object, bool withLeader, bool withLabel) {
  if (withLabel && IsDimensionText(object) && object->info) {
    ObjectRec* owner = DimTextInfoOf(object)->ownerDimension;
    return owner && owner->info && IsDimensionOrLeaderKind(owner->kind) ? DimInfoOf(owner) : nullptr;
  }
  const bool kindOk = withLeader ? IsDimensionOrLeaderKind(object->kind) : IsDimensionKind(object->kind);
  return kindOk && object->info ? DimInfoOf(object) : nullptr;
}

// Nudge distance in page units: the drawing's nudge rate, a world length.
float NudgeDistance() {
  const DocState* state = CurrentState();
  return state ? ConvertWorldToScreen(state->nudgeRate, state, false) : 1.0f;
}

int CountGroups(const ObjectRec* object) {
  int count = object->kind == kGroupKind ? 1 : 0;
  for (const ObjectRec* c = object->firstChild; c; c = c->nextObject) count += CountGroups(c);
  return count;
}

// Applies one operation to one object; true when the object's geometry changed.
bool ApplyToObject(ObjectRec* object, int op, void* param) {
  switch (op) {
    case kOpFoldSelectionState:
      if (DocState* state = CurrentState()) UpdateSelectionState(object, &state->selectionState);
      return false;
    case kOpTextPassive:
      // The drawing paints every block without a live editor: repaint it.
      if (object->kind == kTextBlockKind && object->info) InvalidatePageRect(&object->bounds, 1);
      return false;
    case kOpTextActive:
    case kOpTextToTop:
      // A block gets its live editor when the text tool is pressed on it, not before.
      return false;
    case kOpSelect:
      SelectObj(object, kSelectMode, true);
      return false;
    case kOpSetPattern:
      ChangePattern(object, ParamOr<int16_t>(param, gPattern));
      return false;
    case kOpFlipHorizontal:
    case kOpFlipVertical:
      FlipObject(object, op == kOpFlipHorizontal);
      return true;
    case kOpSmooth:
      SmoothObject(object);
      return true;
    case kOpUnsmooth:
      UnsmoothObject(object);
      return true;
    case kOpLineWeight:
      object->lineWeight = static_cast<float>(ParamOr<int16_t>(param, 1));
      return true;
    case kOpArrowsIn:
    case kOpArrowsOut:
      if (DimInfo* dim = IsDimensionKind(object->kind) ? DimensionFlagsOf(object, false, false) : nullptr) {
        if (op == kOpArrowsOut)
          dim->dimFlags |= kDimArrowsOut;
        else
          dim->dimFlags &= ~kDimArrowsOut;
      }
      return false;
    case kOpTextFrame:
      if (DimInfo* dim = IsDimensionKind(object->kind) ? DimensionFlagsOf(object, false, false) : nullptr) {
        const DocState* state = CurrentState();
        const bool framed = state ? (state->dimFlags & kDimTextFrame) != 0 : !(dim->dimFlags & kDimTextFrame);
        dim->dimFlags = framed ? (dim->dimFlags | kDimTextFrame) : (dim->dimFlags & ~kDimTextFrame);
      }
      return false;
    case kOpFont:
      if (param) ChangeTextBlockFont(object, static_cast<const FontRecord*>(param), &gFontColor);
      return false;
    case kOpAlignRight:
    case kOpAlignLeft:
    case kOpAlignCenter:
      ChangeTextBlockAlignment(object, op);
      return false;
    case kOpDimTextFont:
    case kOpDimTextSize:
    case kOpDimTextStyle:
      if (IsDimensionText(object) && object->info && param) {
        DimTextInfo* label = DimTextInfoOf(object);
        const int16_t value = *static_cast<const int16_t*>(param);
        if (op == kOpDimTextFont) label->fontNumber = value;
        if (op == kOpDimTextSize) label->fontSize = value;
        if (op == kOpDimTextStyle) label->fontStyle = static_cast<uint8_t>(value);
      }
      return false;
    case kOpLineType:
      if (!IsObjectLocked(object)) object->lineType = ParamOr<int16_t>(param, kSolidLineType);
      return false;
    case kOpFillColor:
      if (!IsObjectLocked(object) && param) object->fillColor = *static_cast<const RGB16*>(param);
      return false;
    case kOpPenColor:
      if (!IsObjectLocked(object) && param) object->penColor = *static_cast<const RGB16*>(param);
      return false;
    case kOpNudgeUp:
    case kOpNudgeDown:
    case kOpNudgeLeft:
    case kOpNudgeRight: {
      const int direction = op == kOpNudgeUp     ? kNudgeUp
                            : op == kOpNudgeDown ? kNudgeDown
                            : op == kOpNudgeLeft ? kNudgeLeft
                                                 : kNudgeRight;
      NudgeObject(object, NudgeDistance(), direction);
      return true;
    }
    case kOpTranslate:
      if (param) TranslateObject(object, static_cast<const TransformRec*>(param));
      return true;
    case kOpScale:
      if (param) {
        const TransformRec* t = static_cast<const TransformRec*>(param);
        // A factor of 0 would flatten the objects beyond any undo.
        if (t->scaleX == 0.0f || t->scaleY == 0.0f || !std::isfinite(t->scaleX) || !std::isfinite(t->scaleY))
          return false;
        ScaleObject(object, t);
      }
      return true;
    case kOpShear:
      if (param) ShearObject(object, static_cast<const TransformRec*>(param));
      return true;
    case kOpRotate:
      if (param) RotateObject(object, static_cast<const TransformRec*>(param));
      return true;
    default:
      if (op >= kOpFirstArrowStyle && op <= kOpLastArrowStyle) {
        if (DimInfo* dim = DimensionFlagsOf(object, true, false))
          dim->dimFlags = (dim->dimFlags & ~kDimArrowBits) | (1u << (op - kOpFirstArrowStyle));
      } else if (op >= kOpFirstReadout && op <= kOpLastReadout) {
        if (DimInfo* dim = DimensionFlagsOf(object, false, true))
          dim->dimFlags = (dim->dimFlags & ~kDimReadoutBits) | (1u << (12 + op - kOpFirstReadout));
      } else if (op >= kOpFirstTolerance && op <= kOpLastTolerance) {
        if (DimInfo* dim = DimensionFlagsOf(object, false, true)) {
          dim->dimFlags &= ~kDimToleranceBits;
          if (op != kOpFirstTolerance) dim->dimFlags |= 1u << (9 + op - kOpFirstTolerance - 1);
        }
      }
      return false;
  }
}

// Applies to the object and all its members; a group's bounds follow its members.
void ApplyToTree(ObjectRec* object, int op, void* param) {
  const bool changed = ApplyToObject(object, op, param);
  for (ObjectRec* child = object->firstChild; child; child = child->nextObject) ApplyToTree(child, op, param);
  if (object->kind == kGroupKind && op != kOpFoldSelectionState)
    UpdateObjectRootBounds(object, false, false);
  else if (changed)
    UpdateObjectBounds(object);
}

LayerRec* LastVisibleLayer(LayerRec* first) {
  LayerRec* found = nullptr;
  for (LayerRec* layer = first; layer; layer = layer->nextLayer)
    if (layer->visible) found = layer;
  return found;
}

LayerRec* FirstVisibleLayer(LayerRec* first) {
  for (LayerRec* layer = first; layer; layer = layer->nextLayer)
    if (layer->visible) return layer;
  return nullptr;
}

void InsertAtHead(ObjectRec* object, LayerRec* layer) {
  NoteObjectChange(object);
  object->layer = layer;
  object->parent = nullptr;
  object->prevObject = nullptr;
  object->nextObject = layer->firstObject;
  if (layer->firstObject) layer->firstObject->prevObject = object;
  layer->firstObject = object;
}

LayerRec* gWalkFirstLayer = nullptr;  // the list a top-level walk runs over

// Operations that unlink, move or copy objects: they work from a snapshot of the selection.
bool ChangesList(int op) {
  switch (op) {
    case kOpBringToFront:
    case kOpSendToBack:
    case kOpClear:
    case kOpUnjoin:
    case kOpGroup:
    case kOpUngroup:
    case kOpDuplicate:
    case kOpMirror:
    case kOpDuplicateVariant:
    case kOpEndTextEdit:
      return true;
    default:
      return false;
  }
}

void CollectSelected(LayerRec* layer, std::vector<ObjectRec*>* out) {
  if (!layer || !layer->visible) return;
  for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
    if (IsObjectSelected(object)) out->push_back(object);
}

}  // namespace

void SelectedObject(ObjectRec* object, bool selectedOnly, int op, void* param) {
  if (!object) return;
  if (selectedOnly && !IsObjectSelected(object)) return;
  if (op == kOpCountNestedGroups) {
    if (CountGroups(object) > kMaxNestedGroups) gOverload = 1;
    return;
  }
  ApplyToTree(object, op, param);
}

void SelectedObjectLayer(LayerRec* layer, bool selectedOnly, int op, void* param) {
  if (!layer || !layer->visible) return;
  for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
    SelectedObject(object, selectedOnly, op, param);
}

void SelectedObjectAllLayers(LayerRec* firstLayer, bool selectedOnly, int op, void* param) {
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer)
    SelectedObjectLayer(layer, selectedOnly, op, param);
}

void TopLevelObject(ObjectRec* object, int op, void* param) {
  if (!object) return;
  switch (op) {
    case kOpCount:
      ++gObjectCount;
      break;
    case kOpCountGroups:
      if (object->kind == kGroupKind) ++gObjectCount;
      break;
    case kOpCountLocked:
      if (IsObjectLocked(object)) ++gObjectCount;
      break;
    case kOpCountOvals:
      if (object->kind == kOvalKind) ++gObjectCount;
      break;
    case kOpBringToFront:
    case kOpSendToBack: {
      LayerRec* target =
          op == kOpBringToFront ? LastVisibleLayer(gWalkFirstLayer) : FirstVisibleLayer(gWalkFirstLayer);
      if (!target) target = object->layer;
      if (!target) break;
      UnlinkObject(object);
      if (op == kOpBringToFront)
        AppendObjectToLayer(object, target);
      else
        InsertAtHead(object, target);
      SelectObj(object, kDeselectMode, true);
      break;
    }
    case kOpClear:
      if (!IsObjectLocked(object)) {
        InvalidatePageRect(&object->bounds, kHandleHalfSize + 2);
        DeleteObj(object);
      }
      break;
    case kOpGroup:
      if (!gGroupLeader) {
        LayerRec* layer =
            gCurDocument && gCurDocument->currentLayer ? gCurDocument->currentLayer : object->layer;
        gGroupLeader = CreateObject(kGroupKind, 0, 0, nullptr, nullptr, 1.0f, kSolidLineType, kNoFill,
                                    nullptr, nullptr, nullptr, nullptr, layer, nullptr);
        if (!gGroupLeader || !layer) break;
        AppendObjectToLayer(gGroupLeader, layer);
      }
      if (object != gGroupLeader) {
        GroupObject(object);
        UpdateObjectRootBounds(gGroupLeader, false, false);
      }
      break;
    case kOpEndTextEdit:
      DeleteEmptyTextBlock(object);
      break;
    case kOpUngroup:
      UngroupObject(object);
      break;
    case kOpUnjoin:
      InvalidatePageRect(&object->bounds, kHandleHalfSize + 2);
      UnjoinObject(object);
      break;
    case kOpDuplicate:
    case kOpMirror:
    case kOpDuplicateVariant:
      DuplicateTopLevelObject(object, op);
      break;
    default:
      (void)param;
      break;
  }
}

void TopLevelObjectLayer(LayerRec* layer, int op, void* param) {
  if (!layer || !layer->visible) return;
  if (ChangesList(op)) {
    std::vector<ObjectRec*> selected;
    CollectSelected(layer, &selected);
    for (ObjectRec* object : selected) TopLevelObject(object, op, param);
    return;
  }
  for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
    if (IsObjectSelected(object)) TopLevelObject(object, op, param);
}

void TopLevelObjectAllLayers(LayerRec* firstLayer, int op, void* param) {
  gWalkFirstLayer = firstLayer;
  if (ChangesList(op)) {
    // One snapshot over all layers first: an object moved to another layer is not met again.
    std::vector<ObjectRec*> selected;
    for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) CollectSelected(layer, &selected);
    for (ObjectRec* object : selected) TopLevelObject(object, op, param);
  } else {
    for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) TopLevelObjectLayer(layer, op, param);
  }
  gWalkFirstLayer = nullptr;
}

int32_t CountSelectedObjects(LayerRec* firstLayer, int op) {
  gObjectCount = 0;
  TopLevelObjectAllLayers(firstLayer, op, nullptr);
  return gObjectCount;
}

ObjectRec* GetASelectedObject(int n) {
  if (!gCurDocument || n < 1) return nullptr;
  int seen = 0;
  for (LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer) {
    if (!layer->visible) continue;
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      if (IsObjectSelected(object) && ++seen == n) return object;
  }
  return nullptr;
}

// ---- Selection summary ----

namespace {

int16_t ArrowStyleOf(uint32_t flags) {
  for (int bit = 0; bit <= 6; ++bit)
    if (flags & (1u << bit)) return static_cast<int16_t>(kFirstArrowStyle + bit);
  return kFirstArrowStyle;
}

int16_t ToleranceStyleOf(uint32_t flags) {
  if (flags & (1u << 9)) return kSingleTolerance;
  if (flags & (1u << 10)) return kDoubleTolerance;
  if (flags & (1u << 11)) return kLimitingTolerance;
  return kNoTolerance;
}

template <typename T>
bool Same(const T& a, const T& b) {
  return a == b;
}
bool Same(const RGB16& a, const RGB16& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The first object sets the value; a later one that disagrees clears the flag.
template <typename T>
void Fold(bool first, uint8_t* uniform, T* value, const T& seen) {
  if (first) {
    *uniform = 1;
    *value = seen;
  } else if (!Same(*value, seen)) {
    *uniform = 0;
  }
}

}  // namespace

void ClearSelectionState(const DocState* state, SelectionState* out) {
  if (!out) return;
  *out = SelectionState{};
  out->firstObject = 1;
  ClearSelectionSummary(state, out);
  // The current pattern and alignment are the tools' own, not the drawing's.
  out->patternUniform = out->alignmentUniform = 1;
  out->pattern = gPattern;
  out->alignment = gTextAlignment;
}

void UpdateSelectionState(ObjectRec* object, SelectionState* s) {
  if (!object || !s || object->kind == kGroupKind) return;
  if (!IsObjectSelected(object)) return;
  const bool first = s->firstObject != 0;
  if (object->closed) {
    Fold(first, &s->patternUniform, &s->pattern, object->fillPattern);
    Fold(first, &s->fillColorUniform, &s->fillColor, object->fillColor);
  }
  Fold(first, &s->lineWeightUniform, &s->lineWeight, static_cast<int16_t>(object->lineWeight));
  Fold(first, &s->penColorUniform, &s->penColor, object->penColor);
  Fold(first, &s->lineTypeUniform, &s->lineType, object->lineType);
  if (IsDimensionOrLeaderKind(object->kind) && object->info) {
    const uint32_t flags = DimInfoOf(object)->dimFlags;
    Fold(first, &s->arrowStyleUniform, &s->arrowStyle, ArrowStyleOf(flags));
    if (object->kind != kLeaderDimKind) {
      Fold(first, &s->arrowsOutUniform, &s->arrowsOut, static_cast<int16_t>((flags & kDimArrowsOut) ? 1 : 0));
      Fold(first, &s->textFrameUniform, &s->textFrame, static_cast<int16_t>((flags & kDimTextFrame) ? 1 : 0));
      Fold(first, &s->toleranceStyleUniform, &s->toleranceStyle, ToleranceStyleOf(flags));
    }
  }
  if (object->kind == kTextBlockKind && object->info) {
    Fold(first, &s->alignmentUniform, &s->alignment,
         CommandOfPaneAlignment(GetTextPaneAlignment(TextPaneOf(object))));
  }
  s->firstObject = 0;
}

void UpdateSelectionStateAreas(SelectionState*) {
  UpdateSelectionStateAreasHook();
}

void RebuildSelectionState() {
  DocState* state = CurrentState();
  if (!state) return;
  ClearSelectionState(state, &state->selectionState);
  SelectedObjectAllLayers(gCurDocument->firstLayer, true, kOpFoldSelectionState, nullptr);
  UpdateSelectionStateAreas(&state->selectionState);
}

// ---- Align to grid ----

void AlignSelectedToGrid(int command) {
  DocState* state = CurrentState();
  if (!state) return;
  FloatRect bounds = kEmptyRect;
  GetAllLayersBounds(gCurDocument->firstLayer, true, &bounds, false, false);
  if (IsEmptyRect(&bounds)) return;
  float x = bounds.left, y = bounds.top;
  if (command == kAlignTopRight || command == kAlignBottomRight) x = bounds.right;
  if (command == kAlignBottomRight || command == kAlignBottomLeft) y = bounds.bottom;
  // The grid is the tracking's own: spaced in window units from window 0, so the corner is
  // snapped where the pane shows it and brought back to page units.
  FloatPoint snapped;
  if (!SnapPointToGrid(state, ZoomF(x), ZoomF(y), &snapped)) return;
  TransformRec t = {};
  t.scaleX = t.scaleY = 1.0f;
  t.dx = UnzoomF(snapped.x) - x;
  t.dy = UnzoomF(snapped.y) - y;
  if (t.dx == 0.0f && t.dy == 0.0f) return;
  InvalidatePageRect(&bounds, kHandleHalfSize + 2);
  SelectedObjectAllLayers(gCurDocument->firstLayer, true, kOpTranslate, &t);
  FloatRect after = kEmptyRect;
  GetAllLayersBounds(gCurDocument->firstLayer, true, &after, false, false);
  InvalidatePageRect(&after, kHandleHalfSize + 2);
}
