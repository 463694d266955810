// Skin objects that change colour and font with the state: TSeActiveObject and TSeTextObject of
// the first family; TSeActiveSkinObject, TSeColorButtonObject and the placeholder
// TSeLinkSkinObject of the second.
#pragma once

#include <memory>
#include <string>

#include "skin/SkinObject.h"

namespace vandrel {

// The active colour and font while the window is active or the object is hot, pressed or focused.
class TSeActiveObject : public TSeSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeActiveObject(TComponent* owner);

  TColor ActiveColor() const { return m_activeColor; }
  void SetActiveColor(TColor value) { m_activeColor = value; }
  TFont* ActiveFont() const { return m_activeFont.get(); }

  TFont* GetFont() const override;
  void Draw(TCanvas& canvas) override;
  void ChangeHue(int delta) override;
  void SetCharset(int charset) override;
  void Assign(const TPersistent& source) override;

 private:
  TColor m_activeColor = clBlack;
  std::unique_ptr<TFont> m_activeFont;
};

// A font per state: hot, pressed, focused, disabled.
class TSeTextObject : public TSeSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeTextObject(TComponent* owner);

  TFont* FontHot() const { return m_fontHot.get(); }
  TFont* FontFocused() const { return m_fontFocused.get(); }
  TFont* FontPressed() const { return m_fontPressed.get(); }
  TFont* FontDisabled() const { return m_fontDisabled.get(); }

  TFont* GetFont() const override;
  void Draw(TCanvas& canvas) override;
  void ChangeHue(int delta) override;
  void SetCharset(int charset) override;
  void Assign(const TPersistent& source) override;

 private:
  std::unique_ptr<TFont> m_fontHot, m_fontFocused, m_fontPressed, m_fontDisabled;
};

// The active colour and font while hot or focused; the mouse alone makes it hot.
class TSeActiveSkinObject : public TSeSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeActiveSkinObject(TComponent* owner);

  TColor ActiveColor() const { return m_activeColor; }
  void SetActiveColor(TColor value) { m_activeColor = value; }
  TFont* ActiveFont() const { return m_activeFont.get(); }

  void Draw(TCanvas& canvas) override;
  void ChangeHue(int delta) override;
  void SetCharset(int charset) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void Assign(const TPersistent& source) override;

 private:
  TColor m_activeColor = clBlack;
  std::unique_ptr<TFont> m_activeFont;
};

// A colour and a font for each of the states hot, pressed, focused and disabled (the grid cell).
class TSeColorButtonObject : public TSeSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeColorButtonObject(TComponent* owner);

  TColor HotColor() const { return m_hotColor; }
  void SetHotColor(TColor value) { m_hotColor = value; }
  TFont* HotFont() const { return m_hotFont.get(); }
  TColor PressedColor() const { return m_pressedColor; }
  void SetPressedColor(TColor value) { m_pressedColor = value; }
  TFont* PressedFont() const { return m_pressedFont.get(); }
  TColor FocusedColor() const { return m_focusedColor; }
  void SetFocusedColor(TColor value) { m_focusedColor = value; }
  TFont* FocusedFont() const { return m_focusedFont.get(); }
  TColor DisabledColor() const { return m_disabledColor; }
  void SetDisabledColor(TColor value) { m_disabledColor = value; }
  TFont* DisabledFont() const { return m_disabledFont.get(); }

  void Draw(TCanvas& canvas) override;
  void SetCharset(int charset) override;
  void Assign(const TPersistent& source) override;

 private:
  TColor m_hotColor = clBlack, m_pressedColor = clBlack, m_focusedColor = clBlack, m_disabledColor = clBlack;
  std::unique_ptr<TFont> m_hotFont, m_pressedFont, m_focusedFont, m_disabledFont;
};

// Stands for the control LinkControl names. Only state 1, which nothing sets at run time, draws
// it: a labelled white box.
class TSeLinkSkinObject : public TSeSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeLinkSkinObject(TComponent* owner) : TSeSkinObject(owner) {}

  const std::string& LinkControl() const { return m_linkControl; }
  void SetLinkControl(const std::string& value) { m_linkControl = value; }

  void Draw(TCanvas& canvas) override;
  void Assign(const TPersistent& source) override;

 private:
  std::string m_linkControl;
};

}  // namespace vandrel
