#include "plugin/dialogs/frm_options.h"

#include "common/settings.h"

namespace tb {

namespace {

// The players in the order of their option buttons, and their settings.
struct PlayerRow {
  PlayerChoice player;
  const char16_t* value;        // of the setting Player
  const char16_t* templateKey;  // the setting that holds its template
};

constexpr std::array<PlayerRow, 3> kRows = {{
    {PlayerChoice::kWinamp, kPlayerWinamp, kCurrentTag},
    {PlayerChoice::kMusicMatch, kPlayerMusicMatch, kCurrentTagMMJ},
    {PlayerChoice::kWindowsMedia, kPlayerWindowsMedia, kCurrentTagWMP},
}};

std::size_t RowOf(PlayerChoice player) { return static_cast<std::size_t>(player) - 1; }

}  // namespace

TemplateBox& FrmOptions::TemplateOf(PlayerChoice player) { return templates.at(RowOf(player)); }

void FrmOptions::Choose(PlayerChoice player) {
  selected = player;
  banner = player;
  for (const PlayerRow& row : kRows) {
    TemplateOf(row.player).visible = row.player == player;
  }
}

void FrmOptions::Load() {
  // The stored player is chosen as a user's click would: MusicMatch,
  // Winamp and WindowsMedia are compared in that order, the setting read
  // afresh for each.
  for (const std::size_t row : {1U, 0U, 2U}) {
    if (ReadSetting(registry_, kPlayer) == kRows.at(row).value) {
      Choose(kRows.at(row).player);
    }
  }
  for (const PlayerRow& row : kRows) {
    TemplateOf(row.player).text = ReadSetting(registry_, row.templateKey);
  }
}

void FrmOptions::Save() {
  try {
    // All three templates, the hidden ones too.
    for (const PlayerRow& row : kRows) {
      WriteSetting(registry_, row.templateKey, TemplateOf(row.player).text);
    }
    if (selected != PlayerChoice::kNone) {
      WriteSetting(registry_, kPlayer, kRows.at(RowOf(selected)).value);
    }
  } catch (...) {
    failure = std::current_exception();
  }
  unloaded = true;
}

void FrmOptions::Help() {
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
