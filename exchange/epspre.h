// The preview of an EPS file with the binary header: where its metafile or TIFF picture lies,
// the frame a metafile preview is drawn in, and the %%BoundingBox of its PostScript. Reads only
// inside the block it is given; the metafile's records are walked, never trusted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "exchange/rasterimage.h"

// The binary header: magic, then offset and length of the PostScript, metafile and TIFF
// sections, and a checksum; little-endian, 30 bytes.
constexpr uint32_t kEpsBinaryMagic = 0xC6D3D0C5u;
constexpr size_t kEpsBinaryHeaderSize = 30;
// A placeable metafile header (22 bytes, opened by this key) may come before the metafile.
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr size_t kPlaceableSize = 22;
// The standard metafile header is 9 words; a record is at least 3 (its size and function).
constexpr size_t kMetafileHeaderBytes = 18;
constexpr uint32_t kMetafileMinRecordWords = 3;
// Window and end records of the metafile format.
constexpr uint16_t kMetaSetWindowOrg = 0x020B;
constexpr uint16_t kMetaSetWindowExt = 0x020C;
constexpr uint16_t kMetaEOF = 0x0000;
// Records that carry point counts: each count is checked against the record's size.
constexpr uint16_t kMetaPolygon = 0x0324;
constexpr uint16_t kMetaPolyline = 0x0325;
constexpr uint16_t kMetaPolyPolygon = 0x0538;
// Metafile previews without a placeable header are drawn in PostScript points.
constexpr int16_t kEpsPointsPerInch = 72;

// What walking a metafile's records found.
struct MetafileFacts {
  size_t length;            // bytes up to and including the end record
  uint32_t maxRecordWords;  // the largest record, in 16-bit words
  bool hasWindowOrg, hasWindowExt;
  int16_t windowOrgX, windowOrgY, windowExtX, windowExtY;  // the first of each
};

// Checks a standard metafile (no placeable header): a sound header and a chain of records
// that stays inside `length` and ends with the end record, with the point counts of polygons
// and polylines inside their records. kFilterIncomplete when the chain runs out before its end,
// kFilterInvalidData for a header or record that cannot be.
FilterResult CheckMetafileBits(const uint8_t* bits, size_t length, MetafileFacts* facts);

enum class EpsPreviewKind { kMetafile, kTiff };

struct EpsPreview {
  EpsPreviewKind kind;
  const uint8_t* bits;  // the picture (a metafile without its placeable header, or a TIFF file)
  size_t length;
  MetafileFacts metafile;  // for a metafile preview
  // The frame the metafile draws in and its units per inch (metafile previews only).
  int32_t left, top, right, bottom;
  int16_t unitsPerInch;
  // The %%BoundingBox of the PostScript section, in points, when it has a usable one.
  bool hasBoundingBox;
  double boxLeft, boxBottom, boxRight, boxTop;
};

// Finds the preview of the EPS file in `data`. The metafile is preferred when both are there.
// kFilterInvalidData for a file without the binary header or without a preview, and for one
// whose sections overlap the header; kFilterIncomplete for sections that pass the file's end.
FilterResult ReadEpsPreview(const uint8_t* data, size_t length, EpsPreview* preview);

// The %%BoundingBox comment of a PostScript text (looked for in its first kEpsCommentSpan
// bytes): false when there is none, it is deferred ("(atend)"), or its numbers are not four
// finite values that make a box.
constexpr size_t kEpsCommentSpan = 65536;
bool FindEpsBoundingBox(const uint8_t* text, size_t length, double box[4]);
