// Where this user's files live: home, configuration and runtime folders, following the XDG base
// directory rules, plus the small file-system helpers the operating-system services share.
#pragma once

#include <string>
#include <string_view>

namespace vandrel {

// $HOME, else the password database entry of the real user.
std::string HomeDirectory();
// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string ConfigHomeDirectory();
// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::string DataHomeDirectory();
// $XDG_RUNTIME_DIR when it is an absolute path, else a per-user folder with mode 0700 under the
// temporary directory, created when missing. Raises EOSError when no safe folder can be had.
std::string RuntimeDirectory();

// "a/b/c" -> "a/b"; "c" -> ""; "/c" -> "/".
std::string ParentPath(std::string_view path);
std::string JoinPath(std::string_view directory, std::string_view name);
// Whether this process may create files in the folder (false also when it is on a read-only file
// system or cannot be examined).
bool CanWriteDirectory(const std::string& path);
// mkdir -p with the given mode for the folders it creates; false when it cannot.
bool MakeDirectories(const std::string& path, unsigned mode);
// errno as text, as the system words it.
std::string SystemMessage(int error);

}  // namespace vandrel
