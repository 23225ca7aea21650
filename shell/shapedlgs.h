// The shape tools' dialogs: a rectangle, oval, polygon, multigon, line, spline or arc typed in as
// numbers instead of dragged, opened by a double click on the tool's button. Positions are in
// the user's units from the user origin with y growing upward; every field starts at 0. The
// shape is built on the current layer with the drawing's attributes, selected, repainted and
// recorded for Undo as the mouse tool records it. A value that builds nothing is refused with a
// message and the dialog stays open.
#pragma once

#include <windows.h>

void RectDLOG();
void OvalDLOG();
void PolyDLOG();
void MultiDLOG();
void LineDLOG();
void SplineDLOG();
// The arc dialog in its circular and its elliptical form; the dialog switches between them.
void ArcDLOG();
void EllipticalArcDLOG();

INT_PTR CALLBACK RectProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK OvalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK MultiProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PolyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SplineProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LineProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ArcProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog of shape tool `tool` (300..306); false for any other tool.
bool OpenShapeToolDialog(int tool);
