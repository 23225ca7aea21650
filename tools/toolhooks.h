// What the tools ask of the windows around the drawing: the readouts, the toolbar's group and
// lock indicators, the selection swatches, the ruler marks and the return to the standard tool.
// The tools sit below the shell, so the shell fills gToolHooks at start-up; an entry left null
// does nothing, which is what tests and the converter get.
#pragma once

#include <cstdint>

struct ObjectRec;

struct ToolHooks {
  // Readouts; every value is in zoomed screen units, converted to the user's units by the pane.
  void (*updateXY)(float x, float y);
  void (*updateWH)(float width, float height);
  void (*updateAngle)(float degrees);
  void (*updateRadius)(float radius);
  void (*updateDiameter)(float diameter);
  void (*updateScale)(float xPercent, float yPercent);
  // The group and lock boxes of the current drawing's toolbar, from the selection.
  void (*updateGroupLock)();
  // The fill and pen swatches of the toolbar and the pattern pane, from the selection state.
  void (*updateSelectionStateAreas)();
  // The standard tool becomes current again when the preference asks for it.
  void (*resetStandardTool)();
  // The rulers' cursor marks follow a window logical position.
  void (*moveRulerMarks)(int32_t x, int32_t y);
  // The menus' checks, greys and texts (the Undo item) are brought up to date.
  void (*updateMenus)();
  // The Snap toolbox's highlight moves to the button of `snap` (with the lock frame when
  // `locked`) and that snap becomes current; false when there is no Snap toolbox.
  bool (*selectSnapTool)(int16_t snap, bool locked);
  // The screen outline of a filled shape whose outline the last paint owes, at the current zoom.
  void (*makeHitOutline)(ObjectRec* object);
};

extern ToolHooks gToolHooks;

// The forwarders the tools call; each does nothing when its hook is null.
void UpdateXY(float x, float y);
void UpdateWH(float width, float height);
void UpdateAngle(float degrees);
void UpdateRadius(float radius);
void UpdateDiameter(float diameter);
void UpdateScale(float xPercent, float yPercent);
void UpdateGroupLock();
void UpdateSelectionStateAreasHook();
void ResetStandardTool();
void MoveRulerMarks(int32_t x, int32_t y);
void UpdateToolMenus();
void MakeHitOutline(ObjectRec* object);
