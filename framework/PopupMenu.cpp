#include "framework/PopupMenu.h"

#include "framework/ImageList.h"
#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TPopupMenu::StaticClassInfo() {
  using T = TPopupMenu;
  static const TClassInfo info("TPopupMenu", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Boolean("AutoPopup", &T::AutoPopup, &T::SetAutoPopup, true),
      prop::Component("Images", &T::Images, &T::SetImages),
      prop::Event("OnPopup", &T::OnPopup),
  });
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::SetImages(TCustomImageList* images) {
  if (images == m_images) return;
  if (m_images) m_images->RemoveFreeNotification(this);
  m_images = images;
  if (m_images) m_images->FreeNotification(this);
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
  if (component == m_popupComponent) return;
  if (m_popupComponent) m_popupComponent->RemoveFreeNotification(this);
  m_popupComponent = component;
  if (m_popupComponent) m_popupComponent->FreeNotification(this);
}

void TPopupMenu::Popup(int x, int y) {
  m_popupPoint = {x, y};
  if (OnPopup) OnPopup(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    if (component == m_images) m_images = nullptr;
    if (component == m_popupComponent) m_popupComponent = nullptr;
  }
  TComponent::Notification(component, operation);
}

}  // namespace vandrel
