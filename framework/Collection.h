// TCollection: an owned, ordered list of items of one class, stored as a collection value (each
// item's published properties in turn). The skin list keeps its stored skins this way.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Persistent.h"

namespace vandrel {

class TCollection;

class TCollectionItem : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TCollectionItem() = default;
  TCollection* Collection() const { return m_collection; }
  int Index() const;
  std::string GetNamePath() const override;
  virtual std::string DisplayName() const { return std::string(ClassName()); }

 protected:
  TPersistent* GetOwner() const override;

 private:
  friend class TCollection;
  TCollection* m_collection = nullptr;
};

class TCollection : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  using ItemFactory = std::unique_ptr<TCollectionItem> (*)();

  // owner: the object whose property this collection is (for name paths).
  TCollection(ItemFactory factory, TPersistent* owner = nullptr);
  ~TCollection() override;

  TCollectionItem* Add();
  // Takes an item the caller made, e.g. of a class derived from the one the factory makes.
  TCollectionItem* AddItem(std::unique_ptr<TCollectionItem> item) {
    item->m_collection = this;
    m_items.push_back(std::move(item));
    return m_items.back().get();
  }
  int Count() const { return int(m_items.size()); }
  // nullptr for an index out of range.
  TCollectionItem* Items(int index) const;
  void Delete(int index);
  void Clear();
  // Same number of items, each assigned from the source's item at the same index.
  void Assign(const TPersistent& source) override;
  std::string GetNamePath() const override;

 protected:
  TPersistent* GetOwner() const override { return m_owner; }

 private:
  friend class TCollectionItem;
  ItemFactory m_factory;
  TPersistent* m_owner;
  std::vector<std::unique_ptr<TCollectionItem>> m_items;
};

template <typename T>
TCollection::ItemFactory CollectionItemFactory() {
  return []() -> std::unique_ptr<TCollectionItem> { return std::make_unique<T>(); };
}

}  // namespace vandrel
