#include "data/JetImport.h"
#include "data/QueryPrefetch.h"
#include "data/SqlName.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>

#include "data/DatabaseError.h"
#include "data/MdbFile.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "SQLite error";
    sqlite3_free(error);
    throw EDatabaseError(message + " in: " + sql);
  }
}

// Rows go in several to a statement: the per-statement work of SQLite (transaction, cursor,
// reset) is a large part of a one-row insert. The values of a batch are kept here until it is
// stepped; the rows left over at the end go in one by one.
class TInsertSink : public TJetRowSink {
 public:
  TInsertSink(sqlite3* db, sqlite3_stmt* batch, sqlite3_stmt* single, size_t columns, size_t batchRows)
      : m_db(db), m_batch(batch), m_single(single), m_columns(columns), m_batchRows(batchRows),
        m_slots(columns * batchRows) {}
  void Null(size_t c) override { Slot(c).Kind = kNull; }
  void Integer(size_t c, int64_t v) override {
    TSlot& s = Slot(c);
    s.Kind = kInteger;
    s.Integer = v;
  }
  void Real(size_t c, double v) override {
    TSlot& s = Slot(c);
    s.Kind = kReal;
    s.Real = v;
  }
  void Text(size_t c, std::string_view v) override {
    TSlot& s = Slot(c);
    s.Kind = kText;
    s.Bytes.assign(v.data(), v.size());
  }
  void Blob(size_t c, const uint8_t* p, size_t n) override {
    TSlot& s = Slot(c);
    s.Kind = kBlob;
    s.Bytes.assign(reinterpret_cast<const char*>(p), n);
  }
  void EndRow() override {
    if (++m_row < m_batchRows) return;
    for (size_t i = 0; i < m_slots.size(); ++i) Bind(m_batch, int(i) + 1, m_slots[i]);
    Step(m_batch);
    m_row = 0;
  }
  void Finish() {
    for (size_t r = 0; r < m_row; ++r) {
      for (size_t c = 0; c < m_columns; ++c) Bind(m_single, int(c) + 1, m_slots[r * m_columns + c]);
      Step(m_single);
    }
    m_row = 0;
  }

 private:
  enum TKind { kNull, kInteger, kReal, kText, kBlob };
  struct TSlot {
    TKind Kind = kNull;
    int64_t Integer = 0;
    double Real = 0;
    std::string Bytes;
  };

  TSlot& Slot(size_t c) { return m_slots[m_row * m_columns + c]; }

  static void Bind(sqlite3_stmt* stmt, int index, const TSlot& s) {
    switch (s.Kind) {
      case kNull: sqlite3_bind_null(stmt, index); break;
      case kInteger: sqlite3_bind_int64(stmt, index, s.Integer); break;
      case kReal: sqlite3_bind_double(stmt, index, s.Real); break;
      // The slot keeps the bytes until the statement has been stepped.
      case kText: sqlite3_bind_text(stmt, index, s.Bytes.data(), int(s.Bytes.size()), SQLITE_STATIC); break;
      case kBlob: sqlite3_bind_blob(stmt, index, s.Bytes.data(), int(s.Bytes.size()), SQLITE_STATIC); break;
    }
  }

  void Step(sqlite3_stmt* stmt) {
    if (sqlite3_step(stmt) != SQLITE_DONE)
      throw EDatabaseError(std::string("import failed: ") + sqlite3_errmsg(m_db));
    sqlite3_reset(stmt);
  }

  sqlite3* m_db;
  sqlite3_stmt* m_batch;
  sqlite3_stmt* m_single;
  size_t m_columns;
  size_t m_batchRows;
  std::vector<TSlot> m_slots;
  size_t m_row = 0;
};

struct TStatements {
  std::vector<sqlite3_stmt*> List;
  ~TStatements() {
    for (sqlite3_stmt* s : List) sqlite3_finalize(s);
  }
  sqlite3_stmt* Prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
      throw EDatabaseError(std::string(sqlite3_errmsg(db)) + " in: " + sql);
    List.push_back(stmt);
    return stmt;
  }
};

