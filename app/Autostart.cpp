#include "app/Autostart.h"

#include <exception>

#include "app/Settings.h"

namespace vandrel {
namespace {

void RegisterSwallowingFailure(const std::string& autostartPath) {
  try {
    WriteRegString("tarvo", autostartPath, kRunKey);
  } catch (const std::exception&) {
  }
}

}  // namespace

void AutostartClick(bool checked, const std::string& autostartPath) {
  WriteAppSetting("AuToRun", checked ? "1" : "0");
  WriteRegString("tarvo", checked ? autostartPath : std::string(), kRunKey);
}

bool AutostartCheckedAfterStartUp() {
  const std::string setting = ReadAppSetting("AutoRun");
  return setting.empty() || setting == "1";
}

void AutostartStartUp(IAutostartBox& box, const std::string& autostartPath) {
  const std::string setting = ReadAppSetting("AutoRun");
  if (setting.empty()) {
    box.SetChecked(true);
    WriteAppSetting("AuToRun", "1");
    RegisterSwallowingFailure(autostartPath);
  } else if (setting == "1") {
    box.SetChecked(true);
    RegisterSwallowingFailure(autostartPath);
  } else {
    box.SetChecked(false);
  }
}

void TAutostartToggle::SetChecked(bool checked) {
  if (checked == m_checked) return;
  m_checked = checked;
  if (OnClick) OnClick();
}

}  // namespace vandrel
