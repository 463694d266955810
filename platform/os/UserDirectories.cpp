#include "platform/os/UserDirectories.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/core/Exception.h"

namespace vandrel {
namespace {

std::string AbsoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return {};
  return value;
}

}  // namespace

std::string HomeDirectory() {
  std::string home = AbsoluteEnv("HOME");
  if (!home.empty()) return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
    return entry->pw_dir;
  return "/";
}

std::string ConfigHomeDirectory() {
  std::string config = AbsoluteEnv("XDG_CONFIG_HOME");
  return config.empty() ? JoinPath(HomeDirectory(), ".config") : config;
}

std::string DataHomeDirectory() {
  std::string data = AbsoluteEnv("XDG_DATA_HOME");
  return data.empty() ? JoinPath(JoinPath(HomeDirectory(), ".local"), "share") : data;
}

std::string RuntimeDirectory() {
  std::string runtime = AbsoluteEnv("XDG_RUNTIME_DIR");
  if (!runtime.empty()) return runtime;
  std::string temp = AbsoluteEnv("TMPDIR");
  if (temp.empty()) temp = "/tmp";
  std::string folder = JoinPath(temp, "vandrel-" + std::to_string(getuid()));
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
    throw EOSError("Cannot create " + folder + ": " + SystemMessage(errno));
  // A folder someone else made in a shared /tmp (or a symlink planted there) must not hold our
  // locks: accept only a real directory of ours, reachable by nobody else.
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0)
    throw EOSError("Cannot use " + folder + ": " + SystemMessage(errno));
  if (!S_ISDIR(info.st_mode) || info.st_uid != getuid())
    throw EOSError("Cannot use " + folder + ": it is not a folder of this user");
  if ((info.st_mode & 0777) != 0700 && chmod(folder.c_str(), 0700) != 0)
    throw EOSError("Cannot use " + folder + ": " + SystemMessage(errno));
  return folder;
}

std::string ParentPath(std::string_view path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  if (directory.empty()) return std::string(name);
  std::string result(directory);
  if (result.back() != '/') result += '/';
  result += name;
  return result;
}

bool CanWriteDirectory(const std::string& path) {
  // The effective ids decide, as they do for the files we then create.
  return !path.empty() && faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool MakeDirectories(const std::string& path, unsigned mode) {
  if (path.empty()) return true;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  if (errno != ENOENT) return false;
  std::string parent = ParentPath(path);
  if (parent != path && !MakeDirectories(parent, mode)) return false;
  return mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

std::string SystemMessage(int error) {
  char buffer[256];
  // The GNU strerror_r may return a static string instead of filling the buffer.
  return strerror_r(error, buffer, sizeof buffer);
}

}  // namespace vandrel
