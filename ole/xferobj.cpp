// The data-transfer object: an in-process data object, not registered anywhere, that keeps what
// SetData gives it and hands a copy of it to each reader (a drop target, another process).
#include <cstring>
#include <new>
#include <vector>

#include "ole/comobject.h"
#include "ole/cosmo.h"

namespace {

bool Matches(const FORMATETC& kept, const FORMATETC& asked) {
  return kept.cfFormat == asked.cfFormat && kept.dwAspect == asked.dwAspect && (kept.tymed & asked.tymed);
}

class CDataTransfer : public ComObject<IDataObject, IID_IDataObject> {
 public:
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!format || !medium) return E_INVALIDARG;
    for (const Entry& entry : entries_)
      if (Matches(entry.format, *format))
        return CopyMedium(entry.format, entry.medium, medium) ? S_OK : E_OUTOFMEMORY;
    return DV_E_FORMATETC;
  }
  STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override {
    if (!format || !medium) return E_INVALIDARG;
    if (medium->tymed != TYMED_ISTORAGE || !medium->pstg) return DV_E_TYMED;
    for (const Entry& entry : entries_)
      if (Matches(entry.format, *format) && entry.medium.tymed == TYMED_ISTORAGE)
        return entry.medium.pstg->CopyTo(0, nullptr, nullptr, medium->pstg);
    return DV_E_FORMATETC;
  }
  STDMETHODIMP QueryGetData(FORMATETC* format) override {
    if (!format) return E_INVALIDARG;
    for (const Entry& entry : entries_)
      if (Matches(entry.format, *format)) return S_OK;
    return DV_E_FORMATETC;
  }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
  }
  // A format given again replaces what was kept for it.
  STDMETHODIMP SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override {
    if (!format || !medium) return E_INVALIDARG;
    if (format->ptd) return DV_E_DVTARGETDEVICE;
    Entry entry = {*format, {}};
    entry.format.tymed = medium->tymed;
    if (release) {
      entry.medium = *medium;
    } else if (!CopyMedium(*format, *medium, &entry.medium)) {
      return E_OUTOFMEMORY;
    }
    for (Entry& kept : entries_)
      if (kept.format.cfFormat == entry.format.cfFormat && kept.format.dwAspect == entry.format.dwAspect) {
        ReleaseStgMedium(&kept.medium);
        kept = entry;
        return S_OK;
      }
    entries_.push_back(entry);
    return S_OK;
  }
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override {
    if (!enumerator) return E_POINTER;
    *enumerator = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (const Entry& entry : entries_) formats.push_back(entry.format);
    return CreateFormatEnumerator(formats.data(), formats.size(), enumerator);
  }
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA** enumerator) override {
    if (enumerator) *enumerator = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  struct Entry {
    FORMATETC format;
    STGMEDIUM medium;
  };
  ~CDataTransfer() override {
    for (Entry& entry : entries_) ReleaseStgMedium(&entry.medium);
  }
  std::vector<Entry> entries_;
};

}  // namespace

bool CopyMedium(const FORMATETC& format, const STGMEDIUM& medium, STGMEDIUM* copy) {
  *copy = {};
  switch (medium.tymed) {
    case TYMED_HGLOBAL: {
      const SIZE_T size = GlobalSize(medium.hGlobal);
      const void* from = GlobalLock(medium.hGlobal);
      HGLOBAL block = from ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
      if (block) {
        std::memcpy(GlobalLock(block), from, size);
        GlobalUnlock(block);
      }
      if (from) GlobalUnlock(medium.hGlobal);
      if (!block) return false;
      copy->tymed = TYMED_HGLOBAL;
      copy->hGlobal = block;
      return true;
    }
    // The picture's header is copied with its metafile (the system's duplicate copies the
    // header's handle as if it were the metafile).
    case TYMED_MFPICT: {
      const METAFILEPICT* from = static_cast<const METAFILEPICT*>(GlobalLock(medium.hMetaFilePict));
      if (!from) return false;
      METAFILEPICT picture = *from;
      GlobalUnlock(medium.hMetaFilePict);
      picture.hMF = CopyMetaFileA(picture.hMF, nullptr);
      HGLOBAL block = picture.hMF ? GlobalAlloc(GMEM_MOVEABLE, sizeof picture) : nullptr;
      if (!block) {
        if (picture.hMF) DeleteMetaFile(picture.hMF);
        return false;
      }
      *static_cast<METAFILEPICT*>(GlobalLock(block)) = picture;
      GlobalUnlock(block);
      copy->tymed = TYMED_MFPICT;
      copy->hMetaFilePict = block;
      return true;
    }
    case TYMED_GDI:
    case TYMED_ENHMF: {
      // The handles share one member of the union.
      HANDLE handle = OleDuplicateData(medium.hGlobal, format.cfFormat, 0);
      if (!handle) return false;
      copy->tymed = medium.tymed;
      copy->hGlobal = static_cast<HGLOBAL>(handle);
      return true;
    }
    case TYMED_ISTORAGE: {
      IStorage* storage = nullptr;
      HRESULT hr = CreateMemoryStorage(&storage);
      if (SUCCEEDED(hr)) hr = medium.pstg->CopyTo(0, nullptr, nullptr, storage);
      if (FAILED(hr)) {
        if (storage) storage->Release();
        return false;
      }
      copy->tymed = TYMED_ISTORAGE;
      copy->pstg = storage;
      return true;
    }
    default:
      return false;
  }
}

HRESULT CreateMemoryStorage(IStorage** storage) {
  *storage = nullptr;
  ILockBytes* bytes = nullptr;
  HRESULT hr = CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes);
  if (SUCCEEDED(hr))
    hr = StgCreateDocfileOnILockBytes(bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage);
  if (bytes) bytes->Release();
  return hr;
}

IDataObject* CreateDataTransferObject() {
  return new (std::nothrow) CDataTransfer;
}
