// What the picture import filters share: reading the file the program names, decoding through
// the system's imaging component, and recording a picture as a 16-bit metafile.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "exchange/filterapi.h"
#include "exchange/rasterimage.h"

// Files larger than this are refused as too large to import (no memory).
constexpr uint64_t kMaxFilterFileBytes = uint64_t{1} << 30;

// A file's bytes, held with malloc.
struct FileBytes {
  uint8_t* data;
  size_t length;
};

// Reads the file whose path the record holds. kFilterCannotOpen when the path is missing or
// unterminated or the file cannot be opened, kFilterIncomplete when it cannot be read to its
// end, kFilterNoMemory when it is too large to hold.
FilterResult ReadFilterFile(const FilterFileRecord* file, FileBytes* bytes);
void FreeFileBytes(FileBytes* bytes);

// Decodes the first frame of a picture the imaging component reads (BMP, GIF, JPEG, TIFF...).
FilterResult DecodeWithImaging(const uint8_t* data, size_t length, RasterImage* image);

// Records the picture as a metafile drawn in pixels from (0, 0): one bitmap record, or, when
// some pixels are transparent, a mask record and a bitmap record that leave them unpainted.
FilterResult MakeRasterMetaFile(const RasterImage& image, HMETAFILE* metafile);

// The metafile of the picture and its placement into the picture record. The image is freed.
int16_t FinishRasterImport(RasterImage* image, FilterPictRecord* pict);

// The whole of a picture filter: read the file, decode it with `decode`, finish.
typedef FilterResult (*RasterDecoder)(const uint8_t* data, size_t length, RasterImage* image);
int16_t ImportRasterFile(const FilterFileRecord* file, FilterPictRecord* pict, RasterDecoder decode);

// The handle as the picture record carries it (its low 32 bits).
inline uint32_t MetaFileHandleBits(HMETAFILE metafile) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(metafile));
}
