// The figure's storage interface: a new object, loading, saving and letting go of the storage.
#include "ole/cosmo.h"

namespace {

constexpr DWORD kStreamMode = STGM_DIRECT | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

// Opens "CONTENTS" of `storage` for reading and writing, or for reading when the storage is
// read-only.
HRESULT OpenContents(IStorage* storage, IStream** stream) {
  HRESULT hr = storage->OpenStream(kContentsStream, nullptr, kStreamMode, 0, stream);
  if (hr == STG_E_ACCESSDENIED)
    hr = storage->OpenStream(kContentsStream, nullptr, STGM_DIRECT | STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                             stream);
  return hr;
}

}  // namespace

STDMETHODIMP CImpIPersistStorage::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_CosmoFigure;
  return S_OK;
}

STDMETHODIMP CImpIPersistStorage::IsDirty() {
  return state_ == kUninitialized ? S_FALSE : S_OK;
}

STDMETHODIMP CImpIPersistStorage::InitNew(IStorage* storage) {
  if (state_ != kUninitialized) return E_UNEXPECTED;
  if (!storage) return E_POINTER;
  if (!pObj_->pDoc_) return E_UNEXPECTED;
  IStream* stream = nullptr;
  HRESULT hr = storage->CreateStream(kContentsStream, STGM_CREATE | kStreamMode, 0, 0, &stream);
  if (FAILED(hr)) return hr;
  WriteFmtUserTypeStg(storage, pObj_->pDoc_->cfStuff_, const_cast<LPOLESTR>(kUserTypeName));
  storage->AddRef();
  pObj_->ReleaseStorage();
  pObj_->pIStorage_ = storage;
  pObj_->pIStream_ = stream;
  state_ = kScribble;
  return S_OK;
}

STDMETHODIMP CImpIPersistStorage::Load(IStorage* storage) {
  if (state_ != kUninitialized) return E_UNEXPECTED;
  if (!storage) return E_POINTER;
  CCosmoDoc* doc = pObj_->pDoc_;
  if (!doc || !doc->pPL_) return E_UNEXPECTED;
  fConvert_ = GetConvertStg(storage) == S_OK;
  CLSID clsid;
  HRESULT hr = ReadClassStg(storage, &clsid);
  if (FAILED(hr)) return hr;
  IStream* stream = nullptr;
  hr = OpenContents(storage, &stream);
  if (FAILED(hr)) return hr;
  hr = doc->pPL_->ReadFromStream(stream);
  if (FAILED(hr)) {
    stream->Release();
    return hr;
  }
  storage->AddRef();
  pObj_->ReleaseStorage();
  pObj_->pIStorage_ = storage;
  pObj_->pIStream_ = stream;
  state_ = kScribble;
  pObj_->SendAdvise(kAdviseDataChange);
  return S_OK;
}

// Into the storage the object holds, the held stream is rewritten (a second exclusive opening of
// "CONTENTS" would be refused); into any other storage a new stream is made.
STDMETHODIMP CImpIPersistStorage::Save(IStorage* storage, BOOL sameAsLoad) {
  if (state_ != kScribble) return E_UNEXPECTED;
  if (!storage && !sameAsLoad) return E_POINTER;
  CCosmoDoc* doc = pObj_->pDoc_;
  if (!doc || !doc->pPL_) return E_UNEXPECTED;
  if (!storage) storage = pObj_->pIStorage_;
  if (!storage) return E_POINTER;
  HRESULT hr;
  if (storage == pObj_->pIStorage_ && pObj_->pIStream_) {
    hr = doc->pPL_->WriteToStream(pObj_->pIStream_);
  } else {
    IStream* stream = nullptr;
    hr = storage->CreateStream(kContentsStream, STGM_CREATE | kStreamMode, 0, 0, &stream);
    if (SUCCEEDED(hr)) {
      hr = doc->pPL_->WriteToStream(stream);
      stream->Release();
    }
  }
  if (FAILED(hr)) return hr;
  WriteFmtUserTypeStg(storage, doc->cfStuff_, const_cast<LPOLESTR>(kUserTypeName));
  state_ = kNoScribble;
  return S_OK;
}

STDMETHODIMP CImpIPersistStorage::SaveCompleted(IStorage* storage) {
  if (state_ != kNoScribble && state_ != kHandsOff) return E_UNEXPECTED;
  if (state_ == kHandsOff && !storage) return E_UNEXPECTED;
  if (storage && storage != pObj_->pIStorage_) {
    IStream* stream = nullptr;
    HRESULT hr = OpenContents(storage, &stream);
    if (FAILED(hr)) return hr;
    storage->AddRef();
    pObj_->ReleaseStorage();
    pObj_->pIStorage_ = storage;
    pObj_->pIStream_ = stream;
  }
  pObj_->SendAdvise(kAdviseSaved);
  state_ = kScribble;
  return S_OK;
}

STDMETHODIMP CImpIPersistStorage::HandsOffStorage() {
  if (state_ != kScribble && state_ != kNoScribble) return E_UNEXPECTED;
  pObj_->ReleaseStorage();
  state_ = kHandsOff;
  return S_OK;
}
