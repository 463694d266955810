// The classic look of menu items: measuring and drawing in the platform's menu colours.
#include <algorithm>

#include "framework/Canvas.h"
#include "framework/ImageList.h"
#include "graphics/PaintHelpers.h"
#include "graphics/TextHelpers.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/FrameControl.h"
#include "skinform/MenuItem.h"
#include "skinform/MenuPaint.h"
#include "skinform/PopupView.h"

namespace vandrel {

TSize TSeCustomItem::Measure(TCanvas& canvas, const TSeItemView& view) {
  SelectMenuFont(canvas);
  if (!view.Vertical()) {
    int height = MenuItemHeight();
    if (m_buttonKind != kbkNormal) return {height, height};
    return {WideTextWidth(canvas, m_caption, DT_NOPREFIX) + 12, height};
  }
  TCustomImageList* images = EffectiveImages();
  int width = WideTextWidth(canvas, m_caption, DT_NOPREFIX) + ImageColumnWidth(images) + 42;
  if (m_shortCut) width += canvas.TextWidth(ShortCutToText(m_shortCut));
  int height = MenuItemHeight();
  if (IsSeparator()) height = 15;
  else if (images && images->Height() > height) height = images->Height() + 4;
  return {width, height};
}

void TSeCustomItem::DrawItem(TCanvas& canvas, const TSeItemView& view, bool notTracking, bool hot, const TRect& r) {
  SelectMenuFont(canvas);
  if (!view.Vertical()) {
    // Menu-bar items: buttons as caption frame controls, captions centred with a hot frame.
    FillColorRect(canvas, r, clMenu);
    if (m_buttonKind == kbkClose || m_buttonKind == kbkRestore || m_buttonKind == kbkMinimize) {
      static constexpr UINT kinds[] = {0, DFCS_CAPTIONCLOSE, DFCS_CAPTIONRESTORE, DFCS_CAPTIONMIN};
      TRect b = InflateRect(r, -2, -2);
      DrawFrameControl(canvas.Handle(), &b, DFC_CAPTION, kinds[m_buttonKind] | (hot && !notTracking ? DFCS_PUSHED : 0));
      return;
    }
    if (m_buttonKind == kbkWindowIcon) return;
    if (hot) {
      if (notTracking) DrawFrame3D(canvas, r, clBtnHighlight, clBtnShadow);
      else DrawFrame3D(canvas, r, clBtnShadow, clBtnHighlight);
    }
    canvas.Font()->SetColor(m_enabled ? clMenuText : clGrayText);
    TRect text = r;
    DrawWideText(canvas, m_caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }

  if (IsSeparator()) {
    FillColorRect(canvas, r, clMenu);
    TRect line{r.Left + 2, r.Top + 7, r.Right - 2, r.Top + 9};
    DrawFrame3D(canvas, line, clBtnShadow, clBtnHighlight);
    return;
  }
  FillColorRect(canvas, r, hot ? clHighlight : clMenu);
  TColor textColor = hot ? clHighlightText : clMenuText;

  TCustomImageList* images = EffectiveImages();
  bool hasImage = images && m_imageIndex >= 0;
  if (m_checked || hasImage) {
    TRect column{r.Left, r.Top, r.Left + r.Height(), r.Bottom};
    FillColorRect(canvas, column, clBtnFace);
    if (m_checked && !hot) {
      FillChecker(canvas, column, clBtnFace, clBtnHighlight);
      DrawFrame3D(canvas, column, clBtnShadow, clBtnHighlight);
    } else if (m_checked) {
      DrawFrame3D(canvas, column, clBtnShadow, clBtnHighlight);
    } else if (hot) {
      DrawFrame3D(canvas, column, clBtnHighlight, clBtnShadow);
    }
    TPoint centre{column.Left + column.Width() / 2, column.Top + column.Height() / 2};
    if (!hasImage) {
      DrawCheckMark(canvas, {centre.X - 2, centre.Y + 1}, TColor(RGB(0, 0, 0)), TColor(RGB(255, 255, 255)));
    } else {
      images->Draw(canvas, centre.X - images->Width() / 2, centre.Y - images->Height() / 2, m_imageIndex, m_enabled);
    }
  }

  unsigned align = m_rightToLeft ? DT_RIGHT : DT_LEFT;
  unsigned flags = DT_SINGLELINE | DT_VCENTER | align;
  TRect captionRect{r.Left + ImageColumnWidth(images) + 4, r.Top, r.Right, r.Bottom};
  TRect shortCutRect{r.Left, r.Top, r.Right - 22, r.Bottom};
  std::string shortCut = ShortCutToText(m_shortCut);
  auto drawText = [&](const std::string& text, const TRect& box, unsigned f) {
    if (m_enabled) {
      canvas.Font()->SetColor(textColor);
      DrawEmbossedText(canvas, text, box, f, false);
    } else {
      // Hot disabled items lose the highlight copy: it would show on the selection colour.
      canvas.Font()->SetColor(clBtnShadow);
      DrawEmbossedText(canvas, text, box, f, !hot);
    }
  };
  drawText(m_caption, captionRect, flags);
  if (!shortCut.empty()) drawText(shortCut, shortCutRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  if (Count() > 0) DrawSubmenuArrow(canvas, r.Right - 24, r.Top + (r.Height() - 20) / 2, 20, canvas.Font()->Color());
}

void TSeCustomItem::DrawScrollButton(TCanvas& canvas, bool hot, bool up, const TRect& r) {
  SelectMenuFont(canvas);
  FillColorRect(canvas, r, clMenu);
  if (hot) DrawFrame3D(canvas, r, clBtnShadow, clBtnHighlight);
  DrawScrollTriangle(canvas, r, up, clMenuText);
}

}  // namespace vandrel
