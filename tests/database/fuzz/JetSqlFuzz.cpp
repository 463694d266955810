// libFuzzer target: any text as a Jet SELECT. Parsing and translation must either succeed or
// raise EDatabaseError; translated SQL must run on SQLite without crashing.
#include <cstdint>
#include <memory>
#include <string>

#include "data/DatabaseError.h"
#include "data/JetDatabase.h"
#include "data/JetSqlTranslator.h"
#include "platform/core/Exception.h"

using namespace vandrel;

namespace {

std::shared_ptr<TJetDatabase> Database() {
  static std::shared_ptr<TJetDatabase> db;
  static int uses = 0;
  // Results are kept per SQL text; start afresh now and then so memory stays bounded.
  if (!db || ++uses % 2000 == 0) {
    FILE* f = std::fopen(VANDREL_TEST_DATA "/mdb/types.mdb", "rb");
    std::vector<uint8_t> image(1 << 20);
    image.resize(std::fread(image.data(), 1, image.size(), f));
    std::fclose(f);
    db = std::make_shared<TJetDatabase>(TByteBuffer(image.data(), image.size()), 0, "types.mdb");
  }
  return db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 2000) return 0;
  const std::string sql(reinterpret_cast<const char*>(data), size);
  try {
    // Cross joins of many tables are legal and merely slow; keep each input quick.
    if (JetSelectTables(sql).size() > 2) return 0;
    Database()->Execute(sql);
  } catch (const EDatabaseError&) {
  } catch (const EConvertError&) {
  }
  return 0;
}
