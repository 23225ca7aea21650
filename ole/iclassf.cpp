// The class factory a program started for embedding offers: one object per process.
#include "ole/cosmo.h"

STDMETHODIMP CFigureClassFactory::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
  *ppv = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CFigureClassFactory::AddRef() {
  return ++cRef_;
}

STDMETHODIMP_(ULONG) CFigureClassFactory::Release() {
  const ULONG count = --cRef_;
  if (count == 0) delete this;
  return count;
}

STDMETHODIMP CFigureClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (fCreated_) return E_UNEXPECTED;
  CCosmoDoc* doc = pFR_->NewDocument();
  if (!doc) return E_OUTOFMEMORY;
  doc->Load(true, nullptr);
  doc->pFigure_->FrameSet(pFR_);
  const HRESULT hr = doc->pFigure_->QueryInterface(riid, ppv);
  if (FAILED(hr)) return hr;
  doc->pFigure_->HandedOut();
  fCreated_ = true;
  return S_OK;
}

STDMETHODIMP CFigureClassFactory::LockServer(BOOL lock) {
  if (lock) {
    ++pFR_->cLocks;
  } else if (pFR_->cLocks > 0) {
    --pFR_->cLocks;
    pFR_->ObjectReleased();
  }
  return S_OK;
}
