// Fault injection and the call log of the simulated desktop.
//
// Every seam call of the simulated desktop announces itself here by its
// Win32 name before it does anything. A test can make the Nth call of a name
// from now on fail (or every one from the Nth on), or the Kth seam call from
// now on, whatever its name: the latter is the countdown that a fault sweep
// walks.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tb::sim {

class Faults {
 public:
  // Makes the nth call of `call` from now on (1-based) fail; with
  // `andAfter`, every later call of that name fails too.
  void FailCall(std::string_view call, std::size_t nth = 1, bool andAfter = false);
  // Makes the kth seam call from now on (1-based) fail, whatever its name.
  void FailOverall(std::size_t kth);
  // Drops every rule; the counts go on.
  void Clear();

  // Called by each simulated seam call; true means "fail this one".
  bool Enter(std::string_view call);

  // How many seam calls have been made, in all and by name.
  [[nodiscard]] std::size_t CallCount() const { return total_; }
  [[nodiscard]] std::size_t CountOf(std::string_view call) const;
  // The names of the calls in order, kept only while logging is on.
  void KeepLog(bool on) { keepLog_ = on; }
  [[nodiscard]] const std::vector<std::string>& Log() const { return log_; }
  // How many calls were made to fail.
  [[nodiscard]] std::size_t Injected() const { return injected_; }

 private:
  struct Rule {
    std::string call;
    std::size_t at;  // the count of that name at which to fail
    bool andAfter;
  };
  std::vector<Rule> rules_;
  std::size_t overall_ = 0;
  std::size_t injected_ = 0;
  std::size_t total_ = 0;
  std::map<std::string, std::size_t, std::less<>> counts_;
  bool keepLog_ = false;
  std::vector<std::string> log_;
};

}  // namespace tb::sim
