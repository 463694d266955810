#include "platform/os/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/core/Exception.h"
#include "platform/os/UserDirectories.h"

namespace vandrel {
namespace {

[[noreturn]] void Fail(const std::string& fileName, int error) {
  throw EOSError("Cannot save " + fileName + ": " + SystemMessage(error));
}

// umask() can only be read by changing it, which races with other threads creating files.
mode_t CurrentUmask() {
  TFileReadResult status = ReadWholeFile("/proc/self/status");
  if (status.bytes) {
    size_t at = status.bytes->find("\nUmask:");
    if (at != std::string::npos) return mode_t(std::strtoul(status.bytes->c_str() + at + 7, nullptr, 8));
  }
  return 022;
}

}  // namespace

TFileReadResult ReadWholeFile(const std::string& fileName) {
  TFileReadResult result;
  int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.error = errno;
      close(fd);
      return result;
    }
    if (n == 0) break;
    bytes.append(buffer, size_t(n));
  }
  close(fd);
  result.bytes = std::move(bytes);
  return result;
}

std::string ResolveFileName(const std::string& fileName) {
  struct stat info {};
  if (lstat(fileName.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return fileName;
  char resolved[PATH_MAX];
  if (realpath(fileName.c_str(), resolved) != nullptr) return resolved;
  // A dangling link: write where it points, relative to the link's folder.
  ssize_t n = readlink(fileName.c_str(), resolved, sizeof resolved - 1);
  if (n <= 0) return fileName;
  std::string target(resolved, size_t(n));
  return target[0] == '/' ? target : JoinPath(ParentPath(fileName), target);
}

void WriteFileAtomically(const std::string& fileName, std::string_view bytes) {
  std::string target = ResolveFileName(fileName);
  std::string folder = ParentPath(target);
  if (folder.empty()) folder = ".";
  struct stat old {};
  bool existed = stat(target.c_str(), &old) == 0;
  if (existed && !S_ISREG(old.st_mode)) Fail(fileName, S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
  // rename() would happily replace a file that was made read-only; the owner meant it to stay.
  if (existed && access(target.c_str(), W_OK) != 0) Fail(fileName, errno);

  std::string tempName = JoinPath(folder, ".vandrel-XXXXXX");
  int fd = mkostemp(tempName.data(), O_CLOEXEC);
  if (fd < 0) Fail(fileName, errno);
  auto abandon = [&](int error) {
    close(fd);
    unlink(tempName.c_str());
    Fail(fileName, error);
  };
  size_t written = 0;
  while (written < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      abandon(errno);
    }
    written += size_t(n);
  }
  mode_t mode = existed ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
  if (fchmod(fd, mode) != 0) abandon(errno);
  if (fsync(fd) != 0) abandon(errno);
  if (close(fd) != 0) {
    int error = errno;
    unlink(tempName.c_str());
    Fail(fileName, error);
  }
  if (rename(tempName.c_str(), target.c_str()) != 0) {
    int error = errno;
    unlink(tempName.c_str());
    Fail(fileName, error);
  }
  // The rename itself must reach the disk too, or a crash could bring the old name back empty.
  int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
}

}  // namespace vandrel
