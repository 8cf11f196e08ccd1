#include "platform/win32/messenger.h"

#include <windows.h>

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <new>
#include <string>

#include "platform/win32/dispatch.h"
#include "platform/win32/wide.h"

namespace tb::win32 {
namespace {

using platform::HResult;

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
  return CreateDispatch<Win32MessengerObject>(kClsidMessenger, object);
}

}  // namespace tb::win32
