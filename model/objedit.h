// Whole-object editing operations applied to the selection: for now the flips.
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
