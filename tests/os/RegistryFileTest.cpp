#include "platform/os/RegistryFile.h"

#include <gtest/gtest.h>

#include "platform/core/Exception.h"
#include "platform/core/Text.h"

namespace vandrel {
namespace {

using namespace std::string_literals;

const std::string kExport =
    "REGEDIT4\r\n"
    "\r\n"
    "; exported by hand\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\r\n"
    "\"ExeFileName\"=\"C:\\\\Program Files\\\\tarvo\\\\tarvo.exe\"\r\n"
    "\"AutoRun\"=\"1\"\r\n"
    "\"Count\"=dword:0000002a\r\n"
    "\"Blob\"=hex:01,02,03,\\\r\n"
    "  04,05\r\n"
    "@=\"default \\\"quoted\\\"\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\software\\microsoft\\windows\\CurrentVersion\\Run]\r\n"
    "\"tarvo\"=\"\"\r\n";

std::string Utf16WithBom(const std::string& utf8, bool bigEndian = false) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : Utf8ToUtf16(utf8)) {
    bytes += char(bigEndian ? unit >> 8 : unit & 0xFF);
    bytes += char(bigEndian ? unit & 0xFF : unit >> 8);
  }
  return bytes;
}

std::string TextOf(const TRegistryFile& file, const char* key, const char* name) {
  std::optional<TRegistryValue> value = file.FindValue(key, name);
  return value ? value->text : "<absent>";
}

TEST(RegistryFileTest, UnchangedDocumentsRoundTripByteForByte) {
  const std::string cases[] = {
      kExport,
      "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"1\"",  // LF, no final line end
      "\xEF\xBB\xBFREGEDIT4\r\n[HKLM\\A]\r\n\"x\"=\"\xE4\xB8\xAD\xE6\x96\x87\"\r\n",
      Utf16WithBom("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=\"\xE4\xB8\xAD\"\r\n"),
      "REGEDIT4\n[HKLM\\A]\n\"x\"=\"torn\n\"y\"=qword:01\ngarbage \xFF\xFE bytes\n[HKLM\\B\n\"z\"=hex:01,\\",
      "   \n\n",
  };
  for (const std::string& bytes : cases) {
    TRegistryFile file = TRegistryFile::Parse(bytes);
    EXPECT_TRUE(file.IsRewritable()) << bytes;
    EXPECT_EQ(file.Serialize(), bytes);
  }

  // Both byte orders of UTF-16 read the same.
  for (bool bigEndian : {false, true}) {
    TRegistryFile file = TRegistryFile::Parse(Utf16WithBom(kExport, bigEndian));
    EXPECT_EQ(file.Encoding(), bigEndian ? TTextEncoding::teUtf16BE : TTextEncoding::teUtf16LE);
    EXPECT_EQ(TextOf(file, "HKLM\\SOFTWARE\\tarvo", "autorun"), "1");
    EXPECT_EQ(file.Serialize(), Utf16WithBom(kExport, bigEndian));
  }
}

