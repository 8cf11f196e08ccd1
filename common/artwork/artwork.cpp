#include "common/artwork/artwork.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tb::art {
namespace {

constexpr double kWidth = kBannerWidth;
constexpr double kHeight = kBannerHeight;
// The dark panel's slanted right edge, at the top and at the bottom.
constexpr double kPanelTop = 222;
constexpr double kPanelBottom = 206;
constexpr double kEdge = 4;
// The badge on the panel.
constexpr Point kBannerBadge{23, 30};
constexpr double kBannerBadgeRadius = 17;
// The sound waves at the right, within the part of the banner that shows.
constexpr Point kWaveSource{388, 31};

constexpr Rgb kShadow{20, 24, 32};

}  // namespace

Palette PaletteOf(PlayerChoice banner) {
  switch (banner) {
    case PlayerChoice::kWinamp:
      return {{176, 64, 6}, {240, 138, 28}, {253, 241, 228}};
    case PlayerChoice::kMusicMatch:
      return {{84, 38, 140}, {150, 98, 214}, {243, 237, 251}};
    case PlayerChoice::kWindowsMedia:
      return {{16, 74, 150}, {52, 146, 222}, {232, 242, 252}};
    case PlayerChoice::kNone:
      break;
  }
  return BrandPalette();
}

Palette BrandPalette() { return {{22, 92, 128}, {32, 170, 196}, {229, 245, 248}}; }

std::u16string Tagline(PlayerChoice banner) {
  switch (banner) {
    case PlayerChoice::kWinamp:
      return u"Now playing from Winamp";
    case PlayerChoice::kMusicMatch:
      return u"Now playing from MusicMatch";
    case PlayerChoice::kWindowsMedia:
      return u"Now playing from Media Player";
    case PlayerChoice::kNone:
      break;
  }
  return u"Your music in your name";
}

// Both end short of the panel's slanted edge.
Words BannerName(PlayerChoice banner) {
  const Box box{46, 5, static_cast<int>(kPanelBottom), 32};
  return {box, 23, true, Mix(kWhite, PaletteOf(banner).tint, 0.1)};
}

Words BannerTagline(PlayerChoice banner) {
  const Box box{47, 34, static_cast<int>(kPanelBottom) + 3, 50};
  return {box, 11, false, Mix(kWhite, PaletteOf(banner).tint, 0.6)};
}

Shape BeamedNotes(Point centre, double size) {
  // Drawn in a unit box around the centre, then scaled.
  const auto at = [&](double x, double y) {
    return Point{centre.x + x * size, centre.y + y * size};
  };
  constexpr double kHeadRx = 0.165;
  constexpr double kHeadRy = 0.118;
  constexpr double kTilt = -22;
  constexpr double kStem = 0.075;
  const Point head1 = at(-0.22, 0.27);
  const Point head2 = at(0.24, 0.19);
  // Each stem rises from the right of its head.
  const double stem1Right = -0.22 + 0.145;
  const double stem2Right = 0.24 + 0.145;
  Shape notes = Union(Ellipse(head1, kHeadRx * size, kHeadRy * size, kTilt),
                      Ellipse(head2, kHeadRx * size, kHeadRy * size, kTilt));
  const Point s1a = at(stem1Right - kStem, -0.33);
  const Point s1b = at(stem1Right, 0.26);
  const Point s2a = at(stem2Right - kStem, -0.41);
  const Point s2b = at(stem2Right, 0.18);
  notes = Union(notes, RoundedRect(s1a.x, s1a.y, s1b.x, s1b.y, 0));
  notes = Union(notes, RoundedRect(s2a.x, s2a.y, s2b.x, s2b.y, 0));
  constexpr double kBeam = 0.15;
  notes = Union(
      notes, ConvexPolygon({at(stem1Right - kStem, -0.36), at(stem2Right, -0.44),
                            at(stem2Right, -0.44 + kBeam), at(stem1Right - kStem, -0.36 + kBeam)}));
  return notes;
}

