// The drop source of a drawing dragged out: Escape cancels, releasing the left button drops.
#include "ole/cosmo.h"

STDMETHODIMP CDropSource::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDropSource)) return E_NOINTERFACE;
  *ppv = static_cast<IDropSource*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CDropSource::AddRef() {
  return ++cRef_;
}

STDMETHODIMP_(ULONG) CDropSource::Release() {
  const ULONG count = --cRef_;
  if (count == 0) delete this;
  return count;
}

STDMETHODIMP CDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keys) {
  if (escapePressed) return DRAGDROP_S_CANCEL;
  if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
  return S_OK;
}

STDMETHODIMP CDropSource::GiveFeedback(DWORD) {
  return DRAGDROP_S_USEDEFAULTCURSORS;
}
