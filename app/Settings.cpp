#include "app/Settings.h"

#include "platform/os/Registry.h"

namespace vandrel {

namespace {

TRegistryPlaces Places() {
  TRegistryPlaces places = TRegistryPlaces::FromEnvironment();
  // The Run value is named after the sibling application; the logon entry should show ours.
  places.autostartName = kProgramName;
  return places;
}

}  // namespace

void WriteRegString(const std::string& name, const std::string& value, const std::string& key) {
  TRegistry registry(HKEY_LOCAL_MACHINE, Places());
  if (!registry.OpenKey(key, true)) return;
  registry.WriteString(name, value);
  registry.CloseKey();
}

void WriteAppSetting(const std::string& name, const std::string& value) { WriteRegString(name, value, kAppKey); }

std::string ReadRegString(const std::string& name, const std::string& key) {
  TRegistry registry(HKEY_LOCAL_MACHINE, Places());
  if (!registry.OpenKey(key, false)) return {};
  std::string value = registry.ReadString(name);
  registry.CloseKey();
  return value;
}

std::string ReadAppSetting(const std::string& name) { return ReadRegString(name, kAppKey); }

}  // namespace vandrel
