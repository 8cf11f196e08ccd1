#include "tests/win32/scenario_host/media_player_standin.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <utility>

#include "common/win32/com_object.h"
#include "plugin_ui.h"
#include "tests/win32/support/com_support.h"

namespace tb::test {
namespace {

std::u16string TextOf(BSTR text) {
  return text == nullptr
             ? std::u16string()
             : std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

// A text answered as a new BSTR.
HRESULT Answer(HRESULT hr, const std::u16string& text, BSTR* out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  *out = nullptr;
  if (FAILED(hr)) {
    return hr;
  }
  *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.c_str()),
                           static_cast<UINT>(text.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// IWMPMedia over one media reference of the simulated player; each counts
// itself in a sum over them all, which outlives the stand-in.
class MediaObject final
    : public win32::ComObject<
          win32::Lifetime::kHoldsNothing,
          win32::Implements<VtableOnly<IWMPMedia>, __uuidof(IWMPMedia), IID_IDispatch>> {
 public:
  MediaObject(std::unique_ptr<platform::Media> media, std::shared_ptr<LONG> held)
      : media_(std::move(media)), held_(std::move(held)) {
    InterlockedIncrement(held_.get());
  }

  HRESULT STDMETHODCALLTYPE get_name(BSTR* name) override {
    std::u16string text;
    return Answer(media_->GetName(&text), text, name);
  }
  HRESULT STDMETHODCALLTYPE getItemInfo(BSTR attribute, BSTR* value) override {
    std::u16string text;
    return Answer(media_->GetItemInfo(TextOf(attribute), &text), text, value);
  }
  HRESULT STDMETHODCALLTYPE get_durationString(BSTR* duration) override {
    std::u16string text;
    return Answer(media_->GetDurationString(&text), text, duration);
  }

  // Nothing else of the item is asked for.
  HRESULT STDMETHODCALLTYPE get_isIdentical(IWMPMedia* /*other*/, VARIANT_BOOL* /*same*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_sourceURL(BSTR* /*url*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_name(BSTR /*name*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_imageSourceWidth(LONG* /*width*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_imageSourceHeight(LONG* /*height*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_markerCount(LONG* /*count*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE getMarkerTime(LONG /*marker*/, double* /*time*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE getMarkerName(LONG /*marker*/, BSTR* /*name*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_duration(double* /*duration*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_attributeCount(LONG* /*count*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE getAttributeName(LONG /*index*/, BSTR* /*name*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE setItemInfo(BSTR /*name*/, BSTR /*value*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE getItemInfoByAtom(LONG /*atom*/, BSTR* /*value*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE isMemberOf(IWMPPlaylist* /*playlist*/,
                                       VARIANT_BOOL* /*member*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE isReadOnlyItem(BSTR /*name*/, VARIANT_BOOL* /*readOnly*/) override {
    return E_NOTIMPL;
  }

 private:
  ~MediaObject() override { InterlockedDecrement(held_.get()); }

  std::unique_ptr<platform::Media> media_;
  std::shared_ptr<LONG> held_;
};

// The simulated player's events, sent to a sink advised through COM. Until
// the player lets the sink go it may call it, so the sink's library must not
// have said meanwhile that it could be unloaded.
class SinkEvents final : public platform::MediaPlayerEvents {
 public:
  SinkEvents(IWMPEvents* sink, std::optional<std::string>& unloadFault)
      : sink_(sink), library_(CodeModuleOf(sink)), unloadFault_(unloadFault) {}
  ~SinkEvents() override {
    if (CanUnloadNow(library_) == S_OK && !unloadFault_) {
      unloadFault_ =
          "the plug-in's library answered DllCanUnloadNow S_OK while the player still held its "
          "event sink";
    }
    sink_->Release();
  }
  SinkEvents(const SinkEvents&) = delete;
  SinkEvents& operator=(const SinkEvents&) = delete;
  SinkEvents(SinkEvents&&) = delete;
  SinkEvents& operator=(SinkEvents&&) = delete;

  void PlayStateChange(std::int32_t newState) override { sink_->PlayStateChange(newState); }
  // The item itself is not passed along.
  void CurrentItemChange() override { sink_->CurrentItemChange(nullptr); }
  void MediaChange() override { sink_->MediaChange(nullptr); }

 private:
  IWMPEvents* sink_;
  HMODULE library_;
  std::optional<std::string>& unloadFault_;
};

}  // namespace

// IWMPCore of the simulated player, with its one connection point.
class MediaPlayerStandIn::Core final
    : public win32::ComObject<
          win32::Lifetime::kHoldsNothing,
          win32::Implements<VtableOnly<IWMPCore>, __uuidof(IWMPCore), IID_IDispatch>,
          win32::Implements<IConnectionPointContainer, IID_IConnectionPointContainer>,
          win32::Implements<IConnectionPoint, IID_IConnectionPoint>> {
 public:
  Core(sim::SimMediaPlayer& player, const std::shared_ptr<LONG>& mediaHeld,
       std::optional<std::string>& unloadFault)
      : player_(&player), mediaHeld_(mediaHeld), unloadFault_(unloadFault) {}
  // The player is gone: calls fail from now on.
  void Orphan() { player_ = nullptr; }

  HRESULT STDMETHODCALLTYPE get_playState(WMPPlayState* state) override {
    if (state == nullptr) {
      return E_POINTER;
    }
    std::int32_t answer = platform::kPlayStateUndefined;
    const HRESULT hr = player_ != nullptr ? player_->GetPlayState(&answer) : E_UNEXPECTED;
    *state = static_cast<WMPPlayState>(answer);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE get_currentMedia(IWMPMedia** media) override {
    if (media == nullptr) {
      return E_POINTER;
    }
    *media = nullptr;
    std::unique_ptr<platform::Media> current;
    const HRESULT hr = player_ != nullptr ? player_->GetCurrentMedia(&current) : E_UNEXPECTED;
    if (SUCCEEDED(hr) && current != nullptr) {
      *media = new MediaObject(std::move(current), mediaHeld_);
    }
    return hr;
  }

  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    if (point == nullptr) {
      return E_POINTER;
    }
    *point = nullptr;
    if (!IsEqualIID(iid, __uuidof(IWMPEvents))) {
      return CONNECT_E_NOCONNECTION;
    }
    *point = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (iid == nullptr) {
      return E_POINTER;
    }
    *iid = __uuidof(IWMPEvents);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE
  GetConnectionPointContainer(IConnectionPointContainer** container) override {
    return QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container));
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (sink == nullptr || cookie == nullptr) {
      return E_POINTER;
    }
    if (player_ == nullptr) {
      return E_UNEXPECTED;
    }
    IWMPEvents* events = nullptr;
    if (FAILED(sink->QueryInterface(__uuidof(IWMPEvents), reinterpret_cast<void**>(&events)))) {
      return CONNECT_E_CANNOTCONNECT;
    }
    std::uint32_t connection = 0;
    const HRESULT hr =
        player_->Advise(std::make_shared<SinkEvents>(events, unloadFault_), &connection);
    *cookie = connection;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    return player_ != nullptr ? player_->Unadvise(cookie) : E_UNEXPECTED;
  }

  // Nothing else of the core is asked for.
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** /*points*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** /*connections*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE close() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_URL(BSTR* /*url*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_URL(BSTR /*url*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_openState(WMPOpenState* /*state*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_controls(IWMPControls** /*controls*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_settings(IWMPSettings** /*settings*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_currentMedia(IWMPMedia* /*media*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_mediaCollection(IWMPMediaCollection** /*collection*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE
  get_playlistCollection(IWMPPlaylistCollection** /*collection*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_versionInfo(BSTR* /*version*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE launchURL(BSTR /*url*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_network(IWMPNetwork** /*network*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_currentPlaylist(IWMPPlaylist** /*playlist*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_currentPlaylist(IWMPPlaylist* /*playlist*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_cdromCollection(IWMPCdromCollection** /*collection*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_closedCaption(IWMPClosedCaption** /*caption*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_isOnline(VARIANT_BOOL* /*online*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Error(IWMPError** /*error*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_status(BSTR* /*status*/) override { return E_NOTIMPL; }

