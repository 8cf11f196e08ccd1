#include "common/artwork/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace tb::art {
namespace {

std::uint8_t Channel(double value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t),
          Channel(a.b + (b.b - a.b) * t)};
}

double Luma(Rgb colour) { return 0.299 * colour.r + 0.587 * colour.g + 0.114 * colour.b; }

Shape Circle(Point centre, double radius) {
  return [=](double x, double y) { return Length(x - centre.x, y - centre.y) - radius; };
}

Shape RoundedRect(double left, double top, double right, double bottom, double radius) {
  const double cx = (left + right) / 2;
  const double cy = (top + bottom) / 2;
  const double hx = (right - left) / 2 - radius;
  const double hy = (bottom - top) / 2 - radius;
  return [=](double x, double y) {
    const double qx = std::abs(x - cx) - hx;
    const double qy = std::abs(y - cy) - hy;
    return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
  };
}

Shape Ellipse(Point centre, double rx, double ry, double degrees) {
  const double turn = degrees * std::numbers::pi / 180;
  const double c = std::cos(turn);
  const double s = std::sin(turn);
  return [=](double x, double y) {
    // Into the ellipse's own axes, then the usual first-order estimate.
    const double dx = x - centre.x;
    const double dy = y - centre.y;
    const double u = dx * c + dy * s;
    const double v = -dx * s + dy * c;
    const double k0 = Length(u / rx, v / ry);
    const double k1 = Length(u / (rx * rx), v / (ry * ry));
    if (k1 == 0) {
      return -std::min(rx, ry);
    }
    return k0 * (k0 - 1) / k1;
  };
}

Shape ConvexPolygon(std::vector<Point> corners) {
  Point middle;
  for (const Point& p : corners) {
    middle.x += p.x / static_cast<double>(corners.size());
    middle.y += p.y / static_cast<double>(corners.size());
  }
  // Each edge as a line with its outward unit normal.
  struct Edge {
    Point from;
    double nx;
    double ny;
  };
  std::vector<Edge> edges;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const Point a = corners[i];
    const Point b = corners[(i + 1) % corners.size()];
    double nx = b.y - a.y;
    double ny = a.x - b.x;
    const double length = Length(nx, ny);
    if (length == 0) {
      continue;
    }
    nx /= length;
    ny /= length;
    if ((middle.x - a.x) * nx + (middle.y - a.y) * ny > 0) {
      nx = -nx;
      ny = -ny;
    }
    edges.push_back({a, nx, ny});
  }
  return [edges = std::move(edges)](double x, double y) {
    double distance = -1e9;
    for (const Edge& e : edges) {
      distance = std::max(distance, (x - e.from.x) * e.nx + (y - e.from.y) * e.ny);
    }
    return distance;
  };
}

Shape Ring(Point centre, double radius, double width) {
  return [=](double x, double y) {
    return std::abs(Length(x - centre.x, y - centre.y) - radius) - width / 2;
  };
}

Shape Union(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) {
    return std::min(a(x, y), b(x, y));
  };
}

Shape Intersection(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) {
    return std::max(a(x, y), b(x, y));
  };
}

Shape Difference(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) {
    return std::max(a(x, y), -b(x, y));
  };
}

Rgb Paint::At(double y) const {
  if (y1 == y0) {
    return top;
  }
  return Mix(top, bottom, (y - y0) / (y1 - y0));
}

Rgb Canvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) {
    return {};
  }
  const std::uint8_t* pixel = bits_ + Offset(x, y);
  return {pixel[2], pixel[1], pixel[0]};
}

void Canvas::Blend(int x, int y, Rgb colour, double alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) {
    return;
  }
  const Rgb mixed = Mix(At(x, y), colour, alpha);
  std::uint8_t* pixel = bits_ + Offset(x, y);
  pixel[0] = mixed.b;
  pixel[1] = mixed.g;
  pixel[2] = mixed.r;
}

void Canvas::FillAll(Rgb colour) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      Blend(x, y, colour, 1);
    }
  }
}

void Canvas::HorizontalGradient(Rgb left, Rgb right) {
  const double span = width_ > 1 ? width_ - 1 : 1;
  for (int x = 0; x < width_; ++x) {
    const Rgb colour = Mix(left, right, x / span);
    for (int y = 0; y < height_; ++y) {
      Blend(x, y, colour, 1);
    }
  }
}

void Canvas::Fill(const Shape& shape, const Paint& paint, Box bounds) {
  const int left = std::max(bounds.left, 0);
  const int top = std::max(bounds.top, 0);
  const int right = std::min(bounds.right, width_);
  const int bottom = std::min(bounds.bottom, height_);
  for (int y = top; y < bottom; ++y) {
    const double cy = y + 0.5;
    const Rgb colour = paint.At(cy);
    for (int x = left; x < right; ++x) {
      const double coverage = std::clamp(0.5 - shape(x + 0.5, cy), 0.0, 1.0);
      Blend(x, y, colour, coverage * paint.alpha);
    }
  }
}

}  // namespace tb::art
