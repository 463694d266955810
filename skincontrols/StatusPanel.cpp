#include "skincontrols/StatusPanel.h"

#include "framework/PropertyInfo.h"
#include "framework/WinControl.h"
#include "platform/core/Exception.h"
#include "skincontrols/StatusBar.h"

namespace vandrel {
namespace {

void CheckPercent(const char* what, int value) {
  if (value < 0 || value > 100)
    throw EInvalidArgument(std::string(what) + " must lie between 0 and 100, not " + std::to_string(value));
}

}  // namespace

const TClassInfo& TSeStatusPanel::StaticClassInfo() {
  using T = TSeStatusPanel;
  static const TClassInfo info("TSeStatusPanel", &TNotifyCollectionItem::StaticClassInfo(), nullptr, {
      prop::Enum("Alignment", &T::Alignment, &T::SetAlignment, kAlignmentNames, taLeftJustify),
      prop::Integer("ImageIndex", &T::ImageIndex, &T::SetImageIndex),  // always stored
      prop::Boolean("Framed", &T::Framed, &T::SetFramed, true),
      prop::Component("Control", &T::Control, &T::SetControl),
      prop::Enum("Layout", &T::Layout, &T::SetLayout, kStatusGlyphLayoutNames, sglGlyphLeft),
      prop::Integer("Margin", &T::Margin, &T::SetMargin, 2),
      prop::Integer("MaxWidth", &T::MaxWidth, &T::SetMaxWidth, 10000),
      prop::Integer("Spacing", &T::Spacing, &T::SetSpacing, 4),
      prop::Integer("ViewPriority", &T::ViewPriority, &T::SetViewPriority, 100),
      prop::Integer("StretchPriority", &T::StretchPriority, &T::SetStretchPriority, 0),
      prop::Enum("Style", &T::Style, &T::SetStyle, kStatusPanelStyleNames, psText),
      prop::Boolean("ShowImage", &T::ShowImage, &T::SetShowImage, true),
      prop::WideString("Text", &T::Text, &T::SetText),
      prop::Integer("Width", &T::Width, &T::SetWidth, 50),
  });
  return info;
}

TSeStatusPanel::TSeStatusPanel() = default;

TSeStatusPanel::~TSeStatusPanel() {
  // The collection is in the middle of removing this item: only the bar itself is told.
  if (TSeCustomStatusBar* bar = StatusBar()) bar->PanelDestroying(this);
  ReleaseControl();
}

TSeCustomStatusBar* TSeStatusPanel::StatusBar() const {
  auto* panels = dynamic_cast<TSeStatusPanels*>(Collection());
  return panels ? panels->StatusBar() : nullptr;
}

std::string TSeStatusPanel::DisplayName() const {
  if (!m_text.empty()) return m_text;
  if (m_control && !m_control->Name().empty()) return "[ " + m_control->Name() + " ]";
  return TNotifyCollectionItem::DisplayName();
}

void TSeStatusPanel::SetAlignment(TAlignment value) {
  if (m_alignment == value) return;
  m_alignment = value;
  LookChanged();
}

void TSeStatusPanel::SetImageIndex(int value) {
  if (m_imageIndex == value) return;
  m_imageIndex = value;
  LookChanged();
}

void TSeStatusPanel::SetFramed(bool value) {
  if (m_framed == value) return;
  m_framed = value;
  LookChanged();
}

void TSeStatusPanel::SetLayout(TSeStatusGliphLayout value) {
  if (m_glyphLayout == value) return;
  m_glyphLayout = value;
  LookChanged();
}

void TSeStatusPanel::SetMargin(int value) {
  if (m_margin == value) return;
  m_margin = value;
  LookChanged();
}

void TSeStatusPanel::SetSpacing(int value) {
  if (m_spacing == value) return;
  m_spacing = value;
  LookChanged();
}

void TSeStatusPanel::SetStyle(TSeStatusPanelstyle value) {
  if (m_style == value) return;
  m_style = value;
  LookChanged();
}

void TSeStatusPanel::SetShowImage(bool value) {
  if (m_showImage == value) return;
  m_showImage = value;
  LookChanged();
}

void TSeStatusPanel::SetText(const std::string& value) {
  if (m_text == value) return;
  m_text = value;
  LookChanged();
}

void TSeStatusPanel::SetMaxWidth(int value) {
  if (m_layout.MaxWidth == value) return;
  if (value < 0) throw EInvalidArgument("MaxWidth must not be negative, not " + std::to_string(value));
  m_layout.MaxWidth = value;
  if (m_layout.Width > value) m_layout.Width = value;
  LayoutChanged();
}

void TSeStatusPanel::SetWidth(int value) {
  if (value < 0) value = 0;
  if (value > m_layout.MaxWidth) value = m_layout.MaxWidth;
  if (m_layout.Width == value) return;
  m_layout.Width = value;
  LayoutChanged();
}

void TSeStatusPanel::SetViewPriority(int value) {
  if (m_layout.ViewPriority == value) return;
  CheckPercent("ViewPriority", value);
  m_layout.ViewPriority = value;
  LayoutChanged();
}

void TSeStatusPanel::SetStretchPriority(int value) {
  if (m_layout.StretchPriority == value) return;
  CheckPercent("StretchPriority", value);
  m_layout.StretchPriority = value;
  LayoutChanged();
}

void TSeStatusPanel::SetControl(TControl* value) {
  if (m_control == value) return;
  TSeCustomStatusBar* bar = StatusBar();
  if (value && bar) {
    for (TControl* c = bar; c; c = c->Parent())
      if (c == value) throw EInvalidOperation("Can't insert own parent");
    if (TSeStatusPanel* other = bar->PanelOf(value); other && other != this) other->m_control = nullptr;
  }
  TControl* released = m_control;
  m_control = value;
  // A control is hosted by one panel of a bar at most, so the released one is done with the bar.
  if (bar) {
    if (value) value->FreeNotification(bar);
    if (released) released->RemoveFreeNotification(bar);
  }
  LayoutChanged();
  // The released control shows or hides by its own Visible again.
  if (released) released->Perform(CM_VISIBLECHANGED, released->Visible() ? 1 : 0, 0);
}

void TSeStatusPanel::ReleaseControl() {
  TControl* c = m_control;
  if (!c) return;
  m_control = nullptr;
  TSeCustomStatusBar* bar = StatusBar();
  // Not a walk over the panels: the collection is removing this item right now.
  if (bar && !bar->IsBeingDestroyed()) c->RemoveFreeNotification(bar);
  auto* w = dynamic_cast<TWinControl*>(c);
  if (!w || !w->HandleAllocated() || w->Destroying() || (bar && bar->IsBeingDestroyed())) return;
  w->BringToFront();
  w->Perform(CM_VISIBLECHANGED, w->Visible() ? 1 : 0, 0);
}

void TSeStatusPanel::Assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TSeStatusPanel*>(&source);
  if (!other) return TNotifyCollectionItem::Assign(source);
  if (other == this) return;
  // The hosted control is looked up by name among the components of this bar's owner; it is
  // checked before anything changes, so a refused control leaves the panel as it was.
  TControl* control = nullptr;
  TSeCustomStatusBar* bar = StatusBar();
  if (other->m_control && bar && bar->Owner() && !other->m_control->Name().empty())
    control = dynamic_cast<TControl*>(bar->Owner()->FindComponent(other->m_control->Name()));
  if (control && bar)
    for (TControl* c = bar; c; c = c->Parent())
      if (c == control) throw EInvalidOperation("Can't insert own parent");
  auto* panels = dynamic_cast<TSeStatusPanels*>(Collection());
  if (panels) panels->BeginUpdate();
  try {
    SetAlignment(other->m_alignment);
    SetImageIndex(other->m_imageIndex);
    SetLayout(other->m_glyphLayout);
    SetMargin(other->m_margin);
    SetMaxWidth(other->m_layout.MaxWidth);
    SetSpacing(other->m_spacing);
    SetStyle(other->m_style);
    SetShowImage(other->m_showImage);
    SetText(other->m_text);
    SetWidth(other->m_layout.Width);
    SetFramed(other->m_framed);
    SetViewPriority(other->m_layout.ViewPriority);
    SetStretchPriority(other->m_layout.StretchPriority);
    SetControl(control);
  } catch (...) {
    if (panels) panels->EndUpdate();
    throw;
  }
  if (panels) panels->EndUpdate();
}

