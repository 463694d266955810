#include "skinform/MenuSkinItem.h"

#include <algorithm>
#include <memory>

#include "framework/Canvas.h"
#include "framework/ImageList.h"
#include "framework/PropertyInfo.h"
#include "graphics/TextHelpers.h"
#include "platform/gdi/DrawText.h"
#include "skin/SkinEngine.h"
#include "skin/SkinObject.h"
#include "skin/SkinSource.h"
#include "skinform/MenuPaint.h"
#include "skinform/PopupView.h"

namespace vandrel {

namespace {

// The shortcut beside the caption: in the caption's text rectangle, with the font the caption
// left on the canvas, placed by the object's alignment with left and right exchanged.
void DrawSecondText(TCanvas& canvas, const TSeSkinObject& object, const std::string& text) {
  if (text.empty() || object.Text() == "-") return;
  TRect r = object.BoundsRect();
  r.Left += object.TextMarginLeft();
  r.Right -= object.TextMarginRight();
  r.Top += object.TextMarginTop();
  int align = int(object.TextAlign());
  unsigned flags = DT_SINGLELINE | DT_NOPREFIX;
  switch (align % 3) {
    case 0: flags |= DT_RIGHT; break;
    case 1: flags |= DT_CENTER; break;
    default: flags |= DT_LEFT; break;
  }
  flags |= align < 3 ? DT_TOP : align < 6 ? DT_VCENTER : DT_BOTTOM;
  DrawWideText(canvas, text, r, flags);
}

int SkinState(bool notTracking, bool hot) { return !hot ? kStateNormal : notTracking ? kStateHot : kStateFocused; }

}  // namespace

const TClassInfo& TSeSkinItem::StaticClassInfo() {
  using T = TSeSkinItem;
  static const TClassInfo info("TSeSkinItem", &TSeCustomItem::StaticClassInfo(), ComponentFactory<T>(), {});
  return info;
}

TSeSkinItem::TSeSkinItem(TComponent* owner) : TSeCustomItem(owner) {}

TSeSkinItem::~TSeSkinItem() {
  if (m_engine) m_engine->RemoveFreeNotification(this);
}

void TSeSkinItem::SetSkinEngine(TSeSkinEngine* engine) {
  auto bind = [engine](TSeSkinItem& item) {
    if (item.m_engine == engine) return;
    if (item.m_engine) item.m_engine->RemoveFreeNotification(&item);
    item.m_engine = engine;
    if (engine) engine->FreeNotification(&item);
  };
  std::function<void(TSeCustomItem&)> walk = [&](TSeCustomItem& item) {
    if (auto* skinItem = dynamic_cast<TSeSkinItem*>(&item)) bind(*skinItem);
    for (int i = 0; i < item.Count(); ++i) walk(*item.Items(i));
  };
  walk(*this);
}

void TSeSkinItem::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == m_engine) m_engine = nullptr;
  TSeCustomItem::Notification(component, operation);
}

TSeSkinSource* TSeSkinItem::Source() const { return m_engine ? &m_engine->SkinSource() : nullptr; }

bool TSeSkinItem::SkinAvailable() const {
  TSeSkinSource* source = Source();
  if (!source || source->Busy() || source->Count() == 0 || Loading() || Destroying()) return false;
  return source->FindObject("MenuBar") && source->FindObject("PopupMenu");
}

TSeSkinObject* TSeSkinItem::PopupMenuObject() const {
  return SkinAvailable() ? Source()->FindObject("PopupMenu") : nullptr;
}

TSeSkinObject* TSeSkinItem::PopupItemObject() const {
  TSeSkinObject* menu = PopupMenuObject();
  return menu ? menu->FindObject("Item") : nullptr;
}

TSeSkinObject* TSeSkinItem::SeparatorObject() const {
  TSeSkinObject* menu = PopupMenuObject();
  return menu ? menu->FindObject("Separator") : nullptr;
}

TSeSkinObject* TSeSkinItem::BarItemObject() const {
  if (!SkinAvailable()) return nullptr;
  TSeSkinObject* bar = Source()->FindObject("MenuBar");
  return bar->FindObject(ToolbarStyle() ? "ToolbarItem" : "Item");
}

TSize TSeSkinItem::Measure(TCanvas& canvas, const TSeItemView& view) {
  if (!view.Vertical()) {
    TSeSkinObject* bar = BarItemObject();
    if (!bar) return TSeCustomItem::Measure(canvas, view);
    canvas.SetFont(*bar->Font());
    int height = bar->Height();
    if (ButtonKind() != kbkNormal) return {height, height};
    return {WideTextWidth(canvas, Caption(), 0) + bar->TextMarginLeft() + bar->TextMarginRight(), height};
  }
  TSeSkinObject* object = PopupItemObject();
  if (!object) return TSeCustomItem::Measure(canvas, view);
  canvas.SetFont(*object->Font());
  int column = ImageColumnWidth(EffectiveImages());
  std::string shortCut = ShortCutToText(ShortCut());
  int width = WideTextWidth(canvas, Caption(), 0) + column + (shortCut.empty() ? 0 : WideTextWidth(canvas, shortCut, 0)) + 42;
  int height = object->Height();
  if (!IsSeparator() && height < column - 4) height = column + 4;
  return {width, height};
}

