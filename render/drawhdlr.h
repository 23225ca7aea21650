// Object rendering: every visible layer's objects, selection handles, grid, axis lines, page
// breaks and the grey surround of the sheet, on the drawing pane and, through the same code, on
// a printer, a metafile or any other device context.
#pragma once

#include <windows.h>

#include <cstdint>

#include "geometry/tranform.h"
#include "model/docstate.h"
#include "render/macstuff.h"

// Draw flags.
constexpr int kDrawAll = 1;
constexpr int kDrawSelected = 2;
constexpr int kDrawInvert = 4;
constexpr int kDrawDotted = 8;
constexpr int kDrawPreviewTranslate = 16;
constexpr int kDrawPreviewScale = 32;
constexpr int kDrawPreviewShear = 64;
constexpr int kDrawPreviewRotate = 128;
constexpr int kDrawPreviewMask =
    kDrawPreviewTranslate | kDrawPreviewScale | kDrawPreviewShear | kDrawPreviewRotate;

constexpr int16_t kFirstPattern = 2;
constexpr int16_t kLastPattern = 80;
constexpr int16_t kPaperPattern = 80;

// The printer page in points; 0 asks the default printer.
extern int32_t gPageWidth;
extern int32_t gPageHeight;
extern bool gPolyHappening;
// The drawing's width and height in world units, as the size readout shows them.
extern FloatPoint gWidthHeight;
// Set by the tools: true when the current tool works on points (handles on every point).
extern bool (*gToolIsPointOrientedHook)();
// Screen paints leave out shapes and dimensions wholly under the opaque fills of later shapes
// (they would set no pixel that stays). On by default; tests and benchmarks turn it off to compare.
extern bool gLeaveOutCovered;
// How many shapes and dimensions the last screen paint left out so.
extern long gShapesLeftOut;

// The 8 rows of pattern `id` (2..80), bit 7 leftmost, 0 = ink; null for other ids.
const uint8_t* GetPatternRows(int16_t id);

void Refresh();
void DrawAllLayers(LayerRec* firstLayer, const QDRect* update, int flags, const TrackState* track);
void DrawLayer(LayerRec* layer, const QDRect* update, int flags, const TrackState* track);
void DrawObject(ObjectRec* object, const QDRect* update, int flags, const TrackState* track);
// Makes the screen outline a paint owes a shape it left out (screenPolyCount kHitOutlineOwed),
// at the current zoom; any other shape is left alone.
void MakeScreenHitOutline(ObjectRec* object);
// The pixels (right and bottom excluded) that a filled shape's opaque fill is sure to paint at the
// current zoom on the screen: the inside of an upright rectangle, or an upright box inside a
// convex outline or an oval that bulges out. False when there is none to be sure of.
bool GetOpaqueInterior(const ObjectRec* object, RECT* interior);
void DrawObjectSegment(ObjectRec* object, const PointRec* a, const PointRec* b, int flags,
                       const TrackState* track, int32_t dx, int32_t dy);
void DrawAllLayerHandles(LayerRec* firstLayer, const QDRect* update);
void DrawLayerHandles(LayerRec* layer, const QDRect* update);
void DrawObjectHandles(ObjectRec* object, const QDRect* update);
void DrawPointHandle(const PointRec* point);
void DrawObjectFrameHandles(const ObjectRec* object);
bool CanObjectBeDrawn(const ObjectRec* object, int flags);
bool IsObjectInBounds(const ObjectRec* object, const QDRect* update);
void DrawAxis(const DocState* state, const QDRect* rect);
void DrawGrid(const DocState* state, const QDRect* rect);
void DrawPageBreaks(const DocState* state, const QDRect* rect);
bool DrawOval(ObjectRec* object);
void DrawPointObject(ObjectRec* object);
void DrawMetaFileObject(ObjectRec* object);
void GetPenOffset(int16_t width, int16_t* dx, int16_t* dy);

// Screen pen moves in logical coordinates; with `zoom` each coordinate goes through ZoomL.
void DrawMoveTo(int32_t h, int32_t v, bool zoom);
void DrawLineTo(int32_t h, int32_t v, bool zoom);
void DrawLine(int32_t h1, int32_t v1, int32_t h2, int32_t v2, bool zoom);
// Printer pen moves: float screen coordinates times the print scales; only while printing.
void PrintMoveTo(float h, float v);
void PrintLineTo(float h, float v);
void PrintLine(float h1, float v1, float h2, float v2);
// The pen of the current target: PrintMoveTo/PrintLineTo while printing, else the screen.
void PenMoveTo(float x, float y);
void PenLineTo(float x, float y);

// What a paint draws besides the objects.
constexpr int kPaintErase = 1;     // fill the area with the drawing's background colour
constexpr int kPaintSurround = 2;  // grey outside the sheet, with the sheet's black frame
constexpr int kPaintHandles = 4;   // selection handles
constexpr int kPaintStandard = kPaintErase | kPaintSurround | kPaintHandles;

// The one paint routine of every device: draws `document` on `target` over `area` (logical
// coordinates of the target's context, whose window origin carries any scroll). On the screen
// path: the erase, grid, axis and page breaks as the drawing's settings say, the surround, every
// visible layer and the handles, at the target's zoom. On the print path (metafile, printer): the
// erase when asked and every visible layer, at zoom 1 times the target's scales. The drawing and
// the target are current while it paints and the ones before are current again afterwards.
bool PaintDrawing(const PaintTarget& target, DocumentRec* document, const QDRect* area, int options);
// The drawing pane (or a bitmap) at the drawing's own zoom.
bool PaintDrawing(HDC dc, DocumentRec* document, const QDRect* area, int options);
