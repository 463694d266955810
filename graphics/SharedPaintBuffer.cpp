#include "graphics/SharedPaintBuffer.h"

#include "platform/gdi/SystemMetrics.h"

namespace vandrel {
namespace {

struct TSharedBuffer {
  TseBitmap bitmap;
  int width = GetSystemMetrics(SM_CXSCREEN) + 500;
  int height = GetSystemMetrics(SM_CYSCREEN) + 500;
};

TSharedBuffer& Shared() {
  static TSharedBuffer shared;
  return shared;
}

}  // namespace

TseBitmap& SharedPaintBuffer() {
  TSharedBuffer& s = Shared();
  if (s.bitmap.IsEmpty()) s.bitmap.SetSize(s.width, s.height);
  return s.bitmap;
}

bool SharedPaintBufferAllocated() { return !Shared().bitmap.IsEmpty(); }

}  // namespace vandrel
