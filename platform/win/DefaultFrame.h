// The plain classic frame that DefWindowProc gives to windows nobody skins: borders, caption
// with icon, title and buttons, and the standard scroll bars. Layout and hit-testing are pure
// functions of the styles and the window size; painting draws the layout.
#pragma once

#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

struct TFrameLayout {
  int BorderWidth = 0;
  bool Sizable = false;
  bool HasCaption = false;
  TRect Caption;  // the band, window coordinates
  TRect Icon;
  TRect Close;
  TRect Maximize;
  TRect Minimize;
  TRect VScroll;
  TRect HScroll;
  TRect Corner;  // between the two scroll bars
  TRect Client;
};

TFrameLayout DefaultFrameLayout(DWORD style, DWORD exStyle, TSize window, bool vScroll, bool hScroll);
// HTxxx for a point in window coordinates.
int DefaultFrameHitTest(const TFrameLayout& layout, DWORD style, TSize window, TPoint pt);

// Draws the frame of hwnd into its window context; pressedHit names a caption button drawn
// pushed (0 for none).
void PaintDefaultFrame(HWND hwnd, HDC windowDC, bool active, int pressedHit = 0);

}  // namespace vandrel
