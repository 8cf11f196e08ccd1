// The timer, message-pump and Messenger adapters against the real calls,
// under Wine: thread timers and the thread's queue, and Messenger objects
// made by CLSID from a stand-in that this program registers. Prints one line
// per failed check and a closing count; exits non-zero when anything failed.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <memory>

#include "platform/win32/message_pump.h"
#include "platform/win32/messenger.h"
#include "platform/win32/timer.h"
#include "tests/support/check_log.h"
#include "tests/win32/support/com_support.h"
#include "tests/win32/support/messenger_standin.h"

namespace {

using tb::test::CheckLog;
using tb::test::ConversationAnswer;
using tb::test::Hex;
using tb::test::MessengerStandInState;
using tb::test::PumpFor;

constexpr HRESULT kClassNotRegistered = static_cast<HRESULT>(0x80040154);  // REGDB_E_CLASSNOTREG

void CheckTimerFires(CheckLog& log) {
  tb::win32::Win32Timer timer;
  int ticks = 0;
  const std::uintptr_t id = timer.SetTimer(50, [&] { ++ticks; });
  log.Ok(id != 0, "SetTimer answers an identifier");
  PumpFor(380);
  log.Ok(ticks >= 3 && ticks <= 8,
         "a 50 ms timer fires about 7 times in 380 ms: got " + std::to_string(ticks));
}

void CheckTwoTimers(CheckLog& log) {
  tb::win32::Win32Timer timer;
  int fast = 0;
  int slow = 0;
  const std::uintptr_t fastId = timer.SetTimer(40, [&] { ++fast; });
  const std::uintptr_t slowId = timer.SetTimer(150, [&] { ++slow; });
  log.Ok(fastId != 0 && slowId != 0 && fastId != slowId,
         "two timers get two identifiers: " + std::to_string(fastId) + " and " +
             std::to_string(slowId));
  PumpFor(500);
  log.Ok(fast > slow && slow >= 1, "each timer runs its own callback: fast " +
                                       std::to_string(fast) + ", slow " + std::to_string(slow));
}

void CheckTimerDiesWithAdapter(CheckLog& log) {
  int ticks = 0;
  std::uintptr_t id = 0;
  {
    tb::win32::Win32Timer timer;
    id = timer.SetTimer(20, [&] { ++ticks; });
  }
  PumpFor(200);
  log.Equal(ticks, 0, "the timers of an adapter that is gone do not fire");
  log.Equal(KillTimer(nullptr, id), FALSE, "the adapter killed its timer when it went");
}

void CheckTickCount(CheckLog& log) {
  tb::win32::Win32Timer timer;
  const DWORD before = GetTickCount();
  const std::uint32_t ticks = timer.GetTickCount();
  const DWORD after = GetTickCount();
  log.Ok(ticks - before <= after - before, "GetTickCount is the system's tick count");
}

void CheckMessagePump(CheckLog& log) {
  tb::win32::Win32MessagePump pump;

  DWORD start = GetTickCount();
  pump.WaitForMessage(200);
  DWORD waited = GetTickCount() - start;
  log.Ok(waited >= 150 && waited < 2000,
         "WaitForMessage on an empty queue waits its timeout: " + std::to_string(waited) + " ms");

  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  start = GetTickCount();
  pump.WaitForMessage(5000);
  waited = GetTickCount() - start;
  log.Ok(waited < 1000,
         "WaitForMessage returns when a message comes: " + std::to_string(waited) + " ms");
  pump.DispatchPending();
  MSG message;
  log.Equal(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE), FALSE,
            "DispatchPending empties the queue");

  tb::win32::Win32Timer timer;
  int ticks = 0;
  timer.SetTimer(10, [&] { ++ticks; });
  Sleep(100);
  pump.DispatchPending();
  log.Ok(ticks >= 1, "DispatchPending runs a timer that is due: " + std::to_string(ticks));
}

void CheckMessengerNotInstalled(CheckLog& log) {
  tb::win32::Win32Messenger messenger;
  std::unique_ptr<tb::platform::MessengerObject> object;
  const HRESULT hr = messenger.CreateMessenger(&object);
  log.Equal(Hex(hr), Hex(kClassNotRegistered),
            "CreateMessenger without Messenger passes CoCreateInstance's failure on");
  log.Ok(object == nullptr, "no object without Messenger");
}

