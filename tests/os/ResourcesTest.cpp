#include "platform/os/Resources.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/os/Executable.h"
#include "tests/os/TestFiles.h"

namespace vandrel {
namespace {

std::string Contents(TStream& stream) {
  std::string bytes(size_t(stream.Size()), '\0');
  stream.ReadBuffer(bytes.data(), stream.Size());
  return bytes;
}

TEST(ResourcesTest, LinkedFilesReadBackByteForByte) {
  const struct {
    const char* name;
    const char* type;
    const char* file;
  } cases[] = {
      {"HELLO", "TESTDATA", "os/hello.txt"},
      {"hello", "testdata", "os/hello.txt"},  // without case, as on Windows
      {"ALLBYTES", "BINARY", "os/bytes.bin"},
      {"Empty", "Binary", "os/empty.bin"},
  };
  for (const auto& c : cases) {
    TResourceStream stream(c.name, c.type);
    EXPECT_EQ(Contents(stream), test::ReadFile(std::string(VANDREL_TEST_DATA "/") + c.file)) << c.name;
  }
  EXPECT_EQ(FindResource("HELLO", "BINARY"), nullptr);
  try {
    TResourceStream missing("DAT", "MSKN");
    FAIL() << "no exception";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource DAT not found");
  }
}

TEST(ResourcesTest, TheExecutableKnowsWhereItIs) {
  std::string path = ExeFileName();
  EXPECT_EQ(std::filesystem::path(path).filename(), "os_tests");
  EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
  EXPECT_EQ(ExeDirectory() + "os_tests", path);
}

}  // namespace
}  // namespace vandrel