 private:
  ~Core() override = default;

  sim::SimMediaPlayer* player_;
  std::shared_ptr<LONG> mediaHeld_;
  // The stand-in's; only sinks of a player that is not yet gone record in it.
  std::optional<std::string>& unloadFault_;
};

namespace {

// The plug-in as the simulated player drives it, created through COM.
class PluginUi final : public platform::MediaPlayerPlugin {
 public:
  PluginUi(IWMPPluginUI* plugin, IWMPCore* core) : plugin_(plugin), core_(core) {}
  ~PluginUi() override { plugin_->Release(); }
  PluginUi(const PluginUi&) = delete;
  PluginUi& operator=(const PluginUi&) = delete;
  PluginUi(PluginUi&&) = delete;
  PluginUi& operator=(PluginUi&&) = delete;

  platform::HResult SetCore(platform::MediaPlayerCore* core) override {
    return plugin_->SetCore(core != nullptr ? core_ : nullptr);
  }

 private:
  IWMPPluginUI* plugin_;
  IWMPCore* core_;
};

}  // namespace

MediaPlayerStandIn::MediaPlayerStandIn(const CLSID& plugin)
    : core_(new Core(player_, mediaHeld_, unloadFault_)) {
  player_.makePlugin = [this, plugin]() -> std::unique_ptr<platform::MediaPlayerPlugin> {
    IWMPPluginUI* made = nullptr;
    const HRESULT hr = CoCreateInstance(plugin, nullptr, CLSCTX_INPROC_SERVER,
                                        __uuidof(IWMPPluginUI), reinterpret_cast<void**>(&made));
    if (FAILED(hr)) {
      pluginFailure_ = "CoCreateInstance of the Windows Media Player plug-in answered " + Hex(hr);
      return nullptr;
    }
    pluginFailure_.reset();
    pluginLibrary_ = CodeModuleOf(made);
    return std::make_unique<PluginUi>(made, core_);
  };
}

MediaPlayerStandIn::~MediaPlayerStandIn() {
  player_.Close();
  core_->Orphan();
  core_->Release();
}

std::optional<std::string> MediaPlayerStandIn::UnloadFault() const {
  if (unloadFault_ || pluginLibrary_ == nullptr || player_.Running()) {
    return unloadFault_;
  }
  const HRESULT hr = CanUnloadNow(pluginLibrary_);
  if (hr == S_OK) {
    return std::nullopt;
  }
  return "the plug-in's library answered DllCanUnloadNow " + Hex(hr) +
         " once the player had closed";
}

unsigned long MediaPlayerStandIn::HeldByPlugin() const {
  // Release answers the references left; all but the stand-in's own are the
  // plug-in's.
  core_->AddRef();
  const ULONG core = core_->Release() - 1;
  return core + static_cast<unsigned long>(InterlockedCompareExchange(mediaHeld_.get(), 0, 0));
}

}  // namespace tb::test
