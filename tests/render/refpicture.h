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
