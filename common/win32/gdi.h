// GDI objects that give themselves back, and the pictures of the dialogs as
// device-independent bitmaps.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/artwork/artwork.h"

namespace tb::win32 {

// A control's place on a form, in twips (15 make a pixel at 96 dots per
// inch): left, top, width, height.
struct Twips {
  int left;
  int top;
  int width;
  int height;
};

// A font, brush, pen or bitmap, deleted with its owner.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }

  [[nodiscard]] Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() {
    if (handle_ != nullptr) {
      DeleteObject(handle_);
      handle_ = nullptr;
    }
  }

 private:
  Handle handle_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;

// A memory device context with one object selected into it; both are put
// back as they were when it goes.
class MemoryDc {
 public:
  explicit MemoryDc(HGDIOBJ selected)
      : dc_(CreateCompatibleDC(nullptr)),
        old_(dc_ != nullptr ? SelectObject(dc_, selected) : nullptr) {}
  ~MemoryDc() {
    if (dc_ != nullptr) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  MemoryDc(MemoryDc&&) = delete;
  MemoryDc& operator=(MemoryDc&&) = delete;

  [[nodiscard]] HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A 24-bit top-down DIB section with a canvas over its pixels.
class Dib {
 public:
  // Null when the bitmap cannot be made.
  static std::unique_ptr<Dib> Make(int width, int height);
  ~Dib() = default;
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  Dib(Dib&&) = delete;
  Dib& operator=(Dib&&) = delete;

  [[nodiscard]] HBITMAP Get() const { return bitmap_.Get(); }
  [[nodiscard]] int Width() const { return canvas_.Width(); }
  [[nodiscard]] int Height() const { return canvas_.Height(); }
  art::Canvas& Surface() { return canvas_; }

  // Writes `text` in `words`' box, letter height and colour, in Tahoma,
  // from the box's left edge or centred in it.
  void Write(const art::Words& words, const std::u16string& text, bool centred = false);
  // Copies the whole picture to `dc` with its top-left corner at (x, y).
  void Draw(HDC dc, int x, int y) const;

 private:
  Dib(HBITMAP bitmap, void* bits, int width, int height)
      : bitmap_(bitmap),
        canvas_(static_cast<std::uint8_t*>(bits), width, height, art::Canvas::StrideOf(width)) {}

  GdiObject<HBITMAP> bitmap_;
  art::Canvas canvas_;
};

// The pictures, painted at first use; null when there is no memory for one.
std::unique_ptr<Dib> MakeBanner(PlayerChoice banner);
std::unique_ptr<Dib> MakeBadge(art::Rgb background);
std::unique_ptr<Dib> MakeEqualizer(art::Rgb background);

inline COLORREF ColorOf(art::Rgb colour) { return RGB(colour.r, colour.g, colour.b); }

}  // namespace tb::win32
