#include "data/SqliteImageWriter.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "data/DatabaseError.h"
#include "data/SqlName.h"

namespace vandrel {

namespace {

constexpr uint8_t kTableLeaf = 0x0D;
constexpr uint8_t kTableInterior = 0x05;
constexpr size_t kFileHeaderSize = 100;
constexpr size_t kLeafHeaderSize = 8;
constexpr size_t kInteriorHeaderSize = 12;
constexpr int64_t kMaxSixByteInteger = 0x00007FFFFFFFFFFFLL;
constexpr size_t kMaxRecordBytes = 1000000000;  // SQLITE_MAX_LENGTH

void PutBe16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 8);
  p[1] = uint8_t(v);
}

void PutBe32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

void PutBe64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = uint8_t(v >> (56 - 8 * i));
}

size_t VarintSize(uint64_t v) {
  if (v >> 56) return 9;
  size_t n = 1;
  while (v >>= 7) ++n;
  return n;
}

size_t PutVarint(uint8_t* p, uint64_t v) {
  if (v <= 0x7F) {
    p[0] = uint8_t(v);
    return 1;
  }
  if (v >> 56) {
    p[8] = uint8_t(v);
    v >>= 8;
    for (int i = 7; i >= 0; --i, v >>= 7) p[i] = uint8_t((v & 0x7F) | 0x80);
    return 9;
  }
  const size_t n = VarintSize(v);
  for (size_t i = n; i-- > 0; v >>= 7) p[i] = uint8_t((v & 0x7F) | (i + 1 < n ? 0x80 : 0));
  return n;
}

// SQLite compares names with ASCII-only case folding.
bool SameNameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x + 32);
    if (y >= 'A' && y <= 'Z') y = char(y + 32);
    if (x != y) return false;
  }
  return true;
}

bool IsSqliteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The double as SQLite turns it into text ("%!.15g"): always a decimal point in the mantissa, no
// sign on a zero.
std::string RealText(double v) {
  if (std::isinf(v)) return v < 0 ? "-Inf" : "Inf";
  if (v == 0) v = 0;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  std::string text = buf;
  if (text.find('.') == std::string::npos) {
    const size_t e = text.find('e');
    text.insert(e == std::string::npos ? text.size() : e, ".0");
  }
  return text;
}

// The integer a double holds exactly, as SQLite's integer affinity finds it; false when it has a
// fraction, is out of range or sits at the very ends of the range.
bool ExactInteger(double v, int64_t& out) {
  if (std::isnan(v)) return false;
  int64_t i;
  if (v < -9223372036854774784.0) i = std::numeric_limits<int64_t>::min();
  else if (v > 9223372036854774784.0) i = std::numeric_limits<int64_t>::max();
  else i = int64_t(v);
  if (v != double(i) || i == std::numeric_limits<int64_t>::min() || i == std::numeric_limits<int64_t>::max()) return false;
  out = i;
  return true;
}

enum class TNumberKind { nkNone, nkInteger, nkReal };

// A text that is a well-formed decimal literal, spaces around allowed: an integer when written
// without point or exponent and within 64 bits, a real otherwise.
TNumberKind ParseNumber(std::string_view text, int64_t& integer, double& real) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsSqliteSpace(text[begin])) ++begin;
  while (end > begin && IsSqliteSpace(text[end - 1])) --end;
  size_t p = begin;
  const bool negative = p < end && text[p] == '-';
  if (p < end && (text[p] == '-' || text[p] == '+')) ++p;
  size_t digits = 0;
  bool fits = true;
  uint64_t magnitude = 0;
  for (; p < end && text[p] >= '0' && text[p] <= '9'; ++p, ++digits) {
    const unsigned d = unsigned(text[p] - '0');
    if (magnitude > (std::numeric_limits<uint64_t>::max() - d) / 10) fits = false;
    else magnitude = magnitude * 10 + d;
  }
  bool isReal = false;
  if (p < end && text[p] == '.') {
    isReal = true;
    for (++p; p < end && text[p] >= '0' && text[p] <= '9'; ++p) ++digits;
  }
  if (digits == 0) return TNumberKind::nkNone;
  if (p < end && (text[p] == 'e' || text[p] == 'E')) {
    isReal = true;
    ++p;
    if (p < end && (text[p] == '-' || text[p] == '+')) ++p;
    const size_t exponentStart = p;
    while (p < end && text[p] >= '0' && text[p] <= '9') ++p;
    if (p == exponentStart) return TNumberKind::nkNone;
  }
  if (p != end) return TNumberKind::nkNone;
  const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
  if (!isReal && fits && magnitude <= limit) {
    integer = negative ? int64_t(0 - magnitude) : int64_t(magnitude);
    return TNumberKind::nkInteger;
  }
  real = std::strtod(std::string(text.substr(begin, end - begin)).c_str(), nullptr);
  return TNumberKind::nkReal;
}

}  // namespace

