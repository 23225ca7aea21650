// The selection grid: top-level objects bucketed by their page boxes in a compact layout (one
// offset table and one array of object numbers), numbered in layer and list order.
//
// After an edit the grid is brought up to date from the model's change log rather than rebuilt:
// every object the edit touched loses its number (its entry is marked dead) and, when it is still
// a top-level object of the drawing, comes back as an extra: an entry outside the cells, tried
// by its box on every query and ordered by the nearest live numbered object before it in its
// list. Too many extras, or a change the log does not name, rebuild the grid.
#include "tools/selindex.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "model/objstuff.h"

namespace {

// About this many objects per cell on average, and never more cells than this per side.
constexpr double kObjectsPerCell = 4.0;
constexpr int kMaxCellsPerSide = 2048;
// An object spread over more cells than this is kept on the list every query reads.
constexpr int kMaxCellsPerObject = 64;
// Boxes grow by this, in page units, beyond the pen and the picture-box margin.
constexpr float kBoxSlack = 4.0f;
// Past this many extras a rebuild costs less than trying them on every query.
constexpr size_t kMaxExtras = 8192;

struct Entry {
  ObjectRec* object;
  uint32_t layer;  // index into Grid::layers
  FloatRect bounds;
};

// Where an extra sits in layer and list order: after the numbered entry anchor - 1 (0: the head
// of its layer), `distance` objects on. A numbered entry i sorts as {layer, i + 1, 0}.
struct OrderKey {
  uint32_t layer, anchor, distance;
  bool operator<(const OrderKey& o) const {
    if (layer != o.layer) return layer < o.layer;
    if (anchor != o.anchor) return anchor < o.anchor;
    return distance < o.distance;
  }
};

struct Extra {
  Entry entry;
  FloatRect box;
  uint8_t state;  // kNoBox, kBoxed, kEverywhere, or kDead
  uint32_t pass;  // the refresh that last gave it its key
  OrderKey key;
};
constexpr uint8_t kNoBox = 0, kBoxed = 1, kEverywhere = 2, kDead = 3;

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
  std::vector<uint8_t> dead;    // one byte per entry: its object changed or went since the build
  std::vector<Extra> extras;    // numbered entries.size() + i
  std::vector<std::pair<const LayerRec*, uint32_t>> layerOrder;  // sorted by address
  size_t liveExtras = 0;
  uint32_t pass = 0;
  float left = 0, top = 0, cellWidth = 1, cellHeight = 1;
  int columns = 0, rows = 0;
};

Grid gGrid;
uint32_t gBuildCount = 0;

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
  gGrid.dead.clear();
  gGrid.extras.clear();
  gGrid.layerOrder.clear();
  gGrid.liveExtras = 0;
  gGrid.columns = gGrid.rows = 0;
}

