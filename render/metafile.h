// Recording the current drawing as a standard (16-bit) metafile, for the EPS preview and for
// embedding: every visible layer painted on a metafile target at scale 1.
#pragma once

#include <windows.h>

// The current drawing as a metafile; `size` gets mapping mode 1, the bounds' width and height
// plus 1 and a null handle. Null when there is no drawing, no settings or no layer.
HMETAFILE MakeMetaFile(METAFILEPICT* size);
