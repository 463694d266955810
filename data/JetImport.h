// Copies the user tables of an Access file into SQLite, each with its Jet column types in the
// declared types. libmdb trusts offsets it reads from the file, so the copy runs in a child
// process with a time limit: a damaged file that crashes or hangs libmdb costs the child, and
// the program gets an error. The child hands back the whole database image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

namespace vandrel {

// Name of the table in the image that lists the tables that could not be read, with the reason.
inline constexpr const char* kImportFailuresTable = "vandrel import failures";

// In this process: every user table of the file into `db`. A table that cannot be read is
// recorded in kImportFailuresTable; a file that cannot be read at all raises EDatabaseError.
void ImportAllTables(sqlite3* db, const uint8_t* image, size_t size, const std::string& fileName);

// In a child process: the same, returned as the serialized database image (sqlite3_malloc64
// memory, owned by the caller). Raises EDatabaseError naming the file when the child fails,
// crashes or runs past its time limit.
struct TImportImage {
  unsigned char* Data = nullptr;
  size_t Size = 0;
};
TImportImage ImportInChildProcess(const std::vector<uint8_t>& image, const std::string& fileName);

}  // namespace vandrel
