// Whole-object and per-point transforms (move, scale, shear, rotate) and the drawing-scale
// rescale. Positions change in place; tangents are vectors and only scale and rotate.
#pragma once

#include "model/records.h"

// The parameters of a whole-object transform. Angles are radians, counterclockwise as the
// user sees them.
struct TransformRec {
  float dx, dy;
  float scaleX, scaleY;
  float angle;
  float centerX, centerY;
  float shearStartX, shearStartY;
  float shearEndX, shearEndY;
};

// The mouse-tracking record: press, current position, centre of the pressed object and the
// angles from that centre to the two positions.
struct TrackState {
  FloatPoint start;
  FloatPoint current;
  FloatPoint center;
  float startAngle;
  float currentAngle;
};

// Point-transform flags (the same bits as the draw flags that ask for a preview).
constexpr int kMoveSelectedUnlockedOnly = 0x100;
constexpr int kUniformScale = 0x200;

void Translate(float* x, float* y, float dx, float dy);
void Scale(float* x, float* y, float cx, float cy, float sx, float sy);
void Shear(float x0, float y0, float x1, float y1, float* x, float* y, float ox, float oy);
void Rotate(float* x, float* y, float cx, float cy, float angle);

float GetTranslate(float a, float b);
float GetScale(float oldValue, float newValue, float center);
float GetRotate(float angle1, float angle2);

void TranslateObject(ObjectRec* object, const TransformRec* rec);
void ScaleObject(ObjectRec* object, const TransformRec* rec);
void ShearObject(ObjectRec* object, const TransformRec* rec);
void RotateObject(ObjectRec* object, const TransformRec* rec);

void TranslatePoint(PointRec* point, int flags, const TrackState* track);
void ScalePoint(PointRec* point, int flags, const TrackState* track);
void ShearPoint(PointRec* point, int flags, const TrackState* track);
void RotatePoint(PointRec* point, int flags, const TrackState* track);

// Scales every object of every layer of the current drawing by oldFactor / newFactor about the
// user origin, so objects keep their world sizes after a scale change.
void RescaleDrawing(float oldFactor, float newFactor);
// ScaleObject by `factor` about (cx, cy) on the object and, recursively, its children.
void RescaleObject(ObjectRec* object, float factor, float cx, float cy);
