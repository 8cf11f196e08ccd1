// What the two dialogs share: a modal dialog from a template made in memory,
// with no controls of its own, sized and filled in by its view when it opens.
// The view is the dialog procedure's object; nothing a form's handler throws
// crosses the dialog manager: it ends the dialog and reaches Run's caller.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace tb::win32 {

class ModalView {
 public:
  virtual ~ModalView() = default;
  ModalView(const ModalView&) = delete;
  ModalView& operator=(const ModalView&) = delete;
  ModalView(ModalView&&) = delete;
  ModalView& operator=(ModalView&&) = delete;

  // Shows the dialog over `owner`, its controls in `fontFace` at 8 points,
  // until the view ends it. Returns false when the dialog could not be shown
  // (the form stays as it was).
  bool Run(HINSTANCE instance, HWND owner, const std::u16string& caption,
           const std::u16string& fontFace);

  // A window's text.
  static std::u16string TextOf(HWND window);

 protected:
  static constexpr INT_PTR kEnded = 1;

  ModalView() = default;

  // The dialog exists, without controls; the view makes them and sets the
  // client size. Answers the control to have the focus.
  virtual HWND OnInit() = 0;
  // Every later message, as a dialog procedure answers it.
  virtual INT_PTR OnMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;

  [[nodiscard]] HWND Dialog() const { return dialog_; }
  // Ends the modal loop once the current message is done.
  void End() const { EndDialog(dialog_, kEnded); }
  // Answers a message whose result goes through DWLP_MSGRESULT.
  INT_PTR Answer(LRESULT result) const;

  // Lengths from the system's pixels per inch: twips (1440 to the inch),
  // and pixels as laid out at 96 to the inch.
  [[nodiscard]] int FromTwips(int twips) const { return MulDiv(twips, dpi_, 1440); }
  [[nodiscard]] int FromPixels(int pixels) const { return MulDiv(pixels, dpi_, 96); }

  // Makes the client area width x height pixels and centres the dialog over
  // its owner (or the work area), inside the work area.
  void SetClientSize(int width, int height) const;
  // A child control in the dialog's font, at pixel position and size; the
  // controls take the tab order they are made in.
  HWND AddControl(const wchar_t* windowClass, const std::u16string& text, DWORD style, int id,
                  int left, int top, int width, int height) const;
  // The dialog's font, as Run was given it.
  [[nodiscard]] HFONT DialogFont() const;

 private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

  HWND dialog_ = nullptr;
  HWND owner_ = nullptr;
  int dpi_ = 96;
  std::exception_ptr failure_;
};

}  // namespace tb::win32
