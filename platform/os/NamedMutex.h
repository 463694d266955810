// A named mutex that spans processes, as an advisory lock on a file in the runtime folder. Creating
// it never takes anything from a process that already has it, and the kernel lets go of the lock
// when the holder dies, however it dies, so a crashed instance never blocks the next start.
#pragma once

#include <string>

namespace vandrel {

class TNamedMutex {
 public:
  // Creates or opens the mutex "<runtime folder>/<name>.lock". When the lock file cannot be had
  // at all (no usable runtime folder) the mutex is simply not held and AlreadyExists() is false,
  // so the program goes on as a single instance would.
  explicit TNamedMutex(const std::string& name);
  ~TNamedMutex();
  TNamedMutex(const TNamedMutex&) = delete;
  TNamedMutex& operator=(const TNamedMutex&) = delete;

  // Another holder, in this or another process, had it first.
  bool AlreadyExists() const { return m_alreadyExists; }
  bool Held() const { return m_fd >= 0; }
  const std::string& FileName() const { return m_fileName; }
  // Why the lock could not be had, when it could not; empty otherwise.
  const std::string& Failure() const { return m_failure; }

 private:
  std::string m_fileName;
  std::string m_failure;
  int m_fd = -1;
  bool m_alreadyExists = false;
};

}  // namespace vandrel
