#include "publisher/win32/plugin_object.h"

#include <utility>

#include "common/win32/guarded.h"

namespace tb::win32 {

HRESULT PublisherObject::Create(REFIID iid, void** object) noexcept {
  *object = nullptr;
  return Guarded([&] { return HandOut(new PublisherObject, iid, object); });
}

HRESULT PublisherObject::SetCore(IWMPCore* core) {
  return Guarded([this, core]() -> HRESULT {
    if (core == nullptr) {
      const HRESULT hr = publisher_.SetCore(nullptr);
      core_.reset();
      return hr;
    }
    // The publisher lets the previous core go before this one replaces it.
    std::unique_ptr<Win32MediaPlayerCore> previous =
        std::exchange(core_, std::make_unique<Win32MediaPlayerCore>(*core));
    return publisher_.SetCore(core_.get());
  });
}

HRESULT PublisherObject::Create(HWND /*parent*/, HWND* window) {
  if (window != nullptr) {
    *window = nullptr;
  }
  return E_NOTIMPL;
}

HRESULT PublisherObject::Destroy() { return SetCore(nullptr); }

HRESULT PublisherObject::DisplayPropertyPage(HWND /*parent*/) { return E_NOTIMPL; }

HRESULT PublisherObject::GetProperty(const WCHAR* /*name*/, VARIANT* /*property*/) {
  return E_NOTIMPL;
}

HRESULT PublisherObject::SetProperty(const WCHAR* /*name*/, const VARIANT* /*property*/) {
  return E_NOTIMPL;
}

HRESULT PublisherObject::TranslateAccelerator(MSG* /*message*/) { return S_FALSE; }

}  // namespace tb::win32
