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

// Breaks `text` into lines for a box `width` pixels wide, as the edit control under Wine does:
// - "\r\n", "\r\r\n" and a lone '\n' end a line (the break belongs to no line);
// - a line wider than the box wraps before a word start (after blanks, which stay on the line)
//   whose line fits; the control guesses where from the ratio of the widths and tries the word
//   starts from there back towards the line's start;
// - with no such word start the line is cut one character short of the most that fit (at least
//   one character), as the control cuts it;
// - a box no wider than `averageCharWidth` wraps nothing.
void BreakTextLines(const std::string& text, int width, int averageCharWidth, TextWidthFunction measure,
                    void* context, std::vector<TextLine>* lines);
