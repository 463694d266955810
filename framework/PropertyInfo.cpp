#include "framework/PropertyInfo.h"

#include <algorithm>
#include <cstring>

#include "framework/ComponentErrors.h"
#include "platform/core/Color.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

// Eight bytes at a time with every byte's 0x20 bit set, so that names SameText matches hash
// alike (other bytes may collide; the lookup compares names after the hash).
std::uint32_t FoldedHash(std::string_view name) {
  std::uint64_t h = name.size();
  for (size_t at = 0; at < name.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, name.data() + at, std::min<size_t>(8, name.size() - at));
    h = (h ^ (word | 0x2020202020202020u)) * 0x9E3779B97F4A7C15u;
  }
  return std::uint32_t(h ^ h >> 32);
}

}  // namespace

std::optional<std::string_view> ColorIdentOf(std::int32_t color) { return ColorToIdent(color); }

std::optional<std::int32_t> ColorOfIdent(std::string_view ident) {
  if (auto c = IdentToColor(ident)) return std::int32_t(*c);
  return std::nullopt;
}

TClassInfo::TClassInfo(std::string_view name, const TClassInfo* parent, Factory factory,
                       std::vector<TPropertyInfo> ownProperties)
    : m_name(name), m_parent(parent), m_factory(factory) {
  if (parent) m_properties = parent->m_properties;
  for (auto& property : ownProperties) {
    bool redeclared = false;
    for (auto& inherited : m_properties) {
      if (SameText(inherited.name, property.name)) {
        inherited = std::move(property);
        redeclared = true;
        break;
      }
    }
    if (!redeclared) m_properties.push_back(std::move(property));
  }
  // At most half full, so a probe for an absent name ends soon.
  size_t size = 8;
  while (size < 2 * m_properties.size()) size *= 2;
  m_slots.assign(size, TSlot{0, 0});
  for (size_t i = 0; i < m_properties.size(); ++i) {
    const std::uint32_t hash = FoldedHash(m_properties[i].name);
    size_t slot = hash & (size - 1);
    while (m_slots[slot].index) slot = (slot + 1) & (size - 1);
    m_slots[slot] = {hash, std::uint32_t(i + 1)};
  }
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->m_parent)
    if (c == &other) return true;
  return false;
}

const TPropertyInfo* TClassInfo::FindProperty(std::string_view name) const {
  // Names are unique without regard to case (the constructor merges redeclarations).
  const size_t mask = m_slots.size() - 1;
  const std::uint32_t hash = FoldedHash(name);
  for (size_t slot = hash & mask; m_slots[slot].index; slot = (slot + 1) & mask) {
    if (m_slots[slot].hash != hash) continue;
    const TPropertyInfo& property = m_properties[m_slots[slot].index - 1];
    if (SameText(property.name, name)) return &property;
  }
  return nullptr;
}

TComponent* TClassInfo::Create(TComponent* owner) const {
  if (!m_factory) throw EComponentError("Cannot create an instance of abstract class " + std::string(m_name));
  return m_factory(owner);
}

}  // namespace vandrel