void Build(LayerRec* firstLayer) {
  ++gBuildCount;
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
  gGrid.dead.assign(gGrid.entries.size(), 0);
  for (size_t i = 0; i < gGrid.entries.size(); ++i)
    gGrid.entries[i].object->indexSlot = static_cast<uint32_t>(i);
  gGrid.layerOrder.reserve(gGrid.layers.size());
  for (size_t i = 0; i < gGrid.layers.size(); ++i)
    gGrid.layerOrder.emplace_back(gGrid.layers[i], static_cast<uint32_t>(i));
  std::sort(gGrid.layerOrder.begin(), gGrid.layerOrder.end());
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

// ---- Bringing the grid up to date from the change log ----

constexpr uint32_t kNoSlot = UINT32_MAX;

// The object's number when the grid holds it alive under that number, else kNoSlot.
uint32_t LiveSlot(const ObjectRec* object, uint32_t slot) {
  const size_t numbered = gGrid.entries.size();
  if (slot < numbered) return gGrid.entries[slot].object == object && !gGrid.dead[slot] ? slot : kNoSlot;
  const size_t extra = slot - numbered;
  if (extra < gGrid.extras.size() && gGrid.extras[extra].entry.object == object &&
      gGrid.extras[extra].state != kDead)
    return slot;
  return kNoSlot;
}

// Reads nothing of the object but its address: it may be freed.
void Kill(const ObjectRec* object, uint32_t slot) {
  slot = LiveSlot(object, slot);
  if (slot == kNoSlot) return;
  if (slot < gGrid.entries.size()) {
    gGrid.dead[slot] = 1;
  } else {
    gGrid.extras[slot - gGrid.entries.size()].state = kDead;
    --gGrid.liveExtras;
  }
}

// The index of one of the grid's layers; the layer is found by its address alone.
bool GridLayerIndex(const LayerRec* layer, uint32_t* index) {
  const auto& order = gGrid.layerOrder;
  auto it = std::lower_bound(
      order.begin(), order.end(), layer,
      [](const std::pair<const LayerRec*, uint32_t>& p, const LayerRec* l) { return p.first < l; });
  if (it == order.end() || it->first != layer) return false;
  *index = it->second;
  return true;
}

// True when the object is linked at the top of one of the grid's layers.
bool OnGridLayer(const ObjectRec* object, uint32_t* layerIndex) {
  if (object->parent || !GridLayerIndex(object->layer, layerIndex)) return false;
  return object->prevObject || object->layer->firstObject == object;
}

void AddExtra(ObjectRec* object, uint32_t layerIndex) {
  Extra extra = {};
  extra.entry = Entry{object, layerIndex, object->bounds};
  extra.state = !ObjectBox(object, &extra.box) ? kNoBox : Finite(extra.box) ? kBoxed : kEverywhere;
  object->indexSlot = static_cast<uint32_t>(gGrid.entries.size() + gGrid.extras.size());
  gGrid.extras.push_back(extra);
  ++gGrid.liveExtras;
}

// Gives the extra, and the extras before it down to the nearest object whose place is known,
// their keys: a numbered entry, an extra keyed in this pass, or the head of the layer.
void KeyExtra(uint32_t extraIndex) {
  static std::vector<uint32_t> chain;  // extras (or kNoSlot) from this one back
  chain.clear();
  chain.push_back(extraIndex);
  const size_t numbered = gGrid.entries.size();
  OrderKey base = {gGrid.extras[extraIndex].entry.layer, 0, 0};
  for (const ObjectRec* p = gGrid.extras[extraIndex].entry.object->prevObject; p; p = p->prevObject) {
    const uint32_t slot = LiveSlot(p, p->indexSlot);
    if (slot < numbered) {
      base.anchor = slot + 1;
      break;
    }
    if (slot != kNoSlot && gGrid.extras[slot - numbered].pass == gGrid.pass) {
      base = gGrid.extras[slot - numbered].key;
      break;
    }
    chain.push_back(slot == kNoSlot ? kNoSlot : static_cast<uint32_t>(slot - numbered));
  }
  for (size_t k = chain.size(); k-- > 0;) {
    ++base.distance;
    if (chain[k] == kNoSlot) continue;
    gGrid.extras[chain[k]].key = base;
    gGrid.extras[chain[k]].pass = gGrid.pass;
  }
}

// Redoes the objects changed since the grid was made or last refreshed. False when the log
// cannot say what changed, or when a rebuild would serve better: the caller rebuilds.
bool Refresh() {
  const uint32_t from = gGrid.generation, to = gModelGeneration;
  if (!gGrid.used || to - from > kChangeLogSize || to - gChangeLogFrom < to - from) return false;
  // The last word on each object counts: one deleted after a change is gone, an object made
  // at the address of a deleted one is new.
  struct Touch {
    ObjectRec* object;
    uint32_t order;
    bool gone;
  };
  static std::vector<Touch> touched;
  static std::vector<ObjectRec*> roots;
  touched.clear();
  roots.clear();
  for (uint32_t g = from + 1, k = 0; g != to + 1; ++g, ++k) {
    const ObjectChange& change = gChangeLog[g % kChangeLogSize];
    if (change.gone) Kill(change.object, change.slot);
    touched.push_back(Touch{change.object, k, change.gone});
  }
  std::sort(touched.begin(), touched.end(), [](const Touch& a, const Touch& b) {
    return a.object != b.object ? a.object < b.object : a.order < b.order;
  });
  for (size_t i = 0; i < touched.size(); ++i) {
    if (i + 1 < touched.size() && touched[i + 1].object == touched[i].object) continue;
    if (touched[i].gone) continue;
    ObjectRec* object = touched[i].object;
    Kill(object, object->indexSlot);
    ObjectRec* root = object;
    while (root->parent) root = root->parent;
    if (root != object) Kill(root, root->indexSlot);
    roots.push_back(root);
  }
  std::sort(roots.begin(), roots.end());
  roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
  for (ObjectRec* root : roots) {
    uint32_t layerIndex = 0;
    if (!OnGridLayer(root, &layerIndex)) continue;
    if (gGrid.liveExtras >= kMaxExtras) return false;
    AddExtra(root, layerIndex);
  }
  ++gGrid.pass;
  for (size_t i = 0; i < gGrid.extras.size(); ++i)
    if (gGrid.extras[i].state != kDead && gGrid.extras[i].pass != gGrid.pass)
      KeyExtra(static_cast<uint32_t>(i));
  gGrid.generation = to;
  return true;
}

bool Meets(const FloatRect& a, const FloatRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

bool QuerySelectionIndex(LayerRec* firstLayer, const FloatRect& area, std::vector<IndexCandidate>* out) {
  if (!out) return false;
  out->clear();
  if (!gGrid.valid || gGrid.firstLayer != firstLayer)
    Build(firstLayer);
  else if (gGrid.generation != gModelGeneration && !Refresh())
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
  // The extras the area meets, in order, merged in among the numbered entries.
  static std::vector<std::pair<OrderKey, uint32_t>> extraHits;
  extraHits.clear();
  if (gGrid.liveExtras > 0) {
    for (size_t i = 0; i < gGrid.extras.size(); ++i) {
      const Extra& x = gGrid.extras[i];
      if (x.state == kEverywhere || (x.state == kBoxed && Meets(x.box, area)))
        extraHits.emplace_back(x.key, static_cast<uint32_t>(i));
    }
    std::sort(extraHits.begin(), extraHits.end(),
              [](const std::pair<OrderKey, uint32_t>& a, const std::pair<OrderKey, uint32_t>& b) {
                return a.first < b.first;
              });
  }
  size_t nextExtra = 0;
  auto putExtrasBefore = [&](const OrderKey* key) {
    for (; nextExtra < extraHits.size() && (!key || extraHits[nextExtra].first < *key); ++nextExtra) {
      const Entry& e = gGrid.extras[extraHits[nextExtra].second].entry;
      out->push_back(IndexCandidate{e.object, gGrid.layers[e.layer], e.bounds});
    }
  };
  for (size_t w = 0; w < bits.size(); ++w) {
    uint64_t word = bits[w];
    if (!word) continue;
    bits[w] = 0;
    while (word) {
      const uint32_t i = static_cast<uint32_t>(w * 64 + static_cast<size_t>(__builtin_ctzll(word)));
      word &= word - 1;
      if (gGrid.dead[i]) continue;
      const Entry& e = gGrid.entries[i];
      if (nextExtra < extraHits.size()) {
        const OrderKey key = {e.layer, i + 1, 0};
        putExtrasBefore(&key);
      }
      out->push_back(IndexCandidate{e.object, gGrid.layers[e.layer], e.bounds});
    }
  }
  putExtrasBefore(nullptr);
  return true;
}

uint32_t SelectionIndexBuildCount() {
  return gBuildCount;
}

void DropSelectionIndex() {
  gGrid = Grid{};
}

void DropSelectionIndexOf(const DocumentRec* document) {
  if (document && gGrid.valid && gGrid.firstLayer == document->firstLayer) DropSelectionIndex();
}
