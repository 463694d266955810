#include "platform/os/Registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <set>

#include "platform/core/Text.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Autostart.h"
#include "platform/os/UserDirectories.h"
#include "platform/os/WinePrefix.h"

namespace vandrel {
namespace {

constexpr std::string_view kRunKey = "software\\microsoft\\windows\\currentversion\\run";

std::string RootName(TRegistryRoot root) {
  switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
  }
  return "HKEY_LOCAL_MACHINE";
}

// A damaged settings file is worth one line on standard error, not one per read.
void ReportOnce(const std::string& message) {
  static std::mutex mutex;
  static std::set<std::string> reported;
  std::lock_guard<std::mutex> lock(mutex);
  if (reported.insert(message).second) std::fprintf(stderr, "vandrel: %s\n", message.c_str());
}

std::string TextOf(const TRegistryValue& value, std::string_view name) {
  if (value.kind != TRegistryValueKind::rvString && value.kind != TRegistryValueKind::rvExpandString)
    throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
  return value.text;
}

// Serialises read-modify-write cycles of processes that share the settings file.
class TFolderLock {
 public:
  explicit TFolderLock(const std::string& folder) {
    m_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) throw ERegistryException("Cannot save the settings in " + folder + ": " + SystemMessage(errno));
    while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~TFolderLock() { close(m_fd); }
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

 private:
  int m_fd = -1;
};

}  // namespace

TRegistryPlaces TRegistryPlaces::FromEnvironment() {
  TRegistryPlaces places;
  const char* file = std::getenv("VANDREL_REGISTRY");
  places.settingsFile = file != nullptr && file[0] != '\0'
                            ? std::string(file)
                            : JoinPath(JoinPath(ConfigHomeDirectory(), "vandrel"), "registry.reg");
  places.winePrefix = TWinePrefix::DefaultDirectory();
  places.autostartDirectory = TAutostart::DefaultDirectory();
  return places;
}

TRegistry::TRegistry(TRegistryRoot root, TRegistryPlaces places)
    : m_root(root), m_places(std::move(places)), m_currentPath(RootName(root)) {}

TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(TRegistryRoot root) {
  CloseKey();
  m_root = root;
  m_currentPath = RootName(root);
}

const TWinePrefix* TRegistry::Wine() const {
  if (!m_wine) m_wine = std::make_unique<TWinePrefix>(m_root == HKEY_LOCAL_MACHINE ? m_places.winePrefix : "");
  return m_wine.get();
}

TRegistry::TLoadState TRegistry::Load() {
  const std::string& fileName = m_places.settingsFile;
  m_file = TRegistryFile();
  m_fileBytes.clear();
  TFileReadResult read = ReadWholeFile(fileName);
  if (!read.bytes) {
    if (read.error == ENOENT) return TLoadState::lsMissing;
    ReportOnce("cannot read the settings file " + fileName + ": " + SystemMessage(read.error) +
               "; going on without its settings");
    return TLoadState::lsUnreadable;
  }
  TRegistryFile file = TRegistryFile::Parse(*read.bytes);
  if (!file.IsRegistryFile()) {
    ReportOnce("the settings file " + fileName +
               " is not a registry file; it is left untouched and its settings are not used");
    return TLoadState::lsUnreadable;
  }
  if (!file.Problems().empty()) {
    const TRegistryProblem& first = file.Problems().front();
    ReportOnce("the settings file " + fileName + " has " + std::to_string(file.Problems().size()) +
               " line(s) that cannot be read (first: line " + std::to_string(first.line) + ", " + first.what +
               "); they are kept as they are" +
               (file.IsRewritable() ? "" : ", and the file will not be changed"));
  }
  m_file = std::move(file);
  m_fileBytes = std::move(*read.bytes);
  return m_file.IsRewritable() ? TLoadState::lsRead : TLoadState::lsNotRewritable;
}

std::string TRegistry::SettingsFolder() const {
  std::string folder = ParentPath(ResolveFileName(m_places.settingsFile));
  return folder.empty() ? "." : folder;
}

bool TRegistry::CanWrite() const {
  std::string target = ResolveFileName(m_places.settingsFile);
  std::string folder = SettingsFolder();
  if (!MakeDirectories(folder, 0700) || access(folder.c_str(), W_OK) != 0) return false;
  struct stat info {};
  if (stat(target.c_str(), &info) == 0 && (!S_ISREG(info.st_mode) || access(target.c_str(), W_OK) != 0))
    return false;
  return true;
}

