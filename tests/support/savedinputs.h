// The saved inputs of a fuzz target's folder (source-relative), and a file's bytes, for the
// replay tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::vector<std::filesystem::path> InputsIn(const std::string& folder) {
  std::vector<std::filesystem::path> inputs;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(DRX_SOURCE_DIR) + "/" + folder, error))
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') inputs.push_back(entry.path());
  return inputs;
}

inline std::vector<uint8_t> Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
