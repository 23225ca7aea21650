// Object, point and layer lists, deletion and ownership, and the settings of a new drawing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objedit.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "tools/drxfont.h"

namespace {

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc_ = CreateDocument();
    ASSERT_NE(doc_, nullptr);
    layer_ = doc_->firstLayer;
  }
  void TearDown() override { DeleteDocument(doc_); }

  static ObjectRec* New(int16_t kind, uint8_t closed = 0, void* info = nullptr) {
    return CreateObject(kind, closed, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill, &kEmptyRect,
                        nullptr, nullptr, nullptr, nullptr, info);
  }
  ObjectRec* InLayer(int16_t kind, uint8_t closed = 0, void* info = nullptr) {
    ObjectRec* o = New(kind, closed, info);
    AppendObjectToLayer(o, layer_);
    return o;
  }
  static PointRec* Add(ObjectRec* o, float x, float y) {
    PointRec* p = CreatePoint(kVertexPoint, 0, 0, 0, 0, x, y, 0, 0, o);
    AppendPointToObject(p, o);
    return p;
  }

  DocumentRec* doc_ = nullptr;
  LayerRec* layer_ = nullptr;
};

// Checks both directions of a sibling list against the expected order.
void ExpectSiblings(ObjectRec* head, std::initializer_list<ObjectRec*> expected) {
  ObjectRec* prev = nullptr;
  ObjectRec* o = head;
  for (ObjectRec* e : expected) {
    ASSERT_EQ(o, e);
    EXPECT_EQ(o->prevObject, prev);
    prev = o;
    o = o->nextObject;
  }
  EXPECT_EQ(o, nullptr);
}

TEST_F(ModelTest, UnlinkedRecordsAreSafeToDelete) {
  // An object that names a layer but was never linked must not empty that layer when deleted.
  ObjectRec* o = CreateObject(kRectKind, 1, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill, &kEmptyRect,
                              nullptr, nullptr, nullptr, layer_, nullptr);
  ObjectRec* linked = InLayer(kLineKind);
  DeleteObj(o);
  ExpectSiblings(layer_->firstObject, {linked});

  std::string longName(400, 'n');
  LayerRec* layer = CreateLayer(longName.c_str(), 1, 1, nullptr);
  EXPECT_EQ(std::strlen(layer->name), static_cast<size_t>(kLayerNameSize - 1));
  std::free(layer);
}

TEST_F(ModelTest, DeletingHeadsRedirectsLayerAndGroupLists) {
  ObjectRec* a = InLayer(kLineKind);
  ObjectRec* group = InLayer(kGroupKind);
  ObjectRec* c = InLayer(kLineKind);
  ObjectRec* m1 = New(kPolyKind);
  ObjectRec* m2 = New(kPolyKind);
  ObjectRec* m3 = New(kPolyKind);
  AppendObjectToGroup(m1, group);
  AppendObjectToGroup(m2, group);
  AppendObjectToGroup(m3, group);
  EXPECT_EQ(m2->parent, group);
  EXPECT_EQ(m2->layer, layer_);
  EXPECT_EQ(GetRootObject(m3), group);
  EXPECT_TRUE(IsObjectGrouped(m1));
  EXPECT_TRUE(IsObjectGrouped(group));
  EXPECT_FALSE(IsObjectGrouped(a));

  DeleteObj(m1);
  ExpectSiblings(group->firstChild, {m2, m3});
  DeleteObj(m3);
  ExpectSiblings(group->firstChild, {m2});
  DeleteObj(a);
  ExpectSiblings(layer_->firstObject, {group, c});
  // A group goes with its members and their points.
  Add(m2, 1, 1);
  Add(m2, 2, 2);
  DeleteObj(group);
  ExpectSiblings(layer_->firstObject, {c});
}

