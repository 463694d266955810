// libFuzzer target: any bytes as an Access file, through the program's open path (header check,
// import in a child process, schema) and one query per table. Anything but EDatabaseError is a
// finding; a crash or hang of libmdb inside the child must come back as EDatabaseError.
#include <cstdint>
#include <vector>

#include "data/DatabaseError.h"
#include "data/JetDatabase.h"
#include "data/JetHeader.h"

using namespace vandrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    // The connection checks the header before anything else; so does this target.
    ReadJetHeader(data, size, "fuzz.mdb");
    TJetDatabase db(TByteBuffer(data, size), 0, "fuzz.mdb");
    for (const char* table : {"tHint", "TEmp", "AllTypes", "Table1", "MSysObjects"}) {
      try {
        db.Execute(std::string("select * from ") + table);
      } catch (const EDatabaseError&) {
      }
    }
  } catch (const EDatabaseError&) {
  }
  return 0;
}