TEST(RegistryFileTest, NamesAndKeyPathsCompareWithoutCase) {
  TRegistryFile file = TRegistryFile::Parse(kExport);
  EXPECT_EQ(TextOf(file, "HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo", "AuToRun"), "1");
  EXPECT_EQ(TextOf(file, "\\hkey_local_machine\\software\\TARVO\\", "autorun"), "1");
  EXPECT_EQ(TextOf(file, "HKLM\\Software\\Tarvo", "EXEFILENAME"), "C:\\Program Files\\tarvo\\tarvo.exe");
  EXPECT_EQ(TextOf(file, "HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo", ""), "default \"quoted\"");
  EXPECT_EQ(TextOf(file, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Tarvo"), "");
  EXPECT_EQ(TextOf(file, "HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo", "Missing"), "<absent>");
  EXPECT_EQ(TextOf(file, "HKEY_CURRENT_USER\\SOFTWARE\\tarvo", "AutoRun"), "<absent>");

  EXPECT_TRUE(file.KeyExists("HKEY_LOCAL_MACHINE\\software"));  // a parent of a section
  EXPECT_FALSE(file.KeyExists("HKEY_LOCAL_MACHINE\\soft"));
  EXPECT_FALSE(file.KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo\\sub"));

  std::optional<TRegistryValue> count = file.FindValue("HKLM\\SOFTWARE\\tarvo", "count");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->kind, TRegistryValueKind::rvOther);
  EXPECT_EQ(count->typeName, "dword");
  EXPECT_EQ(file.FindValue("HKLM\\SOFTWARE\\tarvo", "blob")->kind, TRegistryValueKind::rvOther);
  EXPECT_TRUE(file.Problems().empty());
}

TEST(RegistryFileTest, LaterDefinitionsWinAsOnImport) {
  TRegistryFile file = TRegistryFile::Parse(
      "REGEDIT4\n[HKLM\\A]\n\"x\"=\"first\"\n\"y\"=\"kept\"\n\"z\"=\"gone\"\n"
      "[hklm\\a]\n\"X\"=\"second\"\n\"z\"=-\n");
  EXPECT_EQ(TextOf(file, "HKLM\\A", "x"), "second");
  EXPECT_EQ(TextOf(file, "HKLM\\A", "y"), "kept");
  EXPECT_EQ(TextOf(file, "HKLM\\A", "z"), "<absent>");

  file.SetString("HKLM\\A", "x", "third");  // the definition that is read is the one changed
  EXPECT_EQ(TextOf(file, "HKLM\\A", "x"), "third");
  EXPECT_NE(file.Serialize().find("\"x\"=\"first\""), std::string::npos);
}

TEST(RegistryFileTest, HexStringsDecodeInBothFlavours) {
  // "a\nb" with its terminating zero: bytes in REGEDIT4, UTF-16LE in version 5.
  TRegistryFile v4 = TRegistryFile::Parse("REGEDIT4\n[HKLM\\A]\n\"s\"=hex(1):61,0a,62,00\n\"e\"=hex(2):25,50,25,00\n");
  EXPECT_EQ(TextOf(v4, "HKLM\\A", "s"), "a\nb");
  EXPECT_EQ(v4.FindValue("HKLM\\A", "e")->kind, TRegistryValueKind::rvExpandString);
  EXPECT_EQ(TextOf(v4, "HKLM\\A", "e"), "%P%");
  TRegistryFile v5 = TRegistryFile::Parse(
      "Windows Registry Editor Version 5.00\n[HKLM\\A]\n\"s\"=hex(1):2d,4e,\\\n  87,65,00,00\n");
  EXPECT_EQ(TextOf(v5, "HKLM\\A", "s"), "\xE4\xB8\xAD\xE6\x96\x87");
}

TEST(RegistryFileTest, EditsChangeOnlyWhatTheyTouch) {
  TRegistryFile file = TRegistryFile::Parse(kExport);
  file.SetString("HKEY_LOCAL_MACHINE\\SOFTWARE\\TARVO", "AuToRun", "0");
  std::string expected = kExport;
  expected.replace(expected.find("\"AutoRun\"=\"1\""), 13, "\"AutoRun\"=\"0\"");
  EXPECT_EQ(file.Serialize(), expected);

  // A new value goes after the section's last line, before the blank line between sections.
  file.SetString("HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo", "New", "C:\\a \"b\"");
  expected.insert(expected.find("\r\n\r\n[HKEY_LOCAL_MACHINE\\software\\microsoft") + 2,
                  "\"New\"=\"C:\\\\a \\\"b\\\"\"\r\n");
  EXPECT_EQ(file.Serialize(), expected);

  // A new key is appended as its own section, with the file's line ends.
  file.SetString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Other\\", "v", "1");
  expected += "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n\"v\"=\"1\"\r\n";
  EXPECT_EQ(file.Serialize(), expected);

  TRegistryFile again = TRegistryFile::Parse(file.Serialize());
  EXPECT_EQ(TextOf(again, "HKLM\\software\\tarvo", "new"), "C:\\a \"b\"");
  EXPECT_EQ(TextOf(again, "HKLM\\software\\other", "V"), "1");
}

TEST(RegistryFileTest, NewDocumentsAndLineBreaksInValues) {
  TRegistryFile file;
  file.SetString("HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo", "AuToRun", "1");
  file.SetString("HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo", "Note", "two\r\nlines");
  EXPECT_EQ(file.Serialize(),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\r\n\"AuToRun\"=\"1\"\r\n"
            "\"Note\"=hex(1):74,77,6f,0d,0a,6c,69,6e,65,73,00\r\n");
  EXPECT_EQ(TextOf(TRegistryFile::Parse(file.Serialize()), "HKLM\\SOFTWARE\\tarvo", "note"), "two\r\nlines");

  // A UTF-16 file stays UTF-16, and hex strings in it are UTF-16 too.
  TRegistryFile wide = TRegistryFile::Parse(Utf16WithBom("Windows Registry Editor Version 5.00\r\n"));
  wide.SetString("HKLM\\A", "x", "\xE4\xB8\xAD");
  wide.SetString("HKLM\\A", "y", "a\nb");
  EXPECT_EQ(wide.Serialize(), Utf16WithBom("Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\A]\r\n"
                                             "\"x\"=\"\xE4\xB8\xAD\"\r\n\"y\"=hex(1):61,00,0a,00,62,00,00,00\r\n"));

  EXPECT_THROW(file.SetString("HKLM\\A", "bad\nname", "1"), EInvalidArgument);
  EXPECT_THROW(file.SetString("HKLM\\A\\\\B", "x", "1"), EInvalidArgument);
}

TEST(RegistryFileTest, DamagedLinesAreReportedAndKept) {
  const std::string damaged =
      "REGEDIT4\n"
      "[HKLM\\A]\n"
      "\"good\"=\"1\"\n"
      "\"torn\"=\"no end\n"
      "what is this\n"
      "[-HKLM\\B]\n"
      "\"underDeletion\"=\"x\"\n"
      "[HKLM\\C\n"
      "\"underBroken\"=\"x\"\n"
      "[HKLM\\A]\n"
      "\"odd\"=qword:0102030405060708\n"
      "\"cut\"=hex:01,\\";
  TRegistryFile file = TRegistryFile::Parse(damaged);
  ASSERT_TRUE(file.IsRegistryFile());
  std::vector<int> lines;
  for (const TRegistryProblem& problem : file.Problems()) lines.push_back(problem.line);
  EXPECT_EQ(lines, (std::vector<int>{4, 5, 6, 7, 8, 9, 12}));
  EXPECT_EQ(TextOf(file, "HKLM\\A", "good"), "1");
  EXPECT_EQ(TextOf(file, "HKLM\\A", "torn"), "<absent>");
  EXPECT_EQ(TextOf(file, "HKLM\\B", "underDeletion"), "<absent>");
  EXPECT_EQ(file.FindValue("HKLM\\A", "odd")->kind, TRegistryValueKind::rvOther);

  TRegistryFile torn = TRegistryFile::Parse("REGEDIT4\n[HKLM\\A]\n\"blob\"=hex:01,\\\n[HKLM\\B]\n\"b\"=\"1\"\n");
  EXPECT_EQ(TextOf(torn, "HKLM\\B", "b"), "1") << "a cut-off value does not swallow the next key";
  EXPECT_EQ(torn.Problems().size(), 1u);

  // Values added later land in a good section and every damaged line stays.
  file.SetString("HKLM\\A", "new", "2");
  std::string saved = file.Serialize();
  EXPECT_EQ(saved, damaged.substr(0, damaged.find("\"cut\"")) + "\"new\"=\"2\"\n\"cut\"=hex:01,\\");
}

TEST(RegistryFileTest, ForeignFilesAreNeverEdited) {
  const std::string cases[] = {
      "[HKLM\\A]\n\"x\"=\"no header\"\n",
      "\x7F" "ELF\x02\x01\x01",
      "REGEDIT",  // cut off inside the header
      "\xFF\xFER\0E\0G\0E\0D\0I\0T\0" "4\0\n\0\x00\xD8\n\0"s,  // unpaired surrogate
  };
  for (const std::string& bytes : cases) {
    TRegistryFile file = TRegistryFile::Parse(bytes);
    EXPECT_FALSE(file.IsRewritable()) << bytes;
    EXPECT_FALSE(file.Problems().empty());
    EXPECT_THROW(file.SetString("HKLM\\A", "x", "1"), EInvalidOperation);
    EXPECT_EQ(file.Serialize(), bytes) << "what was read is still all there";
  }
}

TEST(RegistryFileTest, VeryLongLinesReadBack) {
  std::string value(2 << 20, 'v');
  std::string bytes = "REGEDIT4\n[HKLM\\A]\n\"long\"=\"" + value + "\"\n\"after\"=\"ok\"\n";
  TRegistryFile file = TRegistryFile::Parse(bytes);
  EXPECT_EQ(TextOf(file, "HKLM\\A", "long"), value);
  EXPECT_EQ(TextOf(file, "HKLM\\A", "after"), "ok");
  EXPECT_EQ(file.Serialize(), bytes);
}

}  // namespace
}  // namespace vandrel
