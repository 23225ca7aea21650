// Hit testing and selection by click and by marquee. Window positions are the drawing pane's
// logical coordinates: page units times the zoom; the scroll lives in the window origin.
#include "tools/selhndlr.h"
#include "tools/toolhooks.h"

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "geometry/gnrlmath.h"
#include "geometry/zoomhdlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "tools/selindex.h"

int32_t gObjectCount = 0;
uint8_t gOverload = 0;
SelectionHooks gSelectionHooks = {};

void InvalidatePageRect(const FloatRect* rect, int pixels) {
  if (gSelectionHooks.invalidatePageRect && rect && !IsEmptyRect(rect))
    gSelectionHooks.invalidatePageRect(rect, pixels);
}

void RefreshDrawing() {
  if (gSelectionHooks.refreshDrawing) gSelectionHooks.refreshDrawing();
}

bool ToolIsPointOriented(int tool, const ObjectRec* object) {
  if (!object || tool < 1) return gPointOrientation != 0;
  const bool pointTool =
      tool == kPointTool || tool == kFilletTool || tool == kChamferTool || gPointOrientation;
  return pointTool && object->kind != kArcKind;
}

bool CurrentToolIsPointOriented() {
  return ToolIsPointOriented(-1, nullptr);
}

int PickRadius() {
  int radius = kDefaultPickRadius;
  if (gCurDocument && gCurDocument->docState) radius = gCurDocument->docState->snapSensitivity;
  return radius < kMinPickRadius ? kMinPickRadius : radius;
}

namespace {

// Kind 301 has no builder; when one is read it is treated as a box like a picture.
constexpr int16_t kBoxKind301 = 301;
// Objects of kind 301 are picked a little outside their stored bounds.
constexpr float kBoxKindMargin = 2.0f;

// A page coordinate in window units: zoomed and truncated toward zero, clamped to 32 bits.
int32_t Screen(float v) {
  const float z = ZoomF(v);
  constexpr float kLimit = 2147483520.0f;
  if (!(z > -kLimit)) return z != z ? 0 : INT32_MIN;
  if (z >= kLimit) return INT32_MAX;
  return static_cast<int32_t>(z);
}

bool Inside(int64_t x, int64_t y, int64_t left, int64_t top, int64_t right, int64_t bottom) {
  return x >= left && x <= right && y >= top && y <= bottom;
}

bool IsWholeBoxKind(int kind) {
  return kind == kTextBlockKind || kind == kDimensionTextKind || kind == kMetaFileKind || kind == kBoxKind301;
}

void ClearHit(ClickInfo* info) {
  info->hit = 0;
  info->pointHit = info->segmentHit = info->interiorHit = info->handleHit = 0;
  info->handle = 0;
  info->point = info->nextPoint = nullptr;
  info->segStart = info->segEnd = FloatPoint{0.0f, 0.0f};
  info->tStart = info->tEnd = 0.0f;
  info->object = nullptr;
}

bool AnyPointDetectable(const ObjectRec* object) {
  for (const PointRec* p = object->firstPoint; p; p = p->nextPoint)
    if (p->detectable) return true;
  for (const ObjectRec* c = object->firstChild; c; c = c->nextObject)
    if (AnyPointDetectable(c)) return true;
  return false;
}

// Distance from (px, py) to the segment a-b, all in window units.
double DistanceToChord(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0.0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
  if (t < 0.0) t = 0.0;
  if (t > 1.0) t = 1.0;
  const double ex = ax + t * dx - px, ey = ay + t * dy - py;
  return std::sqrt(ex * ex + ey * ey);
}

// The next outline point after p: markers (fillet markers, arc centres) are passed over.
PointRec* NextOutlinePoint(PointRec* p) {
  for (p = p ? p->nextPoint : nullptr; p; p = p->nextPoint)
    if (!IsMarkerPointKind(p->pointKind)) return p;
  return nullptr;
}

PointRec* FirstOutlinePoint(ObjectRec* object) {
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint)
    if (!IsMarkerPointKind(p->pointKind)) return p;
  return nullptr;
}

// Whether the press lies within the object's zoomed bounds grown by `grow` pixels.
bool InZoomedBounds(const FloatRect& b, const ClickInfo* info, int grow) {
  if (b.left > b.right || b.top > b.bottom) return false;
  return Inside(info->x, info->y, int64_t{Screen(b.left)} - grow, int64_t{Screen(b.top)} - grow,
                int64_t{Screen(b.right)} + grow, int64_t{Screen(b.bottom)} + grow);
}

