// A drawing to run the tools' logic against: one visible layer, zoom 1, the standard tool, and
// shortcuts to place plain shapes.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/pthndlr.h"
#include "tools/buildobj.h"
#include "tools/selhndlr.h"
#include "tools/toolstate.h"
#include "tools/undo.h"

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc_ = CreateDocument();
    ASSERT_NE(doc_, nullptr);
    layer_ = doc_->firstLayer;
    gCurTool = kStandardTool;
    gPointOrientation = 0;
    gSelectIndex = 1;
    gPattern = kNoFill;
  }
  void TearDown() override {
    DisposeUndo();
    DeleteDocument(doc_);
    gCurTool = kStandardTool;
    gSelectIndex = 1;
  }

  // A rectangle with nothing selected.
  ObjectRec* Rect(float left, float top, float right, float bottom, LayerRec* layer = nullptr) {
    ObjectRec* o = BuildRect(left, top, right, bottom, layer ? layer : layer_, false);
    SetObjectSelectFlags(o, 0);
    return o;
  }
  ObjectRec* Line(float x1, float y1, float x2, float y2) {
    ObjectRec* o = BuildLine(x1, y1, x2, y2, layer_, false);
    SetObjectSelectFlags(o, 0);
    return o;
  }
  // A press at a window position; the result of the hit test over all objects.
  ClickInfo Press(int32_t x, int32_t y, bool selectedOnly = false) {
    ClickInfo info = {};
    info.x = x;
    info.y = y;
    SelectFromAllLayers(doc_->firstLayer, &info, selectedOnly);
    return info;
  }
  // The object's screen polygon, as the drawing caches it after painting.
  static void CachePolygon(ObjectRec* o, std::initializer_list<ScreenPoint> points) {
    std::free(o->screenPoly);
    o->screenPoly = static_cast<ScreenPoint*>(std::malloc(points.size() * sizeof(ScreenPoint)));
    int32_t n = 0;
    for (const ScreenPoint& p : points) o->screenPoly[n++] = p;
    o->screenPolyCount = n;
  }
  static int CountObjects(const LayerRec* layer) {
    int n = 0;
    for (const ObjectRec* o = layer->firstObject; o; o = o->nextObject) ++n;
    return n;
  }

  DocumentRec* doc_ = nullptr;
  LayerRec* layer_ = nullptr;
};