TSqliteImageWriter::TSqliteImageWriter(uint32_t pageSize) : m_pageSize(pageSize), m_leaf(pageSize) {
  if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
    throw EDatabaseError("invalid SQLite page size " + std::to_string(pageSize));
  // Page 1 holds the file header and the root of sqlite_master, written last.
  m_image.resize(pageSize);
}

TSqliteImageWriter::TAffinity TSqliteImageWriter::AffinityOf(std::string_view declaredType) {
  if (declaredType.empty()) return TAffinity::afBlob;
  // SQLite's rule: the first of these substrings to appear decides, "INT" at once.
  TAffinity affinity = TAffinity::afNumeric;
  uint32_t h = 0;
  for (char c : declaredType) {
    h = (h << 8) + uint8_t(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (h == 0x63686172 || h == 0x636C6F62 || h == 0x74657874) {  // char, clob, text
      affinity = TAffinity::afText;
    } else if (h == 0x626C6F62 && (affinity == TAffinity::afNumeric || affinity == TAffinity::afReal)) {  // blob
      affinity = TAffinity::afBlob;
    } else if ((h == 0x7265616C || h == 0x666C6F61 || h == 0x646F7562) && affinity == TAffinity::afNumeric) {
      affinity = TAffinity::afReal;  // real, floa, doub
    } else if ((h & 0x00FFFFFF) == 0x696E74) {  // int
      return TAffinity::afInteger;
    }
  }
  return affinity;
}

size_t TSqliteImageWriter::CreateTable(const std::string& name, const std::vector<TSqliteColumn>& columns,
                                       const std::string& sql) {
  if (m_writing) throw EDatabaseError("a table cannot be created while the rows of another are written");
  if (name.size() >= 7 && SameNameAscii(std::string_view(name).substr(0, 7), "sqlite_"))
    throw EDatabaseError("object name reserved for internal use: " + name);
  for (const TTable& table : m_tables)
    if (SameNameAscii(table.Name, name)) throw EDatabaseError("table " + QuoteName(name) + " already exists");
  if (columns.empty()) throw EDatabaseError("near \")\": syntax error");
  TTable table{name, sql, {}, 0, m_image.size()};
  for (size_t i = 0; i < columns.size(); ++i) {
    for (size_t j = 0; j < i; ++j)
      if (SameNameAscii(columns[j].Name, columns[i].Name))
        throw EDatabaseError("duplicate column name: " + columns[i].Name);
    table.Affinities.push_back(AffinityOf(columns[i].DeclaredType));
  }
  m_tables.push_back(std::move(table));
  return m_tables.size() - 1;
}

void TSqliteImageWriter::BeginRows(size_t table) {
  if (m_writing || table >= m_tables.size() || m_tables[table].Root != 0)
    throw EDatabaseError("the rows of an SQLite table can be written once, one table at a time");
  m_writing = true;
  m_target = table;
  m_affinities = m_tables[table].Affinities.data();
  m_columns = m_tables[table].Affinities.size();
  m_rowid = 0;
  m_leaves.clear();
  OpenLeaf();
}

void TSqliteImageWriter::EndRows() {
  if (!m_writing) return;
  m_tables[m_target].Root = FinishTree(0);
  m_writing = false;
}

void TSqliteImageWriter::DropLastTable() {
  if (m_tables.empty()) return;
  m_image.resize(m_tables.back().Mark);
  m_tables.pop_back();
  m_writing = false;
  ClearRow();
}

std::vector<uint8_t> TSqliteImageWriter::Finish() {
  EndRows();
  for (size_t i = 0; i < m_tables.size(); ++i) {
    if (m_tables[i].Root != 0) continue;
    BeginRows(i);
    EndRows();
  }
  static const TAffinity kMaster[] = {TAffinity::afText, TAffinity::afText, TAffinity::afText, TAffinity::afInteger,
                                      TAffinity::afText};
  m_affinities = kMaster;
  m_columns = 5;
  m_rowid = 0;
  m_leaves.clear();
  OpenLeaf();
  for (const TTable& table : m_tables) {
    Text(0, "table");
    Text(1, table.Name);
    Text(2, table.Name);
    Integer(3, table.Root);
    Text(4, table.Sql);
    EndRow();
  }
  FinishTree(1);
  WriteHeader();
  return std::move(m_image);
}

// Values -------------------------------------------------------------------------------------------

TSqliteImageWriter::TAffinity TSqliteImageWriter::ColumnAffinity(size_t column) const {
  // The record holds the values in the order they come.
  if (column != m_values || column >= m_columns) throw EDatabaseError("a row's values must come one a column, in order");
  return m_affinities[column];
}

void TSqliteImageWriter::Null(size_t column) {
  ColumnAffinity(column);
  *m_types.Extend(1) = 0;
  ++m_values;
}

void TSqliteImageWriter::Integer(size_t column, int64_t value) {
  switch (ColumnAffinity(column)) {
    case TAffinity::afText: AddBytes(std::to_string(value), 13); break;
    case TAffinity::afReal: AddInteger(value, true); break;
    default: AddInteger(value, false); break;
  }
}

void TSqliteImageWriter::Real(size_t column, double value) {
  // SQLite binds a NaN as NULL.
  if (std::isnan(value)) return Null(column);
  const TAffinity affinity = ColumnAffinity(column);
  int64_t integer;
  if (affinity == TAffinity::afText) AddBytes(RealText(value), 13);
  else if (affinity != TAffinity::afBlob && ExactInteger(value, integer)) AddInteger(integer, affinity == TAffinity::afReal);
  else AddDouble(value);
}

void TSqliteImageWriter::Text(size_t column, std::string_view utf8) {
  const TAffinity affinity = ColumnAffinity(column);
  if (affinity == TAffinity::afText || affinity == TAffinity::afBlob) AddBytes(utf8, 13);
  else AddTextAsNumber(utf8, affinity == TAffinity::afReal);
}

void TSqliteImageWriter::Blob(size_t column, const uint8_t* data, size_t size) {
  ColumnAffinity(column);
  AddBytes(std::string_view(reinterpret_cast<const char*>(data), size), 12);
}

void TSqliteImageWriter::AddTextAsNumber(std::string_view text, bool asReal) {
  int64_t integer = 0;
  double real = 0;
  switch (ParseNumber(text, integer, real)) {
    case TNumberKind::nkNone: AddBytes(text, 13); break;
    case TNumberKind::nkInteger: AddInteger(integer, asReal); break;
    case TNumberKind::nkReal:
      if (ExactInteger(real, integer)) AddInteger(integer, asReal);
      else AddDouble(real);
      break;
  }
}

// `asReal`: a whole number in a REAL column, stored as an integer while that is shorter and read
// back as a real.
void TSqliteImageWriter::AddInteger(int64_t value, bool asReal) {
  const uint64_t magnitude = value < 0 ? ~uint64_t(value) : uint64_t(value);
  int serialType;
  size_t bytes;
  if (magnitude <= 127) {
    if (value == 0 || value == 1) {
      *m_types.Extend(1) = uint8_t(8 + value);
      ++m_values;
      return;
    }
    serialType = 1, bytes = 1;
  } else if (magnitude <= 32767) {
    serialType = 2, bytes = 2;
  } else if (magnitude <= 8388607) {
    serialType = 3, bytes = 3;
  } else if (magnitude <= 2147483647) {
    serialType = 4, bytes = 4;
  } else if (magnitude <= uint64_t(kMaxSixByteInteger)) {
    serialType = 5, bytes = 6;
  } else if (asReal) {
    return AddDouble(double(value));
  } else {
    serialType = 6, bytes = 8;
  }
  *m_types.Extend(1) = uint8_t(serialType);
  // One 8-byte store, of which the first `bytes` are kept: the low bytes of the value, big-endian.
  PutBe64(m_body.Extend(8), uint64_t(value) << (64 - 8 * bytes));
  m_body.Size -= 8 - bytes;
  ++m_values;
}

void TSqliteImageWriter::AddDouble(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, 8);
  *m_types.Extend(1) = 7;
  PutBe64(m_body.Extend(8), bits);
  ++m_values;
}

