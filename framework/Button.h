// TButton: the classic push button of dialogs (the message box uses it): click on release inside,
// space bar, Enter when default or focused, Escape when cancel, and the modal result it gives the
// form it sits on.
#pragma once

#include "framework/CustomControl.h"

namespace vandrel {

class TButton : public TCustomControl {
  VANDREL_CLASS_INFO
 public:
  explicit TButton(TComponent* owner);

  bool Default() const { return m_default; }
  void SetDefault(bool value);
  bool Cancel() const { return m_cancel; }
  void SetCancel(bool value) { m_cancel = value; }
  int ModalResult() const { return m_modalResult; }
  void SetModalResult(int value) { m_modalResult = value; }
  bool Down() const { return m_down; }

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
  bool m_default = false;
  bool m_cancel = false;
  bool m_activeDefault = false;
  int m_modalResult = 0;
  bool m_down = false;
  bool m_tracking = false;
};

}  // namespace vandrel
