// TSeSkinList: a component holding skins stored inside it, for an engine to choose from by index.
// TSeSkinCollection holds its entries, each a TSeSkinStream owning one skin source; an entry's
// skin is stored as one byte (1: a skin follows, 0: none) and the skin in the "kskn" form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Collection.h"
#include "framework/Component.h"
#include "platform/core/Stream.h"

namespace vandrel {

class TSeSkinList;
class TSeSkinSource;

class TSeSkinStream : public TCollectionItem {
  VANDREL_CLASS_INFO
 public:
  TSeSkinStream();
  ~TSeSkinStream() override;

  // "(empty)", or at design time the file-name part of the skin's name; writing does nothing.
  std::string SkinStore() const;
  void SetSkinStore(const std::string&) {}
  std::int32_t Tag() const { return m_tag; }
  void SetTag(std::int32_t value) { m_tag = value; }

  // The stored skin, owned by the entry.
  TSeSkinSource& SkinSource() const { return *m_source; }
  // The skin's name, or "(empty)" while the entry holds no objects.
  std::string DisplayName() const override;

  void DefineProperties(TFiler& filer) override;

 private:
  bool Designing() const;

  std::unique_ptr<TSeSkinSource> m_source;
  std::int32_t m_tag = 0;
};

class TSeSkinCollection : public TCollection {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinCollection(TSeSkinList* list);
  TSeSkinList* List() const { return m_list; }
  TSeSkinStream* Items(int index) const { return static_cast<TSeSkinStream*>(TCollection::Items(index)); }
  TSeSkinStream* Add() { return static_cast<TSeSkinStream*>(TCollection::Add()); }

 private:
  TSeSkinList* m_list;
};

class TSeSkinList : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinList(TComponent* owner);
  ~TSeSkinList() override;

  TSeSkinCollection* Skins() const { return m_skins.get(); }
  const std::string& Version() const;

 private:
  std::unique_ptr<TSeSkinCollection> m_skins;
};

// The file-name part of a skin name that may be a path.
std::string SkinStoreName(const std::string& skinName);
// The stored skin form shared by the engine and the list entries: one byte, then the skin when
// the byte is `present`; readers take any non-zero byte for a present skin.
void WriteStoredSkin(TStream& stream, TSeSkinSource& source, std::uint8_t present);
// Whether a skin was read into the source.
bool ReadStoredSkin(TStream& stream, TSeSkinSource& source);

}  // namespace vandrel
