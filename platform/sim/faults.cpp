#include "platform/sim/faults.h"

#include <algorithm>

namespace tb::sim {

void Faults::FailCall(std::string_view call, std::size_t nth, bool andAfter) {
  rules_.push_back(Rule{std::string(call), CountOf(call) + nth, andAfter});
}

void Faults::FailOverall(std::size_t kth) { overall_ = total_ + kth; }

void Faults::Clear() {
  rules_.clear();
  overall_ = 0;
}

std::size_t Faults::CountOf(std::string_view call) const {
  const auto found = counts_.find(call);
  return found == counts_.end() ? 0 : found->second;
}

bool Faults::Enter(std::string_view call) {
  ++total_;
  if (keepLog_) {
    log_.emplace_back(call);
  }
  auto counted = counts_.find(call);
  if (counted == counts_.end()) {
    counted = counts_.emplace(std::string(call), 0).first;
  }
  const std::size_t seen = ++counted->second;
  bool fail = overall_ != 0 && total_ == overall_;
  if (!fail) {
    fail = std::any_of(rules_.begin(), rules_.end(), [&](const Rule& rule) {
      return rule.call == call && (seen == rule.at || (rule.andAfter && seen > rule.at));
    });
  }
  if (fail) {
    ++injected_;
  }
  return fail;
}

}  // namespace tb::sim
