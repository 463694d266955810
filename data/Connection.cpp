#include "data/Connection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "data/ByteBuffer.h"
#include "data/DatabaseError.h"
#include "data/JetDatabase.h"
#include "data/JetHeader.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

struct TFileImage {
  TByteBuffer Bytes;
  uint64_t Hash = 0;
};

struct TFile {
  int Fd = -1;
  size_t Size = 0;
  ~TFile() {
    if (Fd >= 0) ::close(Fd);
  }
};

void OpenFile(const std::string& path, TFile& file) {
  // O_NONBLOCK: a FIFO or device under the database's name must not block the open.
  file.Fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (file.Fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR)
      throw EDatabaseError("Could not find file '" + path + "'.");
    throw EDatabaseError("Cannot open the file '" + path + "': " + std::strerror(errno));
  }
  struct stat st {};
  if (::fstat(file.Fd, &st) != 0 || !S_ISREG(st.st_mode))
    throw EDatabaseError("Cannot open the file '" + path + "': not a regular file");
  file.Size = size_t(st.st_size);
}

// The content hash of a file of the expected size, read in pieces (no image of the whole file
// to allocate), with its first pages for the password check. False when the size differs or a
// read fails: the caller then reads the whole file as for a new one.
bool HashOfSize(const std::string& path, size_t size, uint64_t& hash, std::vector<uint8_t>& head) {
  TFile file;
  OpenFile(path, file);
  if (file.Size != size) return false;
  XXH3_state_t* state = XXH3_createState();
  if (!state) return false;
  struct Freer {
    XXH3_state_t* state;
    ~Freer() { XXH3_freeState(state); }
  } freer{state};
  XXH3_64bits_reset(state);
  std::vector<uint8_t> buffer(1 << 20);
  head.clear();
  size_t done = 0;
  for (;;) {
    const ssize_t n = ::read(file.Fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    if (head.size() < 3 * JetPageSize)
      head.insert(head.end(), buffer.begin(), buffer.begin() + std::min<size_t>(size_t(n), 3 * JetPageSize - head.size()));
    XXH3_64bits_update(state, buffer.data(), size_t(n));
    done += size_t(n);
  }
  hash = XXH3_64bits_digest(state);
  return done == size;
}

TFileImage ReadWholeFile(const std::string& path) {
  TFile file;
  OpenFile(path, file);
  TFileImage image;
  image.Bytes = TByteBuffer(file.Size);
  size_t done = 0;
  while (done < image.Bytes.Size()) {
    const ssize_t n = ::read(file.Fd, image.Bytes.Data() + done, image.Bytes.Size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EDatabaseError("Cannot read the file '" + path + "': " + std::strerror(errno));
    if (n == 0) break;  // shrank while being read: the header check judges what is there
    done += size_t(n);
  }
  image.Bytes.Shrink(done);
  image.Hash = XXH3_64bits(image.Bytes.Data(), image.Bytes.Size());
  return image;
}

}  // namespace

TConnectionString ParseConnectionString(const std::string& text) {
  TConnectionString out;
  size_t i = 0;
  while (i < text.size()) {
    size_t eq = text.find('=', i);
    if (eq == std::string::npos) break;
    const std::string key = Trim(std::string_view(text).substr(i, eq - i));
    size_t j = eq + 1;
    std::string value;
    while (j < text.size() && text[j] == ' ') ++j;
    if (j < text.size() && text[j] == '"') {
      const size_t close = text.find('"', j + 1);
      value = text.substr(j + 1, close == std::string::npos ? std::string::npos : close - j - 1);
      j = close == std::string::npos ? text.size() : close + 1;
      const size_t semi = text.find(';', j);
      j = semi == std::string::npos ? text.size() : semi + 1;
    } else {
      const size_t semi = text.find(';', j);
      value = Trim(std::string_view(text).substr(j, semi == std::string::npos ? std::string::npos : semi - j));
      j = semi == std::string::npos ? text.size() : semi + 1;
    }
    if (SameText(key, "Provider")) out.Provider = value;
    else if (SameText(key, "Data Source")) out.DataSource = value;
    else if (SameText(key, "Jet OLEDB:Database Password")) out.Password = value;
    i = j;
  }
  return out;
}

TConnection::TConnection() = default;
TConnection::~TConnection() = default;

void TConnection::SetConnectionString(std::string text) { m_connectionString = std::move(text); }

void TConnection::Open() {
  Close();
  m_reused = false;
  const TConnectionString cs = ParseConnectionString(m_connectionString);
  if (!cs.Provider.empty() && !StartsText("Microsoft.Jet.OLEDB", cs.Provider))
    throw EDatabaseError("Provider cannot be found: '" + cs.Provider + "'.");
  if (cs.DataSource.empty()) throw EDatabaseError("The connection string names no Data Source.");

  // A file without a password opens with any password, as Jet does.
  auto checkPassword = [&](const uint8_t* data, size_t size) {
    const TJetHeader header = ReadJetHeader(data, size, cs.DataSource);
    if (!header.Password.empty() && header.Password != cs.Password)
      throw EDatabaseError("Not a valid password: '" + cs.DataSource + "'.");
  };

  if (m_previous && m_previous->FileName() == cs.DataSource) {
    uint64_t hash = 0;
    std::vector<uint8_t> head;
    if (HashOfSize(cs.DataSource, m_previous->Size(), hash, head) && hash == m_previous->ContentHash()) {
      // The size and pages of this content were checked when the snapshot was made.
      checkPassword(head.data(), head.size());
      m_database = m_previous;
      m_reused = true;
      return;
    }
  }

  TFileImage image = ReadWholeFile(cs.DataSource);
  checkPassword(image.Bytes.Data(), image.Bytes.Size());
  m_previous.reset();
  m_database = std::make_shared<TJetDatabase>(std::move(image.Bytes), image.Hash, cs.DataSource);
}

void TConnection::Close() {
  // A closed connection runs nothing: a fork of the next Open must not meet workers either.
  if (m_database) m_database->SettlePrefetch(true);
  if (m_database) m_previous = std::move(m_database);
  m_database.reset();
}

std::shared_ptr<const TResultSet> TConnection::Execute(const std::string& jetSql) {
  if (!m_database) throw EDatabaseError("Operation is not allowed when the connection is closed.");
  return m_database->Execute(jetSql);
}

void TConnection::Prefetch(const std::vector<std::string>& jetSqls) {
  if (!m_database) throw EDatabaseError("Operation is not allowed when the connection is closed.");
  m_database->Prefetch(jetSqls);
}

}  // namespace vandrel
