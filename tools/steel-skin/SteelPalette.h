// The Steel palette and the family looks built from it, shared by the drawing files. A cool
// blue-grey steel: a dark caption, light quiet controls, one muted steel-blue accent, red only on
// the hot and pressed close button.
#pragma once

#include "tools/steel-skin/Painter.h"

namespace vandrel::steelskin::palette {

// The window frame, for the active and the inactive window.
struct TFrameColours {
  std::uint32_t Outer;   // the outline of the window
  std::uint32_t Shine;   // the caption's top highlight
  std::uint32_t Top;     // caption gradient, top
  std::uint32_t Bottom;  // caption gradient, bottom, and the body of the borders
  std::uint32_t Inner;   // the rim around the client area
};
inline constexpr TFrameColours kActiveFrame{Rgb(0x2B333C), Rgb(0xA7B3C0), Rgb(0x6F7F90), Rgb(0x3E4B59),
                                            Rgb(0xA7B3C0)};
// Neutral grey without the blue cast; dark enough that the white title keeps 4.5:1.
inline constexpr TFrameColours kInactiveFrame{Rgb(0x454C53), Rgb(0xA9AFB5), Rgb(0x777F87), Rgb(0x585F67),
                                              Rgb(0xA4AAB0)};

inline constexpr std::uint32_t kClient = Rgb(0xEAE9D7);
inline constexpr std::uint32_t kWhite = Rgb(0xFFFFFF);
inline constexpr std::uint32_t kText = Rgb(0x000000);
inline constexpr std::uint32_t kAccent = Rgb(0x4F6F91);
inline constexpr std::uint32_t kAccentLight = Rgb(0xA9BDD2);
inline constexpr std::uint32_t kGlyphShadow = Rgb(0x1E252C);
inline constexpr std::uint32_t kInk = Rgb(0x2E3740);          // dark glyphs on light faces
inline constexpr std::uint32_t kDisabledInk = Rgb(0x9CA2A8);

// Light control faces.
inline constexpr std::uint32_t kFaceTop = Rgb(0xE4E6E9);
inline constexpr std::uint32_t kFaceBottom = Rgb(0xC9CED4);
inline constexpr std::uint32_t kFaceBorder = Rgb(0x7D8894);
inline constexpr std::uint32_t kFaceShine = Rgb(0xF7F8F9);
inline constexpr std::uint32_t kHotTop = Rgb(0xEEF1F4);
inline constexpr std::uint32_t kHotBottom = Rgb(0xD6DCE3);
inline constexpr std::uint32_t kPressedTop = Rgb(0xBCC3CB);
inline constexpr std::uint32_t kPressedBottom = Rgb(0xD0D5DB);
inline constexpr std::uint32_t kPressedShade = Rgb(0x9AA4AF);
inline constexpr std::uint32_t kDisabledFace = Rgb(0xD8DADC);
inline constexpr std::uint32_t kDisabledBorder = Rgb(0xA9AFB5);
inline constexpr std::uint32_t kTrack = Rgb(0xE3E6EA);
inline constexpr std::uint32_t kTrackLine = Rgb(0xC4CAD1);

inline constexpr std::uint32_t kCloseHotTop = Rgb(0xC24D43);
inline constexpr std::uint32_t kCloseHotBottom = Rgb(0x8E2B24);
inline constexpr std::uint32_t kClosePressed = Rgb(0x7A231D);

// The four looks of a light control face (normal, hot, pressed, disabled), with the corner
// radius and the colour it is expected to sit on; `horizontal` turns the gradient sideways.
enum class TLook { Normal, Hot, Pressed, Disabled, Focused };
TFace LightFace(TLook look, double radius, std::uint32_t behind, bool horizontal = false);
// Ink of small dark glyphs (chevrons, check marks) on those faces.
std::uint32_t InkOf(TLook look);
// The order of four stacked states wherever a strip holds them.
inline constexpr TLook kFourLooks[] = {TLook::Normal, TLook::Hot, TLook::Pressed, TLook::Disabled};
inline constexpr TLook kFiveLooks[] = {TLook::Normal, TLook::Hot, TLook::Pressed, TLook::Disabled, TLook::Focused};

}  // namespace vandrel::steelskin::palette
