// One input through every way the reader takes bytes: a drawing, a symbol placed into a drawing,
// a symbol preview, and a scrap pasted into a drawing, each into a fresh drawing. Shared by the
// fuzz target, its replay program and the replay test.
#pragma once

#include <cstddef>
#include <cstdint>

#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"

// Inputs longer than this add nothing the reader has not seen in shorter ones.
constexpr size_t kDrxFuzzMaxInput = 1 << 20;

inline void DrxFuzzOneInput(const uint8_t* data, size_t size) {
  if (size > kDrxFuzzMaxInput) return;
  for (int mode = 0; mode < 4; ++mode) {
    DocumentRec* document = CreateDocument();
    if (!document) return;
    gOpenSymbol = mode == 1;
    gPreviewSymbol = mode == 2;
    if (mode == 3)
      ReadScrapObjects(data, size);
    else
      DrxReadFromMemory(data, size, "fuzz");
    gOpenSymbol = gPreviewSymbol = false;
    if (gPreviewLayer) {
      DeleteLayer(gPreviewLayer);
      gPreviewLayer = nullptr;
    }
    DeleteDocument(document);
  }
}
