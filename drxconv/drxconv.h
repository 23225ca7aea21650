// The command-line converter's own interfaces: loading a drawing with no window, the `info`
// JSON, and the table of output formats.
#pragma once

#include <cstdio>
#include <string>

#include "model/docstate.h"

// Exit statuses of the program; scripts rely on them.
constexpr int kExitDone = 0;
constexpr int kExitUsage = 1;  // usage error or an output format this build cannot make
constexpr int kExitFile = 2;   // the input cannot be read or the output cannot be written

struct ConvertOptions {
  double zoom = 1.0;        // rendered pictures: pixels per page unit
  bool epsPreview = false;  // EPS with the metafile preview
};

// A drawing loaded from a file, with the header values the reader saw.
struct LoadedDrawing {
  DocumentRec* document = nullptr;
  long version = 0;
  int platform = 0;
};

// Reads `path` into a new document that becomes current. False with `reason` set ("damaged:
// record at byte 1874 runs past the end of the file") when the file cannot be read; nothing is
// left allocated then.
bool LoadDrawing(const char* path, LoadedDrawing* drawing, std::string* reason);
void UnloadDrawing(LoadedDrawing* drawing);
// True for the extensions of files the program imports (.dxf, .bmp, .eps...).
bool IsImportedFormat(const char* path);
// Imports `path` into a new document that becomes current, as the matching import command would
// into a new drawing. kExitDone; kExitUsage for a format this build cannot import; kExitFile with
// `reason` when the import fails. What did not come across goes to stderr as one line.
int ImportDrawing(const char* path, LoadedDrawing* drawing, std::string* reason);

// Prints the drawing as the `info` JSON. False when the stream reports a write error.
bool WriteInfoJson(const LoadedDrawing& drawing, FILE* out);

// Formats by output extension. Writes the current document to `outPath` and returns kExitDone,
// or another exit status with `reason` set. A failed conversion leaves nothing at `outPath`.
int ConvertCurrentDrawing(const char* outPath, const ConvertOptions& options, std::string* reason);
// kExitDone when OUT's extension names a format this build can write; otherwise kExitUsage with
// `reason` set. Checked before the input is read.
int CheckOutputFormat(const char* outPath, std::string* reason);
// The extensions the help text lists, "drx, sym, ...".
std::string ListOutputFormats();
