// The editing operations as the commands and shape tools apply them to the current drawing:
// duplicates and mirrored copies with the drawing's offsets, parallel copies of new shapes with
// its width and side, and the release of an undo record that names objects about to be relinked.
#pragma once

#include "model/records.h"

// The copies the last MakeParallel made (null when none): the shape tools record them with the
// new shape's undo.
struct ParallelCopies {
  ObjectRec* source;  // the object MakeParallel returned
  ObjectRec* copies[2];
};
extern ParallelCopies gParallelCopies;

// With "Draw Parallel" on, adds the parallel copies of a newly built shape at the drawing's
// width (world units) on its side: inside, outside, or centred (half the width each way; the
// shape itself then gives way to its outside copy). Returns the object that stays: `object`, or
// for the centred side its outside copy. The copies' areas are repainted.
ObjectRec* MakeParallel(ObjectRec* object);
// Adds the copies the last MakeParallel made for `object` to the shape undo record, so that
// undoing the shape takes them away as well. Copies no longer in the drawing are left out.
void RecordParallelCopiesForUndo(ObjectRec* object);

// The Duplicate walk's work on one selected top-level object: kDuplicateCommand makes the
// drawing's repeat count of copies, each offset from the one before by the duplicate offsets;
// the mirror commands make one mirrored copy in place. Dimensions and dimension labels are not
// duplicated on their own. The copies stay unselected and are repainted.
void DuplicateTopLevelObject(ObjectRec* object, int command);

// Forgets the undo record when it names a selected top-level object of the visible layers or
// one of their members: for commands that delete, relink or rebuild them.
void ReleaseUndoForSelection(LayerRec* firstLayer);
