// The dimension record and label of a new dimension.
#include "dimensions/dimlabel.h"

#include <cstdlib>
#include <cstring>

#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"

namespace {

// The label is a plain four-corner box: it never takes the parallel copies a drawn rectangle
// may get, and its pen is the drawing's, so a framed readout shows in the text colour.
ObjectRec* BuildLabelBox(int16_t cx, int16_t cy, LayerRec* layer, const DocState* state) {
  const FloatRect bounds = kEmptyRect;
  ObjectRec* label =
      CreateObject(kDimensionTextKind, 1, 1, &state->fillColor, &state->penColor, 0.0f, kSolidLineType,
                   kNoFill, &bounds, nullptr, nullptr, nullptr, layer, nullptr);
  if (!label) return nullptr;
  const float left = cx - kLabelHalfWidth, right = cx + kLabelHalfWidth;
  const float top = cy - kLabelHalfHeight, bottom = cy + kLabelHalfHeight;
  const float corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  for (const auto& c : corners) {
    PointRec* point = CreatePoint(kVertexPoint, 1, 0, 0, 0, c[0], c[1], 0, 0, label);
    if (!point) {
      DeleteObj(label);
      return nullptr;
    }
    AppendPointToObject(point, label);
  }
  UpdateObjectBounds(label);
  return label;
}

}  // namespace

bool AddDimensionInfo(ObjectRec* object, int16_t cx, int16_t cy, bool withText, const FontRecord* font) {
  const DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  if (!object || !state || (withText && !object->layer)) return false;
  DimInfo* info = static_cast<DimInfo*>(std::calloc(1, sizeof(DimInfo)));
  if (!info) return false;
  info->dimFlags = state->dimFlags;
  info->upperTolerance = state->upperTolerance;
  info->lowerTolerance = state->lowerTolerance;
  if (withText) {
    DimTextInfo* text = static_cast<DimTextInfo*>(std::calloc(1, sizeof(DimTextInfo)));
    ObjectRec* label = text ? BuildLabelBox(cx, cy, object->layer, state) : nullptr;
    if (!label) {
      std::free(text);
      std::free(info);
      return false;
    }
    if (font) std::memcpy(&text->font, font, sizeof text->font);
    text->ownerDimension = object;
    label->info = text;
    info->textObject = label;
    AppendObjectToLayer(label, object->layer);
  }
  object->info = info;
  return true;
}
