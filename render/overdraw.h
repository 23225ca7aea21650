// What a screen paint would paint over again. An object wholly under the opaque fill of objects
// drawn after it leaves no pixel of its own, so the paint can leave it out; a line of it under
// them, likewise. The map is coarse: a cell counts as covered only when a fill paints every one
// of its pixels, and it remembers the topmost such fill, so it answers for any place in the
// drawing order.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct CoverMap {
  RECT frame = {0, 0, 0, 0};  // the pixels the map speaks for, right and bottom excluded
  int columns = 0;
  int rows = 0;
  // 0, or 1 + the drawing-order position of the topmost shape whose fill paints every pixel of
  // the cell
  std::vector<uint32_t> cells;
  // One bit a cell, set while no shape covers it: the walk from the top down asks only whether
  // anything entered so far covers an area. A word holds 64 columns of one row; the words of a
  // band of 64 columns follow each other row by row, so an area is asked a band at a time, down
  // consecutive words.
  int bands = 0;
  std::vector<uint64_t> open;
};

// Cells of this many pixels square.
constexpr int kCoverCell = 4;

// Starts an empty map over `frame`; false (and the map unusable) when the frame is empty or too
// large to be worth it.
bool ResetCoverMap(CoverMap* map, const RECT& frame);
// Every pixel of `interior` (right and bottom excluded) is painted opaquely by the shape at
// drawing-order position `position`. Shapes are entered from the top down.
void CoverInterior(CoverMap* map, const RECT& interior, uint32_t position);
// True when every pixel of `area` (right and bottom excluded) lies in the frame and is painted
// over by shapes drawn after the one at `position`.
bool IsAreaCovered(const CoverMap& map, const RECT& area, uint32_t position);
// The same for a shape below every one entered so far, as in the walk from the top down.
bool IsAreaCoveredByAll(const CoverMap& map, const RECT& area);
