#include "platform/display/HeadlessScreen.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/core/Color.h"
#include "platform/core/Exception.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowSystem.h"

namespace vandrel {

std::unique_ptr<THeadlessScreen> THeadlessScreen::Create(TSize size, std::optional<TRect> workArea) {
  if (size.cx <= 0 || size.cy <= 0) throw EInvalidArgument("THeadlessScreen: the screen size must be positive");
  std::unique_ptr<THeadlessScreen> screen(new THeadlessScreen(size, workArea.value_or(TRect{0, 0, size.cx, size.cy})));
  SetDisplayBackend(screen.get());
  return screen;
}

THeadlessScreen::THeadlessScreen(TSize size, TRect workArea)
    : m_size(size), m_workArea(workArea), m_overlayPixels(std::make_shared<TSurface>(size.cx, size.cy)) {}

THeadlessScreen::~THeadlessScreen() {
  if (GetDisplayBackend() == this) SetDisplayBackend(nullptr);
}

void THeadlessScreen::ComposeInto(TSurface& dst, const TRect& area) const {
  const std::uint32_t desktop = PixelFromColor(GetSysColor(COLOR_BACKGROUND)) | 0xFF000000u;
  dst.Fill(desktop);
  TRect screen;
  if (!IntersectRect(screen, area, {0, 0, m_size.cx, m_size.cy})) return;
  screen = {screen.Left, screen.Top, std::min(screen.Right, area.Left + dst.Width()),
            std::min(screen.Bottom, area.Top + dst.Height())};
  if (screen.IsEmpty()) return;
  auto& children = TWindowSystem::Instance().Desktop().Children;
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    const TWindowRecord& w = **it;
    if (!w.Visible() || (w.Style & WS_MINIMIZE) || !w.Surface) continue;
    TRegion shape(w.WindowBounds());
    if (w.HasRegion) shape = shape.Intersect(w.Shape);
    shape = shape.Intersect(w.Surface->Bounds());
    shape.Offset(w.Rect.Left, w.Rect.Top);
    shape.ForEachIn(screen, [&](const TRect& r) {
      for (int y = r.Top; y < r.Bottom; ++y) {
        const std::uint32_t* src = w.Surface->Row(y - w.Rect.Top) + (r.Left - w.Rect.Left);
        std::uint32_t* out = dst.Row(y - area.Top) + (r.Left - area.Left);
        for (int x = 0; x < r.Width(); ++x) out[x] = src[x] | 0xFF000000u;
      }
    });
  }
  m_overlay.ForEachIn(screen, [&](const TRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y) {
      const std::uint32_t* src = m_overlayPixels->Row(y) + r.Left;
      std::uint32_t* out = dst.Row(y - area.Top) + (r.Left - area.Left);
      for (int x = 0; x < r.Width(); ++x) out[x] = src[x] | 0xFF000000u;
    }
  });
}

std::shared_ptr<TSurface> THeadlessScreen::Capture() const {
  auto s = std::make_shared<TSurface>(m_size.cx, m_size.cy);
  ComposeInto(*s, {0, 0, m_size.cx, m_size.cy});
  return s;
}

std::shared_ptr<TSurface> THeadlessScreen::CaptureWindow(HWND hwnd) const {
  auto& ws = TWindowSystem::Instance();
  TWindowRecord* w = ws.Find(hwnd);
  if (!w || !w->Parent) throw EInvalidArgument("CaptureWindow: invalid window handle");
  TWindowRecord* top = TopLevelOf(w);
  TPoint o = WindowOriginOnScreen(*w) - WindowOriginOnScreen(*top);
  auto s = std::make_shared<TSurface>(std::max(w->Rect.Width(), 1), std::max(w->Rect.Height(), 1));
  for (int y = 0; y < s->Height(); ++y)
    for (int x = 0; x < s->Width(); ++x) s->SetPixel(x, y, top->Surface->Pixel(x + o.X, y + o.Y));
  return s;
}

std::uint32_t THeadlessScreen::ScreenPixel(int x, int y) const {
  TSurface one(1, 1);
  const_cast<THeadlessScreen*>(this)->ReadScreen(one, {x, y, x + 1, y + 1});
  return one.Pixel(0, 0) & 0x00FFFFFFu;
}

