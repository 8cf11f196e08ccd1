// The media players of the simulated desktop, as far as the plug-in reads
// them. Any window of any class and title can be opened through SimWindows;
// this adds what a player does when asked: Winamp (class "Winamp v1.x")
// answers its file-information command by opening the "MPEG file info box +
// ID3 tag editor" dialog, whose edit fields hold the song's file name, title,
// artist, album, year, comment and genre, and closes it on WM_CLOSE.
#pragma once

#include <string>

#include "platform/sim/windows.h"

namespace tb::sim {

inline constexpr char16_t kWinampClass[] = u"Winamp v1.x";
inline constexpr char16_t kFileInfoDialogClass[] = u"#32770";
inline constexpr char16_t kFileInfoDialogTitle[] = u"MPEG file info box + ID3 tag editor";
inline constexpr std::uintptr_t kWinampFileInfoCommand = 40188;

struct FileInfo {
  std::u16string title;
  std::u16string artist;
  std::u16string album;
};

class SimPlayers {
 public:
  explicit SimPlayers(SimWindows& windows);

  // What the file-information dialog shows from now on.
  void SetFileInfo(FileInfo info) { info_ = std::move(info); }
  // While set, Winamp ignores the file-information command.
  void IgnoreFileInfoCommand(bool ignore) { ignoreFileInfo_ = ignore; }
  [[nodiscard]] int DialogsOpened() const { return dialogsOpened_; }

 private:
  void OpenFileInfoDialog();

  SimWindows& windows_;
  FileInfo info_;
  bool ignoreFileInfo_ = false;
  int dialogsOpened_ = 0;
};

}  // namespace tb::sim
