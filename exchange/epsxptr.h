// The EPS writer: a PostScript header with the drawing's bounding box, one stroked path per
// segment, and a trailer. With a preview, the file is a binary EPS: a header giving the places
// of the PostScript section and of a metafile section that shows the drawing to programs that
// cannot interpret PostScript. The metafile section holds the metafile alone, as readers
// expect: they frame it by the %%BoundingBox and add a placeable header of their own when they
// extract it, so one stored there would come out twice.
#pragma once

#include <cstddef>
#include <cstdint>

#include "exchange/exporter.h"

// The key that opens a placeable metafile header (22 bytes before the metafile itself).
constexpr uint32_t kPlaceableMetafileKey = 0x9AC6CDD7u;
constexpr size_t kPlaceableHeaderSize = 22;

// The binary EPS header: magic, PostScript offset and length, metafile offset and length, TIFF
// offset and length, checksum (0xFFFF: none); little-endian, 30 bytes.
constexpr uint32_t kBinaryEPSMagic = 0xC6D3D0C5u;
constexpr size_t kBinaryEPSHeaderSize = 30;

void ExportEPSHeader(ExportStream* stream, const char* path);
void ExportEPSLine(float x1, float y1, float x2, float y2, ExportStream* stream);
void ExportEPSTrailer(ExportStream* stream);
// With a preview: appends the metafile and fills in the binary header.
void FinishEPSPreview(ExportStream* stream);

// The %%BoundingBox numbers (left, bottom, right, top in PostScript space) of the current
// drawing as the stream writes it: whole units enclosing every object of the visible layers;
// all 0 for a drawing with no visible object.
void GetEPSBoundingBox(const ExportStream* stream, long box[4]);
