#include "platform/os/RegistryFile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "platform/core/Exception.h"
#include "platform/core/Text.h"

namespace vandrel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view StripLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view LineEndOf(std::string_view raw) {
  if (raw.ends_with("\r\n")) return "\r\n";
  if (raw.ends_with("\n")) return "\n";
  return "";
}

// Physical lines, each with its own line end ("\n" or "\r\n"; the last may have none).
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

std::u16string Utf16Units(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto b0 = static_cast<unsigned char>(bytes[i]), b1 = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(char16_t(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0));
  }
  return units;
}

std::string Utf16Bytes(std::u16string_view units, bool bigEndian) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    char hi = char(unit >> 8), lo = char(unit & 0xFF);
    bytes += bigEndian ? hi : lo;
    bytes += bigEndian ? lo : hi;
  }
  return bytes;
}

// Reads a quoted text starting at text[pos] == '"'. Only \\ and \" are escapes, as the format has
// them; any other backslash stands for itself.
bool ParseQuoted(std::string_view text, size_t& pos, std::string& out) {
  for (++pos; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) c = text[++pos];
    out += c;
  }
  return false;
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> ParseHexBytes(std::string_view data) {
  std::string bytes;
  size_t pos = 0;
  auto skipBlanks = [&] {
    while (pos < data.size() && (IsBlank(data[pos]) || data[pos] == '\r' || data[pos] == '\n')) ++pos;
  };
  skipBlanks();
  while (pos < data.size()) {
    if (pos + 1 >= data.size()) return std::nullopt;
    int hi = HexDigit(data[pos]), lo = HexDigit(data[pos + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes += char(hi * 16 + lo);
    pos += 2;
    skipBlanks();
    if (pos < data.size()) {
      if (data[pos] != ',') return std::nullopt;
      ++pos;
      skipBlanks();
    }
  }
  return bytes;
}

// The text of a hex(1)/hex(2) value: ANSI (here UTF-8) bytes in REGEDIT4, UTF-16LE in version 5,
// up to the first terminating zero.
std::string DecodeHexString(const std::string& bytes, bool unicode) {
  if (!unicode) return bytes.substr(0, bytes.find('\0'));
  std::u16string units = Utf16Units(bytes, false);
  return Utf16ToUtf8(std::u16string_view(units).substr(0, units.find(u'\0')));
}

std::string EncodeHexString(std::string_view text, bool unicode) {
  std::string bytes = unicode ? Utf16Bytes(Utf8ToUtf16(text), false) + std::string(2, '\0')
                              : std::string(text) + '\0';
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) out += ',';
    out += kDigits[static_cast<unsigned char>(bytes[i]) >> 4];
    out += kDigits[static_cast<unsigned char>(bytes[i]) & 15];
  }
  return out;
}

struct TParsedValue {
  std::string name;
  TRegistryValue value;
  size_t lineCount = 1;
  std::string problem;  // empty when the value was understood
};

