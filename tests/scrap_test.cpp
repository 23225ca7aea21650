// The internal clipboard between drawings: copy, paste with its growing offset, cut and clear with
// undo, every object kind, and the scrap that serialises a drawing for embedding.
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "files/drxfile.h"
#include "model/objstuff.h"
#include "tests/toolfixture.h"
#include "tools/scrap.h"

namespace {

const RGB16 kFill = {1000, 2000, 3000};

ObjectRec* NewObject(int16_t kind, LayerRec* layer) {
  return CreateObject(kind, 1, 1, &kFill, &kBlack16, 1.0f, kSolidLineType, kNoFill, &kEmptyRect, nullptr,
                      nullptr, nullptr, layer, nullptr);
}

void AddPoints(ObjectRec* object, std::initializer_list<FloatPoint> points) {
  for (const FloatPoint& p : points)
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, p.x, p.y, 0, 0, object), object);
  UpdateObjectBounds(object);
}

// A top-level object of `kind` at the end of `layer`, with what its kind carries.
ObjectRec* Add(LayerRec* layer, int16_t kind, float x = 10.0f, float y = 20.0f) {
  ObjectRec* object = NewObject(kind, layer);
  AddPoints(object, {{x, y}, {x + 40, y}, {x + 40, y + 30}, {x, y + 30}});
  if (kind == kTextBlockKind) {
    TextPane pane = CreateTextPane(kAlignCentred);
    SetTextPaneText(pane, "plan A", 6);
    FontRecord font = {};
    font.height = -20;
    font.weight = 700;
    std::strcpy(font.faceName, "Arial");
    SetTextPaneFont(pane, &font);
    object->info = pane;
  } else if (kind == kMetaFileKind) {
    // A standard metafile of its header, SetBkMode and the end record.
    static const uint8_t kBits[] = {1, 0, 9, 0, 0, 3, 16, 0, 0, 0, 0, 0, 4, 0, 0, 0,
                                    0, 0, 4, 0, 0, 0, 2,  1, 1, 0, 3, 0, 0, 0, 0, 0};
    MetaInfo* info = static_cast<MetaInfo*>(std::calloc(1, sizeof(MetaInfo)));
    info->mapMode = kPictureMapMode;
    info->frameRight = 100;
    info->frameBottom = 50;
    info->unitsPerInch = 1440;
    info->metaFile = CreateMetaPictFromBits(kBits, sizeof kBits);
    object->info = info;
  } else if (IsDimensionOrLeaderKind(kind)) {
    object->info = std::calloc(1, sizeof(DimInfo));
  }
  AppendObjectToLayer(object, layer);
  if (IsDimensionOrLeaderKind(kind)) {
    // The label follows its dimension in the layer.
    ObjectRec* label = NewObject(kDimensionTextKind, layer);
    AddPoints(label, {{x + 10, y - 10}, {x + 30, y - 10}, {x + 30, y - 2}, {x + 10, y - 2}});
    DimTextInfo* text = static_cast<DimTextInfo*>(std::calloc(1, sizeof(DimTextInfo)));
    text->fontSize = 12;
    text->ownerDimension = object;
    label->info = text;
    DimInfoOf(object)->textObject = label;
    AppendObjectToLayer(label, layer);
  }
  if (kind == kGroupKind) {
    for (int16_t memberKind : {kLineKind, kTextBlockKind}) {
      ObjectRec* member = Add(layer, memberKind, x, y);
      UnlinkObject(member);
      AppendObjectToGroup(member, object);
    }
    UpdateObjectRootBounds(object, false, false);
  }
  return object;
}

const int16_t kEveryKind[] = {kRectKind,      kOvalKind,      kPolyKind,     kMultiKind,
                              kArcKind,       kLineKind,      kSplineKind,   kLengthDimKind,
                              kLeaderDimKind, kTextBlockKind, kMetaFileKind, kGroupKind};

std::vector<int16_t> Kinds(const LayerRec* layer) {
  std::vector<int16_t> kinds;
  for (const ObjectRec* o = layer->firstObject; o; o = o->nextObject) kinds.push_back(o->kind);
  return kinds;
}

// The scrap of the current drawing: the objects in the file's encoding.
std::vector<uint8_t> ScrapOfCurrentDrawing() {
  EXPECT_TRUE(DoOLECopyObjects()) << DrxFailureText(gDrxFileFailure);
  std::vector<uint8_t> bytes(gPrivateScrap, gPrivateScrap + gOLEScrapSize);
  return bytes;
}

