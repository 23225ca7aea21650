// The pixels an oval's outline sets with a wide pen, kept from one paint to the next. The
// platform works out a wide outline as a region grown one short step of the curve at a time,
// which costs far more than filling it: a large circle drawn with a thick pen costs a
// millisecond. The pixels depend only on the oval's width and height and on the pen's width, and
// move with the oval by whole pixels, so the outline is drawn once into a mask, read back as a
// region, and filled wherever an oval of that size is drawn again. The part of an oval out of
// view is left out of its mask, as the platform leaves it out of its own work. An outline is kept
// the second time it is drawn, so a view painted once costs what it did.
#pragma once

#include <windows.h>

#include <cstddef>

// Fills, in `colour` on `dc`, the pixels Ellipse(box) would set inside `view` with a solid pen
// `penWidth` pixels wide and the null brush. False, having drawn nothing, the first time an
// oval of its size, pen and part in view comes, when that part is too large to keep, or when
// its outline cannot be made: the caller then draws the oval itself. The
// context must map logical units to pixels one to one, unmirrored, draw ovals in the default
// direction and paint a plain colour as it is given (24 bits a pixel and more), and `view` must
// hold its clip box: the caller checks both.
bool FillOvalOutline(HDC dc, const RECT& box, int penWidth, COLORREF colour, const RECT& view);

// Deletes every kept outline, and forgets which ovals were drawn once.
void ForgetOvalOutlines();

// How many outlines are kept, and how many rectangles their regions were made of.
size_t KeptOvalOutlineCount();
size_t KeptOvalOutlineRects();
