#include "graphics/PixelBlend.h"

#include "graphics/RowKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace vandrel {
namespace {

int& KernelChoice() {
  static int choice = ProcessorHasBlendLanes() ? 1 : 0;
  return choice;
}

}  // namespace

bool ProcessorHasBlendLanes() {
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  unsigned family = (eax >> 8) & 0xF;
  return family > 4 && (edx & (1u << 23)) != 0;
#else
  return false;
#endif
}

bool UsingLaneBlend() { return KernelChoice() == 1; }
void ForceLaneBlend(bool lanes) { KernelChoice() = lanes ? 1 : 0; }

TseColor LaneBlendPixel(TseColor s, TseColor t) {
  const unsigned a = AlphaOf(s);
  TseColor out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    int sb = int((s >> shift) & 0xFF), tb = int((t >> shift) & 0xFF);
    // t * 256 + a * (s - t) equals t * (256 - a) + a * s, never negative, so the lane's logical
    // shift is an exact division.
    unsigned v = unsigned(tb * 256 + int(a) * (sb - tb)) >> 8;
    out |= TseColor(v & 0xFF) << shift;
  }
  return out;
}

TseColor ScalarBlendPixel(TseColor s, TseColor t) {
  const unsigned a = AlphaOf(s);
  if (a == 0) return t;
  if (a == 255) return s;
  TseColor out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    unsigned sb = (s >> shift) & 0xFF, tb = (t >> shift) & 0xFF;
    out |= TseColor(((sb * a + tb * (255 - a)) / 256) & 0xFF) << shift;
  }
  return out;
}

TseColor BlendPixel(TseColor s, TseColor t) {
  return UsingLaneBlend() ? LaneBlendPixel(s, t) : ScalarBlendPixel(s, t);
}

void BlendRow(const TseColor* s, TseColor* t, int count) { BlendRowKernel()(s, t, count); }

}  // namespace vandrel
