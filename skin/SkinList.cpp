#include "skin/SkinList.h"

#include "framework/ClassRegistry.h"
#include "framework/Filer.h"
#include "framework/PropertyInfo.h"
#include "platform/core/Exception.h"
#include "skin/SkinSource.h"

namespace vandrel {

namespace {

const std::string kVersion = "3.4.7";

// Stored lists name their entries' class; they must be readable before any list exists.
const bool kRegistered = (RegisterClass<TSeSkinStream>(), RegisterClass<TSeSkinList>(), true);

}  // namespace

std::string SkinStoreName(const std::string& skinName) {
  const size_t slash = skinName.find_last_of("/\\:");
  return slash == std::string::npos ? skinName : skinName.substr(slash + 1);
}

void WriteStoredSkin(TStream& stream, TSeSkinSource& source, std::uint8_t present) {
  const bool hasSkin = source.Count() > 0;
  const std::uint8_t flag = hasSkin ? present : 0;
  stream.WriteBuffer(&flag, 1);
  if (hasSkin) source.SaveToStream(stream);
}

bool ReadStoredSkin(TStream& stream, TSeSkinSource& source) {
  std::uint8_t flag = 0;
  // An empty value is read as the byte 0: no skin.
  if (stream.Read(&flag, 1) != 1 || flag == 0) return false;
  source.LoadFromStream(stream);
  return true;
}

const TClassInfo& TSeSkinStream::StaticClassInfo() {
  using T = TSeSkinStream;
  static const TClassInfo info("TSeSkinStream", &TCollectionItem::StaticClassInfo(), nullptr, {
      prop::String("SkinStore", &T::SkinStore, &T::SetSkinStore),
      prop::Integer("Tag", &T::Tag, &T::SetTag, 0),
  });
  return info;
}

TSeSkinStream::TSeSkinStream() : m_source(std::make_unique<TSeSkinSource>(nullptr)) {}

TSeSkinStream::~TSeSkinStream() = default;

bool TSeSkinStream::Designing() const {
  auto* skins = static_cast<TSeSkinCollection*>(Collection());
  return skins && skins->List() && skins->List()->Designing();
}

std::string TSeSkinStream::SkinStore() const {
  if (Designing() && m_source->Count() > 0) return SkinStoreName(m_source->SkinName());
  return "(empty)";
}

std::string TSeSkinStream::DisplayName() const {
  return m_source->Count() > 0 ? m_source->SkinName() : "(empty)";
}

void TSeSkinStream::DefineProperties(TFiler& filer) {
  TCollectionItem::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "SkinStream", [this](TStream& stream) { ReadStoredSkin(stream, *m_source); },
      [this](TStream& stream) { WriteStoredSkin(stream, *m_source, 1); }, true);
}

const TClassInfo& TSeSkinCollection::StaticClassInfo() {
  static const TClassInfo info("TSeSkinCollection", &TCollection::StaticClassInfo(), nullptr, {});
  return info;
}

TSeSkinCollection::TSeSkinCollection(TSeSkinList* list)
    : TCollection(CollectionItemFactory<TSeSkinStream>(), list), m_list(list) {}

const TClassInfo& TSeSkinList::StaticClassInfo() {
  using T = TSeSkinList;
  static const TClassInfo info("TSeSkinList", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Object("Skins", &T::Skins),
  });
  return info;
}

TSeSkinList::TSeSkinList(TComponent* owner)
    : TComponent(owner), m_skins(std::make_unique<TSeSkinCollection>(this)) {}

TSeSkinList::~TSeSkinList() = default;

const std::string& TSeSkinList::Version() const { return kVersion; }

}  // namespace vandrel
