// A database file read into memory as it was at one moment. The sibling application may write
// the file while we read it; a read that saw the file change is not used.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/ByteBuffer.h"

namespace vandrel {

struct TFileImage {
  TByteBuffer Bytes;
  uint64_t Hash = 0;  // of Bytes
};

// The whole file. When its size, modification time or first page differ after the read from
// what they were before it, the file is read again, up to three more times; then it raises
// EDatabaseError saying the file is busy. `afterRead` runs after each read, before the check.
// Raises EDatabaseError for a file that cannot be opened or read.
TFileImage ReadFileImage(const std::string& path, const std::function<void()>& afterRead = {});

// The content hash of the file when it has `size` bytes, read in pieces (no image of the whole
// file), and its first pages for the password check. False when the size differs or a read
// fails: the caller then reads the whole file as a new one.
bool HashOfSize(const std::string& path, size_t size, uint64_t& hash, std::vector<uint8_t>& head);

}  // namespace vandrel
