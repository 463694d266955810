#include "graphics/RowKernels.h"

#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VANDREL_X86_KERNELS 1
#endif

namespace vandrel {
namespace {

constexpr TseColor kOpaque = 0xFF000000u;

// --- The plain loops: the formulas as stated, the reference for every other set.

void CopyPlain(const TseColor* s, TseColor* t, int count) {
  if (count > 0) std::memmove(t, s, size_t(count) * sizeof(TseColor));
}

void KeyedPlain(const TseColor* s, TseColor* t, int count) {
  for (int i = 0; i < count; ++i)
    if (!SameRGB(s[i], kTransparentKey)) t[i] = s[i] | kOpaque;
}

void LaneBlendPlain(const TseColor* s, TseColor* t, int count) {
  for (int i = 0; i < count; ++i) {
    const unsigned a = AlphaOf(s[i]);
    if (a == 0) continue;
    t[i] = a == 255 ? s[i] : LaneBlendPixel(s[i], t[i]);
  }
}

void GatherPlain(const TseColor* s, const int* columns, TseColor* t, int count) {
  for (int i = 0; i < count; ++i) t[i] = s[columns[i]];
}

void ScalarBlendRow(const TseColor* s, TseColor* t, int count) {
  for (int i = 0; i < count; ++i) {
    const unsigned a = AlphaOf(s[i]);
    if (a == 0) continue;
    t[i] = a == 255 ? s[i] : ScalarBlendPixel(s[i], t[i]);
  }
}

#ifdef VANDREL_X86_KERNELS

// --- SSE2, four pixels at a time. The lane formula is worked on the even bytes (blue, red) and
// the odd bytes (green, alpha) of each pixel as two sets of 16-bit lanes: t * 256 + a * (s - t)
// lies in 0..65280, so 16-bit arithmetic that wraps still ends on the exact value, and its high
// byte is the result.

inline __m128i LaneBlend4(__m128i s, __m128i t) {
  const __m128i low = _mm_set1_epi16(0x00FF);
  const __m128i so = _mm_srli_epi16(s, 8);
  const __m128i to = _mm_srli_epi16(t, 8);
  const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(so, 0xF5), 0xF5);
  const __m128i se = _mm_and_si128(s, low), te = _mm_and_si128(t, low);
  const __m128i even = _mm_add_epi16(_mm_slli_epi16(t, 8), _mm_mullo_epi16(_mm_sub_epi16(se, te), a));
  const __m128i odd = _mm_add_epi16(_mm_andnot_si128(low, t), _mm_mullo_epi16(_mm_sub_epi16(so, to), a));
  return _mm_or_si128(_mm_srli_epi16(even, 8), _mm_andnot_si128(low, odd));
}

void LaneBlendSse2(const TseColor* s, TseColor* t, int count) {
  const __m128i alphaMask = _mm_set1_epi32(int(kOpaque));
  const __m128i zero = _mm_setzero_si128();
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i alpha = _mm_and_si128(sv, alphaMask);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF) continue;
    const __m128i full = _mm_cmpeq_epi32(alpha, alphaMask);
    __m128i* tp = reinterpret_cast<__m128i*>(t + i);
    if (_mm_movemask_epi8(full) == 0xFFFF) {
      _mm_storeu_si128(tp, sv);
      continue;
    }
    const __m128i mixed = LaneBlend4(sv, _mm_loadu_si128(tp));
    _mm_storeu_si128(tp, _mm_or_si128(_mm_and_si128(full, sv), _mm_andnot_si128(full, mixed)));
  }
  LaneBlendPlain(s + i, t + i, count - i);
}

void KeyedSse2(const TseColor* s, TseColor* t, int count) {
  const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
  const __m128i key = _mm_set1_epi32(int(kTransparentKey));
  const __m128i opaque = _mm_set1_epi32(int(kOpaque));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i keyed = _mm_cmpeq_epi32(_mm_and_si128(sv, rgb), key);
    const int k = _mm_movemask_epi8(keyed);
    if (k == 0xFFFF) continue;
    __m128i* tp = reinterpret_cast<__m128i*>(t + i);
    __m128i out = _mm_or_si128(sv, opaque);
    if (k != 0) out = _mm_or_si128(_mm_and_si128(keyed, _mm_loadu_si128(tp)), _mm_andnot_si128(keyed, out));
    _mm_storeu_si128(tp, out);
  }
  KeyedPlain(s + i, t + i, count - i);
}

