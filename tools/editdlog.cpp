// The editing tools' typed transforms: world units to page units, factors, shears and angles,
// and their application to the selection with its undo record.
#include "tools/editdlog.h"

#include <cmath>

#include "geometry/gnrlmath.h"
#include "geometry/units.h"
#include "model/objstuff.h"
#include "tools/selhndlr.h"
#include "tools/toolhooks.h"
#include "tools/traksupp.h"
#include "tools/undo.h"

namespace {

constexpr float kYUpward = -1.0f;  // the user sees y growing upward
constexpr EditEntryCheck kAccepted = {kEntryOk, 0};

float PageLength(float world, const DocState* state) {
  return ConvertWorldToScreen(world, state, false);
}

bool Finite(float a, float b) {
  return std::isfinite(a) && std::isfinite(b);
}

FloatPoint Centre(const FloatRect& b) {
  return {(b.left + b.right) / 2.0f, (b.top + b.bottom) / 2.0f};
}

FloatPoint AnchorPoint(const FloatRect& b, int anchor) {
  switch (anchor) {
    case kResizeLowerLeft:
      return {b.left, b.bottom};
    case kResizeUpperRight:
      return {b.right, b.top};
    case kResizeLowerRight:
      return {b.right, b.bottom};
    case kResizeCenter:
      return Centre(b);
    default:
      return {b.left, b.top};
  }
}

// One axis of a resize: the factor for a percentage, or for a target size against the
// selection's extent on that axis.
EditEntryFault AxisFactor(bool bySize, float typed, float extent, const DocState* state, float* factor) {
  if (!bySize) {
    *factor = typed / 100.0f;
  } else {
    const float target = std::fabs(PageLength(typed, state));
    if (!std::isfinite(target)) return kEntryTooLarge;
    if (extent <= 0.0f) {
      // Nothing to scale: only "keep it as it is" can be honoured.
      if (target != 0.0f) return kEntryNoExtent;
      *factor = 1.0f;
      return kEntryOk;
    }
    *factor = target / extent;
  }
  if (*factor == 0.0f) return kEntryZero;
  if (!std::isfinite(*factor) || !std::isfinite(extent * *factor)) return kEntryTooLarge;
  return kEntryOk;
}

// A transform whose walk would leave every point where it is.
bool ChangesNothing(int op, const TransformRec& r) {
  switch (op) {
    case kOpTranslate:
      return r.dx == 0.0f && r.dy == 0.0f;
    case kOpScale:
      return r.scaleX == 1.0f && r.scaleY == 1.0f;
    case kOpShear:
      return r.shearStartX == r.shearEndX && r.shearStartY == r.shearEndY;
    case kOpRotate:
      return r.angle == 0.0f;
    default:
      return true;
  }
}

}  // namespace

EditEntryCheck RelocateOffset(bool polar, float first, float second, const DocState* state, FloatPoint* out) {
  FloatPoint d = {0.0f, 0.0f};
  if (polar) {
    const float angle = static_cast<float>(first * kDialogDegreesToRadians);
    GetPointFromLengthAndAngle(angle, PageLength(second, state), &d.x, &d.y);
  } else {
    d = {PageLength(first, state), PageLength(second, state) * kYUpward};
  }
  if (!Finite(d.x, d.y)) return {kEntryTooLarge, polar ? 1 : (std::isfinite(d.x) ? 1 : 0)};
  *out = d;
  return kAccepted;
}

EditEntryCheck ComputeResize(bool bySize, float first, float second, int anchor, const FloatRect& bounds,
                             const DocState* state, TransformRec* out) {
  float sx = 1.0f, sy = 1.0f;
  if (EditEntryFault f = AxisFactor(bySize, first, bounds.right - bounds.left, state, &sx)) return {f, 0};
  if (EditEntryFault f = AxisFactor(bySize, second, bounds.bottom - bounds.top, state, &sy)) return {f, 1};
  const FloatPoint fixed = AnchorPoint(bounds, anchor);
  *out = TransformRec{};
  out->scaleX = sx;
  out->scaleY = sy;
  out->centerX = fixed.x;
  out->centerY = fixed.y;
  return kAccepted;
}

EditEntryCheck ComputeSkew(float distance, int direction, const FloatRect& bounds, const DocState* state,
                           TransformRec* out) {
  const float d = std::fabs(PageLength(distance, state));
  if (!std::isfinite(d)) return {kEntryTooLarge, 0};
  const FloatPoint c = Centre(bounds);
  const bool horizontal = direction == kSkewLeft || direction == kSkewRight;
  const float extent = horizontal ? bounds.bottom - bounds.top : bounds.right - bounds.left;
  if (d != 0.0f && extent <= 0.0f) return {kEntryNoExtent, 0};
  *out = TransformRec{};
  out->scaleX = out->scaleY = 1.0f;
  out->centerX = c.x;
  out->centerY = c.y;
  if (horizontal) {
    out->shearStartX = c.x;
    out->shearStartY = bounds.top;
    out->shearEndX = c.x + (direction == kSkewLeft ? -d : d);
    out->shearEndY = bounds.top;
  } else {
    // Up on the page is toward smaller y.
    out->shearStartX = bounds.right;
    out->shearStartY = c.y;
    out->shearEndX = bounds.right;
    out->shearEndY = c.y + (direction == kSkewUp ? -d : d);
  }
  if (!Finite(out->shearEndX, out->shearEndY)) return {kEntryTooLarge, 0};
  return kAccepted;
}

TransformRec ComputeRotate(float angle, bool radians, const FloatRect& bounds) {
  TransformRec rec = {};
  rec.scaleX = rec.scaleY = 1.0f;
  rec.angle = radians ? angle : static_cast<float>(angle * kDialogDegreesToRadians);
  const FloatPoint c = Centre(bounds);
  rec.centerX = c.x;
  rec.centerY = c.y;
  return rec;
}

bool CurrentSelectionBounds(FloatRect* bounds) {
  if (!gCurDocument || !gCurDocument->firstLayer) return false;
  FloatRect b = kEmptyRect;
  GetAllLayersObjBounds(gCurDocument->firstLayer, true, &b, false);
  if (IsEmptySelectionBounds(b)) return false;
  *bounds = b;
  return true;
}

bool ApplyEditTransform(int op, const TransformRec& rec, int16_t undoKind) {
  DocumentRec* document = gCurDocument;
  FloatRect bounds;
  if (!document || !CurrentSelectionBounds(&bounds) || ChangesNothing(op, rec)) return false;
  BeginUndo(document, undoKind);
  gUndoAvail = 0;
  gUndoObject = nullptr;
  TransformRec walked = rec;
  SelectedObjectAllLayers(document->firstLayer, true, op, &walked);
  switch (op) {
    case kOpScale:
      RecordUndoScale(rec.scaleX, rec.scaleY, rec.centerX, rec.centerY);
      break;
    case kOpShear:
      RecordUndoShear(rec.shearStartX, rec.shearStartY, rec.shearEndX, rec.shearEndY, rec.centerX,
                      rec.centerY);
      break;
    case kOpRotate:
      RecordUndoRotate(rec.angle, rec.centerX, rec.centerY);
      break;
    default:
      RecordUndoTranslate(rec.dx, rec.dy);
      break;
  }
  if (!gUndoAvail) DisposeUndo();
  RefreshDrawing();
  UpdateToolMenus();
  return true;
}