TEST_F(ModelTest, TailLinksAppendWithoutWalking) {
  ObjectRec* tail = nullptr;
  ObjectRec* objects[4];
  for (ObjectRec*& o : objects) {
    o = New(kLineKind);
    LinkObjectAfter(o, layer_, tail);
    tail = o;
  }
  ExpectSiblings(layer_->firstObject, {objects[0], objects[1], objects[2], objects[3]});
  EXPECT_EQ(objects[2]->layer, layer_);
  // A stale tail still appends at the end; a null tail on a full list too.
  ObjectRec* late = New(kLineKind);
  LinkObjectAfter(late, layer_, objects[1]);
  ObjectRec* later = New(kLineKind);
  LinkObjectAfter(later, layer_, nullptr);
  ExpectSiblings(layer_->firstObject, {objects[0], objects[1], objects[2], objects[3], late, later});

  ObjectRec* group = InLayer(kGroupKind);
  ObjectRec* m1 = New(kPolyKind);
  ObjectRec* m2 = New(kPolyKind);
  LinkChildAfter(m1, group, nullptr);
  LinkChildAfter(m2, group, m1);
  ExpectSiblings(group->firstChild, {m1, m2});
  EXPECT_EQ(m2->parent, group);

  ObjectRec* poly = objects[0];
  PointRec* ptail = nullptr;
  for (int i = 0; i < 3; ++i) {
    PointRec* p = CreatePoint(kVertexPoint, 0, 0, 0, 0, static_cast<float>(i), 0, 0, 0, nullptr);
    LinkPointAfter(p, poly, ptail);
    EXPECT_EQ(p->ownerObject, poly);
    EXPECT_EQ(p->prevPoint, ptail);
    ptail = p;
  }
  EXPECT_EQ(CountObjectPoints(poly), 3);
  EXPECT_EQ(poly->firstPoint->nextPoint->nextPoint, ptail);
}

TEST_F(ModelTest, PointInsertionAndDuplication) {
  ObjectRec* src = InLayer(kSplineKind);
  PointRec* p1 = Add(src, 0, 0);
  PointRec* p3 = Add(src, 20, 0);
  PointRec* p2 = CreatePoint(kVertexPoint, 0, 1, 0, 0, 10, 0, 4, 5, src);
  InsertPointInObject(p2, src, p1);
  PointRec* p0 = CreatePoint(kFilletMarkerPoint, 0, 0, 0, 0, -10, 0, 0, 0, src);
  InsertPointInObject(p0, src, nullptr);
  EXPECT_EQ(src->firstPoint, p0);
  EXPECT_EQ(p0->nextPoint, p1);
  EXPECT_EQ(p1->prevPoint, p0);
  EXPECT_EQ(p1->nextPoint, p2);
  EXPECT_EQ(p3->prevPoint, p2);

  p2->detectable = 0;
  ObjectRec* copy = InLayer(kSplineKind);
  DuplicateObjectPoints(src, copy, FloatPoint{3, -4}, 1);
  ASSERT_EQ(CountObjectPoints(copy), 4);
  const PointRec* c2 = copy->firstPoint->nextPoint->nextPoint;
  EXPECT_EQ(copy->firstPoint->pointKind, kFilletMarkerPoint);
  EXPECT_FLOAT_EQ(c2->x, 13);
  EXPECT_FLOAT_EQ(c2->y, -4);
  EXPECT_FLOAT_EQ(c2->outTangentY, 5);
  EXPECT_EQ(c2->locked, 1);
  EXPECT_EQ(c2->selected, 1);
  EXPECT_EQ(c2->detectable, 1);
  EXPECT_EQ(c2->ownerObject, copy);
}

