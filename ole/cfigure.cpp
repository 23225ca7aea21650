// The embeddable object: its reference count, the interfaces it hands out, its format table and
// the notifications it sends its container.
#include "ole/cosmo.h"

// {E67B9251-21BF-4986-A74C-564D0F66EF5B}
const CLSID CLSID_CosmoFigure = {
    0xe67b9251, 0x21bf, 0x4986, {0xa7, 0x4c, 0x56, 0x4d, 0x0f, 0x66, 0xef, 0x5b}};

CFigure::CFigure(CCosmoDoc* doc, void (*destroyed)()) : pDoc_(doc), pfnDestroy_(destroyed) {}

CFigure::~CFigure() {
  ReleaseStorage();
  if (pIDataAdviseHolder_) pIDataAdviseHolder_->Release();
  if (pIOleAdviseHolder_) pIOleAdviseHolder_->Release();
  if (pIOleClientSite_) pIOleClientSite_->Release();
}

// The bitmap row is left out: nothing renders one.
bool CFigure::Init() {
  if (!pDoc_) return false;
  const UINT formats[kFigureFormatCount] = {pDoc_->cfStuff_, pDoc_->cfEmbedSource_,
                                            pDoc_->cfObjectDescriptor_, CF_METAFILEPICT};
  const DWORD media[kFigureFormatCount] = {TYMED_HGLOBAL, TYMED_ISTORAGE, TYMED_HGLOBAL, TYMED_MFPICT};
  for (int i = 0; i < kFigureFormatCount; ++i)
    formats_[i] = {static_cast<CLIPFORMAT>(formats[i]), nullptr, DVASPECT_CONTENT, -1, media[i]};
  return true;
}

STDMETHODIMP CFigure::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown))
    *ppv = static_cast<IUnknown*>(this);
  else if (IsEqualIID(riid, IID_IPersist) || IsEqualIID(riid, IID_IPersistStorage))
    *ppv = static_cast<IPersistStorage*>(&persistStorage_);
  else if (IsEqualIID(riid, IID_IDataObject))
    *ppv = static_cast<IDataObject*>(&dataObject_);
  else if (IsEqualIID(riid, IID_IOleObject))
    *ppv = static_cast<IOleObject*>(&oleObject_);
  if (!*ppv) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CFigure::AddRef() {
  return ++cRef_;
}

// Once the container has let go (only the document's reference is left), its site is released
// and a program started for embedding may end.
STDMETHODIMP_(ULONG) CFigure::Release() {
  const ULONG count = --cRef_;
  if (count == 0) {
    void (*destroyed)() = pfnDestroy_;
    delete this;
    if (destroyed) destroyed();
    return 0;
  }
  if (count == 1 && fHandedOut_ && pDoc_) {
    fHandedOut_ = false;
    if (pIOleClientSite_) {
      IOleClientSite* site = pIOleClientSite_;
      pIOleClientSite_ = nullptr;
      site->Release();
    }
    if (pFR_) pFR_->ObjectReleased();
  }
  return count;
}

void CFigure::ReleaseStorage() {
  if (pIStream_) pIStream_->Release();
  if (pIStorage_) pIStorage_->Release();
  pIStream_ = nullptr;
  pIStorage_ = nullptr;
}

void CFigure::Disconnect() {
  AddRef();  // alive through the disconnection, which releases the container's references
  pDoc_ = nullptr;
  fHandedOut_ = false;
  CoDisconnectObject(static_cast<IUnknown*>(this), 0);
  Release();
}

const FORMATETC* CFigure::FindFormat(const FORMATETC& format) const {
  if (format.dwAspect != DVASPECT_CONTENT) return nullptr;
  for (const FORMATETC& row : formats_)
    if (row.cfFormat == format.cfFormat && (row.tymed & format.tymed)) return &row;
  return nullptr;
}

// The site is held for the call: the container may let go of the object while it answers.
void CFigure::SendAdvise(AdviseCode code) {
  IOleClientSite* site = pIOleClientSite_;
  if (site) site->AddRef();
  switch (code) {
    case kAdviseSaved:
      if (pIOleAdviseHolder_) pIOleAdviseHolder_->SendOnSave();
      break;
    case kAdviseClosed:
      if (pIOleAdviseHolder_) pIOleAdviseHolder_->SendOnClose();
      break;
    case kAdviseSaveIfDirty:
      // The new picture first, so that the container saves it with the data.
      if (persistStorage_.IsDirty() == S_OK) {
        SendAdvise(kAdviseDataChange);
        if (site) site->SaveObject();
      }
      break;
    case kAdviseDataChange:
      if (pIDataAdviseHolder_) pIDataAdviseHolder_->SendOnDataChange(&dataObject_, 0, 0);
      break;
    case kAdviseShowWindow:
    case kAdviseHideWindow:
      if (site) site->OnShowWindow(code == kAdviseShowWindow);
      break;
    case kAdviseRequestNewSize:
      if (site) site->RequestNewObjectLayout();
      break;
  }
  if (site) site->Release();
}
