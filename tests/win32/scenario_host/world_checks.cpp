// Checks of the real desktop that scenario_host plays scenarios on, under
// Wine: each stand-in must behave as its counterpart on the simulated
// desktop, or a scenario would pass or fail for the wrong reason.
//
//   win32_world_checks <Tunebadge.dll>
//
// Prints one line per failed check and a closing count; exits non-zero when
// anything failed.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/win32/com_object.h"
#include "common/win32/guid.h"
#include "platform/registry_data.h"
#include "platform/win32/messenger.h"
#include "tests/support/check_log.h"
#include "tests/win32/scenario_host/win32_world.h"
#include "tests/win32/support/com_support.h"
#include "tests/win32/support/regsvr32.h"
#include "tools/scenario/runner.h"
#include "tunebadge.h"

namespace tb::test {
namespace {

using scenario::FileInfo;
using scenario::RegistryValue;
using scenario::StepError;
using scenario::WindowState;

constexpr char16_t kQuickText[] =
    u"Software\\Pelorin\\MsgPlus2\\checks@example.com\\Preferences\\QuickTexts\\QuickText09";
constexpr char16_t kScratchKey[] = u"Software\\Tunebadge world checks";

MessengerStandInState& Messenger() {
  static MessengerStandInState state;
  return state;
}

// A plug-in that answers the tags (!A) and (!Empty), and nothing else.
class FakeNick final
    : public win32::ComObject<
          win32::Lifetime::kStatic,
          win32::Implements<VtableOnly<::_Nick>, win32::kIidNickGuid, IID_IDispatch>> {
 public:
  HRESULT STDMETHODCALLTYPE Initialize(LONG /*version*/, BSTR /*email*/, IDispatch* /*messenger*/,
                                       VARIANT_BOOL* /*result*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Uninitialize(VARIANT* /*result*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPublishInfo(BSTR* /*name*/, LONG* /*commands*/, LONG* /*tags*/,
                                           VARIANT_BOOL* /*result*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetPublishCommandInfo(LONG /*index*/, BSTR* /*name*/, BSTR* /*value*/,
                                                  BSTR* /*help*/, VARIANT* /*result*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ParseCommand(BSTR /*command*/, BSTR /*argument*/, IDispatch* /*window*/,
                                         BSTR* /*sResult*/, VARIANT_BOOL* /*result*/) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ParseTag(BSTR tag, IDispatch* /*window*/, BSTR* sResult,
                                     VARIANT_BOOL* result) override {
    ++calls;
    const std::wstring asked(tag, SysStringLen(tag));
    const wchar_t* answer = asked == L"(!A)" ? L"x" : asked == L"(!Empty)" ? L"" : nullptr;
    *result = answer != nullptr ? VARIANT_TRUE : VARIANT_FALSE;
    if (answer != nullptr) {
      SysFreeString(*sResult);
      *sResult = SysAllocString(answer);
    }
    return S_OK;
  }

  int calls = 0;
};

void PutQuickText(Win32World& world, const std::u16string& message,
                  const std::optional<RegistryValue>& autoSend) {
  world.PutValue(platform::kHkeyCurrentUser, kQuickText, u"Message",
                 RegistryValue{REG_SZ, platform::StringData(message)});
  if (autoSend) {
    world.PutValue(platform::kHkeyCurrentUser, kQuickText, u"AutoSend", *autoSend);
  } else {
    world.RemoveValue(platform::kHkeyCurrentUser, kQuickText, u"AutoSend");
  }
}

// Alt+0 as the plug-in presses it, to the window in front; then lets this
// thread take the keys.
void PressAltZero() {
  INPUT keys[4] = {};
  const WORD codes[4] = {VK_MENU, '0', '0', VK_MENU};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = codes[i];
    keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, keys, sizeof(INPUT));
  PumpFor(150);
}

std::u16string TextOfValue(const std::optional<RegistryValue>& value) {
  return value ? platform::TextOfStringData(value->data.data(), value->data.size()) : u"<absent>";
}

void CheckQuickTexts(CheckLog& log) {
  Win32World world(Messenger());
  FakeNick nick;
  world.Host().SetPlugin(&nick);
  world.SetSigninName(u"checks@example.com");
  world.SetFriendlyName(u"Ann");

  world.Focus(kConversationClass);
  log.Equal(world.ForegroundClass().value_or(u"none"), std::u16string(kConversationClass),
            "focus IMWindowClass brings a conversation window to the front");

  PutQuickText(world, u"/name Ann (!A)-(!B)-(!Empty)|(!A",
               RegistryValue{REG_DWORD, platform::DwordData(1)});
  PressAltZero();
  log.Equal(world.SentCount(), std::size_t{1}, "Alt+0 with AutoSend 1 sends quick text 09");
  log.Equal(world.Host().Sent().empty() ? u"" : world.Host().Sent().back(),
            std::u16string(u"/name Ann x-(!B)-|(!A"),
            "tags the plug-in answers are expanded, others stay as typed");
  log.Equal(world.FriendlyName(), std::u16string(u"Ann x-(!B)-|(!A"),
            "a sent \"/name \" command sets the display name");

  const int callsBefore = nick.calls;
  PutQuickText(world, u"(!) (!A-B) (!_9)", RegistryValue{REG_DWORD, platform::DwordData(1)});
  PressAltZero();
  log.Equal(world.Host().Sent().back(), std::u16string(u"(!) (!A-B) (!_9)"),
            "(!) and (!A-B) are no tags; (!_9) is, unanswered");
  log.Equal(nick.calls - callsBefore, 1, "only (!_9) reaches ParseTag");
  log.Equal(world.FriendlyName(), std::u16string(u"Ann x-(!B)-|(!A"),
            "a text that is no \"/name \" command leaves the name");

  PutQuickText(world, u"/name ", RegistryValue{REG_DWORD, platform::DwordData(1)});
  PressAltZero();
  log.Equal(world.SentCount(), std::size_t{3}, "\"/name \" alone is sent");
  log.Equal(world.FriendlyName(), std::u16string(u"Ann x-(!B)-|(!A"),
            "\"/name \" with nothing after it leaves the name");

  PutQuickText(world, u"/name Typed", std::nullopt);
  PressAltZero();
  PutQuickText(world, u"/name Typed", RegistryValue{REG_SZ, platform::StringData(u"1")});
  PressAltZero();
  PutQuickText(world, u"/name Typed", RegistryValue{REG_DWORD, platform::DwordData(2)});
  PressAltZero();
  log.Equal(world.SentCount(), std::size_t{3},
            "without AutoSend at REG_DWORD 1 (missing, a string, 2) nothing is sent");
  log.Equal(world.Host().Typed().size(), std::size_t{3}, "... the text is only typed");
  log.Equal(world.FriendlyName(), std::u16string(u"Ann x-(!B)-|(!A"), "... and the name stays");

  PutQuickText(world, u"/name Zero", RegistryValue{REG_DWORD, platform::DwordData(1)});
  INPUT zero[2] = {};
  zero[0].type = zero[1].type = INPUT_KEYBOARD;
  zero[0].ki.wVk = zero[1].ki.wVk = '0';
  zero[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, zero, sizeof(INPUT));
  PumpFor(150);
  log.Equal(world.SentCount(), std::size_t{3}, "0 without Alt is no quick text");

  world.SetSigninName(u"other@example.com");
  PressAltZero();
  log.Equal(world.SentCount(), std::size_t{3},
            "another user signed in: quick text 09 is read from that user's settings");
  world.Host().SetPlugin(nullptr);
}

void CheckConversations(CheckLog& log) {
  Win32World world(Messenger());
  Ref<IDispatch> messenger;
  log.Equal(Hex(CoCreateInstance(tb::win32::kClsidMessenger, nullptr, CLSCTX_ALL, IID_IDispatch,
                                 messenger.ReceiveVoid())),
            Hex(S_OK), "Messenger's class is the stand-in");
  if (!messenger) {
    return;
  }
  const auto invoke = [&](const wchar_t* member, WORD flags, VARIANT* argument, VARIANT* result) {
    std::wstring name = member;
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    messenger->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    DISPPARAMS params{argument, nullptr, argument != nullptr ? 1U : 0U, 0};
    return messenger->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                             nullptr);
  };
  const auto open = [&](const wchar_t* contact) -> HWND {
    VARIANT argument;
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = SysAllocString(contact);
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = invoke(L"InstantMessage", DISPATCH_METHOD, &argument, &result);
    VariantClear(&argument);
    HWND window = nullptr;
    if (SUCCEEDED(hr) && V_VT(&result) == VT_DISPATCH && V_DISPATCH(&result) != nullptr) {
      std::wstring name = L"HWND";
      LPOLESTR names[] = {name.data()};
      DISPID id = DISPID_UNKNOWN;
      V_DISPATCH(&result)->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
      DISPPARAMS none{nullptr, nullptr, 0, 0};
      VARIANT handle;
      VariantInit(&handle);
      if (SUCCEEDED(V_DISPATCH(&result)->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                                                DISPATCH_PROPERTYGET, &none, &handle, nullptr,
                                                nullptr)) &&
          SUCCEEDED(VariantChangeType(&handle, &handle, 0, VT_I4))) {
        window = reinterpret_cast<HWND>(static_cast<std::intptr_t>(V_I4(&handle)));
      }
    }
    VariantClear(&result);
    return window;
  };

  const HWND conversation = open(L"Debug.Window");
  wchar_t className[64] = {};
  GetClassNameW(conversation, className, 64);
  log.Ok(conversation != nullptr && lstrcmpW(className, L"IMWindowClass") == 0,
         "InstantMessage opens an IMWindowClass window and answers its HWND");
  log.Equal(TitleOf(conversation), std::u16string(u"Debug.Window - Conversation"),
            "the conversation window's title");
  log.Ok(IsWindowVisible(conversation) != FALSE, "the conversation window is visible");
  log.Equal(world.ForegroundClass().value_or(u"none"), std::u16string(u"none"),
            "opening a conversation does not take the focus");
  ShowWindow(conversation, SW_HIDE);
  log.Ok(open(L"Debug.Window") == conversation && IsWindowVisible(conversation) != FALSE,
         "InstantMessage for the same contact shows the same window again");
  log.Ok(open(L"someone@example.com") != conversation, "another contact, another window");

  world.SetFriendlyName(u"Ann \u266b");
  VARIANT result;
  VariantInit(&result);
  log.Equal(Hex(invoke(L"MyFriendlyName", DISPATCH_PROPERTYGET, nullptr, &result)), Hex(S_OK),
            "MyFriendlyName");
  log.Ok(V_VT(&result) == VT_BSTR && std::wstring(V_BSTR(&result)) == L"Ann \u266b",
         "MyFriendlyName answers the scenario's name");
  VariantClear(&result);

  world.FailCall("IMessenger::MyFriendlyName", 2);
  HRESULT calls[3];
  for (HRESULT& hr : calls) {
    hr = invoke(L"MyFriendlyName", DISPATCH_PROPERTYGET, nullptr, &result);
    VariantClear(&result);
  }
  log.Ok(SUCCEEDED(calls[0]) && FAILED(calls[1]) && SUCCEEDED(calls[2]),
         "fail \"IMessenger::MyFriendlyName\" 2 fails exactly the second call from now: " +
             Hex(calls[0]) + " " + Hex(calls[1]) + " " + Hex(calls[2]));
  try {
    world.FailCall("RegOpenKeyExW", 1);
    log.Ok(false, "a call the stand-ins do not answer cannot be made to fail");
  } catch (const StepError&) {
    log.Ok(true, "a call the stand-ins do not answer cannot be made to fail");
  }

  world.SetMessengerInstalled(false);
  Ref<IDispatch> absent;
  log.Equal(Hex(CoCreateInstance(tb::win32::kClsidMessenger, nullptr, CLSCTX_ALL, IID_IDispatch,
                                 absent.ReceiveVoid())),
            Hex(REGDB_E_CLASSNOTREG), "messenger absent: no Messenger object can be made");
  world.SetMessengerInstalled(true);
  log.Equal(Hex(CoCreateInstance(tb::win32::kClsidMessenger, nullptr, CLSCTX_ALL, IID_IDispatch,
                                 absent.ReceiveVoid())),
            Hex(S_OK), "messenger present: objects again");
}