std::string TRegistry::FullPath(std::string_view key) const {
  if (!CanonicalKeyPath(key)) return {};
  bool fromRoot = !m_hasKey || key.starts_with('\\');
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  std::string base = fromRoot ? RootName(m_root) : m_currentPath;
  return key.empty() ? base : base + "\\" + std::string(key);
}

std::string TRegistry::MachineKeyPath() const {
  if (m_root != HKEY_LOCAL_MACHINE) return {};
  size_t slash = m_currentPath.find('\\');
  return slash == std::string::npos ? std::string() : m_currentPath.substr(slash + 1);
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate) {
  std::string path = FullPath(key);
  CloseKey();
  if (path.empty()) return false;
  TLoadState state = Load();
  bool isRoot = path == RootName(m_root);
  if (canCreate) {
    if (state == TLoadState::lsUnreadable || state == TLoadState::lsNotRewritable || !CanWrite()) return false;
    if (!isRoot && !m_file.KeyExists(path)) {
      // The registry creates a key when it is opened with create, so a key that cannot be
      // created is one that cannot be opened.
      try {
        TFolderLock lock(SettingsFolder());
        TLoadState fresh = Load();
        if (fresh == TLoadState::lsUnreadable || fresh == TLoadState::lsNotRewritable) return false;
        m_file.CreateKey(path);
        std::string bytes = m_file.Serialize();
        WriteFileAtomically(m_places.settingsFile, bytes);
        m_fileBytes = std::move(bytes);
      } catch (const Exception&) {
        return false;
      }
    }
  } else {
    bool found = isRoot || m_file.KeyExists(path);
    if (!found && m_root == HKEY_LOCAL_MACHINE) {
      size_t slash = path.find('\\');
      found = Wine()->KeyExists(path.substr(slash + 1));
    }
    if (!found) return false;
  }
  m_currentPath = path;
  m_hasKey = true;
  return true;
}

void TRegistry::CloseKey() {
  m_hasKey = false;
  m_currentPath = RootName(m_root);
}

bool TRegistry::KeyExists(std::string_view key) {
  std::string path = FullPath(key);
  if (path.empty()) return false;
  Load();
  if (path == RootName(m_root) || m_file.KeyExists(path)) return true;
  return m_root == HKEY_LOCAL_MACHINE && Wine()->KeyExists(path.substr(path.find('\\') + 1));
}

bool TRegistry::ValueExists(std::string_view name) const {
  if (m_file.FindValue(m_currentPath, name)) return true;
  return m_hasKey && m_root == HKEY_LOCAL_MACHINE && Wine()->FindValue(MachineKeyPath(), name).has_value();
}

std::string TRegistry::ReadString(std::string_view name) const {
  if (std::optional<TRegistryValue> value = m_file.FindValue(m_currentPath, name)) return TextOf(*value, name);
  // Per value, not per key: once this program has written its own values under the sibling's
  // key, the sibling's values still come from the prefix.
  if (m_hasKey && m_root == HKEY_LOCAL_MACHINE)
    if (std::optional<TRegistryValue> value = Wine()->FindValue(MachineKeyPath(), name)) return TextOf(*value, name);
  return {};
}

void TRegistry::WriteString(std::string_view name, std::string_view value) {
  const std::string& fileName = m_places.settingsFile;
  try {
    TFolderLock lock(SettingsFolder());
    // Read again under the lock, so values others wrote since the key was opened are kept.
    TLoadState state = Load();
    if (state == TLoadState::lsUnreadable || state == TLoadState::lsNotRewritable)
      throw ERegistryException("Cannot save the settings in " + fileName +
                               ": the file can no longer be read back unchanged; it is left as it is");
    m_file.SetString(m_currentPath, name, value);
    std::string bytes = m_file.Serialize();
    if (bytes != m_fileBytes) {
      WriteFileAtomically(fileName, bytes);
      m_fileBytes = std::move(bytes);
    }
    size_t slash = m_currentPath.find('\\');
    if (!m_places.autostartDirectory.empty() && slash != std::string::npos &&
        CanonicalKeyPath(m_currentPath.substr(slash + 1)) == kRunKey)
      TAutostart(m_places.autostartDirectory, m_places.autostartName).Apply(name, value);
  } catch (const ERegistryException&) {
    throw;
  } catch (const Exception& e) {
    throw ERegistryException(e.Message());
  }
}

}  // namespace vandrel
