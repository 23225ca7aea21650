// The DXF reader of the DXF import filter.
#include "exchange/dxfread.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string_view>

#include "exchange/wmfrecords.h"

namespace {

constexpr double kPiD = 3.141592653589793;
constexpr double kTwoPi = 2.0 * kPiD;
// Blocks nested deeper than this (or inserting themselves) are refused.
constexpr int kMaxBlockDepth = 32;
// The metafile may not grow past this many bytes: a file of blocks that multiply each other
// would otherwise ask for more than any drawing holds.
constexpr size_t kMaxMetafileBytes = size_t{96} << 20;
// Metafile units the drawing's longer side is fitted into (leaving room to round).
constexpr double kFitUnits = 32000.0;
// Flattened curves: at most this turn per chord, and this many chords per spline span.
constexpr double kChordDegrees = 3.0;
constexpr int kSplineChordsPerSpan = 8;
// Two lengths are equal (or a cosine zero) within this share of the larger.
constexpr double kShapeTolerance = 1e-9;
// Drawing units per inch by the header's $INSUNITS: none, inches, feet, miles, millimetres,
// centimetres, metres, kilometres, microinches, mils, yards.
constexpr double kUnitsPerInch[] = {kDxfUnitlessPerInch, 1.0, 1.0 / 12.0, 1.0 / 63360.0, 25.4, 2.54, 0.0254,
                                    0.0000254,           1e6, 1000.0,     1.0 / 36.0};

struct Pair {
  int code;
  std::string_view value;
};

struct Point {
  double x, y;
};

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  Point Apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  Point ApplyVector(Point v) const { return {a * v.x + c * v.y, b * v.x + d * v.y}; }
  Affine Then(const Affine& outer) const {  // this first, then outer
    Affine r;
    r.a = outer.a * a + outer.c * b;
    r.b = outer.b * a + outer.d * b;
    r.c = outer.a * c + outer.c * d;
    r.d = outer.b * c + outer.d * d;
    r.e = outer.a * e + outer.c * f + outer.e;
    r.f = outer.b * e + outer.d * f + outer.f;
    return r;
  }
};

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A figure in drawing units (y up): a polyline, or an axis-aligned elliptical arc that runs
// counter-clockwise from `start` to `end` (both on the ellipse); `full` for the whole ellipse.
struct Figure {
  bool arc = false;
  bool curve = false;  // a turned elliptical arc C + M cos t + m sin t, t0 <= t <= t1, flattened when written
  Point major{0, 0}, minor{0, 0};
  double t0 = 0, t1 = 0;
  bool closed = false;
  bool full = false;
  Rgb colour{0, 0, 0};
  size_t firstPoint = 0, pointCount = 0;  // into the point store, polylines
  Point centre{0, 0}, start{0, 0}, end{0, 0};
  double rx = 0, ry = 0;
};

// The AutoCAD colour index as red, green and blue: the nine named colours, 240 shades of 24
// hues at five brightnesses, full and half saturation, and six greys. Colour 7 draws black on
// the white sheet.
Rgb IndexColour(int index) {
  static const Rgb kNamed[10] = {{0, 0, 0},   {255, 0, 0},   {255, 255, 0}, {0, 255, 0},     {0, 255, 255},
                                 {0, 0, 255}, {255, 0, 255}, {0, 0, 0},     {128, 128, 128}, {192, 192, 192}};
  static const uint8_t kGreys[6] = {51, 91, 132, 173, 214, 255};
  index = std::abs(index);
  if (index < 10) return kNamed[index];
  if (index >= 250)
    return index <= 255 ? Rgb{kGreys[index - 250], kGreys[index - 250], kGreys[index - 250]} : kNamed[7];
  static const double kBrightness[5] = {1.0, 0.65, 0.5, 0.3, 0.15};
  const double hue = ((index / 10) - 1) * 15.0;
  const double value = kBrightness[(index % 10) / 2];
  const double saturation = (index % 2) ? 0.5 : 1.0;
  auto channel = [&](double n) {
    const double k = std::fmod(n + hue / 60.0, 6.0);
    const double m = std::max(0.0, std::min({k, 4.0 - k, 1.0}));
    return static_cast<uint8_t>(std::lround(255.0 * value * (1.0 - saturation * m)));
  };
  return Rgb{channel(5), channel(3), channel(1)};
}

Rgb TrueColour(long value) {
  return Rgb{static_cast<uint8_t>((value >> 16) & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF),
             static_cast<uint8_t>(value & 0xFF)};
}

std::string_view Trim(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
  return text.substr(begin, end - begin);
}