TEST_F(ModelTest, LayerDeletionMovesFirstAndCurrent) {
  LayerRec* second = CreateLayer("two", 1, 1, nullptr);
  LayerRec* third = CreateLayer("three", 1, 1, nullptr);
  AppendLayerToDocument(second);
  AppendLayerToDocument(third);
  EXPECT_EQ(doc_->currentLayer, layer_);  // only the first layer of an empty list becomes current
  EXPECT_EQ(CountLayers(doc_->firstLayer), 3);
  InLayer(kLineKind);

  doc_->currentLayer = third;
  DeleteLayer(third);  // current, with a previous layer
  EXPECT_EQ(doc_->currentLayer, second);
  doc_->currentLayer = layer_;
  DeleteLayer(layer_);  // first and current: both move to the next
  EXPECT_EQ(doc_->firstLayer, second);
  EXPECT_EQ(doc_->currentLayer, second);
  EXPECT_EQ(second->prevLayer, nullptr);
  EXPECT_EQ(second->nextLayer, nullptr);
  DeleteLayer(second);
  EXPECT_EQ(doc_->firstLayer, nullptr);
  EXPECT_EQ(doc_->currentLayer, nullptr);

  LayerRec* fresh = CreateLayer("again", 1, 1, nullptr);
  AppendLayerToDocument(fresh);
  EXPECT_EQ(doc_->firstLayer, fresh);
  EXPECT_EQ(doc_->currentLayer, fresh);
}

// A standard metafile holding one LineTo(10, 20): header, the record, the end record.
const uint8_t kTinyMetafile[] = {
    0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00,  // header
    0x05, 0x00, 0x00, 0x00, 0x00, 0x00,                                      // largest record
    0x05, 0x00, 0x00, 0x00, 0x13, 0x02, 0x14, 0x00, 0x0A, 0x00,              // LineTo(10, 20)
    0x03, 0x00, 0x00, 0x00, 0x00, 0x00,                                      // end
};

DimInfo* NewDimInfo() {
  return static_cast<DimInfo*>(std::calloc(1, sizeof(DimInfo)));
}
DimTextInfo* NewDimTextInfo() {
  return static_cast<DimTextInfo*>(std::calloc(1, sizeof(DimTextInfo)));
}

TEST_F(ModelTest, DimensionAndLabelForgetEachOther) {
  for (bool deleteLabel : {true, false}) {
    ObjectRec* dim = InLayer(kLengthDimKind, 0, NewDimInfo());
    ObjectRec* label = InLayer(kDimensionTextKind, 1, NewDimTextInfo());
    DimInfoOf(dim)->textObject = label;
    DimTextInfoOf(label)->ownerDimension = dim;
    if (deleteLabel) {
      DeleteObj(label);
      EXPECT_EQ(DimInfoOf(dim)->textObject, nullptr);
      DeleteObj(dim);
    } else {
      DeleteObj(dim);
      ExpectSiblings(layer_->firstObject, {label});  // the label stays in the layer
      EXPECT_EQ(DimTextInfoOf(label)->ownerDimension, nullptr);
      DeleteObj(label);
    }
  }
  // A label that names another dimension does not clear that dimension's link.
  ObjectRec* dim = InLayer(kLeaderDimKind, 0, NewDimInfo());
  ObjectRec* label = InLayer(kDimensionTextKind, 1, NewDimTextInfo());
  ObjectRec* other = InLayer(kLengthDimKind, 0, NewDimInfo());
  DimInfoOf(dim)->textObject = label;
  DimTextInfoOf(label)->ownerDimension = dim;
  DimInfoOf(other)->textObject = label;
  DeleteObj(other);
  EXPECT_EQ(DimTextInfoOf(label)->ownerDimension, dim);
}

