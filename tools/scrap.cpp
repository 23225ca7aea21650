// The internal clipboard layer, and the scrap that carries whole drawings for embedding.
//
// Copies are made with the duplicate operation, so a text block on the clipboard holds its own
// text and font and no window, and a picture its own metafile: nothing on the clipboard names
// the drawing it came from.
#include "tools/scrap.h"

#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objedit.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "tools/selhndlr.h"
#include "tools/undo.h"

LayerRec* gClipboardLayer = nullptr;
char gClipboardLayerName[kLayerNameSize] = "ClipboardLayer";
float gPasteOffset = kPasteStep;
FloatRect gScrapBounds = kEmptyRect;

namespace {

// The repaint around pasted objects reaches this far beyond them, in pixels.
constexpr int kPasteRepaintMargin = 5;

ObjectRec* LabelOf(const ObjectRec* object) {
  if (!IsDimensionOrLeaderKind(object->kind) || !object->info) return nullptr;
  return DimInfoOf(object)->textObject;
}

// An object and its members name `layer` as theirs.
void SetTreeLayer(ObjectRec* object, LayerRec* layer) {
  object->layer = layer;
  for (ObjectRec* member = object->firstChild; member; member = member->nextObject)
    SetTreeLayer(member, layer);
}

// Duplicates of `sources` moved by `offset` and appended to `layer`, in order; each copied
// dimension gets its copied label back. `made` receives the copies. False when any copy could
// not be made.
bool DuplicateInto(const std::vector<ObjectRec*>& sources, LayerRec* layer, float offset,
                   std::vector<ObjectRec*>* made) {
  std::unordered_map<const ObjectRec*, ObjectRec*> copies;
  bool complete = true;
  for (const ObjectRec* source : sources) {
    ObjectRec* copy =
        DuplicateObject(source, nullptr, nullptr, FloatPoint{offset, offset}, false, kDuplicateCommand);
    if (!copy) {
      complete = false;  // a copy that cannot be made is left out; the others go
      continue;
    }
    copy->prevObject = copy->nextObject = nullptr;
    copy->parent = nullptr;
    AppendObjectToLayer(copy, layer);
    SetTreeLayer(copy, layer);
    copies.emplace(source, copy);
    if (made) made->push_back(copy);
  }
  for (const auto& pair : copies) {
    const ObjectRec* label = LabelOf(pair.first);
    const auto found = label ? copies.find(label) : copies.end();
    if (found == copies.end() || !pair.second->info || !found->second->info) continue;
    DimInfoOf(pair.second)->textObject = found->second;
    DimTextInfoOf(found->second)->ownerDimension = pair.second;
  }
  return complete;
}

void UpdateScrapBounds() {
  gScrapBounds = kEmptyRect;
  if (gClipboardLayer) GetLayerBounds(gClipboardLayer, false, &gScrapBounds, false, true);
}

}  // namespace

std::vector<ObjectRec*> CollectCopiedObjects(CopyScope scope) {
  std::vector<ObjectRec*> taken;
  DocumentRec* document = gCurDocument;
  LayerRec* layer = document ? document->currentLayer : nullptr;
  if (!layer) return taken;
  std::unordered_set<const ObjectRec*> labels;  // labels already taken with their dimensions
  for (ObjectRec* object = layer->firstObject; object; object = object->nextObject) {
    if (object->kind == kDimensionTextKind || !IsObjectSelected(object)) continue;
    if (scope == CopyScope::kCut && IsObjectLocked(object)) continue;
    taken.push_back(object);
    ObjectRec* label = LabelOf(object);
    if (label && label->layer == layer && !label->parent && labels.insert(label).second)
      taken.push_back(label);
  }
  return taken;
}

void FreeClipboardLayer() {
  if (!gClipboardLayer) return;
  DeleteLayerObjects(gClipboardLayer);
  std::free(gClipboardLayer);
  gClipboardLayer = nullptr;
  gScrapBounds = kEmptyRect;
}

bool CopyObjectsToClipboard(const std::vector<ObjectRec*>& objects) {
  if (!gCurDocument || !gCurDocument->docState) return false;
  gPasteOffset = kPasteStep;
  FreeClipboardLayer();
  gClipboardLayer = CreateLayer(gClipboardLayerName, 1, 1, nullptr);
  if (!gClipboardLayer) return false;
  const bool complete = DuplicateInto(objects, gClipboardLayer, 0.0f, nullptr);
  UpdateScrapBounds();
  return complete;
}

bool DoCopyObjects() {
  return CopyObjectsToClipboard(CollectCopiedObjects(CopyScope::kCopy));
}

int CutObjects() {
  if (!gCurDocument || !gCurDocument->docState) return 0;
  const std::vector<ObjectRec*> taken = CollectCopiedObjects(CopyScope::kCut);
  // An object whose copy is not on the clipboard stays in the drawing.
  if (!CopyObjectsToClipboard(taken) || taken.empty()) return 0;
  return ClearObjectsWithUndo(taken.data(), taken.size());
}

bool ClipboardHasObjects() {
  return gClipboardLayer && gClipboardLayer->firstObject;
}

int DoPasteObjects() {
  DocumentRec* document = gCurDocument;
  LayerRec* layer = document ? document->currentLayer : nullptr;
  if (!layer || !document->docState || !ClipboardHasObjects()) return 0;
  SelectLayer(layer, kDeselectMode, true);
  std::vector<ObjectRec*> sources;
  for (ObjectRec* object = gClipboardLayer->firstObject; object; object = object->nextObject)
    sources.push_back(object);
  std::vector<ObjectRec*> pasted;
  DuplicateInto(sources, layer, gPasteOffset, &pasted);
  for (ObjectRec* object : pasted) SelectObj(object, kSelectMode, false);
  gPasteOffset += kPasteStep;
  FloatRect area = kEmptyRect;
  GetLayerBounds(layer, true, &area, false, true);
  SelectedObjectAllLayers(document->firstLayer, false, kOpTextPassive, nullptr);
  InvalidatePageRect(&area, kPasteRepaintMargin);
  RefreshDrawing();
  return static_cast<int>(pasted.size());
}

bool DoOLECopyObjects() {
  if (!gCurDocument || !gCurDocument->docState) {
    FreePrivateScrap();
    return false;
  }
  const bool ok = WriteScrapObjects();
  gOLEScrapSize = ok ? gPrivateScrapSize : 0;
  gScrapIndex = 0;
  return ok;
}

bool DoOLEPasteObjects() {
  DocumentRec* document = gCurDocument;
  if (!document || !gPrivateScrap) return false;
  SelectAllLayers(document->firstLayer, kDeselectMode, true);
  const bool ok = ReadScrapObjects(gPrivateScrap, gPrivateScrapSize);
  FloatRect area = kEmptyRect;
  GetAllLayersBounds(document->firstLayer, false, &area, false, true);
  InvalidatePageRect(&area, kPasteRepaintMargin);
  SelectedObjectAllLayers(document->firstLayer, false, kOpTextPassive, nullptr);
  gScrapIndex = 0;
  RefreshDrawing();
  return ok;
}
