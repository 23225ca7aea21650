// Drawing a dimension's readout on its label, on the drawing port or the print context.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "dimensions/drawdim2.h"
#include "dimensions/drawdim2_win.h"
#include "dimensions/drawdims.h"
#include "geometry/zoomhdlr.h"
#include "model/objstuff.h"
#include "render/drawhdlr.h"
#include "render/imagefile.h"

namespace {

constexpr int32_t kStringWidthPad = 2;  // the port's string widths carry two pixels of air

COLORREF BackgroundColour() {
  const DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  return state ? DeviceColor(state->backColor) : RGB(255, 255, 255);
}

int32_t MeasureOn(const char* text, void* context) {
  SIZE size = {0, 0};
  GetTextExtentPoint32A(static_cast<HDC>(context), text, static_cast<int>(std::strlen(text)), &size);
  return size.cx + kStringWidthPad;
}

int32_t Scaled(int32_t v, float scale) {
  return scale > 0.0f ? static_cast<int32_t>(v / scale) : v;
}

// A readout's box in the background colour. The screen recolours the context's own brush
// instead of making and deleting one for each readout; metafiles and printers get a brush made
// for the box, as a metafile records only brushes it is given.
void FillBox(HDC dc, const RECT& r) {
  if (!IsPrintPath()) {
    SetDCBrushColor(dc, BackgroundColour());
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return;
  }
  HBRUSH brush = CreateSolidBrush(BackgroundColour());
  if (!brush) return;
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// A readout font on the screen, made once and kept by its logical font with its metrics: making
// a font and asking for its metrics cost more than drawing a readout, and a screen font keeps them.
// On a raster screen it also keeps the glyph and advance of each character a readout can hold,
// once asked for: a readout's widths are then sums, and its lines are drawn by glyph, without the
// platform measuring the strings or looking up each character.
struct ScreenFont {
  LOGFONTA font;
  HFONT handle;
  TEXTMETRICA metrics;
  enum { kNotAsked, kDirect, kIndirect } direct;
  WORD glyphs[256];
  INT advances[256];
};

// The kept font, or null when it cannot be made. The pointer lasts until the next call.
ScreenFont* FindScreenFont(HDC dc, const LOGFONTA& font) {
  constexpr int kKept = 8;
  static ScreenFont kept[kKept];
  static int count = 0, next = 0;
  for (int i = 0; i < count; ++i)
    if (std::memcmp(&kept[i].font, &font, sizeof font) == 0) return &kept[i];
  HFONT handle = CreateFontIndirectA(&font);
  if (!handle) return nullptr;
  TEXTMETRICA metrics;
  HGDIOBJ saved = SelectObject(dc, handle);
  const bool measured = GetTextMetricsA(dc, &metrics) != 0;
  SelectObject(dc, saved);
  if (!measured) {
    DeleteObject(handle);
    return nullptr;
  }
  // The oldest goes. A readout may have left it selected in the session's context.
  if (count == kKept) {
    PutBackPortFont();
    DeleteObject(kept[next].handle);
  }
  kept[next].font = font;
  kept[next].handle = handle;
  kept[next].metrics = metrics;
  kept[next].direct = ScreenFont::kNotAsked;
  ScreenFont* found = &kept[next];
  next = (next + 1) % kKept;
  if (count < kKept) ++count;
  return found;
}

bool gReadoutTextDirect = true;
long gDirectReadouts = 0;  // readouts drawn by glyph

// Whether a font's table may measure and draw text on `dc`: a raster screen in plain pixels,
// with no spacing added between characters.
bool IsPlainRasterScreen(HDC dc) {
  // Off the print path the readout's context is the session's, which IsPortRaster asks about.
  return gReadoutTextDirect && IsPortRaster() && GetMapMode(dc) == MM_TEXT &&
         GetGraphicsMode(dc) == GM_COMPATIBLE && GetTextCharacterExtra(dc) == 0;
}

// The characters the table has a glyph for, in order, at most `size` of them.
int ShownCharacters(const ScreenFont& font, char* shown, int size) {
  int n = 0;
  for (int c = ' '; c < 256 && n < size; ++c)
    if (font.glyphs[c] != 0xFFFF) shown[n++] = static_cast<char>(c);
  return n;
}

// Fills the glyph and advance of every character a readout can hold in the font selected in
// `dc`, kept only when they place text as the platform does: an upright font without lines
// through or under its text, in a code page of one byte per character, whose advances add up to
// the platform's own extents of every character it has.
bool MakeDirectTable(HDC dc, ScreenFont* font) {
  const LOGFONTA& f = font->font;
  if (f.lfEscapement != 0 || f.lfOrientation != 0 || f.lfUnderline || f.lfStrikeOut) return false;
  CHARSETINFO charset;
  CPINFO codePage;
  if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(GetTextCharset(dc))), &charset,
                            TCI_SRCCHARSET) ||
      !GetCPInfo(charset.ciACP, &codePage) || codePage.MaxCharSize != 1)
    return false;
  // Only the characters a readout can hold are asked about. Any other is left to the platform: a
  // string holding one is measured and drawn by it. The fewer characters the table holds, the
  // less making and checking it costs.
  char wanted[256];
  int count = 0;
  for (int c = 1; c < 256; ++c)
    if (IsReadoutCharacter(static_cast<char>(c))) wanted[count++] = static_cast<char>(c);
  WORD found[256];
  if (count == 0 ||
      GetGlyphIndicesA(dc, wanted, count, found, GGI_MARK_NONEXISTING_GLYPHS) != static_cast<DWORD>(count))
    return false;
  std::fill(std::begin(font->glyphs), std::end(font->glyphs), WORD{0xFFFF});
  for (int i = 0; i < count; ++i) {
    const unsigned char c = static_cast<unsigned char>(wanted[i]);
    if (!GetCharWidth32A(dc, c, c, &font->advances[c])) return false;
    font->glyphs[c] = found[i];
  }
  char shown[256];
  const int n = ShownCharacters(*font, shown, sizeof shown);
  INT ends[256];
  SIZE size;
  if (n == 0 || !GetTextExtentExPointA(dc, shown, n, 0, nullptr, ends, &size)) return false;
  INT end = 0;
  for (int i = 0; i < n; ++i) {
    end += font->advances[static_cast<unsigned char>(shown[i])];
    if (end != ends[i]) return false;
  }
  return true;
}

