#include <gtest/gtest.h>

#include <cstring>

#include "framework/ClassRegistry.h"
#include "framework/ComponentErrors.h"
#include "framework/PropertyInfo.h"
#include "framework/ObjectText.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "tests/framework/StreamTestObjects.h"
#include "tests/framework/TestFiles.h"

using namespace vandrel;
using namespace vandrel::test;

namespace {

std::string ReadError(const std::string& binary, TComponent* root = nullptr) {
  RegisterTestClasses();
  TReadOnlyMemoryStream s(binary.data(), std::int64_t(binary.size()));
  try {
    std::unique_ptr<TComponent> c(ReadComponentFromStream(s, root));
    if (root) c.release();
  } catch (const EReadError& e) {
    return e.what();
  }
  return "no error";
}

// A root object "Root: TTestObject" with one property whose name and value bytes are given.
std::string WithProperty(const std::string& name, const std::string& value) {
  std::string s = "TPF0\x0BTTestObject\x04Root";
  s += char(name.size()) + name + value;
  return s + std::string("\0\0", 2);
}

// Keeps a child whose whole stream is stored as a binary value, as skin objects keep theirs.
class TNestedHolder : public TComponent {
  VANDREL_CLASS_INFO
 public:
  using TComponent::TComponent;
  void DefineProperties(TFiler& filer) override {
    filer.DefineBinaryProperty(
        "Inner", [this](TStream& s) { ReadComponentFromStream(s, new TNestedHolder(this)); }, nullptr, false);
  }
};

std::string Reference() {
  auto bytes = ReadDataFile("object.bin");
  return {bytes.begin(), bytes.end()};
}

}  // namespace

const TClassInfo& TNestedHolder::StaticClassInfo() {
  static const TClassInfo info("TNestedHolder", &TComponent::StaticClassInfo(), nullptr, {});
  return info;
}

TEST(DamagedStream, EveryTruncationRaisesAndFreesWhatWasRead) {
  std::string full = Reference();
  for (size_t n = 0; n < full.size(); ++n) {
    std::string cut = full.substr(0, n);
    EXPECT_NE(ReadError(cut), "no error") << n;
    EXPECT_THROW(ObjectBinaryToText(cut), EReadError) << n;
  }
  // The same into an existing root: it survives, and is no longer loading.
  TTestObject root(nullptr);
  EXPECT_NE(ReadError(full.substr(0, full.size() - 30), &root), "no error");
  EXPECT_FALSE(root.Loading());
}

TEST(DamagedStream, EveryTruncationOfTheTextRaises) {
  std::string full = ReadDataText("object.txt");
  size_t lastEnd = full.rfind("end");
  for (size_t n = 0; n < lastEnd + 3; ++n) EXPECT_THROW(ObjectTextToBinary(full.substr(0, n)), EParserError) << n;
  EXPECT_NO_THROW(ObjectTextToBinary(full.substr(0, lastEnd + 3)));
}

