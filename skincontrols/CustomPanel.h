// TSeCustomPanel: a container with an optional caption bar across its top and a button at the
// bar's right end that rolls the panel up to the bar and down again, or hides it. Its own look is
// a plain body with an etched bevel; a skinned panel draws the same parts from its skin object.
#pragma once

#include <string>

#include "framework/PressTracker.h"
#include "skincontrols/CustomControl.h"

namespace vandrel {

enum TSePanelButtonKind { pbkRoll, pbkHide };

class TSeCustomPanel : public TSeCustomControl {
  VANDREL_CLASS_INFO
 public:
  explicit TSeCustomPanel(TComponent* owner);

  int CaptionHeight() const { return m_captionHeight; }
  void SetCaptionHeight(int value);
  bool ShowCaption() const { return m_showCaption; }
  void SetShowCaption(bool value);
  // BorderWidth and BevelWidth (the control base's properties) are the panel's margin and bevel
  // here: the panel draws its own frame, so the base's frame takes no room.
  bool ShowBevel() const { return m_showBevel; }
  void SetShowBevel(bool value);
  bool ShowButton() const { return m_showButton; }
  void SetShowButton(bool value);
  TSePanelButtonKind ButtonKind() const { return m_buttonKind; }
  void SetButtonKind(TSePanelButtonKind value);
  bool Rolled() const { return m_rolled; }
  void SetRolled(bool value);
  // The height unrolling returns to.
  int NormalHeight() const { return m_normalHeight; }
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& value);
  const std::string& ButtonHint() const { return m_buttonHint; }
  void SetButtonHint(const std::string& value) { m_buttonHint = value; }
  const std::string& CaptionHint() const { return m_captionHint; }
  void SetCaptionHint(const std::string& value) { m_captionHint = value; }
  TCursor ButtonCursor() const { return m_buttonCursor; }
  void SetButtonCursor(TCursor value) { m_buttonCursor = value; }
  TCursor CaptionCursor() const { return m_captionCursor; }
  void SetCaptionCursor(TCursor value) { m_captionCursor = value; }
  bool AnimateRoll() const { return m_animateRoll; }
  void SetAnimateRoll(bool value) { m_animateRoll = value; }
  bool ParentRoll() const { return m_parentRoll; }
  void SetParentRoll(bool value) { m_parentRoll = value; }

  bool ButtonHot() const { return m_button.Hot(); }
  bool ButtonPressed() const { return m_button.Pressed(); }
  // The square at the caption bar's right end, shrunk by 2; empty without caption or button.
  TRect ButtonRect() const;

  TRect GetClientRect() const override;
  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;
  void Dispatch(TMessage& message) override;
  void DefineProperties(TFiler& filer) override;

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnRollup;
  TNotifyEvent OnHide;
  TNotifyEvent OnBeforeRoll;

 protected:
  virtual void GetCaptionRect(TRect& rect) const;
  virtual void PaintCaption();
  virtual void PaintBackground();
  void PaintClient() override;
  void GetContentRect(TRect& rect) const override;
  void BorderChanged() override;
  void MouseLeave() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  virtual void ButtonClick();

 private:
  void RollUp();
  void Unroll();
  void StepHeight(int height);
  void InvalidateButton();
  void Realigned();

  int m_captionHeight = 20;
  bool m_showCaption = true;
  bool m_showBevel = true;
  bool m_showButton = true;
  // A held mouse button presses the caption button whenever the pointer is over it.
  TPressTracker m_button{{.FollowPointer = true, .FollowAnyHold = true, .EdgesInside = false}};
  bool m_rolled = false;
  int m_normalHeight = 0;
  TSePanelButtonKind m_buttonKind = pbkRoll;
  std::string m_caption;
  std::string m_buttonHint;
  std::string m_captionHint;
  TCursor m_buttonCursor = crDefault;
  TCursor m_captionCursor = crDefault;
  bool m_animateRoll = false;
  bool m_parentRoll = false;
};

}  // namespace vandrel
