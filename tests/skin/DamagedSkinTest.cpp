// Damaged skin files: truncated at every length, bits flipped everywhere, absurd counts and sizes,
// deep and wide object trees, a zlib bomb. Each raises a clear error (an Exception) and never
// crashes; counts and sizes are checked against the bytes that arrive, so none of them makes the
// reader allocate what the input does not hold (ASan would fail these tests on a request for the
// gigabytes a count announces).
#include <gtest/gtest.h>

#include <functional>

#include "framework/ComponentErrors.h"
#include "skin/SkinFilter.h"
#include "skin/SkinRecords.h"
#include "skin/SkinSource.h"
#include "skin/ZlibStream.h"
#include "tests/skin/SkinTestData.h"

namespace vandrel::test {
namespace {

using LoadFn = std::function<void(TSeSkinSource&, const Bytes&)>;

template <typename Filter>
LoadFn Loader() {
  return &LoadWith<Filter>;
}

struct FileType {
  const char* name;
  Bytes bytes;
  LoadFn load;
};

std::vector<FileType> SampleFiles() {
  TSeSkinSource sample;
  FillSampleSkin(sample);
  return {
      {"uskn", SaveWith<TSeSkinFilterUncompressed>(sample), Loader<TSeSkinFilterUncompressed>()},
      {"kskn", SaveWith<TSeSkinFilterCompressed>(sample), Loader<TSeSkinFilterCompressed>()},
      {"mskn", SaveWith<TSeSkinFilterMaxCompression>(sample), Loader<TSeSkinFilterMaxCompression>()},
  };
}

TEST(DamagedSkinTest, TruncatedAtEveryLengthRaisesOrLosesOnlyTheChecksum) {
  TSeSkinSource sample;
  FillSampleSkin(sample);
  const std::string whole = Describe(sample);
  for (const FileType& type : SampleFiles()) {
    SCOPED_TRACE(type.name);
    for (size_t length = 0; length < type.bytes.size(); ++length) {
      TSeSkinSource source;
      try {
        type.load(source, Bytes(type.bytes.begin(), type.bytes.begin() + std::ptrdiff_t(length)));
        // Only the zlib trailer may be missing: the content itself is whole.
        EXPECT_EQ(Describe(source), whole) << length;
      } catch (const Exception&) {
      }
    }
  }
}

TEST(DamagedSkinTest, FlippedBitsNeverCrash) {
  for (const FileType& type : SampleFiles()) {
    SCOPED_TRACE(type.name);
    for (size_t at = 0; at < type.bytes.size(); ++at) {
      Bytes damaged = type.bytes;
      damaged[at] ^= std::uint8_t(1 << (at % 8));
      TSeSkinSource source;
      try {
        type.load(source, damaged);
      } catch (const Exception&) {
      }
    }
  }
}

Bytes LeafRecord(const std::string& name) { return BinaryRecord("TSeSkinObject", ObjectStream("TSeSkinObject", name)); }

// The Objects property holding count (as stored) and then the given records.
std::string ObjectsProperty(std::int32_t count, const Bytes& records) {
  const Bytes value = ContentBuilder().Int(count).Raw(records).Data();
  std::string s = "\x07Objects\x0A";
  for (int i = 0; i < 4; ++i) s += char(std::uint32_t(value.size()) >> (8 * i));
  s.append(value.begin(), value.end());
  return s;
}

Bytes ParentRecord(std::int32_t count, const Bytes& records, const std::string& name = "Parent") {
  return BinaryRecord("TSeSkinObject", ObjectStream("TSeSkinObject", name, ObjectsProperty(count, records)));
}

Bytes MsknWithObjects(std::int32_t count, const Bytes& records) {
  return ContentBuilder().Header().Int(0xF0000).Int(count).Raw(records).Data();
}

Bytes NestedRecord(int depth) {
  Bytes record = LeafRecord("Leaf");
  for (int i = 0; i < depth; ++i) record = ParentRecord(0xF0001, record, "Level" + std::to_string(i));
  return record;
}

TEST(DamagedSkinTest, AbsurdCountsAndSizesRaiseClearErrors) {
  const Bytes header = ContentBuilder().Header().Data();
  auto general = [&](const Bytes& rest) { return ContentBuilder().Raw(header).Raw(rest).Data(); };
  Bytes twoLeaves = LeafRecord("Same");
  {
    const Bytes second = LeafRecord("same");  // child names are distinct, ignoring case
    twoLeaves.insert(twoLeaves.end(), second.begin(), second.end());
  }
  Bytes manyLeaves;
  for (int i = 0; i <= kMaxSkinObjects; ++i) {
    const Bytes leaf = LeafRecord("L" + std::to_string(i));
    manyLeaves.insert(manyLeaves.end(), leaf.begin(), leaf.end());
  }
  struct Case {
    const char* what;
    Bytes content;
    bool msknForm;
  } cases[] = {
      {"empty", {}, false},
      {"a 2 GB skin name", ContentBuilder().Int(0x7FFFFFFF).Raw("Steel").Data(), false},
      {"a negative string length", ContentBuilder().Int(-5).Data(), false},
      {"a billion images", general(ContentBuilder().Int(1000000000).Data()), false},
      {"a negative image count", general(ContentBuilder().Int(-1).Data()), false},
      {"an image of 100000 x 100000",
       general(ContentBuilder().Int(1).Str("BIG").Int(100000).Int(100000).Int(0).Data()), false},
      {"an image of 100000 x -100000",
       general(ContentBuilder().Int(1).Str("BIG").Int(100000).Int(-100000).Int(0).Data()), false},
      {"a negative width", general(ContentBuilder().Int(1).Str("W").Int(-1).Int(1).Int(0).Data()), false},
      {"a marked image count of 65535 with one image",
       general(ContentBuilder().Int(0xFFFFF).Str("A").Int(0).Int(0).Data()), true},
      {"a 2 GB BMP record", general(ContentBuilder().Int(1).Str("A").Int(0x7FFFFFFF).Raw("BM").Data()), true},
      {"a BMP record that is no BMP", general(ContentBuilder().Int(1).Str("A").Int(4).Raw("ABCD").Int(0).Data()), true},
      {"a billion objects", general(ContentBuilder().Int(0).Int(1000000000).Data()), false},
      {"a 2 GB object text", general(ContentBuilder().Int(0).Int(1).Str("TSeSkinObject").Int(0x7FFFFFFF).Data()), false},
      {"object text that does not parse",
       general(ContentBuilder().Int(0).Int(1).Str("TSeSkinObject").Str("object X: Y\n  Left = \n").Data()), false},
      {"a 2 GB binary object", MsknWithObjects(1, ContentBuilder().Str("TSeSkinObject").Int(0x7FFFFFFF).Data()), true},
      {"a negative binary object size", MsknWithObjects(1, ContentBuilder().Str("TSeSkinObject").Int(-4).Data()), true},
      {"a billion children", MsknWithObjects(1, ParentRecord(1000000000 | 0xF0000, LeafRecord("A"))), true},
      {"a billion children in text records", MsknWithObjects(1, ParentRecord(1000000000, {})), true},
      {"a negative child count", MsknWithObjects(1, ParentRecord(-1, {})), true},
      {"a child that runs past its parent", MsknWithObjects(1, ParentRecord(0xF0001, [] { Bytes b = LeafRecord("A"); b.resize(b.size() - 3); return b; }())), true},
      {"two children of one name", MsknWithObjects(1, ParentRecord(0xF0002, twoLeaves)), true},
      {"an invalid object name", MsknWithObjects(1, LeafRecord("1st")), true},
      {"objects nested 300 deep", MsknWithObjects(1, NestedRecord(300)), true},
      {"more objects than a skin may hold", MsknWithObjects(1, ParentRecord(0xF0000 | (kMaxSkinObjects + 1), manyLeaves)), true},
  };
  for (const Case& c : cases) {
    TSeSkinSource source;
    TReadOnlyMemoryStream in(c.content.data(), std::int64_t(c.content.size()));
    try {
      if (c.msknForm) {
        TSeSkinFilterMaxCompression filter;
        filter.SetSource(&source);
        filter.ReadSkin(in);
      } else {
        TSeSkinFilterUncompressed filter;
        filter.SetSource(&source);
        filter.LoadFromStream(in);
      }
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EReadError& e) {
      EXPECT_FALSE(e.Message().empty()) << c.what;
    } catch (const std::exception& e) {
      ADD_FAILURE() << c.what << ": " << e.what();
    }
  }
}

TEST(DamagedSkinTest, NestingThatFitsLoads) {
  const Bytes content = MsknWithObjects(1, NestedRecord(50));
  TSeSkinSource source;
  TSeSkinFilterMaxCompression filter;
  filter.SetSource(&source);
  TReadOnlyMemoryStream in(content.data(), std::int64_t(content.size()));
  filter.ReadSkin(in);
  ASSERT_EQ(source.Count(), 1);
  EXPECT_NE(source.ObjectAt(0)->FindObject("Leaf"), nullptr);
}

TEST(DamagedSkinTest, ZlibBombStopsAtTheContentCap) {
  // A skin name that claims 2 GB, followed by zeros that unpack to more than the cap.
  Bytes content = ContentBuilder().Int(0x7FFFFFFF).Data();
  content.resize(size_t(kMaxSkinContentSize) + (1 << 20));
  const Bytes file = Container(content, "QDLZ", 9);
  ASSERT_LT(file.size(), 200000u);
  TSeSkinSource source;
  try {
    Loader<TSeSkinFilterCompressed>()(source, file);
    ADD_FAILURE() << "no error";
  } catch (const EDecompressionError& e) {
    EXPECT_NE(e.Message().find("exceeds"), std::string::npos) << e.Message();
  }
}

}  // namespace
}  // namespace vandrel::test
