#include "tools/steel-skin/Painter.h"

#include <algorithm>
#include <cmath>

namespace vandrel::steelskin {

TPainter::TPainter(TSkinImage& image, int left, int top, int width, int height)
    : m_image(image), m_left(left), m_top(top), m_width(width), m_height(height) {}

std::uint32_t TPainter::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  return m_image.At(m_left + x, m_top + y);
}

void TPainter::Set(int x, int y, std::uint32_t c) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  m_image.Set(m_left + x, m_top + y, c);
}

void TPainter::FillRect(int x, int y, int w, int h, std::uint32_t c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void TPainter::Gradient(int x, int y, int w, int h, std::uint32_t from, std::uint32_t to, bool horizontal) {
  const int steps = (horizontal ? w : h) - 1;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const int k = horizontal ? i : j;
      Set(x + i, y + j, Mix(from, to, steps > 0 ? double(k) / steps : 0.0));
    }
}

void TPainter::CopyFrom(const TPainter& other) {
  for (int y = 0; y < m_height; ++y)
    for (int x = 0; x < m_width; ++x) Set(x, y, other.At(x, y));
}

namespace {

// Signed distance from a point to the outline of a rounded rectangle (negative inside).
double RoundedDistance(double px, double py, double x, double y, double w, double h, double r) {
  const double qx = std::abs(px - (x + w / 2)) - (w / 2 - r);
  const double qy = std::abs(py - (y + h / 2)) - (h / 2 - r);
  return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
}

}  // namespace

void TPainter::Face(const TFace& face, int x, int y, int w, int h) {
  // A square bottom is a shape that runs on below the frame.
  const double shapeH = face.SquareBottom ? h + face.Radius + 4 : h;
  const int gradientSteps = (face.Horizontal ? w : h) - 1;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const double d = RoundedDistance(i + 0.5, j + 0.5, 0, 0, w, shapeH, face.Radius);
      const double coverage = std::clamp(0.5 - d, 0.0, 1.0);
      if (coverage < 0.5) {
        Set(x + i, y + j, kKey);
        continue;
      }
      const int along = face.Horizontal ? i : j;
      std::uint32_t c = Mix(face.From, face.To, gradientSteps > 0 ? double(along) / gradientSteps : 0.0);
      if (face.InnerRing) {
        // The ring fades out along the sides, a little below (or right of) the lit corner.
        const double lit = face.RingAllAround
                               ? 1.0
                               : std::clamp(1.5 - (along + 0.5) / (face.Radius + 1.5), 0.0, 1.0);
        c = Mix(c, face.InnerRing, std::clamp(d + 2.5, 0.0, 1.0) * lit);
      }
      if (face.Border) c = Mix(c, face.Border, std::clamp(d + 1.5, 0.0, 1.0));
      if (face.Behind && coverage < 1.0) c = Mix(face.Behind, c, coverage);
      Set(x + i, y + j, c);
    }
}

TLayer::TLayer(int width, int height)
    : m_width(width),
      m_height(height),
      m_r(std::size_t(width) * height),
      m_g(m_r.size()),
      m_b(m_r.size()),
      m_a(m_r.size()) {}

void TLayer::Over(int x, int y, double coverage, std::uint32_t colour) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height || coverage <= 0) return;
  const std::size_t k = std::size_t(y) * m_width + x;
  const double keep = 1 - coverage;
  m_r[k] = RedOf(colour) / 255.0 * coverage + m_r[k] * keep;
  m_g[k] = GreenOf(colour) / 255.0 * coverage + m_g[k] * keep;
  m_b[k] = BlueOf(colour) / 255.0 * coverage + m_b[k] * keep;
  m_a[k] = coverage + m_a[k] * keep;
}

