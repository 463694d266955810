// The platform's linear congruential generator: seed = seed * 134775813 + 1 (mod 2^32), and a
// number below n is the high 32 bits of seed * n. Effects that scatter cells reseed one with the
// grid size before every frame, so a frame repeats the sequence of the one before it.
#pragma once

#include <cstdint>

namespace vandrel {

class TLinearRandom {
 public:
  explicit TLinearRandom(std::uint32_t seed = 0) : m_seed(seed) {}
  std::uint32_t Seed() const { return m_seed; }
  void SetSeed(std::uint32_t seed) { m_seed = seed; }
  // 0 to n - 1; 0 when n is 0.
  std::uint32_t Next(std::uint32_t n) {
    m_seed = m_seed * 134775813u + 1u;
    return std::uint32_t((std::uint64_t(m_seed) * n) >> 32);
  }

 private:
  std::uint32_t m_seed;
};

}  // namespace vandrel
