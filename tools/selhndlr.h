// Selection and hit testing: what lies under the mouse, click and marquee selection, the two
// walks that apply an operation to the selected objects, and the summary of the selection's
// attributes. The selection itself lives in the points' `selected` flags.
#pragma once

#include <cstdint>

#include "geometry/geometry.h"
#include "model/docstate.h"
#include "tools/toolstate.h"

// Selection modes of SelectObj, SelectPoint and the selecting walks.
enum SelectMode : uint8_t {
  kSelectMode = 1,
  kDeselectMode = 2,
  kToggleMode = 3,
  kDetectMode = 4,  // make every point detectable again ("Detect All")
  kHideMode = 5,    // selected points: deselect and make undetectable ("Hide Selection")
  kInertMode = 6,
  kLockMode = 7,    // selected points: lock
  kUnlockMode = 8,  // selected points: unlock
};

// Walk operation codes. Most double as the menu command numbers of the same action.
// TopLevelObject: once per selected top-level object of every visible layer.
constexpr int kOpCount = 2000;
constexpr int kOpCountGroups = 8007;
constexpr int kOpCountLocked = 8008;
constexpr int kOpCountOvals = 8009;
constexpr int kOpBringToFront = 5105;
constexpr int kOpSendToBack = 5106;
constexpr int kOpClear = 21;
constexpr int kOpUnjoin = 5024;
constexpr int kOpGroup = 5025;
constexpr int kOpUngroup = 5026;
constexpr int kOpDuplicate = 5006;
constexpr int kOpMirror = 5008;
constexpr int kOpDuplicateVariant = 5138;
constexpr int kOpEndTextEdit = 8002;
// SelectedObject: every selected object and, recursively, its members.
constexpr int kOpFoldSelectionState = 8006;
constexpr int kOpCountNestedGroups = 2001;
constexpr int kOpTextActive = 7000;
constexpr int kOpTextPassive = 7001;
constexpr int kOpTextToTop = 7002;
constexpr int kOpSelect = 8001;
constexpr int kOpSetPattern = 8000;  // param: int16_t pattern
constexpr int kOpFlipHorizontal = 5034;
constexpr int kOpFlipVertical = 5035;
constexpr int kOpSmooth = 5041;
constexpr int kOpUnsmooth = 5043;
constexpr int kOpLineWeight = 5066;  // param: int16_t weight in points
constexpr int kOpArrowsIn = 5047;
constexpr int kOpArrowsOut = 5048;
constexpr int kOpTextFrame = 5050;
constexpr int kOpFirstArrowStyle = 5086;  // .. 5092
constexpr int kOpLastArrowStyle = 5092;
constexpr int kOpFirstReadout = 5058;  // .. 5064
constexpr int kOpLastReadout = 5064;
constexpr int kOpFirstTolerance = 5053;  // .. 5056
constexpr int kOpLastTolerance = 5056;
constexpr int kOpFont = 30;
constexpr int kOpAlignRight = 40;
constexpr int kOpAlignLeft = 41;
constexpr int kOpAlignCenter = 42;
constexpr int kOpDimTextFont = 8003;
constexpr int kOpDimTextSize = 8004;
constexpr int kOpDimTextStyle = 8005;
constexpr int kOpLineType = 5065;   // param: int16_t line type
constexpr int kOpFillColor = 5019;  // param: RGB16
constexpr int kOpPenColor = 5134;   // param: RGB16
constexpr int kOpNudgeUp = 5036;
constexpr int kOpNudgeDown = 5037;
constexpr int kOpNudgeLeft = 5038;
constexpr int kOpNudgeRight = 5039;
constexpr int kOpTranslate = 6000;  // param: TransformRec (dx, dy)
constexpr int kOpScale = 6001;      // param: TransformRec (scaleX, scaleY about centerX, centerY)
constexpr int kOpShear = 6002;      // param: TransformRec (shearStart -> shearEnd about center)
constexpr int kOpRotate = 6003;     // param: TransformRec (angle about center)
// AlignSelectedToGrid's corners.
constexpr int kAlignTopLeft = 5140;
constexpr int kAlignTopRight = 5141;
constexpr int kAlignBottomRight = 5142;
constexpr int kAlignBottomLeft = 5143;

// The pick radius in pixels when no drawing says otherwise, and the smallest one honoured.
constexpr int kDefaultPickRadius = 5;
constexpr int kMinPickRadius = 2;
// Frame handles are squares of this half-size around the corners of a selected object.
constexpr int kHandleHalfSize = 3;

extern int32_t gObjectCount;  // the counting walks add to it; reset it before the walk
extern uint8_t gOverload;     // set by walk 2001 when an object nests too many groups

// Point orientation: the tool works on points rather than whole objects. With tool < 1 or no
// object, the system-wide gPointOrientation decides.
bool ToolIsPointOriented(int tool, const ObjectRec* object);
// The same for the current tool and no object: what the renderer asks to decide on handles.
bool CurrentToolIsPointOriented();

