#include "data/MdbFile.h"

// GLib must come first: mdbtools.h includes it inside its own extern "C" block.
#include <glib.h>
#include <mdbtools.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "data/DatabaseError.h"
#include "data/JetHeader.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

constexpr uint32_t kCatalogPage = 2;
constexpr uint8_t kDataPage = 0x01;
constexpr uint8_t kTableDefinitionPage = 0x02;
constexpr uint16_t kDeletedRow = 0x4000;
constexpr uint32_t kMemoInline = 0x80000000u;
constexpr uint32_t kMemoSingle = 0x40000000u;
// A value never legitimately needs more long-value pages than the file has; the cap also stops
// a damaged chain that points back at itself.
constexpr size_t kMaxMemoBytes = 1u << 30;

TJetType TypeOf(int colType) {
  switch (colType) {
    case MDB_BOOL: return TJetType::jtBoolean;
    case MDB_BYTE: return TJetType::jtByte;
    case MDB_INT: return TJetType::jtInteger;
    case MDB_LONGINT: return TJetType::jtLong;
    case MDB_MONEY: return TJetType::jtCurrency;
    case MDB_FLOAT: return TJetType::jtSingle;
    case MDB_DOUBLE: return TJetType::jtDouble;
    case MDB_DATETIME: return TJetType::jtDateTime;
    case MDB_BINARY: return TJetType::jtBinary;
    case MDB_TEXT: return TJetType::jtText;
    case MDB_OLE: return TJetType::jtBinary;
    case MDB_MEMO: return TJetType::jtMemo;
    case MDB_REPID: return TJetType::jtGuid;
    case MDB_NUMERIC: return TJetType::jtDouble;
    default: return TJetType::jtUnknown;
  }
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(char(cp));
  } else if (cp < 0x800) {
    out.push_back(char(0xC0 | (cp >> 6)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(char(0xE0 | (cp >> 12)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (cp >> 18)));
    out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  }
}

// Jet 4 text: UCS-2LE, or "FF FE" followed by one-byte characters where each 0x00 switches
// between one-byte and two-byte runs.
void DecodeJetText(const uint8_t* p, size_t n, std::string& out) {
  out.clear();
  uint32_t pendingHigh = 0;
  auto emit = [&](uint32_t unit) {
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (pendingHigh) AppendUtf8(out, 0xFFFD);
      pendingHigh = unit;
      return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      AppendUtf8(out, pendingHigh ? 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00)
                                  : 0xFFFD);
      pendingHigh = 0;
      return;
    }
    if (pendingHigh) AppendUtf8(out, 0xFFFD);
    pendingHigh = 0;
    AppendUtf8(out, unit);
  };
  auto twoByte = [&](size_t from, size_t to) {
    for (size_t i = from; i + 1 < to; i += 2) emit(uint32_t(p[i]) | (uint32_t(p[i + 1]) << 8));
  };
  if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
    // Segments separated by 0x00 bytes alternate between one-byte and two-byte characters.
    bool oneByte = true;
    size_t segment = 2;
    for (size_t i = 2; i <= n; ++i) {
      if (i < n && p[i] != 0) continue;
      if (oneByte) {
        for (size_t k = segment; k < i; ++k) emit(p[k]);
      } else {
        twoByte(segment, i);
      }
      oneByte = !oneByte;
      segment = i + 1;
    }
  } else {
    twoByte(0, n);
  }
  if (pendingHigh) AppendUtf8(out, 0xFFFD);
}

std::string GuidText(const uint8_t* p) {
  char buf[40];
  std::snprintf(buf, sizeof buf,
                "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", p[3],
                p[2], p[1], p[0], p[5], p[4], p[7], p[6], p[8], p[9], p[10], p[11], p[12], p[13],
                p[14], p[15]);
  return buf;
}

double NumericValue(const uint8_t* p, int scale) {
  // Sign byte, then four 32-bit little-endian groups, most significant group first.
  double magnitude = 0;
  for (int g = 0; g < 4; ++g) {
    uint32_t v = 0;
    std::memcpy(&v, p + 1 + 4 * g, 4);
    magnitude = magnitude * 4294967296.0 + v;
  }
  if (scale > 0 && scale < 30) magnitude /= std::pow(10.0, scale);
  return (p[0] & 0x80) ? -magnitude : magnitude;
}

}  // namespace

struct TMdbFile::TImpl {
  MdbHandle* mdb = nullptr;
  const uint8_t* image = nullptr;
  std::string fileName;
  size_t pageCount = 0;
  // Catalog entries are referenced by the table definitions libmdb builds from them.
  std::vector<std::unique_ptr<MdbCatalogEntry>> entries;
  std::vector<uint8_t> memo;
  // One buffer per column: a text or blob handed to the sink stays valid until EndRow.
  std::vector<std::string> texts;

