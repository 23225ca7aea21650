// Recording the current drawing as a standard (16-bit) metafile, for the EPS preview and for
// embedding: every visible layer painted on a metafile target at scale 1.
#pragma once

#include <windows.h>

// The current drawing as a metafile; `size` gets mapping mode 1, the bounds' width and height
// plus 1 and a null handle. Null when there is no drawing, no settings or no layer.
HMETAFILE MakeMetaFile(METAFILEPICT* size);

struct DocState;
struct LayerRec;
// The objects of one layer (the clipboard's, say) as a metafile in page units, painted through
// the same routine with `state`'s settings at scale 1, framed by their bounds (pen included)
// with a small margin. `size` gets the anisotropic mapping mode, the picture's extent in
// hundredths of a millimetre and a null handle. Null for an empty layer or without settings.
HMETAFILE MakeLayerMetaFile(LayerRec* layer, DocState* state, METAFILEPICT* size);
