#include "framework/SizeConstraints.h"

#include <algorithm>

#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TSizeConstraints::StaticClassInfo() {
  using T = TSizeConstraints;
  static const TClassInfo info("TSizeConstraints", &TPersistent::StaticClassInfo(), nullptr, {
      prop::Integer("MaxHeight", &T::MaxHeight, &T::SetMaxHeight, 0),
      prop::Integer("MaxWidth", &T::MaxWidth, &T::SetMaxWidth, 0),
      prop::Integer("MinHeight", &T::MinHeight, &T::SetMinHeight, 0),
      prop::Integer("MinWidth", &T::MinWidth, &T::SetMinWidth, 0),
  });
  return info;
}

void TSizeConstraints::Assign(const TPersistent& source) {
  if (auto* c = dynamic_cast<const TSizeConstraints*>(&source)) {
    m_minWidth = c->m_minWidth;
    m_minHeight = c->m_minHeight;
    m_maxWidth = c->m_maxWidth;
    m_maxHeight = c->m_maxHeight;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TSizeConstraints::SetMinWidth(int v) {
  v = std::max(v, 0);
  if (v == m_minWidth) return;
  m_minWidth = v;
  if (m_maxWidth > 0 && m_maxWidth < v) m_maxWidth = v;
  Changed();
}
void TSizeConstraints::SetMinHeight(int v) {
  v = std::max(v, 0);
  if (v == m_minHeight) return;
  m_minHeight = v;
  if (m_maxHeight > 0 && m_maxHeight < v) m_maxHeight = v;
  Changed();
}
void TSizeConstraints::SetMaxWidth(int v) {
  v = std::max(v, 0);
  if (v == m_maxWidth) return;
  m_maxWidth = v;
  if (v > 0 && m_minWidth > v) m_minWidth = v;
  Changed();
}
void TSizeConstraints::SetMaxHeight(int v) {
  v = std::max(v, 0);
  if (v == m_maxHeight) return;
  m_maxHeight = v;
  if (v > 0 && m_minHeight > v) m_minHeight = v;
  Changed();
}

void TSizeConstraints::Constrain(int& width, int& height) const {
  if (m_maxWidth > 0) width = std::min(width, m_maxWidth);
  if (m_maxHeight > 0) height = std::min(height, m_maxHeight);
  width = std::max(width, m_minWidth);
  height = std::max(height, m_minHeight);
}

}  // namespace vandrel