void CheckScriptHost(CheckLog& log) {
  Win32World world(Messenger());
  CLSID clsid{};
  log.Equal(Hex(CLSIDFromProgID(L"WScript.Shell", &clsid)), Hex(S_OK),
            "Wine registers WScript.Shell");
  Ref<IDispatch> shell;
  world.SetScriptHostInstalled(false);
  log.Equal(Hex(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, shell.ReceiveVoid())),
            Hex(REGDB_E_CLASSNOTREG), "scripthost absent: WScript.Shell cannot be created");
  world.SetScriptHostInstalled(true);
  log.Equal(Hex(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, shell.ReceiveVoid())),
            Hex(S_OK), "scripthost present: WScript.Shell again");
  if (!shell) {
    return;
  }
  // RegWrite as the plug-in calls it: by name, a VT_I2 and "REG_DWORD".
  std::wstring name = L"RegWrite";
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  shell->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  const std::u16string path = std::u16string(u"HKEY_CURRENT_USER\\") + kScratchKey + u"\\AutoSend";
  world.RemoveValue(platform::kHkeyCurrentUser, kScratchKey, u"AutoSend");
  VARIANT arguments[3];
  V_VT(&arguments[2]) = VT_BSTR;
  V_BSTR(&arguments[2]) = SysAllocString(Wide(path.c_str()));
  V_VT(&arguments[1]) = VT_I2;
  V_I2(&arguments[1]) = 1;
  V_VT(&arguments[0]) = VT_BSTR;
  V_BSTR(&arguments[0]) = SysAllocString(L"REG_DWORD");
  DISPPARAMS params{arguments, nullptr, 3, 0};
  VARIANT result;
  VariantInit(&result);
  log.Equal(Hex(shell->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                              nullptr, nullptr)),
            Hex(S_OK), "WScript.Shell's RegWrite works under Wine");
  VariantClear(&result);
  VariantClear(&arguments[0]);
  VariantClear(&arguments[2]);
  const auto written = world.GetValue(platform::kHkeyCurrentUser, kScratchKey, u"AutoSend");
  log.Ok(written && written->type == REG_DWORD && written->data == platform::DwordData(1),
         "RegWrite stored AutoSend as REG_DWORD 1");
}

