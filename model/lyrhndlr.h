// Layers of the current drawing.
#pragma once

#include "model/records.h"

// A new layer (name copied, cut to fit), unlinked. Null when memory is exhausted.
LayerRec* CreateLayer(const char* name, uint8_t visible, uint8_t layerFlag, ObjectRec* firstObject);
void AppendObjectToLayer(ObjectRec* object, LayerRec* layer);
// Appends like AppendObjectToLayer without walking the list: `tail` is the layer's last
// top-level object, or null when the list is empty. Sets the object's layer. A tail of another
// list, or null for a list that is not empty, falls back to the walk.
void LinkObjectAfter(ObjectRec* object, LayerRec* layer, ObjectRec* tail);
// Appends to the current document's list; the first layer of an empty list becomes current.
void AppendLayerToDocument(LayerRec* layer);
// Appends like AppendLayerToDocument without walking the list: `tail` is the current document's
// last layer, or null when it has none. A tail that is not last costs the walk from it.
void LinkLayerAfter(LayerRec* layer, LayerRec* tail);
void UnlinkLayer(LayerRec* layer);
// Deletes the layer and its objects from the current document, moving the first and current
// layer pointers to the previous layer (or the next when it was first).
void DeleteLayer(LayerRec* layer);
void DeleteLayerObjects(LayerRec* layer);
int CountLayers(const LayerRec* firstLayer);
