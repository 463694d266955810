#include "skincontrols/SkinCheckBox.h"

#include "framework/Font.h"

namespace vandrel {

namespace {

const char* GlyphName(TCheckBoxState state) {
  switch (state) {
    case cbChecked: return "Checked";
    case cbGrayed: return "Mixed";
    case cbUnchecked: break;
  }
  return "Unchecked";
}

}  // namespace

const TClassInfo& TSeSkinCheckBox::StaticClassInfo() {
  using T = TSeSkinCheckBox;
  static const TClassInfo info("TSeSkinCheckBox", &TSeCustomCheckBox::StaticClassInfo(), ComponentFactory<T>(),
                               SkinBindingProperties<T>());
  return info;
}

TSeSkinCheckBox::TSeSkinCheckBox(TComponent* owner) : TSeSkinControl(owner, "CheckBox") {}

int TSeSkinCheckBox::SkinState() const {
  if (!Enabled()) return kStateDisabled;
  if (IsHot()) return kStateHot;
  if (IsFocused()) return kStateFocused;
  return kStateNormal;
}

TSize TSeSkinCheckBox::GetCheckSize() {
  if (ISeSkinObject* checked = SkinPart("Checked")) return {checked->Width(), checked->Height()};
  return TSeCustomCheckBox::GetCheckSize();
}

void TSeSkinCheckBox::PaintCheck() {
  if (!SkinAvailable()) {
    TSeCustomCheckBox::PaintCheck();
    return;
  }
  const int state = SkinState();
  ISeSkinObject* glyph = SkinPart(GlyphName(State()));
  if (glyph) {
    glyph->SetState(state);
    glyph->SetBounds(CheckRect());
    glyph->Draw(*Canvas());
  }
  TFont* font = nullptr;
  if (ISeSkinObject* text = SkinPart("Text")) {
    text->SetState(state);
    font = text->GetFont();
  } else if (glyph) {
    font = glyph->GetFont();
  }
  if (font) WorkingFont()->Assign(*font);
}

void TSeSkinCheckBox::AfterBind(bool, bool copied) {
  if (!copied) return;
  ISeSkinObject* source = Skin().FindObject("Text");
  if (!source) source = Skin().Bound();
  if (TFont* font = source->GetFont()) Font()->Assign(*font);
}

}  // namespace vandrel
