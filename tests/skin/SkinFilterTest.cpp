// The filter family and its registry: classes, extensions and descriptions in registry order, and
// the extension rule of the lookup.
#include <gtest/gtest.h>

#include "skin/SkinFilter.h"

namespace vandrel::test {
namespace {

TEST(SkinFilterTest, RegistryHoldsTheFourTypesInOrder) {
  struct Row {
    std::string_view name, extension, description;
  } expected[] = {
      {"TSeSkinFilterUncompressed", "uskn", "Uncompressed Skin"},
      {"TSeSkinFilterCompressed", "kskn", "Compressed Skin"},
      {"TSeSkinFilterUltraCompressed", "xskn", "Ultra Compressed Skin"},
      {"TSeSkinFilterMaxCompression", "mskn", "Maximum Compressed"},
  };
  const auto& filters = SkinFilters();
  ASSERT_EQ(filters.size(), std::size(expected));
  for (size_t i = 0; i < filters.size(); ++i) {
    EXPECT_EQ(filters[i]->name, expected[i].name);
    EXPECT_EQ(filters[i]->GetExtension(), expected[i].extension);
    EXPECT_EQ(filters[i]->GetDescription(), expected[i].description);
    EXPECT_EQ(filters[i]->Create()->ClassName(), expected[i].name);
  }
  EXPECT_TRUE(TSeSkinFilterMaxCompression().InheritsFrom(TSeSkinFilterUltraCompressed::StaticClassInfo()));
  EXPECT_EQ(TSeSkinFilter::GetExtension(), "");
}

TEST(SkinFilterTest, FindsByExtensionIgnoringAsciiCase) {
  const TSeSkinFilterClass* max = &SkinFilterClass<TSeSkinFilterMaxCompression>();
  const TSeSkinFilterClass* k = &SkinFilterClass<TSeSkinFilterCompressed>();
  struct Case {
    const char* name;
    const TSeSkinFilterClass* filter;
  } cases[] = {
      {"skin.MSKN", max},
      {"skin.mskn", max},
      {"skin.Mskn", max},
      {"/skins/blue.v2/Blue.mskn", max},
      {"a.tar.KSKN", k},
      {".kskn", k},
      {"x.uskn", &SkinFilterClass<TSeSkinFilterUncompressed>()},
      {"x.xSkN", &SkinFilterClass<TSeSkinFilterUltraCompressed>()},
      {"a.skin", nullptr},
      {"mskn", nullptr},
      {"skins.mskn/blue", nullptr},  // the dot is in a folder's name
      {"blue.mskn.", nullptr},
      {"blue.mskn ", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(FindSkinFilter(c.name), c.filter) << c.name;
}

TEST(SkinFilterTest, ExtractFileExtTakesTheLastDotAfterTheLastSlash) {
  EXPECT_EQ(ExtractFileExt("a/b.c/d.e.f"), ".f");
  EXPECT_EQ(ExtractFileExt("a.b/c"), "");
  EXPECT_EQ(ExtractFileExt("c."), ".");
  EXPECT_EQ(ExtractFileExt(".hidden"), ".hidden");
}

class TestFilter : public TSeSkinFilter {
 public:
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info("TestFilter", &TSeSkinFilter::StaticClassInfo(), nullptr, {});
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static std::string_view GetExtension() { return "MSKN"; }
  static std::string_view GetDescription() { return "Test"; }
};

TEST(SkinFilterTest, RegisteredFiltersComeAfterTheFirstMatch) {
  const TSeSkinFilterClass& test = SkinFilterClass<TestFilter>();
  RegisterSkinFilter(test);
  EXPECT_EQ(SkinFilters().back(), &test);
  // The registry is walked in order: the built-in mskn filter still wins.
  EXPECT_EQ(FindSkinFilter("a.mskn"), &SkinFilterClass<TSeSkinFilterMaxCompression>());
  UnregisterSkinFilter(SkinFilterClass<TSeSkinFilterMaxCompression>());
  EXPECT_EQ(FindSkinFilter("a.mskn"), &test);  // its extension is lower-cased too
  UnregisterSkinFilter(test);
  EXPECT_EQ(FindSkinFilter("a.mskn"), nullptr);
  RegisterSkinFilter(SkinFilterClass<TSeSkinFilterMaxCompression>());
  EXPECT_EQ(SkinFilters().size(), 4u);
}

}  // namespace
}  // namespace vandrel::test
