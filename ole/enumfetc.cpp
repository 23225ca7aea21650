// An enumerator over a copy of a list of formats (the target devices are not copied: every
// format here has none).
#include <new>

#include "ole/comobject.h"
#include "ole/cosmo.h"

namespace {

class CEnumFormatEtc : public ComObject<IEnumFORMATETC, IID_IEnumFORMATETC> {
 public:
  CEnumFormatEtc(const FORMATETC* formats, size_t count) : formats_(formats, formats + count) {
    for (FORMATETC& format : formats_) format.ptd = nullptr;
  }
  STDMETHODIMP Next(ULONG wanted, FORMATETC* out, ULONG* fetched) override {
    if (!out || (wanted > 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    while (given < wanted && next_ < formats_.size()) out[given++] = formats_[next_++];
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    const size_t left = formats_.size() - next_;
    next_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    next_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumFORMATETC** copy) override {
    if (!copy) return E_POINTER;
    CEnumFormatEtc* clone = new (std::nothrow) CEnumFormatEtc(formats_.data(), formats_.size());
    *copy = clone;
    if (!clone) return E_OUTOFMEMORY;
    clone->next_ = next_;
    return S_OK;
  }

 private:
  ~CEnumFormatEtc() override = default;
  std::vector<FORMATETC> formats_;
  size_t next_ = 0;
};

}  // namespace

HRESULT CreateFormatEnumerator(const FORMATETC* formats, size_t count, IEnumFORMATETC** enumerator) {
  if (!enumerator) return E_POINTER;
  *enumerator = new (std::nothrow) CEnumFormatEtc(formats, count);
  return *enumerator ? S_OK : E_OUTOFMEMORY;
}
