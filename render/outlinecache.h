// The pixels a wide pen's outline sets, kept from one paint to the next: of an oval, of a run of
// lines, of a filled polygon's closed outline. The platform works out a wide outline as a region
// grown one short step at a time, each step added to all the region holds so far, which costs far
// more than filling it: a large circle drawn with a thick pen costs a millisecond. The pixels
// depend only on the shape (an oval's width and height, or the lines' points relative to their
// box) and on the pen's width, and move with the shape by whole pixels. So the outline is drawn
// into a mask a band of rows at a time (the platform leaves out the steps that miss the band, and
// each band's region stays small), read back as one region, and filled wherever the same shape is
// drawn again. The part of a shape out of view is left out of its mask, as the platform leaves it
// out of its own work.
#pragma once

#include <windows.h>

#include <cstddef>

// Fills, in `colour` on `dc`, the pixels Ellipse(box) would set inside `view` with a solid pen
// `penWidth` pixels wide and the null brush. False, having drawn nothing, when the part in view
// is too large to keep, when its outline is not kept and cannot be made or this paint has made
// its share, or when the context's clip cannot take it: the caller then draws the oval itself.
// The context must map logical units to pixels one to one, unmirrored, draw ovals in the default
// direction and paint a plain colour as it is given (24 bits a pixel and more), and `view` must
// hold its clip box: the caller checks both.
bool FillOvalOutline(HDC dc, const RECT& box, int penWidth, COLORREF colour, const RECT& view);

// Fills, in `colour` on `dc`, the pixels PolyPolyline(points, counts, runs) sets inside `view`
// with a solid pen `penWidth` pixels wide, from the outline kept for the same lines (the same
// points relative to their box), under the same conditions as an oval's. Lines are kept the
// second time they come: false, having drawn nothing, the first time, for fewer than four points,
// and in every case where an oval's outline would not be filled; the caller then draws them.
bool FillKeptLines(HDC dc, const POINT* points, const DWORD* counts, size_t runs, int penWidth,
                   COLORREF colour, const RECT& view);
// The same for the closed outline Polygon(points, count) strokes with the null brush.
bool FillKeptPolygonOutline(HDC dc, const POINT* points, size_t count, int penWidth, COLORREF colour,
                            const RECT& view);

// Starts a paint: it may make up to a few hundred new outlines. Past them, the functions above
// return false for outlines not kept yet, and later paints keep them.
void StartKeepingOutlines();

// Deletes every kept outline and the mask.
void ForgetKeptOutlines();

// How many outlines are kept, and how many rectangles their regions were made of.
size_t KeptOutlineCount();
size_t KeptOutlineRects();
