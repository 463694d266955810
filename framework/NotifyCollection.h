// A collection that tells its owner when items are added, deleted or changed (a status bar
// relayouts its panels this way). Items report their own changes through Changed.
#pragma once

#include <functional>

#include "framework/Collection.h"

namespace vandrel {

class TNotifyCollectionItem;

class TNotifyCollection : public TCollection {
  VANDREL_CLASS_INFO
 public:
  TNotifyCollection(ItemFactory factory, TPersistent* owner = nullptr) : TCollection(factory, owner) {}

  TCollectionItem* Add();
  void Delete(int index);
  void Clear();
  void Assign(const TPersistent& source) override;
  // Changes between the two are reported once, as a change of the whole collection.
  void BeginUpdate() { ++m_updateCount; }
  void EndUpdate();

  // item: the changed item, or null when the whole collection changed.
  std::function<void(TCollectionItem* item)> OnUpdate;

 protected:
  friend class TNotifyCollectionItem;
  virtual void Update(TCollectionItem* item);
  void Changed(TCollectionItem* item);

 private:
  int m_updateCount = 0;
  bool m_pending = false;
};

class TNotifyCollectionItem : public TCollectionItem {
  VANDREL_CLASS_INFO
 protected:
  // allItems: the change affects the other items too (a width that moves the others).
  void Changed(bool allItems);
};

}  // namespace vandrel
