// The class factory a program started for embedding offers: one object per process.
#include "ole/cosmo.h"

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
