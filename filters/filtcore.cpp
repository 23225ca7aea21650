// What the picture import filters share.
#include "filters/filtcore.h"

#include <wincodec.h>

#include <cstdlib>
#include <cstring>

namespace {

// Opacity below this counts as transparent: a metafile keeps only painted or not.
constexpr uint8_t kOpaqueFrom = 0x80;

// COM for the imaging component, for as long as one decode lasts.
struct ComScope {
  bool started;
  ComScope() : started(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (started) CoUninitialize();
  }
};

template <typename T>
void Release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

FilterResult ResultOf(HRESULT status, FilterResult otherwise) {
  if (status == E_OUTOFMEMORY) return kFilterNoMemory;
  return otherwise;
}

// Sets `masked` when some pixels are transparent and others are not. A picture whose every
// pixel has opacity 0 carries an unused alpha channel and is taken as opaque.
bool HasTransparency(const RasterImage& image) {
  const size_t count = static_cast<size_t>(image.width) * image.height;
  bool anyOpaque = false, anyClear = false;
  for (size_t i = 0; i < count && !(anyOpaque && anyClear); ++i) {
    if ((image.pixels[i] >> 24) >= kOpaqueFrom)
      anyOpaque = true;
    else
      anyClear = true;
  }
  return anyOpaque && anyClear;
}

// A bottom-up device-independent bitmap: header, colour table and rows.
struct PackedDib {
  BITMAPINFO* info;
  uint8_t* bits;
};

void FreePackedDib(PackedDib* dib) {
  std::free(dib->info);
  std::free(dib->bits);
  *dib = PackedDib();
}

bool AllocPackedDib(int32_t width, int32_t height, int bitCount, PackedDib* dib) {
  *dib = PackedDib();
  const size_t rowBytes = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
  const int colors = bitCount == 1 ? 2 : 0;
  dib->info = static_cast<BITMAPINFO*>(std::calloc(1, sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * 2));
  dib->bits = static_cast<uint8_t*>(std::calloc(rowBytes, static_cast<size_t>(height)));
  if (!dib->info || !dib->bits) {
    FreePackedDib(dib);
    return false;
  }
  BITMAPINFOHEADER& header = dib->info->bmiHeader;
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bitCount);
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(rowBytes * height);
  header.biClrUsed = static_cast<DWORD>(colors);
  if (colors) {
    dib->info->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
    dib->info->bmiColors[1] = RGBQUAD{255, 255, 255, 0};
  }
  return true;
}

// The picture's colours (transparent pixels black when `masked`), and, when `mask` is given,
// the mask: white where the picture is transparent.
bool PackPicture(const RasterImage& image, bool masked, PackedDib* colors, PackedDib* mask) {
  if (!AllocPackedDib(image.width, image.height, 24, colors)) return false;
  if (masked && !AllocPackedDib(image.width, image.height, 1, mask)) {
    FreePackedDib(colors);
    return false;
  }
  const size_t colorRow = ((static_cast<size_t>(image.width) * 24 + 31) / 32) * 4;
  const size_t maskRow = ((static_cast<size_t>(image.width) + 31) / 32) * 4;
  for (int32_t y = 0; y < image.height; ++y) {
    const uint32_t* source = image.pixels + static_cast<size_t>(y) * image.width;
    const size_t row = static_cast<size_t>(image.height - 1 - y);
    uint8_t* out = colors->bits + row * colorRow;
    uint8_t* outMask = masked ? mask->bits + row * maskRow : nullptr;
    for (int32_t x = 0; x < image.width; ++x) {
      uint32_t pixel = source[x];
      if (masked && (pixel >> 24) < kOpaqueFrom) {
        outMask[x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
        pixel = 0;
      }
      out[3 * x] = static_cast<uint8_t>(pixel);
      out[3 * x + 1] = static_cast<uint8_t>(pixel >> 8);
      out[3 * x + 2] = static_cast<uint8_t>(pixel >> 16);
    }
  }
  return true;
}

bool DrawDib(HDC dc, const RasterImage& image, const PackedDib& dib, DWORD operation) {
  const int drawn = StretchDIBits(dc, 0, 0, image.width, image.height, 0, 0, image.width, image.height,
                                  dib.bits, dib.info, DIB_RGB_COLORS, operation);
  return drawn != 0 && drawn != static_cast<int>(GDI_ERROR);
}

}  // namespace