class ClipboardTest : public ToolTest {
 protected:
  void TearDown() override {
    FreeClipboardLayer();
    FreePrivateScrap();
    if (other_) {
      DisposeUndo();
      DeleteDocument(other_);
    }
    gCurDocument = doc_;
    ToolTest::TearDown();
  }
  // Every kind in the current layer, all selected.
  void AddEveryKindSelected() {
    for (int16_t kind : kEveryKind) Add(layer_, kind);
    SelectLayer(layer_, kSelectMode, false);
  }
  ObjectRec* LastTopLevel() const {
    ObjectRec* o = layer_->firstObject;
    while (o && o->nextObject) o = o->nextObject;
    return o;
  }
  DocumentRec* other_ = nullptr;
};

TEST_F(ClipboardTest, PastesEveryKindIntoAnotherDrawingAtGrowingOffsetsAfterTheSourceCloses) {
  AddEveryKindSelected();
  const std::vector<uint8_t> source = ScrapOfCurrentDrawing();
  const std::vector<int16_t> kinds = Kinds(layer_);
  // Selected objects of another visible layer are not copied.
  LayerRec* second = CreateLayer("Other", 1, 1, nullptr);
  AppendLayerToDocument(second);
  SelectObj(Add(second, kOvalKind), kSelectMode, false);

  ASSERT_TRUE(DoCopyObjects());
  ASSERT_TRUE(ClipboardHasObjects());
  EXPECT_EQ(Kinds(gClipboardLayer), kinds) << "dimensions travel with their labels";
  EXPECT_FALSE(IsEmptyRect(&gScrapBounds));
  EXPECT_EQ(gPasteOffset, 36.0f);

  // The source drawing closes before anything is pasted.
  DisposeUndo();
  DeleteDocument(doc_);
  doc_ = CreateDocument();
  layer_ = doc_->firstLayer;
  ObjectRec* before = Add(layer_, kRectKind, 500, 500);
  SelectObj(before, kSelectMode, false);

  for (float offset : {36.0f, 72.0f}) {
    ObjectRec* last = LastTopLevel();
    ASSERT_EQ(DoPasteObjects(), static_cast<int>(kinds.size())) << offset;
    EXPECT_FALSE(IsObjectSelected(before)) << "the layer's old selection goes";
    ObjectRec* first = last->nextObject;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->firstPoint->x, 10.0f + offset);
    EXPECT_EQ(first->firstPoint->y, 20.0f + offset);
    int index = 0;
    for (ObjectRec* o = first; o; o = o->nextObject, ++index) {
      EXPECT_EQ(o->kind, kinds[index]);
      EXPECT_EQ(o->layer, layer_);
      EXPECT_TRUE(IsObjectSelected(o));
      if (IsDimensionOrLeaderKind(o->kind)) {
        ObjectRec* label = DimInfoOf(o)->textObject;
        ASSERT_EQ(label, o->nextObject) << "a pasted dimension names its own pasted label";
        EXPECT_EQ(DimTextInfoOf(label)->ownerDimension, o);
      }
      if (o->kind == kTextBlockKind) {
        EXPECT_EQ(TextPaneText(TextPaneOf(o)), "plan A");
        EXPECT_EQ(GetTextPaneEditor(TextPaneOf(o)), nullptr);
        FontRecord font;
        ASSERT_TRUE(GetTextPaneFont(TextPaneOf(o), &font));
        EXPECT_STREQ(font.faceName, "Arial");
      }
      if (o->kind == kGroupKind) {
        EXPECT_EQ(o->firstChild->layer, layer_);
      }
    }
  }
  EXPECT_EQ(gPasteOffset, 108.0f);

  // What was pasted is what was copied: the same records, moved.
  DeleteObj(before);
  for (size_t i = 0; i < kinds.size(); ++i) DeleteObj(layer_->firstObject);  // the first paste
  TransformRec back = {};
  back.dx = back.dy = -72.0f;
  SelectedObjectLayer(layer_, true, kOpTranslate, &back);
  EXPECT_EQ(ScrapOfCurrentDrawing(), source);
}

