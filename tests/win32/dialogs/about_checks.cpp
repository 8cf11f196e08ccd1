// The about box as a user meets it: what it says, its links, the one-second
// timer, "System Info", and the ways to close it.
#include "platform/win32/win32_api.h"

#include <tuple>
#include <utility>

#include "plugin/dialogs/frm_about.h"
#include "tests/win32/dialogs/dialog_checks.h"
#include "tests/win32/dialogs/scripted_user.h"

namespace tb::test {
namespace {

namespace ids = win32::controls;

constexpr char16_t kAbout[] = u"About Tunebadge Plugin";
constexpr wchar_t kMsinfoKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char16_t kMsinfoPath[] = u"C:\\Tunebadge Checks\\msinfo32.exe";
constexpr char16_t kMsinfoCommand[] = u"\"C:\\Tunebadge Checks\\msinfo32.exe\"";
constexpr char16_t kMailTo[] = u"mailto:hello@tunebadge.example";

FrmAbout MakeForm(Desktop& desktop) {
  return FrmAbout(AboutDesktop{desktop.registry, desktop.shell, desktop.files, desktop.processes,
                               desktop.messageBoxes, desktop.windows, desktop.module});
}

// The colour a static is drawn in, as the dialog answers WM_CTLCOLORSTATIC.
COLORREF TextColourOf(HWND dialog, int id) {
  const HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  const COLORREF colour = GetTextColor(dc);
  DeleteDC(dc);
  return colour;
}

// Whether the pointer over the control is the hand.
bool HandOver(HWND dialog, int id) {
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
  SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor() == LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
}

void ExpectWhatItSays(HWND dialog, CheckLog& log) {
  log.Equal(TextOf(dialog), std::u16string(kAbout), "the about box's caption");
  const std::tuple<int, const char16_t*, const char*> kTexts[] = {
      {ids::kTitle, u"Tunebadge Plugin", "the title"},
      {ids::kVersion, u"Version 3.7.12",
       "the version: major, minor and revision of this program's version block"},
      {ids::kInfoLabel, u"Developer's info :", "the label over the developer's details"},
      {ids::kDeveloper, kDeveloper, "the developer"},
      {ids::kEmail, kDeveloperEmail, "the e-mail address"},
      {ids::kSite, kDeveloperSite, "the web site"},
      {ids::kTagline, kDeveloperLine, "the personal line"},
      {ids::kOk, u"OK", "the OK button"},
      {ids::kSystemInfo, u"System Info", "the System Info button"},
  };
  for (const auto& [id, text, what] : kTexts) {
    log.Equal(ItemText(dialog, id), std::u16string(text), what);
  }
  log.Ok(GetDlgItem(dialog, ids::kRule) != nullptr, "Line1 is there");
  log.Ok(GetFocus() == GetDlgItem(dialog, ids::kOk), "the focus starts on OK");

  for (const int id : {ids::kEmail, ids::kSite, ids::kTagline}) {
    const std::string what = "link " + std::to_string(id);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(GetDlgItem(dialog, id), GWL_STYLE));
    log.Ok((style & SS_NOTIFY) != 0, what + " tells of clicks");
    log.Equal(TextColourOf(dialog, id), RGB(0, 102, 204), what + " is blue");
    log.Ok(HandOver(dialog, id), what + " shows the hand");
  }
  log.Ok(TextColourOf(dialog, ids::kDeveloper) != RGB(0, 102, 204), "the developer is no link");
  log.Ok(!HandOver(dialog, ids::kDeveloper), "no hand over the developer's name");

