// DIB canvases and picture files.
#include "render/imagefile.h"

#include <wincodec.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "geometry/zoomhdlr.h"
#include "render/drawhdlr.h"

bool CreateDibCanvas(int width, int height, DibCanvas* canvas) {
  if (!canvas || width <= 0 || height <= 0) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return false;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(bitmap);
    return false;
  }
  canvas->dc = dc;
  canvas->bitmap = bitmap;
  canvas->saved = SelectObject(dc, bitmap);
  canvas->bits = static_cast<uint32_t*>(bits);
  canvas->width = width;
  canvas->height = height;
  std::memset(bits, 0xFF, static_cast<size_t>(width) * height * 4);
  return true;
}

void DeleteDibCanvas(DibCanvas* canvas) {
  if (!canvas || !canvas->dc) return;
  SelectObject(canvas->dc, canvas->saved);
  DeleteDC(canvas->dc);
  DeleteObject(canvas->bitmap);
  *canvas = DibCanvas();
}

Picture CanvasPicture(const DibCanvas& canvas) {
  GdiFlush();
  Picture picture;
  picture.width = canvas.width;
  picture.height = canvas.height;
  picture.pixels.assign(canvas.bits, canvas.bits + static_cast<size_t>(canvas.width) * canvas.height);
  for (uint32_t& p : picture.pixels) p &= 0x00FFFFFFu;
  return picture;
}

bool RenderDocumentPicture(DocumentRec* document, float zoom, Picture* picture) {
  if (!document || !document->docState || !picture || !(zoom > 0.0f)) return false;
  const DocState* state = document->docState;
  const FloatRect& page = state->pageRect;
  const int width = RoundToInt((page.right - page.left) * zoom);
  const int height = RoundToInt((page.bottom - page.top) * zoom);
  DibCanvas canvas;
  bool ok = CreateDibCanvas(width, height, &canvas);
  if (ok) {
    // The sheet's top-left corner at the picture's top-left pixel.
    SetWindowOrgEx(canvas.dc, RoundToInt(page.left * zoom), RoundToInt(page.top * zoom), nullptr);
    const QDRect area = {RoundToInt(page.left * zoom), RoundToInt(page.top * zoom),
                         RoundToInt(page.left * zoom) + width, RoundToInt(page.top * zoom) + height};
    ok = PaintDrawing(PaintTarget{canvas.dc, PaintDevice::kScreen, zoom, zoom}, document, &area, kPaintErase);
    if (ok) *picture = CanvasPicture(canvas);
    DeleteDibCanvas(&canvas);
  }
  return ok;
}

bool WritePictureBmp(const Picture& picture, const char* path) {
  if (!path || picture.width <= 0 || picture.height <= 0) return false;
  const uint32_t rowBytes = static_cast<uint32_t>((picture.width * 3 + 3) & ~3);
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(picture.height);
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + imageBytes;
  info.biSize = sizeof info;
  info.biWidth = picture.width;
  info.biHeight = picture.height;  // bottom-up rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = imageBytes;
  FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1;
  std::vector<uint8_t> row(rowBytes, 0);
  for (int y = picture.height - 1; ok && y >= 0; --y) {
    const uint32_t* src = &picture.pixels[static_cast<size_t>(y) * picture.width];
    for (int x = 0; x < picture.width; ++x) {
      row[x * 3] = static_cast<uint8_t>(src[x]);
      row[x * 3 + 1] = static_cast<uint8_t>(src[x] >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(src[x] >> 16);
    }
    ok = std::fwrite(row.data(), rowBytes, 1, out) == 1;
  }
  ok = (std::fclose(out) == 0) && ok;
  return ok;
}

namespace {

IWICImagingFactory* Factory() {
  static IWICImagingFactory* factory = nullptr;
  if (factory) return factory;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory))))
    factory = nullptr;
  return factory;
}

template <typename T>
void Release(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

std::wstring Wide(const char* path) {
  const int n = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  std::wstring out(n > 0 ? n : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, path, -1, &out[0], n);
  return out;
}

}  // namespace

bool WritePicturePng(const Picture& picture, const char* path) {
  IWICImagingFactory* factory = Factory();
  if (!factory || !path || picture.width <= 0) return false;
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  bool ok = false;
  const std::wstring wide = Wide(path);
  if (SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) &&
      SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
      SUCCEEDED(frame->SetSize(picture.width, picture.height))) {
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    if (SUCCEEDED(frame->SetPixelFormat(&format))) {
      std::vector<uint8_t> rows;
      const BYTE* data = reinterpret_cast<const BYTE*>(picture.pixels.data());
      UINT stride = picture.width * 4;
      if (format == GUID_WICPixelFormat24bppBGR) {
        stride = (picture.width * 3 + 3) & ~3u;
        rows.assign(static_cast<size_t>(stride) * picture.height, 0);
        for (int y = 0; y < picture.height; ++y)
          for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            std::memcpy(&rows[y * stride + x * 3], &p, 3);
          }
        data = rows.data();
      }
      ok = SUCCEEDED(frame->WritePixels(picture.height, stride, stride * picture.height,
                                        const_cast<BYTE*>(data))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
  }
  Release(frame);
  Release(encoder);
  Release(stream);
  return ok;
}

bool ReadPicturePng(const char* path, Picture* picture) {
  IWICImagingFactory* factory = Factory();
  if (!factory || !path || !picture) return false;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  bool ok = false;
  const std::wstring wide = Wide(path);
  UINT width = 0, height = 0;
  if (SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                      0.0, WICBitmapPaletteTypeCustom))) {
    picture->width = static_cast<int>(width);
    picture->height = static_cast<int>(height);
    picture->pixels.assign(static_cast<size_t>(width) * height, 0);
    ok = SUCCEEDED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                         reinterpret_cast<BYTE*>(picture->pixels.data())));
    for (uint32_t& p : picture->pixels) p &= 0x00FFFFFFu;
  }
  Release(converter);
  Release(frame);
  Release(decoder);
  return ok;
}
