// Window-procedure interception: a TSeHook component sees the messages of one windowed control
// before and after the control's own procedure. Hooks on one control share a TControlHook, which
// installs a single replacement procedure (HookWndProc) on the control's window; THookList keeps
// every control hook and owns a hidden window that runs the deferred work (reinstalling on a
// recreated window, freeing an emptied control hook) outside the procedure that asked for it.
//
//   HookWndProc(message):
//     before:  hooks from the last added to the first, until one marks the message handled
//     default: the previous procedure, unless handled (WM_DESTROY always reaches it)
//     after:   only when the default ran, the hooks in the same order
//     WM_DESTROY: put the previous procedure back, then ask for a reinstall on the next window
//
// Any handler may free its hook, the control or the window: every step looks them up again.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "framework/Component.h"
#include "framework/ControlMessages.h"
#include "platform/win/WindowProc.h"

namespace vandrel {

class TWinControl;
class TControlHook;

class TSeHook : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TSeHook(TComponent* owner);
  ~TSeHook() override;

  // True installs the hook whenever a control is set; the wish is kept while there is none.
  bool Active() const { return m_active; }
  void SetActive(bool value);
  TWinControl* Control() const { return m_control; }
  void SetControl(TWinControl* control);
  // Stops the message: no earlier hook and no default procedure see it.
  void MarkHandled() { m_handled = true; }
  // The control hook that installed this hook, or null.
  TControlHook* ControlHook() const { return m_controlHook; }

  // Runs after the control's own procedure handled the message.
  virtual void AfterMessage(TMessage& message);
  // Offers the message to Dispatch; handled enters and leaves as the handled flag.
  virtual void BeforeMessage(TMessage& message, bool& handled);
  // Called just before the previous window procedure is put back.
  virtual void Unhooked() {}

  // Cleared when the hook is freed: callers that run user code hold it to learn whether the hook
  // outlived the call.
  std::weak_ptr<const bool> Alive() const { return m_alive; }

 protected:
  // The hook's message handlers; the base handles nothing.
  virtual void Dispatch(TMessage& message);
  void Notification(TComponent* component, TOperation operation) override;
  bool Handled() const { return m_handled; }

 private:
  friend class TControlHook;
  void Install();

  bool m_active = true;
  TWinControl* m_control = nullptr;
  TControlHook* m_controlHook = nullptr;
  bool m_handled = false;
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

class TControlHook {
 public:
  TControlHook();
  ~TControlHook();
  TControlHook(const TControlHook&) = delete;
  TControlHook& operator=(const TControlHook&) = delete;

  void AddHook(TSeHook* hook);
  void RemoveHook(TSeHook* hook);
  void Install();
  void Uninstall();

  TWinControl* Control() const { return m_control; }
  void SetControl(TWinControl* control);
  const std::vector<TSeHook*>& Hooks() const { return m_hooks; }
  TSeHook* LastHook() const { return m_lastHook; }
  // The procedure HookWndProc passes messages on to; null while not installed.
  const WNDPROC& Previous() const { return m_link->Previous; }
  // Whether HookWndProc is the procedure the control's window runs now.
  bool Installed() const;
  // A control hook inside its own procedure is freed when the outermost call returns.
  bool Running() const { return m_depth > 0; }
  void FreeWhenIdle() { m_freePending = true; }

 private:
  // What the installed procedure reaches: the control hook while it lives, and the procedure to
  // pass messages on to. A foreign procedure installed above ours keeps calling ours after the
  // control hook is gone, so the chain must stay whole without it.
  struct TLink {
    TControlHook* Owner = nullptr;
    WNDPROC Previous;
  };

  LRESULT HookWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void OfferBefore(TMessage& message, bool& handled);
  void OfferAfter(TMessage& message);
  bool Skipping() const;
  std::vector<std::pair<TSeHook*, std::weak_ptr<const bool>>> OfferOrder() const;

  TSeHook* m_lastHook = nullptr;
  TWinControl* m_control = nullptr;
  std::shared_ptr<TLink> m_link;
  WNDPROC m_instance;
  std::vector<TSeHook*> m_hooks;
  bool m_destroying = false;
  int m_depth = 0;
  bool m_freePending = false;
};

class THookList {
 public:
  // The one hook list, made on first use.
  static THookList& Instance();
  // Null when no hook list has been made yet.
  static THookList* Existing();
  ~THookList();
  THookList(const THookList&) = delete;
  THookList& operator=(const THookList&) = delete;

  TControlHook* Find(const TWinControl* control) const;
  TControlHook* FindOrCreate(TWinControl* control);
  bool Contains(const TControlHook* hook) const;
  int Count() const { return int(m_hooks.size()); }
  void PostRehook(TControlHook* hook);
  void PostFreeHook(TControlHook* hook);
  // The utility window, made again when something destroyed it (a test tearing down its screen).
  HWND Window();

 private:
  friend class TControlHook;
  THookList() = default;
  void Remove(TControlHook* hook);
  void FreeHook(TControlHook* hook);
  LRESULT UtilityProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  std::vector<TControlHook*> m_hooks;
  HWND m_window = nullptr;
};

}  // namespace vandrel
