// The frame of TSeCustomForm: where the client area lies, the unskinned classic look, the
// hit-test map, the size bookkeeping of WM_WINDOWPOSCHANGING and moving and sizing by the frame.
// All coordinates are window coordinates (origin at the window's top-left corner).
#include <algorithm>

#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/Form.h"
#include "framework/SizeConstraints.h"
#include "graphics/Bitmap.h"
#include "graphics/PaintHelpers.h"
#include "graphics/SharedPaintBuffer.h"
#include "platform/core/ScopeExit.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Edge.h"
#include "platform/gdi/FrameControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/RegionApi.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/services/PlatformServices.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skinform/CustomForm.h"
#include "skinform/FormEffects.h"

namespace vandrel {

namespace {

int FrameWidth() { return GetSystemMetrics(SM_CXFRAME); }

int CaptionHeight(TSeBorderStyle style) {
  switch (style) {
    case kbsNone: return 0;
    case kbsToolWindow: return GetSystemMetrics(SM_CYSMCAPTION);
    case kbsStandard: break;
  }
  return GetSystemMetrics(SM_CYCAPTION);
}

// The sizing areas of the borders: corners reach 20 pixels along each edge.
TSeFrameHitArea AlongTopOrBottom(int x, int width, TSeFrameHitArea left, TSeFrameHitArea middle,
                                 TSeFrameHitArea right) {
  if (x <= 19) return left;
  if (x > width - 20) return right;
  return middle;
}

}  // namespace

TRect TSeCustomForm::GetClientArea() {
  const TRect whole{0, 0, m_frameSize.cx, m_frameSize.cy};
  if (m_borderStyle == kbsNone) return whole;
  const int f = FrameWidth();
  return {f, f + CaptionHeight(m_borderStyle), m_frameSize.cx - f, m_frameSize.cy - f};
}

TRect TSeCustomForm::GetButtonRect(TSeBorderIcon kind) {
  if (!m_borderIcons.Contains(kind) || m_borderStyle == kbsNone) return {};
  const TRect client = GetClientArea();
  const int f = FrameWidth();
  const int h = client.Top - (f + 1);
  if (kind == kbiSystemMenu) return {client.Left, f + 1, client.Left + h, client.Top};
  const int width = h - 2, height = h - 4, top = f + 3;
  const bool minimized = m_windowState == kwsMinimized;
  int x = client.Right - 2 - width;
  auto place = [&](TSeBorderIcon icon, bool shown) -> std::optional<TRect> {
    if (!m_borderIcons.Contains(icon) || !shown) return std::nullopt;
    return TRect{x, top, x + width, top + height};
  };
  // Laid out from the right; a button that is not there takes no room.
  if (auto r = place(kbiClose, true)) {
    if (kind == kbiClose) return *r;
    x -= width + 2;
  }
  if (m_borderStyle == kbsToolWindow) return {};
  if (auto r = place(kbiMaximize, !minimized)) {
    if (kind == kbiMaximize) return *r;
    x -= width;
  }
  if (auto r = place(kbiMinimize, true)) {
    if (kind == kbiMinimize) return *r;
    x -= width;
  }
  if (m_borderIcons.Contains(kbiRollup) && !minimized) {
    x -= 2;
    if (kind == kbiRollup) return {x, top, x + width, top + height};
    x -= width;
  }
  if (auto r = place(kbiTray, !minimized)) {
    if (kind == kbiTray) return *r;
    x -= width;
  }
  if (m_borderIcons.Contains(kbiHelp) && !minimized && m_windowState != kwsRollup) {
    x -= 2;
    if (kind == kbiHelp) return {x, top, x + width, top + height};
  }
  return {};
}

TSeFrameHitArea TSeCustomForm::HitTest(int x, int y) {
  const TRect c = GetClientArea();
  const int w = m_frameSize.cx, h = m_frameSize.cy;
  TSeFrameHitArea area = y < c.Top && x < w ? haCaption : haNone;
  const TPoint p{x, y};
  const std::pair<TSeBorderIcon, TSeFrameHitArea> buttons[] = {
      {kbiSystemMenu, haSysMenu}, {kbiClose, haClose}, {kbiMinimize, haMinimize},
      {kbiMaximize, haMaximize}, {kbiHelp, haHelp}, {kbiRollup, haRollup}, {kbiTray, haTray}};
  for (auto [icon, hit] : buttons)
    if (GetButtonRect(icon).Contains(p)) area = hit;
  if (m_windowState != kwsMaximized && m_windowState != kwsMinimized && m_windowState != kwsRollup) {
    if (y < c.Top - CaptionHeight(m_borderStyle)) area = AlongTopOrBottom(x, w, haTopLeft, haTop, haTopRight);
    if (c.Bottom < y && y < h) area = AlongTopOrBottom(x, w, haBottomLeft, haBottom, haBottomRight);
    if (x < c.Left) area = AlongTopOrBottom(y, h, haTopLeft, haLeft, haBottomLeft);
    if (c.Right < x && x < w) area = AlongTopOrBottom(y, h, haTopRight, haRight, haBottomRight);
  }
  if (SizeGripHit(x, y)) area = haBottomRight;
  return area;
}

bool TSeCustomForm::SizeGripHit(int x, int y) const {
  TCustomForm* form = OwnerForm();
  HWND h = Handle();
  if (!form || !h) return false;
  const TRect r = WindowRect(h);
  return SizeGripAt(*form, {x + r.Left, y + r.Top});
}

LRESULT TSeCustomForm::HitTestCode(TSeFrameHitArea area) const {
  const bool sizing = m_dragging->Sizeable() && m_windowState != kwsMaximized;
  switch (area) {
    case haCaption: return m_dragging->Moveable() ? HTCAPTION : HTCLIENT;
    case haLeft: return sizing ? HTLEFT : HTCLIENT;
    case haTop: return sizing ? HTTOP : HTCLIENT;
    case haRight: return sizing ? HTRIGHT : HTCLIENT;
    case haBottom: return sizing ? HTBOTTOM : HTCLIENT;
    case haTopLeft: return sizing ? HTTOPLEFT : HTCLIENT;
    case haTopRight: return sizing ? HTTOPRIGHT : HTCLIENT;
    case haBottomLeft: return sizing ? HTBOTTOMLEFT : HTCLIENT;
    case haBottomRight: return sizing ? HTBOTTOMRIGHT : HTCLIENT;
    case haRollup:
    case haTray:
    case haSysMenu:
    case haSkinButton: return HTBORDER;
    case haClose: return HTCLOSE;
    case haHelp: return HTHELP;
    case haMinimize: return HTMINBUTTON;
    case haMaximize: return HTMAXBUTTON;
    case haNone: break;
  }
  return HTCLIENT;
}

TSize TSeCustomForm::GetMinTrackSize() {
  TSize size{150, 40};
  if (m_constraints->MinWidth() != 0) size.cx = m_constraints->MinWidth();
  if (m_constraints->MinHeight() != 0) size.cy = m_constraints->MinHeight();
  return size;
}

TSize TSeCustomForm::GetMaxTrackSize() {
  const TRect r = GetMaximizedBounds();
  TSize size{r.Width(), r.Height()};
  if (m_constraints->MaxWidth() != 0) size.cx = m_constraints->MaxWidth();
  if (m_constraints->MaxHeight() != 0) size.cy = m_constraints->MaxHeight();
  return size;
}

// ---- size bookkeeping ----

void TSeCustomForm::RecalcFrame() {
  TWinControl* owner = OwnerControl();
  if (!Active() || !Hooked() || Designing() || !owner || !owner->HandleAllocated()) return;
  m_blockCapture = true;
  TScopeExit unblock([this] { m_blockCapture = false; });
  const TRect before = owner->GetClientRect();
  // A height change makes the platform ask for the client area again.
  owner->SetBounds(owner->Left(), owner->Top(), owner->Width(), owner->Height() + 1);
  owner->SetBounds(owner->Left(), owner->Top(), owner->Width(), owner->Height() - 1);
  const TRect after = owner->GetClientRect();
  // A thicker frame makes the window larger, never the client area smaller.
  const int dw = before.Width() - after.Width(), dh = before.Height() - after.Height();
  if (dw != 0 || dh != 0)
    owner->SetBounds(owner->Left(), owner->Top(), owner->Width() + dw, owner->Height() + dh);
  if (HWND h = Handle()) RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void TSeCustomForm::HandleNcCalcSize(TMessage& m) {
  m.Result = 0;
  if (m.WParam == 0) return;
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
  if (!params) return;
  const TRect proposed = params->rgrc[0];
  if (m_windowSize.cx == 0 && m_windowSize.cy == 0) {
    // Before the first sizing message the proposed rectangle is the window.
    m_windowSize = {proposed.Width(), proposed.Height()};
    const int shadow = ShadowBand();
    m_frameSize = {m_windowSize.cx - shadow, m_windowSize.cy - shadow};
  }
  const TRect c = GetClientArea();
  const TRect client{proposed.Left + c.Left, proposed.Top + c.Top,
                     proposed.Left + proposed.Width() - (m_windowSize.cx - c.Right),
                     proposed.Top + proposed.Height() - (m_windowSize.cy - c.Bottom)};
  params->rgrc[0] = client;
  params->rgrc[1] = client;
}

void TSeCustomForm::CaptureBackground(const TRect& r) {
  if (!Hooked() || m_blockCapture || r == m_capture->LastRect()) return;
  if (!m_blending->Enabled() && (m_windowState == kwsMaximized || m_previousState == kwsMaximized)) {
    // Only the first capture after leaving the maximized state is skipped.
    if (m_previousState == kwsMaximized) m_previousState = kwsNormal;
    return;
  }
  m_capture->Capture(r);
}

void TSeCustomForm::PlayShowAnimation() {
  if (!m_animation->Enabled() || !Hooked()) return;
  std::weak_ptr<const bool> alive = Alive();
  if (TApplication* app = Application()) app->ProcessMessages();
  HWND h = alive.expired() ? nullptr : Handle();
  if (!h || m_windowSize.cx <= 0 || m_windowSize.cy <= 0) return;
  TseBitmap image;
  image.SetSize(m_windowSize.cx, m_windowSize.cy);
  m_animationImage = &image;
  TScopeExit leave([this, alive] {
    if (!alive.expired()) m_animationImage = nullptr;
  });
  TRect screen;
  if (!GetWindowRect(h, screen)) return;
  m_capture->Forget();
  CaptureBackground(screen);
  const bool active = m_activeFlag;
  m_activeFlag = true;
  PaintNonClient();
  m_activeFlag = active;
  SendMessage(h, WM_ERASEBKGND, 0, 0);
  if (alive.expired()) return;
  HRGN shape = CreateShadowedRegion();
  TScopeExit freeShape([shape] { DeleteObject(shape); });
  PrepareShowImage(image, shape, ShadowBand(), m_frameSize);
  PlayShowTransition(m_animation->Rec(), screen.TopLeft(), image, m_capture->Picture());
}

const TseBitmap& TSeCustomForm::BackgroundCapture() const { return m_capture->Picture(); }

void TSeCustomForm::HandleWindowPosChanging(TMessage& m) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
  if (!pos) return;
  const bool still = (pos->flags & (SWP_NOSIZE | SWP_NOMOVE)) == (SWP_NOSIZE | SWP_NOMOVE);
  // The screen under where the window goes, read before the window covers it.
  auto capture = [this, pos, still] {
    HWND h = Handle();
    if (!h || (!BlendingOn() && !ShadowOn()) || (still && !(pos->flags & SWP_SHOWWINDOW))) return;
    TRect now;
    if (!GetWindowRect(h, now)) return;
    // A child's position is in its parent's client coordinates.
    TPoint origin{0, 0};
    TWinControl* owner = OwnerControl();
    if (owner && owner->Parent() && owner->Parent()->HandleAllocated()) ClientToScreen(owner->Parent()->Handle(), origin);
    const int x = pos->flags & SWP_NOMOVE ? now.Left : origin.X + pos->x;
    const int y = pos->flags & SWP_NOMOVE ? now.Top : origin.Y + pos->y;
    const int cx = pos->flags & SWP_NOSIZE ? now.Width() : pos->cx;
    const int cy = pos->flags & SWP_NOSIZE ? now.Height() : pos->cy;
    CaptureBackground({x, y, x + cx, y + cy});
  };
  // A translucent or shadowed window shows the screen under it: it is painted anew where it lands.
  if (BlendingOn() || ShadowOn()) pos->flags |= SWP_NOCOPYBITS;
  if ((pos->flags & SWP_SHOWWINDOW) && m_loadedState == kwsNormal) {
    m_capture->Forget();
    std::weak_ptr<const bool> alive = Alive();
    PlayShowAnimation();
    if (alive.expired()) return;
  }
  if (still) {
    capture();
    return;
  }
  bool sizeChanged = false;
  if (!(pos->flags & SWP_NOSIZE)) {
    const TSize most = GetMaxTrackSize();
    pos->cx = std::min(pos->cx, most.cx);
    pos->cy = std::min(pos->cy, most.cy);
    if (m_windowState != kwsRollup && m_windowState != kwsMinimized) {
      const TSize least = GetMinTrackSize();
      pos->cx = std::max(pos->cx, least.cx);
      pos->cy = std::max(pos->cy, least.cy);
    }
    if ((pos->cx != m_frameSize.cx || pos->cy != m_frameSize.cy) && !(pos->flags & SWP_FRAMECHANGED)) {
      const int shadow = ShadowBand();
      m_windowSize = {pos->cx, pos->cy};
      m_frameSize = {pos->cx - shadow, pos->cy - shadow};
      sizeChanged = true;
    }
  }
  capture();
  if (pos->flags & SWP_FRAMECHANGED) PaintNonClient();
  if (sizeChanged) UpdateRegion();
}

HRGN TSeCustomForm::CreateWindowRegion() { return CreateRectRgn(0, 0, m_frameSize.cx, m_frameSize.cy); }

HRGN TSeCustomForm::CreateShadowedRegion() {
  HRGN shape = CreateWindowRegion();
  if (!shape) shape = TSeCustomForm::CreateWindowRegion();
  if (const int shadow = ShadowBand(); shadow > 0) {
    // The shadow band shows right of and below the frame only.
    HRGN moved = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(moved, shape, nullptr, RGN_COPY);
    OffsetRgn(moved, shadow, shadow);
    CombineRgn(shape, shape, moved, RGN_OR);
    DeleteObject(moved);
  }
  return shape;
}

void TSeCustomForm::UpdateRegion() {
  HWND h = Handle();
  if (!h) return;
  m_paintAllowed = false;
  TScopeExit allow([this] { m_paintAllowed = true; });
  SetWindowRgn(h, CreateShadowedRegion(), true);
  if (OnResize) OnResize(this);
}

// ---- painting ----

void TSeCustomForm::PaintFrame(TCanvas& canvas) {
  HDC dc = canvas.Handle();
  const TRect c = GetClientArea();
  TRect outer{0, 0, m_frameSize.cx, m_frameSize.cy};
  DrawEdge(dc, &outer, EDGE_RAISED, BF_RECT | BF_ADJUST);
  HBRUSH face = CreateSolidBrush(ColorToRGB(clBtnFace));
  // The rest of the border band between the edge and the client area.
  FillRect(dc, {outer.Left, outer.Top, outer.Right, c.Top}, face);
  FillRect(dc, {outer.Left, c.Bottom, outer.Right, outer.Bottom}, face);
  FillRect(dc, {outer.Left, c.Top, c.Left, c.Bottom}, face);
  FillRect(dc, {c.Right, c.Top, outer.Right, c.Bottom}, face);
  DeleteObject(face);
  if (m_borderStyle == kbsNone) return;

  const int f = FrameWidth();
  const TRect band{c.Left, f, c.Right, c.Top - 1};
  FillGradient(canvas, band, m_activeFlag ? clActiveCaption : clInactiveCaption, false,
               m_activeFlag ? clGradientActiveCaption : clGradientInactiveCaption);
  TRect text = band;
  text.Left += m_borderIcons.Contains(kbiSystemMenu) ? band.Height() + 2 : 2;
  const TRect leftmost = GetButtonRect(kbiHelp).IsEmpty() ? GetButtonRect(kbiMinimize) : GetButtonRect(kbiHelp);
  if (!leftmost.IsEmpty()) text.Right = leftmost.Left - 2;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(m_activeFlag ? clCaptionText : clInactiveCaptionText));
  DrawText(dc, m_caption, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);