// The pick radius of the current drawing, never below kMinPickRadius.
int PickRadius();

// Hit test, topmost first. Fills the hit fields of `info` (x, y are window logical coordinates
// with the scroll origin, zoomed) and returns whether anything was hit.
bool SelectFromAllLayers(LayerRec* firstLayer, ClickInfo* info, bool selectedOnly);
bool SelectFromLayer(LayerRec* layer, ClickInfo* info, bool selectedOnly);
bool SelectFromObject(ObjectRec* object, ClickInfo* info, bool selectedOnly);
bool SearchSplinesInObject(ObjectRec* object, ClickInfo* info);
bool SearchObjectSpline(PointRec* p1, PointRec* p2, ClickInfo* info, int32_t dx, int32_t dy);
bool SearchPoint(PointRec* point, ClickInfo* info, int32_t dx, int32_t dy);
// Even-odd test of a window position against an object's cached screen polygon (the alternate
// fill the drawing uses).
bool IsInsideScreenPolygon(const ObjectRec* object, int32_t x, int32_t y);

// Click selection. `redraw` asks for the changed area to be repainted at once.
void SelectAllLayers(LayerRec* firstLayer, uint8_t mode, bool redraw);
void SelectLayer(LayerRec* layer, uint8_t mode, bool redraw);
void SelectObj(ObjectRec* object, uint8_t mode, bool redraw);
bool DoSelectObject(ObjectRec* object, uint8_t mode);  // true when a flag changed
bool SpecialSelectObject(ObjectRec* object, uint8_t mode);
bool DoSelectObjectPoints(ObjectRec* object, uint8_t mode);
void SelectPoint(PointRec* point, uint8_t mode, bool redraw);
bool SpecialSelectPoint(PointRec* point, uint8_t mode);
void SelectObjectPoint(PointRec* point, ObjectRec* object, uint8_t mode, bool redraw);
void SelectObjectSpline(PointRec* p1, PointRec* p2, ObjectRec* object, uint8_t mode, bool redraw);
void SetObjectSelectFlags(ObjectRec* object, uint8_t value);
void SetObjectDetectionFlags(ObjectRec* object, uint8_t value);
void SetObjectLockFlags(ObjectRec* object, uint8_t value);

// Marquee selection of a rectangle in window logical coordinates (zoomed, with the scroll).
void SelectAllLayersInRect(LayerRec* firstLayer, const IntRect* rect, uint8_t mode, bool redraw);
void SelectLayerInRect(LayerRec* layer, const IntRect* rect, uint8_t mode, bool redraw);
void SelectObjectInRect(ObjectRec* object, const IntRect* rect, uint8_t mode, bool redraw);
bool SelectPointInRect(PointRec* point, const IntRect* rect, uint8_t mode, bool redraw);

// The walks. SelectedObject applies `op` to the object (when selected, or always without
// selectedOnly) and to its members; TopLevelObject applies it once to a selected top-level
// object. Walks that unlink, move or copy objects work from a snapshot of the selection taken
// first, so copies are never walked again.
void SelectedObjectAllLayers(LayerRec* firstLayer, bool selectedOnly, int op, void* param);
void SelectedObjectLayer(LayerRec* layer, bool selectedOnly, int op, void* param);
void SelectedObject(ObjectRec* object, bool selectedOnly, int op, void* param);
void TopLevelObjectAllLayers(LayerRec* firstLayer, int op, void* param);
void TopLevelObjectLayer(LayerRec* layer, int op, void* param);
void TopLevelObject(ObjectRec* object, int op, void* param);
// A counting walk (2000, 8007, 8008, 8009) over the selected top-level objects: the count.
int32_t CountSelectedObjects(LayerRec* firstLayer, int op);

// The n-th selected top-level object (1-based, layers and objects in list order), or null.
ObjectRec* GetASelectedObject(int n);

// The summary of the selection's attributes.
void ClearSelectionState(const DocState* state, SelectionState* out);
void UpdateSelectionState(ObjectRec* object, SelectionState* summary);
// Rebuilds the current drawing's summary from its selection and tells the panes.
void RebuildSelectionState();
void UpdateSelectionStateAreas(SelectionState* summary);

// Moves the selection so the named corner of its bounds lands on the grid.
void AlignSelectedToGrid(int command);

// The segment of `object` nearest to (x, y), and the chord of a segment nearest to it.
void GetClosestSpline(ObjectRec* object, float x, float y, PointRec** a, PointRec** b);
void GetClosestSegment(const PointRec* a, const PointRec* b, float x, float y, FloatPoint* q1,
                       FloatPoint* q2);

// What the selection asks of the windows: repaints of a page rectangle (grown by `pixels` once
// zoomed) or of the whole drawing. The shell fills these at start-up; null does nothing.
struct SelectionHooks {
  void (*invalidatePageRect)(const FloatRect* rect, int pixels);
  void (*refreshDrawing)();
};
extern SelectionHooks gSelectionHooks;
void InvalidatePageRect(const FloatRect* rect, int pixels);
void RefreshDrawing();
