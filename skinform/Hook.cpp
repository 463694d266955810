#include "skinform/Hook.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/PropertyInfo.h"
#include "framework/WinControl.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "skin/SkinMessages.h"

namespace vandrel {

namespace {

// Inside a catch block: the application shows the error and the message goes on; without an
// application there is nobody to show it to, so it travels on to the caller.
void ReportHookError(TPersistent* sender) {
  if (TApplication* app = Application()) {
    app->HandleException(sender);
    return;
  }
  throw;
}

bool ControlDestroying(const TWinControl* control) {
  return control && control->ComponentState().Contains(csDestroying);
}

}  // namespace

// ---- TSeHook ----

const TClassInfo& TSeHook::StaticClassInfo() {
  using T = TSeHook;
  static const TClassInfo info("TSeHook", &TComponent::StaticClassInfo(), nullptr, {
      prop::Boolean("Active", &T::Active, &T::SetActive, true),
  });
  return info;
}

TSeHook::TSeHook(TComponent* owner) : TComponent(owner) {}

TSeHook::~TSeHook() {
  *m_alive = false;
  TControlHook* hook = m_controlHook;
  SetActive(false);
  if (hook && hook->Hooks().empty()) THookList::Instance().PostFreeHook(hook);
}

void TSeHook::SetActive(bool value) {
  m_active = value;
  if (value) {
    Install();
  } else if (m_controlHook) {
    m_controlHook->RemoveHook(this);
  }
}

void TSeHook::Install() {
  if (!m_active || !m_control || m_controlHook || Destroying()) return;
  THookList::Instance().FindOrCreate(m_control)->AddHook(this);
}

void TSeHook::SetControl(TWinControl* control) {
  if (control == m_control) return;
  const bool wasActive = m_active;
  if (TControlHook* old = m_controlHook) {
    old->RemoveHook(this);
    if (old->Hooks().empty()) THookList::Instance().PostFreeHook(old);
  }
  if (m_control) RemoveFreeNotification(m_control);
  m_control = control;
  if (m_control) FreeNotification(m_control);
  m_active = wasActive;
  Install();
}

void TSeHook::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == m_control) SetControl(nullptr);
  TComponent::Notification(component, operation);
}

void TSeHook::AfterMessage(TMessage&) {}

void TSeHook::BeforeMessage(TMessage& message, bool& handled) {
  m_handled = handled;
  std::weak_ptr<const bool> alive = m_alive;
  try {
    Dispatch(message);
  } catch (...) {
    if (!alive.expired()) handled = m_handled;
    throw;
  }
  if (!alive.expired()) handled = m_handled;
}

void TSeHook::Dispatch(TMessage&) {}

// ---- TControlHook ----

TControlHook::TControlHook() : m_link(std::make_shared<TLink>()) {
  m_link->Owner = this;
  m_instance = MakeWindowProc([link = m_link](HWND h, UINT m, WPARAM w, LPARAM l) {
    if (link->Owner) return link->Owner->HookWndProc(h, m, w, l);
    return CallWindowProc(link->Previous, h, m, w, l);
  });
}

TControlHook::~TControlHook() {
  m_destroying = true;
  if (THookList* list = THookList::Existing()) list->Remove(this);
  while (!m_hooks.empty()) RemoveHook(m_hooks.back());
  m_link->Owner = nullptr;
}

bool TControlHook::Installed() const {
  return m_control && m_control->HandleAllocated() && GetWindowProc(m_control->Handle()) == m_instance;
}

void TControlHook::SetControl(TWinControl* control) {
  if (control == m_control) return;
  Uninstall();
  m_control = control;
}

void TControlHook::AddHook(TSeHook* hook) {
  if (std::find(m_hooks.begin(), m_hooks.end(), hook) == m_hooks.end()) {
    m_hooks.push_back(hook);
    hook->m_controlHook = this;
    SetControl(hook->m_control);
    m_lastHook = hook;
  }
  Install();
}

