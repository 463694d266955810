// TSizeConstraints: the smallest and largest size a control may take (0: no limit).
#pragma once

#include <functional>

#include "framework/Persistent.h"

namespace vandrel {

class TSizeConstraints : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TSizeConstraints() = default;
  void Assign(const TPersistent& source) override;

  int MinWidth() const { return m_minWidth; }
  int MinHeight() const { return m_minHeight; }
  int MaxWidth() const { return m_maxWidth; }
  int MaxHeight() const { return m_maxHeight; }
  // A minimum above a set maximum raises the maximum, and the other way round.
  void SetMinWidth(int v);
  void SetMinHeight(int v);
  void SetMaxWidth(int v);
  void SetMaxHeight(int v);

  // Applies the limits to a proposed size.
  void Constrain(int& width, int& height) const;

  std::function<void(TSizeConstraints*)> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  int m_minWidth = 0;
  int m_minHeight = 0;
  int m_maxWidth = 0;
  int m_maxHeight = 0;
};

}  // namespace vandrel
