// Pictures of drawings: rendering into a 32-bit top-down DIB section, and reading and writing
// PNG (through the system's imaging codecs) and BMP files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "model/docstate.h"

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// A memory context over a top-down 32-bit DIB section of the given size, cleared to white.
struct DibCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ saved = nullptr;
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
};
bool CreateDibCanvas(int width, int height, DibCanvas* canvas);
void DeleteDibCanvas(DibCanvas* canvas);
Picture CanvasPicture(const DibCanvas& canvas);

// The drawing's sheet at `zoom` as a picture: width and height the sheet's times the zoom,
// rounded; background, grid, axis and page breaks as its settings say; no handles.
bool RenderDocumentPicture(DocumentRec* document, float zoom, Picture* picture);

bool WritePictureBmp(const Picture& picture, const char* path);
bool WritePicturePng(const Picture& picture, const char* path);
bool ReadPicturePng(const char* path, Picture* picture);