void TSeSkinItem::DrawItem(TCanvas& canvas, const TSeItemView& view, bool notTracking, bool hot, const TRect& r) {
  TSeSkinObject* object = view.Vertical() ? PopupItemObject() : BarItemObject();
  if (!object) {
    TSeCustomItem::DrawItem(canvas, view, notTracking, hot, r);
    return;
  }
  canvas.SetFont(*object->Font());
  object->SetBounds(r);
  object->SetText(Caption());
  object->SetState(SkinState(notTracking, hot));
  if (!view.Vertical()) {
    object->SetEnabled(Enabled());
    object->Draw(canvas);
    return;
  }
  if (IsSeparator()) {
    object->SetState(kStateNormal);
    if (TSeSkinObject* separator = SeparatorObject()) {
      separator->SetBounds(r);
      separator->SetState(kStateNormal);
      separator->Draw(canvas);
    } else {
      object->Draw(canvas);
    }
    return;
  }
  object->SetEnabled(Enabled());
  TCustomImageList* images = EffectiveImages();
  int column = ImageColumnWidth(images);
  // The raised margin stays on the skin's object, so every menu of this skin starts its text there.
  if (object->TextMarginLeft() < column) object->SetTextMarginLeft(column);
  object->Draw(canvas);
  DrawSecondText(canvas, *object, ShortCutToText(ShortCut()));
  TColor fontColor = canvas.Font()->Color();

  bool hasImage = images && ImageIndex() >= 0;
  if (Checked() || hasImage) {
    TRect box{r.Left, r.Top, r.Left + r.Height(), r.Bottom};
    TPoint centre{box.Left + box.Width() / 2, box.Top + box.Height() / 2};
    if (!hasImage) DrawCheckMark(canvas, {centre.X - 2, centre.Y + 1}, fontColor, fontColor);
    else images->Draw(canvas, centre.X - images->Width() / 2, centre.Y - images->Height() / 2, ImageIndex(), Enabled());
  }
  if (Count() > 0) DrawSubmenuArrow(canvas, r.Right - 22, r.Top + (r.Height() - 22) / 2, 22, fontColor);
}

void TSeSkinItem::DrawScrollButton(TCanvas& canvas, bool hot, bool up, const TRect& r) {
  TSeSkinObject* object = PopupItemObject();
  if (!object) {
    TSeCustomItem::DrawScrollButton(canvas, hot, up, r);
    return;
  }
  std::unique_ptr<TSeSkinObject> button(TSeSkinObject::CloneObject(*object, nullptr));
  button->SetText({});
  button->SetBounds(r);
  button->SetState(hot ? kStateFocused : kStateNormal);
  button->Draw(canvas);
  DrawScrollTriangle(canvas, r, up, button->GetFont()->Color());
}

TSePopupForm* TSeSkinItem::CreatePopupForm(TSePopupWindow* window) { return new TSeSkinPopupForm(window, this); }

TSeSkinPopupForm::TSeSkinPopupForm(TSePopupWindow* window, TSeSkinItem* item) : TSePopupForm(window), m_item(item) {}

TSeSkinObject* TSeSkinPopupForm::FrameObject() const {
  // The window's item may be freed while the window lives on for a moment.
  if (!TSeCustomItem::IsLive(m_item)) return nullptr;
  TSeSkinObject* menu = m_item->PopupMenuObject();
  return menu ? menu->FindObject("Frame") : nullptr;
}

TRect TSeSkinPopupForm::GetClientArea(TSize frame) const {
  if (!TSeCustomItem::IsLive(m_item) || !m_item->PopupMenuObject()) return TSePopupForm::GetClientArea(frame);
  TSeSkinObject* f = FrameObject();
  if (!f) return {3, 3, frame.cx - 3, frame.cy - 3};
  return {f->MarginLeft(), f->MarginTop(), frame.cx - f->MarginRight(), frame.cy - f->MarginBottom()};
}

void TSeSkinPopupForm::PaintFrame(TCanvas& canvas, TSize frame) {
  TSeSkinObject* f = FrameObject();
  if (!f) {
    TSePopupForm::PaintFrame(canvas, frame);
    return;
  }
  f->SetBounds({0, 0, frame.cx, frame.cy});
  f->Draw(canvas);
}

}  // namespace vandrel
