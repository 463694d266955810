#include "framework/Application.h"

#include <algorithm>

#include "framework/ControlCanvas.h"
#include "framework/Form.h"
#include "framework/HintWindow.h"
#include "framework/Screen.h"
#include "framework/WinControl.h"
#include "platform/core/Exception.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace vandrel {

namespace {
TApplication* g_application = nullptr;
// Between two controls a hint comes back quickly once one has shown.
constexpr int kHintShortPause = 50;
}  // namespace

TApplication* Application() { return g_application; }

void ShowMessage(const std::string& text) {
  if (TApplication* app = Application()) {
    app->MessageBox(text, app->Title(), MB_OK);
  } else {
    vandrel::MessageBox(GetActiveWindow(), text, "Vandrel", MB_OK);
  }
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  if (g_application) throw EInvalidOperation("An application object exists already");
  g_application = this;
  // Callbacks of platform timers (not only TTimer's) report what they throw like any event.
  SetCallbackExceptionHandler([this] { HandleException(this); });
}

TApplication::~TApplication() {
  StopHintTimer();
  m_hintWindow.reset();
  // The forms go while the application is still there to hear about it.
  DestroyComponents();
  m_mainForm = nullptr;
  if (m_handle) DestroyWindow(m_handle);
  SetCallbackExceptionHandler(nullptr);
  g_application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
  m_title = title;
  if (m_handle) SetWindowText(m_handle, title);
}

HWND TApplication::Handle() {
  if (!m_handle) {
    static bool registered = false;
    if (!registered) {
      WNDCLASS cls;
      cls.lpszClassName = "VandrelApplication";
      RegisterClass(cls);
      registered = true;
    }
    m_handle = CreateWindowEx(WS_EX_TOOLWINDOW, "VandrelApplication", m_title, WS_POPUP, 0, 0, 0, 0, nullptr);
  }
  return m_handle;
}

void TApplication::Run() {
  if (m_mainForm && m_showMainForm) m_mainForm->Show();
  while (!m_terminated) HandleMessage();
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) Idle();
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    m_terminated = true;
    return true;
  }
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    TWinControl* target = FindControl(msg.hwnd);
    if (TCustomForm* form = target ? GetParentForm(target) : nullptr) {
      TMessage m{msg.message, msg.wParam, msg.lParam, 0};
      bool handled = false;
      try {
        handled = form->IsShortCut(m);
      } catch (...) {
        HandleException(form);
        handled = true;
      }
      if (handled) return true;
    }
  }
  TranslateMessage(msg);
  DispatchMessage(msg);
  return true;
}

void TApplication::Idle() {
  TControlCanvas::FreeDeviceContexts();
  bool done = true;
  if (OnIdle) {
    try {
      OnIdle(this, done);
    } catch (...) {
      HandleException(this);
    }
  }
  if (done && !m_terminated) WaitMessage();
}

void TApplication::Terminate() {
  if (m_terminated) return;
  m_terminated = true;
  PostQuitMessage(0);
}

void TApplication::Minimize() {
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TCustomForm* f = Screen()->Forms(i);
    if (f->HandleAllocated() && f->Visible() && !IsIconic(f->Handle())) ShowWindow(f->Handle(), SW_MINIMIZE);
  }
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TCustomForm* f = Screen()->Forms(i);
    if (f->HandleAllocated() && f->Visible() && IsIconic(f->Handle())) ShowWindow(f->Handle(), SW_RESTORE);
  }
  if (m_mainForm && m_mainForm->HandleAllocated() && m_mainForm->Visible()) SetActiveWindow(m_mainForm->Handle());
  if (OnRestore) OnRestore(this);
}

void TApplication::SetHint(const std::string& hint) {
  if (hint == m_hint) return;
  m_hint = hint;
  if (OnHint) OnHint(this);
}

void TApplication::SetShowHint(bool value) {
  m_showHint = value;
  if (!value) CancelHint();
}

