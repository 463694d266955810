// The registry helpers of the main window: each opens its key under HKEY_LOCAL_MACHINE afresh,
// does one read or write, and closes it. A key that cannot be opened reads as empty text and
// skips writes; a write refused after opening raises.
#pragma once

#include <string>

namespace vandrel {

// The sibling application's key, which also holds our autostart setting.
inline constexpr const char* kAppKey = "\\SOFTWARE\\tarvo";
inline constexpr const char* kProgramName = "Vandrel";
inline constexpr const char* kRunKey = "software\\microsoft\\windows\\CurrentVersion\\Run\\";

void WriteRegString(const std::string& name, const std::string& value, const std::string& key);
void WriteAppSetting(const std::string& name, const std::string& value);
std::string ReadRegString(const std::string& name, const std::string& key);
std::string ReadAppSetting(const std::string& name);

}  // namespace vandrel