void TSqliteImageWriter::AddBytes(std::string_view bytes, uint64_t serialBase) {
  const uint64_t serialType = serialBase + 2 * uint64_t(bytes.size());
  if (serialType <= 0x7F) *m_types.Extend(1) = uint8_t(serialType);
  else PutVarint(m_types.Extend(VarintSize(serialType)), serialType);
  if (!bytes.empty()) std::memcpy(m_body.Extend(bytes.size()), bytes.data(), bytes.size());
  ++m_values;
}

// Pages --------------------------------------------------------------------------------------------

uint32_t TSqliteImageWriter::AppendPage(const uint8_t* content) {
  const size_t pages = m_image.size() / m_pageSize;
  if (pages >= 0xFFFFFFFEu) throw EDatabaseError("the imported database is too large");
  // A leaf arrives whole: copied in, rather than zeroed first and then overwritten.
  if (content) m_image.insert(m_image.end(), content, content + m_pageSize);
  else m_image.resize(m_image.size() + m_pageSize);
  return uint32_t(pages + 1);
}

void TSqliteImageWriter::OpenLeaf() {
  std::memset(m_leaf.data(), 0, kLeafHeaderSize + 2 * m_leafCells);
  if (m_leafContent < m_pageSize) std::memset(m_leaf.data() + m_leafContent, 0, m_pageSize - m_leafContent);
  m_leafCells = 0;
  m_leafContent = m_pageSize;
}

