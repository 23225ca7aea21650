// Lines: lengths, directions, drawing-port angles, slopes and intersections.
// Angles are radians counterclockwise as the user sees them (y upward), in [0, 2 pi).
#pragma once

#include "model/records.h"

constexpr float kVerticalSlope = 1234567.0f;
constexpr double kRadiansToDegrees = 57.29577951308232;
constexpr double kFullTurn = 6.283185307179586;
constexpr double kPi = 3.141592653589793;

float GetLineLength(float x1, float y1, float x2, float y2);
float GetLineLengthAndAngle(float x1, float y1, float x2, float y2, float* length);
void GetPointFromLengthAndAngle(float angle, float length, float* dx, float* dy);
void ConvertPiRadiansToQDAngle(float angle, int* qdAngle);
float GetSlope(float x1, float y1, float x2, float y2);
float GetYIntercept(float x, float y, float slope);
void GetIntersection(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, float* x,
                     float* y);
void GetPerpIntersection(float x1, float y1, float x2, float y2, float px, float py, float* x, float* y);
void GetSplineCoordinate(const PointRec* a, const PointRec* b, float t, float* x, float* y);
