#include "platform/sim/players.h"

namespace tb::sim {

SimPlayers::SimPlayers(SimWindows& windows) : windows_(windows) {
  windows_.OnMessage(kWinampClass, [this](platform::Hwnd /*window*/, std::uint32_t message,
                                          std::uintptr_t wparam, std::intptr_t /*lparam*/) {
    if (message == platform::kWmCommand && wparam == kWinampFileInfoCommand && !ignoreFileInfo_) {
      OpenFileInfoDialog();
    }
  });
  windows_.OnMessage(kFileInfoDialogClass,
                     [this](platform::Hwnd window, std::uint32_t message, std::uintptr_t /*wparam*/,
                            std::intptr_t /*lparam*/) {
                       if (message == platform::kWmClose) {
                         windows_.Close(window);
                       }
                     });
}

void SimPlayers::OpenFileInfoDialog() {
  const platform::Hwnd existing = windows_.Newest(kFileInfoDialogClass);
  if (existing != 0) {
    windows_.Close(existing);
  }
  ++dialogsOpened_;
  const platform::Hwnd dialog = windows_.Open(kFileInfoDialogClass, kFileInfoDialogTitle);
  const std::u16string fields[] = {
      info_.artist + u" - " + info_.title + u".mp3",  // file name
      info_.title,
      info_.artist,
      info_.album,
      u"2003",
      u"",
      u"Pop",  // year, comment, genre
  };
  for (const auto& field : fields) {
    windows_.Open(u"Edit", field, dialog);
  }
}

}  // namespace tb::sim