void TSqliteImageWriter::CloseLeaf() {
  m_leaf[0] = kTableLeaf;
  PutBe16(m_leaf.data() + 3, uint32_t(m_leafCells));
  PutBe16(m_leaf.data() + 5, uint32_t(m_leafContent));  // 65536 wraps to 0, as the format wants
  const uint32_t page = AppendPage(m_leaf.data());
  m_leaves.push_back({page, m_rowid});
}

void TSqliteImageWriter::CopyPayload(size_t from, size_t count, uint8_t* to) const {
  const size_t header = m_headerSize;
  if (from < header) {
    const size_t n = std::min(count, header - from);
    std::memcpy(to, m_header + from, n);
    to += n;
    from += n;
    count -= n;
  }
  if (count) std::memcpy(to, m_body.Data.data() + (from - header), count);
}

uint32_t TSqliteImageWriter::WriteOverflow(size_t from, size_t payloadSize) {
  const size_t room = m_pageSize - 4;
  const uint32_t first = uint32_t(m_image.size() / m_pageSize + 1);
  while (from < payloadSize) {
    const size_t n = std::min(room, payloadSize - from);
    const uint32_t page = AppendPage();
    uint8_t* p = PageAt(page);
    PutBe32(p, from + n < payloadSize ? page + 1 : 0);
    CopyPayload(from, n, p + 4);
    from += n;
  }
  return first;
}

void TSqliteImageWriter::EndRow() {
  if (m_values != m_columns) throw EDatabaseError("a row has fewer values than its table has columns");
  // The header size counts its own varint, which goes into the room left before the serial types.
  const size_t types = m_types.Size - kHeaderRoom;
  size_t headerSize = types + 1;
  while (VarintSize(headerSize) + types != headerSize) headerSize = types + VarintSize(headerSize);
  m_header = m_types.Data.data() + kHeaderRoom - (headerSize - types);
  m_headerSize = headerSize;
  PutVarint(m_types.Data.data() + kHeaderRoom - (headerSize - types), headerSize);
  const size_t payload = headerSize + m_body.Size;
  // SQLite's own limit on a row; it would refuse to read the value back.
  if (payload > kMaxRecordBytes) throw EDatabaseError("string or blob too big");
  const int64_t rowid = m_rowid + 1;

  // How much of the payload stays in the cell: the file format's rule for table leaves.
  const size_t usable = m_pageSize;
  const size_t maxLocal = usable - 35;
  const size_t minLocal = (usable - 12) * 32 / 255 - 23;
  size_t local = payload;
  if (payload > maxLocal) {
    local = minLocal + (payload - minLocal) % (usable - 4);
    if (local > maxLocal) local = minLocal;
  }
  const size_t cellSize = VarintSize(payload) + VarintSize(uint64_t(rowid)) + local + (local < payload ? 4 : 0);
  if (m_leafCells > 0 && kLeafHeaderSize + 2 * (m_leafCells + 1) + cellSize > m_leafContent) {
    CloseLeaf();
    OpenLeaf();
  }
  const uint32_t overflow = local < payload ? WriteOverflow(local, payload) : 0;
  m_leafContent -= cellSize;
  uint8_t* cell = m_leaf.data() + m_leafContent;
  cell += PutVarint(cell, payload);
  cell += PutVarint(cell, uint64_t(rowid));
  CopyPayload(0, local, cell);
  if (overflow) PutBe32(cell + local, overflow);
  PutBe16(m_leaf.data() + kLeafHeaderSize + 2 * m_leafCells, uint32_t(m_leafContent));
  ++m_leafCells;
  m_rowid = rowid;
  ClearRow();
}

