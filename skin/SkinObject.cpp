#include "skin/SkinObject.h"

#include <algorithm>

#include "framework/ComponentErrors.h"
#include "framework/Filer.h"
#include "framework/PropertyInfo.h"
#include "framework/WinControl.h"
#include "graphics/BitmapLink.h"
#include "graphics/SeColor.h"
#include "platform/core/Text.h"
#include "platform/gdi/RegionApi.h"
#include "skin/SkinMessages.h"
#include "skin/SkinObjectRegistry.h"
#include "skin/SkinRecords.h"

namespace vandrel {

const std::array<std::string_view, 16> kSeAlignNames = {
    "saNone", "saLeft", "saMostLeft", "saTop", "saMostTop", "saRight", "saMostRight", "saBottom",
    "saMostBottom", "saClient", "saTopLeft", "saTopRight", "saBottomLeft", "saBottomRight", "saCenter",
    "saText"};
const std::array<std::string_view, 22> kSeKindNames = {
    "skNone", "skForm", "skCaption", "skTitle", "skTop", "skLeft", "skRight", "skBottom",
    "skTopLeft", "skTopRight", "skBottomLeft", "skBottomRight", "skSysButton", "skClient",
    "skMenuBar", "skMenuBarItem", "skMenuBarItemText", "skPopupMenu", "skPopupMenuItem",
    "skPopupMenuItemText", "skItemText", "skTranparent"};
const std::array<std::string_view, 9> kSeTextAlignNames = {
    "taTopLeft", "taTopCenter", "taTopRight", "taLeft", "taCenter", "taRight", "taBottomLeft",
    "taBottomCenter", "taBottomRight"};
const std::array<std::string_view, 2> kSeTextEffectNames = {"teNone", "teShadow"};
const std::array<std::string_view, 3> kScTileStyleNames = {"tsTile", "tsStretch", "tsCenter"};
const std::array<std::string_view, 12> kSeActionNames = {
    "sbaNone", "sbaClose", "sbaHelp", "sbaMinimize", "sbaMaximize", "sbaRestore", "sbaRollUp",
    "sbaRollDown", "sbaTray", "sbaSysMenu", "sbaRollPanel", "sbaCustom"};
const std::array<std::string_view, 4> kSeRollKindNames = {"rkLeft", "rkTop", "rkRight", "rkBottom"};
static_assert(kSeAlignNames.size() == size_t(saText) + 1);
static_assert(kSeKindNames.size() == size_t(skTranparent) + 1);
static_assert(kSeTextAlignNames.size() == size_t(taBottomRight) + 1);
static_assert(kSeTextEffectNames.size() == size_t(teShadow) + 1);
static_assert(kScTileStyleNames.size() == size_t(tsCenter) + 1);
static_assert(kSeActionNames.size() == size_t(sbaCustom) + 1);
static_assert(kSeRollKindNames.size() == size_t(rkBottom) + 1);

int ClampCoordinate(std::int64_t value) {
  return int(std::clamp<std::int64_t>(value, -kMaxSkinCoordinate, kMaxSkinCoordinate));
}

TColor ShiftColorHue(TColor color, int delta) {
  if (color == clNone) return color;
  return ColorFromSeColor(ShiftHueColor(SeColorFromColor(color), delta));
}

const TClassInfo& TSeSkinObject::StaticClassInfo() {
  using T = TSeSkinObject;
  static const TClassInfo info("TSeSkinObject", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Enum("Align", &T::Align, &T::SetAlign, kSeAlignNames, saNone),
      prop::Color("Color", &T::Color, &T::SetColor, clWhite),
      prop::Boolean("DrawIfOwner", &T::DrawIfOwner, &T::SetDrawIfOwner, false),
      prop::Object("Font", &T::Font),
      prop::Enum("Kind", &T::Kind, &T::SetKind, kSeKindNames, skNone),
      prop::Boolean("Masked", &T::Masked, &T::SetMasked, true),
      prop::Integer("Left", &T::Left, &T::SetLeft, 0),
      prop::Integer("Top", &T::Top, &T::SetTop, 0),
      prop::Integer("Height", &T::Height, &T::SetHeight, 0),
      prop::Integer("Width", &T::Width, &T::SetWidth, 0),
      prop::Integer("MarginLeft", &T::MarginLeft, &T::SetMarginLeft, 0),
      prop::Integer("MarginRight", &T::MarginRight, &T::SetMarginRight, 0),
      prop::Integer("MarginTop", &T::MarginTop, &T::SetMarginTop, 0),
      prop::Integer("MarginBottom", &T::MarginBottom, &T::SetMarginBottom, 0),
      prop::Enum("TextAlign", &T::TextAlign, &T::SetTextAlign, kSeTextAlignNames, taLeft),
      prop::Enum("TextEffect", &T::TextEffect, &T::SetTextEffect, kSeTextEffectNames, teNone),
      prop::Integer("TextMarginLeft", &T::TextMarginLeft, &T::SetTextMarginLeft, 0),
      prop::Integer("TextMarginRight", &T::TextMarginRight, &T::SetTextMarginRight, 0),
      prop::Integer("TextMarginTop", &T::TextMarginTop, &T::SetTextMarginTop, 0),
  });
  return info;
}

