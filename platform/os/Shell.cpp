#include "platform/os/Shell.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/os/UserDirectories.h"

namespace vandrel {
namespace {

std::string FindProgram(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string candidate = JoinPath(end > start ? folders.substr(start, end - start) : ".", program);
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

}  // namespace

bool ShellOpen(const std::string& fileName, const std::string& opener) {
  std::string program = FindProgram(opener);
  if (program.empty() || fileName.empty()) return false;
  // A name that starts with '-' would be read as an option of the opener.
  std::string argument = fileName[0] == '-' ? "./" + fileName : fileName;
  char* argv[] = {program.data(), argument.data(), nullptr};

  // The opener runs as a grandchild that init adopts: nobody has to wait for it, and it leaves no
  // zombie behind. A pipe that closes on exec tells whether the exec worked.
  int status[2];
  if (pipe2(status, O_CLOEXEC) != 0) return false;
  pid_t child = fork();
  if (child < 0) {
    close(status[0]);
    close(status[1]);
    return false;
  }
  if (child == 0) {
    // Only async-signal-safe calls from here on: the parent may have other threads.
    close(status[0]);
    pid_t grandchild = fork();
    if (grandchild == 0) {
      setsid();
      execv(program.c_str(), argv);
      int error = errno;
      ssize_t ignored = write(status[1], &error, sizeof error);
      (void)ignored;
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  close(status[1]);
  int childStatus = 0;
  while (waitpid(child, &childStatus, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  while ((got = read(status[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  close(status[0]);
  return WIFEXITED(childStatus) && WEXITSTATUS(childStatus) == 0 && got == 0;
}

}  // namespace vandrel
