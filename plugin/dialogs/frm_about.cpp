#include "plugin/dialogs/frm_about.h"

#include <array>
#include <vector>

#include "platform/registry_data.h"
#include "platform/scoped_key.h"

namespace tb {
namespace {

constexpr std::uint32_t kValueBufferChars = 1024;
constexpr int kEscape = 27;

std::u16string Decimal(std::uint16_t number) {
  const std::string digits = std::to_string(number);
  return {digits.begin(), digits.end()};
}

}  // namespace

std::optional<std::u16string> GetKeyValue(platform::Registry& registry, platform::RegKey root,
                                          const std::u16string& path, const std::u16string& name) {
  // Opened for reading only: an ordinary user may read these keys but not
  // write them.
  platform::ScopedKey key(registry);
  if (registry.OpenKey(root, path, platform::kKeyRead, key.Receive()) != platform::kErrorSuccess) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(std::size_t{kValueBufferChars} * 2);
  std::uint32_t type = platform::kRegNone;
  auto size = static_cast<std::uint32_t>(bytes.size());
  if (registry.QueryValue(key.Get(), name, &type, bytes.data(), &size) != platform::kErrorSuccess) {
    return std::nullopt;
  }
  if (type == platform::kRegDword && size >= 4) {
    static const char16_t* const kHex = u"0123456789ABCDEF";
    std::u16string text = u"&h";
    for (int i = 3; i >= 0; --i) {
      const std::uint8_t byte = bytes[static_cast<std::size_t>(i)];
      text.push_back(kHex[byte >> 4U]);
      text.push_back(kHex[byte & 0xFU]);
    }
    return text;
  }
  return platform::TextOfStringData(bytes.data(), size);
}

void FrmAbout::Load() {
  caption = std::u16string(u"About ") + kAboutTitle;
  platform::ModuleVersion module;
  if (desktop_.module.GetVersion(&module)) {
    version = u"Version " + Decimal(module.major) + u"." + Decimal(module.minor) + u"." +
              Decimal(module.revision);
  }
  title = kAboutTitle;
  timerEnabled = true;
}

void FrmAbout::TimerElapsed() {
  if (!timerEnabled) {
    return;
  }
  desktop_.windows.BringWindowToTop(window);
  timerEnabled = false;
}

void FrmAbout::KeyPress(int keyAscii) {
  if (keyAscii == kEscape) {
    unloaded = true;
  }
}

void FrmAbout::Open(const std::u16string& target) {
  desktop_.shell.ShellExecute(0, nullptr, target, nullptr, u"C:", platform::kSwShowNormal);
}

void FrmAbout::OpenSite() { Open(kDeveloperSite); }

void FrmAbout::OpenEmail() { Open(std::u16string(u"mailto:") + kDeveloperEmail); }

void FrmAbout::StartSysInfo() {
  platform::Registry& registry = desktop_.registry;
  std::optional<std::u16string> program = GetKeyValue(
      registry, platform::kHkeyLocalMachine, u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", u"PATH");
  if (!program) {
    const auto folder = GetKeyValue(registry, platform::kHkeyLocalMachine,
                                    u"SOFTWARE\\Microsoft\\Shared Tools Location", u"MSINFO");
    if (folder && desktop_.files.GetFileAttributes(*folder + u"\\MSINFO32.EXE") !=
                      platform::kInvalidFileAttributes) {
      program = *folder + u"\\MSINFO32.EXE";
    }
  }
  // The path is quoted, so that a folder with blanks cannot start another
  // program on the way.
  if (!program ||
      !desktop_.processes.StartProcess(u"\"" + *program + u"\"", platform::kSwShowNormal)) {
    desktop_.messageBoxes.MessageBox(window, u"System Information Is Unavailable At This Time",
                                     u"Tunebadge", platform::kMbOk);
  }
}

}  // namespace tb