THintWindow* TApplication::HintWindow() const { return m_hintActive ? m_hintWindow.get() : nullptr; }
bool TApplication::HintShowing() const { return m_hintActive; }

void TApplication::StartHintTimer(int ms) {
  StopHintTimer();
  m_hintTimer = SetTimer(nullptr, 0, UINT(std::max(ms, 10)), [this](HWND, UINT, UINT_PTR, DWORD) { HintTimerExpired(); });
}

void TApplication::StopHintTimer() {
  if (m_hintTimer) KillTimer(nullptr, m_hintTimer);
  m_hintTimer = 0;
}

void TApplication::CancelHint() {
  StopHintTimer();
  if (m_hintActive && m_hintWindow) m_hintWindow->ReleaseHandle();
  m_hintActive = false;
}

void TApplication::ControlDestroying(TControl* control) {
  if (m_hintControl == control) {
    CancelHint();
    m_hintControl = nullptr;
  }
  if (m_mainForm == control) m_mainForm = nullptr;
}

void TApplication::FormDestroyed(TCustomForm* form) {
  if (m_mainForm == form) m_mainForm = nullptr;
}

void TApplication::MouseMoved(TPoint screenPt) {
  TControl* c = MouseControl();
  if (c == m_hintControl && m_hintCursorRect.Contains(screenPt)) return;
  bool wasShowing = m_hintActive;
  CancelHint();
  m_hintControl = c;
  m_hintCursorRect = {};
  SetHint(c ? c->Hint() : std::string());
  if (c && m_showHint && c->ShowHint()) StartHintTimer(wasShowing ? kHintShortPause : m_hintPause);
}

void TApplication::HintTimerExpired() {
  StopHintTimer();
  if (m_hintTimerHides || m_hintActive) {
    m_hintTimerHides = false;
    CancelHint();
    return;
  }
  TControl* c = m_hintControl;
  if (!c || c != MouseControl()) return;
  TPoint cursor = CursorPos();
  THintInfo info;
  info.HintControl = c;
  info.CursorPos = c->ScreenToClient(cursor);
  info.HintPos = cursor + TPoint{0, 20};
  info.HintStr = c->Hint();
  info.CursorRect = c->ClientRect();
  info.HintMaxWidth = Screen()->Width();
  info.HideTimeout = m_hintHidePause;
  LRESULT refused = c->Perform(CM_HINTSHOW, 0, LPARAM(&info));
  TPoint origin = c->ClientOrigin();
  m_hintCursorRect = OffsetRect(info.CursorRect, origin.X, origin.Y);
  if (refused || info.HintStr.empty()) return;
  if (!m_hintWindow) m_hintWindow = std::make_unique<THintWindow>(nullptr);
  TRect r = m_hintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr);
  r = OffsetRect(r, info.HintPos.X, info.HintPos.Y);
  m_hintWindow->ActivateHint(r, info.HintStr);
  m_hintActive = true;
  if (info.HideTimeout > 0) {
    m_hintTimerHides = true;
    m_hintTimer = SetTimer(nullptr, 0, UINT(info.HideTimeout), [this](HWND, UINT, UINT_PTR, DWORD) { HintTimerExpired(); });
  }
}

void TApplication::HandleException(TPersistent* sender) {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    try {
      if (OnException)
        OnException(sender, e);
      else
        ShowException(e);
    } catch (const std::exception& inner) {
      ShowException(inner);
    }
  } catch (...) {
    ShowException(Exception("Unknown error"));
  }
}

void TApplication::ShowException(const std::exception& error) {
  MessageBox(error.what(), m_title, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  CancelHint();
  HWND owner = nullptr;
  if (TCustomForm* active = Screen()->ActiveForm(); active && active->HandleAllocated()) owner = active->Handle();
  return vandrel::MessageBox(owner, text, caption.empty() ? m_title : caption, flags);
}

}  // namespace vandrel
