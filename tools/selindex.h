// A grid over the page that narrows hit tests and marquees on large drawings to the top-level
// objects near the press or the rectangle. It only ever removes objects that could not be hit
// or taken, and gives the rest back in list order, so the results are those of the plain walk.
// After a change it follows the objects the model's change log names, and is rebuilt only when
// the log cannot say what changed or too many objects did.
#pragma once

#include <cstdint>
#include <vector>

#include "model/docstate.h"

// Below this many top-level objects the plain walk is fast enough and no grid is made.
constexpr int32_t kSelectionIndexThreshold = 20000;

struct IndexCandidate {
  ObjectRec* object;
  LayerRec* layer;
  FloatRect bounds;  // the object's stored bounds when the grid was made: still the same
};

// The top-level objects of `firstLayer`'s list (visible or not) whose boxes meet the page
// rectangle, in layer order and then list order. False when no grid serves this drawing (too
// few objects): the caller walks the layers instead.
bool QuerySelectionIndex(LayerRec* firstLayer, const FloatRect& area, std::vector<IndexCandidate>* out);
// How many times the grid was built from the whole drawing (tests and benchmarks read it).
uint32_t SelectionIndexBuildCount();
// Drops the grid and gives its memory back.
void DropSelectionIndex();
// The same when the grid was made for this drawing, which is going away.
void DropSelectionIndexOf(const DocumentRec* document);
