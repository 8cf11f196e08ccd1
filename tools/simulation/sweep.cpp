#include "tools/simulation/sweep.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>

#include "common/settings.h"
#include "tools/sandbox/sim_runner.h"
#include "tools/scenario/runner.h"
#include "tools/simulation/properties.h"
#include "tools/simulation/simulation.h"

namespace tb::simulation {
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
  if (desktop.faults.CallCount() < k || desktop.faults.Injected() == 0) {
    broken.push_back("the run ended after " + std::to_string(desktop.faults.CallCount()) +
                     " calls, before the one to fail");
  }
  for (auto& what : BrokenProperties(desktop, runner.World().Calls())) {
    broken.push_back(std::move(what));
  }
  CheckSettings(scenario, desktop, broken);
  return broken;
}

int RunFaultSweep(const std::filesystem::path& folder, const Isolation& isolation) {
  std::vector<Scenario> scenarios;
  for (const auto& file : ScenarioFiles(folder)) {
    if (auto prepared = Prepare(file)) {
      scenarios.push_back(std::move(*prepared));
    }
  }
  struct Run {
    std::size_t scenario;
    std::size_t call;  // 1-based
  };
  std::vector<Run> runs;
  for (std::size_t s = 0; s < scenarios.size(); ++s) {
    for (std::size_t k = 1; k <= scenarios[s].calls.size(); ++k) {
      runs.push_back(Run{s, k});
    }
  }
  const auto outcomes = RunIsolated(runs.size(), isolation, [&](std::size_t i) {
    return PlayFailing(scenarios[runs[i].scenario], runs[i].call);
  });
  std::size_t survived = 0;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (outcomes[i].kind == Outcome::kSurvived) {
      ++survived;
      continue;
    }
    const auto& scenario = scenarios[runs[i].scenario];
    std::printf("%s: call %zu (%s) failing: %s\n", scenario.path.c_str(), runs[i].call,
                scenario.calls[runs[i].call - 1].c_str(),
                outcomes[i].kind == Outcome::kNotRun ? "not run" : outcomes[i].details.c_str());
  }
  std::printf("fault sweep: %zu scenarios, %zu calls failed, %zu survived\n", scenarios.size(),
              runs.size(), survived);
  return survived == runs.size() ? 0 : 1;
}

}  // namespace tb::simulation
