// Geometric transforms of points and objects, and the drawing-scale rescale.
#include "geometry/tranform.h"

#include <cmath>

#include "geometry/gnrlmath.h"
#include "model/docstate.h"
#include "model/objstuff.h"

void Translate(float* x, float* y, float dx, float dy) {
  if (!x || !y) return;
  *x += dx;
  *y += dy;
}

void Scale(float* x, float* y, float cx, float cy, float sx, float sy) {
  if (!x || !y) return;
  *x = (*x - cx) * sx + cx;
  *y = (*y - cy) * sy + cy;
}

// The reference position moves from (x0, y0) to (x1, y1) while the anchor (ox, oy) stays; every
// other position moves in proportion to its distance from the anchor. Both terms read the
// coordinates before either changes.
void Shear(float x0, float y0, float x1, float y1, float* x, float* y, float ox, float oy) {
  if (!x || !y) return;
  const float px = *x;
  const float py = *y;
  const float ddy = y0 - oy;
  const float ddx = x0 - ox;
  if (ddy != 0.0f) *x = px + (py - oy) / ddy * (x1 - x0);
  if (ddx != 0.0f) *y = py + (px - ox) / ddx * (y1 - y0);
}

void Rotate(float* x, float* y, float cx, float cy, float angle) {
  if (!x || !y) return;
  float length = 0.0f;
  const float direction = GetLineLengthAndAngle(cx, cy, *x, *y, &length);
  float dx = 0.0f, dy = 0.0f;
  GetPointFromLengthAndAngle(direction + angle, length, &dx, &dy);
  *x = cx + dx;
  *y = cy + dy;
}

float GetTranslate(float a, float b) {
  return b - a;
}

float GetScale(float oldValue, float newValue, float center) {
  if (oldValue == center) return 1.0f;
  return (newValue - center) / (oldValue - center);
}

float GetRotate(float angle1, float angle2) {
  const float pi = static_cast<float>(kPi);
  const float turn = static_cast<float>(kFullTurn);
  if (angle1 > pi) angle1 -= turn;
  if (angle2 > pi) angle2 -= turn;
  return angle2 - angle1;
}

namespace {

bool IsMovable(const PointRec* point) {
  return point->selected && !point->locked;
}

bool HasTangent(float tx, float ty) {
  return tx != 0.0f || ty != 0.0f;
}

// Shears a point with its tangents: each tangent through its handle end, so the handle stays
// attached to the sheared curve.
void ShearPointWithTangents(PointRec* p, float x0, float y0, float x1, float y1, float ox, float oy) {
  const bool hasIn = HasTangent(p->inTangentX, p->inTangentY);
  const bool hasOut = HasTangent(p->outTangentX, p->outTangentY);
  float inX = p->x + p->inTangentX, inY = p->y + p->inTangentY;
  float outX = p->x + p->outTangentX, outY = p->y + p->outTangentY;
  if (hasIn) Shear(x0, y0, x1, y1, &inX, &inY, ox, oy);
  if (hasOut) Shear(x0, y0, x1, y1, &outX, &outY, ox, oy);
  Shear(x0, y0, x1, y1, &p->x, &p->y, ox, oy);
  if (hasIn) {
    p->inTangentX = inX - p->x;
    p->inTangentY = inY - p->y;
  }
  if (hasOut) {
    p->outTangentX = outX - p->x;
    p->outTangentY = outY - p->y;
  }
}

void ScalePointWithTangents(PointRec* p, float cx, float cy, float sx, float sy) {
  Scale(&p->x, &p->y, cx, cy, sx, sy);
  if (HasTangent(p->inTangentX, p->inTangentY)) Scale(&p->inTangentX, &p->inTangentY, 0.0f, 0.0f, sx, sy);
  if (HasTangent(p->outTangentX, p->outTangentY)) Scale(&p->outTangentX, &p->outTangentY, 0.0f, 0.0f, sx, sy);
}

void RotatePointWithTangents(PointRec* p, float cx, float cy, float angle) {
  Rotate(&p->x, &p->y, cx, cy, angle);
  if (HasTangent(p->inTangentX, p->inTangentY)) Rotate(&p->inTangentX, &p->inTangentY, 0.0f, 0.0f, angle);
  if (HasTangent(p->outTangentX, p->outTangentY)) Rotate(&p->outTangentX, &p->outTangentY, 0.0f, 0.0f, angle);
}

}  // namespace

