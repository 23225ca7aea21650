// Whole-object editing operations applied to the selection: flips, grouping and smoothing.
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

// Gives the selected points tangents k (next - previous), k being the drawing's tension / 10;
// the ends of an open object keep theirs. The object becomes a Spline.
void SmoothObject(ObjectRec* object);
// Straightens the segments at the selected points; the object becomes a Spline when any was.
void UnsmoothObject(ObjectRec* object);
// Dissolves a group: its members, selected, go to the end of its layer; the group is deleted.
void UngroupObject(ObjectRec* group);