// Tries a segment and, on a hit near one of its detectable ends, turns it into that point's hit.
// Returns 2 for a point hit, 1 for a segment hit, 0 for none.
int TrySegment(PointRec* a, PointRec* b, ObjectRec* object, ClickInfo* info, int pen) {
  if (!a->detectable && !b->detectable) return 0;
  ClickInfo probe = *info;
  if (!SearchObjectSpline(a, b, &probe, pen, pen)) return 0;
  for (PointRec* end : {a, b}) {
    if (end->detectable && SearchPoint(end, info, pen, pen)) {
      info->pointHit = 1;
      info->point = end;
      info->object = object;
      return 2;
    }
  }
  info->segmentHit = 1;
  info->point = a;
  info->nextPoint = b;
  info->object = object;
  info->segStart = probe.segStart;
  info->segEnd = probe.segEnd;
  info->tStart = probe.tStart;
  info->tEnd = probe.tEnd;
  return 1;
}

}  // namespace

bool SearchPoint(PointRec* point, ClickInfo* info, int32_t dx, int32_t dy) {
  if (!point || !info) return false;
  const int r = PickRadius();
  const int64_t px = Screen(point->x), py = Screen(point->y);
  return Inside(info->x, info->y, px - r - dx, py - r - dy, px + r + dx, py + r + dy);
}

bool SearchObjectSpline(PointRec* p1, PointRec* p2, ClickInfo* info, int32_t dx, int32_t dy) {
  if (!p1 || !p2 || !info) return false;
  const int grow = PickRadius() - 1;
  const PointRec a = ZoomPoinz(p1), b = ZoomPoinz(p2);
  IntRect box;
  GetSplineBounds(a.x, a.outTangentX, b.inTangentX, b.x, a.y, a.outTangentY, b.inTangentY, b.y, &box);
  if (!Inside(info->x, info->y, int64_t{box.left} - grow - dx, int64_t{box.top} - grow - dy,
              int64_t{box.right} + grow + dx, int64_t{box.bottom} + grow + dy))
    return false;
  // Samples at i / n for i = 0..n; each piece between two samples is tested as a box grown by the
  // tolerance, and the press must also lie within the tolerance of the piece itself, so a long
  // slanted piece does not catch presses far beside it.
  const int n = CurrentCurveSmoothness();
  float ax, bx, cx, ddx, ay, by, cy, ddy;
  SetupSpline(a.x, a.outTangentX, b.x, b.inTangentX, &ax, &bx, &cx, &ddx);
  SetupSpline(a.y, a.outTangentY, b.y, b.inTangentY, &ay, &by, &cy, &ddy);
  const double reach = grow + (dx > dy ? dx : dy) + 1.0;
  float prevX = a.x, prevY = a.y, prevT = 0.0f;
  for (int i = 1; i <= n; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(n);
    const float t2 = t * t, t3 = t2 * t;
    const float x = GetSplineCoord(ax, bx, cx, ddx, t, t2, t3);
    const float y = GetSplineCoord(ay, by, cy, ddy, t, t2, t3);
    const int64_t x0 = static_cast<int64_t>(std::fmin(prevX, x)),
                  x1 = static_cast<int64_t>(std::fmax(prevX, x));
    const int64_t y0 = static_cast<int64_t>(std::fmin(prevY, y)),
                  y1 = static_cast<int64_t>(std::fmax(prevY, y));
    if (Inside(info->x, info->y, x0 - grow - dx, y0 - grow - dy, x1 + grow + dx, y1 + grow + dy) &&
        DistanceToChord(info->x, info->y, prevX, prevY, x, y) <= reach) {
      info->segStart = FloatPoint{prevX, prevY};
      info->segEnd = FloatPoint{x, y};
      info->tStart = prevT;
      info->tEnd = t;
      return true;
    }
    prevX = x;
    prevY = y;
    prevT = t;
  }
  return false;
}

