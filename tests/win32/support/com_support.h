// Small helpers for the Windows test programs: owned COM references and
// BSTRs, printable HRESULTs, a message loop with a time bound, whether a
// registry key exists, and whether a COM server's library may go.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <string>

namespace tb::test {

// An interface pointer that releases itself.
template <typename T>
class Ref {
 public:
  Ref() = default;
  ~Ref() { Reset(); }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  Ref(Ref&&) = delete;
  Ref& operator=(Ref&&) = delete;

  T* operator->() const { return pointer_; }
  T* Get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // Where a call stores a new reference; releases the old one first.
  T** Receive() {
    Reset();
    return &pointer_;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
  void Reset() {
    if (pointer_ != nullptr) {
      pointer_->Release();
      pointer_ = nullptr;
    }
  }

 private:
  T* pointer_ = nullptr;
};

// A BSTR that frees itself; `Slot` is for [in, out] arguments.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const char16_t* text)
      : value_(SysAllocString(reinterpret_cast<const OLECHAR*>(text))) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&&) = delete;
  Bstr& operator=(Bstr&&) = delete;

  BSTR Get() const { return value_; }
  BSTR* Slot() { return &value_; }
  std::u16string Text() const {
    return value_ == nullptr
               ? std::u16string()
               : std::u16string(reinterpret_cast<const char16_t*>(value_), SysStringLen(value_));
  }

 private:
  BSTR value_ = nullptr;
};

// A dual interface that is only called through its vtable: its IDispatch
// part answers E_NOTIMPL.
template <typename Interface>
class VtableOnly : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* /*count*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT /*index*/, LCID /*locale*/,
                                        ITypeInfo** /*info*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*iid*/, LPOLESTR* /*names*/, UINT /*count*/,
                                          LCID /*locale*/, DISPID* /*ids*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID /*id*/, REFIID /*iid*/, LCID /*locale*/, WORD /*flags*/,
                                   DISPPARAMS* /*params*/, VARIANT* /*result*/,
                                   EXCEPINFO* /*exception*/, UINT* /*argError*/) override {
    return E_NOTIMPL;
  }
};

inline std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(hr));
  return text;
}

inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// Dispatches the thread's messages (timer callbacks run here) for `ms`
// milliseconds, waiting between them; never longer.
inline void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  for (DWORD waited = 0; waited < ms; waited = GetTickCount() - start) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - waited, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

inline bool KeyExists(HKEY root, const std::u16string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Wide(path.c_str()), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// The module whose code answers calls on `object`: the one its vtable lives
// in. The handle adds no reference to the module.
inline HMODULE CodeModuleOf(IUnknown* object) {
  HMODULE module = nullptr;
  const DWORD flags =
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  return GetModuleHandleExW(flags, *reinterpret_cast<LPCWSTR*>(object), &module) != FALSE ? module
                                                                                          : nullptr;
}

// The library's own DllCanUnloadNow; E_UNEXPECTED for no library or none
// that answers it.
inline HRESULT CanUnloadNow(HMODULE library) {
  if (library == nullptr) {
    return E_UNEXPECTED;
  }
  using Entry = HRESULT(WINAPI*)();
  const auto entry = reinterpret_cast<Entry>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "DllCanUnloadNow")));
  return entry != nullptr ? entry() : E_UNEXPECTED;
}

}  // namespace tb::test
