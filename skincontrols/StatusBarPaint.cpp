// TSeCustomStatusBar: where text and image go inside a panel, and the classic look (background
// around the panels, sunken panel frames, text, images, owner drawing, the size grip).
#include "skincontrols/StatusBar.h"

#include "graphics/PaintHelpers.h"
#include "graphics/TextHelpers.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/FrameControl.h"
#include "skincontrols/MeasureCanvas.h"

namespace vandrel {

TCanvas& TSeCustomStatusBar::MeasureCanvas() const {
  // Text is measured outside painting too (layout queries), on a context of its own that lives as
  // long as the bar, so a paint does not make one per panel.
  if (!m_measureCanvas) m_measureCanvas = std::make_unique<TMeasureCanvas>(*Font());
  m_measureCanvas->SetFont(*Font());
  return *m_measureCanvas;
}

bool TSeCustomStatusBar::PanelShowsImage(const TSeStatusPanel& panel) const {
  return panel.ShowImage() && m_images && panel.ImageIndex() >= 0 && panel.ImageIndex() < m_images->Count();
}

TSize TSeCustomStatusBar::GetImageSize(const TSeStatusPanel& panel) const {
  if (m_images && panel.ImageIndex() >= 0 && panel.ImageIndex() < m_images->Count())
    return {m_images->Width(), m_images->Height()};
  return {0, 0};
}

TSize TSeCustomStatusBar::GetTextSize(const TSeStatusPanel& panel) const {
  if (panel.Text().empty()) return {0, 0};
  TCanvas& canvas = MeasureCanvas();
  int width = canvas.TextWidth(panel.Text());
  int limit = panel.EffectiveWidth() - 2 * panel.Margin();
  if (PanelShowsImage(panel)) limit -= GetImageSize(panel).cx + panel.Spacing();
  if (width > limit) width = limit;
  return {width, canvas.TextHeight("Pq")};
}

// Placement inside a panel; w, h: the inner rectangle's size, M margin, G spacing, iw image width,
// tw text width, img: the panel shows an image.
//
//   layout      alignment   text left                     text right         image left
//   glyph left  left/right  img ? M + iw + G : M          w - M              M
//   glyph left  centre      img ? iw + G + c : (w-tw)/2   left + tw + 10     c
//   glyph right left/right  M                             img ? w-M-iw-G:w-M w - M - iw
//   glyph right centre      img ? c : (w-tw)/2            left + tw          w - c - iw
//
// with c = (w - iw - G - tw) / 2, truncated toward zero.
TRect TSeCustomStatusBar::GetTextRect(const TSeStatusPanel& panel) const {
  const TSize image = GetImageSize(panel), text = GetTextSize(panel);
  const TRect inner = GetPanelInnerRect(panel);
  const int w = inner.Width(), h = inner.Height(), m = panel.Margin(), g = panel.Spacing();
  const int iw = image.cx, tw = text.cx;
  const bool img = PanelShowsImage(panel);
  const int c = (w - iw - g - tw) / 2;
  TRect r;
  if (panel.Layout() == sglGlyphLeft) {
    if (panel.Alignment() != taCenter) {
      r.Left = img ? m + iw + g : m;
      r.Right = w - m;
    } else {
      r.Left = img ? iw + g + c : (w - tw) / 2;
      r.Right = r.Left + tw + 10;
    }
  } else {
    if (panel.Alignment() != taCenter) {
      r.Left = m;
      r.Right = img ? w - m - iw - g : w - m;
    } else {
      r.Left = img ? c : (w - tw) / 2;
      r.Right = r.Left + tw;
    }
  }
  r.Top = (h - text.cy) / 2;
  r.Bottom = r.Top + text.cy;
  return r;
}

TRect TSeCustomStatusBar::GetImageRect(const TSeStatusPanel& panel) const {
  const TSize image = GetImageSize(panel), text = GetTextSize(panel);
  const TRect inner = GetPanelInnerRect(panel);
  const int w = inner.Width(), h = inner.Height(), m = panel.Margin(), g = panel.Spacing();
  const int iw = image.cx, tw = text.cx;
  const int c = (w - iw - g - tw) / 2;
  TRect r;
  if (panel.Layout() == sglGlyphLeft)
    r.Left = panel.Alignment() == taCenter ? c : m;
  else
    r.Left = panel.Alignment() == taCenter ? w - c - iw : w - m - iw;
  r.Top = (h - image.cy) / 2;
  r.Right = r.Left + iw;
  r.Bottom = r.Top + image.cy;
  return r;
}

namespace {

struct TDepth {
  explicit TDepth(int& depth) : m_depth(depth) { ++m_depth; }
  ~TDepth() { --m_depth; }
  int& m_depth;
};

}  // namespace

void TSeCustomStatusBar::AnswerBackgroundRequest(TMessage& m) {
  TDepth answering(m_backgroundDepth);
  TSeCustomControl::Dispatch(m);
}

void TSeCustomStatusBar::PaintClient() {
  PaintBackground();
  for (int i = 0; i < m_panels->Count(); ++i) PaintPanel(i);
  if (SizeGripShown()) DrawSizeGrip();
}

void TSeCustomStatusBar::PaintBorder() {
  // Visual styles are never active here: always the bevels and border rings.
  TSeCustomControl::PaintBorder();
}

void TSeCustomStatusBar::PaintBackground() {
  TCanvas& canvas = *Canvas();
  HDC dc = canvas.Handle();
  {
    TDCStateSaver saver(dc);
    TRect content;
    GetContentRect(content);
    // Only the panels that are drawn are left out: a hidden panel's empty slot inside the band
    // gets the background rather than staying unpainted.
    for (int i = 0; i < m_panels->Count(); ++i) {
      TRect r;
      if (IntersectRect(r, GetPanelRect(i), content)) ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    }
    canvas.Refresh();
    TSeCustomControl::PaintClient();
  }
  // After the context's state is back: the tools selected before are in the context again.
  canvas.Refresh();
}

void TSeCustomStatusBar::PaintPanel(int index) {
  TSeStatusPanel* panel = m_panels->Items(index);
  if (!panel) return;
  const TRect r = GetPanelRect(index);
  if (r.IsEmpty()) return;
  TCanvas& canvas = *Canvas();
  HDC dc = canvas.Handle();
  {
    TDCStateSaver saver(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    canvas.Refresh();
    DrawPanel(*panel, r, index == m_panels->Count() - 1);
  }
  canvas.Refresh();
}

void TSeCustomStatusBar::DrawPanel(TSeStatusPanel& panel, const TRect& rect, bool) {
  TCanvas& canvas = *Canvas();
  HDC dc = canvas.Handle();
  {
    TDCStateSaver saver(dc);
    // On the window the hosted control's rectangle is left to the control, which paints it
    // anyway. A see-through hosted control asking for what lies beneath it must get the panel.
    if (TControl* c = panel.Control(); c && c->Parent() == this && m_backgroundDepth == 0) {
      const TRect b = c->BoundsRect();
      ExcludeClipRect(dc, b.Left, b.Top, b.Right, b.Bottom);
    }
    canvas.Refresh();
    FillColorRect(canvas, rect, Color());
    if (panel.Framed()) DrawFrame3D(canvas, rect, clBtnShadow, clBtnHighlight);
    if (panel.Style() == psOwnerDraw) {
      DoDrawPanel(&panel, rect);
    } else {
      DrawPanelText(panel, rect);
      if (panel.ShowImage()) DrawPanelImage(panel, rect);
    }
  }
  canvas.Refresh();
}

void TSeCustomStatusBar::DrawPanelText(const TSeStatusPanel& panel, const TRect& rect) {
  TRect t;
  if (!IntersectRect(t, OffsetRect(GetTextRect(panel), rect.Left, rect.Top), rect)) return;
  TCanvas& canvas = *Canvas();
  canvas.SetFont(*Font());
  canvas.Brush()->SetStyle(bsClear);
  canvas.TextExtent("");  // selects the font for the measuring below
  const std::string text = EllipsisText(canvas.Handle(), panel.Text(), t.Width() - 4);
  unsigned flags = panel.Alignment() == taRightJustify ? DT_RIGHT : panel.Alignment() == taCenter ? DT_CENTER : DT_LEFT;
  DrawWideText(canvas, text, t, BiDiTextFlags(flags, true));
}

void TSeCustomStatusBar::DrawPanelImage(const TSeStatusPanel& panel, const TRect& rect) {
  if (!PanelShowsImage(panel)) return;
  const TRect r = GetImageRect(panel);
  m_images->Draw(*Canvas(), rect.Left + r.Left, rect.Top + r.Top, panel.ImageIndex(), true);
}

void TSeCustomStatusBar::DrawSizeGrip() {
  TCanvas& canvas = *Canvas();
  canvas.Brush()->SetStyle(bsClear);
  TRect r = GetSizeGripRect();
  DrawFrameControl(canvas.Handle(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  canvas.Refresh();
}

}  // namespace vandrel
