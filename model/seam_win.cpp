// The window-system objects of the core on Windows: pictures are metafile handles and fonts
// mirror GDI logical fonts.
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "model/seam.h"

static_assert(sizeof(FontRecord) == sizeof(LOGFONTA), "FontRecord must match LOGFONTA");
static_assert(offsetof(FontRecord, weight) == offsetof(LOGFONTA, lfWeight), "LOGFONTA layout");
static_assert(offsetof(FontRecord, italic) == offsetof(LOGFONTA, lfItalic), "LOGFONTA layout");
static_assert(offsetof(FontRecord, pitchAndFamily) == offsetof(LOGFONTA, lfPitchAndFamily),
              "LOGFONTA layout");
static_assert(offsetof(FontRecord, faceName) == offsetof(LOGFONTA, lfFaceName), "LOGFONTA layout");

// A standard metafile in memory: an 18-byte header whose size field counts 16-bit words, then
// records of at least three words (a 32-bit size in words and the function number), the last
// one the end record (function 0).
static const uint32_t kMetaHeaderBytes = 18;
static const uint16_t kMetaHeaderWords = 9;
static const uint32_t kMetaRecordMinWords = 3;
static const uint16_t kMetaEndFunction = 0;

static uint16_t ReadLittle16(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | at[1] << 8);
}
static uint32_t ReadLittle32(const uint8_t* at) {
  return static_cast<uint32_t>(ReadLittle16(at)) | static_cast<uint32_t>(ReadLittle16(at + 2)) << 16;
}

// True when every record lies inside the bits and the chain reaches the end record: the GDI
// walks records by their size fields alone and would step past the block on a bad one.
static bool MetafileRecordsFit(const uint8_t* bits, uint32_t length) {
  if (length < kMetaHeaderBytes || length % 2 != 0) return false;
  if (ReadLittle16(bits + 2) != kMetaHeaderWords) return false;
  uint32_t offset = kMetaHeaderBytes;
  while (length - offset >= kMetaRecordMinWords * 2) {
    uint32_t words = ReadLittle32(bits + offset);
    uint16_t function = ReadLittle16(bits + offset + 4);
    if (words < kMetaRecordMinWords || words > (length - offset) / 2) return false;
    if (function == kMetaEndFunction) return true;
    offset += words * 2;
  }
  return false;
}

MetaPict CreateMetaPictFromBits(const uint8_t* bits, uint32_t length) {
  if (!bits || !MetafileRecordsFit(bits, length)) return nullptr;
  return reinterpret_cast<MetaPict>(SetMetaFileBitsEx(length, bits));
}

uint32_t GetMetaPictBits(MetaPict picture, uint8_t* buffer, uint32_t capacity) {
  HMETAFILE metafile = reinterpret_cast<HMETAFILE>(picture);
  if (!metafile) return 0;
  UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
  if (buffer && size > 0 && capacity >= size) {
    if (GetMetaFileBitsEx(metafile, size, buffer) != size) return 0;
  }
  return size;
}

MetaPict CopyMetaPict(MetaPict picture) {
  HMETAFILE metafile = reinterpret_cast<HMETAFILE>(picture);
  if (!metafile) return nullptr;
  return reinterpret_cast<MetaPict>(CopyMetaFileA(metafile, nullptr));
}

void DeleteMetaPict(MetaPict picture) {
  if (picture) DeleteMetaFile(reinterpret_cast<HMETAFILE>(picture));
}

void* AllocatePoolChunk(size_t bytes) {
  if (bytes == 0) return nullptr;
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}
