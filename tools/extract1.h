// Import: the state of an import through a filter, and the conversion of a 16-bit metafile's
// records into objects of the current layer (lines and polylines, polygons, arcs and ovals, with
// the pens and brushes carried over). Portable: it works on the metafile's bytes, so the
// converter and the tests use it on every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "exchange/filterapi.h"
#include "exchange/wmfrecords.h"
#include "model/seam.h"

struct LayerRec;
struct ObjectRec;

// Where the file of the import in progress comes from (stored in gFilterName before it starts).
constexpr int16_t kSourceDXF = 1;
constexpr int16_t kSourceCDR = 2;
constexpr int16_t kSourceDRW = 3;
constexpr int16_t kSourceBMP = 4;
constexpr int16_t kSourceEPS = 5;
constexpr int16_t kSourceJPG = 6;
constexpr int16_t kSourceTIF = 7;
constexpr int16_t kSourcePCX = 8;
constexpr int16_t kSourceGIF = 9;
extern int16_t gFilterName;

// How CorelDraw files come in, as the CorelDraw import dialog sets it.
constexpr int16_t kCDRImportPicture = 102;
constexpr int16_t kCDRImportVector = 103;
extern int16_t gCDRImportMethod;

// Import modes: one picture object, or the metafile's figures as objects.
constexpr int16_t kImportPicture = 1;
constexpr int16_t kImportObjects = 2;

// The conversion in progress: the layer that gets the objects (null outside a conversion), page
// units per metafile unit, the polyline being built from move-to and line-to records, and the
// last object the conversion linked (new objects go after it).
extern LayerRec* gExtractLayer;
extern float gExtractScale;
extern ObjectRec* gExtractPoly;
extern ObjectRec* gExtractTail;
// Set by a record whose parameters do not fit it; the conversion then stops.
extern bool gExtractFault;
// What the filter said did not come across (its note in a comment record), empty when nothing.
extern std::string gImportNote;

// kFilterOK when the filter's picture record can be placed or converted: units per inch above
// 0 and a bounding box that is neither empty nor inverted; kFilterInvalidData otherwise.
int16_t CheckFilterPicture(const FilterPictRecord* picture);

// Converts the metafile's bytes into objects of the current drawing's current layer, with the
// drawing's pen colour, fill colour, line weight and line type restored afterwards (the fill
// pattern keeps the last brush's). kFilterOK, or kFilterInvalidData when the picture record or
// the metafile is not sound; nothing is added then.
int16_t ExtractWMFEntities(const uint8_t* bits, size_t length, const FilterPictRecord* picture);

// The picture mode: one picture object on the current drawing's current layer, framed by the
// picture record's bounding box at its units per inch, that takes `metafile` over. kFilterOK;
// otherwise kFilterInvalidData or kFilterNoMemory, and the caller still owns the metafile.
int16_t PlaceFilterPicture(const FilterPictRecord* picture, MetaPict metafile);

// One record of the conversion; always 1 (go on). A record too short for what it holds sets
// gExtractFault.
int ExtractWMFProc(const WmfRecord* record, const FilterPictRecord* picture);
