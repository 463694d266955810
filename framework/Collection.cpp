#include "framework/Collection.h"

#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TCollectionItem::StaticClassInfo() {
  static const TClassInfo info("TCollectionItem", &TPersistent::StaticClassInfo(), nullptr, {});
  return info;
}

const TClassInfo& TCollection::StaticClassInfo() {
  static const TClassInfo info("TCollection", &TPersistent::StaticClassInfo(), nullptr, {});
  return info;
}

int TCollectionItem::Index() const {
  if (!m_collection) return -1;
  for (int i = 0; i < m_collection->Count(); ++i)
    if (m_collection->Items(i) == this) return i;
  return -1;
}

TPersistent* TCollectionItem::GetOwner() const { return m_collection; }

std::string TCollectionItem::GetNamePath() const {
  if (!m_collection) return std::string(ClassName());
  return m_collection->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

TCollection::TCollection(ItemFactory factory, TPersistent* owner) : m_factory(factory), m_owner(owner) {}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Add() {
  auto item = m_factory();
  item->m_collection = this;
  m_items.push_back(std::move(item));
  return m_items.back().get();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_items[size_t(index)].get();
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  m_items.erase(m_items.begin() + index);
}

void TCollection::Clear() { m_items.clear(); }

void TCollection::Assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TCollection*>(&source);
  if (!other) return TPersistent::Assign(source);
  if (other == this) return;
  Clear();
  for (int i = 0; i < other->Count(); ++i) Add()->Assign(*other->Items(i));
}

std::string TCollection::GetNamePath() const {
  return m_owner ? m_owner->GetNamePath() : std::string(ClassName());
}

}  // namespace vandrel
