#include "tests/win32/scenario_host/win32_world.h"

#include <objbase.h>
#include <oleauto.h>
#include <shlwapi.h>

#include <algorithm>

#include "common/publisher_identity.h"
#include "common/settings.h"
#include "common/win32/com_object.h"
#include "common/win32/guid.h"
#include "tools/scenario/scenario.h"

namespace tb::test {
namespace {

using scenario::StepError;
using scenario::ToUtf8;

// The plug-in's poll interval, and how long one tick may hold its thread at
// most (title reads that time out, the file-information wait, the focus and
// key-stroke waits) before the next is due.
constexpr DWORD kPollIntervalMs = 1000;
constexpr DWORD kLongestTickMs = 3000;
constexpr DWORD kTickSlackMs = 2000;
// How long Windows may take to hand the focus to another thread's window.
constexpr DWORD kFocusSettleMs = 2000;

// What a scenario starts without: the plug-in's settings, the host's quick
// texts for every user, and Windows Media Player's metadata.
constexpr const char16_t* kCleanKeys[] = {
    u"Software\\VB and VBA Program Settings\\Corvan's tbg Plugin",
    u"Software\\Pelorin\\MsgPlus2",
    u"Software\\Microsoft\\MediaPlayer\\CurrentMetadata",
};

// ... and without a system-information tool: where the about box looks for
// it (put back when the file ends).
struct NamedValue {
  const char16_t* path;
  const char16_t* name;
};
constexpr NamedValue kSystemInfoValues[] = {
    {u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", u"PATH"},
    {u"SOFTWARE\\Microsoft\\Shared Tools Location", u"MSINFO"},
};

HKEY Root(platform::RegKey root) { return reinterpret_cast<HKEY>(root); }

std::string Failed(const char* call, HRESULT hr) {
  return std::string(call) + " answered " + Hex(hr);
}

std::optional<scenario::RegistryValue> ReadValue(HKEY root, const std::u16string& path,
                                                 const std::u16string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Wide(path.c_str()), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  scenario::RegistryValue value;
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(key, Wide(name.c_str()), nullptr, &type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    value.data.assign(size, 0);
    status = RegQueryValueExW(key, Wide(name.c_str()), nullptr, &type, value.data.data(), &size);
    value.data.resize(size);
    value.type = type;
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

bool WriteValue(HKEY root, const std::u16string& path, const std::u16string& name,
                const scenario::RegistryValue& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, Wide(path.c_str()), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LSTATUS status = RegSetValueExW(key, Wide(name.c_str()), 0, value.type, value.data.data(),
                                        static_cast<DWORD>(value.data.size()));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

void DeleteValue(HKEY root, const std::u16string& path, const std::u16string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Wide(path.c_str()), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, Wide(name.c_str()));
    RegCloseKey(key);
  }
}

// ---- the tick counter's hook ----

HHOOK g_tickHook = nullptr;
LONG g_ticks = 0;

LRESULT CALLBACK TickHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && wparam == PM_REMOVE) {
    // A thread timer's WM_TIMER has no window and carries its callback in
    // lParam (on Wine a handle standing for it, not the address). This
    // program sets no timer of its own on the thread: all are the plug-in's.
    const auto* message = reinterpret_cast<const MSG*>(lparam);
    if (message->message == WM_TIMER && message->hwnd == nullptr && message->lParam != 0) {
      InterlockedIncrement(&g_ticks);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// ---- the message-box watch's hook ----

MessageBoxWatch* g_boxWatch = nullptr;
constexpr wchar_t kAnsweredProperty[] = L"Tunebadge.Answered";

// The text of a message box: its static control that is not the icon.
std::u16string BoxText(HWND box) {
  for (HWND child = FindWindowExW(box, nullptr, L"Static", nullptr); child != nullptr;
       child = FindWindowExW(box, child, L"Static", nullptr)) {
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
      return TitleOf(child);
    }
  }
  return {};
}

}  // namespace

// ---- AbsentClass ----

namespace {

class AbsentClassFactory final
    : public win32::ComObject<win32::Lifetime::kStatic,
                              win32::Implements<IClassFactory, IID_IClassFactory>> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* /*outer*/, REFIID /*iid*/,
                                           void** object) override {
    if (object != nullptr) {
      *object = nullptr;
    }
    return REGDB_E_CLASSNOTREG;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL /*lock*/) override { return S_OK; }
};

AbsentClassFactory g_absentFactory;

}  // namespace

HRESULT AbsentClass::Hide(const char16_t* progId) {
  if (cookie_ != 0) {
    return S_OK;
  }
  CLSID clsid{};
  const HRESULT hr = CLSIDFromProgID(Wide(progId), &clsid);
  if (FAILED(hr)) {
    return hr;
  }
  return CoRegisterClassObject(clsid, &g_absentFactory, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                               REGCLS_MULTIPLEUSE, &cookie_);
}

void AbsentClass::Show() {
  if (cookie_ != 0) {
    CoRevokeClassObject(cookie_);
    cookie_ = 0;
  }
}

// ---- TickCounter ----

bool TickCounter::Start() {
  Stop();
  g_tickHook = SetWindowsHookExW(WH_GETMESSAGE, TickHook, nullptr, GetCurrentThreadId());
  return g_tickHook != nullptr;
}

void TickCounter::Stop() {
  if (g_tickHook != nullptr) {
    UnhookWindowsHookEx(g_tickHook);
    g_tickHook = nullptr;
  }
}

long TickCounter::Count() { return InterlockedCompareExchange(&g_ticks, 0, 0); }

// ---- MessageBoxWatch ----

MessageBoxWatch::MessageBoxWatch() {
  if (g_boxWatch == nullptr) {
    hook_ = SetWindowsHookExW(WH_CBT, &MessageBoxWatch::Hook, nullptr, GetCurrentThreadId());
    if (hook_ != nullptr) {
      g_boxWatch = this;
    }
  }
}

MessageBoxWatch::~MessageBoxWatch() {
  if (hook_ != nullptr) {
    UnhookWindowsHookEx(hook_);
    g_boxWatch = nullptr;
  }
}

LRESULT CALLBACK MessageBoxWatch::Hook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && g_boxWatch != nullptr) {
    g_boxWatch->OnActivate(reinterpret_cast<HWND>(wparam));
  } else if (code == HCBT_DESTROYWND) {
    RemovePropW(reinterpret_cast<HWND>(wparam), kAnsweredProperty);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void MessageBoxWatch::OnActivate(HWND window) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (lstrcmpW(className, L"#32770") != 0 || GetPropW(window, kAnsweredProperty) != nullptr) {
    return;
  }
  const HWND yes = GetDlgItem(window, IDYES);
  if ((yes == nullptr && GetDlgItem(window, IDOK) == nullptr) || IsPluginDialog(window)) {
    return;  // a dialog, but not a message box
  }
  SetPropW(window, kAnsweredProperty, reinterpret_cast<HANDLE>(1));
  shown_.push_back(scenario::ShownBox{TitleOf(window), BoxText(window)});
  // The box is answered once its own message loop runs.
  int answer = yes != nullptr ? IDYES : IDOK;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, answer)));
}

