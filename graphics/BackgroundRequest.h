// The background request: a control that paints see-through asks its parent to paint what lies
// behind it into the control's surface. It travels as the platform's erase-background message with
// the target context as first parameter and the address of a TSeBackgroundRequest as second; a
// second parameter of zero is an ordinary erase from the platform.
#pragma once

#include "framework/ControlMessages.h"
#include "platform/core/Geometry.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

class TWinControl;

struct TSeBackgroundRequest {
  // True: the parent paints its entire background at the context's current origin. False (only
  // from the skinned window itself): just the bounds.
  bool Whole = true;
  // The sender's bounds in the parent's client coordinates.
  TRect Bounds;
};

// The request carried by an erase-background message, null for an ordinary erase.
const TSeBackgroundRequest* BackgroundRequestOf(const TMessage& message);
TMessage MakeBackgroundRequest(HDC dc, const TSeBackgroundRequest& request);

// Sends the request to a parent: through the window (so a hook on a form's window sees it) or
// straight to the control's message handler.
void SendBackgroundRequest(TWinControl& parent, HDC dc, const TSeBackgroundRequest& request, bool throughWindow);

}  // namespace vandrel
