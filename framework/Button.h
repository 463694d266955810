// TButton: the classic push button of dialogs (the message box uses it): click on release inside,
// space bar, Enter when default or focused, Escape when cancel, and the modal result it gives the
// form it sits on.
#pragma once

#include "framework/CustomControl.h"
#include "framework/DialogButton.h"
#include "framework/PressTracker.h"

namespace vandrel {

class TButton : public TCustomControl, public IPushButton {
  VANDREL_CLASS_INFO
 public:
  explicit TButton(TComponent* owner);

  bool Default() const { return m_roles.Default(); }
  void SetDefault(bool value);
  bool Cancel() const { return m_roles.Cancel(); }
  void SetCancel(bool value) { m_roles.SetCancel(value); }
  int ModalResult() const { return m_modalResult; }
  void SetModalResult(int value) { m_modalResult = value; }
  bool Down() const { return m_press.Pressed(); }

  void Click() override;
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;

 private:
  TDialogButtonRoles m_roles;
  int m_modalResult = 0;
  TPressTracker m_press;
};

}  // namespace vandrel
