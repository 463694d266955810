// Pictures of the Steel controls that the program draws: popup outline, check box and radio
// button, push button, caption-button container, scroll bar parts, panel and status bar.
//
// Stacked states follow one order wherever a strip holds them: normal, hot, pressed, disabled
// (then focused where there is a fifth frame). Faces that sit on the status bar or the panels key
// their rounded corners, which also makes those controls see-through.
#include <functional>

#include "tools/steel-skin/SteelPalette.h"
#include "tools/steel-skin/SteelParts.h"

namespace vandrel::steelskin {

using namespace palette;

TFace palette::LightFace(TLook look, double radius, std::uint32_t behind, bool horizontal) {
  TFace f;
  f.Radius = radius;
  f.Behind = behind;
  f.Horizontal = horizontal;
  switch (look) {
    case TLook::Normal:
      f.Border = kFaceBorder, f.From = kFaceTop, f.To = kFaceBottom, f.InnerRing = kFaceShine;
      break;
    case TLook::Hot:
      f.Border = kAccent, f.From = kHotTop, f.To = kHotBottom, f.InnerRing = kWhite;
      break;
    case TLook::Pressed:
      f.Border = Rgb(0x66717D), f.From = kPressedTop, f.To = kPressedBottom, f.InnerRing = kPressedShade;
      break;
    case TLook::Disabled:
      f.Border = kDisabledBorder, f.From = kDisabledFace, f.To = kDisabledFace;
      break;
    case TLook::Focused:
      f.Border = kAccent, f.From = kFaceTop, f.To = kFaceBottom, f.InnerRing = kAccentLight;
      f.RingAllAround = true;
      break;
  }
  return f;
}

std::uint32_t palette::InkOf(TLook look) {
  switch (look) {
    case TLook::Hot: return Rgb(0x35506E);
    case TLook::Pressed: return Rgb(0x1E252C);
    case TLook::Disabled: return Rgb(0xA3A9AF);
    default: return kInk;
  }
}

namespace {

// The status bar's middle tone: what the hosted controls' corners blend into.
const std::uint32_t kStatusBehind = Mix(kFaceTop, kFaceBottom, 0.5);

}  // namespace

// Left half: the popup menu's outline (accent edge, light inner rings, white inside); right
// half: the same in neutral grey for a field without focus.
void DrawFieldOutline(TSkinImage& image) {
  for (int half = 0; half < 2; ++half) {
    TPainter p(image, half * 7, 0, 7, 7);
    p.Fill(kWhite);
    p.FillRect(1, 1, 5, 5, Rgb(0xEEF2F6));
    p.FillRect(2, 2, 3, 3, kWhite);
    const std::uint32_t edge = half == 0 ? kAccent : Rgb(0x8E99A5);
    p.FillRect(0, 0, 7, 1, edge), p.FillRect(0, 6, 7, 1, edge);
    p.FillRect(0, 0, 1, 7, edge), p.FillRect(6, 0, 1, 7, edge);
  }
}

// Twelve 13 x 13 frames: unchecked, checked, mixed, each normal, hot, pressed, disabled.
void DrawCheckBox(TSkinImage& image) {
  for (int kind = 0; kind < 3; ++kind)
    for (int s = 0; s < 4; ++s) {
      const TLook look = kFourLooks[s];
      TPainter p(image, 0, (kind * 4 + s) * 13, 13, 13);
      TFace box = LightFace(look, 2, kStatusBehind);
      if (look == TLook::Normal || look == TLook::Hot) box.From = kWhite, box.To = look == TLook::Hot ? Rgb(0xDCE5EE) : Rgb(0xE3E6EA);
      p.Face(box);
      TLayer mark(13, 13);
      if (kind == 1) mark.Stroke({{3.3, 6.4}, {5.5, 8.7}, {9.8, 3.9}}, 2.0, InkOf(look));
      if (kind == 2) mark.Rect(4, 4, 5, 5, look == TLook::Disabled ? InkOf(look) : look == TLook::Hot ? Rgb(0x5F82A8) : kAccent);
      mark.PutOn(p, 0, 0, 0, 0.3, false);
    }
}

// Eight 13 x 13 frames: unchecked normal, hot, pressed, disabled, then checked the same.
void DrawRadioButton(TSkinImage& image) {
  for (int kind = 0; kind < 2; ++kind)
    for (int s = 0; s < 4; ++s) {
      const TLook look = kFourLooks[s];
      TPainter p(image, 0, (kind * 4 + s) * 13, 13, 13);
      TFace ring = LightFace(look, 6.5, kStatusBehind);
      if (look == TLook::Normal || look == TLook::Hot) ring.From = kWhite;
      p.Face(ring);
      if (kind == 1) TLayer(13, 13).Disc(6.5, 6.5, 2.4, InkOf(look)).PutOn(p, 0, 0, 0, 0.3, false);
    }
}

// Five 20 x 23 frames: normal, hot, pressed, disabled, focused; drawn in nine parts with 5-pixel
// margins, so the corners stay inside 5 x 5 and the edges are even along their length.
void DrawButton(TSkinImage& image) {
  for (int s = 0; s < 5; ++s) TPainter(image, 0, s * 23, 20, 23).Face(LightFace(kFiveLooks[s], 3, kStatusBehind));
}

// Six 20 x 23 frames of a flat tool button: normal (nothing drawn), hot, pressed, disabled
// (nothing drawn), checked, checked and hot. The caption-button container tiles the first one,
// so it stays see-through over the caption.
void DrawToolbarButtons(TSkinImage& image) {
  const std::uint32_t behind = Rgb(0xE2E5E9);
  TPainter(image, 0, 23, 20, 23).Face(LightFace(TLook::Hot, 3, behind));
  TPainter(image, 0, 46, 20, 23).Face(LightFace(TLook::Pressed, 3, behind));
  TFace checked = LightFace(TLook::Pressed, 3, behind);
  checked.Border = kAccent, checked.From = Rgb(0xC9D5E2), checked.To = Rgb(0xD9E2EC), checked.InnerRing = Rgb(0xAFC0D2);
  TPainter(image, 0, 92, 20, 23).Face(checked);
  checked.From = Rgb(0xD6E0EA), checked.To = Rgb(0xE4EBF2);
  TPainter(image, 0, 115, 20, 23).Face(checked);
}

// The shaft: four 17 x 17 frames (normal, hot, pressed, disabled), even along the bar's length,
// with a groove line and a light line at each long side.
void DrawScrollShaft(TSkinImage& image, bool vertical) {
  const std::uint32_t fills[] = {kTrack, Rgb(0xDCE0E5), Rgb(0xCDD3DA), Rgb(0xEDEEF0)};
  for (int s = 0; s < 4; ++s) {
    TPainter p(image, 0, s * 17, 17, 17);
    p.Fill(fills[s]);
    const std::uint32_t line = s == 3 ? Rgb(0xD5D9DE) : kTrackLine;
    const std::uint32_t light = s == 3 ? fills[s] : Rgb(0xF1F3F5);
    if (vertical) {
      p.FillRect(0, 0, 1, 17, line), p.FillRect(16, 0, 1, 17, line);
      p.FillRect(1, 0, 1, 17, light), p.FillRect(15, 0, 1, 17, light);
    } else {
      p.FillRect(0, 0, 17, 1, line), p.FillRect(0, 16, 17, 1, line);
      p.FillRect(0, 1, 17, 1, light), p.FillRect(0, 15, 17, 1, light);
    }
  }
}

// Sixteen 17 x 17 arrow-button faces: the vertical bar's buttons (shaded across, like its thumb),
// the same shaded top down, the horizontal bar's buttons, and those shaded across; each set
// normal, hot, pressed, disabled.
void DrawScrollArrows(TSkinImage& image) {
  const bool across[] = {true, false, false, true};
  for (int set = 0; set < 4; ++set)
    for (int s = 0; s < 4; ++s)
      TPainter(image, 0, (set * 4 + s) * 17, 17, 17).Face(LightFace(kFourLooks[s], 2, kTrack, across[set]));
}

// Sixteen 9 x 9 chevrons: up, down, left, right, each normal, hot, pressed, disabled.
void DrawScrollArrowGlyphs(TSkinImage& image) {
  using P = TLayer::TPoint;
  const std::vector<P> shapes[] = {
      {{1.6, 6.0}, {4.5, 3.1}, {7.4, 6.0}},
      {{1.6, 3.0}, {4.5, 5.9}, {7.4, 3.0}},
      {{6.0, 1.6}, {3.1, 4.5}, {6.0, 7.4}},
      {{3.0, 1.6}, {5.9, 4.5}, {3.0, 7.4}},
  };
  for (int d = 0; d < 4; ++d)
    for (int s = 0; s < 4; ++s) {
      TPainter p(image, 0, (d * 4 + s) * 9, 9, 9);
      const TFace face = LightFace(kFourLooks[s], 2, kTrack);
      TLayer(9, 9).Stroke(shapes[d], 1.9, InkOf(kFourLooks[s])).PutOn(p, 0, 0, Mix(face.From, face.To, 0.5), 0.25);
    }
}

// Thumbs: the horizontal one 22 x 15 per state (the disabled one 14 rows high, from row 46, with
// row 45 in the shaft's colour), the vertical one 15 x 22, shaded across.
void DrawScrollThumb(TSkinImage& image, bool vertical) {
  auto faceOf = [vertical](int s) {
    TFace f = LightFace(kFourLooks[s], 2, kTrack, vertical);
    if (kFourLooks[s] == TLook::Pressed)
      f.Border = Rgb(0x3D5A7A), f.From = Rgb(0xB4C4D5), f.To = Rgb(0xC6D3E0), f.InnerRing = Rgb(0x9BB0C6);
    return f;
  };
  if (vertical) {
    for (int s = 0; s < 4; ++s) TPainter(image, 0, s * 22, 15, 22).Face(faceOf(s));
    return;
  }
  for (int s = 0; s < 3; ++s) TPainter(image, 0, s * 15, 22, 15).Face(faceOf(s));
  TPainter(image, 0, 45, 22, 1).Fill(kTrack);
  TPainter(image, 0, 46, 22, 14).Face(faceOf(3));
}

// Grip grooves for the thumbs: four 8 x 8 frames (normal, hot, pressed, disabled), three grooves
// across the thumb's length on the key.
void DrawScrollGripper(TSkinImage& image, bool vertical) {
  const std::uint32_t dark[] = {kFaceBorder, kAccent, Rgb(0x3D5A7A), Rgb(0xB5BBC1)};
  const std::uint32_t light[] = {kFaceShine, kWhite, Rgb(0xD5DFE9), Rgb(0xEEF0F2)};
  for (int s = 0; s < 4; ++s) {
    TPainter p(image, 0, s * 8, 8, 8);
    for (int g = 0; g < 3; ++g) {
      const int at = 1 + 2 * g;
      if (vertical) {
        p.FillRect(1, at, 6, 1, dark[s]), p.FillRect(1, at + 1, 6, 1, light[s]);
      } else {
        p.FillRect(at, 1, 1, 6, dark[s]), p.FillRect(at + 1, 1, 1, 6, light[s]);
      }
    }
  }
}

// The panel body: light steel inside a grey outline with rounded corners, and around it a rim
// of one keyed pixel, which makes a skinned panel see-through. Panels lie flush against the
// window's frame and each other: a lone keyed corner showed the form there as a stray dot, while
// a rim reads as a gutter of the form's colour, on which the smoothed corners sit as drawn. The
// 2-pixel margins leave no room for an inner ring (the stretched centre would smear it).
void DrawGroupBackground(TSkinImage& image) {
  TPainter p(image);
  p.FillRect(0, 0, image.Width, image.Height, kKey);
  TFace f;
  f.Radius = 2;
  f.Border = Rgb(0x9AA4AF);
  f.From = f.To = Rgb(0xE5E8EB);
  f.Behind = kClient;
  p.Face(f, 1, 1, image.Width - 2, image.Height - 2);
}

// The panel's caption bar: rounded top corners, a light steel gradient, a line under it.
void DrawGroupHead(TSkinImage& image) {
  TFace f;
  f.Radius = 3;
  f.Border = kFaceBorder;
  f.From = Rgb(0xF1F3F5);
  f.To = Rgb(0xD2D8DE);
  f.InnerRing = kWhite;
  f.SquareBottom = true;
  f.Behind = kClient;
  TPainter p(image);
  p.Face(f);
  p.FillRect(0, image.Height - 1, image.Width, 1, Rgb(0x9AA4AF));
}

// The panel's roll buttons: three 18 x 18 frames (normal, hot, pressed) at 19-pixel steps, with a
// chevron up (collapse) or down (expand).
void DrawGroupButton(TSkinImage& image, bool expand) {
  const std::uint32_t behind = Rgb(0xE2E6EA);
  for (int s = 0; s < 3; ++s) {
    TPainter p(image, 0, s * 19, 18, 18);
    const TFace face = LightFace(kFourLooks[s], 3, behind);
    p.Face(face);
    const double a = expand ? 7.0 : 10.5, b = expand ? 10.5 : 7.0;
    TLayer(18, 18).Stroke({{5.0, a}, {9.0, b}, {13.0, a}}, 2.0, InkOf(kFourLooks[s])).PutOn(p, 0, 0, 0, 0.3, false);
  }
}

// The status bar: a groove line on top, a light line under it, a quiet face gradient, a closing
// line at the bottom; even along its length (it is stretched across the bar).
void DrawStatusBackground(TSkinImage& image) {
  TPainter p(image);
  p.Gradient(0, 2, image.Width, image.Height - 3, kFaceTop, Rgb(0xD3D8DD));
  p.FillRect(0, 0, image.Width, 1, Rgb(0x9AA4AF));
  p.FillRect(0, 1, image.Width, 1, kFaceShine);
  p.FillRect(0, image.Height - 1, image.Width, 1, Rgb(0xB4BCC5));
}

// A status pane: see-through, with a short groove separator at its right edge.
void DrawStatusPane(TSkinImage& image) {
  TPainter p(image);
  p.FillRect(1, 3, 1, image.Height - 6, Rgb(0xA9B2BC));
  p.FillRect(2, 3, 1, image.Height - 6, kWhite);
}

// The size grip: six raised dots in a triangle, on the key; the right half is its mirror image.
void DrawResizeGrip(TSkinImage& image) {
  for (int half = 0; half < 2; ++half) {
    TPainter p(image, half * 16, 0, 16, 17);
    for (int row = 0; row < 3; ++row)
      for (int col = 2 - row; col < 3; ++col) {
        const int x = half == 0 ? 4 + col * 4 : 9 - col * 4;
        const int y = 5 + row * 4;
        p.FillRect(x + 1, y + 1, 2, 2, kWhite);
        p.FillRect(x, y, 2, 2, Rgb(0x8E99A5));
      }
  }
}

}  // namespace vandrel::steelskin