TEST_F(ModelTest, KindDataIsCopiedAndReleased) {
  TextPane pane = CreateTextPane(kAlignRight);
  ASSERT_TRUE(SetTextPaneText(pane, "two\r\nlines", 10));
  ObjectRec* text = InLayer(kTextBlockKind, 1, pane);
  text->bounds = FloatRect{10.4f, 20.6f, 30, 40};
  ObjectRec* textCopy = InLayer(kTextBlockKind, 1);
  textCopy->bounds = text->bounds;
  DuplicateObjectData(text, textCopy);
  TextPane copied = TextPaneOf(textCopy);
  ASSERT_NE(copied, nullptr);
  ASSERT_NE(copied, pane);
  char buffer[32];
  EXPECT_EQ(GetTextPaneText(copied, buffer, sizeof buffer), 10u);
  EXPECT_STREQ(buffer, "two\r\nlines");
  EXPECT_EQ(GetTextPaneAlignment(copied), kAlignRight);
  // A source without a font of its own gives the copy the current font.
  FontRecord font;
  ASSERT_TRUE(GetTextPaneFont(copied, &font));
  EXPECT_EQ(font.height, gCurFontInfo.height);
  EXPECT_STREQ(font.faceName, "Courier New");
  EXPECT_EQ(GetTextPaneText(copied, buffer, 4), 3u);  // cut to the buffer, NUL kept
  EXPECT_STREQ(buffer, "two");

  // Deleting the block being typed into: the drawing stops naming its editor.
  int editor = 0;
  AttachTextPaneEditor(pane, &editor);
  doc_->activeTextWindow = &editor;
  DeleteObj(text);
  EXPECT_EQ(doc_->activeTextWindow, nullptr);

  MetaInfo* meta = static_cast<MetaInfo*>(std::calloc(1, sizeof(MetaInfo)));
  meta->mapMode = kPictureMapMode;
  meta->frameRight = 1000;
  meta->unitsPerInch = 1440;
  meta->metaFile = CreateMetaPictFromBits(kTinyMetafile, sizeof kTinyMetafile);
  ASSERT_NE(meta->metaFile, nullptr);
  ObjectRec* picture = InLayer(kMetaFileKind, 1, meta);
  ObjectRec* pictureCopy = InLayer(kMetaFileKind, 1);
  DuplicateObjectData(picture, pictureCopy);
  MetaInfo* metaCopy = MetaInfoOf(pictureCopy);
  ASSERT_NE(metaCopy, nullptr);
  EXPECT_EQ(metaCopy->frameRight, 1000);
  EXPECT_EQ(metaCopy->unitsPerInch, 1440);
  ASSERT_NE(metaCopy->metaFile, meta->metaFile);
  DeleteObj(picture);  // the copy's picture outlives the original's
  uint8_t out[sizeof kTinyMetafile] = {};
  ASSERT_EQ(GetMetaPictBits(metaCopy->metaFile, out, sizeof out), sizeof kTinyMetafile);
  EXPECT_EQ(std::memcmp(out, kTinyMetafile, sizeof out), 0);

  // A dimension's copy keeps its information but not its label.
  ObjectRec* dim = InLayer(kRadiusDimKind, 0, NewDimInfo());
  ObjectRec* label = InLayer(kDimensionTextKind, 1, NewDimTextInfo());
  DimInfoOf(dim)->textObject = label;
  DimTextInfoOf(label)->ownerDimension = dim;
  ObjectRec* dimCopy = InLayer(kRadiusDimKind);
  DuplicateObjectData(dim, dimCopy);
  ASSERT_NE(dimCopy->info, nullptr);
  EXPECT_NE(dimCopy->info, dim->info);
  EXPECT_EQ(DimInfoOf(dimCopy)->dimFlags, DimInfoOf(dim)->dimFlags);
  EXPECT_EQ(DimInfoOf(dimCopy)->textObject, nullptr);
  EXPECT_EQ(DimTextInfoOf(label)->ownerDimension, dim);
}

TEST_F(ModelTest, LocksDetectionSelectionAndLineWeight) {
  ObjectRec* group = InLayer(kGroupKind);
  ObjectRec* member = New(kRectKind, 1);
  AppendObjectToGroup(member, group);
  Add(member, 0, 0);
  PointRec* p = Add(member, 5, 5);
  EXPECT_FALSE(IsObjectLocked(group));
  p->locked = 1;
  p->detectable = 0;
  p->selected = 1;
  EXPECT_TRUE(IsObjectLocked(group));
  EXPECT_TRUE(IsObjectUndetectable(group));
  EXPECT_TRUE(IsObjectSelected(group));

  ObjectRec* open = InLayer(kLineKind, 0);
  ChangePattern(open, kSolidFill);
  EXPECT_EQ(open->fillPattern, kNoFill);
  ChangePattern(member, kSolidFill);
  EXPECT_EQ(member->fillPattern, kSolidFill);

  doc_->docState->lineWeight = 4;
  SetLineWeight(open);
  EXPECT_FLOAT_EQ(open->lineWeight, 4);

  EXPECT_EQ(GetLineWeight(nullptr, false), 1);
  const struct {
    float weight;
    bool zoomed;
    int pixels;
  } cases[] = {{0, false, 0},    {-0.05f, false, 0}, {-1, false, 1},  {0.2f, false, 1},
               {2.5f, false, 3}, {2.6f, true, 5},    {2.8f, true, 6}, {0.2f, true, 1}};
  doc_->docState->zoomFactor = 2;
  for (const auto& c : cases) {
    open->lineWeight = c.weight;
    EXPECT_EQ(GetLineWeight(open, c.zoomed), c.pixels) << c.weight << " zoomed " << c.zoomed;
  }
}

