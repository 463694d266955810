#include "framework/DialogButton.h"

#include "platform/win/VirtualKeys.h"

namespace vandrel {

bool TDialogButtonRoles::SetActiveDefault(bool value) {
  if (m_activeDefault == value) return false;
  m_activeDefault = value;
  return true;
}

bool TDialogButtonRoles::FocusChanged(const TWinControl* focused, const TWinControl* self, bool selfWhenFocused) {
  const bool pushButton = dynamic_cast<const IPushButton*>(focused) != nullptr;
  const bool active = pushButton ? (selfWhenFocused && focused == self) : m_default;
  return SetActiveDefault(active);
}

bool TDialogButtonRoles::AnswerDialogKey(TWinControl& button, TMessage& m) const {
  const bool enter = m.WParam == VK_RETURN && (m_activeDefault || button.Focused());
  const bool escape = m.WParam == VK_ESCAPE && m_cancel;
  if (!(enter || escape) || !CurrentShiftState().Empty() || !button.CanFocus()) return false;
  m.Result = 1;
  button.Click();
  return true;
}

}  // namespace vandrel
