#include "platform/gdi/SystemMetrics.h"

namespace vandrel {

namespace {
// The screen size the display reports; one per process, created on first use.
struct TScreenSize {
  int width = 1280;
  int height = 800;
};
TScreenSize& Screen() {
  static TScreenSize size;
  return size;
}

// Frame 4, caption 19 (18 + border), caption buttons 18 x 18 with a 16 x 14 face, small caption 15.
int Classic(int index) {
  switch (index) {
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL:
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_MOUSEPRESENT: return 1;
    case SM_CXMIN: case SM_CXMINTRACK: return 112;
    case SM_CYMIN: case SM_CYMINTRACK: return 27;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXICONSPACING: case SM_CYICONSPACING: return 75;
    case SM_DBCSENABLED: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXMINSPACING: return 160;
    case SM_CYMINSPACING: return 24;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSMSIZE: return 16;
    case SM_CYSMSIZE: return 14;
    case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_ARRANGE: return 8;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_NETWORK: return 3;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_CMONITORS: return 1;
    case SM_SAMEDISPLAYFORMAT: return 1;
    case SM_CXFOCUSBORDER: case SM_CYFOCUSBORDER: return 1;
    default: return 0;
  }
}
}  // namespace

int GetSystemMetrics(int index) {
  int screenWidth = Screen().width, screenHeight = Screen().height;
  switch (index) {
    case SM_CXSCREEN: case SM_CXVIRTUALSCREEN: case SM_CXFULLSCREEN: return screenWidth;
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return screenHeight;
    case SM_CYFULLSCREEN: return screenHeight - Classic(SM_CYCAPTION);
    case SM_CXMAXTRACK: return screenWidth + 12;
    case SM_CYMAXTRACK: return screenHeight + 12;
    case SM_CXMAXIMIZED: return screenWidth + 2 * Classic(SM_CXFRAME);
    case SM_CYMAXIMIZED: return screenHeight + 2 * Classic(SM_CYFRAME);
    default: return Classic(index);
  }
}

void SetScreenSize(int width, int height) {
  if (width > 0 && height > 0) {
    Screen().width = width;
    Screen().height = height;
  }
}

}  // namespace vandrel
