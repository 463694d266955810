// Pictures of controls the main window does not place (MDI buttons, group box, progress bar,
// track bar, combo box, tabs, tool bar, list header). Other programs' skinned controls may use
// them, so they share the family looks of the drawn controls.
#include <cmath>
#include <cstdlib>

#include "tools/steel-skin/SteelPalette.h"
#include "tools/steel-skin/SteelParts.h"

namespace vandrel::steelskin {

using namespace palette;

namespace {

const std::uint32_t kBarBehind = Rgb(0xE2E5E9);

}  // namespace

// Four 13 x 13 faces (normal, hot, pressed, disabled) for the MDI child buttons in a menu bar.
void DrawMdiCaptionButton(TSkinImage& image) {
  for (int s = 0; s < 4; ++s) TPainter(image, 0, s * 13, 13, 13).Face(LightFace(kFourLooks[s], 2, kBarBehind));
}

// Four 10 x 10 glyphs in dark ink for those buttons.
void DrawMdiGlyph(TSkinImage& image, char kind) {
  for (int s = 0; s < 4; ++s) {
    TPainter p(image, 0, s * 10, 10, 10);
    const std::uint32_t ink = InkOf(kFourLooks[s]);
    TLayer l(10, 10);
    if (kind == 'x') l.Stroke({{2.5, 2.5}, {7.5, 7.5}}, 1.6, ink).Stroke({{7.5, 2.5}, {2.5, 7.5}}, 1.6, ink);
    if (kind == '_') l.Rect(2, 6, 6, 2, ink);
    if (kind == 'r') {
      l.Rect(4, 1, 5, 2, ink).Rect(8, 1, 1, 5, ink).Rect(6, 5, 3, 1, ink);
      l.Rect(1, 4, 5, 2, ink).Rect(1, 4, 1, 5, ink).Rect(5, 4, 1, 5, ink).Rect(1, 8, 5, 1, ink);
    }
    const TFace face = LightFace(kFourLooks[s], 2, kBarBehind);
    l.PutOn(p, 0, 0, Mix(face.From, face.To, 0.5), 0.3);
  }
}

// A group box outline: a rounded grey line with a white inner line, see-through inside.
void DrawGroupBox(TSkinImage& image) {
  TFace f;
  f.Radius = 3;
  f.Border = Rgb(0x9AA4AF);
  f.From = f.To = kClient;
  f.InnerRing = kWhite;
  f.RingAllAround = true;
  f.Behind = kClient;
  TPainter p(image);
  p.Face(f);
  p.FillRect(2, 2, image.Width - 4, image.Height - 4, kKey);
}

// The vertical progress track, even along its length: sunken edges round a near-white bed.
void DrawProgressTrackVertical(TSkinImage& image) {
  TPainter p(image);
  p.Fill(Rgb(0xF3F4F6));
  p.FillRect(0, 0, 1, image.Height, Rgb(0x9AA4AF));
  p.FillRect(image.Width - 1, 0, 1, image.Height, Rgb(0x9AA4AF));
  p.FillRect(1, 0, 1, image.Height, Rgb(0xD3D8DE));
}

// A progress chunk in the accent, with a see-through gap that separates it from the next.
void DrawProgressChunk(TSkinImage& image, bool vertical) {
  TPainter p(image);
  if (vertical) {
    p.Gradient(0, 1, image.Width, image.Height - 1, Rgb(0x86A2C0), kAccent, true);
    p.FillRect(0, 1, 1, image.Height - 1, Rgb(0xA9BDD2));
  } else {
    p.Gradient(0, 0, image.Width - 1, image.Height, Rgb(0x86A2C0), kAccent);
    p.FillRect(0, 0, image.Width - 1, 1, Rgb(0xA9BDD2));
  }
}

// The track bar's channel: a sunken 5 x 5 nine-part picture.
void DrawSliderTrack(TSkinImage& image) {
  TPainter p(image);
  p.Fill(Rgb(0xF1F3F5));
  p.FillRect(0, 0, 5, 1, Rgb(0x9AA4AF)), p.FillRect(0, 0, 1, 5, Rgb(0x9AA4AF));
  p.FillRect(0, 4, 5, 1, kWhite), p.FillRect(4, 0, 1, 5, kWhite);
  p.FillRect(1, 1, 3, 1, Rgb(0xCDD3D9));
}

// Track bar thumbs, five states (normal, hot, pressed, disabled, focused). A pointed thumb is a
// face whose far end is cut to a point: pixels beyond the two slanted edges are keyed and those
// on them take the border colour.
void DrawTrackBarThumb(TSkinImage& image, char kind) {
  const bool lying = kind == 'v' || kind == 'l' || kind == 'r';
  const int w = lying ? 21 : 11, h = lying ? 11 : 21;
  for (int s = 0; s < 5; ++s) {
    TPainter p(image, 0, s * (lying ? 11 : 21), w, h);
    const TFace face = LightFace(kFiveLooks[s], 2, kTrack, !lying);
    p.Face(face);
    if (kind == 'h' || kind == 'v') continue;
    // Distance along the thumb from its pointed end, and across it from its middle line.
    const int tip = 5;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int along = 0;
        double across = 0;
        switch (kind) {
          case 'u': along = y, across = std::abs(x + 0.5 - w / 2.0); break;
          case 'd': along = h - 1 - y, across = std::abs(x + 0.5 - w / 2.0); break;
          case 'l': along = x, across = std::abs(y + 0.5 - h / 2.0); break;
          default: along = w - 1 - x, across = std::abs(y + 0.5 - h / 2.0); break;
        }
        if (along >= tip) continue;
        const double edge = 0.5 + along;  // half width of the point at this step
        if (across > edge + 0.5) p.Set(x, y, kKey);
        else if (across > edge - 0.7) p.Set(x, y, face.Border);
      }
  }
}

