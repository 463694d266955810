#include "skinform/MenuItem.h"

#include <algorithm>
#include <unordered_map>

#include "framework/Application.h"
#include "framework/ComponentErrors.h"
#include "framework/ControlMessages.h"
#include "framework/ImageList.h"
#include "framework/PropertyInfo.h"
#include "platform/core/Text.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/VirtualKeys.h"
#include "skinform/MenuClickHandler.h"

namespace vandrel {

namespace {

// Live items with a serial each: a queued click names its item by address and serial, so a click
// for an item that was freed (or whose address was reused) in the meantime is dropped.
std::unordered_map<const TSeCustomItem*, std::uint64_t>& LiveItems() {
  static std::unordered_map<const TSeCustomItem*, std::uint64_t> items;
  return items;
}
std::uint64_t g_nextSerial = 1;

bool NotLinked(const TPersistent& p, bool (TSeCustomItemActionLink::*linked)() const);

}  // namespace

const TClassInfo& TSeCustomItem::StaticClassInfo() {
  using T = TSeCustomItem;
  using L = TSeCustomItemActionLink;
  auto unlessLinked = [](TPropertyInfo info, bool (L::*linked)() const) {
    info.stored = [linked](const TPersistent& p) { return NotLinked(p, linked); };
    return info;
  };
  static const TClassInfo info("TSeCustomItem", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Component("Action", &T::Action, &T::SetAction),
      unlessLinked(prop::Boolean("Checked", &T::Checked, &T::SetChecked, false), &L::IsCheckedLinked),
      unlessLinked(prop::Boolean("Enabled", &T::Enabled, &T::SetEnabled, true), &L::IsEnabledLinked),
      unlessLinked(prop::WideString("Caption", &T::Caption, &T::SetCaption), &L::IsCaptionLinked),
      unlessLinked(prop::Integer("HelpContext", &T::HelpContext, &T::SetHelpContext, 0), &L::IsHelpContextLinked),
      unlessLinked(prop::String("Hint", &T::Hint, &T::SetHint), &L::IsHintLinked),
      unlessLinked(prop::Integer("ImageIndex", &T::ImageIndex, &T::SetImageIndex, -1), &L::IsImageIndexLinked),
      prop::Component("Images", &T::Images, &T::SetImages),
      prop::Boolean("Scrolled", &T::Scrolled, &T::SetScrolled, false),
      prop::Integer("ScrollCount", &T::ScrollCount, &T::SetScrollCount, 0),
      unlessLinked(prop::Integer("ShortCut", &T::ShortCut, &T::SetShortCut, 0), &L::IsShortCutLinked),
      unlessLinked(prop::Boolean("Visible", &T::Visible, &T::SetVisible, true), &L::IsVisibleLinked),
      unlessLinked(prop::Event("OnClick", &T::OnClick), &L::IsOnExecuteLinked),
      prop::Event("OnBeforeDropDown", &T::OnBeforeDropDown),
  });
  return info;
}

namespace {
bool NotLinked(const TPersistent& p, bool (TSeCustomItemActionLink::*linked)() const) {
  const auto& item = static_cast<const TSeCustomItem&>(p);
  if (!item.Action()) return true;
  TSeCustomItemActionLink probe(const_cast<TSeCustomItem*>(&item));
  // The link only compares values, so a probe without registration answers the same question.
  return !((probe.*linked)());
}
}  // namespace

TSeCustomItem::TSeCustomItem(TComponent* owner) : TComponent(owner) { LiveItems()[this] = g_nextSerial++; }

TSeCustomItem::~TSeCustomItem() {
  LiveItems().erase(this);
  // A child's destructor takes it out of m_items, so always free the last one.
  while (!m_items.empty()) delete m_items.back();
  if (m_parent) m_parent->Remove(this);
  m_actionLink.reset();
  SetImages(nullptr);
}

bool TSeCustomItem::IsLive(const TSeCustomItem* item) { return item && LiveItems().contains(item); }

std::uint64_t TSeCustomItem::Serial(const TSeCustomItem* item) {
  auto it = LiveItems().find(item);
  return it == LiveItems().end() ? 0 : it->second;
}

TSeCustomItem* TSeCustomItem::Items(int index) const {
  return index >= 0 && index < Count() ? m_items[size_t(index)] : nullptr;
}

