// TWinControl: a control with a platform window of its own, made on demand. It holds child
// controls and aligns them, owns the keyboard focus and the tab order, paints its windowless
// children on WM_PAINT, and passes whatever it does not handle to the platform window procedure
// (DefaultHandler), so that a hook installed on the window sees the same messages.
#pragma once

#include <string>
#include <vector>

#include "framework/Control.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/win/Window.h"

namespace vandrel {

struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;
  UINT ClassStyle = 0;
  TCursor ClassCursor = crDefault;
};

using TKeyEvent = TEvent<void(TPersistent* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = TEvent<void(TPersistent* sender, char32_t& key)>;
using TMouseWheelEvent = TEvent<void(TPersistent* sender, TShiftState shift, int wheelDelta, TPoint mousePos, bool& handled)>;

class TWinControl : public TControl {
  VANDREL_CLASS_INFO
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // Makes the window (and the parents' windows) when there is none yet.
  HWND Handle();
  HWND Handle() const { return const_cast<TWinControl*>(this)->Handle(); }
  bool HandleAllocated() const { return m_handle != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and makes it again with the current parameters.
  void RecreateWnd();

  int ControlCount() const { return int(m_controls.size()); }
  TControl* Controls(int index) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;
  // The topmost visible child under a client point (windowless only unless allowWinControls).
  TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false) const;
  void Broadcast(TMessage& message);

  // Lays the children out: top, bottom, left, right, client, then anchors.
  void Realign();
  void DisableAlign();
  void EnableAlign();
  bool AlignDisabled() const { return m_alignLevel > 0; }
  void AlignControl(TControl* control);

  bool Showing() const;
  bool IsVisibleOnScreen() const override;
  TPoint ClientOrigin() const override;
  TRect GetClientRect() const override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetParent(TWinControl* parent) override;
  void SetText(const std::string& text) override;

  // Focus and tab order.
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return m_tabStop; }
  void SetTabStop(bool value);
  // The windowed descendants in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  void SelectFirst();

  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Client coordinates; erase: the background is erased first.
  void InvalidateRect(const TRect& r, bool erase);

  // Paints the control and its children into dc with the control's top-left at (x, y).
  void PaintTo(HDC dc, int x, int y);
  void SetChildZOrder(TControl* child, bool toFront);

  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TMouseWheelEvent OnMouseWheel;

  void Loaded() override;

 protected:
  friend class TControl;
  friend class TCustomForm;
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // Called once the window exists (children get theirs too).
  virtual void CreateHandleDone() {}
  void DestroyHandle();

  virtual void AlignControls(TControl* control, TRect& rect);
  virtual void AdjustClientRect(TRect& rect) const;
  virtual void PaintWindow(HDC dc);
  void PaintControls(HDC dc, TControl* first);
  void PaintHandler(TMessage& message);

  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(char32_t& key);
  virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
  virtual void DoEnter();
  virtual void DoExit();
  void BoundsChanged() override;
  // Keeps the bounds in step with the window after the platform moved or sized it.
  void UpdateBounds();

  // The window procedure the control hands unhandled messages to.
  const WNDPROC& DefWndProc() const { return m_defWndProc; }

 private:
  LRESULT MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  bool IsControlMouseMsg(TMessage& m);
  bool DoKeyDownMessage(TMessage& m);
  void DoAlign(TAlign align, TRect& rect, std::vector<TControl*>& done);
  void UpdateAnchors(TSize oldClient, TSize newClient);
  void ApplyShowing();

  HWND m_handle = nullptr;
  WNDPROC m_proc;
  WNDPROC m_defWndProc;
  std::vector<TControl*> m_controls;
  std::vector<TWinControl*> m_tabList;
  bool m_tabStop = false;
  int m_alignLevel = 0;
  bool m_aligning = false;
  TSize m_lastClientSize;
  bool m_lastClientValid = false;
  bool m_updatingBounds = false;
};

// The control whose window this is, or null.
TWinControl* FindControl(HWND hwnd);

}  // namespace vandrel
