#include "render/ovalcache.h"

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// An oval whose part in view is wider or taller than this many pixels, beyond any screen, is left
// to the platform.
constexpr int kLargestSide = 8192;
// Past either many outlines or many rectangles in their regions, every outline is forgotten and
// the paints keep them anew.
constexpr size_t kMostOutlines = 1024;
constexpr size_t kMostRects = size_t{1} << 20;
constexpr int kBitsPerByte = 8;
// Rows of an outline's mask drawn at a time.
constexpr int kMaskBand = 32;
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

// Draws the outline of an oval `width` by `height` in the mask a band at a time, the first band's
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
  for (int bandTop = 0; bandTop < maskHeight; bandTop += kMaskBand) {
    PatBlt(gMask.dc, 0, 0, maskWidth, kMaskBand, BLACKNESS);
    const int x = -part.left, y = -part.top - bandTop;
    Ellipse(gMask.dc, x, y, x + key.width, y + key.height);
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
  FreeMask();
}

size_t KeptOvalOutlineCount() {
  return gOutlines.size();
}

size_t KeptOvalOutlineRects() {
  return gOutlineRects;
}
