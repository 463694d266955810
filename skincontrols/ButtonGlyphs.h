// The pictures of the button kind presets: for each kind a 32 x 16 bitmap of two 16 x 16 cells,
// the normal picture and its embossed disabled form, on a background colour that the button
// reads from the bottom-left pixel and leaves out. They are drawn here from pixel maps, made on
// first use and kept for the life of the process.
#pragma once

#include <string_view>

#include "framework/Bitmap.h"
#include "platform/core/Color.h"

namespace vandrel {

// The background colour of every kind picture.
inline constexpr TColor kKindGlyphBackground = clOlive;

// The picture stored under a resource name "SE_BTN_OK", "SE_BTN_CANCEL", "SE_BTN_HELP",
// "SE_BTN_YES", "SE_BTN_NO", "SE_BTN_CLOSE", "SE_BTN_ABORT", "SE_BTN_RETRY", "SE_BTN_IGNORE" or
// "SE_BTN_ALL" (case ignored); raises EInvalidArgument for any other name.
const TBitmap& KindGlyph(std::string_view resourceName);

}  // namespace vandrel