void ImportTable(sqlite3* db, TMdbFile& file, const TJetTable& table) {
  const std::vector<TJetColumn> columns = file.Columns(table);
  std::string create = "CREATE TABLE main." + QuoteName(table.Name) + " (";
  std::string row = "(";
  for (size_t i = 0; i < columns.size(); ++i) {
    const auto& col = columns[i];
    create += (i ? ", " : "") + QuoteName(col.Name) + " " + std::string(JetDeclaredType(col.Type));
    // Jet compares text without regard to case.
    if (IsJetText(col.Type)) create += " COLLATE NOCASE";
    row += i ? ", ?" : "?";
  }
  row += ")";
  // Well under SQLite's limit of host parameters in one statement.
  const size_t batchRows = std::clamp<size_t>(4000 / std::max<size_t>(columns.size(), 1), 1, 32);
  const std::string insert = "INSERT INTO main." + QuoteName(table.Name) + " VALUES ";
  std::string batch = insert + row;
  for (size_t i = 1; i < batchRows; ++i) batch += ", " + row;
  Exec(db, "SAVEPOINT import_table");
  try {
    Exec(db, create + ")");
    TStatements statements;
    TInsertSink sink(db, statements.Prepare(db, batch), statements.Prepare(db, insert + row), columns.size(), batchRows);
    file.ReadRows(table, sink);
    sink.Finish();
  } catch (...) {
    sqlite3_exec(db, "ROLLBACK TO import_table; RELEASE import_table", nullptr, nullptr, nullptr);
    throw;
  }
  Exec(db, "RELEASE import_table");
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
[[noreturn]] void RunChild(int fd, const std::vector<uint8_t>& image, const std::string& fileName, size_t part,
                           size_t parts) {
  char status = 1;
  std::string error;
  sqlite3* db = nullptr;
  unsigned char* data = nullptr;
  sqlite3_int64 size = 0;
  try {
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
      throw EDatabaseError("cannot create the in-memory database");
    ImportTables(db, image.data(), image.size(), fileName, part, parts);
    data = sqlite3_serialize(db, "main", &size, 0);
    if (!data) throw EDatabaseError("cannot serialize the imported database");
    status = 0;
  } catch (const std::exception& e) {
    error = e.what();
  }
  const uint64_t length = status == 0 ? uint64_t(size) : error.size();
  const bool ok = WriteAll(fd, &status, 1) && WriteAll(fd, &length, 8) &&
                  WriteAll(fd, status == 0 ? static_cast<const void*>(data) : error.data(), length);
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

TChild StartChild(const std::vector<uint8_t>& image, const std::string& fileName, size_t part, size_t parts) {
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
    RunChild(fds[1], image, fileName, part, parts);
  }
  ::close(fds[1]);
  return {pid, fds[0]};
}

// Reads what one child sends and reaps it; raises EDatabaseError when it sent no image.
TImportImage FinishChild(TChild& child, std::chrono::steady_clock::time_point deadline, const std::string& fileName) {
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
    pollfd p{child.Fd, POLLIN, 0};
    const int r = ::poll(&p, 1, int(std::min<long long>(left, 1000)));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) continue;
    char buf[1 << 16];
    char* target = buf;
    size_t want = sizeof buf;
    if (header.size() < 9) {
      want = 9 - header.size();
    } else if (out.Data && header[0] == 0) {
      target = reinterpret_cast<char*>(out.Data) + got;
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
          out.Size = size_t(length);
          out.Capacity = out.Size + out.Size / 2 + (1u << 20);
          if (length > (uint64_t(1) << 40)) break;
          out.Data = static_cast<unsigned char*>(sqlite3_malloc64(out.Capacity));
          if (!out.Data) break;
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
  const bool complete = header.size() == 9 && header[0] == 0 && out.Data && got == out.Size &&
                        WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (complete) return out;
  sqlite3_free(out.Data);
  if (timedOut) throw EDatabaseError("The database '" + fileName + "' is damaged (reading it did not finish).");
  if (header.size() == 9 && header[0] == 1 && !error.empty()) throw EDatabaseError(error);
  if (WIFSIGNALED(status))
    throw EDatabaseError("The database '" + fileName + "' is damaged (reading it failed with signal " +
                         std::to_string(WTERMSIG(status)) + ").");
  throw EDatabaseError("The database '" + fileName + "' is damaged (reading it failed).");
}

}  // namespace

void ImportTables(sqlite3* db, const uint8_t* image, size_t size, const std::string& fileName, size_t part,
                  size_t parts) {
  TMdbFile file(image, size, fileName);
  const std::vector<size_t> shares = Shares(file, std::max<size_t>(parts, 1));
  // Larger pages: fewer page splits while the rows go in, fewer page reads in the queries.
  Exec(db, "PRAGMA page_size=16384; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
  Exec(db, "CREATE TABLE main." + QuoteName(kImportFailuresTable) + " (name TEXT, message TEXT)");
  Exec(db, "BEGIN");
  for (size_t i = 0; i < file.Tables().size(); ++i) {
    if (shares[i] != part) continue;
    const TJetTable& table = file.Tables()[i];
    try {
      ImportTable(db, file, table);
    } catch (const EDatabaseError& e) {
      sqlite3_stmt* stmt = nullptr;
      const std::string sql = "INSERT INTO main." + QuoteName(kImportFailuresTable) + " VALUES (?, ?)";
      sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
      sqlite3_bind_text(stmt, 1, table.Name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(stmt, 2, e.what(), -1, SQLITE_TRANSIENT);
      sqlite3_step(stmt);
      sqlite3_finalize(stmt);
    }
  }
  Exec(db, "COMMIT");
}

std::vector<TImportImage> ImportInChildProcesses(const std::vector<uint8_t>& image, const std::string& fileName,
                                                 size_t parts) {
  parts = std::max<size_t>(parts, 1);
  // Generous for a healthy file (about a second for 65 MB), short enough for a hung one.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30 + image.size() / (1 << 20));
  std::vector<TChild> children;
  std::vector<TImportImage> images;
  try {
    for (size_t part = 0; part < parts; ++part) children.push_back(StartChild(image, fileName, part, parts));
    for (TChild& child : children) images.push_back(FinishChild(child, deadline, fileName));
  } catch (...) {
    for (TChild& child : children) Reap(child, true);
    for (TImportImage& done : images) sqlite3_free(done.Data);
    throw;
  }
  return images;
}

}  // namespace vandrel
