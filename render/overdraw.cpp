// The cover map of a screen paint.
#include "render/overdraw.h"

namespace {

// More cells than a very large screen needs: beyond this the map is not kept.
constexpr int64_t kMaxCells = 1 << 20;

int FloorDiv(int value, int by) {
  return value >= 0 ? value / by : -((-value + by - 1) / by);
}

int CeilDiv(int value, int by) {
  return -FloorDiv(-value, by);
}

// The bits of columns c0..c1 (inclusive) that fall in word w of a row.
uint64_t ColumnMask(int w, int c0, int c1) {
  const int lo = c0 > w * 64 ? c0 - w * 64 : 0, hi = c1 < w * 64 + 63 ? c1 - w * 64 : 63;
  return (~uint64_t{0} >> (63 - hi)) & (~uint64_t{0} << lo);
}

// The cells (first and last column and row) that an area of the frame touches; false when the
// area is empty or not wholly in the frame.
bool FindAreaCells(const CoverMap& map, const RECT& area, int* c0, int* r0, int* c1, int* r1) {
  if (map.cells.empty() || area.right <= area.left || area.bottom <= area.top) return false;
  if (area.left < map.frame.left || area.top < map.frame.top || area.right > map.frame.right ||
      area.bottom > map.frame.bottom)
    return false;
  *c0 = (area.left - map.frame.left) / kCoverCell;
  *c1 = (area.right - 1 - map.frame.left) / kCoverCell;
  *r0 = (area.top - map.frame.top) / kCoverCell;
  *r1 = (area.bottom - 1 - map.frame.top) / kCoverCell;
  return true;
}

}  // namespace

bool ResetCoverMap(CoverMap* map, const RECT& frame) {
  map->frame = frame;
  map->columns = map->rows = 0;
  map->cells.clear();
  if (frame.right <= frame.left || frame.bottom <= frame.top) return false;
  const int64_t columns = CeilDiv(frame.right - frame.left, kCoverCell);
  const int64_t rows = CeilDiv(frame.bottom - frame.top, kCoverCell);
  if (columns * rows > kMaxCells) return false;
  map->columns = static_cast<int>(columns);
  map->rows = static_cast<int>(rows);
  map->cells.assign(static_cast<size_t>(columns * rows), 0);
  map->bands = static_cast<int>((columns + 63) / 64);
  map->open.assign(static_cast<size_t>(map->bands) * map->rows, ~uint64_t{0});
  return true;
}

void CoverInterior(CoverMap* map, const RECT& interior, uint32_t position) {
  if (map->cells.empty()) return;
  // Only cells wholly inside the interior count.
  const int c0 = CeilDiv(interior.left - map->frame.left, kCoverCell);
  const int r0 = CeilDiv(interior.top - map->frame.top, kCoverCell);
  int c1 = FloorDiv(interior.right - map->frame.left, kCoverCell);
  int r1 = FloorDiv(interior.bottom - map->frame.top, kCoverCell);
  if (c1 > map->columns) c1 = map->columns;
  if (r1 > map->rows) r1 = map->rows;
  const int from = c0 < 0 ? 0 : c0, top = r0 < 0 ? 0 : r0;
  if (from >= c1 || top >= r1) return;
  // Shapes come from the top down: a cell already marked keeps its topmost shape.
  for (int r = top; r < r1; ++r) {
    uint32_t* cell = &map->cells[static_cast<size_t>(r) * map->columns];
    for (int c = from; c < c1; ++c)
      if (cell[c] == 0) cell[c] = position + 1;
  }
  for (int w = from / 64; w <= (c1 - 1) / 64; ++w) {
    const uint64_t keep = ~ColumnMask(w, from, c1 - 1);
    uint64_t* band = &map->open[static_cast<size_t>(w) * map->rows];
    for (int r = top; r < r1; ++r) band[r] &= keep;
  }
}

bool IsAreaCovered(const CoverMap& map, const RECT& area, uint32_t position) {
  int c0, r0, c1, r1;
  if (!FindAreaCells(map, area, &c0, &r0, &c1, &r1)) return false;
  // Covered from above: by a shape after this position (its mark is greater than position + 1).
  for (int r = r0; r <= r1; ++r) {
    const uint32_t* cell = &map.cells[static_cast<size_t>(r) * map.columns];
    for (int c = c0; c <= c1; ++c)
      if (cell[c] <= position + 1) return false;
  }
  return true;
}

bool IsAreaCoveredByAll(const CoverMap& map, const RECT& area) {
  int c0, r0, c1, r1;
  if (!FindAreaCells(map, area, &c0, &r0, &c1, &r1)) return false;
  for (int w = c0 / 64; w <= c1 / 64; ++w) {
    // The rows are gathered without a test each: most areas asked lie wholly under cover.
    const uint64_t* band = &map.open[static_cast<size_t>(w) * map.rows];
    uint64_t open = 0;
    for (int r = r0; r <= r1; ++r) open |= band[r];
    if (open & ColumnMask(w, c0, c1)) return false;
  }
  return true;
}
