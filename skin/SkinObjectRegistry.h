// The process-wide registry of skin object classes, through which a load re-creates each object
// from the class name its record stores. Created on first use with the object classes in their
// fixed order (the base, the first family, the second); later registrations are appended.
#pragma once

#include <string_view>
#include <vector>

#include "framework/PropertyInfo.h"

namespace vandrel {

// Appends the class; it must describe TSeSkinObject or a class derived from it.
void RegisterSkinObjectClass(const TClassInfo& info);
// The first class whose name equals name exactly (case-sensitive), or nullptr.
const TClassInfo* FindSkinObjectClass(std::string_view name);
const std::vector<const TClassInfo*>& SkinObjectClasses();

}  // namespace vandrel
