// Sending, posting, the message loop calls and timers.
#include "platform/win/MessageQueue.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "platform/core/Exception.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowStyles.h"
#include "platform/win/TickClock.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace vandrel {

namespace {

TWindowSystem& WS() { return TWindowSystem::Instance(); }

bool InRange(UINT msg, UINT lo, UINT hi) {
  if (lo == 0 && hi == 0) return true;
  return msg >= lo && msg <= hi;
}

bool WindowMatches(HWND msgWindow, HWND filter) {
  if (!filter) return true;
  return msgWindow == filter || IsChild(filter, msgWindow);
}

MSG MakeMsg(HWND h, UINT m, WPARAM w, LPARAM l) {
  MSG msg;
  msg.hwnd = h;
  msg.message = m;
  msg.wParam = w;
  msg.lParam = l;
  msg.time = GetTickCount();
  msg.pt = WS().Cursor;
  return msg;
}

bool TakeFrom(std::deque<MSG>& queue, MSG& msg, HWND hwnd, UINT lo, UINT hi, bool remove) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (!InRange(it->message, lo, hi) || !WindowMatches(it->hwnd, hwnd)) continue;
    msg = *it;
    if (remove) queue.erase(it);
    return true;
  }
  return false;
}

// The timer due first, if any is due now.
TTimer* DueTimer(HWND hwnd) {
  DWORD now = GetTickCount();
  TTimer* best = nullptr;
  for (auto& t : WS().Timers) {
    if (std::int32_t(now - t.Due) < 0) continue;
    if (hwnd && t.Window != hwnd && !IsChild(hwnd, t.Window)) continue;
    if (!best || std::int32_t(t.Due - best->Due) < 0 || (t.Due == best->Due && t.Order < best->Order))
      best = &t;
  }
  return best;
}

// One pass over the queue in the platform's order.
bool TryTake(MSG& msg, HWND hwnd, UINT lo, UINT hi, bool remove) {
  auto& ws = WS();
  if (TakeFrom(ws.Posted, msg, hwnd, lo, hi, remove)) return true;
  while (true) {
    if (TakeFrom(ws.InputMessages, msg, hwnd, lo, hi, remove)) return true;
    if (!ConvertRawInput()) break;
    // Converting input may post (WM_MOUSELEAVE for the window the mouse left).
    if (TakeFrom(ws.Posted, msg, hwnd, lo, hi, remove)) return true;
  }
  // The quit request honours the range filter, so a loop that takes only paints cannot lose it.
  if (ws.QuitPosted && InRange(WM_QUIT, lo, hi)) {
    msg = MakeMsg(nullptr, WM_QUIT, WPARAM(ws.QuitCode), 0);
    if (remove) ws.QuitPosted = false;
    return true;
  }
  if (InRange(WM_PAINT, lo, hi)) {
    if (HWND p = NextPaintWindow(hwnd)) {
      msg = MakeMsg(p, WM_PAINT, 0, 0);
      return true;
    }
  }
  if (InRange(WM_TIMER, lo, hi)) {
    if (TTimer* t = DueTimer(hwnd)) {
      msg = MakeMsg(t->Window, WM_TIMER, t->Id, 0);
      // A timer that came due several times is reported once, and starts its next interval now.
      if (remove) t->Due = GetTickCount() + t->Interval;
      return true;
    }
  }
  return false;
}

bool Unfiltered(HWND hwnd, UINT lo, UINT hi) { return !hwnd && lo == 0 && hi == 0; }

// Milliseconds until the next timer the filter lets through is due (0: now), or -1 without one.
int NextTimerDelay(HWND hwnd, UINT lo, UINT hi) {
  if (!InRange(WM_TIMER, lo, hi)) return -1;
  DWORD now = GetTickCount();
  int best = -1;
  for (auto& t : WS().Timers) {
    if (!WindowMatches(t.Window, hwnd)) continue;
    int d = std::max<std::int32_t>(std::int32_t(t.Due - now), 0);
    if (best < 0 || d < best) best = d;
  }
  return best;
}

// Whether a message the filter lets through can be taken now. Work for other windows or of other
// kinds does not count: a filtered wait that woke for it would spin.
bool HasWork(HWND hwnd, UINT lo, UINT hi) {
  auto& ws = WS();
  MSG probe;
  if (Unfiltered(hwnd, lo, hi) && (!ws.Posted.empty() || !ws.InputMessages.empty() || !ws.RawInput.empty() || ws.QuitPosted))
    return true;
  return TryTake(probe, hwnd, lo, hi, false);
}

