// A stand-in for MSN Messenger's class Messenger, registered by a test
// program with CoRegisterClassObject so that CoCreateInstance of
// {B69003B3-C55E-4B48-836C-BC5946FC3B28} inside the plug-in reaches it. Its
// objects answer the members the plug-in calls by name through IDispatch,
// and count what they are asked.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <cstdint>
#include <map>
#include <string>

namespace tb::test {

// What IMessenger::InstantMessage answers for one contact.
struct ConversationAnswer {
  enum class Kind {
    kWindowI4,    // a window object whose HWND is a VT_I4
    kWindowI8,    // ... a VT_I8
    kWindowText,  // ... a VT_BSTR of decimal digits
    kNullObject,  // VT_DISPATCH, null
    kEmpty,       // VT_EMPTY
    kFails,       // the call fails with `failure`
  };
  Kind kind = Kind::kWindowI4;
  std::int64_t hwnd = 0;
  HRESULT failure = E_FAIL;
};

struct MessengerStandInState {
  std::int32_t status = 2;  // MISTATUS_ONLINE
  HRESULT statusFailure = S_OK;
  std::u16string friendlyName = u"Listener";
  std::u16string signinName = u"listener@example.com";
  std::map<std::u16string, ConversationAnswer> conversations;

  int objectsCreated = 0;
  int statusReads = 0;
  int instantMessages = 0;
  // Messenger and window objects not yet released.
  int liveObjects = 0;
};

// The registered class object; revoked when this goes away.
class MessengerStandIn {
 public:
  explicit MessengerStandIn(MessengerStandInState& state);
  ~MessengerStandIn();
  MessengerStandIn(const MessengerStandIn&) = delete;
  MessengerStandIn& operator=(const MessengerStandIn&) = delete;
  MessengerStandIn(MessengerStandIn&&) = delete;
  MessengerStandIn& operator=(MessengerStandIn&&) = delete;

  // CoRegisterClassObject's answer.
  [[nodiscard]] HRESULT Registered() const { return registered_; }

 private:
  IClassFactory* factory_;
  HRESULT registered_ = E_FAIL;
  DWORD cookie_ = 0;
};

}  // namespace tb::test
