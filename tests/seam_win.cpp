// The Windows seam against the real controls and GDI objects; runs with no display.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "model/seam.h"

namespace {

std::vector<uint8_t> RecordedMetafileBits() {
  HDC dc = CreateMetaFileA(nullptr);
  if (!dc) return {};
  MoveToEx(dc, 10, 10, nullptr);
  LineTo(dc, 200, 120);
  Rectangle(dc, 20, 30, 90, 70);
  Ellipse(dc, 0, 0, 40, 40);
  HMETAFILE metafile = CloseMetaFile(dc);
  if (!metafile) return {};
  std::vector<uint8_t> bits(GetMetaFileBitsEx(metafile, 0, nullptr));
  GetMetaFileBitsEx(metafile, static_cast<UINT>(bits.size()), bits.data());
  DeleteMetaFile(metafile);
  return bits;
}

TEST(SeamWinMetaPict, BitsRoundTripThroughCopies) {
  std::vector<uint8_t> bits = RecordedMetafileBits();
  ASSERT_GT(bits.size(), 18u);
  uint32_t size = static_cast<uint32_t>(bits.size());

  MetaPict picture = CreateMetaPictFromBits(bits.data(), size);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(GetMetaPictBits(picture, nullptr, 0), size);

  // Too small a buffer is left alone; the size is still reported.
  std::vector<uint8_t> out(size, 0xAB);
  EXPECT_EQ(GetMetaPictBits(picture, out.data(), size - 1), size);
  EXPECT_EQ(out[0], 0xAB);
  EXPECT_EQ(GetMetaPictBits(picture, out.data(), size), size);
  EXPECT_EQ(out, bits);

  MetaPict copy = CopyMetaPict(picture);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, picture);
  DeleteMetaPict(picture);
  std::vector<uint8_t> copied(size);
  EXPECT_EQ(GetMetaPictBits(copy, copied.data(), size), size);
  EXPECT_EQ(copied, bits);
  DeleteMetaPict(copy);
}

TEST(SeamWinMetaPict, RefusesBrokenRecordChains) {
  std::vector<uint8_t> bits = RecordedMetafileBits();
  ASSERT_GT(bits.size(), 24u);
  uint32_t size = static_cast<uint32_t>(bits.size());
  const uint32_t header = 18;

  EXPECT_EQ(CreateMetaPictFromBits(bits.data(), 0), nullptr);
  EXPECT_EQ(CreateMetaPictFromBits(bits.data(), header), nullptr);    // no end record
  EXPECT_EQ(CreateMetaPictFromBits(bits.data(), size - 6), nullptr);  // end record cut off

  std::vector<uint8_t> zeroSize = bits;
  std::memset(&zeroSize[header], 0, 4);  // a record of no size would never advance
  EXPECT_EQ(CreateMetaPictFromBits(zeroSize.data(), size), nullptr);

  std::vector<uint8_t> pastEnd = bits;
  pastEnd[header + 2] = 0x7F;  // first record claims far more words than there are
  EXPECT_EQ(CreateMetaPictFromBits(pastEnd.data(), size), nullptr);

  std::vector<uint8_t> badHeader = bits;
  badHeader[2] = 12;  // header size in words
  EXPECT_EQ(CreateMetaPictFromBits(badHeader.data(), size), nullptr);
}

std::string TempPath(const char* name) {
  char folder[MAX_PATH];
  DWORD length = GetTempPathA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) return name;
  return std::string(folder) + name;
}

bool WriteText(const std::string& path, const char* text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fputs(text, file) >= 0;
  return std::fclose(file) == 0 && ok;
}

std::string ReadText(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return "<missing>";
  std::string text;
  char chunk[256];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  std::fclose(file);
  return text;
}

TEST(SeamWinFiles, TemporaryReplacesTarget) {
  std::string target = TempPath("drx_seam_target.drx");
  std::string temporary = TempPath("drx_seam_target.tmp");
  ASSERT_TRUE(WriteText(target, "old drawing"));
  ASSERT_TRUE(WriteText(temporary, "new drawing"));

  ASSERT_TRUE(ReplaceFileWithTemporary(temporary.c_str(), target.c_str()));
  EXPECT_EQ(ReadText(target), "new drawing");
  EXPECT_EQ(ReadText(temporary), "<missing>");

  // A missing temporary fails and leaves the target alone.
  EXPECT_FALSE(ReplaceFileWithTemporary(temporary.c_str(), target.c_str()));
  EXPECT_EQ(ReadText(target), "new drawing");

  // A target that does not exist yet is simply created.
  std::string fresh = TempPath("drx_seam_fresh.drx");
  std::remove(fresh.c_str());
  ASSERT_TRUE(WriteText(temporary, "first save"));
  ASSERT_TRUE(ReplaceFileWithTemporary(temporary.c_str(), fresh.c_str()));
  EXPECT_EQ(ReadText(fresh), "first save");
  std::remove(fresh.c_str());
  std::remove(target.c_str());
}

TEST(SeamWinFiles, AReplacementKeepsTheTargetsAttributes) {
  std::string target = TempPath("drx_seam_hidden.drx");
  std::string temporary = target + kSaveTemporarySuffix;
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(WriteText(target, "old drawing"));
  ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(WriteText(temporary, "new drawing"));
  ASSERT_TRUE(ReplaceFileWithTemporary(temporary.c_str(), target.c_str()));
  EXPECT_EQ(ReadText(target), "new drawing");
  EXPECT_NE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::remove(target.c_str());
}

TEST(SeamWinFiles, DevicesAndPipesAreNotOpenedForReading) {
  const char kPipe[] = "\\\\.\\pipe\\drx_seam_pipe";
  HANDLE server =
      CreateNamedPipeA(kPipe, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  for (const char* path : {"NUL", kPipe}) {
    FileRefusal refusal = FileRefusal::kNone;
    FILE* file = OpenRegularFileForReading(path, &refusal);
    EXPECT_EQ(file, nullptr) << path;
    if (file) std::fclose(file);
    EXPECT_STREQ(FileRefusalText(refusal), "is not a regular file") << path;
  }
  CloseHandle(server);
  std::string plain = TempPath("drx_seam_plain.drx");
  ASSERT_TRUE(WriteText(plain, "a drawing"));
  FileRefusal refusal = FileRefusal::kNone;
  FILE* file = OpenRegularFileForReading(plain.c_str(), &refusal);
  ASSERT_NE(file, nullptr);
  char text[16] = {};
  EXPECT_EQ(std::fread(text, 1, sizeof text - 1, file), 9u);
  EXPECT_STREQ(text, "a drawing");
  std::fclose(file);
  std::remove(plain.c_str());
}

}  // namespace
