// Temporary folders and small file helpers for the operating-system tests, so no test touches the
// real user's configuration.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace vandrel::test {

class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vandrel-os-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::string& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

inline void WriteFile(const std::string& fileName, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(fileName).parent_path());
  std::ofstream(fileName, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Sets (or, with nullopt, removes) an environment variable for the life of the object.
class TEnvironmentOverride {
 public:
  TEnvironmentOverride(const char* name, std::optional<std::string> value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value) setenv(name, value->c_str(), 1);
    else unsetenv(name);
  }
  ~TEnvironmentOverride() {
    if (m_old) setenv(m_name, m_old->c_str(), 1);
    else unsetenv(m_name);
  }
  TEnvironmentOverride(const TEnvironmentOverride&) = delete;
  TEnvironmentOverride& operator=(const TEnvironmentOverride&) = delete;

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

}  // namespace vandrel::test