TSeSkinObject::TSeSkinObject(TComponent* owner) : TComponent(owner), m_font(std::make_unique<TFont>()) {
  m_font->SetName("Arial");
  m_font->SetColor(clBlack);
}

TSeSkinObject::~TSeSkinObject() {
  // The children go first, while this object is still whole.
  DestroyComponents();
}

int TSeSkinObject::Count() const { return ComponentCount(); }

TSeSkinObject* TSeSkinObject::Objects(int index) const { return static_cast<TSeSkinObject*>(Components(index)); }

TSeSkinObject* TSeSkinObject::FindObject(std::string_view name) {
  if (SameText(Name(), name)) return this;
  for (int i = 0; i < Count(); ++i)
    if (TSeSkinObject* found = Objects(i)->FindObject(name)) return found;
  return nullptr;
}

TSeSkinObject* TSeSkinObject::FindObjectByKind(TSeKind kind) {
  if (m_kind == kind) return this;
  for (int i = 0; i < Count(); ++i)
    if (TSeSkinObject* found = Objects(i)->FindObjectByKind(kind)) return found;
  return nullptr;
}

void TSeSkinObject::SetImages(TseBitmapList* images) {
  m_images = images;
  for (int i = 0; i < Count(); ++i) Objects(i)->SetImages(images);
}

void TSeSkinObject::AfterLoad() {
  for (int i = 0; i < Count(); ++i) Objects(i)->AfterLoad();
}

void TSeSkinObject::ChangeHue(int delta) {
  m_color = ShiftColorHue(m_color, delta);
  m_font->SetColor(ShiftColorHue(m_font->Color(), delta));
  for (int i = 0; i < Count(); ++i) Objects(i)->ChangeHue(delta);
}

void TSeSkinObject::SetCharset(int charset) {
  m_font->SetCharset(charset);
  for (int i = 0; i < Count(); ++i) Objects(i)->SetCharset(charset);
}

TSeSkinObject* TSeSkinObject::CloneObject(const TSeSkinObject& object, TComponent* owner) {
  const TClassInfo* info = FindSkinObjectClass(object.ClassInfo().Name());
  if (!info) throw EClassNotFound("Class " + std::string(object.ClassInfo().Name()) + " not found");
  std::unique_ptr<TComponent> made(info->Create(owner));
  auto* clone = dynamic_cast<TSeSkinObject*>(made.get());
  if (!clone) throw EClassNotFound("Class " + std::string(info->Name()) + " is not a skin object class");
  clone->Assign(object);
  made.release();
  return clone;
}

