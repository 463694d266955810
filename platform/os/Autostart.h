// Logon autostart as XDG autostart entries: one desktop entry per Run value, its file named after
// the value, starting the program the value names and showing the program's readable name. An empty value keeps the entry but disables it,
// so a person's edits to the entry survive switching autostart off and on again.
#pragma once

#include <string>
#include <string_view>

namespace vandrel {

class TAutostart {
 public:
  // readableName is the entry's Name (what session settings list); empty for the value's name.
  explicit TAutostart(std::string directory, std::string readableName = {});
  // $XDG_CONFIG_HOME/autostart (~/.config/autostart).
  static std::string DefaultDirectory();

  // "<directory>/<name>.desktop", the name lower-cased (value names compare without case) and
  // anything but letters, digits, '.', '-' and '_' replaced by '_'.
  std::string EntryFileName(std::string_view valueName) const;
  // Mirrors the Run value valueName = programPath. Lines of an existing entry other than the ones
  // this sets are kept. Raises EOSError with the system's message when the entry cannot be
  // written, and when a file of that name is not a desktop entry (it is left as it is).
  void Apply(std::string_view valueName, std::string_view programPath) const;

  // The program path as one argument of Exec=, quoted and escaped as desktop entries require.
  static std::string ExecValue(std::string_view programPath);

 private:
  std::string m_directory;
  std::string m_readableName;
};

}  // namespace vandrel
