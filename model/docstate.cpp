// The per-drawing record and its settings: defaults and the dimension flag word.
#include "model/docstate.h"

#include <cstdlib>

#include "geometry/geometry.h"
#include "model/lyrhndlr.h"

DocumentRec* gCurDocument = nullptr;

namespace {

// Name of the first layer of a new drawing (string 71).
constexpr char kUntitledLayerName[] = "Untitled";

constexpr int16_t kDefaultArrowStyle = kFirstArrowStyle;
constexpr int16_t kDefaultReadoutStyle = 5060;  // "0.00"
constexpr int16_t kParallelInside = 7;
constexpr int16_t kCustomPaper = 19;
constexpr float kPointsPerInch = 72.0f;
constexpr float kLetterWidthInches = 8.5f;
constexpr float kLetterHeightInches = 11.0f;
constexpr int kToleranceFirstBit = 9;
constexpr int kReadoutFirstBit = 12;

}  // namespace

// No object examined yet: every flag uniform, the values those new objects would get. The fill
// pattern and text alignment start at 0; the selection code refills the summary from its own
// current values whenever the selection changes.
void ClearSelectionSummary(const DocState* state, SelectionState* out) {
  if (!state || !out) return;
  SelectionState& s = *out;
  s = SelectionState{};
  s.firstObject = 1;
  s.patternUniform = s.fillColorUniform = s.lineWeightUniform = s.penColorUniform = s.lineTypeUniform = 1;
  s.arrowsOutUniform = s.arrowStyleUniform = s.textFrameUniform = s.toleranceStyleUniform = 1;
  s.alignmentUniform = 1;
  s.fillColor = state->fillColor;
  s.lineWeight = state->lineWeight;
  s.penColor = state->penColor;
  s.lineType = state->lineType;
  s.arrowsOut = (state->dimFlags & kDimArrowsOut) ? 1 : 0;
  s.arrowStyle = state->arrowStyle;
  s.textFrame = (state->dimFlags & kDimTextFrame) ? 1 : 0;
  s.toleranceStyle = state->toleranceStyle;
}

void InitializeDocState(DocState* state) {
  if (!state) return;
  state->dupOffsetH = 0.5f;
  state->dupOffsetV = -0.5f;
  state->dupRepeat = 1;
  state->originH = 0.0f;
  state->originV = 0.0f;
  state->showAxis = 0;
  state->showPageBreaks = 0;
  state->showGrid = 0;
  state->snapToGrid = 0;
  state->gridH = 1.0f;
  state->gridV = 1.0f;
  state->snapH = 1.0f;
  state->snapV = 1.0f;
  state->scrollSpeed = 50;
  state->nudgeRate = 0.25f;
  state->lineType = kSolidLineType;
  state->lineWeight = 1;
  state->lineSize = 1;
  state->pageRect.top = 0.0f;
  state->pageRect.left = 0.0f;
  state->pageRect.bottom = kLetterHeightInches * kPointsPerInch;
  state->pageRect.right = kLetterWidthInches * kPointsPerInch;
  state->paperKind = kCustomPaper;
  state->paperArch = 1;
  state->paperMech = 1;
  state->paperMetric = 1;
  state->paperOversize = 1;
  state->paperCustomUnit = 1;
  state->paperWidth = kLetterWidthInches;
  state->paperHeight = kLetterHeightInches;
  state->arrowStyle = kDefaultArrowStyle;
  state->upperTolerance = 0.0f;
  state->lowerTolerance = 0.0f;
  state->toleranceStyle = kNoTolerance;
  state->parallelWidth = 0.25f;
  state->parallelSide = kParallelInside;
  state->penColor = kBlack16;
  state->fillColor = kWhite16;
  state->backColor = kWhite16;
  state->readoutStyle = kDefaultReadoutStyle;
  state->storedValue24 = 24;
  state->showToolbar = 1;
  state->showHorizontalRuler = 0;
  state->showVerticalRuler = 0;
  state->scaleFactor = 1.0f;
  state->screenUnit = 1;
  state->worldUnit = 1;
  state->minorDivisions = 8;
  state->rescaleObjects = 0;
  state->screenScale = 1.0f;
  state->worldScale = 1.0f;
  state->curveSmoothness = kDefaultCurveSmoothness;
  state->multigonSides = 8;
  state->snapPercentage = kDefaultSnapPercentage;
  state->snapSensitivity = 5;
  state->tension = 5;
  state->zoomFactor = 1.0f;
  state->zoomPercentage = 100;
  state->drawFromCenter = 0;
  state->drawParallel = 0;
  state->dimFlags = kDimCenterText;
  SetDocStateDimensionArrowFlags(state);
  SetDocStateDimensionReadoutFlags(state);
  SetDocStateDimensionToleranceFlags(state);
  state->titleStyle = kTitleDrawingName;
  ClearSelectionSummary(state, &state->selectionState);
}

