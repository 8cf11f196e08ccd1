// Tunebadge's pictures: the options dialog's banner, one per player, and the
// about box's logo and equalizer. The shapes are painted here; the words on a
// banner are left to the device, which has the fonts, at the places given.
#pragma once

#include <string>

#include "common/artwork/canvas.h"
#include "common/player_choice.h"

namespace tb::art {

inline constexpr int kBannerWidth = 497;
inline constexpr int kBannerHeight = 62;

// The colours of a banner: a deep and a bright shade, and a pale tint.
struct Palette {
  Rgb deep;
  Rgb bright;
  Rgb tint;
};

// Each player's colours; kNone gives Tunebadge's own.
Palette PaletteOf(PlayerChoice banner);
Palette BrandPalette();

// The second line of a banner, under the product's name.
std::u16string Tagline(PlayerChoice banner);

// A line of words on a picture: its box, the height of its letters in
// pixels, the weight and the colour.
struct Words {
  Box box;
  int pixelHeight = 0;
  bool bold = false;
  Rgb colour;
};

// The product's name and the tagline, on the banner's dark panel.
Words BannerName(PlayerChoice banner);
Words BannerTagline(PlayerChoice banner);

// The pale part of the banner that the options dialog lays its label over
// (3360, 360, 2295 x 495 twips at 96 dpi): dark words read there.
inline constexpr Box kBannerLabelArea{224, 24, 377, 57};

// Everything of a banner but its words, over the whole canvas.
void PaintBanner(Canvas& canvas, PlayerChoice banner);

// Two beamed quavers in a box of `size` pixels around `centre`: the mark on
// every badge.
Shape BeamedNotes(Point centre, double size);

// The product's logo, a round badge with the notes, on `background`.
inline constexpr int kBadgeSize = 64;
void PaintBadge(Canvas& canvas, Rgb background);

// A row of level bars, on `background`.
inline constexpr int kEqualizerWidth = 92;
inline constexpr int kEqualizerHeight = 40;
void PaintEqualizer(Canvas& canvas, Rgb background);

}  // namespace tb::art
