// TSePopupWindow: the topmost, never activated tool window that shows one level of a menu, with
// its frame (TSePopupForm) and its item view (TSePopupView). It lives only while its level is open.
#pragma once

#include "framework/Form.h"
#include "platform/core/Geometry.h"

namespace vandrel {

class TCanvas;
class TSeCustomItem;
class TSePopupView;
class TSePopupWindow;

// The frame of a popup window: three classic rings around the items, 3 pixels on every side.
class TSePopupForm : public TComponent {
 public:
  explicit TSePopupForm(TSePopupWindow* window);

  TSePopupWindow* Window() const { return m_window; }
  // The control that owns the menu: the owner's owner if that is a windowed control, else the
  // owner. It keeps its active caption while the menu is used.
  TComponent* MenuOwner() const { return m_menuOwner; }
  void SetMenuOwner(TComponent* owner);
  // Width of the shadow band to the right and below the frame (none in the classic look).
  virtual int ShadowSize() const { return 0; }

  virtual TRect GetClientArea(TSize frame) const;
  virtual void PaintFrame(TCanvas& canvas, TSize frame);
  // The items, with the view's origin at the client area's top-left corner.
  void PaintBackground(TCanvas& canvas);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TSePopupWindow* m_window;
  TComponent* m_menuOwner = nullptr;
};

class TSePopupWindow : public TForm {
 public:
  // Owned by the item's owner; the view shows the item's children.
  TSePopupWindow(TComponent* owner, TSeCustomItem* item);
  ~TSePopupWindow() override;

  TSePopupForm* PopupForm() const { return m_form; }
  TSePopupView* View() const { return m_view; }

  // Measures the items and sizes the window: content + client margins + shadow.
  TSize LayoutView();
  // Shown and hidden without activation and without changing the z-order.
  void ShowNoActivate();
  void HideNoActivate();

  // Draws one item (or a scroll button) straight to the window.
  void RepaintItem(TSeCustomItem* item);
  void RepaintScrollButton(bool up);
  void RepaintAll();

  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void PaintWindow(HDC dc) override;

 private:
  TSePopupForm* m_form;
  TSePopupView* m_view;
};

// Ends every open menu level of the process (another menu is about to open).
void CloseOpenMenus();
// The menu windows tell the loop that the mouse capture went elsewhere.
void NoteMenuCaptureChanged(HWND window);

}  // namespace vandrel