bool SearchSplinesInObject(ObjectRec* object, ClickInfo* info) {
  if (!object || !info) return false;
  const int pen = GetPenAllowance(object, true);
  ClickInfo segment = *info;
  bool segmentFound = false;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint) {
    if (p->detectable && SearchPoint(p, info, pen, pen)) {
      info->pointHit = 1;
      info->point = p;
      info->object = object;
      return true;
    }
    if (segmentFound || IsMarkerPointKind(p->pointKind)) continue;
    PointRec* next = NextOutlinePoint(p);
    if (!next) continue;
    const int found = TrySegment(p, next, object, &segment, pen);
    if (found == 2) {
      *info = segment;
      return true;
    }
    segmentFound = found == 1;
  }
  if (!segmentFound && object->closed) {
    PointRec* first = FirstOutlinePoint(object);
    PointRec* last = nullptr;
    for (PointRec* p = first; p; p = NextOutlinePoint(p)) last = p;
    if (first && last && last != first) {
      const int found = TrySegment(last, first, object, &segment, pen);
      if (found == 2) {
        *info = segment;
        return true;
      }
      segmentFound = found == 1;
    }
  }
  if (segmentFound) *info = segment;
  return segmentFound;
}

bool IsInsideScreenPolygon(const ObjectRec* object, int32_t x, int32_t y) {
  if (!object || !object->screenPoly || object->screenPolyCount < 3) return false;
  // Even-odd crossings of a ray to the right, sampled at the pixel's centre as a filled region
  // covers it.
  const double px = x + 0.5, py = y + 0.5;
  const ScreenPoint* v = object->screenPoly;
  const int32_t n = object->screenPolyCount;
  bool inside = false;
  for (int32_t i = 0, j = n - 1; i < n; j = i++) {
    const double yi = v[i].y, yj = v[j].y;
    if ((yi > py) == (yj > py)) continue;
    const double xCross = v[j].x + (py - yj) * (static_cast<double>(v[i].x) - v[j].x) / (yi - yj);
    if (px < xCross) inside = !inside;
  }
  return inside;
}

namespace {

// The outline a paint owes (it left the shape out) is made when a click needs it.
bool HasHitOutline(ObjectRec* object) {
  if (object->screenPolyCount == kHitOutlineOwed) MakeHitOutline(object);
  return object->screenPoly != nullptr;
}

}  // namespace

bool SelectFromObject(ObjectRec* object, ClickInfo* info, bool selectedOnly) {
  if (!object || !info) return false;
  FloatRect b = object->bounds;
  if (object->kind == kBoxKind301) {
    b.top -= kBoxKindMargin;
    b.left -= kBoxKindMargin;
    b.bottom += kBoxKindMargin;
    b.right += kBoxKindMargin;
  }
  const int pen = GetPenAllowance(object, true);
  if (InZoomedBounds(b, info, PickRadius() - 1 + pen)) {
    if (IsWholeBoxKind(object->kind)) {
      if (object->firstPoint && object->firstPoint->detectable) {
        info->pointHit = 1;
        info->point = object->firstPoint;
        info->object = object;
        return true;
      }
    } else if (SearchSplinesInObject(object, info)) {
      return true;
    } else if (!selectedOnly && HasHitOutline(object) && AnyPointDetectable(object) &&
               IsInsideScreenPolygon(object, info->x, info->y)) {
      info->interiorHit = 1;
      info->object = object;
      return true;
    }
  }
  for (ObjectRec* child = object->firstChild; child; child = child->nextObject)
    if (SelectFromObject(child, info, selectedOnly)) return true;
  return false;
}

namespace {

bool TryFrameHandles(ObjectRec* object, ClickInfo* info) {
  const FloatRect& b = object->bounds;
  if (b.left > b.right || b.top > b.bottom) return false;
  const int64_t corners[4][2] = {{Screen(b.left), Screen(b.top)},
                                 {Screen(b.right), Screen(b.top)},
                                 {Screen(b.right), Screen(b.bottom)},
                                 {Screen(b.left), Screen(b.bottom)}};
  for (int i = 0; i < 4; ++i) {
    const int64_t cx = corners[i][0], cy = corners[i][1];
    if (Inside(info->x, info->y, cx - kHandleHalfSize, cy - kHandleHalfSize, cx + kHandleHalfSize,
               cy + kHandleHalfSize)) {
      info->handleHit = 1;
      info->handle = static_cast<int16_t>(i + 1);
      info->object = object;
      return true;
    }
  }
  return false;
}

// A cheap first test: nothing of the object can be hit outside its bounds grown by the largest
// reach of any test (pick radius, pen, handle squares).
bool MayBeHit(const ObjectRec* object, const ClickInfo* info, int reach) {
  FloatRect b = object->bounds;
  if (b.left > b.right || b.top > b.bottom) return object->firstChild != nullptr;
  return InZoomedBounds(b, info, reach + kBoxKindMargin + GetPenAllowance(object, true));
}

}  // namespace

