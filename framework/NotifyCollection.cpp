#include "framework/NotifyCollection.h"

#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TNotifyCollection::StaticClassInfo() {
  static const TClassInfo info("TNotifyCollection", &TCollection::StaticClassInfo(), nullptr, {});
  return info;
}

const TClassInfo& TNotifyCollectionItem::StaticClassInfo() {
  static const TClassInfo info("TNotifyCollectionItem", &TCollectionItem::StaticClassInfo(), nullptr, {});
  return info;
}

TCollectionItem* TNotifyCollection::Add() {
  TCollectionItem* item = TCollection::Add();
  Changed(nullptr);
  return item;
}

void TNotifyCollection::Delete(int index) {
  TCollection::Delete(index);
  Changed(nullptr);
}

void TNotifyCollection::Clear() {
  if (Count() == 0) return;
  TCollection::Clear();
  Changed(nullptr);
}

void TNotifyCollection::Assign(const TPersistent& source) {
  BeginUpdate();
  try {
    TCollection::Assign(source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  m_pending = true;
  EndUpdate();
}

void TNotifyCollection::EndUpdate() {
  if (m_updateCount > 0 && --m_updateCount == 0 && m_pending) {
    m_pending = false;
    Update(nullptr);
  }
}

void TNotifyCollection::Changed(TCollectionItem* item) {
  if (m_updateCount > 0) {
    m_pending = true;
    return;
  }
  Update(item);
}

void TNotifyCollection::Update(TCollectionItem* item) {
  if (OnUpdate) OnUpdate(item);
}

void TNotifyCollectionItem::Changed(bool allItems) {
  if (auto* c = dynamic_cast<TNotifyCollection*>(Collection())) c->Changed(allItems ? nullptr : this);
}

}  // namespace vandrel
