// TSeSkinScrollBar: the scroll bar drawn from the skin object "ScrollBar": the whole control
// from its frame ("HorzFrame"/"VertFrame", else "Frame"), whose height or width becomes the bar's
// thickness; the buttons from "LeftButton"/"TopButton" and "RightButton"/"BottomButton", whose
// width or height is the button size; the thumb from "HorzSlider"/"VertSlider", else "Slider".
// The copy is not linked to the bar: its objects send it no change notifications.
#pragma once

#include "skincontrols/ScrollBar.h"
#include "skincontrols/SkinControl.h"

namespace vandrel {

class TSeSkinScrollBar : public TSeSkinControl<TSeCustomScrollBar> {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinScrollBar(TComponent* owner);

  int GetButtonSize() override;
  // disabled > pressed > hot > normal, for a button and for the thumb (pressed while dragged).
  int ButtonSkinState(TPart part) const;
  int ThumbSkinState() const;

 protected:
  void PaintFirstButton() override;
  void PaintSecondButton() override;
  void PaintThumb() override;
  void PaintTrack() override;
  void PaintBorder() override;
  void PaintClient() override;
  void AfterBind(bool usable, bool copied) override;

 private:
  // The first of the two names the skin has, for this kind; null with neither.
  const char* FrameName() const;
  const char* SliderName() const;
  ISeSkinObject* Frame() const;
};

}  // namespace vandrel