TParsedValue ParseValue(const std::vector<std::string_view>& lines, size_t first, bool unicode) {
  TParsedValue parsed;
  std::string_view text = TrimBlanks(StripLineEnd(lines[first]));
  size_t pos = 0;
  if (text[0] == '@') {
    pos = 1;
  } else if (!ParseQuoted(text, pos, parsed.name)) {
    parsed.problem = "value name without its closing quote";
    return parsed;
  }
  std::string_view rest = TrimBlanks(text.substr(pos));
  if (rest.empty() || rest[0] != '=') {
    parsed.problem = "value without '='";
    return parsed;
  }
  rest = TrimBlanks(rest.substr(1));
  if (!rest.empty() && rest[0] == '"') {
    size_t end = 0;
    if (!ParseQuoted(rest, end, parsed.value.text)) {
      parsed.problem = "text without its closing quote";
    } else if (!TrimBlanks(rest.substr(end)).empty()) {
      parsed.problem = "unexpected characters after the text";
    }
    return parsed;
  }
  if (rest == "-") {
    parsed.value.kind = TRegistryValueKind::rvDeleted;
    return parsed;
  }
  size_t colon = rest.find(':');
  bool typed = colon != std::string_view::npos && colon > 0 &&
               std::all_of(rest.begin(), rest.begin() + std::ptrdiff_t(colon), [](char c) {
                 return std::isalnum(static_cast<unsigned char>(c)) || c == '(' || c == ')';
               });
  if (!typed) {
    parsed.problem = "value of an unknown form";
    return parsed;
  }
  // Long binary values go on over several lines, each but the last ending with a backslash.
  std::string data(rest.substr(colon + 1));
  while (!data.empty() && data.back() == '\\') {
    data.pop_back();
    if (first + parsed.lineCount >= lines.size()) {
      parsed.problem = "value cut off at the end of the file";
      return parsed;
    }
    // A value cut off before a key or another value must not swallow it.
    std::string_view next = TrimBlanks(StripLineEnd(lines[first + parsed.lineCount]));
    if (!next.empty() && (next[0] == '[' || next[0] == '"' || next[0] == '@')) {
      parsed.problem = "value cut off";
      return parsed;
    }
    data += next;
    ++parsed.lineCount;
  }
  parsed.value.kind = TRegistryValueKind::rvOther;
  parsed.value.typeName = LowerCase(rest.substr(0, colon));
  if (parsed.value.typeName == "hex(1)" || parsed.value.typeName == "hex(2)") {
    if (std::optional<std::string> bytes = ParseHexBytes(data)) {
      parsed.value.kind = parsed.value.typeName == "hex(1)" ? TRegistryValueKind::rvString
                                                            : TRegistryValueKind::rvExpandString;
      parsed.value.text = DecodeHexString(*bytes, unicode);
    } else {
      parsed.problem = "damaged hexadecimal text";
    }
  }
  return parsed;
}

}  // namespace

std::optional<std::string> CanonicalKeyPath(std::string_view keyPath) {
  while (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
  while (!keyPath.empty() && keyPath.back() == '\\') keyPath.remove_suffix(1);
  if (keyPath.find("\\\\") != std::string_view::npos) return std::nullopt;
  std::string canonical = LowerCase(keyPath);
  static const std::pair<std::string_view, std::string_view> kRoots[] = {
      {"hklm", "hkey_local_machine"}, {"hkcu", "hkey_current_user"}, {"hkcr", "hkey_classes_root"},
      {"hku", "hkey_users"}, {"hkcc", "hkey_current_config"}};
  std::string_view first = std::string_view(canonical).substr(0, canonical.find('\\'));
  for (auto [shortName, longName] : kRoots)
    if (first == shortName) return std::string(longName) + canonical.substr(first.size());
  return canonical;
}

TRegistryFile TRegistryFile::Parse(std::string_view bytes) {
  TRegistryFile file;
  std::string text;
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    file.m_encoding = bytes[0] == '\xFF' ? TTextEncoding::teUtf16LE : TTextEncoding::teUtf16BE;
    file.m_byteOrderMark = true;
    text = Utf16ToUtf8(Utf16Units(bytes.substr(2), file.m_encoding == TTextEncoding::teUtf16BE));
  } else if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') {
    file.m_encoding = TTextEncoding::teUtf16LE;
    text = Utf16ToUtf8(Utf16Units(bytes, false));
  } else {
    file.m_byteOrderMark = bytes.starts_with(kUtf8Bom);
    text = bytes.substr(file.m_byteOrderMark ? kUtf8Bom.size() : 0);
  }

  std::vector<std::string_view> lines = SplitLines(text);
  bool headerSeen = false;
  std::string key;
  auto problem = [&](size_t index, std::string what) {
    file.m_problems.push_back({int(index) + 1, std::move(what)});
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    TRecord record;
    record.raw = lines[i];
    record.key = key;
    std::string_view body = TrimBlanks(StripLineEnd(lines[i]));
    if (!headerSeen) {
      if (!body.empty()) {
        if (body != kHeader4 && body != kHeader5) {
          file.m_isRegistryFile = false;
          file.m_problems.push_back({int(i) + 1, "not a registry file (no REGEDIT4 header)"});
          for (size_t k = i; k < lines.size(); ++k)
            file.m_records.push_back({TRecordKind::rkUnknown, std::string(lines[k]), "", "", "", {}});
          break;
        }
        headerSeen = true;
        file.m_unicodeFlavour = body == kHeader5;
        record.kind = TRecordKind::rkHeader;
      }
    } else if (body.empty() || body[0] == ';') {
      record.kind = TRecordKind::rkFiller;
    } else if (body[0] == '[') {
      // Until the next good section header, values belong to no key and are never read.
      key.clear();
      record.kind = TRecordKind::rkUnknown;
      if (body.back() != ']') {
        problem(i, "key name without its closing bracket");
      } else if (body.size() > 1 && body[1] == '-') {
        problem(i, "key deletion; ignored");
      } else if (std::optional<std::string> canonical = CanonicalKeyPath(body.substr(1, body.size() - 2));
                 !canonical || canonical->empty()) {
        problem(i, "malformed key name");
      } else {
        key = *canonical;
        record.kind = TRecordKind::rkSection;
      }
      record.key = key;
    } else if (body[0] == '"' || body[0] == '@') {
      TParsedValue parsed = ParseValue(lines, i, file.m_unicodeFlavour);
      for (size_t k = 1; k < parsed.lineCount; ++k) record.raw += lines[i + k];
      if (!parsed.problem.empty()) {
        record.kind = TRecordKind::rkUnknown;
        problem(i, parsed.problem);
      } else {
        record.kind = TRecordKind::rkValue;
        record.name = LowerCase(parsed.name);
        record.spelling = parsed.name;
        record.value = std::move(parsed.value);
        if (key.empty()) problem(i, "value outside any key");
      }
      i += parsed.lineCount - 1;
    } else {
      record.kind = TRecordKind::rkUnknown;
      problem(i, "line not understood");
    }
    file.m_records.push_back(std::move(record));
  }
  file.m_rewritable = file.m_isRegistryFile && file.Serialize() == bytes;
  if (!file.m_rewritable) file.m_original = bytes;
  if (file.m_isRegistryFile && !file.m_rewritable)
    file.m_problems.push_back({0, "the text encoding cannot be written back unchanged"});
  return file;
}