namespace {

double SegmentDistance(double px, double py, TLayer::TPoint a, TLayer::TPoint b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double len2 = dx * dx + dy * dy;
  const double t = len2 > 0 ? std::clamp(((px - a.X) * dx + (py - a.Y) * dy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(px - (a.X + t * dx), py - (a.Y + t * dy));
}

}  // namespace

TLayer& TLayer::Stroke(std::initializer_list<TPoint> points, double width, std::uint32_t colour) {
  return Stroke(std::vector<TPoint>(points), width, colour);
}

TLayer& TLayer::Stroke(const std::vector<TPoint>& points, double width, std::uint32_t colour) {
  for (int y = 0; y < m_height; ++y)
    for (int x = 0; x < m_width; ++x) {
      double d = 1e9;
      for (std::size_t i = 0; i + 1 < points.size(); ++i)
        d = std::min(d, SegmentDistance(x + 0.5, y + 0.5, points[i], points[i + 1]));
      if (points.size() == 1) d = std::hypot(x + 0.5 - points[0].X, y + 0.5 - points[0].Y);
      Over(x, y, std::clamp(width / 2 - d + 0.5, 0.0, 1.0), colour);
    }
  return *this;
}

TLayer& TLayer::Rect(int x, int y, int w, int h, std::uint32_t colour) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Over(i, j, 1.0, colour);
  return *this;
}

TLayer& TLayer::Clear(int x, int y, int w, int h) {
  for (int j = std::max(y, 0); j < std::min(y + h, m_height); ++j)
    for (int i = std::max(x, 0); i < std::min(x + w, m_width); ++i) {
      const std::size_t k = std::size_t(j) * m_width + i;
      m_r[k] = m_g[k] = m_b[k] = m_a[k] = 0;
    }
  return *this;
}

TLayer& TLayer::Disc(double cx, double cy, double radius, std::uint32_t colour) {
  for (int y = 0; y < m_height; ++y)
    for (int x = 0; x < m_width; ++x)
      Over(x, y, std::clamp(radius - std::hypot(x + 0.5 - cx, y + 0.5 - cy) + 0.5, 0.0, 1.0), colour);
  return *this;
}

TLayer TLayer::Recoloured(std::uint32_t colour) const {
  TLayer out(m_width, m_height);
  for (int y = 0; y < m_height; ++y)
    for (int x = 0; x < m_width; ++x) out.Over(x, y, m_a[std::size_t(y) * m_width + x], colour);
  return out;
}

TLayer TLayer::WithShadow(int dx, int dy, std::uint32_t colour, double strength) const {
  TLayer out(m_width, m_height);
  for (int y = 0; y < m_height; ++y)
    for (int x = 0; x < m_width; ++x) {
      const int sx = x - dx, sy = y - dy;
      if (sx >= 0 && sy >= 0 && sx < m_width && sy < m_height)
        out.Over(x, y, m_a[std::size_t(sy) * m_width + sx] * strength, colour);
    }
  for (std::size_t k = 0; k < m_a.size(); ++k) {
    const double keep = 1 - m_a[k];
    out.m_r[k] = m_r[k] + out.m_r[k] * keep;
    out.m_g[k] = m_g[k] + out.m_g[k] * keep;
    out.m_b[k] = m_b[k] + out.m_b[k] * keep;
    out.m_a[k] = m_a[k] + out.m_a[k] * keep;
  }
  return out;
}

void TLayer::PutOn(TPainter& painter, int x, int y, std::uint32_t behind, double threshold, bool keyEmpty) const {
  for (int j = 0; j < m_height; ++j)
    for (int i = 0; i < m_width; ++i) {
      const std::size_t k = std::size_t(j) * m_width + i;
      if (m_a[k] < threshold) {
        if (keyEmpty) painter.Set(x + i, y + j, kKey);
        continue;
      }
      // Over the expected background when the pixel replaces the key, else over what is there.
      const std::uint32_t under = keyEmpty || painter.At(x + i, y + j) == kKey ? behind : painter.At(x + i, y + j);
      const double keep = 1 - m_a[k];
      auto channel = [keep](double v, int b) {
        return std::uint32_t(std::lround(std::clamp(v * 255 + b * keep, 0.0, 255.0)));
      };
      painter.Set(x + i, y + j,
                  0xFF000000u | channel(m_r[k], RedOf(under)) << 16 | channel(m_g[k], GreenOf(under)) << 8 |
                      channel(m_b[k], BlueOf(under)));
    }
}

}  // namespace vandrel::steelskin
