#include "platform/sim/diagnostics.h"

namespace tb::sim {

void SimDiagnostics::ReportUnexpected(const char* where, const char* what) {
  reports_.push_back(UnexpectedReport{where != nullptr ? where : "", what != nullptr ? what : ""});
}

std::optional<std::string> UnexpectedErrors(const SimDiagnostics& diagnostics) {
  if (diagnostics.Count() == 0) {
    return std::nullopt;
  }
  std::string text = std::to_string(diagnostics.Count()) + " unexpected error" +
                     (diagnostics.Count() == 1 ? "" : "s") + " contained:";
  const char* separator = " ";
  for (const auto& report : diagnostics.Reports()) {
    text += separator + report.where + ": " + report.what;
    separator = "; ";
  }
  return text;
}

}  // namespace tb::sim
