// THintWindow: the small yellow window that shows a hint near the mouse, without taking the
// activation or the focus.
#pragma once

#include <string>

#include "framework/CustomControl.h"

namespace vandrel {

class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* owner);
  // The size the text needs (word-wrapped at maxWidth), at (0, 0).
  virtual TRect CalcHintRect(int maxWidth, const std::string& hint);
  // Shows the hint at rect (screen), kept on the screen.
  virtual void ActivateHint(TRect rect, const std::string& hint);
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
};

}  // namespace vandrel
