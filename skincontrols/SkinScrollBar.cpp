#include "skincontrols/SkinScrollBar.h"

#include "graphics/PaintHelpers.h"

namespace vandrel {

const TClassInfo& TSeSkinScrollBar::StaticClassInfo() {
  using T = TSeSkinScrollBar;
  static const TClassInfo info("TSeSkinScrollBar", &TSeCustomScrollBar::StaticClassInfo(), ComponentFactory<T>(),
                               SkinBindingProperties<T>());
  return info;
}

TSeSkinScrollBar::TSeSkinScrollBar(TComponent* owner) : TSeSkinControl(owner, "ScrollBar", false) {
  SetBorderWidth(0);
}

const char* TSeSkinScrollBar::FrameName() const {
  const char* own = Kind() == sbHorizontal ? "HorzFrame" : "VertFrame";
  return Skin().FindObject(own) ? own : "Frame";
}

const char* TSeSkinScrollBar::SliderName() const {
  const char* own = Kind() == sbHorizontal ? "HorzSlider" : "VertSlider";
  return Skin().FindObject(own) ? own : "Slider";
}

ISeSkinObject* TSeSkinScrollBar::Frame() const { return Skin().FindObject(FrameName()); }

int TSeSkinScrollBar::GetButtonSize() {
  if (ISeSkinObject* first = SkinPart(Kind() == sbHorizontal ? "LeftButton" : "TopButton"))
    return Kind() == sbHorizontal ? first->Width() : first->Height();
  return TSeCustomScrollBar::GetButtonSize();
}

int TSeSkinScrollBar::ButtonSkinState(TPart part) const {
  if (!Enabled()) return kStateDisabled;
  if (PartPressed(part)) return kStatePressed;
  if (PartHot(part)) return kStateHot;
  return kStateNormal;
}

int TSeSkinScrollBar::ThumbSkinState() const {
  if (!Enabled()) return kStateDisabled;
  if (Dragging()) return kStatePressed;
  if (ThumbHot()) return kStateHot;
  return kStateNormal;
}

void TSeSkinScrollBar::PaintBorder() {
  if (!SkinAvailable()) TSeCustomScrollBar::PaintBorder();
}

void TSeSkinScrollBar::PaintTrack() {
  if (!SkinAvailable()) {
    TSeCustomScrollBar::PaintTrack();
    return;
  }
  DrawPart(FrameName(), kStateNormal, {0, 0, Width(), Height()});
}

void TSeSkinScrollBar::PaintFirstButton() {
  if (!SkinAvailable()) {
    TSeCustomScrollBar::PaintFirstButton();
    return;
  }
  DrawPart(Kind() == sbHorizontal ? "LeftButton" : "TopButton", ButtonSkinState(spFirstButton), GetFirstButtonRect());
}

void TSeSkinScrollBar::PaintSecondButton() {
  if (!SkinAvailable()) {
    TSeCustomScrollBar::PaintSecondButton();
    return;
  }
  DrawPart(Kind() == sbHorizontal ? "RightButton" : "BottomButton", ButtonSkinState(spSecondButton),
           GetSecondButtonRect());
}

void TSeSkinScrollBar::PaintThumb() {
  if (!SkinAvailable()) {
    TSeCustomScrollBar::PaintThumb();
    return;
  }
  DrawPart(SliderName(), ThumbSkinState(), GetThumbRect());
}

void TSeSkinScrollBar::PaintClient() {
  TSeCustomScrollBar::PaintClient();
  if (!SkinAvailable()) return;
  // The second pass covers the first, so only the partly see-through pixels of the skin's
  // pictures are composed twice.
  PaintBorder();
  PaintTrack();
  if (ShowButtons()) {
    PaintFirstButton();
    PaintSecondButton();
  }
  if (ThumbVisible()) {
    PaintThumb();
    if (PartPressed(spTrackBefore)) FillColorRect(*Canvas(), GetTrackBeforeRect(), clBtnShadow);
    if (PartPressed(spTrackAfter)) FillColorRect(*Canvas(), GetTrackAfterRect(), clBtnShadow);
  }
}

void TSeSkinScrollBar::AfterBind(bool, bool copied) {
  if (!copied) return;
  ISeSkinObject* frame = Frame();
  if (!frame) return;
  if (Kind() == sbVertical)
    SetBounds(Left(), Top(), frame->Width(), Height());
  else
    SetBounds(Left(), Top(), Width(), frame->Height());
}

}  // namespace vandrel
