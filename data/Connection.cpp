#include "data/Connection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "data/DatabaseError.h"
#include "data/JetDatabase.h"
#include "data/JetHeader.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

struct TFileImage {
  std::vector<uint8_t> Bytes;
  uint64_t Hash = 0;
};

TFileImage ReadWholeFile(const std::string& path) {
  // O_NONBLOCK: a FIFO or device under the database's name must not block the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR)
      throw EDatabaseError("Could not find file '" + path + "'.");
    throw EDatabaseError("Cannot open the file '" + path + "': " + std::strerror(errno));
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    throw EDatabaseError("Cannot open the file '" + path + "': not a regular file");
  TFileImage image;
  image.Bytes.resize(size_t(st.st_size));
  size_t done = 0;
  while (done < image.Bytes.size()) {
    const ssize_t n = ::read(fd, image.Bytes.data() + done, image.Bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EDatabaseError("Cannot read the file '" + path + "': " + std::strerror(errno));
    if (n == 0) break;  // shrank while being read: the header check judges what is there
    done += size_t(n);
  }
  image.Bytes.resize(done);
  image.Hash = XXH3_64bits(image.Bytes.data(), image.Bytes.size());
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

  TFileImage image = ReadWholeFile(cs.DataSource);
  const TJetHeader header = ReadJetHeader(image.Bytes.data(), image.Bytes.size(), cs.DataSource);
  // A file without a password opens with any password, as Jet does.
  if (!header.Password.empty() && header.Password != cs.Password)
    throw EDatabaseError("Not a valid password: '" + cs.DataSource + "'.");

  if (m_previous && m_previous->ContentHash() == image.Hash &&
      m_previous->Size() == image.Bytes.size() && m_previous->FileName() == cs.DataSource) {
    m_database = m_previous;
    m_reused = true;
    return;
  }
  m_previous.reset();
  m_database = std::make_shared<TJetDatabase>(std::move(image.Bytes), image.Hash, cs.DataSource);
}

void TConnection::Close() {
  if (m_database) m_previous = std::move(m_database);
  m_database.reset();
}

std::shared_ptr<const TResultSet> TConnection::Execute(const std::string& jetSql) {
  if (!m_database) throw EDatabaseError("Operation is not allowed when the connection is closed.");
  return m_database->Execute(jetSql);
}

}  // namespace vandrel
