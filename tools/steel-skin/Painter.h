// Drawing helpers of the skin artwork: a painter bound to one frame (a rectangle) of a skin image,
// rounded faces with border, highlight and gradient, and a coverage layer that draws glyphs with
// anti-aliased strokes and flattens them to opaque pixels over the key.
//
// Skin pictures have no alpha: a pixel is opaque or the key. Smooth edges are therefore blended
// against the colour the picture is expected to sit on (the "behind" colour), and pixels that are
// mostly empty become the key.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "tools/steel-skin/SkinImage.h"

namespace vandrel::steelskin {

// A rounded rectangle with a one-pixel border, a one-pixel inner ring (highlight or shadow) on
// its lit side, and a two-colour gradient inside. Colour 0 means "none".
struct TFace {
  double Radius = 0;
  std::uint32_t Border = 0;
  std::uint32_t From = 0;          // inside, at the top (or left)
  std::uint32_t To = 0;            // inside, at the bottom (or right)
  bool Horizontal = false;         // gradient and lit side run left to right instead of top down
  std::uint32_t InnerRing = 0;     // highlight (raised) or shadow (pressed) on the lit side
  bool RingAllAround = false;      // the inner ring on every side, not only the lit one
  bool SquareBottom = false;       // only the top corners are rounded, and no bottom border
  // Corner pixels mostly outside the shape become the key; the rest are blended towards Behind
  // (0: kept hard), so that corners look smooth on the colour they are expected to sit on.
  std::uint32_t Behind = 0;
};

class TPainter {
 public:
  // Draws into the rectangle (left, top, width, height) of the image; coordinates are relative
  // to it and clipped to it.
  TPainter(TSkinImage& image, int left, int top, int width, int height);
  // The whole image.
  explicit TPainter(TSkinImage& image) : TPainter(image, 0, 0, image.Width, image.Height) {}

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  std::uint32_t At(int x, int y) const;
  void Set(int x, int y, std::uint32_t c);
  void Fill(std::uint32_t c) { FillRect(0, 0, m_width, m_height, c); }
  void FillRect(int x, int y, int w, int h, std::uint32_t c);
  // Top to bottom (or left to right) from `from` to `to`, one colour per row (column).
  void Gradient(int x, int y, int w, int h, std::uint32_t from, std::uint32_t to, bool horizontal = false);
  void Face(const TFace& face) { Face(face, 0, 0, m_width, m_height); }
  void Face(const TFace& face, int x, int y, int w, int h);
  // Copies another frame of the same size (for states that repeat a look).
  void CopyFrom(const TPainter& other);

 private:
  TSkinImage& m_image;
  int m_left, m_top, m_width, m_height;
};

// Anti-aliased shapes in premultiplied colour, laid over each other, then put onto a painter.
class TLayer {
 public:
  TLayer(int width, int height);

  struct TPoint {
    double X, Y;
  };
  // A stroke of the given width through the points (pixel centres sit at .5).
  TLayer& Stroke(std::initializer_list<TPoint> points, double width, std::uint32_t colour);
  TLayer& Stroke(const std::vector<TPoint>& points, double width, std::uint32_t colour);
  // Whole pixels.
  TLayer& Rect(int x, int y, int w, int h, std::uint32_t colour);
  // Clears whole pixels (a window's inside in front of another).
  TLayer& Clear(int x, int y, int w, int h);
  TLayer& Disc(double cx, double cy, double radius, std::uint32_t colour);
  // Everything recoloured, coverage kept.
  TLayer Recoloured(std::uint32_t colour) const;
  // This layer over its own shape moved by (dx, dy) in `colour` at `strength`.
  TLayer WithShadow(int dx, int dy, std::uint32_t colour, double strength) const;

  // Pixels covered at least `threshold` become the layer's colour over `behind`; the rest become
  // the key when keyEmpty, else stay as they are.
  void PutOn(TPainter& painter, int x, int y, std::uint32_t behind, double threshold = 0.3,
             bool keyEmpty = true) const;

 private:
  void Over(int x, int y, double coverage, std::uint32_t colour);
  int m_width, m_height;
  std::vector<double> m_r, m_g, m_b, m_a;
};

}  // namespace vandrel::steelskin
