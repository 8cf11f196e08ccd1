// The options dialog as a user meets it: the stored player and templates,
// switching players, typing, "Save!!!", "Help", and the ways to leave it
// without storing anything.
#include "platform/win32/win32_api.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "common/artwork/artwork.h"
#include "common/settings.h"
#include "common/text.h"
#include "plugin/dialogs/frm_options.h"
#include "tests/win32/dialogs/dialog_checks.h"
#include "tests/win32/dialogs/scripted_user.h"

namespace tb::test {
namespace {

namespace ids = win32::controls;

constexpr char16_t kOptions[] = u"Options";

// The player and the three templates, as stored under these keys.
using Stored = std::array<std::u16string, 4>;
constexpr std::array<const char16_t*, 4> kStoredKeys = {kPlayer, kCurrentTag, kCurrentTagMMJ,
                                                        kCurrentTagWMP};

void Store(Desktop& desktop, const Stored& settings) {
  for (std::size_t i = 0; i < kStoredKeys.size(); ++i) {
    WriteSetting(desktop.registry, kStoredKeys[i], settings[i]);
  }
}

void ExpectStored(Desktop& desktop, const Stored& settings, const std::string& what,
                  CheckLog& log) {
  for (std::size_t i = 0; i < kStoredKeys.size(); ++i) {
    log.Equal(ReadSetting(desktop.registry, kStoredKeys[i]), settings[i],
              what + ": " + Narrow(kStoredKeys[i]));
  }
}

void Press(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void Type(HWND dialog, int id, const char16_t* text) {
  SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

std::string Colour(art::Rgb colour) {
  return std::to_string(colour.r) + "," + std::to_string(colour.g) + "," + std::to_string(colour.b);
}

// Points of the banner away from its words: the panel's corner and foot,
// the pale field, the base line, the last column the dialog shows, and the
// top-right corner of the label that lies on the banner (Label3 ends at
// x = 376), past its words.
constexpr std::array<POINT, 6> kBannerProbes = {
    {{4, 4}, {190, 56}, {300, 8}, {300, 61}, {408, 30}, {376, 25}}};

// The dialog shows `banner` at its own size from the client's corner, on
// the form's background.
void ExpectBanner(HWND dialog, PlayerChoice banner, const std::string& what, CheckLog& log) {
  art::Picture picture(art::kBannerWidth, art::kBannerHeight);
  art::PaintBanner(picture.Surface(), banner);
  for (const POINT& probe : kBannerProbes) {
    const std::string expected = banner == PlayerChoice::kNone
                                     ? std::string("224,224,224")
                                     : Colour(picture.Surface().At(probe.x, probe.y));
    log.Equal(PixelAt(dialog, probe.x, probe.y), expected,
              what + ": the banner at " + std::to_string(probe.x) + "," + std::to_string(probe.y));
  }
  log.Equal(PixelAt(dialog, 200, 120), std::string("224,224,224"),
            what + ": the background under the banner");
}

// What the dialog shows for the choice: its option button alone selected
// (none for no player), its template box alone shown (Winamp's for no
// player), and its banner.
void ExpectChoice(HWND dialog, PlayerChoice choice, const std::string& what, CheckLog& log) {
  const int options[] = {ids::kWinamp, ids::kMusicMatch, ids::kWindowsMedia};
  const int boxes[] = {ids::kWinampText, ids::kMusicMatchText, ids::kMediaText};
  const int chosen = static_cast<int>(choice) - 1;  // -1 for no player
  for (int i = 0; i < 3; ++i) {
    log.Equal(IsDlgButtonChecked(dialog, options[i]) == BST_CHECKED, i == chosen,
              what + ": option " + std::to_string(options[i]) + " selected");
    log.Equal(IsWindowVisible(GetDlgItem(dialog, boxes[i])) != FALSE, i == std::max(chosen, 0),
              what + ": template box " + std::to_string(boxes[i]) + " shown");
  }
  ExpectBanner(dialog, choice, what, log);
}

// A place and size in twips as RectOf shows it, in this screen's pixels.
std::string Twips(const std::array<int, 4>& twips) {
  std::string pixels;
  for (const int value : twips) {
    pixels.append(pixels.empty() ? "" : ",")
        .append(std::to_string(MulDiv(value, ScreenDpi(), 1440)));
  }
  return pixels;
}

void ExpectLayout(HWND dialog, CheckLog& log) {
  log.Equal(TextOf(dialog), std::u16string(kOptions), "the options dialog's caption");
  RECT client{};
  GetClientRect(dialog, &client);
  log.Equal("0,0," + std::to_string(client.right) + "," + std::to_string(client.bottom),
            Twips({0, 0, 6135, 2325}), "the options dialog's client area");
  // Each control's class, text (none for a template box, which holds the
  // stored template) and place and size in twips.
  const std::tuple<int, const wchar_t*, const char16_t*, std::array<int, 4>> kControls[] = {
      {ids::kSave, L"Button", u"Save!!!", {4920, 1920, 1095, 375}},
      {ids::kOptionsLabel,
       L"Static",
       u"Use This when playing a song (msgplus commands supported)",
       {3360, 360, 2295, 495}},
      {ids::kWinamp, L"Button", u"Winamp", {120, 1560, 2295, 255}},
      {ids::kMusicMatch, L"Button", u"MusicMatch", {120, 1800, 2415, 255}},
      {ids::kWindowsMedia, L"Button", u"Windows Media Player", {120, 2040, 2295, 255}},
      {ids::kWinampText, L"Edit", nullptr, {0, 960, 6135, 495}},
      {ids::kMusicMatchText, L"Edit", nullptr, {0, 960, 6135, 495}},
      {ids::kMediaText, L"Edit", nullptr, {0, 960, 6135, 495}},
      {ids::kHelp, L"Button", u"Help", {3960, 2080, 735, 195}},
  };
  for (const auto& [id, windowClass, text, twips] : kControls) {
    const HWND control = GetDlgItem(dialog, id);
    const std::string what = "control " + std::to_string(id);
    log.Ok(control != nullptr, what + " is there");
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    log.Equal(std::u16string(reinterpret_cast<const char16_t*>(className)),
              std::u16string(reinterpret_cast<const char16_t*>(windowClass)), what + ": class");
    log.Equal(RectOf(control), Twips(twips), what + ": place and size");
    if (text != nullptr) {
      log.Equal(TextOf(control), std::u16string(text), what + ": text");
      continue;
    }
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE));
    log.Ok((style & (ES_MULTILINE | ES_AUTOVSCROLL)) == (ES_MULTILINE | ES_AUTOVSCROLL),
           what + ": several lines, growing down");
    // An edit control takes WS_BORDER to itself and draws it inside its
    // window: one dark line, then the white of the box.
    if (IsWindowVisible(control) != FALSE) {
      log.Ok(PixelAt(control, 0, 26) != "255,255,255", what + ": a line on its left edge");
      log.Equal(PixelAt(control, 1, 26), std::string("255,255,255"),
                what + ": one pixel of border, no more");
      log.Equal(PixelAt(control, 3, 26), std::string("255,255,255"), what + ": a flat border");
    }
    log.Ok((style & (ES_AUTOHSCROLL | WS_HSCROLL)) == 0, what + ": wraps its words");
    log.Ok((exStyle & WS_EX_CLIENTEDGE) == 0, what + ": no sunken edge");
  }
  for (const int id : {ids::kWinamp, ids::kMusicMatch, ids::kWindowsMedia}) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(GetDlgItem(dialog, id), GWL_STYLE));
    log.Equal(style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTORADIOBUTTON),
              "option " + std::to_string(id) + " is a radio button");
  }
  // Made in the form's tab order: Command1, Label3, Option3-5, Text5, Text3,
  // Text6, Command2.
  log.Equal(ChildIds(dialog), std::string("1001 1002 1003 1004 1005 1006 1007 1008 1009"),
            "the controls in tab-index order");
  log.Ok(GetFocus() == GetDlgItem(dialog, ids::kSave), "the focus starts on Save!!!");
}

