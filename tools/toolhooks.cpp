#include "tools/toolhooks.h"

ToolHooks gToolHooks = {};

void UpdateXY(float x, float y) {
  if (gToolHooks.updateXY) gToolHooks.updateXY(x, y);
}
void UpdateWH(float width, float height) {
  if (gToolHooks.updateWH) gToolHooks.updateWH(width, height);
}
void UpdateAngle(float degrees) {
  if (gToolHooks.updateAngle) gToolHooks.updateAngle(degrees);
}
void UpdateRadius(float radius) {
  if (gToolHooks.updateRadius) gToolHooks.updateRadius(radius);
}
void UpdateDiameter(float diameter) {
  if (gToolHooks.updateDiameter) gToolHooks.updateDiameter(diameter);
}
void UpdateScale(float xPercent, float yPercent) {
  if (gToolHooks.updateScale) gToolHooks.updateScale(xPercent, yPercent);
}
void UpdateGroupLock() {
  if (gToolHooks.updateGroupLock) gToolHooks.updateGroupLock();
}
void UpdateSelectionStateAreasHook() {
  if (gToolHooks.updateSelectionStateAreas) gToolHooks.updateSelectionStateAreas();
}
void ResetStandardTool() {
  if (gToolHooks.resetStandardTool) gToolHooks.resetStandardTool();
}
void MoveRulerMarks(int32_t x, int32_t y) {
  if (gToolHooks.moveRulerMarks) gToolHooks.moveRulerMarks(x, y);
}
void MakeHitOutline(ObjectRec* object) {
  if (gToolHooks.makeHitOutline) gToolHooks.makeHitOutline(object);
}
void UpdateToolMenus() {
  if (gToolHooks.updateMenus) gToolHooks.updateMenus();
}