  log.Equal(PixelAt(dialog, 200, 80), std::string("255,255,255"), "a white background");
  for (const int y : {220, 245, 266}) {
    log.Equal(PixelAt(dialog, 60, y), std::string("255,255,255"),
              "white by the buttons too, at y " + std::to_string(y));
  }
  log.Ok(PixelAt(dialog, 30, 52) != "255,255,255", "the badge is drawn");
  log.Ok(PixelAt(dialog, 326, 68) != "255,255,255", "the level bars are drawn");
}

// The MSINFO key as the check found it, put back at the end.
class MsinfoPath {
 public:
  MsinfoPath() {
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kMsinfoKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                    &key_, &disposition_);
    DWORD size = sizeof old_;
    hadValue_ =
        key_ != nullptr && RegQueryValueExW(key_, L"PATH", nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(old_), &size) == ERROR_SUCCESS;
  }
  ~MsinfoPath() {
    if (key_ == nullptr) {
      return;
    }
    if (hadValue_) {
      RegSetValueExW(key_, L"PATH", 0, REG_SZ, reinterpret_cast<const BYTE*>(old_),
                     static_cast<DWORD>((wcslen(old_) + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(key_, L"PATH");
    }
    RegCloseKey(key_);
    if (disposition_ == REG_CREATED_NEW_KEY) {
      RegDeleteKeyW(HKEY_LOCAL_MACHINE, kMsinfoKey);
    }
  }
  MsinfoPath(const MsinfoPath&) = delete;
  MsinfoPath& operator=(const MsinfoPath&) = delete;
  MsinfoPath(MsinfoPath&&) = delete;
  MsinfoPath& operator=(MsinfoPath&&) = delete;

  bool Set(const char16_t* path) {
    return key_ != nullptr &&
           RegSetValueExW(key_, L"PATH", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                          static_cast<DWORD>((std::char_traits<char16_t>::length(path) + 1) *
                                             sizeof(char16_t))) == ERROR_SUCCESS;
  }

 private:
  HKEY key_ = nullptr;
  DWORD disposition_ = 0;
  wchar_t old_[MAX_PATH] = {};
  bool hadValue_ = false;
};

// The user's script, played on the about box; the user's way out unloads it.
void PlayAbout(Desktop& desktop, FrmAbout& form, ScriptedUser& user, const std::string& wayOut,
               CheckLog& log) {
  form.Load();
  user.Start();
  desktop.dialogs.ShowAbout(0, form);
  user.Finish();
  log.Ok(form.unloaded, wayOut + " unloads the about box");
}

}  // namespace

void CheckAboutLinksTimerAndSysInfo(Desktop& desktop, CheckLog& log) {
  MsinfoPath msinfo;
  log.Ok(msinfo.Set(kMsinfoPath), "the system-information tool's path is stored");
  desktop.shell.opened.clear();
  desktop.processes.started.clear();
  desktop.windows.broughtToTop.clear();
  FrmAbout form = MakeForm(desktop);
  HWND about = nullptr;
  DWORD opened = 0;
  ScriptedUser user(log, "about, links and System Info");
  user.Then(kAbout,
            [&](HWND dialog) {
              about = dialog;
              opened = GetTickCount();
              ExpectWhatItSays(dialog, log);
              Click(GetDlgItem(dialog, ids::kEmail));
            })
      .Then(kAbout,
            [&](HWND dialog) {
              log.Equal(desktop.shell.opened.size(), std::size_t{1}, "one click, one e-mail");
              Click(GetDlgItem(dialog, ids::kSite));
              Click(GetDlgItem(dialog, ids::kTagline));
            })
      .Then(
          kAbout,
          [&](HWND dialog) {
            const std::vector<std::u16string> expected = {kMailTo, kDeveloperSite, kDeveloperSite};
            log.Ok(desktop.shell.opened == expected,
                   "the links open a new e-mail and the web site twice");
            log.Ok(desktop.shell.verbs == std::vector<std::u16string>(3, u"<none>"),
                   "the links open with the default verb");
            SendMessageW(GetDlgItem(dialog, ids::kSystemInfo), BM_CLICK, 0, 0);
            log.Ok(desktop.processes.started == std::vector<std::u16string>{kMsinfoCommand},
                   "System Info starts the stored tool, quoted");
            desktop.processes.starts = false;
            SendMessageW(GetDlgItem(dialog, ids::kSystemInfo), BM_CLICK, 0, 0);
          })
      .Then(u"Tunebadge",
            [&](HWND box) {
              log.Ok(GetWindow(box, GW_OWNER) == about, "the box is owned by the about box");
              log.Equal(ItemText(box, 0xFFFF),
                        std::u16string(u"System Information Is Unavailable At This Time"),
                        "a tool that does not start is told");
              SendMessageW(box, WM_COMMAND, IDOK, 0);
            })
      .Pause(1400)
      .Then(kAbout, [&](HWND dialog) {
        log.Ok(GetTickCount() - opened >= 1000, "a second has gone by");
        log.Ok(desktop.windows.broughtToTop ==
                   std::vector<platform::Hwnd>{reinterpret_cast<platform::Hwnd>(dialog)},
               "the one-shot timer brings the box to the top once");
        log.Ok(!form.timerEnabled, "the timer is off after its tick");
        log.Equal(KillTimer(dialog, win32::controls::kAboutTimer), FALSE,
                  "the view killed the timer");
        log.Ok(!form.unloaded, "the box is still open");
        PressKey(VK_ESCAPE);
      });
  PlayAbout(desktop, form, user, "Esc", log);
  log.Ok(about != nullptr && form.window == reinterpret_cast<platform::Hwnd>(about),
         "the form knows its box's window");
  log.Ok(IsWindow(about) == FALSE, "the box is gone once ShowAbout returns");
  desktop.processes.starts = true;
}

void CheckAboutEnterAndCloseBox(Desktop& desktop, CheckLog& log) {
  const std::pair<const char*, ScriptedUser::Action> kWaysOut[] = {
      {"Enter, pressing OK,", [](HWND /*dialog*/) { PressKey(VK_RETURN); }},
      {"OK", [](HWND dialog) { SendMessageW(GetDlgItem(dialog, ids::kOk), BM_CLICK, 0, 0); }},
      {"the close box", [](HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& [wayOut, action] : kWaysOut) {
    FrmAbout form = MakeForm(desktop);
    ScriptedUser user(log, std::string("about, ") + wayOut);
    user.Then(kAbout, action);
    PlayAbout(desktop, form, user, wayOut, log);
  }
}

}  // namespace tb::test
