// Text blocks without windows: alignment, matching editors to blocks, sizes, fonts.
#include "tools/textpane.h"

#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "tools/selhndlr.h"

int16_t gTextAlignment = kAlignLeftCommand;

TextBlockHooks gTextBlockHooks = {nullptr, nullptr};

namespace {

bool IsTextBlock(const ObjectRec* object) {
  return object && object->kind == kTextBlockKind && object->info;
}

ObjectRec* MatchTextPaneObject(ObjectRec* object, void* editor, bool selectedOnly) {
  for (; object; object = object->nextObject) {
    if (IsTextBlock(object) && GetTextPaneEditor(TextPaneOf(object)) == editor &&
        (!selectedOnly || IsObjectSelected(object)))
      return object;
    if (ObjectRec* member = MatchTextPaneObject(object->firstChild, editor, selectedOnly)) return member;
  }
  return nullptr;
}

}  // namespace

int16_t PaneAlignmentOfCommand(int command) {
  if (command == kAlignRightCommand) return kAlignRight;
  if (command == kAlignCenterCommand) return kAlignCentred;
  return kAlignLeft;
}

int16_t CommandOfPaneAlignment(int16_t alignment) {
  if (alignment == kAlignRight) return kAlignRightCommand;
  if (alignment == kAlignCentred) return kAlignCenterCommand;
  return kAlignLeftCommand;
}

ObjectRec* MatchTextPaneLayer(LayerRec* layer, void* editor, bool selectedOnly) {
  if (!layer || !layer->visible || !editor) return nullptr;
  return MatchTextPaneObject(layer->firstObject, editor, selectedOnly);
}

ObjectRec* MatchTextPaneAllLayers(LayerRec* firstLayer, void* editor, bool selectedOnly) {
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer)
    if (ObjectRec* found = MatchTextPaneLayer(layer, editor, selectedOnly)) return found;
  return nullptr;
}

ObjectRec* MatchTextPaneToObject(void* editor, bool selectedOnly) {
  return gCurDocument ? MatchTextPaneAllLayers(gCurDocument->firstLayer, editor, selectedOnly) : nullptr;
}

void SizeTextPane(ObjectRec* text, const IntRect* textRect) {
  if (!text || !textRect || !text->firstPoint) return;
  const FloatRect box = text->bounds;
  const float bottom = box.top + static_cast<float>(textRect->bottom - textRect->top) + 2.0f * kTextBoxInset;
  const float xs[4] = {box.left, box.right, box.right, box.left}, ys[4] = {box.top, box.top, bottom, bottom};
  int i = 0;
  for (PointRec* point = text->firstPoint; point && i < 4; point = point->nextPoint, ++i) {
    point->x = xs[i];
    point->y = ys[i];
  }
  UpdateObjectBounds(text);
  for (ObjectRec* parent = text->parent; parent; parent = parent->parent)
    UpdateObjectRootBounds(parent, false, false);
}

void ChangeTextBlockAlignment(ObjectRec* text, int command) {
  if (!IsTextBlock(text)) return;
  TextPane pane = TextPaneOf(text);
  if (GetTextPaneTextLength(pane) == 0) return;
  const int16_t previous = GetTextPaneAlignment(pane);
  SetTextPaneAlignment(pane, PaneAlignmentOfCommand(command));
  if (GetTextPaneEditor(pane) && gTextBlockHooks.realignEditor) gTextBlockHooks.realignEditor(text, previous);
  InvalidatePageRect(&text->bounds, 1);
}

void ChangeTextBlockFont(ObjectRec* text, const FontRecord* font, const RGB16* colour) {
  if (!IsTextBlock(text) || !font) return;
  SetTextPaneFont(TextPaneOf(text), font);
  if (colour) text->penColor = *colour;
  InvalidatePageRect(&text->bounds, 1);
  if (gTextBlockHooks.adjustSize) gTextBlockHooks.adjustSize(text);
}

bool DeleteEmptyTextBlock(ObjectRec* text) {
  if (!text || text->kind != kTextBlockKind) return false;
  if (text->info && GetTextPaneTextLength(TextPaneOf(text)) > 0) return false;
  SelectObj(text, kDeselectMode, true);
  InvalidatePageRect(&text->bounds, kHandleHalfSize + 2);
  ObjectRec* parent = text->parent;
  DeleteObj(text);
  for (; parent; parent = parent->parent) UpdateObjectRootBounds(parent, false, false);
  return true;
}
