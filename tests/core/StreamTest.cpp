#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/core/Exception.h"
#include "platform/core/Stream.h"

using namespace vandrel;

TEST(Stream, MemoryStreamReadsWritesSeeksAndGrows) {
  TMemoryStream s;
  s.WriteValue<std::uint32_t>(0x30465054);  // "TPF0"
  s.WriteString("abc");
  EXPECT_EQ(s.Size(), 7);
  s.Seek(2, TSeekOrigin::soEnd);  // seeking past the end is allowed; writing there fills with zeros
  s.WriteString("z");
  EXPECT_EQ(s.Size(), 10);
  EXPECT_EQ(s.Bytes()[7], 0);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadValue<std::uint32_t>(), 0x30465054u);
  EXPECT_EQ(s.ReadBytes(3), (std::vector<std::uint8_t>{'a', 'b', 'c'}));
  s.SetSize(5);
  EXPECT_EQ(s.Position(), 5);
  char c;
  EXPECT_EQ(s.Read(&c, 1), 0);
  EXPECT_THROW(s.ReadBuffer(&c, 1), EReadError);
  EXPECT_THROW(s.ReadBytes(-1), EReadError);
  EXPECT_THROW(s.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
}

TEST(Stream, ReadOnlyViewAndCopy) {
  const char data[] = "0123456789";
  TReadOnlyMemoryStream view(data, 10);
  EXPECT_EQ(view.Size(), 10);
  view.Seek(-3, TSeekOrigin::soEnd);
  EXPECT_EQ(view.ReadBytes(3), (std::vector<std::uint8_t>{'7', '8', '9'}));
  EXPECT_THROW(view.WriteString("x"), EWriteError);
  EXPECT_THROW(view.ReadBytes(1), EReadError);

  TMemoryStream copy;
  EXPECT_EQ(copy.CopyFrom(view, 0), 10);  // 0 copies the whole source from its start
  EXPECT_EQ(std::string(copy.Bytes().begin(), copy.Bytes().end()), "0123456789");
  view.SetPosition(2);
  TMemoryStream part;
  part.CopyFrom(view, 3);
  EXPECT_EQ(std::string(part.Bytes().begin(), part.Bytes().end()), "234");
  EXPECT_THROW(part.CopyFrom(view, 100), EReadError);
}

TEST(Stream, FileStreamCreatesReadsAndReportsMissingFiles) {
  auto dir = std::filesystem::temp_directory_path() / ("vandrel-stream-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "f.bin").string();
  {
    TFileStream f(path, fmCreate);
    f.WriteString("hello");
    f.SetPosition(0);
    EXPECT_EQ(f.ReadBytes(2), (std::vector<std::uint8_t>{'h', 'e'}));
    f.WriteString("Y");  // a write straight after a read lands at the position
  }
  TMemoryStream m;
  m.LoadFromFile(path);
  EXPECT_EQ(std::string(m.Bytes().begin(), m.Bytes().end()), "heYlo");
  EXPECT_THROW(TFileStream((dir / "missing").string(), fmOpenRead), EFOpenError);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_THROW(TFileStream((dir / "no/such/dir/x").string(), fmCreate), EFCreateError);
  std::filesystem::remove_all(dir);
}
