// TSeSkinItem and TSeSkinPopupForm: menu items and popup frames drawn from the "MenuBar" and
// "PopupMenu" objects of a skin engine's skin. They draw with the skin source's own objects (laying them out and setting
// their state and text at each call), and fall back to the classic look whenever the skin is not
// usable or lacks either object.
#pragma once

#include "skinform/MenuItem.h"
#include "skinform/PopupWindow.h"

namespace vandrel {

class TSeSkinEngine;
class TSeSkinObject;
class TSeSkinSource;

class TSeSkinItem : public TSeCustomItem {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinItem(TComponent* owner);
  ~TSeSkinItem() override;

  // Binds this item and every TSeSkinItem below it; null unbinds.
  TSeSkinEngine* SkinEngine() const { return m_engine; }
  void SetSkinEngine(TSeSkinEngine* engine);
  // The skin is usable now: the engine's source is not busy and not empty and has "MenuBar" and
  // "PopupMenu", and the item is neither loading nor being destroyed.
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
  TSeSkinSource* Source() const;
  TSeSkinEngine* m_engine = nullptr;
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
