// TSeCustomControl: the base of the skinned windowed controls. It owns the paint pipeline they
// share: three buffering modes, see-through painting that first has the parent paint what lies
// behind the control, translucency over that background, a frame of bevels and border rings
// around a content rectangle, and the hot and focused flags that descendants turn into looks.
// It knows nothing of skins; the skin binding of each concrete control sits on top of it.
#pragma once

#include <memory>

#include "framework/CustomControl.h"
#include "skincontrols/PaintOptions.h"

namespace vandrel {

class TSeCustomControl : public TCustomControl {
  VANDREL_CLASS_INFO
 public:
  explicit TSeCustomControl(TComponent* owner);
  ~TSeCustomControl() override;

  TSePerformance Performance() const { return m_paint.Performance(); }
  // kspNoBuffer is refused while blending is enabled: blending needs a buffer.
  void SetPerformance(TSePerformance value) { m_paint.SetPerformance(value); }
  bool Transparent() const { return m_paint.Transparent(); }
  void SetTransparent(bool value) { m_paint.SetTransparent(value); }
  TSeBlending* Blending() const { return m_paint.Blending(); }
  void SetBlending(const TSeBlending& value) { m_paint.SetBlending(value); }

  // The frame; published by the descendants that show it.
  int BorderWidth() const { return m_borderWidth; }
  void SetBorderWidth(int value);
  TSeBevelCut BevelInner() const { return m_bevelInner; }
  void SetBevelInner(TSeBevelCut value);
  TSeBevelCut BevelOuter() const { return m_bevelOuter; }
  void SetBevelOuter(TSeBevelCut value);
  TSeBevelSides BevelSides() const { return m_bevelSides; }
  void SetBevelSides(TSeBevelSides value);
  TSeBevelKind BevelKind() const { return m_bevelKind; }
  void SetBevelKind(TSeBevelKind value);
  int BevelWidth() const { return m_bevelWidth; }
  void SetBevelWidth(int value);

  // Set while the mouse is over the control / while it has the input focus.
  bool IsHot() const { return m_hot; }
  bool IsFocused() const { return m_focused; }
  // The size painting uses; it follows a resize before the platform applies it.
  int CachedWidth() const { return m_cachedWidth; }
  int CachedHeight() const { return m_cachedHeight; }

  void SetBounds(int left, int top, int width, int height) override;
  TRect GetClientRect() const override;
  void Loaded() override;
  void Dispatch(TMessage& message) override;

  // Paints into dc what the parent shows behind this control, in this control's coordinates.
  void PaintParentBackground(HDC dc);

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Paint() override;
  void CreateParams(TCreateParams& params) override;
  // The cached size follows at once, so alignment and the resize hook inside SetBounds see the
  // new size also before the control has a window.
  void BoundsChanged() override;

  // The content area; the base fills the content rectangle with Color unless Transparent.
  virtual void PaintClient();
  // What lies between the outer rectangle and the content rectangle.
  virtual void PaintBorder();
  virtual void GetContentRect(TRect& rect) const;
  virtual void BorderChanged() {}
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void FocusEnter();
  virtual void FocusLeave();

  // Right-to-left reading for text output in this control's mode; with alignToo a left or right
  // alignment is mirrored as well.
  unsigned BiDiTextFlags(unsigned flags, bool alignToo) const;
  // Descendants draw text with this copy of Font, taken at the start of every paint.
  TFont* WorkingFont() const { return m_paint.WorkingFont(); }
  // Draw the frame in the platform's visual style when one is active (never on this platform).
  bool ThemedFrame() const { return m_themedFrame; }
  void SetThemedFrame(bool value) { m_themedFrame = value; }

 private:
  void EraseBackground(TMessage& message);

  TSePaintOptions m_paint;
  bool m_focused = false;
  bool m_hot = false;
  int m_borderWidth = 0;
  TSeBevelCut m_bevelInner = kbvLowered;
  TSeBevelCut m_bevelOuter = kbvLowered;
  TSeBevelSides m_bevelSides = kAllBevelSides;
  TSeBevelKind m_bevelKind = kbkNone;
  int m_bevelWidth = 0;
  bool m_themedFrame = true;
  int m_cachedWidth = 0;
  int m_cachedHeight = 0;
};

// The frame colours of a bevel cut: outer or inner ring, top-left or bottom-right edges.
TColor BevelColor(TSeBevelCut cut, bool inner, bool topLeft);

}  // namespace vandrel