DocState* CreateDocState() {
  DocState* state = static_cast<DocState*>(std::calloc(1, sizeof(DocState)));
  if (!state) return nullptr;
  InitializeDocState(state);
  return state;
}

void SetDocStateDimensionArrowFlags(DocState* state) {
  if (!state) return;
  state->dimFlags &= ~kDimArrowBits;
  if (state->arrowStyle >= kFirstArrowStyle && state->arrowStyle <= kLastArrowStyle)
    state->dimFlags |= 1u << (state->arrowStyle - kFirstArrowStyle);
}

void SetDocStateDimensionReadoutFlags(DocState* state) {
  if (!state) return;
  state->dimFlags &= ~kDimReadoutBits;
  if (state->readoutStyle >= kFirstReadoutStyle && state->readoutStyle <= kLastReadoutStyle)
    state->dimFlags |= 1u << (kReadoutFirstBit + state->readoutStyle - kFirstReadoutStyle);
}

void SetDocStateDimensionToleranceFlags(DocState* state) {
  if (!state) return;
  state->dimFlags &= ~kDimToleranceBits;
  if (state->toleranceStyle >= kSingleTolerance && state->toleranceStyle <= kLimitingTolerance)
    state->dimFlags |= 1u << (kToleranceFirstBit + state->toleranceStyle - kSingleTolerance);
}

void SetCurveSmoothness(DocState* state, int smoothness) {
  if (!state) return;
  if (smoothness < 1) smoothness = 1;
  if (smoothness > kMaxCurveSmoothness) smoothness = kMaxCurveSmoothness;
  state->curveSmoothness = static_cast<int16_t>(smoothness);
}

DocumentRec* CreateDocument() {
  DocumentRec* document = static_cast<DocumentRec*>(std::calloc(1, sizeof(DocumentRec)));
  if (!document) return nullptr;
  DocState* state = CreateDocState();
  LayerRec* layer = CreateLayer(kUntitledLayerName, 1, 1, nullptr);
  if (!state || !layer) {
    std::free(state);
    std::free(layer);
    std::free(document);
    return nullptr;
  }
  document->firstLayer = layer;
  document->currentLayer = layer;
  document->fileName = nullptr;
  document->undoKind = -1;
  document->undoIsRedo = 0;
  document->oleDocument = nullptr;
  document->docState = state;
  // The world origin sits at the sheet's bottom-left corner.
  state->originH = state->pageRect.left;
  state->originV = state->pageRect.bottom;
  gCurDocument = document;
  return document;
}

void (*gDocumentDeletedHook)(DocumentRec* document) = nullptr;

void DeleteDocument(DocumentRec* document) {
  if (!document) return;
  if (gDocumentDeletedHook) gDocumentDeletedHook(document);
  NoteModelChange();
  LayerRec* layer = document->firstLayer;
  while (layer) {
    LayerRec* next = layer->nextLayer;
    DeleteLayerObjects(layer);
    std::free(layer);
    layer = next;
  }
  std::free(document->docState);
  std::free(document->fileName);
  if (gCurDocument == document) gCurDocument = nullptr;
  std::free(document);
}

int CurrentCurveSmoothness() {
  if (!gCurDocument || !gCurDocument->docState) return kNoDocumentSmoothness;
  // A drawing read from a file may carry any value; curves are never sampled outside 1..20.
  const int smoothness = gCurDocument->docState->curveSmoothness;
  if (smoothness < 1) return 1;
  if (smoothness > kMaxCurveSmoothness) return kMaxCurveSmoothness;
  return smoothness;
}
