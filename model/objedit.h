// Whole-object editing operations applied to the selection: duplicates and mirrored copies,
// flips, nudges, grouping and smoothing.
#pragma once

#include "model/records.h"

// The mirror centre of the flip and mirror commands, set by the command to the centre of the
// selection's bounds (SetFlipCenter).
extern float gFlipCenterX;
extern float gFlipCenterY;

// gFlipCenterX, gFlipCenterY := the middle of `bounds`.
void SetFlipCenter(const FloatRect* bounds);

// Mirrors each selected point of the object (not its members) about gFlipCenterX horizontally
// or gFlipCenterY vertically, negating that component of both tangents so curves keep their
// shape, then recomputes the object's bounds.
void FlipObject(ObjectRec* object, bool horizontal);

// Nudge directions.
enum NudgeDirection : int16_t { kNudgeUp = 0, kNudgeLeft = 1, kNudgeDown = 2, kNudgeRight = 3 };
// Moves every selected unlocked point `distance` page units in the direction (other values do
// nothing). The caller recomputes the bounds.
void NudgeObject(ObjectRec* object, float distance, int direction);

// Operation codes of DuplicateObject: the plain copy, and the copies mirrored about
// gFlipCenterX (horizontally) or gFlipCenterY (vertically).
constexpr int kDuplicateCommand = 5006;
constexpr int kMirrorHorizontalCommand = 5008;
constexpr int kMirrorVerticalCommand = 5138;

// A copy of `source` and its members moved by `offset`, its points not selected. It is linked
// after `previousSibling` when given, else as the first member of `parentGroup`, else at the end
// of the source's layer with `appendToLayer`, else not at all. The mirror commands flip the copy
// about the flip centre. A dimension copied with its label inside the same copy keeps its link
// to the copied label; any other copied dimension or label starts without one. Null when memory
// ran out (nothing is linked then).
ObjectRec* DuplicateObject(const ObjectRec* source, ObjectRec* parentGroup, ObjectRec* previousSibling,
                           FloatPoint offset, bool appendToLayer, int command);

// The group being filled by the current Group command.
extern ObjectRec* gGroupLeader;

// Moves the object into gGroupLeader as its last member (nothing for the leader itself). The
// member keeps its `layer`.
void GroupObject(ObjectRec* object);
// The Group command on the selection: with at least two selected top-level objects on the
// visible layers, a new group (kind 1000) at the end of the first one's layer takes them all in
// layer order. Returns the group, or null when nothing was grouped.
ObjectRec* GroupSelectedObjects(LayerRec* firstLayer);
// Moves the visible objects (only the selected ones with selectedOnly) so that the centre of
// their bounds lands on (centreX, centreY); `rect` receives their new bounds (all points, curves
// followed, no pen), or the empty rectangle when nothing was moved.
void CenterObjectsAt(LayerRec* firstLayer, bool selectedOnly, float centreX, float centreY, FloatRect* rect);

// Gives the selected outline points of a shape (kinds 1 to 7) tangents k (next - previous), the
// neighbours being the nearest outline points (markers are passed over) and k the drawing's
// tension / 10; the ends of an open outline keep theirs. The object becomes a Spline. A shape
// with fewer than two outline points, and any other kind, is left alone.
void SmoothObject(ObjectRec* object);
// Straightens the segments at the selected points of a shape (kinds 1 to 7); it becomes a Spline
// when any was selected.
void UnsmoothObject(ObjectRec* object);
// Dissolves a group: its members, selected, go to the end of its layer; the group is deleted.
void UngroupObject(ObjectRec* group);