void CheckPlayers(CheckLog& log) {
  Win32World world(Messenger());
  world.SetFileInfo(FileInfo{u"T\u00e9", u"A", u"L"});
  world.OpenWindow(kWinampClass, u"A - T - Winamp");
  const HWND winamp = FindWindowW(L"Winamp v1.x", nullptr);
  log.Ok(winamp != nullptr && IsWindowVisible(winamp) != FALSE,
         "window opens a visible top-level window of the class");
  log.Ok(GetWindowThreadProcessId(winamp, nullptr) != GetCurrentThreadId(),
         "a player's window lives on a thread of its own");
  log.Equal(world.ForegroundClass().value_or(u"none"), std::u16string(u"none"),
            "opening a player's window does not take the focus");
  std::intptr_t length = 0;
  SendMessageTimeoutW(winamp, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 1000,
                      reinterpret_cast<PDWORD_PTR>(&length));
  log.Equal(static_cast<long>(length), 14L, "the player answers WM_GETTEXTLENGTH");

  PostMessageW(winamp, WM_COMMAND, kWinampFileInfoCommand, 0);
  HWND dialog = nullptr;
  WaitAnsweringSent(
      [&] {
        dialog = FindWindowW(L"#32770", L"MPEG file info box + ID3 tag editor");
        return dialog != nullptr;
      },
      2000);
  log.Ok(dialog != nullptr, "Winamp answers command 40188 with its file-information dialog");
  std::vector<std::u16string> fields;
  for (HWND field = FindWindowExW(dialog, nullptr, L"Edit", nullptr); field != nullptr;
       field = FindWindowExW(dialog, field, L"Edit", nullptr)) {
    wchar_t text[64] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(field, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 1000,
                        &copied);
    fields.emplace_back(reinterpret_cast<const char16_t*>(text));
  }
  const std::vector<std::u16string> expected = {
      u"A - T\u00e9.mp3", u"T\u00e9", u"A", u"L", u"2003", u"", u"Pop"};
  log.Ok(fields == expected, "the dialog's seven edit fields, in order: got " +
                                 std::to_string(fields.size()) + " fields, second " +
                                 Show(fields.size() > 1 ? fields[1] : u""));
  log.Equal(world.ForegroundClass().value_or(u"none"), std::u16string(u"none"),
            "the dialog does not take the focus");

  PostMessageW(winamp, WM_COMMAND, kWinampFileInfoCommand, 0);
  WaitAnsweringSent([&] { return world.PlayerWindows().DialogsOpened() == 2; }, 2000);
  log.Ok(IsWindow(dialog) == FALSE, "a second command closes the dialog still open");
  dialog = FindWindowW(L"#32770", L"MPEG file info box + ID3 tag editor");
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  log.Ok(WaitAnsweringSent([&] { return IsWindow(dialog) == FALSE; }, 2000),
         "WM_CLOSE closes the dialog");

  PostMessageW(winamp, WM_COMMAND, kWinampFileInfoCommand + 1, 0);
  world.SetFileInfo(std::nullopt);
  PostMessageW(winamp, WM_COMMAND, kWinampFileInfoCommand, 0);
  PumpFor(300);
  log.Equal(world.PlayerWindows().DialogsOpened(), 2,
            "another command, and the command under fileinfo none, open nothing");

  world.HangWindow(kWinampClass, true);
  const DWORD before = GetTickCount();
  const LRESULT answered = SendMessageTimeoutW(winamp, WM_GETTEXTLENGTH, 0, 0,
                                               SMTO_ABORTIFHUNG | SMTO_BLOCK, 100, nullptr);
  const DWORD waited = GetTickCount() - before;
  log.Ok(answered == 0 && waited < 1000, "a hung window's WM_GETTEXTLENGTH times out: answered " +
                                             std::to_string(answered) + " after " +
                                             std::to_string(waited) + " ms");
  world.OpenWindow(kWinampClass, u"retitled while hung");
  log.Equal(TitleOf(winamp), std::u16string(u"retitled while hung"),
            "a hung window can be retitled all the same");
  world.HangWindow(kWinampClass, false);
  log.Ok(SendMessageTimeoutW(winamp, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 1000, nullptr) != 0,
         "hang off: the window answers again");

  world.OpenWindow(u"STUDIO", u"first");
  log.Equal(world.NewestWindow(u"studio") == WindowState::kVisible, true,
            "class names are compared without regard to case");
  world.CloseWindow(u"STUDIO");
  log.Ok(world.NewestWindow(u"STUDIO") == WindowState::kAbsent, "close closes the window");
  try {
    world.HangWindow(u"STUDIO", true);
    log.Ok(false, "hang without a window of the class is refused");
  } catch (const StepError&) {
    log.Ok(true, "hang without a window of the class is refused");
  }
  bool refused = false;
  try {
    world.CloseWindow(u"STUDIO");
  } catch (const StepError&) {
    refused = true;
  }
  log.Ok(!refused && world.NewestWindow(kWinampClass) == WindowState::kVisible,
         "close without a window of the class does nothing");
}

