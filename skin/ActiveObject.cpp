#include "skin/ActiveObject.h"

#include "framework/Canvas.h"
#include "framework/PropertyInfo.h"
#include "graphics/PaintHelpers.h"
#include "graphics/TextHelpers.h"
#include "platform/gdi/DrawText.h"

namespace vandrel {

namespace {

std::unique_ptr<TFont> ArialFont() {
  auto font = std::make_unique<TFont>();
  font->SetName("Arial");
  font->SetColor(clBlack);
  return font;
}

void ShiftFontHue(TFont& font, int delta) { font.SetColor(ShiftColorHue(font.Color(), delta)); }

bool IsHotPressedOrFocused(int state) {
  return state == kStateHot || state == kStatePressed || state == kStateFocused;
}

template <typename T>
const T* SameKind(const TPersistent& source) {
  return dynamic_cast<const T*>(&source);
}

}  // namespace

// TSeActiveObject

const TClassInfo& TSeActiveObject::StaticClassInfo() {
  using T = TSeActiveObject;
  static const TClassInfo info("TSeActiveObject", &TSeSkinObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Color("ActiveColor", &T::ActiveColor, &T::SetActiveColor, clBlack),
      prop::Object("ActiveFont", &T::ActiveFont),
  });
  return info;
}

TSeActiveObject::TSeActiveObject(TComponent* owner) : TSeSkinObject(owner), m_activeFont(ArialFont()) {}

TFont* TSeActiveObject::GetFont() const {
  return IsHotPressedOrFocused(State()) ? m_activeFont.get() : TSeSkinObject::GetFont();
}

void TSeActiveObject::Draw(TCanvas& canvas) {
  if (!Active() && !IsHotPressedOrFocused(State())) {
    TSeSkinObject::Draw(canvas);
    return;
  }
  TStateLook look(*this, &m_activeColor, m_activeFont.get());
  TSeSkinObject::Draw(canvas);
}

void TSeActiveObject::ChangeHue(int delta) {
  m_activeColor = ShiftColorHue(m_activeColor, delta);
  ShiftFontHue(*m_activeFont, delta);
  TSeSkinObject::ChangeHue(delta);
}

void TSeActiveObject::SetCharset(int charset) {
  m_activeFont->SetCharset(charset);
  TSeSkinObject::SetCharset(charset);
}

void TSeActiveObject::Assign(const TPersistent& source) {
  TSeSkinObject::Assign(source);
  if (const auto* from = SameKind<TSeActiveObject>(source)) {
    m_activeColor = from->m_activeColor;
    m_activeFont->Assign(*from->m_activeFont);
  }
}

// TSeTextObject

const TClassInfo& TSeTextObject::StaticClassInfo() {
  using T = TSeTextObject;
  static const TClassInfo info("TSeTextObject", &TSeSkinObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Object("FontHot", &T::FontHot),
      prop::Object("FontFocused", &T::FontFocused),
      prop::Object("FontPressed", &T::FontPressed),
      prop::Object("FontDisabled", &T::FontDisabled),
  });
  return info;
}

TSeTextObject::TSeTextObject(TComponent* owner)
    : TSeSkinObject(owner),
      m_fontHot(ArialFont()),
      m_fontFocused(ArialFont()),
      m_fontPressed(ArialFont()),
      m_fontDisabled(ArialFont()) {}

TFont* TSeTextObject::GetFont() const {
  switch (State()) {
    case kStateHot: return m_fontHot.get();
    case kStatePressed: return m_fontPressed.get();
    case kStateFocused: return m_fontFocused.get();
    case kStateDisabled: return m_fontDisabled.get();
    default: return TSeSkinObject::GetFont();
  }
}

void TSeTextObject::Draw(TCanvas& canvas) {
  TFont* font = GetFont();
  if (font == Font()) {
    TSeSkinObject::Draw(canvas);
    return;
  }
  TStateLook look(*this, nullptr, font);
  TSeSkinObject::Draw(canvas);
}

void TSeTextObject::ChangeHue(int delta) {
  for (TFont* font : {m_fontHot.get(), m_fontFocused.get(), m_fontPressed.get(), m_fontDisabled.get()})
    ShiftFontHue(*font, delta);
  TSeSkinObject::ChangeHue(delta);
}

void TSeTextObject::SetCharset(int charset) {
  for (TFont* font : {m_fontHot.get(), m_fontFocused.get(), m_fontPressed.get(), m_fontDisabled.get()})
    font->SetCharset(charset);
  TSeSkinObject::SetCharset(charset);
}

void TSeTextObject::Assign(const TPersistent& source) {
  TSeSkinObject::Assign(source);
  if (const auto* from = SameKind<TSeTextObject>(source)) {
    m_fontHot->Assign(*from->m_fontHot);
    m_fontFocused->Assign(*from->m_fontFocused);
    m_fontPressed->Assign(*from->m_fontPressed);
    m_fontDisabled->Assign(*from->m_fontDisabled);
  }
}

// TSeActiveSkinObject

const TClassInfo& TSeActiveSkinObject::StaticClassInfo() {
  using T = TSeActiveSkinObject;
  static const TClassInfo info("TSeActiveSkinObject", &TSeSkinObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Color("ActiveColor", &T::ActiveColor, &T::SetActiveColor, clBlack),
      prop::Object("ActiveFont", &T::ActiveFont),
  });
  return info;
}

