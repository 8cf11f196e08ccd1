// BSTRs as the host passes them, and the UTF-16 texts of the portable code.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

namespace tb::win32 {

// The text of a BSTR, embedded NULs included; a null BSTR is the empty text.
std::u16string TextOf(BSTR text);

// A new BSTR holding `text`; null when there is no memory for it.
BSTR NewBstr(const std::u16string& text);

// An [in, out] BSTR: its text on the way in, for the portable code to change,
// and on the way out the caller's BSTR is replaced only when the text did
// change, so an untouched argument comes back exactly as it was passed.
class InOutBstr {
 public:
  explicit InOutBstr(BSTR* slot);
  ~InOutBstr();
  InOutBstr(const InOutBstr&) = delete;
  InOutBstr& operator=(const InOutBstr&) = delete;
  InOutBstr(InOutBstr&&) = delete;
  InOutBstr& operator=(InOutBstr&&) = delete;

  std::u16string text;

  // Makes the replacement, if one is needed: E_OUTOFMEMORY without memory,
  // E_POINTER when there is no slot to store it in.
  HRESULT Prepare();
  // Frees the caller's old BSTR and stores the replacement.
  void Commit();

 private:
  BSTR* slot_;
  std::u16string original_;
  BSTR replacement_ = nullptr;
  bool changed_ = false;
};

// Stores every changed argument, or none of them when one cannot be made.
template <typename... Args>
HRESULT StoreChanged(Args&... arguments) {
  HRESULT hr = S_OK;
  ((SUCCEEDED(hr) ? (hr = arguments.Prepare()) : hr), ...);
  if (SUCCEEDED(hr)) {
    (arguments.Commit(), ...);
  }
  return hr;
}

}  // namespace tb::win32
