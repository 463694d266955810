// Mouse capture that nests: only the outermost capture takes the mouse, only the matching last
// release gives it back. Callers pair the calls; an unmatched release leaves the count below zero,
// so the next capture does not take the mouse.
#pragma once

#include "platform/win/WinTypes.h"

namespace vandrel {

void CaptureMouseNested(HWND window);
void ReleaseMouseNested();
// The nesting count (for diagnostics and tests).
int MouseCaptureNesting();

}  // namespace vandrel
