// The one-level undo record behind the Edit menu's first item. A tool or command opens a record
// for its document, records what it did, and Undo alternates between undoing and redoing it.
// The record keeps its document and the objects and points it acts on; deleting any of them, or
// the document, forgets the record, so Undo never touches freed memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/docstate.h"

// Undo kinds: the document's undoKind.
enum UndoKind : int16_t {
  kNoUndo = -1,
  kUndoMove = 7,
  kUndoPointMove = 8,
  kUndoResize = 9,
  kUndoSkew = 10,
  kUndoRotate = 11,
  kUndoRectangle = 13,
  kUndoOval = 14,
  kUndoPolygon = 15,
  kUndoMultigon = 16,
  kUndoArc = 17,
  kUndoLine = 18,
  kUndoSpline = 19,
  kUndoClear = 20,
  // Point edits: the object's points are kept as they were before the edit.
  kUndoFillet = 40,
  kUndoChamfer = 41,
  kUndoTrim = 42,
};

extern uint8_t gUndoAvail;      // the last operation left something to undo
extern ObjectRec* gUndoObject;  // the object the last shape tool created
extern float gUndoXScale, gUndoYScale, gUndoXOrigin, gUndoYOrigin;  // the last resize

// The undo kind of a tool, or -1 when the tool records nothing.
int16_t GetUndoStrIndex(int tool);

// A press that starts tracking gives up the previous record and opens one of `kind` for the
// document (kNoUndo opens none).
void BeginUndo(DocumentRec* document, int16_t kind);
// What the operation did, recorded after it happened. Each sets gUndoAvail. The transforms
// remember the points they moved (the selected unlocked points now) and undo exactly those.
void RecordUndoTranslate(float dx, float dy);
// Refused (false, nothing recorded) when either factor is 0 or not finite.
bool RecordUndoScale(float scaleX, float scaleY, float originX, float originY);
void RecordUndoShear(float startX, float startY, float endX, float endY, float centerX, float centerY);
void RecordUndoRotate(float angle, float centerX, float centerY);
void RecordUndoCreate(ObjectRec* object);
// Another object made together with the recorded one (a parallel copy of a new shape): undo and
// redo take it away and bring it back with that object.
void RecordUndoCreateCompanion(ObjectRec* object);
// Point edits (fillet, chamfer, trim), for a record of a point-edit kind: the object's points,
// kind, closed flag and bounds are copied just before the edit changes them (the first call of a
// record counts), and Done says the edit happened, naming the object it added (or null). Undo and
// redo exchange the two point lists and take the added object out and back.
void RecordUndoPointEditBefore(ObjectRec* object);
void RecordUndoPointEditDone(ObjectRec* added);
// Clear: deletes the unlocked selected top-level objects of the current drawing, keeping them
// in the record so Undo can put them back where they were. Returns how many went.
int ClearSelectionWithUndo();
// The same for the given top-level objects of the current drawing (others are passed over).
int ClearObjectsWithUndo(ObjectRec* const* objects, size_t count);

// The current document's record, as the Edit menu shows it.
bool UndoAvailable(const DocumentRec* document);
// Undoes or redoes the current document's record; false when there was nothing to do.
bool Undo();
// Forgets the record; objects it holds outside the drawing are freed.
void DisposeUndo();
// Lets the model tell the record (and the selection grid) of objects and drawings about to be
// freed. Opening a record does it too; the program does it once at start-up.
void InstallUndoHooks();
// The document is about to be deleted: forget its record.
void DisposeUndoForDocument(DocumentRec* document);
// An object is about to be deleted: forget a record that names it or one of its points.
void DisposeUndoForObject(ObjectRec* object);
