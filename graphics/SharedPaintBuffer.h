// The paint buffer shared by every control and window that paints in the shared-buffer mode: one
// bitmap for the process, larger than the screen by 500 pixels each way so that any control fits
// in its top-left corner. It is sized on first use and never shrunk.
//
// Paints nest (a blended control paints its windowless siblings, a window answers a child's
// background request while the child paints), so the buffer is lent to one surface at a time: a
// surface that finds it lent, or too small, paints into a bitmap of its own instead.
#pragma once

#include "graphics/Bitmap.h"

namespace vandrel {

// The buffer, sized (screen size read when the buffer was first asked for, plus 500 each way).
// It lives until the process ends and is never destroyed, so no exit-time destructor order can
// reach it.
TseBitmap& SharedPaintBuffer();
// Whether the buffer has pixels yet (for tests and diagnostics); does not size it.
bool SharedPaintBufferAllocated();
// Whether a surface holds the buffer now.
bool SharedPaintBufferLent();

// One surface's hold on the buffer, from construction to destruction. Bitmap() is the buffer when
// it was free and at least width x height, else null and nothing is held.
class TSharedPaintBufferLease {
 public:
  TSharedPaintBufferLease(int width, int height);
  ~TSharedPaintBufferLease();
  TSharedPaintBufferLease(const TSharedPaintBufferLease&) = delete;
  TSharedPaintBufferLease& operator=(const TSharedPaintBufferLease&) = delete;

  TseBitmap* Bitmap() const { return m_bitmap; }

 private:
  TseBitmap* m_bitmap = nullptr;
};

}  // namespace vandrel
