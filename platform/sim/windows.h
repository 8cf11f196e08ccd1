// The simulated desktop's windows: top-level windows and their children with
// classes and titles, the foreground window, posted messages and keyboard
// input queued for the window that has the focus.
//
// A window class can be given behaviour (what its window procedure does with
// a posted message or a key stroke), which is how the players and the host
// are modelled. A window can be made to hang: sent messages then time out.
// A window's title can scroll as Winamp scrolls its title in the taskbar,
// turning on the virtual clock.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/keyboard.h"
#include "platform/sim/faults.h"
#include "platform/sim/timer.h"
#include "platform/windowing.h"

namespace tb::sim {

struct SimWindow {
  std::u16string className;
  std::u16string title;
  platform::Hwnd parent = 0;
  bool visible = true;
  bool hung = false;
  // What the window answers to WM_GETTEXTLENGTH when that is more than its
  // text: Windows lets a window answer any upper bound.
  std::optional<std::intptr_t> claimedTextLength;
  // While the title scrolls: the title it scrolls, and since when.
  struct Scroll {
    std::u16string ordinary;
    std::uint64_t since = 0;
  };
  std::optional<Scroll> scroll;
  // The Alt+0 key strokes the window has received, and whether Alt is down.
  int altZeroCount = 0;
  bool altDown = false;
};

// How often a scrolling title turns by one character.
inline constexpr std::uint32_t kScrollTurnMs = 300;

// A title as Winamp shows it scrolled in the taskbar: the title and " *** ",
// turned round by `turn` characters. The real desktop's player stand-in
// scrolls its title the same way.
inline std::u16string ScrolledTitle(const std::u16string& ordinary, std::size_t turn) {
  const std::u16string ring = ordinary + u" *** ";
  const std::size_t at = turn % ring.size();
  return ring.substr(at) + ring.substr(0, at);
}

class SimWindows final : public platform::Windows {
 public:
  using MessageHandler =
      std::function<void(platform::Hwnd, std::uint32_t, std::uintptr_t, std::intptr_t)>;
  using KeyHandler = std::function<void(platform::Hwnd, const platform::KeyInput&)>;

  SimWindows(Faults& faults, SimTimer& timer) : faults_(faults), timer_(timer) {}

  // The outside world's hand.
  platform::Hwnd Open(const std::u16string& className, const std::u16string& title,
                      platform::Hwnd parent = 0, bool visible = true);
  // Closes the window and its children.
  void Close(platform::Hwnd window);
  // Gives the window a new title; a scrolling one scrolls the new title
  // from its start.
  void Retitle(platform::Hwnd window, const std::u16string& title);
  // The title starts (or stops) scrolling: the title, " *** ", turned round
  // by one more character every kScrollTurnMs.
  void Scroll(platform::Hwnd window, bool scrolling);
  [[nodiscard]] SimWindow* Get(platform::Hwnd window);
  // The newest top-level window of the class, or 0.
  [[nodiscard]] platform::Hwnd Newest(const std::u16string& className) const;
  // The newest top-level window of the class with that title, or 0.
  [[nodiscard]] platform::Hwnd Lookup(const std::u16string& className,
                                      const std::u16string& title) const;
  [[nodiscard]] std::vector<platform::Hwnd> Children(platform::Hwnd parent) const;
  // Every open window, by handle.
  [[nodiscard]] const std::map<platform::Hwnd, SimWindow>& All() const { return windows_; }
  // The user brings a window to the front (0: none has the focus).
  void Focus(platform::Hwnd window) { foreground_ = window; }
  [[nodiscard]] platform::Hwnd Foreground() const { return foreground_; }
  // While locked, SetForegroundWindow changes nothing, as when Windows
  // refuses a program the focus.
  void LockForeground(bool locked) { foregroundLocked_ = locked; }

  // Behaviour of a window class.
  void OnMessage(const std::u16string& className, MessageHandler handler);
  void OnKey(const std::u16string& className, KeyHandler handler);

  // Keyboard input for the foreground window, delivered by DeliverQueued.
  void QueueInput(const platform::KeyInput& key);
  [[nodiscard]] bool InputPending() const { return !input_.empty(); }
  // Posted messages or input waiting for the window procedures.
  [[nodiscard]] bool MessagesPending() const { return !input_.empty() || !posted_.empty(); }
  // Runs the window procedures for posted messages and queued input.
  void DeliverQueued();

  platform::Hwnd FindWindow(const char16_t* className, const char16_t* title) override;
  platform::Hwnd FindWindowEx(platform::Hwnd parent, platform::Hwnd childAfter,
                              const char16_t* className, const char16_t* title) override;
  platform::SendResult SendMessageTimeout(platform::Hwnd window, std::uint32_t message,
                                          std::uintptr_t wparam, std::intptr_t lparam,
                                          std::uint32_t timeoutMs, std::intptr_t* result) override;
  bool PostMessage(platform::Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                   std::intptr_t lparam) override;
  int GetWindowText(platform::Hwnd window, char16_t* buffer, int maxCount) override;
  int GetClassName(platform::Hwnd window, char16_t* buffer, int maxCount) override;
  platform::Hwnd GetForegroundWindow() override;
  bool SetForegroundWindow(platform::Hwnd window) override;
  // The window's own thread takes the change: here, at once, hung or not.
  bool ShowWindowAsync(platform::Hwnd window, int command) override;
  bool BringWindowToTop(platform::Hwnd window) override;
  platform::Hwnd GetActiveWindow() override;

 private:
  struct Posted {
    platform::Hwnd window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
  };
  struct Input {
    platform::Hwnd window = 0;
    platform::KeyInput key;
  };

  // Brings every scrolling title to its turn at this moment.
  void TurnTitles();
  static void CountAltZero(SimWindow& window, const platform::KeyInput& key);
  [[nodiscard]] bool Matches(platform::Hwnd window, platform::Hwnd parent,
                             const char16_t* className, const char16_t* title) const;
  [[nodiscard]] platform::Hwnd NewestTopLevel(const char16_t* className,
                                              const char16_t* title) const;

  Faults& faults_;
  SimTimer& timer_;
  // Windows in the order they were opened (the front of the z-order last).
  std::map<platform::Hwnd, SimWindow> windows_;
  platform::Hwnd nextHandle_ = 0x10010;
  platform::Hwnd foreground_ = 0;
  bool foregroundLocked_ = false;
  std::map<std::u16string, MessageHandler> messageHandlers_;
  std::map<std::u16string, KeyHandler> keyHandlers_;
  std::deque<Posted> posted_;
  std::deque<Input> input_;
};

}  // namespace tb::sim
