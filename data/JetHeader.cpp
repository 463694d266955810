#include "data/JetHeader.h"

#include <array>
#include <cmath>
#include <cstring>

#include "data/DatabaseError.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

constexpr size_t kMaskedStart = 0x18;
constexpr size_t kMaskedLength = 128;
constexpr size_t kPasswordOffset = 0x42;
constexpr size_t kPasswordLength = 40;
constexpr size_t kCreationDateOffset = 0x72;
constexpr size_t kDatabaseKeyOffset = 0x3E;
constexpr size_t kVersionOffset = 0x14;

// The header mask is the RC4 keystream of a fixed 4-byte key.
const std::array<uint8_t, kMaskedLength>& HeaderMask() {
  static const std::array<uint8_t, kMaskedLength> mask = [] {
    const uint8_t key[4] = {0xC7, 0xDA, 0x39, 0x6B};
    uint8_t s[256];
    for (int i = 0; i < 256; ++i) s[i] = uint8_t(i);
    for (int i = 0, j = 0; i < 256; ++i) {
      j = (j + s[i] + key[i % 4]) & 0xFF;
      std::swap(s[i], s[j]);
    }
    std::array<uint8_t, kMaskedLength> out{};
    for (size_t n = 0, i = 0, j = 0; n < kMaskedLength; ++n) {
      i = (i + 1) & 0xFF;
      j = (j + s[i]) & 0xFF;
      std::swap(s[i], s[j]);
      out[n] = s[(s[i] + s[j]) & 0xFF];
    }
    return out;
  }();
  return mask;
}

uint8_t Unmasked(const uint8_t* page, size_t offset) {
  return page[offset] ^ HeaderMask()[offset - kMaskedStart];
}

std::array<uint8_t, 4> DateMask(const uint8_t* page) {
  uint8_t raw[8];
  for (size_t i = 0; i < 8; ++i) raw[i] = Unmasked(page, kCreationDateOffset + i);
  double created;
  std::memcpy(&created, raw, 8);
  int32_t days = 0;
  if (std::isfinite(created) && created > -2147483648.0 && created < 2147483648.0)
    days = int32_t(std::trunc(created));
  const auto u = uint32_t(days);
  return {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
}

}  // namespace

TJetHeader ReadJetHeader(const uint8_t* data, size_t size, const std::string& fileName) {
  static constexpr char kMagic[] = "Standard Jet DB";
  if (size < JetPageSize || data[0] != 0 || std::memcmp(data + 4, kMagic, sizeof kMagic - 1) != 0)
    throw EDatabaseError("Unrecognized database format '" + fileName + "' (not an Access database).");
  if (data[kVersionOffset] != 1)
    throw EDatabaseError("Unrecognized database format '" + fileName +
                         "' (only Access 2000-2003 files are supported).");
  if (size % JetPageSize != 0)
    throw EDatabaseError("The database '" + fileName + "' is damaged (file length " +
                         std::to_string(size) + " is not a whole number of pages).");
  // The catalog lives on page 2; a file that ends before it cannot be a database.
  if (size < 3 * JetPageSize) {
    const size_t pages = size / JetPageSize;
    throw EDatabaseError("The database '" + fileName + "' is damaged (it has " + std::to_string(pages) +
                         (pages == 1 ? " page" : " pages") + ", too few for a database).");
  }

  TJetHeader header;
  uint8_t raw[8];
  for (size_t i = 0; i < 8; ++i) raw[i] = Unmasked(data, kCreationDateOffset + i);
  std::memcpy(&header.CreationDate, raw, 8);
  for (size_t i = 0; i < 4; ++i)
    header.DatabaseKey |= uint32_t(Unmasked(data, kDatabaseKeyOffset + i)) << (8 * i);

  const auto dm = DateMask(data);
  std::u16string password;
  for (size_t i = 0; i + 1 < kPasswordLength; i += 2) {
    const uint8_t lo = Unmasked(data, kPasswordOffset + i) ^ dm[i % 4];
    const uint8_t hi = Unmasked(data, kPasswordOffset + i + 1) ^ dm[(i + 1) % 4];
    const char16_t c = char16_t(lo | (hi << 8));
    if (c == 0) break;
    password.push_back(c);
  }
  header.Password = Utf16ToUtf8(password);
  return header;
}

void WriteJetPassword(uint8_t* page0, const std::u16string& password) {
  const auto dm = DateMask(page0);
  for (size_t i = 0; i < kPasswordLength; ++i) {
    const size_t ch = i / 2;
    uint8_t plain = 0;
    if (ch < password.size()) plain = uint8_t(i % 2 == 0 ? password[ch] & 0xFF : password[ch] >> 8);
    page0[kPasswordOffset + i] =
        plain ^ dm[i % 4] ^ HeaderMask()[kPasswordOffset - kMaskedStart + i];
  }
}

}  // namespace vandrel