const TClassInfo& TSeStatusPanels::StaticClassInfo() {
  static const TClassInfo info("TSeStatusPanels", &TNotifyCollection::StaticClassInfo(), nullptr, {});
  return info;
}

TSeStatusPanels::TSeStatusPanels(TSeCustomStatusBar* statusBar)
    : TNotifyCollection(CollectionItemFactory<TSeStatusPanel>(), statusBar), m_statusBar(statusBar) {}

TSeStatusPanel* TSeStatusPanels::Add() { return static_cast<TSeStatusPanel*>(TNotifyCollection::Add()); }

TSeStatusPanel* TSeStatusPanels::Add(TSeStatusPanelClass panelClass) {
  if (!panelClass) return Add();
  auto* panel = static_cast<TSeStatusPanel*>(AddItem(panelClass()));
  Changed(nullptr);
  return panel;
}

TSeStatusPanel* TSeStatusPanels::Items(int index) const {
  return static_cast<TSeStatusPanel*>(TNotifyCollection::Items(index));
}

void TSeStatusPanels::Update(TCollectionItem* item) {
  TNotifyCollection::Update(item);
  if (!m_statusBar) return;
  if (item) m_statusBar->PanelChanged(static_cast<TSeStatusPanel*>(item));
  else m_statusBar->PanelsChanged();
}

}  // namespace vandrel
