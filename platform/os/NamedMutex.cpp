#include "platform/os/NamedMutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/Exception.h"
#include "platform/os/UserDirectories.h"

namespace vandrel {

TNamedMutex::TNamedMutex(const std::string& name) {
  std::string safeName = name;
  for (char& c : safeName)
    if (c == '/' || c == '\0') c = '_';
  try {
    m_fileName = JoinPath(RuntimeDirectory(), safeName + ".lock");
  } catch (const Exception& e) {
    m_failure = e.Message();
    return;
  }
  // No O_TRUNC and no unlink, ever: the file may belong to a running instance. O_CLOEXEC keeps
  // programs we start (the browser) from inheriting the lock and holding it after we are gone.
  int fd = open(m_fileName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    m_failure = "Cannot open " + m_fileName + ": " + SystemMessage(errno);
    return;
  }
  int result;
  while ((result = flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (result != 0) {
    if (errno == EWOULDBLOCK) m_alreadyExists = true;
    else m_failure = "Cannot lock " + m_fileName + ": " + SystemMessage(errno);
    close(fd);
    return;
  }
  m_fd = fd;
}

TNamedMutex::~TNamedMutex() {
  if (m_fd >= 0) close(m_fd);
}

}  // namespace vandrel
