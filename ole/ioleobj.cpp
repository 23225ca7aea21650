// The figure's object interface: the client site, host names, extent, verbs and advises.
#include <cwchar>
#include <string>

#include "ole/cosmo.h"

namespace {

// Host names are kept to this many bytes with their terminator.
constexpr int kHostNameBytes = 80;

// `name` in the program's code page, cut to fit `size` bytes (never inside a double-byte
// character); empty for a null name.
void NarrowName(LPCOLESTR name, char* out, int size) {
  out[0] = '\0';
  if (!name) return;
  const int needed = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return;
  std::string full(static_cast<size_t>(needed), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, name, -1, &full[0], needed, nullptr, nullptr) <= 0) return;
  int length = 0;
  while (length < size - 1 && full[length]) {
    const int step = IsDBCSLeadByte(static_cast<BYTE>(full[length])) ? 2 : 1;
    if (length + step > size - 1) break;
    length += step;
  }
  full.copy(out, static_cast<size_t>(length));
  out[length] = '\0';
}

}  // namespace

STDMETHODIMP CImpIOleObject::SetClientSite(IOleClientSite* site) {
  if (site) site->AddRef();
  if (pObj_->pIOleClientSite_) pObj_->pIOleClientSite_->Release();
  pObj_->pIOleClientSite_ = site;
  return S_OK;
}

STDMETHODIMP CImpIOleObject::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = pObj_->pIOleClientSite_;
  if (*site) (*site)->AddRef();
  return S_OK;
}

STDMETHODIMP CImpIOleObject::SetHostNames(LPCOLESTR container, LPCOLESTR object) {
  pObj_->fEmbedded_ = true;
  char containerName[kHostNameBytes], objectName[kHostNameBytes];
  NarrowName(container, containerName, sizeof containerName);
  NarrowName(object, objectName, sizeof objectName);
  if (pObj_->pFR_ && pObj_->pDoc_)
    pObj_->pFR_->UpdateEmbeddingUI(true, pObj_->pDoc_, containerName, objectName);
  return S_OK;
}

STDMETHODIMP CImpIOleObject::Close(DWORD) {
  return S_OK;
}
STDMETHODIMP CImpIOleObject::SetMoniker(DWORD, IMoniker*) {
  return E_NOTIMPL;
}
STDMETHODIMP CImpIOleObject::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP CImpIOleObject::InitFromData(IDataObject*, BOOL, DWORD) {
  return S_OK;
}
// No data object of its own is made: the caller gets none rather than an unset pointer.
STDMETHODIMP CImpIOleObject::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP CImpIOleObject::DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
  return S_OK;
}
STDMETHODIMP CImpIOleObject::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs) *verbs = nullptr;
  return OLE_S_USEREG;
}
STDMETHODIMP CImpIOleObject::Update() {
  return S_OK;
}
STDMETHODIMP CImpIOleObject::IsUpToDate() {
  return S_OK;
}
STDMETHODIMP CImpIOleObject::GetUserClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_CosmoFigure;
  return S_OK;
}
STDMETHODIMP CImpIOleObject::GetUserType(DWORD, LPOLESTR* type) {
  if (type) *type = nullptr;
  return OLE_S_USEREG;
}
STDMETHODIMP CImpIOleObject::SetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  return aspect == DVASPECT_CONTENT ? S_OK : E_FAIL;
}

STDMETHODIMP CImpIOleObject::GetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return E_FAIL;
  if (!pObj_->pDoc_) return E_UNEXPECTED;
  return pObj_->pDoc_->MakePicture(nullptr, size) ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CImpIOleObject::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!pObj_->pIOleAdviseHolder_) {
    HRESULT hr = CreateOleAdviseHolder(&pObj_->pIOleAdviseHolder_);
    if (FAILED(hr)) return hr;
  }
  return pObj_->pIOleAdviseHolder_->Advise(sink, connection);
}

STDMETHODIMP CImpIOleObject::Unadvise(DWORD connection) {
  if (!pObj_->pIOleAdviseHolder_) return OLE_E_NOCONNECTION;
  return pObj_->pIOleAdviseHolder_->Unadvise(connection);
}

STDMETHODIMP CImpIOleObject::EnumAdvise(IEnumSTATDATA** enumerator) {
  if (!enumerator) return E_POINTER;
  *enumerator = nullptr;
  if (!pObj_->pIOleAdviseHolder_) return OLE_E_ADVISENOTSUPPORTED;
  return pObj_->pIOleAdviseHolder_->EnumAdvise(enumerator);
}

STDMETHODIMP CImpIOleObject::GetMiscStatus(DWORD, DWORD* status) {
  if (status) *status = 0;
  return OLE_S_USEREG;
}
STDMETHODIMP CImpIOleObject::SetColorScheme(LOGPALETTE*) {
  return E_NOTIMPL;
}