void CheckFocus(CheckLog& log) {
  Win32World world(Messenger());
  log.Equal(world.ForegroundClass().value_or(u"none"), std::u16string(u"none"),
            "a world starts with no window in front");
  world.Focus(u"Notepad");
  const auto notepad = world.Ledger().Newest(u"Notepad");
  log.Ok(notepad && GetForegroundWindow() == notepad->window,
         "focus opens a window of the class and brings it to the front");
  log.Equal(world.ForegroundClass().value_or(u"none"), std::u16string(u"Notepad"),
            "expect focus names the class in front");
  world.Focus(std::nullopt);
  log.Ok(GetForegroundWindow() == GetDesktopWindow(), "focus none: the desktop is in front");
  log.Equal(world.ForegroundClass().value_or(u"none"), std::u16string(u"none"),
            "the desktop in front reads as none");
  world.Focus(u"Notepad");
  log.Ok(world.Ledger().Newest(u"Notepad")->window == notepad->window,
         "focus takes the newest window of the class when there is one");

  const HWND conversation = world.Host().OpenConversation(u"Debug.Window");
  SetForegroundWindow(conversation);
  ShowWindow(conversation, SW_HIDE);
  SetForegroundWindow(notepad->window);
  log.Equal(world.ForegroundClass().value_or(u"none"), std::u16string(u"Notepad"),
            "the focus handed back to another thread's window is seen once it arrives");
  log.Ok(world.NewestWindow(kConversationClass) == WindowState::kHidden,
         "expect window sees a hidden conversation window");
}

