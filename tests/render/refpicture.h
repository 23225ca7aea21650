// Reference pictures of the renderer: a drawing of a test's own, rendering an area of it into a
// picture, and the pixel-exact comparison with a stored reference (a difference picture is
// written on failure).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "geometry/zoomhdlr.h"
#include "model/docstate.h"
#include "render/drawhdlr.h"
#include "render/imagefile.h"

constexpr uint32_t kWhitePixel = 0xFFFFFF;

// A drawing of its own, current while the test runs.
struct Drawing {
  DocumentRec* document;
  explicit Drawing() : document(CreateDocument()) { gCurDocument = document; }
  ~Drawing() {
    DeleteDocument(document);
    gCurDocument = nullptr;
  }
  DocState* state() { return document->docState; }
  LayerRec* layer() { return document->firstLayer; }
};

// Renders the drawing's area (page units) at `zoom` into a picture with the given paint options.
inline Picture Render(Drawing& d, float zoom, int left, int top, int width, int height,
                      int options = kPaintErase) {
  d.state()->zoomFactor = zoom;
  DibCanvas canvas;
  EXPECT_TRUE(CreateDibCanvas(width, height, &canvas));
  const int ox = RoundToInt(left * zoom), oy = RoundToInt(top * zoom);
  SetWindowOrgEx(canvas.dc, ox, oy, nullptr);
  const QDRect area = {ox, oy, ox + width, oy + height};
  EXPECT_TRUE(PaintDrawing(canvas.dc, d.document, &area, options));
  Picture picture = CanvasPicture(canvas);
  DeleteDibCanvas(&canvas);
  gCurDocument = d.document;
  return picture;
}

// A colour no paint uses: what a view leaves unpainted.
constexpr uint32_t kUnpainted = 0x123456;

// Paints the view whose top-left pixel is (ox, oy) into a canvas of the given size, first
// filled with a colour no paint uses; with `clip`, only that part of it, as a paint message does.
inline Picture PaintView(Drawing& d, float zoom, int ox, int oy, int width, int height,
                         const RECT* clip = nullptr) {
  d.state()->zoomFactor = zoom;
  DibCanvas canvas;
  EXPECT_TRUE(CreateDibCanvas(width, height, &canvas));
  const RECT all = {0, 0, width, height};
  HBRUSH marker = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
  FillRect(canvas.dc, &all, marker);
  DeleteObject(marker);
  SetWindowOrgEx(canvas.dc, ox, oy, nullptr);
  const RECT& part = clip ? *clip : all;
  HRGN region = CreateRectRgn(part.left, part.top, part.right, part.bottom);
  SelectClipRgn(canvas.dc, region);
  DeleteObject(region);
  const QDRect area = {ox + part.left, oy + part.top, ox + part.right, oy + part.bottom};
  EXPECT_TRUE(PaintDrawing(canvas.dc, d.document, &area, kPaintErase));
  Picture picture = CanvasPicture(canvas);
  DeleteDibCanvas(&canvas);
  gCurDocument = d.document;
  return picture;
}

// Pixels of `part` that differ from `whole` at the offset, counting only where `part` was painted.
inline int Differences(const Picture& whole, int dx, int dy, const Picture& part, int* painted) {
  int differing = 0;
  *painted = 0;
  for (int y = 0; y < part.height; ++y)
    for (int x = 0; x < part.width; ++x) {
      const uint32_t p = part.pixels[static_cast<size_t>(y) * part.width + x];
      if (p == kUnpainted) continue;
      ++*painted;
      if (p != whole.pixels[static_cast<size_t>(y + dy) * whole.width + x + dx]) ++differing;
    }
  return differing;
}

inline std::string RefPath(const std::string& name) {
  return std::string(DRX_SOURCE_DIR) + "/tests/render/refs/" + name + ".png";
}
inline std::string OutPath(const std::string& name) {
  const std::string dir = std::string(DRX_BINARY_DIR) + "/render-failures";
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "/" + name;
}

// Compares with the reference picture; on a difference writes the actual picture and a
// difference picture (changed pixels red on grey) into the build folder. DRX_UPDATE_REFS=1
// writes the reference instead.
inline void ExpectMatchesReference(const Picture& actual, const std::string& name) {
  if (std::getenv("DRX_UPDATE_REFS")) {
    ASSERT_TRUE(WritePicturePng(actual, RefPath(name).c_str()));
    return;
  }
  Picture expected;
  if (!ReadPicturePng(RefPath(name).c_str(), &expected)) {
    WritePicturePng(actual, OutPath(name + ".actual.png").c_str());
    FAIL() << "no reference picture " << RefPath(name) << "; the rendering is in "
           << OutPath(name + ".actual.png");
  }
  ASSERT_EQ(expected.width, actual.width) << name;
  ASSERT_EQ(expected.height, actual.height) << name;
  Picture diff = actual;
  size_t differing = 0;
  for (size_t i = 0; i < actual.pixels.size(); ++i) {
    const bool same = actual.pixels[i] == expected.pixels[i];
    if (!same) ++differing;
    diff.pixels[i] = same ? ((actual.pixels[i] == kWhitePixel) ? 0xFFFFFF : 0xC0C0C0) : 0xFF0000;
  }
  if (differing) {
    WritePicturePng(actual, OutPath(name + ".actual.png").c_str());
    WritePicturePng(diff, OutPath(name + ".diff.png").c_str());
  }
  EXPECT_EQ(differing, 0u) << name << ": pictures written to " << OutPath(name + ".*.png");
}
