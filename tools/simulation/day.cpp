// A simulated day of listening: 86,400 poll ticks on the simulated desktop,
// a song change every few minutes, players switched every so often, the
// feature switched off and on, tags asked for in between. At the end the
// desktop's properties hold, and the heap may not have grown after the
// first hour.
#include <malloc.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/settings.h"
#include "platform/sim/desktop.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "plugin/core/tag_expansion.h"
#include "tools/sandbox/sim_dialogs.h"
#include "tools/simulation/properties.h"
#include "tools/simulation/simulation.h"

namespace tb::simulation {
namespace {

constexpr int kTicksPerHour = 3600;
constexpr int kSongTicks = 197;  // a little over three minutes
// What the heap may grow by after the first hour: containers settling to
// their working sizes, not a leak.
constexpr std::size_t kAllowedGrowth = std::size_t{16} * 1024;

std::size_t HeapInUse() { return mallinfo2().uordblks; }

std::u16string Number(int n) {
  const std::string digits = std::to_string(n);
  return {digits.begin(), digits.end()};
}

class Day {
 public:
  Day() : plugin_(desktop_.Platform(), dialogs_) {
    desktop_.messenger.state.signinName = u"ann@example.com";
    desktop_.messenger.state.friendlyName = u"Ann";
    desktop_.registry.PutString(platform::kHkeyCurrentUser, kSettingsKeyPath, kPlayer,
                                kPlayerWinamp);
    nick_.emplace(plugin_);
    desktop_.host.parseTag = [this](const std::u16string& tag, std::u16string& result) {
      return nick_->ParseTag(tag, nullptr, result);
    };
  }

  // One song in the player of this part of the day.
  void PlaySong(int song) {
    static const std::array<const char16_t*, 4> kPlayers = {kPlayerWinamp, kPlayerMusicMatch,
                                                            kPlayerWindowsMedia, kPlayerWinamp};
    const int part = (song / 20) % 4;  // a new player about every hour
    desktop_.registry.PutString(platform::kHkeyCurrentUser, kSettingsKeyPath, kPlayer,
                                kPlayers.at(static_cast<std::size_t>(part)));
    const std::u16string title = u"Song " + Number(song);
    auto& windows = desktop_.windows;
    for (const auto* cls : {u"Winamp v1.x", u"STUDIO", u"mmjb:mainwnd"}) {
      windows.Close(windows.Newest(cls));
    }
    const bool paused = song % 7 == 3;
    switch (part) {
      case 0:
        desktop_.players.SetFileInfo({title, u"Band", u"Album"});
        windows.Open(u"Winamp v1.x", u"Band - " + title + (paused ? u" [Paused]" : u""));
        break;
      case 1:
        windows.Open(u"mmjb:mainwnd", u"\"" + title + u"\" by Band - MUSICMATCH Jukebox");
        break;
      case 2:
        desktop_.registry.PutString(platform::kHkeyCurrentUser, kCurrentMetadataKey, u"Title",
                                    paused ? u"" : title);
        break;
      default:
        windows.Open(u"STUDIO", u"Band - " + title + (paused ? u" [paused]" : u""));
        break;
    }
    if (song % 11 == 5) {
      std::u16string result;
      nick_->ParseCommand(u"/xtbgoff", u"", nullptr, result);
      desktop_.timer.Advance(60 * 1000);
      nick_->ParseCommand(u"/xtbgon", u"", nullptr, result);
    }
    std::u16string answer;
    nick_->ParseTag(u"(!XWPTITLE)", nullptr, answer);
  }

  int Run(int hours) {
    std::printf("soak: a simulated day, %d ticks\n", hours * kTicksPerHour);
    std::size_t heapAfterFirstHour = 0;
    std::size_t highest = 0;
    int song = 0;
    for (int hour = 1; hour <= hours; ++hour) {
      for (int tick = 0; tick < kTicksPerHour; ++tick) {
        if (((hour - 1) * kTicksPerHour + tick) % kSongTicks == 0) {
          PlaySong(song++);
        }
        desktop_.timer.Advance(kPollIntervalMs);
      }
      desktop_.host.ForgetRecords();
      desktop_.messageBoxes.ForgetRecords();
      const std::size_t heap = HeapInUse();
      if (hour == 1) {
        heapAfterFirstHour = heap;
      }
      highest = std::max(highest, heap);
      std::printf("hour %2d: heap in use %zu bytes, %zu texts sent, %zu keys open\n", hour, heap,
                  desktop_.host.SentCount(), desktop_.registry.OpenHandles());
    }
    const std::size_t growth = highest > heapAfterFirstHour ? highest - heapAfterFirstHour : 0;
    std::printf(
        "soak: %d ticks, %d songs, %zu texts sent, %llu seam calls; heap after the first "
        "hour %zu bytes, at most %zu bytes later (growth %zu); %zu keys open, %zu timers\n",
        hours * kTicksPerHour, song, desktop_.host.SentCount(),
        static_cast<unsigned long long>(desktop_.faults.CallCount()), heapAfterFirstHour, highest,
        growth, desktop_.registry.OpenHandles(), desktop_.timer.Count());
    const auto broken = BrokenProperties(desktop_, sandbox::HostCalls{});
    for (const auto& what : broken) {
      std::printf("soak: %s\n", what.c_str());
    }
    const bool held = broken.empty() && desktop_.timer.Count() == 1 && growth <= kAllowedGrowth &&
                      desktop_.host.SentCount() > 100;
    std::printf("soak: %s\n", held ? "passed" : "FAILED");
    return held ? 0 : 1;
  }

 private:
  sim::SimDesktop desktop_;
  sandbox::SimDialogs dialogs_{desktop_};
  Plugin plugin_;
  std::optional<Nick> nick_;
};

}  // namespace

int RunDay(int hours) {
  Day day;
  return day.Run(hours);
}

}  // namespace tb::simulation
