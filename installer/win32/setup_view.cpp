#include "installer/win32/setup_view.h"

#include <array>
#include <memory>
#include <type_traits>

#include "common/win32/gdi.h"
#include "installer/artwork/setup_artwork.h"
#include "installer/win32/setup_controls.h"

namespace tb::setup {
namespace {

using win32::Brush;
using win32::Dib;
using win32::Font;
using win32::Twips;

constexpr int kClientWidth = 7425;
constexpr int kClientHeight = 4185;
constexpr Twips kProgressStrip{360, 1320, 6750, 270};
constexpr std::array<Twips, 3> kOptions = {{
    {1680, 1920, 2895, 255},
    {1680, 2280, 2895, 255},
    {1680, 2640, 2895, 255},
}};
constexpr std::array<const char16_t*, 3> kOptionCaptions = {u"Winamp", u"MusicMatch Jukebox",
                                                            u"Windows Media Player"};
constexpr Twips kPlayerHintLabel{1680, 3000, 4575, 255};
constexpr POINT kLineFrom{1200, 3480};
constexpr POINT kLineTo{7320, 3480};
constexpr Twips kUninstallButton{3480, 3720, 1095, 315};
constexpr Twips kInstallButton{4800, 3720, 1095, 315};
constexpr Twips kCancelButton{6120, 3720, 1095, 315};

constexpr COLORREF kBackground = RGB(224, 224, 224);
constexpr COLORREF kLineColour = RGB(128, 128, 128);

const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) {
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi : 96;
}

std::unique_ptr<Dib> MakeButton(const char16_t* caption) {
  std::unique_ptr<Dib> dib = Dib::Make(art::kButtonWidth, art::kButtonHeight);
  if (dib) {
    art::PaintPictureButton(dib->Surface());
    dib->Write(art::ButtonCaption(), caption, true);
  }
  return dib;
}

// The plug-in's own banner, telling the user to press Install.
std::unique_ptr<Dib> MakeSetupBanner() {
  std::unique_ptr<Dib> dib = Dib::Make(art::kBannerWidth, art::kBannerHeight);
  if (dib) {
    art::PaintBanner(dib->Surface(), PlayerChoice::kNone);
    dib->Write(art::BannerName(PlayerChoice::kNone), u"Tunebadge");
    dib->Write(art::BannerTagline(PlayerChoice::kNone), art::kSetupTagline);
  }
  return dib;
}

std::unique_ptr<Dib> MakeStrip(bool full) {
  std::unique_ptr<Dib> dib = Dib::Make(art::kStripWidth, art::kStripHeight);
  if (dib) {
    art::PaintProgressStrip(dib->Surface(), full);
  }
  return dib;
}

// The window's icon: the product's badge, painted in code.
HICON MakeIcon() {
  const std::unique_ptr<Dib> badge = win32::MakeBadge(art::kSetupBackground);
  if (!badge) {
    return nullptr;
  }
  // An all-zero mask: every pixel of the picture is shown.
  const std::array<BYTE, art::kBadgeSize * art::kBadgeSize / 8> maskBits{};
  const win32::GdiObject<HBITMAP> mask(
      CreateBitmap(art::kBadgeSize, art::kBadgeSize, 1, 1, maskBits.data()));
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask.Get();
  info.hbmColor = badge->Get();
  return mask ? CreateIconIndirect(&info) : nullptr;
}

class SetupWindow {
 public:
  explicit SetupWindow(FrmSetup& form) : form_(form) {}

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCreate();
  void OnCommand(int id, int code);
  void Paint(HDC dc) const;
  void ShowStrip() const;
  void EndIfUnloaded() const;
  [[nodiscard]] int FromTwips(int twips) const { return MulDiv(twips, dpi_, 1440); }
  HWND Add(const wchar_t* windowClass, const char16_t* text, DWORD style, int id, Twips at) const;
  HWND AddPicture(const Dib* picture, int id, Twips at) const;

  FrmSetup& form_;
  HWND window_ = nullptr;
  int dpi_ = ScreenDpi();
  Brush background_{CreateSolidBrush(kBackground)};
  Font font_;
  std::unique_ptr<Dib> banner_ = MakeSetupBanner();
  std::unique_ptr<Dib> emptyStrip_ = MakeStrip(false);  // Image2
  std::unique_ptr<Dib> fullStrip_ = MakeStrip(true);    // Image1
  std::unique_ptr<Dib> uninstall_ = MakeButton(u"unInstall");
  std::unique_ptr<Dib> install_ = MakeButton(u"Install");
  std::unique_ptr<Dib> cancel_ = MakeButton(u"Cancel");
  std::array<HWND, 3> options_{};
  HWND strip_ = nullptr;

