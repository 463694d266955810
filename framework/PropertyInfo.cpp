#include "framework/PropertyInfo.h"

#include "framework/ComponentErrors.h"
#include "platform/core/Color.h"
#include "platform/core/Text.h"

namespace vandrel {

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
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->m_parent)
    if (c == &other) return true;
  return false;
}

const TPropertyInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const auto& property : m_properties)
    if (SameText(property.name, name)) return &property;
  return nullptr;
}

TComponent* TClassInfo::Create(TComponent* owner) const {
  if (!m_factory) throw EComponentError("Cannot create an instance of abstract class " + std::string(m_name));
  return m_factory(owner);
}

}  // namespace vandrel
