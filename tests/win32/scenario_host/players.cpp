#include "tests/win32/scenario_host/players.h"

#include <array>
#include <utility>

namespace tb::test {

struct Players::Shared {
  explicit Shared(WindowLedger& ledger) : ledger(ledger) {}

  WindowLedger& ledger;
  CriticalSection lock;
  scenario::FileInfo info;
  bool ignoreFileInfo = false;
  LONG dialogsOpened = 0;
};

namespace {

// The edit fields' control identifiers, in the dialog's order.
constexpr WORD kFirstFieldId = 1001;
constexpr WORD kEditClassAtom = 0x0081;

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The timer that turns a scrolling title.
constexpr UINT_PTR kScrollTimer = 1;

// What a player window knows of itself.
struct PlayerWindow {
  Players::Shared* shared = nullptr;
  WindowThread* thread = nullptr;
  bool winamp = false;
  // While the title scrolls: the title it scrolls, and how far it turned.
  bool scrolling = false;
  std::u16string ordinary;
  std::size_t turn = 0;
};

// An in-memory dialog template: a DLGTEMPLATE and its DLGITEMTEMPLATEs, each
// item aligned on a DWORD.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, const std::u16string& title, WORD items) {
    Dword(style);
    Dword(0);  // extended style
    Word(items);
    Rectangle(0, 0, 260, 140);
    Word(0);  // no menu
    Word(0);  // the dialog class
    Text(title);
  }

  void Edit(WORD id, short y, const std::u16string& text) {
    if (words_.size() % 2 != 0) {
      Word(0);
    }
    Dword(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL);
    Dword(0);
    Rectangle(10, y, 240, 14);
    Word(id);
    Word(0xFFFF);
    Word(kEditClassAtom);
    Text(text);
    Word(0);  // no creation data
  }

  [[nodiscard]] const DLGTEMPLATE* Get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
  }

 private:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Rectangle(short x, short y, short cx, short cy) {
    for (const short value : {x, y, cx, cy}) {
      Word(static_cast<WORD>(value));
    }
  }
  void Text(const std::u16string& text) {
    for (const char16_t unit : text) {
      Word(unit);
    }
    Word(0);
  }

  std::vector<WORD> words_;
};

INT_PTR CALLBACK FileInfoDialogProcedure(HWND dialog, UINT message, WPARAM wparam,
                                         LPARAM /*lparam*/) {
  switch (message) {
    case WM_INITDIALOG:
      return FALSE;  // leaves the focus where it is
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL) {
        DestroyWindow(dialog);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void OpenFileInfoDialog(const PlayerWindow& player) {
  Players::Shared& shared = *player.shared;
  scenario::FileInfo info;
  {
    const Hold hold(shared.lock);
    info = shared.info;
    if (shared.ignoreFileInfo) {
      return;
    }
  }
  // A dialog still open is closed first.
  const auto open = shared.ledger.Newest(kFileInfoDialogClass);
  if (open) {
    if (open->thread == player.thread) {
      DestroyWindow(open->window);
    } else {
      PostMessageW(open->window, WM_CLOSE, 0, 0);
    }
  }

  const std::array<std::u16string, 7> fields = {
      info.artist + u" - " + info.title + u".mp3",  // file name
      info.title,
      info.artist,
      info.album,
      u"2003",
      u"",
      u"Pop",  // year, comment, genre
  };
  // The dialog gets its title once its fields exist: one who looks for it
  // by title finds it whole, as on the simulated desktop.
  DialogTemplate dialogTemplate(WS_POPUP | WS_CAPTION | DS_MODALFRAME, u"",
                                static_cast<WORD>(fields.size()));
  for (std::size_t i = 0; i < fields.size(); ++i) {
    dialogTemplate.Edit(static_cast<WORD>(kFirstFieldId + i), static_cast<short>(5 + 18 * i),
                        fields[i]);
  }
  const HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(),
                                                 nullptr, FileInfoDialogProcedure, 0);
  if (dialog == nullptr) {
    return;
  }
  SetWindowTextW(dialog, Wide(kFileInfoDialogTitle));
  shared.ledger.Add(dialog, kFileInfoDialogClass, player.thread);
  ShowWindow(dialog, SW_SHOWNOACTIVATE);
  InterlockedIncrement(&shared.dialogsOpened);
}

LRESULT CALLBACK PlayerProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* player = reinterpret_cast<PlayerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  CountAltZero(window, message, wparam, lparam);
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      delete player;
      break;
    case WM_COMMAND:
      if (player != nullptr && player->winamp && wparam == kWinampFileInfoCommand) {
        OpenFileInfoDialog(*player);
      }
      return 0;
    case WM_TIMER:
      if (player != nullptr && player->scrolling && wparam == kScrollTimer) {
        ++player->turn;
        SetWindowTextW(window, Wide(sim::ScrolledTitle(player->ordinary, player->turn)));
      }
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      // A player does nothing with key strokes (nor opens its menu).
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// A window of this program's player class, or null.
PlayerWindow* PlayerOf(HWND window) {
  if (GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&PlayerProcedure)) {
    return nullptr;
  }
  return reinterpret_cast<PlayerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// On the new window's thread.
HWND CreatePlayerWindow(Players::Shared* shared, WindowThread* thread,
                        const std::u16string& className, const std::u16string& title) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  // A class that exists already, the system's dialog and control classes
  // among them, is used as it is.
  if (GetClassInfoExW(instance, Wide(className), &known) == FALSE) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PlayerProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = Wide(className);
    RegisterClassExW(&windowClass);
  }
  auto player = std::make_unique<PlayerWindow>(
      PlayerWindow{shared, thread, className == std::u16string(kWinampClass), false, {}, 0});
  const HWND window =
      CreateWindowExW(0, Wide(className), Wide(title), WS_OVERLAPPED | WS_CAPTION, CW_USEDEFAULT,
                      CW_USEDEFAULT, 300, 120, nullptr, nullptr, instance, player.get());
  if (window == nullptr) {
    return nullptr;
  }
  if (GetWindowLongPtrW(window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(player.get())) {
    static_cast<void>(player.release());  // the window owns it now
  }
  ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

}  // namespace

