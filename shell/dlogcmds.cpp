// The settings commands: each runs its dialog on the current drawing and, after OK, applies
// the new setting to the selection or repaints what shows it.
#include "shell/dlogcmds.h"

#include <windows.h>

#include "model/docstate.h"
#include "render/drawhdlr.h"
#include "shell/cmdids.h"
#include "shell/setdlogs.h"
#include "shell/shell.h"
#include "tools/selhndlr.h"

namespace {

DocState* State() {
  return gCurDocument ? gCurDocument->docState : nullptr;
}

LayerRec* Layers() {
  return gCurDocument ? gCurDocument->firstLayer : nullptr;
}

void Invalidate(WindowHandle window, bool erase) {
  if (window) InvalidateRect(static_cast<HWND>(window), nullptr, erase ? TRUE : FALSE);
}

// The rulers, their unit box and the readouts show the scale and the origin.
void RepaintRulers() {
  const DocumentRec* document = gCurDocument;
  if (!document) return;
  Invalidate(document->miscWindow, false);
  Invalidate(document->horizontalRuler, true);
  Invalidate(document->verticalRuler, true);
  Invalidate(document->rulerUnitWindow, true);
}

}  // namespace

// OK duplicates the selection at once with the new offsets.
void OnDuplicateOffsets(int) {
  if (DupeOffsetsDLOG(State())) SendFrameCommand(CMD_DUPLICATE);
}

void OnNudgeRate(int) {
  NudgeRateDLOG(State());
}

// OK smooths the selection again with the new tension.
void OnTension(int) {
  if (TensionDLOG(State())) SendFrameCommand(CMD_SMOOTH);
}

void OnPreferences(int) {
  if (PreferencesDLOG(State())) Refresh();
}

void OnRulersScale(int) {
  if (!DrawingScaleDLOG(State())) return;
  RepaintRulers();
  Refresh();
}

void OnGridSpacing(int) {
  if (GridSpacingDLOG(State())) Refresh();
}

// The selected dimensions take the drawing's tolerance style.
void OnToleranceValues(int) {
  DocState* state = State();
  if (!TolerancesDLOG(state)) return;
  const uint32_t flags = state->dimFlags;
  const int style = (flags & (1u << 9))    ? kSingleTolerance
                    : (flags & (1u << 10)) ? kDoubleTolerance
                    : (flags & (1u << 11)) ? kLimitingTolerance
                                           : kNoTolerance;
  SelectedObjectAllLayers(Layers(), true, style, state);
  Refresh();
}

void OnParallelFormat(int) {
  ParallelFormatDLOG(State());
}

void OnLineTypes(int id) {
  DocState* state = State();
  if (!LineTypesDLOG(state)) return;
  SelectedObjectAllLayers(Layers(), true, id, &state->lineType);
  Refresh();
  state->selectionState.lineType = state->lineType;
  state->selectionState.lineTypeUniform = 1;
}

void OnLineSize(int id) {
  DocState* state = State();
  if (!LineSizeDLOG(state)) return;
  SelectedObjectAllLayers(Layers(), true, id, &state->lineWeight);
  Refresh();
  state->selectionState.lineWeight = state->lineWeight;
  state->selectionState.lineWeightUniform = 1;
  state->lineSize = state->lineWeight;
}

void OnMoveOrigin(int) {
  if (!MoveOriginDLOG(State())) return;
  RepaintRulers();
  Refresh();
}

void OnScrollingSpeed(int) {
  ScrollingSpeedDLOG(State());
}

void OnLayering(int) {
  if (LayeringDLOG(State())) Refresh();
}
