// `convert`: the table of output formats and the one routine that writes through it.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "drxconv/drxconv.h"
#include "exchange/exporter.h"
#include "files/drxfile.h"
#include "model/objstuff.h"
#include "model/records.h"
#include "model/seam.h"
#ifdef _WIN32
#include "render/imagefile.h"
#include "render/metafile.h"
#endif

namespace {

// Writes the current document to `path`; false with `reason` set.
typedef bool (*FormatWriter)(const char* path, const ConvertOptions& options, std::string* reason);

bool WriteDrawingFile(const char* path, const ConvertOptions&, std::string* reason);
bool WriteSymbolFile(const char* path, const ConvertOptions&, std::string* reason);
bool WriteDxfFile(const char* path, const ConvertOptions&, std::string* reason);
bool WriteHpglFile(const char* path, const ConvertOptions&, std::string* reason);
bool WriteEpsFile(const char* path, const ConvertOptions&, std::string* reason);
#ifdef _WIN32
bool WritePngFile(const char* path, const ConvertOptions& options, std::string* reason);
bool WriteBmpFile(const char* path, const ConvertOptions& options, std::string* reason);
#endif

#ifndef _WIN32
// The EPS preview is recorded by the renderer's metafile recorder.
constexpr const char* kEpsPreviewRefusal = "--eps-preview needs the Windows build (drxconv.exe)";
#endif

#ifdef _WIN32
constexpr const char* kRenderRefusal = "rendering is not built yet";
#else
constexpr const char* kRenderRefusal = "rendering needs the Windows build (drxconv.exe)";
#endif

struct OutputFormat {
  const char* extension;  // lower case, without the dot
  FormatWriter write;     // null: this build refuses the format with `refusal`
  const char* refusal;
  bool replacesTarget;  // the writer saves through the target's temporary itself
};

// One line per format. A format whose writer is not part of this build names no writer and
// says why it is refused.
const OutputFormat kOutputFormats[] = {
    {"drx", WriteDrawingFile, nullptr, true}, {"sym", WriteSymbolFile, nullptr, true},
    {"dxf", WriteDxfFile, nullptr, true},     {"plt", WriteHpglFile, nullptr, true},
    {"eps", WriteEpsFile, nullptr, true},
#ifdef _WIN32
    {"png", WritePngFile, nullptr, false},    {"bmp", WriteBmpFile, nullptr, false},
#else
    {"png", nullptr, kRenderRefusal, false},  {"bmp", nullptr, kRenderRefusal, false},
#endif
};

#ifdef _WIN32
// The sheet drawn by the renderer at the zoom, as the drawing pane shows it without handles.
bool WritePictureFile(const char* path, const ConvertOptions& options, bool png, std::string* reason) {
  Picture picture;
  if (!RenderDocumentPicture(gCurDocument, static_cast<float>(options.zoom), &picture)) {
    *reason = "the picture cannot be made at this zoom";
    return false;
  }
  if (!(png ? WritePicturePng(picture, path) : WritePictureBmp(picture, path))) {
    *reason = "cannot be written";
    return false;
  }
  return true;
}

bool WritePngFile(const char* path, const ConvertOptions& options, std::string* reason) {
  return WritePictureFile(path, options, true, reason);
}

bool WriteBmpFile(const char* path, const ConvertOptions& options, std::string* reason) {
  return WritePictureFile(path, options, false, reason);
}
#endif

bool WriteDrawingFile(const char* path, const ConvertOptions&, std::string* reason) {
  gSaveSymbol = false;
  if (DrxFileWrite(path)) return true;
  *reason =
      gDrxFileFailure.reason != DrxReason::kNone ? DrxFailureText(gDrxFileFailure) : "cannot be written";
  return false;
}

// A symbol holds the selected objects: the converter's symbol is the whole drawing, so every
// object of every layer is selected first. Objects without any point cannot be selected and
// are left out, as when the program saves a symbol.
bool WriteSymbolFile(const char* path, const ConvertOptions&, std::string* reason) {
  for (LayerRec* layer = gCurDocument->firstLayer; layer; layer = layer->nextLayer)
    SetObjectChainSelection(layer->firstObject, 1);
  gSaveSymbol = true;
  const bool written = DrxFileWrite(path);
  gSaveSymbol = false;
  if (written) return true;
  *reason =
      gDrxFileFailure.reason != DrxReason::kNone ? DrxFailureText(gDrxFileFailure) : "cannot be written";
  return false;
}

// DXF, HPGL and EPS are written as the export commands write them.
bool WriteExportedFile(int16_t type, const char* path, std::string* reason, const uint8_t* preview = nullptr,
                       uint32_t previewLength = 0) {
  if (ExportFile(type, path, preview, previewLength)) return true;
  *reason =
      gExportFailure.reason != ExportReason::kNone ? ExportFailureText(gExportFailure) : "cannot be written";
  return false;
}

bool WriteDxfFile(const char* path, const ConvertOptions&, std::string* reason) {
  return WriteExportedFile(kExportDXF, path, reason);
}

bool WriteHpglFile(const char* path, const ConvertOptions&, std::string* reason) {
  return WriteExportedFile(kExportHPGL, path, reason);
}

bool WriteEpsFile(const char* path, const ConvertOptions& options, std::string* reason) {
#ifdef _WIN32
  // As the EPS command: the preview is the drawing recorded as a metafile; when it cannot be
  // recorded the file is written without one.
  if (options.epsPreview) {
    HMETAFILE metafile = MakeMetaFile(nullptr);
    const UINT size = metafile ? GetMetaFileBitsEx(metafile, 0, nullptr) : 0;
    std::string bits(size, '\0');
    if (size && GetMetaFileBitsEx(metafile, size, &bits[0]) != size) bits.clear();
    if (metafile) DeleteMetaFile(metafile);
    return WriteExportedFile(kExportEPS, path, reason, reinterpret_cast<const uint8_t*>(bits.data()),
                             static_cast<uint32_t>(bits.size()));
  }
#else
  (void)options;
#endif
  return WriteExportedFile(kExportEPS, path, reason);
}

// The lower-case extension of the last path component, without the dot; empty for none.
std::string LowerExtension(const char* path) {
  const char* base = path;
  for (const char* p = path; *p; ++p) {
    if (*p == '/' || *p == '\\') base = p + 1;
  }
  const char* dot = std::strrchr(base, '.');
  std::string extension;
  if (!dot) return extension;
  for (const char* p = dot + 1; *p; ++p)
    extension += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
  return extension;
}

const OutputFormat* FindOutputFormat(const char* path) {
  const std::string extension = LowerExtension(path);
  for (const OutputFormat& format : kOutputFormats) {
    if (extension == format.extension) return &format;
  }
  return nullptr;
}

}  // namespace

