// The snap tools' arithmetic. Cursor positions and the hit test's segment pieces are window
// units (page units times the zoom); every result is page units.
#include "tools/snaphdlr.h"

#include <cmath>

#include "geometry/geometry.h"
#include "geometry/gnrlmath.h"
#include "geometry/zoomhdlr.h"
#include "model/objstuff.h"
#include "tools/selhndlr.h"
#include "tools/toolhooks.h"
#include "tools/traksupp.h"

namespace {

// Two chords closer to parallel than this (the sine of the angle between them) have no
// crossing worth snapping to: it would lie thousands of pixels away, or nowhere.
constexpr double kParallelSine = 1e-3;
constexpr float kPercent = 100.0f;

bool Report(float x, float y, float* outX, float* outY) {
  if (!std::isfinite(x) || !std::isfinite(y)) return false;
  if (outX) *outX = x;
  if (outY) *outY = y;
  return true;
}

bool ReportPoint(const PointRec* p, float* outX, float* outY) {
  return p && Report(p->x, p->y, outX, outY);
}

bool IsStraight(const PointRec* a, const PointRec* b) {
  return a->outTangentX == 0.0f && a->outTangentY == 0.0f && b->inTangentX == 0.0f && b->inTangentY == 0.0f;
}

bool IsCornerPoint(const PointRec* p) {
  return p->inTangentX == 0.0f && p->inTangentY == 0.0f && p->outTangentX == 0.0f && p->outTangentY == 0.0f;
}

bool IsSegmentHit(const ClickInfo* info) {
  return info->segmentHit && info->point && info->nextPoint;
}

const DocState* CurrentState() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}

// A point of a segment at parameter p: along the chord for a straight segment, on the curve
// otherwise.
FloatPoint SegmentAt(const PointRec* a, const PointRec* b, float p) {
  FloatPoint r;
  if (IsStraight(a, b)) {
    r.x = a->x + (b->x - a->x) * p;
    r.y = a->y + (b->y - a->y) * p;
  } else {
    GetSplineCoordinate(a, b, p, &r.x, &r.y);
  }
  return r;
}

// The segment a point hit stands for: a corner runs to its predecessor (or its successor when
// it is the first), a curve point stands for itself.
void SegmentOfPoint(PointRec* p, PointRec** a, PointRec** b) {
  *a = *b = p;
  if (!IsCornerPoint(p)) return;
  if (p->prevPoint)
    *a = p->prevPoint;
  else if (p->nextPoint)
    *b = p->nextPoint;
}

// A segment that has no direction to be square to: a point paired with itself (except on an
// oval, whose nearest real segment the line tool takes instead), or two points at one place
// joined straight.
bool IsDegenerateSegment(const PointRec* a, const PointRec* b) {
  if (a == b) return !(a->ownerObject && a->ownerObject->kind == kOvalKind);
  return a->x == b->x && a->y == b->y && IsStraight(a, b);
}

}  // namespace

bool SnapEndPoint(ClickInfo* info, float x, float y, int32_t, LayerRec*, float* outX, float* outY) {
  if (!info) return false;
  if (info->pointHit) return ReportPoint(info->point, outX, outY);
  if (IsSegmentHit(info)) {
    const PointRec* a = info->point;
    const PointRec* b = info->nextPoint;
    const float d1 = GetLineLength(x, y, ZoomF(a->x), ZoomF(a->y));
    const float d2 = GetLineLength(x, y, ZoomF(b->x), ZoomF(b->y));
    return ReportPoint(d2 <= d1 ? b : a, outX, outY);
  }
  if (info->handleHit && info->object) {
    const FloatRect& r = info->object->bounds;
    const bool right = info->handle == 2 || info->handle == 3;
    const bool bottom = info->handle == 3 || info->handle == 4;
    return Report(right ? r.right : r.left, bottom ? r.bottom : r.top, outX, outY);
  }
  return false;
}