  ~TImpl() {
    if (mdb) mdb_close(mdb);
  }

  [[noreturn]] void Damaged(const std::string& what) const {
    throw EDatabaseError("The database '" + fileName + "' is damaged (" + what + ").");
  }

  MdbCatalogEntry* Entry(const std::string& name, uint32_t page) {
    auto entry = std::make_unique<MdbCatalogEntry>();
    std::memset(entry.get(), 0, sizeof(MdbCatalogEntry));
    entry->mdb = mdb;
    std::snprintf(entry->object_name, sizeof entry->object_name, "%s", name.c_str());
    entry->object_type = MDB_TABLE;
    entry->table_pg = page;
    entries.push_back(std::move(entry));
    return entries.back().get();
  }

  struct TableDef {
    MdbTableDef* def = nullptr;
    ~TableDef() {
      if (def) mdb_free_tabledef(def);
    }
  };

  void OpenTable(TableDef& table, const std::string& name, uint32_t page) {
    if (page == 0 || page >= pageCount) Damaged("table '" + name + "' points outside the file");
    if (mdb_read_pg(mdb, page) != JetPageSize || mdb->pg_buf[0] != kTableDefinitionPage)
      Damaged("no table definition for '" + name + "'");
    table.def = mdb_read_table(Entry(name, page));
    if (!table.def) Damaged("cannot read the definition of '" + name + "'");
    if (!mdb_read_columns(table.def) || !table.def->columns)
      Damaged("cannot read the columns of '" + name + "'");
    // libmdb walks the usage map without checking that it could read it.
    const auto* map = table.def->usage_map;
    if (!map || table.def->map_sz < 5 || map[0] > 1) Damaged("no usable page map for '" + name + "'");
  }

  // The pages the table's usage map names, from the image (libmdb silently skips a page it
  // cannot read or that belongs to no table, and a row whose offsets make no sense): each must
  // be a data page of this table whose row offsets lie inside it. Returns the rows that are not
  // deleted, which the row reader must then find, one for one.
  size_t LiveRows(const MdbTableDef* t, const std::string& name, uint32_t definitionPage) const {
    const MdbFormatConstants* fmt = mdb->fmt;
    const uint8_t* map = t->usage_map;
    const size_t mapSize = t->map_sz;
    size_t live = 0;
    auto dataPage = [&](uint64_t page) {
      if (page >= pageCount) Damaged("the page map of table '" + name + "' points outside the file");
      const uint8_t* p = image + page * JetPageSize;
      uint32_t owner = 0;
      std::memcpy(&owner, p + 4, 4);
      if (p[0] != kDataPage || owner != definitionPage)
        Damaged("page " + std::to_string(page) + " of table '" + name + "' cannot be read");
      uint16_t rows = 0;
      std::memcpy(&rows, p + fmt->row_count_offset, 2);
      const size_t first = size_t(fmt->row_count_offset) + 2;
      if (first + 2 * size_t(rows) > JetPageSize)
        Damaged("page " + std::to_string(page) + " of table '" + name + "' lists more rows than it can hold");
      size_t end = JetPageSize;
      for (size_t row = 0; row < rows; ++row) {
        uint16_t offset = 0;
        std::memcpy(&offset, p + first + 2 * row, 2);
        const size_t start = offset & 0x1FFFu;
        // A deleted row keeps its place in the list; its bytes are not read.
        if (!(offset & kDeletedRow)) {
          if (start < first + 2 * size_t(rows) || start >= end)
            Damaged("row " + std::to_string(row) + " of page " + std::to_string(page) + " of table '" + name +
                    "' points outside its page");
          ++live;
        }
        end = start;
      }
    };
    if (map[0] == 0) {
      uint32_t start = 0;
      std::memcpy(&start, map + 1, 4);
      for (size_t bit = 0; bit < (mapSize - 5) * 8; ++bit)
        if (map[5 + bit / 8] & (1u << (bit % 8))) dataPage(uint64_t(start) + bit);
    } else {
      // Pages of bitmaps, each covering the pages that follow those of the one before.
      const size_t bitsPerPage = (JetPageSize - 4) * 8;
      for (size_t k = 0; 1 + 4 * k + 4 <= mapSize; ++k) {
        uint32_t mapPage = 0;
        std::memcpy(&mapPage, map + 1 + 4 * k, 4);
        if (mapPage == 0) continue;
        if (mapPage >= pageCount) Damaged("the page map of table '" + name + "' points outside the file");
        const uint8_t* bits = image + size_t(mapPage) * JetPageSize + 4;
        for (size_t bit = 0; bit < bitsPerPage; ++bit)
          if (bits[bit / 8] & (1u << (bit % 8))) dataPage(uint64_t(k) * bitsPerPage + bit);
      }
    }
    return live;
  }

