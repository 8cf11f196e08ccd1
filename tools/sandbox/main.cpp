// tunebadge-sandbox: the plug-in's code on the simulated desktop.
//
//   tunebadge-sandbox demo    a first start on a fresh machine, narrated
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/sim/code_page.h"
#include "platform/sim/faults.h"
#include "platform/sim/registry.h"
#include "plugin/core/settings.h"

namespace {

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10U) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6U)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3FU)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12U)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6U) & 0x3FU)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3FU)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18U)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12U) & 0x3FU)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6U) & 0x3FU)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3FU)));
    }
  }
  return out;
}

void ShowSettings(tb::sim::SimRegistry& registry) {
  std::printf("    HKEY_CURRENT_USER\\%s\n", Utf8(tb::kSettingsKeyPath).c_str());
  for (const auto* key : {tb::kOnOff, tb::kPlayer, tb::kStatus, tb::kCurrentTag, tb::kCurrentTagMMJ,
                          tb::kCurrentTagWMP}) {
    const auto text = registry.GetString(tb::platform::kHkeyCurrentUser, tb::kSettingsKeyPath, key);
    std::printf("      %-14s %s\n", Utf8(key).c_str(),
                text ? ("REG_SZ \"" + Utf8(*text) + "\"").c_str() : "(absent)");
  }
}

int Demo() {
  tb::sim::Faults faults;
  tb::sim::SimCodePage codePage;
  tb::sim::SimRegistry registry(faults, codePage);

  std::printf("Tunebadge on the simulated desktop\n\n");
  std::printf("1. A machine where the plug-in has never run: no settings at all.\n");
  ShowSettings(registry);

  std::printf("\n2. The host loads the plug-in; start-up writes the missing defaults.\n");
  tb::WriteDefaultSettings(registry);
  ShowSettings(registry);
  std::printf("   No player is chosen yet, so the poll does nothing until one is.\n");

  std::printf(
      "\n3. The user switches the feature off, picks Winamp and empties the\n"
      "   MUSICMATCH Jukebox template; then the host starts again.\n");
  tb::WriteSetting(registry, tb::kOnOff, u"0");
  tb::WriteSetting(registry, tb::kPlayer, u"Winamp");
  tb::WriteSetting(registry, tb::kCurrentTagMMJ, u"");
  tb::WriteDefaultSettings(registry);
  ShowSettings(registry);
  std::printf("   The switch stays off and the emptied template has its default back.\n");

  std::printf("\nOpen registry handles left: %zu\n", registry.OpenHandles());
  return registry.OpenHandles() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "demo") == 0) {
    return Demo();
  }
  std::fprintf(stderr, "usage: tunebadge-sandbox demo\n");
  return 2;
}