void THeadlessScreen::ReadScreen(TSurface& dst, const TRect& rect) {
  // Only the rectangle is composed; what lies off the screen shows the desktop colour.
  ComposeInto(dst, rect);
}

void THeadlessScreen::WriteScreen(const TSurface& src, const TRect& rect) {
  TRect clipped;
  if (!IntersectRect(clipped, rect, {0, 0, m_size.cx, m_size.cy})) return;
  for (int y = clipped.Top; y < clipped.Bottom; ++y)
    for (int x = clipped.Left; x < clipped.Right; ++x) m_overlayPixels->SetPixel(x, y, src.Pixel(x, y));
  m_overlay = m_overlay.Union(TRegion(clipped));
}

bool THeadlessScreen::WaitEvents(int timeoutMs) {
  if (m_idle && m_idle()) return true;
  // Nothing else can produce input here: only waiting for a timer makes sense.
  if (timeoutMs <= 0) return false;
  std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
  return true;
}

void THeadlessScreen::MouseMove(TPoint p) { InjectMouseMove(p); }
void THeadlessScreen::MouseLeave(TPoint p) { InjectMouseLeave(p); }
void THeadlessScreen::MouseDown(TPoint p, TMouseButton b) { InjectMouseButton(b, true, p); }
void THeadlessScreen::MouseUp(TPoint p, TMouseButton b) { InjectMouseButton(b, false, p); }
void THeadlessScreen::Click(TPoint p, TMouseButton b) {
  InjectMouseMove(p);
  InjectMouseButton(b, true, p);
  InjectMouseButton(b, false, p);
}
void THeadlessScreen::Wheel(TPoint p, int delta) { InjectMouseWheel(delta, p); }
void THeadlessScreen::KeyDown(int vk, char32_t ch) { InjectKey(vk, true, ch); }
void THeadlessScreen::KeyUp(int vk) { InjectKey(vk, false); }
void THeadlessScreen::KeyPress(int vk, char32_t ch) {
  InjectKey(vk, true, ch);
  InjectKey(vk, false);
}


void THeadlessScreen::SetTrayRunning(bool running) {
  if (running == m_trayRunning) return;
  m_trayRunning = running;
  if (running) return;
  for (const TTrayIcon& icon : m_trayIcons)
    if (icon.CallbackMessage) PostMessage(icon.Window, icon.CallbackMessage, icon.Id, NIN_ICONLOST);
}

void THeadlessScreen::TrayMouse(HWND window, UINT id, UINT mouseMessage) {
  const TTrayIcon* icon = FindTrayIcon(window, id);
  if (icon && m_trayRunning && icon->CallbackMessage)
    PostMessage(icon->Window, icon->CallbackMessage, icon->Id, LPARAM(mouseMessage));
}

bool THeadlessScreen::ShowTrayIcon(const TTrayIcon& icon) {
  for (TTrayIcon& kept : m_trayIcons)
    if (kept.Window == icon.Window && kept.Id == icon.Id) {
      kept = icon;
      return true;
    }
  if (!m_trayRunning) return false;
  m_trayIcons.push_back(icon);
  return true;
}

bool THeadlessScreen::RemoveTrayIcon(HWND window, UINT id) {
  auto it = std::find_if(m_trayIcons.begin(), m_trayIcons.end(),
                         [&](const TTrayIcon& i) { return i.Window == window && i.Id == id; });
  if (it == m_trayIcons.end()) return false;
  m_trayIcons.erase(it);
  return true;
}

const TTrayIcon* THeadlessScreen::FindTrayIcon(HWND window, UINT id) const {
  for (const TTrayIcon& icon : m_trayIcons)
    if (icon.Window == window && icon.Id == id) return &icon;
  return nullptr;
}

void THeadlessScreen::WindowDestroyed(HWND h) {
  std::erase_if(m_trayIcons, [&](const TTrayIcon& i) { return i.Window == h; });
  Changed();
}

}  // namespace vandrel
