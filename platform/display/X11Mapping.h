// How X key symbols and cursor shapes map to the platform's virtual keys and standard cursors.
// Internal to the X11 display.
#pragma once

#include <cstdint>

namespace vandrel {

// 0 for a key the window layer does not know.
int VirtualKeyOfKeySym(unsigned long keysym);
// The X font cursor shape for a standard cursor id (IDC_...).
unsigned int XCursorShapeOf(std::uintptr_t cursorId);

}  // namespace vandrel
