#include <gtest/gtest.h>

#include <cstring>

#include "framework/ClassRegistry.h"
#include "framework/PropertyInfo.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Color.h"
#include "tests/framework/StreamTestObjects.h"
#include "tests/framework/TestFiles.h"

using namespace vandrel;
using namespace vandrel::test;

namespace {

std::vector<std::uint8_t> Write(TComponent& root) {
  TMemoryStream s;
  WriteComponentToStream(s, root);
  return s.Bytes();
}

std::unique_ptr<TComponent> Read(const std::vector<std::uint8_t>& bytes) {
  RegisterTestClasses();
  TReadOnlyMemoryStream s(bytes.data(), std::int64_t(bytes.size()));
  return std::unique_ptr<TComponent>(ReadComponentFromStream(s));
}

void ExpectReferenceValues(const TTestObject& o) {
  EXPECT_EQ(o.Name(), "Root");
  EXPECT_EQ(o.Int8(), 100);
  EXPECT_EQ(o.Int16(), 1000);
  EXPECT_EQ(o.Int32(), 100000);
  EXPECT_EQ(o.Neg8(), -5);
  EXPECT_EQ(o.Neg32(), -40000);
  EXPECT_EQ(o.Big(), 5000000000LL);
  EXPECT_TRUE(o.Visible());
  EXPECT_FALSE(o.Enabled());
  EXPECT_EQ(o.Kind(), tkButton);
  EXPECT_EQ(o.Kinds(), (TTestKinds{tkForm, tkPanel}));
  EXPECT_EQ(o.Caption(), "Face");
  EXPECT_EQ(o.Quoted(), "It's\tdone");
  EXPECT_EQ(o.LongText().size(), 300u);
  EXPECT_EQ(o.WideCaption(), "\xE5\x88\xB7\xE6\x96\xB0");
  EXPECT_EQ(o.Font()->Charset(), 1);
  EXPECT_EQ(o.Font()->Color(), clWindowText);
  EXPECT_EQ(o.Font()->Height(), -11);
  EXPECT_EQ(o.Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(o.Font()->Style(), TTestFontStyles{fsBold});
  EXPECT_EQ(o.ColorIdent(), clWhite);
  EXPECT_EQ(o.ColorNum(), 0x123456);
  EXPECT_EQ(o.ColorSys(), clWindowText);
  EXPECT_EQ(o.Ratio(), 0.5);
  ASSERT_EQ(o.Items()->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(o.Items()->Items(1))->Caption(), "Two");
  EXPECT_EQ(static_cast<TTestItem*>(o.Items()->Items(1))->Value(), 300);
  EXPECT_EQ(o.lines, (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_EQ(o.normalHeight, 25);
  EXPECT_EQ(o.objects, (std::vector<std::uint8_t>{0, 0, 0x0F, 0}));
  ASSERT_EQ(o.ComponentCount(), 1);
  auto* child = dynamic_cast<TTestChild*>(o.Components(0));
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->Name(), "Child1");
  EXPECT_EQ(child->Tag2(), 7);
  EXPECT_EQ(o.Link(), child);
  ASSERT_EQ(child->ComponentCount(), 1);
  EXPECT_EQ(static_cast<TTestChild*>(child->Components(0))->Tag2(), -1000);
  EXPECT_EQ(child->Components(0)->Name(), "GrandChild");
  EXPECT_EQ(o.OnChange.MethodName(), "HandleChange");
}

}  // namespace

// object.t2b.bin is the other implementation's stream after a trip through its text form; it
// differs from its direct stream only in the kind of the wide string (21 there, 18 here).
TEST(BinaryStream, WritesTheSameBytesAsTheReferenceImplementation) {
  std::unique_ptr<TTestObject> root(MakeReferenceObject());
  auto ours = Write(*root);
  EXPECT_EQ(ours, ReadDataFile("object.t2b.bin"));

  auto direct = ReadDataFile("object.bin");
  ASSERT_EQ(direct.size(), ours.size());
  std::vector<size_t> differences;
  for (size_t i = 0; i < ours.size(); ++i)
    if (ours[i] != direct[i]) differences.push_back(i);
  ASSERT_EQ(differences.size(), 1u);
  EXPECT_EQ(direct[differences[0]], vaUString);
  EXPECT_EQ(ours[differences[0]], vaWString);
}

TEST(BinaryStream, ReadsTheReferenceImplementationsStreams) {
  for (const char* file : {"object.bin", "object.t2b.bin"}) {
    SCOPED_TRACE(file);
    auto read = Read(ReadDataFile(file));
    auto* o = dynamic_cast<TTestObject*>(read.get());
    ASSERT_NE(o, nullptr);
    ExpectReferenceValues(*o);
    o->OnChange(o);
    EXPECT_EQ(o->changes, 1);
  }
}

TEST(BinaryStream, RoundTripIsExact) {
  std::unique_ptr<TTestObject> root(MakeReferenceObject());
  auto first = Write(*root);
  auto copy = Read(first);
  EXPECT_EQ(Write(*copy), first);
}

TEST(BinaryStream, IntegersUseTheSmallestKind) {
  struct Case {
    std::int64_t value;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {0, {2, 0}},
      {127, {2, 0x7F}},
      {128, {3, 0x80, 0}},
      {-128, {2, 0x80}},
      {-129, {3, 0x7F, 0xFF}},
      {32767, {3, 0xFF, 0x7F}},
      {32768, {4, 0, 0x80, 0, 0}},
      {-32768, {3, 0, 0x80}},
      {-32769, {4, 0xFF, 0x7F, 0xFF, 0xFF}},
      {2147483647, {4, 0xFF, 0xFF, 0xFF, 0x7F}},
      {2147483648LL, {19, 0, 0, 0, 0x80, 0, 0, 0, 0}},
      {-2147483649LL, {19, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const auto& c : cases) {
    TMemoryStream s;
    TWriter w(s);
    w.WriteInteger(c.value);
    EXPECT_EQ(s.Bytes(), c.bytes) << c.value;
    s.SetPosition(0);
    TReader r(s);
    EXPECT_EQ(r.ReadInt64(), c.value);
  }
}

// Single, currency and date properties go in their own kinds; the reference implementation
// stores all three as 10-byte reals, which the reader takes as well.
TEST(BinaryStream, RealKindsForSingleCurrencyAndDate) {
  RegisterTestClasses();
  TTestFloats f(nullptr);
  f.SetName("Floats");
  f.SetSingle(1.5f);
  f.SetMoney(12.3456);
  f.SetWhen(45424.5);
  auto bytes = Write(f);
  TReadOnlyMemoryStream s(bytes.data(), std::int64_t(bytes.size()));
  TReader r(s);
  r.ReadSignature();
  EXPECT_EQ(r.ReadStr(), "TTestFloats");
  EXPECT_EQ(r.ReadStr(), "Floats");
  EXPECT_EQ(r.ReadStr(), "Single");
  EXPECT_EQ(r.NextValue(), vaSingle);
  EXPECT_EQ(r.ReadSingle(), 1.5f);
  EXPECT_EQ(r.ReadStr(), "Money");
  EXPECT_EQ(r.NextValue(), vaCurrency);
  EXPECT_DOUBLE_EQ(r.ReadCurrency(), 12.3456);
  EXPECT_EQ(r.ReadStr(), "When");
  EXPECT_EQ(r.NextValue(), vaDate);
  EXPECT_EQ(r.ReadDate(), 45424.5);

  for (const auto& file : {ReadDataFile("floats.bin"), bytes}) {
    auto read = Read(file);
    auto* g = dynamic_cast<TTestFloats*>(read.get());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Single(), 1.5f);
    EXPECT_DOUBLE_EQ(g->Money(), 12.3456);
    EXPECT_EQ(g->When(), 45424.5);
  }
}

TEST(BinaryStream, DefaultsAreNotWrittenUnlessAlwaysStored) {
  TTestObject o(nullptr);
  o.objects.clear();
  o.SetDefFalse(false);
  TMemoryStream s;
  WriteComponentToStream(s, o);
  // Properties declared without a default are written whatever their value (Visible, Enabled, the
  // font's), like an empty collection and the always-stored Objects; Name never is a property.
  const char expected[] =
      "TPF0\x0BTTestObject\x00"
      "\x07Visible\x09\x07" "Enabled\x08"
      "\x0C" "Font.Charset\x07\x0F" "DEFAULT_CHARSET"
      "\x0A" "Font.Color\x07\x07" "clBlack"
      "\x0B" "Font.Height\x02\x00"
      "\x0A" "Font.Style\x0B\x00"
      "\x05Items\x0E\x00"
      "\x07Objects\x0A\x00\x00\x00\x00"
      "\x00\x00";
  EXPECT_EQ(std::string(s.Bytes().begin(), s.Bytes().end()), std::string(expected, sizeof expected - 1));
}

TEST(BinaryStream, ReadingSetsPropertiesWhileLoadingThenCallsLoaded) {
  std::unique_ptr<TTestObject> root(MakeReferenceObject());
  auto copy = Read(Write(*root));
  auto* o = static_cast<TTestObject*>(copy.get());
  auto* child = static_cast<TTestChild*>(o->Components(0));
  auto* grandChild = static_cast<TTestChild*>(child->Components(0));
  EXPECT_EQ(child->log, (std::vector<std::string>{"Tag2 while loading", "Loaded Child1"}));
  EXPECT_EQ(grandChild->log, (std::vector<std::string>{"Tag2 while loading", "Loaded GrandChild"}));
  EXPECT_EQ(o->log, (std::vector<std::string>{"Loaded Root"}));
  EXPECT_FALSE(o->Loading());
  EXPECT_FALSE(grandChild->Loading());
  EXPECT_FALSE(o->ComponentState().Contains(csReading));
}

TEST(BinaryStream, ReadsIntoAnExistingRoot) {
  std::unique_ptr<TTestObject> source(MakeReferenceObject());
  auto bytes = Write(*source);
  RegisterTestClasses();
  TTestObject target(nullptr);
  TReadOnlyMemoryStream s(bytes.data(), std::int64_t(bytes.size()));
  EXPECT_EQ(ReadComponentFromStream(s, &target), &target);
  ExpectReferenceValues(target);
}

// Flag byte: inherited and inline read into an existing component of that name; the child
// position is read and skipped.
TEST(BinaryStream, FlagBytesOnChildren) {
  RegisterTestClasses();
  TMemoryStream s;
  TWriter w(s);
  w.WriteSignature();
  w.WriteStr("TTestObject");
  w.WriteStr("Root");
  w.WriteListEnd();
  std::uint8_t inheritedWithPos = 0xF0 | ffInherited | ffChildPos;
  s.WriteBuffer(&inheritedWithPos, 1);
  w.WriteInteger(3);
  w.WriteStr("TTestChild");
  w.WriteStr("Existing");
  w.WritePropName("Tag2");
  w.WriteInteger(9);
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();

  TTestObject root(nullptr);
  auto* existing = new TTestChild(&root);
  existing->SetName("Existing");
  s.SetPosition(0);
  ReadComponentFromStream(s, &root);
  EXPECT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(existing->Tag2(), 9);
}

TEST(BinaryStream, SkipValuePassesOverEveryKind) {
  TMemoryStream s;
  TWriter w(s);
  w.WriteIdent("Null");
  w.WriteListBegin();
  w.WriteInteger(1);
  w.WriteListBegin();
  w.WriteString("x");
  w.WriteListEnd();
  w.WriteListEnd();
  for (std::int64_t v : {1LL, 1000LL, 100000LL, 5000000000LL}) w.WriteInteger(v);
  w.WriteFloat(0.5);
  w.WriteString("short");
  w.WriteIdent("ident");
  w.WriteBoolean(false);
  w.WriteBoolean(true);
  w.WriteBinary(std::vector<std::uint8_t>(5, 1));
  std::vector<std::string> names{"a", "bc"};
  w.WriteSet(names);
  w.WriteString(std::string(300, 'l'));
  w.WriteIdent("nil");
  w.WriteValue(vaCollection);
  w.WriteInteger(2);
  w.WriteListBegin();
  w.WritePropName("P");
  w.WriteInteger(3);
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteSingle(1.5f);
  w.WriteCurrency(2.5);
  w.WriteDate(3.5);
  w.WriteWideString(std::string_view("wide"));
  w.WriteUtf8String("utf8");
  const std::int64_t values = 21;
  s.SetPosition(0);
  TReader r(s);
  std::int64_t skipped = 0;
  while (s.Position() < s.Size()) {
    r.SkipValue();
    ++skipped;
  }
  EXPECT_EQ(skipped, values);
  EXPECT_EQ(s.Position(), s.Size());
}