void PaintBanner(Canvas& canvas, PlayerChoice banner) {
  const Palette palette = PaletteOf(banner);
  const Box all = canvas.Bounds();

  // The pale field, lightening to the right.
  canvas.HorizontalGradient(palette.tint, Mix(palette.tint, kWhite, 0.75));

  // The dark panel that carries the name, with a bright edge.
  canvas.Fill(ConvexPolygon({{0, 0}, {kPanelTop, 0}, {kPanelBottom, kHeight}, {0, kHeight}}),
              Paint::Vertical(Mix(palette.deep, palette.bright, 0.35), palette.deep, 0, kHeight),
              all);
  canvas.Fill(ConvexPolygon({{kPanelTop, 0},
                             {kPanelTop + kEdge, 0},
                             {kPanelBottom + kEdge, kHeight},
                             {kPanelBottom, kHeight}}),
              Paint::Solid(palette.bright, 0.6), all);
  // A soft sheen over the panel's upper half.
  canvas.Fill(
      Intersection(Ellipse({90, -40}, 170, 62, 0),
                   ConvexPolygon({{0, 0}, {kPanelTop, 0}, {kPanelBottom, kHeight}, {0, kHeight}})),
      Paint::Solid(kWhite, 0.08), all);

  // The badge: a white disc with the notes, lifted by a shadow.
  const Point badge = kBannerBadge;
  const double r = kBannerBadgeRadius;
  canvas.Fill(Circle({badge.x, badge.y + 1.5}, r + 0.5), Paint::Solid(kShadow, 0.3), all);
  canvas.Fill(Circle(badge, r), Paint::Vertical(kWhite, palette.tint, badge.y - r, badge.y + r),
              all);
  canvas.Fill(Ring(badge, r - 3, 1.1), Paint::Solid(palette.bright, 0.45), all);
  canvas.Fill(BeamedNotes({badge.x - 0.5, badge.y + 0.5}, r * 1.25),
              Paint::Vertical(palette.bright, palette.deep, badge.y - r * 0.6, badge.y + r * 0.6),
              all);

  // Sound going out, right of the dialog's label.
  const Point source = kWaveSource;
  canvas.Fill(Circle(source, 3.2), Paint::Solid(palette.deep, 0.75), all);
  const Shape wedge =
      ConvexPolygon({source, {source.x + 40, source.y - 46}, {source.x + 40, source.y + 46}});
  for (int i = 1; i <= 3; ++i) {
    canvas.Fill(Intersection(Ring(source, 3.5 + 6.0 * i, 2.2), wedge),
                Paint::Solid(palette.deep, 0.7 - 0.15 * i), all);
  }

  // A firm base line over the dialog's template box.
  canvas.Fill(RoundedRect(0, kHeight - 2, kWidth, kHeight, 0), Paint::Solid(palette.deep, 0.9),
              all);
}

void PaintBadge(Canvas& canvas, Rgb background) {
  const Palette brand = BrandPalette();
  const Box all = canvas.Bounds();
  canvas.FillAll(background);
  const double size = std::min(canvas.Width(), canvas.Height());
  const Point centre{size / 2, size / 2 - 1};
  const double r = size / 2 - 3;
  canvas.Fill(Circle({centre.x, centre.y + 2}, r + 0.5), Paint::Solid(kShadow, 0.12), all);
  canvas.Fill(Circle({centre.x, centre.y + 1}, r), Paint::Solid(kShadow, 0.15), all);
  canvas.Fill(Circle(centre, r),
              Paint::Vertical(brand.bright, brand.deep, centre.y - r, centre.y + r), all);
  canvas.Fill(Ring(centre, r - 4, 1.4), Paint::Solid(kWhite, 0.4), all);
  canvas.Fill(BeamedNotes({centre.x - 0.5, centre.y + 0.5}, r * 1.2), Paint::Solid(kWhite), all);
}

void PaintEqualizer(Canvas& canvas, Rgb background) {
  const Palette brand = BrandPalette();
  const Box all = canvas.Bounds();
  canvas.FillAll(background);
  constexpr std::array<double, 9> kLevels = {0.35, 0.6, 0.9, 0.55, 0.78, 1.0, 0.66, 0.42, 0.72};
  const double height = canvas.Height();
  const double pitch = static_cast<double>(canvas.Width()) / kLevels.size();
  const double bar = pitch * 0.62;
  for (std::size_t i = 0; i < kLevels.size(); ++i) {
    const double left = static_cast<double>(i) * pitch + (pitch - bar) / 2;
    const double top = height * (1 - kLevels.at(i)) + 1;
    canvas.Fill(RoundedRect(left, top, left + bar, height - 1, bar / 2),
                Paint::Vertical(brand.bright, brand.deep, 0, height), all);
  }
}

}  // namespace tb::art
