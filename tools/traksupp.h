// The arithmetic of mouse tracking: the globals every tracking step rewrites, the snapped
// position of a press, the grid, the rectangle of a drag with its modifiers, the constraints the
// shape and transform tools apply, and the readouts shown while dragging. Nothing here touches
// a window, so the tests drive it directly.
#pragma once

#include <cstdint>

#include "geometry/geometry.h"  // IntRect
#include "model/docstate.h"
#include "tools/buildobj.h"  // multigon sides
#include "tools/toolstate.h"

// Positions of the drag in progress, unzoomed page units.
extern float gDownX, gDownY;  // the press (a resize moves it to the dragged corner)
extern float gUpX, gUpY;      // the release actually used
// Press and release of the last completed drag.
extern float gFirstDownX, gFirstDownY, gFirstUpX, gFirstUpY;
extern uint8_t gMouseCaptured;
extern uint8_t gBeginKeepTracking;                  // set by the press, cleared by the first move
extern uint8_t gChangeSnapOK;                       // the snap tool may be cycled now
extern int16_t gInfoType;                           // readout mode of the drag: kInfo...
extern float gXResizeDirection, gYResizeDirection;  // +1 or -1: which side of the selection moves
extern FloatRect gDataRect;                         // bounds of the selection at the press
extern FloatPoint gSelectionSize;                   // width and height of the selection, page units
// Perpendicular-snap state of the press (set by the snap tools): the two points of the segment
// the press was snapped to, and whether the line tool starts square to it.
extern uint8_t gPerpAtStart;
extern PointRec* gPerpStartPtz;
extern PointRec* gPerpEndPtz;
// The start of a line held perpendicular to that segment while it is dragged; kEmptyBoundsLow
// in both when none.
extern FloatPoint gPerpFromLoc;
// The end of a Line held still while its other end is dragged.
extern uint8_t gLineOpposingPtSelected;
extern PointRec* gLineOpposingPoint;
// The user-relative position the readouts showed last.
extern FloatPoint gPrevMouse;

// Readout modes.
constexpr int16_t kInfoPositionOnly = 0;
constexpr int16_t kInfoDoubled = 4;  // skew: the extents grow on both sides
constexpr int16_t kInfoRotate = 8;   // position only; the angle comes from the tool
constexpr int16_t kInfoDrag = 0x80;  // size and angle from the press

// Pixels of slack around a drawn shape's bounds when it is repainted.
constexpr int kNewShapeSlop = 3;
// A click this close (zoomed pixels) to a figure's first vertex closes it.
constexpr float kCloseDistance = 10.0f;
// A selection edge this close to the centre counts as no width for a resize.
constexpr float kThinSelection = 4.0f;
// A zoom drag must exceed this many pixels on both sides; less is a click.
constexpr int kZoomDragMinimum = 4;
constexpr int kZoomDragMargin = 5;
constexpr float kMinZoom = 0.1f;
constexpr float kZoomShrinkThreshold = 1.2f;
constexpr float kZoomSmallStep = 0.1f;
// Bounds at or beyond these mean an empty selection.
constexpr float kNoSelectionLimit = 30000.0f;

// The tracking routine of each tool; the arc routine also takes the tool.
typedef void (*TrackRoutine)(float x, float y, int16_t stage);
constexpr int16_t kStagePress = 1;
constexpr int16_t kStageMove = 2;
constexpr int16_t kStageRelease = 3;

// Shift held during tracking.
inline bool TrackShift() {
  return (gTrackModifiers & kTrackShift) != 0;
}

// floor(v / spacing + 0.5) * spacing: the nearest grid line, anchored at 0.
float SnapToSpacing(float v, float spacing);
// The nearest point of the drawing's snap grid to a window position (the grid's spacing in
// window units, anchored at window 0); false (out untouched) when either spacing is 0.
bool SnapPointToGrid(const DocState* state, float x, float y, FloatPoint* out);

// Window logical position to drawing position: the current snap tool when one is chosen and
// finds something (the hit test goes into `info` when given), else the grid; then the zoom
// removed when `unzoom` is set.
void EvaluatePoint(int32_t x, int32_t y, float* outX, float* outY, bool snap, ClickInfo* info, bool unzoom);

