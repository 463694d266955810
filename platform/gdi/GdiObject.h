// The process-wide table behind every handle of the drawing layer, the base class of the objects
// it holds, and the calls that work on any object (DeleteObject, GetObjectType, GetStockObject).
//
// The table holds each object by shared pointer; a context that selects an object holds another,
// so deleting an object that is still selected somewhere only retires its handle and never pulls
// memory from under a drawing call. The user-interface thread owns the table (no locking).
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace vandrel {

class TGdiObject {
 public:
  virtual ~TGdiObject() = default;
  virtual int ObjectType() const = 0;
  bool IsStock() const { return m_stock; }

 private:
  bool m_stock = false;
  friend class TGdiObjectTable;
};

class TGdiObjectTable {
 public:
  static TGdiObjectTable& Instance();

  std::uint32_t Add(std::shared_ptr<TGdiObject> object, bool stock = false);
  TGdiObject* Find(std::uint32_t handle) const;
  std::shared_ptr<TGdiObject> FindShared(std::uint32_t handle) const;
  // Retires the handle; false when it does not resolve or names a stock object.
  bool Remove(std::uint32_t handle);
  size_t LiveCount() const { return m_live; }

 private:
  struct TSlot {
    std::shared_ptr<TGdiObject> object;
    std::uint32_t generation = 1;
  };
  std::vector<TSlot> m_slots;
  std::deque<std::uint32_t> m_free;  // oldest first, so a retired handle comes back late
  size_t m_live = 0;
};

// The object behind a handle when it is of type T, else null.
template <class T>
T* LookupObject(std::uint32_t handle) {
  return dynamic_cast<T*>(TGdiObjectTable::Instance().Find(handle));
}
template <class T>
std::shared_ptr<T> LookupShared(std::uint32_t handle) {
  return std::dynamic_pointer_cast<T>(TGdiObjectTable::Instance().FindShared(handle));
}

// False for a null, deleted or stock handle, and for a bitmap still selected into a context.
bool DeleteObject(HGDIOBJ object);
// 0 when the handle does not resolve.
int GetObjectType(HGDIOBJ object);
int GetObjectType(HDC dc);
HGDIOBJ GetStockObject(int index);

}  // namespace vandrel
