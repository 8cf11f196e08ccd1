// The options dialog: the three players' option buttons, one template box per
// player (one shown at a time), "Save!!!" and "Help", over the chosen
// player's banner.
#include <array>
#include <memory>
#include <utility>

#include "common/artwork/artwork.h"
#include "common/win32/gdi.h"
#include "plugin/dialogs/frm_options.h"
#include "plugin/win32/dialogs/modal_view.h"
#include "plugin/win32/dialogs/win32_dialogs.h"

namespace tb::win32 {
namespace {

constexpr int kClientWidth = 6135;
constexpr int kClientHeight = 2325;
constexpr Twips kTemplateLabel{3360, 360, 2295, 495};
constexpr Twips kTextBox{0, 960, 6135, 495};
constexpr Twips kWinampOption{120, 1560, 2295, 255};
constexpr Twips kMusicMatchOption{120, 1800, 2415, 255};
constexpr Twips kWindowsMediaOption{120, 2040, 2295, 255};
constexpr Twips kSaveButton{4920, 1920, 1095, 375};
constexpr Twips kHelpButton{3960, 2080, 735, 195};

constexpr COLORREF kBackground = RGB(224, 224, 224);
constexpr COLORREF kLabelOnBanner = RGB(38, 42, 50);

constexpr DWORD kTextBoxStyle = WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;

constexpr std::size_t kPlayers = 3;

class OptionsView final : public ModalView {
 public:
  explicit OptionsView(FrmOptions& form) : form_(form) {}

 private:
  HWND OnInit() override;
  INT_PTR OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  HWND Add(const wchar_t* windowClass, const std::u16string& text, DWORD style, int id,
           Twips at) const {
    return AddControl(windowClass, text, style, id, FromTwips(at.left), FromTwips(at.top),
                      FromTwips(at.width), FromTwips(at.height));
  }

  // The form's fields into the controls, and the boxes' texts into the form.
  void Show();
  void Collect();
  // What the user did, handed to the form.
  void OnCommand(int id, int code);
  void OnClose();
  void EndIfUnloaded() const;

  bool Paint(HDC dc);
  HBRUSH LabelBrush(HDC dc);
  const Dib* BackdropOf(PlayerChoice banner);
  Brush& PatternOf(PlayerChoice banner);

  FrmOptions& form_;
  // The option buttons and the template boxes, in the form's order of
  // players: Winamp, MusicMatch, Windows Media Player.
  std::array<HWND, kPlayers> options_{};
  std::array<HWND, kPlayers> boxes_{};
  HWND label_ = nullptr;
  Brush background_{CreateSolidBrush(kBackground)};
  // One backdrop per player's banner (kNone has none), painted when first
  // shown, and a brush of it for the label that lies over the banner.
  std::array<std::unique_ptr<Dib>, 4> backdrops_;
  std::array<Brush, 4> patterns_;
  PlayerChoice shown_ = PlayerChoice::kNone;
};

// The player of the option button or template box at `index`.
PlayerChoice PlayerAt(std::size_t index) { return static_cast<PlayerChoice>(index + 1); }

std::size_t IndexOf(PlayerChoice banner) { return static_cast<std::size_t>(banner); }

// A multi-line edit control in a dialog closes the dialog on Esc: it posts
// WM_CLOSE, as the close box does. The dialog has no Cancel button, so its
// template boxes let Esc go by; the control's own procedure is kept in its
// user data.
LRESULT CALLBACK TemplateBoxProcedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
  if ((message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) && wparam == VK_ESCAPE) {
    return 0;
  }
  const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(box, GWLP_USERDATA));
  return own != nullptr ? CallWindowProcW(own, box, message, wparam, lparam)
                        : DefWindowProcW(box, message, wparam, lparam);
}

void LetEscapeGoBy(HWND box) {
  if (box != nullptr) {
    SetWindowLongPtrW(box, GWLP_USERDATA, GetWindowLongPtrW(box, GWLP_WNDPROC));
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TemplateBoxProcedure));
  }
}

HWND OptionsView::OnInit() {
  form_.window = reinterpret_cast<platform::Hwnd>(Dialog());
  SetClientSize(FromTwips(kClientWidth), FromTwips(kClientHeight));

  // Made in the order of the form's tab indexes (7 to 15).
  const HWND save = Add(L"Button", u"Save!!!", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON,
                        controls::kSave, kSaveButton);
  label_ =
      Add(L"Static", u"Use This when playing a song (msgplus commands supported)",
          WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX, controls::kOptionsLabel, kTemplateLabel);
  options_[0] = Add(L"Button", u"Winamp", WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON,
                    controls::kWinamp, kWinampOption);
  options_[1] = Add(L"Button", u"MusicMatch", WS_VISIBLE | BS_AUTORADIOBUTTON,
                    controls::kMusicMatch, kMusicMatchOption);
  options_[2] = Add(L"Button", u"Windows Media Player", WS_VISIBLE | BS_AUTORADIOBUTTON,
                    controls::kWindowsMedia, kWindowsMediaOption);
  boxes_[1] = Add(L"Edit", u"", WS_GROUP | kTextBoxStyle, controls::kMusicMatchText, kTextBox);
  boxes_[0] = Add(L"Edit", u"", kTextBoxStyle, controls::kWinampText, kTextBox);
  boxes_[2] = Add(L"Edit", u"", kTextBoxStyle, controls::kMediaText, kTextBox);
  for (const HWND box : boxes_) {
    LetEscapeGoBy(box);
  }
  Add(L"Button", u"Help", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, controls::kHelp,
      kHelpButton);
  Show();
  return save;
}

