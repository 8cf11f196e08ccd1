// The about box: the badge, the plug-in's name and version, the developer's
// details with three links, "OK" and "System Info", on white.
#include <algorithm>
#include <array>
#include <memory>

#include "common/artwork/artwork.h"
#include "common/win32/gdi.h"
#include "plugin/dialogs/frm_about.h"
#include "plugin/win32/dialogs/modal_view.h"
#include "plugin/win32/dialogs/win32_dialogs.h"

namespace tb::win32 {
namespace {

// The layout in pixels at 96 to the inch.
constexpr int kClientWidth = 384;
constexpr int kClientHeight = 270;
constexpr int kMargin = 22;
constexpr int kTextLeft = 102;
constexpr int kDetailsLeft = 38;
constexpr int kTitlePixels = 18;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kVersionColour = RGB(108, 108, 108);
constexpr COLORREF kTextColour = RGB(38, 38, 38);
constexpr COLORREF kLinkColour = RGB(0, 102, 204);

class AboutView final : public ModalView {
 public:
  explicit AboutView(FrmAbout& form) : form_(form) {}

 private:
  HWND OnInit() override;
  INT_PTR OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  HWND Add(const wchar_t* windowClass, const std::u16string& text, DWORD style, int id, int left,
           int top, int width, int height) const {
    return AddControl(windowClass, text, style, id, FromPixels(left), FromPixels(top),
                      FromPixels(width), FromPixels(height));
  }
  HWND AddLink(const std::u16string& text, int id, int top);
  HWND AddPicture(const Dib* picture, int id, int left, int top);
  void MakeFonts();

  void Show() const;
  void OnCommand(int id, int code);
  void OnTimer();
  void EndIfUnloaded() const;
  bool Paint(HDC dc) const;
  HBRUSH Colour(HDC dc, HWND control) const;
  [[nodiscard]] bool IsLink(HWND window) const;

  FrmAbout& form_;
  std::array<HWND, 3> links_{};  // e-mail, web site, personal line
  HWND title_ = nullptr;
  HWND version_ = nullptr;
  HWND infoLabel_ = nullptr;
  HWND developer_ = nullptr;
  Brush white_{CreateSolidBrush(kWhite)};
  Font titleFont_;
  Font boldFont_;
  Font linkFont_;
  std::unique_ptr<Dib> logo_;
  std::unique_ptr<Dib> levels_;
  bool timer_ = false;
};

void SetFont(HWND control, const Font& font) {
  if (control != nullptr && font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  }
}

void ShowText(HWND control, const std::u16string& text) {
  if (control != nullptr && ModalView::TextOf(control) != text) {
    SetWindowTextW(control, reinterpret_cast<const wchar_t*>(text.c_str()));
  }
}

void AboutView::MakeFonts() {
  LOGFONTW face{};
  if (GetObjectW(DialogFont(), sizeof face, &face) == 0) {
    return;
  }
  LOGFONTW bold = face;
  bold.lfWeight = FW_BOLD;
  boldFont_ = Font(CreateFontIndirectW(&bold));
  LOGFONTW title = bold;
  title.lfHeight = -FromPixels(kTitlePixels);
  title.lfQuality = ANTIALIASED_QUALITY;
  // A face that scales smoothly; the dialog's own is drawn from bitmaps.
  std::copy_n(L"Tahoma", 7, title.lfFaceName);
  titleFont_ = Font(CreateFontIndirectW(&title));
  LOGFONTW link = face;
  link.lfUnderline = TRUE;
  linkFont_ = Font(CreateFontIndirectW(&link));
}

HWND AboutView::AddPicture(const Dib* picture, int id, int left, int top) {
  const HWND control = Add(L"Static", u"", WS_VISIBLE | SS_BITMAP, id, left, top, 0, 0);
  if (control != nullptr && picture != nullptr) {
    SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture->Get()));
  }
  return control;
}