void CheckMessageBoxes(CheckLog& log) {
  Win32World world(Messenger());
  world.Answer(IDNO);
  const int first = MessageBoxW(nullptr, L"Really?", L"Tunebadge", MB_YESNO);
  const int second = MessageBoxW(nullptr, L"Done.", L"Tunebadge", MB_OK);
  const int third = MessageBoxW(nullptr, L"Again?", L"Tunebadge", MB_YESNO);
  log.Equal(first, IDNO, "a message box is answered as told");
  log.Equal(second, IDOK, "with no answer waiting, OK");
  log.Equal(third, IDYES, "with no answer waiting, the first button: Yes");
  const auto shown = world.ShownBoxes();
  log.Equal(shown.size(), std::size_t{3}, "each box shown is recorded");
  if (!shown.empty()) {
    log.Equal(shown[0].caption + u"|" + shown[0].text, std::u16string(u"Tunebadge|Really?"),
              "a box's caption and text");
  }
}

void CheckRegistryPutBack(CheckLog& log) {
  const std::u16string other = std::u16string(kScratchKey) + u"\\kept";
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(other.c_str()), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                  &key, nullptr);
  const DWORD before = 7;
  RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before),
                 sizeof before);
  RegCloseKey(key);
  {
    Win32World world(Messenger());
    world.PutValue(platform::kHkeyLocalMachine, other, u"Number",
                   RegistryValue{REG_DWORD, platform::DwordData(9)});
    world.PutValue(platform::kHkeyLocalMachine, std::u16string(kScratchKey) + u"\\made\\deeper",
                   u"Text", RegistryValue{REG_SZ, platform::StringData(u"t")});
    log.Equal(TextOfValue(world.GetValue(platform::kHkeyLocalMachine,
                                         std::u16string(kScratchKey) + u"\\made\\deeper", u"Text")),
              std::u16string(u"t"), "reg writes the real registry");
  }
  DWORD after = 0;
  DWORD size = sizeof after;
  RegGetValueW(HKEY_LOCAL_MACHINE, Wide(other.c_str()), L"Number", RRF_RT_REG_DWORD, nullptr,
               &after, &size);
  log.Equal(after, DWORD{7}, "a value the scenario changed is put back at the end");
  HKEY made = nullptr;
  const std::u16string madePath = std::u16string(kScratchKey) + u"\\made";
  log.Ok(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(madePath.c_str()), 0, KEY_READ, &made) !=
             ERROR_SUCCESS,
         "a key the scenario made is removed at the end");
  SHDeleteKeyW(HKEY_LOCAL_MACHINE, Wide(kScratchKey));
  SHDeleteKeyW(HKEY_CURRENT_USER, Wide(kScratchKey));
}

