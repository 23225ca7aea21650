// Whole-object helpers: centres, lock and visibility tests, pen widths, kind data, and the
// stored-bounds family (rectangles united from the objects' stored bounds).
#pragma once

#include "model/records.h"

void CenterOfObject(const ObjectRec* object, float* x, float* y);
bool IsObjectLocked(const ObjectRec* object);
bool IsObjectUndetectable(const ObjectRec* object);
bool IsObjectSelected(const ObjectRec* object);
// Sets the selected flag of every point of `object` alone.
void SetObjectPointsSelection(ObjectRec* object, uint8_t selected);
// Sets it for each object of the chain that starts at `first` and for their members at any depth.
void SetObjectChainSelection(ObjectRec* first, uint8_t selected);
void SetLineWeight(ObjectRec* object);
void ChangePattern(ObjectRec* object, int16_t pattern);
// Pen width in pixels; zoomed by the current document's zoom when asked.
int GetLineWeight(const ObjectRec* object, bool zoomed);
// How far a pen reaches beyond the outline on each side: half the pen width (whole pixels) for
// pens of 2 pixels and more, else 0.
constexpr int kMinPenForAllowance = 2;
int GetPenAllowance(const ObjectRec* object, bool zoomed);

void DeleteObjectData(ObjectRec* object);
void DuplicateObjectData(const ObjectRec* source, ObjectRec* target);

// Set by GetObjectObjBounds when it passes a dimension.
extern bool gDimensionSelected;

void GetObjectObjBounds(const ObjectRec* object, bool selectedOnly, FloatRect* rect, bool includePen);
void GetLayerObjBounds(const LayerRec* layer, bool selectedOnly, FloatRect* rect, bool includePen);
void GetAllLayersObjBounds(const LayerRec* firstLayer, bool selectedOnly, FloatRect* rect, bool includePen);

void UpdateObjectBounds(ObjectRec* object);
void UpdateObjectRootBounds(ObjectRec* object, bool selectedOnly, bool pointsOnly);
void UpdateLayerRootBounds(LayerRec* layer, bool selectedOnly, bool pointsOnly, bool selectedGroupsOnly);
void UpdateAllLayerRootBounds(LayerRec* firstLayer, bool selectedOnly, bool pointsOnly,
                              bool selectedGroupsOnly);
