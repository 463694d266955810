// Reading the committed reference streams.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/Stream.h"

namespace vandrel::test {

inline std::vector<std::uint8_t> ReadDataFile(const std::string& name) {
  std::ifstream in(std::string(VANDREL_TEST_DATA) + "/streams/" + name, std::ios::binary);
  if (!in) throw std::runtime_error("missing test data file " + name);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ReadDataText(const std::string& name) {
  auto bytes = ReadDataFile(name);
  return {bytes.begin(), bytes.end()};
}

inline std::vector<std::uint8_t> Bytes(const TMemoryStream& s) { return s.Bytes(); }

}  // namespace vandrel::test
