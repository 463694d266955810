#include "skin/SkinnedWindow.h"

#include "framework/Form.h"

namespace vandrel {

ISeSkinnedWindow* ActiveSkinnedWindow(const TCustomForm& form) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* window = dynamic_cast<ISeSkinnedWindow*>(form.Components(i)); window && window->Active()) return window;
  return nullptr;
}

bool SizeGripAt(const TWinControl& form, TPoint screen) {
  for (int i = 0; i < form.ControlCount(); ++i)
    if (auto* grip = dynamic_cast<const ISeSizeGrip*>(form.Controls(i)))
      if (auto area = grip->SizeGripArea(); area && area->Contains(screen)) return true;
  return false;
}

}  // namespace vandrel
