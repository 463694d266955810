#include "skincontrols/SkinPanel.h"

#include "graphics/PaintHelpers.h"
#include "graphics/TextHelpers.h"
#include "platform/gdi/DrawText.h"

namespace vandrel {

const TClassInfo& TSeSkinPanel::StaticClassInfo() {
  using T = TSeSkinPanel;
  static const TClassInfo info("TSeSkinPanel", &TSeCustomPanel::StaticClassInfo(), ComponentFactory<T>(),
                               SkinBindingProperties<T>());
  return info;
}

TSeSkinPanel::TSeSkinPanel(TComponent* owner) : TSeSkinControl(owner, "Panel") {}

int TSeSkinPanel::ButtonSkinState() const {
  if (ButtonPressed()) return kStatePressed;
  if (ButtonHot()) return kStateHot;
  return kStateNormal;
}

void TSeSkinPanel::PaintBackground() {
  if (!SkinAvailable()) {
    TSeCustomPanel::PaintBackground();
    return;
  }
  DrawPart("Frame", kStateNormal, {0, 0, CachedWidth(), CachedHeight()});
}

void TSeSkinPanel::PaintCaption() {
  if (!SkinAvailable()) {
    TSeCustomPanel::PaintCaption();
    return;
  }
  if (!ShowCaption()) return;
  TCanvas& canvas = *Canvas();
  TRect c;
  GetCaptionRect(c);
  if (!Transparent()) FillColorRect(canvas, c, Parent() ? Parent()->Color() : Color());
  ISeSkinObject* bar = SkinPart("Caption");
  if (bar) {
    if (ISeSkinObject* title = SkinPart("Title")) bar = title;
    bar->SetText(Caption());
    bar->SetBounds(c);
    bar->Draw(canvas);
    if (TFont* font = bar->GetFont()) canvas.SetFont(*font);
  } else {
    c.Left += 5;
    c.Right -= 5;
    canvas.SetFont(*Font());
    DrawWideText(canvas, Caption(), c, BiDiTextFlags(DT_SINGLELINE | DT_VCENTER, true));
  }
  if (!ShowButton()) return;
  const char* name = ButtonKind() == pbkHide ? "ButtonHide" : Rolled() ? "ButtonRolldown" : "ButtonRollup";
  const int state = ButtonSkinState();
  if (!DrawPart(name, state, ButtonRect())) DrawPart("Button", state, ButtonRect());
}

void TSeSkinPanel::AfterBind(bool usable, bool copied) {
  if (copied) {
    if (ISeSkinObject* bar = Skin().FindObject("Caption")) {
      // The panel's own height is kept before the first skin replaces it, so that losing the
      // skin gives the panel its own height back rather than the skin's.
      if (m_savedCaptionHeight == 0) m_savedCaptionHeight = CaptionHeight();
      SetCaptionHeight(bar->Height());
    }
    if (ISeSkinObject* frame = Skin().FindObject("Frame"))
      if (const std::optional<bool> seeThrough = frame->SeeThrough()) SetTransparent(*seeThrough);
  } else if (usable) {
    if (m_savedCaptionHeight != 0) SetCaptionHeight(m_savedCaptionHeight);
  } else {
    if (m_savedCaptionHeight == 0) m_savedCaptionHeight = CaptionHeight();
    SetCaptionHeight(m_savedCaptionHeight);
  }
}

}  // namespace vandrel
