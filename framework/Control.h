// TControl: a visual component with bounds inside a windowed parent, alignment, anchors and size
// constraints, visibility, colour and font (own or the parent's), hint, cursor, reading order,
// mouse handling with capture and clicks, and the message path every control shares:
// Perform -> WndProc -> Dispatch -> DefaultHandler. Descendants extend Dispatch for the messages
// they handle and call the base for the rest, as an inherited message handler would.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/Component.h"
#include "framework/ControlMessages.h"
#include "framework/Font.h"
#include "framework/SmallSet.h"
#include "platform/core/Color.h"
#include "platform/core/Geometry.h"

namespace vandrel {

class TControl;
class TWinControl;
class TCustomForm;
class TBasicAction;
class TControlActionLink;
class TSizeConstraints;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSmallSet<TAnchorKind>;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TMouseBtn { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSmallSet<TShiftStateFlag>;

enum TControlStyleFlag {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
  csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
  csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents,
};
using TControlStyle = TSmallSet<TControlStyleFlag>;
enum TControlStateFlag { csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle };
using TControlState = TSmallSet<TControlStateFlag>;

using TCursor = int;
enum : TCursor {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
  crSizeNWSE = -8, crSizeWE = -9, crHourGlass = -11, crNo = -12, crSizeAll = -22, crHandPoint = -21,
};

// What a control tells the hint window through CM_HINTSHOW.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;        // screen
  int HintMaxWidth = 0;
  std::string HintStr;
  TRect CursorRect;      // client coordinates of HintControl; the hint goes when the mouse leaves it
  TPoint CursorPos;      // client coordinates
  int ReshowTimeout = 0;
  int HideTimeout = 0;
};

using TMouseEvent = TEvent<void(TPersistent* sender, TMouseBtn button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = TEvent<void(TPersistent* sender, TShiftState shift, int x, int y)>;

// The shift state of a mouse message's wParam plus the keyboard's Alt.
TShiftState ShiftStateFromMouse(WPARAM keys);
TShiftState CurrentShiftState();

class TControl : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return m_parent; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return m_left; }
  int Top() const { return m_top; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  void SetLeft(int v) { SetBounds(v, m_top, m_width, m_height); }
  void SetTop(int v) { SetBounds(m_left, v, m_width, m_height); }
  void SetWidth(int v) { SetBounds(m_left, m_top, v, m_height); }
  void SetHeight(int v) { SetBounds(m_left, m_top, m_width, v); }
  // Constraints apply; a change realigns the parent and fires OnResize.
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(m_left, m_top, m_width, m_height); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }

  // The area children are aligned in, client coordinates.
  virtual TRect GetClientRect() const;
  TRect ClientRect() const { return GetClientRect(); }
  int ClientWidth() const { return GetClientRect().Width(); }
  int ClientHeight() const { return GetClientRect().Height(); }
  virtual void SetClientWidth(int value);
  virtual void SetClientHeight(int value);
  // Client (0, 0) on the screen.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const { return p + ClientOrigin(); }
  TPoint ScreenToClient(TPoint p) const { return p - ClientOrigin(); }
  // From this control's client coordinates to those of an ancestor (null: the screen).
  TPoint ClientToParent(TPoint p, const TWinControl* ancestor = nullptr) const;

  TAlign Align() const { return m_align; }
  void SetAlign(TAlign align);
  TAnchors Anchors() const { return m_anchors; }
  void SetAnchors(TAnchors anchors);
  TSizeConstraints* Constraints() const { return m_constraints.get(); }

  bool Visible() const { return m_visible; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return m_enabled; }
  virtual void SetEnabled(bool enabled);
  // Visible with every parent up to a top-level control.
  virtual bool IsVisibleOnScreen() const;

  TColor Color() const { return m_color; }
  void SetColor(TColor color);
  bool ParentColor() const { return m_parentColor; }
  void SetParentColor(bool value);
  TFont* Font() const { return m_font.get(); }
  void SetFont(const TFont& font) { m_font->Assign(font); }
  bool ParentFont() const { return m_parentFont; }
  void SetParentFont(bool value);

  const std::string& Text() const { return m_text; }
  virtual void SetText(const std::string& text);
  const std::string& Caption() const { return m_text; }
  void SetCaption(const std::string& text) { SetText(text); }

