// Points of an object, and the point family of bounds (rectangles computed from the points
// themselves, following curves).
#pragma once

#include "model/records.h"

PointRec* CreatePoint(int16_t pointKind, uint8_t selected, uint8_t locked, float inTangentX, float inTangentY,
                      float x, float y, float outTangentX, float outTangentY, ObjectRec* owner);
void AppendPointToObject(PointRec* point, ObjectRec* object);
// Appends like AppendPointToObject without walking the list: `tail` is the object's last point,
// or null when it has none. Sets the owner. A tail of another object falls back to the walk.
void LinkPointAfter(PointRec* point, ObjectRec* object, PointRec* tail);
// Inserts after `after`, or at the head when `after` is null. Does not set the owner.
void InsertPointInObject(PointRec* point, ObjectRec* object, PointRec* after);
void DeleteObjectPoints(ObjectRec* object);
void DuplicateObjectPoints(const ObjectRec* source, ObjectRec* target, FloatPoint offset, uint8_t selected);
int CountObjectPoints(const ObjectRec* object);

// The next three are asked of every point and every curve sample that bounds follow: they are
// defined here so that every caller compiles them inline.

// True when the segment from a to b is a straight line (no tangents, or a marker at either end).
inline bool IsStraightSegment(const PointRec* a, const PointRec* b) {
  if (!a || !b) return true;
  if (IsMarkerPointKind(a->pointKind) || IsMarkerPointKind(b->pointKind)) return true;
  return a->outTangentX == 0.0f && a->outTangentY == 0.0f && b->inTangentX == 0.0f && b->inTangentY == 0.0f;
}

inline bool IsEmptyRect(const FloatRect* rect) {
  if (!rect) return true;
  return rect->top == kEmptyBoundsLow && rect->left == kEmptyBoundsLow && rect->bottom == kEmptyBoundsHigh &&
         rect->right == kEmptyBoundsHigh;
}

// Grows `rect` to hold (x, y); an empty rectangle becomes that point.
inline void RefineBounds(float x, float y, FloatRect* rect) {
  if (!rect) return;
  if (IsEmptyRect(rect)) {
    rect->top = rect->bottom = y;
    rect->left = rect->right = x;
    return;
  }
  if (x < rect->left)
    rect->left = x;
  else if (x > rect->right)
    rect->right = x;
  if (y < rect->top)
    rect->top = y;
  else if (y > rect->bottom)
    rect->bottom = y;
}

void GetObjectBounds(const ObjectRec* object, bool selectedOnly, FloatRect* rect, bool pointsOnly,
                     bool includePen);
void GetLayerBounds(const LayerRec* layer, bool selectedOnly, FloatRect* rect, bool pointsOnly,
                    bool includePen);
void GetAllLayersBounds(const LayerRec* firstLayer, bool selectedOnly, FloatRect* rect, bool pointsOnly,
                        bool includePen);
void GetObjectSplineBounds(const PointRec* a, const PointRec* b, FloatRect* rect, bool includePen, int penH,
                           int penV);
