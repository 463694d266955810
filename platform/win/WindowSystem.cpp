#include "platform/win/WindowSystem.h"

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/SystemMetrics.h"

namespace vandrel {

TWindowSystem*& TWindowSystem::CurrentSlot() {
  static TWindowSystem process;
  static TWindowSystem* current = &process;
  return current;
}

TWindowSystem& TWindowSystem::Instance() { return *CurrentSlot(); }

TScopedWindowSystem::TScopedWindowSystem()
    : m_fresh(new TWindowSystem), m_previous(TWindowSystem::CurrentSlot()) {
  TWindowSystem::CurrentSlot() = m_fresh.get();
}

TScopedWindowSystem::~TScopedWindowSystem() { TWindowSystem::CurrentSlot() = m_previous; }

TWindowSystem::TWindowSystem() {
  auto desktop = std::make_unique<TWindowRecord>();
  desktop->Handle = NewHandle();
  desktop->Style = WS_VISIBLE | WS_CLIPCHILDREN;
  desktop->Proc = DefWindowProcObject();
  desktop->Rect = desktop->Client = {0, 0, 1280, 800};
  m_desktop = desktop.get();
  m_windows.emplace(desktop->Handle, std::move(desktop));
}

TWindowRecord* TWindowSystem::Find(HWND hwnd) const {
  if (!hwnd) return nullptr;
  auto it = m_windows.find(hwnd);
  return it == m_windows.end() ? nullptr : it->second.get();
}

TWindowRecord& TWindowSystem::Get(HWND hwnd, const char* call) const {
  TWindowRecord* w = Find(hwnd);
  if (!w) throw EInvalidArgument(std::string(call) + ": invalid window handle");
  return *w;
}

HWND TWindowSystem::NewHandle() {
  m_nextHandle += 4;
  return reinterpret_cast<HWND>(m_nextHandle);
}

void TWindowSystem::Register(std::unique_ptr<TWindowRecord> record) {
  HWND h = record->Handle;
  m_windows.emplace(h, std::move(record));
}

void TWindowSystem::Retire(TWindowRecord* record) {
  auto it = m_windows.find(record->Handle);
  if (it == m_windows.end()) return;
  std::unique_ptr<TWindowRecord> owned = std::move(it->second);
  m_windows.erase(it);
  if (owned->CallDepth > 0) m_retired.push_back(std::move(owned));
}

void TWindowSystem::ReleaseCall(TWindowRecord* record) {
  if (--record->CallDepth > 0 || !record->Destroying) return;
  auto it = std::find_if(m_retired.begin(), m_retired.end(),
                         [&](const auto& p) { return p.get() == record; });
  if (it != m_retired.end()) m_retired.erase(it);
}

TPoint WindowOriginOnScreen(const TWindowRecord& w) {
  TPoint p = w.Rect.TopLeft();
  for (const TWindowRecord* a = w.Parent; a && a->Parent; a = a->Parent) p = p + a->Client.TopLeft();
  return p;
}

TPoint ClientOriginOnScreen(const TWindowRecord& w) {
  if (!w.Parent) return {0, 0};
  return WindowOriginOnScreen(w) + (w.Client.TopLeft() - w.Rect.TopLeft());
}

TWindowRecord* TopLevelOf(TWindowRecord* w) {
  while (w && w->Parent && w->Parent->Parent) w = w->Parent;
  return w && w->Parent ? w : nullptr;
}

bool IsVisibleChain(const TWindowRecord& w) {
  for (const TWindowRecord* a = &w; a && a->Parent; a = a->Parent)
    if (!a->Visible()) return false;
  return true;
}

TSize ScreenSize() {
  auto* b = TWindowSystem::Instance().Backend;
  return b ? b->ScreenSize() : TSize{1280, 800};
}

TRect WorkAreaRect() {
  auto* b = TWindowSystem::Instance().Backend;
  return b ? b->WorkArea() : TRect{0, 0, 1280, 800};
}

MINMAXINFO DefaultMinMaxInfo(const TWindowRecord& w) {
  MINMAXINFO mmi;
  TRect area = w.IsTopLevel() ? WorkAreaRect() : TRect{0, 0, w.Parent->Client.Width(), w.Parent->Client.Height()};
  mmi.ptMaxSize = {area.Width(), area.Height()};
  mmi.ptMaxPosition = area.TopLeft();
  mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  return mmi;
}

void SetDisplayBackend(TDisplayBackend* backend) {
  auto& ws = TWindowSystem::Instance();
  ws.Backend = backend;
  TSize s = ScreenSize();
  ws.Desktop().Rect = ws.Desktop().Client = {0, 0, s.cx, s.cy};
  SetScreenSize(s.cx, s.cy);
}

TDisplayBackend* GetDisplayBackend() { return TWindowSystem::Instance().Backend; }

}  // namespace vandrel
