// The simulated desktop's debugger output: each unexpected error reported is
// counted and kept, so that a run can fail on it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/diagnostics.h"

namespace tb::sim {

struct UnexpectedReport {
  std::string where;
  std::string what;
};

class SimDiagnostics final : public platform::Diagnostics {
 public:
  void ReportUnexpected(const char* where, const char* what) override;

  [[nodiscard]] std::size_t Count() const { return reports_.size(); }
  [[nodiscard]] const std::vector<UnexpectedReport>& Reports() const { return reports_; }

 private:
  std::vector<UnexpectedReport> reports_;
};

// The one check every run on the simulated desktop makes at its end: nothing
// when no unexpected error was reported, else a line that names each.
std::optional<std::string> UnexpectedErrors(const SimDiagnostics& diagnostics);

}  // namespace tb::sim