// ---- Win32World ----

Win32World::Win32World(MessengerStandInState& messenger)
    : messenger_(messenger),
      standIn_(messenger),
      host_(messenger, ledger_),
      players_(ledger_),
      mediaPlayer_(win32::GuidFromText(publisher::kClsidPublisher)) {
  for (const char16_t* key : kCleanKeys) {
    SHDeleteKeyW(HKEY_CURRENT_USER, Wide(key));
  }
  // The simulated desktop's Messenger before a scenario says otherwise.
  messenger_.status = 2;
  messenger_.friendlyName.clear();
  messenger_.signinName.clear();
  messenger_.installed = true;
  messenger_.openConversation = [this](const std::u16string& contact) {
    return host_.OpenConversation(contact);
  };

  if (FAILED(standIn_.Registered())) {
    setUpFailure_ =
        Failed("CoRegisterClassObject of the Messenger stand-in", standIn_.Registered());
  } else if (!host_.Ready()) {
    setUpFailure_ = "the conversation window class could not be registered";
  } else if (!boxes_.Watching()) {
    setUpFailure_ = "message boxes cannot be watched";
  } else if (!dialogs_.Watching()) {
    setUpFailure_ = "the plug-in's dialogs cannot be watched";
  } else {
    for (const NamedValue& value : kSystemInfoValues) {
      RemoveValue(platform::kHkeyLocalMachine, value.path, value.name);
    }
    try {
      Focus(std::nullopt);
    } catch (const StepError& error) {
      setUpFailure_ = error.what();
    }
  }
}

