// Text and icons of the default frame and the system menu, in the caption and menu fonts.
#pragma once

#include <string>

#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

struct TFrameLayout;

// Left-aligned, vertically centred, single line; '&' marks the underlined mnemonic, a tab
// separates a right-aligned shortcut.
void DrawFrameText(HDC dc, const TRect& r, const std::string& text, COLORREF color, bool bold, bool ellipsis);
// The caption's small icon and title.
void DrawCaptionTextAndIcon(HWND hwnd, HDC dc, const TFrameLayout& layout, bool active);

}  // namespace vandrel