TSeActiveSkinObject::TSeActiveSkinObject(TComponent* owner)
    : TSeSkinObject(owner), m_activeFont(std::make_unique<TFont>()) {}

void TSeActiveSkinObject::Draw(TCanvas& canvas) {
  if (State() != kStateHot && State() != kStateFocused) {
    TSeSkinObject::Draw(canvas);
    return;
  }
  TStateLook look(*this, &m_activeColor, m_activeFont.get());
  TSeSkinObject::Draw(canvas);
}

void TSeActiveSkinObject::ChangeHue(int delta) {
  m_activeColor = ShiftColorHue(m_activeColor, delta);
  ShiftFontHue(*m_activeFont, delta);
  TSeSkinObject::ChangeHue(delta);
}

void TSeActiveSkinObject::SetCharset(int charset) {
  m_activeFont->SetCharset(charset);
  TSeSkinObject::SetCharset(charset);
}

void TSeActiveSkinObject::MouseEnter() {
  SetState(kStateHot);
  Invalidate();
}

void TSeActiveSkinObject::MouseLeave() {
  SetState(kStateNormal);
  Invalidate();
}

void TSeActiveSkinObject::Assign(const TPersistent& source) {
  TSeSkinObject::Assign(source);
  if (const auto* from = SameKind<TSeActiveSkinObject>(source)) {
    m_activeColor = from->m_activeColor;
    m_activeFont->Assign(*from->m_activeFont);
  }
}

// TSeColorButtonObject

const TClassInfo& TSeColorButtonObject::StaticClassInfo() {
  using T = TSeColorButtonObject;
  static const TClassInfo info("TSeColorButtonObject", &TSeSkinObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Color("HotColor", &T::HotColor, &T::SetHotColor, clBlack),
      prop::Object("HotFont", &T::HotFont),
      prop::Color("PressedColor", &T::PressedColor, &T::SetPressedColor, clBlack),
      prop::Object("PressedFont", &T::PressedFont),
      prop::Color("FocusedColor", &T::FocusedColor, &T::SetFocusedColor, clBlack),
      prop::Object("FocusedFont", &T::FocusedFont),
      prop::Color("DisabledColor", &T::DisabledColor, &T::SetDisabledColor, clBlack),
      prop::Object("DisabledFont", &T::DisabledFont),
  });
  return info;
}

TSeColorButtonObject::TSeColorButtonObject(TComponent* owner)
    : TSeSkinObject(owner),
      m_hotFont(std::make_unique<TFont>()),
      m_pressedFont(std::make_unique<TFont>()),
      m_focusedFont(std::make_unique<TFont>()),
      m_disabledFont(std::make_unique<TFont>()) {}

void TSeColorButtonObject::Draw(TCanvas& canvas) {
  if (Width() <= 0 || Height() <= 0) return;
  const TColor* color = nullptr;
  const TFont* font = nullptr;
  switch (State()) {
    case kStateHot: color = &m_hotColor, font = m_hotFont.get(); break;
    case kStatePressed: color = &m_pressedColor, font = m_pressedFont.get(); break;
    case kStateFocused: color = &m_focusedColor, font = m_focusedFont.get(); break;
    case kStateDisabled: color = &m_disabledColor, font = m_disabledFont.get(); break;
    default: break;
  }
  TStateLook look(*this, color, font);
  TSeSkinObject::Draw(canvas);
}

void TSeColorButtonObject::SetCharset(int charset) {
  for (TFont* font : {m_hotFont.get(), m_pressedFont.get(), m_focusedFont.get(), m_disabledFont.get()})
    font->SetCharset(charset);
  TSeSkinObject::SetCharset(charset);
}

void TSeColorButtonObject::Assign(const TPersistent& source) {
  TSeSkinObject::Assign(source);
  if (const auto* from = SameKind<TSeColorButtonObject>(source)) {
    m_hotColor = from->m_hotColor;
    m_pressedColor = from->m_pressedColor;
    m_focusedColor = from->m_focusedColor;
    m_disabledColor = from->m_disabledColor;
    m_hotFont->Assign(*from->m_hotFont);
    m_pressedFont->Assign(*from->m_pressedFont);
    m_focusedFont->Assign(*from->m_focusedFont);
    m_disabledFont->Assign(*from->m_disabledFont);
  }
}

// TSeLinkSkinObject

const TClassInfo& TSeLinkSkinObject::StaticClassInfo() {
  using T = TSeLinkSkinObject;
  static const TClassInfo info("TSeLinkSkinObject", &TSeSkinObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::String("LinkControl", &T::LinkControl, &T::SetLinkControl),
  });
  return info;
}

void TSeLinkSkinObject::Draw(TCanvas& canvas) {
  if (State() != 1 || Width() <= 0 || Height() <= 0) return;
  TRect r = BoundsRect();
  FillColorRect(canvas, r, clWhite);
  DrawFrameRect(canvas, r, clBlack);
  canvas.Font()->SetName("Arial");
  canvas.Font()->SetColor(clBlack);
  canvas.Font()->SetStyle({fsItalic});
  DrawWideText(canvas, m_linkControl, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void TSeLinkSkinObject::Assign(const TPersistent& source) {
  TSeSkinObject::Assign(source);
  if (const auto* from = SameKind<TSeLinkSkinObject>(source)) m_linkControl = from->m_linkControl;
}

}  // namespace vandrel
