// What a screen paint would paint over again. An object wholly under the opaque fill of objects
// drawn after it leaves no pixel of its own, so the paint can leave it out. The map is coarse:
// a cell counts as covered only when a later fill paints every one of its pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct CoverMap {
  RECT frame = {0, 0, 0, 0};  // the pixels the map speaks for, right and bottom excluded
  int columns = 0;
  int rows = 0;
  std::vector<uint8_t> cells;  // 1 when every pixel of the cell is painted by a later fill
};

// Cells of this many pixels square.
constexpr int kCoverCell = 4;

// Starts an empty map over `frame`; false (and the map unusable) when the frame is empty or too
// large to be worth it.
bool ResetCoverMap(CoverMap* map, const RECT& frame);
// Every pixel of `interior` (right and bottom excluded) is painted opaquely.
void CoverInterior(CoverMap* map, const RECT& interior);
// True when every pixel of `area` (right and bottom excluded) lies in the frame and is covered.
bool IsAreaCovered(const CoverMap& map, const RECT& area);
