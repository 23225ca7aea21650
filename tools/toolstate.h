// The process-wide state of the interactive tools: the current tool and snap, point
// orientation, the fill pattern, the record of what the last press hit and the tracking record.
// Every tool, pane and walk reads these; this module owns them.
#pragma once

#include <cstdint>

#include "geometry/tranform.h"  // TrackState
#include "model/records.h"

// Tool identifiers (the toolbox panes' control and bitmap ids are the same numbers).
enum ToolId : int16_t {
  kNoTool = -1,
  kStandardTool = 200,  // select and move
  kPointTool = 201,     // select and move points
  kResizeTool = 202,
  kSkewTool = 203,
  kRotateTool = 204,
  kFilletTool = 205,
  kChamferTool = 206,
  kTrimTool = 207,
  kZoomTool = 208,
  kTextTool = 209,
  kRectTool = 300,
  kOvalTool = 301,
  kPolyTool = 302,
  kMultiTool = 303,
  kArcTool = 304,
  kLineTool = 305,
  kSplineTool = 306,
  kOffsetDimTool = 400,
  kLengthDimTool = 401,
  kAngleDimTool = 402,
  kDiameterDimTool = 403,
  kRadiusDimTool = 404,
  kLeaderDimTool = 405,
};

constexpr int16_t kFirstEditTool = kStandardTool;
constexpr int16_t kLastEditTool = kTextTool;
constexpr int16_t kFirstDrawTool = kRectTool;
constexpr int16_t kLastDrawTool = kSplineTool;
constexpr int16_t kFirstDimTool = kOffsetDimTool;
constexpr int16_t kLastDimTool = kLeaderDimTool;

// Snap identifiers: 500 is no snap, 509 the origin snap.
enum SnapId : int16_t {
  kNoSnap = 500,
  kEndPointSnap = 501,
  kOnOutlineSnap = 502,
  kObjectCenterSnap = 503,
  kObjectCornerSnap = 504,
  kIntersectionSnap = 505,
  kPerpendicularSnap = 506,
  kSegmentCenterSnap = 507,
  kSegmentPercentSnap = 508,
  kOriginSnap = 509,
};

// What a press hit, filled by the hit test. Positions are window logical coordinates.
struct ClickInfo {
  uint8_t hit;
  int32_t x, y;
  int16_t shiftState;  // high bit set when Shift was down at the press
  uint8_t pointHit;    // a point, or a whole text block, label or picture
  uint8_t segmentHit;
  uint8_t interiorHit;
  uint8_t handleHit;  // a frame handle of a selected object
  int16_t handle;     // 1 top-left, 2 top-right, 3 bottom-right, 4 bottom-left
  PointRec* point;    // the point hit, or the first point of the segment hit
  PointRec* nextPoint;
  FloatPoint segStart, segEnd;  // zoomed ends of the hit sub-segment of a curve
  float tStart, tEnd;
  ObjectRec* object;
};

extern int16_t gCurTool;          // the current tool; kNoTool when none
extern int16_t gCurSnap;          // the current snap; kNoSnap when none
extern uint8_t gSnapLocked;       // the snap stays after a press
extern uint8_t gPointOrientation; // the whole system selects points rather than objects
extern int16_t gPattern;          // the current fill pattern: 0 none, 11 solid
extern int16_t gSelectIndex;      // which object under the press the hit test reports (1 = top)
extern uint8_t gResetStdTool;     // preference: return to the standard tool after each drag
extern ClickInfo gClickInfo;      // what the last press hit
extern TrackState gTrackState;    // the tracking record of the drag in progress
extern uint16_t gTrackModifiers;  // bit kTrackShift: Shift held during tracking

constexpr uint16_t kTrackShift = 0x04;

inline bool IsEditTool(int tool) { return tool >= kFirstEditTool && tool <= kLastEditTool; }
inline bool IsDrawTool(int tool) { return tool >= kFirstDrawTool && tool <= kLastDrawTool; }
inline bool IsDimTool(int tool) { return tool >= kFirstDimTool && tool <= kLastDimTool; }
