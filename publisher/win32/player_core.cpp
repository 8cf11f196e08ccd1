#include "publisher/win32/player_core.h"

#include <new>
#include <utility>

#include "common/win32/bstr.h"
#include "common/win32/com_object.h"

namespace tb::win32 {
namespace {

// An IWMPEvents sink: the three events the publisher acts on go to it, the
// others are taken and dropped. It holds the library for as long as the
// player holds it, which for a player that refused to let it go is until
// the player ends.
class EventSink final
    : public ComObject<Lifetime::kHoldsModule, Implements<IWMPEvents, __uuidof(IWMPEvents)>> {
 public:
  explicit EventSink(std::shared_ptr<platform::MediaPlayerEvents> events)
      : events_(std::move(events)) {}

  void STDMETHODCALLTYPE PlayStateChange(LONG state) override {
    Pass([state](platform::MediaPlayerEvents& events) { events.PlayStateChange(state); });
  }
  void STDMETHODCALLTYPE CurrentItemChange(IDispatch* /*media*/) override {
    Pass([](platform::MediaPlayerEvents& events) { events.CurrentItemChange(); });
  }
  void STDMETHODCALLTYPE MediaChange(IDispatch* /*item*/) override {
    Pass([](platform::MediaPlayerEvents& events) { events.MediaChange(); });
  }

  void STDMETHODCALLTYPE OpenStateChange(LONG /*state*/) override {}
  void STDMETHODCALLTYPE AudioLanguageChange(LONG /*lang*/) override {}
  void STDMETHODCALLTYPE StatusChange() override {}
  void STDMETHODCALLTYPE ScriptCommand(BSTR /*type*/, BSTR /*param*/) override {}
  void STDMETHODCALLTYPE NewStream() override {}
  void STDMETHODCALLTYPE Disconnect(LONG /*result*/) override {}
  void STDMETHODCALLTYPE Buffering(VARIANT_BOOL /*start*/) override {}
  void STDMETHODCALLTYPE Error() override {}
  void STDMETHODCALLTYPE Warning(LONG /*warning*/, LONG /*param*/, BSTR /*description*/) override {}
  void STDMETHODCALLTYPE EndOfStream(LONG /*result*/) override {}
  void STDMETHODCALLTYPE PositionChange(double /*oldPosition*/, double /*newPosition*/) override {}
  void STDMETHODCALLTYPE MarkerHit(LONG /*marker*/) override {}
  void STDMETHODCALLTYPE DurationUnitChange(LONG /*duration*/) override {}
  void STDMETHODCALLTYPE CdromMediaChange(LONG /*num*/) override {}
  void STDMETHODCALLTYPE PlaylistChange(IDispatch* /*playlist*/,
                                        WMPPlaylistChangeEventType /*change*/) override {}
  void STDMETHODCALLTYPE CurrentPlaylistChange(WMPPlaylistChangeEventType /*change*/) override {}
  void STDMETHODCALLTYPE CurrentPlaylistItemAvailable(BSTR /*item*/) override {}
  void STDMETHODCALLTYPE CurrentMediaItemAvailable(BSTR /*name*/) override {}
  void STDMETHODCALLTYPE MediaCollectionChange() override {}
  void STDMETHODCALLTYPE MediaCollectionAttributeStringAdded(BSTR /*name*/, BSTR /*val*/) override {
  }
  void STDMETHODCALLTYPE MediaCollectionAttributeStringRemoved(BSTR /*name*/,
                                                               BSTR /*val*/) override {}
  void STDMETHODCALLTYPE MediaCollectionAttributeStringChanged(BSTR /*name*/, BSTR /*oldVal*/,
                                                               BSTR /*newVal*/) override {}
  void STDMETHODCALLTYPE PlaylistCollectionChange() override {}
  void STDMETHODCALLTYPE PlaylistCollectionPlaylistAdded(BSTR /*name*/) override {}
  void STDMETHODCALLTYPE PlaylistCollectionPlaylistRemoved(BSTR /*name*/) override {}
  void STDMETHODCALLTYPE PlaylistCollectionPlaylistSetAsDeleted(BSTR /*name*/,
                                                                VARIANT_BOOL /*deleted*/) override {
  }
  void STDMETHODCALLTYPE ModeChange(BSTR /*modeName*/, VARIANT_BOOL /*value*/) override {}
  void STDMETHODCALLTYPE MediaError(IDispatch* /*media*/) override {}
  void STDMETHODCALLTYPE OpenPlaylistSwitch(IDispatch* /*item*/) override {}
  void STDMETHODCALLTYPE DomainChange(BSTR /*domain*/) override {}
  void STDMETHODCALLTYPE SwitchedToPlayerApplication() override {}
  void STDMETHODCALLTYPE SwitchedToControl() override {}
  void STDMETHODCALLTYPE PlayerDockedStateChange() override {}
  void STDMETHODCALLTYPE PlayerReconnect() override {}
  void STDMETHODCALLTYPE Click(short /*button*/, short /*shift*/, LONG /*x*/, LONG /*y*/) override {
  }
  void STDMETHODCALLTYPE DoubleClick(short /*button*/, short /*shift*/, LONG /*x*/,
                                     LONG /*y*/) override {}
  void STDMETHODCALLTYPE KeyDown(short /*keycode*/, short /*shift*/) override {}
  void STDMETHODCALLTYPE KeyPress(short /*ascii*/) override {}
  void STDMETHODCALLTYPE KeyUp(short /*keycode*/, short /*shift*/) override {}
  void STDMETHODCALLTYPE MouseDown(short /*button*/, short /*shift*/, LONG /*x*/,
                                   LONG /*y*/) override {}
  void STDMETHODCALLTYPE MouseMove(short /*button*/, short /*shift*/, LONG /*x*/,
                                   LONG /*y*/) override {}
  void STDMETHODCALLTYPE MouseUp(short /*button*/, short /*shift*/, LONG /*x*/,
                                 LONG /*y*/) override {}

 private:
  ~EventSink() override = default;

  // An event returns nothing, and nothing thrown may reach the player.
  template <typename Event>
  void Pass(Event event) noexcept {
    try {
      event(*events_);
    } catch (...) {
    }
  }

  std::shared_ptr<platform::MediaPlayerEvents> events_;
};

// A text the media answers as a BSTR, which is freed whatever happens.
template <typename Call>
HRESULT ReadText(Call call, std::u16string* text) {
  BSTR answer = nullptr;
  const HRESULT hr = call(&answer);
  try {
    if (SUCCEEDED(hr)) {
      *text = TextOf(answer);
    }
  } catch (...) {
    SysFreeString(answer);
    throw;
  }
  SysFreeString(answer);
  return hr;
}

class Win32Media final : public platform::Media {
 public:
  // Takes over the reference to `media`.
  explicit Win32Media(IWMPMedia* media) : media_(media) {}
  ~Win32Media() override { media_->Release(); }
  Win32Media(const Win32Media&) = delete;
  Win32Media& operator=(const Win32Media&) = delete;
  Win32Media(Win32Media&&) = delete;
  Win32Media& operator=(Win32Media&&) = delete;

