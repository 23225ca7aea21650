// The dimension tools on the drawing pane: their tracking routines, called by the tracking road
// like every tool's (stage 1 press, 2 move, 3 release; positions in page units), and the rubber
// bands they draw in inverting mode, so that drawing one twice removes it.
//
// Offset, length, angle and leader take a drag for their first leg; the release fixes it and the
// band then follows the mouse until the next press places the dimension (the angle tool takes
// one more press for its arc's radius). Tab toggles snapping meanwhile; Escape, a lost capture or
// a quit message abandon the dimension, and paints go on under the band. The diameter and radius
// tools measure the circle, arc or fillet pressed and follow the mouse until the release.
#pragma once

#include <cstdint>

#include "tools/trakdims.h"

void TrackOffsetDim(float x, float y, int16_t stage);
void TrackLengthDim(float x, float y, int16_t stage);
void TrackAngleDim(float x, float y, int16_t stage);
void TrackDiameterDim(float x, float y, int16_t stage);
void TrackRadiusDim(float x, float y, int16_t stage);
void TrackLeaderDim(float x, float y, int16_t stage);

// The bands, in page units: press a, release b, evaluated cursor o and raw cursor c.
// The offset band returns its orientation (true: vertical).
bool DrawOffsetDimState(FloatPoint a, FloatPoint b, FloatPoint o, FloatPoint c);
void DrawLengthDimState(FloatPoint a, FloatPoint b, FloatPoint o);
// Vertex v, first leg through p1, the second leg to the cursor c.
void DrawAngleDimState(FloatPoint v, FloatPoint p1, FloatPoint c);
// The legs fixed through p1 and q; the arc at the cursor's distance.
void DrawStretchAngDimState(FloatPoint v, FloatPoint p1, FloatPoint q, FloatPoint c);
// Return whether the cursor lies outside the circle (the dimension then gets a shoulder).
bool DrawDiameterDimState(const CircleTarget& target, FloatPoint c);
bool DrawRadiusDimState(const CircleTarget& target, FloatPoint c);
// The leader's fixed first segment a -> b and its second b -> c.
void DrawLeaderDimState(FloatPoint a, FloatPoint b, FloatPoint c);
