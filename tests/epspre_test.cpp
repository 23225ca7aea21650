// The EPS preview reader: frames from each source, and files whose header, sections or metafile
// records are damaged refused with the right result. (Our own export's preview is a fuzz seed
// that must read, and the filter test imports one recorded by the renderer.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "exchange/epspre.h"

namespace {

void Put16(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  (*bytes)[at] = static_cast<uint8_t>(value);
  (*bytes)[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  Put16(bytes, at, value & 0xFFFF);
  Put16(bytes, at + 2, value >> 16);
}

// A metafile: header, the records given (function and parameters as stored), and the end.
std::vector<uint8_t> Metafile(const std::vector<std::pair<uint16_t, std::vector<int16_t>>>& records,
                              bool withEnd = true) {
  std::vector<uint8_t> bytes(18, 0);
  Put16(&bytes, 0, 1);
  Put16(&bytes, 2, 9);
  Put16(&bytes, 4, 0x0300);
  auto add = [&](uint16_t function, const std::vector<int16_t>& params) {
    const size_t at = bytes.size();
    bytes.resize(at + 6 + params.size() * 2);
    Put32(&bytes, at, static_cast<uint32_t>(3 + params.size()));
    Put16(&bytes, at + 4, function);
    for (size_t i = 0; i < params.size(); ++i)
      Put16(&bytes, at + 6 + 2 * i, static_cast<uint16_t>(params[i]));
  };
  for (const auto& record : records) add(record.first, record.second);
  if (withEnd) add(kMetaEOF, {});
  Put32(&bytes, 6, static_cast<uint32_t>(bytes.size() / 2));
  return bytes;
}

// Window origin (67, 60) and extent (82, 90): parameters are stored y first.
const std::vector<std::pair<uint16_t, std::vector<int16_t>>> kDrawing = {
    {kMetaSetWindowOrg, {60, 67}},
    {kMetaSetWindowExt, {90, 82}},
    {0x0214, {72, 72}},
    {0x0213, {144, 144}},
    {kMetaPolyline, {2, 72, 72, 144, 144}},
    {kMetaPolyPolygon, {2, 3, 1, 0, 0, 9, 9, 0, 9, 5, 5}}};

// An EPS file with the binary header around PostScript text and the previews given.
std::vector<uint8_t> Eps(const std::string& postScript, const std::vector<uint8_t>& metafile,
                         const std::vector<uint8_t>& tiff = {}) {
  std::vector<uint8_t> bytes(kEpsBinaryHeaderSize + postScript.size(), 0);
  std::memcpy(bytes.data() + kEpsBinaryHeaderSize, postScript.data(), postScript.size());
  Put32(&bytes, 0, kEpsBinaryMagic);
  Put32(&bytes, 4, static_cast<uint32_t>(kEpsBinaryHeaderSize));
  Put32(&bytes, 8, static_cast<uint32_t>(postScript.size()));
  if (!metafile.empty()) {
    Put32(&bytes, 12, static_cast<uint32_t>(bytes.size()));
    Put32(&bytes, 16, static_cast<uint32_t>(metafile.size()));
    bytes.insert(bytes.end(), metafile.begin(), metafile.end());
  }
  if (!tiff.empty()) {
    Put32(&bytes, 20, static_cast<uint32_t>(bytes.size()));
    Put32(&bytes, 24, static_cast<uint32_t>(tiff.size()));
    bytes.insert(bytes.end(), tiff.begin(), tiff.end());
  }
  Put16(&bytes, 28, 0xFFFF);
  return bytes;
}

const char kPostScript[] = "%!PS-Adobe-2.0 EPSF-1.2\n%%BoundingBox: 72 72 144 144\n%%EndComments\n";

TEST(EpsPreview, FramesComeFromThePlaceableHeaderTheWindowOrTheBoundingBox) {
  std::vector<uint8_t> placeable(kPlaceableSize, 0);
  Put32(&placeable, 0, kPlaceableKey);
  Put16(&placeable, 6, 10);
  Put16(&placeable, 8, 20);
  Put16(&placeable, 10, 1010);
  Put16(&placeable, 12, 2020);
  Put16(&placeable, 14, 1440);
  std::vector<uint8_t> withPlaceable = placeable;
  const std::vector<uint8_t> metafile = Metafile(kDrawing);
  const std::vector<uint8_t> windowless = Metafile({{0x0213, {1, 2}}});
  withPlaceable.insert(withPlaceable.end(), metafile.begin(), metafile.end());
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    int32_t left, top, right, bottom;
    int16_t unitsPerInch;
    size_t length;
  } kCases[] = {
      {"placeable header", Eps(kPostScript, withPlaceable), 10, 20, 1010, 2020, 1440, metafile.size()},
      {"window records", Eps(kPostScript, metafile), 67, 60, 149, 150, 72, metafile.size()},
      {"bounding box", Eps(kPostScript, windowless), 0, 0, 72, 72, 72, windowless.size()},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EpsPreview preview;
    ASSERT_EQ(ReadEpsPreview(c.file.data(), c.file.size(), &preview), kFilterOK);
    EXPECT_EQ(preview.left, c.left);
    EXPECT_EQ(preview.top, c.top);
    EXPECT_EQ(preview.right, c.right);
    EXPECT_EQ(preview.bottom, c.bottom);
    EXPECT_EQ(preview.unitsPerInch, c.unitsPerInch);
    EXPECT_EQ(preview.length, c.length);
  }
  // A TIFF preview is handed on as it is.
  const std::vector<uint8_t> tiff = {'I', 'I', 42, 0, 8, 0, 0, 0};
  EpsPreview preview;
  const std::vector<uint8_t> file = Eps(kPostScript, {}, tiff);
  ASSERT_EQ(ReadEpsPreview(file.data(), file.size(), &preview), kFilterOK);
  EXPECT_EQ(preview.kind, EpsPreviewKind::kTiff);
  EXPECT_EQ(preview.length, tiff.size());
  EXPECT_EQ(preview.bits, file.data() + file.size() - tiff.size());
}

TEST(EpsPreview, DamagedFilesAreRefused) {
  const std::vector<uint8_t> good = Eps(kPostScript, Metafile(kDrawing));
  const size_t metafileAt = kEpsBinaryHeaderSize + sizeof kPostScript - 1;
  const struct Case {
    const char* name;
    std::vector<uint8_t> file;
    FilterResult want;
  } kCases[] = {
      {"plain PostScript", std::vector<uint8_t>(kPostScript, kPostScript + sizeof kPostScript),
       kFilterInvalidData},
      {"no preview", Eps(kPostScript, {}), kFilterInvalidData},
      {"header cut short", std::vector<uint8_t>(good.begin(), good.begin() + 12), kFilterIncomplete},
      {"preview cut short", std::vector<uint8_t>(good.begin(), good.end() - 4), kFilterIncomplete},
      {"records without an end", Eps(kPostScript, Metafile(kDrawing, false)), kFilterIncomplete},
      {"no bounding box and no window", Eps("%!PS\n%%BoundingBox: (atend)\n", Metafile({})),
       kFilterInvalidData},
      {"polyline of more points than its record",
       Eps(kPostScript, Metafile({{kMetaPolyline, {3, 1, 1, 2, 2}}})), kFilterInvalidData},
      {"poly-polygon of more points than its record",
       Eps(kPostScript, Metafile({{kMetaPolyPolygon, {2, 1, 3, 0, 0, 1, 1, 2, 2}}})), kFilterInvalidData},
      {"poly-polygon of more polygons than its record",
       Eps(kPostScript, Metafile({{kMetaPolyPolygon, {9, 1}}})), kFilterInvalidData},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EpsPreview preview;
    EXPECT_EQ(ReadEpsPreview(c.file.data(), c.file.size(), &preview), c.want);
  }
  // Single fields changed in the good file.
  const struct Patch {
    const char* name;
    size_t at;
    uint32_t value;
    bool wide;
    FilterResult want;
  } kPatches[] = {
      {"preview inside the header", 12, 4, true, kFilterInvalidData},
      {"preview offset past the end", 12, 0xFFFFFFF0u, true, kFilterIncomplete},
      {"preview length past the end", 16, 0xFFFFFFF0u, true, kFilterIncomplete},
      {"PostScript past the end", 8, 0x7FFFFFFFu, true, kFilterIncomplete},
      {"metafile of an unknown type", metafileAt, 7, false, kFilterInvalidData},
      {"metafile header of another size", metafileAt + 2, 12, false, kFilterInvalidData},
      {"metafile of an unknown version", metafileAt + 4, 0x0200, false, kFilterInvalidData},
      {"record of no size", metafileAt + 18, 0, true, kFilterInvalidData},
      {"record longer than the file", metafileAt + 18, 0x10000, true, kFilterIncomplete},
  };
  for (const Patch& p : kPatches) {
    SCOPED_TRACE(p.name);
    std::vector<uint8_t> file = good;
    if (p.wide)
      Put32(&file, p.at, p.value);
    else
      Put16(&file, p.at, p.value);
    EpsPreview preview;
    EXPECT_EQ(ReadEpsPreview(file.data(), file.size(), &preview), p.want);
  }
}

TEST(EpsPreview, BoundingBoxCommentsAreReadOnlyWhenWhole) {
  const struct {
    const char* text;
    bool found;
  } kCases[] = {
      {"%!PS\n%%BoundingBox: 1 2 30 40\n", true},   {"%!PS\r%%BoundingBox:1.5 -2 3e1 4E1\r", true},
      {"%!PS\n%%BoundingBox: (atend)\n", false},    {"%!PS\n%%BoundingBox: 1 2 30\n", false},
      {"%!PS\n%%BoundingBox: 30 2 1 40\n", false},  {"%!PS\n%%BoundingBox: 1 2 1e999 40\n", false},
      {"%!PS\n %%BoundingBox: 1 2 30 40\n", false}, {"%%BoundingBox: 1 2 30 4", true},
  };
  for (const auto& c : kCases) {
    double box[4];
    EXPECT_EQ(FindEpsBoundingBox(reinterpret_cast<const uint8_t*>(c.text), std::strlen(c.text), box), c.found)
        << c.text;
  }
}

}  // namespace