FilterResult ReadFilterFile(const FilterFileRecord* file, FileBytes* bytes) {
  *bytes = FileBytes();
  if (!file || !memchr(file->path, '\0', sizeof file->path) || !file->path[0]) return kFilterCannotOpen;
  // Others may read and write it meanwhile: the program holds it open for reading.
  HANDLE handle = CreateFileA(file->path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return kFilterCannotOpen;
  LARGE_INTEGER size;
  FilterResult result = kFilterOK;
  if (!GetFileSizeEx(handle, &size) || size.QuadPart < 0) {
    result = kFilterCannotOpen;
  } else if (static_cast<uint64_t>(size.QuadPart) > kMaxFilterFileBytes) {
    result = kFilterNoMemory;
  } else {
    bytes->length = static_cast<size_t>(size.QuadPart);
    bytes->data = static_cast<uint8_t*>(std::malloc(bytes->length ? bytes->length : 1));
    if (!bytes->data) result = kFilterNoMemory;
    for (size_t done = 0; result == kFilterOK && done < bytes->length;) {
      DWORD got = 0;
      const size_t want = bytes->length - done;
      const DWORD ask = want > (DWORD{1} << 30) ? (DWORD{1} << 30) : static_cast<DWORD>(want);
      if (!ReadFile(handle, bytes->data + done, ask, &got, nullptr) || got == 0) result = kFilterIncomplete;
      done += got;
    }
  }
  CloseHandle(handle);
  if (result != kFilterOK) FreeFileBytes(bytes);
  return result;
}

void FreeFileBytes(FileBytes* bytes) {
  std::free(bytes->data);
  *bytes = FileBytes();
}

FilterResult DecodeWithImaging(const uint8_t* data, size_t length, RasterImage* image) {
  *image = RasterImage();
  if (!data || length == 0) return kFilterInvalidData;
  if (length > UINT32_MAX) return kFilterNoMemory;
  ComScope com;
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  FilterResult result = kFilterOK;
  HRESULT status = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(status)) result = kFilterNoMemory;  // the component is missing: nothing to read with
  if (result == kFilterOK) {
    status = factory->CreateStream(&stream);
    if (SUCCEEDED(status))
      status = stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(length));
    if (FAILED(status)) result = ResultOf(status, kFilterNoMemory);
  }
  // A file the component does not recognise, or whose header it refuses, is not a picture.
  if (result == kFilterOK) {
    status = factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder);
    if (SUCCEEDED(status)) status = decoder->GetFrame(0, &frame);
    if (FAILED(status)) result = ResultOf(status, kFilterInvalidData);
  }
  UINT width = 0, height = 0;
  if (result == kFilterOK) {
    status = frame->GetSize(&width, &height);
    if (FAILED(status)) result = ResultOf(status, kFilterInvalidData);
  }
  if (result == kFilterOK) result = AllocRasterImage(width, height, image);
  if (result == kFilterOK) {
    double dpiX = 0, dpiY = 0;
    if (SUCCEEDED(frame->GetResolution(&dpiX, &dpiY))) {
      image->dpiX = dpiX;
      image->dpiY = dpiY;
    }
    status = factory->CreateFormatConverter(&converter);
    if (SUCCEEDED(status))
      status = converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom);
    if (FAILED(status)) result = ResultOf(status, kFilterInvalidData);
  }
  if (result == kFilterOK) {
    // The pixels stop short of what the header promised: the file was cut.
    const UINT stride = width * 4;
    status = converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(image->pixels));
    if (FAILED(status)) result = ResultOf(status, kFilterIncomplete);
  }
  Release(converter);
  Release(frame);
  Release(decoder);
  Release(stream);
  Release(factory);
  if (result != kFilterOK) FreeRasterImage(image);
  return result;
}

FilterResult MakeRasterMetaFile(const RasterImage& image, HMETAFILE* metafile) {
  *metafile = nullptr;
  if (image.width <= 0 || image.height <= 0 || !image.pixels) return kFilterInvalidData;
  // A 16-bit metafile places the picture with 16-bit coordinates.
  if (image.width > kMaxRasterSide || image.height > kMaxRasterSide) return kFilterMetafileTooBig;
  const bool masked = HasTransparency(image);
  PackedDib colors, mask = {};
  if (!PackPicture(image, masked, &colors, &mask)) return kFilterNoMemory;
  FilterResult result = kFilterOK;
  HDC dc = CreateMetaFileA(nullptr);
  if (!dc) result = kFilterNoMemory;
  if (result == kFilterOK) {
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, image.width, image.height, nullptr);
    // Where the mask is white the destination is kept (AND with white), then the picture, black
    // there, is painted over (OR with black changes nothing).
    const bool drawn = masked ? DrawDib(dc, image, mask, SRCAND) && DrawDib(dc, image, colors, SRCPAINT)
                              : DrawDib(dc, image, colors, SRCCOPY);
    HMETAFILE closed = CloseMetaFile(dc);
    if (!drawn || !closed) {
      if (closed) DeleteMetaFile(closed);
      result = kFilterMetafileTooBig;
    } else {
      *metafile = closed;
    }
  }
  FreePackedDib(&colors);
  FreePackedDib(&mask);
  return result;
}

int16_t FinishRasterImport(RasterImage* image, FilterPictRecord* pict) {
  HMETAFILE metafile = nullptr;
  const FilterResult result = MakeRasterMetaFile(*image, &metafile);
  if (result == kFilterOK) {
    const RasterPlacement placement = PlaceRasterImage(*image);
    pict->metafile = MetaFileHandleBits(metafile);
    pict->left = 0;
    pict->top = 0;
    pict->right = placement.right;
    pict->bottom = placement.bottom;
    pict->unitsPerInch = placement.unitsPerInch;
  }
  FreeRasterImage(image);
  return result;
}

int16_t ImportRasterFile(const FilterFileRecord* file, FilterPictRecord* pict, RasterDecoder decode) {
  if (!pict) return kFilterInvalidData;
  FileBytes bytes;
  FilterResult result = ReadFilterFile(file, &bytes);
  if (result != kFilterOK) return result;
  RasterImage image;
  result = decode(bytes.data, bytes.length, &image);
  FreeFileBytes(&bytes);
  if (result != kFilterOK) return result;
  return FinishRasterImport(&image, pict);
}
