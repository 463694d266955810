// Page 0 of a Jet 4 file: the checks that tell an Access database from anything else before
// libmdb sees the bytes, and the database password stored (masked) in the header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vandrel {

constexpr size_t JetPageSize = 4096;

struct TJetHeader {
  // Text before the first U+0000 of the stored password; empty when the file has none.
  std::string Password;
  double CreationDate = 0;
  // Non-zero when the data pages are RC4-encoded.
  uint32_t DatabaseKey = 0;
};

// Raises EDatabaseError naming `fileName` when the bytes are not a Jet 4 database.
TJetHeader ReadJetHeader(const uint8_t* data, size_t size, const std::string& fileName);

// The stored form of a password, as Access writes it (used to build test files).
void WriteJetPassword(uint8_t* page0, const std::u16string& password);

}  // namespace vandrel
