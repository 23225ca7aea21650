// drxconv: reads drawings with the program's own reader and prints or converts them, with no
// window. Exit statuses and the single stderr line of a failure are relied on by scripts.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "drxconv/drxconv.h"
#include "files/drxfile.h"
#include "files/drxio.h"
#include "model/docstate.h"
#include "model/seam.h"

namespace {

constexpr const char* kProgramName = "drxconv";
constexpr const char* kProgramVersion = "1.0";
constexpr const char* kUsageLine =
    "usage: drxconv info FILE | drxconv convert IN OUT [--zoom Z] [--eps-preview]";

int Fail(int status, const char* file, const std::string& reason) {
  if (file) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgramName, file, reason.c_str());
  } else {
    std::fprintf(stderr, "%s: %s\n", kProgramName, reason.c_str());
  }
  return status;
}

int UsageError(const std::string& reason) {
  return Fail(kExitUsage, nullptr, reason + " (" + kUsageLine + ")");
}

void PrintHelp() {
  std::printf(
      "%s\n\n"
      "  drxconv info FILE                 print the drawing as JSON on stdout\n"
      "  drxconv convert IN OUT [options]  read IN, write OUT in the format of OUT's extension\n"
      "  drxconv --help | --version\n\n"
      "IN: a .drx or .sym file, or a file Draxel imports (.dxf; .bmp, .gif, .jpg, .tif, .pcx, .eps\n"
      "on the Windows build). OUT formats: %s.\n"
      "Options: --zoom Z (rendered pictures, default 1), --eps-preview (EPS with a preview).\n"
      "Exit status: 0 done; 1 usage error or unsupported output; 2 the input cannot be read or\n"
      "the output cannot be written.\n",
      kUsageLine, ListOutputFormats().c_str());
}

int RunInfo(const char* path) {
  LoadedDrawing drawing;
  std::string reason;
  if (IsImportedFormat(path)) {
    const int status = ImportDrawing(path, &drawing, &reason);
    if (status != kExitDone) return Fail(status, path, reason);
  } else if (!LoadDrawing(path, &drawing, &reason)) {
    return Fail(kExitFile, path, reason);
  }
  const bool written = WriteInfoJson(drawing, stdout);
  UnloadDrawing(&drawing);
  if (!written) return Fail(kExitFile, "standard output", "cannot be written");
  return kExitDone;
}

int RunConvert(const char* inPath, const char* outPath, const ConvertOptions& options) {
  std::string reason;
  int status = CheckOutputFormat(outPath, &reason);
  if (status != kExitDone) return Fail(status, outPath, reason);
  LoadedDrawing drawing;
  if (IsImportedFormat(inPath)) {
    status = ImportDrawing(inPath, &drawing, &reason);
    if (status != kExitDone) return Fail(status, inPath, reason);
  } else if (!LoadDrawing(inPath, &drawing, &reason)) {
    return Fail(kExitFile, inPath, reason);
  }
  status = ConvertCurrentDrawing(outPath, options, &reason);
  UnloadDrawing(&drawing);
  if (status != kExitDone) return Fail(status, outPath, reason);
  return kExitDone;
}

bool ParseZoom(const char* text, double* zoom) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text, &end);
  if (errno != 0 || end == text || *end != '\0' || !std::isfinite(value) || value <= 0.0) return false;
  *zoom = value;
  return true;
}

int ParseConvert(int argc, char** argv) {
  const char* paths[2] = {nullptr, nullptr};
  int pathCount = 0;
  ConvertOptions options;
  for (int i = 2; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--zoom") == 0) {
      if (i + 1 >= argc) return UsageError("--zoom needs a value");
      if (!ParseZoom(argv[++i], &options.zoom)) return UsageError(std::string("bad zoom '") + argv[i] + "'");
    } else if (std::strcmp(arg, "--eps-preview") == 0) {
      options.epsPreview = true;
    } else if (arg[0] == '-' && arg[1] == '-') {
      return UsageError(std::string("unknown option '") + arg + "'");
    } else if (pathCount < 2) {
      paths[pathCount++] = arg;
    } else {
      return UsageError("convert takes IN and OUT only");
    }
  }
  if (pathCount < 2) return UsageError("convert needs IN and OUT");
  return RunConvert(paths[0], paths[1], options);
}

}  // namespace

bool LoadDrawing(const char* path, LoadedDrawing* drawing, std::string* reason) {
  DocumentRec* document = CreateDocument();
  if (!document) {
    *reason = "out of memory";
    return false;
  }
  gCurDocument = document;
  gOpenSymbol = false;
  gPreviewSymbol = false;
  gSaveSymbol = false;
  gUseScrap = false;
  if (!DrxFileRead(path)) {
    *reason = gDrxFileFailure.reason != DrxReason::kNone ? DrxFailureText(gDrxFileFailure) : "cannot be read";
    DeleteDocument(document);
    gCurDocument = nullptr;
    return false;
  }
  drawing->document = document;
  // The header as the reader saw it; any platform other than 1 reads as 2.
  drawing->version = gFileVersion;
  drawing->platform = gFilePlatform == kPlatformBigEndian ? kPlatformBigEndian : kPlatformWindows;
  return true;
}

void UnloadDrawing(LoadedDrawing* drawing) {
  if (drawing->document) DeleteDocument(drawing->document);
  drawing->document = nullptr;
  gCurDocument = nullptr;
}

int main(int argc, char** argv) {
#ifdef _WIN32
  // The same bytes on both builds: no CR added before each LF of the JSON.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (argc < 2) return UsageError("no command given");
  const char* command = argv[1];
  if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0) {
    PrintHelp();
    return kExitDone;
  }
  if (std::strcmp(command, "--version") == 0) {
    std::printf("%s %s (Draxel drawings, file version %d)\n", kProgramName, kProgramVersion, kDrxVersion150);
    return kExitDone;
  }
  if (std::strcmp(command, "info") == 0) {
    if (argc != 3) return UsageError("info takes one FILE");
    return RunInfo(argv[2]);
  }
  if (std::strcmp(command, "convert") == 0) return ParseConvert(argc, argv);
  return UsageError(std::string("unknown command '") + command + "'");
}
