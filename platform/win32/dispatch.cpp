#include "platform/win32/dispatch.h"

namespace tb::win32 {
namespace {

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

}  // namespace

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

}  // namespace tb::win32
