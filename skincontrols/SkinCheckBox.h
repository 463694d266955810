// TSeSkinCheckBox: the check box drawn from the skin object "CheckBox": the glyph from its
// "Unchecked", "Checked" or "Mixed" sub-object, the caption in the font of its "Text" sub-object.
#pragma once

#include "skincontrols/CheckBox.h"
#include "skincontrols/SkinControl.h"

namespace vandrel {

class TSeSkinCheckBox : public TSeSkinControl<TSeCustomCheckBox> {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinCheckBox(TComponent* owner);

  // The skin state the glyph and caption are drawn in: disabled > hot > focused > normal. Being
  // pressed plays no part in the skinned look.
  int SkinState() const;

 protected:
  TSize GetCheckSize() override;
  void PaintCheck() override;
  void AfterBind(bool usable, bool copied) override;
};

}  // namespace vandrel
