#include "render/outlinecache.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// An outline whose part in view is wider or taller than this many pixels, beyond any screen, is left
// to the platform.
constexpr int kLargestSide = 8192;
// Past many outlines (each a region the process holds), many rectangles in their regions or many
// points in the lines they were kept for, every outline is forgotten and the paints keep them
// anew.
constexpr size_t kMostOutlines = 4096;
constexpr size_t kMostRects = size_t{1} << 20;
constexpr size_t kMostPoints = size_t{1} << 20;
// Outlines made in one paint at most. Making one costs about twice what drawing it does, so a
// paint that met many new outlines (a zoom step, a view scrolled far) would stall; past this many
// it draws the rest as the platform does and later paints keep them.
constexpr size_t kMostMadePerPaint = 256;
// Lines of fewer points cost the platform too little to be worth a region.
constexpr size_t kFewestKeptPoints = 4;
constexpr int kBitsPerByte = 8;
// Rows of an outline's mask drawn at a time.
constexpr int kMaskBand = 32;
// The 64-bit FNV-1a hash's start and multiplier.
constexpr uint64_t kHashBasis = 1469598103934665603u;
constexpr uint64_t kHashPrime = 1099511628211u;

struct KeptOutline {
  HRGN region = nullptr;  // null when the outline sets no pixel
  POINT at = {0, 0};      // the top-left corner of the box the region lies at now, in device units
  size_t rects = 0;
};

// What an outline is the outline of.
enum class OutlineShape : uint8_t {
  kOval,    // Ellipse of the box
  kLines,   // PolyPolyline of `points`, runs of `counts`
  kClosed,  // Polygon of `points`, stroked with the null brush
};

// An outline is kept for the part of it that showed: an oval wholly in view keeps all of it,
// and shares it with every other oval of its size and pen; one partly out of view keeps the
// part inside, which the platform works out alone too. Lines keep their points relative to their
// box, so lines of the same shape share an outline wherever they lie.
struct OutlineKey {
  OutlineShape shape;
  int width, height, penWidth;
  RECT part;  // relative to the box's top-left corner
  std::vector<POINT> points;
  std::vector<DWORD> counts;
  bool operator==(const OutlineKey& other) const {
    return shape == other.shape && width == other.width && height == other.height &&
           penWidth == other.penWidth && EqualRect(&part, &other.part) && counts == other.counts &&
           points.size() == other.points.size() &&
           std::equal(points.begin(), points.end(), other.points.begin(),
                      [](const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; });
  }
};

uint64_t HashStep(uint64_t hash, LONG value) {
  return (hash ^ static_cast<uint32_t>(value)) * kHashPrime;
}

struct OutlineKeyHash {
  size_t operator()(const OutlineKey& key) const {
    uint64_t hash = kHashBasis;
    for (LONG value : {LONG{static_cast<uint8_t>(key.shape)}, LONG{key.width}, LONG{key.height},
                       LONG{key.penWidth}, key.part.left, key.part.top, key.part.right, key.part.bottom})
      hash = HashStep(hash, value);
    for (const POINT& p : key.points) hash = HashStep(HashStep(hash, p.x), p.y);
    for (DWORD count : key.counts) hash = HashStep(hash, static_cast<LONG>(count));
    return static_cast<size_t>(hash);
  }
};

std::unordered_map<OutlineKey, KeptOutline, OutlineKeyHash> gOutlines;
size_t gOutlineRects = 0;
size_t gOutlinePoints = 0;
size_t gMadeThisPaint = 0;
// Lines seen once: they are kept the second time they come. A paint that is not repeated (a
// tracking outline, a zoom passed through) draws them as the platform does, and pays nothing more.
std::unordered_set<size_t> gLinesSeen;
// Holds the context's clip while a kept outline is painted through it.
HRGN gSavedClip = nullptr;

// A one-bit picture, top row first, a band of rows high, that outlines are drawn in a band at a
// time; it grows when a wider part of an outline comes, and is freed with the outlines.
struct Mask {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ saved = nullptr;
  const uint8_t* bits = nullptr;
  int width = 0, stride = 0;
};

