// Synthetic drawings for the benchmarks: a fixed mix of every object family on several layers,
// built with the model's own routines.
#pragma once

#include <cstdint>

struct BenchDrawingStats {
  long objects;  // every object record made, group members and dimension labels included
  long points;
  long textBlocks;  // each one a text pane (an EDIT control on the Windows build)
};

// Fills the current document's layers with about `objectCount` objects (the mix repeats in
// blocks of 100). Without text the text blocks are replaced by rectangles of the same size.
// False when memory runs out.
bool BuildBenchDrawing(long objectCount, bool withText, uint32_t seed, BenchDrawingStats* stats);
