#include "skin/SkinObject.h"

#include "framework/Filer.h"
#include "framework/PropertyInfo.h"
#include "graphics/SeColor.h"
#include "platform/core/Text.h"
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
static_assert(kSeAlignNames.size() == size_t(saText) + 1);
static_assert(kSeKindNames.size() == size_t(skTranparent) + 1);
static_assert(kSeTextAlignNames.size() == size_t(taBottomRight) + 1);
static_assert(kSeTextEffectNames.size() == size_t(teShadow) + 1);

namespace {

TColor ShiftColorHue(TColor color, int delta) {
  if (color == clNone) return color;
  return ColorFromSeColor(ShiftHueColor(SeColorFromColor(color), delta));
}

}  // namespace

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