std::string TRegistryFile::Serialize() const {
  if (!m_rewritable) return m_original;
  std::string text;
  for (const TRecord& record : m_records) text += record.raw;
  switch (m_encoding) {
    case TTextEncoding::teUtf8:
      return m_byteOrderMark ? std::string(kUtf8Bom) + text : text;
    case TTextEncoding::teUtf16LE:
    case TTextEncoding::teUtf16BE: {
      bool bigEndian = m_encoding == TTextEncoding::teUtf16BE;
      std::string bom = !m_byteOrderMark ? "" : bigEndian ? "\xFE\xFF" : "\xFF\xFE";
      return bom + Utf16Bytes(Utf8ToUtf16(text), bigEndian);
    }
  }
  return text;
}

bool TRegistryFile::KeyExists(std::string_view keyPath) const {
  std::optional<std::string> key = CanonicalKeyPath(keyPath);
  if (!key || key->empty()) return false;
  return std::any_of(m_records.begin(), m_records.end(), [&](const TRecord& record) {
    return record.kind == TRecordKind::rkSection &&
           (record.key == *key || (record.key.starts_with(*key) && record.key[key->size()] == '\\'));
  });
}

std::optional<TRegistryValue> TRegistryFile::FindValue(std::string_view keyPath, std::string_view name) const {
  std::optional<std::string> key = CanonicalKeyPath(keyPath);
  if (!key || key->empty()) return std::nullopt;
  std::string lowerName = LowerCase(name);
  for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) {
    if (it->kind != TRecordKind::rkValue || it->key != *key || it->name != lowerName) continue;
    if (it->value.kind == TRegistryValueKind::rvDeleted) return std::nullopt;
    return it->value;
  }
  return std::nullopt;
}

void TRegistryFile::CheckEditable() const {
  if (!m_isRegistryFile || !m_rewritable)
    throw EInvalidOperation("The settings file was not understood completely and is left unchanged");
}

std::string TRegistryFile::LineEnd() const {
  for (const TRecord& record : m_records)
    if (std::string_view end = LineEndOf(record.raw); !end.empty()) return std::string(end);
  return "\r\n";
}

void TRegistryFile::EnsureTrailingLineEnd(size_t index) {
  if (!m_records[index].raw.ends_with('\n')) m_records[index].raw += LineEnd();
}

