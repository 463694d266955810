// TSeSkinButton: the button drawn from the skin object "Button": the face from its "Face"
// sub-object (or the object itself), the caption in the font of its "Text" sub-object. A face whose
// picture is masked makes the button see-through.
#pragma once

#include "skincontrols/Button.h"
#include "skincontrols/SkinControl.h"

namespace vandrel {

class TSeSkinButton : public TSeSkinControl<TSeCustomButton> {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinButton(TComponent* owner);

  // Both only store; they take effect at the next paint.
  bool ShowGlyph() const { return m_showGlyph; }
  void SetShowGlyph(bool value) { m_showGlyph = value; }
  bool ShowCaption() const { return m_showCaption; }
  void SetShowCaption(bool value) { m_showCaption = value; }

  // disabled > pressed > hot > focused or active default > normal.
  int SkinState() const;

 protected:
  void PaintFace() override;
  void PaintGlyph() override;
  void PaintText() override;
  void AfterBind(bool usable, bool copied) override;

 private:
  bool m_showGlyph = true;
  bool m_showCaption = true;
};

}  // namespace vandrel
