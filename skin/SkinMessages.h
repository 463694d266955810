// The skin layer's private window messages, in one place, and the typed helpers that send and
// read them; no other code uses the numbers.
//
//   message            value    parameters                         from, to
//   SE_SKINCHANGED     0x06A6   wParam, lParam: the engine         engine to every form and control
//   SE_SKINCHANGING    0x06A7   wParam, lParam: the engine         engine to every form and control
//   SE_OBJECTCHANGED   0x0849   lParam: the skin object, or 0      skin object to its control's window
//   SE_FORMQUERY       0x084A   Result: the skinned window         skin object to its control's window
//   SE_TRAYNOTIFY      0x056C   (tray callback)                    notification area to the skinned window
//   SE_FRAMEREFRESH    0x056D   wParam 13: add the caption first   skinned window to itself
//   SE_MAXIMIZE        0x056E                                      skinned window to itself
//   SE_APPLYSTATE      0x056F   wParam: 1 max, 2 min, 3 roll, 4 tray  skinned window to itself
//   SE_PAINTFRAME      0xB1C8   wParam: origin shift, lParam: DC   anyone to a skinned window
//   SE_REHOOK          0xB0DE                                      to the hook list's utility window
//   SE_FREEHOOK        0xB0DF                                      to the hook list's utility window
//   SE_MENUCLICK       0x08BA   lParam: the item                   to the popup menus' click window
//   SE_OPENSUBMENU     0x046F                                      menu loop
#pragma once

#include "framework/ControlMessages.h"

namespace vandrel {

class TControl;
class TSeSkinEngine;
class TSeSkinObject;
class ISeSkinnedWindow;

enum : UINT {
  SE_SKINCHANGED = 0x06A6,
  SE_SKINCHANGING = 0x06A7,
  SE_OBJECTCHANGED = 0x0849,
  SE_FORMQUERY = 0x084A,
  SE_TRAYNOTIFY = 0x056C,
  SE_FRAMEREFRESH = 0x056D,
  SE_MAXIMIZE = 0x056E,
  SE_APPLYSTATE = 0x056F,
  SE_PAINTFRAME = 0xB1C8,
  SE_REHOOK = 0xB0DE,
  SE_FREEHOOK = 0xB0DF,
  SE_MENUCLICK = 0x08BA,
  SE_OPENSUBMENU = 0x046F,
};

enum TSeSkinChange { scChanging, scChanged };

// Delivers a skin-change notification naming `engine` to `root` and then, in order, to each of its
// children, recursively: a form through its window (made if needed, so a skinned window's hook
// sees it), any other control straight to its handler. A handler may free controls; a freed
// control and its children are skipped.
void BroadcastSkinChange(TControl& root, TSeSkinChange change, TSeSkinEngine& engine);
// The engine a skin-change notification of that kind names; null for any other message.
TSeSkinEngine* SkinChangeEngine(const TMessage& message, TSeSkinChange change);

// Tells the window of a skin object's control that the object changed (object may be null: the
// whole look changed); graphic controls, which have no window, get it straight to their handler.
void NotifyObjectChanged(HWND window, TSeSkinObject* object);
void NotifyObjectChanged(TControl& control, TSeSkinObject* object);
bool IsObjectChanged(const TMessage& message);
// The object an object-changed notification names (null when it names none).
TSeSkinObject* ChangedObject(const TMessage& message);

// Asks a window for its skinned-window component; null when no skinned window answers.
ISeSkinnedWindow* QueryOwnerForm(HWND window);
// The same for a control: through its window, or straight to its handler when it has none.
ISeSkinnedWindow* QueryOwnerForm(TControl& control);
// The skinned window's side: answers the message when it is the form query. Returns whether it was.
bool AnswerFormQuery(TMessage& message, ISeSkinnedWindow& window);

}  // namespace vandrel
