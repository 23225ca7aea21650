// The internal clipboard and the drawing's serialisation for embedding. Cut, Copy, Paste and
// Clear move duplicates of objects through a layer that belongs to no drawing, so it outlives the
// drawing it came from and pastes into any other. The embedding server moves whole drawings
// through the private scrap, in the drawing file's encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/records.h"

// The clipboard: null before the first copy, replaced whole by each copy.
extern LayerRec* gClipboardLayer;
extern char gClipboardLayerName[kLayerNameSize];  // "ClipboardLayer"
// How far the next paste lands right of and below the copied objects, in page units.
extern float gPasteOffset;
// The clipboard's objects' bounds (pen included) at the last copy; the empty rectangle when
// it holds nothing. The viewer scrolls over it.
extern FloatRect gScrapBounds;

// The first paste after a copy moves the copies this far; each further paste this much more.
constexpr float kPasteStep = 36.0f;

// Which selected objects of the current layer go to the clipboard.
enum class CopyScope : uint8_t {
  kCopy,  // every selected one, locked ones too
  kCut,   // the selected ones that are not locked: what Cut and Clear take out of the drawing
};

// The top-level objects of the current layer a copy takes, in list order: the selected ones
// (without the locked ones for kCut), each dimension followed by its label. A label selected
// without its dimension is not taken: it travels with the dimension.
std::vector<ObjectRec*> CollectCopiedObjects(CopyScope scope);

// Copy: the clipboard layer is replaced by one holding duplicates of `objects` (labels linked to
// their dimensions' copies), and the paste offset starts again. Nothing without a drawing.
// Returns false when a duplicate could not be made (the clipboard then holds the others).
bool CopyObjectsToClipboard(const std::vector<ObjectRec*>& objects);
// Copy of the current layer's selection.
bool DoCopyObjects();
// Cut and Clear: the current layer's selected unlocked objects go to the clipboard and leave the
// drawing with an undo record that brings them back. Returns how many top-level objects went.
int CutObjects();

// Paste: duplicates of the clipboard's objects go to the end of the current layer, selected and
// moved by gPasteOffset, which then grows by kPasteStep; the rest of the layer is deselected.
// Returns how many top-level objects were pasted (0 without a drawing or an empty clipboard).
int DoPasteObjects();
// True when Paste has something to paste.
bool ClipboardHasObjects();
// Frees the clipboard layer and its objects.
void FreeClipboardLayer();

// The whole current drawing into the private scrap (gOLEScrapSize its length), without changing
// it. False when there is no drawing or the scrap cannot be grown (the scrap is then empty).
bool DoOLECopyObjects();
// The objects of the private scrap (gPrivateScrap, never read past gPrivateScrapSize) into the
// current layer of the current drawing, selected as stored, with every text block passive and
// the drawing repainted. False, with gDrxFileFailure saying why, on a damaged scrap: what was
// read before the damage stays.
bool DoOLEPasteObjects();