// The user's script, played on the options dialog shown over the stored
// settings; the user's way out unloads the form.
void PlayOptions(Desktop& desktop, const Stored& stored, FrmOptions& form, ScriptedUser& user,
                 const std::string& wayOut, CheckLog& log) {
  Store(desktop, stored);
  form.Load();
  user.Start();
  desktop.dialogs.ShowOptions(0, form);
  user.Finish();
  log.Ok(form.unloaded, wayOut + " unloads the form");
}

}  // namespace

void CheckOptionsSaveAfterSwitching(Desktop& desktop, CheckLog& log) {
  FrmOptions form(desktop.registry, desktop.messageBoxes);
  HWND seen = nullptr;
  ScriptedUser user(log, "options, save after switching");
  user.Then(kOptions,
            [&](HWND dialog) {
              seen = dialog;
              ExpectLayout(dialog, log);
              ExpectChoice(dialog, PlayerChoice::kWinamp, "the stored player, Winamp", log);
              log.Equal(ItemText(dialog, ids::kWinampText), std::u16string(u"wa one"),
                        "Winamp's stored template");
              log.Equal(ItemText(dialog, ids::kMusicMatchText), std::u16string(u"mm one"),
                        "MusicMatch's stored template, hidden");
              log.Equal(ItemText(dialog, ids::kMediaText), std::u16string(u"wmp one"),
                        "Windows Media Player's stored template, hidden");
              log.Equal(TabWalk(dialog, ids::kSave, 4), std::string("1001 1003 1007 1009 1001"),
                        "Tab: Save!!!, the selected player, its template, Help");
              Press(dialog, ids::kMusicMatch);
            })
      .Then(kOptions,
            [&](HWND dialog) {
              ExpectChoice(dialog, PlayerChoice::kMusicMatch, "MusicMatch clicked", log);
              log.Equal(TabWalk(dialog, ids::kSave, 4), std::string("1001 1004 1006 1009 1001"),
                        "Tab follows the selection");
              Type(dialog, ids::kMusicMatchText, u"mm two");
              Press(dialog, ids::kWindowsMedia);
            })
      .Then(kOptions,
            [&](HWND dialog) {
              ExpectChoice(dialog, PlayerChoice::kWindowsMedia, "Windows Media Player clicked",
                           log);
              Type(dialog, ids::kMediaText, u"wmp two");
              Press(dialog, ids::kWinamp);
            })
      .Then(kOptions, [&](HWND dialog) {
        ExpectChoice(dialog, PlayerChoice::kWinamp, "back to Winamp", log);
        log.Equal(ItemText(dialog, ids::kMusicMatchText), std::u16string(u"mm two"),
                  "a hidden template keeps what was typed");
        Type(dialog, ids::kWinampText, u"wa two \u266b");
        Press(dialog, ids::kWindowsMedia);
        Press(dialog, ids::kSave);
      });
  PlayOptions(desktop, {kPlayerWinamp, u"wa one", u"mm one", u"wmp one"}, form, user, "Save!!!",
              log);
  log.Ok(!form.failure, "nothing failed while storing");
  log.Ok(seen != nullptr && form.window == reinterpret_cast<platform::Hwnd>(seen),
         "the form knows its dialog's window");
  log.Ok(IsWindow(seen) == FALSE, "the dialog is gone once ShowOptions returns");
  ExpectStored(desktop, {kPlayerWindowsMedia, u"wa two \u266b", u"mm two", u"wmp two"},
               "after Save!!!", log);
}

