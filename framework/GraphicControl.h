// TGraphicControl: a control without a window of its own. Its parent routes mouse messages to it
// and paints it on WM_PAINT with the context moved to the control's place (override Paint).
#pragma once

#include <memory>

#include "framework/Control.h"
#include "framework/ControlCanvas.h"

namespace vandrel {

class TGraphicControl : public TControl {
  VANDREL_CLASS_INFO
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return m_canvas.get(); }
  void Dispatch(TMessage& message) override;

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TControlCanvas> m_canvas;
};

}  // namespace vandrel
