// The artwork of the shipped "Steel" skin: its 57 images, drawn from scratch, in the order, with
// the names and sizes the skin file lists them (the second LISTVIEWHEADER.BMP and the spelling
// ROLlDOWNPGLYPH.bmp included). Pixels are opaque 0xFFRRGGBB or the key; the skin file writer
// stores them as 16-bit 5-6-5 pictures.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/steel-skin/SkinImage.h"

namespace vandrel::steelskin {

std::vector<TSkinImage> DrawSteelImages();

// Colours the skin's objects need beside the pictures, as 0xRRGGBB.
// The popup menu item's ActiveColor: the accent, behind the white ActiveFont (5.2:1 against white).
inline constexpr std::uint32_t kMenuItemActiveColor = 0x4F6F91;
// The form and client colour (platform colour 14150122).
inline constexpr std::uint32_t kFormColor = 0xEAE9D7;

}  // namespace vandrel::steelskin
