#include "publisher/publisher.h"

#include <utility>

#include "common/current_metadata.h"
#include "common/mod_reg.h"
#include "common/text.h"

namespace tb::publisher {

class Publisher::Events final : public platform::MediaPlayerEvents {
 public:
  explicit Events(Publisher& owner) : owner_(&owner) {}
  void Detach() { owner_ = nullptr; }

  void PlayStateChange(std::int32_t newState) override {
    if (owner_ != nullptr) {
      owner_->OnPlayStateChange(newState);
    }
  }
  void CurrentItemChange() override {
    if (owner_ != nullptr) {
      owner_->OnItemChange();
    }
  }
  void MediaChange() override {
    if (owner_ != nullptr) {
      owner_->OnItemChange();
    }
  }

 private:
  Publisher* owner_;
};

namespace {

constexpr const char16_t* kValues[] = {kMetadataTitle, kMetadataAuthor, kMetadataAlbum,
                                       kMetadataDuration};

// What a call of the media read, on one line; the empty text when it failed.
template <typename Call>
std::u16string Read(Call call) {
  std::u16string text;
  return platform::Succeeded(call(&text)) ? SingleLine(text) : std::u16string();
}

}  // namespace

Publisher::~Publisher() {
  try {
    SetCore(nullptr);
  } catch (...) {
    // Out of memory on the way out: the values stay, the core is let go.
  }
}

platform::HResult Publisher::SetCore(platform::MediaPlayerCore* core) {
  if (core == core_) {
    return platform::kSOk;
  }
  if (core == nullptr) {
    // Disconnected first: whatever fails afterwards, no event reaches a
    // publisher that has gone.
    Disconnect();
    Withdraw();
    return platform::kSOk;
  }
  Disconnect();
  core_ = core;
  auto events = std::make_shared<Events>(*this);
  std::uint32_t cookie = 0;
  if (platform::Succeeded(core_->Advise(events, &cookie))) {
    events_ = std::move(events);
    cookie_ = cookie;
  } else {
    events->Detach();
  }
  // Without the events a song published now could not be taken back.
  if (Connected() && Playing()) {
    Publish();
  } else {
    Withdraw();
  }
  return platform::kSOk;
}

void Publisher::Disconnect() {
  platform::MediaPlayerCore* const core = std::exchange(core_, nullptr);
  const std::shared_ptr<Events> events = std::exchange(events_, nullptr);
  if (events != nullptr) {
    events->Detach();
    // A core that refuses keeps only a detached sink.
    core->Unadvise(std::exchange(cookie_, 0));
  }
}

void Publisher::OnPlayStateChange(std::int32_t state) {
  switch (state) {
    case platform::kPlayStatePlaying:
      Publish();
      break;
    case platform::kPlayStatePaused:
    case platform::kPlayStateStopped:
    case platform::kPlayStateReady:
    case platform::kPlayStateUndefined:
      Withdraw();
      break;
    default:
      // Between two songs, or on the way to playing: the next song's values
      // will replace these.
      break;
  }
}

void Publisher::OnItemChange() {
  if (Playing()) {
    Publish();
  }
}

bool Publisher::Playing() {
  std::int32_t state = platform::kPlayStateUndefined;
  return core_ != nullptr && platform::Succeeded(core_->GetPlayState(&state)) &&
         state == platform::kPlayStatePlaying;
}

void Publisher::Publish() {
  std::unique_ptr<platform::Media> media;
  if (!platform::Succeeded(core_->GetCurrentMedia(&media)) || media == nullptr) {
    return;
  }
  platform::Media& item = *media;
  const std::u16string title = Read([&](std::u16string* text) { return item.GetName(text); });
  const std::u16string author =
      Read([&](std::u16string* text) { return item.GetItemInfo(kAuthorAttribute, text); });
  const std::u16string album =
      Read([&](std::u16string* text) { return item.GetItemInfo(kAlbumAttribute, text); });
  const std::u16string duration =
      Read([&](std::u16string* text) { return item.GetDurationString(text); });
  media.reset();
  const auto write = [this](const char16_t* name, const std::u16string& value) {
    WriteRegistryString(registry_, platform::kHkeyCurrentUser, kCurrentMetadataKey, name, value);
  };
  write(kMetadataAuthor, author);
  write(kMetadataAlbum, album);
  write(kMetadataDuration, duration);
  write(kMetadataTitle, title);
}

void Publisher::Withdraw() {
  for (const char16_t* name : kValues) {
    const platform::Status deleted =
        DeleteRegistryValue(registry_, platform::kHkeyCurrentUser, kCurrentMetadataKey, name);
    // A title left behind would read as a song still playing, until the
    // next one: when it cannot be deleted it is emptied, which reads the
    // same as none.
    if (name == kMetadataTitle && deleted != platform::kErrorSuccess &&
        deleted != platform::kErrorFileNotFound) {
      WriteRegistryString(registry_, platform::kHkeyCurrentUser, kCurrentMetadataKey, name, u"");
    }
  }
}

}  // namespace tb::publisher
