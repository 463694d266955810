#include "data/JetImport.h"
#include "data/QueryPrefetch.h"
#include "data/SqlName.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <new>

#include "data/DatabaseError.h"
#include "data/MdbFile.h"
#include "data/SqliteImageWriter.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

// A table that fails part-way leaves nothing behind: the writer drops what it wrote of it.
void ImportTable(TSqliteImageWriter& writer, TMdbFile& file, const TJetTable& table) {
  const std::vector<TJetColumn> columns = file.Columns(table);
  std::vector<TSqliteColumn> declared;
  std::string definition = QuoteName(table.Name) + " (";
  for (size_t i = 0; i < columns.size(); ++i) {
    const auto& col = columns[i];
    declared.push_back({col.Name, std::string(JetDeclaredType(col.Type))});
    definition += (i ? ", " : "") + QuoteName(col.Name) + " " + declared.back().DeclaredType;
    // Jet compares text without regard to case.
    if (IsJetText(col.Type)) definition += " COLLATE NOCASE";
  }
  definition += ")";
  size_t index = 0;
  try {
    index = writer.CreateTable(table.Name, declared, "CREATE TABLE " + definition);
  } catch (const EDatabaseError& e) {
    throw EDatabaseError(std::string(e.what()) + " in: CREATE TABLE main." + definition);
  }
  try {
    writer.BeginRows(index);
    file.ReadRows(table, writer);
    writer.EndRows();
  } catch (...) {
    writer.DropLastTable();
    throw;
  }
}

bool WriteAll(int fd, const void* data, size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
  }
  return true;
}

// Child side: status byte (0 image, 1 error text), 8-byte length, payload.
[[noreturn]] void RunChild(int fd, const uint8_t* image, size_t size, const std::string& fileName, size_t part,
                           size_t parts) {
  // libmdb reports what it skips on standard error in words of its own; what matters reaches
  // the user as this child's error instead.
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null >= 0) {
    ::dup2(null, STDERR_FILENO);
    ::close(null);
  }
  char status = 1;
  std::string error;
  std::vector<uint8_t> data;
  try {
    data = ImportTables(image, size, fileName, part, parts);
    status = 0;
  } catch (const std::exception& e) {
    error = e.what();
  }
  const uint64_t length = status == 0 ? data.size() : error.size();
  const bool ok = WriteAll(fd, &status, 1) && WriteAll(fd, &length, 8) &&
                  WriteAll(fd, status == 0 ? static_cast<const void*>(data.data()) : error.data(), length);
  // No destructors or atexit handlers of the parent's objects may run here.
  ::_exit(ok ? 0 : 2);
}

// The share of every table: the largest first, each to the share with the least so far. Every
// child computes the same answer from the same catalog.
std::vector<size_t> Shares(const TMdbFile& file, size_t parts) {
  const auto& tables = file.Tables();
  std::map<std::string, std::pair<uint64_t, size_t>> groups;  // lower-case name: weight, first index
  for (size_t i = 0; i < tables.size(); ++i) {
    auto& group = groups.try_emplace(LowerCase(tables[i].Name), 0, i).first->second;
    group.first += file.SizeEstimate(tables[i]) + 1;
  }
  std::vector<std::pair<uint64_t, size_t>> order;
  for (const auto& [name, group] : groups) order.push_back(group);
  std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  std::map<size_t, size_t> shareOfFirst;
  std::vector<uint64_t> load(parts, 0);
  for (const auto& [weight, first] : order) {
    const size_t share = size_t(std::min_element(load.begin(), load.end()) - load.begin());
    load[share] += weight;
    shareOfFirst[first] = share;
  }
  std::vector<size_t> out(tables.size());
  for (size_t i = 0; i < tables.size(); ++i)
    out[i] = shareOfFirst[groups.at(LowerCase(tables[i].Name)).second];
  return out;
}

struct TChild {
  pid_t Pid = -1;
  int Fd = -1;
};

void Reap(TChild& child, bool kill) {
  if (child.Fd >= 0) ::close(child.Fd);
  child.Fd = -1;
  if (child.Pid <= 0) return;
  if (kill) ::kill(child.Pid, SIGKILL);
  int status = 0;
  while (::waitpid(child.Pid, &status, 0) < 0 && errno == EINTR) {
  }
  child.Pid = -1;
}

TChild StartChild(const uint8_t* image, size_t size, const std::string& fileName, size_t part, size_t parts) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw EDatabaseError("cannot read '" + fileName + "': " + std::strerror(errno));
  // Tens of megabytes pass through: a larger pipe means fewer switches between the processes.
  // Best effort; the default size works too.
  ::fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
  std::unique_lock gate(SqliteForkGate());
  const pid_t pid = ::fork();
  if (pid != 0) gate.unlock();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    throw EDatabaseError("cannot read '" + fileName + "': " + std::strerror(errno));
  }
  if (pid == 0) {
    ::close(fds[0]);
    RunChild(fds[1], image, size, fileName, part, parts);
  }
  ::close(fds[1]);
  return {pid, fds[0]};
}

