#include "plugin/win32/dialogs/modal_view.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tb::win32 {
namespace {

constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | WS_CLIPSIBLINGS;
constexpr WORD kFontPoints = 8;

void Append(std::vector<WORD>& words, const std::u16string& text) {
  words.insert(words.end(), text.begin(), text.end());
  words.push_back(0);
}

// A DLGTEMPLATE with no controls: style, size 0, no menu, the standard
// class, the caption and the font. The dialog manager reads it as WORDs
// from a DWORD-aligned start, which a vector's storage is.
std::vector<WORD> DialogTemplate(const std::u16string& caption, const std::u16string& fontFace) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header{};
  header.style = kDialogStyle;
  static_assert(sizeof(DLGTEMPLATE) % sizeof(WORD) == 0);
  std::copy_n(reinterpret_cast<const WORD*>(&header), words.size(), words.begin());
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  Append(words, caption);
  words.push_back(kFontPoints);
  Append(words, fontFace);
  return words;
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) {
    return 96;
  }
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

bool ModalView::Run(HINSTANCE instance, HWND owner, const std::u16string& caption,
                    const std::u16string& fontFace) {
  owner_ = owner;
  dpi_ = ScreenDpi();
  const std::vector<WORD> dialogTemplate = DialogTemplate(caption, fontFace);
  const INT_PTR result =
      DialogBoxIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                              owner, &Procedure, reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  if (failure_) {
    std::rethrow_exception(failure_);
  }
  // -1 when the dialog could not be made, 0 for an owner that is no window.
  return result != -1 && result != 0;
}

INT_PTR CALLBACK ModalView::Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  ModalView* view = nullptr;
  if (message == WM_INITDIALOG) {
    view = reinterpret_cast<ModalView*>(lparam);
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    view->dialog_ = dialog;
  } else {
    view = reinterpret_cast<ModalView*>(GetWindowLongPtrW(dialog, DWLP_USER));
  }
  if (view == nullptr) {
    return FALSE;
  }
  try {
    if (message == WM_INITDIALOG) {
      const HWND focus = view->OnInit();
      if (focus != nullptr) {
        SetFocus(focus);
      }
      return FALSE;  // the focus is set
    }
    return view->OnMessage(message, wparam, lparam);
  } catch (...) {
    view->failure_ = std::current_exception();
    EndDialog(dialog, kEnded);
    return TRUE;
  }
}

INT_PTR ModalView::Answer(LRESULT result) const {
  SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, result);
  return TRUE;
}

void ModalView::SetClientSize(int width, int height) const {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_EXSTYLE)));
  const int outerWidth = frame.right - frame.left;
  const int outerHeight = frame.bottom - frame.top;

  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT around = work;
  if (owner_ != nullptr && IsWindowVisible(owner_) != FALSE && IsIconic(owner_) == FALSE) {
    GetWindowRect(owner_, &around);
  }
  int left = (around.left + around.right - outerWidth) / 2;
  int top = (around.top + around.bottom - outerHeight) / 2;
  left = std::max(static_cast<int>(work.left),
                  std::min(left, static_cast<int>(work.right) - outerWidth));
  top = std::max(static_cast<int>(work.top),
                 std::min(top, static_cast<int>(work.bottom) - outerHeight));
  SetWindowPos(dialog_, nullptr, left, top, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND ModalView::AddControl(const wchar_t* windowClass, const std::u16string& text, DWORD style,
                           int id, int left, int top, int width, int height) const {
  const HWND control = CreateWindowExW(
      0, windowClass, reinterpret_cast<const wchar_t*>(text.c_str()), WS_CHILD | style, left, top,
      width, height, dialog_, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog_, GWLP_HINSTANCE)), nullptr);
  if (control != nullptr) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
  }
  return control;
}

HFONT ModalView::DialogFont() const {
  return reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0));
}

std::u16string ModalView::TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) {
    return {};
  }
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

}  // namespace tb::win32
