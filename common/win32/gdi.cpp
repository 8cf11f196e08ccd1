#include "common/win32/gdi.h"

namespace tb::win32 {

std::unique_ptr<Dib> Dib::Make(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) {
      DeleteObject(bitmap);
    }
    return nullptr;
  }
  return std::unique_ptr<Dib>(new Dib(bitmap, bits, width, height));
}

void Dib::Write(const art::Words& words, const std::u16string& text, bool centred) {
  const Font font(CreateFontW(-words.pixelHeight, 0, 0, 0, words.bold ? FW_BOLD : FW_NORMAL, FALSE,
                              FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS,
                              L"Tahoma"));
  const MemoryDc dc(bitmap_.Get());
  if (dc.Get() == nullptr || !font) {
    return;
  }
  // The canvas and GDI take turns at the same pixels.
  GdiFlush();
  const HGDIOBJ oldFont = SelectObject(dc.Get(), font.Get());
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), ColorOf(words.colour));
  RECT box{words.box.left, words.box.top, words.box.right, words.box.bottom};
  DrawTextW(
      dc.Get(), reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &box,
      (centred ? DT_CENTER : DT_LEFT) | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc.Get(), oldFont);
  GdiFlush();
}

void Dib::Draw(HDC dc, int x, int y) const {
  const MemoryDc source(bitmap_.Get());
  if (source.Get() != nullptr) {
    BitBlt(dc, x, y, Width(), Height(), source.Get(), 0, 0, SRCCOPY);
  }
}

std::unique_ptr<Dib> MakeBanner(PlayerChoice banner) {
  std::unique_ptr<Dib> dib = Dib::Make(art::kBannerWidth, art::kBannerHeight);
  if (dib) {
    art::PaintBanner(dib->Surface(), banner);
    dib->Write(art::BannerName(banner), u"Tunebadge");
    dib->Write(art::BannerTagline(banner), art::Tagline(banner));
  }
  return dib;
}

std::unique_ptr<Dib> MakeBadge(art::Rgb background) {
  std::unique_ptr<Dib> dib = Dib::Make(art::kBadgeSize, art::kBadgeSize);
  if (dib) {
    art::PaintBadge(dib->Surface(), background);
  }
  return dib;
}

std::unique_ptr<Dib> MakeEqualizer(art::Rgb background) {
  std::unique_ptr<Dib> dib = Dib::Make(art::kEqualizerWidth, art::kEqualizerHeight);
  if (dib) {
    art::PaintEqualizer(dib->Surface(), background);
  }
  return dib;
}

}  // namespace tb::win32