TSeCustomItem* TSeCustomItem::Root() {
  TSeCustomItem* r = this;
  while (r->m_parent) r = r->m_parent;
  return r;
}

int TSeCustomItem::IndexOf(const TSeCustomItem* item) const {
  auto it = std::find(m_items.begin(), m_items.end(), item);
  return it == m_items.end() ? -1 : int(it - m_items.begin());
}

void TSeCustomItem::Insert(int index, TSeCustomItem* item) {
  if (!item) return;
  if (item->m_parent) throw EComponentError("Toolbar item already inserted");
  // An item inside its own subtree would make the tree a cycle.
  for (TSeCustomItem* a = this; a; a = a->m_parent)
    if (a == item) throw EComponentError("Toolbar item already inserted");
  if (index < 0 || index > Count()) index = Count();
  m_items.insert(m_items.begin() + index, item);
  item->m_parent = this;
  Changed();
}

void TSeCustomItem::Remove(TSeCustomItem* item) {
  int i = IndexOf(item);
  if (i < 0) return;
  m_items.erase(m_items.begin() + i);
  item->m_parent = nullptr;
  Changed();
}

void TSeCustomItem::Changed() {
  if (Loading() || Destroying()) return;
  // The callbacks may edit the tree, so the root is taken first.
  TSeCustomItem* root = Root();
  if (OnChange) OnChange(this, this);
  if (IsLive(root) && root->OnChange) root->OnChange(root, this);
}

void TSeCustomItem::SetChecked(bool value) {
  if (value == m_checked) return;
  m_checked = value;
  Changed();
}
void TSeCustomItem::SetEnabled(bool value) {
  if (value == m_enabled) return;
  m_enabled = value;
  Changed();
}
void TSeCustomItem::SetCaption(const std::string& value) {
  if (value == m_caption) return;
  m_caption = value;
  Changed();
}
void TSeCustomItem::SetVisible(bool value) {
  if (value == m_visible) return;
  m_visible = value;
  Changed();
}
void TSeCustomItem::SetImageIndex(int value) { m_imageIndex = value; }
void TSeCustomItem::SetShortCut(TShortCut value) { m_shortCut = value; }
void TSeCustomItem::SetScrolled(bool value) { m_scrolled = value; }
void TSeCustomItem::SetScrollCount(int value) { m_scrollCount = std::max(0, value); }

void TSeCustomItem::SetImages(TCustomImageList* images) {
  if (images == m_images) return;
  if (m_images) m_images->RemoveFreeNotification(this);
  m_images = images;
  if (m_images) m_images->FreeNotification(this);
}

TCustomImageList* TSeCustomItem::EffectiveImages() { return m_images ? m_images : Root()->m_images; }

TBasicAction* TSeCustomItem::Action() const { return m_actionLink ? m_actionLink->Action() : nullptr; }

void TSeCustomItem::SetAction(TBasicAction* action) {
  if (action == Action()) return;
  if (!action) {
    if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
    m_actionLink.reset();
    return;
  }
  if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
  m_actionLink = std::make_unique<TSeCustomItemActionLink>(this);
  m_actionLink->SetAction(action);  // copies the action's values
  action->FreeNotification(this);
}

void TSeCustomItem::ActionChange(TBasicAction* action, bool checkDefaults) {
  // While loading only the properties still at their defaults take the action's values, so that
  // what the form file stored wins.
  if (!checkDefaults || m_caption.empty()) SetCaption(action->Caption());
  if (!checkDefaults || !m_checked) SetChecked(action->Checked());
  if (!checkDefaults || m_enabled) SetEnabled(action->Enabled());
  if (!checkDefaults || m_hint.empty()) SetHint(action->Hint());
  if (!checkDefaults || m_imageIndex == -1) SetImageIndex(action->ImageIndex());
  if (!checkDefaults || m_shortCut == 0) SetShortCut(action->ShortCut());
  if (!checkDefaults || m_visible) SetVisible(action->Visible());
}

void TSeCustomItem::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* a = Action()) ActionChange(a, true);
}

void TSeCustomItem::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    if (component == m_images) m_images = nullptr;
    if (m_actionLink && component == m_actionLink->Action()) m_actionLink.reset();
    if (component == m_parentComponent) m_parentComponent = nullptr;
    if (component == m_ownerControl) m_ownerControl = nullptr;
  }
  TComponent::Notification(component, operation);
}

