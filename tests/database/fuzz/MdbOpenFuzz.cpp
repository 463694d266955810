// libFuzzer target: any bytes as an Access file. Opening, listing the tables and reading every
// row must either succeed or raise EDatabaseError, and never hang.
#include <cstdint>
#include <vector>

#include "data/DatabaseError.h"
#include "data/MdbFile.h"

using namespace vandrel;

namespace {

struct CountingSink : TJetRowSink {
  size_t values = 0;
  void Null(size_t) override { ++values; }
  void Integer(size_t, int64_t v) override { values += v != 0; }
  void Real(size_t, double v) override { values += v != 0; }
  void Text(size_t, std::string_view s) override { values += s.size(); }
  void Blob(size_t, const uint8_t*, size_t n) override { values += n; }
  void EndRow() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> image(data, data + size);
  try {
    TMdbFile file(image.data(), image.size(), "fuzz.mdb");
    CountingSink sink;
    for (const auto& table : file.Tables()) {
      file.Columns(table);
      file.ReadRows(table, sink);
    }
  } catch (const EDatabaseError&) {
  }
  return 0;
}