void OptionsView::Show() {
  const bool anySelected = form_.selected != PlayerChoice::kNone;
  for (std::size_t i = 0; i < kPlayers; ++i) {
    const bool selected = form_.selected == PlayerAt(i);
    const TemplateBox& template_ = form_.templates.at(i);
    SendMessageW(options_.at(i), BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
    // Tab reaches the group at its selected button, or its first.
    const bool stop = selected || (!anySelected && i == 0);
    const LONG_PTR style = GetWindowLongPtrW(options_.at(i), GWL_STYLE);
    SetWindowLongPtrW(options_.at(i), GWL_STYLE, stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);

    const HWND box = boxes_.at(i);
    if (TextOf(box) != template_.text) {
      SetWindowTextW(box, reinterpret_cast<const wchar_t*>(template_.text.c_str()));
    }
    if ((IsWindowVisible(box) != FALSE) != template_.visible) {
      ShowWindow(box, template_.visible ? SW_SHOWNA : SW_HIDE);
    }
  }
  if (form_.banner != shown_) {
    shown_ = form_.banner;
    // The strip of the banner, and the label over it.
    RECT strip{0, 0, art::kBannerWidth, art::kBannerHeight};
    RedrawWindow(Dialog(), &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void OptionsView::Collect() {
  for (std::size_t i = 0; i < kPlayers; ++i) {
    form_.templates.at(i).text = TextOf(boxes_.at(i));
  }
}

void OptionsView::EndIfUnloaded() const {
  if (form_.unloaded) {
    End();
  }
}

void OptionsView::OnCommand(int id, int code) {
  // Clicks; the boxes' own notifications are not the form's.
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case controls::kWinamp:
    case controls::kMusicMatch:
    case controls::kWindowsMedia:
      Collect();
      form_.Choose(PlayerAt(static_cast<std::size_t>(id - controls::kWinamp)));
      break;
    case controls::kSave:
      Collect();  // the form stores what the boxes hold now
      form_.Save();
      break;
    case controls::kHelp:
      Collect();
      form_.Help();
      break;
    default:  // Esc among them: the dialog has no Cancel button
      return;
  }
  Show();
  EndIfUnloaded();
}

// The title bar's close box: the one way out without saving.
void OptionsView::OnClose() {
  Collect();
  form_.Close();
  Show();
  EndIfUnloaded();
}

// The whole client area as it looks behind the controls: the background
// with the banner over it, at the banner's own size from the corner (cut at
// the right edge).
const Dib* OptionsView::BackdropOf(PlayerChoice banner) {
  if (banner == PlayerChoice::kNone) {
    return nullptr;
  }
  std::unique_ptr<Dib>& slot = backdrops_.at(IndexOf(banner));
  if (!slot) {
    RECT client;
    GetClientRect(Dialog(), &client);
    const std::unique_ptr<Dib> picture = MakeBanner(banner);
    std::unique_ptr<Dib> backdrop = Dib::Make(client.right, client.bottom);
    const MemoryDc dc(backdrop ? backdrop->Get() : nullptr);
    if (picture && backdrop && dc.Get() != nullptr) {
      FillRect(dc.Get(), &client, background_.Get());
      picture->Draw(dc.Get(), 0, 0);
      GdiFlush();
      slot = std::move(backdrop);
    }
  }
  return slot.get();
}

Brush& OptionsView::PatternOf(PlayerChoice banner) {
  Brush& brush = patterns_.at(IndexOf(banner));
  const Dib* backdrop = BackdropOf(banner);
  if (!brush && backdrop != nullptr) {
    brush = Brush(CreatePatternBrush(backdrop->Get()));
  }
  return brush;
}

bool OptionsView::Paint(HDC dc) {
  if (const Dib* backdrop = BackdropOf(shown_)) {
    backdrop->Draw(dc, 0, 0);
  } else {
    RECT client;
    GetClientRect(Dialog(), &client);
    FillRect(dc, &client, background_.Get());
  }
  return true;
}

// The label lies on the banner: its background is the pixels behind it,
// through a brush of the backdrop laid from the dialog's corner.
HBRUSH OptionsView::LabelBrush(HDC dc) {
  Brush& pattern = PatternOf(shown_);
  if (!pattern) {
    SetBkColor(dc, kBackground);
    return background_.Get();
  }
  POINT corner{0, 0};
  MapWindowPoints(label_, Dialog(), &corner, 1);
  SetBrushOrgEx(dc, -corner.x, -corner.y, nullptr);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kLabelOnBanner);
  return pattern.Get();
}

INT_PTR OptionsView::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return Answer(Paint(reinterpret_cast<HDC>(wparam)) ? TRUE : FALSE);
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(background_.Get());
    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wparam);
      if (reinterpret_cast<HWND>(lparam) == label_) {
        return reinterpret_cast<INT_PTR>(LabelBrush(dc));
      }
      SetBkColor(dc, kBackground);
      return reinterpret_cast<INT_PTR>(background_.Get());
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool Win32Dialogs::ShowOptions(platform::Hwnd owner, FrmOptions& form) {
  OptionsView view(form);
  // The face the form was laid out for.
  return view.Run(static_cast<HINSTANCE>(instance_), reinterpret_cast<HWND>(owner), kOptionsCaption,
                  u"MS Sans Serif");
}

}  // namespace tb::win32
