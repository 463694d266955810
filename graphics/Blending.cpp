#include "graphics/Blending.h"

#include <algorithm>

#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TSeBlending::StaticClassInfo() {
  using T = TSeBlending;
  static const TClassInfo info("TSeBlending", &TPersistent::StaticClassInfo(), nullptr, {
      prop::Boolean("Enabled", &T::Enabled, &T::SetEnabled, false),
      prop::Integer("Value", &T::Value, &T::SetValue, 150),
  });
  return info;
}

void TSeBlending::SetEnabled(bool value) {
  if (m_enabled == value) return;
  m_enabled = value;
  Changed();
}

void TSeBlending::SetValue(int value) {
  value = std::clamp(value, 0, 255);
  if (m_value == value) return;
  m_value = value;
  Changed();
}

void TSeBlending::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TSeBlending*>(&source)) {
    m_enabled = other->m_enabled;
    m_value = other->m_value;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace vandrel
