// Window procedures as objects with identity: a window holds a shared reference to its current
// procedure, so a subclassing hook can save the previous one, chain to it with CallWindowProc,
// and later compare pointers to learn whether it is still the installed procedure.
#pragma once

#include <functional>
#include <memory>

#include "platform/win/WinTypes.h"

namespace vandrel {

class TWindowProc {
 public:
  using Function = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
  explicit TWindowProc(Function function) : m_function(std::move(function)) {}
  LRESULT operator()(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) const {
    return m_function(hwnd, msg, wParam, lParam);
  }

 private:
  Function m_function;
};

using WNDPROC = std::shared_ptr<const TWindowProc>;

inline WNDPROC MakeWindowProc(TWindowProc::Function function) {
  return std::make_shared<const TWindowProc>(std::move(function));
}

// The default processing every window procedure passes unhandled messages to.
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The default procedure as an object, for classes that register no procedure of their own.
WNDPROC DefWindowProcObject();
// Calls a saved procedure; a null procedure falls back to DefWindowProc.
LRESULT CallWindowProc(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace vandrel
