// TCustomControl: a windowed control that paints itself on a canvas (override Paint).
#pragma once

#include <memory>

#include "framework/ControlCanvas.h"
#include "framework/WinControl.h"

namespace vandrel {

class TCustomControl : public TWinControl {
  VANDREL_CLASS_INFO
 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return m_canvas.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;

 private:
  std::unique_ptr<TControlCanvas> m_canvas;
};

}  // namespace vandrel