void TControlHook::RemoveHook(TSeHook* hook) {
  hook->m_controlHook = nullptr;
  std::erase(m_hooks, hook);
  m_lastHook = nullptr;
  if (m_hooks.empty()) {
    Uninstall();
    // Nothing watches the control for this object any more, so it must not be touched again.
    m_control = nullptr;
  }
}

void TControlHook::Install() {
  // A control hook without hooks has nothing to install, and its control may be gone.
  if (!m_control || m_hooks.empty() || m_destroying || m_control->Designing() ||
      ControlDestroying(m_control))
    return;
  HWND h = m_control->Handle();
  WNDPROC current = GetWindowProc(h);
  if (current == m_instance) return;
  m_link->Previous = current;
  SetWindowProc(h, m_instance);
}

void TControlHook::Uninstall() {
  if (!m_link->Previous) return;
  if (!m_control || !m_control->HandleAllocated()) {
    m_link->Previous = nullptr;
    return;
  }
  HWND h = m_control->Handle();
  if (GetWindowProc(h) != m_instance) {
    // Someone subclassed the window after us: their procedure still calls ours, which from now
    // on only passes messages on to the one we replaced.
    return;
  }
  if (m_lastHook) m_lastHook->Unhooked();
  if (IsWindow(h) && GetWindowProc(h) == m_instance) SetWindowProc(h, m_link->Previous);
  m_link->Previous = nullptr;
}

bool TControlHook::Skipping() const {
  return m_hooks.empty() || m_destroying || ControlDestroying(m_control);
}

// The hooks from the last added to the first, each with its life token: a handler may add, remove
// or free hooks while the message goes round.
std::vector<std::pair<TSeHook*, std::weak_ptr<const bool>>> TControlHook::OfferOrder() const {
  std::vector<std::pair<TSeHook*, std::weak_ptr<const bool>>> hooks;
  for (auto it = m_hooks.rbegin(); it != m_hooks.rend(); ++it) hooks.emplace_back(*it, (*it)->Alive());
  return hooks;
}

void TControlHook::OfferBefore(TMessage& message, bool& handled) {
  if (Skipping()) return;
  for (auto& [hook, alive] : OfferOrder()) {
    if (alive.expired() || hook->m_controlHook != this) continue;
    try {
      hook->BeforeMessage(message, handled);
    } catch (...) {
      ReportHookError(alive.expired() ? nullptr : hook);
    }
    if (handled) return;
  }
}

void TControlHook::OfferAfter(TMessage& message) {
  if (Skipping()) return;
  for (auto& [hook, alive] : OfferOrder()) {
    if (alive.expired() || hook->m_controlHook != this) continue;
    try {
      hook->AfterMessage(message);
    } catch (...) {
      ReportHookError(alive.expired() ? nullptr : hook);
    }
    if (!alive.expired() && hook->Handled()) return;
  }
}

LRESULT TControlHook::HookWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<TLink> link = m_link;
  if (!m_control) return CallWindowProc(link->Previous, hwnd, msg, wParam, lParam);

  ++m_depth;
  TMessage message{msg, wParam, lParam, 0};
  // Every step below may run code that frees this object, the hooks, the control or its window.
  auto self = [&]() { return link->Owner; };
  auto finish = [&]() {
    if (TControlHook* me = self(); me && --me->m_depth == 0 && me->m_freePending && me->m_hooks.empty())
      THookList::Instance().FreeHook(me);
    return message.Result;
  };

  bool handled = false;
  if (msg != WM_QUIT) OfferBefore(message, handled);
  if (!self() || !IsWindow(hwnd)) return finish();

  if (!handled || msg == WM_DESTROY) {
    std::exception_ptr failure;
    try {
      WNDPROC previous = link->Previous;
      TWinControl* control = self()->m_control;
      if (previous) {
        message.Result = CallWindowProc(previous, hwnd, msg, wParam, lParam);
      } else if (control) {
        message.Result = CallWindowProc(DefWindowProcObject(), hwnd, msg, wParam, lParam);
      }
    } catch (...) {
      failure = std::current_exception();
    }
    if (self() && IsWindow(hwnd)) self()->OfferAfter(message);
    if (failure) {
      finish();
      std::rethrow_exception(failure);
    }
  }

  if (msg == WM_DESTROY) {
    if (TControlHook* me = self()) {
      me->Uninstall();
      if (THookList* list = THookList::Existing(); list && !me->m_destroying && me->m_control &&
                                                   !ControlDestroying(me->m_control))
        list->PostRehook(me);
    }
  }
  return finish();
}

