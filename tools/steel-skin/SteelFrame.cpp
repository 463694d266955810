// The window frame of the Steel skin: caption and border strips (active upper half, inactive lower
// half), the caption button faces in their eight stacked states and the 13 x 13 caption glyphs.
//
// The caption is 29 pixels high and the borders 5 wide. The two top corners are rounded with a
// radius of 5 by key pixels; the rest of the frame is opaque. A light one-pixel rim runs round the
// client area (caption's last row, borders' inner column, bottom's first row).
#include <functional>

#include "tools/steel-skin/SteelPalette.h"
#include "tools/steel-skin/SteelParts.h"

namespace vandrel::steelskin {

using namespace palette;

namespace {

constexpr int kCaptionHeight = 29;
constexpr int kBorder = 5;

void DrawCaptionHalf(TPainter p, const TFrameColours& c) {
  TFace face;
  face.Radius = 5;
  face.Border = c.Outer;
  face.From = c.Top;
  face.To = c.Bottom;
  face.InnerRing = c.Shine;
  face.SquareBottom = true;
  p.Face(face);
  // The client rim starts under the caption, between the borders' inner columns.
  p.FillRect(kBorder - 1, kCaptionHeight - 1, p.Width() - 2 * (kBorder - 1), 1, c.Inner);
}

// One side border, `rows` high, seen from the left (mirrored for the right side).
void DrawSide(TPainter p, const TFrameColours& c, bool right) {
  for (int x = 0; x < kBorder; ++x) {
    const int fromOutside = right ? kBorder - 1 - x : x;
    const std::uint32_t colour = fromOutside == 0 ? c.Outer : fromOutside == kBorder - 1 ? c.Inner : c.Bottom;
    p.FillRect(x, 0, 1, p.Height(), colour);
  }
}

// The bottom border: body, outline along the bottom and outer sides, rim along the top between
// the side borders' inner columns.
void DrawBottomHalf(TPainter p, const TFrameColours& c) {
  p.Fill(c.Bottom);
  p.FillRect(kBorder - 1, 0, p.Width() - 2 * (kBorder - 1), 1, c.Inner);
  p.FillRect(0, 0, 1, p.Height(), c.Outer);
  p.FillRect(p.Width() - 1, 0, 1, p.Height(), c.Outer);
  p.FillRect(0, p.Height() - 1, p.Width(), 1, c.Outer);
}

}  // namespace

void DrawFrameCaption(TSkinImage& image) {
  DrawCaptionHalf(TPainter(image, 0, 0, image.Width, kCaptionHeight), kActiveFrame);
  DrawCaptionHalf(TPainter(image, 0, kCaptionHeight, image.Width, kCaptionHeight), kInactiveFrame);
}

// Rows 0-29 active and 31-60 inactive are the ones drawn; rows 30 and 61 repeat them.
void DrawFrameLeft(TSkinImage& image) {
  DrawSide(TPainter(image, 0, 0, kBorder, 31), kActiveFrame, false);
  DrawSide(TPainter(image, 0, 31, kBorder, 31), kInactiveFrame, false);
}

void DrawFrameRight(TSkinImage& image) {
  DrawSide(TPainter(image, 0, 0, kBorder, 31), kActiveFrame, true);
  DrawSide(TPainter(image, 0, 31, kBorder, 31), kInactiveFrame, true);
}

void DrawFrameBottom(TSkinImage& image) {
  DrawBottomHalf(TPainter(image, 0, 0, image.Width, kBorder), kActiveFrame);
  DrawBottomHalf(TPainter(image, 0, kBorder, image.Width, kBorder), kInactiveFrame);
}

// Caption buttons: 21 x 21 frames stacked as active normal, hot, pressed, disabled, then the same
// four for the inactive window. Corners are keyed so the caption shows round them.
namespace {

constexpr int kButton = 21;

TFace CaptionFace(std::uint32_t border, std::uint32_t from, std::uint32_t to, std::uint32_t ring,
                  std::uint32_t behind) {
  TFace f;
  f.Radius = 3;
  f.Border = border;
  f.From = from;
  f.To = to;
  f.InnerRing = ring;
  f.Behind = behind;
  return f;
}

const std::uint32_t kActiveBehind = Mix(kActiveFrame.Top, kActiveFrame.Bottom, 0.55);
const std::uint32_t kInactiveBehind = Mix(kInactiveFrame.Top, kInactiveFrame.Bottom, 0.55);

// The steel faces every caption button shares; the close button replaces the hot and pressed ones.
TFace SteelCaptionFace(int state) {
  switch (state) {
    case 0: return CaptionFace(Rgb(0x27303A), Rgb(0x7B8B9D), Rgb(0x4A5867), Rgb(0xA3B0BE), kActiveBehind);
    case 1: return CaptionFace(Rgb(0x222A33), Rgb(0x9AAABB), Rgb(0x627284), Rgb(0xCAD4DE), kActiveBehind);
    case 2: return CaptionFace(Rgb(0x1B2128), Rgb(0x323D49), Rgb(0x475463), Rgb(0x262E37), kActiveBehind);
    case 3: return CaptionFace(Rgb(0x46515D), Rgb(0x61707F), Rgb(0x55626F), 0, kActiveBehind);
    case 4: return CaptionFace(Rgb(0x41484F), Rgb(0x8A929A), Rgb(0x626A72), Rgb(0xA9B0B7), kInactiveBehind);
    case 5: return CaptionFace(Rgb(0x3B4249), Rgb(0x9FA7AF), Rgb(0x737B83), Rgb(0xC2C8CE), kInactiveBehind);
    case 6: return CaptionFace(Rgb(0x32383E), Rgb(0x4E555C), Rgb(0x5E656C), Rgb(0x42484E), kInactiveBehind);
    default: return CaptionFace(Rgb(0x575E65), Rgb(0x737A82), Rgb(0x676E75), 0, kInactiveBehind);
  }
}

void DrawButtonStrip(TSkinImage& image, const std::function<TFace(int)>& faceOf) {
  for (int state = 0; state < 8; ++state) TPainter(image, 0, state * kButton, kButton, kButton).Face(faceOf(state));
}

}  // namespace

void DrawCaptionButton(TSkinImage& image) { DrawButtonStrip(image, SteelCaptionFace); }

void DrawCloseButton(TSkinImage& image) {
  DrawButtonStrip(image, [](int state) {
    switch (state) {
      case 1: return CaptionFace(Rgb(0x5A1813), kCloseHotTop, kCloseHotBottom, Rgb(0xDE8A80), kActiveBehind);
      case 2: return CaptionFace(Rgb(0x44110D), Rgb(0x681D18), kClosePressed, Rgb(0x511612), kActiveBehind);
      case 5: return CaptionFace(Rgb(0x5A2824), Rgb(0xA85C55), Rgb(0x84403A), Rgb(0xC9928C), kInactiveBehind);
      case 6: return CaptionFace(Rgb(0x461D1A), Rgb(0x682925), Rgb(0x78332E), Rgb(0x56221F), kInactiveBehind);
      default: return SteelCaptionFace(state);
    }
  });
}

// Caption glyphs: 13 x 13 frames. Rows of eight: 0 normal, 1 hot (both white with a dark shadow,
// for the dark caption faces), 2 pressed and inactive (a softer white), 3 disabled (grey), then
// 4-7 the same in dark ink for light faces (normal, hot in the accent, pressed, disabled).
namespace {

constexpr int kGlyph = 13;
using TShape = std::function<void(TLayer&, std::uint32_t)>;

void DrawGlyphStrip(TSkinImage& image, const TShape& shape) {
  struct TVariant {
    std::uint32_t Ink;
    std::uint32_t Shadow;  // 0: none
    double Strength;
    std::uint32_t Behind;
  };
  const TVariant variants[8] = {
      {kWhite, kGlyphShadow, 0.6, Rgb(0x5E6D7D)},        {kWhite, kGlyphShadow, 0.6, Rgb(0x7C8C9D)},
      {Rgb(0xE3E7EB), kGlyphShadow, 0.45, Rgb(0x66717D)}, {Rgb(0xA3AAB2), 0, 0, Rgb(0x5B6875)},
      {kInk, kWhite, 0.7, kFaceBottom},                  {Rgb(0x35506E), kWhite, 0.7, kHotBottom},
      {Rgb(0x1E252C), 0, 0, kPressedTop},                {kDisabledInk, kWhite, 0.6, kDisabledFace},
  };
  for (int v = 0; v < 8; ++v) {
    TLayer layer(kGlyph, kGlyph);
    shape(layer, variants[v].Ink);
    TPainter frame(image, 0, v * kGlyph, kGlyph, kGlyph);
    const TLayer finished =
        variants[v].Shadow ? layer.WithShadow(1, 1, variants[v].Shadow, variants[v].Strength) : layer;
    finished.PutOn(frame, 0, 0, variants[v].Behind);
  }
}

// A small window outline: two-pixel title bar, one-pixel sides and bottom.
void WindowBox(TLayer& l, int x, int y, int w, int h, std::uint32_t ink) {
  l.Rect(x, y, w, 2, ink).Rect(x, y + h - 1, w, 1, ink).Rect(x, y, 1, h, ink).Rect(x + w - 1, y, 1, h, ink);
}

}  // namespace

void DrawCloseGlyph(TSkinImage& image) {
  DrawGlyphStrip(image, [](TLayer& l, std::uint32_t ink) {
    l.Stroke({{3.2, 3.2}, {9.8, 9.8}}, 2.0, ink).Stroke({{9.8, 3.2}, {3.2, 9.8}}, 2.0, ink);
  });
}

void DrawMaximizeGlyph(TSkinImage& image) {
  DrawGlyphStrip(image, [](TLayer& l, std::uint32_t ink) { WindowBox(l, 2, 2, 9, 9, ink); });
}

void DrawRestoreGlyph(TSkinImage& image) {
  DrawGlyphStrip(image, [](TLayer& l, std::uint32_t ink) {
    WindowBox(l, 4, 1, 7, 6, ink);
    l.Clear(2, 4, 7, 7);
    WindowBox(l, 2, 4, 7, 7, ink);
  });
}

void DrawMinimizeGlyph(TSkinImage& image) {
  DrawGlyphStrip(image, [](TLayer& l, std::uint32_t ink) { l.Rect(3, 8, 7, 2, ink); });
}

void DrawRollUpGlyph(TSkinImage& image) {
  DrawGlyphStrip(image, [](TLayer& l, std::uint32_t ink) {
    l.Rect(2, 2, 9, 2, ink).Stroke({{3.0, 9.5}, {6.5, 6.0}, {10.0, 9.5}}, 2.0, ink);
  });
}

void DrawRollDownGlyph(TSkinImage& image) {
  DrawGlyphStrip(image, [](TLayer& l, std::uint32_t ink) {
    l.Rect(2, 2, 9, 2, ink).Stroke({{3.0, 6.0}, {6.5, 9.5}, {10.0, 6.0}}, 2.0, ink);
  });
}

void DrawTrayGlyph(TSkinImage& image) {
  DrawGlyphStrip(image, [](TLayer& l, std::uint32_t ink) {
    l.Rect(2, 9, 9, 2, ink).Stroke({{3.5, 3.0}, {6.5, 6.0}, {9.5, 3.0}}, 2.0, ink);
  });
}

void DrawHelpGlyph(TSkinImage& image) {
  DrawGlyphStrip(image, [](TLayer& l, std::uint32_t ink) {
    l.Stroke({{3.6, 4.4}, {4.2, 2.9}, {5.4, 2.1}, {6.6, 2.0}, {8.0, 2.4}, {9.0, 3.5}, {9.0, 4.8}, {8.2, 5.8},
              {6.8, 6.6}, {6.5, 7.6}, {6.5, 8.0}},
             1.9, ink)
        .Disc(6.5, 10.4, 1.15, ink);
  });
}

}  // namespace vandrel::steelskin
