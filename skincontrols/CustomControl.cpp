#include "skincontrols/CustomControl.h"

#include "framework/PropertyInfo.h"
#include "graphics/BackgroundRequest.h"
#include "graphics/PaintSurface.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/DrawText.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowStyles.h"

namespace vandrel {

const TClassInfo& TSeCustomControl::StaticClassInfo() {
  static const TClassInfo info("TSeCustomControl", &TCustomControl::StaticClassInfo(), nullptr,
                               PaintOptionProperties<TSeCustomControl>());
  return info;
}

TColor BevelColor(TSeBevelCut cut, bool inner, bool topLeft) {
  // outer top-left, outer bottom-right, inner top-left, inner bottom-right
  static constexpr TColor kColors[][4] = {
      {clNone, clNone, clNone, clNone},
      {clBtnShadow, clBtnHighlight, cl3DDkShadow, clBtnFace},
      {clBtnHighlight, cl3DDkShadow, clBtnShadow, clBtnShadow},
      {clBtnFace, clBtnFace, clBtnFace, clBtnFace},
      {cl3DDkShadow, cl3DDkShadow, clWindow, clWindow},
      {clBtnShadow, clBtnShadow, clBtnFace, clBtnFace},
  };
  static_assert(std::size(kColors) == size_t(kbvFlatBorder) + 1);
  return kColors[cut][(inner ? 2 : 0) + (topLeft ? 0 : 1)];
}

TSeCustomControl::TSeCustomControl(TComponent* owner) : TCustomControl(owner), m_paint(*this) {
  // Opaque: the platform does not erase behind the control, the paint covers it all.
  SetControlStyle(ControlStyle().Include(csOpaque));
  SetColor(clBtnFace);
  SetBounds(0, 0, 100, 30);
}

TSeCustomControl::~TSeCustomControl() = default;

void TSeCustomControl::SetBorderWidth(int value) {
  if (m_borderWidth == value) return;
  m_borderWidth = value;
  BorderChanged();
  Invalidate();
}

void TSeCustomControl::SetBevelInner(TSeBevelCut value) {
  if (m_bevelInner == value) return;
  SetBevelKind(kbkNone);
  m_bevelInner = value;
  BorderChanged();
  Invalidate();
}

void TSeCustomControl::SetBevelOuter(TSeBevelCut value) {
  if (m_bevelOuter == value) return;
  SetBevelKind(kbkNone);
  m_bevelOuter = value;
  BorderChanged();
  Invalidate();
}

void TSeCustomControl::SetBevelSides(TSeBevelSides value) {
  if (m_bevelSides == value) return;
  m_bevelSides = value;
  BorderChanged();
  Invalidate();
}

void TSeCustomControl::SetBevelKind(TSeBevelKind value) {
  if (m_bevelKind == value) return;
  switch (value) {
    case kbkSingle:
    case kbkTile:
    case kbkSoft: m_bevelInner = m_bevelOuter = kbvLowered; break;
    case kbkBorder: m_bevelInner = m_bevelOuter = kbvBorder; break;
    case kbkFlat: m_bevelInner = m_bevelOuter = kbvFlatBorder; break;
    case kbkNone: break;
  }
  m_bevelKind = value;
  BorderChanged();
  Invalidate();
}

void TSeCustomControl::SetBevelWidth(int value) {
  if (m_bevelWidth == value) return;
  m_bevelWidth = value;
  BorderChanged();
  Invalidate();
}

void TSeCustomControl::SetBounds(int left, int top, int width, int height) {
  TCustomControl::SetBounds(left, top, width, height);
  m_cachedWidth = Width();
  m_cachedHeight = Height();
}

void TSeCustomControl::BoundsChanged() {
  TCustomControl::BoundsChanged();
  m_cachedWidth = Width();
  m_cachedHeight = Height();
}

TRect TSeCustomControl::GetClientRect() const {
  TRect r;
  GetContentRect(r);
  return r;
}

void TSeCustomControl::GetContentRect(TRect& rect) const {
  rect = {0, 0, m_cachedWidth, m_cachedHeight};
  rect = InflateRect(rect, -m_borderWidth, -m_borderWidth);
  const int cuts = (m_bevelInner != kbvNone ? 1 : 0) + (m_bevelOuter != kbvNone ? 1 : 0);
  const int bevel = m_bevelWidth * cuts;
  if (m_bevelSides.Contains(kbsLeft)) rect.Left += bevel;
  if (m_bevelSides.Contains(kbsTop)) rect.Top += bevel;
  if (m_bevelSides.Contains(kbsRight)) rect.Right -= bevel;
  if (m_bevelSides.Contains(kbsBottom)) rect.Bottom -= bevel;
}

void TSeCustomControl::Loaded() {
  TCustomControl::Loaded();
  m_cachedWidth = Width();
  m_cachedHeight = Height();
  Invalidate();
}

void TSeCustomControl::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style &= ~DWORD(WS_HSCROLL | WS_VSCROLL);
}