// ---- THookList ----

namespace {

std::unique_ptr<THookList>& HookListSlot() {
  static std::unique_ptr<THookList> list;
  return list;
}

constexpr const char* kHookListClass = "VandrelHookList";

}  // namespace

THookList& THookList::Instance() {
  auto& slot = HookListSlot();
  if (!slot) slot.reset(new THookList());
  return *slot;
}

THookList* THookList::Existing() { return HookListSlot().get(); }

THookList::~THookList() {
  while (!m_hooks.empty()) delete m_hooks.back();
  if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
}

TControlHook* THookList::Find(const TWinControl* control) const {
  if (!control) return nullptr;
  for (TControlHook* hook : m_hooks)
    if (hook->Control() == control) return hook;
  return nullptr;
}

TControlHook* THookList::FindOrCreate(TWinControl* control) {
  if (TControlHook* found = Find(control)) return found;
  auto hook = std::make_unique<TControlHook>();
  m_hooks.push_back(hook.get());
  try {
    hook->SetControl(control);
  } catch (...) {
    Remove(hook.get());
    throw;
  }
  return hook.release();
}

bool THookList::Contains(const TControlHook* hook) const {
  return std::find(m_hooks.begin(), m_hooks.end(), hook) != m_hooks.end();
}

void THookList::Remove(TControlHook* hook) { std::erase(m_hooks, hook); }

void THookList::FreeHook(TControlHook* hook) {
  if (hook->Running()) {
    hook->FreeWhenIdle();
    return;
  }
  delete hook;
}

HWND THookList::Window() {
  if (m_window && IsWindow(m_window)) return m_window;
  static bool registered = false;
  if (!registered) {
    WNDCLASS cls;
    cls.lpszClassName = kHookListClass;
    cls.lpfnWndProc = MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (THookList* list = THookList::Existing()) return list->UtilityProc(h, m, w, l);
      return DefWindowProc(h, m, w, l);
    });
    RegisterClass(cls);
    registered = true;
  }
  m_window = CreateWindowEx(WS_EX_TOOLWINDOW, kHookListClass, "", WS_POPUP, 0, 0, 0, 0, nullptr);
  return m_window;
}

void THookList::PostRehook(TControlHook* hook) {
  PostMessage(Window(), SE_REHOOK, 0, reinterpret_cast<LPARAM>(hook));
}

void THookList::PostFreeHook(TControlHook* hook) {
  PostMessage(Window(), SE_FREEHOOK, 0, reinterpret_cast<LPARAM>(hook));
}

LRESULT THookList::UtilityProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != SE_REHOOK && msg != SE_FREEHOOK) return DefWindowProc(hwnd, msg, wParam, lParam);
  // The pointer is only compared until it is found in the list: a freed control hook is never
  // dereferenced.
  auto* hook = reinterpret_cast<TControlHook*>(lParam);
  if (!Contains(hook)) return 0;
  try {
    if (msg == SE_REHOOK) {
      hook->Install();
    } else if (hook->Hooks().empty()) {
      FreeHook(hook);
    }
  } catch (...) {
    ReportHookError(nullptr);
  }
  return 0;
}

}  // namespace vandrel
