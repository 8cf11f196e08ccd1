#include "tools/simulation/properties.h"

#include <algorithm>

#include "tools/scenario/scenario.h"

namespace tb::simulation {

std::vector<std::string> BrokenProperties(const sim::SimDesktop& desktop,
                                          const sandbox::HostCalls& calls,
                                          std::uint64_t slowHostMs) {
  std::vector<std::string> broken;
  if (const auto unexpected = sim::UnexpectedErrors(desktop.diagnostics)) {
    broken.push_back(*unexpected);
  }
  const auto count = [&](std::size_t n, const char* what) {
    if (n != 0) {
      broken.push_back(std::to_string(n) + what);
    }
  };
  count(desktop.registry.OpenHandles(), " registry keys left open");
  count(desktop.files.OpenHandles(), " file handles left open");
  count(desktop.mediaPlayer.MediaHeld(), " media references of Windows Media Player held");
  if (desktop.timer.Count() > 1) {
    broken.push_back(std::to_string(desktop.timer.Count()) + " timers running");
  }
  const std::uint64_t longest = std::max(calls.longestMs, desktop.timer.LongestCallbackMs());
  if (longest > kLongestCallMs + slowHostMs) {
    broken.push_back("one call held the thread " + std::to_string(longest) + " ms");
  }
  for (const auto& [handle, window] : desktop.windows.All()) {
    if (window.altZeroCount > 0 && window.className != kConversationWindowClass) {
      broken.push_back("Alt+0 reached a window of class " + scenario::ToUtf8(window.className));
    }
  }
  return broken;
}

}  // namespace tb::simulation
