// Snapping: a tracked position moved onto a feature of an existing object (an end point, a
// point of the outline, a centre, a corner of the bounds, the crossing of two objects, a
// segment's middle or a fraction of it) or onto the user origin; the perpendicular snap instead
// records a segment for the line tool to start square to it. The snap in force is gCurSnap; it
// holds for one press unless gSnapLocked, and Tab moves to the next one while tracking.
#pragma once

#include <cstdint>

#include "model/records.h"
#include "tools/toolstate.h"

// The snap code handed to SnapPoint: the tool in the high 16 bits, the snap in the low 16.
constexpr int32_t PackToolAndSnap(int16_t tool, int16_t snap) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(tool)) << 16 |
                              static_cast<uint16_t>(snap));
}
constexpr int16_t SnapOfCode(int32_t toolAndSnap) {
  return static_cast<int16_t>(toolAndSnap & 0xFFFF);
}

// The snapped drawing position (page units) of a cursor at window position (x, y), whose hit
// test is `info`. The origin snap needs no hit; every other snap needs info->hit. False when
// the snap does not apply; the outputs are then untouched. The intersection snap takes the
// second object under the cursor from gClickInfo.
bool SnapPoint(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first, float* outX,
               float* outY);
// The snaps, each with SnapPoint's arguments and result.
bool SnapEndPoint(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first, float* outX,
                  float* outY);
bool SnapOnSpline(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first, float* outX,
                  float* outY);
bool SnapObjectCenter(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first, float* outX,
                      float* outY);
bool SnapObjectCorner(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first, float* outX,
                      float* outY);
bool SnapIntersection(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first, float* outX,
                      float* outY);
// Records the hit segment in gPerpStartPtz / gPerpEndPtz (when none is recorded yet) and never
// moves the position: always false.
bool SnapPerpendicular(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first, float* outX,
                       float* outY);
bool SnapSplineCenter(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first, float* outX,
                      float* outY);
bool SnapSplinePercentage(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first,
                          float* outX, float* outY);
bool SnapOrigin(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first, float* outX,
                float* outY);

// The perpendicular snap's record: cleared at every press and after every release.
void ClearPerpendicularSnap();
bool HasPerpendicularSegment();
// Where a line held perpendicular to the recorded segment starts when its end is at (x, y):
// the foot of the perpendicular from (x, y) on the segment's line, or for a curve on the chord
// of it nearest to (x, y) (an oval's nearest segment chosen again first).
FloatPoint PerpendicularStart(float x, float y);

// The snap after `snap` in the Snap toolbox: 500, 501 ... 509, then 500 again.
int16_t NextSnapTool(int16_t snap);
// Makes `snap` current with its highlight (and the lock frame when `locked`) in the Snap
// toolbox. False, with nothing changed, when there is no Snap toolbox.
bool SelectSnapTool(int16_t snap, bool locked);
// Tab: the next snap, while gChangeSnapOK allows it and the Snap toolbox exists. True when it
// changed the snap.
bool SnapToolChange(int direction);
// The same from a loop that owns the message queue (polygon, arc sweep, dimension phases):
// cycling is allowed for the call.
bool CycleSnapTool();
// After a press's first move and at its release: back to no snap, unless the snap is locked.
void ResetSnapTool();