TEST(DocStateTest, NewDrawingDefaults) {
  ASSERT_EQ(gCurDocument, nullptr);
  DocumentRec* doc = CreateDocument();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(gCurDocument, doc);
  EXPECT_EQ(CountLayers(doc->firstLayer), 1);
  EXPECT_EQ(doc->currentLayer, doc->firstLayer);
  EXPECT_STREQ(doc->firstLayer->name, "Untitled");
  EXPECT_EQ(doc->firstLayer->visible, 1);
  EXPECT_EQ(doc->undoKind, -1);
  EXPECT_EQ(doc->fileName, nullptr);

  const DocState* s = doc->docState;
  ASSERT_NE(s, nullptr);
  // The world origin is the bottom-left corner of a letter sheet.
  EXPECT_FLOAT_EQ(s->originH, 0);
  EXPECT_FLOAT_EQ(s->originV, 792);
  EXPECT_FLOAT_EQ(s->pageRect.right, 612);
  EXPECT_EQ(s->curveSmoothness, 8);
  EXPECT_EQ(s->arrowStyle, 5086);
  EXPECT_EQ(s->readoutStyle, 5060);
  EXPECT_EQ(s->toleranceStyle, 5053);
  EXPECT_EQ(s->selectionState.firstObject, 1);
  // Centre text, the first arrow style and readout 5060.
  EXPECT_EQ(s->dimFlags, (1u << 19) | (1u << 0) | (1u << 14));

  DeleteDocument(doc);
  EXPECT_EQ(gCurDocument, nullptr);
}

TEST(DocStateTest, DimensionFlagSettersTouchOnlyTheirBits) {
  DocState* s = CreateDocState();
  ASSERT_NE(s, nullptr);
  s->dimFlags |= kDimArrowsOut | kDimTextFrame | (1u << 31);
  const uint32_t others = s->dimFlags & ~kDimArrowBits;
  s->arrowStyle = 5088;
  SetDocStateDimensionArrowFlags(s);
  EXPECT_EQ(s->dimFlags & kDimArrowBits, 1u << 2);
  EXPECT_EQ(s->dimFlags & ~kDimArrowBits, others);
  s->arrowStyle = 5093;
  SetDocStateDimensionArrowFlags(s);
  EXPECT_EQ(s->dimFlags & kDimArrowBits, 0u);

  s->toleranceStyle = kLimitingTolerance;
  SetDocStateDimensionToleranceFlags(s);
  EXPECT_EQ(s->dimFlags & kDimToleranceBits, 1u << 11);
  s->toleranceStyle = kNoTolerance;
  SetDocStateDimensionToleranceFlags(s);
  EXPECT_EQ(s->dimFlags & kDimToleranceBits, 0u);

  s->readoutStyle = 5064;
  SetDocStateDimensionReadoutFlags(s);
  EXPECT_EQ(s->dimFlags & kDimReadoutBits, 1u << 18);
  s->readoutStyle = 5058;
  SetDocStateDimensionReadoutFlags(s);
  EXPECT_EQ(s->dimFlags & kDimReadoutBits, 1u << 12);
  EXPECT_EQ(s->dimFlags & (kDimArrowsOut | kDimTextFrame | kDimCenterText | (1u << 31)),
            kDimArrowsOut | kDimTextFrame | kDimCenterText | (1u << 31));

  SetCurveSmoothness(s, 25);
  EXPECT_EQ(s->curveSmoothness, 20);
  SetCurveSmoothness(s, 0);
  EXPECT_EQ(s->curveSmoothness, 1);
  SetCurveSmoothness(s, 12);
  EXPECT_EQ(s->curveSmoothness, 12);
  std::free(s);
}

}  // namespace