bool ParseDouble(std::string_view text, double* value) {
  text = Trim(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  const auto result = std::from_chars(text.data(), text.data() + text.size(), *value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() && std::isfinite(*value);
}

bool ParseLong(std::string_view text, long* value) {
  text = Trim(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  const auto result = std::from_chars(text.data(), text.data() + text.size(), *value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

class Reader {
 public:
  explicit Reader(DxfImport* out) : out_(out) {}
  int16_t Run(const char* text, size_t length);

 private:
  // An entity: its pairs from its name (code 0) up to the next entity; a POLYLINE's range takes
  // its VERTEX entities and its SEQEND, an INSERT's its attributes.
  struct Entity {
    size_t first, last;
  };
  struct Block {
    Point base{0, 0};
    std::vector<Entity> entities;
  };
  struct Layer {
    Rgb colour{0, 0, 0};
  };

  int16_t Refuse(int16_t code, const std::string& why) {
    if (out_->failure.empty()) out_->failure = why;
    return code;
  }
  bool Tokenise(const char* text, size_t length);
  bool Name(size_t i, const char* name) const { return pairs_[i].code == 0 && Trim(pairs_[i].value) == name; }
  // The end of the entity that starts at `i`.
  size_t EntityEnd(size_t i) const;
  void ReadHeader(size_t from, size_t to);
  void ReadTables(size_t from, size_t to);
  void ReadBlocks(size_t from, size_t to);
  void ReadEntities(size_t from, size_t to, std::vector<Entity>* list);
  bool DrawEntities(const std::vector<Entity>& list, const Affine& transform, Rgb blockColour, int depth);
  bool DrawEntity(const Entity& entity, const Affine& transform, Rgb blockColour, int depth);
  double Number(size_t i) {
    double value = 0;
    if (!ParseDouble(pairs_[i].value, &value)) badNumber_ = true;
    return value;
  }
  long Integer(size_t i) {
    long value = 0;
    if (!ParseLong(pairs_[i].value, &value)) {
      double real = 0;
      if (ParseDouble(pairs_[i].value, &real) && std::fabs(real) < 2e9)
        value = static_cast<long>(real);
      else
        badNumber_ = true;
    }
    return value;
  }
  void Skip(std::string_view type) {
    const std::string name(Trim(type));
    ++skipped_[name.empty() ? std::string("unnamed") : name];
  }
  // Figures.
  void AddPolyline(const std::vector<Point>& points, bool closed, Rgb colour);
  void AddEllipse(Point centre, Point major, Point minor, double t0, double t1, const Affine& transform,
                  Rgb colour);
  void AddBulge(std::vector<Point>* points, Point from, Point to, double bulge);
  // A polyline's vertices with its bulged segments as chords; a closed one ends at its start.
  std::vector<Point> FlattenBulges(const std::vector<Point>& points, const std::vector<double>& bulges,
                                   bool closed);
  // Takes `count` points from the budget; false (and the drawing too big) when it is spent.
  bool TakePoints(size_t count) {
    if (count > pointBudget_) {
      tooBig_ = true;
      return false;
    }
    pointBudget_ -= count;
    return true;
  }
  bool Write();

  DxfImport* out_;
  std::vector<Pair> pairs_;
  std::map<std::string, Layer, std::less<>> layers_;
  std::map<std::string, Block, std::less<>> blocks_;
  std::vector<Entity> entities_;
  std::vector<Figure> figures_;
  std::vector<Point> points_;
  std::map<std::string, size_t> skipped_;
  double unitsPerInch_ = kDxfUnitlessPerInch;
  bool badNumber_ = false;
  bool tooBig_ = false;
  size_t pointBudget_ = kMaxMetafileBytes / 4;
};

bool Reader::Tokenise(const char* text, size_t length) {
  const char* at = text;
  const char* end = text + length;
  if (length >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) at += 3;
  auto line = [&](std::string_view* out) {
    if (at >= end) return false;
    const char* stop = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
    if (!stop) stop = end;
    *out = std::string_view(at, static_cast<size_t>(stop - at));
    if (!out->empty() && out->back() == '\r') out->remove_suffix(1);
    at = stop < end ? stop + 1 : end;
    return true;
  };
  pairs_.reserve(length / 12);
  std::string_view codeText, value;
  while (line(&codeText)) {
    if (Trim(codeText).empty() && at >= end) break;  // a last empty line
    long code = 0;
    if (!ParseLong(codeText, &code) || code < 0 || code > 1071) return false;
    if (!line(&value)) return false;
    pairs_.push_back(Pair{static_cast<int>(code), value});
  }
  return true;
}

size_t Reader::EntityEnd(size_t i) const {
  const std::string_view type = Trim(pairs_[i].value);
  size_t j = i + 1;
  while (j < pairs_.size() && pairs_[j].code != 0) ++j;
  bool follows = type == "POLYLINE";
  if (type == "INSERT") {
    for (size_t k = i + 1; k < j; ++k)
      if (pairs_[k].code == 66 && Trim(pairs_[k].value) == "1") follows = true;
  }
  if (!follows) return j;
  // Vertices or attributes up to and including SEQEND.
  while (j < pairs_.size()) {
    const bool last = Name(j, "SEQEND");
    if (!last && !Name(j, "VERTEX") && !Name(j, "ATTRIB")) return j;
    ++j;
    while (j < pairs_.size() && pairs_[j].code != 0) ++j;
    if (last) return j;
  }
  return j;
}

void Reader::ReadHeader(size_t from, size_t to) {
  for (size_t i = from; i + 1 < to; ++i) {
    if (pairs_[i].code == 9 && Trim(pairs_[i].value) == "$INSUNITS" && pairs_[i + 1].code == 70) {
      long units = Integer(i + 1);
      if (units > 0 && units < static_cast<long>(sizeof kUnitsPerInch / sizeof kUnitsPerInch[0]))
        unitsPerInch_ = kUnitsPerInch[units];
    }
  }
}

void Reader::ReadTables(size_t from, size_t to) {
  for (size_t i = from; i < to; ++i) {
    if (!Name(i, "LAYER")) continue;
    size_t j = i + 1;
    std::string name;
    Layer layer;
    bool trueColour = false;
    for (; j < to && pairs_[j].code != 0; ++j) {
      if (pairs_[j].code == 2) name = std::string(Trim(pairs_[j].value));
      if (pairs_[j].code == 62 && !trueColour)
        layer.colour = IndexColour(static_cast<int>(Integer(j) % 1000));
      if (pairs_[j].code == 420) {
        layer.colour = TrueColour(Integer(j));
        trueColour = true;
      }
    }
    layers_[name] = layer;
    i = j - 1;
  }
}

void Reader::ReadEntities(size_t from, size_t to, std::vector<Entity>* list) {
  size_t i = from;
  while (i < to && pairs_[i].code != 0) ++i;
  while (i < to) {
    const size_t end = std::min(EntityEnd(i), to);
    list->push_back(Entity{i, end});
    i = end;
  }
}

void Reader::ReadBlocks(size_t from, size_t to) {
  for (size_t i = from; i < to; ++i) {
    if (!Name(i, "BLOCK")) continue;
    size_t j = i + 1;
    std::string name;
    Block block;
    for (; j < to && pairs_[j].code != 0; ++j) {
      if (pairs_[j].code == 2) name = std::string(Trim(pairs_[j].value));
      if (pairs_[j].code == 10) block.base.x = Number(j);
      if (pairs_[j].code == 20) block.base.y = Number(j);
    }
    size_t k = j;
    while (k < to && !Name(k, "ENDBLK")) ++k;
    ReadEntities(j, k, &block.entities);
    blocks_[name] = std::move(block);
    i = k;
  }
}

void Reader::AddPolyline(const std::vector<Point>& points, bool closed, Rgb colour) {
  if (points.empty()) return;
  if (!TakePoints(points.size())) return;
  Figure figure;
  figure.closed = closed;
  figure.colour = colour;
  figure.firstPoint = points_.size();
  figure.pointCount = points.size();
  points_.insert(points_.end(), points.begin(), points.end());
  figures_.push_back(figure);
}

// The arc of a polyline segment with a bulge (the tangent of a quarter of its turn, positive
// counter-clockwise), as chords; the end point itself is left to the caller.
void Reader::AddBulge(std::vector<Point>* points, Point from, Point to, double bulge) {
  const double turn = 4.0 * std::atan(bulge);
  const double chord = std::hypot(to.x - from.x, to.y - from.y);
  if (chord == 0.0 || std::fabs(turn) < 1e-9) return;
  // The centre lies off the chord's middle along its left normal by half the chord times the
  // cotangent of half the turn (negative: to the right).
  const double nx = -(to.y - from.y) / chord, ny = (to.x - from.x) / chord;
  const double offset = chord / 2.0 * (1.0 - bulge * bulge) / (2.0 * bulge);
  const double cx = (from.x + to.x) / 2.0 + nx * offset, cy = (from.y + to.y) / 2.0 + ny * offset;
  const double radius = std::hypot(from.x - cx, from.y - cy);
  const double a0 = std::atan2(from.y - cy, from.x - cx);
  const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(turn) * 180.0 / kPiD / kChordDegrees)));
  for (int s = 1; s < steps; ++s) {
    const double a = a0 + turn * s / steps;
    points->push_back(Point{cx + radius * std::cos(a), cy + radius * std::sin(a)});
  }
}

std::vector<Point> Reader::FlattenBulges(const std::vector<Point>& points, const std::vector<double>& bulges,
                                         bool closed) {
  std::vector<Point> flat;
  for (size_t i = 0; i < points.size(); ++i) {
    flat.push_back(points[i]);
    const bool last = i + 1 == points.size();
    if (last && !closed) break;
    const Point& next = last ? points[0] : points[i + 1];
    if (bulges[i] != 0) AddBulge(&flat, points[i], next, bulges[i]);
  }
  if (closed && !points.empty()) flat.push_back(points[0]);
  return flat;
}

// The elliptical arc C + M cos t + m sin t for t from t0 to t1 (increasing), placed through the
// transform: an arc figure when it stays an upright ellipse, else chords.
void Reader::AddEllipse(Point centre, Point major, Point minor, double t0, double t1, const Affine& transform,
                        Rgb colour) {
  const Point c = transform.Apply(centre);
  const Point M = transform.ApplyVector(major), m = transform.ApplyVector(minor);
  const double lengthM = std::hypot(M.x, M.y), lengthm = std::hypot(m.x, m.y);
  if (!(lengthM > 0.0) || !(lengthm > 0.0) || !std::isfinite(lengthM + lengthm)) return;
  const bool full = t1 - t0 >= kTwoPi - 1e-9;
  const double tolerance = kShapeTolerance * std::max(lengthM, lengthm) * std::max(lengthM, lengthm) * 1e3;
  const bool perpendicular = std::fabs(M.x * m.x + M.y * m.y) <= tolerance;
  const bool circle = perpendicular && std::fabs(lengthM - lengthm) <= 1e-6 * std::max(lengthM, lengthm);
  const bool upright =
      perpendicular && (std::fabs(M.x) <= 1e-6 * lengthM || std::fabs(M.y) <= 1e-6 * lengthM);
  const bool counterClockwise = M.x * m.y - M.y * m.x > 0.0;
  auto at = [&](double t) {
    return Point{c.x + M.x * std::cos(t) + m.x * std::sin(t), c.y + M.y * std::cos(t) + m.y * std::sin(t)};
  };
  if (circle || upright) {
    if (!TakePoints(8)) return;
    Figure figure;
    figure.arc = true;
    figure.full = full;
    figure.colour = colour;
    figure.centre = c;
    figure.rx = circle ? lengthM : std::fabs(M.x) + std::fabs(m.x);
    figure.ry = circle ? lengthM : std::fabs(M.y) + std::fabs(m.y);
    figure.start = at(counterClockwise ? t0 : t1);
    figure.end = at(counterClockwise ? t1 : t0);
    figures_.push_back(figure);
    return;
  }
  // Anything else is flattened once the drawing's size (and so the size of a metafile unit) is
  // known.
  if (!TakePoints(8)) return;
  Figure figure;
  figure.curve = true;
  figure.closed = full;
  figure.colour = colour;
  figure.centre = c;
  figure.major = M;
  figure.minor = m;
  figure.t0 = t0;
  figure.t1 = t1;
  figures_.push_back(figure);
}

// A B-spline (rational when weights are given) as chords: de Boor's evaluation at even steps of
// each knot span.
std::vector<Point> FlattenSpline(int degree, const std::vector<double>& knots,
                                 const std::vector<Point>& control, const std::vector<double>& weights) {
  std::vector<Point> out;
  const size_t n = control.size();
  const int p = degree;
  if (p < 1 || n < static_cast<size_t>(p) + 1 || knots.size() != n + static_cast<size_t>(p) + 1)
    return control;
  for (size_t i = 1; i < knots.size(); ++i)
    if (knots[i] < knots[i - 1]) return control;
  const bool rational = weights.size() == n;
  std::vector<double> wx(static_cast<size_t>(p) + 1), wy(wx.size()), ww(wx.size());
  auto evaluate = [&](size_t span, double t) {
    for (int j = 0; j <= p; ++j) {
      const size_t index = span - static_cast<size_t>(p) + static_cast<size_t>(j);
      const double w = rational ? weights[index] : 1.0;
      wx[static_cast<size_t>(j)] = control[index].x * w;
      wy[static_cast<size_t>(j)] = control[index].y * w;
      ww[static_cast<size_t>(j)] = w;
    }
    for (int r = 1; r <= p; ++r)
      for (int j = p; j >= r; --j) {
        const size_t index = span - static_cast<size_t>(p) + static_cast<size_t>(j);
        const double denominator =
            knots[index + static_cast<size_t>(p) - static_cast<size_t>(r) + 1] - knots[index];
        const double alpha = denominator > 0 ? (t - knots[index]) / denominator : 0.0;
        const size_t k = static_cast<size_t>(j);
        wx[k] = (1 - alpha) * wx[k - 1] + alpha * wx[k];
        wy[k] = (1 - alpha) * wy[k - 1] + alpha * wy[k];
        ww[k] = (1 - alpha) * ww[k - 1] + alpha * ww[k];
      }
    const double w = ww[static_cast<size_t>(p)];
    return w != 0.0 ? Point{wx[static_cast<size_t>(p)] / w, wy[static_cast<size_t>(p)] / w} : control[span];
  };
  for (size_t span = static_cast<size_t>(p); span < n; ++span) {
    const double k0 = knots[span], k1 = knots[span + 1];
    if (!(k1 > k0)) continue;
    const int steps = kSplineChordsPerSpan;
    for (int s = out.empty() ? 0 : 1; s <= steps; ++s)
      out.push_back(evaluate(span, k0 + (k1 - k0) * s / steps));
  }
  if (out.empty()) return control;
  return out;
}

bool Reader::DrawEntities(const std::vector<Entity>& list, const Affine& transform, Rgb blockColour,
                          int depth) {
  for (const Entity& entity : list)
    if (!DrawEntity(entity, transform, blockColour, depth)) return false;
  return true;
}

bool Reader::DrawEntity(const Entity& entity, const Affine& transform, Rgb blockColour, int depth) {
  if (tooBig_) return true;
  const std::string_view type = Trim(pairs_[entity.first].value);
  // The entity's own pairs, before any vertex or attribute.
  size_t own = entity.first + 1;
  while (own < entity.last && pairs_[own].code != 0) ++own;
  std::string_view layerName = "0";
  long colourIndex = 256;
  long trueColour = -1;
  bool paperSpace = false;
  double extrusionZ = 1.0;
  for (size_t i = entity.first + 1; i < own; ++i) {
    switch (pairs_[i].code) {
      case 8:
        layerName = Trim(pairs_[i].value);
        break;
      case 62:
        colourIndex = Integer(i);
        break;
      case 420:
        trueColour = Integer(i);
        break;
      case 67:
        paperSpace = Integer(i) == 1;
        break;
      case 230:
        extrusionZ = Number(i);
        break;
      default:
        break;
    }
  }
  if (paperSpace || type == "VIEWPORT") return true;  // layouts, not the drawing
  Rgb colour{0, 0, 0};
  if (trueColour >= 0) {
    colour = TrueColour(trueColour);
  } else if (colourIndex == 0) {
    colour = blockColour;
  } else if (colourIndex == 256 || colourIndex < 0) {
    auto layer = layers_.find(layerName);
    colour = layer != layers_.end() ? layer->second.colour : IndexColour(7);
    if (layer != layers_.end() && layerName == "0" && depth > 0) colour = blockColour;
  } else {
    colour = IndexColour(static_cast<int>(colourIndex));
  }
  // Planar entities with an extrusion of -z have their x mirrored.
  Affine local = transform;
  if (extrusionZ < 0) {
    Affine mirror;
    mirror.a = -1;
    local = mirror.Then(transform);
  }
  // The values of one code, first occurrence.
  auto value = [&](int code, double fallback) {
    for (size_t i = entity.first + 1; i < own; ++i)
      if (pairs_[i].code == code) return Number(i);
    return fallback;
  };
  auto integer = [&](int code, long fallback) {
    for (size_t i = entity.first + 1; i < own; ++i)
      if (pairs_[i].code == code) return Integer(i);
    return fallback;
  };

  if (type == "LINE") {
    std::vector<Point> points = {transform.Apply({value(10, 0), value(20, 0)}),
                                 transform.Apply({value(11, 0), value(21, 0)})};
    AddPolyline(points, false, colour);
  } else if (type == "POINT") {
    // A dot: a tiny full circle that the drawing can show and select.
    const Point p = transform.Apply({value(10, 0), value(20, 0)});
    Figure figure;
    figure.arc = figure.full = true;
    figure.colour = colour;
    figure.centre = figure.start = figure.end = p;
    figure.rx = figure.ry = 0;  // one metafile unit, set when written
    figures_.push_back(figure);
  } else if (type == "CIRCLE" || type == "ARC") {
    const double r = value(40, 0);
    if (!(r > 0)) return true;
    double t0 = 0, t1 = kTwoPi;
    if (type == "ARC") {
      t0 = value(50, 0) * kPiD / 180.0;
      t1 = value(51, 360) * kPiD / 180.0;
      t0 = std::fmod(t0, kTwoPi);
      t1 = std::fmod(t1, kTwoPi);
      if (t1 <= t0) t1 += kTwoPi;
    }
    AddEllipse({value(10, 0), value(20, 0)}, {r, 0}, {0, r}, t0, t1, local, colour);
  } else if (type == "ELLIPSE") {
    const Point major{value(11, 1), value(21, 0)};
    const double ratio = value(40, 1);
    if (!(ratio > 0) || !(std::hypot(major.x, major.y) > 0)) return true;
    double t0 = value(41, 0), t1 = value(42, kTwoPi);
    const bool full = std::fabs(t1 - t0) >= kTwoPi - 1e-9 || t1 == t0;
    t0 = std::fmod(t0, kTwoPi);
    if (t0 < 0) t0 += kTwoPi;
    t1 = full ? t0 + kTwoPi : std::fmod(t1, kTwoPi);
    if (t1 < 0) t1 += kTwoPi;
    if (t1 <= t0) t1 += kTwoPi;
    // The minor axis turns a quarter counter-clockwise from the major, in the ellipse's plane.
    Point minor{-major.y * ratio, major.x * ratio};
    Affine planar = transform;
    if (extrusionZ < 0) minor = Point{-minor.x, -minor.y};
    AddEllipse({value(10, 0), value(20, 0)}, major, minor, t0, t1, planar, colour);
  } else if (type == "LWPOLYLINE") {
    std::vector<Point> points;
    std::vector<double> bulges;
    for (size_t i = entity.first + 1; i < own; ++i) {
      if (pairs_[i].code == 10) {
        points.push_back({Number(i), 0});
        bulges.push_back(0);
      } else if (pairs_[i].code == 20 && !points.empty()) {
        points.back().y = Number(i);
      } else if (pairs_[i].code == 42 && !bulges.empty()) {
        bulges.back() = Number(i);
      }
    }
    const bool closed = (integer(70, 0) & 1) != 0;
    std::vector<Point> flat = FlattenBulges(points, bulges, closed);
    for (Point& p : flat) p = local.Apply(p);
    AddPolyline(flat, closed, colour);
  } else if (type == "POLYLINE") {
    const long flags = integer(70, 0);
    if (flags & (16 | 64)) {  // polygon meshes and polyface meshes have no outline of their own
      Skip(flags & 64 ? "POLYFACE" : "MESH");
      return true;
    }
    std::vector<Point> points;
    std::vector<double> bulges;
    for (size_t i = own; i < entity.last; ++i) {
      if (!Name(i, "VERTEX")) continue;
      Point p{0, 0};
      double bulge = 0;
      long vertexFlags = 0;
      size_t j = i + 1;
      for (; j < entity.last && pairs_[j].code != 0; ++j) {
        if (pairs_[j].code == 10) p.x = Number(j);
        if (pairs_[j].code == 20) p.y = Number(j);
        if (pairs_[j].code == 42) bulge = Number(j);
        if (pairs_[j].code == 70) vertexFlags = Integer(j);
      }
      i = j - 1;
      if (vertexFlags & 16) continue;  // a spline frame's control point
      points.push_back(p);
      bulges.push_back(bulge);
    }
    const bool closed = (flags & 1) != 0;
    const bool planar = !(flags & 8);  // 3D polylines are in world coordinates
    std::vector<Point> flat = FlattenBulges(points, bulges, closed);
    for (Point& p : flat) p = (planar ? local : transform).Apply(p);
    AddPolyline(flat, closed, colour);
  } else if (type == "SPLINE") {
    std::vector<double> knots, weights;
    std::vector<Point> control, fit;
    for (size_t i = entity.first + 1; i < own; ++i) {
      switch (pairs_[i].code) {
        case 40:
          knots.push_back(Number(i));
          break;
        case 41:
          weights.push_back(Number(i));
          break;
        case 10:
          control.push_back({Number(i), 0});
          break;
        case 20:
          if (!control.empty()) control.back().y = Number(i);
          break;
        case 11:
          fit.push_back({Number(i), 0});
          break;
        case 21:
          if (!fit.empty()) fit.back().y = Number(i);
          break;
        default:
          break;
      }
    }
    std::vector<Point> flat =
        control.empty() ? fit : FlattenSpline(static_cast<int>(integer(71, 3)), knots, control, weights);
    for (Point& p : flat) p = transform.Apply(p);
    AddPolyline(flat, (integer(70, 0) & 1) != 0, colour);
  } else if (type == "SOLID" || type == "TRACE" || type == "3DFACE") {
    // Corners in the order 1, 2, 4, 3 for the two-dimensional ones.
    Point corner[4] = {{value(10, 0), value(20, 0)},
                       {value(11, 0), value(21, 0)},
                       {value(12, 0), value(22, 0)},
                       {value(13, value(12, 0)), value(23, value(22, 0))}};
    if (type != "3DFACE") std::swap(corner[2], corner[3]);
    std::vector<Point> points;
    for (const Point& p : corner) points.push_back((type == "3DFACE" ? transform : local).Apply(p));
    points.push_back(points[0]);
    AddPolyline(points, true, colour);
  } else if (type == "INSERT") {
    const std::string name(Trim([&]() {
      for (size_t i = entity.first + 1; i < own; ++i)
        if (pairs_[i].code == 2) return pairs_[i].value;
      return std::string_view();
    }()));
    auto block = blocks_.find(name);
    if (block == blocks_.end()) return true;
    if (depth >= kMaxBlockDepth) return false;
    const double sx = value(41, 1), sy = value(42, 1);
    const double rotation = value(50, 0) * kPiD / 180.0;
    const long columns = std::max(1L, integer(70, 1)), rows = std::max(1L, integer(71, 1));
    const double columnSpacing = value(44, 0), rowSpacing = value(45, 0);
    if (columns * rows > 100000) {
      tooBig_ = true;
      return true;
    }
    const Point at{value(10, 0), value(20, 0)};
    for (long row = 0; row < rows; ++row)
      for (long column = 0; column < columns; ++column) {
        // Base point to the origin, scale, the array's offset, rotate, to the insertion point.
        Affine place;
        place.a = sx;
        place.d = sy;
        place.e = -block->second.base.x * sx + column * columnSpacing;
        place.f = -block->second.base.y * sy + row * rowSpacing;
        Affine turn;
        turn.a = std::cos(rotation);
        turn.b = std::sin(rotation);
        turn.c = -turn.b;
        turn.d = turn.a;
        turn.e = at.x;
        turn.f = at.y;
        if (!DrawEntities(block->second.entities, place.Then(turn).Then(local), colour, depth + 1))
          return false;
      }
    for (size_t i = own; i < entity.last; ++i)
      if (Name(i, "ATTRIB")) Skip("ATTRIB");
  } else {
    Skip(type);
  }
  return true;
}

// Fits the figures into the 16-bit range and writes the metafile.
bool Reader::Write() {
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  auto include = [&](Point p) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  };
  auto curveAt = [](const Figure& f, double t) {
    return Point{f.centre.x + f.major.x * std::cos(t) + f.minor.x * std::sin(t),
                 f.centre.y + f.major.y * std::cos(t) + f.minor.y * std::sin(t)};
  };
  for (const Figure& figure : figures_) {
    if (figure.curve) {
      include(curveAt(figure, figure.t0));
      include(curveAt(figure, figure.t1));
      // x and y are extreme where their derivatives vanish: t = atan2(minor, major) + n pi.
      for (double base :
           {std::atan2(figure.minor.x, figure.major.x), std::atan2(figure.minor.y, figure.major.y)})
        for (int n = -2; n <= 4; ++n) {
          const double t = base + n * kPiD;
          if (t > figure.t0 && t < figure.t1) include(curveAt(figure, t));
        }
      continue;
    }
    if (!figure.arc) {
      for (size_t i = 0; i < figure.pointCount; ++i) include(points_[figure.firstPoint + i]);
      continue;
    }
    const Point& c = figure.centre;
    if (figure.full) {
      include({c.x - figure.rx, c.y - figure.ry});
      include({c.x + figure.rx, c.y + figure.ry});
      continue;
    }
    include(figure.start);
    include(figure.end);
    // The ellipse's extreme points that the counter-clockwise sweep passes.
    const double a0 = std::atan2((figure.start.y - c.y) / figure.ry, (figure.start.x - c.x) / figure.rx);
    double a1 = std::atan2((figure.end.y - c.y) / figure.ry, (figure.end.x - c.x) / figure.rx);
    if (a1 <= a0) a1 += kTwoPi;
    for (int quarter = -4; quarter <= 8; ++quarter) {
      const double a = quarter * kPiD / 2.0;
      if (a > a0 && a < a1) include({c.x + figure.rx * std::cos(a), c.y + figure.ry * std::sin(a)});
    }
  }
  if (figures_.empty() || !std::isfinite(minX + minY + maxX + maxY)) return false;
  // An arc record holds its whole ellipse's rectangle: an arc whose ellipse reaches past the
  // drawing (a flat arc of a large circle) is written as chords instead, fine enough that they
  // stay within a metafile unit of the curve, so the range stays the drawing's.
  const double margin = std::max(maxX - minX, maxY - minY) * 0.01;
  const double unit = std::max(std::max(maxX - minX, maxY - minY), 1e-9) / kFitUnits;
  for (Figure& figure : figures_) {
    if (figure.curve) {
      // Chords within a metafile unit of the curve.
      const double r =
          std::max(std::hypot(figure.major.x, figure.major.y), std::hypot(figure.minor.x, figure.minor.y));
      const double step = r > unit ? 2.0 * std::acos(1.0 - unit / r) : kTwoPi;
      const int steps =
          std::max(2, std::min(4096, static_cast<int>(std::ceil((figure.t1 - figure.t0) / step))));
      if (!TakePoints(static_cast<size_t>(steps) + 1)) return false;
      figure.curve = false;
      figure.firstPoint = points_.size();
      figure.pointCount = static_cast<size_t>(steps) + 1;
      for (int i = 0; i <= steps; ++i)
        points_.push_back(curveAt(figure, figure.t0 + (figure.t1 - figure.t0) * i / steps));
      continue;
    }
    if (!figure.arc ||
        (figure.centre.x - figure.rx >= minX - margin && figure.centre.x + figure.rx <= maxX + margin &&
         figure.centre.y - figure.ry >= minY - margin && figure.centre.y + figure.ry <= maxY + margin))
      continue;
    const Point& c = figure.centre;
    const double u0 = std::atan2((figure.start.y - c.y) / figure.ry, (figure.start.x - c.x) / figure.rx);
    double u1 = std::atan2((figure.end.y - c.y) / figure.ry, (figure.end.x - c.x) / figure.rx);
    if (figure.full || u1 <= u0) u1 += kTwoPi;
    const double r = std::max(figure.rx, figure.ry);
    const double step = r > unit ? 2.0 * std::acos(1.0 - unit / r) : kTwoPi;
    const int steps = std::max(1, std::min(4096, static_cast<int>(std::ceil((u1 - u0) / step))));
    if (!TakePoints(static_cast<size_t>(steps) + 1)) return false;
    figure.arc = false;
    figure.closed = figure.full;
    figure.firstPoint = points_.size();
    figure.pointCount = static_cast<size_t>(steps) + 1;
    for (int i = 0; i <= steps; ++i) {
      const double u = u0 + (u1 - u0) * i / steps;
      points_.push_back(Point{c.x + figure.rx * std::cos(u), c.y + figure.ry * std::sin(u)});
    }
  }
  out_->minX = minX;
  out_->minY = minY;
  out_->maxX = maxX;
  out_->maxY = maxY;

  // Metafile units per drawing unit: the largest whole number of units per inch that fits the
  // longer side into the range keeps the drawing's size exactly.
  const double extent = std::max(maxX - minX, maxY - minY);
  double perInch = extent > 0 ? std::floor(kFitUnits / extent * unitsPerInch_) : 1000.0;
  perInch = std::min(32767.0, std::max(1.0, perInch));
  double k = perInch / unitsPerInch_;
  if (extent * k > kFitUnits) k = kFitUnits / extent;  // larger than the range can hold at 1 per inch
  auto wx = [&](double x) { return static_cast<int16_t>(std::lround((x - minX) * k)); };
  auto wy = [&](double y) { return static_cast<int16_t>(std::lround((maxY - y) * k)); };

  WmfWriter writer;
  bool havePen = false;
  Rgb pen{0, 0, 0};
  writer.UseBrush(kBrushHollow, 255, 255, 255, 0);
  std::vector<int16_t> xy;
  for (const Figure& figure : figures_) {
    if (!havePen || !(figure.colour == pen)) {
      writer.UsePen(kPenSolid, 0, figure.colour.r, figure.colour.g, figure.colour.b);
      pen = figure.colour;
      havePen = true;
    }
    if (figure.arc) {
      const double cx = (figure.centre.x - minX) * k, cy = (maxY - figure.centre.y) * k;
      const double rx = std::max(figure.rx * k, 0.5), ry = std::max(figure.ry * k, 0.5);
      const int16_t left = static_cast<int16_t>(std::lround(cx - rx)),
                    right = static_cast<int16_t>(std::lround(cx + rx));
      const int16_t top = static_cast<int16_t>(std::lround(cy - ry)),
                    bottom = static_cast<int16_t>(std::lround(cy + ry));
      // The start and end only give directions: they are put far out along them so that the
      // rounding to whole units turns them as little as possible.
      auto direction = [&](Point p, int16_t* x, int16_t* y) {
        double dx = (p.x - figure.centre.x) * k, dy = (figure.centre.y - p.y) * k;
        const double length = std::hypot(dx, dy);
        if (length > 0) {
          double reach = 16000.0 / length;
          // Keep the far point inside the 16-bit range.
          auto limit = [&](double origin, double delta) {
            if (delta > 0) return (32767.0 - origin) / delta;
            if (delta < 0) return (-32768.0 - origin) / delta;
            return HUGE_VAL;
          };
          reach = std::min({reach, limit(cx, dx), limit(cy, dy)});
          reach = std::max(reach, 1.0);
          dx *= reach;
          dy *= reach;
        }
        *x = static_cast<int16_t>(std::lround(std::min(32767.0, std::max(-32768.0, cx + dx))));
        *y = static_cast<int16_t>(std::lround(std::min(32767.0, std::max(-32768.0, cy + dy))));
      };
      int16_t sx, sy, ex, ey;
      direction(figure.start, &sx, &sy);
      if (figure.full) {
        ex = sx;
        ey = sy;
      } else {
        direction(figure.end, &ex, &ey);
      }
      writer.Arc(left, top, right, bottom, sx, sy, ex, ey);
    } else {
      // Long polylines go in pieces that share their joining point.
      size_t done = 0;
      while (done + 1 < figure.pointCount || (done == 0 && figure.pointCount == 1)) {
        const size_t count = std::min<size_t>(WmfWriter::kMaxPolyPoints, figure.pointCount - done);
        xy.clear();
        for (size_t i = 0; i < count; ++i) {
          const Point& p = points_[figure.firstPoint + done + i];
          xy.push_back(wx(p.x));
          xy.push_back(wy(p.y));
        }
        writer.Polyline(xy.data(), static_cast<int>(count));
        if (count < 2) break;
        done += count - 1;
      }
    }
    ++out_->figures;
  }
  if (!out_->note.empty()) writer.Comment(std::string(kImportNoteMarker) + out_->note);
  out_->metafile = writer.Finish();
  out_->picture.metafile = 0;
  out_->picture.left = 0;
  out_->picture.top = 0;
  out_->picture.right = std::max<int32_t>(1, static_cast<int32_t>(std::lround((maxX - minX) * k)));
  out_->picture.bottom = std::max<int32_t>(1, static_cast<int32_t>(std::lround((maxY - minY) * k)));
  out_->picture.unitsPerInch = static_cast<int16_t>(perInch);
  return true;
}

int16_t Reader::Run(const char* text, size_t length) {
  static const char kBinarySentinel[] = "AutoCAD Binary DXF";
  if (length >= sizeof kBinarySentinel - 1 &&
      std::memcmp(text, kBinarySentinel, sizeof kBinarySentinel - 1) == 0)
    return Refuse(kFilterInvalidData, "binary DXF is not read; save the drawing as ASCII DXF");
  if (!Tokenise(text, length))
    return Refuse(kFilterInvalidData, "not a DXF file: a group code is not a number");
  bool sawEOF = false;
  for (size_t i = 0; i < pairs_.size(); ++i) {
    if (Name(i, "EOF")) {
      sawEOF = true;
      break;
    }
    if (!Name(i, "SECTION") || i + 1 >= pairs_.size() || pairs_[i + 1].code != 2) continue;
    const std::string_view section = Trim(pairs_[i + 1].value);
    size_t end = i + 2;
    while (end < pairs_.size() && !Name(end, "ENDSEC")) ++end;
    if (end >= pairs_.size())
      return Refuse(kFilterIncomplete, "the file ends inside its " + std::string(section) + " section");
    if (section == "HEADER") ReadHeader(i + 2, end);
    if (section == "TABLES") ReadTables(i + 2, end);
    if (section == "BLOCKS") ReadBlocks(i + 2, end);
    if (section == "ENTITIES") ReadEntities(i + 2, end, &entities_);
    i = end;
  }
  if (pairs_.empty()) return Refuse(kFilterInvalidData, "not a DXF file: it holds no group codes");
  (void)sawEOF;  // many writers end without EOF; what was read is kept
  if (!DrawEntities(entities_, Affine(), IndexColour(7), 0))
    return Refuse(kFilterInvalidData, "blocks are nested deeper than 32 or insert themselves");
  if (badNumber_) return Refuse(kFilterInvalidData, "a coordinate or value is not a number");
  if (tooBig_)
    return Refuse(kFilterMetafileTooBig, "the drawing expands to more figures than an import holds");
  for (const auto& skipped : skipped_) {
    if (!out_->note.empty()) out_->note += ", ";
    out_->note += std::to_string(skipped.second) + " " + skipped.first;
  }
  if (!out_->note.empty()) out_->note = "Not imported: " + out_->note + ".";
  if (figures_.empty()) return Refuse(kFilterInvalidData, "the drawing holds nothing that can be imported");
  if (!Write())
    return tooBig_ ? Refuse(kFilterMetafileTooBig, "the drawing expands to more figures than an import holds")
                   : Refuse(kFilterInvalidData, "the drawing's extents are not finite");
  return kFilterOK;
}

}  // namespace

int16_t ReadDxf(const char* text, size_t length, DxfImport* out) {
  *out = DxfImport();
  if (!text) return kFilterInvalidData;
  try {
    Reader reader(out);
    return reader.Run(text, length);
  } catch (const std::bad_alloc&) {
    *out = DxfImport();
    out->failure = "not enough memory";
    return kFilterNoMemory;
  }
}

int16_t ReadDxfFile(const char* path, DxfImport* out) {
  *out = DxfImport();
  FILE* file = path ? std::fopen(path, "rb") : nullptr;
  if (!file) {
    out->failure = "cannot be opened";
    return kFilterCannotOpen;
  }
  std::vector<char> text;
  char block[65536];
  size_t got;
  try {
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.insert(text.end(), block, block + got);
  } catch (const std::bad_alloc&) {
    std::fclose(file);
    out->failure = "not enough memory";
    return kFilterNoMemory;
  }
  const bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (readError) {
    out->failure = "cannot be read";
    return kFilterCannotOpen;
  }
  return ReadDxf(text.data(), text.size(), out);
}
