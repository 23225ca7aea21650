// Dash patterns of the line types 7 to 11. The pattern phase carries over from one segment to
// the next of the same object, so corners and curve chords do not restart it.
#include "render/linestlr.h"

#include "geometry/gnrlmath.h"
#include "geometry/zoomhdlr.h"
#include "render/drawhdlr.h"

StyleState gStyleState;

namespace {

constexpr float kLongDash = 60.0f;
constexpr float kShortDash = 7.0f;
constexpr float kMediumDash = 20.0f;
constexpr float kDot = 8.0f;
constexpr float kGap = 6.0f;
constexpr float kWideGap = 12.0f;

void SetEntries(StyleState* state, const float* lengths, const bool* isGap, int count, float extraGap) {
  state->entryCount = static_cast<int16_t>(count);
  for (int i = 0; i < kMaxStyleEntries; ++i)
    state->entries[i] = i < count ? ZoomF(isGap[i] ? lengths[i] + extraGap : lengths[i]) : 0.0f;
  state->entryIndex = 0;
  state->entryUsed = 0.0f;
}

}  // namespace

void LoadStyle(int16_t lineType, StyleState* state, float extraGap) {
  if (!state) return;
  const bool gaps[kMaxStyleEntries] = {false, true, false, true, false, true};
  switch (lineType) {
    case 7: {
      const float l[] = {kLongDash, kGap, kShortDash, kGap};
      SetEntries(state, l, gaps, 4, extraGap);
      break;
    }
    case 8: {
      const float l[] = {kLongDash, kGap, kShortDash, kGap, kShortDash, kGap};
      SetEntries(state, l, gaps, 6, extraGap);
      break;
    }
    case 9: {
      const float l[] = {kMediumDash, kGap};
      SetEntries(state, l, gaps, 2, extraGap);
      break;
    }
    case 10: {
      const float l[] = {kDot, kGap};
      SetEntries(state, l, gaps, 2, extraGap);
      break;
    }
    case 11: {
      const float l[] = {kDot, kGap, kDot, kWideGap};
      SetEntries(state, l, gaps, 4, extraGap);
      break;
    }
    default:
      break;
  }
}

void DrawStyledTo(float length, float angle, float* x, float* y, int16_t entryIndex) {
  if (length <= 0.0f || !x || !y) return;
  float dx = 0.0f, dy = 0.0f;
  GetPointFromLengthAndAngle(angle, length, &dx, &dy);
  *x += dx;
  *y += dy;
  if (entryIndex % 2 == 0)
    PenLineTo(*x, *y);
  else
    PenMoveTo(*x, *y);
}

void DrawStyledLine(float x1, float y1, float x2, float y2, StyleState* state, bool continuing) {
  if (!state || state->entryCount <= 0) return;
  float length = 0.0f;
  const float angle = GetLineLengthAndAngle(x1, y1, x2, y2, &length);
  float x = x1, y = y1;
  if (!continuing) PenMoveTo(x, y);
  // A pattern of zero-length entries would never advance.
  float total = 0.0f;
  for (int i = 0; i < state->entryCount; ++i) total += state->entries[i];
  if (!(total > 0.0f)) return;
  while (length > 0.0f) {
    const float rest = state->entries[state->entryIndex] - state->entryUsed;
    if (length < rest) {
      DrawStyledTo(length, angle, &x, &y, state->entryIndex);
      state->entryUsed += length;
      return;
    }
    DrawStyledTo(rest, angle, &x, &y, state->entryIndex);
    state->entryIndex = static_cast<int16_t>((state->entryIndex + 1) % state->entryCount);
    state->entryUsed = 0.0f;
    length -= rest;
  }
}
