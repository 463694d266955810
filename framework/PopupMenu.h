// TPopupMenu: the base of context menus. It knows the control it pops up for and the point, and
// fires OnPopup; descendants show their own menu window in Popup. A control with a PopupMenu shows
// it on a right-button release or a context-menu request.
#pragma once

#include "framework/Component.h"
#include "platform/core/Geometry.h"

namespace vandrel {

class TCustomImageList;

class TPopupMenu : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  TCustomImageList* Images() const { return m_images; }
  void SetImages(TCustomImageList* images);
  bool AutoPopup() const { return m_autoPopup; }
  void SetAutoPopup(bool value) { m_autoPopup = value; }
  TComponent* PopupComponent() const { return m_popupComponent; }
  void SetPopupComponent(TComponent* component);
  // Screen point of the last Popup.
  TPoint PopupPoint() const { return m_popupPoint; }

  // Screen coordinates. The base fires OnPopup.
  virtual void Popup(int x, int y);
  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomImageList* m_images = nullptr;
  TComponent* m_popupComponent = nullptr;
  bool m_autoPopup = true;
  TPoint m_popupPoint;
};

}  // namespace vandrel
