// Every saved input of the picture readers' fuzz targets (the seeds and every input that once
// broke a reader) goes through them again; the seeds must also read cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/picturefuzz.h"
#include "tests/support/savedinputs.h"

namespace {

std::vector<std::filesystem::path> InputsIn(const std::string& folder) {
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

TEST(PictureFuzzReplay, SavedInputsReturnAndSeedsRead) {
  const struct {
    const char* reader;
    void (*run)(const uint8_t*, size_t);
    FilterResult (*read)(const uint8_t*, size_t);
  } kReaders[] = {
      {"pcxread", PcxFuzzOneInput,
       [](const uint8_t* data, size_t size) {
         RasterImage image;
         const FilterResult result = ReadPcxImage(data, size, &image);
         FreeRasterImage(&image);
         return result;
       }},
      {"epspre", EpsPreviewFuzzOneInput,
       [](const uint8_t* data, size_t size) {
         EpsPreview preview;
         return ReadEpsPreview(data, size, &preview);
       }},
  };
  for (const auto& reader : kReaders) {
    size_t seeds = 0;
    for (const char* kind : {"corpus", "crashes"}) {
      for (const auto& path : InputsIn(std::string("fuzz/") + reader.reader + "/" + kind)) {
        SCOPED_TRACE(path.string());
        const std::vector<uint8_t> bytes = Slurp(path);
        reader.run(bytes.data(), bytes.size());
        // Seeds are sound files, but for the plain EPS without a preview.
        if (std::string(kind) == "corpus" && path.filename() != "plain.eps") {
          EXPECT_EQ(reader.read(bytes.data(), bytes.size()), kFilterOK);
          ++seeds;
        }
      }
    }
    EXPECT_GE(seeds, 4u) << reader.reader;
  }
}

}  // namespace