// A link is as wide as its words, so the hand shows over them only.
HWND AboutView::AddLink(const std::u16string& text, int id, int top) {
  const HWND control = Add(L"Static", text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_NOTIFY, id,
                           kDetailsLeft, top, kClientWidth - kDetailsLeft - kMargin, 16);
  SetFont(control, linkFont_);
  const HDC dc = GetDC(control);
  if (dc != nullptr) {
    const HGDIOBJ old = SelectObject(dc, linkFont_ ? linkFont_.Get() : DialogFont());
    SIZE extent{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()),
                          static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    RECT box;
    GetWindowRect(control, &box);
    if (extent.cx > 0 && extent.cx + 2 < box.right - box.left) {
      SetWindowPos(control, nullptr, 0, 0, extent.cx + 2, box.bottom - box.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  return control;
}

HWND AboutView::OnInit() {
  form_.window = reinterpret_cast<platform::Hwnd>(Dialog());
  SetClientSize(FromPixels(kClientWidth), FromPixels(kClientHeight));
  MakeFonts();
  logo_ = MakeBadge(art::kWhite);
  levels_ = MakeEqualizer(art::kWhite);

  AddPicture(logo_.get(), controls::kLogo, kMargin, 20);
  title_ = Add(L"Static", form_.title, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, controls::kTitle,
               kTextLeft, 24, 170, 26);
  SetFont(title_, titleFont_);
  version_ = Add(L"Static", form_.version, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, controls::kVersion,
                 kTextLeft + 1, 52, 170, 16);
  AddPicture(levels_.get(), controls::kLevels, kClientWidth - kMargin - art::kEqualizerWidth, 34);
  Add(L"Static", u"", WS_VISIBLE | SS_ETCHEDHORZ, controls::kRule, kMargin, 100,
      kClientWidth - 2 * kMargin, 2);
  infoLabel_ = Add(L"Static", u"Developer's info :", WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                   controls::kInfoLabel, kMargin, 114, 200, 16);
  SetFont(infoLabel_, boldFont_);
  developer_ =
      Add(L"Static", form_.developer, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, controls::kDeveloper,
          kDetailsLeft, 136, kClientWidth - kDetailsLeft - kMargin, 16);
  links_[0] = AddLink(form_.email, controls::kEmail, 155);
  links_[1] = AddLink(form_.site, controls::kSite, 174);
  links_[2] = AddLink(form_.developerLine, controls::kTagline, 193);
  Add(L"Button", u"System Info", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON,
      controls::kSystemInfo, 176, 232, 94, 26);
  const HWND ok = Add(L"Button", u"OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, controls::kOk,
                      280, 232, 82, 26);

  if (form_.timerEnabled) {
    timer_ = SetTimer(Dialog(), controls::kAboutTimer, kAboutTimerMs, nullptr) != 0;
  }
  Show();
  return ok;
}

void AboutView::Show() const {
  ShowText(Dialog(), form_.caption);
  ShowText(title_, form_.title);
  ShowText(version_, form_.version);
  ShowText(developer_, form_.developer);
  ShowText(links_[0], form_.email);
  ShowText(links_[1], form_.site);
  ShowText(links_[2], form_.developerLine);
}

void AboutView::EndIfUnloaded() const {
  if (form_.unloaded) {
    End();
  }
}

void AboutView::OnCommand(int id, int code) {
  // Buttons' and links' clicks (BN_CLICKED and STN_CLICKED are both 0), and Esc.
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case controls::kOk:
      form_.Ok();
      break;
    case controls::kSystemInfo:
      form_.StartSysInfo();
      break;
    case controls::kEmail:
      form_.OpenEmail();
      break;
    case controls::kSite:
    case controls::kTagline:
      form_.OpenSite();
      break;
    case IDCANCEL: {  // Esc, and the close box through WM_CLOSE
      constexpr int kEscape = 27;
      form_.KeyPress(kEscape);
      break;
    }
    default:
      return;
  }
  Show();
  EndIfUnloaded();
}

void AboutView::OnTimer() {
  form_.TimerElapsed();
  if (!form_.timerEnabled && timer_) {
    KillTimer(Dialog(), controls::kAboutTimer);
    timer_ = false;
  }
  Show();
  EndIfUnloaded();
}

bool AboutView::IsLink(HWND window) const {
  for (const HWND link : links_) {
    if (window != nullptr && window == link) {
      return true;
    }
  }
  return false;
}

bool AboutView::Paint(HDC dc) const {
  RECT client;
  GetClientRect(Dialog(), &client);
  FillRect(dc, &client, white_.Get());
  return true;
}

HBRUSH AboutView::Colour(HDC dc, HWND control) const {
  SetBkColor(dc, kWhite);
  if (IsLink(control)) {
    SetTextColor(dc, kLinkColour);
  } else if (control == title_) {
    const art::Rgb brand = art::BrandPalette().deep;
    SetTextColor(dc, RGB(brand.r, brand.g, brand.b));
  } else if (control == version_) {
    SetTextColor(dc, kVersionColour);
  } else {
    SetTextColor(dc, kTextColour);
  }
  return white_.Get();
}

INT_PTR AboutView::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return Answer(Paint(reinterpret_cast<HDC>(wparam)) ? TRUE : FALSE);
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(white_.Get());
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          Colour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)));
    case WM_CTLCOLORBTN:
      return reinterpret_cast<INT_PTR>(white_.Get());
    case WM_SETCURSOR:
      if (IsLink(reinterpret_cast<HWND>(wparam))) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        return Answer(TRUE);
      }
      return FALSE;
    case WM_TIMER:
      if (wparam == controls::kAboutTimer) {
        OnTimer();
      }
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_CLOSE:
      OnCommand(IDCANCEL, BN_CLICKED);
      return TRUE;
    case WM_DESTROY:
      if (timer_) {
        KillTimer(Dialog(), controls::kAboutTimer);
        timer_ = false;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool Win32Dialogs::ShowAbout(platform::Hwnd owner, FrmAbout& form) {
  AboutView view(form);
  return view.Run(static_cast<HINSTANCE>(instance_), reinterpret_cast<HWND>(owner), form.caption,
                  u"MS Sans Serif");  // as the options dialog
}

}  // namespace tb::win32