  const std::string& Hint() const { return m_hint; }
  void SetHint(const std::string& hint) { m_hint = hint; }
  bool ShowHint() const { return m_showHint; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return m_parentShowHint; }
  void SetParentShowHint(bool value);
  TCursor Cursor() const { return m_cursor; }
  void SetCursor(TCursor cursor);

  TBiDiMode BiDiMode() const { return m_biDiMode; }
  void SetBiDiMode(TBiDiMode mode);
  bool ParentBiDiMode() const { return m_parentBiDiMode; }
  void SetParentBiDiMode(bool value);
  bool UseRightToLeftAlignment() const { return m_biDiMode == bdRightToLeft; }
  bool UseRightToLeftReading() const { return m_biDiMode != bdLeftToRight; }

  TControlStyle ControlStyle() const { return m_controlStyle; }
  void SetControlStyle(TControlStyle style) { m_controlStyle = style; }
  TControlState ControlState() const { return m_controlState; }
  void SetControlState(TControlState state) { m_controlState = state; }

  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);
  TPopupMenu* PopupMenu() const { return m_popupMenu; }
  void SetPopupMenu(TPopupMenu* menu);

  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void WndProc(TMessage& message);
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  // Fires OnClick (or runs the action); descendants that click themselves call it.
  virtual void Click();
  virtual void DblClick();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;

  void Loaded() override;

 protected:
  friend class TWinControl;
  friend class TControlActionLink;
  void Notification(TComponent* component, TOperation operation) override;

  virtual void MouseDown(TMouseBtn button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseBtn button, TShiftState shift, int x, int y);
  virtual void Resize();
  virtual void ActionChange(TBasicAction* sender, bool checkDefaults);
  // Asks the parent to realign (unless loading).
  void RequestAlign();
  // The parent's font, colour, hint flag or reading order changed.
  void ParentPropertyChanged();
  TControlActionLink* ActionLink() const { return m_actionLink.get(); }
  // Called after the bounds changed (windowed controls move their window).
  virtual void BoundsChanged() {}
  // The rectangle the control occupies in its parent, clipped to what it shows.
  TRect InvalidateArea() const { return BoundsRect(); }

  TWinControl* m_parent = nullptr;
  int m_left = 0;
  int m_top = 0;
  int m_width = 0;
  int m_height = 0;
  // The anchor distances to the parent's right and bottom edges, kept while anchored.
  TSize m_anchorRest;
  bool m_anchorRestValid = false;

 private:
  void MouseMessage(TMessage& m, bool down, TMouseBtn button, bool dbl);
  void FontChanged();

  TAlign m_align = alNone;
  TAnchors m_anchors{akLeft, akTop};
  std::unique_ptr<TSizeConstraints> m_constraints;
  bool m_visible = true;
  bool m_enabled = true;
  TColor m_color = clWindow;
  bool m_parentColor = true;
  std::unique_ptr<TFont> m_font;
  bool m_parentFont = true;
  bool m_settingParentFont = false;
  std::string m_text;
  std::string m_hint;
  bool m_showHint = false;
  bool m_parentShowHint = true;
  TCursor m_cursor = crDefault;
  TBiDiMode m_biDiMode = bdLeftToRight;
  bool m_parentBiDiMode = true;
  TControlStyle m_controlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState m_controlState;
  std::unique_ptr<TControlActionLink> m_actionLink;
  TPopupMenu* m_popupMenu = nullptr;
  // Shows the popup menu at a screen point; false without a menu that pops up by itself.
  bool DoContextPopup(TPoint screenPt);
};

// Whether key is the accelerator of caption: the character after a single "&", ASCII case ignored.
bool IsAccel(char32_t key, const std::string& caption);

// The form a control sits on (the top-level form of its parent chain), or null.
TCustomForm* GetParentForm(const TControl* control);

// The control that holds the mouse capture (a windowless one gets it through its parent's window).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control under the mouse, as last seen by the message path; enter and leave notifications
// go out when it changes.
TControl* MouseControl();
void UpdateMouseControl(TPoint screenPt);
// The deepest control at a screen point (windowless children included), or null.
TControl* FindControlAtScreen(TPoint screenPt, bool allowDisabled = true);

}  // namespace vandrel