// Four 15 x 16 faces (normal, hot, pressed, disabled) for the combo box's drop button.
void DrawComboButton(TSkinImage& image) {
  for (int s = 0; s < 4; ++s) TPainter(image, 0, s * 16, 15, 16).Face(LightFace(kFourLooks[s], 2, kWhite));
}

// Four 10 x 7 chevrons pointing down, by state.
void DrawComboButtonGlyph(TSkinImage& image) {
  for (int s = 0; s < 4; ++s) {
    TPainter p(image, 0, s * 7, 10, 7);
    const TFace face = LightFace(kFourLooks[s], 2, kWhite);
    TLayer(10, 7).Stroke({{2.0, 2.0}, {5.0, 5.0}, {8.0, 2.0}}, 1.9, InkOf(kFourLooks[s]))
        .PutOn(p, 0, 0, Mix(face.From, face.To, 0.5), 0.25);
  }
}

// The tab sheet's edge: a grey line with a white inner line round a near-white page.
void DrawTabPaneEdge(TSkinImage& image) {
  TFace f;
  f.Border = Rgb(0x9AA4AF);
  f.From = f.To = Rgb(0xF5F6F8);
  f.InnerRing = kWhite;
  f.RingAllAround = true;
  TPainter(image).Face(f);
}

// Five 18 x 18 tabs with rounded top corners: normal, hot, selected, disabled, focused (selected
// with the accent line on top).
void DrawTabItem(TSkinImage& image) {
  for (int s = 0; s < 5; ++s) {
    TPainter p(image, 0, s * 18, 18, 18);
    TFace f = LightFace(s == 2 || s == 4 ? TLook::Normal : kFiveLooks[s], 3, kClient);
    f.SquareBottom = true;
    if (s == 0) f.Border = Rgb(0x9AA4AF), f.From = Rgb(0xE6E9EC), f.To = Rgb(0xD3D8DE);
    if (s == 2 || s == 4) f.Border = Rgb(0x9AA4AF), f.From = kWhite, f.To = Rgb(0xF5F6F8), f.InnerRing = kWhite;
    p.Face(f);
    if (s == 4) p.FillRect(2, 0, 14, 2, kAccent);
  }
}

// The tool bar (and menu bar) background: white top line, a quiet gradient, a closing line.
void DrawToolbarBackground(TSkinImage& image) {
  TPainter p(image);
  p.Gradient(0, 1, image.Width, image.Height - 2, Rgb(0xEEF0F2), Rgb(0xD9DDE2));
  p.FillRect(0, 0, image.Width, 1, kWhite);
  p.FillRect(0, image.Height - 1, image.Width, 1, Rgb(0xB7BFC8));
}

// A tool bar gripper tile: two raised dots side by side on the key.
void DrawToolbarGripper(TSkinImage& image) {
  TPainter p(image);
  for (int x : {3, 6}) {
    p.FillRect(x + 1, 2, 2, 2, kWhite);
    p.FillRect(x, 1, 2, 2, Rgb(0x8E99A5));
  }
}

// Five 18 x 18 list header sections: normal, hot (accent line underneath), pressed, disabled,
// sorted (a stronger accent line).
void DrawListViewHeader(TSkinImage& image) {
  for (int s = 0; s < 5; ++s) {
    TPainter p(image, 0, s * 18, 18, 18);
    const std::uint32_t from[] = {Rgb(0xF6F7F9), kWhite, Rgb(0xD0D6DD), Rgb(0xEEEFF1), Rgb(0xF6F7F9)};
    const std::uint32_t to[] = {Rgb(0xDEE2E7), Rgb(0xE8EDF2), Rgb(0xDDE2E7), Rgb(0xEEEFF1), Rgb(0xDEE2E7)};
    p.Gradient(0, 0, 18, 17, from[s], to[s]);
    p.FillRect(0, 17, 18, 1, Rgb(0x9AA4AF));
    p.FillRect(16, 3, 1, 11, Rgb(0xB7BFC8));
    p.FillRect(17, 3, 1, 11, kWhite);
    if (s == 1) p.FillRect(0, 16, 18, 1, kAccentLight);
    if (s == 4) p.FillRect(0, 15, 18, 2, kAccent);
  }
}

}  // namespace vandrel::steelskin
