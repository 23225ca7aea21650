// The per-drawing record and its settings, with their defaults and the dimension flag word.
#pragma once

#include <cstdint>

#include "model/records.h"

// The summary of the current selection: pairs of a uniform flag (1 = every selected object
// agrees) and a value.
struct SelectionState {
  uint8_t firstObject;  // 1 = no object examined yet
  uint8_t patternUniform;
  int16_t pattern;
  uint8_t fillColorUniform;
  RGB16 fillColor;
  uint8_t lineWeightUniform;
  int16_t lineWeight;
  uint8_t penColorUniform;
  RGB16 penColor;
  uint8_t lineTypeUniform;
  int16_t lineType;
  uint8_t arrowsOutUniform;
  int16_t arrowsOut;
  uint8_t arrowStyleUniform;
  int16_t arrowStyle;
  uint8_t textFrameUniform;
  int16_t textFrame;
  uint8_t toleranceStyleUniform;
  int16_t toleranceStyle;
  uint8_t alignmentUniform;
  int16_t alignment;
};

struct DocState {
  float dupOffsetH;
  float dupOffsetV;
  int16_t dupRepeat;
  float originH;
  float originV;
  uint8_t showAxis;
  uint8_t showPageBreaks;
  uint8_t showGrid;
  uint8_t snapToGrid;
  float gridH;
  float gridV;
  float snapH;
  float snapV;
  int16_t scrollSpeed;
  float nudgeRate;
  int16_t lineType;
  int16_t lineWeight;
  int16_t lineSize;
  FloatRect pageRect;
  int16_t paperKind;
  int16_t paperArch;
  int16_t paperMech;
  int16_t paperMetric;
  int16_t paperOversize;
  int16_t paperCustomUnit;
  float paperWidth;
  float paperHeight;
  int16_t arrowStyle;
  float upperTolerance;
  float lowerTolerance;
  int16_t toleranceStyle;
  float parallelWidth;
  int16_t parallelSide;
  RGB16 penColor;
  RGB16 fillColor;
  RGB16 backColor;
  int16_t readoutStyle;
  int16_t storedValue24;
  uint8_t showToolbar;
  uint8_t showHorizontalRuler;
  uint8_t showVerticalRuler;
  float scaleFactor;
  int16_t screenUnit;
  int16_t worldUnit;
  int16_t minorDivisions;
  uint8_t rescaleObjects;
  float screenScale;
  float worldScale;
  int16_t curveSmoothness;
  int16_t multigonSides;
  int16_t snapPercentage;
  int16_t snapSensitivity;
  int16_t tension;
  float zoomFactor;
  int16_t zoomPercentage;
  uint8_t drawFromCenter;
  uint8_t drawParallel;
  uint32_t dimFlags;
  int16_t titleStyle;
  SelectionState selectionState;
};

// Window handles are kept as opaque pointers so the record is the same in both builds.
typedef void* WindowHandle;

struct DocumentRec {
  LayerRec* firstLayer;
  LayerRec* currentLayer;
  WindowHandle toolbarWindow;
  WindowHandle horizontalRuler;
  WindowHandle verticalRuler;
  WindowHandle rulerUnitWindow;
  WindowHandle activeTextWindow;
  DocState* docState;
  WindowHandle miscWindow;
  WindowHandle hScrollBar;
  WindowHandle vScrollBar;
  WindowHandle sizeBox;
  char* fileName;
  int16_t undoKind;
  uint8_t undoIsRedo;
  void* oleDocument;
};

// Menu command numbers a DocState field stores.
constexpr int16_t kFirstArrowStyle = 5086;
constexpr int16_t kLastArrowStyle = 5092;
constexpr int16_t kNoTolerance = 5053;
constexpr int16_t kSingleTolerance = 5054;
constexpr int16_t kDoubleTolerance = 5055;
constexpr int16_t kLimitingTolerance = 5056;
constexpr int16_t kFirstReadoutStyle = 5058;
constexpr int16_t kLastReadoutStyle = 5064;
constexpr int16_t kTitleDrawingName = 5100;
constexpr int16_t kMaxCurveSmoothness = 20;
constexpr int16_t kDefaultCurveSmoothness = 8;
// The snap tools' segment percentage when no drawing says otherwise.
constexpr int16_t kDefaultSnapPercentage = 50;

// dimFlags bits.
constexpr uint32_t kDimArrowBits = 0x7Fu;  // bits 0..6, one per arrow style
constexpr uint32_t kDimArrowsOut = 1u << 7;
constexpr uint32_t kDimTextFrame = 1u << 8;
constexpr uint32_t kDimToleranceBits = 0x7u << 9;  // bits 9..11
constexpr uint32_t kDimReadoutBits = 0x7Fu << 12;  // bits 12..18
constexpr uint32_t kDimCenterText = 1u << 19;

// The drawing commands act on. Null when no drawing is open.
extern DocumentRec* gCurDocument;

DocState* CreateDocState();
void InitializeDocState(DocState* state);
// `out` := the summary of no object examined yet: every flag uniform, the values new objects
// would get from `state`.
void ClearSelectionSummary(const DocState* state, SelectionState* out);
void SetDocStateDimensionArrowFlags(DocState* state);
void SetDocStateDimensionReadoutFlags(DocState* state);
void SetDocStateDimensionToleranceFlags(DocState* state);
// Stores a curve smoothness, never more than the drawing code can take.
void SetCurveSmoothness(DocState* state, int smoothness);
// Steps per curve segment: the current drawing's curveSmoothness kept inside 1..20, or
// kNoDocumentSmoothness without a drawing.
int CurrentCurveSmoothness();

// A drawing with no window: a zero-filled record, the default settings, one visible layer
// "Untitled" that is first and current, the origin at the sheet's bottom-left corner. Null when
// memory is exhausted. The new drawing becomes gCurDocument. The drawing window adds its child
// windows to the record.
DocumentRec* CreateDocument();
// Frees the layers with their objects, the settings, the file name (a malloc'd block) and the
// record. Clears gCurDocument if it named this drawing.
void DeleteDocument(DocumentRec* document);
// Told of a drawing DeleteDocument is about to free, before any of its objects go. Null by default.
extern void (*gDocumentDeletedHook)(DocumentRec* document);
