// The row kernels of the drawing pipeline, written three times: a plain loop that states each
// formula, and SSE2 and AVX2 forms that must give the same bytes. The processor's features pick
// one set once; tests run every set the processor can execute against the plain one.
//
//   kernel   a source pixel s (alpha a) over a target pixel t
//   copy     t = s
//   keyed    t = s with alpha 255, unless s's red, green and blue are the key's (127, 0, 127)
//   blend    a = 0: t stays; a = 255: t = s; else each byte, alpha included,
//            t = (t * 256 + a * (s - t)) div 256     (the lane formula)
//
// The blend without the lane formula (processors without the multimedia feature) is the scalar
// blend of PixelBlend.h; BlendRowKernel() answers whichever the processor check chose.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "graphics/PixelBlend.h"

namespace vandrel {

using TRowKernel = void (*)(const TseColor* s, TseColor* t, int count);
// t[i] = s[columns[i]] for i < count.
using TGatherKernel = void (*)(const TseColor* s, const int* columns, TseColor* t, int count);

struct TRowKernels {
  std::string_view name;
  TRowKernel copy;
  TRowKernel keyed;
  TRowKernel laneBlend;
  TGatherKernel gather;
};

// The plain loops, then whichever SIMD sets this processor can run, best last.
std::span<const TRowKernels> AvailableRowKernels();
// The best of them, chosen on first use.
const TRowKernels& RowKernels();

// The blend row of the kernel the processor check chose (lanes or scalar).
TRowKernel BlendRowKernel();

}  // namespace vandrel