size_t TRegistryFile::AppendSection(std::string_view keyPath) {
  std::string end = LineEnd();
  bool hasHeader = std::any_of(m_records.begin(), m_records.end(),
                               [](const TRecord& r) { return r.kind == TRecordKind::rkHeader; });
  if (!hasHeader) {
    m_records.insert(m_records.begin(), {TRecord{TRecordKind::rkHeader, std::string(kHeader4) + end, "", "", "", {}},
                                         TRecord{TRecordKind::rkFiller, end, "", "", "", {}}});
  }
  EnsureTrailingLineEnd(m_records.size() - 1);
  if (!TrimBlanks(StripLineEnd(m_records.back().raw)).empty() || m_records.back().kind != TRecordKind::rkFiller)
    m_records.push_back({TRecordKind::rkFiller, end, m_records.back().key, "", "", {}});
  while (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
  while (!keyPath.empty() && keyPath.back() == '\\') keyPath.remove_suffix(1);
  m_records.push_back({TRecordKind::rkSection, "[" + std::string(keyPath) + "]" + end,
                       *CanonicalKeyPath(keyPath), "", "", {}});
  return m_records.size() - 1;
}

void TRegistryFile::CreateKey(std::string_view keyPath) {
  CheckEditable();
  std::optional<std::string> key = CanonicalKeyPath(keyPath);
  if (!key || key->empty() || keyPath.find_first_of("\r\n") != std::string_view::npos)
    throw EInvalidArgument("Invalid key name \"" + std::string(keyPath) + "\"");
  if (!KeyExists(keyPath)) AppendSection(keyPath);
}

std::string TRegistryFile::RenderValue(std::string_view name, std::string_view value) const {
  if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
    throw EInvalidArgument("A value name cannot hold line breaks");
  if (value.find('\0') != std::string_view::npos)
    throw EInvalidArgument("A text value cannot hold a zero character");
  std::string line = name.empty() ? "@=" : Quote(name) + "=";
  // A quoted text cannot span lines; hex(1) is the same string type written as bytes.
  if (value.find_first_of("\r\n") != std::string_view::npos)
    return line + "hex(1):" + EncodeHexString(value, m_unicodeFlavour);
  return line + Quote(value);
}

void TRegistryFile::SetString(std::string_view keyPath, std::string_view name, std::string_view value) {
  CheckEditable();
  std::optional<std::string> key = CanonicalKeyPath(keyPath);
  if (!key || key->empty() || keyPath.find_first_of("\r\n") != std::string_view::npos)
    throw EInvalidArgument("Invalid key name \"" + std::string(keyPath) + "\"");
  std::string lowerName = LowerCase(name);
  TRecord record{TRecordKind::rkValue, RenderValue(name, value), *key, lowerName, std::string(name),
                 {TRegistryValueKind::rvString, std::string(value), ""}};

  // The last definition is the one that is read, so that is the one to change, in place. Like the
  // registry, a value keeps the spelling of its name, and an unchanged value keeps its line.
  for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) {
    if (it->kind == TRecordKind::rkValue && it->key == *key && it->name == lowerName) {
      if (it->value.kind == TRegistryValueKind::rvString && it->value.text == value) return;
      record.spelling = it->spelling;
      record.raw = RenderValue(it->spelling, value) + std::string(LineEndOf(it->raw));
      *it = std::move(record);
      return;
    }
  }
  size_t section = m_records.size();
  for (size_t i = m_records.size(); i-- > 0;) {
    if (m_records[i].kind == TRecordKind::rkSection && m_records[i].key == *key) {
      section = i;
      break;
    }
  }
  if (section == m_records.size()) section = AppendSection(keyPath);
  // After the section's last value, so the blank line between sections stays and nothing lands
  // behind a damaged line that might swallow the next one (a binary value cut off mid-line).
  size_t last = section;
  for (size_t i = section + 1;
       i < m_records.size() && m_records[i].kind != TRecordKind::rkSection && m_records[i].key == *key; ++i)
    if (m_records[i].kind == TRecordKind::rkValue) last = i;
  EnsureTrailingLineEnd(last);
  record.raw += LineEnd();
  m_records.insert(m_records.begin() + std::ptrdiff_t(last + 1), std::move(record));
}

}  // namespace vandrel