namespace {

// How far beyond its bounds, in pixels, a press may still find something of an object.
int HitReach() {
  const int radius = PickRadius();
  return radius > kHandleHalfSize ? radius : kHandleHalfSize + 1;
}

// One object of a layer's topmost-first walk; true when it was hit (the hit fields are filled).
bool TryObject(ObjectRec* object, ClickInfo* info, bool selectedOnly, int reach) {
  if (!MayBeHit(object, info, reach)) return false;
  const bool selected = IsObjectSelected(object);
  if (gCurTool == kTrimTool && !selected) return false;
  if (!selected || ToolIsPointOriented(gCurTool, object))
    return (!selectedOnly || selected) && SelectFromObject(object, info, selectedOnly);
  if (TryFrameHandles(object, info)) return true;
  return !selectedOnly && SelectFromObject(object, info, selectedOnly);
}

// The layer's hits are counted: only the gSelectIndex-th one is kept.
bool KeepHit(ClickInfo* info, int* counter) {
  if (*counter != gSelectIndex) {
    ClearHit(info);
    ++*counter;
    return false;
  }
  info->hit = 1;
  return true;
}

// The page rectangle around a window position that holds everything within `pixels` of it.
FloatRect PageAreaAround(int64_t left, int64_t top, int64_t right, int64_t bottom, int pixels, bool* ok) {
  const float zoom = CurrentZoom();
  *ok = zoom > 0.0f && std::isfinite(zoom);
  // Truncation and pen rounding move things by less than a pixel each; two more cover them.
  const double grow = (pixels + 2.0) / (*ok ? zoom : 1.0f);
  return FloatRect{static_cast<float>(top / zoom - grow), static_cast<float>(left / zoom - grow),
                   static_cast<float>(bottom / zoom + grow), static_cast<float>(right / zoom + grow)};
}

std::vector<IndexCandidate> gCandidates;  // reused by every query

}  // namespace

bool SelectFromLayer(LayerRec* layer, ClickInfo* info, bool selectedOnly) {
  if (!layer || !info || !layer->visible) return false;
  ObjectRec* last = layer->firstObject;
  while (last && last->nextObject) last = last->nextObject;
  const int reach = HitReach();
  int counter = 1;
  for (ObjectRec* object = last; object; object = object->prevObject)
    if (TryObject(object, info, selectedOnly, reach) && KeepHit(info, &counter)) return true;
  return false;
}

bool SelectFromAllLayers(LayerRec* firstLayer, ClickInfo* info, bool selectedOnly) {
  if (!info) return false;
  const int reach = HitReach();
  bool zoomOk = false;
  const FloatRect area = PageAreaAround(info->x, info->y, info->x, info->y,
                                        reach + static_cast<int>(kBoxKindMargin) + 1, &zoomOk);
  if (zoomOk && QuerySelectionIndex(firstLayer, area, &gCandidates)) {
    // The grid's objects in list order, walked backwards: topmost layer and object first.
    LayerRec* layer = nullptr;
    int counter = 1;
    for (size_t i = gCandidates.size(); i-- > 0;) {
      const IndexCandidate& c = gCandidates[i];
      if (c.layer != layer) {
        layer = c.layer;
        counter = 1;
      }
      if (layer->visible && TryObject(c.object, info, selectedOnly, reach) && KeepHit(info, &counter))
        return true;
    }
    return false;
  }
  LayerRec* last = firstLayer;
  while (last && last->nextLayer) last = last->nextLayer;
  for (LayerRec* layer = last; layer; layer = layer->prevLayer)
    if (SelectFromLayer(layer, info, selectedOnly)) return true;
  return false;
}

// ---- Click selection ----

namespace {

void RedrawObject(const ObjectRec* object, bool redraw) {
  if (!redraw || !object) return;
  InvalidatePageRect(&object->bounds, kHandleHalfSize + 2);
}

}  // namespace

