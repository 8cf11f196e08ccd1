// Pictures drawn in code: a canvas over 24-bit pixels and shapes given by
// their signed distance, painted with anti-aliased edges. The dialogs' banners
// and logos are made with it, away from any device, so they look the same on
// every desktop and can be checked pixel by pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace tb::art {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};

// `a` at t = 0, `b` at t = 1; t is clamped to that range.
Rgb Mix(Rgb a, Rgb b, double t);
// Brightness from 0 to 255 (Rec. 601 weights), for choosing text colours.
double Luma(Rgb colour);

struct Point {
  double x = 0;
  double y = 0;
};

// A shape as the signed distance in pixels from a point to its edge:
// negative inside, positive outside.
using Shape = std::function<double(double x, double y)>;

Shape Circle(Point centre, double radius);
Shape RoundedRect(double left, double top, double right, double bottom, double radius);
// An ellipse with radii rx and ry, turned by `degrees` (clockwise on screen).
Shape Ellipse(Point centre, double rx, double ry, double degrees);
// A convex polygon, its corners in clockwise order on screen.
Shape ConvexPolygon(std::vector<Point> corners);
// A band of `width` pixels around a circle of `radius`.
Shape Ring(Point centre, double radius, double width);
Shape Union(Shape a, Shape b);
Shape Intersection(Shape a, Shape b);
Shape Difference(Shape a, Shape b);

// A colour that runs from `top` at row y0 to `bottom` at row y1, laid with
// `alpha` (1: opaque).
struct Paint {
  Rgb top;
  Rgb bottom;
  double y0 = 0;
  double y1 = 1;
  double alpha = 1;

  static Paint Solid(Rgb colour, double alpha = 1) { return {colour, colour, 0, 1, alpha}; }
  static Paint Vertical(Rgb top, Rgb bottom, double y0, double y1, double alpha = 1) {
    return {top, bottom, y0, y1, alpha};
  }
  [[nodiscard]] Rgb At(double y) const;
};

// Pixels [left, right) x [top, bottom).
struct Box {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class Canvas {
 public:
  // `bits` holds `height` rows of `stride` bytes, the top row first; each
  // pixel is blue, green, red, as a 24-bit device-independent bitmap keeps it.
  Canvas(std::uint8_t* bits, int width, int height, int stride)
      : bits_(bits), width_(width), height_(height), stride_(stride) {}

  // The bytes of one row of `width` 24-bit pixels, padded to four.
  static int StrideOf(int width) { return (width * 3 + 3) / 4 * 4; }

  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  [[nodiscard]] Box Bounds() const { return {0, 0, width_, height_}; }
  // Outside the canvas: black.
  [[nodiscard]] Rgb At(int x, int y) const;
  // Lays `colour` over a pixel with `alpha`; outside the canvas, nothing.
  void Blend(int x, int y, Rgb colour, double alpha);

  void FillAll(Rgb colour);
  // From `left` at the first column to `right` at the last.
  void HorizontalGradient(Rgb left, Rgb right);
  // Covers `shape` with `paint` inside `bounds` (clipped to the canvas); a
  // pixel on the edge gets the part of the paint that the shape covers.
  void Fill(const Shape& shape, const Paint& paint, Box bounds);

 private:
  [[nodiscard]] std::ptrdiff_t Offset(int x, int y) const {
    return static_cast<std::ptrdiff_t>(y) * stride_ + static_cast<std::ptrdiff_t>(x) * 3;
  }

  std::uint8_t* bits_;
  int width_;
  int height_;
  int stride_;
};

// A canvas that keeps its own pixels.
class Picture {
 public:
  Picture(int width, int height)
      : bits_(static_cast<std::size_t>(Canvas::StrideOf(width)) * static_cast<std::size_t>(height)),
        canvas_(bits_.data(), width, height, Canvas::StrideOf(width)) {}
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  Picture(Picture&&) = delete;
  Picture& operator=(Picture&&) = delete;
  ~Picture() = default;

  Canvas& Surface() { return canvas_; }

 private:
  std::vector<std::uint8_t> bits_;
  Canvas canvas_;
};

}  // namespace tb::art
