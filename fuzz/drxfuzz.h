// One input through every way the reader takes bytes: a drawing, a symbol placed into a drawing,
// a symbol preview, and a scrap pasted into a drawing, each into a fresh drawing. The drawing
// read is then saved, read back and saved again (both saves must hold the same bytes), and
// exported in every format (an export either refuses the drawing and leaves no file, or writes a
// file with no number that is not finite). Shared by the fuzz target, its replay program and the
// replay test; a broken promise aborts, so the fuzzer keeps the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "exchange/exporter.h"
#include "files/drxfile.h"
#include "model/docstate.h"
#include "model/lyrhndlr.h"

// Inputs longer than this add nothing the reader has not seen in shorter ones.
constexpr size_t kDrxFuzzMaxInput = 1 << 20;

namespace drxfuzz {

inline void Broken(const char* what, const char* detail) {
  std::fprintf(stderr, "drxfuzz: %s%s%s\n", what, detail ? ": " : "", detail ? detail : "");
  std::abort();
}

// A scratch folder of this process: the first of TMPDIR, /dev/shm, /tmp, the current folder.
inline const std::string& ScratchStem() {
  static std::string stem;
  if (stem.empty()) {
    std::string folder;
#ifdef _WIN32
    const char* candidates[] = {std::getenv("TEMP"), std::getenv("TMP")};
#else
    const char* candidates[] = {std::getenv("TMPDIR"), "/dev/shm", "/tmp"};
#endif
    for (const char* candidate : candidates) {
      if (!candidate || !*candidate) continue;
      std::string probe = std::string(candidate) + "/drxfuzz-probe";
      if (FILE* file = std::fopen(probe.c_str(), "wb")) {
        std::fclose(file);
        std::remove(probe.c_str());
        folder = candidate;
        break;
      }
    }
    if (folder.empty()) folder = ".";
#ifdef _WIN32
    stem = folder + "/drxfuzz-" + std::to_string(_getpid());
#else
    stem = folder + "/drxfuzz-" + std::to_string(getpid());
#endif
  }
  return stem;
}

inline bool Slurp(const std::string& path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  uint8_t block[65536];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0)
    bytes->insert(bytes->end(), block, block + got);
  std::fclose(file);
  return true;
}

inline bool Exists(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file) std::fclose(file);
  return file != nullptr;
}

// True when the text holds the word nan or inf (any case, any suffix such as "inity"): what the
// C library prints for a number that is not finite.
inline bool HoldsNonFinite(const std::vector<uint8_t>& text) {
  auto lower = [](uint8_t c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
  auto letter = [&](size_t i) { return i < text.size() && lower(text[i]) >= 'a' && lower(text[i]) <= 'z'; };
  for (size_t i = 0; i + 3 <= text.size(); ++i) {
    if (i > 0 && letter(i - 1)) continue;
    const char word[3] = {lower(text[i]), lower(text[i + 1]), lower(text[i + 2])};
    if (std::memcmp(word, "nan", 3) != 0 && std::memcmp(word, "inf", 3) != 0) continue;
    if (!letter(i + 3) || (std::memcmp(word, "inf", 3) == 0 && text.size() >= i + 8 &&
                           std::memcmp(&text[i], "infinity", 8) == 0))
      return true;
  }
  return false;
}

// Saves the current drawing to `path`; false when the save was refused.
inline bool Save(const std::string& path, std::vector<uint8_t>* bytes) {
  gSaveSymbol = false;
  if (!DrxFileWrite(path.c_str())) {
    if (Exists(path)) Broken("a refused save left a file", DrxFailureText(gDrxFileFailure).c_str());
    return false;
  }
  if (!Slurp(path, bytes)) Broken("a save reported as written left no file", path.c_str());
  return true;
}

inline void ExportEveryFormat(const std::string& stem) {
  const struct {
    int16_t type;
    const char* suffix;
  } kFormats[] = {{kExportDXF, ".dxf"}, {kExportHPGL, ".plt"}, {kExportEPS, ".eps"}};
  std::vector<uint8_t> bytes;
  for (const auto& format : kFormats) {
    const std::string path = stem + format.suffix;
    std::remove(path.c_str());
    if (!ExportFile(format.type, path.c_str())) {
      if (Exists(path)) Broken("a refused export left a file", ExportFailureText(gExportFailure).c_str());
      continue;
    }
    if (!Slurp(path, &bytes)) Broken("an export reported as written left no file", path.c_str());
    if (HoldsNonFinite(bytes)) Broken("an export holds a number that is not finite", path.c_str());
    std::remove(path.c_str());
  }
}

// Saves what the input read as, reads the save back, saves again and compares.
inline void RoundTrip() {
  const std::string first = ScratchStem() + "-a.drx";
  const std::string second = ScratchStem() + "-b.drx";
  std::vector<uint8_t> written, rewritten;
  if (!Save(first, &written)) return;
  DocumentRec* original = gCurDocument;
  DocumentRec* document = CreateDocument();
  if (!document) {
    gCurDocument = original;
    return;
  }
  if (!DrxFileRead(first.c_str()))
    Broken("a saved drawing does not read back", DrxFailureText(gDrxFileFailure).c_str());
  if (Save(second, &rewritten) && written != rewritten)
    Broken("a saved drawing reads back different", nullptr);
  DeleteDocument(document);
  gCurDocument = original;
  std::remove(first.c_str());
  std::remove(second.c_str());
}

}  // namespace drxfuzz

inline void DrxFuzzOneInput(const uint8_t* data, size_t size) {
  if (size > kDrxFuzzMaxInput) return;
  for (int mode = 0; mode < 4; ++mode) {
    DocumentRec* document = CreateDocument();
    if (!document) return;
    gOpenSymbol = mode == 1;
    gPreviewSymbol = mode == 2;
    if (mode == 3)
      ReadScrapObjects(data, size);
    else
      DrxReadFromMemory(data, size, "fuzz");
    gOpenSymbol = gPreviewSymbol = false;
    if (gPreviewLayer) {
      DeleteLayer(gPreviewLayer);
      gPreviewLayer = nullptr;
    }
    if (mode == 0) {
      drxfuzz::ExportEveryFormat(drxfuzz::ScratchStem());
      drxfuzz::RoundTrip();
    }
    DeleteDocument(document);
  }
}
