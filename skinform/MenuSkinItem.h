// TSeSkinItem and TSeSkinPopupForm: menu items and popup frames drawn from a skin's "MenuBar" and
// "PopupMenu" objects. They draw with the skin source's own objects (laying them out and setting
// their state and text at each call), and fall back to the classic look whenever the skin is not
// usable or lacks either object.
#pragma once

#include "skinform/MenuItem.h"
#include "skinform/PopupWindow.h"

namespace vandrel {

class TSeSkinObject;
class TSeSkinSource;

class TSeSkinItem : public TSeCustomItem {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinItem(TComponent* owner);
  ~TSeSkinItem() override;

  // Binds this item and every TSeSkinItem below it; null unbinds.
  TSeSkinSource* SkinSource() const { return m_source; }
  void SetSkinSource(TSeSkinSource* source);
  // The skin is usable now: a source that is not busy and not empty, with "MenuBar" and
  // "PopupMenu", and an item that is neither loading nor being destroyed.
  bool SkinAvailable() const;
  // The source's objects; null when absent.
  TSeSkinObject* PopupMenuObject() const;
  TSeSkinObject* PopupItemObject() const;
  TSeSkinObject* SeparatorObject() const;
  TSeSkinObject* BarItemObject() const;

  TSize Measure(TCanvas& canvas, const TSeItemView& view) override;
  void DrawItem(TCanvas& canvas, const TSeItemView& view, bool notTracking, bool hot, const TRect& r) override;
  void DrawScrollButton(TCanvas& canvas, bool hot, bool up, const TRect& r) override;
  TSePopupForm* CreatePopupForm(TSePopupWindow* window) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TSeSkinSource* m_source = nullptr;
};

class TSeSkinPopupForm : public TSePopupForm {
 public:
  TSeSkinPopupForm(TSePopupWindow* window, TSeSkinItem* item);
  TRect GetClientArea(TSize frame) const override;
  void PaintFrame(TCanvas& canvas, TSize frame) override;

 private:
  // The "Frame" child of "PopupMenu" while the skin is usable, else null.
  TSeSkinObject* FrameObject() const;
  TSeSkinItem* m_item;
};

}  // namespace vandrel