  auto button = [&](TSeBorderIcon icon, TSeFrameHitArea area, UINT kind) {
    TRect r = GetButtonRect(icon);
    if (r.IsEmpty()) return;
    const bool pressed = m_heldButtons.Contains(ssLeft) && m_pressedArea == area && m_hotArea == area;
    DrawFrameControl(dc, &r, DFC_CAPTION, kind | (pressed ? DFCS_PUSHED : 0));
  };
  button(kbiClose, haClose, DFCS_CAPTIONCLOSE);
  if (m_borderStyle == kbsToolWindow) return;
  button(kbiMinimize, haMinimize, m_windowState == kwsMinimized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN);
  button(kbiMaximize, haMaximize, m_windowState == kwsMaximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX);
  button(kbiHelp, haHelp, DFCS_CAPTIONHELP);
}

void TSeCustomForm::PaintBackground() {
  TCustomForm* form = OwnerForm();
  if (!form || !m_canvas->HandleAllocated()) return;
  const TRect c = GetClientArea();
  HBRUSH brush = CreateSolidBrush(ColorToRGB(form->Color()));
  FillRect(m_canvas->Handle(), {0, 0, c.Width(), c.Height()}, brush);
  DeleteObject(brush);
}

void TSeCustomForm::PaintNonClient() {
  HWND h = Handle();
  if (!h || !m_paintAllowed || !Hooked()) return;
  const TRect c = GetClientArea();
  const int shadow = ShadowBand();
  const bool blending = BlendingOn();
  if (c.Left == 0 && c.Top == 0 && shadow == 0) return;
  if (m_windowSize.cx <= 0 || m_windowSize.cy <= 0) return;
  HDC windowDC = GetWindowDC(h);
  if (!windowDC) return;
  TScopeExit release([&] { ReleaseDC(h, windowDC); });
  TCanvas canvas;
  TScopeExit detach([&] { canvas.SetHandle(nullptr); });
  // The surface: the window itself, or a bitmap holding the window at its origin of which only
  // the frame strips reach the window.
  std::unique_ptr<TSharedPaintBufferLease> lease;
  std::unique_ptr<TseBitmap> temporary;
  TseBitmap* buffer = nullptr;
  switch (m_animationImage ? ksfpNoBuffer : m_performance) {
    case ksfpNoBuffer: buffer = m_animationImage; break;
    case ksfpSharedBuffer:
      lease = std::make_unique<TSharedPaintBufferLease>(m_windowSize.cx, m_windowSize.cy);
      buffer = lease->Bitmap();
      break;
    case ksfpPersistentBuffer:
      if (!m_persistentBuffer) m_persistentBuffer = std::make_unique<TseBitmap>();
      if (m_persistentBuffer->Width() != m_windowSize.cx || m_persistentBuffer->Height() != m_windowSize.cy)
        m_persistentBuffer->SetSize(m_windowSize.cx, m_windowSize.cy);
      buffer = m_persistentBuffer.get();
      break;
    case ksfpDoubleBuffer: break;
  }
  if (!PaintsFrameToWindow() && !buffer) {
    // A double buffer, or a shared buffer lent to another painter at this moment.
    temporary = std::make_unique<TseBitmap>();
    temporary->SetSize(m_windowSize.cx, m_windowSize.cy);
    buffer = temporary.get();
  }
  canvas.SetHandle(buffer ? buffer->DC() : windowDC);
  const TseBitmap& capture = m_capture->Picture();
  if (shadow > 0) DrawShadowBand(*buffer, c, m_frameSize, shadow, &capture);
  {
    TDCStateSaver saver(canvas.Handle());
    ExcludeClipRect(canvas.Handle(), c.Left, c.Top, c.Right, c.Bottom);
    PaintFrame(canvas);
  }
  if (blending) {
    const int w = m_frameSize.cx, fh = m_frameSize.cy;
    buffer->SetHasAlpha(true);
    BlendOverCapture(*buffer, {{0, 0, w, c.Top}, {0, c.Bottom, w, fh}, {0, c.Top, c.Left, fh}, {c.Right, c.Top, w, fh}},
                     std::uint8_t(m_blending->Value()), &capture);
    buffer->SetHasAlpha(false);
  }
  if (buffer && !m_animationImage) {
    // Only the four frame strips reach the window: the client area is the form's.
    const TRect strips[] = {{0, 0, m_windowSize.cx, c.Top},
                            {c.Left, c.Bottom, c.Right, m_windowSize.cy},
                            {0, c.Top, c.Left, m_windowSize.cy},
                            {c.Right, c.Top, m_windowSize.cx, m_windowSize.cy}};
    for (const TRect& s : strips)
      if (!s.IsEmpty()) BitBlt(windowDC, s.Left, s.Top, s.Width(), s.Height(), buffer->DC(), s.Left, s.Top, SRCCOPY);
  }
}

