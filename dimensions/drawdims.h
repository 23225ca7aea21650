// Drawing the dimension objects (Windows build): extension lines, dimension lines and arcs,
// shoulders, leaders and the seven arrowhead styles, then the readout, on the drawing port or on
// the print context. The object's pen is selected by the caller. Drawing works on copies of the
// points, except that an angle dimension puts its radius point back on the second leg.
#pragma once

#include <cstdint>

#include "geometry/tranform.h"
#include "model/records.h"

// Kinds 100..102.
void DrawLinearDimension(ObjectRec* object, int flags, const TrackState* track);
// Kind 103.
void DrawAngularDimension(ObjectRec* object, int flags, const TrackState* track);
// Kinds 104..107.
void DrawDiameterDimension(ObjectRec* object, int flags, const TrackState* track);
// Kind 108.
void DrawLeaderDimension(ObjectRec* object, int flags, const TrackState* track);
// Any of the above by the object's kind; false for other kinds.
bool DrawDimensionObject(ObjectRec* object, int flags, const TrackState* track);
// One arrowhead at the tip (zoomed coordinates), pointing along tail -> tip, in the style of
// the flag word.
void DrawArrowhead(const ObjectRec* object, float tipX, float tipY, float tailX, float tailY,
                   uint32_t dimFlags);
// Applies the first preview transform the flags ask for (translate, scale, shear, rotate).
void TransformDimension(PointRec* point, int flags, const TrackState* track);

// The readout of a dimension centred on its label, and the label box fitted to it (drawdim2_win).
void DrawLengthText(const DimInfo* info, float x1, float y1, float x2, float y2);
void DrawAngleText(const DimInfo* info, float a1, float a2);
// Draws one dimension again after a change of its flags, over what is there.
void RedrawDimension(ObjectRec* object);
