// The figure's data interface: the table's formats rendered from the drawing, and the private
// format taken in.
#include "ole/cosmo.h"

STDMETHODIMP CImpIDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
  CCosmoDoc* doc = pObj_->pDoc_;
  if (!doc) return E_UNEXPECTED;
  *medium = {};
  HRESULT hr = doc->RenderFormat(*format, medium);
  if (hr == DV_E_FORMATETC) hr = doc->RenderMedium(*format, medium);
  return hr;
}

STDMETHODIMP CImpIDataObject::GetDataHere(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  CCosmoDoc* doc = pObj_->pDoc_;
  if (!doc) return E_UNEXPECTED;
  if (format->cfFormat != doc->cfEmbedSource_ || format->dwAspect != DVASPECT_CONTENT ||
      !(format->tymed & TYMED_ISTORAGE) || medium->tymed != TYMED_ISTORAGE || !medium->pstg)
    return DV_E_FORMATETC;
  return doc->WriteEmbedSource(medium->pstg);
}

STDMETHODIMP CImpIDataObject::QueryGetData(FORMATETC* format) {
  if (!format) return E_INVALIDARG;
  return pObj_->FindFormat(*format) ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP CImpIDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out) out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}

// The private format (a count and object records, as in "CONTENTS") adds its objects to the
// drawing.
STDMETHODIMP CImpIDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
  if (!format || !medium) return E_INVALIDARG;
  CCosmoDoc* doc = pObj_->pDoc_;
  if (!doc) return E_UNEXPECTED;
  if (format->cfFormat != doc->cfStuff_ || format->dwAspect != DVASPECT_CONTENT ||
      medium->tymed != TYMED_HGLOBAL || !medium->hGlobal)
    return DV_E_FORMATETC;
  HRESULT hr = E_OUTOFMEMORY;
  const SIZE_T size = GlobalSize(medium->hGlobal);
  if (const uint8_t* bytes = static_cast<const uint8_t*>(GlobalLock(medium->hGlobal))) {
    hr = doc->pPL_ ? doc->pPL_->Deserialize(bytes, size) : E_UNEXPECTED;
    GlobalUnlock(medium->hGlobal);
  }
  if (release) ReleaseStgMedium(medium);
  if (SUCCEEDED(hr)) pObj_->SendAdvise(kAdviseDataChange);
  return hr;
}

STDMETHODIMP CImpIDataObject::EnumFormatEtc(DWORD, IEnumFORMATETC** enumerator) {
  if (enumerator) *enumerator = nullptr;
  return OLE_S_USEREG;
}

STDMETHODIMP CImpIDataObject::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) {
  if (!pObj_->pIDataAdviseHolder_) {
    HRESULT hr = CreateDataAdviseHolder(&pObj_->pIDataAdviseHolder_);
    if (FAILED(hr)) return hr;
  }
  return pObj_->pIDataAdviseHolder_->Advise(this, format, flags, sink, connection);
}

STDMETHODIMP CImpIDataObject::DUnadvise(DWORD connection) {
  if (!pObj_->pIDataAdviseHolder_) return OLE_E_NOCONNECTION;
  return pObj_->pIDataAdviseHolder_->Unadvise(connection);
}

STDMETHODIMP CImpIDataObject::EnumDAdvise(IEnumSTATDATA** enumerator) {
  if (!enumerator) return E_POINTER;
  *enumerator = nullptr;
  if (!pObj_->pIDataAdviseHolder_) return OLE_E_ADVISENOTSUPPORTED;
  return pObj_->pIDataAdviseHolder_->EnumAdvise(enumerator);
}
