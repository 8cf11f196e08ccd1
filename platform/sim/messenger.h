// The simulated desktop's MSN Messenger: the signed-in user's status,
// display name and sign-in name, and conversation windows opened on request.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/messenger.h"
#include "platform/sim/faults.h"

namespace tb::sim {

// MISTATUS codes.
inline constexpr std::int32_t kStatusOffline = 1;
inline constexpr std::int32_t kStatusOnline = 2;
inline constexpr std::int32_t kStatusInvisible = 6;

struct MessengerState {
  std::int32_t status = kStatusOnline;
  std::u16string friendlyName;
  std::u16string signinName;
  // False while Messenger is not installed: no object can be made.
  bool installed = true;
  // How many Messenger objects have been made.
  int objectsMade = 0;
  // Opens a conversation window and answers its handle (0 for none).
  std::function<std::uintptr_t(const std::u16string& contact)> openConversation;
};

class SimMessenger final : public platform::Messenger {
 public:
  explicit SimMessenger(Faults& faults) : faults_(faults) {}
  platform::HResult CreateMessenger(std::unique_ptr<platform::MessengerObject>* object) override;

  MessengerState state;

 private:
  Faults& faults_;
};

}  // namespace tb::sim
