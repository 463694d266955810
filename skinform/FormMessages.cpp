// The message table of TSeCustomForm: what it answers before the owner form (marking it handled
// where it replaces the form's own processing), and what it notices after the form has run.
#include <cstring>

#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/Form.h"
#include "platform/gdi/DcState.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/SkinMessages.h"
#include "skinform/CustomForm.h"

namespace vandrel {

namespace {

TShiftState ShiftOf(UINT msg) {
  switch (msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP: return {ssLeft};
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP: return {ssRight};
    default: return {};
  }
}

}  // namespace

TPoint TSeCustomForm::ScreenToWindow(TPoint screen) const {
  HWND h = Handle();
  if (!h) return screen;
  const TRect r = WindowRect(h);
  return {screen.X - r.Left, screen.Y - r.Top};
}

void TSeCustomForm::Dispatch(TMessage& m) {
  HWND h = Handle();
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      HandleNcCalcSize(m);
      MarkHandled();
      return;
    case WM_NCPAINT:
      PaintNonClient();
      m.Result = 0;
      MarkHandled();
      return;
    case WM_NCACTIVATE:
      HandleNcActivate(m);
      return;
    case WM_NCHITTEST: {
      const TPoint p = ScreenToWindow(LParamToPoint(m.LParam));
      m.Result = HitTestCode(HitTest(p.X, p.Y));
      MarkHandled();
      return;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: {
      if (h && GetActiveWindow() != h) SetFocus(h);
      MarkHandled();
      m_heldButtons = ShiftOf(m.Msg);
      const TPoint p = ScreenToWindow(LParamToPoint(m.LParam));
      FrameMouseDown(m.Msg == WM_NCLBUTTONDOWN ? mbLeft : mbRight, m_heldButtons, p.X, p.Y);
      return;
    }
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP: {
      MarkHandled();
      const TShiftState shift = ShiftOf(m.Msg);
      m_heldButtons = {};
      const TPoint p = ScreenToWindow(LParamToPoint(m.LParam));
      FrameMouseUp(m.Msg == WM_NCLBUTTONUP ? mbLeft : mbRight, shift, p.X, p.Y);
      return;
    }
    case WM_NCLBUTTONDBLCLK: {
      MarkHandled();
      m_heldButtons = {};
      const TPoint p = ScreenToWindow(LParamToPoint(m.LParam));
      std::weak_ptr<const bool> alive = Alive();
      FrameMouseDown(mbLeft, {ssLeft, ssDouble}, p.X, p.Y);
      if (alive.expired()) return;
      FrameMouseUp(mbLeft, {ssLeft, ssDouble}, p.X, p.Y);
      m.Result = 1;
      return;
    }
    case WM_NCMOUSEMOVE: {
      MarkHandled();
      const TPoint p = ScreenToWindow(LParamToPoint(m.LParam));
      FrameMouseMove(m_heldButtons, p.X, p.Y);
      return;
    }
    case WM_MOUSEMOVE: {
      const bool leftHeld = m_heldButtons.Contains(ssLeft);
      if (!leftHeld && m_hotArea != haNone) {
        m_hotArea = haNone;
        PaintNonClient();
      }
      if (!m_heldButtons.Empty() && h) {
        TPoint p = LParamToPoint(m.LParam);
        ClientToScreen(h, p);
        p = ScreenToWindow(p);
        FrameMouseMove(m_heldButtons, p.X, p.Y);
      }
      return;
    }
    case WM_LBUTTONUP:
      if (!m_heldButtons.Empty() && h) {
        TPoint p = LParamToPoint(m.LParam);
        ClientToScreen(h, p);
        p = ScreenToWindow(p);
        m_heldButtons = {};
        FrameMouseUp(mbLeft, {ssLeft}, p.X, p.Y);
      }
      return;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) == WA_INACTIVE && HIWORD(m.WParam) != 0) Minimize();
      return;
    case WM_PAINT:
      // The form paints its controls as usual, over the background this component erases.
      if (ControlHook() && h) {
        m.Result = CallWindowProc(ControlHook()->Previous(), h, m.Msg, m.WParam, m.LParam);
      }
      MarkHandled();
      return;
    case WM_ERASEBKGND:
      HandleEraseBackground(m, true);
      MarkHandled();
      return;
    case WM_WINDOWPOSCHANGING:
      HandleWindowPosChanging(m);
      m.Result = 0;
      MarkHandled();
      return;
    case WM_THEMECHANGED:
      m.Result = 0;
      MarkHandled();
      return;
    case SE_FRAMEREFRESH:
      if (m.WParam == 13 && h) SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) | WS_CAPTION);
      PaintNonClient();
      MarkHandled();
      return;
    case SE_MAXIMIZE:
      MarkHandled();
      Maximize();
      return;
    case SE_APPLYSTATE:
      MarkHandled();
      switch (m.WParam) {
        case 1: Maximize(); break;
        case 2: Minimize(); break;
        case 3: Rollup(); break;
        case 4: MinimizeToTray(); break;
        default: break;
      }
      return;
    case SE_PAINTFRAME:
      HandlePaintFrameRequest(m);
      return;
    case SE_FORMQUERY:
      if (AnswerFormQuery(m, *this)) MarkHandled();
      return;
    default:
      return;
  }
}

void TSeCustomForm::HandleNcActivate(TMessage& m) {
  m_activeFlag = m.WParam != 0;
  PaintNonClient();
  m.Result = 1;
  MarkHandled();
}

void TSeCustomForm::HandlePaintFrameRequest(TMessage& m) {
  HDC dc = HDC(std::uint32_t(m.LParam));
  if (!dc) {
    m.Result = 0;
    return;
  }
  const int dx = std::int16_t(LOWORD(m.WParam));
  const int dy = std::int16_t(HIWORD(m.WParam));
  const bool wasActive = m_activeFlag;
  m_activeFlag = true;
  {
    TDCStateSaver saver(dc);
    SetViewportOrgEx(dc, dx, dy, nullptr);
    TCanvas canvas;
    canvas.SetHandle(dc);
    PaintFrame(canvas);
    const TRect client = GetClientArea();
    SetViewportOrgEx(dc, dx + client.Left, dy + client.Top, nullptr);
    HDC saved = m_canvas->HandleAllocated() ? m_canvas->Handle() : nullptr;
    m_canvas->SetHandle(dc);
    PaintBackground();
    m_canvas->SetHandle(saved);
    canvas.SetHandle(nullptr);
  }
  m_activeFlag = wasActive;
  m.Result = 1;
  MarkHandled();
}

void TSeCustomForm::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_GETTEXT:
      NoticeWindowText(m);
      return;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_CONTEXTHELP) PaintNonClient();
      return;
    default:
      return;
  }
}

// A caption set through the form itself reaches this component only as the window text, so it is
// noticed when that text is read.
void TSeCustomForm::NoticeWindowText(TMessage& m) {
  const char* buffer = reinterpret_cast<const char*>(m.LParam);
  if (!buffer || m.WParam == 0) return;
  const std::string text(buffer, strnlen(buffer, size_t(m.WParam)));
  if (text == m_lastSeenCaption) return;
  HWND h = Handle();
  if (h) SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) & ~LONG(WS_CAPTION));
  m_caption = text;
  m_lastSeenCaption = text;
  if (h) PostMessage(h, SE_FRAMEREFRESH, 13, 0);
  m.Result = 0;
}

}  // namespace vandrel
