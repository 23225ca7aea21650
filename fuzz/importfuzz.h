// One input through the import's two readers, each into a fresh drawing: as DXF text through the
// DXF filter's reader and then the record conversion (the reader's metafile must always convert,
// and every point that comes out must be finite), and as a 16-bit metafile through the record
// conversion (its first two bytes give the units per inch; a conversion that fails must add
// nothing, and the drawing's pen and fill settings must come back). Shared by the fuzz targets,
// the replay program and the replay test; a broken promise aborts, so the fuzzer keeps the input.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "exchange/dxfread.h"
#include "model/docstate.h"
#include "tools/extract1.h"

// Inputs longer than this add nothing the readers have not seen in shorter ones.
constexpr size_t kImportFuzzMaxInput = 1 << 20;

namespace importfuzz {

inline void Broken(const char* what) {
  std::fprintf(stderr, "importfuzz: %s\n", what);
  std::abort();
}

inline int CheckLayer(const LayerRec* layer) {
  int objects = 0;
  for (const ObjectRec* o = layer->firstObject; o; o = o->nextObject, ++objects)
    for (const PointRec* p = o->firstPoint; p; p = p->nextPoint)
      if (!std::isfinite(p->x) || !std::isfinite(p->y) || !std::isfinite(p->inTangentX) ||
          !std::isfinite(p->outTangentY))
        Broken("a converted point is not finite");
  return objects;
}

}  // namespace importfuzz

inline void ImportFuzzDxf(const uint8_t* data, size_t size) {
  if (size > kImportFuzzMaxInput) return;
  DocumentRec* document = CreateDocument();
  if (!document) return;
  gFilterName = kSourceDXF;
  DxfImport dxf;
  if (ReadDxf(reinterpret_cast<const char*>(data), size, &dxf) == kFilterOK) {
    if (CheckFilterPicture(&dxf.picture) != kFilterOK)
      importfuzz::Broken("the reader's picture record is unsound");
    if (ExtractWMFEntities(dxf.metafile.data(), dxf.metafile.size(), &dxf.picture) != kFilterOK)
      importfuzz::Broken("the reader's metafile does not convert");
    importfuzz::CheckLayer(document->currentLayer);
  } else if (dxf.failure.empty()) {
    importfuzz::Broken("a refused DXF file has no reason");
  }
  DeleteDocument(document);
}

inline void ImportFuzzMetafile(const uint8_t* data, size_t size) {
  if (size > kImportFuzzMaxInput || size < 2) return;
  DocumentRec* document = CreateDocument();
  if (!document) return;
  gFilterName = data[0] & 1 ? kSourceCDR : kSourceDXF;
  FilterPictRecord picture = {0, 0, 0, 1000, 1000, static_cast<int16_t>(data[0] | (data[1] << 8))};
  DocState* state = document->docState;
  const RGB16 pen = state->penColor;
  const int16_t weight = state->lineWeight, type = state->lineType;
  const int16_t result = ExtractWMFEntities(data + 2, size - 2, &picture);
  const int objects = importfuzz::CheckLayer(document->currentLayer);
  if (result != kFilterOK && objects != 0) importfuzz::Broken("a failed conversion added objects");
  if (state->penColor.red != pen.red || state->lineWeight != weight || state->lineType != type)
    importfuzz::Broken("the drawing's pen settings did not come back");
  DeleteDocument(document);
}
