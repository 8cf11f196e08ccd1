// A stand-in for MSN Messenger's class Messenger, registered by a test
// program with CoRegisterClassObject so that CoCreateInstance of
// {B69003B3-C55E-4B48-836C-BC5946FC3B28} inside the plug-in reaches it. Its
// objects answer the members the plug-in calls by name through IDispatch,
// and count what they are asked.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

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
  // For a contact not in `conversations`: opens (or shows again) the
  // conversation window and answers its handle; null when it cannot. Unset,
  // such a contact is refused with E_INVALIDARG.
  std::function<HWND(const std::u16string& contact)> openConversation;
  // False while Messenger is not installed: the class object refuses to make
  // objects, as COM does for a class that is not registered.
  bool installed = true;

  // Makes the nth call from now (1-based) of a member fail with E_FAIL. The
  // calls are named as the simulated desktop's fault plan names them:
  // "CoCreateInstance(Messenger)", "IMessenger::MyStatus",
  // "IMessenger::MyFriendlyName", "IMessenger::MySigninName",
  // "IMessenger::InstantMessage" and "IMessengerWindow::HWND". False for a
  // name the stand-in does not answer.
  bool FailCall(const std::string& call, std::size_t nth);
  // Counts a call of that name; true when it is to fail.
  bool Enter(const std::string& call);

  int objectsCreated = 0;
  int statusReads = 0;
  int instantMessages = 0;
  // Messenger and window objects not yet released.
  int liveObjects = 0;

 private:
  struct FailRule {
    std::string call;
    std::size_t at;
  };
  std::map<std::string, std::size_t> callCounts_;
  std::vector<FailRule> failRules_;
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