void TSeCustomForm::HandleEraseBackground(TMessage& m, bool blend) {
  m.Result = 1;
  if (!m_paintAllowed) return;
  HWND h = Handle();
  HDC dc = HdcFromWParam(m.WParam);
  HDC own = nullptr;
  if (!dc && h && !m_animationImage) dc = own = GetDC(h);
  if (!dc && !m_animationImage) return;
  TScopeExit release([&] {
    m_canvas->SetHandle(nullptr);
    if (own) ReleaseDC(h, own);
  });
  // A translucent background is painted into a layer, put over the capture and then shown.
  const TRect c = GetClientArea();
  std::unique_ptr<TseBitmap> layer;
  if (((blend && BlendingOn()) || m_animationImage) && !c.IsEmpty()) {
    layer = std::make_unique<TseBitmap>();
    layer->SetSize(c.Width(), c.Height());
  }
  if (m_animationImage && !layer) return;
  m_canvas->SetHandle(layer ? layer->DC() : dc);
  if (OnPaint && !Loading()) {
    OnPaint(this);
  } else {
    PaintBackground();
  }
  if (layer) {
    if (BlendingOn())
      BlendOverCapture(*layer, {c}, std::uint8_t(m_blending->Value()), &m_capture->Picture(), c.TopLeft());
    if (m_animationImage) {
      BitBlt(m_animationImage->DC(), c.Left, c.Top, c.Width(), c.Height(), layer->DC(), 0, 0, SRCCOPY);
    } else {
      BitBlt(dc, 0, 0, c.Width(), c.Height(), layer->DC(), 0, 0, SRCCOPY);
    }
  }
}