void CheckMessengerProperties(MessengerStandInState& state, CheckLog& log) {
  tb::win32::Win32Messenger messenger;
  std::unique_ptr<tb::platform::MessengerObject> object;
  log.Equal(Hex(messenger.CreateMessenger(&object)), Hex(S_OK), "CreateMessenger");
  if (!object) {
    log.Ok(false, "CreateMessenger gave no object");
    return;
  }
  log.Equal(state.objectsCreated, 1, "CreateMessenger makes one object of the registered class");

  std::int32_t status = 0;
  log.Equal(Hex(object->GetMyStatus(&status)), Hex(S_OK), "MyStatus");
  log.Equal(status, 2, "MyStatus online");
  state.status = 34;
  object->GetMyStatus(&status);
  log.Equal(status, 34, "MyStatus away");
  log.Equal(state.statusReads, 2, "each GetMyStatus reads MyStatus once");

  state.statusFailure = RPC_E_DISCONNECTED;
  status = -7;
  log.Equal(Hex(object->GetMyStatus(&status)), Hex(RPC_E_DISCONNECTED),
            "a failed MyStatus passes its HRESULT on");
  log.Equal(status, -7, "a failed MyStatus leaves the status alone");
  state.statusFailure = S_OK;

  state.friendlyName = u"Caf\u00e9 \u266b Listener";
  std::u16string name;
  log.Equal(Hex(object->GetMyFriendlyName(&name)), Hex(S_OK), "MyFriendlyName");
  log.Equal(name, state.friendlyName, "MyFriendlyName keeps every character");
  state.friendlyName = std::u16string(u"two\0parts", 9);
  object->GetMyFriendlyName(&name);
  log.Equal(name, state.friendlyName, "MyFriendlyName keeps an embedded NUL");
  log.Equal(Hex(object->GetMySigninName(&name)), Hex(S_OK), "MySigninName");
  log.Equal(name, state.signinName, "MySigninName");
}

void CheckInstantMessage(MessengerStandInState& state, CheckLog& log) {
  using Kind = ConversationAnswer::Kind;
#ifdef _WIN64
  // A 64-bit process may be given a handle as a 64-bit integer.
  constexpr std::int64_t kWideHandle = 0x100002345LL;
#else
  constexpr std::int64_t kWideHandle = 0x2345;
#endif
  state.conversations = {
      {u"i4@example.com", {Kind::kWindowI4, 0x1234, S_OK}},
      {u"i8@example.com", {Kind::kWindowI8, kWideHandle, S_OK}},
      {u"text@example.com", {Kind::kWindowText, 4660, S_OK}},
      {u"null@example.com", {Kind::kNullObject, 0, S_OK}},
      {u"empty@example.com", {Kind::kEmpty, 0, S_OK}},
      {u"denied@example.com", {Kind::kFails, 0, E_ACCESSDENIED}},
      {u"exception@example.com", {Kind::kFails, 0, DISP_E_EXCEPTION}},
  };
  tb::win32::Win32Messenger messenger;
  std::unique_ptr<tb::platform::MessengerObject> object;
  messenger.CreateMessenger(&object);
  if (!object) {
    log.Ok(false, "CreateMessenger gave no object");
    return;
  }

  struct Case {
    const char16_t* contact;
    HRESULT hr;
    bool window;
    tb::platform::Hwnd hwnd;
  };
  const Case cases[] = {
      {u"i4@example.com", S_OK, true, 0x1234},
      {u"i8@example.com", S_OK, true, static_cast<tb::platform::Hwnd>(kWideHandle)},
      {u"text@example.com", S_OK, true, 4660},
      {u"null@example.com", S_OK, false, 0},
      {u"empty@example.com", S_OK, false, 0},
      {u"denied@example.com", E_ACCESSDENIED, false, 0},
      {u"exception@example.com", DISP_E_EXCEPTION, false, 0},
      {u"stranger@example.com", E_INVALIDARG, false, 0},
  };
  for (const Case& c : cases) {
    const std::string what = "InstantMessage " + tb::test::Show(std::u16string(c.contact));
    std::unique_ptr<tb::platform::ConversationWindow> window;
    log.Equal(Hex(object->InstantMessage(c.contact, &window)), Hex(c.hr), what);
    log.Equal(window != nullptr, c.window, what + " answers a window");
    if (window) {
      tb::platform::Hwnd hwnd = 0;
      log.Equal(Hex(window->GetHwnd(&hwnd)), Hex(S_OK), what + ": HWND");
      log.Equal(hwnd, c.hwnd, what + ": HWND value");
    }
  }
  log.Equal(state.instantMessages, 8, "each InstantMessage reaches Messenger once");
}

void CheckReferencesReleased(MessengerStandInState& state, CheckLog& log) {
  log.Equal(state.liveObjects, 0, "every Messenger and window object was released");
}

}  // namespace

int main() {
  const HRESULT initialized = CoInitialize(nullptr);
  CheckLog log;
  log.Equal(Hex(initialized), Hex(S_OK), "CoInitialize");

  CheckTimerFires(log);
  CheckTwoTimers(log);
  CheckTimerDiesWithAdapter(log);
  CheckTickCount(log);
  CheckMessagePump(log);

  CheckMessengerNotInstalled(log);
  MessengerStandInState state;
  {
    const tb::test::MessengerStandIn standIn(state);
    log.Equal(Hex(standIn.Registered()), Hex(S_OK), "CoRegisterClassObject of the stand-in");
    CheckMessengerProperties(state, log);
    CheckInstantMessage(state, log);
  }
  CheckReferencesReleased(state, log);
  CoUninitialize();

  for (const auto& failure : log.Failures()) {
    std::printf("FAIL %s\n", failure.c_str());
  }
  const int failed = static_cast<int>(log.Failures().size());
  std::printf("adapter checks: %d passed, %d failed\n", log.Checks() - failed, failed);
  return failed == 0 ? 0 : 1;
}
