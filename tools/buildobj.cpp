// Builders of new shapes from numbers.
#include "tools/buildobj.h"

#include <cmath>

#include "dimensions/dimlabel.h"
#include "geometry/geometry.h"
#include "geometry/gnrlmath.h"
#include "geometry/tranform.h"
#include "geometry/zoomhdlr.h"
#include "model/lyrhndlr.h"
#include "model/objedit.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"
#include "model/recpool.h"
#include "tools/drxfont.h"
#include "tools/editops.h"
#include "tools/selhndlr.h"
#include "tools/trakdims.h"

namespace {

const DocState* AttributeSource(bool useDoc) {
  return useDoc && gCurDocument ? gCurDocument->docState : nullptr;
}

// A new unlinked object with the drawing's attributes, or the neutral ones without.
ObjectRec* NewShape(int16_t kind, uint8_t closed, bool useDoc) {
  const DocState* state = AttributeSource(useDoc);
  if (state)
    return CreateObject(kind, closed, 0, &state->fillColor, &state->penColor,
                        static_cast<float>(state->lineWeight), state->lineType, gPattern, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr);
  return CreateObject(kind, closed, 0, &kWhite16, &kWhite16, 1.0f, kSolidLineType, kNoFill, nullptr, nullptr,
                      nullptr, nullptr, nullptr, nullptr);
}

bool AddPoint(ObjectRec* object, int16_t kind, uint8_t selected, float x, float y, float inX = 0.0f,
              float inY = 0.0f, float outX = 0.0f, float outY = 0.0f) {
  PointRec* point = CreatePoint(kind, selected, 0, inX, inY, x, y, outX, outY, object);
  if (!point) return false;
  AppendPointToObject(point, object);
  point->detectable = 1;
  return true;
}

// The finished object: bounds computed and linked at the end of the layer.
ObjectRec* Finish(ObjectRec* object, LayerRec* layer) {
  UpdateObjectBounds(object);
  if (layer) AppendObjectToLayer(object, layer);
  return object;
}

// A drawn rectangle, multigon, line or polygon takes its parallel copies when the drawing asks
// for them; the object that stays is returned.
ObjectRec* WithParallels(ObjectRec* object, bool useDoc) {
  return useDoc ? MakeParallel(object) : object;
}

ObjectRec* Abandon(ObjectRec* object) {
  DeleteObj(object);
  return nullptr;
}

bool Finite(float a, float b, float c, float d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

}  // namespace

ObjectRec* BuildRect(float left, float top, float right, float bottom, LayerRec* layer, bool useDoc) {
  if (!Finite(left, top, right, bottom) || (left == right && top == bottom)) return nullptr;
  ObjectRec* object = NewShape(kRectKind, 1, useDoc);
  if (!object) return nullptr;
  const float xs[4] = {left, right, right, left}, ys[4] = {top, top, bottom, bottom};
  for (int i = 0; i < 4; ++i)
    if (!AddPoint(object, kVertexPoint, 1, xs[i], ys[i])) return Abandon(object);
  return WithParallels(Finish(object, layer), useDoc);
}

ObjectRec* BuildOval(float left, float top, float right, float bottom, LayerRec* layer, bool useDoc) {
  if (!Finite(left, top, right, bottom) || (left == right && top == bottom)) return nullptr;
  ObjectRec* object = NewShape(kOvalKind, 1, useDoc);
  if (!object) return nullptr;
  const float cx = (left + right) / 2.0f, cy = (top + bottom) / 2.0f;
  const float width = std::fabs(right - left), height = std::fabs(bottom - top);
  const float r = std::fmax(width, height) / 2.0f;
  // The tangent length of a quarter circle, from the same construction as every circular piece.
  float x0, tx0, tx1, x1, y0, ty0, ty1, y1;
  BuildRadiusSpline(static_cast<float>(kPi / 2.0), r, &x0, &tx0, &tx1, &x1, &y0, &ty0, &ty1, &y1);
  const float t = std::sqrt(tx0 * tx0 + ty0 * ty0);
  // The circle is squeezed along the shorter side into the inscribed ellipse.
  const float sx = width < height ? width / height : 1.0f;
  const float sy = height < width ? height / width : 1.0f;
  const float px[4] = {0.0f, r, 0.0f, -r}, py[4] = {-r, 0.0f, r, 0.0f};
  const float tx[4] = {t, 0.0f, -t, 0.0f}, ty[4] = {0.0f, t, 0.0f, -t};
  for (int i = 0; i < 4; ++i) {
    const float vx = tx[i] * sx, vy = ty[i] * sy;
    if (!AddPoint(object, kVertexPoint, 1, cx + px[i] * sx, cy + py[i] * sy, vx, vy, vx, vy))
      return Abandon(object);
  }
  return Finish(object, layer);
}

ObjectRec* BuildMulti(float cx, float cy, float x, float y, LayerRec* layer, int sides, bool useDoc) {
  if (!Finite(cx, cy, x, y) || sides < kMinMultigonSides) return nullptr;
  float rho = 0.0f;
  const float theta0 = GetLineLengthAndAngle(cx, cy, x, y, &rho);
  if (!(rho > 0.0f)) return nullptr;
  ObjectRec* object = NewShape(kMultiKind, 1, useDoc);
  if (!object) return nullptr;
  const double step = kFullTurn / sides;
  for (int i = 0; i < sides; ++i) {
    float px = x, py = y;
    // The last vertex is the given point itself, exactly.
    if (i != sides - 1) {
      float dx = 0.0f, dy = 0.0f;
      GetPointFromLengthAndAngle(static_cast<float>(theta0 + (i + 1) * step), rho, &dx, &dy);
      px = cx + dx;
      py = cy + dy;
    }
    if (!AddPoint(object, kVertexPoint, 1, px, py)) return Abandon(object);
  }
  return WithParallels(Finish(object, layer), useDoc);
}

ObjectRec* BuildArc(float left, float top, float right, float bottom, float startDeg, float arcDeg,
                    LayerRec* layer, bool useDoc) {
  if (!Finite(left, top, right, bottom) || !std::isfinite(startDeg) || !std::isfinite(arcDeg)) return nullptr;
  if (arcDeg == 0.0f || (left == right && top == bottom)) return nullptr;
  // More than a full turn draws nothing more.
  if (arcDeg > 360.0f) arcDeg = 360.0f;
  if (arcDeg < -360.0f) arcDeg = -360.0f;
  ObjectRec* object = NewShape(kArcKind, 0, useDoc);
  if (!object) return nullptr;
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  const double width = std::fabs(right - left), height = std::fabs(bottom - top);
  const double r = std::fmax(width, height) / 2.0;
  const int n = static_cast<int>(std::fabs(arcDeg) / 90.0 + 1.0);
  const double piece = static_cast<double>(arcDeg) / n;
  const double half = piece * kDegreesToRadians / 2.0;
  // Signed: a clockwise sweep runs its tangents the other way.
  const double length = 4.0 * (1.0 - std::cos(half)) * r / std::sin(half);
  // From the end of the sweep back to its start; y grows downward on the page.
  for (int i = 0; i <= n; ++i) {
    const double angle = (startDeg + arcDeg - i * piece) * kDegreesToRadians;
    const double px = cx + r * std::cos(angle), py = cy - r * std::sin(angle);
    const float tx = static_cast<float>(length * std::sin(angle)),
                ty = static_cast<float>(length * std::cos(angle));
    if (!AddPoint(object, kArcPoint, 1, static_cast<float>(px), static_cast<float>(py), tx, ty, tx, ty))
      return Abandon(object);
  }
  if (!AddPoint(object, kArcCentrePoint, 1, static_cast<float>(cx), static_cast<float>(cy)))
    return Abandon(object);
  if (width != height) {
    TransformRec t = {};
    t.scaleX = width < height ? static_cast<float>(width / height) : 1.0f;
    t.scaleY = height < width ? static_cast<float>(height / width) : 1.0f;
    t.centerX = static_cast<float>(cx);
    t.centerY = static_cast<float>(cy);
    ScaleObject(object, &t);
  }
  return Finish(object, layer);
}

ObjectRec* BuildLine(float x1, float y1, float x2, float y2, LayerRec* layer, bool useDoc) {
  if (!Finite(x1, y1, x2, y2) || (x1 == x2 && y1 == y2)) return nullptr;
  ObjectRec* object = NewShape(kLineKind, 0, useDoc);
  if (!object) return nullptr;
  if (!AddPoint(object, kVertexPoint, 1, x1, y1) || !AddPoint(object, kVertexPoint, 1, x2, y2))
    return Abandon(object);
  return WithParallels(Finish(object, layer), useDoc);
}

namespace {

// Close enough to the first vertex to close the figure, in zoomed pixels.
constexpr float kCloseDistance = 10.0f;

int CountDistinctPoints(const ObjectRec* object) {
  const PointRec* first = object->firstPoint;
  if (!first) return 0;
  for (const PointRec* p = first->nextPoint; p; p = p->nextPoint)
    if (p->x != first->x || p->y != first->y) return 2;
  return 1;
}

PointRec* LastPointOf(ObjectRec* object) {
  PointRec* last = object->firstPoint;
  while (last && last->nextPoint) last = last->nextPoint;
  return last;
}

ObjectRec* BuildMultiClick(int16_t kind, ObjectRec* object, float x, float y, LayerRec* layer, int16_t stage,
                           bool useDoc, bool close) {
  switch (stage) {
    case kBuildFirstPoint: {
      if (!std::isfinite(x) || !std::isfinite(y)) return nullptr;
      ObjectRec* created = NewShape(kind, 0, useDoc);
      if (!created) return nullptr;
      if (!AddPoint(created, kVertexPoint, 0, x, y)) return Abandon(created);
      return Finish(created, layer);
    }
    case kBuildAddPoint: {
      if (!object || !std::isfinite(x) || !std::isfinite(y)) return object;
      PointRec* last = LastPointOf(object);
      if (last && last->x == x && last->y == y) return object;  // a repeated click adds nothing
      AddPoint(object, kVertexPoint, 0, x, y);
      UpdateObjectBounds(object);
      return object;
    }
    case kBuildFinish: {
      if (!object) return nullptr;
      if (CountDistinctPoints(object) < 2) {
        // A figure of one place is no figure: it leaves the drawing.
        DeleteObj(object);
        return nullptr;
      }
      object->closed = 0;
      CloseFigure(object, kCloseDistance, close);
      UpdateObjectBounds(object);
      SelectObj(object, kSelectMode, false);
      if (kind == kSplineKind) {
        SmoothObject(object);
        UpdateObjectBounds(object);
        return object;
      }
      return WithParallels(object, useDoc);
    }
    default:
      return object;
  }
}

}  // namespace

bool CloseFigure(ObjectRec* object, float pixels, bool force) {
  if (!object || !object->firstPoint) return false;
  PointRec* first = object->firstPoint;
  PointRec* last = LastPointOf(object);
  int count = CountObjectPoints(object);
  const bool near =
      count > 1 && GetLineLength(first->x, first->y, last->x, last->y) * CurrentZoom() <= pixels;
  if (near && count > 2) {
    // The closing click repeats the first vertex: that last point goes.
    last->prevPoint->nextPoint = nullptr;
    FreePointRecord(last);
    --count;
  }
  if ((near || force) && count >= 3) {
    object->closed = 1;
    return true;
  }
  return false;
}

ObjectRec* BuildPoly(ObjectRec* object, float x, float y, LayerRec* layer, int16_t stage, bool useDoc,
                     bool close) {
  return BuildMultiClick(kPolyKind, object, x, y, layer, stage, useDoc, close);
}

ObjectRec* BuildSpline(ObjectRec* object, float x, float y, LayerRec* layer, int16_t stage, bool useDoc,
                       bool close) {
  return BuildMultiClick(kSplineKind, object, x, y, layer, stage, useDoc, close);
}

ObjectRec* BuildMetaFile(float left, float top, float right, float bottom, MetaInfo* info, LayerRec* layer,
                         bool useDoc) {
  if (!Finite(left, top, right, bottom) || (left == right && top == bottom)) return nullptr;
  ObjectRec* object = NewShape(kMetaFileKind, 1, useDoc);
  if (!object) return nullptr;
  object->lineWeight = 0.0f;
  const float xs[4] = {left, right, right, left}, ys[4] = {top, top, bottom, bottom};
  for (int i = 0; i < 4; ++i)
    if (!AddPoint(object, kVertexPoint, 1, xs[i], ys[i])) return Abandon(object);
  object->info = info;
  return Finish(object, layer);
}

// ---- Dimensions.

namespace {

constexpr int kMaxDimensionPoints = 4;

// The first two positions a dimension builder is given must differ.
bool Distinct(float x1, float y1, float x2, float y2) {
  return x1 != x2 || y1 != y2;
}

// A label centre as the dimension record stores it: rounded to a 16-bit position.
int16_t LabelCoordinate(float v) {
  const float rounded = std::trunc(v + 0.5f);
  if (!(rounded > INT16_MIN)) return INT16_MIN;
  if (rounded > INT16_MAX) return INT16_MAX;
  return static_cast<int16_t>(rounded);
}

// The dimension of `kind` through `points`, with its record and, when `withText`, its label
// centred on `text`.
ObjectRec* NewDimension(int16_t kind, const FloatPoint* points, int count, LayerRec* layer, FloatPoint text,
                        bool withText) {
  const DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  if (!layer || !state || count < 2 || count > kMaxDimensionPoints) return nullptr;
  for (int i = 0; i < count; ++i)
    if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) return nullptr;
  ObjectRec* object = CreateObject(kind, 0, 0, &state->fillColor, &state->penColor, 1.0f, kSolidLineType,
                                   kNoFill, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (!object) return nullptr;
  for (int i = 0; i < count; ++i)
    if (!AddPoint(object, kVertexPoint, 1, points[i].x, points[i].y)) return Abandon(object);
  Finish(object, layer);
  if (!AddDimensionInfo(object, LabelCoordinate(text.x), LabelCoordinate(text.y), withText, &gCurFontInfo))
    return Abandon(object);  // a dimension without its record would be neither drawn nor read
  return object;
}

FloatPoint Mid(FloatPoint a, FloatPoint b) {
  return {(a.x + b.x) / 2.0f, (a.y + b.y) / 2.0f};
}

// The shoulder of a diameter or radius dimension: from `from` out by `shoulder` along the
// direction `angle`, then across, away from `side`.
void ShoulderPoints(FloatPoint from, float angle, float shoulder, float side, FloatPoint* elbow,
                    FloatPoint* end) {
  float dx = 0.0f, dy = 0.0f;
  GetPointFromLengthAndAngle(angle, shoulder, &dx, &dy);
  *elbow = {from.x + dx, from.y + dy};
  *end = {elbow->x + (elbow->x <= side ? -kDimShoulderLength : kDimShoulderLength), elbow->y};
}

// Diameter and radius: the span p0 -> p1, and with a shoulder the elbow beyond `outer`.
ObjectRec* NewCircleDimension(int16_t plain, int16_t shouldered, FloatPoint p0, FloatPoint p1,
                              FloatPoint outer, float angle, LayerRec* layer, float shoulder,
                              bool withShoulder) {
  if (!Distinct(p0.x, p0.y, p1.x, p1.y)) return nullptr;
  if (!withShoulder) {
    const FloatPoint points[2] = {p0, p1};
    return NewDimension(plain, points, 2, layer, Mid(p0, p1), true);
  }
  FloatPoint points[4] = {p0, p1, {}, {}};
  ShoulderPoints(outer, angle, shoulder, outer.x, &points[2], &points[3]);
  return NewDimension(shouldered, points, 4, layer, points[3], true);
}

}  // namespace

ObjectRec* BuildOffsetDim(float x1, float y1, float x2, float y2, float ox, float oy, LayerRec* layer,
                          bool vertical) {
  if (!Distinct(x1, y1, x2, y2)) return nullptr;
  if (vertical) {
    const FloatPoint points[4] = {{x2, y2}, {ox, y2}, {ox, y1}, {x1, y1}};
    return NewDimension(kOffsetDimVKind, points, 4, layer, {ox, (y1 + y2) / 2.0f}, true);
  }
  const FloatPoint points[4] = {{x2, y2}, {x2, oy}, {x1, oy}, {x1, y1}};
  return NewDimension(kOffsetDimHKind, points, 4, layer, {(x1 + x2) / 2.0f, oy}, true);
}

ObjectRec* BuildLengthDim(float x1, float y1, float x2, float y2, float ox, float oy, LayerRec* layer) {
  if (!Distinct(x1, y1, x2, y2)) return nullptr;
  LengthDimOffset off;
  GetLengthDimOffset({x1, y1}, {x2, y2}, {ox, oy}, &off);
  const FloatPoint points[4] = {
      {x2, y2}, {x2 + off.v.x, y2 + off.v.y}, {x1 + off.v.x, y1 + off.v.y}, {x1, y1}};
  return NewDimension(kLengthDimKind, points, 4, layer, Mid(points[1], points[2]), true);
}

ObjectRec* BuildAngleDim(float vx, float vy, float x1, float y1, float x2, float y2, float x3, float y3,
                         float x4, float y4, LayerRec* layer) {
  if (!Distinct(vx, vy, x1, y1)) return nullptr;
  const FloatPoint points[4] = {{vx, vy}, {x1, y1}, {x2, y2}, {x3, y3}};
  // The readout sits on the arc, halfway between the legs.
  const FloatPoint half = Mid({x3, y3}, {x4, y4});
  float dx = 0.0f, dy = 0.0f;
  GetPointFromLengthAndAngle(GetLineLengthAndAngle(vx, vy, half.x, half.y, nullptr),
                             GetLineLength(vx, vy, x4, y4), &dx, &dy);
  return NewDimension(kAngleDimKind, points, 4, layer, {vx + dx, vy + dy}, true);
}

ObjectRec* BuildDiameterDim(float x1, float y1, float x2, float y2, LayerRec* layer, float shoulder,
                            bool withShoulder) {
  return NewCircleDimension(kDiameterDimKind, kDiameterShoulderDimKind, {x1, y1}, {x2, y2}, {x1, y1},
                            GetLineLengthAndAngle(x2, y2, x1, y1, nullptr), layer, shoulder, withShoulder);
}

ObjectRec* BuildRadiusDim(float x1, float y1, float x2, float y2, LayerRec* layer, float shoulder,
                          bool withShoulder) {
  return NewCircleDimension(kRadiusDimKind, kRadiusShoulderDimKind, {x1, y1}, {x2, y2}, {x2, y2},
                            GetLineLengthAndAngle(x1, y1, x2, y2, nullptr), layer, shoulder, withShoulder);
}

ObjectRec* BuildLeaderDim(float x1, float y1, float x2, float y2, float x3, float y3, LayerRec* layer) {
  if (!Distinct(x1, y1, x2, y2)) return nullptr;
  const FloatPoint points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
  return NewDimension(kLeaderDimKind, points, 3, layer, {x1, y1}, false);
}

ObjectRec* BuildTextBlock(const FloatRect* edit, TextPane pane, LayerRec* layer) {
  if (!edit || !Finite(edit->left, edit->top, edit->right, edit->bottom)) return nullptr;
  ObjectRec* object = NewShape(kTextBlockKind, 1, true);
  if (!object) return nullptr;
  object->lineWeight = 0.0f;
  object->lineType = kSolidLineType;
  object->fillPattern = kNoFill;
  const float left = edit->left - kTextBoxInset, top = edit->top - kTextBoxInset;
  const float right = edit->right + kTextBoxInset, bottom = edit->bottom + kTextBoxInset;
  const float xs[4] = {left, right, right, left}, ys[4] = {top, top, bottom, bottom};
  for (int i = 0; i < 4; ++i)
    if (!AddPoint(object, kVertexPoint, 1, xs[i], ys[i])) return Abandon(object);
  object->info = pane;
  return Finish(object, layer);
}
