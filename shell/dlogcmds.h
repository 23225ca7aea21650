// The commands that open the settings dialogs, and what each does after OK.
#pragma once

void OnDuplicateOffsets(int id);
void OnNudgeRate(int id);
void OnTension(int id);
void OnPreferences(int id);
void OnRulersScale(int id);
void OnGridSpacing(int id);
void OnToleranceValues(int id);
void OnParallelFormat(int id);
void OnLineTypes(int id);
void OnLineSize(int id);
void OnMoveOrigin(int id);
void OnScrollingSpeed(int id);
void OnLayering(int id);