  friend int tb::setup::RunSetupWindow(HINSTANCE instance, FrmSetup& form);
};

HWND SetupWindow::Add(const wchar_t* windowClass, const char16_t* text, DWORD style, int id,
                      Twips at) const {
  HWND control = CreateWindowExW(
      0, windowClass, Wide(text), WS_CHILD | WS_VISIBLE | style, FromTwips(at.left),
      FromTwips(at.top), FromTwips(at.width), FromTwips(at.height), window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (control != nullptr && font_) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  }
  return control;
}

HWND SetupWindow::AddPicture(const Dib* picture, int id, Twips at) const {
  // A plain picture that reports a click (SS_NOTIFY): no pressed state.
  HWND control = Add(L"STATIC", u"", SS_BITMAP | SS_NOTIFY, id, at);
  if (control != nullptr && picture != nullptr) {
    SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture->Get()));
  }
  return control;
}

void SetupWindow::OnCreate() {
  font_ = Font(CreateFontW(-MulDiv(8, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
  strip_ = AddPicture(emptyStrip_.get(), controls::kProgress, kProgressStrip);
  for (std::size_t i = 0; i < options_.size(); ++i) {
    options_.at(i) = Add(L"BUTTON", kOptionCaptions.at(i),
                         BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0U),
                         controls::kWinamp + static_cast<int>(i), kOptions.at(i));
  }
  Add(L"STATIC", kPlayerHint, SS_LEFT, controls::kPlayerHint, kPlayerHintLabel);
  AddPicture(uninstall_.get(), controls::kUninstall, kUninstallButton);
  AddPicture(install_.get(), controls::kInstall, kInstallButton);
  AddPicture(cancel_.get(), controls::kCancel, kCancelButton);
  form_.progressChanged = [this] { ShowStrip(); };
}

void SetupWindow::ShowStrip() const {
  const Dib* picture = form_.progressFull ? fullStrip_.get() : emptyStrip_.get();
  if (strip_ != nullptr && picture != nullptr) {
    SendMessageW(strip_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture->Get()));
    UpdateWindow(strip_);
  }
}

void SetupWindow::EndIfUnloaded() const {
  if (form_.unloaded) {
    DestroyWindow(window_);
  }
}

void SetupWindow::OnCommand(int id, int code) {
  if (id >= controls::kWinamp && id <= controls::kWindowsMedia && code == BN_CLICKED) {
    form_.selected = PlayerChoice::kNone;
    for (std::size_t i = 0; i < options_.size(); ++i) {
      if (SendMessageW(options_.at(i), BM_GETCHECK, 0, 0) == BST_CHECKED) {
        form_.selected = static_cast<PlayerChoice>(i + 1);
      }
    }
    return;
  }
  if (code != STN_CLICKED) {
    return;
  }
  switch (id) {
    case controls::kInstall:
      form_.Install();
      break;
    case controls::kUninstall:
      form_.Uninstall();
      break;
    case controls::kCancel:
      form_.Cancel();
      break;
    default:
      return;
  }
  EndIfUnloaded();
}

void SetupWindow::Paint(HDC dc) const {
  if (banner_) {
    banner_->Draw(dc, 0, 0);
  }
  const win32::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, kLineColour));
  const HGDIOBJ old = SelectObject(dc, pen.Get());
  MoveToEx(dc, FromTwips(kLineFrom.x), FromTwips(kLineFrom.y), nullptr);
  LineTo(dc, FromTwips(kLineTo.x), FromTwips(kLineTo.y));
  SelectObject(dc, old);
}

LRESULT SetupWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, background_.Get());
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window_, &paint);
      if (dc != nullptr) {
        Paint(dc);
      }
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), kBackground);
      return reinterpret_cast<LRESULT>(background_.Get());
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_CLOSE:
      form_.Cancel();
      EndIfUnloaded();
      return 0;
    case WM_DESTROY:
      form_.progressChanged = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

LRESULT CALLBACK SetupWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<SetupWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<SetupWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) {
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return self->OnMessage(message, wparam, lparam);
}

}  // namespace

int RunSetupWindow(HINSTANCE instance, FrmSetup& form) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = SetupWindow::Procedure;
  windowClass.hInstance = instance;
  // Destroyed once the window is gone.
  const std::unique_ptr<std::remove_pointer_t<HICON>, decltype(&DestroyIcon)> icon(MakeIcon(),
                                                                                   &DestroyIcon);
  windowClass.hIcon = icon.get();
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = controls::kWindowClass;
  if (RegisterClassExW(&windowClass) == 0) {
    return 1;
  }
  SetupWindow view(form);
  // A fixed frame: the layout is made for this size.
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, view.FromTwips(kClientWidth), view.FromTwips(kClientHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  HWND window = CreateWindowExW(0, controls::kWindowClass, Wide(kSetupCaption), kStyle,
                                CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, &view);
  if (window == nullptr) {
    return 1;
  }
  form.window = reinterpret_cast<platform::Hwnd>(window);
  // The warning comes before the window can be used.
  form.Load();
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message) == FALSE) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return static_cast<int>(message.wParam);
}

}  // namespace tb::setup
