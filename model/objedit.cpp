// Whole-object editing operations.
#include "model/objedit.h"

#include "model/objstuff.h"

float gFlipCenterX;
float gFlipCenterY;

void SetFlipCenter(const FloatRect* bounds) {
  if (!bounds) return;
  gFlipCenterX = bounds->left + (bounds->right - bounds->left) / 2;
  gFlipCenterY = bounds->top + (bounds->bottom - bounds->top) / 2;
}

void FlipObject(ObjectRec* object, bool horizontal) {
  if (!object) return;
  for (PointRec* point = object->firstPoint; point; point = point->nextPoint) {
    if (!point->selected) continue;
    if (horizontal) {
      point->x = gFlipCenterX - (point->x - gFlipCenterX);
      point->inTangentX = -point->inTangentX;
      point->outTangentX = -point->outTangentX;
    } else {
      point->y = gFlipCenterY - (point->y - gFlipCenterY);
      point->inTangentY = -point->inTangentY;
      point->outTangentY = -point->outTangentY;
    }
  }
  UpdateObjectBounds(object);
}