void TSeCustomControl::Paint() {
  const int w = m_cachedWidth, h = m_cachedHeight;
  if (Width() <= 0 || Height() <= 0 || w <= 0 || h <= 0) return;
  TCanvas& canvas = *Canvas();
  TPaintSurface surface(canvas, Performance(), w, h, true);
  WorkingFont()->Assign(*Font());
  if (Transparent()) PaintParentBackground(surface.DC());
  TRect content;
  GetContentRect(content);
  {
    TDCStateSaver saver(surface.DC());
    ExcludeClipRect(surface.DC(), content.Left, content.Top, content.Right, content.Bottom);
    canvas.Refresh();
    PaintBorder();
  }
  canvas.Refresh();
  PaintClient();
  m_paint.BlendOverBackground(surface, w, h, [this](HDC dc) { PaintParentBackground(dc); });
  surface.Present();
}

void TSeCustomControl::PaintClient() {
  if (Transparent()) return;
  TRect content;
  GetContentRect(content);
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(content);
}

void TSeCustomControl::PaintBorder() {
  TRect r{0, 0, m_cachedWidth, m_cachedHeight};
  TRect content;
  GetContentRect(content);
  if (content == r) return;
  // Visual styles are never active on this platform, so the themed frame is never drawn.
  TCanvas& canvas = *Canvas();
  if (m_bevelWidth > 0) {
    if (m_bevelOuter != kbvNone)
      DrawBevelLines(canvas, r, m_bevelSides, m_bevelWidth, BevelColor(m_bevelOuter, false, true),
                     BevelColor(m_bevelOuter, false, false));
    if (m_bevelInner != kbvNone)
      DrawBevelLines(canvas, r, m_bevelSides, m_bevelWidth, BevelColor(m_bevelInner, true, true),
                     BevelColor(m_bevelInner, true, false));
  }
  // The border rings are drawn also without bevels: the content rectangle leaves room for them
  // either way, and nothing else would paint that room.
  for (int i = 0; i < m_borderWidth; ++i) {
    DrawFrameRect(canvas, r, Color());
    r = InflateRect(r, -1, -1);
  }
}

void TSeCustomControl::PaintParentBackground(HDC dc) {
  TWinControl* parent = Parent();
  if (!parent || Width() <= 0 || Height() <= 0) return;
  const TPoint p = parent->ScreenToClient(ClientOrigin());
  m_paint.PaintParentBackground(dc, p, m_cachedWidth > 0 ? m_cachedWidth : Width(),
                                m_cachedHeight > 0 ? m_cachedHeight : Height(), true);
}

void TSeCustomControl::EraseBackground(TMessage& m) {
  m.Result = 1;
  HDC dc = HdcFromWParam(m.WParam);
  if (!dc || !BackgroundRequestOf(m)) return;
  // A child paints itself see-through: this control paints its own look into the child's surface,
  // and a chain of see-through controls paints down to the window.
  TCanvas& canvas = *Canvas();
  canvas.Lock();
  HDC previous = canvas.HandleAllocated() ? canvas.Handle() : HDC();
  canvas.SetHandle(dc);
  try {
    WorkingFont()->Assign(*Font());
    if (Transparent()) PaintParentBackground(dc);
    canvas.Refresh();
    PaintBorder();
    canvas.Refresh();
    PaintClient();
  } catch (...) {
    canvas.SetHandle(previous);
    canvas.Unlock();
    throw;
  }
  canvas.SetHandle(previous);
  canvas.Unlock();
}

unsigned TSeCustomControl::BiDiTextFlags(unsigned flags, bool alignToo) const {
  if (alignToo && UseRightToLeftAlignment()) {
    if ((flags & (DT_CENTER | DT_RIGHT)) == DT_LEFT) flags |= DT_RIGHT;
    else if (flags & DT_RIGHT) flags &= ~DT_RIGHT;
  }
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  return flags;
}

void TSeCustomControl::MouseEnter() {
  m_hot = true;
  if (OnMouseEnter) OnMouseEnter(this);
}

void TSeCustomControl::MouseLeave() {
  m_hot = false;
  if (OnMouseLeave) OnMouseLeave(this);
}

void TSeCustomControl::FocusEnter() {
  m_focused = true;
  Invalidate();
}

void TSeCustomControl::FocusLeave() {
  m_focused = false;
  Invalidate();
}

void TSeCustomControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      TCustomControl::Dispatch(m);
      // The notification also reaches the parents of the control entered.
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(static_cast<TControl*>(this))) MouseEnter();
      return;
    case CM_MOUSELEAVE:
      TCustomControl::Dispatch(m);
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(static_cast<TControl*>(this))) MouseLeave();
      return;
    case CM_ENTER:
      FocusEnter();
      TCustomControl::Dispatch(m);
      return;
    case CM_EXIT:
      FocusLeave();
      TCustomControl::Dispatch(m);
      return;
    case WM_ERASEBKGND:
      EraseBackground(m);
      return;
    case WM_WINDOWPOSCHANGED:
    case WM_WINDOWPOSCHANGING:
      if (m.Msg == WM_WINDOWPOSCHANGED && m.LParam) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
        if (!(pos->flags & SWP_NOSIZE)) {
          m_cachedWidth = pos->cx;
          m_cachedHeight = pos->cy;
        }
      }
      TCustomControl::Dispatch(m);
      return;
    case WM_THEMECHANGED:
      Invalidate();
      TCustomControl::Dispatch(m);
      return;
    default:
      TCustomControl::Dispatch(m);
  }
}

}  // namespace vandrel
