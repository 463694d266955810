// The few bitmap draws a transition makes: a whole picture, unscaled, into another picture or
// onto a device context, in the pixel mode its flags give (blend with alpha, keyed, or a plain
// copy). Kept beside the transitions until the bitmap library's own Draw takes their place.
#pragma once

#include "graphics/Bitmap.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

enum class TseDrawMode { Copy, Keyed, Blend };

// HasAlpha gives blend, else HasKey gives keyed, else copy.
TseDrawMode DrawModeOf(const TseBitmap& source);
// The whole source at (x, y), clipped to the target.
void DrawPicture(const TseBitmap& source, TseBitmap& target, int x, int y, TseDrawMode mode);
// Onto any context: copies through the platform's blit; the other modes mix with what the
// context holds through a temporary picture of the same size.
void DrawPicture(const TseBitmap& source, HDC target, int x, int y, TseDrawMode mode);

}  // namespace vandrel