// The width of `text` by the table; false when a character has no glyph.
bool DirectWidth(const ScreenFont& font, const char* text, int32_t* width) {
  int32_t sum = 0;
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
    if (font.glyphs[*c] == 0xFFFF) return false;
    sum += font.advances[*c];
  }
  *width = sum;
  return true;
}

// Metrics and widths of the selected font in the units the box is laid out in: screen pixels,
// or the printer's device units brought back to screen units. A string the table cannot
// measure is measured by the platform, and the readout is then drawn line by line.
struct Measure {
  HDC dc;
  float scale;  // device units per layout unit
  const ScreenFont* direct;
};
int32_t MeasureLayout(const char* text, void* context) {
  Measure* m = static_cast<Measure*>(context);
  int32_t width = 0;
  if (m->direct && DirectWidth(*m->direct, text, &width)) return width + kStringWidthPad;
  m->direct = nullptr;
  return Scaled(MeasureOn(text, m->dc) - kStringWidthPad, m->scale) + kStringWidthPad;
}

// Draws each string from its baseline start by its glyphs, as the platform would draw its
// characters. False, having drawn nothing, when a character has no glyph.
bool DrawLinesByGlyph(HDC dc, const ScreenFont& font, const POINT* starts, const char* const* texts,
                      int count) {
  WORD glyphs[3][kReadoutTextSize];
  int lengths[3] = {0, 0, 0};
  if (count > 3) return false;
  for (int line = 0; line < count; ++line)
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(texts[line]); *c; ++c) {
      if (lengths[line] == kReadoutTextSize || font.glyphs[*c] == 0xFFFF) return false;
      glyphs[line][lengths[line]++] = font.glyphs[*c];
    }
  for (int line = 0; line < count; ++line)
    if (lengths[line] > 0)
      ExtTextOutW(dc, starts[line].x, starts[line].y, ETO_GLYPH_INDEX, nullptr,
                  reinterpret_cast<LPCWSTR>(glyphs[line]), static_cast<UINT>(lengths[line]), nullptr);
  return true;
}

