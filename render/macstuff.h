// The drawing port: pen moves, lines, arcs, frames and strings on the drawing pane, on a given
// window, or on the print (or metafile) context while printing. The pen location and the pen,
// brush, raster operation and window origin live in the pane's own device context.
//
// Screen coordinates are 32-bit: values past 16 bits (high zoom, far from the origin) are
// clipped here against the visible area before they reach the platform, never wrapped.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/records.h"

struct QDRect {
  int32_t left, top, right, bottom;
};

struct FontInfo {
  int16_t ascent, descent, widMax, leading;
};

// What a paint draws on. The screen path draws at the zoom through the pane's port; the print
// path draws at zoom 1 with every coordinate times the target's scales, straight on its context.
enum class PaintDevice : uint8_t {
  kScreen,    // the drawing pane or a bitmap: screen path, scaleH is the zoom
  kMetafile,  // a recorded picture: print path, without placed pictures or painted text
  kPrinter,   // a printed page or a scaled preview: print path
};

struct PaintTarget {
  HDC dc;
  PaintDevice device;
  float scaleH;  // device units per drawing unit, across (the zoom on the screen path)
  float scaleV;  // and down (equal to scaleH on the screen path)
};

// The target of the paint in progress; null outside a paint, when the pane's own drawing (a
// tracking outline) goes to the screen at the drawing's zoom.
const PaintTarget* CurrentPaintTarget();
// Makes `target` current and returns the one it replaces, to be put back when the paint ends.
// Only the paint routine and tests call it.
const PaintTarget* SwapPaintTarget(const PaintTarget* target);
PaintDevice CurrentPaintDevice();
// True while the paint in progress goes through the print path.
bool IsPrintPath();
// The print path's context, null off the print path.
HDC PrintPathDC();
// The print path's scales; 1 off the print path.
float PrintScaleH();
float PrintScaleV();

// The drawing pane's context, or the context a paint of the drawing renders into (a memory DC,
// a printer or metafile) while a port session is open on it.
HDC AcquirePortDC();
void ReleasePortDC(HDC dc);

// A port session keeps one context, its pen and its clip box for a run of drawing calls and
// gathers lines into batches. Sessions nest; the outermost one restores the context's pen, font
// and raster operation when it ends. `dc` null means the drawing pane's own context.
bool BeginPortSession(HDC dc);
void EndPortSession();
HDC PortSessionDC();
// Whether the session draws pixels on a raster context for the screen: not printing, and not
// recording a metafile.
bool IsPortRaster();
// Flushes batched lines; every primitive that draws anything else calls it first. Lines of a wide
// solid pen copied onto a raster screen whose logical units are its pixels come from the pixels
// kept for them once the same lines have been drawn before (see render/outlinecache.h).
void FlushPortLines();
// Selects a pen (PS_SOLID or PS_DOT) unless the same one is selected already; width 0 with
// `invisible` selects the null pen.
void UsePortPen(int style, int width, COLORREF colour, bool invisible);
// Sets the raster operation, flushing lines drawn with the previous one.
void UsePortRop(int rop);
// Selects a font the caller keeps alive into the session's context, unless it is selected
// already, and leaves it there: readouts drawn one after another select it once. The font the
// context had comes back before anything else draws or measures text on the context through the
// port, before the session ends, and on PutBackPortFont (before such a font is deleted).
void UsePortFont(HFONT font);
void PutBackPortFont();
// Lines in the context's logical coordinates, as floats: rounded (add 0.5, truncate) and, when
// far outside the visible area, clipped first.
void PortMoveTo(float x, float y);
void PortLineTo(float x, float y);
// Fills a box (right and bottom included) in `fill` and frames it with the port's pen, ending at
// its top-left corner, as a fill and four lines would, in one call. False, having drawn nothing,
// unless the pen is the context's own thin solid pen copied onto a raster screen: only then is
// the platform's framed rectangle that picture.
bool PortFramedBox(const RECT& box, COLORREF fill);
// Draws the outline Ellipse(box) draws with the port's pen and the null brush, from the pixels
// kept for an oval of that size and pen (see render/outlinecache.h). False, having drawn nothing,
// unless the pen is wide and solid and copied onto a raster screen whose logical units are its
// pixels: only there is the kept outline that picture.
bool PortWideOval(const RECT& box);
// Polygon(points, count) with the port's pen and the context's brush: the inside filled and the
// closed outline stroked over it. Where the pen is wide and solid and copied onto a raster screen
// whose logical units are its pixels, the inside is filled with the null pen and the outline
// comes from the pixels kept for it once the same outline has been drawn before (see
// render/outlinecache.h), which is the same picture. False, having drawn nothing, elsewhere.
bool PortWidePolygon(const POINT* points, int count);
// A filled shape's outline. Polygon with the port's pen, drawn after the outline, paints the fill
// and then strokes the outline a second time. Where the pen is thin and solid or null and the
// port copies onto a raster screen, StartPortOutline draws the lines batched so far, so that those
// batched after it are the shape's own; elsewhere it does nothing. While every line of the
// outline is still batched, CanFillUnderPortOutline is true and FillUnderPortOutline paints the
// same picture for less: it fills the polygon of the outline's own vertices (none clipped) with
// the context's brush, and the outline, still batched, is drawn over it.
void StartPortOutline();
bool CanFillUnderPortOutline();
void FillUnderPortOutline(const POINT* points, int count);
// The visible area in logical coordinates, grown by a margin: lines and fills are clipped to it.
void GetPortClipBox(double* left, double* top, double* right, double* bottom);
struct CoverMap;
// While `map` is set, the lines of the shape at drawing-order `position` drawn with a wide solid
// pen are left out where the shapes drawn after it paint over them; null ends it.
void SetPortCover(const CoverMap* map, uint32_t position);
// While muted, lines move the pen and draw nothing, and what draws past the port (a dimension's
// arrowheads and readout) draws nothing either: a paint walks a shape's outline for its hit
// outline, or a hidden dimension fits its label, without setting a pixel.
void SetPortMuted(bool muted);
bool IsPortMuted();
// The session's context for what draws past the port's lines (filled shapes, arcs, boxes); null
// without a session or while the port is muted.
HDC PortDrawingDC();
// The session context's own clip box in logical coordinates; false without a session.
bool GetPortViewBox(RECT* box);

void Pt2Rect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, QDRect* rect);
int32_t GetDblTime();
bool GetNextMouseOrKeyDownEvent(MSG* message);
void GetMouse(POINT* point);
void GetWindowMouse(HWND window, POINT* point);
bool StillDown();
void FrameArc(const QDRect* box, int16_t startAngle, int16_t arcAngle);
void MacMoveTo(int32_t h, int32_t v);
void MacLineTo(int32_t h, int32_t v);
void MacWindowMoveTo(HWND window, int32_t h, int32_t v);
void MacWindowLineTo(HWND window, int32_t h, int32_t v);
int32_t StringWidth(const char* text);
void EraseWindowRect(HWND window, const QDRect* rect);
void MacFrameRect(const QDRect* rect);
void DrawString(HWND window, const char* text);
void DrawStringColor(HWND window, const char* text, const RGB16* colour);
void GetFontInfo(FontInfo* info);
bool EmptyRect(const RECT* rect);
void CheckMarkCmd(HMENU menu, int16_t command, bool checked);
void EnableCmd(HMENU menu, int16_t command);
void DisableCmd(HMENU menu, int16_t command);

// A device colour from 16-bit intensities (each divided by 257).
COLORREF DeviceColor(const RGB16& colour);