// The normalised rectangle spanned by two points.
void SetMobiusRect(IntRect* r, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// The rectangle of a drag from (x1, y1) to (x2, y2): with Shift in `modifiers` a square of the
// horizontal extent; with `fromCenter` centred on the first point; with `zoom` zoomed. `f` gets
// the floats, `q` (may be null) the truncated integers.
void GetRectBounds(uint16_t modifiers, float x1, float y1, float x2, float y2, FloatRect* f, IntRect* q,
                   bool zoom, bool fromCenter);
void GetOvalBounds(uint16_t modifiers, float x1, float y1, float x2, float y2, FloatRect* f, IntRect* q,
                   bool zoom, bool fromCenter);
void LoadFloatAndQDRects(float x1, float y1, float x2, float y2, FloatRect* f, IntRect* q, bool zoom,
                         bool fromCenter);

// A line's end made horizontal or vertical with Shift, then its start mirrored through the press
// with `fromCenter`.
void ConstrainLine(bool shift, bool fromCenter, FloatPoint press, FloatPoint* start, FloatPoint* end);
// With Shift the smaller component of a move (the horizontal one on a tie) becomes 0.
FloatPoint ConstrainMove(float dx, float dy, bool shift);
// With Shift a polygon's next vertex keeps the last vertex's x (|dx| <= |dy|) or its y.
void ConstrainOrthogonal(float fromX, float fromY, float* x, float* y);

// Vertex i (0-based) of a regular figure centred at (cx, cy) whose last vertex is (x, y).
void GetMultigonVertex(float cx, float cy, float x, float y, int sides, int i, float* vx, float* vy);
// The sides the multigon tool draws with: the drawing's, or the default when it has none usable.
int16_t MultigonSidesOf(const DocState* state);

// A quarter arc dragged from press to current: its ellipse's rectangle and the start and sweep
// angles in degrees (counter-clockwise, y up, 0 east).
void GetQuarterArc(float x1, float y1, float x2, float y2, FloatRect* rect, int16_t* startDeg,
                   int16_t* arcDeg);
// The sweep of a circular arc from the start direction to the current one (radians), in degrees:
// counter-clockwise in [0, 360) with Shift, clockwise in (-360, 0] without; 0 when they agree.
float ComputeArcSweep(float startAngle, float currentAngle, bool shift);

// A resize from a press on the selection `data`: which corner moves and which stays.
struct ResizeFrame {
  float fixedX, fixedY;
  float movingX, movingY;
  float xDirection, yDirection;
  bool scaleX, scaleY;
};
void SetupResize(const FloatRect& data, float pressX, float pressY, ResizeFrame* frame);
// Scale factors taking the moving corner to (x, y); with Shift only the axis of the larger drag.
void ComputeResizeFactors(const ResizeFrame& frame, float x, float y, bool shift, float* sx, float* sy);

// Skew drags act in their dominant direction only: the other coordinate returns to the press.
void ReduceToDominant(float pressX, float pressY, float* x, float* y);

// The zoom after a click of the zoom tool (Shift zooms out); never below kMinZoom.
float ComputeClickZoom(float zoom, int16_t percentage, bool shift);
// The zoom factor that fits a dragged rectangle of w by h pixels into the client area.
float ComputeDragZoomFactor(int32_t w, int32_t h, int32_t clientW, int32_t clientH);

// Readouts of a drag from (x1, y1) to (x2, y2) in page units, relative to the user origin.
struct InfoReadouts {
  float x, y;  // position, y upward
  bool hasSize;
  float width, height;
  bool hasAngle;
  float angleDegrees;
};
void ComputeInfoReadouts(const DocState* state, float x1, float x2, float y1, float y2, int infoType,
                         float xDir, float yDir, FloatPoint selection, InfoReadouts* out);
// Shows the readouts of a drag step through the readout hooks, once per change of position.
void UpdateInfo(float x1, float x2, float y1, float y2, int infoType);
// The selection's size readouts from its bounds: width and height (0, 0 when nothing is
// selected) and, for one near-circular oval, its radius and diameter.
void ShowSelectionSize(const FloatRect& bounds, const ObjectRec* onlySelected);
// True when a selection's bounds hold nothing.
bool IsEmptySelectionBounds(const FloatRect& bounds);

// Shift into bit kTrackShift of gTrackModifiers, from the platform's key state.
void MaintainModifiers();
bool HaveModifiersChanged();
// The key state the tracking reads; the Windows build asks the keyboard, the host a test's value.
bool IsShiftKeyDown();
extern bool (*gShiftKeyProbe)();
