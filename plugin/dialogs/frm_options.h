// The options dialog: which player the plug-in watches, and one display-name
// template per player. It shows the settings as stored when it loads and
// stores them only on "Save!!!"; closing it any other way discards changes.
#pragma once

#include <array>
#include <exception>
#include <string>

#include "common/player_choice.h"
#include "platform/message_boxes.h"
#include "platform/registry.h"

namespace tb {

inline constexpr char16_t kOptionsCaption[] = u"Options";

struct TemplateBox {
  std::u16string text;
  bool visible = false;
};

class FrmOptions {
 public:
  FrmOptions(platform::Registry& registry, platform::MessageBoxes& messageBoxes)
      : registry_(registry), messageBoxes_(messageBoxes) {}

  // Shows the stored player and the three stored templates.
  void Load();
  // The user clicked a player's option button: it is selected, and the
  // player's banner and template box are shown.
  void Choose(PlayerChoice player);
  // "Save!!!": stores the three templates and the player, and unloads.
  void Save();
  // "Help": the two tag lists, one box after the other.
  void Help();
  // Closed through its title bar: unloads, storing nothing. Esc does
  // nothing here; the dialog has no Cancel button.
  void Close() { unloaded = true; }

  // A player's template box (Winamp, MusicMatch or WindowsMedia).
  TemplateBox& TemplateOf(PlayerChoice player);

  // What the controls show. No option button, or exactly one, is selected.
  PlayerChoice selected = PlayerChoice::kNone;
  // The template boxes of Winamp (shown while no player is selected),
  // MUSICMATCH Jukebox and Windows Media Player, in that order.
  std::array<TemplateBox, 3> templates{TemplateBox{u"", true}, TemplateBox{}, TemplateBox{}};
  PlayerChoice banner = PlayerChoice::kNone;
  bool unloaded = false;
  // The dialog's window, for the boxes it owns; set by its view.
  platform::Hwnd window = 0;
  // A failure while storing, handed on once the dialog has closed.
  std::exception_ptr failure;

 private:
  platform::Registry& registry_;
  platform::MessageBoxes& messageBoxes_;
};

}  // namespace tb