  // Null flag of a column in the current row: the bitmap at the end of the row, bit set = value
  // present. Booleans keep their value in this bit.
  // The bitmap of the row last looked at, found once per row rather than once per column.
  struct TRowMask {
    uint32_t page = 0;
    unsigned row = 0;
    bool valid = false;
    bool ok = false;
    int columns = 0;
    const uint8_t* bits = nullptr;
  } rowMask;

  bool NullBit(MdbTableDef* t, const MdbColumn* col, bool& ok) {
    TRowMask& m = rowMask;
    if (!m.valid || m.page != t->cur_phys_pg || m.row != t->cur_row) {
      m = {t->cur_phys_pg, t->cur_row, true, false, 0, nullptr};
      int start = 0;
      size_t size = 0;
      if (t->cur_row != 0 && mdb_find_row(mdb, int(t->cur_row) - 1, &start, &size) == 0) {
        start &= 0x1FFF;
        if (size >= 2 && size_t(start) + size <= JetPageSize) {
          const int n = mdb_get_int16(mdb->pg_buf, start);
          const size_t maskBytes = size_t(n + 7) / 8;
          if (n >= 0 && maskBytes <= size) {
            m.ok = true;
            m.columns = n;
            m.bits = mdb->pg_buf + start + size - maskBytes;
          }
        }
      }
    }
    ok = m.ok;
    if (!m.ok || col->col_num >= m.columns) return false;
    return (m.bits[col->col_num / 8] >> (col->col_num % 8)) & 1;
  }

  // Long values (memo, OLE): inline, one long-value row, or a chain of rows.
  bool ReadLongValue(const uint8_t* head, size_t headLen) {
    memo.clear();
    if (headLen < 12) return false;
    uint32_t word = 0, pgRow = 0;
    std::memcpy(&word, head, 4);
    std::memcpy(&pgRow, head + 4, 4);
    const size_t length = word & 0x3FFFFFFFu;
    if (length > kMaxMemoBytes) return false;
    if (word & kMemoInline) {
      if (length > headLen - 12) return false;
      memo.assign(head + 12, head + 12 + length);
      return true;
    }
    size_t hops = 0;
    while (memo.size() < length) {
      if (++hops > pageCount * 256 + 1) return false;
      void* buf = nullptr;
      int off = 0;
      size_t len = 0;
      if ((pgRow >> 8) >= pageCount) return false;
      if (mdb_find_pg_row(mdb, int(pgRow), &buf, &off, &len) != 0 || !buf) return false;
      if (off < 0 || size_t(off) + len > JetPageSize) return false;
      const auto* p = static_cast<const uint8_t*>(buf) + off;
      if (word & kMemoSingle) {
        memo.assign(p, p + std::min(len, length));
        return true;
      }
      if (len < 4) return false;
      std::memcpy(&pgRow, p, 4);
      const size_t chunk = std::min(len - 4, length - memo.size());
      memo.insert(memo.end(), p + 4, p + 4 + chunk);
      if (pgRow == 0 && memo.size() < length) return false;
    }
    return true;
  }

