// Whole-file reads and crash-safe whole-file writes. A write goes to a temporary file in the same
// folder, is flushed to the disk and then renamed over the target, so a crash leaves either the
// old or the new file, never a torn one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vandrel {

struct TFileReadResult {
  // Set when the file was read; empty with error == ENOENT when it does not exist.
  std::optional<std::string> bytes;
  int error = 0;
};

TFileReadResult ReadWholeFile(const std::string& fileName);

// Replaces fileName by bytes. An existing file keeps its permission bits; a symbolic link is
// followed, so the link stays and its target is replaced. Raises EOSError with the system's
// message, leaving the old file as it was.
void WriteFileAtomically(const std::string& fileName, std::string_view bytes);

// Follows symbolic links to the file that a write would replace (the name itself when it is not a
// link or cannot be resolved).
std::string ResolveFileName(const std::string& fileName);

}  // namespace vandrel
