// What a skinned component needs of the skin engine and of its copy of a skin object, as abstract
// interfaces: the skinned controls are written against these, and the engine's source and the skin
// object classes implement them.
#pragma once

#include <memory>
#include <string_view>

#include "platform/core/Geometry.h"

namespace vandrel {

class TCanvas;
class TControl;

// A component's own copy of a skin object and its sub-objects.
class ISeSkinObject {
 public:
  virtual ~ISeSkinObject() = default;
  // Depth first, this object first, ignoring case; null when there is none.
  virtual ISeSkinObject* FindObject(std::string_view name) = 0;
  // The copy and its sub-objects send their object-changed notifications to this control and take
  // over its right-to-left mode.
  virtual void SetControl(TControl* control) = 0;
  // 0 normal, 2 maximized, 3 minimized, 4 rolled up, 5 hot, 6 pressed, 7 focused, 8 disabled.
  virtual void SetState(int state) = 0;
  // In the control's client coordinates.
  virtual void SetBounds(const TRect& bounds) = 0;
  virtual void Draw(TCanvas& canvas) = 0;
};

// The engine's loaded skin, as its clients see it.
class ISeSkinSource {
 public:
  virtual ~ISeSkinSource() = default;
  // Not in the middle of a replacement (the busy flag is clear) and holding at least one object.
  virtual bool Ready() const = 0;
  // Whether a top-level object has this name (ignoring case).
  virtual bool HasObject(std::string_view name) const = 0;
  // A copy, owned by the caller, of the top-level object of this name; null when there is none.
  virtual std::unique_ptr<ISeSkinObject> CloneObject(std::string_view name) const = 0;
};

}  // namespace vandrel