TEST(DamagedStream, ClearMessagesForWrongContent) {
  struct Case {
    std::string stream;
    std::string message;
  } cases[] = {
      {"TPF1", "Invalid stream format: the TPF0 signature is missing"},
      {std::string("TPF0\x05TNope\x01X\0\0", 14), "Class TNope not found"},
      {std::string("TPF0\x0BTCollection\0\0\0", 20), "Class TCollection not found"},
      {WithProperty("Nope", "\x02\x01"), "Error reading Root.Nope: Property Nope does not exist"},
      {WithProperty("Font.Nope", "\x02\x01"), "Error reading Root.Font.Nope: Property Font.Nope does not exist"},
      {WithProperty("Int8.Sub", "\x02\x01"), "Error reading Root.Int8.Sub: Property Int8.Sub does not exist"},
      {WithProperty("Int8", "\x16"), "Error reading Root.Int8: Invalid value kind 22 at offset 26"},
      {WithProperty("Int8", "\x06\x01x"), "Error reading Root.Int8: Expected an integer but found String"},
      {WithProperty("Int8", std::string("\x13\0\0\0\0\x01\0\0\0", 9)),
       "Error reading Root.Int8: Integer value 4294967296 out of range"},
      {WithProperty("Kind", "\x07\x04tkNo"), "Error reading Root.Kind: Invalid property value tkNo"},
      {WithProperty("Kinds", "\x0B\x06tkForm\x03tkX\x00"), "Error reading Root.Kinds: Invalid set element tkX"},
      {WithProperty("ColorNum", "\x07\x08" "clNoSuch"), "Error reading Root.ColorNum: Invalid property value clNoSuch"},
      {WithProperty("Visible", "\x02\x01"), "Error reading Root.Visible: Expected a Boolean but found Int8"},
      {WithProperty("Font", "\x02\x01"), "Error reading Root.Font: Property Font is an object and takes no value"},
      {WithProperty("Link", "\x07\x04Nope"), "Error reading Root.Link: unresolved reference to 'Nope'"},
      {WithProperty("OnChange", "\x07\x04Nope"), "Error reading Root.OnChange: Method 'Nope' not found"},
      {WithProperty("Items", "\x0E\x02\x01\x00\x00"), "Error reading Root.Items: Expected List but found Null at offset 30"},
      {WithProperty("Objects", "\x02\x01"), "Error reading Root.Objects: Expected Binary but found Int8 at offset 29"},
      {std::string("TPF0\x0BTTestObject\x04Root\0\x0ATTestChild\x01" "A\0\0\x0ATTestChild\x01" "a\0\0\0", 52),
       "Error reading TTestChild a: A component named a already exists"},
      {std::string("TPF0\x0BTTestObject\x03" "1st\0\0", 22), "Error reading TTestObject 1st: '1st' is not a valid component name"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadError(c.stream), c.message);
}

TEST(DamagedStream, AbsurdCountsAreRejectedBeforeAllocating) {
  struct Case {
    std::string value;
  } cases[] = {
      {std::string("\x0C\xFF\xFF\xFF\x7F", 5)},  // long string of 2 GB
      {std::string("\x0C\xFF\xFF\xFF\xFF", 5)},  // 4 GB
      {std::string("\x12\xFF\xFF\xFF\x7F", 5)},  // wide string of 2 G characters
      {std::string("\x14\x00\x00\x00\x80", 5)},  // UTF-8 string
  };
  for (const auto& c : cases) {
    std::string message = ReadError(WithProperty("Caption", c.value));
    EXPECT_NE(message.find("bytes at offset 34 but only 2 remain"), std::string::npos) << message;
  }
  std::string binary = ReadError(WithProperty("Objects", std::string("\x0A\x00\xCA\x9A\x3B", 5)));
  EXPECT_NE(binary.find("Stream announces 1000000000 bytes"), std::string::npos) << binary;
  EXPECT_THROW(ObjectBinaryToText(WithProperty("Objects", std::string("\x0A\xFF\xFF\xFF\xFF", 5))), EReadError);
}

TEST(DamagedStream, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  std::string lists = WithProperty("Lines", std::string(1000000, '\x01'));
  try {
    ObjectBinaryToText(lists);
    ADD_FAILURE();
  } catch (const EReadError& e) {
    EXPECT_NE(std::string(e.what()).find("nests too deeply"), std::string::npos);
  }

  std::string children = "TPF0\x0BTTestObject\x04Root";
  for (int i = 0; i < 100000; ++i) children += std::string("\0\x0ATTestChild\0", 13);
  EXPECT_NE(ReadError(children).find("nests too deeply"), std::string::npos);

  std::string text = "object A: TTestObject\n";
  for (int i = 0; i < 100000; ++i) text += " object TTestChild\n";
  EXPECT_THROW(ObjectTextToBinary(text), EParserError);
  EXPECT_THROW(ObjectTextToBinary("object A: T\n L = " + std::string(100000, '(')), EParserError);
}

TEST(DamagedStream, NestingCountsAcrossReadersStartedInsideAProperty) {
  auto holder = [](const std::string& inner) {
    std::string s = std::string("TPF0\x0DTNestedHolder\x00", 19);
    if (!inner.empty()) {
      std::uint32_t n = std::uint32_t(inner.size());
      s += "\x05Inner\x0A";
      s.append(reinterpret_cast<const char*>(&n), 4);
      s += inner;
    }
    return s + std::string("\0\0", 2);
  };
  std::string shallow = holder(holder(holder("")));
  TNestedHolder ok(nullptr);
  TReadOnlyMemoryStream in(shallow.data(), std::int64_t(shallow.size()));
  ReadComponentFromStream(in, &ok);
  ASSERT_EQ(ok.ComponentCount(), 1);
  EXPECT_EQ(ok.Components(0)->ComponentCount(), 1);

  std::string deep;
  for (int i = 0; i < 1000; ++i) deep = holder(deep);
  TNestedHolder root(nullptr);
  std::string message = ReadError(deep, &root);
  EXPECT_TRUE(message.starts_with("Error reading TNestedHolder.Inner: Stream nests too deeply")) << message.substr(0, 200);
}

TEST(DamagedStream, ParserErrorsNameTheLine) {
  struct Case {
    std::string text;
    std::string message;
  } cases[] = {
      {"thing A: T\nend", "'object' expected on line 1"},
      {"object A: T\n  X = 'open\nend", "Unterminated string on line 2"},
      {"object A: T\n  X = )\nend", "Invalid property value on line 2"},
      {"object A: T\n  X = {0A1}\nend", "Odd number of hexadecimal digits in a binary value on line 2"},
      {"object A: T\n  X = {0G}\nend", "Invalid binary value on line 2"},
      {"object A: T\n  X = 99999999999999999999\nend", "Integer out of range: 99999999999999999999 on line 2"},
      {"object A: T\n  X = 1.5e99999\nend", "Invalid real number 1.5e99999 on line 2"},
      {"object A: T\n  X = 12abc\nend", "Invalid number 12a on line 2"},
      {"object A: T\n  X = #70000\nend", "Invalid character code on line 2"},
      {"object A: T\n  X = 'a' + 1\nend", "String expected on line 2"},
      {"object A: T\n  X = [a b]\nend", "',' expected on line 2"},
      {"object A: T\n  X = <\n  thing\n  end>\nend", "'item' expected on line 3"},
      {"object A: T\n  X = 1", "Property name expected on line 2"},
      {"object A: T\n  X = 1e5000C\nend", "Invalid real number 1e5000 on line 2"},
      {"object A: T\n  X = 1e300S\nend", "Single value out of range on line 2"},
  };
  for (const auto& c : cases) {
    try {
      ObjectTextToBinary(c.text);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const EParserError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST(DamagedStream, FailedConversionLeavesTheOutputUntouched) {
  TMemoryStream out;
  out.WriteString("keep");
  std::string text = "object A: T\n  X = (\nend";
  TReadOnlyMemoryStream in(text.data(), std::int64_t(text.size()));
  EXPECT_THROW(ObjectTextToBinary(in, out), EParserError);
  std::string binary = Reference().substr(0, 100);
  TReadOnlyMemoryStream bin(binary.data(), std::int64_t(binary.size()));
  EXPECT_THROW(ObjectBinaryToText(bin, out), EReadError);
  EXPECT_EQ(out.Size(), 4);
}
