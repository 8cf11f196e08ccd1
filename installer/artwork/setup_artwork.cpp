#include "installer/artwork/setup_artwork.h"

namespace tb::art {
namespace {

constexpr Rgb kShadow{0, 0, 0};

}  // namespace

void PaintProgressStrip(Canvas& canvas, bool full) {
  const Palette brand = BrandPalette();
  const Box all = canvas.Bounds();
  const double width = canvas.Width();
  const double height = canvas.Height();
  const double radius = height / 2 - 1;
  canvas.FillAll(kSetupBackground);
  // The trough, sunk a little into the window.
  canvas.Fill(RoundedRect(0.5, 0.5, width - 0.5, height - 0.5, radius),
              Paint::Vertical(Mix(kSetupBackground, kShadow, 0.35),
                              Mix(kSetupBackground, kWhite, 0.6), 0, height),
              all);
  canvas.Fill(RoundedRect(1.5, 1.5, width - 1.5, height - 1.5, radius - 1),
              Paint::Vertical(Mix(kSetupBackground, kShadow, 0.12), kWhite, 0, height), all);
  if (!full) {
    return;
  }
  canvas.Fill(RoundedRect(2.5, 2.5, width - 2.5, height - 2.5, radius - 2),
              Paint::Vertical(brand.bright, brand.deep, 2, height - 2), all);
  // A gloss over the upper half of the bar.
  canvas.Fill(RoundedRect(4, 3.5, width - 4, height / 2, radius - 4), Paint::Solid(kWhite, 0.28),
              all);
}

void PaintPictureButton(Canvas& canvas) {
  const Palette brand = BrandPalette();
  const Box all = canvas.Bounds();
  const double width = canvas.Width();
  const double height = canvas.Height();
  canvas.FillAll(kSetupBackground);
  canvas.Fill(RoundedRect(0.5, 1.5, width - 0.5, height - 0.5, 5), Paint::Solid(kShadow, 0.25),
              all);
  canvas.Fill(RoundedRect(0.5, 0.5, width - 0.5, height - 1.5, 5),
              Paint::Vertical(Mix(brand.bright, kWhite, 0.25), brand.deep, 0, height), all);
  canvas.Fill(RoundedRect(2, 1.5, width - 2, height / 2, 4), Paint::Solid(kWhite, 0.22), all);
}

Words ButtonCaption() { return {{0, 3, kButtonWidth, kButtonHeight - 2}, 12, true, kWhite}; }

}  // namespace tb::art