template <typename F>
void TSeCustomItem::ForSubtree(F&& f) {
  f(*this);
  for (TSeCustomItem* child : m_items) child->ForSubtree(f);
}

void TSeCustomItem::SetOptions(TSePopupMenuOptions* options) {
  ForSubtree([&](TSeCustomItem& i) { i.m_options = options; });
}
void TSeCustomItem::SetOwnerControl(TControl* control) {
  ForSubtree([&](TSeCustomItem& i) { i.m_ownerControl = control; });
}
void TSeCustomItem::SetRightToLeft(bool value) {
  ForSubtree([&](TSeCustomItem& i) { i.m_rightToLeft = value; });
}
void TSeCustomItem::SetToolbarStyle(bool value) {
  ForSubtree([&](TSeCustomItem& i) { i.m_toolbarStyle = value; });
}
void TSeCustomItem::SetForeground(bool value) {
  ForSubtree([&](TSeCustomItem& i) { i.m_foreground = value; });
}
void TSeCustomItem::SetAnimate(bool value) {
  ForSubtree([&](TSeCustomItem& i) { i.m_animate = value; });
}
void TSeCustomItem::SetPopupMenuItem(bool value) {
  ForSubtree([&](TSeCustomItem& i) { i.m_popupMenuItem = value; });
}

void TSeCustomItem::Click() {
  if (IsSeparator() || Count() > 0 || !m_enabled) return;
  if (HWND window = MenuClickWindow()) {
    PostMenuClick(window, this);
    return;
  }
  RunClick();
}

void TSeCustomItem::RunClick() {
  TBasicAction* action = Action();
  // An OnClick of its own wins; the action runs when OnClick is only the action's handler or absent.
  bool ownClick = OnClick && !(action && m_actionLink->IsOnExecuteLinked());
  if (ownClick) {
    OnClick(this);
  } else if (action && !Designing()) {
    m_actionLink->Execute();
  } else if (OnClick) {
    OnClick(this);
  }
}

namespace {

TSeCustomItem* FindShortCut(TSeCustomItem* item, TShortCut shortCut) {
  for (int i = 0; i < item->Count(); ++i) {
    TSeCustomItem* child = item->Items(i);
    if (child->ShortCut() == shortCut) return child;
    if (TSeCustomItem* found = FindShortCut(child, shortCut)) return found;
  }
  return nullptr;
}

}  // namespace

bool TSeCustomItem::IsShortCut(const TMessage& message) {
  TShortCut shortCut = TShortCut(message.WParam & 0xFFFF);
  if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
  if (message.LParam & 0x20000000) shortCut |= scAlt;
  return IsShortCut(shortCut);
}

bool TSeCustomItem::IsShortCut(TShortCut shortCut) {
  if (shortCut == 0) return false;
  bool found = false;
  // A handler that keeps moving the item would otherwise keep the search going for ever.
  for (int pass = 0; pass < 16; ++pass) {
    TSeCustomItem* item = IsLive(this) ? FindShortCut(this, shortCut) : nullptr;
    if (!item) break;
    found = true;
    TSeCustomItem* parent = item->Parent();
    std::vector<TSeCustomItem*> path;
    for (TSeCustomItem* a = item; a && a != this; a = a->Parent()) path.insert(path.begin(), a);
    bool changed = false;
    try {
      for (TSeCustomItem* step : path) {
        // A click may free or move any item; stop and search again when the found item is gone or
        // no longer under the same parent.
        if (!IsLive(step) || !IsLive(item) || item->Parent() != parent) {
          changed = true;
          break;
        }
        if (!step->Enabled()) break;
        step->Click();
      }
    } catch (...) {
      if (TApplication* app = Application()) app->HandleException(this);
      return true;
    }
    if (!changed && IsLive(item) && item->Parent() == parent) break;
  }
  return found;
}

TSeCustomItem* TSeCustomItem::FindAccelerator(char32_t ch) const {
  std::u16string wide;
  if (ch >= 0x10000) {
    wide += char16_t(0xD800 + ((ch - 0x10000) >> 10));
    wide += char16_t(0xDC00 + ((ch - 0x10000) & 0x3FF));
  } else {
    wide += char16_t(ch);
  }
  std::string key = "&" + UpperCase(Utf16ToUtf8(wide));
  for (TSeCustomItem* child : m_items)
    if (UpperCase(child->Caption()).find(key) != std::string::npos) return child;
  return nullptr;
}

