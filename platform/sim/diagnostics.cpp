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
  // The same error met tick after tick is named once, with how often.
  constexpr std::size_t kMostNamed = 5;
  const auto& reports = diagnostics.Reports();
  std::size_t named = 0;
  for (std::size_t at = 0; at < reports.size() && named < kMostNamed;) {
    std::size_t same = 1;
    while (at + same < reports.size() && reports[at + same].where == reports[at].where &&
           reports[at + same].what == reports[at].what) {
      ++same;
    }
    text += (named == 0 ? " " : "; ") + reports[at].where + ": " + reports[at].what;
    if (same > 1) {
      text += " (" + std::to_string(same) + " times)";
    }
    ++named;
    at += same;
  }
  return text;
}

}  // namespace tb::sim
