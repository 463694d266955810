// The process-wide registry of streamable component classes, by exact class name, through which a
// reader re-creates the objects a stream names.
#pragma once

#include <string_view>
#include <vector>

#include "framework/PropertyInfo.h"

namespace vandrel {

class TClassRegistry {
 public:
  static TClassRegistry& Instance();

  // Registering a class twice, or another class under a taken name, keeps the first.
  void Register(const TClassInfo& info);
  void Unregister(const TClassInfo& info);
  // Exact (case-sensitive) name; nullptr when not registered.
  const TClassInfo* GetClass(std::string_view name) const;
  // As GetClass, but raises EClassNotFound ("Class TFoo not found").
  const TClassInfo& FindClass(std::string_view name) const;
  const std::vector<const TClassInfo*>& Classes() const { return m_classes; }

 private:
  TClassRegistry() = default;
  std::vector<const TClassInfo*> m_classes;
};

template <typename T>
void RegisterClass() {
  TClassRegistry::Instance().Register(T::StaticClassInfo());
}
inline const TClassInfo* GetClass(std::string_view name) { return TClassRegistry::Instance().GetClass(name); }
inline const TClassInfo& FindClass(std::string_view name) { return TClassRegistry::Instance().FindClass(name); }

}  // namespace vandrel
