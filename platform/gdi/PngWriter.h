// PNG files of surfaces, for tests, snapshots and debugging.
#pragma once

#include <string>

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Surface.h"

namespace vandrel {

// Writes 8-bit RGB (the drawing calls leave alpha 0, so it is ignored by default) or RGBA.
// Raises EFCreateError when the file cannot be created, EWriteError when writing fails.
void WritePng(const TSurface& surface, const std::string& path, bool withAlpha = false);
// The bitmap, or the surface a context draws into.
void WritePng(HBITMAP bitmap, const std::string& path, bool withAlpha = false);
void WritePng(HDC dc, const std::string& path, bool withAlpha = false);

}  // namespace vandrel
