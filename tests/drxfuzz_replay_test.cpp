// Every saved fuzz input (the seed corpus, every input that once crashed the reader, and inputs
// found to reach a refusal) goes through the reader in all its modes, the exports and a save
// round trip, and must come back; the seeds must also read cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/drxfuzz.h"
#include "tests/support/savedinputs.h"

namespace {

std::vector<std::filesystem::path> InputsIn(const char* folder) {
  std::vector<std::filesystem::path> inputs;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(DRX_SOURCE_DIR) + "/" + folder, error))
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') inputs.push_back(entry.path());
  return inputs;
}

std::vector<uint8_t> Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DrxFuzzReplay, SavedInputsReturn) {
  size_t count = 0;
  for (const char* folder : {"fuzz/corpus", "fuzz/crashes", "fuzz/found"}) {
    for (const auto& path : InputsIn(folder)) {
      SCOPED_TRACE(path.string());
      std::vector<uint8_t> bytes = Slurp(path);
      DrxFuzzOneInput(bytes.data(), bytes.size());
      ++count;
    }
  }
  EXPECT_GT(count, 8u);
}

TEST(DrxFuzzReplay, SeedsReadCleanly) {
  for (const auto& path : InputsIn("fuzz/corpus")) {
    SCOPED_TRACE(path.string());
    std::vector<uint8_t> bytes = Slurp(path);
    ASSERT_NE(CreateDocument(), nullptr);
    bool scrap = path.extension() == ".scrap";
    bool ok = scrap ? ReadScrapObjects(bytes.data(), bytes.size())
                    : DrxReadFromMemory(bytes.data(), bytes.size(), "seed");
    EXPECT_TRUE(ok) << DrxFailureText(gDrxFileFailure);
    EXPECT_NE(gCurDocument->firstLayer->firstObject, nullptr);
    DeleteDocument(gCurDocument);
  }
}

}  // namespace
