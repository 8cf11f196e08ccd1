// The fault sweep: every scenario file of the simulated desktop, played once
// for each seam call it makes, with that one call failing. Expectations may
// fail under a fault; what must hold whatever fails is checked here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/scenario/scenario.h"

namespace tb::simulation {

// One scenario file, with what a run without faults made of it.
struct Scenario {
  std::string path;
  std::vector<scenario::Step> steps;
  // The seam calls of the run without faults, by name, in order.
  std::vector<std::string> calls;
  // The type of each setting at the end of that run, for those the file
  // itself stored as something other than text.
  std::map<std::u16string, std::uint32_t> settingTypes;
};

// The scenario files of a folder, *.tbs, in name order.
std::vector<std::filesystem::path> ScenarioFiles(const std::filesystem::path& folder);

// Reads the file and plays it once without faults, counting its seam calls.
// Nothing when it cannot be read or asks for another desktop.
std::optional<Scenario> Prepare(const std::filesystem::path& file);
// The same for steps read already; `name` stands for the file.
std::optional<Scenario> Prepare(std::string name, std::vector<scenario::Step> steps);

// Plays the scenario with its kth seam call (1-based) failing. Answers what
// broke, one line per broken rule, or nothing when the run survived: no
// error out of the player, none but a refused setting or dialog at the
// host's edge, the kth call reached and failed, the desktop's properties
// (BrokenProperties) held, and every setting readable.
std::vector<std::string> PlayFailing(const Scenario& scenario, std::size_t k);

}  // namespace tb::simulation