Players::Players(WindowLedger& ledger)
    : ledger_(ledger), shared_(std::make_unique<Shared>(ledger)) {}

Players::~Players() {
  while (!threads_.empty()) {
    threads_.pop_back();
  }
}

HWND Players::Open(const std::u16string& className, const std::u16string& title) {
  auto thread = std::make_unique<WindowThread>();
  if (!thread->Running()) {
    return nullptr;
  }
  WindowThread* owner = thread.get();
  Shared* shared = shared_.get();
  const auto made = std::make_shared<HWND>(nullptr);
  const bool ran = owner->Run([made, shared, owner, className, title] {
    *made = CreatePlayerWindow(shared, owner, className, title);
  });
  // The thread is kept even when the window did not come in time: the task
  // may still run.
  threads_.push_back(std::move(thread));
  if (!ran || *made == nullptr) {
    return nullptr;
  }
  ledger_.Add(*made, className, owner);
  return *made;
}

void Players::Retitle(HWND window, const std::u16string& title) {
  PlayerWindow* player = PlayerOf(window);
  if (player == nullptr || !player->scrolling) {
    SetWindowTextW(window, Wide(title));
    return;
  }
  player->ordinary = title;
  player->turn = 0;
  SetWindowTextW(window, Wide(sim::ScrolledTitle(title, 0)));
}

bool Players::Scroll(HWND window, bool scrolling) {
  PlayerWindow* player = PlayerOf(window);
  if (player == nullptr) {
    return false;
  }
  if (scrolling && !player->scrolling) {
    player->ordinary = TitleOf(window);
    player->turn = 0;
    player->scrolling = SetTimer(window, kScrollTimer, sim::kScrollTurnMs, nullptr) != 0;
    SetWindowTextW(window, Wide(sim::ScrolledTitle(player->ordinary, 0)));
    return player->scrolling;
  }
  if (!scrolling && player->scrolling) {
    KillTimer(window, kScrollTimer);
    player->scrolling = false;
    SetWindowTextW(window, Wide(player->ordinary));
  }
  return true;
}

void Players::SetFileInfo(const std::optional<scenario::FileInfo>& info) {
  const Hold hold(shared_->lock);
  shared_->ignoreFileInfo = !info;
  if (info) {
    shared_->info = *info;
  }
}

int Players::DialogsOpened() const {
  return InterlockedCompareExchange(&shared_->dialogsOpened, 0, 0);
}

}  // namespace tb::test
