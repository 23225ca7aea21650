// Every saved input of the import's fuzz targets (the seeds and every input the fuzzers found)
// goes through the DXF reader or the metafile conversion and must come back; the DXF seeds must
// also import.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/importfuzz.h"

namespace {

std::vector<std::filesystem::path> InputsIn(const char* folder, const char* prefix = "") {
  std::vector<std::filesystem::path> inputs;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(DRX_SOURCE_DIR) + "/" + folder, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name[0] != '.' && name.rfind(prefix, 0) == 0)
      inputs.push_back(entry.path());
  }
  return inputs;
}

std::vector<uint8_t> Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ImportFuzzReplay, SavedInputsReturn) {
  size_t count = 0;
  for (const auto& path : InputsIn("fuzz/corpus_dxf")) {
    SCOPED_TRACE(path.string());
    std::vector<uint8_t> bytes = Slurp(path);
    ImportFuzzDxf(bytes.data(), bytes.size());
    ++count;
  }
  for (const auto& path : InputsIn("fuzz/corpus_wmf")) {
    SCOPED_TRACE(path.string());
    std::vector<uint8_t> bytes = Slurp(path);
    ImportFuzzMetafile(bytes.data(), bytes.size());
    ++count;
  }
  // Found inputs are named by the target that found them.
  for (const auto& path : InputsIn("fuzz/found_import", "dxf-")) {
    SCOPED_TRACE(path.string());
    std::vector<uint8_t> bytes = Slurp(path);
    ImportFuzzDxf(bytes.data(), bytes.size());
  }
  for (const auto& path : InputsIn("fuzz/found_import", "wmf-")) {
    SCOPED_TRACE(path.string());
    std::vector<uint8_t> bytes = Slurp(path);
    ImportFuzzMetafile(bytes.data(), bytes.size());
  }
  EXPECT_GT(count, 8u);
}

TEST(ImportFuzzReplay, DxfSeedsImport) {
  for (const auto& path : InputsIn("fuzz/corpus_dxf")) {
    SCOPED_TRACE(path.string());
    std::vector<uint8_t> bytes = Slurp(path);
    DxfImport dxf;
    EXPECT_EQ(ReadDxf(reinterpret_cast<const char*>(bytes.data()), bytes.size(), &dxf), kFilterOK)
        << dxf.failure;
    EXPECT_GT(dxf.figures, 0u);
  }
}

}  // namespace
