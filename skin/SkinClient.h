// What a skinned component needs of the skin engine and of its copy of a skin object, as abstract
// interfaces: the skinned controls are written against these, and the engine's source and the skin
// object classes implement them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Geometry.h"

namespace vandrel {

// Object states. 0 to 4 follow the window (set on a frame tree by the skinned window), 5 to 8 the
// control; 1 is unused. A class draws its normal look in every state it does not look at.
enum : int {
  kStateNormal = 0, kStateMaximized = 2, kStateMinimized = 3, kStateRolledUp = 4, kStateHot = 5,
  kStatePressed = 6, kStateFocused = 7, kStateDisabled = 8,
};

class TCanvas;
class TControl;
class TFont;

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
  // The stored size: a control takes its glyph size or its thickness from it.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // The font for the current state; null when the object has none.
  virtual TFont* GetFont() const = 0;
  // The text the object draws (a panel's caption bar shows the panel's caption).
  virtual void SetText(const std::string& text) = 0;
  // For a bitmap object, whether any of its mask flags lets the parent show through; nothing for
  // other kinds.
  virtual std::optional<bool> SeeThrough() const = 0;
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