// The real plug-in: a tick is one firing of its poll timer, which reads
// MyStatus once, and a step waits for whole ticks.
void CheckTicks(CheckLog& log) {
  Win32World world(Messenger());
  const DWORD start = GetTickCount();
  world.Tick(1);
  const DWORD idle = GetTickCount() - start;
  log.Ok(idle >= 900 && idle < 2000,
         "tick before load lets one poll interval pass: " + std::to_string(idle) + " ms");
  log.Equal(world.Load().value_or("loaded"), std::string("loaded"),
            "load creates Tunebadge.Nick by its ProgID");
  const int reads = Messenger().statusReads;
  const DWORD before = GetTickCount();
  world.Tick(2);
  const DWORD took = GetTickCount() - before;
  log.Equal(Messenger().statusReads - reads, 2, "tick 2: two poll ticks, two MyStatus reads");
  // The first tick may be due at once when loading took long; the second
  // comes a whole interval later.
  log.Ok(took >= 900 && took < 4000,
         "tick 2 waits for two poll ticks, one interval apart: " + std::to_string(took) + " ms");
  std::u16string sResult = u"as passed";
  log.Equal(world.ParseTag(u"(!XWPTITLE)", sResult), true,
            "tag reaches ParseTag through the vtable");
  log.Equal(sResult, std::u16string(u" "), "... and its sResult comes back");
}

