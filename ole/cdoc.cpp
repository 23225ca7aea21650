// The document object of a drawing window: its figure, the formats it renders for the figure and
// for a drag, and the drag itself.
#include <cstring>

#include "model/docstate.h"
#include "model/pthndlr.h"
#include "ole/cosmo.h"
#include "ole/oleserver.h"
#include "render/metafile.h"
#include "shell/shell.h"

namespace {

// The version/state code of a document made or loaded.
constexpr uint32_t kDocumentLoaded = 0x20000;
// The picture of a drawing with no object: a small empty square, never a negative size.
constexpr int kEmptyPicturePixels = 32;
constexpr int kHimetricPerInch = 2540;
constexpr WORD kSetWindowExtRecord = 0x020C;
constexpr size_t kMetafileHeaderBytes = 18;

// The window extent a recorded picture sets (its last SetWindowExt record); false without one.
bool RecordedWindowExtent(HMETAFILE metafile, LONG* width, LONG* height) {
  const UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
  if (size < kMetafileHeaderBytes) return false;
  std::vector<uint8_t> bits(size);
  if (GetMetaFileBitsEx(metafile, size, bits.data()) != size) return false;
  auto word = [&](size_t at) { return static_cast<uint16_t>(bits[at] | (bits[at + 1] << 8)); };
  bool found = false;
  size_t at = static_cast<size_t>(word(2)) * 2;  // the header's size in words
  while (at + 6 <= size) {
    const size_t recordBytes =
        (static_cast<size_t>(word(at)) | (static_cast<size_t>(word(at + 2)) << 16)) * 2;
    if (recordBytes < 6 || recordBytes > size - at) break;
    if (word(at + 4) == kSetWindowExtRecord && recordBytes >= 10) {
      *height = static_cast<int16_t>(word(at + 6));
      *width = static_cast<int16_t>(word(at + 8));
      found = true;
    }
    at += recordBytes;
  }
  return found;
}

HMETAFILE EmptyPicture() {
  HDC dc = CreateMetaFileA(nullptr);
  if (!dc) return nullptr;
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, kEmptyPicturePixels, kEmptyPicturePixels, nullptr);
  return CloseMetaFile(dc);
}

SIZEL PixelsToHimetric(LONG width, LONG height) {
  HDC screen = GetDC(nullptr);
  int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0,
      dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  if (dpiX <= 0) dpiX = 96;
  if (dpiY <= 0) dpiY = 96;
  return {MulDiv(width, kHimetricPerInch, dpiX), MulDiv(height, kHimetricPerInch, dpiY)};
}

// Hands a filled, unlocked block to the caller's medium, which frees it from then on.
HRESULT HandOverGlobal(STGMEDIUM* medium, DWORD tymed, HGLOBAL block) {
  medium->tymed = tymed;
  if (tymed == TYMED_MFPICT)
    medium->hMetaFilePict = block;
  else
    medium->hGlobal = block;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HGLOBAL GlobalCopyOf(const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  if (!block) return nullptr;
  void* at = GlobalLock(block);
  if (size) std::memcpy(at, data, size);
  GlobalUnlock(block);
  return block;
}

// The document of a window's drawing, or null.
CCosmoDoc* DocOfWindow(HWND drawingWindow) {
  DocumentRec* document = DocumentOfPane(DrawingPaneOf(drawingWindow));
  return document ? static_cast<CCosmoDoc*>(document->oleDocument) : nullptr;
}

void ObjectDestroyed() {
  if (pFR) pFR->ObjectReleased();
}

}  // namespace

CCosmoDoc::~CCosmoDoc() {
  if (pFigure_) {
    pFigure_->SendAdvise(kAdviseSaveIfDirty);
    pFigure_->SendAdvise(kAdviseHideWindow);
    pFigure_->SendAdvise(kAdviseClosed);
    pFigure_->Disconnect();
    pFigure_->Release();
    pFigure_ = nullptr;
  }
  delete pPL_;
  if (document_ && document_->oleDocument == this) document_->oleDocument = nullptr;
}

