#include "graphics/SharedPaintBuffer.h"

#include "platform/gdi/SystemMetrics.h"

namespace vandrel {
namespace {

struct TSharedBuffer {
  TseBitmap bitmap;
  int width = GetSystemMetrics(SM_CXSCREEN) + 500;
  int height = GetSystemMetrics(SM_CYSCREEN) + 500;
  bool lent = false;
};

TSharedBuffer& Shared() {
  // Never destroyed: a bitmap destroyed at exit would need the platform's object table and the
  // bitmap registry, which may be gone by then.
  static TSharedBuffer* shared = new TSharedBuffer;
  return *shared;
}

}  // namespace

TseBitmap& SharedPaintBuffer() {
  TSharedBuffer& s = Shared();
  if (s.bitmap.IsEmpty()) s.bitmap.SetSize(s.width, s.height);
  return s.bitmap;
}

bool SharedPaintBufferAllocated() { return !Shared().bitmap.IsEmpty(); }

bool SharedPaintBufferLent() { return Shared().lent; }

TSharedPaintBufferLease::TSharedPaintBufferLease(int width, int height) {
  TSharedBuffer& s = Shared();
  if (s.lent) return;
  TseBitmap& buffer = SharedPaintBuffer();
  if (width > buffer.Width() || height > buffer.Height()) return;
  s.lent = true;
  m_bitmap = &buffer;
}

TSharedPaintBufferLease::~TSharedPaintBufferLease() {
  if (m_bitmap) Shared().lent = false;
}

}  // namespace vandrel