bool TSeCustomForm::PaintChildBackground(TMessage& request) {
  if (!Hooked()) return false;
  HandleEraseBackground(request);
  return true;
}

// ---- moving and sizing ----

void TSeCustomForm::FrameMouseDown(TMouseBtn button, TShiftState, int x, int y) {
  if (button != mbLeft) return;
  m_pressedArea = m_hotArea = HitTest(x, y);
  m_dragStart = m_dragLast = {x, y};
  PaintNonClient();
  m_frameDrag = m_pressedArea >= haCaption && m_pressedArea <= haBottomRight;
  if (HWND h = Handle()) SetCapture(h);
}

TRect TSeCustomForm::GravitationArea() const {
  TWinControl* owner = OwnerControl();
  if (owner && owner->Parent()) return {0, 0, owner->Parent()->ClientWidth(), owner->Parent()->ClientHeight()};
  return GetMonitorAreaOfWindow(Handle(), !m_stayOnTop);
}

bool TSeCustomForm::PaintsFrameToWindow() const {
  return !m_animationImage && m_performance == ksfpNoBuffer && ShadowBand() == 0 && !BlendingOn();
}

int TSeCustomForm::ShadowBand() const { return ShadowOn() && m_windowState != kwsMaximized ? m_shadow->Size() : 0; }

