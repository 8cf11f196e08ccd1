#include "common/win32/bstr.h"

#include "platform/win32/wide.h"

namespace tb::win32 {

std::u16string TextOf(BSTR text) {
  if (text == nullptr) {
    return {};
  }
  return {reinterpret_cast<const char16_t*>(text), SysStringLen(text)};
}

BSTR NewBstr(const std::u16string& text) {
  return SysAllocStringLen(Wide(text), static_cast<UINT>(text.size()));
}

InOutBstr::InOutBstr(BSTR* slot)
    : text(slot != nullptr ? TextOf(*slot) : std::u16string()), slot_(slot), original_(text) {}

InOutBstr::~InOutBstr() { SysFreeString(replacement_); }

HRESULT InOutBstr::Prepare() {
  changed_ = text != original_;
  if (!changed_) {
    return S_OK;
  }
  if (slot_ == nullptr) {
    return E_POINTER;
  }
  SysFreeString(replacement_);
  replacement_ = NewBstr(text);
  return replacement_ != nullptr ? S_OK : E_OUTOFMEMORY;
}

void InOutBstr::Commit() {
  if (!changed_) {
    return;
  }
  SysFreeString(*slot_);
  *slot_ = replacement_;
  replacement_ = nullptr;
  original_ = text;
  changed_ = false;
}

}  // namespace tb::win32