void TSeSkinObject::Assign(const TPersistent& source) {
  const auto* from = dynamic_cast<const TSeSkinObject*>(&source);
  if (!from) {
    TComponent::Assign(source);
    return;
  }
  if (from == this) return;
  // The copied children take the place of any this object had.
  DestroyComponents();
  SetName(from->Name());
  m_masked = from->m_masked;
  m_align = from->m_align;
  m_kind = from->m_kind;
  m_images = from->m_images;
  m_color = from->m_color;
  m_drawIfOwner = from->m_drawIfOwner;
  m_font->Assign(*from->m_font);
  m_textAlign = from->m_textAlign;
  m_textEffect = from->m_textEffect;
  m_textMarginLeft = from->m_textMarginLeft;
  m_textMarginRight = from->m_textMarginRight;
  m_textMarginTop = from->m_textMarginTop;
  m_marginLeft = from->m_marginLeft;
  m_marginRight = from->m_marginRight;
  m_marginTop = from->m_marginTop;
  m_marginBottom = from->m_marginBottom;
  for (int i = 0; i < from->Count(); ++i) CloneObject(*from->Objects(i), this);
  m_left = from->m_left;
  m_top = from->m_top;
  m_width = from->m_width;
  m_height = from->m_height;
}

void TSeSkinObject::SetControl(TControl* control) {
  m_control = control;
  if (control) m_biDiMode = control->BiDiMode();
  for (int i = 0; i < Count(); ++i) Objects(i)->SetControl(control);
}

void TSeSkinObject::SetActive(bool value) {
  if (m_active == value) return;
  m_active = value;
  for (int i = 0; i < Count(); ++i) Objects(i)->SetActive(value);
}

void TSeSkinObject::Invalidate() {
  if (!m_visible || !m_control) return;
  if (auto* window = dynamic_cast<TWinControl*>(m_control))
    NotifyObjectChanged(window->Handle(), this);
  else
    NotifyObjectChanged(*m_control, this);
}

ISeSkinnedWindow* TSeSkinObject::OwnerForm() const { return m_control ? QueryOwnerForm(*m_control) : nullptr; }

void TSeSkinObject::SetState(int state) {
  m_state = state;
  for (int i = 0; i < Count(); ++i) Objects(i)->SetState(state);
}

void TSeSkinObject::SetBounds(const TRect& rect) {
  SetPlace(rect.Left, rect.Top, ClampCoordinate(std::int64_t(rect.Right) - rect.Left),
           ClampCoordinate(std::int64_t(rect.Bottom) - rect.Top));
}

void TSeSkinObject::SetPlace(int left, int top, int width, int height) {
  left = ClampCoordinate(left);
  top = ClampCoordinate(top);
  width = std::clamp(width, 0, kMaxSkinCoordinate);
  height = std::clamp(height, 0, kMaxSkinCoordinate);
  if (left == m_left && top == m_top && width == m_width && height == m_height) return;
  m_oldWidth = m_width;
  m_oldHeight = m_height;
  m_left = left;
  m_top = top;
  m_width = width;
  m_height = height;
  AlignChildren();
}