void TSqliteImageWriter::ClearRow() {
  m_types.Size = kHeaderRoom;
  m_body.Size = 0;
  m_values = 0;
}

void TSqliteImageWriter::TBytes::Grow(size_t n) { Data.resize(std::max(2 * Data.size(), Size + n)); }

uint32_t TSqliteImageWriter::FinishTree(uint32_t fixedRoot) {
  if (m_leaves.empty()) {
    if (fixedRoot != 1) {
      CloseLeaf();
      return m_leaves.back().Page;
    }
    // Page 1 keeps the first 100 bytes for the file header; the cells stay where they are.
    const size_t pointers = kLeafHeaderSize + 2 * m_leafCells;
    if (kFileHeaderSize + pointers <= m_leafContent) {
      m_leaf[0] = kTableLeaf;
      PutBe16(m_leaf.data() + 3, uint32_t(m_leafCells));
      PutBe16(m_leaf.data() + 5, uint32_t(m_leafContent));
      uint8_t* page = PageAt(1);
      std::memcpy(page + kFileHeaderSize, m_leaf.data(), pointers);
      std::memcpy(page + m_leafContent, m_leaf.data() + m_leafContent, m_pageSize - m_leafContent);
      return 1;
    }
  }
  CloseLeaf();
  std::vector<TChild> children = std::move(m_leaves);
  m_leaves.clear();
  for (;;) {
    const size_t cellSize = 2 + 4 + VarintSize(uint64_t(children.back().LastRowid));
    if (fixedRoot == 1 && children.size() - 1 <= (m_pageSize - kFileHeaderSize - kInteriorHeaderSize) / cellSize) {
      WriteInteriorPage(1, children.data(), children.size());
      return 1;
    }
    if (fixedRoot == 0 && children.size() == 1) return children[0].Page;
    // Spread evenly, so that no page is left with a lone child.
    const size_t perPage = (m_pageSize - kInteriorHeaderSize) / cellSize + 1;
    const size_t pages = (children.size() + perPage - 1) / perPage;
    std::vector<TChild> parents;
    size_t next = 0;
    for (size_t i = 0; i < pages; ++i) {
      const size_t count = children.size() / pages + (i < children.size() % pages ? 1 : 0);
      const uint32_t page = AppendPage();
      WriteInteriorPage(page, children.data() + next, count);
      next += count;
      parents.push_back({page, children[next - 1].LastRowid});
    }
    children = std::move(parents);
  }
}

void TSqliteImageWriter::WriteInteriorPage(uint32_t pageNumber, const TChild* children, size_t count) {
  uint8_t* page = PageAt(pageNumber);
  uint8_t* header = page + (pageNumber == 1 ? kFileHeaderSize : 0);
  size_t content = m_pageSize;
  for (size_t i = 0; i + 1 < count; ++i) {
    uint8_t cell[13];
    PutBe32(cell, children[i].Page);
    const size_t size = 4 + PutVarint(cell + 4, uint64_t(children[i].LastRowid));
    content -= size;
    std::memcpy(page + content, cell, size);
    PutBe16(header + kInteriorHeaderSize + 2 * i, uint32_t(content));
  }
  header[0] = kTableInterior;
  PutBe16(header + 3, uint32_t(count - 1));
  PutBe16(header + 5, uint32_t(content));
  PutBe32(header + 8, children[count - 1].Page);
}

void TSqliteImageWriter::WriteHeader() {
  uint8_t* p = PageAt(1);
  std::memcpy(p, "SQLite format 3", 16);
  PutBe16(p + 16, m_pageSize == 65536 ? 1 : m_pageSize);
  p[18] = 1;  // no write-ahead log
  p[19] = 1;
  p[20] = 0;  // no reserved bytes at the end of a page
  p[21] = 64;
  p[22] = 32;
  p[23] = 32;
  PutBe32(p + 24, 1);  // change counter
  PutBe32(p + 28, uint32_t(m_image.size() / m_pageSize));
  PutBe32(p + 32, 0);  // no free pages
  PutBe32(p + 36, 0);
  PutBe32(p + 40, uint32_t(m_tables.size() + 1));  // schema cookie
  PutBe32(p + 44, 4);  // schema format: booleans as serial types 8 and 9
  PutBe32(p + 56, 1);  // UTF-8
  PutBe32(p + 92, 1);  // the page count above is valid for change counter 1
  PutBe32(p + 96, SQLITE_VERSION_NUMBER);
}

}  // namespace vandrel
