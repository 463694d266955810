// The dialog-button roles of a push button, kept once for the classic and the skinned push
// button: Enter belongs to the default button (or to the focused one), Escape to the cancel
// button, and while a push button has the focus the default button gives Enter up.
#pragma once

#include "framework/WinControl.h"

namespace vandrel {

class TDialogButtonRoles {
 public:
  bool Default() const { return m_default; }
  void SetDefault(bool value) { m_default = value; }
  bool Cancel() const { return m_cancel; }
  void SetCancel(bool value) { m_cancel = value; }
  // Whether the button answers Enter as its form's default button now.
  bool ActiveDefault() const { return m_activeDefault; }
  // Returns whether the value changed.
  bool SetActiveDefault(bool value);

  // The form's focus moved to `focused`: a focused push button takes Enter, so the default
  // button is active only while no push button is focused (or, with selfWhenFocused, while
  // the focused push button is `self`). Returns whether ActiveDefault changed.
  bool FocusChanged(const TWinControl* focused, const TWinControl* self, bool selfWhenFocused);

  // CM_DIALOGKEY for `button`: Enter or Escape that belongs to it, without a shift key, on a button
  // that can take the focus, is marked handled and clicks the button. Returns whether it did; the
  // click may have freed the button.
  bool AnswerDialogKey(TWinControl& button, TMessage& message) const;

 private:
  bool m_default = false;
  bool m_cancel = false;
  bool m_activeDefault = false;
};

// Implemented by every push button, so that any of them can tell that one has the focus.
class IPushButton {
 public:
  virtual ~IPushButton() = default;
};

}  // namespace vandrel
