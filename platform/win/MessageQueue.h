// Sending and posting messages, the message loop calls, and timers. The thread's queue is taken
// in the platform's order: posted messages, then input, then the quit request, then WM_PAINT for
// a window with something to repaint, then WM_TIMER.
#pragma once

#include <functional>

#include "platform/win/WinTypes.h"

namespace vandrel {

// Synchronous and re-entrant; 0 for an invalid window.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// False for an invalid window. A null window posts a thread message.
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// False when WM_QUIT was taken. Raises EInvalidOperation when the queue is empty and nothing can
// ever arrive (no display input, no timer), rather than waiting forever.
bool GetMessage(MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax);
bool PeekMessage(MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// Returns when something new is in the queue.
void WaitMessage();
LRESULT DispatchMessage(const MSG& msg);
// Posts WM_CHAR/WM_SYSCHAR for a key press that produces a character.
bool TranslateMessage(const MSG& msg);
DWORD GetMessageTime();
TPoint GetMessagePos();

using TIMERPROC = std::function<void(HWND, UINT, UINT_PTR, DWORD)>;
// With a window the id is the caller's; without one a new id is returned. An interval below
// 10 ms counts as 10 ms.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
bool KillTimer(HWND hwnd, UINT_PTR id);
// What happens to an exception that escapes a timer callback: the handler runs inside the catch
// (so it can rethrow or look at std::current_exception) and the loop goes on. An application
// installs its exception handler here; without one the exception leaves DispatchMessage. Returns
// the handler it replaces.
using TCallbackExceptionHandler = std::function<void()>;
TCallbackExceptionHandler SetCallbackExceptionHandler(TCallbackExceptionHandler handler);

// Dispatches the pending WM_PAINT messages of a window and its children (all windows for null),
// as full-window dragging does between two moves.
void ProcessPendingPaints(HWND hwnd);

// Dispatches everything now in the queue, including paints and due timers, without waiting.
// Returns false when WM_QUIT was found (it stays pending for the caller's loop).
bool ProcessPendingMessages();

}  // namespace vandrel
