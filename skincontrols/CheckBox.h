// TSeCustomCheckBox: a focusable check glyph with a caption, two or three states. It holds the
// state cycle, mouse and keyboard handling and a look of its own (the platform's classic check
// glyph); the skinned check box replaces GetCheckSize and PaintCheck and takes the caption font
// from its skin.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "framework/PressTracker.h"
#include "skincontrols/CustomControl.h"

namespace vandrel {

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
// The skinned controls' text alignment; the check box uses the first two values only.
enum TSeAlignment { ktaLeftJustify, ktaRightJustify, ktaCenter };
using TSeLeftRight = TSeAlignment;

inline constexpr std::array<std::string_view, 3> kCheckBoxStateNames = {"cbUnchecked", "cbChecked", "cbGrayed"};
inline constexpr std::array<std::string_view, 2> kLeftRightNames = {"ktaLeftJustify", "ktaRightJustify"};
static_assert(kCheckBoxStateNames.size() == size_t(cbGrayed) + 1);
static_assert(kLeftRightNames.size() == size_t(ktaRightJustify) + 1);

class TSeCustomCheckBox : public TSeCustomControl {
  VANDREL_CLASS_INFO
 public:
  explicit TSeCustomCheckBox(TComponent* owner);

  TCheckBoxState State() const { return m_state; }
  // A change fires OnClick, also when made by code (but not while loading).
  void SetState(TCheckBoxState value);
  bool Checked() const { return m_state == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  int Spacing() const { return m_spacing; }
  void SetSpacing(int value);
  TSeLeftRight Alignment() const { return m_alignment; }
  void SetAlignment(TSeLeftRight value);
  bool AllowGrayed() const { return m_allowGrayed; }
  void SetAllowGrayed(bool value) { m_allowGrayed = value; }
  bool WordWrap() const { return m_wordWrap; }
  void SetWordWrap(bool value);
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& value);

  // The left button or the space bar is held on the control.
  bool Pressed() const { return m_press.Pressed(); }
  // Where the glyph and the caption go in the current size and font.
  TRect CheckRect();
  TRect CaptionRect();

  void Click() override;
  void Dispatch(TMessage& message) override;

 protected:
  virtual TSize GetCheckSize();
  virtual void PaintCheck();
  // The caption and, while focused, the focus frame around it.
  virtual void PaintCaption();
  // Advances the state by one click.
  virtual void Toggle();

  void PaintClient() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;

 private:
  TRect MeasureCaption(TCanvas& canvas);

  TCheckBoxState m_state = cbUnchecked;
  int m_spacing = 5;
  // The pressed look does not follow the pointer, and a release on the right or bottom edge
  // still toggles.
  TPressTracker m_press{{.FollowPointer = false, .FollowAnyHold = false, .EdgesInside = true}};
  TSeLeftRight m_alignment = ktaLeftJustify;
  bool m_allowGrayed = false;
  bool m_wordWrap = false;
  std::string m_caption = "CheckBox";
};

}  // namespace vandrel
