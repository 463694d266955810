// The modal loops of the default frame: moving and sizing by the mouse or the keyboard, pressing
// a caption button, and the plain system menu.
#pragma once

#include "platform/win/WinTypes.h"

namespace vandrel {

// SC_MOVE or SC_SIZE + WMSZ edge; screenPt is where the mouse went down, or the cursor for the
// keyboard variant (lParam 0 of WM_SYSCOMMAND), which moves with the arrow keys.
void RunMoveSizeLoop(HWND hwnd, UINT command, TPoint screenPt, bool keyboard);
// Tracks a press on a caption button; true when it was released over the button.
bool TrackCaptionButton(HWND hwnd, int hit);
// Shows the system menu at a screen point and runs it; sends the chosen WM_SYSCOMMAND.
void RunSystemMenu(HWND hwnd, TPoint screenPt);

}  // namespace vandrel
