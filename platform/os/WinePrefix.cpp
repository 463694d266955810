#include "platform/os/WinePrefix.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/core/Text.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/UserDirectories.h"

namespace vandrel {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Wine writes UTF-16 code units: C escapes, \xHHHH for anything outside ASCII and octal for the
// other control characters. Reads from text[pos] up to the closing quote (or the end).
std::string Unescape(std::string_view text, size_t& pos, char closing) {
  std::u16string units;
  std::string raw;  // bytes that were not escaped, UTF-8 as they stand
  std::string out;
  auto flushUnits = [&] {
    out += Utf16ToUtf8(units);
    units.clear();
  };
  auto flushRaw = [&] {
    out += raw;
    raw.clear();
  };
  while (pos < text.size() && text[pos] != closing) {
    char c = text[pos++];
    if (c != '\\' || pos >= text.size()) {
      flushUnits();
      raw += c;
      continue;
    }
    flushRaw();
    char e = text[pos++];
    static const std::string_view kLetters = "abtnvfre", kCodes = "\a\b\t\n\v\f\r\x1b";
    if (size_t k = kLetters.find(e); k != std::string_view::npos) {
      units += char16_t(kCodes[k]);
    } else if (e == 'x') {
      unsigned value = 0;
      for (int digits = 0; digits < 4 && pos < text.size() && HexValue(text[pos]) >= 0; ++digits)
        value = value * 16 + unsigned(HexValue(text[pos++]));
      units += char16_t(value);
    } else if (e >= '0' && e <= '7') {
      unsigned value = unsigned(e - '0');
      for (int digits = 1; digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7'; ++digits)
        value = value * 8 + unsigned(text[pos++] - '0');
      units += char16_t(value);
    } else {
      units += char16_t(static_cast<unsigned char>(e));
    }
  }
  flushUnits();
  flushRaw();
  if (pos < text.size()) ++pos;
  return out;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// The entry of folder whose name matches name without case, preferring an exact match.
std::string FindWithoutCase(const std::string& folder, const std::string& name) {
  if (Exists(JoinPath(folder, name))) return name;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return name;
  std::string found = name;
  while (dirent* entry = readdir(dir)) {
    if (SameText(entry->d_name, name)) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

}  // namespace

TWinePrefix::TWinePrefix(std::string directory) : m_directory(std::move(directory)) {}

std::string TWinePrefix::DefaultDirectory() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && prefix[0] != '\0') return prefix;
  return JoinPath(HomeDirectory(), ".wine");
}

void TWinePrefix::Load() const {
  if (m_loaded) return;
  m_loaded = true;
  if (m_directory.empty()) return;
  TFileReadResult file = ReadWholeFile(JoinPath(m_directory, "system.reg"));
  if (!file.bytes) return;
  std::string_view text = *file.bytes;
  if (!text.starts_with("WINE REGISTRY Version")) return;
  std::string key;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with("#arch=")) m_win64 = line == "#arch=win64";
    if (line.starts_with("[")) {
      size_t pos = 1;
      std::optional<std::string> canonical = CanonicalKeyPath(Unescape(line, pos, ']'));
      key = canonical ? *canonical : std::string();
      if (!key.empty()) m_keys.push_back(key);
      continue;
    }
    if (key.empty() || line.empty() || (line[0] != '"' && line[0] != '@')) continue;
    TEntry entry;
    entry.key = key;
    size_t pos = 1;
    if (line[0] == '"') entry.name = LowerCase(Unescape(line, pos, '"'));
    if (pos >= line.size() || line[pos] != '=') continue;
    std::string_view data = line.substr(pos + 1);
    // Binary values may go on over several lines ending in a backslash; skip those lines.
    std::string_view last = line;
    while (last.ends_with('\\') && start < text.size()) {
      size_t next = text.find('\n', start);
      if (next == std::string_view::npos) next = text.size();
      last = text.substr(start, next - start);
      if (last.ends_with('\r')) last.remove_suffix(1);
      start = next + 1;
    }
    if (data.starts_with("\"") || data.starts_with("str(2):\"")) {
      bool expand = data[0] != '"';
      size_t quote = data.find('"') + 1;
      entry.value.text = Unescape(data, quote, '"');
      entry.value.kind = expand ? TRegistryValueKind::rvExpandString : TRegistryValueKind::rvString;
    } else {
      entry.value.kind = TRegistryValueKind::rvOther;
      entry.value.typeName = std::string(data.substr(0, data.find(':')));
    }
    m_entries.push_back(std::move(entry));
  }
}

std::vector<std::string> TWinePrefix::Views(std::string_view machineKeyPath) const {
  std::vector<std::string> views;
  std::optional<std::string> key = CanonicalKeyPath(machineKeyPath);
  if (!key || key->empty()) return views;
  if (m_win64 && (*key == "software" || key->starts_with("software\\")) &&
      !key->starts_with("software\\wow6432node"))
    views.push_back("software\\wow6432node" + key->substr(8));
  views.push_back(*key);
  return views;
}

bool TWinePrefix::KeyExists(std::string_view machineKeyPath) const {
  Load();
  for (const std::string& view : Views(machineKeyPath))
    for (const std::string& key : m_keys)
      if (key == view || (key.starts_with(view) && key[view.size()] == '\\')) return true;
  return false;
}

std::optional<TRegistryValue> TWinePrefix::FindValue(std::string_view machineKeyPath, std::string_view name) const {
  Load();
  std::string lowerName = LowerCase(name);
  for (const std::string& view : Views(machineKeyPath)) {
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
      if (it->key != view || it->name != lowerName) continue;
      TRegistryValue value = it->value;
      if (value.kind != TRegistryValueKind::rvOther) value.text = UnixPath(value.text);
      return value;
    }
  }
  return std::nullopt;
}

std::string TWinePrefix::UnixPath(std::string_view windowsPath) const {
  if (m_directory.empty() || windowsPath.size() < 3 || !std::isalpha(static_cast<unsigned char>(windowsPath[0])) ||
      windowsPath[1] != ':' || (windowsPath[2] != '\\' && windowsPath[2] != '/'))
    return std::string(windowsPath);
  std::string drive = std::string(1, AsciiLower(windowsPath[0])) + ":";
  std::string path = JoinPath(JoinPath(m_directory, "dosdevices"), drive);
  if (!IsDirectory(path)) {
    // A prefix copied without its links still has its system drive.
    if (drive != "c:" || !IsDirectory(JoinPath(m_directory, "drive_c"))) return std::string(windowsPath);
    path = JoinPath(m_directory, "drive_c");
  }
  size_t start = 3;
  while (start <= windowsPath.size()) {
    size_t end = windowsPath.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = windowsPath.size();
    std::string part(windowsPath.substr(start, end - start));
    if (!part.empty()) path = JoinPath(path, FindWithoutCase(path, part));
    start = end + 1;
  }
  return path;
}

}  // namespace vandrel
