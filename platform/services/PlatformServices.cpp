#include "platform/services/PlatformServices.h"

#include <algorithm>
#include <climits>

#include "platform/services/MonitorSource.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/Settings.h"
#include "platform/win/Window.h"
#include "platform/win/DisplayBackend.h"

namespace vandrel {
namespace {

long long OverlapArea(const TRect& a, const TRect& b) {
  long long w = std::min(a.Right, b.Right) - std::max(a.Left, b.Left);
  long long h = std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top);
  return w > 0 && h > 0 ? w * h : 0;
}

// Squared gap between two rectangles (0 when they touch or overlap).
long long GapSquared(const TRect& a, const TRect& b) {
  long long dx = std::max({0, b.Left - a.Right, a.Left - b.Right});
  long long dy = std::max({0, b.Top - a.Bottom, a.Top - b.Bottom});
  return dx * dx + dy * dy;
}

// The monitor that shares most with r, else the closest one, as MONITOR_DEFAULTTONEAREST picks.
const TMonitorArea& Nearest(const std::vector<TMonitorArea>& monitors, const TRect& r) {
  const TMonitorArea* best = &monitors.front();
  long long bestOverlap = -1;
  for (const TMonitorArea& m : monitors) {
    long long overlap = OverlapArea(m.Monitor, r);
    if (overlap > bestOverlap) best = &m, bestOverlap = overlap;
  }
  if (bestOverlap > 0) return *best;
  long long bestGap = LLONG_MAX;
  for (const TMonitorArea& m : monitors) {
    long long gap = GapSquared(m.Monitor, r);
    if (gap < bestGap) best = &m, bestGap = gap;
  }
  return *best;
}

TRect AreaNear(const TRect& r, bool workArea) {
  std::vector<TMonitorArea> monitors = DisplayMonitors();
  if (monitors.size() < 2) return GetScreenArea(workArea);
  const TMonitorArea& m = Nearest(monitors, r);
  return workArea ? m.Work : m.Monitor;
}

}  // namespace

std::vector<TMonitorArea> DisplayMonitors() {
  TDisplayBackend* backend = GetDisplayBackend();
  if (const auto* source = dynamic_cast<const TMonitorSource*>(backend)) {
    std::vector<TMonitorArea> monitors = source->Monitors();
    if (!monitors.empty()) return monitors;
  }
  return {{GetScreenArea(false), GetScreenArea(true)}};
}

bool IsThemed() { return false; }

bool IsNTPlatform() { return true; }

bool TransparentBltAvailable() { return true; }

int GetScreenDepth() {
  TDisplayBackend* b = GetDisplayBackend();
  return b ? b->ScreenDepth() : 32;
}

TRect GetScreenArea(bool workArea) {
  TRect area;
  if (workArea && SystemParametersInfo(SPI_GETWORKAREA, 0, &area)) return area;
  // The desktop window spans the screen.
  return WindowRect(GetDesktopWindow());
}

TRect GetMonitorAreaOfWindow(HWND hwnd, bool workArea) {
  TRect rect;
  if (!GetWindowRect(hwnd, rect)) return GetScreenArea(workArea);
  return AreaNear(rect, workArea);
}

TRect GetMonitorAreaOfPoint(TPoint point, bool workArea) {
  return AreaNear({point.X, point.Y, point.X + 1, point.Y + 1}, workArea);
}

bool GetScrollBarInfoWithFallback(HWND hwnd, LONG objectId, SCROLLBARINFO& info) {
  if (GetScrollBarInfo(hwnd, objectId, info)) return true;
  info.rgstate[0] = STATE_SYSTEM_INVISIBLE;
  return false;
}

}  // namespace vandrel
