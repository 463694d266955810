// The settings file in the registry's export format ("REGEDIT4" or "Windows Registry Editor
// Version 5.00"): [Key\Path] sections followed by "Name"="value" lines. The document keeps every
// line exactly as it was read, so what it does not understand (comments, dword: and hex: values,
// damaged lines) survives any edit, and saving an unchanged document gives back the same bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel {

enum class TRegistryValueKind {
  rvString,        // REG_SZ, quoted or hex(1)
  rvExpandString,  // REG_EXPAND_SZ, hex(2)
  rvOther,         // dword, binary, multi-string, ...: kept, not readable as text
  rvDeleted        // "Name"=- : the value is absent
};

struct TRegistryValue {
  TRegistryValueKind kind = TRegistryValueKind::rvString;
  std::string text;      // the text of a string value, UTF-8
  std::string typeName;  // as written before the colon ("dword", "hex(7)"), for messages
};

struct TRegistryProblem {
  int line = 0;  // 1-based physical line
  std::string what;
};

enum class TTextEncoding { teUtf8, teUtf16LE, teUtf16BE };

class TRegistryFile {
 public:
  // A new, empty document in the REGEDIT4 flavour.
  TRegistryFile() = default;
  // Never throws: what cannot be understood is kept as it is and listed in Problems().
  static TRegistryFile Parse(std::string_view bytes);
  std::string Serialize() const;

  // False when the bytes did not start with a registry-file header: nothing is read from them.
  bool IsRegistryFile() const { return m_isRegistryFile; }
  // True when Serialize() of the unchanged document gives back exactly the bytes it was parsed
  // from, so an edit loses nothing. Any edit of a document that is not rewritable raises.
  bool IsRewritable() const { return m_rewritable; }
  const std::vector<TRegistryProblem>& Problems() const { return m_problems; }
  TTextEncoding Encoding() const { return m_encoding; }

  // Key paths start with the root's name ("HKEY_LOCAL_MACHINE\SOFTWARE\tarvo"); they compare
  // without case, with leading and trailing backslashes ignored. A key exists when it has a
  // section of its own or of a subkey.
  bool KeyExists(std::string_view keyPath) const;
  // The last definition wins, as when the file is imported; nullopt when the value is absent.
  std::optional<TRegistryValue> FindValue(std::string_view keyPath, std::string_view name) const;
  // Both add a section written as keyPath when the key has none. Raise EInvalidOperation on a
  // document that is not rewritable and EInvalidArgument for a name or path the format cannot hold.
  void CreateKey(std::string_view keyPath);
  void SetString(std::string_view keyPath, std::string_view name, std::string_view value);

 private:
  enum class TRecordKind { rkHeader, rkFiller, rkSection, rkValue, rkUnknown };
  struct TRecord {
    TRecordKind kind = TRecordKind::rkFiller;
    std::string raw;  // every physical line of the record with its line end, as read (UTF-8)
    std::string key;  // canonical key of the section the record belongs to ("" for none)
    std::string name;  // canonical value name ("" is the default value "@")
    std::string spelling;  // the value name as written
    TRegistryValue value;
  };

  void CheckEditable() const;
  std::string LineEnd() const;
  void EnsureTrailingLineEnd(size_t index);
  size_t AppendSection(std::string_view keyPath);
  std::string RenderValue(std::string_view name, std::string_view value) const;

  std::vector<TRecord> m_records;
  std::string m_original;  // what was read, kept whole when it cannot be rebuilt from the records
  std::vector<TRegistryProblem> m_problems;
  TTextEncoding m_encoding = TTextEncoding::teUtf8;
  bool m_byteOrderMark = false;
  bool m_unicodeFlavour = false;  // "Windows Registry Editor Version 5.00": hex strings in UTF-16
  bool m_isRegistryFile = true;
  bool m_rewritable = true;
};

// Canonical form of a key path for comparison: lower case, no leading or trailing backslashes,
// root abbreviations spelled out; nullopt when a component is empty ("A\\B").
std::optional<std::string> CanonicalKeyPath(std::string_view keyPath);

}  // namespace vandrel