namespace {

// Placing a symbol: the selection is moved to a point and gathered into one group.
class PlacementTest : public ModelTest {
 protected:
  ObjectRec* Square(LayerRec* layer, float x, float y, bool selected) {
    ObjectRec* o = New(kRectKind, 1);
    AppendObjectToLayer(o, layer);
    for (FloatPoint p : {FloatPoint{x, y}, {x + 10, y}, {x + 10, y + 10}, {x, y + 10}})
      Add(o, p.x, p.y)->selected = selected;
    UpdateObjectBounds(o);
    return o;
  }
};

TEST_F(PlacementTest, GroupingTakesTheSelectionInLayerOrder) {
  ObjectRec* a = Square(layer_, 0, 0, true);
  ObjectRec* kept = Square(layer_, 50, 50, false);
  LayerRec* second = CreateLayer("second", 1, 1, nullptr);
  AppendLayerToDocument(second);
  ObjectRec* b = Square(second, 100, 200, true);

  ObjectRec* group = GroupSelectedObjects(doc_->firstLayer);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->kind, kGroupKind);
  EXPECT_EQ(group->layer, layer_);
  ExpectSiblings(layer_->firstObject, {kept, group});
  ExpectSiblings(group->firstChild, {a, b});
  EXPECT_EQ(second->firstObject, nullptr);
  EXPECT_EQ(a->parent, group);
  EXPECT_EQ(b->parent, group);
  EXPECT_EQ(b->layer, second) << "a member keeps the layer it came from";
  EXPECT_FLOAT_EQ(group->bounds.left, 0);
  EXPECT_FLOAT_EQ(group->bounds.bottom, 210);
  EXPECT_EQ(gGroupLeader, group);
}

TEST_F(PlacementTest, OneSelectedObjectIsNotGrouped) {
  ObjectRec* a = Square(layer_, 0, 0, true);
  Square(layer_, 50, 50, false);
  EXPECT_EQ(GroupSelectedObjects(doc_->firstLayer), nullptr);
  EXPECT_EQ(layer_->firstObject, a);
  EXPECT_EQ(a->parent, nullptr);
}

TEST_F(PlacementTest, CentringMovesOnlyTheSelectionAndReportsWhereItWent) {
  ObjectRec* a = Square(layer_, 0, 0, true);
  ObjectRec* b = Square(layer_, 30, 0, true);
  ObjectRec* kept = Square(layer_, 500, 500, false);
  FloatRect placed;
  CenterObjectsAt(doc_->firstLayer, true, 300, 400, &placed);
  // The selection spanned 0..40 by 0..10: its centre (20, 5) goes to (300, 400).
  EXPECT_FLOAT_EQ(placed.left, 280);
  EXPECT_FLOAT_EQ(placed.right, 320);
  EXPECT_FLOAT_EQ(placed.top, 395);
  EXPECT_FLOAT_EQ(placed.bottom, 405);
  EXPECT_FLOAT_EQ(a->bounds.left, 280);
  EXPECT_FLOAT_EQ(b->firstPoint->x, 310);
  EXPECT_FLOAT_EQ(kept->firstPoint->x, 500);

  // Nothing selected: nothing moves and the rectangle is empty.
  for (ObjectRec* o : {a, b})
    for (PointRec* p = o->firstPoint; p; p = p->nextPoint) p->selected = 0;
  CenterObjectsAt(doc_->firstLayer, true, 0, 0, &placed);
  EXPECT_TRUE(IsEmptyRect(&placed));
  EXPECT_FLOAT_EQ(a->bounds.left, 280);
}

}  // namespace