  void EmitValue(MdbTableDef* t, const MdbColumn* col, size_t index, TJetRowSink& sink) {
    bool ok = false;
    const bool present = NullBit(t, col, ok);
    if (!ok) Damaged("bad row in '" + std::string(t->name) + "'");
    if (col->col_type == MDB_BOOL) {
      sink.Integer(index, present ? -1 : 0);
      return;
    }
    const int start = col->cur_value_start;
    const int len = col->cur_value_len;
    if (!present) {
      sink.Null(index);
      return;
    }
    if (start < 0 || len < 0 || size_t(start) + size_t(len) > JetPageSize)
      Damaged("value outside its page in '" + std::string(t->name) + "'");
    const uint8_t* p = mdb->pg_buf + start;
    auto need = [&](int bytes) {
      if (len < bytes) Damaged("short value in '" + std::string(t->name) + "'");
    };
    switch (col->col_type) {
      case MDB_BYTE: need(1); sink.Integer(index, p[0]); break;
      case MDB_INT: {
        need(2);
        int16_t v;
        std::memcpy(&v, p, 2);
        sink.Integer(index, v);
        break;
      }
      case MDB_LONGINT: {
        need(4);
        int32_t v;
        std::memcpy(&v, p, 4);
        sink.Integer(index, v);
        break;
      }
      case MDB_MONEY: {
        need(8);
        int64_t v;
        std::memcpy(&v, p, 8);
        sink.Real(index, double(v) / 10000.0);
        break;
      }
      case MDB_FLOAT: {
        need(4);
        float v;
        std::memcpy(&v, p, 4);
        sink.Real(index, v);
        break;
      }
      case MDB_DOUBLE:
      case MDB_DATETIME: {
        need(8);
        double v;
        std::memcpy(&v, p, 8);
        if (std::isnan(v)) sink.Null(index);
        else sink.Real(index, v);
        break;
      }
      case MDB_TEXT:
        DecodeJetText(p, size_t(len), texts[index]);
        sink.Text(index, texts[index]);
        break;
      case MDB_MEMO:
        if (len == 0) {
          sink.Text(index, "");
          break;
        }
        if (!ReadLongValue(p, size_t(len))) Damaged("broken memo in '" + std::string(t->name) + "'");
        // The long-value read used the alternate buffer; the row is still in pg_buf.
        DecodeJetText(memo.data(), memo.size(), texts[index]);
        sink.Text(index, texts[index]);
        break;
      case MDB_OLE:
        if (len == 0) {
          sink.Blob(index, nullptr, 0);
          break;
        }
        if (!ReadLongValue(p, size_t(len))) Damaged("broken OLE value in '" + std::string(t->name) + "'");
        texts[index].assign(memo.begin(), memo.end());
        sink.Blob(index, reinterpret_cast<const uint8_t*>(texts[index].data()), texts[index].size());
        break;
      case MDB_REPID:
        need(16);
        texts[index] = GuidText(p);
        sink.Text(index, texts[index]);
        break;
      case MDB_NUMERIC:
        need(17);
        sink.Real(index, NumericValue(p, col->col_scale));
        break;
      default:
        texts[index].assign(reinterpret_cast<const char*>(p), size_t(len));
        sink.Blob(index, reinterpret_cast<const uint8_t*>(texts[index].data()), texts[index].size());
        break;
    }
  }
};

TMdbFile::TMdbFile(const uint8_t* image, size_t size, std::string fileName)
    : m_impl(std::make_unique<TImpl>()) {
  m_impl->fileName = std::move(fileName);
  ReadJetHeader(image, size, m_impl->fileName);
  m_impl->pageCount = size / JetPageSize;
  m_impl->image = image;
  // libmdb only reads through the buffer; the cast is its signature, not a write.
  m_impl->mdb = mdb_open_buffer(const_cast<uint8_t*>(image), size, MDB_NOFLAGS);
  if (!m_impl->mdb || !m_impl->mdb->fmt || m_impl->mdb->fmt->pg_size != ssize_t(JetPageSize))
    throw EDatabaseError("Unrecognized database format '" + m_impl->fileName + "'.");

  // The catalog is read here rather than by libmdb, whose own reader loops forever on some
  // damaged property blocks.
  TImpl::TableDef catalog;
  m_impl->OpenTable(catalog, "MSysObjects", kCatalogPage);
  int idCol = -1, nameCol = -1, typeCol = -1, flagsCol = -1;
  auto* columns = catalog.def->columns;
  for (guint i = 0; i < columns->len; ++i) {
    const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(columns, i));
    if (!g_ascii_strcasecmp(col->name, "Id")) idCol = int(i);
    if (!g_ascii_strcasecmp(col->name, "Name")) nameCol = int(i);
    if (!g_ascii_strcasecmp(col->name, "Type")) typeCol = int(i);
    if (!g_ascii_strcasecmp(col->name, "Flags")) flagsCol = int(i);
  }
  if (idCol < 0 || nameCol < 0 || typeCol < 0 || flagsCol < 0)
    m_impl->Damaged("the catalog lacks its columns");

  struct CatalogSink : TJetRowSink {
    int id = 0, type = 0, flags = 0;
    std::string name;
    std::vector<TJetTable>* tables;
    int idCol, nameCol, typeCol, flagsCol;
    void Null(size_t) override {}
    void Integer(size_t c, int64_t v) override {
      if (int(c) == idCol) id = int(v);
      if (int(c) == typeCol) type = int(v);
      if (int(c) == flagsCol) flags = int(v);
    }
    void Real(size_t, double) override {}
    void Text(size_t c, std::string_view s) override {
      if (int(c) == nameCol) name = s;
    }
    void Blob(size_t, const uint8_t*, size_t) override {}
    void EndRow() override {
      // User tables: type 1 without the system and hidden flags.
      if ((type & 0x7F) == MDB_TABLE && (uint32_t(flags) & 0x80000002u) == 0 && !name.empty())
        tables->push_back({name, uint32_t(id) & 0x00FFFFFFu});
      id = type = flags = 0;
      name.clear();
    }
  } sink;
  sink.tables = &m_tables;
  sink.idCol = idCol;
  sink.nameCol = nameCol;
  sink.typeCol = typeCol;
  sink.flagsCol = flagsCol;
  mdb_rewind_table(catalog.def);
  m_impl->texts.assign(columns->len, {});
  // A catalog that lost rows would lose tables without a word.
  const size_t live = m_impl->LiveRows(catalog.def, "MSysObjects", kCatalogPage);
  size_t rows = 0;
  while (mdb_fetch_row(catalog.def)) {
    if (++rows > live) break;
    for (guint i = 0; i < columns->len; ++i) {
      if (int(i) != idCol && int(i) != nameCol && int(i) != typeCol && int(i) != flagsCol)
        continue;
      m_impl->EmitValue(catalog.def, static_cast<MdbColumn*>(g_ptr_array_index(columns, i)), i,
                        sink);
    }
    sink.EndRow();
  }
  if (rows == 0) m_impl->Damaged("the catalog is empty");
  if (rows != live) m_impl->Damaged("the catalog has " + std::to_string(live) + " rows in its pages, but " + std::to_string(rows) + " could be read");
}

