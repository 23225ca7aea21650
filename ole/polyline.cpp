// The adapter between a drawing and an OLE stream: a 32-bit little-endian byte count, then the
// native object records as the private scrap holds them.
#include <cstring>

#include "files/drxfile.h"
#include "model/docstate.h"
#include "ole/cosmo.h"
#include "tools/scrap.h"

namespace {

constexpr size_t kCountBytes = 4;

void PutCount(uint32_t count, uint8_t* out) {
  for (size_t i = 0; i < kCountBytes; ++i) out[i] = static_cast<uint8_t>(count >> (8 * i));
}

uint32_t GetCount(const uint8_t* in) {
  uint32_t count = 0;
  for (size_t i = 0; i < kCountBytes; ++i) count |= static_cast<uint32_t>(in[i]) << (8 * i);
  return count;
}

// The private scrap belongs to the clipboard: what it held before is put back afterwards.
class ScrapLoan {
 public:
  ScrapLoan() : data_(gPrivateScrap), size_(gPrivateScrapSize), index_(gScrapIndex) {
    gPrivateScrap = nullptr;
    gPrivateScrapSize = 0;
  }
  ~ScrapLoan() {
    FreePrivateScrap();
    gPrivateScrap = data_;
    gPrivateScrapSize = size_;
    gScrapIndex = index_;
  }
  ScrapLoan(const ScrapLoan&) = delete;
  ScrapLoan& operator=(const ScrapLoan&) = delete;

 private:
  uint8_t* data_;
  uint32_t size_, index_;
};

// Makes `document` the current drawing for a scope.
class DrawingLoan {
 public:
  explicit DrawingLoan(DocumentRec* document) : saved_(gCurDocument) { gCurDocument = document; }
  ~DrawingLoan() { gCurDocument = saved_; }
  DrawingLoan(const DrawingLoan&) = delete;
  DrawingLoan& operator=(const DrawingLoan&) = delete;

 private:
  DocumentRec* saved_;
};

}  // namespace

bool CopyDocumentForOLE(DocumentRec* document, std::vector<uint8_t>* records) {
  if (!document) return false;
  DrawingLoan drawing(document);
  ScrapLoan scrap;
  if (!DoOLECopyObjects()) return false;
  records->assign(gPrivateScrap, gPrivateScrap + gOLEScrapSize);
  return true;
}

bool PasteDocumentFromOLE(DocumentRec* document, const uint8_t* records, size_t length) {
  if (!document) return false;
  DrawingLoan drawing(document);
  ScrapLoan scrap;
  return SetPrivateScrap(records, length) && DoOLEPasteObjects();
}

bool CPolyline::Serialize(std::vector<uint8_t>* bytes) {
  std::vector<uint8_t> records;
  if (!doc_ || !CopyDocumentForOLE(doc_->Drawing(), &records) || records.size() > UINT32_MAX - kCountBytes)
    return false;
  bytes->resize(kCountBytes + records.size());
  PutCount(static_cast<uint32_t>(records.size()), bytes->data());
  if (!records.empty()) std::memcpy(bytes->data() + kCountBytes, records.data(), records.size());
  return true;
}

HRESULT CPolyline::Deserialize(const uint8_t* data, size_t length) {
  if (!doc_ || !doc_->Drawing()) return E_UNEXPECTED;
  if (length < kCountBytes) return STG_E_READFAULT;
  const uint32_t count = GetCount(data);
  if (count > length - kCountBytes) return STG_E_READFAULT;
  if (count == 0) return S_OK;
  const bool read = PasteDocumentFromOLE(doc_->Drawing(), data + kCountBytes, count);
  // What was read before damage stays in the drawing and is shown.
  doc_->Changed();
  return read ? S_OK : STG_E_READFAULT;
}

HRESULT CPolyline::WriteToStream(IStream* stream) {
  std::vector<uint8_t> bytes;
  if (!stream) return E_POINTER;
  if (!Serialize(&bytes)) return E_OUTOFMEMORY;
  LARGE_INTEGER start = {};
  ULARGE_INTEGER size;
  size.QuadPart = bytes.size();
  HRESULT hr = stream->Seek(start, STREAM_SEEK_SET, nullptr);
  if (SUCCEEDED(hr)) hr = stream->SetSize(size);
  ULONG written = 0;
  if (SUCCEEDED(hr)) hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  if (SUCCEEDED(hr) && written != bytes.size()) hr = STG_E_WRITEFAULT;
  return FAILED(hr) ? hr : S_OK;
}

// The count is checked against what the stream really holds before anything is allocated, and
// a short read is refused.
HRESULT CPolyline::ReadFromStream(IStream* stream) {
  if (!stream) return E_POINTER;
  STATSTG stat = {};
  HRESULT hr = stream->Stat(&stat, STATFLAG_NONAME);
  if (FAILED(hr)) return hr;
  if (stat.cbSize.QuadPart < kCountBytes) return STG_E_READFAULT;
  LARGE_INTEGER start = {};
  hr = stream->Seek(start, STREAM_SEEK_SET, nullptr);
  if (FAILED(hr)) return hr;
  uint8_t head[kCountBytes];
  ULONG got = 0;
  hr = stream->Read(head, sizeof head, &got);
  if (FAILED(hr) || got != sizeof head) return STG_E_READFAULT;
  const uint32_t count = GetCount(head);
  if (count > stat.cbSize.QuadPart - kCountBytes) return STG_E_READFAULT;
  std::vector<uint8_t> bytes(kCountBytes + count);
  std::memcpy(bytes.data(), head, kCountBytes);
  if (count > 0) {
    hr = stream->Read(bytes.data() + kCountBytes, count, &got);
    if (FAILED(hr) || got != count) return STG_E_READFAULT;
  }
  return Deserialize(bytes.data(), bytes.size());
}
