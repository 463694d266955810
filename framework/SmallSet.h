// A set of up to 64 enumeration values, the value type of set properties and of component state.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace vandrel {

template <typename E>
class TSmallSet {
 public:
  constexpr TSmallSet() = default;
  constexpr TSmallSet(std::initializer_list<E> values) {
    for (E v : values) Include(v);
  }
  static constexpr TSmallSet FromBits(std::uint64_t bits) {
    TSmallSet s;
    s.m_bits = bits;
    return s;
  }

  constexpr std::uint64_t Bits() const { return m_bits; }
  constexpr bool Contains(E v) const { return (m_bits & Bit(v)) != 0; }
  constexpr bool Empty() const { return m_bits == 0; }
  constexpr TSmallSet& Include(E v) {
    m_bits |= Bit(v);
    return *this;
  }
  constexpr TSmallSet& Exclude(E v) {
    m_bits &= ~Bit(v);
    return *this;
  }
  constexpr TSmallSet operator|(TSmallSet o) const { return FromBits(m_bits | o.m_bits); }
  constexpr TSmallSet operator&(TSmallSet o) const { return FromBits(m_bits & o.m_bits); }
  constexpr TSmallSet operator-(TSmallSet o) const { return FromBits(m_bits & ~o.m_bits); }
  constexpr bool operator==(const TSmallSet&) const = default;

 private:
  static constexpr std::uint64_t Bit(E v) { return std::uint64_t(1) << unsigned(v); }
  std::uint64_t m_bits = 0;
};

}  // namespace vandrel
