// TSeCustomButton: a focusable push button with a caption and an optional glyph, behaving as a
// dialog button: kind presets (OK, Cancel, ...), a modal result given to its form, default and
// cancel roles for Enter and Escape, accelerators and an action link. Its own look is a bevelled
// face; the skinned button replaces PaintFace, PaintGlyph and PaintText.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Bitmap.h"
#include "framework/DialogButton.h"
#include "framework/Form.h"
#include "framework/PressTracker.h"
#include "skincontrols/CustomControl.h"

namespace vandrel {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TSeButtonState { kbsNormal, kbsPressed };
using TNumGlyphs = int;  // 1..4

inline constexpr std::array<std::string_view, 4> kButtonLayoutNames = {"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                                                       "blGlyphBottom"};
inline constexpr std::array<std::string_view, 11> kBitBtnKindNames = {
    "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"};
inline constexpr std::array<std::string_view, 2> kSeButtonStateNames = {"kbsNormal", "kbsPressed"};
static_assert(kButtonLayoutNames.size() == size_t(blGlyphBottom) + 1);
static_assert(kBitBtnKindNames.size() == size_t(bkAll) + 1);
static_assert(kSeButtonStateNames.size() == size_t(kbsPressed) + 1);

class TSeCustomButton : public TSeCustomControl, public IPushButton {
  VANDREL_CLASS_INFO
 public:
  explicit TSeCustomButton(TComponent* owner);
  ~TSeCustomButton() override;

  // Whether the button currently answers Enter as its form's default button.
  bool ActiveDefault() const { return m_roles.ActiveDefault(); }
  bool Default() const { return m_roles.Default(); }
  void SetDefault(bool value);
  TBitmap* Glyph() const { return m_glyph.get(); }
  // Copies the picture.
  void SetGlyph(const TBitmap& value);
  TButtonLayout Layout() const { return m_layout; }
  void SetLayout(TButtonLayout value);
  TBitBtnKind Kind() const { return m_kind; }
  void SetKind(TBitBtnKind value);
  TNumGlyphs NumGlyphs() const { return m_numGlyphs; }
  void SetNumGlyphs(TNumGlyphs value);
  int Spacing() const { return m_spacing; }
  void SetSpacing(int value);
  TSeButtonState State() const { return m_state; }
  void SetState(TSeButtonState value) { m_state = value; }
  TModalResult ModalResult() const { return m_modalResult; }
  void SetModalResult(TModalResult value) { m_modalResult = value; }
  bool BlackAndWhiteGlyph() const { return m_blackAndWhiteGlyph; }
  void SetBlackAndWhiteGlyph(bool value);
  bool Cancel() const { return m_roles.Cancel(); }
  void SetCancel(bool value) { m_roles.SetCancel(value); }
  bool WordWrap() const { return m_wordWrap; }
  void SetWordWrap(bool value);
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& value);

  // Layout of the content in the current size and font.
  TRect ContentBounds();
  TRect TextRect();
  TRect GlyphRect();
  // The caption's extent as drawn, centred in the text rectangle.
  TRect CaptionRect();

  // Gives the parent form the modal result, then fires OnClick (or runs the action).
  void Click() override;
  void Loaded() override;
  void Dispatch(TMessage& message) override;

 protected:
  // The rectangle that holds glyph and caption together.
  virtual TRect GetContentBounds();
  virtual TRect GetTextRect();
  virtual TRect GetGlyphRect();
  virtual void PaintFace();
  virtual void PaintGlyph();
  virtual void PaintText();

  void PaintClient() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  void ActionChange(TBasicAction* sender, bool checkDefaults) override;

  bool HasGlyph() const { return !m_glyph->Empty(); }
  TSize GlyphSize() const;
  // The caption's extent in the canvas's font, placed in the text rectangle.
  TRect PlaceCaption(TCanvas& canvas);
  // The caption once, or embossed when disabled, in the canvas's font.
  void DrawCaption(TCanvas& canvas, bool emboss);

 private:
  void GlyphChanged();
  void SetActiveDefault(bool) {}
  bool IsGlyphStored() const { return !m_glyphFromAction; }
  TSize CaptionExtent(TCanvas& canvas);

  TDialogButtonRoles m_roles;
  // Follows only a mouse press; the look itself is State, which callers may also set.
  TPressTracker m_press;
  std::unique_ptr<TBitmap> m_glyph;
  TButtonLayout m_layout = blGlyphLeft;
  TBitBtnKind m_kind = bkCustom;
  TNumGlyphs m_numGlyphs = 1;
  int m_spacing = 4;
  TSeButtonState m_state = kbsNormal;
  TModalResult m_modalResult = mrNone;
  bool m_blackAndWhiteGlyph = false;
  bool m_wordWrap = false;
  std::string m_caption;
  bool m_glyphFromAction = false;
};

}  // namespace vandrel
