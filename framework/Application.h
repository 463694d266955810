// TApplication: the program's message loop, main form, title, minimise/restore, the hint shown
// for the control under the mouse, and the exception handler that shows an error in a message
// box and lets the program go on. One instance at a time; Application() finds it.
#pragma once

#include <exception>
#include <memory>
#include <string>

#include "framework/Component.h"
#include "framework/Control.h"
#include "platform/os/MessageBox.h"

namespace vandrel {

class TCustomForm;
class THintWindow;

using TExceptionEvent = TEvent<void(TPersistent* sender, const std::exception& error)>;
using TIdleEvent = TEvent<void(TPersistent* sender, bool& done)>;

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* owner = nullptr);
  ~TApplication() override;

  const std::string& Title() const { return m_title; }
  void SetTitle(const std::string& title);
  // A hidden top-level window that stands for the application (timers, posted requests).
  HWND Handle();

  TCustomForm* MainForm() const { return m_mainForm; }
  // Creates a form owned by the application; the first one becomes the main form.
  template <typename T>
  T* CreateForm() {
    T* form = new T(this);
    if (!m_mainForm) m_mainForm = form;
    return form;
  }
  void SetMainForm(TCustomForm* form) { m_mainForm = form; }
  bool ShowMainForm() const { return m_showMainForm; }
  void SetShowMainForm(bool value) { m_showMainForm = value; }

  // Shows the main form and handles messages until Terminate or the main form closes.
  void Run();
  // Handles everything queued now, without waiting.
  void ProcessMessages();
  // Handles one message, or goes idle and waits for the next one.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return m_terminated; }

  void Minimize();
  void Restore();
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TIdleEvent OnIdle;

  // The current hint text (of the control under the mouse, or set by a menu).
  const std::string& Hint() const { return m_hint; }
  void SetHint(const std::string& hint);
  TNotifyEvent OnHint;
  bool ShowHint() const { return m_showHint; }
  void SetShowHint(bool value);
  int HintPause() const { return m_hintPause; }
  void SetHintPause(int ms) { m_hintPause = ms; }
  int HintHidePause() const { return m_hintHidePause; }
  void SetHintHidePause(int ms) { m_hintHidePause = ms; }
  void CancelHint();
  // The hint window while a hint shows, else null.
  THintWindow* HintWindow() const;
  bool HintShowing() const;
  // Called by the message path for every mouse move (screen point).
  void MouseMoved(TPoint screenPt);

  // Call from inside a catch block: EAbort is dropped, other errors go to OnException or to the
  // message box.
  void HandleException(TPersistent* sender);
  void ShowException(const std::exception& error);
  TExceptionEvent OnException;

  // The platform's modal box over the active form; caption empty: the title. MB_* flags.
  int MessageBox(const std::string& text, const std::string& caption = {}, UINT flags = MB_OK);

  // Forms and controls tell the application they are going.
  void FormDestroyed(TCustomForm* form);
  void ControlDestroying(TControl* control);

 private:
  bool ProcessMessage();
  void Idle();
  void StartHintTimer(int ms);
  void StopHintTimer();
  void HintTimerExpired();

  std::string m_title = "Vandrel";
  HWND m_handle = nullptr;
  TCustomForm* m_mainForm = nullptr;
  bool m_showMainForm = true;
  bool m_terminated = false;
  std::string m_hint;
  bool m_showHint = true;
  int m_hintPause = 500;
  int m_hintHidePause = 2500;
  UINT_PTR m_hintTimer = 0;
  bool m_hintTimerHides = false;
  TControl* m_hintControl = nullptr;
  TRect m_hintCursorRect;  // screen
  std::unique_ptr<THintWindow> m_hintWindow;
  bool m_hintActive = false;
};

// The running application, or null.
TApplication* Application();

// A message box with the application title as caption and an OK button.
void ShowMessage(const std::string& text);

}  // namespace vandrel
