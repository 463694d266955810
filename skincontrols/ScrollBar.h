// TSeCustomScrollBar: a windowless scroll bar with two arrow buttons, a track and a thumb whose
// length follows the page size. It owns the geometry (pure functions of size, border, buttons and
// values), the value logic, scrolling by line, page, drag and auto-repeat at the keyboard's repeat
// timing, and a look of its own from classic frame-control pieces. The skinned scroll bar replaces
// the pieces and the button size.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "framework/Event.h"
#include "framework/PressTracker.h"
#include "skincontrols/GraphicControl.h"

namespace vandrel {

class TTimer;

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TSeScrollCode { kscLineUp, kscLineDown, kscPageUp, kscPageDown, kscPosition, kscTrack, kscTop, kscBottom,
                     kscEndScroll };
using TSeScrollEvent = TEvent<void(TPersistent* sender, TSeScrollCode code, int& position)>;

inline constexpr std::array<std::string_view, 2> kScrollBarKindNames = {"sbHorizontal", "sbVertical"};
static_assert(kScrollBarKindNames.size() == size_t(sbVertical) + 1);

class TSeCustomScrollBar : public TSeGraphicControl {
  VANDREL_CLASS_INFO
 public:
  explicit TSeCustomScrollBar(TComponent* owner);
  ~TSeCustomScrollBar() override;

  int Position() const { return m_position; }
  void SetPosition(int value);
  int Min() const { return m_min; }
  void SetMin(int value);
  int Max() const { return m_max; }
  void SetMax(int value);
  int PageSize() const { return m_pageSize; }
  void SetPageSize(int value);
  TScrollBarKind Kind() const { return m_kind; }
  void SetKind(TScrollBarKind value);
  bool ShowButtons() const { return m_showButtons; }
  void SetShowButtons(bool value);
  int BorderWidth() const { return m_borderWidth; }
  void SetBorderWidth(int value);
  // Both steps stay within 1..32767.
  int LargeChange() const { return m_largeChange; }
  void SetLargeChange(int value);
  int SmallChange() const { return m_smallChange; }
  void SetSmallChange(int value);

  // One scroll step for a key (page up/down, home, end, the arrows): the new position, clamped,
  // goes through DoScroll and is then set. Other keys do nothing. False when a handler freed the
  // control.
  bool ScrollStep(WORD key);

  // Geometry in the control's own coordinates.
  virtual int GetButtonSize();
  virtual int GetThumbLength();
  virtual TRect GetFirstButtonRect();
  virtual TRect GetSecondButtonRect();
  virtual TRect GetThumbRect();
  virtual TRect GetTrackRect();
  virtual TRect GetTrackBeforeRect();
  virtual TRect GetTrackAfterRect();
  // Right and bottom edges are outside.
  virtual bool InFirstButton(TPoint p);
  virtual bool InSecondButton(TPoint p);
  virtual bool InThumb(TPoint p);
  virtual bool InTrackBefore(TPoint p);
  virtual bool InTrackAfter(TPoint p);
  // The first pixel of the thumb along the axis, and the position a thumb starting at pixel p
  // stands for.
  int ThumbStart();
  int PositionFromPixel(int p);

  // What the pointer is over, what the left button went down on, and the drag.
  enum TPart { spFirstButton, spSecondButton, spTrackBefore, spTrackAfter };
  bool PartHot(TPart part) const { return m_parts[part].Hot(); }
  bool PartDown(TPart part) const { return m_parts[part].Tracking(); }
  // The button went down on the part and the pointer is still over it.
  bool PartPressed(TPart part) const { return PartDown(part) && PartHot(part); }
  bool ThumbHot() const { return m_thumbHot; }
  bool Dragging() const { return m_grabDistance >= 0; }
  // The auto-repeat timer, once a press has started it.
  TTimer* RepeatTimer() const { return m_repeatTimer; }

  void Dispatch(TMessage& message) override;

  TNotifyEvent OnChange;
  TSeScrollEvent OnScroll;

 protected:
  virtual void PaintFirstButton();
  virtual void PaintSecondButton();
  virtual void PaintTrackBefore();
  virtual void PaintTrackAfter();
  virtual void PaintThumb();
  virtual void PaintTrack();
  virtual void PaintBorder();
  virtual void DoChange();
  virtual void DoScroll(TSeScrollCode code, int& position);

  void PaintClient() override;
  // The unskinned sequence: border, track, buttons, and the thumb with pressed track parts.
  void PaintPieces();
  bool ThumbVisible();
  void MouseLeave() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;

 private:
  bool Horizontal() const { return m_kind == sbHorizontal; }
  int Along(TPoint p) const { return Horizontal() ? p.X : p.Y; }
  // A rectangle from `start` to `end` along the axis, across the track's full extent.
  TRect AlongTrack(int start, int end);
  TRect PartRect(TPart part);
  // The step's position through DoScroll and into Position; false when the handler freed this.
  bool ApplyScroll(TSeScrollCode code, int position);
  // Recomputes every hot flag at p; true when one changed.
  bool UpdateHot(TPoint p);
  void StartRepeat(bool immediate);
  void RepeatTick();
  static UINT RepeatDelay();
  static UINT RepeatInterval();

  TPoint m_lastPointer{-1, -1};
  TTimer* m_repeatTimer = nullptr;
  int m_grabDistance = -1;
  bool m_thumbHot = false;
  // Pressed follows the pointer: a part shows pressed only while the pointer is back over it.
  std::array<TPressTracker, 4> m_parts;
  int m_position = 0;
  int m_min = 0;
  int m_borderWidth = 1;
  int m_max = 100;
  int m_pageSize = 0;
  TScrollBarKind m_kind = sbHorizontal;
  bool m_showButtons = true;
  int m_largeChange = 1;
  int m_smallChange = 1;
};

}  // namespace vandrel