bool SnapOnSpline(ClickInfo* info, float x, float y, int32_t, LayerRec*, float* outX, float* outY) {
  if (!info) return false;
  if (info->pointHit) return ReportPoint(info->point, outX, outY);
  if (!IsSegmentHit(info)) return false;
  const FloatPoint s = info->segStart, e = info->segEnd;
  const float d1 = GetLineLength(x, y, s.x, s.y);
  const float d2 = GetLineLength(x, y, e.x, e.y);
  const float chord = GetLineLength(s.x, s.y, e.x, e.y);
  // From the nearer end of the piece as far along it as the cursor is from that end, but
  // never past the piece's other end: the result stays on the outline.
  const FloatPoint from = d2 <= d1 ? e : s, to = d2 <= d1 ? s : e;
  float along = d2 <= d1 ? d2 : d1;
  if (along > chord) along = chord;
  const float f = chord > 0.0f ? along / chord : 0.0f;
  return Report(UnzoomF(from.x + (to.x - from.x) * f), UnzoomF(from.y + (to.y - from.y) * f), outX, outY);
}

bool SnapObjectCenter(ClickInfo* info, float, float, int32_t, LayerRec*, float* outX, float* outY) {
  if (!info || !info->object) return false;
  float cx = 0.0f, cy = 0.0f;
  CenterOfObject(info->object, &cx, &cy);
  return Report(cx, cy, outX, outY);
}

bool SnapObjectCorner(ClickInfo* info, float x, float y, int32_t, LayerRec*, float* outX, float* outY) {
  if (!info || !info->object) return false;
  const FloatRect& r = info->object->bounds;
  if (r.left > r.right || r.top > r.bottom) return false;
  const float cx = ZoomF(std::trunc((r.left + r.right) / 2.0f));
  const float cy = ZoomF(std::trunc((r.top + r.bottom) / 2.0f));
  return Report(cx < x ? r.right : r.left, cy < y ? r.bottom : r.top, outX, outY);
}

bool SnapIntersection(ClickInfo* info, float, float, int32_t, LayerRec*, float* outX, float* outY) {
  if (!info) return false;
  const ClickInfo& second = gClickInfo;
  if (info->pointHit) return ReportPoint(info->point, outX, outY);
  if (second.hit && second.pointHit) return ReportPoint(second.point, outX, outY);
  if (!IsSegmentHit(info) || !second.hit || !IsSegmentHit(&second)) return false;
  const FloatPoint a1 = info->segStart, a2 = info->segEnd, b1 = second.segStart, b2 = second.segEnd;
  // Two parallel pieces (or a piece of no length) have no crossing: no snap, rather than a
  // made-up point.
  const double ux = static_cast<double>(a2.x) - a1.x, uy = static_cast<double>(a2.y) - a1.y;
  const double vx = static_cast<double>(b2.x) - b1.x, vy = static_cast<double>(b2.y) - b1.y;
  const double lengths = std::sqrt(ux * ux + uy * uy) * std::sqrt(vx * vx + vy * vy);
  if (!(lengths > 0.0) || std::fabs(ux * vy - uy * vx) <= kParallelSine * lengths) return false;
  float ix = 0.0f, iy = 0.0f;
  GetIntersection(UnzoomF(a1.x), UnzoomF(a1.y), UnzoomF(a2.x), UnzoomF(a2.y), UnzoomF(b1.x), UnzoomF(b1.y),
                  UnzoomF(b2.x), UnzoomF(b2.y), &ix, &iy);
  return Report(ix, iy, outX, outY);
}

bool SnapPerpendicular(ClickInfo* info, float, float, int32_t, LayerRec*, float*, float*) {
  if (!info || HasPerpendicularSegment()) return false;
  PointRec *a = nullptr, *b = nullptr;
  if (info->pointHit && info->point) {
    SegmentOfPoint(info->point, &a, &b);
  } else if (IsSegmentHit(info)) {
    a = info->point;
    b = info->nextPoint;
  }
  if (a && b && !IsDegenerateSegment(a, b)) {
    gPerpStartPtz = a;
    gPerpEndPtz = b;
  }
  return false;
}

bool SnapSplineCenter(ClickInfo* info, float, float, int32_t, LayerRec*, float* outX, float* outY) {
  if (!info || !IsSegmentHit(info)) return false;
  const FloatPoint p = SegmentAt(info->point, info->nextPoint, 0.5f);
  return Report(p.x, p.y, outX, outY);
}