Mask gMask;

void FreeMask() {
  if (gMask.dc) {
    SelectObject(gMask.dc, gMask.saved);
    DeleteDC(gMask.dc);
  }
  if (gMask.bitmap) DeleteObject(gMask.bitmap);
  gMask = Mask();
}

bool GrowMask(int width) {
  if (gMask.dc && gMask.width >= width) return true;
  FreeMask();
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } info = {};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -kMaskBand;
  info.header.biPlanes = 1;
  info.header.biBitCount = 1;
  info.header.biCompression = BI_RGB;
  info.colours[1] = RGBQUAD{255, 255, 255, 0};
  void* bits = nullptr;
  gMask.dc = CreateCompatibleDC(nullptr);
  if (!gMask.dc) return false;
  gMask.bitmap =
      CreateDIBSection(gMask.dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!gMask.bitmap || !bits) {
    FreeMask();
    return false;
  }
  gMask.saved = SelectObject(gMask.dc, gMask.bitmap);
  gMask.bits = static_cast<const uint8_t*>(bits);
  gMask.width = width;
  gMask.stride = (width + 31) / 32 * 4;
  return true;
}

using Runs = std::vector<std::pair<int, int>>;

// The runs of set pixels in the mask's row `y`, left of `width`, as [first, past last).
void ReadRow(int y, int width, Runs* runs) {
  runs->clear();
  const uint8_t* row = gMask.bits + static_cast<size_t>(y) * gMask.stride;
  int start = -1;
  for (int x = 0; x < width; x += kBitsPerByte) {
    const uint8_t byte = row[x / kBitsPerByte];
    if ((byte == 0 && start < 0) || (byte == 0xFF && start >= 0)) continue;
    for (int bit = 0; bit < kBitsPerByte && x + bit < width; ++bit) {
      const bool set = (byte & (0x80 >> bit)) != 0;
      if (set && start < 0) start = x + bit;
      if (!set && start >= 0) {
        runs->emplace_back(start, x + bit);
        start = -1;
      }
    }
  }
  if (start >= 0) runs->emplace_back(start, width);
}

// Draws the outline in the mask a band at a time, the first band's
// corner at `part` of the box (relative to its top-left corner), and reads its pixels back as a
// region whose origin is the box's top-left corner. Rows whose runs are the same are one
// rectangle.
bool MakeOutline(const OutlineKey& key, KeptOutline* outline) {
  const RECT& part = key.part;
  const int maskWidth = part.right - part.left, maskHeight = part.bottom - part.top;
  if (!GrowMask(maskWidth)) return false;
  HPEN pen = CreatePen(PS_SOLID, key.penWidth, RGB(255, 255, 255));
  if (!pen) return false;
  HGDIOBJ savedPen = SelectObject(gMask.dc, pen);
  HGDIOBJ savedBrush = SelectObject(gMask.dc, GetStockObject(NULL_BRUSH));

  std::vector<POINT> corners, moved;
  std::vector<INT> counts;
  Runs previous, current;
  int top = 0;
  auto close = [&](int bottom) {
    for (const auto& run : previous) {
      const LONG left = run.first + part.left, right = run.second + part.left;
      corners.insert(corners.end(), {POINT{left, top + part.top}, POINT{right, top + part.top},
                                     POINT{right, bottom + part.top}, POINT{left, bottom + part.top}});
      counts.push_back(4);
    }
  };
  for (int bandTop = 0; bandTop < maskHeight; bandTop += kMaskBand) {
    PatBlt(gMask.dc, 0, 0, maskWidth, kMaskBand, BLACKNESS);
    const int x = -part.left, y = -part.top - bandTop;
    if (key.shape == OutlineShape::kOval) {
      Ellipse(gMask.dc, x, y, x + key.width, y + key.height);
    } else {
      moved.clear();
      for (const POINT& p : key.points) moved.push_back(POINT{p.x + x, p.y + y});
      if (key.shape == OutlineShape::kLines)
        PolyPolyline(gMask.dc, moved.data(), key.counts.data(), static_cast<DWORD>(key.counts.size()));
      else
        Polygon(gMask.dc, moved.data(), static_cast<int>(moved.size()));
    }
    GdiFlush();
    const int rows = maskHeight - bandTop < kMaskBand ? maskHeight - bandTop : kMaskBand;
    for (int row = 0; row < rows; ++row) {
      ReadRow(row, maskWidth, &current);
      if (current == previous) continue;
      close(bandTop + row);
      previous.swap(current);
      top = bandTop + row;
    }
  }
  close(maskHeight);
  SelectObject(gMask.dc, savedBrush);
  SelectObject(gMask.dc, savedPen);
  DeleteObject(pen);
  outline->rects = counts.size();
  outline->at = POINT{0, 0};
  outline->region = nullptr;
  if (counts.empty()) return true;
  outline->region =
      CreatePolyPolygonRgn(corners.data(), counts.data(), static_cast<int>(counts.size()), ALTERNATE);
  return outline->region != nullptr;
}

