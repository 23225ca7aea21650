// The DXF reader of the DXF import filter: ASCII DXF as drafting programs write it (R12 to the
// current versions) turned into a 16-bit metafile that the record conversion understands. Lines
// and polylines become polyline records, circles and circular or upright elliptical arcs arc
// records, and everything curved that an arc record cannot hold (splines, turned ellipses,
// polyline bulges, arcs through a skewing block) is flattened. Blocks are expanded with their
// scale, rotation and nesting. Coordinates are fitted to the 16-bit range with the units per
// inch that keep the drawing's size. Entities with no figure (text, hatches, dimensions...) are
// counted and named in the note, so the user hears what did not come across.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/filterapi.h"

struct DxfImport {
  std::vector<uint8_t> metafile;  // the metafile's bytes
  FilterPictRecord picture{};     // bounding box and units per inch (metafile handle unset)
  std::string note;               // what did not come across, empty when everything did
  std::string failure;            // why the file was refused, for the converter's message
  size_t figures = 0;             // figures written
  // The drawing's extents in its own units (x, y up), for tests.
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// Drawing units per inch for unitless files: the sheet's own unit, 1/72 inch, which is what
// our DXF export writes.
constexpr double kDxfUnitlessPerInch = 72.0;

// Reads DXF text. kFilterOK, or kFilterInvalidData (not DXF, a number that is not one, nesting
// that never ends), kFilterIncomplete (the file ends inside a section) or kFilterNoMemory;
// `out->failure` says why.
int16_t ReadDxf(const char* text, size_t length, DxfImport* out);
// The same on a file; kFilterCannotOpen when it cannot be read.
int16_t ReadDxfFile(const char* path, DxfImport* out);
