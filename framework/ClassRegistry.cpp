#include "framework/ClassRegistry.h"

#include <algorithm>
#include <string>

#include "framework/ComponentErrors.h"

namespace vandrel {

TClassRegistry& TClassRegistry::Instance() {
  static TClassRegistry registry;
  return registry;
}

void TClassRegistry::Register(const TClassInfo& info) {
  if (GetClass(info.Name())) return;
  m_classes.push_back(&info);
}

void TClassRegistry::Unregister(const TClassInfo& info) { std::erase(m_classes, &info); }

const TClassInfo* TClassRegistry::GetClass(std::string_view name) const {
  for (const TClassInfo* c : m_classes)
    if (c->Name() == name) return c;
  return nullptr;
}

const TClassInfo& TClassRegistry::FindClass(std::string_view name) const {
  if (const TClassInfo* c = GetClass(name)) return *c;
  throw EClassNotFound("Class " + std::string(name) + " not found");
}

}  // namespace vandrel