Win32World::~Win32World() {
  messenger_.openConversation = nullptr;
  host_.SetPlugin(nullptr);
  ticks_.Stop();
  PutBackRegistry();
}

std::optional<std::string> Win32World::Load() {
  if (nick_) {
    return std::nullopt;
  }
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(Wide(kProgId), &clsid);
  if (FAILED(hr)) {
    return Failed("CLSIDFromProgID(\"Tunebadge.Nick\")", hr);
  }
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, tb::win32::kIidNickGuid,
                        nick_.ReceiveVoid());
  if (FAILED(hr)) {
    nick_.Reset();
    return Failed("CoCreateInstance of class Nick", hr);
  }
  host_.SetPlugin(nick_.Get());
  if (!ticks_.Start()) {
    throw StepError("the plug-in's poll ticks cannot be counted");
  }
  return std::nullopt;
}

bool Win32World::ParseCommand(const std::u16string& command, std::u16string& sResult) {
  Bstr text(command.c_str());
  Bstr argument(u"");
  Bstr result(sResult.c_str());
  VARIANT_BOOL answered = VARIANT_FALSE;
  const HRESULT hr =
      nick_->ParseCommand(text.Get(), argument.Get(), nullptr, result.Slot(), &answered);
  if (FAILED(hr)) {
    throw scenario::FailedCall(Failed("ParseCommand", hr));
  }
  if (const auto trouble = dialogs_.TakeTrouble()) {
    throw StepError(*trouble);
  }
  sResult = result.Text();
  return answered == VARIANT_TRUE;
}

bool Win32World::ParseTag(const std::u16string& tag, std::u16string& sResult) {
  Bstr text(tag.c_str());
  Bstr result(sResult.c_str());
  VARIANT_BOOL answered = VARIANT_FALSE;
  const HRESULT hr = nick_->ParseTag(text.Get(), nullptr, result.Slot(), &answered);
  if (FAILED(hr)) {
    throw scenario::FailedCall(Failed("ParseTag", hr));
  }
  sResult = result.Text();
  return answered == VARIANT_TRUE;
}

