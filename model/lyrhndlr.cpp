// Layers of the current drawing.
#include "model/lyrhndlr.h"

#include <cstdlib>
#include <cstring>

#include "model/docstate.h"
#include "model/objhndlr.h"

LayerRec* CreateLayer(const char* name, uint8_t visible, uint8_t layerFlag, ObjectRec* firstObject) {
  LayerRec* layer = static_cast<LayerRec*>(std::calloc(1, sizeof(LayerRec)));
  if (!layer) return nullptr;
  if (name) {
    size_t length = std::strlen(name);
    if (length > kLayerNameSize - 1) length = kLayerNameSize - 1;
    std::memcpy(layer->name, name, length);
  }
  layer->visible = visible;
  layer->layerFlag = layerFlag;
  layer->firstObject = firstObject;
  return layer;
}

namespace {

ObjectRec* LastObject(ObjectRec* object) {
  if (!object) return nullptr;
  while (object->nextObject) object = object->nextObject;
  return object;
}

void LinkAtEnd(ObjectRec* object, LayerRec* layer, ObjectRec* last) {
  NoteObjectChange(object);
  object->layer = layer;
  object->nextObject = nullptr;
  object->prevObject = last;
  if (last)
    last->nextObject = object;
  else
    layer->firstObject = object;
}

}  // namespace

void AppendObjectToLayer(ObjectRec* object, LayerRec* layer) {
  if (!object || !layer) return;
  LinkAtEnd(object, layer, LastObject(layer->firstObject));
}

void LinkObjectAfter(ObjectRec* object, LayerRec* layer, ObjectRec* tail) {
  if (!object || !layer) return;
  // A tail of another list is not trusted; a tail that is not last costs the walk from it.
  if (!tail || tail->layer != layer || tail->parent || !layer->firstObject) {
    AppendObjectToLayer(object, layer);
    return;
  }
  LinkAtEnd(object, layer, LastObject(tail));
}

void AppendLayerToDocument(LayerRec* layer) {
  LinkLayerAfter(layer, gCurDocument ? gCurDocument->firstLayer : nullptr);
}

void LinkLayerAfter(LayerRec* layer, LayerRec* tail) {
  NoteModelChange();
  if (!layer || !gCurDocument) return;
  // A null tail walks from the first layer; a tail of a list since emptied is not followed.
  LayerRec* last = gCurDocument->firstLayer ? (tail ? tail : gCurDocument->firstLayer) : nullptr;
  while (last && last->nextLayer) last = last->nextLayer;
  layer->nextLayer = nullptr;
  layer->prevLayer = last;
  if (last) {
    last->nextLayer = layer;
  } else {
    gCurDocument->firstLayer = layer;
    gCurDocument->currentLayer = layer;
  }
}

void UnlinkLayer(LayerRec* layer) {
  NoteModelChange();
  if (!layer) return;
  if (layer->prevLayer) layer->prevLayer->nextLayer = layer->nextLayer;
  if (layer->nextLayer) layer->nextLayer->prevLayer = layer->prevLayer;
  layer->prevLayer = nullptr;
  layer->nextLayer = nullptr;
}

void DeleteLayer(LayerRec* layer) {
  NoteModelChange();
  if (!layer) return;
  LayerRec* replacement = layer->prevLayer ? layer->prevLayer : layer->nextLayer;
  if (gCurDocument) {
    if (gCurDocument->firstLayer == layer) gCurDocument->firstLayer = replacement;
    if (gCurDocument->currentLayer == layer) gCurDocument->currentLayer = replacement;
  }
  UnlinkLayer(layer);
  DeleteLayerObjects(layer);
  std::free(layer);
}

void DeleteLayerObjects(LayerRec* layer) {
  if (!layer) return;
  ObjectRec* object = layer->firstObject;
  while (object) {
    ObjectRec* next = object->nextObject;
    DeleteObj(object);
    object = next;
  }
  layer->firstObject = nullptr;
}

int CountLayers(const LayerRec* firstLayer) {
  int count = 0;
  for (const LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) ++count;
  return count;
}
