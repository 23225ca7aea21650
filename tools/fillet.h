// The corner and cutting tools: the fillet rounds a corner with a circular arc, the chamfer cuts
// it with a straight edge, and the trim cuts an object open or in two. Each edits the points of
// an existing object in place; the mouse tools and the tool dialogs share the builders.
//
// A fillet lives in its object as five consecutive points that replace the corner:
//   1 (kind 2) the centre of the fillet circle (the corner itself for the inverted fillet)
//   2 (kind 2) the corner's position before filleting
//   3 (kind 1, the former corner point) the tangent point towards the previous vertex
//   4 (kind 3) the middle of the arc
//   5 (kind 1) the tangent point towards the next vertex
// The outline passes over the two markers, so it runs previous vertex, tangent point, middle,
// tangent point, next vertex, and the tangents make the part between the tangent points an arc.
#pragma once

#include <cstdint>

#include "model/records.h"
#include "tools/toolstate.h"

// Fillet builders. `first` .. `tangent2` are positions 1 .. 5 of the group; `previous` and `next`
// are the outline neighbours. The standard fillet's size is the distance from the corner to the
// circle's centre, or its radius with `sizeIsRadius`; the inverted fillet's size is its radius.
// With `draw` the feedback is drawn. Each returns the radius, or 0 (nothing moved) when the
// corner is straight (its neighbours in line with it) or a neighbour lies on the corner.
float BuildStandardFillet(PointRec* first, const PointRec* previous, const PointRec* next,
                          const PointRec* corner, PointRec* tangent1, PointRec* middle, PointRec* tangent2,
                          float size, bool draw, bool sizeIsRadius);
float BuildInvertedFillet(PointRec* first, const PointRec* previous, const PointRec* next,
                          const PointRec* corner, PointRec* tangent1, PointRec* middle, PointRec* tangent2,
                          float size, bool draw);
// The tangents that make tangent1 -> middle -> tangent2 follow the circle of `radius` about
// `first` (the standard fillet) or about `corner` (the inverted one).
void BuildFilletSplines(float radius, const PointRec* first, const PointRec* corner, PointRec* tangent1,
                        PointRec* middle, PointRec* tangent2);
void BuildInvertedFilletSplines(float radius, const PointRec* first, const PointRec* corner,
                                PointRec* tangent1, PointRec* middle, PointRec* tangent2);
// The fillet's feedback arc, drawn inverted (nothing on the host build).
void DrawFillet(float radius, const PointRec* centre, const PointRec* tangent1, const PointRec* tangent2);

// The fillet tool's steps for a press recorded in `info` (a point hit) and the mouse at (x, y):
// the press inserts the group (or takes the pressed fillet's), moves size it with feedback, the
// release sets the arc. Shift (kTrackShift in `modifiers`) makes the inverted fillet.
void SupportTrackFillet(float x, float y, int16_t stage, const ClickInfo* info, uint16_t modifiers,
                        bool sizeIsRadius);

// The ends of a chamfer `d` from the corner: towards `previous` and towards `next`; false when
// a neighbour is missing or lies on the corner.
bool GetChamferEnds(const PointRec* corner, const PointRec* previous, const PointRec* next, float d,
                    FloatPoint* start, FloatPoint* end);
// The chamfer's feedback edge from the point `d` from the corner towards `previous` to the one
// `d` towards `next` (drawn inverted on the Windows build); returns the edge's length.
float DrawChamfer(const PointRec* corner, const PointRec* previous, const PointRec* next, float d);
// Moves the corner `d` towards `previous` and inserts a selected point `d` from the corner's old
// position towards `next`; the object becomes a Poly. False (nothing changed) when d is not
// positive or the corner is straight.
bool BuildChamfer(ObjectRec* object, PointRec* corner, const PointRec* previous, const PointRec* next,
                  float d);
void SupportTrackChamfer(float x, float y, int16_t stage, const ClickInfo* info, uint16_t modifiers);

// Trim. The cut lies on the segment p1 -> p2 at parameter t.
void GetTrimLocation(const PointRec* p1, const PointRec* p2, float t, float* x, float* y, float* tx,
                     float* ty);
// Cuts an open object after p1: the object keeps its points up to the cut, and a new object
// (returned; null when nothing was cut) takes the points after it.
ObjectRec* TrimOpenObject(ObjectRec* object, PointRec* p1, PointRec* p2, float t);
// Opens a closed object at the cut: its list then starts and ends there. False when nothing was cut.
bool TrimClosedObject(ObjectRec* object, PointRec* p1, PointRec* p2, float t);
// The trim tool's press: cuts the single selected object at the point or segment pressed.
void SupportTrackTrim(float x, float y, int16_t stage, const ClickInfo* info, uint16_t modifiers);

// The outline neighbours of a point (markers passed over, wrapping round the list): null when
// there is none.
PointRec* PreviousOutlinePoint(PointRec* point);
PointRec* NextOutlineVertex(PointRec* point);
// Whether the point is a corner the fillet and chamfer tools may round or cut: an outline point
// of a shape other than a Line, not an open end, with neighbours not in line with it.
bool IsCornerForFillet(const ObjectRec* object, PointRec* point);
// The first point of a fillet group from one of its markers; null when the markers do not lead
// to a whole group.
PointRec* FilletGroupOf(PointRec* marker);
