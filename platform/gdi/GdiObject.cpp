#include "platform/gdi/GdiObject.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/StockObjects.h"

namespace vandrel {

namespace {
// A handle is a slot index and the slot's generation. Each deletion moves the generation on; a
// slot whose generation ran out is never used again, so a stale handle can never name a later
// object (about a million live objects, each slot good for 4095 of them).
constexpr std::uint32_t kIndexBits = 20;
constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr std::uint32_t kLastGeneration = (1u << (32 - kIndexBits)) - 1;
}  // namespace

TGdiObjectTable& TGdiObjectTable::Instance() {
  static TGdiObjectTable table;
  return table;
}

std::uint32_t TGdiObjectTable::Add(std::shared_ptr<TGdiObject> object, bool stock) {
  object->m_stock = stock;
  std::uint32_t index;
  if (!m_free.empty()) {
    index = m_free.front();
    m_free.pop_front();
  } else {
    index = std::uint32_t(m_slots.size()) + 1;  // index 0 is never used, so no handle is 0
    if (index > kIndexMask) return 0;
    m_slots.emplace_back();
  }
  TSlot& slot = m_slots[index - 1];
  slot.object = std::move(object);
  ++m_live;
  return index | (slot.generation << kIndexBits);
}

TGdiObject* TGdiObjectTable::Find(std::uint32_t handle) const {
  std::uint32_t index = handle & kIndexMask;
  if (index == 0 || index > m_slots.size()) return nullptr;
  const TSlot& slot = m_slots[index - 1];
  if ((handle >> kIndexBits) != slot.generation) return nullptr;
  return slot.object.get();
}

std::shared_ptr<TGdiObject> TGdiObjectTable::FindShared(std::uint32_t handle) const {
  std::uint32_t index = handle & kIndexMask;
  if (index == 0 || index > m_slots.size()) return nullptr;
  const TSlot& slot = m_slots[index - 1];
  if ((handle >> kIndexBits) != slot.generation) return nullptr;
  return slot.object;
}

bool TGdiObjectTable::Remove(std::uint32_t handle) {
  TGdiObject* object = Find(handle);
  if (!object || object->m_stock) return false;
  std::uint32_t index = handle & kIndexMask;
  TSlot& slot = m_slots[index - 1];
  slot.object.reset();
  if (slot.generation < kLastGeneration) {
    ++slot.generation;
    m_free.push_back(index);
  }
  --m_live;
  return true;
}

bool DeleteObject(HGDIOBJ object) {
  TGdiObject* o = TGdiObjectTable::Instance().Find(object.Value());
  if (!o || o->IsStock()) return false;
  int type = o->ObjectType();
  if (type == OBJ_DC || type == OBJ_MEMDC || type == OBJ_ICON) return false;
  if (auto* bitmap = dynamic_cast<TBitmapObject*>(o); bitmap && bitmap->SelectedInto()) return false;
  return TGdiObjectTable::Instance().Remove(object.Value());
}

int GetObjectType(HGDIOBJ object) {
  TGdiObject* o = TGdiObjectTable::Instance().Find(object.Value());
  return o ? o->ObjectType() : 0;
}

int GetObjectType(HDC dc) {
  TGdiObject* o = TGdiObjectTable::Instance().Find(dc.Value());
  return o ? o->ObjectType() : 0;
}

HGDIOBJ GetStockObject(int index) { return TStockObjects::Instance().Get(index); }

}  // namespace vandrel
