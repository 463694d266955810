#include <gtest/gtest.h>

#include <cstring>

#include "framework/ClassRegistry.h"
#include "framework/ComponentErrors.h"
#include "framework/ObjectText.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "tests/framework/StreamTestObjects.h"
#include "tests/framework/TestFiles.h"

using namespace vandrel;
using namespace vandrel::test;

namespace {

std::string AsString(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// Real lines print differently in the other implementation ("Ratio =  5.000...E-0001"); they are
// compared by value here.
std::string WithoutRealLines(const std::string& text) {
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (line.find("Ratio = ") == std::string::npos) out += line + "\n";
    start = end + 1;
  }
  return out;
}

}  // namespace

TEST(TextForm, BinaryToTextMatchesTheReferenceImplementation) {
  std::string reference = ReadDataText("object.txt");
  std::string ours = ObjectBinaryToText(AsString(ReadDataFile("object.bin")));
  EXPECT_EQ(WithoutRealLines(ours), WithoutRealLines(reference));
  EXPECT_NE(ours.find("  Ratio = 0.5\n"), std::string::npos);

  std::string syntax = ObjectBinaryToText(AsString(ReadDataFile("syntax.bin")));
  EXPECT_EQ(syntax.find("Ratio = 1.25\n") != std::string::npos, true);
  EXPECT_EQ(WithoutRealLines(syntax), WithoutRealLines(ReadDataText("syntax.b2t.txt")));
}

TEST(TextForm, TextToBinaryMatchesTheReferenceImplementation) {
  // Our writer and theirs agree on the text of the reference object, so the binary of that text
  // must be theirs too (their text->binary writes the wide string as kind 18, as we do).
  EXPECT_EQ(ObjectTextToBinary(ReadDataText("object.txt")), AsString(ReadDataFile("object.t2b.bin")));
  EXPECT_EQ(ObjectTextToBinary(ReadDataText("syntax.txt")), AsString(ReadDataFile("syntax.bin")));
  EXPECT_EQ(ObjectTextToBinary(ReadDataText("reals.txt")), AsString(ReadDataFile("reals.bin")));
}

TEST(TextForm, ObjectToBinaryToTextToBinaryToObjectIsExact) {
  std::unique_ptr<TTestObject> root(MakeReferenceObject());
  root->SetRatio(0.1);  // not exact in binary: the text must still give back the same double
  root->SetBig(-9223372036854775807LL - 1);
  root->SetCaption(std::string("\xE4\xB8\xAD", 3) + "'\x01\x7F" + std::string(256, 'y'));
  root->objects.assign(70, 0xAB);  // binary value across three text lines
  TMemoryStream first;
  WriteComponentToStream(first, *root);
  std::string text = ComponentToText(*root);
  std::string binary = ObjectTextToBinary(text);
  // Only the wide string changes kind (an all-ASCII wide string comes back narrow); here it has
  // non-ASCII characters, so the bytes are identical.
  EXPECT_EQ(binary, AsString(first.Bytes()));
  RegisterTestClasses();
  std::unique_ptr<TComponent> copy(ComponentFromText(text));
  EXPECT_EQ(ComponentToText(*copy), text);
}

TEST(TextForm, RealKindsKeepTheirSuffix) {
  RegisterTestClasses();
  TTestFloats f(nullptr);
  f.SetName("F");
  f.SetSingle(0.1f);
  f.SetMoney(-12.3456);
  f.SetWhen(45424.75);
  f.SetNote("not stored while Count is 0");
  std::string text = ComponentToText(f);
  EXPECT_EQ(text,
            "object F: TTestFloats\n"
            "  Single = 0.1S\n"
            "  Money = -123456C\n"
            "  When = 45424.75D\n"
            "  Count = 0\n"
            "end\n");
  f.SetCount(2);
  EXPECT_NE(ComponentToText(f).find("  Count = 2\n  Note = 'not stored while Count is 0'\n"), std::string::npos);
  std::unique_ptr<TComponent> copy(ComponentFromText(text));
  auto* g = static_cast<TTestFloats*>(copy.get());
  EXPECT_EQ(g->Single(), 0.1f);
  EXPECT_DOUBLE_EQ(g->Money(), -12.3456);
  EXPECT_EQ(g->When(), 45424.75);
}

TEST(TextForm, ValueKindsWithoutAPropertyOfTheirOwn) {
  // Null, nil, UTF-8 strings and an indexed collection item, through a hand-made stream.
  TMemoryStream s;
  TWriter w(s);
  w.WriteSignature();
  w.WriteStr("TX");
  w.WriteStr("");
  w.WritePropName("A");
  w.WriteIdent("Null");
  w.WritePropName("B");
  w.WriteIdent("NIL");
  w.WritePropName("C");
  w.WriteUtf8String("Caf\xC3\xA9");
  w.WritePropName("D");
  w.WriteValue(vaCollection);
  w.WriteInteger(5);
  w.WriteListBegin();
  w.WritePropName("E");
  w.WriteListBegin();
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();
  w.WritePropName("F");
  w.WriteWideString(std::string_view(""));
  w.WriteListEnd();
  w.WriteListEnd();
  std::string text = ObjectBinaryToText(AsString(s.Bytes()));
  EXPECT_EQ(text,
            "object TX\n"
            "  A = Null\n"
            "  B = nil\n"
            "  C = 'Caf'#233\n"
            "  D = <  \n"
            "    item [5]\n"
            "      E = (      )\n"
            "    end>\n"
            "  F = ''\n"
            "end\n");
  // Back: the UTF-8 string returns as a wide string, the empty wide string as a short one.
  std::string binary = ObjectTextToBinary(text);
  TReadOnlyMemoryStream in(binary.data(), std::int64_t(binary.size()));
  TReader r(in);
  r.ReadSignature();
  r.ReadStr();
  r.ReadStr();
  EXPECT_EQ(r.ReadStr(), "A");
  EXPECT_EQ(r.ReadValue(), vaNull);
  EXPECT_EQ(r.ReadStr(), "B");
  EXPECT_EQ(r.ReadValue(), vaNil);
  EXPECT_EQ(r.ReadStr(), "C");
  EXPECT_EQ(r.NextValue(), vaWString);
  EXPECT_EQ(r.ReadString(), "Caf\xC3\xA9");
}

TEST(TextForm, ParserAcceptsTheWholeSyntax) {
  // Case-insensitive keywords, joined strings, #codes, hex integers, dotted names and values,
  // a child position and an anonymous object.
  std::string binary = ObjectTextToBinary(
      "OBJECT Root: TTestObject [2]\n"
      "  caption = 'a' + #65#$42 +\n   'c'''\n"
      "  Link = Child1.GrandChild\n"
      "  Int32 = $10\n"
      "  Kinds = [ tkForm ,tkPanel ]\n"
      "  object TTestChild End\n"
      "END");
  std::string text = ObjectBinaryToText(binary);
  EXPECT_EQ(text,
            "object Root: TTestObject [2]\n"
            "  caption = 'aABc'''\n"
            "  Link = Child1.GrandChild\n"
            "  Int32 = 16\n"
            "  Kinds = [tkForm, tkPanel]\n"
            "  object TTestChild\n"
            "  end\n"
            "end\n");
}
