#include "plugin/players/scrolled_title.h"

#include <optional>
#include <string_view>
#include <vector>

namespace tb {
namespace {

constexpr std::u16string_view kWinampName = u" - Winamp";
constexpr std::u16string_view kWinampNameWithWord = u" - Winamp [";

// " - Winamp" at the end, or " - Winamp [" and a word and "]".
bool EndsAsWinampTitle(std::u16string_view title) {
  if (title.ends_with(kWinampName)) {
    return true;
  }
  if (!title.ends_with(u']')) {
    return false;
  }
  const std::size_t open = title.rfind(kWinampNameWithWord);
  return open != std::u16string_view::npos && title.find(u']', open) == title.size() - 1;
}

// The least of the cuts for which `wanted` holds.
std::optional<std::u16string_view> Least(const std::vector<std::u16string_view>& cuts,
                                         bool (*wanted)(std::u16string_view)) {
  std::optional<std::u16string_view> least;
  for (const std::u16string_view cut : cuts) {
    if (wanted(cut) && (!least || cut < *least)) {
      least = cut;
    }
  }
  return least;
}

}  // namespace

std::u16string OrdinaryTitle(const std::u16string& title) {
  constexpr std::u16string_view kSeparator = kScrollSeparator;
  const std::size_t length = title.size();
  if (length <= kSeparator.size()) {
    return title;
  }
  // The title twice over: every stretch of the ring is one piece of it.
  const std::u16string ring = title + title;
  const std::u16string_view view = ring;
  std::vector<std::u16string_view> cuts;
  for (std::size_t at = 0; at < length; ++at) {
    if (view.substr(at, kSeparator.size()) == kSeparator) {
      if (cuts.size() == kMostScrollCuts) {
        return title;
      }
      cuts.push_back(view.substr(at + kSeparator.size(), length - kSeparator.size()));
    }
  }
  if (const auto winamp = Least(cuts, &EndsAsWinampTitle)) {
    return std::u16string(*winamp);
  }
  if (EndsAsWinampTitle(title)) {
    return title;
  }
  const auto any = Least(cuts, [](std::u16string_view /*cut*/) { return true; });
  return any ? std::u16string(*any) : title;
}

}  // namespace tb
