#include "platform/win/FrameText.h"

#include "platform/gdi/DcState.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Icon.h"
#include "platform/win/DefaultFrame.h"
#include "platform/win/Window.h"

namespace vandrel {

namespace {

// The classic non-client fonts: caption in bold, menus regular, both 8 points at 96 dpi.
HFONT FrameFont(bool bold) {
  static HFONT regular, heavy;
  HFONT& f = bold ? heavy : regular;
  if (!f) {
    LOGFONT lf;
    lf.lfHeight = -11;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfFaceName = "Tahoma";
    f = CreateFontIndirect(lf);
  }
  return f;
}

}  // namespace

void DrawFrameText(HDC dc, const TRect& r, const std::string& text, COLORREF color, bool bold, bool ellipsis) {
  TDCStateSaver saver(dc);
  SelectObject(dc, FrameFont(bold));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT | (ellipsis ? UINT(DT_END_ELLIPSIS) : 0u);
  size_t tab = text.find('\t');
  TRect box = r;
  DrawText(dc, std::string_view(text).substr(0, tab), &box, format);
  if (tab != std::string::npos) {
    box = r;
    DrawText(dc, std::string_view(text).substr(tab + 1), &box, (format & ~UINT(DT_LEFT)) | DT_RIGHT);
  }
}

void DrawCaptionTextAndIcon(HWND hwnd, HDC dc, const TFrameLayout& layout, bool active) {
  int left = layout.Caption.Left + 2;
  if (!layout.Icon.IsEmpty()) {
    if (HICON icon = GetWindowIcon(hwnd))
      DrawIconEx(dc, layout.Icon.Left, layout.Icon.Top, icon, layout.Icon.Width(), layout.Icon.Height(), 0, {}, DI_NORMAL);
    left = layout.Icon.Right + 2;
  }
  int right = layout.Caption.Right - 2;
  for (const TRect* b : {&layout.Minimize, &layout.Maximize, &layout.Close})
    if (!b->IsEmpty()) right = std::min(right, b->Left - 2);
  if (right <= left) return;
  DrawFrameText(dc, {left, layout.Caption.Top, right, layout.Caption.Bottom}, GetWindowText(hwnd),
                GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT), true, true);
}

}  // namespace vandrel