// The part of an outline whose box is `box` that can show in `view`, relative to the box's
// top-left corner; false when none can. The pen reaches half its width and a pixel past the box
// at most.
bool OutlinePart(const RECT& box, int penWidth, const RECT& view, RECT* part) {
  const int pad = penWidth + 2;
  *part = RECT{box.left - pad, box.top - pad, box.right + pad, box.bottom + pad};
  if (!IntersectRect(part, part, &view)) return false;
  OffsetRect(part, -box.left, -box.top);
  return true;
}

// Paints `region` (device units) with the context's own brush: the region is joined to the clip
// and its box filled, then the clip is put back. The platform fills a region handed to FillRgn one
// rectangle at a time, mapping and clipping each on its own, and a wide outline is hundreds of
// small rectangles; through the clip it fills them all in one pass. The pixels are the same: the
// region's, inside the clip. False, having drawn nothing, when the clip cannot be kept or joined
// (a failed join leaves the clip as it was).
bool PaintThroughClip(HDC dc, HRGN region) {
  if (!gSavedClip) gSavedClip = CreateRectRgn(0, 0, 0, 0);
  const int hadClip = gSavedClip ? GetClipRgn(dc, gSavedClip) : -1;
  RECT box;
  if (hadClip < 0 || GetRgnBox(region, &box) == ERROR ||
      ExtSelectClipRgn(dc, region, hadClip == 1 ? RGN_AND : RGN_COPY) == ERROR)
    return false;
  DPtoLP(dc, reinterpret_cast<POINT*>(&box), 2);
  HGDIOBJ dcBrush = GetStockObject(DC_BRUSH);
  HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  if (brush != dcBrush) SelectObject(dc, dcBrush);
  PatBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, PATCOPY);
  if (brush != dcBrush) SelectObject(dc, brush);
  SelectClipRgn(dc, hadClip == 1 ? gSavedClip : nullptr);
  return true;
}

// Fills the outline `key` with its box at `at`, made now when it is not kept yet.
bool FillKeptOutline(HDC dc, OutlineKey&& key, POINT at, COLORREF colour) {
  if (key.part.right - key.part.left > kLargestSide || key.part.bottom - key.part.top > kLargestSide)
    return false;
  auto found = gOutlines.find(key);
  if (found == gOutlines.end()) {
    if (gMadeThisPaint >= kMostMadePerPaint) return false;
    ++gMadeThisPaint;
    KeptOutline made;
    if (!MakeOutline(key, &made)) return false;
    if (gOutlines.size() >= kMostOutlines || gOutlineRects + made.rects > kMostRects ||
        gOutlinePoints + key.points.size() > kMostPoints)
      ForgetKeptOutlines();
    gOutlineRects += made.rects;
    gOutlinePoints += key.points.size();
    found = gOutlines.emplace(std::move(key), made).first;
  }
  KeptOutline& outline = found->second;
  if (!outline.region) return true;
  // The clip the region joins is in device units, so the region lies there too.
  POINT device = at;
  LPtoDP(dc, &device, 1);
  if (outline.at.x != device.x || outline.at.y != device.y) {
    OffsetRgn(outline.region, device.x - outline.at.x, device.y - outline.at.y);
    outline.at = device;
  }
  // The context's own brush may be the caller's fill, its colour set already.
  const COLORREF fill = SetDCBrushColor(dc, colour);
  const bool painted = PaintThroughClip(dc, outline.region);
  SetDCBrushColor(dc, fill);
  return painted;
}

