// The pixels an oval's outline sets with a wide pen, kept from one paint to the next. The
// platform works out a wide outline as a region grown one short step of the curve at a time,
// each step added to all the region holds so far, which costs far more than filling it: a large
// circle drawn with a thick pen costs a millisecond. The pixels depend only on the oval's width
// and height and on the pen's width, and move with the oval by whole pixels. So the outline is
// drawn into a mask a band of rows at a time (the platform leaves out the steps that miss the
// band, and each band's region stays small), read back as one region, and filled wherever an oval
// of that size is drawn again. The part of an oval out of view is left out of its mask, as the
// platform leaves it out of its own work.
#pragma once

#include <windows.h>

#include <cstddef>

// Fills, in `colour` on `dc`, the pixels Ellipse(box) would set inside `view` with a solid pen
// `penWidth` pixels wide and the null brush. False, having drawn nothing, when the part in view
// is too large to keep or its outline cannot be made: the caller then draws the oval itself. The
// context must map logical units to pixels one to one, unmirrored, draw ovals in the default
// direction and paint a plain colour as it is given (24 bits a pixel and more), and `view` must
// hold its clip box: the caller checks both.
bool FillOvalOutline(HDC dc, const RECT& box, int penWidth, COLORREF colour, const RECT& view);

// Deletes every kept outline and the mask.
void ForgetOvalOutlines();

// How many outlines are kept, and how many rectangles their regions were made of.
size_t KeptOvalOutlineCount();
size_t KeptOvalOutlineRects();
