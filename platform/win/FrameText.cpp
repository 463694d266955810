#include "platform/win/FrameText.h"

#include "platform/win/DefaultFrame.h"
#include "platform/win/Window.h"

namespace vandrel {

void DrawFrameText(HDC, const TRect&, const std::string&, COLORREF, bool, bool) {}

void DrawCaptionTextAndIcon(HWND, HDC, const TFrameLayout&, bool) {}

}  // namespace vandrel
