#include <gtest/gtest.h>

#include "platform/sim/desktop.h"

namespace tb {
namespace {

using platform::Hwnd;

TEST(SimWindows, FindsTheNewestTopLevelWindowAndChildrenInCreationOrder) {
  sim::SimDesktop desktop;
  auto& windows = desktop.windows;
  const Hwnd older = windows.Open(u"Winamp v1.x", u"old");
  const Hwnd newer = windows.Open(u"Winamp v1.x", u"new");
  EXPECT_EQ(windows.FindWindow(u"winamp V1.X", nullptr), newer) << "class names ignore case";
  EXPECT_EQ(windows.FindWindow(nullptr, u"old"), older);
  EXPECT_EQ(windows.FindWindow(u"Winamp v1.x", u"OLD"), 0U) << "titles do not";
  const Hwnd dialog = windows.Open(u"#32770", u"box");
  const Hwnd first = windows.Open(u"Edit", u"1", dialog);
  windows.Open(u"Static", u"label", dialog);
  const Hwnd second = windows.Open(u"Edit", u"2", dialog);
  EXPECT_EQ(windows.FindWindowEx(dialog, 0, u"Edit", nullptr), first);
  EXPECT_EQ(windows.FindWindowEx(dialog, first, u"Edit", nullptr), second);
  EXPECT_EQ(windows.FindWindowEx(dialog, second, u"Edit", nullptr), 0U);
  EXPECT_EQ(windows.FindWindow(u"Edit", nullptr), 0U) << "children are not top-level";
  windows.Close(dialog);
  EXPECT_EQ(windows.Get(first), nullptr) << "closing a window closes its children";
}

TEST(SimWindows, ReadsTextAsWindowsDoes) {
  sim::SimDesktop desktop;
  const Hwnd window = desktop.windows.Open(u"STUDIO", u"abcdef");
  std::intptr_t length = 0;
  ASSERT_EQ(
      desktop.windows.SendMessageTimeout(window, platform::kWmGetTextLength, 0, 0, 100, &length),
      platform::SendResult::kAnswered);
  EXPECT_EQ(length, 6);
  char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
  std::intptr_t copied = 0;
  desktop.windows.SendMessageTimeout(window, platform::kWmGetText, 4,
                                     reinterpret_cast<std::intptr_t>(buffer), 100, &copied);
  EXPECT_EQ(copied, 3) << "room for three characters and the NUL";
  EXPECT_EQ(std::u16string(buffer), u"abc");
  EXPECT_EQ(desktop.windows.GetWindowText(window, buffer, 4), 3);
  EXPECT_EQ(
      desktop.windows.SendMessageTimeout(0x999, platform::kWmGetTextLength, 0, 0, 100, &length),
      platform::SendResult::kFailed)
      << "no such window";
}

TEST(SimWindows, AHungWindowBlocksTheSenderForTheTimeoutAndRunsNoTimer) {
  sim::SimDesktop desktop;
  int ticks = 0;
  desktop.timer.SetTimer(50, [&] { ++ticks; });
  const Hwnd window = desktop.windows.Open(u"Winamp v1.x", u"song");
  desktop.windows.Get(window)->hung = true;
  std::intptr_t length = 0;
  EXPECT_EQ(
      desktop.windows.SendMessageTimeout(window, platform::kWmGetTextLength, 0, 0, 200, &length),
      platform::SendResult::kTimedOut);
  EXPECT_EQ(desktop.timer.Now(), 200U);
  EXPECT_EQ(ticks, 0) << "a blocked thread dispatches nothing";
  desktop.messagePump.DispatchPending();
  EXPECT_EQ(ticks, 1) << "the late timer fires once when the thread dispatches";
}

TEST(SimWindows, PostedMessagesAndKeysWaitForTheNextDispatch) {
  sim::SimDesktop desktop;
  int posted = 0;
  std::vector<std::uint16_t> keys;
  desktop.windows.OnMessage(u"Player",
                            [&](Hwnd, std::uint32_t, std::uintptr_t, std::intptr_t) { ++posted; });
  desktop.windows.OnKey(
      u"Editor", [&](Hwnd, const platform::KeyInput& key) { keys.push_back(key.virtualKey); });
  const Hwnd player = desktop.windows.Open(u"Player", u"");
  desktop.windows.Focus(desktop.windows.Open(u"Editor", u""));
  desktop.windows.PostMessage(player, platform::kWmCommand, 1, 0);
  EXPECT_EQ(desktop.keyboard.SendInput({{0x41, false}, {0x41, true}}), 2U);
  EXPECT_EQ(posted, 0);
  EXPECT_TRUE(desktop.messagePump.InputPending());
  desktop.messagePump.WaitForMessage(500);
  EXPECT_EQ(desktop.timer.Now(), 0U) << "a waiting message ends the wait at once";
  desktop.messagePump.DispatchPending();
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(keys.size(), 2U);
  EXPECT_FALSE(desktop.messagePump.InputPending());
}

TEST(SimWindows, TheFocusMovesOnlyWhenWindowsAllowsIt) {
  sim::SimDesktop desktop;
  auto& windows = desktop.windows;
  const Hwnd a = windows.Open(u"A", u"");
  const Hwnd b = windows.Open(u"B", u"", 0, false);
  EXPECT_TRUE(windows.SetForegroundWindow(b));
  EXPECT_EQ(windows.GetForegroundWindow(), b);
  EXPECT_FALSE(windows.Get(b)->visible) << "activating a window does not show it";
  windows.ShowWindowAsync(b, platform::kSwShowNormal);
  windows.ShowWindowAsync(b, platform::kSwHide);
  EXPECT_EQ(windows.GetForegroundWindow(), 0U) << "hiding the foreground window leaves none";
  windows.LockForeground(true);
  EXPECT_FALSE(windows.SetForegroundWindow(a));
  EXPECT_EQ(windows.GetForegroundWindow(), 0U);
  EXPECT_FALSE(windows.SetForegroundWindow(0x999)) << "no such window";
}

TEST(SimWindows, ShowWindowAsyncPassesTheChangeOnEvenToAHungWindow) {
  sim::SimDesktop desktop;
  auto& windows = desktop.windows;
  const Hwnd hung = windows.Open(u"IMWindowClass", u"Debug.Window - Conversation");
  windows.Get(hung)->hung = true;
  windows.Focus(hung);
  const auto before = desktop.timer.Now();
  EXPECT_TRUE(windows.ShowWindowAsync(hung, platform::kSwHide));
  EXPECT_EQ(desktop.timer.Now(), before) << "the caller does not wait";
  EXPECT_FALSE(windows.Get(hung)->visible);
  EXPECT_EQ(windows.GetForegroundWindow(), 0U);
  EXPECT_FALSE(windows.ShowWindowAsync(0x999, platform::kSwHide)) << "no such window";
}

}  // namespace
}  // namespace tb
