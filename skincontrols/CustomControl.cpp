#include "skincontrols/CustomControl.h"

#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "framework/PropertyInfo.h"
#include "graphics/BackgroundRequest.h"
#include "skincontrols/PaintSurface.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcState.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowStyles.h"

namespace vandrel {

const TClassInfo& TSeCustomControl::StaticClassInfo() {
  using T = TSeCustomControl;
  static const TClassInfo info("TSeCustomControl", &TCustomControl::StaticClassInfo(), nullptr, {
      prop::Object("Blending", &T::Blending),
      prop::Enum("Performance", &T::Performance, &T::SetPerformance, kPerformanceNames),
      prop::Boolean("Transparent", &T::Transparent, &T::SetTransparent),
      prop::Event("OnMouseEnter", &T::OnMouseEnter),
      prop::Event("OnMouseLeave", &T::OnMouseLeave),
  });
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

TSeCustomControl::TSeCustomControl(TComponent* owner)
    : TCustomControl(owner),
      m_workingFont(std::make_unique<TFont>()),
      m_blending(std::make_unique<TSeBlending>([this] { BlendingChanged(); })) {
  // Opaque: the platform does not erase behind the control, the paint covers it all.
  SetControlStyle(ControlStyle().Include(csOpaque));
  SetColor(clBtnFace);
  SetBounds(0, 0, 100, 30);
}

TSeCustomControl::~TSeCustomControl() = default;

void TSeCustomControl::SetPerformance(TSePerformance value) {
  if (m_performance == value) return;
  if (value == kspNoBuffer && m_blending->Enabled()) return;
  m_performance = value;
  Invalidate();
}

void TSeCustomControl::SetTransparent(bool value) {
  if (m_transparent == value) return;
  m_transparent = value;
  Invalidate();
}

void TSeCustomControl::SetBlending(const TSeBlending& value) {
  if (&value == m_blending.get()) return;
  if (value.Enabled() == m_blending->Enabled() && value.Value() == m_blending->Value()) return;
  m_blending->Assign(value);  // reports back through BlendingChanged
}

void TSeCustomControl::BlendingChanged() {
  if (m_blending->Enabled() && m_performance == kspNoBuffer) m_performance = kspDoubleBuffer;
  if (!Loading()) Invalidate();
}

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
  TPaintSurface surface(canvas, m_performance, w, h, true);
  m_workingFont->Assign(*Font());
  if (m_transparent) PaintParentBackground(surface.DC());
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
  if (m_blending->Enabled() && m_performance != kspNoBuffer) {
    m_blendBuffer.SetSize(w, h);
    m_blendBuffer.SetAlpha(255);
    PaintParentBackground(m_blendBuffer.DC());
    m_blendBuffer.SetAlpha(255);
    surface.BlendOver(m_blendBuffer, m_blending->Value());
  }
  surface.Present();
}

void TSeCustomControl::PaintClient() {
  if (m_transparent) return;
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
  TDCStateSaver saver(dc);
  const TPoint p = parent->ScreenToClient(ClientOrigin());
  const TSeBackgroundRequest request{true, BoundsRect()};
  auto* form = dynamic_cast<TCustomForm*>(parent);
  if (m_performance != kspNoBuffer) {
    OffsetWindowOrgEx(dc, p.X, p.Y, nullptr);
    SendBackgroundRequest(*parent, dc, request, form != nullptr);
    if (m_blending->Enabled()) PaintSiblings(dc);
    OffsetWindowOrgEx(dc, -p.X, -p.Y, nullptr);
    return;
  }
  // Unbuffered: the background goes through a bitmap of the control's size first, so the window
  // never shows the half-painted state.
  TseBitmap temp;
  temp.SetSize(m_cachedWidth > 0 ? m_cachedWidth : Width(), m_cachedHeight > 0 ? m_cachedHeight : Height());
  HDC tdc = temp.DC();
  OffsetWindowOrgEx(tdc, p.X, p.Y, nullptr);
  if (form) {
    TMessage m = MakeBackgroundRequest(tdc, request);
    bool answered;
    {
      TDCStateSaver clip(tdc);
      IntersectClipRect(tdc, Left(), Top(), Left() + Width(), Top() + Height());
      answered = PaintSkinnedWindowBackground(*form, m);
    }
    if (!answered) SendBackgroundRequest(*parent, tdc, request, true);
  } else {
    SendBackgroundRequest(*parent, tdc, request, false);
  }
  OffsetWindowOrgEx(tdc, -p.X, -p.Y, nullptr);
  BitBlt(dc, 0, 0, temp.Width(), temp.Height(), tdc, 0, 0, SRCCOPY);
}

void TSeCustomControl::PaintSiblings(HDC dc) {
  TWinControl* parent = Parent();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* sibling = dynamic_cast<TGraphicControl*>(parent->Controls(i));
    // A hidden sibling is not part of what lies beneath.
    if (!sibling || !sibling->Visible()) continue;
    TDCStateSaver saver(dc);
    OffsetWindowOrgEx(dc, -sibling->Left(), -sibling->Top(), nullptr);
    TRect c = sibling->ClientRect();
    IntersectClipRect(dc, c.Left, c.Top, c.Right, c.Bottom);
    sibling->Perform(WM_PAINT, HdcToWParam(dc), 0);
  }
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
    m_workingFont->Assign(*Font());
    if (m_transparent) PaintParentBackground(dc);
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