bool SnapSplinePercentage(ClickInfo* info, float, float, int32_t, LayerRec*, float* outX, float* outY) {
  if (!info || !IsSegmentHit(info)) return false;
  const DocState* state = CurrentState();
  float p = static_cast<float>(state ? state->snapPercentage : kDefaultSnapPercentage) / kPercent;
  // A percentage outside 0..100 would land beyond the segment's ends.
  if (p < 0.0f) p = 0.0f;
  if (p > 1.0f) p = 1.0f;
  const FloatPoint r = SegmentAt(info->point, info->nextPoint, p);
  return Report(r.x, r.y, outX, outY);
}

bool SnapOrigin(ClickInfo*, float, float, int32_t, LayerRec*, float* outX, float* outY) {
  const DocState* state = CurrentState();
  return state && Report(state->originH, state->originV, outX, outY);
}

bool SnapPoint(ClickInfo* info, float x, float y, int32_t toolAndSnap, LayerRec* first, float* outX,
               float* outY) {
  typedef bool (*Snap)(ClickInfo*, float, float, int32_t, LayerRec*, float*, float*);
  static const Snap kSnaps[] = {SnapEndPoint,     SnapOnSpline,         SnapObjectCenter,
                                SnapObjectCorner, SnapIntersection,     SnapPerpendicular,
                                SnapSplineCenter, SnapSplinePercentage, SnapOrigin};
  const int16_t snap = SnapOfCode(toolAndSnap);
  if (snap <= kNoSnap || snap > kOriginSnap) return false;
  if (snap != kOriginSnap && !(info && info->hit)) return false;
  return kSnaps[snap - kEndPointSnap](info, x, y, toolAndSnap, first, outX, outY);
}

void ClearPerpendicularSnap() {
  gPerpStartPtz = gPerpEndPtz = nullptr;
  gPerpAtStart = 0;
}

bool HasPerpendicularSegment() {
  return gPerpStartPtz && gPerpEndPtz;
}

FloatPoint PerpendicularStart(float x, float y) {
  const PointRec* a = gPerpStartPtz;
  const PointRec* b = gPerpEndPtz;
  FloatPoint r = {x, y};
  if (!a || !b) return r;
  if (a != b && IsStraight(a, b)) {
    GetPerpIntersection(a->x, a->y, b->x, b->y, x, y, &r.x, &r.y);
    return r;
  }
  ObjectRec* owner = a->ownerObject;
  if (owner && owner->kind == kOvalKind) {
    PointRec *na = nullptr, *nb = nullptr;
    GetClosestSpline(owner, x, y, &na, &nb);
    if (na && nb) a = na, b = nb;
  }
  FloatPoint q1 = r, q2 = r;
  GetClosestSegment(a, b, x, y, &q1, &q2);
  if (q1.x == q2.x && q1.y == q2.y) return q1;
  GetPerpIntersection(q1.x, q1.y, q2.x, q2.y, x, y, &r.x, &r.y);
  return r;
}

int16_t NextSnapTool(int16_t snap) {
  if (snap >= kOriginSnap || snap < kNoSnap) return kNoSnap;
  return static_cast<int16_t>(snap + 1);
}

bool SelectSnapTool(int16_t snap, bool locked) {
  return gToolHooks.selectSnapTool && gToolHooks.selectSnapTool(snap, locked);
}

bool SnapToolChange(int) {
  if (!gChangeSnapOK) return false;
  return SelectSnapTool(NextSnapTool(gCurSnap), gSnapLocked != 0);
}

bool CycleSnapTool() {
  const uint8_t saved = gChangeSnapOK;
  gChangeSnapOK = 1;
  const bool changed = SnapToolChange(0);
  gChangeSnapOK = saved;
  return changed;
}

void ResetSnapTool() {
  if (gSnapLocked || gCurSnap == kNoSnap) return;
  // Without a Snap toolbox there is no highlight to move, but the snap still lasts one press.
  if (!SelectSnapTool(kNoSnap, false)) gCurSnap = kNoSnap;
}
