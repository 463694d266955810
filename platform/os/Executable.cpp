#include "platform/os/Executable.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/core/Exception.h"
#include "platform/os/UserDirectories.h"

namespace vandrel {

std::string ExeFileName() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length < 0) throw EOSError("Cannot find the program's own file: " + SystemMessage(errno));
  if (size_t(length) >= sizeof buffer) throw EOSError("Cannot find the program's own file: the path is too long");
  return std::string(buffer, size_t(length));
}

std::string ExeDirectory() {
  std::string path = ExeFileName();
  return path.substr(0, path.find_last_of('/') + 1);
}

}  // namespace vandrel
