// Dashed line types, drawn as dash pieces with the object's own solid pen so dashes keep its
// width and colour on the screen, the printer and in metafiles alike.
#pragma once

#include <cstdint>

constexpr int kMaxStyleEntries = 6;

struct StyleState {
  int16_t entryCount;
  float entries[kMaxStyleEntries];  // zoomed lengths; even entries dashes, odd entries gaps
  int16_t entryIndex;
  float entryUsed;
};

extern StyleState gStyleState;

void LoadStyle(int16_t lineType, StyleState* state, float extraGap);
void DrawStyledLine(float x1, float y1, float x2, float y2, StyleState* state, bool continuing);
void DrawStyledTo(float length, float angle, float* x, float* y, int16_t entryIndex);