// A scenario on this desktop: failures come as "expected X, got Y" with the
// line, and a file for the simulated desktop is skipped before anything runs.
void CheckRunner(CheckLog& log) {
  Win32World world(Messenger());
  scenario::Runner runner(world, nullptr);
  runner.Run(scenario::Parse("name \"Ann\"\nexpect name \"Bob\"\nexpect focus Notepad\n"));
  log.Equal(runner.Failures().size(), std::size_t{2}, "two failed expectations");
  if (runner.Failures().size() == 2) {
    log.Equal(runner.Failures()[0].line, 2, "a failure's line");
    log.Equal(runner.Failures()[0].message, std::string("expected \"Bob\", got \"Ann\""),
              "a failure's message");
    log.Equal(runner.Failures()[1].message, std::string("expected Notepad, got none"),
              "the focus on this desktop");
  }
  scenario::Runner skipped(world, nullptr);
  skipped.Run(scenario::Parse("requires sim\nforeground locked\n"));
  log.Ok(skipped.Skipped() && skipped.Failures().empty(),
         "requires sim: skipped on this desktop, the rest not run");
}

}  // namespace
}  // namespace tb::test

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: %s <Tunebadge.dll>\n", argv[0]);
    return 2;
  }
  tb::test::CheckLog log;
  wchar_t wide[MAX_PATH * 2] = {};
  MultiByteToWideChar(CP_ACP, 0, argv[1], -1, wide, MAX_PATH * 2);
  wchar_t full[MAX_PATH * 2] = {};
  GetFullPathNameW(wide, MAX_PATH * 2, full, nullptr);
  const std::u16string dllPath(reinterpret_cast<const char16_t*>(full));

  log.Equal(tb::test::Hex(CoInitialize(nullptr)), tb::test::Hex(S_OK), "CoInitialize");
  log.Equal(tb::test::RunRegsvr32(u"/s", dllPath), 0, "regsvr32 /s Tunebadge.dll");
  try {
    tb::test::CheckQuickTexts(log);
    tb::test::CheckConversations(log);
    tb::test::CheckScriptHost(log);
    tb::test::CheckPlayers(log);
    tb::test::CheckFocus(log);
    tb::test::CheckMessageBoxes(log);
    tb::test::CheckRegistryPutBack(log);
    tb::test::CheckRunner(log);
    tb::test::CheckTicks(log);
  } catch (const tb::scenario::StepError& error) {
    log.Ok(false, std::string("a step could not be run: ") + error.what());
  }
  tb::test::RunRegsvr32(u"/u /s", dllPath);
  CoUninitialize();

  for (const auto& failure : log.Failures()) {
    std::printf("FAIL %s\n", failure.c_str());
  }
  const int failed = static_cast<int>(log.Failures().size());
  std::printf("world checks: %d passed, %d failed\n", log.Checks() - failed, failed);
  return failed == 0 ? 0 : 1;
}