void GatherSse2(const TseColor* s, const int* columns, TseColor* t, int count) {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i v = _mm_set_epi32(int(s[columns[i + 3]]), int(s[columns[i + 2]]),
                                    int(s[columns[i + 1]]), int(s[columns[i]]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(t + i), v);
  }
  GatherPlain(s, columns + i, t + i, count - i);
}

// --- AVX2, eight pixels at a time, the same arithmetic.

__attribute__((target("avx2"))) inline __m256i LaneBlend8(__m256i s, __m256i t) {
  const __m256i low = _mm256_set1_epi16(0x00FF);
  // Alpha (byte 3) into both 16-bit lanes of its pixel.
  const __m256i spread = _mm256_setr_epi8(3, -1, 3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1,
                                          3, -1, 3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1);
  const __m256i a = _mm256_shuffle_epi8(s, spread);
  const __m256i so = _mm256_srli_epi16(s, 8), to = _mm256_srli_epi16(t, 8);
  const __m256i se = _mm256_and_si256(s, low), te = _mm256_and_si256(t, low);
  const __m256i even =
      _mm256_add_epi16(_mm256_slli_epi16(t, 8), _mm256_mullo_epi16(_mm256_sub_epi16(se, te), a));
  const __m256i odd =
      _mm256_add_epi16(_mm256_andnot_si256(low, t), _mm256_mullo_epi16(_mm256_sub_epi16(so, to), a));
  return _mm256_or_si256(_mm256_srli_epi16(even, 8), _mm256_andnot_si256(low, odd));
}

__attribute__((target("avx2"))) void LaneBlendAvx2(const TseColor* s, TseColor* t, int count) {
  const __m256i alphaMask = _mm256_set1_epi32(int(kOpaque));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m256i alpha = _mm256_and_si256(sv, alphaMask);
    if (_mm256_testz_si256(sv, alphaMask)) continue;
    const __m256i full = _mm256_cmpeq_epi32(alpha, alphaMask);
    __m256i* tp = reinterpret_cast<__m256i*>(t + i);
    if (_mm256_movemask_epi8(full) == -1) {
      _mm256_storeu_si256(tp, sv);
      continue;
    }
    const __m256i mixed = LaneBlend8(sv, _mm256_loadu_si256(tp));
    _mm256_storeu_si256(tp, _mm256_blendv_epi8(mixed, sv, full));
  }
  LaneBlendSse2(s + i, t + i, count - i);
}

__attribute__((target("avx2"))) void KeyedAvx2(const TseColor* s, TseColor* t, int count) {
  const __m256i rgb = _mm256_set1_epi32(0x00FFFFFF);
  const __m256i key = _mm256_set1_epi32(int(kTransparentKey));
  const __m256i opaque = _mm256_set1_epi32(int(kOpaque));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m256i keyed = _mm256_cmpeq_epi32(_mm256_and_si256(sv, rgb), key);
    const int k = _mm256_movemask_epi8(keyed);
    if (k == -1) continue;
    __m256i* tp = reinterpret_cast<__m256i*>(t + i);
    __m256i out = _mm256_or_si256(sv, opaque);
    if (k != 0) out = _mm256_blendv_epi8(out, _mm256_loadu_si256(tp), keyed);
    _mm256_storeu_si256(tp, out);
  }
  KeyedSse2(s + i, t + i, count - i);
}

#endif

std::vector<TRowKernels> FindKernels() {
  std::vector<TRowKernels> sets{{"plain", CopyPlain, KeyedPlain, LaneBlendPlain, GatherPlain}};
#ifdef VANDREL_X86_KERNELS
  __builtin_cpu_init();
  if (__builtin_cpu_supports("sse2"))
    sets.push_back({"sse2", CopyPlain, KeyedSse2, LaneBlendSse2, GatherSse2});
  if (__builtin_cpu_supports("avx2"))
    // The processor's gather instruction loses to four loads and a store on the machines measured.
    sets.push_back({"avx2", CopyPlain, KeyedAvx2, LaneBlendAvx2, GatherSse2});
#endif
  return sets;
}

const std::vector<TRowKernels>& Kernels() {
  static const std::vector<TRowKernels> sets = FindKernels();
  return sets;
}

}  // namespace

std::span<const TRowKernels> AvailableRowKernels() { return Kernels(); }

const TRowKernels& RowKernels() { return Kernels().back(); }

TRowKernel BlendRowKernel() { return UsingLaneBlend() ? RowKernels().laneBlend : ScalarBlendRow; }

}  // namespace vandrel