// Whether drawing by the table's glyphs gives the platform's own picture of the characters: both
// draw every character of the table, each followed by another, on two lines, into pictures of
// their own, which must be the same. The table holds two dozen characters at most, so the
// pictures stay small at any size of font.
bool DrawsAsThePlatform(const ScreenFont& font) {
  char line[kReadoutTextSize];
  int n = ShownCharacters(font, line, sizeof line - 2);
  if (n == 0) return false;
  line[n] = line[n > 1 && line[0] == ' ' ? 1 : 0];  // the last character's advance shows too
  line[++n] = '\0';
  int32_t width = 0;
  DirectWidth(font, line, &width);
  const TEXTMETRICA& tm = font.metrics;
  const int32_t lineHeight = tm.tmHeight + tm.tmExternalLeading, margin = tm.tmMaxCharWidth + 4;
  const POINT starts[2] = {{margin, margin + tm.tmAscent},
                           {margin + 3, margin + tm.tmAscent + lineHeight + 1}};
  const char* const texts[2] = {line, line};
  DibCanvas pictures[2];
  bool same = false;
  if (CreateDibCanvas(width + 2 * margin + 3, 2 * lineHeight + 2 * margin, &pictures[0]) &&
      CreateDibCanvas(width + 2 * margin + 3, 2 * lineHeight + 2 * margin, &pictures[1])) {
    for (DibCanvas& picture : pictures) {
      SelectObject(picture.dc, font.handle);
      SetTextAlign(picture.dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
      SetBkMode(picture.dc, TRANSPARENT);
    }
    for (const POINT& start : starts) TextOutA(pictures[0].dc, start.x, start.y, line, n);
    same = DrawLinesByGlyph(pictures[1].dc, font, starts, texts, 2) &&
           std::memcmp(pictures[0].bits, pictures[1].bits,
                       static_cast<size_t>(pictures[0].width) * pictures[0].height * sizeof(uint32_t)) == 0;
  }
  for (DibCanvas& picture : pictures) DeleteDibCanvas(&picture);
  return same;
}

// The font itself when a readout may be drawn through its table on `dc`, where it is selected.
const ScreenFont* DirectFont(HDC dc, ScreenFont* font) {
  if (!font || !IsPlainRasterScreen(dc)) return nullptr;
  if (font->direct == ScreenFont::kNotAsked)
    font->direct =
        MakeDirectTable(dc, font) && DrawsAsThePlatform(*font) ? ScreenFont::kDirect : ScreenFont::kIndirect;
  return font->direct == ScreenFont::kDirect ? font : nullptr;
}

// The strings of a readout placed with its box's left and bottom at `left`, `bottom`, on their
// baselines, in `colour`, over what is there.
void DrawReadoutLines(HDC dc, const ReadoutPlacement& place, float left, float bottom, COLORREF colour,
                      const ScreenFont* direct) {
  const UINT savedAlign = SetTextAlign(dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
  const COLORREF savedColour = SetTextColor(dc, colour);
  const int savedMode = SetBkMode(dc, TRANSPARENT);
  POINT starts[3];
  const char* texts[3];
  int count = 0;
  for (const ReadoutPlacement::Line& line : place.lines) {
    if (!line.text) continue;
    starts[count] = {RoundToInt(left) + 1 + line.dx, RoundToInt(bottom) - line.rise};
    if (IsPrintPath())
      starts[count] = {RoundToInt((left + 1 + line.dx) * PrintScaleH()),
                       RoundToInt((bottom - line.rise) * PrintScaleV())};
    texts[count++] = line.text;
  }
  if (direct && DrawLinesByGlyph(dc, *direct, starts, texts, count))
    ++gDirectReadouts;
  else
    for (int i = 0; i < count; ++i)
      TextOutA(dc, starts[i].x, starts[i].y, texts[i], static_cast<int>(std::strlen(texts[i])));
  SetBkMode(dc, savedMode);
  SetTextColor(dc, savedColour);
  SetTextAlign(dc, savedAlign);
}

// The label's stored font with its height scaled to the device: the zoom, or the printer's scale.
LOGFONTA ReadoutFont(const DimTextInfo* text, float scale) {
  LOGFONTA font;
  static_assert(sizeof font == sizeof text->font, "a stored font is a logical font");
  std::memcpy(&font, &text->font, sizeof font);
  font.lfHeight = ScaledFontHeight(text->font.height, scale);
  return font;
}

// The readout of `value` (world units, or degrees for an angle) centred on the label.
void DrawReadout(const DimInfo* info, float value, bool angle) {
  ObjectRec* label = info ? info->textObject : nullptr;
  const DimTextInfo* text = (label && label->kind == kDimensionTextKind) ? DimTextInfoOf(label) : nullptr;
  const DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  HDC dc = IsPrintPath() ? PrintPathDC() : PortSessionDC();
  if (!text || !state || !dc) return;

  const float zoom = CurrentZoom();
  const LOGFONTA font = ReadoutFont(text, IsPrintPath() ? PrintScaleH() : zoom);
  ScreenFont* kept = IsPrintPath() ? nullptr : FindScreenFont(dc, font);
  HFONT created = kept ? nullptr : CreateFontIndirectA(&font);
  if (!kept && !created) return;
  TEXTMETRICA tm;
  if (kept) tm = kept->metrics;
  FlushPortLines();
  // A kept font stays selected in the session for the next readout; a made one is put back.
  HGDIOBJ savedFont = nullptr;
  if (kept)
    UsePortFont(kept->handle);
  else
    savedFont = SelectObject(dc, created);
  if (!kept && !GetTextMetricsA(dc, &tm)) std::memset(&tm, 0, sizeof tm);

  DimensionStrings strings;
  FormatPlacedStrings(value, angle, info->dimFlags, info->upperTolerance, info->lowerTolerance, state,
                      &strings);
  Measure measure = {dc, IsPrintPath() ? PrintScaleH() : 1.0f, DirectFont(dc, kept)};
  const float vScale = IsPrintPath() ? PrintScaleV() : 1.0f;
  const ReadoutMetrics metrics = {Scaled(tm.tmAscent, vScale), Scaled(tm.tmDescent, vScale),
                                  Scaled(tm.tmExternalLeading, vScale), MeasureLayout, &measure};
  char joined[kReadoutTextSize];
  ReadoutPlacement place;
  PlaceReadout(strings, info->dimFlags, metrics, joined, &place);

  float cx = 0, cy = 0;
  CenterOfObject(label, &cx, &cy);
  cx = ZoomF(cx);
  cy = ZoomF(cy);
  const float left = cx - place.width / 2.0f, right = cx + place.width / 2.0f;
  const float top = cy - place.height / 2.0f, bottom = cy + place.height / 2.0f;
  const bool framed = (info->dimFlags & kDimTextFrame) != 0;
  // A muted port fits the label of a dimension that shapes drawn after it hide, drawing nothing.
  const bool drawn = !IsPortMuted();
  if (IsPrintPath()) {
    const FloatRect box = {top - zoom, left - zoom, bottom + 1 + zoom, right + 1 + zoom};
    PrintEraseRect(&box);
    if (framed) PrintFrameRect(&box);
  } else if (drawn) {
    const int32_t grow = static_cast<int32_t>(zoom + 0.5f);
    const QDRect box = {RoundToInt(left) - grow, RoundToInt(top) - grow, RoundToInt(right) + 1 + grow,
                        RoundToInt(bottom) + 1 + grow};
    const RECT rect = {box.left, box.top, box.right, box.bottom};
    if (!framed || !PortFramedBox(rect, BackgroundColour())) {
      FillBox(dc, rect);
      if (framed) {
        PortMoveTo(static_cast<float>(box.left), static_cast<float>(box.top));
        PortLineTo(static_cast<float>(box.right), static_cast<float>(box.top));
        PortLineTo(static_cast<float>(box.right), static_cast<float>(box.bottom));
        PortLineTo(static_cast<float>(box.left), static_cast<float>(box.bottom));
        PortLineTo(static_cast<float>(box.left), static_cast<float>(box.top));
        FlushPortLines();
      }
    }
  }
  if (drawn) DrawReadoutLines(dc, place, left, bottom, DeviceColor(label->penColor), measure.direct);

  // The label hugs the readout: its corners and bounds become the unzoomed box.
  const float corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  PointRec* p = label->firstPoint;
  int placed = 0;
  for (; placed < 4 && p; ++placed, p = p->nextPoint) {
    p->x = UnzoomF(corners[placed][0]);
    p->y = UnzoomF(corners[placed][1]);
  }
  if (placed == 4) label->bounds = {UnzoomF(top), UnzoomF(left), UnzoomF(bottom), UnzoomF(right)};

  if (created) {
    SelectObject(dc, savedFont);
    DeleteObject(created);
  }
}

// A width no string of the font is wider than: every character at the widest advance, with a
// pixel of rounding and one of emboldening each.
int32_t WidestWidth(const char* text, void* context) {
  const TEXTMETRICA* tm = static_cast<const TEXTMETRICA*>(context);
  return static_cast<int32_t>(std::strlen(text)) * (tm->tmMaxCharWidth + 2) + tm->tmOverhang +
         kStringWidthPad;
}

}  // namespace

bool GetReadoutReach(const ObjectRec* dimension, RECT* reach) {
  const DimInfo* info = dimension ? DimInfoOf(dimension) : nullptr;
  const ObjectRec* label = info ? info->textObject : nullptr;
  const DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  HDC dc = PortSessionDC();
  float value = 0;
  bool angle = false;
  if (!label || label->kind != kDimensionTextKind || !label->info || !state || !dc || IsPrintPath() ||
      !MeasureDimension(dimension, state, &value, &angle))
    return false;
  const float zoom = CurrentZoom();
  const ScreenFont* kept = FindScreenFont(dc, ReadoutFont(DimTextInfoOf(label), zoom));
  if (!kept) return false;
  TEXTMETRICA tm = kept->metrics;
  DimensionStrings strings;
  FormatPlacedStrings(value, angle, info->dimFlags, info->upperTolerance, info->lowerTolerance, state,
                      &strings);
  const ReadoutMetrics metrics = {tm.tmAscent, tm.tmDescent, tm.tmExternalLeading, WidestWidth, &tm};
  char joined[kReadoutTextSize];
  ReadoutPlacement place;
  PlaceReadout(strings, info->dimFlags, metrics, joined, &place);
  float cx = 0, cy = 0;
  CenterOfObject(label, &cx, &cy);
  // The box as the drawing grows it, then three lines' height more each way for glyphs standing
  // out of their cells and baselines set below the box.
  const int32_t grow = static_cast<int32_t>(zoom + 0.5f) + 2 + 3 * (tm.tmHeight + tm.tmExternalLeading);
  *reach = RECT{
      RoundToInt(ZoomF(cx) - place.width / 2.0f) - grow, RoundToInt(ZoomF(cy) - place.height / 2.0f) - grow,
      RoundToInt(ZoomF(cx) + place.width / 2.0f) + grow, RoundToInt(ZoomF(cy) + place.height / 2.0f) + grow};
  return true;
}

void SetReadoutTextDirect(bool direct) {
  gReadoutTextDirect = direct;
}

long DirectReadoutCount() {
  return gDirectReadouts;
}

void DrawLengthText(const DimInfo* info, float x1, float y1, float x2, float y2) {
  const DocState* state = gCurDocument ? gCurDocument->docState : nullptr;
  DrawReadout(info, DimensionLengthValue(x1, y1, x2, y2, state), false);
}

void DrawAngleText(const DimInfo* info, float a1, float a2) {
  DrawReadout(info, DimensionAngleValue(a1, a2), true);
}

void PrintEraseRect(const FloatRect* rect) {
  if (!rect || !IsPrintPath() || !PrintPathDC()) return;
  FlushPortLines();
  FillBox(PrintPathDC(),
          RECT{RoundToInt(rect->left * PrintScaleH()), RoundToInt(rect->top * PrintScaleV()),
               RoundToInt(rect->right * PrintScaleH()), RoundToInt(rect->bottom * PrintScaleV())});
}

void PrintFrameRect(const FloatRect* rect) {
  if (!rect || !IsPrintPath() || !PrintPathDC()) return;
  PrintMoveTo(rect->left, rect->top);
  PrintLineTo(rect->right, rect->top);
  PrintLineTo(rect->right, rect->bottom);
  PrintLineTo(rect->left, rect->bottom);
  PrintLineTo(rect->left, rect->top);
  FlushPortLines();
}

void PrintArc(const FloatRect* box, int16_t startAngle, int16_t arcAngle) {
  if (!box || !IsPrintPath() || !PrintPathDC()) return;
  const QDRect scaled = {RoundToInt(box->left * PrintScaleH()), RoundToInt(box->top * PrintScaleV()),
                         RoundToInt(box->right * PrintScaleH()), RoundToInt(box->bottom * PrintScaleV())};
  FlushPortLines();
  FrameArc(&scaled, startAngle, arcAngle);
}
