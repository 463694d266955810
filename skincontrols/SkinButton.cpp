#include "skincontrols/SkinButton.h"

namespace vandrel {

const TClassInfo& TSeSkinButton::StaticClassInfo() {
  using T = TSeSkinButton;
  static const TClassInfo info = [] {
    std::vector<TPropertyInfo> properties = SkinBindingProperties<T>();
    properties.push_back(prop::Boolean("ShowGlyph", &T::ShowGlyph, &T::SetShowGlyph, true));
    properties.push_back(prop::Boolean("ShowCaption", &T::ShowCaption, &T::SetShowCaption, true));
    return TClassInfo("TSeSkinButton", &TSeCustomButton::StaticClassInfo(), ComponentFactory<T>(),
                      std::move(properties));
  }();
  return info;
}

TSeSkinButton::TSeSkinButton(TComponent* owner) : TSeSkinControl(owner, "Button") {}

int TSeSkinButton::SkinState() const {
  if (!Enabled()) return kStateDisabled;
  if (State() == kbsPressed) return kStatePressed;
  if (IsHot()) return kStateHot;
  if (IsFocused() || ActiveDefault()) return kStateFocused;
  return kStateNormal;
}

void TSeSkinButton::PaintFace() {
  if (!SkinAvailable()) {
    TSeCustomButton::PaintFace();
    return;
  }
  ISeSkinObject* face = SkinPart("Face");
  if (!face) face = Skin().Bound();
  face->SetState(SkinState());
  face->SetBounds({0, 0, CachedWidth(), CachedHeight()});
  face->Draw(*Canvas());
}

void TSeSkinButton::PaintGlyph() {
  if (SkinAvailable() && !m_showGlyph) return;
  TSeCustomButton::PaintGlyph();
}

void TSeSkinButton::PaintText() {
  if (!SkinAvailable() || !m_showCaption) {
    TSeCustomButton::PaintText();
    return;
  }
  TFont* font = nullptr;
  if (ISeSkinObject* text = SkinPart("Text")) {
    text->SetState(SkinState());
    font = text->GetFont();
  } else {
    font = Skin().Bound()->GetFont();
  }
  TCanvas& canvas = *Canvas();
  canvas.SetFont(font ? *font : *WorkingFont());
  // The skin's own disabled font stands for the embossing.
  DrawCaption(canvas, false);
}

void TSeSkinButton::AfterBind(bool, bool copied) {
  if (!copied) return;
  if (ISeSkinObject* face = Skin().FindObject("Face"))
    if (const std::optional<bool> seeThrough = face->SeeThrough()) SetTransparent(*seeThrough);
}

}  // namespace vandrel
