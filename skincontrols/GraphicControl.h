// TSeGraphicControl: the base of the skinned windowless controls, with the same buffering modes,
// see-through painting, translucency and hot tracking as TSeCustomControl but no frame: the whole
// control is its content.
#pragma once

#include <memory>

#include "framework/GraphicControl.h"
#include "skincontrols/PaintOptions.h"

namespace vandrel {

class TSeGraphicControl : public TGraphicControl {
  VANDREL_CLASS_INFO
 public:
  explicit TSeGraphicControl(TComponent* owner);
  ~TSeGraphicControl() override;

  TSePerformance Performance() const { return m_paint.Performance(); }
  void SetPerformance(TSePerformance value) { m_paint.SetPerformance(value); }
  bool Transparent() const { return m_paint.Transparent(); }
  void SetTransparent(bool value) { m_paint.SetTransparent(value); }
  TSeBlending* Blending() const { return m_paint.Blending(); }
  void SetBlending(const TSeBlending& value) { m_paint.SetBlending(value); }
  bool IsHot() const { return m_hot; }

  void Loaded() override;
  void Dispatch(TMessage& message) override;
  void PaintParentBackground(HDC dc);

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Paint() override;
  // Fills the client rectangle with Color unless Transparent.
  virtual void PaintClient();
  virtual void MouseEnter();
  virtual void MouseLeave();
  TFont* WorkingFont() const { return m_paint.WorkingFont(); }

 private:
  TSePaintOptions m_paint;
  bool m_hot = false;
};

}  // namespace vandrel
