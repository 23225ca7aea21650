// The selection grid: top-level objects bucketed by their page boxes in a compact layout (one
// offset table and one array of object numbers), numbered in layer and list order.
#include "tools/selindex.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "model/objstuff.h"

namespace {

// About this many objects per cell on average, and never more cells than this per side.
constexpr double kObjectsPerCell = 4.0;
constexpr int kMaxCellsPerSide = 2048;
// An object spread over more cells than this is kept on the list every query reads.
constexpr int kMaxCellsPerObject = 64;
// Boxes grow by this, in page units, beyond the pen and the picture-box margin.
constexpr float kBoxSlack = 4.0f;

struct Entry {
  ObjectRec* object;
  uint32_t layer;  // index into Grid::layers
  FloatRect bounds;
};

struct Grid {
  LayerRec* firstLayer = nullptr;
  uint32_t generation = 0;
  bool valid = false;
  bool used = false;  // false: too few objects, the plain walk serves
  std::vector<LayerRec*> layers;
  std::vector<Entry> entries;       // in layer order, then list order
  std::vector<uint32_t> spread;     // entries found by every query
  std::vector<uint32_t> cellStart;  // cells + 1 offsets into cellEntries
  std::vector<uint32_t> cellEntries;
  std::vector<uint64_t> found;  // one bit per entry, set while a query collects, clear between
  float left = 0, top = 0, cellWidth = 1, cellHeight = 1;
  int columns = 0, rows = 0;
};

Grid gGrid;

// The page box an object may be hit or taken in: its bounds, its members' bounds (a group's
// stored bounds may lag behind them), grown by its pen and the picture margin.
bool ObjectBox(const ObjectRec* object, FloatRect* box) {
  bool any = false;
  const FloatRect& b = object->bounds;
  if (b.left <= b.right && b.top <= b.bottom) {
    const float grow = std::fabs(object->lineWeight) / 2.0f + kBoxSlack;
    if (!any) *box = FloatRect{b.top - grow, b.left - grow, b.bottom + grow, b.right + grow};
    any = true;
  }
  for (const ObjectRec* c = object->firstChild; c; c = c->nextObject) {
    FloatRect inner;
    if (!ObjectBox(c, &inner)) continue;
    if (!any) {
      *box = inner;
      any = true;
    } else {
      box->top = std::min(box->top, inner.top);
      box->left = std::min(box->left, inner.left);
      box->bottom = std::max(box->bottom, inner.bottom);
      box->right = std::max(box->right, inner.right);
    }
  }
  return any;
}

bool Finite(const FloatRect& r) {
  return std::isfinite(r.top) && std::isfinite(r.left) && std::isfinite(r.bottom) && std::isfinite(r.right);
}

int Column(float x) {
  const double c = std::floor((x - gGrid.left) / gGrid.cellWidth);
  return static_cast<int>(std::max(0.0, std::min(c, static_cast<double>(gGrid.columns - 1))));
}

int Row(float y) {
  const double r = std::floor((y - gGrid.top) / gGrid.cellHeight);
  return static_cast<int>(std::max(0.0, std::min(r, static_cast<double>(gGrid.rows - 1))));
}

// Empties the grid but keeps its memory: rebuilding after each change of a large drawing then
// takes no fresh pages from the system.
void Reset(LayerRec* firstLayer) {
  gGrid.firstLayer = firstLayer;
  gGrid.generation = gModelGeneration;
  gGrid.valid = true;
  gGrid.used = false;
  gGrid.layers.clear();
  gGrid.entries.clear();
  gGrid.spread.clear();
  gGrid.cellStart.clear();
  gGrid.cellEntries.clear();
  gGrid.found.clear();
  gGrid.columns = gGrid.rows = 0;
}

void Build(LayerRec* firstLayer) {
  Reset(firstLayer);
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) {
    const uint32_t index = static_cast<uint32_t>(gGrid.layers.size());
    gGrid.layers.push_back(layer);
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      gGrid.entries.push_back(Entry{object, index, object->bounds});
  }
  if (gGrid.entries.size() < static_cast<size_t>(kSelectionIndexThreshold)) {
    gGrid.entries.clear();
    return;
  }
  gGrid.used = true;
  // Boxes first: the grid spans the finite ones; the others are read by every query.
  const size_t count = gGrid.entries.size();
  // Scratch kept between builds, like the grid's own arrays.
  static std::vector<FloatRect> boxes;
  static std::vector<uint8_t> placed;
  static std::vector<float> widths, heights;
  static std::vector<uint32_t> counts;
  boxes.assign(count, FloatRect{});
  placed.assign(count, 0);
  FloatRect extent = kEmptyRect;
  for (size_t i = 0; i < count; ++i) {
    if (!ObjectBox(gGrid.entries[i].object, &boxes[i])) continue;  // never hit, never taken
    if (!Finite(boxes[i])) {
      gGrid.spread.push_back(static_cast<uint32_t>(i));
      continue;
    }
    placed[i] = 1;
    extent.top = std::min(extent.top, boxes[i].top);
    extent.left = std::min(extent.left, boxes[i].left);
    extent.bottom = std::max(extent.bottom, boxes[i].bottom);
    extent.right = std::max(extent.right, boxes[i].right);
  }
  const double width = std::max(1.0, static_cast<double>(extent.right) - extent.left);
  const double height = std::max(1.0, static_cast<double>(extent.bottom) - extent.top);
  // Cells about as large as a typical object, so most objects sit in one to four of them, and
  // no smaller than the share of the extent the wanted count of cells gives.
  widths.clear();
  heights.clear();
  for (size_t i = 0; i < count; ++i)
    if (placed[i]) {
      widths.push_back(boxes[i].right - boxes[i].left);
      heights.push_back(boxes[i].bottom - boxes[i].top);
    }
  auto median = [](std::vector<float>& v) {
    if (v.empty()) return 1.0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return static_cast<double>(v[v.size() / 2]);
  };
  const double share =
      std::sqrt(width * height / std::max(1.0, static_cast<double>(count) / kObjectsPerCell));
  const double cellW = std::max(share, median(widths)), cellH = std::max(share, median(heights));
  gGrid.columns = static_cast<int>(std::min(std::ceil(width / cellW), static_cast<double>(kMaxCellsPerSide)));
  gGrid.rows = static_cast<int>(std::min(std::ceil(height / cellH), static_cast<double>(kMaxCellsPerSide)));
  gGrid.columns = std::max(gGrid.columns, 1);
  gGrid.rows = std::max(gGrid.rows, 1);
  gGrid.left = extent.left;
  gGrid.top = extent.top;
  gGrid.cellWidth = static_cast<float>(width / gGrid.columns);
  gGrid.cellHeight = static_cast<float>(height / gGrid.rows);
  const size_t cellCount = static_cast<size_t>(gGrid.columns) * gGrid.rows;
  // Two passes: count per cell, then fill, so each cell's numbers stay in ascending order.
  counts.assign(cellCount + 1, 0);
  auto forCells = [&](size_t i, auto visit) {
    const FloatRect& b = boxes[i];
    const int c0 = Column(b.left), c1 = Column(b.right), r0 = Row(b.top), r1 = Row(b.bottom);
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) visit(static_cast<size_t>(r) * gGrid.columns + c);
  };
  for (size_t i = 0; i < count; ++i) {
    if (!placed[i]) continue;
    const FloatRect& b = boxes[i];
    const long long spanned =
        static_cast<long long>(Column(b.right) - Column(b.left) + 1) * (Row(b.bottom) - Row(b.top) + 1);
    if (spanned > kMaxCellsPerObject) {
      placed[i] = 0;
      gGrid.spread.push_back(static_cast<uint32_t>(i));
      continue;
    }
    forCells(i, [&](size_t cell) { ++counts[cell + 1]; });
  }
  std::sort(gGrid.spread.begin(), gGrid.spread.end());
  gGrid.found.assign((count + 63) / 64, 0);
  for (size_t c = 1; c <= cellCount; ++c) counts[c] += counts[c - 1];
  gGrid.cellStart = counts;
  gGrid.cellEntries.resize(counts[cellCount]);
  for (size_t i = 0; i < count; ++i)
    if (placed[i])
      forCells(i, [&](size_t cell) { gGrid.cellEntries[counts[cell]++] = static_cast<uint32_t>(i); });
}

}  // namespace

