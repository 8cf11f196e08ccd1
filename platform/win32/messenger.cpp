#include "platform/win32/messenger.h"

#include <windows.h>

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <new>
#include <string>

#include "platform/win32/wide.h"

namespace tb::win32 {
namespace {

using platform::HResult;

// CLSID_Messenger, {B69003B3-C55E-4B48-836C-BC5946FC3B28}
constexpr GUID kClsidMessenger = {
    0xB69003B3, 0xC55E, 0x4B48, {0x83, 0x6C, 0xBC, 0x59, 0x46, 0xFC, 0x3B, 0x28}};

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

// The exception information of a failed Invoke, freed whatever was filled in.
class ExceptionInfo {
 public:
  ExceptionInfo() = default;
  ~ExceptionInfo() {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
  }
  ExceptionInfo(const ExceptionInfo&) = delete;
  ExceptionInfo& operator=(const ExceptionInfo&) = delete;
  ExceptionInfo(ExceptionInfo&&) = delete;
  ExceptionInfo& operator=(ExceptionInfo&&) = delete;

  EXCEPINFO* Get() { return &info_; }

 private:
  EXCEPINFO info_{};
};

// IDispatch::GetIDsOfNames for one name, then IDispatch::Invoke.
HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, DISPPARAMS* params,
                     VARIANT* result) {
  std::wstring member(name);
  LPOLESTR names[] = {member.data()};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT found = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(found)) {
    return found;
  }
  ExceptionInfo exception;
  UINT argError = 0;
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, result, exception.Get(),
                        &argError);
}

HRESULT GetProperty(IDispatch* object, const wchar_t* name, VARTYPE type, Variant& result) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  const HRESULT invoked = InvokeByName(object, name, DISPATCH_PROPERTYGET, &none, result.Ptr());
  return FAILED(invoked) ? invoked : result.ChangeTo(type);
}

HRESULT GetText(IDispatch* object, const wchar_t* name, std::u16string* text) {
  Variant result;
  const HRESULT hr = GetProperty(object, name, VT_BSTR, result);
  if (SUCCEEDED(hr)) {
    const BSTR value = V_BSTR(result.Ptr());
    if (value == nullptr) {
      text->clear();
    } else {
      text->assign(reinterpret_cast<const char16_t*>(value), SysStringLen(value));
    }
  }
  return hr;
}

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

class Win32ConversationWindow final : public platform::ConversationWindow {
 public:
  // Takes over the caller's reference.
  explicit Win32ConversationWindow(IDispatch* object) : object_(object) {}
  ~Win32ConversationWindow() override { object_->Release(); }
  Win32ConversationWindow(const Win32ConversationWindow&) = delete;
  Win32ConversationWindow& operator=(const Win32ConversationWindow&) = delete;
  Win32ConversationWindow(Win32ConversationWindow&&) = delete;
  Win32ConversationWindow& operator=(Win32ConversationWindow&&) = delete;

  HResult GetHwnd(platform::Hwnd* window) override {
    Variant result;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    HRESULT hr = InvokeByName(object_, L"HWND", DISPATCH_PROPERTYGET, &none, result.Ptr());
    if (FAILED(hr)) {
      return hr;
    }
    // A handle is a 32-bit number even in a 64-bit process; the answer may
    // still come as a 64-bit integer.
    if (V_VT(result.Ptr()) == VT_I8) {
      *window = static_cast<platform::Hwnd>(V_I8(result.Ptr()));
      return S_OK;
    }
    hr = result.ChangeTo(VT_I4);
    if (SUCCEEDED(hr)) {
      *window = static_cast<platform::Hwnd>(static_cast<std::intptr_t>(V_I4(result.Ptr())));
    }
    return hr;
  }

 private:
  IDispatch* object_;
};

class Win32MessengerObject final : public platform::MessengerObject {
 public:
  // Takes over the caller's reference.
  explicit Win32MessengerObject(IDispatch* object) : object_(object) {}
  ~Win32MessengerObject() override { object_->Release(); }
  Win32MessengerObject(const Win32MessengerObject&) = delete;
  Win32MessengerObject& operator=(const Win32MessengerObject&) = delete;
  Win32MessengerObject(Win32MessengerObject&&) = delete;
  Win32MessengerObject& operator=(Win32MessengerObject&&) = delete;

  HResult GetMyStatus(std::int32_t* status) override {
    Variant result;
    const HRESULT hr = GetProperty(object_, L"MyStatus", VT_I4, result);
    if (SUCCEEDED(hr)) {
      *status = V_I4(result.Ptr());
    }
    return hr;
  }

  HResult GetMyFriendlyName(std::u16string* name) override {
    return GetText(object_, L"MyFriendlyName", name);
  }

  HResult GetMySigninName(std::u16string* name) override {
    return GetText(object_, L"MySigninName", name);
  }

  HResult InstantMessage(const std::u16string& contact,
                         std::unique_ptr<platform::ConversationWindow>* window) override {
    window->reset();
    Variant argument;
    V_VT(argument.Ptr()) = VT_BSTR;
    V_BSTR(argument.Ptr()) = SysAllocStringLen(Wide(contact), static_cast<UINT>(contact.size()));
    if (V_BSTR(argument.Ptr()) == nullptr) {
      return E_OUTOFMEMORY;
    }
    DISPPARAMS params{argument.Ptr(), nullptr, 1, 0};
    Variant result;
    HRESULT hr = InvokeByName(object_, L"InstantMessage", DISPATCH_METHOD, &params, result.Ptr());
    if (FAILED(hr) || V_VT(result.Ptr()) == VT_EMPTY || V_VT(result.Ptr()) == VT_NULL) {
      return hr;
    }
    hr = result.ChangeTo(VT_DISPATCH);
    if (SUCCEEDED(hr) && V_DISPATCH(result.Ptr()) != nullptr) {
      IDispatch* object = V_DISPATCH(result.Ptr());
      object->AddRef();
      *window = Wrap<Win32ConversationWindow>(object);
      if (!*window) {
        return E_OUTOFMEMORY;
      }
    }
    return hr;
  }

 private:
  IDispatch* object_;
};

}  // namespace

platform::HResult Win32Messenger::CreateMessenger(
    std::unique_ptr<platform::MessengerObject>* object) {
  object->reset();
  IDispatch* created = nullptr;
  const HRESULT hr = CoCreateInstance(kClsidMessenger, nullptr, CLSCTX_ALL, IID_IDispatch,
                                      reinterpret_cast<void**>(&created));
  if (SUCCEEDED(hr) && created != nullptr) {
    *object = Wrap<Win32MessengerObject>(created);
    if (!*object) {
      return E_OUTOFMEMORY;
    }
  }
  return hr;
}

}  // namespace tb::win32
