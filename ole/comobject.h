// The IUnknown part of the small COM objects: one that implements a single interface and counts
// its own references, and one that is part of a larger object and hands every call to it.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <ole2.h>

// How long an object of ComObject lives.
enum class ComLifetime {
  kCounted,  // deleted when the last reference goes
  kProgram,  // never deleted through its references (a static or long-lived local object)
};

// An object that answers for IUnknown and `Interface` (whose id is `kId`) and nothing else. A
// counted object starts with `references` references (the creator's, by default).
template <typename Interface, const IID& kId, ComLifetime kLifetime = ComLifetime::kCounted>
class ComObject : public Interface {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, kId)) return E_NOINTERFACE;
    *ppv = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    if constexpr (kLifetime == ComLifetime::kProgram) {
      return 2;
    } else {
      return ++cRef_;
    }
  }
  STDMETHODIMP_(ULONG) Release() override {
    if constexpr (kLifetime == ComLifetime::kProgram) {
      return 1;
    } else {
      const ULONG count = --cRef_;
      if (count == 0) delete this;
      return count;
    }
  }

 protected:
  explicit ComObject(ULONG references = 1) : cRef_(references) {}
  virtual ~ComObject() = default;

 private:
  ULONG cRef_;
};

// One interface of an object that implements several: identity and references are its owner's.
template <typename Interface, typename Owner>
class ComDelegate : public Interface {
 public:
  explicit ComDelegate(Owner* owner) : pObj_(owner) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return pObj_->QueryInterface(riid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return pObj_->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return pObj_->Release(); }

 protected:
  Owner* pObj_;
};