void Win32World::Tick(std::int64_t count) {
  if (count <= 0) {
    return;
  }
  const auto ticks = static_cast<DWORD>(count);
  if (!nick_) {
    // No plug-in, no timer: time passes all the same.
    PumpFor(ticks * kPollIntervalMs);
    return;
  }
  const long start = TickCounter::Count();
  const long target = start + static_cast<long>(count);
  const DWORD boundMs = ticks * (kPollIntervalMs + kLongestTickMs) + kTickSlackMs;
  const DWORD started = GetTickCount();
  // Each message is dispatched whole, so a tick that has begun ends before
  // the step does.
  while (TickCounter::Count() < target) {
    const DWORD elapsed = GetTickCount() - started;
    if (elapsed >= boundMs) {
      throw StepError("tick: " + std::to_string(TickCounter::Count() - start) + " of " +
                      std::to_string(count) + " poll ticks came in " + std::to_string(boundMs) +
                      " ms");
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, std::min<DWORD>(boundMs - elapsed, 50), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    MSG message;
    while (TickCounter::Count() < target &&
           PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void Win32World::SetScriptHostInstalled(bool installed) {
  if (installed) {
    scriptHost_.Show();
    return;
  }
  const HRESULT hr = scriptHost_.Hide(u"WScript.Shell");
  if (FAILED(hr)) {
    throw StepError(Failed("hiding WScript.Shell", hr));
  }
}

void Win32World::RememberValue(HKEY root, const std::u16string& path, const std::u16string& name) {
  const bool known = std::any_of(savedValues_.begin(), savedValues_.end(), [&](const auto& saved) {
    return saved.root == root && SameClassName(saved.path, path) && SameClassName(saved.name, name);
  });
  if (known) {
    return;
  }
  savedValues_.push_back(SavedValue{root, path, name, ReadValue(root, path, name)});
  // The first key of the path that does not exist yet, unless it lies in
  // one made already.
  std::u16string sofar;
  std::size_t at = 0;
  while (at <= path.size()) {
    const std::size_t next = std::min(path.find(u'\\', at), path.size());
    sofar = path.substr(0, next);
    at = next + 1;
    const bool inMade = std::any_of(madeKeys_.begin(), madeKeys_.end(), [&](const auto& made) {
      return made.first == root && SameClassName(made.second, sofar);
    });
    if (inMade) {
      return;
    }
    if (!KeyExists(root, sofar)) {
      madeKeys_.emplace_back(root, sofar);
      return;
    }
  }
}

void Win32World::PutBackRegistry() {
  for (auto saved = savedValues_.rbegin(); saved != savedValues_.rend(); ++saved) {
    if (saved->value) {
      WriteValue(saved->root, saved->path, saved->name, *saved->value);
    } else {
      DeleteValue(saved->root, saved->path, saved->name);
    }
  }
  for (auto made = madeKeys_.rbegin(); made != madeKeys_.rend(); ++made) {
    SHDeleteKeyW(made->first, Wide(made->second.c_str()));
  }
  savedValues_.clear();
  madeKeys_.clear();
}

void Win32World::PutValue(platform::RegKey root, const std::u16string& path,
                          const std::u16string& name, const scenario::RegistryValue& value) {
  RememberValue(Root(root), path, name);
  if (!WriteValue(Root(root), path, name, value)) {
    throw StepError("the registry refused to store " + ToUtf8(path) + "\\" + ToUtf8(name));
  }
}

void Win32World::RemoveValue(platform::RegKey root, const std::u16string& path,
                             const std::u16string& name) {
  RememberValue(Root(root), path, name);
  DeleteValue(Root(root), path, name);
}

std::optional<scenario::RegistryValue> Win32World::GetValue(platform::RegKey root,
                                                            const std::u16string& path,
                                                            const std::u16string& name) {
  return ReadValue(Root(root), path, name);
}

void Win32World::OpenWindow(const std::u16string& className, const std::u16string& title) {
  const auto existing = ledger_.Newest(className);
  if (existing) {
    if (existing->thread == nullptr) {
      SetWindowTextW(existing->window, Wide(title.c_str()));
      return;
    }
    const HWND window = existing->window;
    if (!existing->thread->Run([window, title] { Players::Retitle(window, title); })) {
      throw StepError("window: the window's thread did not retitle it in time");
    }
    return;
  }
  const HWND made = SameClassName(className, kConversationClass) ? host_.OpenWindow(title)
                                                                 : players_.Open(className, title);
  if (made == nullptr) {
    throw StepError("window: could not open a window of class " + ToUtf8(className));
  }
}

void Win32World::CloseWindow(const std::u16string& className) {
  const auto existing = ledger_.Newest(className);
  if (!existing) {
    return;
  }
  if (existing->thread == nullptr) {
    DestroyWindow(existing->window);
    return;
  }
  const HWND window = existing->window;
  if (!existing->thread->Run([window] { DestroyWindow(window); })) {
    throw StepError("close: the window's thread did not close it in time");
  }
}

void Win32World::HangWindow(const std::u16string& className, bool hung) {
  const auto existing = ledger_.Newest(className);
  if (!existing) {
    throw StepError("hang: no window of class " + ToUtf8(className));
  }
  if (existing->thread == nullptr) {
    throw StepError("hang: a conversation window shares the plug-in's thread and cannot hang");
  }
  if (!existing->thread->Hang(hung)) {
    throw StepError("hang: the window's thread did not answer in time");
  }
}

void Win32World::ScrollWindow(const std::u16string& className, bool scrolling) {
  const auto existing = ledger_.Newest(className);
  if (!existing || existing->thread == nullptr) {
    throw StepError("scroll: no player's window of class " + ToUtf8(className));
  }
  const HWND window = existing->window;
  const auto scrolled = std::make_shared<bool>(false);
  if (!existing->thread->Run(
          [window, scrolling, scrolled] { *scrolled = Players::Scroll(window, scrolling); }) ||
      !*scrolled) {
    throw StepError("scroll: the window of class " + ToUtf8(className) + " did not scroll");
  }
}

void Win32World::Focus(const std::optional<std::u16string>& className) {
  HWND target = GetDesktopWindow();
  if (className) {
    const auto existing = ledger_.Newest(*className);
    if (existing) {
      target = existing->window;
    } else {
      target = SameClassName(*className, kConversationClass)
                   ? host_.OpenWindow(*className)
                   : players_.Open(*className, *className);
    }
    if (target == nullptr) {
      throw StepError("focus: could not open a window of class " + ToUtf8(*className));
    }
  }
  SetForegroundWindow(target);
  if (!WaitAnsweringSent([target] { return GetForegroundWindow() == target; }, kFocusSettleMs)) {
    throw StepError("focus: Windows did not bring the window to the front");
  }
}

std::optional<std::u16string> Win32World::ForegroundClass() {
  // The focus moves to another thread's window once that thread has taken
  // the news; until then there is no foreground window at all.
  HWND foreground = nullptr;
  WaitAnsweringSent(
      [&foreground] {
        foreground = GetForegroundWindow();
        return foreground != nullptr;
      },
      kFocusSettleMs);
  if (foreground == nullptr || foreground == GetDesktopWindow()) {
    return std::nullopt;
  }
  wchar_t name[256] = {};
  const int length = GetClassNameW(foreground, name, 256);
  return std::u16string(reinterpret_cast<const char16_t*>(name), length > 0 ? length : 0);
}

void Win32World::UserTypes() {
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_SHIFT;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

std::optional<int> Win32World::AltZeroKeys(const std::u16string& className) {
  const auto existing = ledger_.Newest(className);
  if (!existing) {
    return std::nullopt;
  }
  return AltZeroKeysOf(existing->window);
}

scenario::WindowState Win32World::NewestWindow(const std::u16string& className) {
  const auto existing = ledger_.Newest(className);
  if (!existing) {
    return scenario::WindowState::kAbsent;
  }
  return IsWindowVisible(existing->window) != FALSE ? scenario::WindowState::kVisible
                                                    : scenario::WindowState::kHidden;
}

void Win32World::PlayMedia(const scenario::Song& song) {
  mediaPlayer_.Player().Play(song);
  if (const auto& failure = mediaPlayer_.PluginFailure()) {
    throw StepError("wmp play: " + *failure);
  }
}

void Win32World::MediaPlayer(scenario::MediaAction action) {
  scenario::Press(mediaPlayer_.Player(), action);
  if (action == scenario::MediaAction::kClose && mediaPlayer_.HeldByPlugin() != 0) {
    throw StepError("wmp close: the plug-in kept " + std::to_string(mediaPlayer_.HeldByPlugin()) +
                    " references to the player's core and media");
  }
  if (action == scenario::MediaAction::kClose) {
    if (const auto fault = mediaPlayer_.UnloadFault()) {
      throw StepError("wmp close: " + *fault);
    }
  }
}

void Win32World::FailCall(const std::string& call, std::size_t nth) {
  if (call.rfind("IWMP", 0) == 0 || call.rfind("IConnectionPoint::", 0) == 0) {
    mediaPlayer_.Faults().FailCall(call, nth);
  } else if (!messenger_.FailCall(call, nth)) {
    throw StepError("fail " + call +
                    ": only Messenger's and Windows Media Player's calls can be made to fail "
                    "here (the file needs `requires sim`)");
  }
}

}  // namespace tb::test
