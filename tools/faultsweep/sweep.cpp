#include "tools/faultsweep/sweep.h"

#include <algorithm>
#include <array>
#include <exception>

#include "common/settings.h"
#include "tools/sandbox/sim_runner.h"
#include "tools/scenario/runner.h"

namespace tb::faultsweep {
namespace {

const std::array<const char16_t*, 6> kSettings = {kOnOff,      kPlayer,        kStatus,
                                                  kCurrentTag, kCurrentTagMMJ, kCurrentTagWMP};

// Each setting is a REG_SZ that the plug-in's own read gives back, with no
// fault in the way; a value of another type only where the file stored one.
void CheckSettings(const Scenario& scenario, sim::SimDesktop& desktop,
                   std::vector<std::string>& broken) {
  desktop.faults.Clear();
  for (const char16_t* key : kSettings) {
    const auto raw = desktop.registry.Get(platform::kHkeyCurrentUser, kSettingsKeyPath, key);
    std::u16string read;
    try {
      read = ReadSetting(desktop.registry, key);
    } catch (const std::exception& error) {
      broken.push_back("setting " + scenario::ToUtf8(key) + " cannot be read: " + error.what());
      continue;
    }
    if (!raw || raw->type == platform::kRegSz) {
      const auto text =
          desktop.registry.GetString(platform::kHkeyCurrentUser, kSettingsKeyPath, key);
      if (read != text.value_or(u"")) {
        broken.push_back("setting " + scenario::ToUtf8(key) + " reads as " + scenario::Quote(read) +
                         ", holds " + scenario::Quote(text.value_or(u"")));
      }
      continue;
    }
    const auto given = scenario.settingTypes.find(key);
    if (given == scenario.settingTypes.end() || given->second != raw->type) {
      broken.push_back("setting " + scenario::ToUtf8(key) + " holds a value of type " +
                       std::to_string(raw->type));
    }
  }
  if (desktop.registry.OpenHandles() != 0) {
    broken.emplace_back("reading the settings left a registry key open");
  }
}

}  // namespace

std::vector<std::filesystem::path> ScenarioFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ".tbs") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::optional<Scenario> Prepare(const std::filesystem::path& file) {
  auto steps = scenario::ReadScenarioFile(file.string().c_str());
  if (!steps) {
    return std::nullopt;
  }
  return Prepare(file.string(), std::move(*steps));
}

std::optional<Scenario> Prepare(std::string name, std::vector<scenario::Step> steps) {
  Scenario prepared{std::move(name), std::move(steps), {}, {}};
  sandbox::SimRunner runner(nullptr);
  auto& desktop = runner.Desktop();
  desktop.faults.KeepLog(true);
  runner.Run(prepared.steps);
  if (runner.Player().Skipped()) {
    return std::nullopt;
  }
  prepared.calls = desktop.faults.Log();
  for (const char16_t* key : kSettings) {
    const auto raw = desktop.registry.Get(platform::kHkeyCurrentUser, kSettingsKeyPath, key);
    if (raw && raw->type != platform::kRegSz) {
      prepared.settingTypes.emplace(key, raw->type);
    }
  }
  return prepared;
}

std::vector<std::string> PlayFailing(const Scenario& scenario, std::size_t k) {
  std::vector<std::string> broken;
  sandbox::SimRunner runner(nullptr);
  auto& desktop = runner.Desktop();
  desktop.faults.FailOverall(k);
  try {
    runner.Run(scenario.steps);
  } catch (const std::exception& error) {
    broken.push_back(std::string("an error escaped: ") + error.what());
  } catch (...) {
    broken.emplace_back("an error of unknown type escaped");
  }
  const auto& calls = runner.World().Calls();
  if (const auto unexpected = sim::UnexpectedErrors(desktop.diagnostics)) {
    broken.push_back(*unexpected);
  }
  if (desktop.faults.CallCount() < k || desktop.faults.Injected() == 0) {
    broken.push_back("the run ended after " + std::to_string(desktop.faults.CallCount()) +
                     " calls, before the one to fail");
  }
  if (desktop.registry.OpenHandles() != 0) {
    broken.push_back(std::to_string(desktop.registry.OpenHandles()) + " registry keys left open");
  }
  if (desktop.files.OpenHandles() != 0) {
    broken.push_back(std::to_string(desktop.files.OpenHandles()) + " file handles left open");
  }
  if (desktop.mediaPlayer.MediaHeld() != 0) {
    broken.push_back(std::to_string(desktop.mediaPlayer.MediaHeld()) +
                     " media references of Windows Media Player held");
  }
  if (desktop.timer.Count() > 1) {
    broken.push_back(std::to_string(desktop.timer.Count()) + " timers running");
  }
  const std::uint64_t longest = std::max(calls.longestMs, desktop.timer.LongestCallbackMs());
  if (longest > kLongestCallMs) {
    broken.push_back("one call held the thread " + std::to_string(longest) + " ms");
  }
  CheckSettings(scenario, desktop, broken);
  return broken;
}

}  // namespace tb::faultsweep
