// A drawing of one rectangle, for the tests of what exports and previews make of it.
#pragma once

#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"

// A new current drawing holding the rectangle (left, top)-(right, bottom) in page units; null
// when it cannot be made. The caller deletes it with DeleteDocument.
inline DocumentRec* CreateRectangleDocument(float left, float top, float right, float bottom) {
  DocumentRec* document = CreateDocument();
  if (!document) return nullptr;
  ObjectRec* rect = CreateObject(kRectKind, true, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill,
                                 &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
  AppendObjectToLayer(rect, document->firstLayer);
  const float corners[][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  for (const auto& corner : corners)
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, corner[0], corner[1], 0, 0, rect), rect);
  UpdateObjectBounds(rect);
  return document;
}
