#include "render/ovalcache.h"

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// An oval whose part in view is wider or taller than this many pixels is left to the platform:
// its mask would be large.
constexpr int kLargestSide = 2048;
// Past either many outlines or many rectangles in their regions, every outline is forgotten and
// the paints keep them anew.
constexpr size_t kMostOutlines = 1024;
constexpr size_t kMostRects = size_t{1} << 20;
// Ovals noted as drawn once, at most, for each outline kept.
constexpr size_t kSeenPerOutline = 4;
constexpr int kBitsPerByte = 8;
// The 64-bit FNV-1a hash's start and multiplier.
constexpr uint64_t kHashBasis = 1469598103934665603u;
constexpr uint64_t kHashPrime = 1099511628211u;

struct KeptOutline {
  HRGN region = nullptr;  // null when the outline sets no pixel
  POINT at = {0, 0};      // the top-left corner of the box the region lies at now
  size_t rects = 0;
};

// An outline is kept for the part of it that showed: an oval wholly in view keeps all of it,
// and shares it with every other oval of its size and pen; one partly out of view keeps the
// part inside, which the platform works out alone too.
struct OutlineKey {
  int width, height, penWidth;
  RECT part;  // relative to the box's top-left corner
  bool operator==(const OutlineKey& other) const {
    return width == other.width && height == other.height && penWidth == other.penWidth &&
           EqualRect(&part, &other.part);
  }
};

struct OutlineKeyHash {
  size_t operator()(const OutlineKey& key) const {
    uint64_t hash = kHashBasis;
    for (LONG value : {LONG{key.width}, LONG{key.height}, LONG{key.penWidth}, key.part.left, key.part.top,
                       key.part.right, key.part.bottom})
      hash = (hash ^ static_cast<uint32_t>(value)) * kHashPrime;
    return static_cast<size_t>(hash);
  }
};

std::unordered_map<OutlineKey, KeptOutline, OutlineKeyHash> gOutlines;
size_t gOutlineRects = 0;
// Ovals drawn once, whose outlines are kept when they are drawn again.
std::unordered_set<OutlineKey, OutlineKeyHash> gSeen;

// A one-bit picture, top row first, exactly the size of the part of an outline it is drawn
// for: the platform leaves out the steps of a wide outline that miss its picture, so a part
// costs what it would on the screen.
struct Mask {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ saved = nullptr;
  const uint8_t* bits = nullptr;
  int stride = 0;
  ~Mask() {
    if (dc) {
      SelectObject(dc, saved);
      DeleteDC(dc);
    }
    if (bitmap) DeleteObject(bitmap);
  }
};

bool MakeMask(int width, int height, Mask* mask) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } info = {};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = 1;
  info.header.biCompression = BI_RGB;
  info.colours[1] = RGBQUAD{255, 255, 255, 0};
  void* bits = nullptr;
  mask->dc = CreateCompatibleDC(nullptr);
  if (!mask->dc) return false;
  mask->bitmap =
      CreateDIBSection(mask->dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!mask->bitmap || !bits) return false;
  mask->saved = SelectObject(mask->dc, mask->bitmap);
  mask->bits = static_cast<const uint8_t*>(bits);
  mask->stride = (width + 31) / 32 * 4;
  return true;
}

using Runs = std::vector<std::pair<int, int>>;

// The runs of set pixels in the mask's row `y`, left of `width`, as [first, past last).
void ReadRow(const Mask& mask, int y, int width, Runs* runs) {
  runs->clear();
  const uint8_t* row = mask.bits + static_cast<size_t>(y) * mask.stride;
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

// Draws the outline of an oval `width` by `height` in the mask, the mask's corner at `part` of
// the box (relative to its top-left corner), and reads its pixels back as a region whose origin
// is the box's top-left corner. Rows whose runs are the same are one rectangle.
bool MakeOutline(const OutlineKey& key, KeptOutline* outline) {
  const RECT& part = key.part;
  const int maskWidth = part.right - part.left, maskHeight = part.bottom - part.top;
  Mask mask;
  if (!MakeMask(maskWidth, maskHeight, &mask)) return false;
  PatBlt(mask.dc, 0, 0, maskWidth, maskHeight, BLACKNESS);
  HPEN pen = CreatePen(PS_SOLID, key.penWidth, RGB(255, 255, 255));
  if (!pen) return false;
  HGDIOBJ savedPen = SelectObject(mask.dc, pen);
  HGDIOBJ savedBrush = SelectObject(mask.dc, GetStockObject(NULL_BRUSH));
  Ellipse(mask.dc, -part.left, -part.top, key.width - part.left, key.height - part.top);
  SelectObject(mask.dc, savedBrush);
  SelectObject(mask.dc, savedPen);
  DeleteObject(pen);
  GdiFlush();

  std::vector<POINT> corners;
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
  for (int y = 0; y < maskHeight; ++y) {
    ReadRow(mask, y, maskWidth, &current);
    if (current == previous) continue;
    close(y);
    previous.swap(current);
    top = y;
  }
  close(maskHeight);
  outline->rects = counts.size();
  outline->at = POINT{0, 0};
  outline->region = nullptr;
  if (counts.empty()) return true;
  outline->region =
      CreatePolyPolygonRgn(corners.data(), counts.data(), static_cast<int>(counts.size()), ALTERNATE);
  return outline->region != nullptr;
}

}  // namespace

bool FillOvalOutline(HDC dc, const RECT& box, int penWidth, COLORREF colour, const RECT& view) {
  const int width = box.right - box.left, height = box.bottom - box.top;
  if (width <= 0 || height <= 0 || penWidth < 1 || penWidth > kLargestSide) return false;
  // The pen reaches half its width and a pixel past the box at most.
  const int pad = penWidth + 2;
  RECT part = {box.left - pad, box.top - pad, box.right + pad, box.bottom + pad};
  if (!IntersectRect(&part, &part, &view)) return true;  // nothing of it shows
  if (part.right - part.left > kLargestSide || part.bottom - part.top > kLargestSide) return false;
  OffsetRect(&part, -box.left, -box.top);
  const OutlineKey key = {width, height, penWidth, part};
  auto found = gOutlines.find(key);
  if (found == gOutlines.end()) {
    // The first sight of an oval of its size, pen and part in view is only noted, and the caller
    // draws it: a view painted once costs what it did. The second keeps its outline.
    if (gSeen.insert(key).second) {
      if (gSeen.size() > kMostOutlines * kSeenPerOutline) gSeen.clear();
      return false;
    }
    KeptOutline made;
    if (!MakeOutline(key, &made)) return false;
    if (gOutlines.size() >= kMostOutlines || gOutlineRects + made.rects > kMostRects) ForgetOvalOutlines();
    gOutlineRects += made.rects;
    found = gOutlines.emplace(key, made).first;
  }
  KeptOutline& outline = found->second;
  if (!outline.region) return true;
  if (outline.at.x != box.left || outline.at.y != box.top) {
    OffsetRgn(outline.region, box.left - outline.at.x, box.top - outline.at.y);
    outline.at = POINT{box.left, box.top};
  }
  SetDCBrushColor(dc, colour);
  FillRgn(dc, outline.region, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  return true;
}

void ForgetOvalOutlines() {
  for (auto& entry : gOutlines)
    if (entry.second.region) DeleteObject(entry.second.region);
  gOutlines.clear();
  gOutlineRects = 0;
  gSeen.clear();
}

size_t KeptOvalOutlineCount() {
  return gOutlines.size();
}

size_t KeptOvalOutlineRects() {
  return gOutlineRects;
}
