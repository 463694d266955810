#include "platform/os/Autostart.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Text.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/UserDirectories.h"

namespace vandrel {
namespace {

// Escapes of the desktop entry "string" type, applied to a whole value.
std::string EscapeString(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  if (!out.empty() && out[0] == ' ') out.replace(0, 1, "\\s");
  return out;
}

std::string_view KeyOf(std::string_view line) {
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {};
  std::string_view key = line.substr(0, equals);
  while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
  return key;
}

std::string_view ValueOf(std::string_view line) {
  std::string_view value = line.substr(line.find('=') + 1);
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  return value;
}

}  // namespace

TAutostart::TAutostart(std::string directory, std::string readableName)
    : m_directory(std::move(directory)), m_readableName(std::move(readableName)) {}

std::string TAutostart::DefaultDirectory() { return JoinPath(ConfigHomeDirectory(), "autostart"); }

std::string TAutostart::EntryFileName(std::string_view valueName) const {
  std::string name = LowerCase(valueName);
  for (char& c : name) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  if (name.empty() || name[0] == '.') name.insert(0, "_");
  return JoinPath(m_directory, name + ".desktop");
}

std::string TAutostart::ExecValue(std::string_view programPath) {
  // Quoted, every argument is taken literally once ", `, $ and \ carry a backslash; a % would
  // still start a field code, so it is doubled.
  std::string quoted = "\"";
  for (char c : programPath) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return EscapeString(quoted);
}

void TAutostart::Apply(std::string_view valueName, std::string_view programPath) const {
  std::string fileName = EntryFileName(valueName);
  TFileReadResult existing = ReadWholeFile(fileName);
  if (!existing.bytes && existing.error != ENOENT)
    throw EOSError("Cannot read " + fileName + ": " + SystemMessage(existing.error));
  bool enabled = !programPath.empty();
  if (!existing.bytes && !enabled) return;

  std::vector<std::pair<std::string, std::string>> wanted = {{"Hidden", enabled ? "false" : "true"}};
  if (enabled) wanted.insert(wanted.begin(), {"Exec", ExecValue(programPath)});
  const std::string valueNameText = EscapeString(valueName);
  std::vector<std::pair<std::string, std::string>> fresh = {
      {"Type", "Application"}, {"Name", m_readableName.empty() ? valueNameText : EscapeString(m_readableName)}};
  fresh.insert(fresh.end(), wanted.begin(), wanted.end());

  std::string text;
  if (!existing.bytes) {
    text = "[Desktop Entry]\n";
    for (const auto& [key, value] : fresh) text += key + "=" + value + "\n";
  } else {
    // Change our keys in the main group and keep every other line, comments and translations.
    std::string_view old = *existing.bytes;
    std::vector<std::string> lines;
    for (size_t start = 0; start < old.size();) {
      size_t end = old.find('\n', start);
      end = end == std::string_view::npos ? old.size() : end;
      lines.emplace_back(old.substr(start, end - start));
      start = end + 1;
    }
    size_t groupStart = lines.size();
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i] == "[Desktop Entry]") groupStart = i;
    if (groupStart == lines.size())
      throw EOSError("Cannot update " + fileName + ": it is not a desktop entry; it is left as it is");
    size_t groupEnd = groupStart + 1;
    while (groupEnd < lines.size() && !lines[groupEnd].starts_with("[")) ++groupEnd;
    std::vector<std::pair<std::string, std::string>> missing;
    for (const auto& pair : fresh) {
      bool found = false;
      for (size_t i = groupStart + 1; i < groupEnd; ++i) {
        if (KeyOf(lines[i]) != pair.first) continue;
        found = true;
        // Type and Name are only filled in when missing; a person may have renamed the entry. A
        // Name that is the value's name is the one earlier versions wrote, not a person's.
        bool ours = std::any_of(wanted.begin(), wanted.end(), [&](const auto& w) { return w.first == pair.first; });
        bool oldName = pair.first == "Name" && !m_readableName.empty() &&
                       ValueOf(lines[i]) == valueNameText;
        if (ours || oldName) lines[i] = pair.first + "=" + pair.second;
      }
      if (!found) missing.push_back(pair);
    }
    // After the group's last non-blank line, so a blank line before the next group stays.
    size_t insertAt = groupEnd;
    while (insertAt > groupStart + 1 && lines[insertAt - 1].empty()) --insertAt;
    for (const auto& [key, value] : missing)
      lines.insert(lines.begin() + std::ptrdiff_t(insertAt++), key + "=" + value);
    for (size_t i = 0; i < lines.size(); ++i) {
      text += lines[i];
      if (i + 1 < lines.size() || old.ends_with('\n')) text += '\n';
    }
    if (!text.ends_with('\n')) text += '\n';
  }
  if (!MakeDirectories(m_directory, 0700))
    throw EOSError("Cannot create " + m_directory + ": " + SystemMessage(errno));
  WriteFileAtomically(fileName, text);
}

}  // namespace vandrel
