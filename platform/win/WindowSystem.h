// The process-wide state of the window system: the handle table, the window tree, the thread's
// queue, timers and the input state. Internal to platform/win (and readable by the display
// backends); the public calls in Window.h, MessageQueue.h, Input.h and Paint.h work on it.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/win/DisplayBackend.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowRecord.h"

namespace vandrel {

struct TRawInput {
  enum class TKind { Move, Button, Wheel, Key, Char, Leave } Kind = TKind::Move;
  TMouseButton Button = TMouseButton::Left;
  bool Down = false;
  TPoint Pt;
  int Delta = 0;
  int Vk = 0;
  char32_t Char = 0;
  DWORD Time = 0;
};

struct TTimer {
  HWND Window = nullptr;
  UINT_PTR Id = 0;
  UINT Interval = 0;
  DWORD Due = 0;
  std::uint64_t Order = 0;  // creation order breaks ties between timers due together
  TIMERPROC Proc;
};

class TWindowSystem {
 public:
  // The instance every call works on: the process's own, or the one a TScopedWindowSystem put in
  // its place.
  static TWindowSystem& Instance();
  TWindowSystem(const TWindowSystem&) = delete;
  TWindowSystem& operator=(const TWindowSystem&) = delete;

  TWindowRecord* Find(HWND hwnd) const;
  // Raises EInvalidArgument naming the call when the handle is stale.
  TWindowRecord& Get(HWND hwnd, const char* call) const;
  TWindowRecord& Desktop() { return *m_desktop; }
  HWND NewHandle();
  void Register(std::unique_ptr<TWindowRecord> record);
  // Removes the handle; the record is freed once no procedure call runs on it.
  void Retire(TWindowRecord* record);
  void ReleaseCall(TWindowRecord* record);

  std::map<std::string, std::shared_ptr<const WNDCLASS>> Classes;

  std::deque<MSG> Posted;
  std::deque<TRawInput> RawInput;
  std::deque<MSG> InputMessages;  // input already turned into messages, waiting for a filter
  bool QuitPosted = false;
  int QuitCode = 0;
  MSG Current;  // the message last taken from the queue

  std::vector<TTimer> Timers;
  UINT_PTR NextTimerId = 1;
  std::uint64_t TimerOrder = 0;

  HWND Capture = nullptr;
  HWND Focus = nullptr;
  HWND Active = nullptr;
  HWND Foreground = nullptr;
  HWND MouseLeaveTrack = nullptr;
  bool MouseLeaveNonClient = false;
  HWND LastMouseWindow = nullptr;
  // The pointer is over a window of another program, at Cursor: no window of ours is under it.
  bool PointerAway = false;
  std::array<BYTE, 256> KeyState{};  // bit 7: down, bit 0: toggled; as of the message taken last
  std::array<bool, 256> AsyncDown{};  // as of the input injected last
  std::array<char32_t, 256> KeyChar{};
  TPoint Cursor;
  HCURSOR CurrentCursor = nullptr;

  // The last button press, for double clicks.
  struct {
    HWND Window = nullptr;
    UINT Message = 0;
    DWORD Time = 0;
    TPoint Pt;
    bool Valid = false;
  } LastClick;

  TDisplayBackend* Backend = nullptr;

 private:
  friend class TScopedWindowSystem;
  TWindowSystem();
  static TWindowSystem*& CurrentSlot();
  std::unordered_map<HWND, std::unique_ptr<TWindowRecord>> m_windows;
  std::vector<std::unique_ptr<TWindowRecord>> m_retired;
  TWindowRecord* m_desktop = nullptr;
  std::uintptr_t m_nextHandle = 0x10000;
};

// Puts a fresh window system in place of the current one for its lifetime (a test that must not
// see windows, messages, timers or input state left by another), then puts the previous one back.
// Windows still alive in the fresh instance when it ends are freed without messages.
class TScopedWindowSystem {
 public:
  TScopedWindowSystem();
  ~TScopedWindowSystem();
  TScopedWindowSystem(const TScopedWindowSystem&) = delete;
  TScopedWindowSystem& operator=(const TScopedWindowSystem&) = delete;

 private:
  std::unique_ptr<TWindowSystem> m_fresh;
  TWindowSystem* m_previous;
};

// Keeps a record alive while a procedure runs on it; the record may be destroyed meanwhile.
class TCallGuard {
 public:
  explicit TCallGuard(TWindowRecord* record) : m_record(record) { ++m_record->CallDepth; }
  ~TCallGuard() { TWindowSystem::Instance().ReleaseCall(m_record); }
  TCallGuard(const TCallGuard&) = delete;
  TCallGuard& operator=(const TCallGuard&) = delete;

 private:
  TWindowRecord* m_record;
};

// Helpers shared by the implementation files.
TPoint ClientOriginOnScreen(const TWindowRecord& w);
TPoint WindowOriginOnScreen(const TWindowRecord& w);
TWindowRecord* TopLevelOf(TWindowRecord* w);
bool IsVisibleChain(const TWindowRecord& w);
TSize ScreenSize();
TRect WorkAreaRect();
// The size limits a window starts from before WM_GETMINMAXINFO lets it change them.
MINMAXINFO DefaultMinMaxInfo(const TWindowRecord& w);
// Turns the oldest raw input into messages (hit-testing, activation, capture); false when there
// was none.
bool ConvertRawInput();
// The next window that needs WM_PAINT (after sending WM_NCPAINT to those with a dirty frame).
HWND NextPaintWindow(HWND filter);
// The window under a screen point with its hit-test code.
TWindowRecord* HitTestWindow(TPoint screenPt, int& hit);

}  // namespace vandrel
