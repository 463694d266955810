// Test classes that use every property kind the stream carries. The Pascal program in pascal/
// declares the same classes, so the two writers can be compared byte for byte.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Collection.h"
#include "framework/Component.h"
#include "framework/Event.h"
#include "framework/SmallSet.h"

namespace vandrel::test {

enum TTestKind { tkNone, tkForm, tkButton, tkPanel };
enum TTestFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TTestFontStyles = TSmallSet<TTestFontStyle>;
using TTestKinds = TSmallSet<TTestKind>;

// A font-like owned sub-object.
class TTestFont : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  int Charset() const { return m_charset; }
  void SetCharset(int v) { m_charset = v; }
  std::int32_t Color() const { return m_color; }
  void SetColor(std::int32_t v) { m_color = v; }
  int Height() const { return m_height; }
  void SetHeight(int v) { m_height = v; }
  std::string Name() const { return m_name; }
  void SetName(const std::string& v) { m_name = v; }
  TTestFontStyles Style() const { return m_style; }
  void SetStyle(TTestFontStyles v) { m_style = v; }
  void Assign(const TPersistent& source) override;

 private:
  int m_charset = 1;
  std::int32_t m_color = 0;
  int m_height = 0;
  std::string m_name;
  TTestFontStyles m_style;
};

class TTestItem : public TCollectionItem {
  VANDREL_CLASS_INFO
 public:
  std::string Caption() const { return m_caption; }
  void SetCaption(const std::string& v) { m_caption = v; }
  int Value() const { return m_value; }
  void SetValue(int v) { m_value = v; }
  void Assign(const TPersistent& source) override;

 private:
  std::string m_caption;
  int m_value = 0;
};

class TTestChild : public TComponent {
  VANDREL_CLASS_INFO
 public:
  using TComponent::TComponent;
  int Tag2() const { return m_tag2; }
  void SetTag2(int v);
  // Properties seen while loading, and Loaded calls, for the load-order tests.
  std::vector<std::string> log;
  void Loaded() override;

 private:
  int m_tag2 = 0;
};

class TTestObject : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TTestObject(TComponent* owner);
  ~TTestObject() override;

  int Int8() const { return m_int8; }
  void SetInt8(int v) { m_int8 = v; }
  int Int16() const { return m_int16; }
  void SetInt16(int v) { m_int16 = v; }
  int Int32() const { return m_int32; }
  void SetInt32(int v) { m_int32 = v; }
  int Neg8() const { return m_neg8; }
  void SetNeg8(int v) { m_neg8 = v; }
  int Neg32() const { return m_neg32; }
  void SetNeg32(int v) { m_neg32 = v; }
  std::int64_t Big() const { return m_big; }
  void SetBig(std::int64_t v) { m_big = v; }
  bool Visible() const { return m_visible; }
  void SetVisible(bool v) { m_visible = v; }
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool v) { m_enabled = v; }
  bool DefFalse() const { return m_defFalse; }
  void SetDefFalse(bool v) { m_defFalse = v; }
  TTestKind Kind() const { return m_kind; }
  void SetKind(TTestKind v) { m_kind = v; }
  TTestKinds Kinds() const { return m_kinds; }
  void SetKinds(TTestKinds v) { m_kinds = v; }
  std::string Caption() const { return m_caption; }
  void SetCaption(const std::string& v) { m_caption = v; }
  std::string Quoted() const { return m_quoted; }
  void SetQuoted(const std::string& v) { m_quoted = v; }
  std::string LongText() const { return m_longText; }
  void SetLongText(const std::string& v) { m_longText = v; }
  std::string WideCaption() const { return m_wideCaption; }
  void SetWideCaption(const std::string& v) { m_wideCaption = v; }
  TTestFont* Font() const { return m_font.get(); }
  std::int32_t ColorIdent() const { return m_colorIdent; }
  void SetColorIdent(std::int32_t v) { m_colorIdent = v; }
  std::int32_t ColorNum() const { return m_colorNum; }
  void SetColorNum(std::int32_t v) { m_colorNum = v; }
  std::int32_t ColorSys() const { return m_colorSys; }
  void SetColorSys(std::int32_t v) { m_colorSys = v; }
  double Ratio() const { return m_ratio; }
  void SetRatio(double v) { m_ratio = v; }
  TCollection* Items() const { return m_items.get(); }
  TComponent* Link() const { return m_link; }
  void SetLink(TComponent* v);
  TNotifyEvent OnChange;

  // Custom properties: a list of strings, a raw integer and a binary block.
  std::vector<std::string> lines;
  int normalHeight = 0;
  std::vector<std::uint8_t> objects{0x00, 0x00, 0x0F, 0x00};
  void DefineProperties(TFiler& filer) override;

  std::vector<std::string> log;
  void Loaded() override;
  int changes = 0;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  int m_int8 = 0, m_int16 = 0, m_int32 = 0, m_neg8 = 0, m_neg32 = 0;
  std::int64_t m_big = 0;
  bool m_visible = true, m_enabled = false, m_defFalse = false;
  TTestKind m_kind = tkNone;
  TTestKinds m_kinds;
  std::string m_caption, m_quoted, m_longText, m_wideCaption;
  std::unique_ptr<TTestFont> m_font;
  std::int32_t m_colorIdent = 0, m_colorNum = 0, m_colorSys = 0;
  double m_ratio = 0;
  std::unique_ptr<TCollection> m_items;
  TComponent* m_link = nullptr;
};

// The real kinds without their own text form in the other implementation.
class TTestFloats : public TComponent {
  VANDREL_CLASS_INFO
 public:
  using TComponent::TComponent;
  float Single() const { return m_single; }
  void SetSingle(float v) { m_single = v; }
  double Money() const { return m_money; }
  void SetMoney(double v) { m_money = v; }
  double When() const { return m_when; }
  void SetWhen(double v) { m_when = v; }
  // For the stored rules: Count is written also when 0, Note only while Count is above 0.
  int Count() const { return m_count; }
  void SetCount(int v) { m_count = v; }
  std::string Note() const { return m_note; }
  void SetNote(const std::string& v) { m_note = v; }
  bool NoteStored() const { return m_count > 0; }

 private:
  int m_count = 0;
  std::string m_note;
  float m_single = 0;
  double m_money = 0;
  double m_when = 0;
};

// Registers the classes above; safe to call more than once.
void RegisterTestClasses();
// The reference object both writers produce (see pascal/StreamOracle.pas).
TTestObject* MakeReferenceObject();
std::optional<std::string_view> CharsetToIdent(std::int32_t charset);
std::optional<std::int32_t> IdentToCharset(std::string_view ident);

}  // namespace vandrel::test