bool CCosmoDoc::Init() {
  window_ = CreateDrawingWindow();
  document_ = DocumentOfPane(DrawingPaneOf(window_));
  if (!window_ || !document_) return false;
  document_->oleDocument = this;
  cfStuff_ = RegisterClipboardFormatA(kPrivateFormatName);
  cfEmbedSource_ = RegisterClipboardFormatA("Embed Source");
  cfObjectDescriptor_ = RegisterClipboardFormatA("Object Descriptor");
  if (!cfStuff_ || !cfEmbedSource_ || !cfObjectDescriptor_) return false;
  pPL_ = new (std::nothrow) CPolyline(this);
  if (!pPL_) return false;
  pFigure_ = new (std::nothrow) CFigure(this, ObjectDestroyed);
  return pFigure_ && pFigure_->Init();
}

bool CCosmoDoc::Load(bool changeFile, const char* file) {
  if (!changeFile || file) return false;  // drawings with files are the file commands' business
  state_ = kDocumentLoaded;
  return true;
}

HWND CCosmoDoc::Pane() const {
  return DrawingPaneOf(window_);
}

void CCosmoDoc::Changed() {
  if (HWND pane = Pane()) InvalidateRect(pane, nullptr, TRUE);
}

// The picture and every size told to a container come from the same recording: the extent the
// picture sets is the one reported, so the three never disagree.
bool CCosmoDoc::MakePicture(HMETAFILE* metafile, SIZEL* himetric) {
  if (!document_) return false;
  HMETAFILE picture = nullptr;
  LONG width = 0, height = 0;
  FloatRect bounds = kEmptyRect;
  if (document_->firstLayer) GetAllLayersBounds(document_->firstLayer, false, &bounds, false, false);
  if (bounds.right >= bounds.left && bounds.bottom >= bounds.top) {
    HWND pane = Pane();
    CurrentDrawingScope scope(pane, document_);
    picture = MakeMetaFile(nullptr);
    if (picture && (!RecordedWindowExtent(picture, &width, &height) || width <= 0 || height <= 0)) {
      DeleteMetaFile(picture);
      picture = nullptr;
    }
  }
  if (!picture) {
    picture = EmptyPicture();
    width = height = kEmptyPicturePixels;
  }
  if (!picture) return false;
  *himetric = PixelsToHimetric(width, height);
  if (metafile)
    *metafile = picture;
  else
    DeleteMetaFile(picture);
  return true;
}

HRESULT CCosmoDoc::RenderFormat(const FORMATETC& format, STGMEDIUM* medium) {
  if (format.cfFormat == cfStuff_) {
    std::vector<uint8_t> bytes;
    if (!pPL_ || !pPL_->Serialize(&bytes)) return E_OUTOFMEMORY;
    HGLOBAL block = GlobalCopyOf(bytes.data(), bytes.size());
    if (!block) return E_OUTOFMEMORY;
    return HandOverGlobal(medium, TYMED_HGLOBAL, block);
  }
  if (format.cfFormat == CF_METAFILEPICT) {
    HMETAFILE metafile = nullptr;
    SIZEL size;
    if (!MakePicture(&metafile, &size)) return E_OUTOFMEMORY;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
    if (!block) {
      DeleteMetaFile(metafile);
      return E_OUTOFMEMORY;
    }
    METAFILEPICT* picture = static_cast<METAFILEPICT*>(GlobalLock(block));
    picture->mm = MM_ANISOTROPIC;
    picture->xExt = size.cx;
    picture->yExt = size.cy;
    picture->hMF = metafile;
    GlobalUnlock(block);
    return HandOverGlobal(medium, TYMED_MFPICT, block);
  }
  return DV_E_FORMATETC;
}

