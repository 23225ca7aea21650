// Text blocks: what the text tool and the text commands do to the blocks' panes that needs no
// window: the current alignment, finding the block a live editor types into, resizing a block
// to its text, new alignments and fonts, and removing blocks left empty.
#pragma once

#include <cstdint>

#include "geometry/geometry.h"
#include "model/docstate.h"

// The alignment commands, which double as the values of gTextAlignment.
constexpr int16_t kAlignRightCommand = 40;
constexpr int16_t kAlignLeftCommand = 41;
constexpr int16_t kAlignCenterCommand = 42;

// The alignment new text blocks get: one of the commands above; left at the start.
extern int16_t gTextAlignment;

// A pane's alignment for an alignment command (left for anything else), and back.
int16_t PaneAlignmentOfCommand(int command);
int16_t CommandOfPaneAlignment(int16_t alignment);

// The text block of the current drawing whose pane is typed into by `editor`, searching the
// visible layers in order (with `selectedOnly`, only selected blocks); null when none is.
ObjectRec* MatchTextPaneToObject(void* editor, bool selectedOnly);
ObjectRec* MatchTextPaneAllLayers(LayerRec* firstLayer, void* editor, bool selectedOnly);
ObjectRec* MatchTextPaneLayer(LayerRec* layer, void* editor, bool selectedOnly);

// Gives the block the height of its text: the box keeps its top, left and right, and its
// bottom becomes top + the text rectangle's height + twice the inset.
void SizeTextPane(ObjectRec* text, const IntRect* textRect);

// What the text commands need of the windows, filled by the program; null does nothing.
struct TextBlockHooks {
  // Resizes the block to its text as laid out in its font (AdjustTextObjectSize).
  void (*adjustSize)(ObjectRec* text);
  // A block being typed into takes its pane's new alignment in its live editor.
  void (*realignEditor)(ObjectRec* text, int16_t previousAlignment);
};
extern TextBlockHooks gTextBlockHooks;

// Alignment command 40, 41 or 42 for one block. A block with no text keeps its alignment.
void ChangeTextBlockAlignment(ObjectRec* text, int command);
// A new font (and text colour) for one block, which is then resized to its text.
void ChangeTextBlockFont(ObjectRec* text, const FontRecord* font, const RGB16* colour);
// Deletes a text block whose pane holds no text (its parents' bounds follow); true when it went.
bool DeleteEmptyTextBlock(ObjectRec* text);
