// TSeGraphicControl: the base of the skinned windowless controls, with the same buffering modes,
// see-through painting, translucency and hot tracking as TSeCustomControl but no frame: the whole
// control is its content.
#pragma once

#include <memory>

#include "framework/GraphicControl.h"
#include "graphics/Bitmap.h"
#include "graphics/Blending.h"
#include "skincontrols/ControlTypes.h"

namespace vandrel {

class TSeGraphicControl : public TGraphicControl {
  VANDREL_CLASS_INFO
 public:
  explicit TSeGraphicControl(TComponent* owner);
  ~TSeGraphicControl() override;

  TSePerformance Performance() const { return m_performance; }
  void SetPerformance(TSePerformance value);
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);
  TSeBlending* Blending() const { return m_blending.get(); }
  void SetBlending(const TSeBlending& value);
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
  TFont* WorkingFont() const { return m_workingFont.get(); }

 private:
  void BlendingChanged();

  TSePerformance m_performance = kspNoBuffer;
  TseBitmap m_blendBuffer;
  bool m_transparent = false;
  bool m_hot = false;
  std::unique_ptr<TFont> m_workingFont;
  std::unique_ptr<TSeBlending> m_blending;
};

}  // namespace vandrel
