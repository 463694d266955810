#include "tests/framework/StreamTestObjects.h"

#include "framework/ClassRegistry.h"
#include "framework/Filer.h"
#include "framework/PropertyInfo.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Color.h"
#include "platform/core/Stream.h"

namespace vandrel::test {

namespace {
constexpr std::string_view kKindNames[] = {"tkNone", "tkForm", "tkButton", "tkPanel"};
constexpr std::string_view kStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
static_assert(std::size(kKindNames) == size_t(tkPanel) + 1);
static_assert(std::size(kStyleNames) == size_t(fsStrikeOut) + 1);
}  // namespace

std::optional<std::string_view> CharsetToIdent(std::int32_t charset) {
  if (charset == 0) return "ANSI_CHARSET";
  if (charset == 1) return "DEFAULT_CHARSET";
  if (charset == 134) return "GB2312_CHARSET";
  return std::nullopt;
}

std::optional<std::int32_t> IdentToCharset(std::string_view ident) {
  for (std::int32_t c : {0, 1, 134})
    if (CharsetToIdent(c) == ident) return c;
  return std::nullopt;
}

const TClassInfo& TTestFont::StaticClassInfo() {
  using T = TTestFont;
  static const TClassInfo info("TTestFont", &TPersistent::StaticClassInfo(), nullptr, {
      prop::IdentInteger("Charset", &T::Charset, &T::SetCharset, &CharsetToIdent, &IdentToCharset),
      prop::Color("Color", &T::Color, &T::SetColor),
      prop::Integer("Height", &T::Height, &T::SetHeight),
      prop::String("Name", &T::Name, &T::SetName),
      prop::Set("Style", &T::Style, &T::SetStyle, kStyleNames),
  });
  return info;
}

void TTestFont::Assign(const TPersistent& source) {
  auto* font = dynamic_cast<const TTestFont*>(&source);
  if (!font) return TPersistent::Assign(source);
  m_charset = font->m_charset;
  m_color = font->m_color;
  m_height = font->m_height;
  m_name = font->m_name;
  m_style = font->m_style;
}

const TClassInfo& TTestItem::StaticClassInfo() {
  using T = TTestItem;
  static const TClassInfo info("TTestItem", &TCollectionItem::StaticClassInfo(), nullptr, {
      prop::String("Caption", &T::Caption, &T::SetCaption),
      prop::Integer("Value", &T::Value, &T::SetValue, 0),
  });
  return info;
}

void TTestItem::Assign(const TPersistent& source) {
  auto* item = dynamic_cast<const TTestItem*>(&source);
  if (!item) return TPersistent::Assign(source);
  m_caption = item->m_caption;
  m_value = item->m_value;
}

const TClassInfo& TTestChild::StaticClassInfo() {
  using T = TTestChild;
  static const TClassInfo info("TTestChild", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Integer("Tag2", &T::Tag2, &T::SetTag2, 0),
  });
  return info;
}

void TTestChild::SetTag2(int v) {
  m_tag2 = v;
  log.push_back(std::string("Tag2") + (Loading() ? " while loading" : ""));
}

void TTestChild::Loaded() {
  TComponent::Loaded();
  log.push_back("Loaded " + Name());
}

const TClassInfo& TTestObject::StaticClassInfo() {
  using T = TTestObject;
  static const TClassInfo info("TTestObject", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Integer("Int8", &T::Int8, &T::SetInt8, 0),
      prop::Integer("Int16", &T::Int16, &T::SetInt16, 0),
      prop::Integer("Int32", &T::Int32, &T::SetInt32, 0),
      prop::Integer("Neg8", &T::Neg8, &T::SetNeg8, 0),
      prop::Integer("Neg32", &T::Neg32, &T::SetNeg32, 0),
      prop::Int64("Big", &T::Big, &T::SetBig, 0),
      prop::Boolean("Visible", &T::Visible, &T::SetVisible),
      prop::Boolean("Enabled", &T::Enabled, &T::SetEnabled),
      prop::Boolean("DefFalse", &T::DefFalse, &T::SetDefFalse, false),
      prop::Enum("Kind", &T::Kind, &T::SetKind, kKindNames, tkNone),
      prop::Set("Kinds", &T::Kinds, &T::SetKinds, kKindNames, TTestKinds{}),
      prop::String("Caption", &T::Caption, &T::SetCaption),
      prop::String("Quoted", &T::Quoted, &T::SetQuoted),
      prop::String("LongText", &T::LongText, &T::SetLongText),
      prop::WideString("WideCaption", &T::WideCaption, &T::SetWideCaption),
      prop::Object("Font", &T::Font),
      prop::Color("ColorIdent", &T::ColorIdent, &T::SetColorIdent, clBlack),
      prop::Color("ColorNum", &T::ColorNum, &T::SetColorNum, clBlack),
      prop::Color("ColorSys", &T::ColorSys, &T::SetColorSys, clBlack),
      prop::Float("Ratio", &T::Ratio, &T::SetRatio),
      prop::Object("Items", &T::Items),
      prop::Component("Link", &T::Link, &T::SetLink),
      prop::Event("OnChange", &T::OnChange),
  });
  return info;
}