void TSeSkinObject::AlignChildren() {
  TRect r = BoundsRect();
  auto visible = [this](int i) { return Objects(i)->Visible(); };
  auto pass = [&](auto&& place) {
    for (int i = 0; i < Count(); ++i)
      if (visible(i)) place(*Objects(i));
  };
  auto reversePass = [&](auto&& place) {
    for (int i = Count() - 1; i >= 0; --i)
      if (visible(i)) place(*Objects(i));
  };
  auto vertical = [&r](TSeSkinObject& child, TSeAlign top, TSeAlign bottom) {
    const int h = child.Height();
    if (child.Align() == top) {
      child.SetBounds({r.Left, r.Top, r.Right, r.Top + h});
      r.Top += h;
    } else if (child.Align() == bottom) {
      child.SetBounds({r.Left, r.Bottom - h, r.Right, r.Bottom});
      r.Bottom -= h;
    }
  };
  auto horizontal = [&r](TSeSkinObject& child, TSeAlign left, TSeAlign right) {
    const int w = child.Width();
    if (child.Align() == left) {
      child.SetBounds({r.Left, r.Top, r.Left + w, r.Bottom});
      r.Left += w;
    } else if (child.Align() == right) {
      child.SetBounds({r.Right - w, r.Top, r.Right, r.Bottom});
      r.Right -= w;
    }
  };
  pass([&](TSeSkinObject& c) { vertical(c, saMostTop, saMostBottom); });
  pass([&](TSeSkinObject& c) { horizontal(c, saMostLeft, saMostRight); });
  pass([&](TSeSkinObject& c) { vertical(c, saTop, saBottom); });
  pass([&](TSeSkinObject& c) { horizontal(c, saLeft, saRight); });
  reversePass([](TSeSkinObject& c) {
    if (c.Align() != saText) return;
    const std::int64_t w = std::int64_t(ScreenTextWidth(c.Text(), *c.GetFont())) + c.TextMarginLeft() + c.TextMarginRight();
    c.SetPlace(c.Left(), c.Top(), ClampCoordinate(w), c.Height());
  });
  reversePass([&r](TSeSkinObject& c) {
    if (c.Align() != saCenter) return;
    c.SetPlace(r.Left + (r.Right - r.Left - c.Width()) / 2, r.Top + (r.Bottom - r.Top - c.Height()) / 2, c.Width(),
               c.Height());
  });
  pass([&r](TSeSkinObject& c) {
    if (c.Align() == saClient) c.SetBounds(r);
  });
  // Corner anchors move by the growth only; their own children stay where they are.
  const int dx = m_oldWidth > 0 ? m_width - m_oldWidth : 0;
  const int dy = m_oldHeight > 0 ? m_height - m_oldHeight : 0;
  pass([dx, dy](TSeSkinObject& c) {
    if (c.Align() == saTopRight || c.Align() == saBottomRight) c.m_left = ClampCoordinate(std::int64_t(c.m_left) + dx);
    if (c.Align() == saBottomLeft || c.Align() == saBottomRight) c.m_top = ClampCoordinate(std::int64_t(c.m_top) + dy);
  });
}

TSeSkinObject* TSeSkinObject::ObjectAtPoint(TPoint p) {
  if (!m_visible || m_kind == skTranparent || !BoundsRect().Contains(p)) return nullptr;
  for (int i = Count() - 1; i >= 0; --i)
    if (TSeSkinObject* found = Objects(i)->ObjectAtPoint(p)) return found;
  return this;
}

HRGN TSeSkinObject::CreateRegion() { return CreateRectRgnIndirect(BoundsRect()); }

HRGN TSeSkinObject::BuildRegion() {
  if (m_width <= 0 || m_height <= 0) return nullptr;
  if (Count() == 0 || m_drawIfOwner || !m_masked) return CreateRegion();
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  for (int i = 0; i < Count(); ++i) {
    if (!Objects(i)->Visible()) continue;
    if (HRGN child = Objects(i)->BuildRegion()) {
      CombineRgn(result, result, child, RGN_OR);
      DeleteObject(child);
    }
  }
  return result;
}

void TSeSkinObject::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Objects", [this](TStream& stream) { ReadObjects(stream); },
      [this](TStream& stream) { WriteObjects(stream); }, true);
}

void TSeSkinObject::ReadObjects(TStream& stream) {
  const std::int32_t value = ReadSkinInteger(stream, "the child count of " + Name());
  const bool binary = HasBinaryRecordsMarker(value);
  const std::int32_t count = binary ? value & ~kBinaryRecordsMarker : value;
  if (count < 0) throw EReadError("Invalid child count " + IntToStr(count) + " of " + Name());
  const TObjectRecordForm form = binary ? TObjectRecordForm::Binary : TObjectRecordForm::Text;
  for (std::int32_t i = 0; i < count; ++i) ReadObjectRecord(stream, this, form);
}

void TSeSkinObject::WriteObjects(TStream& stream) {
  // A larger count would run into the marker bits.
  if (Count() > 0xFFFF) throw EWriteError(Name() + " has too many children to be stored");
  WriteSkinInteger(stream, std::int32_t(Count()) | kBinaryRecordsMarker);
  for (int i = 0; i < Count(); ++i) WriteObjectRecord(stream, *Objects(i), TObjectRecordForm::Binary);
}

void TSeSkinObject::GetChildren(const std::function<void(TComponent*)>&, TComponent*) const {}

void TSeSkinObject::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
}

}  // namespace vandrel
