#include "framework/Persistent.h"

#include "framework/PropertyInfo.h"
#include "platform/core/Exception.h"

namespace vandrel {

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info("TPersistent", nullptr, nullptr, {});
  return info;
}

std::string_view TPersistent::ClassName() const { return ClassInfo().Name(); }

bool TPersistent::InheritsFrom(const TClassInfo& info) const {
  return ClassInfo().InheritsFrom(info);
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const { dest.AssignError(this); }

void TPersistent::AssignError(const TPersistent* source) const {
  std::string sourceName = source ? std::string(source->ClassName()) : "nil";
  throw EConvertError("Cannot assign a " + sourceName + " to a " + std::string(ClassName()));
}

std::string TPersistent::GetNamePath() const {
  std::string path(ClassName());
  if (TPersistent* owner = GetOwner()) {
    std::string ownerPath = owner->GetNamePath();
    if (!ownerPath.empty()) path = ownerPath + "." + path;
  }
  return path;
}

void TPersistent::DefineProperties(TFiler&) {}

}  // namespace vandrel
