// Mouse tracking on the drawing pane (Windows build): the road from a press to the current
// tool's tracking routine, the polling loop that follows the mouse, the shape and transform
// tools' routines, the marquee and the zoom tool, and the inverted feedback they all draw.
//
// A tracking routine takes a drawing position (unzoomed page units) and a stage: kStagePress
// draws the first feedback, each move calls kStageMove twice (at the old position to erase, at
// the new one to draw), and kStageRelease erases the feedback and does the work. Feedback is
// drawn in the pane's own context with the inverting raster operation, so drawing it twice
// removes it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "tools/toolhooks.h"
#include "tools/traksupp.h"

// The road.
void DoMainPaneClick(HWND pane, int32_t deviceX, int32_t deviceY);
void DoClick(HDC dc, HWND pane, int32_t x, int32_t y);
void TrackMouse(HDC dc, HWND pane, int32_t x, int32_t y);
void BeginTracking(int32_t x, int32_t y);
void KeepTracking(POINT next, POINT previous);
void EndTracking(POINT next, POINT previous);
void TrackObject(float x, float y, int16_t stage);
// The hit test over the current drawing for a press; the result also goes into info->hit.
void FillClickInfo(ClickInfo* info);
// The pane lost the mouse (capture taken, mode cancelled): the drag in progress is abandoned.
void NoteTrackingInterrupted();
// True while a press is being tracked; the pane ignores what it would otherwise act on.
bool IsTracking();

// Tool routines.
void TrackRect(float x, float y, int16_t stage);
void TrackOval(float x, float y, int16_t stage);
void TrackPoly(float x, float y, int16_t stage);
void TrackMulti(float x, float y, int16_t stage);
void TrackArc(float x, float y, int16_t stage, int16_t tool);
void TrackLine(float x, float y, int16_t stage);
void TrackTranslate(float x, float y, int16_t stage);
void TrackScale(float x, float y, int16_t stage);
void TrackShear(float x, float y, int16_t stage);
void TrackRotate(float x, float y, int16_t stage);
void TrackZoom(float x, float y, int16_t stage);
void TrackMarquee(float x, float y, int16_t stage);
// Follows the mouse from a press at (x, y) until the release, framing the rectangle from the
// press to the mouse (window logical coordinates) in inverting mode, scrolling at the edges and
// updating the readouts; the frame is taken off at the end. False when the drag was abandoned.
bool TrackFrame(float x, float y, IntRect* frame);
// A drag abandoned before its release: a Line's held end is selected again.
void AbandonTransform();
// The circular arc's sweep feedback: both radius lines and the arc.
void DrawArcState(float cx, float cy, float radius, float startAngle, float sweepDegrees);

// Support shared by the routines (traksupp_win).
// Takes the selected top-level objects whose previews a drag draws; at every press.
void SnapshotDragSelection();
HWND TrackPane();
HDC TrackDC();
// The mouse is given back: capture released, gMouseCaptured cleared.
void ReleaseMouseCapture();
// The drag was abandoned (Escape, capture lost); the press's routine must change nothing.
bool TrackingCancelled();
void SetTrackingCancelled(bool cancelled);
// Polls the keyboard and the pane's capture: true when the drag must be abandoned now. Lets
// the messages sent to the pane through, so a loss of capture is seen.
bool CheckTrackingCancel();
// Inverted feedback in window logical coordinates (zoomed page units, truncated).
void InvertLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void InvertPolyline(const POINT* points, int count);
// A rectangle's outline, right and bottom one pixel larger; `dotted` uses a dotted pen.
void InvertFrame(const IntRect& r, bool dotted);
void InvertEllipse(const IntRect& r);
// An elliptic arc: centre and radii in window units; angles in degrees, counter-clockwise with y up.
void InvertArc(float cx, float cy, float rx, float ry, float startDeg, float arcDeg);
// Page position to window logical coordinates.
POINT ZoomedPoint(float x, float y);
// Repaints a page rectangle grown by `pixels` once zoomed; the whole pane when it is empty.
void InvalidatePageArea(const FloatRect& rect, int pixels);
// Bounds of the current drawing's selection (kEmptyRect when nothing is selected).
FloatRect SelectionBounds();
// The selection's size readouts, from its bounds and, for one selected oval, its radius.
void ShowCurrentSelectionSize();

// The multi-click loops of the polygon, spline and circular arc tools: what came next.
enum ClickLoopEvent { kLoopIdle, kLoopPress, kLoopTab, kLoopCancel };
// One step: takes one waiting message. Paint messages are let through between `hide` and
// `show` (which take the feedback off the screen and back); a quit message is posted again
// and ends the loop like Escape and a loss of capture do. `message` gets the press.
ClickLoopEvent NextClickLoopEvent(void (*hide)(), void (*show)(), MSG* message);
// After a figure ends: mouse and key messages of the next double-click time are dropped, so the
// second click of a double click starts nothing.
void SwallowDoubleClick();
