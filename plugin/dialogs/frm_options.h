// The options dialog: which player the plug-in watches, and one display-name
// template per player. It shows the settings as stored when it loads and
// stores them only on "Save!!!"; closing it any other way discards changes.
#pragma once

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
  void Form_Load();
  // A player's option button was clicked (it is then selected).
  void Option3_Click();
  void Option4_Click();
  void Option5_Click();
  // "Save!!!": stores the three templates and the player, and unloads.
  void Command1_Click();
  // "Help": the two tag lists, one box after the other.
  void Command2_Click();
  // Closed through its title bar: unloads, storing nothing. Esc does
  // nothing here; the dialog has no Cancel button.
  void Close() { unloaded = true; }

  // What the controls show. Exactly one option button, or none, is selected.
  bool Option3 = false;          // "Winamp"
  bool Option4 = false;          // "MusicMatch"
  bool Option5 = false;          // "Windows Media Player"
  TemplateBox Text3{u"", true};  // Winamp; shown while no player is selected
  TemplateBox Text5;             // MUSICMATCH Jukebox
  TemplateBox Text6;             // Windows Media Player
  PlayerChoice picture = PlayerChoice::kNone;
  bool unloaded = false;
  // The dialog's window, for the boxes it owns; set by its view.
  platform::Hwnd window = 0;
  // A failure while storing, handed on once the dialog has closed.
  std::exception_ptr failure;

 private:
  void Show(PlayerChoice banner, TemplateBox* box);
  void Select(bool* option);

  platform::Registry& registry_;
  platform::MessageBoxes& messageBoxes_;
};

}  // namespace tb
