// The paint buffer shared by every control and window that paints in the shared-buffer mode: one
// bitmap for the process, larger than the screen by 500 pixels each way so that any control fits
// in its top-left corner. It is sized on first use and never shrunk.
#pragma once

#include "graphics/Bitmap.h"

namespace vandrel {

// The buffer, sized (screen size read when the buffer was first asked for, plus 500 each way).
TseBitmap& SharedPaintBuffer();
// Whether the buffer has pixels yet (for tests and diagnostics); does not size it.
bool SharedPaintBufferAllocated();

}  // namespace vandrel
