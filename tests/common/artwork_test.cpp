#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "common/artwork/artwork.h"
#include "common/artwork/canvas.h"

namespace tb::art {
namespace {

constexpr std::array<PlayerChoice, 3> kPlayers = {PlayerChoice::kWinamp, PlayerChoice::kMusicMatch,
                                                  PlayerChoice::kWindowsMedia};

// The extremes of brightness over a part of a canvas.
struct Range {
  double darkest = 255;
  double lightest = 0;
};

Range LumaOver(Canvas& canvas, Box box) {
  Range range;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const double luma = Luma(canvas.At(x, y));
      range.darkest = std::min(range.darkest, luma);
      range.lightest = std::max(range.lightest, luma);
    }
  }
  return range;
}

TEST(Canvas, KeepsRowsOfBlueGreenRedPaddedToFourBytes) {
  EXPECT_EQ(Canvas::StrideOf(1), 4);
  EXPECT_EQ(Canvas::StrideOf(4), 12);
  EXPECT_EQ(Canvas::StrideOf(497), 1492);
  std::array<std::uint8_t, 16> bits{};
  Canvas canvas(bits.data(), 2, 2, 8);
  canvas.Blend(1, 1, {10, 20, 30}, 1);
  EXPECT_EQ(bits[8 + 3], 30);
  EXPECT_EQ(bits[8 + 4], 20);
  EXPECT_EQ(bits[8 + 5], 10);
  EXPECT_EQ(canvas.At(1, 1), (Rgb{10, 20, 30}));
  canvas.Blend(2, 0, {1, 2, 3}, 1);
  canvas.Blend(-1, 0, {1, 2, 3}, 1);
  EXPECT_EQ(std::count(bits.begin(), bits.end(), 0), 13) << "nothing outside the canvas";
  EXPECT_EQ(canvas.At(5, 5), Rgb{}) << "outside reads as black";
}

TEST(Canvas, MixesAndBlends) {
  EXPECT_EQ(Mix({0, 100, 200}, {100, 200, 0}, 0.5), (Rgb{50, 150, 100}));
  EXPECT_EQ(Mix({0, 0, 0}, kWhite, -1), (Rgb{0, 0, 0}));
  EXPECT_EQ(Mix({0, 0, 0}, kWhite, 2), kWhite);
  EXPECT_DOUBLE_EQ(Luma(kWhite), 255);
  EXPECT_DOUBLE_EQ(Luma({0, 0, 0}), 0);
  Picture picture(3, 1);
  picture.Surface().FillAll({200, 0, 0});
  picture.Surface().Blend(0, 0, {0, 0, 200}, 0.25);
  EXPECT_EQ(picture.Surface().At(0, 0), (Rgb{150, 0, 50}));
}

TEST(Canvas, GradientRunsFromFirstToLastColumn) {
  Picture picture(11, 2);
  picture.Surface().HorizontalGradient({0, 0, 0}, {100, 200, 250});
  EXPECT_EQ(picture.Surface().At(0, 1), (Rgb{0, 0, 0}));
  EXPECT_EQ(picture.Surface().At(5, 0), (Rgb{50, 100, 125}));
  EXPECT_EQ(picture.Surface().At(10, 1), (Rgb{100, 200, 250}));
}

TEST(Canvas, FillsAShapeWithSoftEdgesInsideItsBounds) {
  Picture picture(40, 40);
  Canvas& canvas = picture.Surface();
  canvas.FillAll(kWhite);
  canvas.Fill(Circle({20, 20}, 10.5), Paint::Solid({0, 0, 0}), canvas.Bounds());
  EXPECT_EQ(canvas.At(20, 20), (Rgb{0, 0, 0})) << "inside";
  EXPECT_EQ(canvas.At(20, 12), (Rgb{0, 0, 0}));
  EXPECT_EQ(canvas.At(20, 32), kWhite) << "outside";
  EXPECT_EQ(canvas.At(2, 2), kWhite);
  // The pixel whose centre lies on the edge is half covered.
  const Rgb edge = canvas.At(30, 20);  // its centre (30.5, 20.5) is next to the edge
  EXPECT_NEAR(edge.r, 128, 5);
  EXPECT_EQ(edge.r, edge.b);

  canvas.Fill(RoundedRect(0, 0, 40, 40, 0), Paint::Solid({255, 0, 0}), {0, 0, 10, 5});
  EXPECT_EQ(canvas.At(9, 4), (Rgb{255, 0, 0}));
  EXPECT_EQ(canvas.At(10, 4), kWhite) << "only inside the bounds";
  EXPECT_EQ(canvas.At(9, 5), kWhite);
}

TEST(Canvas, PaintRunsDownFromTopToBottom) {
  const Paint paint = Paint::Vertical({0, 0, 0}, {200, 100, 0}, 10, 20);
  EXPECT_EQ(paint.At(5), (Rgb{0, 0, 0}));
  EXPECT_EQ(paint.At(15), (Rgb{100, 50, 0}));
  EXPECT_EQ(paint.At(30), (Rgb{200, 100, 0}));
}

