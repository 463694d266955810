#include "data/Connection.h"

#include <vector>

#include "data/DatabaseError.h"
#include "data/FileImage.h"
#include "data/JetDatabase.h"
#include "data/JetHeader.h"
#include "platform/core/Text.h"

namespace vandrel {

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

  TFileImage image = ReadFileImage(cs.DataSource);
  checkPassword(image.Bytes.Data(), image.Bytes.Size());
  m_previous.reset();
  m_database = std::make_shared<TJetDatabase>(std::move(image.Bytes), image.Hash, cs.DataSource, OnWaiting);
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

TConnection::TPrefetchScope TConnection::Prefetch(const std::vector<std::string>& jetSqls) {
  if (!m_database) throw EDatabaseError("Operation is not allowed when the connection is closed.");
  const uint64_t number = m_database->Prefetch(jetSqls);
  return TPrefetchScope(m_database, number);
}

bool TConnection::Prefetching() const { return m_database && m_database->Prefetching(); }

TConnection::TPrefetchScope::TPrefetchScope(std::weak_ptr<TJetDatabase> database, uint64_t number)
    : m_database(std::move(database)), m_number(number) {}

TConnection::TPrefetchScope::TPrefetchScope(TPrefetchScope&& other) noexcept
    : m_database(std::move(other.m_database)), m_number(other.m_number) {
  other.m_database.reset();
}

TConnection::TPrefetchScope::~TPrefetchScope() {
  if (const auto database = m_database.lock()) database->SettlePrefetch(m_number, true);
}

}  // namespace vandrel
