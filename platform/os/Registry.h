// The registry as the program uses it: keys under a root, string values whose names compare
// without case, opened with or without create. Keys and values live in one settings file in the
// registry's export format (see RegistryFile.h); values under HKEY_LOCAL_MACHINE that the file
// does not have are looked up in a Wine prefix; values written under a Run key are mirrored as
// logon autostart entries.
//
// Failures keep the registry's two kinds apart:
//   the key cannot be opened         OpenKey returns false: the settings file or its folder cannot be
//                                    read, or (opening with create) cannot be written, or the file is
//                                    not one this program can rewrite without loss. Callers read
//                                    empty text and skip their writes.
//   the write is refused after      WriteString raises ERegistryException with the system's message:
//   opening                          the file could not be saved (disk full, made read-only meanwhile).
// A settings file that is damaged is reported once on standard error and never overwritten.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Exception.h"
#include "platform/os/RegistryFile.h"

namespace vandrel {

VANDREL_EXCEPTION(ERegistryException, Exception);

enum TRegistryRoot : std::uint32_t {
  HKEY_CLASSES_ROOT = 0x80000000,
  HKEY_CURRENT_USER = 0x80000001,
  HKEY_LOCAL_MACHINE = 0x80000002,
};

struct TRegistryPlaces {
  std::string settingsFile;
  std::string winePrefix;          // "" for none
  std::string autostartDirectory;  // "" to mirror nothing
  std::string autostartName = {};  // Name of the autostart entries; "" for the value's name
  // $VANDREL_REGISTRY, else <configuration folder>/vandrel/registry.reg; $WINEPREFIX, else
  // ~/.wine; <configuration folder>/autostart.
  static TRegistryPlaces FromEnvironment();
};

class TWinePrefix;

class TRegistry {
 public:
  explicit TRegistry(TRegistryRoot root = HKEY_LOCAL_MACHINE,
                     TRegistryPlaces places = TRegistryPlaces::FromEnvironment());
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  TRegistryRoot RootKey() const { return m_root; }
  void SetRootKey(TRegistryRoot root);
  const TRegistryPlaces& Places() const { return m_places; }

  // A key with a leading backslash, or any key while none is open, is taken from the root; any
  // other is below the open key. Leading and trailing backslashes are otherwise ignored.
  bool OpenKey(std::string_view key, bool canCreate);
  void CloseKey();
  bool HasCurrentKey() const { return m_hasKey; }
  // The open key as "HKEY_LOCAL_MACHINE\SOFTWARE\tarvo" (the root alone when none is open).
  const std::string& CurrentPath() const { return m_currentPath; }

  bool KeyExists(std::string_view key);
  bool ValueExists(std::string_view name) const;
  // A missing value reads as empty text; a value that is not a string raises ERegistryException.
  std::string ReadString(std::string_view name) const;
  // Saves at once; raises ERegistryException when the file cannot be saved.
  void WriteString(std::string_view name, std::string_view value);

 private:
  enum class TLoadState { lsRead, lsMissing, lsUnreadable, lsNotRewritable };
  TLoadState Load();
  bool CanWrite() const;
  std::string SettingsFolder() const;
  std::string FullPath(std::string_view key) const;
  std::string MachineKeyPath() const;
  const TWinePrefix* Wine() const;

  TRegistryRoot m_root;
  TRegistryPlaces m_places;
  TRegistryFile m_file;
  std::string m_fileBytes;
  std::string m_currentPath;
  bool m_hasKey = false;
  mutable std::unique_ptr<TWinePrefix> m_wine;
};

}  // namespace vandrel