TEST_F(ClipboardTest, CutAndClearTakeExactlyWhatTheyCopyAndUndoPutsItBack) {
  ObjectRec* rect = Add(layer_, kRectKind);
  ObjectRec* dim = Add(layer_, kLengthDimKind);
  ObjectRec* text = Add(layer_, kTextBlockKind);
  ObjectRec* locked = Add(layer_, kOvalKind);
  ObjectRec* unselected = Add(layer_, kLineKind);
  LayerRec* second = CreateLayer("Other", 1, 1, nullptr);
  AppendLayerToDocument(second);
  ObjectRec* elsewhere = Add(second, kPolyKind);
  for (ObjectRec* o : {rect, dim, text, locked, elsewhere}) SelectObj(o, kSelectMode, false);
  SetObjectLockFlags(locked, 1);
  const std::vector<int16_t> before = Kinds(layer_);

  ASSERT_EQ(CutObjects(), 4) << "rectangle, dimension, its label, text";
  EXPECT_EQ(Kinds(gClipboardLayer),
            (std::vector<int16_t>{kRectKind, kLengthDimKind, kDimensionTextKind, kTextBlockKind}));
  EXPECT_EQ(Kinds(layer_), (std::vector<int16_t>{kOvalKind, kLineKind}));
  EXPECT_EQ(layer_->firstObject, locked);
  EXPECT_EQ(locked->nextObject, unselected);
  EXPECT_EQ(second->firstObject, elsewhere) << "another layer's selection is not cut";
  EXPECT_EQ(doc_->undoKind, kUndoClear);

  // A copy in between does not change what Undo brings back.
  SelectLayer(layer_, kDeselectMode, false);
  SelectObj(unselected, kSelectMode, false);
  ASSERT_TRUE(DoCopyObjects());
  ASSERT_TRUE(UndoAvailable(doc_));
  ASSERT_TRUE(Undo());
  EXPECT_EQ(Kinds(layer_), before);
  EXPECT_EQ(layer_->firstObject, rect);
  EXPECT_EQ(DimInfoOf(dim)->textObject, dim->nextObject);
  EXPECT_EQ(TextPaneText(TextPaneOf(text)), "plan A");
  ASSERT_TRUE(Undo()) << "redo";
  EXPECT_EQ(Kinds(layer_), (std::vector<int16_t>{kOvalKind, kLineKind}));
}

TEST_F(ClipboardTest, CopyOfNothingEmptiesTheClipboardAndPasteDoesNothing) {
  Add(layer_, kRectKind);
  SelectLayer(layer_, kSelectMode, false);
  ASSERT_TRUE(DoCopyObjects());
  SelectLayer(layer_, kDeselectMode, false);
  EXPECT_EQ(CutObjects(), 0);
  EXPECT_FALSE(ClipboardHasObjects());
  EXPECT_EQ(DoPasteObjects(), 0);
  EXPECT_EQ(Kinds(layer_).size(), 1u);
  EXPECT_TRUE(IsEmptyRect(&gScrapBounds));
}

TEST_F(ClipboardTest, SerialisingForEmbeddingLeavesTheDrawingAsItWasAndReadsBackWhole) {
  AddEveryKindSelected();
  ObjectRec* group = LastTopLevel();
  const std::vector<uint8_t> scrap = ScrapOfCurrentDrawing();
  EXPECT_EQ(group->kind, kGroupKind);
  EXPECT_NE(group->firstChild, nullptr) << "the drawing's groups stay whole";
  EXPECT_EQ(Kinds(layer_).size(), std::size(kEveryKind) + 2) << "two labels";

  other_ = CreateDocument();
  ASSERT_TRUE(SetPrivateScrap(scrap.data(), scrap.size()));
  ASSERT_TRUE(DoOLEPasteObjects()) << DrxFailureText(gDrxFileFailure);
  EXPECT_EQ(Kinds(other_->currentLayer), Kinds(layer_));
  EXPECT_EQ(ScrapOfCurrentDrawing(), scrap) << "every record comes back as it went";

  // A scrap cut anywhere is refused with a reason, never read past its end.
  for (size_t n = 0; n + 1 < scrap.size(); n += 7) {
    DeleteLayerObjects(other_->currentLayer);
    ASSERT_TRUE(SetPrivateScrap(scrap.data(), n) || n == 0);
    EXPECT_FALSE(DoOLEPasteObjects()) << n;
    if (n) {
      EXPECT_TRUE(IsDrxDamage(gDrxFileFailure.reason)) << n;
    }
  }
}

}  // namespace