TSeCustomItemActionLink::TValues TSeCustomItemActionLink::Current() const {
  if (m_hasApplied) return m_applied;
  TBasicAction* a = Action();
  return {a->Caption(), a->Hint(), a->Checked(), a->Enabled(), a->Visible(), a->ImageIndex(), a->ShortCut()};
}

bool TSeCustomItemActionLink::IsCaptionLinked() const { return Action() && m_client->Caption() == Current().Caption; }
bool TSeCustomItemActionLink::IsCheckedLinked() const { return Action() && m_client->Checked() == Current().Checked; }
bool TSeCustomItemActionLink::IsEnabledLinked() const { return Action() && m_client->Enabled() == Current().Enabled; }
bool TSeCustomItemActionLink::IsHintLinked() const { return Action() && m_client->Hint() == Current().Hint; }
bool TSeCustomItemActionLink::IsImageIndexLinked() const {
  return Action() && m_client->ImageIndex() == Current().ImageIndex;
}
bool TSeCustomItemActionLink::IsVisibleLinked() const { return Action() && m_client->Visible() == Current().Visible; }
bool TSeCustomItemActionLink::IsShortCutLinked() const {
  return Action() && m_client->ShortCut() == Current().ShortCut;
}
bool TSeCustomItemActionLink::IsHelpContextLinked() const { return Action() != nullptr; }
bool TSeCustomItemActionLink::IsOnExecuteLinked() const {
  // Handlers are compared by the name they are published under; a handler set in code has none.
  return Action() && !m_client->OnClick.MethodName().empty() &&
         m_client->OnClick.MethodName() == Action()->OnExecute.MethodName();
}

void TSeCustomItemActionLink::Change() {
  TBasicAction* a = Action();
  if (!a) return;
  TValues now{a->Caption(), a->Hint(), a->Checked(), a->Enabled(), a->Visible(), a->ImageIndex(), a->ShortCut()};
  TSeCustomItem* c = m_client;
  if (!m_hasApplied) {
    // A fresh link (or loading) takes every value, or only those still at their defaults.
    m_applied = now;
    m_hasApplied = true;
    c->ActionChange(a, c->Loading());
    return;
  }
  bool caption = IsCaptionLinked(), hint = IsHintLinked(), checked = IsCheckedLinked(), enabled = IsEnabledLinked(),
       visible = IsVisibleLinked(), image = IsImageIndexLinked(), shortCut = IsShortCutLinked();
  m_applied = now;
  if (caption) c->SetCaption(now.Caption);
  if (hint) c->SetHint(now.Hint);
  if (checked) c->SetChecked(now.Checked);
  if (enabled) c->SetEnabled(now.Enabled);
  if (visible) c->SetVisible(now.Visible);
  if (image) c->SetImageIndex(now.ImageIndex);
  if (shortCut) c->SetShortCut(now.ShortCut);
}

std::string ShortCutToText(TShortCut shortCut) {
  unsigned key = shortCut & 0xFF;
  std::string name;
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    name = std::string(1, char(key));
  } else if (key >= VK_F1 && key <= VK_F1 + 23) {
    name = "F" + std::to_string(key - VK_F1 + 1);
  } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) {
    name = "Num " + std::to_string(key - VK_NUMPAD0);
  } else {
    switch (key) {
      case VK_BACK: name = "BkSp"; break;
      case VK_TAB: name = "Tab"; break;
      case VK_RETURN: name = "Enter"; break;
      case VK_ESCAPE: name = "Esc"; break;
      case VK_SPACE: name = "Space"; break;
      case VK_PRIOR: name = "PgUp"; break;
      case VK_NEXT: name = "PgDn"; break;
      case VK_END: name = "End"; break;
      case VK_HOME: name = "Home"; break;
      case VK_LEFT: name = "Left"; break;
      case VK_UP: name = "Up"; break;
      case VK_RIGHT: name = "Right"; break;
      case VK_DOWN: name = "Down"; break;
      case VK_INSERT: name = "Ins"; break;
      case VK_DELETE: name = "Del"; break;
      default: return {};
    }
  }
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + name;
}

}  // namespace vandrel
