// The EPS preview with a metafile recorded by GDI: the binary EPS holds the metafile's bits
// whole, and those bits make a metafile again that plays back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/epsxptr.h"
#include "exchange/exporter.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"
#include "model/objhndlr.h"
#include "model/objstuff.h"
#include "model/pthndlr.h"

namespace {

uint32_t Little32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// A metafile of a square and its diagonal, framed like the drawing's own preview.
std::vector<uint8_t> RecordSquare() {
  std::vector<uint8_t> bits;
  HDC dc = CreateMetaFileA(nullptr);
  if (!dc) return bits;
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, 67, 67, nullptr);
  SetWindowExtEx(dc, 82, 82, nullptr);
  MoveToEx(dc, 72, 72, nullptr);
  LineTo(dc, 144, 72);
  LineTo(dc, 144, 144);
  LineTo(dc, 72, 144);
  LineTo(dc, 72, 72);
  LineTo(dc, 144, 144);
  HMETAFILE metafile = CloseMetaFile(dc);
  if (!metafile) return bits;
  const UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
  bits.resize(size);
  if (GetMetaFileBitsEx(metafile, size, bits.data()) != size) bits.clear();
  DeleteMetaFile(metafile);
  return bits;
}

int CALLBACK CountRecord(HDC, HANDLETABLE*, METARECORD* record, int, LPARAM counts) {
  std::vector<WORD>* functions = reinterpret_cast<std::vector<WORD>*>(counts);
  functions->push_back(record->rdFunction);
  return 1;
}

TEST(ExportWinTest, EpsPreviewHoldsAGdiMetafileThatPlaysBack) {
  DocumentRec* document = CreateDocument();
  ASSERT_NE(document, nullptr);
  ObjectRec* square = CreateObject(kRectKind, 1, 1, &kWhite16, &kBlack16, 1, kSolidLineType, kNoFill,
                                   &kEmptyRect, nullptr, nullptr, nullptr, nullptr, nullptr);
  AppendObjectToLayer(square, document->firstLayer);
  const float corners[4][2] = {{72, 72}, {144, 72}, {144, 144}, {72, 144}};
  for (const auto& c : corners)
    AppendPointToObject(CreatePoint(kVertexPoint, 0, 0, 0, 0, c[0], c[1], 0, 0, square), square);
  UpdateObjectBounds(square);

  const std::vector<uint8_t> bits = RecordSquare();
  ASSERT_GT(bits.size(), 18u) << "GDI recorded no metafile";
  const std::string path = std::string(DRX_BINARY_DIR) + "/export_win_preview.eps";
  ASSERT_TRUE(ExportFile(kExportEPS, path.c_str(), bits.data(), static_cast<uint32_t>(bits.size())))
      << ExportFailureText(gExportFailure);
  DeleteDocument(document);

  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  const std::string bytes = text.str();
  ASSERT_GE(bytes.size(), kBinaryEPSHeaderSize);
  EXPECT_EQ(Little32(bytes, 0), kBinaryEPSMagic);
  const uint32_t psStart = Little32(bytes, 4), psLength = Little32(bytes, 8);
  const uint32_t wmfStart = Little32(bytes, 12), wmfLength = Little32(bytes, 16);
  EXPECT_EQ(bytes.compare(psStart, 23, "%!PS-Adobe-2.0 EPSF-1.2"), 0);
  EXPECT_NE(bytes.substr(psStart, psLength).find("%%BoundingBox: 72 72 144 144\n"), std::string::npos);
  ASSERT_EQ(wmfLength, bits.size());
  ASSERT_EQ(bytes.size(), static_cast<size_t>(wmfStart) + wmfLength);
  EXPECT_EQ(0, std::memcmp(bytes.data() + wmfStart, bits.data(), bits.size()));

  // The stored section is a metafile GDI takes back and plays: the five lines are there.
  HMETAFILE stored = SetMetaFileBitsEx(wmfLength, reinterpret_cast<const BYTE*>(bytes.data() + wmfStart));
  ASSERT_NE(stored, nullptr);
  std::vector<WORD> functions;
  HDC screen = CreateCompatibleDC(nullptr);
  EXPECT_TRUE(EnumMetaFile(screen, stored, CountRecord, reinterpret_cast<LPARAM>(&functions)));
  DeleteDC(screen);
  DeleteMetaFile(stored);
  size_t lines = 0;
  for (WORD function : functions) lines += function == META_LINETO;
  EXPECT_EQ(lines, 5u);
}

}  // namespace