  platform::HResult GetName(std::u16string* name) override {
    return ReadText([this](BSTR* answer) { return media_->get_name(answer); }, name);
  }
  platform::HResult GetItemInfo(const std::u16string& attribute, std::u16string* value) override {
    BSTR name = NewBstr(attribute);
    if (name == nullptr) {
      return E_OUTOFMEMORY;
    }
    HRESULT hr = E_FAIL;
    try {
      hr =
          ReadText([this, name](BSTR* answer) { return media_->getItemInfo(name, answer); }, value);
    } catch (...) {
      SysFreeString(name);
      throw;
    }
    SysFreeString(name);
    return hr;
  }
  platform::HResult GetDurationString(std::u16string* text) override {
    return ReadText([this](BSTR* answer) { return media_->get_durationString(answer); }, text);
  }

 private:
  IWMPMedia* media_;
};

}  // namespace

Win32MediaPlayerCore::Win32MediaPlayerCore(IWMPCore& core) : core_(core) { core_.AddRef(); }

Win32MediaPlayerCore::~Win32MediaPlayerCore() {
  if (point_ != nullptr) {
    point_->Release();
  }
  core_.Release();
}

platform::HResult Win32MediaPlayerCore::GetPlayState(std::int32_t* state) {
  WMPPlayState answer = wmppsUndefined;
  const HRESULT hr = core_.get_playState(&answer);
  if (SUCCEEDED(hr)) {
    *state = answer;
  }
  return hr;
}

platform::HResult Win32MediaPlayerCore::GetCurrentMedia(std::unique_ptr<platform::Media>* media) {
  IWMPMedia* answer = nullptr;
  const HRESULT hr = core_.get_currentMedia(&answer);
  media->reset();
  if (answer != nullptr) {
    auto* wrapped = new (std::nothrow) Win32Media(answer);
    if (wrapped == nullptr) {
      answer->Release();
      return E_OUTOFMEMORY;
    }
    media->reset(wrapped);
  }
  return hr;
}

platform::HResult Win32MediaPlayerCore::Advise(std::shared_ptr<platform::MediaPlayerEvents> sink,
                                               std::uint32_t* cookie) {
  if (point_ != nullptr) {
    return E_UNEXPECTED;
  }
  IConnectionPointContainer* container = nullptr;
  HRESULT hr =
      core_.QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (FAILED(hr)) {
    return hr;
  }
  IConnectionPoint* point = nullptr;
  hr = container->FindConnectionPoint(__uuidof(IWMPEvents), &point);
  container->Release();
  if (FAILED(hr)) {
    return hr;
  }
  auto* events = new (std::nothrow) EventSink(std::move(sink));
  if (events == nullptr) {
    point->Release();
    return E_OUTOFMEMORY;
  }
  DWORD connection = 0;
  hr = point->Advise(events, &connection);
  // The connection point holds its own reference while it keeps the sink.
  events->Release();
  if (FAILED(hr)) {
    point->Release();
    return hr;
  }
  point_ = point;
  *cookie = connection;
  return S_OK;
}

platform::HResult Win32MediaPlayerCore::Unadvise(std::uint32_t cookie) {
  if (point_ == nullptr) {
    return CONNECT_E_NOCONNECTION;
  }
  const HRESULT hr = point_->Unadvise(cookie);
  std::exchange(point_, nullptr)->Release();
  return hr;
}

}  // namespace tb::win32
