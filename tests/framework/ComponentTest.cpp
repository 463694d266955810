#include <gtest/gtest.h>

#include <cctype>

#include "framework/ClassRegistry.h"
#include "framework/Component.h"
#include "framework/ComponentErrors.h"
#include "framework/PropertyInfo.h"
#include "platform/core/Text.h"
#include "tests/framework/StreamTestObjects.h"

using namespace vandrel;
using namespace vandrel::test;

namespace {

// Records the notifications it receives.
class TWatcher : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<std::pair<TComponent*, TOperation>> seen;
  static int destroyed;
  ~TWatcher() override { ++destroyed; }

 protected:
  void Notification(TComponent* c, TOperation op) override {
    seen.emplace_back(c, op);
    TComponent::Notification(c, op);
  }
};
int TWatcher::destroyed = 0;

}  // namespace

TEST(Component, OwnerFreesOwnedAndFreedComponentLeavesOwner) {
  TWatcher::destroyed = 0;
  auto owner = std::make_unique<TWatcher>(nullptr);
  auto* a = new TWatcher(owner.get());
  auto* b = new TWatcher(owner.get());
  new TWatcher(b);  // owned by b, freed with it
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(owner->seen.size(), 2u);  // opInsert for a and b
  EXPECT_EQ(owner->seen[1], std::make_pair(static_cast<TComponent*>(b), opInsert));

  delete a;
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), b);
  EXPECT_EQ(owner->Components(1), nullptr);
  EXPECT_EQ(owner->seen.back(), std::make_pair(static_cast<TComponent*>(a), opRemove));
  // The owner forwards notifications to what it owns.
  EXPECT_EQ(b->seen.back(), std::make_pair(static_cast<TComponent*>(a), opRemove));
  EXPECT_EQ(TWatcher::destroyed, 1);

  owner.reset();
  EXPECT_EQ(TWatcher::destroyed, 4);
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Button1");
  EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  for (const char* bad : {"1abc", "a b", "a.b", "-"})
    EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
  try {
    b->SetName("button1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named button1 already exists");
  }
  a->SetName("BUTTON1");  // a rename that only changes case is no clash with itself
  b->SetName("_Button2");
  EXPECT_EQ(b->Name(), "_Button2");
  b->SetName("");  // several unnamed components may share an owner
  a->SetName("");
}

TEST(Component, FreeNotificationClearsReferences) {
  auto root = std::make_unique<TTestObject>(nullptr);
  TTestChild outside(nullptr);  // not owned by root: only free notification can tell root
  {
    auto* child = new TTestChild(root.get());
    root->SetLink(child);
    delete child;
    EXPECT_EQ(root->Link(), nullptr);
  }
  {
    auto* other = new TTestChild(nullptr);
    root->SetLink(other);
    delete other;
    EXPECT_EQ(root->Link(), nullptr);
  }
  // Asking twice registers once; freeing the referrer first leaves nothing dangling.
  auto* referrer = new TTestObject(nullptr);
  referrer->SetLink(&outside);
  outside.FreeNotification(referrer);
  delete referrer;
}

TEST(Component, StateFlagsDesigningAndDestroying) {
  TWatcher owner(nullptr);
  auto* child = new TWatcher(&owner);
  EXPECT_FALSE(owner.Designing());
  owner.SetDesigning(true);
  EXPECT_TRUE(child->Designing());
  auto* late = new TWatcher(&owner);  // joins a designing owner: designing too
  EXPECT_TRUE(late->Designing());
  owner.SetDesigning(false);
  EXPECT_FALSE(late->Designing());

  // While the owner is destroyed, what it owns already sees csDestroying.
  struct Probe : TComponent {
    using TComponent::TComponent;
    bool* sawDestroying;
    ~Probe() override { *sawDestroying = Destroying(); }
  };
  bool saw = false;
  auto* dying = new TComponent(nullptr);
  (new Probe(dying))->sawDestroying = &saw;
  delete dying;
  EXPECT_TRUE(saw);
}

TEST(Component, AssignCopiesOrRaisesCannotAssign) {
  TTestFont a, b;
  a.SetName("Arial");
  a.SetHeight(-11);
  a.SetStyle({fsItalic});
  b.Assign(a);
  EXPECT_EQ(b.Name(), "Arial");
  EXPECT_EQ(b.Height(), -11);
  EXPECT_EQ(b.Style(), TTestFontStyles{fsItalic});

  TTestItem item;
  try {
    item.Assign(a);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TTestFont to a TTestItem");
  }
  TComponent c(nullptr);
  EXPECT_THROW(c.Assign(a), EConvertError);
}

TEST(Component, ClassRegistryFindsExactNamesAndCreatesWithOwner) {
  RegisterTestClasses();
  RegisterTestClasses();
  EXPECT_EQ(GetClass("TTestChild"), &TTestChild::StaticClassInfo());
  EXPECT_EQ(GetClass("ttestchild"), nullptr);
  try {
    FindClass("TNoSuchClass");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TNoSuchClass not found");
  }
  TComponent owner(nullptr);
  TComponent* made = FindClass("TTestChild").Create(&owner);
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_EQ(made->ClassName(), "TTestChild");
  EXPECT_TRUE(made->InheritsFrom(TComponent::StaticClassInfo()));
  EXPECT_FALSE(made->InheritsFrom(TTestObject::StaticClassInfo()));
  EXPECT_THROW(TCollectionItem::StaticClassInfo().Create(nullptr), EComponentError);
}

TEST(Component, PropertyTablesPutInheritedPropertiesFirst) {
  const auto& props = TTestChild::StaticClassInfo().Properties();
  ASSERT_EQ(props.size(), 3u);
  EXPECT_EQ(props[0].name, "Name");
  EXPECT_EQ(props[1].name, "Tag");
  EXPECT_EQ(props[2].name, "Tag2");
  EXPECT_EQ(TTestObject::StaticClassInfo().FindProperty("font.")  , nullptr);
  EXPECT_EQ(TTestObject::StaticClassInfo().FindProperty("FONT")->kind, TPropertyKind::Object);
  // The lookup is hashed: every property is found under any case, and near misses are not.
  for (const TClassInfo* info : {&TTestObject::StaticClassInfo(), &TTestChild::StaticClassInfo(),
                                 &TComponent::StaticClassInfo()}) {
    for (const TPropertyInfo& property : info->Properties()) {
      const std::string name(property.name);
      std::string mixed = name;
      for (size_t i = 0; i < mixed.size(); i += 2) mixed[i] = char(std::toupper(mixed[i]));
      for (const std::string& asked : {name, UpperCase(name), LowerCase(name), mixed})
        EXPECT_EQ(info->FindProperty(asked), &property) << info->Name() << " " << asked;
      for (const std::string& miss : {name + "x", name.substr(1), " " + name, name + "@"})
        EXPECT_EQ(info->FindProperty(miss), nullptr) << info->Name() << " " << miss;
    }
    EXPECT_EQ(info->FindProperty(""), nullptr);
  }
}
