// Late-bound calls through IDispatch, shared by the adapters of the
// automation objects (Messenger, the script host).
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <new>
#include <string>

namespace tb::win32 {

// A VARIANT that clears itself.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant(Variant&&) = delete;
  Variant& operator=(Variant&&) = delete;

  VARIANT* Ptr() { return &value_; }

  // VariantChangeType in place, when the type is not already `type`.
  HRESULT ChangeTo(VARTYPE type) {
    if (V_VT(&value_) == type) {
      return S_OK;
    }
    return VariantChangeType(&value_, &value_, 0, type);
  }

 private:
  VARIANT value_;
};

// IDispatch::GetIDsOfNames for one name, then IDispatch::Invoke; whatever
// exception information the call fills in is freed.
HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, DISPPARAMS* params,
                     VARIANT* result);

// A property get, converted to `type`.
HRESULT GetProperty(IDispatch* object, const wchar_t* name, VARTYPE type, Variant& result);

// A text property.
HRESULT GetText(IDispatch* object, const wchar_t* name, std::u16string* text);

// The seam object over `object`, taking over the caller's reference; null,
// with the reference released, when there is no memory for it.
template <typename Wrapper>
std::unique_ptr<Wrapper> Wrap(IDispatch* object) {
  std::unique_ptr<Wrapper> wrapper(new (std::nothrow) Wrapper(object));
  if (!wrapper) {
    object->Release();
  }
  return wrapper;
}

// CoCreateInstance of `clsid` for IDispatch, wrapped in the seam object
// `Wrapper`; `*object` stays null when nothing was made.
template <typename Wrapper, typename Seam>
HRESULT CreateDispatch(REFCLSID clsid, std::unique_ptr<Seam>* object) {
  object->reset();
  IDispatch* created = nullptr;
  const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch,
                                      reinterpret_cast<void**>(&created));
  if (SUCCEEDED(hr) && created != nullptr) {
    *object = Wrap<Wrapper>(created);
    if (!*object) {
      return E_OUTOFMEMORY;
    }
  }
  return hr;
}

}  // namespace tb::win32
