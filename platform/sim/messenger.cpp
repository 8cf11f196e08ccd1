#include "platform/sim/messenger.h"

namespace tb::sim {
namespace {

using platform::HResult;
using platform::kEFail;
using platform::kSOk;

class SimConversationWindow final : public platform::ConversationWindow {
 public:
  SimConversationWindow(Faults& faults, platform::Hwnd hwnd) : faults_(faults), hwnd_(hwnd) {}
  HResult GetHwnd(platform::Hwnd* window) override {
    if (faults_.Enter("IMessengerWindow::HWND")) {
      return kEFail;
    }
    *window = hwnd_;
    return kSOk;
  }

 private:
  Faults& faults_;
  platform::Hwnd hwnd_;
};

class SimMessengerObject final : public platform::MessengerObject {
 public:
  SimMessengerObject(Faults& faults, MessengerState& state) : faults_(faults), state_(state) {}

  HResult GetMyStatus(std::int32_t* status) override {
    if (faults_.Enter("IMessenger::MyStatus")) {
      return kEFail;
    }
    *status = state_.status;
    return kSOk;
  }
  HResult GetMyFriendlyName(std::u16string* name) override {
    if (faults_.Enter("IMessenger::MyFriendlyName")) {
      return kEFail;
    }
    *name = state_.friendlyName;
    return kSOk;
  }
  HResult GetMySigninName(std::u16string* name) override {
    if (faults_.Enter("IMessenger::MySigninName")) {
      return kEFail;
    }
    *name = state_.signinName;
    return kSOk;
  }
  HResult InstantMessage(const std::u16string& contact,
                         std::unique_ptr<platform::ConversationWindow>* window) override {
    window->reset();
    if (faults_.Enter("IMessenger::InstantMessage") || !state_.openConversation) {
      return kEFail;
    }
    const platform::Hwnd hwnd = state_.openConversation(contact);
    if (hwnd == 0) {
      return kEFail;
    }
    *window = std::make_unique<SimConversationWindow>(faults_, hwnd);
    return kSOk;
  }

 private:
  Faults& faults_;
  MessengerState& state_;
};

}  // namespace

HResult SimMessenger::CreateMessenger(std::unique_ptr<platform::MessengerObject>* object) {
  object->reset();
  if (faults_.Enter("CoCreateInstance(Messenger)") || !state.installed) {
    return static_cast<HResult>(0x80040154U);  // REGDB_E_CLASSNOTREG
  }
  ++state.objectsMade;
  *object = std::make_unique<SimMessengerObject>(faults_, state);
  return kSOk;
}

}  // namespace tb::sim
