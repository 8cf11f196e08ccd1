#include "platform/win32/script_shell.h"

#include <objbase.h>

#include "platform/win32/dispatch.h"
#include "platform/win32/wide.h"

namespace tb::win32 {
namespace {

class Win32ScriptShellObject final : public platform::ScriptShellObject {
 public:
  // Takes over the caller's reference.
  explicit Win32ScriptShellObject(IDispatch* object) : object_(object) {}
  ~Win32ScriptShellObject() override { object_->Release(); }
  Win32ScriptShellObject(const Win32ScriptShellObject&) = delete;
  Win32ScriptShellObject& operator=(const Win32ScriptShellObject&) = delete;
  Win32ScriptShellObject(Win32ScriptShellObject&&) = delete;
  Win32ScriptShellObject& operator=(Win32ScriptShellObject&&) = delete;

  platform::HResult RegWrite(const std::u16string& name, std::int16_t value,
                             const std::u16string& type) override {
    // Arguments travel last first.
    Variant arguments[3];
    V_VT(arguments[2].Ptr()) = VT_BSTR;
    V_BSTR(arguments[2].Ptr()) = SysAllocStringLen(Wide(name), static_cast<UINT>(name.size()));
    V_VT(arguments[1].Ptr()) = VT_I2;
    V_I2(arguments[1].Ptr()) = value;
    V_VT(arguments[0].Ptr()) = VT_BSTR;
    V_BSTR(arguments[0].Ptr()) = SysAllocStringLen(Wide(type), static_cast<UINT>(type.size()));
    if (V_BSTR(arguments[2].Ptr()) == nullptr || V_BSTR(arguments[0].Ptr()) == nullptr) {
      return E_OUTOFMEMORY;
    }
    VARIANT packed[3] = {*arguments[0].Ptr(), *arguments[1].Ptr(), *arguments[2].Ptr()};
    DISPPARAMS params{packed, nullptr, 3, 0};
    Variant result;
    return InvokeByName(object_, L"RegWrite", DISPATCH_METHOD, &params, result.Ptr());
  }

 private:
  IDispatch* object_;
};

}  // namespace

platform::HResult Win32ScriptShell::CreateScriptShell(
    std::unique_ptr<platform::ScriptShellObject>* object) {
  object->reset();
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(L"WScript.Shell", &clsid);
  if (FAILED(hr)) {
    return hr;
  }
  return CreateDispatch<Win32ScriptShellObject>(clsid, object);
}

}  // namespace tb::win32
