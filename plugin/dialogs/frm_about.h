// The about box: the plug-in's name and version, the developer's links, and
// the system-information tool.
#pragma once

#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/message_boxes.h"
#include "platform/module.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/windowing.h"

namespace tb {

inline constexpr char16_t kAboutTitle[] = u"Tunebadge Plugin";
inline constexpr char16_t kDeveloper[] = u"The Tunebadge team";
inline constexpr char16_t kDeveloperEmail[] = u"hello@tunebadge.example";
inline constexpr char16_t kDeveloperSite[] = u"https://tunebadge.example/";
inline constexpr char16_t kDeveloperLine[] = u"Songs in your name since 2003";
inline constexpr unsigned kAboutTimerMs = 1000;

// What the about box needs of the desktop.
struct AboutDesktop {
  platform::Registry& registry;
  platform::Shell& shell;
  platform::Files& files;
  platform::Processes& processes;
  platform::MessageBoxes& messageBoxes;
  platform::Windows& windows;
  platform::Module& module;
};

// GetKeyValue: a string value as its text, a REG_DWORD as "&h" and its
// eight hex digits; nothing when the key cannot be opened for reading or the
// value cannot be read.
std::optional<std::u16string> GetKeyValue(platform::Registry& registry, platform::RegKey root,
                                          const std::u16string& path, const std::u16string& name);

class FrmAbout {
 public:
  explicit FrmAbout(AboutDesktop desktop) : desktop_(desktop) {}

  // Caption, title and version; starts the one-shot timer.
  void Load();
  // The timer, once, a second after loading: brings the box to the top and
  // stops.
  void TimerElapsed();
  // "OK", or Esc (key code 27): unloads.
  void Ok() { unloaded = true; }
  void KeyPress(int keyAscii);
  // The links: the web site (the site's line and the personal line) and a
  // new e-mail.
  void OpenSite();
  void OpenEmail();
  // "System Info".
  void StartSysInfo();

  std::u16string caption;
  std::u16string title;
  std::u16string version;
  const std::u16string developer = kDeveloper;
  const std::u16string email = kDeveloperEmail;
  const std::u16string site = kDeveloperSite;
  const std::u16string developerLine = kDeveloperLine;
  bool timerEnabled = false;
  bool unloaded = false;
  // The box's window; set by its view.
  platform::Hwnd window = 0;

 private:
  void Open(const std::u16string& target);

  AboutDesktop desktop_;
};

}  // namespace tb
