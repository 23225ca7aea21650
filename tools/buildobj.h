// Builders of new shapes from numbers: the shape tools, the numeric dialogs, import and paste
// all create objects through these. Positions are page units. Each returns the new object,
// appended to `layer`, or null when the figure is degenerate or memory ran out. With `useDoc`
// the object takes the current drawing's colours, line weight and type and the current fill
// pattern; without it white fill and pen fields, weight 1 and the solid line type.
#pragma once

#include <cstdint>

#include "model/docstate.h"

// Fewer sides than this make no multigon.
constexpr int kMinMultigonSides = 3;
// Sides of a multigon when no drawing says otherwise.
constexpr int kDefaultMultigonSides = 5;
// Degrees to radians, as the arc builder converts its pieces.
constexpr double kDegreesToRadians = 0.017453292519943295;

// Stages of the multi-click builders.
constexpr int16_t kBuildFirstPoint = 1;  // create the object with its first vertex
constexpr int16_t kBuildAddPoint = 2;    // append a vertex
constexpr int16_t kBuildFinish = 3;      // finish: bounds, selection, parallels or smoothing

ObjectRec* BuildRect(float left, float top, float right, float bottom, LayerRec* layer, bool useDoc);
ObjectRec* BuildOval(float left, float top, float right, float bottom, LayerRec* layer, bool useDoc);
// The regular polygon centred on (cx, cy) with its last vertex at (x, y).
ObjectRec* BuildMulti(float cx, float cy, float x, float y, LayerRec* layer, int sides, bool useDoc);
// The arc of the ellipse inscribed in the rectangle, from startDeg sweeping arcDeg degrees
// (counter-clockwise with y up, 0 = east). A sweep of 0 builds nothing.
ObjectRec* BuildArc(float left, float top, float right, float bottom, float startDeg, float arcDeg,
                    LayerRec* layer, bool useDoc);
ObjectRec* BuildLine(float x1, float y1, float x2, float y2, LayerRec* layer, bool useDoc);
// Polygon and spline, one call per stage: kBuildFirstPoint creates the object at (x, y), linked
// into `layer`, and returns it; kBuildAddPoint appends (x, y) to `object` unless it repeats the
// last vertex; kBuildFinish deletes a figure of fewer than 2 distinct points (returning null),
// closes it as CloseFigure does (with `close` forcing it), smooths a spline through its vertices,
// recomputes the bounds and selects it.
ObjectRec* BuildPoly(ObjectRec* object, float x, float y, LayerRec* layer, int16_t stage, bool useDoc,
                     bool close = false);
ObjectRec* BuildSpline(ObjectRec* object, float x, float y, LayerRec* layer, int16_t stage, bool useDoc,
                       bool close = false);
// A picture placed with its frame at the rectangle; `info` is the picture's MetaInfo, which the
// object then owns.
ObjectRec* BuildMetaFile(float left, float top, float right, float bottom, MetaInfo* info, LayerRec* layer,
                         bool useDoc);
// A text block (kind 200) around the edit rectangle `edit` (drawing units): its box is the
// rectangle grown by kTextBoxInset on every side, its four points are selected, and it owns
// `pane` from then on. Pen colour from the drawing (the text colour), no outline weight, no fill.
// Null, with the pane left to the caller, when the rectangle is not finite or memory ran out.
ObjectRec* BuildTextBlock(const FloatRect* edit, TextPane pane, LayerRec* layer);

// Dimensions. Each is built in the drawing's fill and pen colours, weight 1, solid, unfilled and
// open, with selected ordinary points, appended to `layer` with its DimInfo and (all but the
// leader) its label box centred where the readout goes. Null without a layer or a current
// drawing, when the first two positions are equal, or when memory runs out (nothing is left
// behind then). Press (x1, y1), release (x2, y2), and the offset point (ox, oy) the dimension
// line passes through.
// Offset: vertical (kind 100) measures the difference in y, else (101) in x.
ObjectRec* BuildOffsetDim(float x1, float y1, float x2, float y2, float ox, float oy, LayerRec* layer,
                          bool vertical);
// Length (102): the dimension line parallel to the segment, through the offset point.
ObjectRec* BuildLengthDim(float x1, float y1, float x2, float y2, float ox, float oy, LayerRec* layer);
// Angle (103): vertex, a point of the first leg, a point of the second leg, the point where the
// arc meets the second leg (x3, y3) and the one where it meets the first (x4, y4).
ObjectRec* BuildAngleDim(float vx, float vy, float x1, float y1, float x2, float y2, float x3, float y3,
                         float x4, float y4, LayerRec* layer);
// Diameter (104, or 106 with a shoulder) across (x1, y1) -> (x2, y2); radius (105, or 107) from
// the centre (x1, y1) to the circle's point (x2, y2). A shoulder stands `shoulder` beyond the
// circle and runs kDimShoulderLength across.
ObjectRec* BuildDiameterDim(float x1, float y1, float x2, float y2, LayerRec* layer, float shoulder,
                            bool withShoulder);
ObjectRec* BuildRadiusDim(float x1, float y1, float x2, float y2, LayerRec* layer, float shoulder,
                          bool withShoulder);
// Leader (108): the polyline of three points with the arrow at the first; it has no label.
ObjectRec* BuildLeaderDim(float x1, float y1, float x2, float y2, float x3, float y3, LayerRec* layer);

// A last vertex within `pixels` (zoomed distance) of the first repeats it and is dropped; the
// figure is then closed, or when `force` is set, provided at least 3 points remain. True when
// it closed.
bool CloseFigure(ObjectRec* object, float pixels, bool force = false);
