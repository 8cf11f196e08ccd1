// The COM object Windows Media Player creates from the publisher's class:
// IWMPPluginUI over one Publisher. It only translates: the core it is
// handed becomes a Win32MediaPlayerCore for the publisher, and every failure
// a failed HRESULT. As a background plug-in it has no window, no property
// page and no properties.
#pragma once

#include <windows.h>

#include <memory>

#include "common/win32/com_object.h"
#include "platform/win32/registry.h"
#include "plugin_ui.h"
#include "publisher/publisher.h"
#include "publisher/win32/player_core.h"

namespace tb::win32 {

class PublisherObject final
    : public ComObject<Lifetime::kHoldsModule, Implements<IWMPPluginUI, __uuidof(IWMPPluginUI)>> {
 public:
  // A new object's `iid` interface in *object.
  static HRESULT Create(REFIID iid, void** object) noexcept;

  // IWMPPluginUI
  HRESULT STDMETHODCALLTYPE SetCore(IWMPCore* core) override;
  HRESULT STDMETHODCALLTYPE Create(HWND parent, HWND* window) override;
  HRESULT STDMETHODCALLTYPE Destroy() override;
  HRESULT STDMETHODCALLTYPE DisplayPropertyPage(HWND parent) override;
  HRESULT STDMETHODCALLTYPE GetProperty(const WCHAR* name, VARIANT* property) override;
  HRESULT STDMETHODCALLTYPE SetProperty(const WCHAR* name, const VARIANT* property) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override;

 private:
  PublisherObject() = default;
  // Released without SetCore(null), the publisher lets the core go as it
  // ends.
  ~PublisherObject() override = default;

  Win32Registry registry_;
  // Declared before the publisher, which uses it to its end.
  std::unique_ptr<Win32MediaPlayerCore> core_;
  publisher::Publisher publisher_{registry_};
};

}  // namespace tb::win32