bool TSeCustomForm::BlendingOn() const { return m_blending->Enabled() && ScreenAllowsEffects(); }
bool TSeCustomForm::ShadowOn() const { return m_shadow->Enabled() && ScreenAllowsEffects(); }

void TSeCustomForm::FrameMouseMove(TShiftState shift, int x, int y) {
  TWinControl* owner = OwnerControl();
  if (!shift.Contains(ssLeft) || !m_frameDrag || !owner) {
    const TSeFrameHitArea hot = HitTest(x, y);
    if (hot != m_hotArea) {
      m_hotArea = hot;
      PaintNonClient();
    }
    return;
  }
  TRect b = owner->BoundsRect();
  const int dx = x - m_dragLast.X, dy = y - m_dragLast.Y;
  const int fromStartX = x - m_dragStart.X, fromStartY = y - m_dragStart.Y;
  const TSize least = GetMinTrackSize();
  auto left = [&] { b.Left = std::min(b.Left + fromStartX, b.Right - least.cx); };
  auto top = [&] { b.Top = std::min(b.Top + fromStartY, b.Bottom - least.cy); };
  if (m_pressedArea == haCaption) {
    if (m_dragging->Moveable() && m_windowState != kwsMaximized) {
      b.Left += fromStartX;
      b.Right += fromStartX;
      b.Top += fromStartY;
      b.Bottom += fromStartY;
      if (m_gravitation->Enabled()) b = ApplyGravitation(b, GravitationArea(), m_gravitation->Size(), ShadowBand());
    }
  } else if (AllowsSizing()) {
    switch (m_pressedArea) {
      case haLeft: left(); break;
      case haTop: top(); break;
      case haRight: b.Right += dx; break;
      case haBottom: b.Bottom += dy; break;
      case haTopLeft: top(); left(); break;
      case haTopRight: top(); b.Right += dx; break;
      case haBottomLeft: b.Bottom += dy; left(); break;
      case haBottomRight: b.Bottom += dy; b.Right += dx; break;
      default: break;
    }
  }
  SetOwnerBounds(b);
  m_hotArea = HitTest(x, y);
  m_dragLast = {x, y};
  PaintNonClient();
}

void TSeCustomForm::FrameMouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  const TSeFrameHitArea area = HitTest(x, y);
  const TSeFrameHitArea pressed = m_pressedArea;
  m_pressedArea = haNone;
  if (button == mbLeft) {
    ReleaseCapture();
    m_frameDrag = false;
    if (shift.Contains(ssDouble)) {
      if (m_borderIcons.Contains(kbiMaximize) && pressed == haCaption) {
        if (m_windowState == kwsMinimized) {
          Restore();
        } else {
          Maximize();
        }
      } else if (pressed == haSysMenu) {
        Close();
      }
      return;
    }
    if (pressed == area) {
      switch (area) {
        case haClose: Close(); return;
        case haHelp: Help(); return;
        case haMinimize: Minimize(); return;
        case haMaximize: Maximize(); return;
        case haRollup: Rollup(); return;
        case haTray: MinimizeToTray(); return;
        case haSysMenu: ShowSystemMenu(); return;
        default: break;
      }
    }
    PaintNonClient();
  } else if (button == mbRight && area == haCaption) {
    HWND h = Handle();
    const TRect r = h ? WindowRect(h) : TRect{};
    ShowSystemMenu(TPoint{x + r.Left, y + r.Top});
  }
}

}  // namespace vandrel