TMdbFile::~TMdbFile() = default;

const TJetTable* TMdbFile::FindTable(std::string_view name) const {
  for (const auto& t : m_tables)
    if (SameText(t.Name, name)) return &t;
  return nullptr;
}

std::vector<TJetColumn> TMdbFile::Columns(const TJetTable& table) {
  TImpl::TableDef def;
  m_impl->OpenTable(def, table.Name, table.DefinitionPage);
  std::vector<TJetColumn> out;
  auto* columns = def.def->columns;
  for (guint i = 0; i < columns->len; ++i) {
    const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(columns, i));
    out.push_back({col->name, TypeOf(col->col_type)});
  }
  return out;
}

uint64_t TMdbFile::SizeEstimate(const TJetTable& table) const {
  const MdbFormatConstants* fmt = m_impl->mdb->fmt;
  if (table.DefinitionPage == 0 || table.DefinitionPage >= m_impl->pageCount) return 0;
  if (size_t(fmt->tab_num_rows_offset) + 4 > JetPageSize || size_t(fmt->tab_num_cols_offset) + 2 > JetPageSize) return 0;
  const uint8_t* page = m_impl->image + size_t(table.DefinitionPage) * JetPageSize;
  if (page[0] != kTableDefinitionPage) return 0;
  uint32_t rows = 0;
  uint16_t columns = 0;
  std::memcpy(&rows, page + fmt->tab_num_rows_offset, 4);
  std::memcpy(&columns, page + fmt->tab_num_cols_offset, 2);
  return uint64_t(rows) * (uint64_t(columns) + 1);
}

size_t TMdbFile::ReadRows(const TJetTable& table, TJetRowSink& sink) {
  TImpl::TableDef def;
  m_impl->OpenTable(def, table.Name, table.DefinitionPage);
  auto* columns = def.def->columns;
  mdb_rewind_table(def.def);
  m_impl->texts.assign(columns->len, {});
  m_impl->rowMask.valid = false;
  const size_t live = m_impl->LiveRows(def.def, table.Name, table.DefinitionPage);
  size_t rows = 0;
  while (mdb_fetch_row(def.def)) {
    if (++rows > live) break;
    for (guint i = 0; i < columns->len; ++i)
      m_impl->EmitValue(def.def, static_cast<MdbColumn*>(g_ptr_array_index(columns, i)), i, sink);
    sink.EndRow();
  }
  // Every row the pages hold must have been read; the definition's count is checked as well, as
  // it alone notices a damaged page map that names too few pages. (Access may leave it zero
  // after an unclean close: then there is nothing to compare.)
  if (rows != live)
    m_impl->Damaged("table '" + table.Name + "' has " + std::to_string(live) + " rows in its pages, but " +
                    std::to_string(rows) + " could be read");
  if (def.def->num_rows != 0 && def.def->num_rows != rows)
    m_impl->Damaged("table '" + table.Name + "' should have " + std::to_string(def.def->num_rows) + " rows, but " +
                    std::to_string(rows) + " were found");
  return rows;
}

}  // namespace vandrel