// Reads what one child sends and reaps it; raises EDatabaseError when it sent no image.
TImportImage FinishChild(TChild& child, std::chrono::steady_clock::time_point deadline, const std::string& fileName,
                         const std::function<void()>& whileWaiting) {
  std::string header;
  TImportImage out;
  size_t got = 0;
  std::string error;
  bool timedOut = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) {
      timedOut = true;
      break;
    }
    if (whileWaiting) whileWaiting();
    pollfd p{child.Fd, POLLIN, 0};
    const int r = ::poll(&p, 1, int(std::min<long long>(left, whileWaiting ? 40 : 1000)));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) continue;
    char buf[1 << 16];
    char* target = buf;
    size_t want = sizeof buf;
    if (header.size() < 9) {
      want = 9 - header.size();
    } else if (out.Data.Data() && header[0] == 0) {
      target = reinterpret_cast<char*>(out.Data.Data()) + got;
      want = out.Size - got;
    }
    if (want == 0) break;
    const ssize_t n = ::read(child.Fd, target, want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (header.size() < 9) {
      header.append(buf, size_t(n));
      if (header.size() == 9) {
        uint64_t length;
        std::memcpy(&length, header.data() + 1, 8);
        if (header[0] == 0) {
          if (length > (uint64_t(1) << 40)) break;
          out.Size = size_t(length);
          try {
            out.Data = TByteBuffer(out.Size + out.Size / 2 + (1u << 20));
          } catch (const std::bad_alloc&) {
            break;
          }
        } else if (length > (1u << 20)) {
          break;
        }
      }
    } else if (header[0] == 0) {
      got += size_t(n);
    } else {
      error.append(buf, size_t(n));
    }
  }
  const pid_t pid = child.Pid;
  ::close(child.Fd);
  child.Fd = -1;
  if (timedOut) ::kill(pid, SIGKILL);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  child.Pid = -1;
  const bool complete = header.size() == 9 && header[0] == 0 && out.Data.Data() && got == out.Size &&
                        WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (complete) return out;
  if (timedOut) throw EDatabaseError("The database '" + fileName + "' is damaged (reading it did not finish).");
  if (header.size() == 9 && header[0] == 1 && !error.empty()) throw EDatabaseError(error);
  if (WIFSIGNALED(status))
    throw EDatabaseError("The database '" + fileName + "' is damaged (reading it failed with signal " +
                         std::to_string(WTERMSIG(status)) + ").");
  throw EDatabaseError("The database '" + fileName + "' is damaged (reading it failed).");
}

}  // namespace

std::vector<uint8_t> ImportTables(const uint8_t* image, size_t size, const std::string& fileName, size_t part,
                                  size_t parts) {
  TMdbFile file(image, size, fileName);
  const std::vector<size_t> shares = Shares(file, std::max<size_t>(parts, 1));
  // Its pages of 16384 bytes: fewer page reads in the queries.
  TSqliteImageWriter writer;
  // Images come out at about two thirds of the file's size; untouched room costs no memory.
  writer.Reserve(size / std::max<size_t>(parts, 1));
  const size_t failuresTable =
      writer.CreateTable(kImportFailuresTable, {{"name", "TEXT"}, {"message", "TEXT"}},
                         "CREATE TABLE " + QuoteName(kImportFailuresTable) + " (name TEXT, message TEXT)");
  std::vector<std::pair<std::string, std::string>> failures;
  for (size_t i = 0; i < file.Tables().size(); ++i) {
    if (shares[i] != part) continue;
    const TJetTable& table = file.Tables()[i];
    try {
      ImportTable(writer, file, table);
    } catch (const EDatabaseError& e) {
      failures.emplace_back(table.Name, e.what());
    }
  }
  writer.BeginRows(failuresTable);
  for (const auto& [name, message] : failures) {
    writer.Text(0, name);
    writer.Text(1, message);
    writer.EndRow();
  }
  writer.EndRows();
  return writer.Finish();
}

std::vector<TImportImage> ImportInChildProcesses(const uint8_t* image, size_t size, const std::string& fileName,
                                                 size_t parts, const std::function<void()>& whileWaiting) {
  parts = std::max<size_t>(parts, 1);
  // Generous for a healthy file (about a second for 65 MB), short enough for a hung one.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30 + size / (1 << 20));
  std::vector<TChild> children;
  std::vector<TImportImage> images;
  try {
    for (size_t part = 0; part < parts; ++part) children.push_back(StartChild(image, size, fileName, part, parts));
    for (TChild& child : children) images.push_back(FinishChild(child, deadline, fileName, whileWaiting));
  } catch (...) {
    for (TChild& child : children) Reap(child, true);
    throw;
  }
  return images;
}

}  // namespace vandrel