bool SpecialSelectPoint(PointRec* point, uint8_t mode) {
  if (!point) return false;
  const PointRec before = *point;
  switch (mode) {
    case kSelectMode:
      if (point->detectable) point->selected = 1;
      break;
    case kDeselectMode:
      point->selected = 0;
      break;
    case kToggleMode:
      if (point->selected)
        point->selected = 0;
      else if (point->detectable)
        point->selected = 1;
      break;
    case kDetectMode:
      point->detectable = 1;
      break;
    case kHideMode:
      if (point->selected) {
        point->selected = 0;
        point->detectable = 0;
      }
      break;
    case kLockMode:
      if (point->selected) point->locked = 1;
      break;
    case kUnlockMode:
      if (point->selected) point->locked = 0;
      break;
    default:
      break;
  }
  return before.selected != point->selected || before.detectable != point->detectable ||
         before.locked != point->locked;
}

void SelectPoint(PointRec* point, uint8_t mode, bool redraw) {
  if (SpecialSelectPoint(point, mode) && redraw && point->ownerObject) {
    FloatRect r = {point->y, point->x, point->y, point->x};
    InvalidatePageRect(&r, kHandleHalfSize + 2);
  }
}

bool DoSelectObjectPoints(ObjectRec* object, uint8_t mode) {
  if (!object) return false;
  bool changed = false;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint) changed |= SpecialSelectPoint(p, mode);
  for (ObjectRec* c = object->firstChild; c; c = c->nextObject) changed |= DoSelectObjectPoints(c, mode);
  return changed;
}

namespace {

// One flag of every point of the object and, recursively, of its members.
void SetPointFlags(ObjectRec* object, uint8_t PointRec::*flag, uint8_t value) {
  if (!object) return;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint) p->*flag = value;
  for (ObjectRec* c = object->firstChild; c; c = c->nextObject) SetPointFlags(c, flag, value);
}

}  // namespace

void SetObjectSelectFlags(ObjectRec* object, uint8_t value) {
  SetPointFlags(object, &PointRec::selected, value);
}

void SetObjectDetectionFlags(ObjectRec* object, uint8_t value) {
  SetPointFlags(object, &PointRec::detectable, value);
}

void SetObjectLockFlags(ObjectRec* object, uint8_t value) {
  SetPointFlags(object, &PointRec::locked, value);
}

bool DoSelectObject(ObjectRec* object, uint8_t mode) {
  if (!object) return false;
  const bool selected = IsObjectSelected(object);
  switch (mode) {
    case kSelectMode:
      if (IsObjectUndetectable(object)) return false;
      if (selected) {
        // Partly selected (points): the whole object becomes selected.
        return DoSelectObjectPoints(object, kSelectMode);
      }
      SetObjectSelectFlags(object, 1);
      return true;
    case kDeselectMode:
      if (!selected) return false;
      SetObjectSelectFlags(object, 0);
      return true;
    case kToggleMode:
      if (selected) {
        SetObjectSelectFlags(object, 0);
        return true;
      }
      if (IsObjectUndetectable(object)) return false;
      SetObjectSelectFlags(object, 1);
      return true;
    case kDetectMode:
      if (!IsObjectUndetectable(object)) return false;
      SetObjectDetectionFlags(object, 1);
      return true;
    case kHideMode:
      if (!selected) return false;
      SetObjectSelectFlags(object, 0);
      SetObjectDetectionFlags(object, 0);
      return true;
    case kLockMode:
      if (!selected) return false;
      SetObjectLockFlags(object, 1);
      return true;
    case kUnlockMode:
      if (!selected) return false;
      SetObjectLockFlags(object, 0);
      return true;
    default:
      return false;
  }
}

bool SpecialSelectObject(ObjectRec* object, uint8_t mode) {
  if (!object) return false;
  if (ToolIsPointOriented(gCurTool, object) || object->kind == kLineKind)
    return DoSelectObjectPoints(object, mode);
  return DoSelectObject(object, mode);
}

void SelectObj(ObjectRec* object, uint8_t mode, bool redraw) {
  if (SpecialSelectObject(object, mode)) RedrawObject(object, redraw);
}

void SelectLayer(LayerRec* layer, uint8_t mode, bool redraw) {
  if (!layer || !layer->visible) return;
  for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
    SelectObj(object, mode, redraw);
}

