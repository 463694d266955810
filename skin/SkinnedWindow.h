// What the skinned controls and the skinned window know of each other. The two layers are peers:
// they meet through these interfaces, which each side implements, and never include each other.
//
//   ISeSkinnedWindow   the skinned-window component of a form, as its controls see it: it paints a
//                      child's background, says whether the window may be sized and in which state
//                      it is, runs the system-button actions, and gets the size grip's press
//   ISeSizeGrip        a control that carries a size grip, as the skinned window's hit test sees it
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "framework/ControlMessages.h"
#include "framework/SmallSet.h"
#include "platform/core/Geometry.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

class TComponent;
class TCustomForm;
class TWinControl;
class TSeSkinObject;

enum TSeWindowState { kwsNormal, kwsMaximized, kwsMinimized, kwsRollup, kwsTray };
enum TSeBorderIcon { kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray };
using TSeBorderIcons = TSmallSet<TSeBorderIcon>;

inline constexpr std::array<std::string_view, 5> kWindowStateNames = {
    "kwsNormal", "kwsMaximized", "kwsMinimized", "kwsRollup", "kwsTray"};
inline constexpr std::array<std::string_view, 7> kBorderIconNames = {
    "kbiClose", "kbiSystemMenu", "kbiMinimize", "kbiMaximize", "kbiHelp", "kbiRollup", "kbiTray"};
static_assert(kWindowStateNames.size() == size_t(kwsTray) + 1);
static_assert(kBorderIconNames.size() == size_t(kbiTray) + 1);

class ISeSkinnedWindow {
 public:
  virtual ~ISeSkinnedWindow() = default;

  // Only an active component skins its form.
  virtual bool Active() const = 0;
  // The window that gets the size grip's press (WM_NCLBUTTONDOWN at the pointer's position).
  virtual HWND Handle() const = 0;
  virtual bool AllowsSizing() const = 0;
  virtual TSeWindowState WindowState() const = 0;
  virtual TSeBorderIcons BorderIcons() const = 0;
  // Answers a child's background request (an erase-background message carrying the request) by
  // painting the skinned client background into its context. Returns whether it painted.
  virtual bool PaintChildBackground(TMessage& request) = 0;

  // The actions of the skin's system buttons.
  virtual void Close() = 0;
  virtual void Help() = 0;
  virtual void Minimize() = 0;
  virtual void Maximize() = 0;
  // Also the roll-down action.
  virtual void Restore() = 0;
  virtual void Rollup() = 0;
  virtual void MinimizeToTray() = 0;
  virtual void ShowSystemMenu() = 0;
  // A custom button: the window's OnCustomAction with the button as sender.
  virtual void CustomAction(TSeSkinObject* button) = 0;
};

class ISeSizeGrip {
 public:
  virtual ~ISeSizeGrip() = default;
  // The grip's rectangle in screen coordinates while the grip is shown.
  virtual std::optional<TRect> SizeGripArea() const = 0;
};

// The form's active skinned-window component: the first component the form owns that is a
// skinned window and is active. Null when there is none.
ISeSkinnedWindow* ActiveSkinnedWindow(const TCustomForm& form);
// Whether a screen point lies on the size grip of a direct child of the form.
bool SizeGripAt(const TWinControl& form, TPoint screen);

}  // namespace vandrel
