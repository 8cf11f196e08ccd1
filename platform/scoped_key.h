// An open registry key that closes itself.
#pragma once

#include "platform/registry.h"

namespace tb::platform {

class ScopedKey {
 public:
  explicit ScopedKey(Registry& registry) : registry_(registry) {}
  ~ScopedKey() {
    if (key_ != 0) {
      registry_.CloseKey(key_);
    }
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  ScopedKey(ScopedKey&&) = delete;
  ScopedKey& operator=(ScopedKey&&) = delete;

  // Where the opening call stores the handle.
  RegKey* Receive() { return &key_; }
  [[nodiscard]] RegKey Get() const { return key_; }

 private:
  Registry& registry_;
  RegKey key_ = 0;
};

}  // namespace tb::platform