bool QuerySelectionIndex(LayerRec* firstLayer, const FloatRect& area, std::vector<IndexCandidate>* out) {
  if (!out) return false;
  out->clear();
  if (!gGrid.valid || gGrid.firstLayer != firstLayer || gGrid.generation != gModelGeneration)
    Build(firstLayer);
  if (!gGrid.used) return false;
  // Each number found sets its bit; reading the bits back in order gives list order without
  // duplicates and leaves them clear for the next query.
  std::vector<uint64_t>& bits = gGrid.found;
  auto mark = [&bits](uint32_t i) { bits[i >> 6] |= uint64_t{1} << (i & 63); };
  for (uint32_t i : gGrid.spread) mark(i);
  if (Finite(area) && area.left <= area.right && area.top <= area.bottom && gGrid.columns > 0 &&
      area.right >= gGrid.left && area.bottom >= gGrid.top &&
      area.left <= gGrid.left + gGrid.cellWidth * gGrid.columns &&
      area.top <= gGrid.top + gGrid.cellHeight * gGrid.rows) {
    const int c0 = Column(area.left), c1 = Column(area.right), r0 = Row(area.top), r1 = Row(area.bottom);
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) {
        const size_t cell = static_cast<size_t>(r) * gGrid.columns + c;
        for (uint32_t k = gGrid.cellStart[cell]; k < gGrid.cellStart[cell + 1]; ++k)
          mark(gGrid.cellEntries[k]);
      }
  }
  for (size_t w = 0; w < bits.size(); ++w) {
    uint64_t word = bits[w];
    if (!word) continue;
    bits[w] = 0;
    while (word) {
      const uint32_t i = static_cast<uint32_t>(w * 64 + static_cast<size_t>(__builtin_ctzll(word)));
      word &= word - 1;
      const Entry& e = gGrid.entries[i];
      out->push_back(IndexCandidate{e.object, gGrid.layers[e.layer], e.bounds});
    }
  }
  return true;
}

void DropSelectionIndex() {
  gGrid = Grid{};
}

void DropSelectionIndexOf(const DocumentRec* document) {
  if (document && gGrid.valid && gGrid.firstLayer == document->firstLayer) DropSelectionIndex();
}