std::string ListOutputFormats() {
  std::string list;
  for (const OutputFormat& format : kOutputFormats) {
    if (!list.empty()) list += ", ";
    list += format.extension;
  }
  return list;
}

int CheckOutputFormat(const char* outPath, std::string* reason) {
  const OutputFormat* format = FindOutputFormat(outPath);
  if (!format) {
    const std::string extension = LowerExtension(outPath);
    *reason = extension.empty() ? "no output format: the name has no extension"
                                : "unsupported output format ." + extension;
    return kExitUsage;
  }
  if (!format->write) {
    *reason = format->refusal;
    return kExitUsage;
  }
  return kExitDone;
}

int ConvertCurrentDrawing(const char* outPath, const ConvertOptions& options, std::string* reason) {
  const int status = CheckOutputFormat(outPath, reason);
  if (status != kExitDone) return status;
#ifndef _WIN32
  if (options.epsPreview && LowerExtension(outPath) == "eps") {
    *reason = kEpsPreviewRefusal;
    return kExitUsage;
  }
#endif
  // Every format is written to the target's temporary, which replaces OUT only when it is
  // complete: the drawing and export writers do that themselves.
  const OutputFormat* format = FindOutputFormat(outPath);
  if (format->replacesTarget) return format->write(outPath, options, reason) ? kExitDone : kExitFile;
  std::string target, temporary;
  const FileRefusal refusal = PrepareFileReplacement(outPath, &target, &temporary);
  if (refusal != FileRefusal::kNone) {
    *reason = FileRefusalText(refusal);
    return kExitFile;
  }
  if (!format->write(temporary.c_str(), options, reason)) {
    std::remove(temporary.c_str());
    return kExitFile;
  }
  if (!ReplaceFileWithTemporary(temporary.c_str(), target.c_str())) {
    std::remove(temporary.c_str());
    *reason = "cannot be written";
    return kExitFile;
  }
  return kExitDone;
}