// Waits until HasWork: for input from the display or for a timer. While a filtered GetMessage
// waits nothing is dispatched, so only input or a timer it lets through can end the wait.
void WaitForWork(HWND hwnd, UINT lo, UINT hi) {
  auto& ws = WS();
  while (true) {
    if (ws.Backend) ws.Backend->PollEvents();
    if (HasWork(hwnd, lo, hi)) return;
    int delay = NextTimerDelay(hwnd, lo, hi);
    if (ws.Backend) ws.Backend->Flush();
    if (TTickClock::IsManual()) {
      // Manual time only moves when told to: jump to the next timer, as if we had slept.
      if (ws.Backend && ws.Backend->WaitEvents(0)) continue;
      if (delay < 0) throw EInvalidOperation("WaitMessage: nothing can arrive in the message queue");
      TTickClock::Advance(DWORD(delay));
      continue;
    }
    if (!ws.Backend) {
      if (delay < 0) throw EInvalidOperation("WaitMessage: nothing can arrive in the message queue");
      // No display: sleep until the timer is due.
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      continue;
    }
    if (!ws.Backend->WaitEvents(delay) && delay < 0)
      throw EInvalidOperation("WaitMessage: nothing can arrive in the message queue");
  }
}

}  // namespace

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return 0;
  TCallGuard guard(w);
  WNDPROC proc = w->Proc;
  return (*proc)(hwnd, msg, wParam, lParam);
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !IsWindow(hwnd)) return false;
  WS().Posted.push_back(MakeMsg(hwnd, msg, wParam, lParam));
  return true;
}

void PostQuitMessage(int exitCode) {
  WS().QuitPosted = true;
  WS().QuitCode = exitCode;
}

bool PeekMessage(MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (WS().Backend) WS().Backend->PollEvents();
  if (!TryTake(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)) return false;
  if (removeFlags & PM_REMOVE) WS().Current = msg;
  return true;
}

void WaitMessage() { WaitForWork(nullptr, 0, 0); }

namespace {

TCallbackExceptionHandler& CallbackExceptionHandler() {
  static TCallbackExceptionHandler handler;
  return handler;
}

}  // namespace

TCallbackExceptionHandler SetCallbackExceptionHandler(TCallbackExceptionHandler handler) {
  return std::exchange(CallbackExceptionHandler(), std::move(handler));
}

bool GetMessage(MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  while (!PeekMessage(msg, hwnd, filterMin, filterMax, PM_REMOVE)) WaitForWork(hwnd, filterMin, filterMax);
  return msg.message != WM_QUIT;
}

LRESULT DispatchMessage(const MSG& msg) {
  if (msg.message == WM_TIMER) {
    auto& timers = WS().Timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const TTimer& t) { return t.Window == msg.hwnd && t.Id == msg.wParam; });
    if (it != timers.end() && it->Proc) {
      TIMERPROC proc = it->Proc;
      try {
        proc(msg.hwnd, WM_TIMER, msg.wParam, msg.time);
      } catch (...) {
        // A copy: the handler may install another one.
        TCallbackExceptionHandler handler = CallbackExceptionHandler();
        if (!handler) throw;
        handler();
      }
      return 0;
    }
  }
  if (!msg.hwnd) return 0;
  LRESULT result = SendMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
  // A procedure that ignored WM_PAINT would get it again forever: what it left is validated.
  if (msg.message == WM_PAINT && IsWindow(msg.hwnd))
    RedrawWindow(msg.hwnd, nullptr, nullptr, RDW_NOFRAME | RDW_VALIDATE | RDW_NOCHILDREN | RDW_NOINTERNALPAINT);
  return result;
}

DWORD GetMessageTime() { return WS().Current.time; }
TPoint GetMessagePos() { return WS().Current.pt; }

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  auto& ws = WS();
  if (hwnd && !IsWindow(hwnd)) return 0;
  if (!hwnd) id = ws.NextTimerId++;
  elapse = std::max<UINT>(elapse, 10);
  auto it = std::find_if(ws.Timers.begin(), ws.Timers.end(),
                         [&](const TTimer& t) { return t.Window == hwnd && t.Id == id; });
  TTimer t{hwnd, id, elapse, GetTickCount() + elapse, ws.TimerOrder++, std::move(proc)};
  if (it != ws.Timers.end()) {
    *it = std::move(t);
  } else {
    ws.Timers.push_back(std::move(t));
  }
  return hwnd ? (id ? id : 1) : id;
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = WS().Timers;
  auto it = std::find_if(timers.begin(), timers.end(),
                         [&](const TTimer& t) { return t.Window == hwnd && t.Id == id; });
  if (it == timers.end()) return false;
  timers.erase(it);
  return true;
}

void ProcessPendingPaints(HWND hwnd) {
  MSG msg;
  for (int guard = 0; guard < 10000 && PeekMessage(msg, hwnd, WM_PAINT, WM_PAINT, PM_REMOVE); ++guard)
    DispatchMessage(msg);
}

bool ProcessPendingMessages() {
  MSG msg;
  while (PeekMessage(msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT) return false;
    PeekMessage(msg, nullptr, 0, 0, PM_REMOVE);
    TranslateMessage(msg);
    DispatchMessage(msg);
  }
  if (WS().Backend) WS().Backend->Flush();
  return true;
}

}  // namespace vandrel
