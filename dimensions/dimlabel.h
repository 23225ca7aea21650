// The dimension record of a new dimension and its label: the DimInfo with the drawing's current
// flags and tolerances, and the kind-201 text object the readout is centred on.
#pragma once

#include <cstdint>

#include "model/records.h"

// Half the size of a new label box; the first draw fits it to the readout.
constexpr float kLabelHalfWidth = 20.0f;
constexpr float kLabelHalfHeight = 10.0f;

// Attaches a DimInfo to `object` (a dimension already in its layer), taking the flag word and
// tolerances of the current drawing. With `withText` a label box centred on (cx, cy) is appended
// to the object's layer, linked both ways, in the drawing's fill and pen colours with an
// invisible outline, carrying `font`. False when there is no drawing, no layer or no memory; the
// object then keeps no DimInfo.
bool AddDimensionInfo(ObjectRec* object, int16_t cx, int16_t cy, bool withText, const FontRecord* font);