TEST(Shapes, MeasureTheirDistanceInPixels) {
  EXPECT_DOUBLE_EQ(Circle({0, 0}, 5)(3, 4), 0);
  EXPECT_DOUBLE_EQ(Circle({0, 0}, 5)(0, 0), -5);
  const Shape box = RoundedRect(0, 0, 10, 10, 2);
  EXPECT_DOUBLE_EQ(box(5, 5), -5);
  EXPECT_DOUBLE_EQ(box(13, 5), 3);
  EXPECT_NEAR(box(0, 0), std::sqrt(8.0) - 2, 1e-9) << "a rounded corner";
  const Shape square = ConvexPolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_DOUBLE_EQ(square(5, 5), -5);
  EXPECT_DOUBLE_EQ(square(12, 5), 2);
  const Shape reversed = ConvexPolygon({{0, 10}, {10, 10}, {10, 0}, {0, 0}});
  EXPECT_DOUBLE_EQ(reversed(12, 5), 2) << "either order of the corners";
  EXPECT_NEAR(Ellipse({0, 0}, 4, 2, 0)(4, 0), 0, 1e-9);
  EXPECT_NEAR(Ellipse({0, 0}, 4, 2, 90)(0, 4), 0, 1e-9) << "turned a quarter";
  EXPECT_LT(Ellipse({0, 0}, 4, 2, 0)(0, 0), 0);
  EXPECT_DOUBLE_EQ(Ring({0, 0}, 10, 2)(10, 0), -1);
  EXPECT_DOUBLE_EQ(Ring({0, 0}, 10, 2)(0, 0), 9);
  const Shape a = Circle({0, 0}, 2);
  const Shape b = Circle({3, 0}, 2);
  EXPECT_LT(Union(a, b)(4, 0), 0);
  EXPECT_GT(Intersection(a, b)(-1, 0), 0);
  EXPECT_LT(Intersection(a, b)(1.5, 0), 0);
  EXPECT_GT(Difference(a, b)(1.5, 0), 0);
  EXPECT_LT(Difference(a, b)(-1, 0), 0);
}

TEST(PlayerChoice, EachPlayerHasItsOwnColoursAndTagline) {
  std::array<Rgb, 3> panels{};
  for (std::size_t i = 0; i < kPlayers.size(); ++i) {
    Picture picture(kBannerWidth, kBannerHeight);
    PaintBanner(picture.Surface(), kPlayers.at(i));
    panels.at(i) = picture.Surface().At(150, 45);
  }
  EXPECT_NE(panels[0], panels[1]);
  EXPECT_NE(panels[1], panels[2]);
  EXPECT_NE(panels[0], panels[2]);
  EXPECT_EQ(Tagline(PlayerChoice::kWinamp), u"Now playing from Winamp");
  EXPECT_EQ(Tagline(PlayerChoice::kMusicMatch), u"Now playing from MusicMatch");
  EXPECT_EQ(Tagline(PlayerChoice::kWindowsMedia), u"Now playing from Media Player");
  EXPECT_NE(PaletteOf(PlayerChoice::kWinamp).deep, PaletteOf(PlayerChoice::kNone).deep);
  EXPECT_EQ(PaletteOf(PlayerChoice::kNone).deep, BrandPalette().deep);
}

// Light words on the panel, dark words on the pale field: both must read.
TEST(PlayerChoice, KeepsItsWordsReadable) {
  for (const PlayerChoice banner : kPlayers) {
    Picture picture(kBannerWidth, kBannerHeight);
    Canvas& canvas = picture.Surface();
    PaintBanner(canvas, banner);
    for (const Words& words : {BannerName(banner), BannerTagline(banner)}) {
      const Range under = LumaOver(canvas, words.box);
      EXPECT_GT(Luma(words.colour) - under.lightest, 90)
          << "light words over the panel of banner " << static_cast<int>(banner);
      EXPECT_GT(words.box.right, words.box.left + 120) << "room for the words";
    }
    EXPECT_GT(LumaOver(canvas, kBannerLabelArea).darkest, 200)
        << "the dialog's label lies on a pale field, banner " << static_cast<int>(banner);
  }
}

TEST(PlayerChoice, CarriesTheBadgeAndABaseLine) {
  Picture picture(kBannerWidth, kBannerHeight);
  Canvas& canvas = picture.Surface();
  PaintBanner(canvas, PlayerChoice::kWindowsMedia);
  const Palette palette = PaletteOf(PlayerChoice::kWindowsMedia);
  // The white disc, left of the notes.
  EXPECT_GT(Luma(canvas.At(11, 30)), 235);
  // The notes in the player's colour, at the middle of the badge's left stem.
  EXPECT_LT(Luma(canvas.At(20, 28)), 140);
  const Rgb base = canvas.At(300, kBannerHeight - 1);
  EXPECT_LT(Luma(base), Luma(palette.tint) - 80);
}

TEST(Badge, IsARoundBrandMarkOnItsBackground) {
  Picture picture(kBadgeSize, kBadgeSize);
  Canvas& canvas = picture.Surface();
  const Rgb background{250, 250, 250};
  PaintBadge(canvas, background);
  EXPECT_EQ(canvas.At(0, 0), background);
  EXPECT_EQ(canvas.At(kBadgeSize - 1, 0), background);
  EXPECT_EQ(canvas.At(0, kBadgeSize - 1), background);
  // The disc, between its rim and the notes.
  EXPECT_LT(Luma(canvas.At(8, 31)), 160);
  // The notes in white.
  EXPECT_GT(Luma(canvas.At(22, 44)), 235);
}

TEST(Equalizer, StandsItsBarsOnTheBottom) {
  Picture picture(kEqualizerWidth, kEqualizerHeight);
  Canvas& canvas = picture.Surface();
  PaintEqualizer(canvas, kWhite);
  int bars = 0;
  bool inBar = false;
  for (int x = 0; x < kEqualizerWidth; ++x) {
    const bool dark = Luma(canvas.At(x, kEqualizerHeight - 5)) < 200;
    bars += dark && !inBar ? 1 : 0;
    inBar = dark;
  }
  EXPECT_EQ(bars, 9);
  EXPECT_EQ(canvas.At(1, 1), kWhite) << "the first bar is short";
}

}  // namespace
}  // namespace tb::art