// Lines or a closed outline, kept from the second time they come.
bool FillKeptPoints(HDC dc, OutlineShape shape, const POINT* points, size_t count, const DWORD* counts,
                    size_t runs, int penWidth, COLORREF colour, const RECT& view) {
  if (count < kFewestKeptPoints || penWidth < 1 || penWidth > kLargestSide) return false;
  RECT box = {points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
  for (size_t i = 1; i < count; ++i) {
    box.left = std::min(box.left, points[i].x);
    box.top = std::min(box.top, points[i].y);
    box.right = std::max(box.right, points[i].x + 1);
    box.bottom = std::max(box.bottom, points[i].y + 1);
  }
  OutlineKey key = {shape, box.right - box.left, box.bottom - box.top, penWidth, {}, {}, {}};
  if (!OutlinePart(box, penWidth, view, &key.part)) return true;  // nothing of them shows
  key.points.reserve(count);
  for (size_t i = 0; i < count; ++i)
    key.points.push_back(POINT{points[i].x - box.left, points[i].y - box.top});
  key.counts.assign(counts, counts + runs);
  if (gOutlines.find(key) == gOutlines.end()) {
    if (gLinesSeen.size() >= kMostOutlines) gLinesSeen.clear();
    if (gLinesSeen.insert(OutlineKeyHash()(key)).second) return false;
  }
  return FillKeptOutline(dc, std::move(key), POINT{box.left, box.top}, colour);
}

}  // namespace

bool FillOvalOutline(HDC dc, const RECT& box, int penWidth, COLORREF colour, const RECT& view) {
  const int width = box.right - box.left, height = box.bottom - box.top;
  if (width <= 0 || height <= 0 || penWidth < 1 || penWidth > kLargestSide) return false;
  OutlineKey key = {OutlineShape::kOval, width, height, penWidth, {}, {}, {}};
  if (!OutlinePart(box, penWidth, view, &key.part)) return true;  // nothing of it shows
  return FillKeptOutline(dc, std::move(key), POINT{box.left, box.top}, colour);
}

bool FillKeptLines(HDC dc, const POINT* points, const DWORD* counts, size_t runs, int penWidth,
                   COLORREF colour, const RECT& view) {
  size_t count = 0;
  for (size_t i = 0; i < runs; ++i) count += counts[i];
  return FillKeptPoints(dc, OutlineShape::kLines, points, count, counts, runs, penWidth, colour, view);
}

bool FillKeptPolygonOutline(HDC dc, const POINT* points, size_t count, int penWidth, COLORREF colour,
                            const RECT& view) {
  return FillKeptPoints(dc, OutlineShape::kClosed, points, count, nullptr, 0, penWidth, colour, view);
}

void StartKeepingOutlines() {
  gMadeThisPaint = 0;
}

void ForgetKeptOutlines() {
  for (auto& entry : gOutlines)
    if (entry.second.region) DeleteObject(entry.second.region);
  gOutlines.clear();
  gOutlineRects = 0;
  gOutlinePoints = 0;
  gLinesSeen.clear();
  FreeMask();
  if (gSavedClip) DeleteObject(gSavedClip);
  gSavedClip = nullptr;
}

size_t KeptOutlineCount() {
  return gOutlines.size();
}

size_t KeptOutlineRects() {
  return gOutlineRects;
}
