#include "framework/Filer.h"

#include <bit>
#include <cstring>
#include <limits>

namespace vandrel {

// The platform's long double is the x87 80-bit extended format, whose first ten bytes are the
// stored layout; elsewhere a conversion would be needed.
static_assert(std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10,
              "extended reals need the x87 80-bit long double");

// Singles, doubles and counts are stored little-endian, as they lie in memory here.
static_assert(std::endian::native == std::endian::little, "streams assume a little-endian host");

std::array<std::uint8_t, 10> ExtendedToBytes(long double value) {
  std::array<std::uint8_t, 10> bytes{};
  std::memcpy(bytes.data(), &value, 10);
  return bytes;
}

long double ExtendedFromBytes(const std::uint8_t* bytes) {
  long double value = 0;
  std::memcpy(&value, bytes, 10);
  return value;
}

}  // namespace vandrel