TTestObject::TTestObject(TComponent* owner)
    : TComponent(owner),
      m_font(std::make_unique<TTestFont>()),
      m_items(std::make_unique<TCollection>(CollectionItemFactory<TTestItem>(), this)) {
  PublishMethod<void(TPersistent*)>("HandleChange", [this](TPersistent*) { ++changes; });
}

TTestObject::~TTestObject() = default;

void TTestObject::SetLink(TComponent* v) {
  if (v == m_link) return;
  if (m_link) m_link->RemoveFreeNotification(this);
  m_link = v;
  if (m_link) m_link->FreeNotification(this);
}

void TTestObject::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == m_link) m_link = nullptr;
  TComponent::Notification(component, operation);
}

void TTestObject::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty(
      "Lines",
      [this](TReader& r) {
        lines.clear();
        r.ReadListBegin();
        while (!r.EndOfList()) lines.push_back(r.ReadString());
        r.ReadListEnd();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (const auto& line : lines) w.WriteString(line);
        w.WriteListEnd();
      },
      !lines.empty());
  filer.DefineProperty(
      "NormalHeight", [this](TReader& r) { normalHeight = r.ReadInteger(); },
      [this](TWriter& w) { w.WriteInteger(normalHeight); }, normalHeight != 0);
  filer.DefineBinaryProperty(
      "Objects",
      [this](TStream& s) {
        objects.resize(size_t(s.Size()));
        s.ReadBuffer(objects.data(), s.Size());
      },
      [this](TStream& s) { s.WriteBuffer(objects.data(), std::int64_t(objects.size())); }, true);
}

void TTestObject::Loaded() {
  TComponent::Loaded();
  log.push_back("Loaded " + Name());
}

const TClassInfo& TTestFloats::StaticClassInfo() {
  using T = TTestFloats;
  static const TClassInfo info("TTestFloats", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Float("Single", &T::Single, &T::SetSingle, TFloatType::Single),
      prop::Float("Money", &T::Money, &T::SetMoney, TFloatType::Currency),
      prop::Float("When", &T::When, &T::SetWhen, TFloatType::Date),
      prop::Integer("Count", &T::Count, &T::SetCount, 0).AlwaysStored(),
      prop::String("Note", &T::Note, &T::SetNote).StoredIf(&T::NoteStored),
  });
  return info;
}

void RegisterTestClasses() {
  RegisterClass<TTestObject>();
  RegisterClass<TTestChild>();
  RegisterClass<TTestFloats>();
}

TTestObject* MakeReferenceObject() {
  auto* root = new TTestObject(nullptr);
  root->SetName("Root");
  root->SetInt8(100);
  root->SetInt16(1000);
  root->SetInt32(100000);
  root->SetNeg8(-5);
  root->SetNeg32(-40000);
  root->SetBig(5000000000LL);
  root->SetVisible(true);
  root->SetEnabled(false);
  root->SetKind(tkButton);
  root->SetKinds({tkForm, tkPanel});
  root->SetCaption("Face");
  root->SetQuoted("It's\tdone");
  std::string longText;
  while (longText.size() < 300) longText += "0123456789";
  root->SetLongText(longText);
  root->SetWideCaption("\xE5\x88\xB7\xE6\x96\xB0");  // 刷新
  root->Font()->SetCharset(1);
  root->Font()->SetColor(clWindowText);
  root->Font()->SetHeight(-11);
  root->Font()->SetName("MS Sans Serif");
  root->Font()->SetStyle({fsBold});
  root->SetColorIdent(clWhite);
  root->SetColorNum(0x123456);
  root->SetColorSys(clWindowText);
  root->SetRatio(0.5);
  auto* one = static_cast<TTestItem*>(root->Items()->Add());
  one->SetCaption("One");
  one->SetValue(1);
  auto* two = static_cast<TTestItem*>(root->Items()->Add());
  two->SetCaption("Two");
  two->SetValue(300);
  root->lines = {"alpha", "beta"};
  root->normalHeight = 25;
  auto* child = new TTestChild(root);
  child->SetName("Child1");
  child->SetTag2(7);
  auto* grandChild = new TTestChild(child);
  grandChild->SetName("GrandChild");
  grandChild->SetTag2(-1000);
  root->SetLink(child);
  root->OnChange.Bind("HandleChange", *root->FindMethod("HandleChange"));
  return root;
}

}  // namespace vandrel::test
