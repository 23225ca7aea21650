// Join and unjoin: selected open shapes whose ends meet are welded into one polyline (closed
// when both ends meet), and a shape is split into one two-point line per segment. Curve tangents
// go with the points, so curves survive both.
#pragma once

#include "model/records.h"

// The shape the others are joined onto, while the Join command runs.
extern ObjectRec* gJoinObject;

// The Join command on the visible layers: every selected open shape (kinds 1 to 7) is joined
// onto the first one whose end it meets, in any order of selection, until no more meet; then the
// next shape left over starts a figure of its own. Everything selected ends deselected.
void JoinAllLayers(LayerRec* firstLayer);
// One pass over the layer's top-level objects: selected open shapes are joined onto gJoinObject
// (the first one found becomes it, deselected); anything else selected is deselected. True when
// the layer held a selected open shape.
bool JoinLayer(LayerRec* layer);
// Joins `object` onto gJoinObject when an end of each meets (rounded to whole page units) and
// gJoinObject is still open; `object` is then deleted. True when joined.
bool JoinObject(ObjectRec* object);
// Reverses the point order, swapping and negating the tangents so every curve keeps its shape. A
// trailing arc centre is dropped (and freed).
void ReverseObjectDirection(ObjectRec* object);
// Appends copies of `object`'s points after its first to `target`, whose end takes the first
// point's outgoing tangent. False (nothing changed) when memory ran out.
bool DoJoin(const ObjectRec* object, ObjectRec* target);

// Splits a shape (kinds 1 to 7) with at least two outline points into two-point Lines, one per
// segment (and one closing segment for a closed shape), appended to its layer unselected; then
// deletes it. Other objects, and a shape whose lines cannot all be made, are only deselected.
// True when the object was split.
bool UnjoinObject(ObjectRec* object);
