// Copies the user tables of an Access file into SQLite, each with its Jet column types in the
// declared types. libmdb trusts offsets it reads from the file, so the copy runs in child
// processes with a time limit: a damaged file that crashes or hangs libmdb costs a child, and
// the program gets an error. Each child hands back the database image of its share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/ByteBuffer.h"

namespace vandrel {

// Name of the table in the image that lists the tables that could not be read, with the reason.
inline constexpr const char* kImportFailuresTable = "vandrel import failures";

// In this process: the user tables of the file that fall to `part` of `parts` (see
// ImportInChildProcesses), as an SQLite database image (page size 16384). A table that cannot be
// read is recorded in kImportFailuresTable; a file that cannot be read at all raises EDatabaseError.
std::vector<uint8_t> ImportTables(const uint8_t* image, size_t size, const std::string& fileName, size_t part = 0,
                                  size_t parts = 1);

// In `parts` child processes at once, each importing its share of the tables (shared out by size,
// tables whose names differ only in case in one share): one serialized database image per share.
// Raises EDatabaseError naming the file when a child fails, crashes or runs past the time limit.
// The buffer has room beyond the image for the indexes the queries add later.
struct TImportImage {
  TByteBuffer Data;  // its size is the room
  size_t Size = 0;   // of the image
};
// `whileWaiting` runs at least once, and every few hundredths of a second while the children
// work (a window keeps painting); when it raises, the children are killed and the error passes on.
std::vector<TImportImage> ImportInChildProcesses(const uint8_t* image, size_t size, const std::string& fileName,
                                                 size_t parts, const std::function<void()>& whileWaiting = {});

}  // namespace vandrel
