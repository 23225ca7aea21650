#include "tools/toolstate.h"

int16_t gCurTool = kStandardTool;
int16_t gCurSnap = kNoSnap;
uint8_t gSnapLocked = 0;
uint8_t gPointOrientation = 0;
int16_t gPattern = kNoFill;
int16_t gSelectIndex = 1;
uint8_t gResetStdTool = 1;
ClickInfo gClickInfo = {};
TrackState gTrackState = {};
uint16_t gTrackModifiers = 0;