void TranslateObject(ObjectRec* object, const TransformRec* rec) {
  if (!object || !rec) return;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint)
    if (IsMovable(p)) Translate(&p->x, &p->y, rec->dx, rec->dy);
  UpdateObjectBounds(object);
}

void ScaleObject(ObjectRec* object, const TransformRec* rec) {
  if (!object || !rec || object->kind == kMetaFileKind) return;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint)
    if (IsMovable(p)) ScalePointWithTangents(p, rec->centerX, rec->centerY, rec->scaleX, rec->scaleY);
  UpdateObjectBounds(object);
}

void ShearObject(ObjectRec* object, const TransformRec* rec) {
  if (!object || !rec) return;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint)
    if (IsMovable(p))
      ShearPointWithTangents(p, rec->shearStartX, rec->shearStartY, rec->shearEndX, rec->shearEndY,
                             rec->centerX, rec->centerY);
  UpdateObjectBounds(object);
}

void RotateObject(ObjectRec* object, const TransformRec* rec) {
  if (!object || !rec) return;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint)
    if (IsMovable(p)) RotatePointWithTangents(p, rec->centerX, rec->centerY, rec->angle);
  UpdateObjectBounds(object);
}

namespace {

bool PointMayChange(const PointRec* point, int flags) {
  return !(flags & kMoveSelectedUnlockedOnly) || IsMovable(point);
}

}  // namespace

void TranslatePoint(PointRec* point, int flags, const TrackState* track) {
  if (!point || !track || !PointMayChange(point, flags)) return;
  Translate(&point->x, &point->y, track->current.x - track->start.x, track->current.y - track->start.y);
}

void ScalePoint(PointRec* point, int flags, const TrackState* track) {
  if (!point || !track || !PointMayChange(point, flags)) return;
  const float sx = GetScale(track->start.x, track->current.x, track->center.x);
  const float sy = (flags & kUniformScale) ? sx : GetScale(track->start.y, track->current.y, track->center.y);
  if (sx == 1.0f && sy == 1.0f) return;
  ScalePointWithTangents(point, track->center.x, track->center.y, sx, sy);
}

void ShearPoint(PointRec* point, int flags, const TrackState* track) {
  if (!point || !track || !PointMayChange(point, flags)) return;
  ShearPointWithTangents(point, track->start.x, track->start.y, track->current.x, track->current.y,
                         track->center.x, track->center.y);
}

void RotatePoint(PointRec* point, int flags, const TrackState* track) {
  if (!point || !track || !PointMayChange(point, flags)) return;
  const float angle = GetRotate(track->startAngle, track->currentAngle);
  if (angle == 0.0f) return;
  RotatePointWithTangents(point, track->center.x, track->center.y, angle);
}

void RescaleObject(ObjectRec* object, float factor, float cx, float cy) {
  if (!object) return;
  TransformRec rec = {};
  rec.scaleX = rec.scaleY = factor;
  rec.centerX = cx;
  rec.centerY = cy;
  ScaleObject(object, &rec);
  for (ObjectRec* child = object->firstChild; child; child = child->nextObject)
    RescaleObject(child, factor, cx, cy);
}

void RescaleDrawing(float oldFactor, float newFactor) {
  if (!gCurDocument || !gCurDocument->docState || newFactor == 0.0f) return;
  const DocState* state = gCurDocument->docState;
  const float factor = oldFactor / newFactor;
  for (LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer) {
    SetObjectChainSelection(layer->firstObject, 1);
    for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
      RescaleObject(object, factor, state->originH, state->originV);
    SetObjectChainSelection(layer->firstObject, 0);
  }
}