HRESULT CCosmoDoc::WriteEmbedSource(IStorage* storage) {
  HRESULT hr = WriteClassStg(storage, CLSID_CosmoFigure);
  if (SUCCEEDED(hr)) hr = WriteFmtUserTypeStg(storage, cfStuff_, const_cast<LPOLESTR>(kPrivateFormatNameW));
  IStream* stream = nullptr;
  if (SUCCEEDED(hr))
    hr = storage->CreateStream(kContentsStream, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                               &stream);
  if (SUCCEEDED(hr)) hr = pPL_ ? pPL_->WriteToStream(stream) : E_UNEXPECTED;
  if (stream) stream->Release();
  if (SUCCEEDED(hr)) hr = storage->Commit(STGC_DEFAULT);
  return hr;
}

HRESULT CCosmoDoc::RenderMedium(const FORMATETC& format, STGMEDIUM* medium) {
  if (format.cfFormat == cfEmbedSource_) {
    IStorage* storage = nullptr;
    HRESULT hr = CreateMemoryStorage(&storage);
    if (SUCCEEDED(hr)) hr = WriteEmbedSource(storage);
    if (FAILED(hr)) {
      if (storage) storage->Release();
      return hr;
    }
    medium->tymed = TYMED_ISTORAGE;
    medium->pstg = storage;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  if (format.cfFormat == cfObjectDescriptor_) {
    SIZEL size;
    if (!MakePicture(nullptr, &size)) return E_OUTOFMEMORY;
    const size_t nameBytes = sizeof kUserTypeName;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(OBJECTDESCRIPTOR) + nameBytes);
    if (!block) return E_OUTOFMEMORY;
    OBJECTDESCRIPTOR* descriptor = static_cast<OBJECTDESCRIPTOR*>(GlobalLock(block));
    descriptor->cbSize = static_cast<ULONG>(sizeof(OBJECTDESCRIPTOR) + nameBytes);
    descriptor->clsid = CLSID_CosmoFigure;
    descriptor->dwDrawAspect = DVASPECT_CONTENT;
    descriptor->sizel = size;
    descriptor->dwFullUserTypeName = sizeof(OBJECTDESCRIPTOR);
    std::memcpy(reinterpret_cast<uint8_t*>(descriptor) + sizeof(OBJECTDESCRIPTOR), kUserTypeName, nameBytes);
    GlobalUnlock(block);
    return HandOverGlobal(medium, TYMED_HGLOBAL, block);
  }
  return DV_E_FORMATETC;
}

IDataObject* TransferObjectCreate(CCosmoDoc* doc) {
  if (!doc || !doc->pFigure_) return nullptr;
  IDataObject* transfer = CreateDataTransferObject();
  if (!transfer) return nullptr;
  for (const FORMATETC& row : doc->pFigure_->formats_) {
    FORMATETC format = row;
    STGMEDIUM medium = {};
    HRESULT hr = doc->RenderFormat(format, &medium);
    if (hr == DV_E_FORMATETC) hr = doc->RenderMedium(format, &medium);
    const bool rendered = SUCCEEDED(hr);
    if (rendered && FAILED(transfer->SetData(&format, &medium, TRUE))) ReleaseStgMedium(&medium);
  }
  return transfer;
}

void CCosmoDoc::HandleMouseDown() {
  if (fDragging_) return;
  CDropSource* source = new (std::nothrow) CDropSource;
  if (!source) return;
  IDataObject* transfer = TransferObjectCreate(this);
  if (transfer) {
    fDragging_ = true;
    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(transfer, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    fDragging_ = false;
    transfer->Release();
  }
  source->Release();
}

HWND CreateDrawingDocument() {
  if (!pFR) return CreateDrawingWindow();
  CCosmoDoc* doc = pFR->CreateNewDocument();
  return doc ? doc->Window() : nullptr;
}

void CloseDocument(HWND drawingWindow) {
  CCosmoDoc* doc = DocOfWindow(drawingWindow);
  delete doc;
}

void StartDragNDrop(HWND drawingWindow) {
  if (CCosmoDoc* doc = DocOfWindow(drawingWindow)) doc->HandleMouseDown();
}
