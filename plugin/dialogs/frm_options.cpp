#include "plugin/dialogs/frm_options.h"

#include "common/settings.h"

namespace tb {

void FrmOptions::Show(PlayerChoice banner, TemplateBox* box) {
  picture = banner;
  for (TemplateBox* each : {&Text3, &Text5, &Text6}) {
    each->visible = each == box;
  }
}

void FrmOptions::Select(bool* option) {
  for (bool* each : {&Option3, &Option4, &Option5}) {
    *each = each == option;
  }
}

void FrmOptions::Form_Load() {
  // Selecting a button raises its click, as a user's click does.
  if (ReadSetting(registry_, kPlayer) == kPlayerMusicMatch) {
    Select(&Option4);
    Option4_Click();
  }
  if (ReadSetting(registry_, kPlayer) == kPlayerWinamp) {
    Select(&Option3);
    Option3_Click();
  }
  if (ReadSetting(registry_, kPlayer) == kPlayerWindowsMedia) {
    Select(&Option5);
    Option5_Click();
  }
  Text3.text = ReadSetting(registry_, kCurrentTag);
  Text5.text = ReadSetting(registry_, kCurrentTagMMJ);
  Text6.text = ReadSetting(registry_, kCurrentTagWMP);
}

void FrmOptions::Option3_Click() {
  if (Option3) {
    Show(PlayerChoice::kWinamp, &Text3);
  }
}

void FrmOptions::Option4_Click() {
  if (Option4) {
    Show(PlayerChoice::kMusicMatch, &Text5);
  }
}

void FrmOptions::Option5_Click() {
  if (Option5) {
    Show(PlayerChoice::kWindowsMedia, &Text6);
  }
}

void FrmOptions::Command1_Click() {
  try {
    // All three templates, the hidden ones too.
    WriteSetting(registry_, kCurrentTag, Text3.text);
    WriteSetting(registry_, kCurrentTagMMJ, Text5.text);
    WriteSetting(registry_, kCurrentTagWMP, Text6.text);
    if (Option3) {
      WriteSetting(registry_, kPlayer, kPlayerWinamp);
    }
    if (Option4) {
      WriteSetting(registry_, kPlayer, kPlayerMusicMatch);
    }
    if (Option5) {
      WriteSetting(registry_, kPlayer, kPlayerWindowsMedia);
    }
  } catch (...) {
    failure = std::current_exception();
  }
  unloaded = true;
}

void FrmOptions::Command2_Click() {
  const std::uint32_t kType = platform::kMbOk | platform::kMbIconInformation;
  messageBoxes_.MessageBox(window,
                           u"Some Winamp Commands you can use in your name:\r\n(!XWPALBUM)\r\n"
                           u"(!XWPARTIST)\r\n(!XWPTITLE)\r\n(!WAT)",
                           u"Help", kType);
  messageBoxes_.MessageBox(window,
                           u"Some Windows Media Player Commands you can use in your name:\r\n"
                           u"(!XWMPALBUM)\r\n(!XWMPARTIST)\r\n(!XWMPTITLE)\r\n(!XWMPDURATION)",
                           u"Help", kType);
}

}  // namespace tb