void SelectAllLayers(LayerRec* firstLayer, uint8_t mode, bool redraw) {
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer) SelectLayer(layer, mode, redraw);
}

namespace {

// Points of a plain shape may be picked one by one; grouped objects, text, labels and pictures
// are always taken whole.
bool PointsSelectable(const ObjectRec* object) {
  return ToolIsPointOriented(gCurTool, object) && !object->parent && !IsWholeBoxKind(object->kind);
}

}  // namespace

void SelectObjectPoint(PointRec* point, ObjectRec* object, uint8_t mode, bool redraw) {
  if (!point || !object) return;
  if (PointsSelectable(object))
    SelectPoint(point, mode, redraw);
  else
    SelectObj(GetRootObject(object), mode, redraw);
}

void SelectObjectSpline(PointRec* p1, PointRec* p2, ObjectRec* object, uint8_t mode, bool redraw) {
  if (!p1 || !p2 || !object) return;
  if (PointsSelectable(object)) {
    // Toggling a segment follows its first end, so both ends end up alike.
    uint8_t second = mode;
    if (mode == kToggleMode) second = p1->selected ? kDeselectMode : kSelectMode;
    SelectPoint(p1, second, redraw);
    SelectPoint(p2, second, redraw);
  } else {
    SelectObj(GetRootObject(object), mode, redraw);
  }
}

// ---- Marquee ----

namespace {

bool PointInRect(const PointRec* point, const IntRect* r) {
  return Inside(Screen(point->x), Screen(point->y), r->left, r->top, r->right, r->bottom);
}

constexpr int kMarqueeGrow = 2;

}  // namespace

bool SelectPointInRect(PointRec* point, const IntRect* rect, uint8_t mode, bool redraw) {
  if (!point || !rect || !PointInRect(point, rect)) return false;
  SelectPoint(point, mode, redraw);
  return true;
}

namespace {

// Returns true when the visit took the whole top-level object, which ends it.
bool VisitObjectInRect(ObjectRec* object, const IntRect* rect, uint8_t mode, bool redraw) {
  const FloatRect& b = object->bounds;
  const bool meets = b.left <= b.right && b.top <= b.bottom &&
                     int64_t{Screen(b.left)} - kMarqueeGrow <= rect->right &&
                     int64_t{Screen(b.right)} + kMarqueeGrow >= rect->left &&
                     int64_t{Screen(b.top)} - kMarqueeGrow <= rect->bottom &&
                     int64_t{Screen(b.bottom)} + kMarqueeGrow >= rect->top;
  if (meets) {
    const bool whole = !PointsSelectable(object);
    for (PointRec* p = object->firstPoint; p; p = p->nextPoint) {
      if (!PointInRect(p, rect)) continue;
      if (whole) {
        SelectObj(GetRootObject(object), mode, redraw);
        return true;
      }
      SelectPoint(p, mode, redraw);
    }
  }
  if (!meets && !object->firstChild) return false;
  for (ObjectRec* child = object->firstChild; child; child = child->nextObject)
    if (VisitObjectInRect(child, rect, mode, redraw)) return true;
  return false;
}

}  // namespace

void SelectObjectInRect(ObjectRec* object, const IntRect* rect, uint8_t mode, bool redraw) {
  if (object && rect) VisitObjectInRect(object, rect, mode, redraw);
}

namespace {

bool MarqueeIsPointOriented() {
  return ToolIsPointOriented(gCurTool, nullptr) || gCurTool == kPointTool || gCurTool == kFilletTool ||
         gCurTool == kChamferTool;
}

// Whether an object with these bounds lies wholly inside the marquee, as an object tool takes it.
bool WithinMarquee(const FloatRect& b, const IntRect* rect) {
  return b.left <= b.right && b.top <= b.bottom && int64_t{Screen(b.left)} - kMarqueeGrow >= rect->left &&
         int64_t{Screen(b.right)} + kMarqueeGrow <= rect->right &&
         int64_t{Screen(b.top)} - kMarqueeGrow >= rect->top &&
         int64_t{Screen(b.bottom)} + kMarqueeGrow <= rect->bottom;
}

void MarqueeObject(ObjectRec* object, const IntRect* rect, uint8_t mode, bool redraw, bool pointTool) {
  if (pointTool) {
    SelectObjectInRect(object, rect, mode, redraw);
    return;
  }
  if (WithinMarquee(object->bounds, rect)) SelectObj(object, mode, redraw);
}

}  // namespace

