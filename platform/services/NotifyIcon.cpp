#include "platform/services/NotifyIcon.h"

#include "platform/win/DisplayBackend.h"
#include "platform/win/TrayHost.h"
#include "platform/win/Window.h"

namespace vandrel {
namespace {

TTrayHost* Host() { return dynamic_cast<TTrayHost*>(GetDisplayBackend()); }

}  // namespace

bool NotifyAreaAvailable() {
  TTrayHost* host = Host();
  return host && host->TrayAvailable();
}

bool Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA& data) {
  TTrayHost* host = Host();
  if (!host || !IsWindow(data.hWnd)) return false;
  if (message == NIM_DELETE) return host->RemoveTrayIcon(data.hWnd, data.uID);
  const TTrayIcon* existing = host->FindTrayIcon(data.hWnd, data.uID);
  // Adding twice fails, as does changing an icon that is not there.
  if ((message == NIM_ADD) == (existing != nullptr) || message > NIM_DELETE) return false;
  TTrayIcon icon = existing ? *existing : TTrayIcon{data.hWnd, data.uID, 0, HICON(), {}};
  if (data.uFlags & NIF_MESSAGE) icon.CallbackMessage = data.uCallbackMessage;
  if (data.uFlags & NIF_ICON) icon.Icon = data.hIcon;
  if (data.uFlags & NIF_TIP) icon.Tip = data.szTip;
  return host->ShowTrayIcon(icon);
}

}  // namespace vandrel
