// The compression and decompression streams: what they write and read across their 8192-byte
// buffers, their position and seeking rules, and the errors of misuse and of damaged data.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "skin/ZlibStream.h"
#include "tests/skin/SkinTestData.h"

namespace vandrel::test {
namespace {

// Mixed data: incompressible runs and repeats, longer than several buffers on both sides.
Bytes SampleData(size_t size) {
  Bytes data(size);
  std::mt19937 random(7);
  for (size_t i = 0; i < size; ++i) data[i] = (i / 5000) % 2 ? std::uint8_t(random()) : std::uint8_t(i % 7);
  return data;
}

Bytes Compress(const Bytes& data, int level, size_t piece) {
  TMemoryStream out;
  {
    TCompressionStream z(level, out);
    for (size_t at = 0; at < data.size(); at += piece) {
      const size_t n = std::min(piece, data.size() - at);
      EXPECT_EQ(z.Write(data.data() + at, std::int64_t(n)), std::int64_t(n));
      EXPECT_EQ(z.Position(), std::int64_t(at + n));  // the count taken in
    }
  }
  return out.Bytes();
}

TEST(ZlibStreamTest, RoundTripsAtBothLevelsWithTheirHeaders) {
  const Bytes data = SampleData(70000);
  struct Case {
    int level;
    std::uint8_t second;
    size_t piece;
  } cases[] = {{1, 0x01, 1}, {1, 0x01, 8192}, {9, 0xDA, 100000}, {9, 0xDA, 3000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    Bytes packed = Compress(data, c.level, c.piece);
    ASSERT_GE(packed.size(), 2u);
    EXPECT_EQ(packed[0], 0x78);
    EXPECT_EQ(packed[1], c.second);
    EXPECT_EQ(Inflate(packed, 0), data);

    TReadOnlyMemoryStream in(packed.data(), std::int64_t(packed.size()));
    TDecompressionStream z(in);
    Bytes back(data.size() + 10);
    EXPECT_EQ(z.Read(back.data(), 12345), 12345);
    EXPECT_EQ(z.Read(back.data() + 12345, std::int64_t(back.size()) - 12345), std::int64_t(data.size()) - 12345);
    back.resize(data.size());
    EXPECT_EQ(back, data);
    EXPECT_EQ(z.Read(back.data(), 1), 0);  // after the end of the deflate stream
  }
}

TEST(ZlibStreamTest, EmptyInputStillMakesACompleteStream) {
  Bytes packed = Compress({}, 1, 1);
  EXPECT_EQ(Inflate(packed, 0), Bytes());
}

TEST(ZlibStreamTest, MisuseRaisesInvalidStreamOperation) {
  TMemoryStream out;
  TCompressionStream c(1, out);
  char byte = 0;
  auto expectInvalid = [](auto&& call, auto* type) {
    using E = std::remove_pointer_t<decltype(type)>;
    try {
      call();
      ADD_FAILURE() << "no error";
    } catch (const E& e) {
      EXPECT_STREQ(e.what(), "Invalid stream operation");
    }
  };
  expectInvalid([&] { c.Read(&byte, 1); }, (ECompressionError*)nullptr);
  expectInvalid([&] { c.Seek(0, TSeekOrigin::soBeginning); }, (ECompressionError*)nullptr);
  expectInvalid([&] { c.Seek(1, TSeekOrigin::soCurrent); }, (ECompressionError*)nullptr);
  c.Finish();
  expectInvalid([&] { c.Write(&byte, 1); }, (ECompressionError*)nullptr);

  Bytes packed = Deflate(SampleData(100));
  TReadOnlyMemoryStream in(packed.data(), std::int64_t(packed.size()));
  TDecompressionStream d(in);
  expectInvalid([&] { d.Write(&byte, 1); }, (EDecompressionError*)nullptr);
  d.Seek(10, TSeekOrigin::soBeginning);
  expectInvalid([&] { d.Seek(5, TSeekOrigin::soBeginning); }, (EDecompressionError*)nullptr);
  expectInvalid([&] { d.Seek(-1, TSeekOrigin::soCurrent); }, (EDecompressionError*)nullptr);
  expectInvalid([&] { d.Seek(0, TSeekOrigin::soEnd); }, (EDecompressionError*)nullptr);
  expectInvalid([&] { d.Size(); }, (EDecompressionError*)nullptr);
  // Both derive from the common zlib error.
  EXPECT_THROW(d.Write(&byte, 1), EZlibError);
}

TEST(ZlibStreamTest, DecompressionSeeksForwardAndRewindsToWhereItWasBound) {
  const Bytes data = SampleData(20000);
  // Bytes before the zlib stream, as the container's magic is.
  Bytes file = {'Q', 'D', 'L', 'Z'};
  Bytes packed = Deflate(data);
  file.insert(file.end(), packed.begin(), packed.end());
  TReadOnlyMemoryStream in(file.data(), std::int64_t(file.size()));
  in.SetPosition(4);
  TDecompressionStream z(in);
  std::uint8_t b = 0;
  EXPECT_EQ(z.Seek(9000, TSeekOrigin::soBeginning), 9000);
  z.Read(&b, 1);
  EXPECT_EQ(b, data[9000]);
  EXPECT_EQ(z.Seek(999, TSeekOrigin::soCurrent), 10000);
  EXPECT_EQ(z.Position(), 10000);
  z.Read(&b, 1);
  EXPECT_EQ(b, data[10000]);
  EXPECT_EQ(z.Seek(0, TSeekOrigin::soBeginning), 0);
  z.Read(&b, 1);
  EXPECT_EQ(b, data[0]);
  // A forward seek past the end stops there.
  EXPECT_EQ(z.Seek(50000, TSeekOrigin::soBeginning), 20000);
}

TEST(ZlibStreamTest, DamagedDataRaisesErrorAndTruncatedDataReadsShort) {
  const Bytes data = SampleData(30000);
  const Bytes packed = Deflate(data);
  auto readAll = [](const Bytes& bytes) {
    TReadOnlyMemoryStream in(bytes.data(), std::int64_t(bytes.size()));
    TDecompressionStream z(in);
    Bytes out(100000);
    return z.Read(out.data(), std::int64_t(out.size()));
  };
  struct Case {
    const char* what;
    Bytes bytes;
  } damaged[] = {
      {"not a zlib header", Bytes{'Q', 'D', 'L', 'Z', 1, 2, 3}},
      {"header asking for a preset dictionary", Bytes{0x78, 0xBB, 0, 0, 0, 1, 0x03, 0x00}},
      {"unknown block type", Bytes{0x78, 0x9C, 0x07, 0, 0}},
      {"wrong checksum", [&] { Bytes b = packed; b.back() ^= 1; return b; }()},
  };
  for (const Case& c : damaged) {
    SCOPED_TRACE(c.what);
    try {
      readAll(c.bytes);
      ADD_FAILURE() << "no error";
    } catch (const EDecompressionError& e) {
      EXPECT_STREQ(e.what(), "error");
    }
  }
  EXPECT_EQ(readAll(Bytes(packed.begin(), packed.begin() + 2)), 0);
  const std::int64_t part = readAll(Bytes(packed.begin(), packed.begin() + std::ptrdiff_t(packed.size() / 2)));
  EXPECT_GT(part, 0);
  EXPECT_LT(part, std::int64_t(data.size()));
}

TEST(ZlibStreamTest, LimitStopsABombButNotDataThatEndsAtIt) {
  const Bytes zeros(1 << 20);
  const Bytes packed = Deflate(zeros);
  ASSERT_LT(packed.size(), 2000u);
  Bytes out(zeros.size() + 1);
  {
    TReadOnlyMemoryStream in(packed.data(), std::int64_t(packed.size()));
    TDecompressionStream z(in, std::int64_t(zeros.size()));
    EXPECT_EQ(z.Read(out.data(), std::int64_t(out.size())), std::int64_t(zeros.size()));
  }
  TReadOnlyMemoryStream in(packed.data(), std::int64_t(packed.size()));
  TDecompressionStream z(in, 4096);
  EXPECT_EQ(z.Read(out.data(), 4096), 4096);
  EXPECT_THROW(z.Read(out.data(), 1), EDecompressionError);
  TReadOnlyMemoryStream again(packed.data(), std::int64_t(packed.size()));
  TDecompressionStream skipping(again, 4096);
  EXPECT_THROW(skipping.Seek(5000, TSeekOrigin::soBeginning), EDecompressionError);
}

}  // namespace
}  // namespace vandrel::test