void SelectLayerInRect(LayerRec* layer, const IntRect* rect, uint8_t mode, bool redraw) {
  if (!layer || !rect || !layer->visible) return;
  const bool pointTool = MarqueeIsPointOriented();
  for (ObjectRec* object = layer->firstObject; object; object = object->nextObject)
    MarqueeObject(object, rect, mode, redraw, pointTool);
}

void SelectAllLayersInRect(LayerRec* firstLayer, const IntRect* rect, uint8_t mode, bool redraw) {
  if (!rect) return;
  IntRect r = *rect;
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  bool zoomOk = false;
  const FloatRect area = PageAreaAround(r.left, r.top, r.right, r.bottom, kMarqueeGrow, &zoomOk);
  if (zoomOk && QuerySelectionIndex(firstLayer, area, &gCandidates)) {
    const bool pointTool = MarqueeIsPointOriented();
    for (const IndexCandidate& c : gCandidates) {
      // The grid's copy of the bounds answers an object tool without reading the object.
      if (!c.layer->visible || (!pointTool && !WithinMarquee(c.bounds, &r))) continue;
      MarqueeObject(c.object, &r, mode, redraw, pointTool);
    }
    return;
  }
  for (LayerRec* layer = firstLayer; layer; layer = layer->nextLayer)
    SelectLayerInRect(layer, &r, mode, redraw);
}

// ---- Nearest segment ----

void GetClosestSpline(ObjectRec* object, float x, float y, PointRec** a, PointRec** b) {
  if (a) *a = nullptr;
  if (b) *b = nullptr;
  if (!object || !object->firstPoint || !a || !b) return;
  PointRec* nearest = nullptr;
  PointRec* last = nullptr;
  float best = 32000.0f;
  for (PointRec* p = object->firstPoint; p; p = p->nextPoint) {
    const float d = GetLineLength(x, y, p->x, p->y);
    if (d < best) {
      best = d;
      nearest = p;
    }
    last = p;
  }
  if (!nearest) nearest = object->firstPoint;
  PointRec* prev = nearest->prevPoint ? nearest->prevPoint : last;
  PointRec* next = nearest->nextPoint ? nearest->nextPoint : object->firstPoint;
  if (GetLineLength(x, y, next->x, next->y) <= GetLineLength(x, y, prev->x, prev->y)) {
    *a = nearest;
    *b = next;
  } else {
    *a = prev;
    *b = nearest;
  }
}

void GetClosestSegment(const PointRec* a, const PointRec* b, float x, float y, FloatPoint* q1,
                       FloatPoint* q2) {
  if (!a || !b || !q1 || !q2) return;
  if (a->outTangentX == 0.0f && a->outTangentY == 0.0f && b->inTangentX == 0.0f && b->inTangentY == 0.0f) {
    float fx = a->x, fy = a->y;
    GetPerpIntersection(a->x, a->y, b->x, b->y, x, y, &fx, &fy);
    *q1 = *q2 = FloatPoint{fx, fy};
    return;
  }
  const int steps = (gCurDocument && gCurDocument->docState) ? 5 * CurrentCurveSmoothness() : 8;
  const float step = 1.0f / static_cast<float>(steps);
  auto at = [&](float t) {
    FloatPoint p;
    GetSplineCoordinate(a, b, t, &p.x, &p.y);
    return p;
  };
  float bestT = 0.0f, best = 1e30f;
  // Integer steps up to the sampling limit: t = i / steps while t <= 1.01.
  for (int i = 0;; ++i) {
    const float t = static_cast<float>(i) * step;
    if (t > kSamplingLimit) break;
    const FloatPoint p = at(t);
    const float d = GetLineLength(x, y, p.x, p.y);
    if (d < best) {
      best = d;
      bestT = t;
    }
  }
  float early = bestT - step, later = bestT + step;
  if (early < 0.0f) early = bestT + step;
  if (later > kSamplingLimit) later = bestT - step;
  const FloatPoint nearest = at(bestT), e = at(early), l = at(later);
  if (GetLineLength(x, y, l.x, l.y) <= GetLineLength(x, y, e.x, e.y)) {
    *q1 = nearest;
    *q2 = l;
  } else {
    *q1 = e;
    *q2 = nearest;
  }
}
