// Sets a flag for as long as a scope lasts, for the calls whose waits let
// the thread process messages: what runs nested inside them sees the flag,
// and a nested scope leaves it as it found it.
#pragma once

namespace tb {

class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = before_; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;
  ScopedFlag(ScopedFlag&&) = delete;
  ScopedFlag& operator=(ScopedFlag&&) = delete;

 private:
  bool& flag_;
  bool before_;
};

}  // namespace tb
