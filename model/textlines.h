// The lines a text block shows: its text broken at line breaks and wrapped at word boundaries to
// the box's width, the way the multi-line edit control that types it lays it out, so that the
// painted text and the typed text agree line for line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/seam.h"

// The width in pixels of `length` bytes of text in the font being laid out.
typedef int (*TextWidthFunction)(void* context, const char* text, size_t length);

// Breaks `text` into lines for a box `width` pixels wide:
// - "\r\n" ends a line (the break itself belongs to no line); a lone '\r' or '\n' is text;
// - a line wider than the box wraps at the last word start (after a run of blanks) whose line,
//   trailing blanks included, still fits; a first word that does not fit alone is cut after the
//   most characters that fit (at least one);
// - a box no wider than `averageCharWidth` wraps nothing.
void BreakTextLines(const std::string& text, int width, int averageCharWidth, TextWidthFunction measure,
                    void* context, std::vector<TextLine>* lines);
