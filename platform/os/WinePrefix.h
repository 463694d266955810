// Read-only view of a Wine prefix: the HKEY_LOCAL_MACHINE values in its system.reg, and the Unix
// paths behind its drive letters. Programs that run under Wine keep their settings there, and a
// Windows path read from them only makes sense through the prefix's drives. Nothing here ever
// writes into the prefix.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/RegistryFile.h"

namespace vandrel {

class TWinePrefix {
 public:
  // An empty directory is a prefix that has nothing.
  explicit TWinePrefix(std::string directory);
  // $WINEPREFIX, else ~/.wine.
  static std::string DefaultDirectory();

  const std::string& Directory() const { return m_directory; }
  // Key paths are below HKEY_LOCAL_MACHINE ("SOFTWARE\tarvo") and compare without case. On a
  // 64-bit prefix the 32-bit view (Software\Wow6432Node) is looked at first, since that is where a
  // 32-bit program's settings are.
  bool KeyExists(std::string_view machineKeyPath) const;
  std::optional<TRegistryValue> FindValue(std::string_view machineKeyPath, std::string_view name) const;
  // "C:\Program Files\App\app.exe" -> "<prefix>/dosdevices/c:/Program Files/App/app.exe", each
  // folder matched without case as Windows does; the text unchanged when it is not a path on a
  // drive the prefix has.
  std::string UnixPath(std::string_view windowsPath) const;

 private:
  struct TEntry {
    std::string key;   // canonical, below HKEY_LOCAL_MACHINE
    std::string name;  // lower case
    TRegistryValue value;
  };
  void Load() const;
  std::vector<std::string> Views(std::string_view machineKeyPath) const;

  std::string m_directory;
  mutable bool m_loaded = false;
  mutable bool m_win64 = false;
  mutable std::vector<std::string> m_keys;
  mutable std::vector<TEntry> m_entries;
};

}  // namespace vandrel
