// Caption buttons of both families and the panel one of them rolls up. Both button classes share
// one press tracking (normal, hot, pressed), one visibility rule by window state and border
// icons, and one set of actions on the skinned window that OwnerForm answers; without one they
// do nothing.
#pragma once

#include <memory>
#include <string>

#include "skin/BitmapObject.h"

namespace vandrel {

enum TSeButtonState { sbsNormal, sbsHot, sbsPressed };

// The press tracking of a caption button: its state and the shift state of the last mouse event.
struct TSeSysButtonTracking {
  TSeButtonState state = sbsNormal;
  TShiftState shift;
};

class TSeSystemButton : public TSeActiveBitmap {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSystemButton(TComponent* owner);

  TSeAction Action() const { return m_action; }
  void SetAction(TSeAction value) { m_action = value; }
  TseBitmapLink* BitmapHot() const { return m_bitmapHot.get(); }
  TseBitmapLink* BitmapPressed() const { return m_bitmapPressed.get(); }
  TSeButtonState ButtonState() const { return m_tracking.state; }

  void AfterLoad() override;
  void Draw(TCanvas& canvas) override;
  void SetState(int state) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseBtn button, TPoint p) override;
  void MouseMove(TShiftState shift, TPoint p) override;
  void MouseUp(TMouseBtn button, TPoint p) override;
  void DblClick(TMouseBtn button, TPoint p) override;
  void Assign(const TPersistent& source) override;

 private:
  // The children in childState and Active cleared on the subtree while picture is drawn.
  void DrawPressedOrHot(TCanvas& canvas, const TseBitmapLink& picture, int childState);
  void SetChildrenState(int state);

  TSeAction m_action = sbaNone;
  std::unique_ptr<TseBitmapLink> m_bitmapHot, m_bitmapPressed;
  TSeSysButtonTracking m_tracking;
};

class TSeSysButtonSkinObject : public TSeBitmapSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSysButtonSkinObject(TComponent* owner);

  TSeAction Action() const { return m_action; }
  void SetAction(TSeAction value) { m_action = value; }
  TseBitmapLink* BitmapHover() const { return m_bitmapHover.get(); }
  TseBitmapLink* BitmapDown() const { return m_bitmapDown.get(); }
  // The name of the roll panel an sbaRollPanel button rolls.
  const std::string& RollPanel() const { return m_rollPanel; }
  void SetRollPanel(const std::string& value) { m_rollPanel = value; }
  TSeButtonState ButtonState() const { return m_tracking.state; }

  void AfterLoad() override;
  void Draw(TCanvas& canvas) override;
  void SetState(int state) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseBtn button, TPoint p) override;
  void MouseMove(TShiftState shift, TPoint p) override;
  void MouseUp(TMouseBtn button, TPoint p) override;
  void DblClick(TMouseBtn button, TPoint p) override;
  void Assign(const TPersistent& source) override;

 private:
  std::unique_ptr<TseBitmapLink> m_bitmapHover, m_bitmapDown;
  std::string m_rollPanel;
  TSeAction m_action = sbaNone;
  TSeSysButtonTracking m_tracking;
};

// A panel that Roll shrinks to RollValue along one side and gives its size back on the next Roll.
class TSeRollPanelObject : public TSeSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeRollPanelObject(TComponent* owner) : TSeSkinObject(owner) {}

  TSeRollKind RollKind() const { return m_rollKind; }
  void SetRollKind(TSeRollKind value) { m_rollKind = value; }
  int RollValue() const { return m_rollValue; }
  void SetRollValue(int value) { m_rollValue = value; }

  void Roll();
  void Assign(const TPersistent& source) override;

 private:
  TSeRollKind m_rollKind = rkLeft;
  int m_rollValue = 0;
  int m_unrolledSize = 0;
};

}  // namespace vandrel
