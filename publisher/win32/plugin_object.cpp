#include "publisher/win32/plugin_object.h"

#include <new>
#include <utility>

#include "common/win32/guarded.h"
#include "publisher/win32/module.h"

namespace tb::win32 {

PublisherObject::PublisherObject() { LockModule(); }

// Released without SetCore(null), the publisher lets the core go as it ends.
PublisherObject::~PublisherObject() { UnlockModule(); }

HRESULT PublisherObject::Create(REFIID iid, void** object) noexcept {
  auto* made = new (std::nothrow) PublisherObject;
  if (made == nullptr) {
    return E_OUTOFMEMORY;
  }
  const HRESULT hr = made->QueryInterface(iid, object);
  made->Release();
  return hr;
}

HRESULT PublisherObject::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IWMPPluginUI))) {
    *object = static_cast<IWMPPluginUI*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG PublisherObject::AddRef() { return InterlockedIncrement(&references_); }

ULONG PublisherObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) {
    delete this;
  }
  return left;
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