void CheckOptionsCloseBoxDiscards(Desktop& desktop, CheckLog& log) {
  const Stored stored{kPlayerMusicMatch, u"wa keep", u"mm keep", u"wmp keep"};
  FrmOptions form(desktop.registry, desktop.messageBoxes);
  ScriptedUser user(log, "options, close box");
  user.Then(kOptions,
            [&](HWND dialog) {
              ExpectChoice(dialog, PlayerChoice::kMusicMatch, "MusicMatch is stored", log);
              log.Equal(ItemText(dialog, ids::kMusicMatchText), std::u16string(u"mm keep"),
                        "its stored template");
              Type(dialog, ids::kMusicMatchText, u"never stored");
              Press(dialog, ids::kWinamp);
              Type(dialog, ids::kWinampText, u"never stored");
            })
      .Then(kOptions, [&](HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
  PlayOptions(desktop, stored, form, user, "the close box", log);
  ExpectStored(desktop, stored, "after the close box", log);
}

void CheckOptionsEscapeKeepsItOpen(Desktop& desktop, CheckLog& log) {
  const Stored stored{kPlayerWindowsMedia, u"wa keep", u"mm keep", u"wmp keep"};
  FrmOptions form(desktop.registry, desktop.messageBoxes);
  ScriptedUser user(log, "options, Esc");
  user.Then(kOptions,
            [&](HWND dialog) {
              SetFocus(GetDlgItem(dialog, ids::kMediaText));
              Type(dialog, ids::kMediaText, u"typed before Esc");
              PressKey(VK_ESCAPE);
            })
      .Pause(300)
      .Then(kOptions, [&](HWND dialog) {
        log.Equal(ItemText(dialog, ids::kMediaText), std::u16string(u"typed before Esc"),
                  "Esc leaves the dialog open with what was typed");
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        log.Ok(IsWindowVisible(dialog) != FALSE, "IDCANCEL, as Esc arrives, leaves it open too");
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      });
  PlayOptions(desktop, stored, form, user, "the close box after Esc", log);
  ExpectStored(desktop, stored, "after Esc and the close box", log);
}

void CheckOptionsWithoutPlayerAndHelp(Desktop& desktop, CheckLog& log) {
  const Stored stored{u"Windows Media", u"wa keep", u"mm keep", u"wmp keep"};
  FrmOptions form(desktop.registry, desktop.messageBoxes);
  HWND options = nullptr;
  ScriptedUser user(log, "options, no player, Help");
  const auto expectHelpBox = [&](HWND box, const std::u16string& opening) {
    log.Ok(GetWindow(box, GW_OWNER) == options, "a Help box is owned by the options dialog");
    const std::u16string text = ItemText(box, 0xFFFF);  // a message box's text
    log.Equal(text.substr(0, opening.size()), opening, "a Help box's text");
    log.Ok(IsWindowEnabled(options) == FALSE, "the options dialog waits for its Help box");
    SendMessageW(box, WM_COMMAND, IDOK, 0);
  };
  user.Then(kOptions,
            [&](HWND dialog) {
              options = dialog;
              ExpectChoice(dialog, PlayerChoice::kNone, "an unknown player", log);
              log.Equal(TabWalk(dialog, ids::kSave, 4), std::string("1001 1003 1007 1009 1001"),
                        "Tab reaches the group at its first button");
              Press(dialog, ids::kHelp);
            })
      .Then(u"Help", [&](HWND box) { expectHelpBox(box, u"Some Winamp Commands"); })
      .Then(u"Help", [&](HWND box) { expectHelpBox(box, u"Some Windows Media Player Commands"); })
      .Then(kOptions, [&](HWND dialog) {
        log.Ok(IsWindowEnabled(dialog) != FALSE, "the options dialog is back after Help");
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      });
  PlayOptions(desktop, stored, form, user, "the close box", log);
  ExpectStored(desktop, stored, "after Help and the close box", log);
}

// Turns down every window the thread makes.
LRESULT CALLBACK RefuseWindows(int code, WPARAM wparam, LPARAM lparam) {
  return code == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, code, wparam, lparam);
}

// Windows refuses to make the dialog (a hook turns its window down): the
// view says so, and the form is left as it was.
void CheckOptionsRefused(Desktop& desktop, CheckLog& log) {
  const HHOOK refuse = SetWindowsHookExW(WH_CBT, &RefuseWindows, nullptr, GetCurrentThreadId());
  FrmOptions form(desktop.registry, desktop.messageBoxes);
  form.Load();
  const bool shown = desktop.dialogs.ShowOptions(0, form);
  UnhookWindowsHookEx(refuse);
  log.Ok(refuse != nullptr && !shown, "a dialog that Windows refuses to make is not shown");
  log.Ok(!form.unloaded && form.window == 0, "the form of a refused dialog is as it was");
}

}  // namespace tb::test
