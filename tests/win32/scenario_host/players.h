// The players of a scenario on real Windows: top-level windows of any class
// and title, each on a thread of its own. A window of class "Winamp v1.x"
// answers Winamp's file-information command (WM_COMMAND 40188, posted) by
// opening a real dialog, "MPEG file info box + ID3 tag editor", whose seven
// edit fields hold the song's file name, title, artist, album, year, comment
// and genre; WM_CLOSE closes it. As platform/sim/players.cpp does.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/win32/scenario_host/window_threads.h"
#include "tools/scenario/world.h"

namespace tb::test {

using sim::kFileInfoDialogClass;
using sim::kFileInfoDialogTitle;
using sim::kWinampClass;
using sim::kWinampFileInfoCommand;

class Players {
 public:
  explicit Players(WindowLedger& ledger);
  // Ends every player's thread, and with it its windows.
  ~Players();
  Players(const Players&) = delete;
  Players& operator=(const Players&) = delete;
  Players(Players&&) = delete;
  Players& operator=(Players&&) = delete;

  // Opens a visible top-level window of that class and title on a new
  // thread, without taking the focus; null when it could not.
  HWND Open(const std::u16string& className, const std::u16string& title);

  // On the window's own thread: a new title for a window, which a player's
  // window that scrolls its title scrolls from its start.
  static void Retitle(HWND window, const std::u16string& title);
  // On the window's own thread: a player's window starts (or stops)
  // scrolling its title as Winamp does in the taskbar, turning it by one
  // character every sim::kScrollTurnMs; false for a window that is no
  // player's.
  static bool Scroll(HWND window, bool scrolling);

  // What the file-information dialog shows from now on; nothing: Winamp
  // ignores the command from now on.
  void SetFileInfo(const std::optional<scenario::FileInfo>& info);
  // How many file-information dialogs have been opened.
  [[nodiscard]] int DialogsOpened() const;

  // For the window procedures, on the players' threads.
  struct Shared;

 private:
  WindowLedger& ledger_;
  std::unique_ptr<Shared> shared_;
  std::vector<std::unique_ptr<WindowThread>> threads_;
};

}  // namespace tb::test
