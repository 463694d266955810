// TSeSkinPanel: the panel drawn from the skin object "Panel": the body from its "Frame"
// sub-object (a masked frame makes the panel see-through), the caption bar from "Title" or
// "Caption" (whose height becomes the caption height) and the caption button from "ButtonRollup",
// "ButtonRolldown" or "ButtonHide", else "Button". Without a skin the caption height returns to
// the one the panel had before any skin set it.
#pragma once

#include "skincontrols/CustomPanel.h"
#include "skincontrols/SkinControl.h"

namespace vandrel {

class TSeSkinPanel : public TSeSkinControl<TSeCustomPanel> {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinPanel(TComponent* owner);

  // The caption button's skin state: pressed > hot > normal.
  int ButtonSkinState() const;

 protected:
  void PaintCaption() override;
  void PaintBackground() override;
  void AfterBind(bool usable, bool copied) override;

 private:
  // The caption height before a skin first set it; 0 until saved.
  int m_savedCaptionHeight = 0;
};

}  // namespace vandrel
