// TSeBlending: the blending option of every skinned control and window: whether the component is
// drawn translucently over what lies beneath it, and at which opacity.
#pragma once

#include <functional>

#include "framework/Persistent.h"

namespace vandrel {

class TSeBlending : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  // The owner's change callback runs after a value actually changed and after Assign.
  explicit TSeBlending(std::function<void()> onChange = {}) : m_onChange(std::move(onChange)) {}

  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value);
  // Opacity from 0 (transparent) to 255 (opaque); values beyond are limited to that range.
  int Value() const { return m_value; }
  void SetValue(int value);

  void Assign(const TPersistent& source) override;

 private:
  void Changed() {
    if (m_onChange) m_onChange();
  }

  bool m_enabled = false;
  int m_value = 150;
  std::function<void()> m_onChange;
};

}  // namespace vandrel
